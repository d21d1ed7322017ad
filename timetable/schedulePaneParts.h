#pragma once
#include "core/gTwips.h"

#include <QPushButton>

// A command button of the timetable panes, all designed 1000 by 360 twips.
inline QPushButton* gPaneButton(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->resize(gPx(1000), gPx(360));
    return b;
}

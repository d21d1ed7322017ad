#pragma once
#include "core/ui/gTwips.h"

#include <QListWidget>
#include <QPushButton>

// A command button of the timetable panes, all designed 1000 by 360 twips.
inline QPushButton* gPaneButton(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->resize(gPx(1000), gPx(360));
    return b;
}

// Keeps a list's current item in view however it became current: a key, a
// click, or the list choosing one as it gains the focus (which Qt does without
// scrolling, so Space would toggle an item out of sight).
inline void gKeepCurrentInView(QListWidget* list) {
    QObject::connect(list, &QListWidget::currentItemChanged, list, [list](QListWidgetItem* item) {
        if (item) list->scrollToItem(item);
    });
}

#include "core/ui/gShared.h"

#include "core/model/gResIds.h"
#include "core/ui/gResources.h"

#include <QWidget>

void gSetHandCursor(QWidget* form) {
    if (!form) return;
    const auto children = form->findChildren<QWidget*>();
    for (QWidget* w : children) {
        if (w->objectName().startsWith(QLatin1String("lblCmd"), Qt::CaseSensitive))
            w->setCursor(gLoadResCursor(Res::HandCursor));
    }
}

void gSetTopMost(QWidget* form, bool onTop) {
    if (!form) return;
    const bool isOn = form->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    if (isOn == onTop) return;
    const bool wasVisible = form->isVisible();
    const QRect geometry = form->geometry();
    const Qt::WindowStates state = form->windowState();
    const bool noActivate = form->testAttribute(Qt::WA_ShowWithoutActivating);
    form->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (wasVisible) {
        // Changing the flag hides the window; bring it back where and as it was.
        form->setAttribute(Qt::WA_ShowWithoutActivating, true);
        form->setGeometry(geometry);
        form->setWindowState(state);
        form->show();
        form->setAttribute(Qt::WA_ShowWithoutActivating, noActivate);
    }
}

bool gRegSetString(long root, const QString& subKey, const QString& valueName, QString& text) {
    if (text.isEmpty()) text = QStringLiteral(" ");
    return reg::setString(root, subKey, valueName, text);
}

bool gRegSetString(long root, const QString& subKey, const QString& valueName, const QString& text) {
    QString t = text;
    return gRegSetString(root, subKey, valueName, t);
}

QString gRegGetValue(long root, const QString& subKey, const QString& valueName, const QString& def) {
    const auto v = reg::getString(root, subKey, valueName);
    if (!v) return def;
    QString s = *v;
    const int nul = s.indexOf(QChar(0));
    if (nul >= 0) s.truncate(nul);
    return s;
}

void gRegDeleteValue(long root, const QString& subKey, const QString& valueName) {
    reg::deleteValue(root, subKey, valueName);
}

#include "accounts/gAccountWindow.h"

#include "core/ui/gDialogKeys.h"
#include "core/ui/gTwips.h"

#include <QPushButton>

namespace {
constexpr int kButtonWidth = 1200, kButtonHeight = 405, kRightMargin = 360, kGap = 120;
}

void gSetUpAccountWindow(QWidget* form, const QString& caption, int clientWidthTwips, int clientHeightTwips,
                         bool minimizable) {
    form->setWindowTitle(caption);
    Qt::WindowFlags flags = Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint;
    if (minimizable) flags |= Qt::WindowMinimizeButtonHint;
    form->setWindowFlags(flags);
    form->setFixedSize(gPxSize(clientWidthTwips, clientHeightTwips));
    form->setAutoFillBackground(true);
    QPalette pal = form->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    form->setPalette(pal);
}

void gAddOkCancel(QWidget* form, int clientWidthTwips, int topTwips, QPushButton*& ok, QPushButton*& cancel) {
    ok = new QPushButton(QStringLiteral("确定"), form);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setGeometry(gPxRect(clientWidthTwips - kRightMargin - 2 * kButtonWidth - kGap, topTwips, kButtonWidth,
                            kButtonHeight));
    cancel = new QPushButton(QStringLiteral("取消"), form);
    cancel->setObjectName(QStringLiteral("Command2"));
    cancel->setGeometry(
        gPxRect(clientWidthTwips - kRightMargin - kButtonWidth, topTwips, kButtonWidth, kButtonHeight));
    gBindDefaultCancel(form, ok, cancel);
}

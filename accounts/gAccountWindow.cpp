#include "accounts/gAccountWindow.h"

#include "core/gDialogKeys.h"
#include "core/gTwips.h"

#include <QPushButton>

namespace {
constexpr int kButtonWidth = 1200, kButtonHeight = 405, kRightMargin = 360, kGap = 120;
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

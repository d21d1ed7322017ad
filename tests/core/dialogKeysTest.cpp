// Return and Escape press a window's default and cancel buttons.
#include "core/ui/gDialogKeys.h"
#include "testSupport.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class DialogKeys : public HomeTest {};

TEST_F(DialogKeys, ReturnAndEscapePressTheNamedButtons) {
    QWidget w;
    auto* ok = new QPushButton("确定", &w);
    auto* cancel = new QPushButton("取消", &w);
    gBindDefaultCancel(&w, ok, cancel);
    w.show();
    QApplication::setActiveWindow(&w);
    QSignalSpy okSpy(ok, &QPushButton::clicked), cancelSpy(cancel, &QPushButton::clicked);
    QTest::keyClick(&w, Qt::Key_Return);
    QTest::keyClick(&w, Qt::Key_Enter);
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_EQ(okSpy.count(), 2);
    EXPECT_EQ(cancelSpy.count(), 1);
}

TEST_F(DialogKeys, BindingAgainMovesTheKeysToTheNewButtons) {
    // A pane that makes another button the cancel button rebinds the same window.
    QWidget w;
    auto* save = new QPushButton("保存", &w);
    auto* cancel = new QPushButton("取消", &w);
    auto* back = new QPushButton("返回", &w);
    gBindDefaultCancel(&w, save, cancel);
    gBindDefaultCancel(&w, save, back);
    w.show();
    QApplication::setActiveWindow(&w);
    QSignalSpy saveSpy(save, &QPushButton::clicked), cancelSpy(cancel, &QPushButton::clicked),
        backSpy(back, &QPushButton::clicked);
    QTest::keyClick(&w, Qt::Key_Escape);
    QTest::keyClick(&w, Qt::Key_Return);
    EXPECT_EQ(backSpy.count(), 1);
    EXPECT_EQ(cancelSpy.count(), 0);
    EXPECT_EQ(saveSpy.count(), 1);

    // No cancel button any more: Escape does nothing.
    gBindDefaultCancel(&w, save, nullptr);
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_EQ(backSpy.count(), 1);
}

TEST_F(DialogKeys, ReturnOnAFocusedButtonPressesThatButton) {
    QWidget w;
    auto* ok = new QPushButton("确定", &w);
    auto* cancel = new QPushButton("取消", &w);
    gBindDefaultCancel(&w, ok, cancel);
    w.show();
    QApplication::setActiveWindow(&w);
    cancel->setFocus();
    QSignalSpy okSpy(ok, &QPushButton::clicked), cancelSpy(cancel, &QPushButton::clicked);
    QTest::keyClick(cancel, Qt::Key_Return);
    EXPECT_EQ(cancelSpy.count(), 1);
    EXPECT_EQ(okSpy.count(), 0);
}

// Lists and text views, whose frames the style leaves alone, carry the focus
// mark while the keyboard has them.
#include "core/ui/gFocusRing.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

class FocusRingTest : public ::testing::Test {
protected:
    void SetUp() override {
        gInstallFocusRing();
        gInstallFocusRing(); // a second time changes nothing
        window = std::make_unique<QWidget>();
        window->resize(320, 260);
        edit = new QLineEdit(window.get());
        edit->setGeometry(10, 10, 100, 24);
        text = new QPlainTextEdit(window.get());
        text->setReadOnly(true);
        text->setPlainText(QStringLiteral("正文"));
        text->setGeometry(10, 40, 200, 80);
        tree = new QTreeWidget(window.get());
        tree->setGeometry(10, 130, 200, 100);
        new QTreeWidgetItem(tree, {QStringLiteral("收藏")});
        // Drawn as the window's default button, it looks focused whether it is or not.
        ok = new QPushButton(QStringLiteral("确定"), window.get());
        ok->setGeometry(220, 10, 80, 28);
        ok->setDefault(true);
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        edit->setFocus(Qt::OtherFocusReason);
    }
    void tab() { QTest::keyClick(window->windowHandle(), Qt::Key_Tab); }
    static QWidget* ring(QWidget* view) {
        return view->findChild<QWidget*>(QStringLiteral("gFocusRing"), Qt::FindDirectChildrenOnly);
    }
    static bool ringShown(QWidget* view) { return ring(view) && ring(view)->isVisible(); }
    // The view's top edge, midway along, as the window shows it.
    QColor edgeOf(QWidget* view) {
        const QImage img = window->grab().toImage();
        return img.pixelColor(view->geometry().center().x(), view->geometry().top());
    }

    std::unique_ptr<QWidget> window;
    QLineEdit* edit = nullptr;
    QPlainTextEdit* text = nullptr;
    QTreeWidget* tree = nullptr;
    QPushButton* ok = nullptr;
};

} // namespace

TEST_F(FocusRingTest, FollowsTheKeyboardFocusFromViewToView) {
    const QColor plainEdge = edgeOf(text);
    tab();
    ASSERT_EQ(QApplication::focusWidget(), text);
    EXPECT_TRUE(ringShown(text));
    const QColor mark = text->palette().color(QPalette::Active, QPalette::Highlight);
    const QColor edge = edgeOf(text);
    EXPECT_NE(edge, plainEdge);
    EXPECT_LT(qAbs(edge.red() - mark.red()) + qAbs(edge.blue() - mark.blue()), 90);
    // Clicks go through the ring to the view beneath.
    EXPECT_EQ(window->childAt(text->geometry().center()), text->viewport());

    tab();
    ASSERT_EQ(QApplication::focusWidget(), tree);
    EXPECT_FALSE(ringShown(text));
    EXPECT_TRUE(ringShown(tree));
    EXPECT_EQ(edgeOf(text), plainEdge);
    // The ring keeps to the view's edge when the view grows.
    tree->resize(260, 110);
    EXPECT_EQ(ring(tree)->geometry(), tree->rect());

    tab();
    ASSERT_EQ(QApplication::focusWidget(), ok);
    EXPECT_FALSE(ringShown(tree));
    EXPECT_TRUE(ringShown(ok));
    // Inside the button, clear of its outline.
    EXPECT_EQ(ring(ok)->geometry(), ok->rect());
    const QImage focused = ok->grab().toImage();
    tab();
    ASSERT_EQ(QApplication::focusWidget(), edit);
    EXPECT_FALSE(ringShown(ok));
    const QImage plain = ok->grab().toImage();
    EXPECT_NE(focused, plain);
    const QColor okMark = ok->palette().color(QPalette::Active, QPalette::Highlight);
    const QColor inside = focused.pixelColor(ok->width() / 2, 3);
    EXPECT_LT(qAbs(inside.red() - okMark.red()) + qAbs(inside.blue() - okMark.blue()), 90);
}

TEST_F(FocusRingTest, NoRingBeforeTheKeyboardIsUsed) {
    ASSERT_FALSE(window->testAttribute(Qt::WA_KeyboardFocusChange));
    text->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(text->hasFocus());
    EXPECT_FALSE(ringShown(text));
}

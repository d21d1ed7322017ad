// The main window's top bar from the keyboard: a key per page and F1, Tab
// through the buttons with the focus mark, Space or Enter pressing them.
#include "shellFixture.h"

#include "core/model/gState.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <ostream>

namespace {

constexpr int kHelp = pageNumber(Page::HelpWindow);
constexpr int kHelpArrow = pageNumber(Page::HelpMenu);

class TopBarKeys : public ShellTest {
protected:
    frmMain* open() {
        frmMain* m = loadMain();
        QApplication::setActiveWindow(m);
        EXPECT_TRUE(QTest::qWaitForWindowActive(m));
        return m;
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(main_->windowHandle(), k, mods);
        pumpEvents();
    }
    QString shownPage() const {
        return main_->currentPage() ? main_->currentPage()->objectName() : QString();
    }
};

TEST_F(TopBarKeys, EachButtonsTipNamesItsKey) {
    frmMain* m = open();
    const std::pair<int, const char*> tips[] = {
        {0, "主页 (Ctrl+1)"}, {1, "课程 (Ctrl+2)"}, {2, "记录 (Ctrl+3)"},
        {3, "回顾 (Ctrl+4)"}, {4, "检索 (Ctrl+5)"}, {5, "用户 (Ctrl+6)"},
        {6, "设置 (Ctrl+7)"}, {kHelp, "帮助 (F1)"}, {kHelpArrow, "帮助菜单"},
    };
    for (auto [i, tip] : tips)
        EXPECT_EQ(m->pageButtons[i]->toolTip(), QString::fromUtf8(tip)) << i;
}

TEST_F(TopBarKeys, CtrlAndADigitOpenThePagesInTheBarsOrderAndF1TheHelp) {
    open();
    for (int i : {3, 1, 6, 0, 4, 5, 2}) {
        SCOPED_TRACE(i);
        key(Qt::Key(Qt::Key_1 + i), Qt::ControlModifier);
        EXPECT_EQ(main_->pageIndex(), i);
        EXPECT_EQ(shownPage(), frmMain::pageFormName(i));
    }
    // From inside a page's text box too (the editor is empty: no prompt).
    editor()->Text2->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(editor()->Text2->hasFocus());
    key(Qt::Key_5, Qt::ControlModifier);
    EXPECT_EQ(shownPage(), QStringLiteral("frmRetrieval"));
    // Ctrl+8 and a bare digit are no page keys.
    key(Qt::Key_8, Qt::ControlModifier);
    key(Qt::Key_1);
    EXPECT_EQ(shownPage(), QStringLiteral("frmRetrieval"));

    EXPECT_FALSE(forms::isLoaded(Form::frmHelp));
    key(Qt::Key_F1);
    EXPECT_TRUE(forms::isLoaded(Form::frmHelp));
    EXPECT_EQ(shownPage(), QStringLiteral("frmRetrieval")); // help changes no page
}

TEST_F(TopBarKeys, TabWalksTheButtonsInOrderEachShowingItsFocus) {
    frmMain* m = open();
    const int order[] = {0, 1, 2, 3, 4, 5, 6, kHelp, kHelpArrow};
    // From the last button of the bar, Tab wraps round to its first (the stand-in
    // pages hold nothing that takes the focus).
    m->pageButtons[kHelpArrow]->setFocus(Qt::OtherFocusReason);
    for (int i : order) {
        SCOPED_TRACE(i);
        QLabel* b = m->pageButtons[i];
        const QImage plain = b->grab().toImage();
        key(Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), b);
        EXPECT_NE(b->grab().toImage(), plain) << "no focus mark";
    }
    // The captions are not stops of their own.
    for (QLabel* c : m->buttonCaptions)
        EXPECT_EQ(c->focusPolicy(), Qt::NoFocus);
}

TEST_F(TopBarKeys, SpaceOrEnterPressTheFocusedButton) {
    frmMain* m = open();
    struct Case {
        int button;
        Qt::Key key;
    };
    const Case cases[] = {
        {4, Qt::Key_Space}, {1, Qt::Key_Return}, {6, Qt::Key_Enter}, {2, Qt::Key_Space}, {0, Qt::Key_Return}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        m->pageButtons[c.button]->setFocus(Qt::TabFocusReason);
        key(c.key);
        EXPECT_EQ(m->pageIndex(), c.button);
        EXPECT_EQ(shownPage(), frmMain::pageFormName(c.button));
        // The focus stays on the button, so the next Tab goes on along the bar.
        EXPECT_EQ(QApplication::focusWidget(), m->pageButtons[c.button]);
    }
    m->pageButtons[kHelp]->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Space);
    EXPECT_TRUE(forms::isLoaded(Form::frmHelp));
    forms::unload(Form::frmHelp);
    QApplication::setActiveWindow(m);
    m->pageButtons[kHelpArrow]->setFocus(Qt::TabFocusReason);
    QTest::keyClick(m->windowHandle(), Qt::Key_Return);
    EXPECT_TRUE(m->mHelp->isVisible());
    m->mHelp->close();
    EXPECT_EQ(m->pageIndex(), 0);
}

} // namespace

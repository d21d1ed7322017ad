// The pop-up editor opened from the diary editor's body: it takes the body's
// rich text, gives it back however it closes, and frees its owner again.
#include "controls/scheduleText.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/model/gState.h"
#include "diary/DiarySearch.h"
#include "diary/frmNew.h"
#include "diary/frmPopUp.h"
#include "diary/frmRetrieval.h"
#include "diary/gDiarySearch.h"
#include "editorFixture.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QTreeView>

#include <ostream>

namespace {
void makeBold(QTextEdit* box) {
    QTextCursor c(box->document());
    c.select(QTextCursor::Document);
    QTextCharFormat f;
    f.setFontWeight(QFont::Bold);
    f.setForeground(QColor(0xff, 0, 0));
    c.mergeCharFormat(f);
    QTextBlockFormat b;
    b.setAlignment(Qt::AlignHCenter);
    c.mergeBlockFormat(b);
}

// Typed as an input method commits it, the way Chinese text arrives.
void typeText(QWidget* w, const QString& text) {
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(w, &e);
}
} // namespace

class PopUpEditor : public EditorTest {
protected:
    // The user's road into the pop-up: 记录 on the top bar, a title and a body
    // typed, the pop-out link, then more typed at the end of the pop-up's text.
    frmNew* writeAndPopOut(const QString& title, const QString& body, const QString& more) {
        QTest::mouseClick(main_->buttonCaptions[pageNumber(Page::Writing)], Qt::LeftButton);
        frmNew* e = editor();
        if (!e) return nullptr;
        typeText(e->titleEdit, title);
        typeText(e->bodyEdit->box(), body);
        QTest::mouseClick(e->bodyEdit->popUpLink(), Qt::LeftButton);
        if (!popUp()) return nullptr;
        QTextEdit* box = popUp()->textEdit->box();
        box->moveCursor(QTextCursor::End);
        typeText(box, more);
        return e;
    }
};

TEST_F(PopUpEditor, PopOutOpensAFullScreenCopyAndDisablesTheBody) {
    frmNew* e = openEditor();
    e->bodyEdit->setText(QStringLiteral("正文"));
    const QString rtf = e->bodyEdit->textRTF();
    QTest::mouseClick(e->bodyEdit->popUpLink(), Qt::LeftButton);

    frmPopUp* p = popUp();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->isVisible());
    EXPECT_TRUE(p->isWindow());
    EXPECT_EQ(p->windowTitle(), QStringLiteral("编辑"));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(p->isMaximized());
    EXPECT_EQ(p->frameGeometry().topLeft(), screen.topLeft());
    EXPECT_GE(p->width(), screen.width() - 20);
    EXPECT_GE(p->height(), screen.height() - 60);
    EXPECT_EQ(p->textEdit->geometry(), p->rect());
    EXPECT_EQ(p->textEdit->textRTF(), rtf);
    EXPECT_FALSE(p->textEdit->showPopUp());
    EXPECT_EQ(gPopUpOwner.data(), e->bodyEdit);
    EXPECT_FALSE(e->bodyEdit->enabled());
    // One pop-up per owner.
    EXPECT_FALSE(e->bodyEdit->popOut());
}

TEST_F(PopUpEditor, FormattingDoneThereIsInTheBodyAfterClosing) {
    frmNew* e = openEditor();
    e->bodyEdit->setText(QStringLiteral("要加粗的字"));
    ASSERT_TRUE(e->bodyEdit->popOut());
    frmPopUp* p = popUp();
    ASSERT_NE(p, nullptr);
    makeBold(p->textEdit->box());
    const QString formatted = p->textEdit->textRTF();
    e->gChanged = false;

    p->close();
    pumpEvents();

    EXPECT_EQ(popUp(), nullptr);
    EXPECT_EQ(e->bodyEdit->textRTF(), formatted);
    EXPECT_TRUE(e->bodyEdit->textRTF().contains(QStringLiteral("\\b")));
    EXPECT_TRUE(e->bodyEdit->textRTF().contains(QStringLiteral("\\qc")));
    EXPECT_TRUE(e->bodyEdit->enabled());
    EXPECT_TRUE(gPopUpOwner.isNull());
    EXPECT_TRUE(e->gChanged);
    // And it pops out again.
    EXPECT_TRUE(e->bodyEdit->popOut());
}

// Without a window manager the full-screen window has no close button: Escape
// closes it as that button would, with everything written there kept.
TEST_F(PopUpEditor, EscapeClosesItBackIntoTheEditor) {
    frmNew* e =
        writeAndPopOut(QStringLiteral("标题"), QStringLiteral("正文"), QStringLiteral("，弹出里写的"));
    ASSERT_NE(e, nullptr);
    makeBold(popUp()->textEdit->box());
    const QString formatted = popUp()->textEdit->textRTF();

    QTest::keyClick(popUp()->textEdit->box(), Qt::Key_Escape);
    pumpEvents();

    EXPECT_EQ(popUp(), nullptr);
    EXPECT_TRUE(gPopUpOwner.isNull());
    EXPECT_EQ(editor(), e);
    EXPECT_EQ(e->bodyEdit->text(), QStringLiteral("正文，弹出里写的"));
    EXPECT_EQ(e->bodyEdit->textRTF(), formatted);
    EXPECT_TRUE(e->bodyEdit->enabled());
    EXPECT_TRUE(e->gChanged);
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    // Escape in the editor itself leaves the entry alone.
    QTest::keyClick(e->bodyEdit->box(), Qt::Key_Escape);
    pumpEvents();
    EXPECT_EQ(editor(), e);
    EXPECT_EQ(e->bodyEdit->text(), QStringLiteral("正文，弹出里写的"));
    // And it pops out again.
    EXPECT_TRUE(e->bodyEdit->popOut());
}

TEST_F(PopUpEditor, ClosingUnchangedGivesTheSameTextBack) {
    frmNew* e = openEditor();
    e->bodyEdit->setTextRTF(
        QStringLiteral("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 A \\i italic\\i0  word\\par}"));
    const QString before = e->bodyEdit->textRTF();
    ASSERT_TRUE(e->bodyEdit->popOut());
    forms::unload(Form::frmPopUp);
    EXPECT_EQ(e->bodyEdit->textRTF(), before);
    EXPECT_TRUE(e->bodyEdit->enabled());
    EXPECT_TRUE(gPopUpOwner.isNull());
}

TEST_F(PopUpEditor, LeavingTheEditorTakesThePopUpTextIntoThePrompt) {
    frmNew* e = openEditor();
    ASSERT_TRUE(e->bodyEdit->popOut());
    QTest::keyClicks(popUp()->textEdit->box(), QStringLiteral("abc"));

    gMsgBoxSeam::pushAnswer(gMsgResult::No);
    EXPECT_FALSE(gChangeFrame(Page::Home));
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::EntryNotEmptyDiscard});
    EXPECT_EQ(popUp(), nullptr);
    EXPECT_EQ(editor(), e);
    EXPECT_EQ(e->bodyEdit->text(), QStringLiteral("abc"));
    EXPECT_TRUE(e->bodyEdit->enabled());

    // Saved from the editor, the text written in the pop-up is stored.
    e->titleEdit->setText(QStringLiteral("标题"));
    e->saveButton->click();
    const auto rows = rowsOf(today);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].diary, QStringLiteral("abc"));
}

TEST_F(PopUpEditor, AnOwnerThatIsGoneIsLeftAlone) {
    auto* owner = new scheduleText;
    owner->setText(QStringLiteral("临时"));
    ASSERT_TRUE(owner->popOut());
    ASSERT_NE(popUp(), nullptr);
    EXPECT_EQ(popUp()->textEdit->text(), QStringLiteral("临时"));
    delete owner;
    EXPECT_TRUE(forms::unload(Form::frmPopUp));
    EXPECT_TRUE(gPopUpOwner.isNull());
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

TEST_F(PopUpEditor, ExitClosesThePopUpIntoTheEditorFirst) {
    frmNew* e = openEditor();
    ASSERT_TRUE(e->bodyEdit->popOut());
    popUp()->textEdit->setText(QStringLiteral("退出前写的"));
    gOption(Option::CloseMinimises) = false;
    gMsgBoxSeam::pushAnswer(gMsgResult::No);
    EXPECT_FALSE(forms::unload(Form::frmMain));
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::EntryNotEmptyDiscard});
    EXPECT_EQ(editor(), e);
    EXPECT_EQ(e->bodyEdit->text(), QStringLiteral("退出前写的"));
}

TEST_F(PopUpEditor, DraftTakesTheTextBeingWrittenInThePopUp) {
    gOption(Option::DraftAutoSave) = true;
    gAutoSaveInterval = 1;
    frmNew* e = openEditor();
    e->bodyEdit->setText(QStringLiteral("旧的"));
    ASSERT_TRUE(e->bodyEdit->popOut());
    popUp()->textEdit->setText(QStringLiteral("弹出窗口里新写的"));
    e->draftTimer_Timer();
    scheduleText back;
    ASSERT_TRUE(back.loadFile(frmNew::draftFile()));
    EXPECT_EQ(back.text(), QStringLiteral("弹出窗口里新写的"));
}

TEST_F(PopUpEditor, UnloadingTheEditorClosesItsPopUp) {
    frmNew* e = openEditor();
    ASSERT_TRUE(e->bodyEdit->popOut());
    ASSERT_TRUE(forms::unload(e));
    EXPECT_EQ(popUp(), nullptr);
    EXPECT_TRUE(gPopUpOwner.isNull());
}

TEST_F(PopUpEditor, SaveWhileThePopUpIsOpenStoresWhatThePopUpShows) {
    frmNew* e =
        writeAndPopOut(QStringLiteral("弹出保存"), QStringLiteral("原文"), QStringLiteral(" 弹出新增"));
    ASSERT_NE(e, nullptr);

    e->saveButton->click();

    const auto rows = rowsOf(today);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].title, QStringLiteral("弹出保存"));
    EXPECT_EQ(rows[0].diary, QStringLiteral("原文 弹出新增"));
    // Saved once, nothing asked, and the editor went back to the home page.
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
    EXPECT_EQ(popUp(), nullptr);
    EXPECT_EQ(editor(), nullptr);
    ASSERT_FALSE(visits.isEmpty());
    EXPECT_EQ(visits.last().name, QStringLiteral("frmWelcome"));
    EXPECT_EQ(diaryRows(), 1);
}

TEST_F(PopUpEditor, ACheckThatStopsTheSaveKeepsThePopUpText) {
    frmNew* e = openEditor();
    ASSERT_TRUE(e->bodyEdit->popOut());
    typeText(popUp()->textEdit->box(), QStringLiteral("没有标题"));
    e->saveButton->click();
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::TitleMissing});
    EXPECT_EQ(editor(), e);
    EXPECT_EQ(e->bodyEdit->text(), QStringLiteral("没有标题"));
    EXPECT_EQ(diaryRows(), 0);
}

// The two roads into the locked state: the menu item and the time-out.
enum class LockRoad { Menu, TimeOut };

void PrintTo(LockRoad r, std::ostream* os) {
    *os << (r == LockRoad::Menu ? "Menu" : "TimeOut");
}

class PopUpLock : public PopUpEditor, public ::testing::WithParamInterface<LockRoad> {};

TEST_P(PopUpLock, LockClosesThePopUpIntoTheEditor) {
    frmNew* e = writeAndPopOut(QStringLiteral("锁定前"), QStringLiteral("正文"), QStringLiteral("又写的"));
    ASSERT_NE(e, nullptr);

    if (GetParam() == LockRoad::Menu) {
        main_->mTLock->trigger();
    } else {
        gOption(Option::LockWhenMinimised) = true;
        gLockTimeout = 1;
        main_->setWindowState(Qt::WindowMinimized);
        ASSERT_TRUE(main_->lockTimer->isActive());
        main_->lockTimer->setInterval(1);
        for (int i = 0; i < 50 && !gLocked; ++i)
            pumpEvents(5);
    }

    ASSERT_TRUE(gLocked);
    EXPECT_FALSE(main_->isVisible());
    // Nothing of the entry is left on screen, and nothing of it is lost.
    EXPECT_EQ(popUp(), nullptr);
    EXPECT_TRUE(gPopUpOwner.isNull());
    EXPECT_EQ(editor(), e);
    EXPECT_EQ(e->titleEdit->text(), QStringLiteral("锁定前"));
    EXPECT_EQ(e->bodyEdit->text(), QStringLiteral("正文又写的"));
    EXPECT_TRUE(e->bodyEdit->enabled());
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Roads, PopUpLock, ::testing::Values(LockRoad::Menu, LockRoad::TimeOut));

// The search keeps the entries' plain texts in memory for the next searches; a
// locked program holds none of them.
TEST_F(EditorTest, LockLetsGoOfTheTextsTheSearchKept) {
    addRow(today, QStringLiteral("雨天"), QStringLiteral("下雨了"), 60);
    addRow(today.addDays(-1), QStringLiteral("晴天"), QStringLiteral("出太阳"), 70);
    // This fixture stands pages in; the search page is the real one here.
    forms::registerForm(Form::frmRetrieval, [] { return new frmRetrieval; });
    QTest::mouseClick(main_->buttonCaptions[pageNumber(Page::Search)], Qt::LeftButton);
    auto* p = qobject_cast<frmRetrieval*>(forms::find(Form::frmRetrieval));
    ASSERT_NE(p, nullptr);
    p->byContentCheck->setChecked(true);
    typeText(p->contentEdit, QStringLiteral("雨"));
    while (p->searching()) // a search runs in turns of the event loop
        QCoreApplication::processEvents();
    ASSERT_EQ(p->resultList->model()->rowCount(), 1);
    ASSERT_EQ(gKeptSearchTexts(), 2u);

    main_->mTLock->trigger();
    ASSERT_TRUE(gLocked);
    EXPECT_EQ(gKeptSearchTexts(), 0u);
}

// Locked in the middle of a search: the search stops and holds no texts while
// the program is locked, and runs again when the window comes back.
TEST_F(EditorTest, TheLockStopsARunningSearchThatRunsAgainOnReturn) {
    for (int i = 0; i < 30; ++i)
        addRow(today.addDays(-i), QStringLiteral("日记%1").arg(i), QStringLiteral("正文%1").arg(i), 60);
    struct FewRowsATurn {
        FewRowsATurn() { DiarySearch::setRowsPerTurn(3); }
        ~FewRowsATurn() { DiarySearch::setRowsPerTurn(0); }
    } fewRows;
    forms::registerForm(Form::frmRetrieval, [] { return new frmRetrieval; });
    QTest::mouseClick(main_->buttonCaptions[pageNumber(Page::Search)], Qt::LeftButton);
    auto* p = qobject_cast<frmRetrieval*>(forms::find(Form::frmRetrieval));
    ASSERT_NE(p, nullptr);
    ASSERT_TRUE(p->searching());

    main_->mTLock->trigger();
    ASSERT_TRUE(gLocked);
    for (int turn = 0; turn < 20; ++turn)
        QCoreApplication::processEvents();
    EXPECT_FALSE(p->searching());
    EXPECT_EQ(gKeptSearchTexts(), 0u);
    EXPECT_LT(p->resultList->model()->rowCount(), 30);

    // What the unlock window does on success, then the window back from the tray.
    gLocked = false;
    main_->mTOpen->trigger();
    while (p->searching())
        QCoreApplication::processEvents();
    EXPECT_EQ(p->resultList->model()->rowCount(), 30);
    EXPECT_EQ(gKeptSearchTexts(), 30u);
}

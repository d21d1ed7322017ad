// The editor's draft file: written on the timer while auto-save is on, offered
// back when the editor opens, and never thrown away unread.
#include "controls/scheduleText.h"
#include "core/model/gClock.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/model/gState.h"
#include "diary/frmNew.h"
#include "editorFixture.h"
#include "shell/frmMain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using EditorDraft = EditorTest;

TEST_F(EditorDraft, TimerWritesTheBodyAfterTheIntervalAndTellsWhen) {
    OpenUmask open;
    gOption(Option::DraftAutoSave) = true;
    gAutoSaveInterval = 3;
    frmNew* e = openEditor();
    ASSERT_TRUE(e->draftTimer->isActive());
    EXPECT_EQ(e->draftTimer->interval(), 60000);
    e->bodyEdit->setText(QStringLiteral("写到一半"));

    e->draftTimer_Timer();
    e->draftTimer_Timer();
    EXPECT_FALSE(QFile::exists(frmNew::draftFile()));
    EXPECT_FALSE(e->draftNoticeLabel->isVisibleTo(e));

    gClockSeam::set(QDateTime(today, QTime(8, 5, 30)));
    e->draftTimer_Timer();
    ASSERT_TRUE(QFile::exists(frmNew::draftFile()));
    EXPECT_EQ(e->draftTicks(), 0);
    EXPECT_TRUE(e->draftNoticeLabel->isVisibleTo(e));
    EXPECT_EQ(e->draftNoticeLabel->text(), QStringLiteral("08点05分在用户文件夹保存了草稿。"));
    scheduleText back;
    ASSERT_TRUE(back.loadFile(frmNew::draftFile()));
    EXPECT_EQ(back.text(), QStringLiteral("写到一半"));
    // The body in the clear: its owner's alone, whatever the umask.
    EXPECT_EQ(fileMode(frmNew::draftFile()), 0600);
    // Nothing but the draft itself is left in the folder.
    const QStringList left = QDir(gDataPath).entryList(QDir::Files);
    EXPECT_FALSE(left.join(QLatin1Char(' ')).contains(QStringLiteral("Diary.tmp.")));
}

TEST_F(EditorDraft, WithAutoSaveOffNoDraftIsWrittenButAnOldOneIsOffered) {
    gOption(Option::DraftAutoSave) = false;
    scheduleText old;
    old.setText(QStringLiteral("上次没写完的"));
    ASSERT_TRUE(old.saveFile(frmNew::draftFile()));
    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);

    frmNew* e = openEditor();
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::DraftFound});
    EXPECT_FALSE(e->draftTimer->isActive());
    EXPECT_EQ(e->bodyEdit->text(), QStringLiteral("上次没写完的"));
}

// Until the restored text is saved, the draft is its only copy on disk.
TEST_F(EditorDraft, RestoredDraftStaysUntilTheEntryIsSaved) {
    for (const bool autoSave : {false, true}) {
        SCOPED_TRACE(autoSave);
        gOption(Option::DraftAutoSave) = autoSave;
        scheduleText old;
        old.setText(QStringLiteral("上次没写完的"));
        ASSERT_TRUE(old.saveFile(frmNew::draftFile()));
        const QByteArray bytes = readFile(frmNew::draftFile());
        gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
        frmNew* e = openEditor();
        ASSERT_EQ(e->bodyEdit->text(), QStringLiteral("上次没写完的"));
        EXPECT_EQ(readFile(frmNew::draftFile()), bytes);

        e->titleEdit->setText(QStringLiteral("标题"));
        e->saveButton->click();
        EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Home));
        EXPECT_FALSE(QFile::exists(frmNew::draftFile()));
        ASSERT_FALSE(rowsOf(today).isEmpty());
        EXPECT_EQ(rowsOf(today).last().diary, QStringLiteral("上次没写完的"));
    }
}

// Leaving the restored text and saying so is the user's decline: the draft goes.
TEST_F(EditorDraft, RestoredDraftGoesWhenTheUserLeavesIt) {
    gOption(Option::DraftAutoSave) = false;
    scheduleText old;
    old.setText(QStringLiteral("不要了"));
    ASSERT_TRUE(old.saveFile(frmNew::draftFile()));
    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    frmNew* e = openEditor();
    ASSERT_EQ(e->bodyEdit->text(), QStringLiteral("不要了"));

    gMsgBoxSeam::pushAnswer(gMsgResult::No); // the new entry is not empty: stay
    e->cancelButton->click();
    EXPECT_EQ(editor(), e);
    EXPECT_TRUE(QFile::exists(frmNew::draftFile()));

    gMsgBoxSeam::pushAnswer(gMsgResult::Yes); // the new entry is not empty: leave it
    e->cancelButton->click();
    EXPECT_EQ(gMsgBoxSeam::shownIds(),
              (QList<int>{Msg::DraftFound, Msg::EntryNotEmptyDiscard, Msg::EntryNotEmptyDiscard}));
    EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Home));
    EXPECT_FALSE(QFile::exists(frmNew::draftFile()));
}

TEST_F(EditorDraft, AHugeDraftIsRefusedAndKept) {
    QByteArray huge("{\\rtf1 ");
    huge.append(4 * 1024 * 1024, 'a');
    huge.append('}');
    writeFile(frmNew::draftFile(), huge);
    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    frmNew* e = openEditor();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::DraftFound});
    ASSERT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_TRUE(gMsgBoxSeam::errors()[0].description.contains(frmNew::draftFile()));
    EXPECT_TRUE(e->bodyEdit->text().isEmpty());
    EXPECT_FALSE(e->gChanged);
    EXPECT_EQ(QFileInfo(frmNew::draftFile()).size(), huge.size());
}

TEST_F(EditorDraft, RefusedDraftStaysAndIsOfferedAgain) {
    scheduleText old;
    old.setText(QStringLiteral("留着"));
    ASSERT_TRUE(old.saveFile(frmNew::draftFile()));
    const QByteArray bytes = readFile(frmNew::draftFile());
    gMsgBoxSeam::pushAnswer(gMsgResult::No);
    frmNew* e = openEditor();
    EXPECT_TRUE(e->bodyEdit->text().isEmpty());
    EXPECT_EQ(readFile(frmNew::draftFile()), bytes);

    gChangeFrame(Page::Home);
    gMsgBoxSeam::reset();
    gMsgBoxSeam::setScripted(true);
    openEditor();
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::DraftFound});
}

TEST_F(EditorDraft, RestoredDraftInAnEditedEntryCountsAsAChange) {
    const QDate day(2026, 3, 9);
    addRow(day, QStringLiteral("旧"), QStringLiteral("旧的内容"), 50);
    loadDay(day);
    gDayIndex = 1;
    gOption(Option::DraftAutoSave) = true;
    scheduleText old;
    old.setText(QStringLiteral("草稿里的内容"));
    ASSERT_TRUE(old.saveFile(frmNew::draftFile()));
    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    frmNew* e = openEditor(true, true, true);
    EXPECT_EQ(e->bodyEdit->text(), QStringLiteral("草稿里的内容"));
    EXPECT_TRUE(e->gChanged);

    // Leaving asks before the restored text goes; No keeps it.
    gMsgBoxSeam::pushAnswer(gMsgResult::No);
    EXPECT_FALSE(gChangeFrame(Page::Home));
    EXPECT_EQ(gMsgBoxSeam::shownIds().last(), Msg::EntryChangedDiscard);
    EXPECT_EQ(editor(), e);
}

TEST_F(EditorDraft, UnreadableDraftIsKeptAndReported) {
    writeFile(frmNew::draftFile(), "not a rich text file");
    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    frmNew* e = openEditor();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_TRUE(QFile::exists(frmNew::draftFile()));
    EXPECT_EQ(readFile(frmNew::draftFile()), QByteArray("not a rich text file"));
}

TEST_F(EditorDraft, DraftThatCannotBeWrittenIsReportedNotAnnounced) {
    gOption(Option::DraftAutoSave) = true;
    gAutoSaveInterval = 1;
    frmNew* e = openEditor();
    e->bodyEdit->setText(QStringLiteral("内容"));
    // A folder in the draft's place: no file can be written there.
    ASSERT_TRUE(QDir().mkpath(frmNew::draftFile()));
    QTimer::singleShot(0, e->draftTimer, [e] { Q_EMIT e->draftTimer->timeout({}); });
    pumpEvents(20);
    EXPECT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_FALSE(e->draftNoticeLabel->isVisibleTo(e));
    EXPECT_EQ(e->draftTicks(), 0);
}

TEST_F(EditorDraft, LeavingWithAutoSaveOnDeletesTheDraft) {
    gOption(Option::DraftAutoSave) = true;
    gAutoSaveInterval = 1;
    frmNew* e = openEditor();
    e->draftTimer_Timer();
    ASSERT_TRUE(QFile::exists(frmNew::draftFile()));
    e->cancelButton->click();
    EXPECT_FALSE(QFile::exists(frmNew::draftFile()));
    EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Home));
}

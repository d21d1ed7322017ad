// Saving an entry from the editor: the stored row, the running totals, the
// stored score total, the page that follows, and what a refused or failed save
// leaves behind.
#include "controls/scheduleSlider.h"
#include "controls/scheduleText.h"
#include "core/model/gDatabase.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/model/gState.h"
#include "diary/frmNew.h"
#include "editorFixture.h"
#include "shell/frmMain.h"

#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>

using EditorSave = EditorTest;

namespace {
void fill(frmNew* e, const QString& title, const QString& body, int score) {
    e->titleEdit->setText(title);
    e->bodyEdit->setText(body);
    e->moodSlider->setValue(score);
}
} // namespace

TEST_F(EditorSave, NewEntryIsStoredWithTotalsAndTheHomePageShowsItsDay) {
    gOption(Option::DraftAutoSave) = true;
    frmNew* e = openEditor();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->datePicker->date(), today);
    EXPECT_TRUE(e->datePicker->isEnabled());
    fill(e, QStringLiteral("春游"), QStringLiteral("今天去了公园。\r\n天气很好。"), 80);
    QTextCursor c(e->bodyEdit->box()->document());
    c.select(QTextCursor::WordUnderCursor);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.mergeCharFormat(bold);
    writeFile(frmNew::draftFile(), "{\\rtf1 draft}");

    e->saveButton->click();

    const auto rows = rowsOf(today);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].date, today);
    EXPECT_EQ(rows[0].title, QStringLiteral("春游"));
    EXPECT_EQ(rows[0].diary, QStringLiteral("今天去了公园。\r\n天气很好。"));
    EXPECT_TRUE(rows[0].rtf.startsWith(QStringLiteral("{\\rtf1")));
    EXPECT_TRUE(rows[0].rtf.contains(QStringLiteral("\\b")));
    EXPECT_EQ(rows[0].score, 80);
    EXPECT_FALSE(rows[0].collect);
    EXPECT_EQ(gDiaryCount, 1);
    EXPECT_EQ(gScoreTotal, 80);
    EXPECT_EQ(storedScoreTotal(), 80);
    EXPECT_EQ(gDayCount, 1);
    EXPECT_EQ(gDayIndex, 1);
    EXPECT_FALSE(QFile::exists(frmNew::draftFile()));
    // The switch asked nothing: the editor was emptied before it left.
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Home));
    ASSERT_EQ(visits.size(), 1);
    EXPECT_EQ(visits[0].name, QStringLiteral("frmWelcome"));
    EXPECT_TRUE(visits[0].setDiary);
    EXPECT_FALSE(visits[0].editMode);
    EXPECT_EQ(visits[0].diaryDate, today);
    pumpEvents();
    EXPECT_EQ(editor(), nullptr);
}

TEST_F(EditorSave, SecondEntryOfADayBecomesItsLastAndReturnsToTheReview) {
    addRow(today, QStringLiteral("早上"), QStringLiteral("早饭"), 40);
    frmNew* e = openEditor(false, false, true);
    fill(e, QStringLiteral("晚上"), QStringLiteral("晚饭"), 60);
    e->saveButton->click();

    EXPECT_EQ(gDayCount, 2);
    EXPECT_EQ(gDayIndex, 2);
    EXPECT_EQ(gDiaryCount, 2);
    EXPECT_EQ(gScoreTotal, 100);
    EXPECT_EQ(storedScoreTotal(), 100);
    const auto rows = rowsOf(today);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1].title, QStringLiteral("晚上"));
    EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Review));
    ASSERT_EQ(visits.size(), 1);
    EXPECT_EQ(visits[0].name, QStringLiteral("frmReview"));
    EXPECT_TRUE(visits[0].setDiary);
    EXPECT_EQ(visits[0].dayIndex, 2);
}

TEST_F(EditorSave, EditingChangesOnlyThatRowAndTheScoreDifference) {
    const QDate day(2026, 3, 1);
    addRow(day, QStringLiteral("一"), QStringLiteral("第一篇"), 30, true);
    addRow(day, QStringLiteral("二"), QStringLiteral("第二篇"), 50, true);
    addRow(today, QStringLiteral("三"), QStringLiteral("别的日子"), 70);
    loadDay(day);
    gDayIndex = 2;

    frmNew* e = openEditor(true, true, true);
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->editMode());
    EXPECT_EQ(e->datePicker->date(), day);
    EXPECT_FALSE(e->datePicker->isEnabled());
    EXPECT_EQ(e->titleEdit->text(), QStringLiteral("二"));
    EXPECT_EQ(e->bodyEdit->text(), QStringLiteral("第二篇"));
    EXPECT_EQ(e->moodSlider->value(), 50);
    EXPECT_FALSE(e->gChanged);
    EXPECT_FALSE(gSetDiary);

    e->bodyEdit->setText(QStringLiteral("改过的第二篇"));
    e->moodSlider->setValue(90);
    e->saveButton->click();

    const auto rows = rowsOf(day);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].diary, QStringLiteral("第一篇"));
    EXPECT_TRUE(rows[0].collect);
    EXPECT_EQ(rows[1].diary, QStringLiteral("改过的第二篇"));
    EXPECT_EQ(rows[1].score, 90);
    EXPECT_FALSE(rows[1].collect); // an edited favourite stops being one
    EXPECT_EQ(diaryRows(), 3);
    EXPECT_EQ(gDiaryCount, 3);
    EXPECT_EQ(gScoreTotal, 30 + 90 + 70);
    EXPECT_EQ(storedScoreTotal(), 190);
    EXPECT_EQ(gDayCount, 2);
    EXPECT_EQ(gDayIndex, 2);
    ASSERT_EQ(visits.size(), 1);
    EXPECT_EQ(visits[0].name, QStringLiteral("frmReview"));
    EXPECT_EQ(visits[0].diaryDate, day);
}

TEST_F(EditorSave, ADateChosenForANewEntryIsWhereItIsStoredAndShown) {
    const QDate chosen(2026, 2, 20);
    frmNew* e = openEditor();
    e->datePicker->setDate(chosen);
    fill(e, QStringLiteral("补记"), QStringLiteral("补上那天"), 55);
    e->saveButton->click();

    EXPECT_TRUE(rowsOf(today).isEmpty());
    ASSERT_EQ(rowsOf(chosen).size(), 1);
    EXPECT_EQ(gDiaryDate, chosen);
    EXPECT_EQ(gDayCount, 1);
    ASSERT_EQ(visits.size(), 1);
    EXPECT_EQ(visits[0].diaryDate, chosen);
}

TEST_F(EditorSave, InputChecksReportAndWriteNothing) {
    struct Case {
        const char* what;
        QString title;
        QString bodyRtf;
        int message;
    };
    const QString picture = QStringLiteral("{\\rtf1{\\pict\\pngblip\\picw1\\pich1 89504e470d0a1a0a}\\par}");
    const Case cases[] = {
        {"empty title", QString(), QStringLiteral("{\\rtf1 body\\par}"), 125},
        {"empty body", QStringLiteral("t"), QString(), 109},
        {"formatting only", QStringLiteral("t"),
         QStringLiteral("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs40\\b\\i\\ul }"), 109},
        {"picture only", QStringLiteral("t"), picture, 109},
        {"title of 256", QString(256, QChar(0x4e00)), QStringLiteral("{\\rtf1 body\\par}"), 126},
    };
    frmNew* e = openEditor();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gMsgBoxSeam::reset();
        gMsgBoxSeam::setScripted(true);
        e->titleEdit->setText(c.title);
        e->bodyEdit->setTextRTF(c.bodyRtf);
        e->saveButton->click();
        ASSERT_EQ(editor(), e);
        EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{c.message});
        EXPECT_EQ(diaryRows(), 0);
        EXPECT_EQ(gDiaryCount, 0);
        EXPECT_EQ(editor(), e);
        EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Writing));
    }
    EXPECT_EQ(e->titleEdit->text(), QString(256, QChar(0x4e00)));
}

TEST_F(EditorSave, TitleOf255CharactersIsStored) {
    frmNew* e = openEditor();
    fill(e, QString(255, QChar(0x6c34)), QStringLiteral("水"), 10);
    e->saveButton->click();
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    const auto rows = rowsOf(today);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].title, QString(255, QChar(0x6c34)));
}

TEST_F(EditorSave, FailedSaveRollsBackAndKeepsTheEntryInTheEditor) {
    frmNew* e = openEditor();
    fill(e, QStringLiteral("标题"), QStringLiteral("不能丢的内容"), 66);
    // The score total cannot be written: the entry must not be stored either.
    gConnection.execute(QStringLiteral("DROP TABLE DiarySettings"));
    e->saveButton->click();

    ASSERT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_TRUE(gMsgBoxSeam::errors()[0].continueRun);
    EXPECT_EQ(diaryRows(), 0);
    EXPECT_EQ(gConnection.transactionLevel(), 0);
    EXPECT_FALSE(gRecordset.isOpen());
    EXPECT_EQ(gDiaryCount, 0);
    EXPECT_EQ(gScoreTotal, 0);
    EXPECT_EQ(gDayCount, 0);
    EXPECT_EQ(editor(), e);
    EXPECT_EQ(e->titleEdit->text(), QStringLiteral("标题"));
    EXPECT_EQ(e->bodyEdit->text(), QStringLiteral("不能丢的内容"));
    EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Writing));
}

TEST_F(EditorSave, EditingAnEntryThatIsGoneWritesNothing) {
    const QDate day(2026, 3, 2);
    addRow(day, QStringLiteral("一"), QStringLiteral("第一篇"), 30);
    addRow(day, QStringLiteral("二"), QStringLiteral("第二篇"), 50);
    loadDay(day);
    gDayIndex = 2;
    frmNew* e = openEditor(true, true, false);
    gConnection.execute(QStringLiteral("DELETE FROM Diary WHERE Title = ?"), {QStringLiteral("二")});
    e->bodyEdit->setText(QStringLiteral("改"));
    e->saveButton->click();

    EXPECT_EQ(gMsgBoxSeam::errors().size(), 1);
    const auto rows = rowsOf(day);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].diary, QStringLiteral("第一篇"));
    EXPECT_EQ(gScoreTotal, 80);
    EXPECT_EQ(editor(), e);
}

TEST_F(EditorSave, EditModeWithAnIndexOutsideTheDayOpensANewEntry) {
    const QDate day(2026, 3, 3);
    addRow(day, QStringLiteral("一"), QStringLiteral("第一篇"), 30);
    loadDay(day);
    gDayIndex = 5;
    frmNew* e = openEditor(true, true, false);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_FALSE(e->editMode());
    EXPECT_TRUE(e->titleEdit->text().isEmpty());
    fill(e, QStringLiteral("新"), QStringLiteral("新的一篇"), 20);
    e->saveButton->click();
    const auto rows = rowsOf(day);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].diary, QStringLiteral("第一篇"));
    EXPECT_EQ(rows[1].diary, QStringLiteral("新的一篇"));
}

TEST_F(EditorSave, EntryStoredWithoutRichTextOpensWithItsPlainText) {
    const QDate day(2026, 3, 5);
    gConnection.execute(QStringLiteral("INSERT INTO Diary (Date, Title, Diary, DiaryRTF, Score, Collect) "
                                       "VALUES (?, ?, ?, ?, ?, 0)"),
                        {day, QStringLiteral("纯文本"), QStringLiteral("只有纯文本"), QString(), 40});
    loadDay(day);
    gDayIndex = 1;
    frmNew* e = openEditor(true, true, false);
    EXPECT_EQ(e->bodyEdit->text(), QStringLiteral("只有纯文本"));
    EXPECT_FALSE(e->gChanged);
    e->saveButton->click();
    const auto rows = rowsOf(day);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].diary, QStringLiteral("只有纯文本"));
    EXPECT_TRUE(rows[0].rtf.startsWith(QStringLiteral("{\\rtf1")));
}

// Right after the sign-in the entries are not counted yet; an entry saved then
// is left to that count, which sees it once.
TEST_F(EditorSave, AnEntrySavedBeforeTheEntriesAreCountedIsCountedOnce) {
    addRow(today.addDays(-1), QStringLiteral("昨天"), QStringLiteral("a"), 40);
    gDiaryCount = kDiaryCountPending;
    frmNew* e = openEditor();
    ASSERT_NE(e, nullptr);
    fill(e, QStringLiteral("今天"), QStringLiteral("b"), 60);
    e->saveButton->click();

    EXPECT_EQ(rowsOf(today).size(), 1);
    EXPECT_EQ(gDiaryCount, kDiaryCountPending);
    EXPECT_EQ(gTakeDiaryCount(), 2);
    EXPECT_EQ(gScoreTotal, 100);
    EXPECT_EQ(storedScoreTotal(), 100);
}

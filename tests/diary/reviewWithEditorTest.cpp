// The review page and the real diary editor together: the editor reads the
// day the review page loaded, and the review page shows what the editor saved.
#include "reviewTestSupport.h"

#include "controls/scheduleCommand.h"
#include "controls/scheduleSlider.h"
#include "controls/scheduleText.h"
#include "core/ui/gForms.h"
#include "core/ui/gLinkLabel.h"
#include "core/model/gState.h"
#include "diary/frmNew.h"
#include "diary/frmReview.h"
#include "shell/frmMain.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

class ReviewWithEditorTest : public ReviewTest {
protected:
    void SetUp() override {
        ReviewTest::SetUp();
        forms::registerForm(Form::frmNew, [] { return new frmNew; });
        ASSERT_NE(loadMain(), nullptr);
    }
    frmReview* reviewAt(const QDate& day, int index) {
        gDiaryDate = day;
        gDayIndex = index;
        EXPECT_TRUE(gChangeFrame(Page::Review, {.setDiary = true}));
        return review();
    }
    frmNew* editor() const { return forms::find<frmNew>(Form::frmNew); }
};

TEST_F(ReviewWithEditorTest, NewEntrySavedFromTheReviewPageIsTheOneShownAfter) {
    addEntry(today_, QStringLiteral("早上"), 40);
    frmReview* p = reviewAt(today_, 1);
    ASSERT_NE(p, nullptr);
    press(p->addLink);
    pumpEvents();
    frmNew* e = editor();
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(e->editMode());
    e->titleEdit->setText(QStringLiteral("晚上"));
    e->setBodyText(QStringLiteral("写完了"));
    e->moodSlider->setValue(90);
    e->saveButton->click();
    pumpEvents();

    p = review();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(gDayCount, 2);
    EXPECT_EQ(gDayIndex, 2);
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("晚上"));
    EXPECT_EQ(p->bodyView->toPlainText(), QStringLiteral("写完了"));
    EXPECT_EQ(p->entryCounterLabel->text(), QStringLiteral("  2 / 2"));
    EXPECT_EQ(p->averageValueLabel->text(), QStringLiteral("65"));
    EXPECT_EQ(gDiaryCount, 2);
    EXPECT_EQ(gScoreTotal, 130);
}

TEST_F(ReviewWithEditorTest, EditingTheShownEntryStartsFromWhatThePageLoaded) {
    addEntry(today_, QStringLiteral("一"), 30, QStringLiteral("第一篇"));
    addEntry(today_, QStringLiteral("二"), 60, QStringLiteral("第二篇"));
    frmReview* p = reviewAt(today_, 1);
    ASSERT_NE(p, nullptr);
    press(p->nextEntryButton);
    press(p->editLink);
    pumpEvents();
    frmNew* e = editor();
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->editMode());
    EXPECT_EQ(e->titleEdit->text(), QStringLiteral("二"));
    EXPECT_EQ(e->bodyText(), QStringLiteral("第二篇"));
    EXPECT_EQ(e->moodSlider->value(), 60);

    e->titleEdit->setText(QStringLiteral("二（改）"));
    e->moodSlider->setValue(80);
    e->saveButton->click();
    pumpEvents();

    p = review();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(gDayIndex, 2);
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("二（改）"));
    EXPECT_EQ(gDayTitles.value(1), QStringLiteral("一"));
    EXPECT_EQ(gDayScores.value(2), 80);
    EXPECT_EQ(gDiaryCount, 2);
    EXPECT_EQ(gScoreTotal, 110);
    EXPECT_EQ(storedTotal(), 110);
}

TEST_F(ReviewWithEditorTest, CancelledEditorComesBackToTheSameEntry) {
    addEntry(today_, QStringLiteral("一"), 30);
    addEntry(today_, QStringLiteral("二"), 60);
    addEntry(today_, QStringLiteral("三"), 90);
    frmReview* p = reviewAt(today_, 3);
    ASSERT_NE(p, nullptr);
    press(p->editLink);
    pumpEvents();
    ASSERT_NE(editor(), nullptr);
    editor()->cancelButton->click();
    pumpEvents();
    p = review();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(gDayIndex, 3);
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("三"));
}

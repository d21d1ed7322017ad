// The search: every criterion, their combinations, the entries' places within
// their day, and which control changes run the search again.
#include "searchTestSupport.h"

#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

class SearchCriteriaTest : public SearchTest {
protected:
    // Entries over a year and a half before today_ (2026-03-18).
    void seed() {
        addEntry({today_.addDays(-400), QStringLiteral("旧的雨天"), QStringLiteral("很久以前"), 40});
        addEntry({today_.addDays(-3), QStringLiteral("雨后"), QStringLiteral("出门散步"), 70, true});
        addEntry({today_.addDays(-3), QStringLiteral("晚饭"), QStringLiteral("雨又下了"), 80});
        addEntry({today_.addDays(-20), QStringLiteral("考试 50%"), QStringLiteral("it's done"), 60});
        addEntry({today_.addDays(-100), QStringLiteral("a_b"), QStringLiteral("下雨"), 90});
        addEntry({today_, QStringLiteral("今天"), QStringLiteral("晴"), 70});
    }
    void untickAll(frmRetrieval* p) {
        for (QCheckBox* c :
             {p->byDateCheck, p->byTitleCheck, p->byScoreCheck, p->scoreRangeCheck, p->byContentCheck,
              p->titleBeginsCheck, p->contentBeginsCheck, p->favouritesOnlyCheck})
            c->setChecked(false);
        p->dateOptions[4]->setChecked(true);
    }
};

TEST_F(SearchCriteriaTest, WithoutCriteriaEveryEntryIsListedOldestFirstWithItsPlaceInItsDay) {
    seed();
    frmRetrieval* p = openSearch();
    EXPECT_EQ(rows(p->resultList),
              (QStringList{"1 旧的雨天", "1 a_b", "1 考试 50%", "1 雨后", "2 晚饭", "1 今天"}));
    EXPECT_EQ(rowDate(p->resultList, 0), today_.addDays(-400));
    EXPECT_EQ(cell(p->resultList, 0, 1), QStringLiteral("2025/2/11"));
    EXPECT_EQ(cell(p->resultList, 0, 3), QStringLiteral("很久以前"));
    EXPECT_EQ(cell(p->resultList, 0, 4), QStringLiteral("40"));
}

TEST_F(SearchCriteriaTest, EachCriterionAndTheirCombinations) {
    seed();
    frmRetrieval* p = openSearch();
    struct Case {
        const char* name;
        std::function<void(frmRetrieval*)> set;
        QStringList expected;
    };
    const Case cases[] = {
        {"title contains",
         [](frmRetrieval* p) {
             p->titleEdit->setText(QStringLiteral("雨"));
             p->byTitleCheck->setChecked(true);
         },
         {"1 旧的雨天", "1 雨后"}},
        {"title begins",
         [](frmRetrieval* p) {
             p->titleEdit->setText(QStringLiteral("雨"));
             p->byTitleCheck->setChecked(true);
             p->titleBeginsCheck->setChecked(true);
         },
         {"1 雨后"}},
        {"title ticked but empty",
         [](frmRetrieval* p) {
             p->titleEdit->clear();
             p->byTitleCheck->setChecked(true);
         },
         {"1 旧的雨天", "1 a_b", "1 考试 50%", "1 雨后", "2 晚饭", "1 今天"}},
        {"content contains",
         [](frmRetrieval* p) {
             p->contentEdit->setText(QStringLiteral("雨"));
             p->byContentCheck->setChecked(true);
         },
         {"1 a_b", "2 晚饭"}},
        {"content begins",
         [](frmRetrieval* p) {
             p->contentEdit->setText(QStringLiteral("雨"));
             p->byContentCheck->setChecked(true);
             p->contentBeginsCheck->setChecked(true);
         },
         {"2 晚饭"}},
        {"score range",
         [](frmRetrieval* p) {
             p->lowScoreCombo->setCurrentText(QStringLiteral("60"));
             p->highScoreCombo->setCurrentText(QStringLiteral("80"));
             p->scoreRangeCheck->setChecked(true);
             p->byScoreCheck->setChecked(true);
         },
         {"1 考试 50%", "1 雨后", "2 晚饭", "1 今天"}},
        {"score exact without the range box",
         [](frmRetrieval* p) {
             p->lowScoreCombo->setCurrentText(QStringLiteral("70"));
             p->highScoreCombo->setCurrentText(QStringLiteral("100"));
             p->byScoreCheck->setChecked(true);
         },
         {"1 雨后", "1 今天"}},
        {"favourites only", [](frmRetrieval* p) { p->favouritesOnlyCheck->setChecked(true); }, {"1 雨后"}},
        {"last week",
         [](frmRetrieval* p) {
             p->byDateCheck->setChecked(true);
             p->dateOptions[0]->setChecked(true);
         },
         {"1 雨后", "2 晚饭", "1 今天"}},
        {"last month",
         [](frmRetrieval* p) {
             p->byDateCheck->setChecked(true);
             p->dateOptions[1]->setChecked(true);
         },
         {"1 考试 50%", "1 雨后", "2 晚饭", "1 今天"}},
        {"last year",
         [](frmRetrieval* p) {
             p->byDateCheck->setChecked(true);
             p->dateOptions[2]->setChecked(true);
         },
         {"1 a_b", "1 考试 50%", "1 雨后", "2 晚饭", "1 今天"}},
        {"chosen dates, both ends included",
         [this](frmRetrieval* p) {
             p->fromDateEdit->setDate(today_.addDays(-100));
             p->toDateEdit->setDate(today_.addDays(-20));
             p->byDateCheck->setChecked(true);
             p->dateOptions[3]->setChecked(true);
         },
         {"1 a_b", "1 考试 50%"}},
        {"date option ticked without its box",
         [](frmRetrieval* p) { p->dateOptions[0]->setChecked(true); },
         {"1 旧的雨天", "1 a_b", "1 考试 50%", "1 雨后", "2 晚饭", "1 今天"}},
        {"last week and a title word",
         [](frmRetrieval* p) {
             p->byDateCheck->setChecked(true);
             p->dateOptions[0]->setChecked(true);
             p->titleEdit->setText(QStringLiteral("雨"));
             p->byTitleCheck->setChecked(true);
         },
         {"1 雨后"}},
        // Typed characters that mean something in a pattern or a statement match themselves.
        {"percent sign",
         [](frmRetrieval* p) {
             p->titleEdit->setText(QStringLiteral("%"));
             p->byTitleCheck->setChecked(true);
         },
         {"1 考试 50%"}},
        {"underscore",
         [](frmRetrieval* p) {
             p->titleEdit->setText(QStringLiteral("_"));
             p->byTitleCheck->setChecked(true);
         },
         {"1 a_b"}},
        {"apostrophe",
         [](frmRetrieval* p) {
             p->contentEdit->setText(QStringLiteral("'"));
             p->byContentCheck->setChecked(true);
         },
         {"1 考试 50%"}},
        {"apostrophe that would close a quoted text",
         [](frmRetrieval* p) {
             p->titleEdit->setText(QStringLiteral("x' OR '1'='1"));
             p->byTitleCheck->setChecked(true);
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        untickAll(p);
        c.set(p);
        EXPECT_EQ(rows(p->resultList), c.expected);
    }
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

TEST_F(SearchCriteriaTest, OnlyTheThirdEntryOfADayMatchingIsListedAsNumberThree) {
    addEntry(today_, QStringLiteral("早上"), 50);
    addEntry(today_, QStringLiteral("中午"), 50);
    addEntry(today_, QStringLiteral("晚上散步"), 50);
    addEntry(today_.addDays(-1), QStringLiteral("散步"), 50);
    frmRetrieval* p = openSearch();
    p->titleEdit->setText(QStringLiteral("散步"));
    p->byTitleCheck->setChecked(true);
    EXPECT_EQ(rows(p->resultList), (QStringList{"1 散步", "3 晚上散步"}));
}

TEST_F(SearchCriteriaTest, EqualEntriesOfADayKeepTheirOwnPlaces) {
    addEntry(today_, QStringLiteral("同"), 50);
    addEntry(today_, QStringLiteral("别的"), 50);
    addEntry(today_, QStringLiteral("同"), 50);
    frmRetrieval* p = openSearch();
    p->titleEdit->setText(QStringLiteral("同"));
    p->byTitleCheck->setChecked(true);
    EXPECT_EQ(rows(p->resultList), (QStringList{"1 同", "3 同"}));
}

TEST_F(SearchCriteriaTest, TypingRunsTheSearchOnlyWhileItsCriterionIsTicked) {
    addEntry(today_, QStringLiteral("一"), 10);
    frmRetrieval* p = openSearch();
    ASSERT_EQ(count(p->resultList), 1);
    addEntry(today_, QStringLiteral("二"), 20); // seen only by a new search

    p->titleEdit->insert(QStringLiteral("二"));
    p->contentEdit->insert(QStringLiteral("二"));
    p->highScoreCombo->setCurrentIndex(5);
    EXPECT_EQ(count(p->resultList), 1);

    p->byTitleCheck->setChecked(true); // ticking searches with the typed title
    EXPECT_EQ(rows(p->resultList), QStringList{"2 二"});
    QTest::keyClicks(p->titleEdit, QStringLiteral("x"));
    EXPECT_EQ(count(p->resultList), 0);
    QTest::keyClick(p->titleEdit, Qt::Key_Backspace);
    EXPECT_EQ(count(p->resultList), 1);
}

TEST_F(SearchCriteriaTest, TheDateOptionsAreUsableOnlyWithTheirBoxTicked) {
    frmRetrieval* p = openSearch();
    EXPECT_FALSE(p->dateOptionsPanel->isEnabled());
    EXPECT_TRUE(p->dateOptions[4]->isChecked());
    p->byDateCheck->setChecked(true);
    EXPECT_TRUE(p->dateOptionsPanel->isEnabled());
    p->byDateCheck->setChecked(false);
    EXPECT_FALSE(p->dateOptionsPanel->isEnabled());
    EXPECT_EQ(p->lowScoreCombo->count(), 101);
    EXPECT_EQ(p->highScoreCombo->itemText(100), QStringLiteral("100"));
    EXPECT_EQ(p->lowScoreCombo->currentText(), QStringLiteral("0"));
}

TEST_F(SearchCriteriaTest, RefreshFindsEntriesAddedSinceTheLastSearch) {
    frmRetrieval* p = openSearch();
    EXPECT_EQ(count(p->resultList), 0);
    addEntry(today_, QStringLiteral("新"), 10);
    QTest::mouseClick(p->refreshLink, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(rows(p->resultList), QStringList{"1 新"});
}

TEST_F(SearchCriteriaTest, AfterASearchOfTheTextsEveryChangeIsFoundAtOnce) {
    seed();
    frmRetrieval* p = openSearch();
    p->contentEdit->setText(QStringLiteral("雨"));
    p->byContentCheck->setChecked(true);
    ASSERT_EQ(rows(p->resultList), (QStringList{"1 a_b", "2 晚饭"}));

    // A new entry of the day before "晚饭" and of its own day.
    addEntry({today_.addDays(-3), QStringLiteral("夜雨"), QStringLiteral("雨停了"), 50});
    QTest::mouseClick(p->refreshLink, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(rows(p->resultList), (QStringList{"1 a_b", "2 晚饭", "3 夜雨"}));

    // A favourite marked from the results is found by the favourites-only search.
    select(p->resultList, 2);
    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    p->mCollect->trigger();
    p->favouritesOnlyCheck->setChecked(true);
    EXPECT_EQ(rows(p->resultList), QStringList{"3 夜雨"});
    p->byContentCheck->setChecked(false);
    EXPECT_EQ(rows(p->resultList), (QStringList{"1 雨后", "3 夜雨"}));
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

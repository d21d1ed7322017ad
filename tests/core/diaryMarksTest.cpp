// Diary-day marks in a month view and the favourite flag, on a real encrypted
// account database.
#include "controls/scheduleMonthView.h"
#include "core/model/gClock.h"
#include "core/model/gDatabase.h"
#include "core/ui/gDiaryMarks.h"
#include "core/base/gError.h"
#include "core/ui/gForms.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "diary/gDiaryCollect.h"
#include "testSupport.h"

#include <QFile>
#include <QLabel>

#include <functional>

void gRegisterDiaryPages();

namespace {
const QString kPassword = QStringLiteral("pw");

class DiaryMarks : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        gRegisterDiaryPages();
        gResetAccountState();
        gRecordKey = QStringLiteral("4711");
        file_ = home().folder(QStringLiteral("data")) + QStringLiteral("Userdata.dat");
        gCreateDatabase(file_, gMakeDbPassword(kPassword));
        gOpenDatabase(file_, gMakeDbPassword(kPassword));
        gClockSeam::set(QDateTime(QDate(2008, 5, 14), QTime(9, 0)));
    }
    void TearDown() override {
        forms::unloadAllNow();
        gCloseDatabase();
        gClockSeam::reset();
        HomeTest::TearDown();
    }

    static void addEntry(const QDate& d, const QString& title, bool collect = false) {
        db::Recordset rs;
        rs.setCursorLocation(db::CursorLocation::Client);
        rs.open(QStringLiteral("SELECT * FROM Diary"), gConnection, db::CursorType::Static,
                db::LockType::Optimistic);
        rs.addNew();
        rs.setField(QStringLiteral("Date"), d);
        rs.setField(QStringLiteral("Title"), title);
        rs.setField(QStringLiteral("Diary"), title + QStringLiteral(" body"));
        rs.setField(QStringLiteral("Score"), 50);
        rs.setField(QStringLiteral("Collect"), collect);
        rs.update();
        rs.close();
    }
    // Title and favourite flag of every entry, in table order.
    static QList<QPair<QString, bool>> entries() {
        db::Recordset rs;
        rs.open(QStringLiteral("SELECT Title,Collect FROM Diary"), gConnection);
        QList<QPair<QString, bool>> out;
        for (; !rs.eof(); rs.moveNext())
            out.append({rs.text(QStringLiteral("Title")), rs.boolean(QStringLiteral("Collect"))});
        return out;
    }
    // Closes the file and opens it again, so only what reached the disk counts.
    void reopen() {
        gCloseDatabase();
        gOpenDatabase(file_, gMakeDbPassword(kPassword));
    }
    static QList<QDate> boldVisible(const scheduleMonthView& v) {
        QList<QDate> out;
        for (int i = 1; i <= 42; ++i)
            if (v.dayBold(v.VisibleDays(i))) out.append(v.VisibleDays(i));
        return out;
    }
    QString file_;
};

// A page of the given name with a month view called MonthView1 on it.
void registerPageWithMonthView(gFormName name) {
    forms::registerForm(name, [] {
        auto* page = new QWidget;
        auto* view = new scheduleMonthView(page);
        view->setObjectName(QStringLiteral("MonthView1"));
        return page;
    });
}

scheduleMonthView* monthViewOf(gFormName page) {
    return forms::find(page)->findChild<scheduleMonthView*>(QStringLiteral("MonthView1"));
}

} // namespace

TEST_F(DiaryMarks, MarksEveryVisibleDayWithEntriesIncludingNeighbouringMonths) {
    addEntry(QDate(2008, 4, 26), QStringLiteral("before the grid"));
    addEntry(QDate(2008, 4, 27), QStringLiteral("first cell"));
    addEntry(QDate(2008, 5, 3), QStringLiteral("one"));
    addEntry(QDate(2008, 5, 3), QStringLiteral("two"));
    addEntry(QDate(2008, 5, 31), QStringLiteral("month end"));
    addEntry(QDate(2008, 6, 7), QStringLiteral("last cell"));
    addEntry(QDate(2008, 6, 8), QStringLiteral("after the grid"));

    scheduleMonthView view;
    view.setValue(QDate(2008, 5, 14));
    ASSERT_EQ(view.VisibleDays(1), QDate(2008, 4, 27));
    ASSERT_EQ(view.VisibleDays(42), QDate(2008, 6, 7));
    // Stale marks from an earlier state are cleared; flags of days outside the grid stay.
    view.setDayBold(QDate(2008, 5, 20), true);
    view.setDayBold(QDate(2008, 1, 1), true);

    gMarkDiaryDays(view);

    EXPECT_EQ(boldVisible(view),
              (QList<QDate>{QDate(2008, 4, 27), QDate(2008, 5, 3), QDate(2008, 5, 31), QDate(2008, 6, 7)}));
    EXPECT_TRUE(view.dayBold(QDate(2008, 1, 1)));
    EXPECT_FALSE(view.dayBold(QDate(2008, 4, 26)));
    EXPECT_TRUE(view.dayCells[1]->font().bold());
    EXPECT_TRUE(view.dayCells[42]->font().bold());
    EXPECT_FALSE(view.dayCells[24]->font().bold()); // 20 May
    EXPECT_FALSE(gRecordset.isOpen());

    // The next month reads its own days.
    view.setValue(QDate(2008, 6, 15));
    gMarkDiaryDays(view);
    EXPECT_EQ(boldVisible(view), (QList<QDate>{QDate(2008, 5, 31), QDate(2008, 6, 7), QDate(2008, 6, 8)}));
}

TEST_F(DiaryMarks, EmptyDiaryMarksNothing) {
    scheduleMonthView view;
    view.setValue(QDate(2008, 5, 14));
    view.setDayBold(QDate(2008, 5, 5), true);
    gMarkDiaryDays(view);
    EXPECT_TRUE(boldVisible(view).isEmpty());
}

TEST_F(DiaryMarks, MarksThePageItIsAskedFor) {
    addEntry(QDate(2008, 5, 9), QStringLiteral("entry"));
    registerPageWithMonthView(Form::frmWelcome);
    registerPageWithMonthView(Form::frmReview);

    // Neither page is loaded: nothing to mark.
    EXPECT_EQ(errorOf([] { gMarkDiaryDays(false); }), gErr::ObjectNotSet);
    EXPECT_EQ(errorOf([] { gMarkDiaryDays(true); }), gErr::ObjectNotSet);

    forms::load(Form::frmWelcome);
    forms::load(Form::frmReview);
    scheduleMonthView* home = monthViewOf(Form::frmWelcome);
    scheduleMonthView* review = monthViewOf(Form::frmReview);
    home->setValue(QDate(2008, 5, 1));
    review->setValue(QDate(2008, 5, 1));

    gMarkDiaryDays(false);
    EXPECT_TRUE(home->dayBold(QDate(2008, 5, 9)));
    EXPECT_FALSE(review->dayBold(QDate(2008, 5, 9)));
    gMarkDiaryDays(true);
    EXPECT_TRUE(review->dayBold(QDate(2008, 5, 9)));
}

TEST_F(DiaryMarks, FailedMarkingLeavesNoRecordsetOpen) {
    scheduleMonthView view;
    view.setValue(QDate(2008, 5, 14));
    gConnection.execute(QStringLiteral("DROP TABLE Diary"));
    EXPECT_NE(errorOf([&] { gMarkDiaryDays(view); }), 0);
    EXPECT_FALSE(gRecordset.isOpen());
}

TEST_F(DiaryMarks, FavouriteFlagChangesOnlyAfterYes) {
    addEntry(QDate(2008, 5, 3), QStringLiteral("a"));
    addEntry(QDate(2008, 5, 4), QStringLiteral("other day"));
    addEntry(QDate(2008, 5, 3), QStringLiteral("b"));
    addEntry(QDate(2008, 5, 3), QStringLiteral("c"), true);
    using Row = QPair<QString, bool>;

    gMsgBoxSeam::pushAnswer(gMsgResult::No);
    gSetDiaryCollect(QDate(2008, 5, 3), 2, true);
    ASSERT_EQ(gMsgBoxSeam::shown().size(), 1);
    EXPECT_EQ(gMsgBoxSeam::shown().at(0).id, Msg::ConfirmAddFavourite);
    EXPECT_EQ(gMsgBoxSeam::shown().at(0).buttonSet, gButtonSet::YesNo);
    EXPECT_EQ(gMsgBoxSeam::shown().at(0).text, QStringLiteral("您确实要将选中的日记加入收藏吗？"));
    EXPECT_EQ(entries(), (QList<Row>{{"a", false}, {"other day", false}, {"b", false}, {"c", true}}));

    // Yes: exactly the second entry of that day, and it reached the file.
    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    gSetDiaryCollect(QDate(2008, 5, 3), 2, true);
    EXPECT_FALSE(gRecordset.isOpen());
    reopen();
    EXPECT_EQ(entries(), (QList<Row>{{"a", false}, {"other day", false}, {"b", true}, {"c", true}}));

    // Clearing asks message 129.
    gMsgBoxSeam::reset();
    gMsgBoxSeam::setScripted(true);
    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    gSetDiaryCollect(QDate(2008, 5, 3), 3, false);
    ASSERT_EQ(gMsgBoxSeam::shownIds(), (QList<int>{Msg::ConfirmRemoveFavourite}));
    EXPECT_EQ(gMsgBoxSeam::shown().at(0).buttonSet, gButtonSet::YesNo);
    reopen();
    EXPECT_EQ(entries(), (QList<Row>{{"a", false}, {"other day", false}, {"b", true}, {"c", false}}));

    // A box closed without an answer is a No.
    gSetDiaryCollect(QDate(2008, 5, 3), 1, true);
    EXPECT_EQ(entries().at(0), Row("a", false));
}

TEST_F(DiaryMarks, FavouriteOfAPositionTheDayLacksFailsWithoutChange) {
    addEntry(QDate(2008, 5, 3), QStringLiteral("a"));
    addEntry(QDate(2008, 5, 3), QStringLiteral("b"));
    for (int position : {0, 3, -1}) {
        SCOPED_TRACE(position);
        gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
        EXPECT_EQ(errorOf([&] { gSetDiaryCollect(QDate(2008, 5, 3), position, true); }), db::err::BofOrEof);
        EXPECT_FALSE(gRecordset.isOpen());
    }
    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    EXPECT_EQ(errorOf([&] { gSetDiaryCollect(QDate(2008, 5, 9), 1, true); }), db::err::BofOrEof);
    using Row = QPair<QString, bool>;
    EXPECT_EQ(entries(), (QList<Row>{{"a", false}, {"b", false}}));
}

// The home page's summary of the coming classes, from the timetable model.
#include "core/model/clsSchedule.h"
#include "core/model/gClock.h"
#include "core/ui/gForms.h"
#include "core/ui/gResources.h"
#include "core/model/gState.h"
#include "diary/frmWelcome.h"
#include "testSupport.h"

#include <QLabel>

namespace {
class HomeSummary : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        gResetAccountState();
        setNow(QTime(9, 0));
        gTimetable.Term.TermBegin = QDate(2008, 5, 12); // a Monday: this is week 1
        gTimetable.Term.TermEnd = QDate(2008, 6, 29);
        addRow(QStringLiteral("第一节"), 480, 525);
        addRow(QStringLiteral("第二节"), 530, 575);
        addRow(QStringLiteral("第三节"), 600, 645);
        // Made, not loaded: the summary needs the model alone.
        page = new frmWelcome;
    }
    void TearDown() override {
        delete page;
        gTimetable = clsSchedule();
        gClockSeam::reset();
        HomeTest::TearDown();
    }
    static void setNow(QTime t) { gClockSeam::set(QDateTime(QDate(2008, 5, 14), t)); } // a Wednesday
    static void addRow(const QString& name, int begin, int end) {
        clsRow r;
        r.Name = name;
        r.ClassBeginTime = qint16(begin);
        r.ClassEndTime = qint16(end);
        r.Index = qint16(gTimetable.rowCount() + 1);
        gTimetable.gRow.add(r, clsSchedule::key(r.Index));
    }
    static void addCourse(const QString& name, const QString& place, int weekday, QList<double> periods,
                          int doubleWeek = 0, int beginWeek = 1, int endWeek = 16) {
        clsCourse c;
        c.Name = name;
        c.Place = place;
        c.BeginWeek = qint16(beginWeek);
        c.EndWeek = qint16(endWeek);
        c.DoubleWeek = qint16(doubleWeek);
        c.Course(weekday) = periods;
        c.Index = qint16(gTimetable.CourseCount() + 1);
        gTimetable.gCourse.add(c, clsSchedule::key(c.Index));
    }
    bool iconIs(int id) const {
        return page->courseImage->pixmap().toImage() ==
               gLoadResPicture(id, gResKind::Icon, QSize(32, 32)).toImage();
    }
    frmWelcome* page = nullptr;
};
} // namespace

TEST_F(HomeSummary, ListsTodaysClassesNotYetEndedThenTheNextDays) {
    addCourse(QStringLiteral("数学"), QStringLiteral("A101"), 3, {1, 2, 3});
    addCourse(QStringLiteral("英语"), QStringLiteral("B2"), 4, {1});
    addCourse(QStringLiteral("物理"), QStringLiteral("C3"), 5, {1});
    EXPECT_EQ(page->courseSummary(), QStringLiteral("05 月 14 日：\n"
                                                    "08:50 - 09:35  第二节  数学  A101\n"
                                                    "10:00 - 10:45  第三节  数学  A101\n"
                                                    "05 月 15 日：\n"
                                                    "08:00 - 08:45  第一节  英语  B2\n"));
    EXPECT_TRUE(iconIs(106));

    // After the day's last class, today is left out.
    setNow(QTime(10, 45));
    EXPECT_EQ(page->courseSummary(), QStringLiteral("05 月 15 日：\n"
                                                    "08:00 - 08:45  第一节  英语  B2\n"
                                                    "05 月 16 日：\n"
                                                    "08:00 - 08:45  第一节  物理  C3\n"));
}

TEST_F(HomeSummary, StopsAtFiveLines) {
    addRow(QStringLiteral("第四节"), 660, 705);
    addRow(QStringLiteral("第五节"), 720, 765);
    addCourse(QStringLiteral("长课"), QStringLiteral("D"), 3, {2, 3, 4, 5});
    addCourse(QStringLiteral("明天"), QStringLiteral("E"), 4, {1});
    const QString text = page->courseSummary();
    EXPECT_EQ(text.count(QLatin1Char('\n')), 5);
    EXPECT_TRUE(text.startsWith(QStringLiteral("05 月 14 日：\n08:50 - 09:35")));
    EXPECT_FALSE(text.contains(QStringLiteral("明天")));
}

TEST_F(HomeSummary, OddAndEvenWeeksAndTheWeekRange) {
    // Week 1 is odd: an even-weeks course waits for next week's Wednesday.
    addCourse(QStringLiteral("双周"), QStringLiteral("R1"), 3, {3}, 2);
    addCourse(QStringLiteral("单周"), QStringLiteral("R2"), 4, {3}, 1);
    addCourse(QStringLiteral("后来"), QStringLiteral("R3"), 5, {3}, 0, 3, 4);
    EXPECT_EQ(page->courseSummary(), QStringLiteral("05 月 15 日：\n"
                                                    "10:00 - 10:45  第三节  单周  R2\n"
                                                    "05 月 21 日：\n"
                                                    "10:00 - 10:45  第三节  双周  R1\n"));
}

TEST_F(HomeSummary, LaterCourseInTheSamePeriodWins) {
    addCourse(QStringLiteral("先"), QStringLiteral("X"), 3, {3});
    addCourse(QStringLiteral("后"), QStringLiteral("Y"), 3, {3});
    EXPECT_EQ(page->courseSummary(), QStringLiteral("05 月 14 日：\n10:00 - 10:45  第三节  后  Y\n"
                                                    "05 月 21 日：\n10:00 - 10:45  第三节  后  Y\n"));
}

TEST_F(HomeSummary, BeforeTheTermSkipsAheadToItsFirstClasses) {
    gTimetable.Term.TermBegin = QDate(2008, 6, 2);
    gTimetable.Term.TermEnd = QDate(2008, 7, 13);
    addCourse(QStringLiteral("开学"), QStringLiteral("F"), 1, {1});
    EXPECT_EQ(page->courseSummary(), QStringLiteral("06 月 02 日：\n08:00 - 08:45  第一节  开学  F\n"
                                                    "06 月 09 日：\n08:00 - 08:45  第一节  开学  F\n"));
}

TEST_F(HomeSummary, NothingToShowReadsNoClasses) {
    const struct {
        const char* why;
        QDate begin, end;
        bool withCourse;
    } cases[] = {
        {"no courses", QDate(2008, 5, 12), QDate(2008, 6, 29), false},
        {"term over", QDate(2008, 2, 18), QDate(2008, 5, 4), true},
        {"no term dates", QDate(), QDate(), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        gTimetable.gCourse.clear();
        gTimetable.Term.TermBegin = c.begin;
        gTimetable.Term.TermEnd = c.end;
        if (c.withCourse) addCourse(QStringLiteral("课"), QStringLiteral("G"), 4, {1});
        EXPECT_EQ(page->courseSummary(), QStringLiteral("没有课程安排。"));
        EXPECT_TRUE(iconIs(107));
    }
}

TEST_F(HomeSummary, PeriodNumbersOutsideTheTableAreSkipped) {
    // A stored piece that is no number reads as period 0; a deleted period leaves
    // numbers past the last row.
    addCourse(QStringLiteral("坏"), QStringLiteral("H"), 3, {0, 7, 3});
    EXPECT_EQ(page->courseSummary(), QStringLiteral("05 月 14 日：\n10:00 - 10:45  第三节  坏  H\n"
                                                    "05 月 21 日：\n10:00 - 10:45  第三节  坏  H\n"));
}

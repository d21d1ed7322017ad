#include "todayClassesFixture.h"

#include "core/ui/gForms.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "timetable/frmScheReport.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Monday's classes in periods 1 (08:00-08:45), 3 (10:00-10:45) and 5 (14:30-15:15).
class ReportList : public TodayClassesTest {
protected:
    void SetUp() override {
        TodayClassesTest::SetUp();
        addCourse(QStringLiteral("线性代数"), QStringLiteral("1-101"), 1, QStringLiteral("01"));
        addCourse(QStringLiteral("大学物理"), QStringLiteral("2-202"), 1, QStringLiteral("03"));
        addCourse(QStringLiteral("英语"), QStringLiteral("3-303"), 1, QStringLiteral("05"));
    }
    frmScheReport* showAt(int h, int m, int weekday = 1) {
        setNow(weekday, h, m);
        loadToday();
        return forms::load<frmScheReport>(Form::frmScheReport);
    }
    static QString cell(frmScheReport* r, int row, int col) {
        QTableWidgetItem* it = r->classGrid->item(row, col);
        return it ? it->text() : QStringLiteral("<none>");
    }
};

} // namespace

TEST_F(ReportList, OneRowPerPeriodWithAClass) {
    frmScheReport* r = showAt(12, 0);
    EXPECT_TRUE(r->isVisible());
    EXPECT_EQ(r->windowTitle(), QStringLiteral("课程"));
    EXPECT_EQ(r->titleLabel->text(), QStringLiteral("今天（09 月 14 日）的课程："));
    EXPECT_EQ(r->closeButton->text(), QStringLiteral("关闭"));
    QTableWidget* g = r->classGrid;
    ASSERT_EQ(g->columnCount(), 4);
    ASSERT_EQ(g->rowCount(), 3);
    const char* rows[3][4] = {{"08:00 - 08:45", "第一节", "线性代数", "1-101"},
                              {"10:00 - 10:45", "第三节", "大学物理", "2-202"},
                              {"14:30 - 15:15", "第五节", "英语", "3-303"}};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            EXPECT_EQ(cell(r, row, col), QString::fromUtf8(rows[row][col])) << row << "," << col;
    for (int col = 0; col < 4; ++col)
        EXPECT_EQ(g->columnWidth(col), 87) << col; // 1300 twips
    for (int col : {2, 3})
        EXPECT_EQ(Qt::Alignment(g->item(0, col)->textAlignment()), Qt::AlignLeft | Qt::AlignVCenter);
    // Between the end of period 3 and the end of period 5: period 5 is next.
    EXPECT_EQ(g->currentRow(), 2);
    EXPECT_EQ(g->currentColumn(), 0);
    EXPECT_FALSE(r->closeTimer->isActive());
    // Every column shows in full.
    EXPECT_GE(g->viewport()->width(), 4 * 87);
}

TEST_F(ReportList, TheFirstClassNotOverIsSelected) {
    const struct {
        int h, m, row;
    } cases[] = {
        {7, 0, 0},   {8, 45, 0},                            // a class whose end is now is not over yet
        {8, 46, 1},  {10, 45, 1}, {10, 46, 2}, {15, 16, 0}, // all over: the first class
        {23, 59, 0},
    };
    for (const auto& c : cases) {
        frmScheReport* r = showAt(c.h, c.m);
        EXPECT_EQ(r->classGrid->currentRow(), c.row) << c.h << ":" << c.m;
        EXPECT_EQ(r->classGrid->currentColumn(), 0);
        gCloseMinimizes = true; // no main window between the cases
        forms::unload(r);
        gCloseMinimizes = false;
    }
    EXPECT_EQ(mainWindowLoads(), 0);
}

TEST_F(ReportList, ADayWithoutClassesClosesAtOnceAndOpensTheMainWindow) {
    frmScheReport* r = showAt(8, 0, 2); // Tuesday
    EXPECT_EQ(r->classGrid->rowCount(), 0);
    EXPECT_FALSE(r->isVisible());
    EXPECT_TRUE(r->closeTimer->isActive());
    for (int i = 0; i < 50 && forms::isLoaded(Form::frmScheReport); ++i)
        pumpEvents(10);
    EXPECT_FALSE(forms::isLoaded(Form::frmScheReport));
    EXPECT_EQ(mainWindowLoads(), 1);
    EXPECT_TRUE(forms::find(Form::frmMain)->isVisible());
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

TEST_F(ReportList, ClosingOpensTheMainWindowOnce) {
    const struct {
        const char* how;
        bool mainRunning;
        int loads;
    } cases[] = {{"button", false, 1}, {"title bar", false, 1}, {"button", true, 1}, {"title bar", true, 1}};
    for (const auto& c : cases) {
        forms::unloadAllNow();
        gCloseMinimizes = false;
        mainWindowLoads() = 0;
        if (c.mainRunning) forms::load(Form::frmMain);
        frmScheReport* r = showAt(9, 0);
        if (QLatin1String(c.how) == QLatin1String("button"))
            r->closeButton->click();
        else
            r->close();
        pumpEvents();
        EXPECT_FALSE(forms::isLoaded(Form::frmScheReport)) << c.how;
        EXPECT_EQ(mainWindowLoads(), c.loads) << c.how << c.mainRunning;
        EXPECT_TRUE(forms::isLoaded(Form::frmMain)) << c.how;
    }
}

TEST_F(ReportList, TheExitUnloadsItWithoutReopeningTheMainWindow) {
    showAt(9, 0);
    // The exit marks the main window as not to be shown again before it unloads the report.
    gCloseMinimizes = true;
    forms::unload(Form::frmScheReport);
    EXPECT_FALSE(forms::isLoaded(Form::frmScheReport));
    EXPECT_EQ(mainWindowLoads(), 0);
}

TEST_F(ReportList, EnterOrEscapeCloses) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        forms::unloadAllNow();
        gCloseMinimizes = false;
        mainWindowLoads() = 0;
        frmScheReport* r = showAt(9, 0);
        QApplication::setActiveWindow(r);
        QTest::keyClick(r->classGrid, key);
        pumpEvents();
        EXPECT_FALSE(forms::isLoaded(Form::frmScheReport)) << key;
        EXPECT_EQ(mainWindowLoads(), 1) << key;
    }
}

// Twelve classes in fourteen periods: the scroll bar comes beside the columns,
// not over the room column, and the picture reaches the window's bottom edge.
TEST_F(ReportList, ALongDayLeavesRoomForTheScrollBarUnderAWholeBackground) {
    for (int p = 1; p <= 14; ++p)
        addRow(QStringLiteral("Row"), {{"Name", QStringLiteral("第%1节").arg(p)},
                                       {"ClassBeginTime", 420 + (p - 1) * 50},
                                       {"ClassEndTime", 465 + (p - 1) * 50},
                                       {"RowIsVisible", true}});
    addCourse(QStringLiteral("物理实验"), QStringLiteral("实验中心四楼402"), 1,
              QStringLiteral("010203040506070809101112"));
    frmScheReport* r = showAt(7, 0);
    pumpEvents();
    QTableWidget* g = r->classGrid;
    ASSERT_EQ(g->rowCount(), 12);
    ASSERT_TRUE(g->verticalScrollBar()->isVisible());
    // The time span keeps its 1300 twips; the others share the rest, all inside the grid's view.
    EXPECT_EQ(g->columnWidth(0), 87);
    for (int col = 1; col < 4; ++col)
        EXPECT_GT(g->columnWidth(col), 70) << col;
    const int right = g->columnViewportPosition(3) + g->columnWidth(3);
    EXPECT_LE(right, g->viewport()->width());
    EXPECT_GE(right, g->viewport()->width() - 2);
    EXPECT_FALSE(g->horizontalScrollBar()->isVisible());

    // No band of bare white under 关闭: each row down to the edge is the picture's.
    const QImage shot = r->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = r->closeButton->geometry().bottom() + 1; y < shot.height(); ++y) {
        int white = 0;
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) == qRgb(255, 255, 255)) ++white;
        EXPECT_LT(white, shot.width()) << "row " << y;
    }
}

#include "todayClassesFixture.h"

#include "core/model/clsSchedule.h"
#include "core/model/gClock.h"
#include "core/model/gDatabase.h"
#include "core/ui/gForms.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "core/model/gWeek.h"
#include "timetable/frmSchedule.h"
#include "timetable/scheduleBasePane.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>
#include <QWidget>

void gRegisterShellWindows();
void gRegisterTimetableForms();

namespace {

// Loads like the main window does as far as the report cares: it marks itself running and shows.
class MainStandIn : public QWidget, public gForm {
public:
    void formLoad() override {
        ++mainWindowLoads();
        gCloseMinimizes = true;
        show();
    }
    void formUnload() override { gCloseMinimizes = false; }
};

} // namespace

QDate termMonday() {
    return QDate(2026, 9, 14);
}

void typeText(QWidget* widget, const QString& text) {
    QInputMethodEvent e;
    e.setCommitString(text);
    QCoreApplication::sendEvent(widget, &e);
}

QSize timetablePageSize(QSize mainWindow) {
    // The main window's page area: 800 twips narrower than the window and 2500
    // shorter than the window with its title bar.
    return gPxSize(gTwips(mainWindow.width()) - 800, gTwips(mainWindow.height()) + gTitleBarTwips - 2500);
}

int& mainWindowLoads() {
    static int n = 0;
    return n;
}

void TodayClassesTest::SetUp() {
    HomeTest::SetUp();
    gResetAccountState();
    gRecordKey = QStringLiteral("1234567");
    gRemindLead = 30;
    gOption(Option::TodayClassesAtStart) = true;
    gOption(Option::ClassReminders) = true;
    setNow(1, 7, 0);
    file_ = home().folder(QStringLiteral("account")) + QStringLiteral("Userdata.dat");
    const QString password = gMakeDbPassword(QStringLiteral("secret"));
    gCreateDatabase(file_, password);
    gOpenDatabase(file_, password);
    // The stored term; the periods are the ten the program starts with.
    addRow(QStringLiteral("Term"), {{"Begin", QDate(2026, 9, 7)}, {"End", QDate(2026, 12, 31)}});
    gTimetable = clsSchedule();
    gTodayCourses.clear();
    gTodayTimes.clear();

    gRegisterTimetableForms();
    gRegisterShellWindows();
    forms::registerForm(Form::frmMain, [] { return new MainStandIn; });
    mainWindowLoads() = 0;
}

void TodayClassesTest::TearDown() {
    // Whatever is still open goes as in the exit, which never reopens the main window.
    gCloseMinimizes = true;
    forms::unloadAllNow();
    gCloseDatabase();
    gTimetable = clsSchedule();
    gTodayCourses.clear();
    gTodayTimes.clear();
    HomeTest::TearDown();
}

void TodayClassesTest::setNow(int weekday, int h, int m, int s) {
    gClockSeam::set(QDateTime(termMonday().addDays(weekday - 1), QTime(h, m, s)));
}

void TodayClassesTest::addCourse(const QString& name, const QString& place, int weekday,
                                 const QString& periods, int color, long userColor) {
    QVariantMap f{{"Name", name},
                  {"Place", place},
                  {"BeginWeek", 1},
                  {"EndWeek", 16},
                  {"DoubleWeek", 0},
                  {"Color", color},
                  {"UserColor", qlonglong(userColor)}};
    for (int d = 1; d <= 7; ++d)
        f[QStringLiteral("Weekday%1").arg(d)] = d == weekday ? periods : QString();
    addRow(QStringLiteral("Course"), f);
}

void TodayClassesTest::loadToday() {
    gTimetable.gGetSchedule();
    gBuildTodayCourses();
}

void SchedulePageTest::SetUp() {
    TodayClassesTest::SetUp();
    gMsgBoxSeam::reset();
}

void SchedulePageTest::TearDown() {
    page_ = nullptr;
    TodayClassesTest::TearDown();
}

frmSchedule* SchedulePageTest::open() {
    gTimetable.gGetSchedule();
    page_ = forms::load<frmSchedule>(Form::frmSchedule);
    page_->resize(gPx(9780), gPx(6000));
    page_->show();
    page_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(page_));
    return page_;
}

void SchedulePageTest::menu(int entry) {
    QTest::mouseClick(page_->menuCaptions[entry], Qt::LeftButton);
}

void SchedulePageTest::clickItem(QListWidget* list, int row) {
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(list->item(row)).center());
}

void SchedulePageTest::clickPeriodCell(int period, int col) {
    QTableWidget* g = page_->basePane->periodGrid;
    const QRect r = g->visualItemRect(g->item(period - 1, col));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
}

void SchedulePageTest::typeAndEnter(QLineEdit* editor, const QString& text) {
    ASSERT_TRUE(editor->isVisible());
    ASSERT_TRUE(editor->hasFocus());
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    if (!text.isEmpty()) typeText(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_FALSE(editor->isVisible());
}

QVariantMap SchedulePageTest::stored(int k) {
    gCommand.setCommandText(QStringLiteral("SELECT * FROM Course"));
    gRecordset.setCursorLocation(db::CursorLocation::Client);
    gRecordset.open(gCommand, db::CursorType::Static, db::LockType::ReadOnly);
    gRecordset.move(k - 1);
    QVariantMap m;
    for (int i = 0; i < gRecordset.fieldCount(); ++i)
        m[gRecordset.fieldName(i)] = gRecordset.text(gRecordset.fieldName(i));
    gRecordset.close();
    return m;
}

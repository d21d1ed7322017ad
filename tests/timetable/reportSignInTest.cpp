#include "testSupport.h"

#include "accounts/frmLogin.h"
#include "core/model/clsMD5.h"
#include "core/model/gClock.h"
#include "core/model/gDatabase.h"
#include "core/ui/gForms.h"
#include "core/ui/gMain.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/ui/gStartup.h"
#include "core/model/gState.h"
#include "core/model/gUserData.h"
#include "platform/settingsStore.h"
#include "timetable/frmScheRemind.h"
#include "timetable/frmScheReport.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

void gRegisterAccountsForms();
void gRegisterShellWindows();
void gRegisterTimetableForms();

namespace {

const QString kKey = QStringLiteral("1234567");
const QString kPassword = QStringLiteral("secret");

int mainLoads = 0;

class MainStandIn : public QWidget, public gForm {
public:
    void formLoad() override {
        ++mainLoads;
        gCloseMinimizes = true;
        show();
    }
};

// Option bits with exactly these options on.
QString optionsOn(std::initializer_list<Option> on) {
    QString bits(static_cast<int>(kOptionCount), QLatin1Char('0'));
    for (Option o : on)
        bits[static_cast<int>(optionIndex(o))] = QLatin1Char('1');
    return bits;
}

// The whole road from the program's start: a profile in the user folder, the
// account's database holding Monday's classes, the real sign-in, reminder and
// report, and a stand-in main window.
class ReportSignIn : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        const QString program = home().folder(QStringLiteral("program"));
        writeFile(program + QStringLiteral("Rededera.exe.manifest"), "manifest");
        gStartupSeam::setProgram(program, QStringLiteral("Rededera"));
        gAppPath = program;
        settings::save(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("PathOption"),
                       QStringLiteral("3"));
        settings::save(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("WorkPath"),
                       home().folder(QStringLiteral("user")));
        gInitPaths();
        gRegisterAccountsForms();
        gRegisterTimetableForms();
        gRegisterShellWindows();
        forms::registerForm(Form::frmMain, [] { return new MainStandIn; });
        mainLoads = 0;
        // Monday 14 September 2026, in the second week of the term.
        gClockSeam::set(QDateTime(QDate(2026, 9, 14), QTime(7, 31)));
    }
    void TearDown() override {
        gCloseMinimizes = true;
        forms::unloadAllNow();
        gCloseDatabase();
        gStartupSeam::releaseInstanceLock();
        gStartupSeam::reset();
        HomeTest::TearDown();
    }

    void writeProfile(const QString& bits) {
        AccountProfile p;
        p.UserName = QStringLiteral("Ann");
        p.PasswordHash = clsMD5().DigestStrToHexStr(kPassword);
        p.RecordKey = kKey;
        p.PictureIndex = QStringLiteral("3");
        p.OptionBits = bits;
        p.LockTimeout = QStringLiteral("5");
        p.AutoSaveInterval = QStringLiteral("5");
        p.RemindLead = QStringLiteral("30");
        ASSERT_TRUE(scrambled::writeFile(gProfileFile(), p.fields(), 17, true));
    }

    // The account's database with a term and Monday's classes in periods 1 and 2.
    void writeTimetable(bool withClasses) {
        gRecordKey = kKey;
        const QString dbPassword = gMakeDbPassword(kPassword);
        gCreateDatabase(gDatabaseFile, dbPassword);
        gOpenDatabase(gDatabaseFile, dbPassword);
        addRow(QStringLiteral("Term"), {{"Begin", QDate(2026, 9, 7)}, {"End", QDate(2026, 12, 31)}});
        if (withClasses) {
            addRow(QStringLiteral("Course"), {{"Name", QStringLiteral("线性代数")},
                                              {"Place", QStringLiteral("1-101")},
                                              {"BeginWeek", 1},
                                              {"EndWeek", 16},
                                              {"DoubleWeek", 0},
                                              {"Color", 3},
                                              {"UserColor", 14589563},
                                              {"Weekday1", QStringLiteral("01")}});
            addRow(QStringLiteral("Course"), {{"Name", QStringLiteral("大学物理")},
                                              {"Place", QStringLiteral("2-202")},
                                              {"BeginWeek", 1},
                                              {"EndWeek", 16},
                                              {"DoubleWeek", 0},
                                              {"Color", 4},
                                              {"UserColor", 14589563},
                                              {"Weekday1", QStringLiteral("02")}});
        }
        gCloseDatabase();
        gResetAccountState();
        gInitPaths();
    }

    void signIn(const QString& bits) {
        writeProfile(bits);
        Main();
        auto* login = forms::find<frmLogin>(Form::frmLogin);
        ASSERT_NE(login, nullptr);
        login->passwordOnlyEdit->setText(kPassword);
        login->okButton->click();
        pumpEvents();
        ASSERT_FALSE(forms::isLoaded(Form::frmLogin));
        EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
        EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
    }
};

} // namespace

TEST_F(ReportSignIn, TheReportListsTheDatabasesClassesAndHandsOverToTheMainWindow) {
    writeTimetable(true);
    signIn(optionsOn({Option::PasswordOnlySignIn, Option::TodayClassesAtStart, Option::ClassReminders}));

    auto* report = forms::find<frmScheReport>(Form::frmScheReport);
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(report->isVisible());
    EXPECT_EQ(mainLoads, 0);
    ASSERT_EQ(report->classGrid->rowCount(), 2);
    EXPECT_EQ(report->classGrid->item(0, 0)->text(), QStringLiteral("08:00 - 08:45"));
    EXPECT_EQ(report->classGrid->item(1, 2)->text(), QStringLiteral("大学物理"));
    EXPECT_EQ(report->classGrid->currentRow(), 0);

    // The reminder runs hidden beside it; its first check finds the class in 29 minutes.
    auto* remind = forms::find<frmScheRemind>(Form::frmScheRemind);
    ASSERT_NE(remind, nullptr);
    remind->checkTimer->stop();
    remind->checkTimer_Timer();
    EXPECT_TRUE(remind->isVisible());
    EXPECT_EQ(remind->messageLabel->text(), QStringLiteral("在 29 分钟之后在 1-101 有课程：线性代数"));

    report->closeButton->click();
    pumpEvents();
    EXPECT_FALSE(forms::isLoaded(Form::frmScheReport));
    EXPECT_EQ(mainLoads, 1);
    EXPECT_TRUE(forms::isLoaded(Form::frmScheRemind));
}

TEST_F(ReportSignIn, ADayWithoutClassesGoesStraightOnToTheMainWindow) {
    writeTimetable(false);
    signIn(optionsOn({Option::PasswordOnlySignIn, Option::TodayClassesAtStart, Option::ClassReminders}));
    for (int i = 0; i < 50 && forms::isLoaded(Form::frmScheReport); ++i)
        pumpEvents(10);
    EXPECT_FALSE(forms::isLoaded(Form::frmScheReport));
    EXPECT_EQ(mainLoads, 1);
    EXPECT_TRUE(forms::isLoaded(Form::frmScheRemind));
}

TEST_F(ReportSignIn, WithoutTheOptionTheMainWindowOpensAndTheReminderStillRuns) {
    writeTimetable(true);
    signIn(optionsOn({Option::PasswordOnlySignIn, Option::ClassReminders}));
    EXPECT_FALSE(forms::isLoaded(Form::frmScheReport));
    EXPECT_EQ(mainLoads, 1);
    auto* remind = forms::find<frmScheRemind>(Form::frmScheRemind);
    ASSERT_NE(remind, nullptr);
    // It runs: its first check, a moment after sign-in, finds the class in 29 minutes.
    EXPECT_TRUE(remind->checkTimer->isActive());
    QTRY_VERIFY_WITH_TIMEOUT(remind->isVisible(), 3000);
    EXPECT_EQ(remind->messageLabel->text(), QStringLiteral("在 29 分钟之后在 1-101 有课程：线性代数"));
}

// Both windows are titled 课程: the reminder that comes up at sign-in must not
// hide today's list, whichever of the two is on screen first.
TEST_F(ReportSignIn, TheReminderComesUpBesideTheReport) {
    writeTimetable(true);
    signIn(optionsOn({Option::PasswordOnlySignIn, Option::TodayClassesAtStart, Option::ClassReminders}));
    auto* report = forms::find<frmScheReport>(Form::frmScheReport);
    auto* remind = forms::find<frmScheRemind>(Form::frmScheRemind);
    ASSERT_NE(report, nullptr);
    ASSERT_NE(remind, nullptr);
    ASSERT_TRUE(report->isVisible());
    // The reminder's first check runs as soon as the program is idle.
    for (int i = 0; i < 100 && !remind->isVisible(); ++i)
        pumpEvents(10);
    ASSERT_TRUE(remind->isVisible());

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_FALSE(remind->frameGeometry().intersects(report->frameGeometry()));
    EXPECT_TRUE(screen.contains(remind->frameGeometry()));
    EXPECT_TRUE(screen.contains(report->frameGeometry()));

    // The reminder first, the report after it (as a later start may have it).
    const QPoint reportAt = report->frameGeometry().topLeft();
    report->closeButton->click();
    pumpEvents();
    ASSERT_TRUE(remind->isVisible());
    remind->move(reportAt);
    report = forms::load<frmScheReport>(Form::frmScheReport);
    ASSERT_TRUE(report->isVisible());
    EXPECT_FALSE(remind->frameGeometry().intersects(report->frameGeometry()));
    EXPECT_TRUE(screen.contains(remind->frameGeometry()));
    EXPECT_TRUE(screen.contains(report->frameGeometry()));
}

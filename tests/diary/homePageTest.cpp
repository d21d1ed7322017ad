// The home page on a real encrypted account database: greeting and totals, the
// day's preview with its previous and next buttons, the bold days, and the
// links through the real main window.
#include "controls/scheduleCommand.h"
#include "controls/scheduleLabel.h"
#include "controls/scheduleMonthView.h"
#include "core/model/gClock.h"
#include "core/model/gDatabase.h"
#include "core/base/gError.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/ui/gStartup.h"
#include "core/model/gState.h"
#include "core/ui/gPageSwitch.h"
#include "core/ui/gWindowServices.h"
#include "diary/frmWelcome.h"
#include "platform/settingsStore.h"
#include "shell/frmMain.h"
#include "testSupport.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

void gRegisterAccountWindows();
void gRegisterDiaryPages();
void gRegisterShellForms();

namespace {
// A page that records the flags it was opened with.
class HomeStandInPage : public QWidget, public gForm {
public:
    explicit HomeStandInPage(QString name, QStringList* log) : name_(std::move(name)), log_(log) {}
    void formLoad() override {
        log_->append(QStringLiteral("%1 %2%3%4 %5")
                         .arg(name_)
                         .arg(int(gSetDiary))
                         .arg(int(gPageFlags().editMode))
                         .arg(int(gPageFlags().returnReview))
                         .arg(gDiaryDate.toString(Qt::ISODate)));
    }

private:
    QString name_;
    QStringList* log_;
};

class HomePage : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        gClockSeam::set(QDateTime(kToday, QTime(9, 0)));
        gResetAccountState();
        gUserName = QStringLiteral("Ann");
        gRecordKey = QStringLiteral("1234567");
        gDataPath = home().folder(QStringLiteral("data"));
        gDatabaseFile = gDataPath + QStringLiteral("Userdata.dat");
        const QString dbPassword = gMakeDbPassword(QStringLiteral("secret"));
        gCreateDatabase(gDatabaseFile, dbPassword);
        gOpenDatabase(gDatabaseFile, dbPassword);
        gRegisterDiaryPages();
        forms::registerForm(Form::frmWelcome, [] { return new frmWelcome; });
    }
    void TearDown() override {
        forms::unloadAllNow();
        pumpEvents();
        gCloseDatabase();
        gStartupSeam::releaseInstanceLock();
        gStartupSeam::reset();
        gTraySeam::reset();
        gClockSeam::reset();
        HomeTest::TearDown();
    }

    static void addEntry(const QDate& d, const QString& title, const QString& body, int score = 60) {
        db::Recordset rs;
        rs.open(QStringLiteral("SELECT * FROM Diary"), gConnection, db::CursorType::Static,
                db::LockType::Optimistic);
        rs.addNew();
        rs.setField(QStringLiteral("Date"), d);
        rs.setField(QStringLiteral("Title"), title);
        rs.setField(QStringLiteral("Diary"), body);
        rs.setField(QStringLiteral("Score"), score);
        rs.update();
        rs.close();
        gDiaryCount += 1;
        gScoreTotal += score;
    }

    // The page on its own, shown.
    frmWelcome* loadPage() {
        auto* page = forms::load<frmWelcome>(Form::frmWelcome);
        page->show();
        return page;
    }

    // The real main window, which opens the home page; the other pages are stand-ins.
    frmWelcome* loadMain() {
        gRegisterShellForms();
        gRegisterAccountWindows();
        gTraySeam::reset();
        gTraySeam::setAreaExists(true);
        settings::save(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("ShowAbout"),
                       QStringLiteral("0"));
        for (int i = 1; i <= 6; ++i) {
            const gFormName name = frmMain::pageFormName(i);
            forms::registerForm(name, [this, name] { return new HomeStandInPage(name, &visits); });
        }
        for (gFormName name :
             {Form::frmKeyExport, Form::frmSuspend, Form::frmLock, Form::frmScheReport, Form::frmScheRemind})
            forms::registerForm(name, [this, name] { return new HomeStandInPage(name, &visits); });
        main_ = forms::load<frmMain>(Form::frmMain);
        return forms::find<frmWelcome>(Form::frmWelcome);
    }

    // The page counts the entries from the event loop, after it has been painted.
    static void untilCounted() {
        for (int i = 0; i < 100 && gDiaryCount == kDiaryCountPending; ++i)
            pumpEvents(10);
    }

    static void release(QWidget* w, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mousePress(w, b, Qt::NoModifier, QPoint(4, 4));
        QTest::mouseRelease(w, b, Qt::NoModifier, QPoint(4, 4));
    }

    const QDate kToday{2008, 5, 14};
    frmMain* main_ = nullptr;
    QStringList visits;
};
} // namespace

TEST_F(HomePage, GreetsAndShowsTheTotals) {
    gDiaryCount = 3;
    gScoreTotal = 200;
    frmWelcome* page = loadPage();
    EXPECT_EQ(page->greetingLabel->text(), QStringLiteral("欢迎你，Ann！"));
    EXPECT_EQ(page->entryCountLabel->text(), QStringLiteral("共有 3 日记。"));
    EXPECT_TRUE(page->moodScoreLabel->isVisible());
    EXPECT_TRUE(page->moodCaption->isVisible());
    EXPECT_EQ(page->moodCaption->text(), QStringLiteral("当前记录心情的平均分数"));
    EXPECT_EQ(page->moodScoreLabel->caption(), 66); // the average rounded down
    EXPECT_EQ(page->writeLink->text(), QStringLiteral("添加日记"));
    EXPECT_EQ(page->reviewLink->text(), QStringLiteral("回顾日记"));
    EXPECT_EQ(page->reviewLink->cursor().shape(), page->writeLink->cursor().shape());

    gDiaryCount = 0;
    gScoreTotal = 0;
    gUserName = QStringLiteral("李雷");
    page->Reload();
    EXPECT_EQ(page->greetingLabel->text(), QStringLiteral("欢迎你，李雷！"));
    EXPECT_EQ(page->entryCountLabel->text(), QStringLiteral("共有 0 日记。"));
    EXPECT_FALSE(page->moodScoreLabel->isVisible());
    EXPECT_FALSE(page->moodCaption->isVisible());
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

// As the sign-in leaves it: the page shows at once, then counts and shows the
// totals; until then it shows no number at all.
TEST_F(HomePage, EntriesNotCountedYetAreCountedOnceThePageIsPainted) {
    addEntry(QDate(2008, 5, 2), QStringLiteral("一"), QStringLiteral("a"), 50);
    addEntry(QDate(2008, 5, 14), QStringLiteral("二"), QStringLiteral("b"), 60);
    addEntry(QDate(2008, 5, 14), QStringLiteral("三"), QStringLiteral("c"), 71);
    gDiaryCount = kDiaryCountPending;
    frmWelcome* page = loadPage();
    EXPECT_EQ(page->entryCountLabel->text(), QStringLiteral("请稍等。"));
    EXPECT_FALSE(page->moodScoreLabel->isVisible());
    EXPECT_FALSE(page->moodCaption->isVisible());

    untilCounted();
    EXPECT_EQ(gDiaryCount, 3);
    EXPECT_EQ(page->entryCountLabel->text(), QStringLiteral("共有 3 日记。"));
    EXPECT_TRUE(page->moodScoreLabel->isVisible());
    EXPECT_EQ(page->moodScoreLabel->caption(), 60);
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

// A count that cannot be read is reported, shows no number, and is taken again
// when the page loads again.
TEST_F(HomePage, ACountThatFailsIsReportedAndTriedAgain) {
    addEntry(QDate(2008, 5, 2), QStringLiteral("一"), QStringLiteral("a"), 50);
    gDiaryCount = kDiaryCountPending;
    frmWelcome* page = loadPage();
    gConnection.execute(QStringLiteral("ALTER TABLE \"Diary\" RENAME TO \"Kept\""));
    for (int i = 0; i < 100 && gMsgBoxSeam::errors().isEmpty(); ++i)
        pumpEvents(10);
    EXPECT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_EQ(gDiaryCount, kDiaryCountPending);
    EXPECT_EQ(page->entryCountLabel->text(), QStringLiteral("请稍等。"));
    EXPECT_FALSE(page->moodScoreLabel->isVisible());

    gConnection.execute(QStringLiteral("ALTER TABLE \"Kept\" RENAME TO \"Diary\""));
    page->Reload();
    untilCounted();
    EXPECT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_EQ(page->entryCountLabel->text(), QStringLiteral("共有 1 日记。"));
    EXPECT_EQ(page->moodScoreLabel->caption(), 50);
}

TEST_F(HomePage, OpensAtTodayAndMarksTheDaysWithEntries) {
    addEntry(QDate(2008, 5, 2), QStringLiteral("May"), QStringLiteral("a"));
    addEntry(QDate(2008, 6, 7), QStringLiteral("June, in May's last row"), QStringLiteral("b"));
    addEntry(QDate(2008, 7, 9), QStringLiteral("July"), QStringLiteral("c"));
    frmWelcome* page = loadPage();
    EXPECT_EQ(page->monthView->Value(), kToday);
    EXPECT_EQ(gDiaryDate, kToday);
    EXPECT_EQ(page->markedMonth(), 5);
    EXPECT_EQ(page->markedYear(), 2008);
    EXPECT_TRUE(page->monthView->dayBold(QDate(2008, 5, 2)));
    EXPECT_TRUE(page->monthView->dayBold(QDate(2008, 6, 7)));
    EXPECT_FALSE(page->monthView->dayBold(QDate(2008, 7, 9)));
    // Today has no entry.
    EXPECT_EQ(gDayCount, 0);
    EXPECT_TRUE(page->previewEdit->toPlainText().isEmpty());
    EXPECT_FALSE(page->positionLabel->isVisible());
    EXPECT_FALSE(page->previousEntryButton->isVisible());
    EXPECT_FALSE(page->nextEntryButton->isVisible());

    // Moving on two months marks the new month's days.
    release(page->monthView->nextMonthButton);
    release(page->monthView->nextMonthButton);
    EXPECT_EQ(page->markedMonth(), 7);
    EXPECT_TRUE(page->monthView->dayBold(QDate(2008, 7, 9)));
    EXPECT_EQ(gDiaryDate, QDate(2008, 7, 14));
}

TEST_F(HomePage, ADayWithOneEntryShowsItWithoutNavigation) {
    addEntry(kToday, QStringLiteral("标题"), QStringLiteral("第一行\n第二行"));
    frmWelcome* page = loadPage();
    EXPECT_EQ(gDayCount, 1);
    EXPECT_EQ(gDayIndex, 1);
    EXPECT_EQ(gDayTitles.value(1), QStringLiteral("标题"));
    EXPECT_EQ(page->previewEdit->toPlainText(), QStringLiteral("标题\n第一行\n第二行"));
    EXPECT_FALSE(page->positionLabel->isVisible());
    EXPECT_FALSE(page->previousEntryButton->isVisible());
    EXPECT_FALSE(page->nextEntryButton->isVisible());
    EXPECT_FALSE(gRecordset.isOpen());
}

TEST_F(HomePage, PreviousAndNextWrapRoundTheDay) {
    addEntry(QDate(2008, 5, 3), QStringLiteral("one"), QStringLiteral("1"));
    addEntry(QDate(2008, 5, 4), QStringLiteral("another day"), QStringLiteral("x"));
    addEntry(QDate(2008, 5, 3), QStringLiteral("two"), QStringLiteral("2"));
    addEntry(QDate(2008, 5, 3), QStringLiteral("three"), QStringLiteral("3"));
    frmWelcome* page = loadPage();
    QTest::mousePress(page->monthView->dayCells[7], Qt::LeftButton); // 3 May
    ASSERT_EQ(gDiaryDate, QDate(2008, 5, 3));
    EXPECT_EQ(gDayCount, 3);
    EXPECT_TRUE(page->positionLabel->isVisible());
    EXPECT_TRUE(page->previousEntryButton->isVisible());
    EXPECT_TRUE(page->nextEntryButton->isVisible());
    EXPECT_EQ(page->positionLabel->text(), QStringLiteral("  1 / 3"));
    EXPECT_EQ(page->previewEdit->toPlainText(), QStringLiteral("one\n1"));

    const struct {
        scheduleCommand* button;
        int index;
        const char* shown;
    } steps[] = {
        {page->previousEntryButton, 3, "three\n3"},
        {page->previousEntryButton, 2, "two\n2"},
        {page->nextEntryButton, 3, "three\n3"},
        {page->nextEntryButton, 1, "one\n1"},
    };
    for (const auto& s : steps) {
        release(s.button);
        EXPECT_EQ(gDayIndex, s.index);
        EXPECT_EQ(page->previewEdit->toPlainText(), QString::fromUtf8(s.shown));
        EXPECT_EQ(page->positionLabel->text(), QStringLiteral("  %1 / 3").arg(s.index));
    }
    // Only the left button steps.
    release(page->nextEntryButton, Qt::RightButton);
    EXPECT_EQ(gDayIndex, 1);
}

TEST_F(HomePage, PositionKeepsTheSlashInOneColumn) {
    const struct {
        int entries;
        int steps; // presses of next
        const char* caption;
    } cases[] = {
        {2, 1, "  2 / 2"},
        {12, 0, "  1 / 12"},
        {12, 9, " 10 / 12"},
        {100, 0, "1 / 100"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        gConnection.execute(QStringLiteral("DELETE FROM Diary"));
        gConnection.beginTrans();
        for (int i = 0; i < c.entries; ++i)
            addEntry(QDate(2008, 5, 20), QStringLiteral("t%1").arg(i), {});
        gConnection.commitTrans();
        frmWelcome* page = loadPage();
        page->monthView->setValue(QDate(2008, 5, 20));
        for (int i = 0; i < c.steps; ++i)
            release(page->nextEntryButton);
        EXPECT_EQ(page->positionLabel->text(), QString::fromLatin1(c.caption));
        forms::unload(Form::frmWelcome);
        pumpEvents();
    }
}

TEST_F(HomePage, LongBodiesAreCutAsOptionSevenSays) {
    const QString body = QString(1500, QLatin1Char('x'));
    const QString cut = QString(1000, QLatin1Char('x')) + QStringLiteral(" ...");
    addEntry(kToday, QStringLiteral("long"), body);
    addEntry(kToday, QStringLiteral("short"), QStringLiteral("y"));

    // Option 7 off: the first preview is whole, previous and next always cut.
    gOption(Option::QuickPreview) = false;
    frmWelcome* page = loadPage();
    EXPECT_EQ(page->previewEdit->toPlainText(), QStringLiteral("long\n") + body);
    release(page->nextEntryButton);
    EXPECT_EQ(page->previewEdit->toPlainText(), QStringLiteral("short\ny"));
    release(page->nextEntryButton);
    EXPECT_EQ(page->previewEdit->toPlainText(), QStringLiteral("long\n") + cut);

    gOption(Option::QuickPreview) = true;
    page->Reload();
    EXPECT_EQ(page->previewEdit->toPlainText(), QStringLiteral("long\n") + cut);

    // Exactly 1000 characters stay whole.
    gConnection.execute(QStringLiteral("DELETE FROM Diary"));
    addEntry(kToday, QStringLiteral("edge"), QString(1000, QLatin1Char('z')));
    page->Reload();
    EXPECT_EQ(page->previewEdit->toPlainText(), QStringLiteral("edge\n") + QString(1000, QLatin1Char('z')));
}

TEST_F(HomePage, SetDiaryOpensAtTheChosenDayAndEntryOnce) {
    addEntry(QDate(2008, 3, 2), QStringLiteral("a"), QStringLiteral("1"));
    addEntry(QDate(2008, 3, 2), QStringLiteral("b"), QStringLiteral("2"));
    addEntry(QDate(2008, 3, 2), QStringLiteral("c"), QStringLiteral("3"));
    gSetDiary = true;
    gDiaryDate = QDate(2008, 3, 2);
    gDayIndex = 2;
    frmWelcome* page = loadPage();
    EXPECT_EQ(page->monthView->Value(), QDate(2008, 3, 2));
    EXPECT_EQ(page->previewEdit->toPlainText(), QStringLiteral("b\n2"));
    EXPECT_EQ(page->positionLabel->text(), QStringLiteral("  2 / 3"));
    EXPECT_FALSE(gSetDiary);

    // The next selection starts at the day's first entry.
    page->monthView->setValue(QDate(2008, 3, 2));
    EXPECT_EQ(gDayIndex, 1);

    // A kept position the day no longer has falls back to its last entry.
    gSetDiary = true;
    gDayIndex = 7;
    page->Reload();
    EXPECT_EQ(gDayIndex, 3);
    EXPECT_EQ(page->previewEdit->toPlainText(), QStringLiteral("c\n3"));
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

TEST_F(HomePage, LinksOpenTheEditorAndTheReviewAtTheSelectedDay) {
    addEntry(QDate(2008, 5, 3), QStringLiteral("one"), QStringLiteral("1"));
    frmWelcome* page = loadMain();
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(main_->currentPage(), page);
    QTest::mousePress(page->monthView->dayCells[7], Qt::LeftButton);
    ASSERT_EQ(gDiaryDate, QDate(2008, 5, 3));

    release(page->writeLink);
    pumpEvents();
    EXPECT_EQ(visits, QStringList{QStringLiteral("frmNew 100 2008-05-03")});
    EXPECT_FALSE(forms::isLoaded(Form::frmWelcome));

    gChangeFrame(Page::Home);
    page = forms::find<frmWelcome>(Form::frmWelcome);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->monthView->Value(), kToday); // opened without setDiary
    QTest::mousePress(page->monthView->dayCells[7], Qt::LeftButton);
    release(page->reviewLink);
    pumpEvents();
    EXPECT_EQ(visits.last(), QStringLiteral("frmReview 100 2008-05-03"));

    // Coming back with setDiary shows the day again.
    gChangeFrame(Page::Home, {.setDiary = true});
    page = forms::find<frmWelcome>(Form::frmWelcome);
    EXPECT_EQ(page->monthView->Value(), QDate(2008, 5, 3));
    EXPECT_EQ(page->previewEdit->toPlainText(), QStringLiteral("one\n1"));
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

TEST_F(HomePage, LayoutFollowsThePageSize) {
    frmWelcome* page = loadPage();
    page->resize(800, 533); // 12000 x 7995 twips
    EXPECT_EQ(page->previewEdit->geometry(), QRect(192, 136, 595, 396));
    EXPECT_EQ(page->nextEntryButton->x(), 766);
    EXPECT_EQ(page->previousEntryButton->x(), 670);
    EXPECT_EQ(page->positionLabel->x(), 694);
    EXPECT_EQ(page->linkBand->width(), 775);
    // Smaller: the parts tied to the right and bottom edges follow.
    page->resize(701, 452); // 10515 x 6780 twips
    EXPECT_EQ(page->previewEdit->geometry(), QRect(192, 136, 496, 315));
    EXPECT_EQ(page->nextEntryButton->x(), 667);
    EXPECT_EQ(page->linkBand->width(), 676);
}

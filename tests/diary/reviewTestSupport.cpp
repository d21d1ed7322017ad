#include "reviewTestSupport.h"

#include "core/model/gClock.h"
#include "core/model/gDatabase.h"
#include "core/model/gState.h"
#include "core/ui/gPageSwitch.h"
#include "core/ui/gWindowServices.h"
#include "diary/frmReview.h"
#include "platform/db/db.h"
#include "platform/rtf/rtf.h"
#include "platform/rtf/rtfTextDocument.h"
#include "platform/settingsStore.h"
#include "shell/frmMain.h"

#include <QTest>
#include <QTextDocument>
#include <QTimer>

void gRegisterAccountWindows();
void gRegisterShellForms();

QList<ReviewPageVisit>& reviewVisits() {
    static QList<ReviewPageVisit> v;
    return v;
}

ReviewPrintLog& reviewPrints() {
    static ReviewPrintLog log;
    return log;
}

void ReviewStandIn::formLoad() {
    reviewVisits().append(
        {name_, gSetDiary, gPageFlags().editMode, gPageFlags().returnReview, gDiaryDate, gDayIndex});
}

void ReviewTest::SetUp() {
    HomeTest::SetUp();
    gResetAccountState();
    gClockSeam::set(QDateTime(today_, QTime(9, 30)));
    reviewVisits().clear();
    reviewPrints() = ReviewPrintLog();
    reviewPrintSeam::set(
        [](bool selectionOffered) {
            reviewPrints().dialogs++;
            reviewPrints().selectionOffered = selectionOffered;
            return reviewPrints().answer;
        },
        [](const QTextDocument& doc) { reviewPrints().printed.append(doc.toPlainText()); });

    gUserName = QStringLiteral("Ann");
    gRecordKey = QStringLiteral("1234567");
    gDataPath = home().folder(QStringLiteral("data"));
    gDatabaseFile = gDataPath + QStringLiteral("Userdata.dat");
    const QString password = gMakeDbPassword(QStringLiteral("secret"));
    gCreateDatabase(gDatabaseFile, password);
    gOpenDatabase(gDatabaseFile, password);
    ASSERT_TRUE(gConnection.isOpen());

    forms::registerForm(Form::frmReview, [] { return new frmReview; });
    for (gFormName name :
         {Form::frmWelcome, Form::frmNew, Form::frmRetrieval, Form::frmUser, Form::frmSet, Form::frmSchedule})
        forms::registerForm(name, [name] { return new ReviewStandIn(name); });
}

void ReviewTest::TearDown() {
    forms::unloadAllNow();
    pumpEvents();
    gRecordset.close();
    gCloseDatabase();
    reviewPrintSeam::reset();
    gTraySeam::reset();
    HomeTest::TearDown();
}

void ReviewTest::addEntry(const ReviewEntry& e) {
    const QString body =
        e.rtf.isEmpty() ? QString::fromLatin1(rtf::write(rtf::fromPlainText(e.body))) : e.rtf;
    gCommand.setCommandText(QStringLiteral("SELECT * FROM Diary"));
    gRecordset.setCursorLocation(db::CursorLocation::Client);
    gRecordset.setFilter(db::Filter::eq(QStringLiteral("Date"), e.date));
    gRecordset.open(gCommand, db::CursorType::Static, db::LockType::Optimistic);
    gRecordset.addNew();
    gRecordset.setField(QStringLiteral("Date"), e.date);
    gRecordset.setField(QStringLiteral("Title"), e.title);
    gRecordset.setField(QStringLiteral("Diary"), e.body);
    gRecordset.setField(QStringLiteral("DiaryRTF"), body);
    gRecordset.setField(QStringLiteral("Score"), e.score);
    gRecordset.setField(QStringLiteral("Collect"), e.collect);
    gRecordset.update();
    gRecordset.close();
    gDiaryCount += 1;
    gScoreTotal += e.score;
    gConnection.execute(QStringLiteral("UPDATE DiarySettings SET Score = ?"), {int(gScoreTotal)});
}

void ReviewTest::addEntry(const QDate& date, const QString& title, int score, const QString& body) {
    addEntry(ReviewEntry{date, title, body, score});
}

QList<QPair<QString, bool>> ReviewTest::rowsOf(const QDate& date) {
    QList<QPair<QString, bool>> rows;
    gCommand.setCommandText(QStringLiteral("SELECT * FROM Diary"));
    gRecordset.setCursorLocation(db::CursorLocation::Client);
    gRecordset.setFilter(db::Filter::eq(QStringLiteral("Date"), date));
    gRecordset.open(gCommand);
    for (; !gRecordset.eof(); gRecordset.moveNext())
        rows.append(
            {gRecordset.text(QStringLiteral("Title")), gRecordset.boolean(QStringLiteral("Collect"))});
    gRecordset.close();
    return rows;
}

long ReviewTest::storedTotal() {
    gCommand.setCommandText(QStringLiteral("SELECT * FROM DiarySettings"));
    gRecordset.setCursorLocation(db::CursorLocation::Client);
    gRecordset.open(gCommand);
    const long total = gRecordset.integer(QStringLiteral("Score"));
    gRecordset.close();
    return total;
}

frmReview* ReviewTest::openReview(bool setDiary) {
    gSetDiary = setDiary;
    auto* page = forms::load<frmReview>(Form::frmReview);
    page->show();
    return page;
}

frmMain* ReviewTest::loadMain() {
    gRegisterShellForms();
    gRegisterAccountWindows();
    gTraySeam::reset();
    gTraySeam::setAreaExists(true);
    settings::save(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("ShowAbout"),
                   QStringLiteral("0"));
    return forms::load<frmMain>(Form::frmMain);
}

frmReview* ReviewTest::review() const {
    return forms::find<frmReview>(Form::frmReview);
}

void ReviewTest::settleBars(frmReview* page) {
    EXPECT_TRUE(QTest::qWaitFor(
        [page] { return !page->scoreBarTimer->isActive() && !page->averageBarTimer->isActive(); }, 10000));
}

void ReviewTest::press(QWidget* w, Qt::MouseButton button) {
    QTest::mouseClick(w, button, {}, QPoint(3, 3));
}

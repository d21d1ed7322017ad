#include "editorFixture.h"

#include "controls/scheduleText.h"
#include "core/model/clsMD5.h"
#include "core/model/gClock.h"
#include "core/model/gDatabase.h"
#include "core/ui/gStartup.h"
#include "core/model/gState.h"
#include "core/ui/gPageSwitch.h"
#include "core/model/gUserData.h"
#include "core/ui/gWindowServices.h"
#include "diary/frmNew.h"
#include "diary/frmPopUp.h"
#include "platform/settingsStore.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>

void gRegisterAccountWindows();
void gRegisterShellForms();
void gRegisterDiaryForms();

namespace {
QList<EditorPageVisit>* gVisits = nullptr;
}

void EditorStandInPage::formLoad() {
    if (!gVisits) return;
    gVisits->append({name_, gSetDiary, gPageFlags().editMode, gPageFlags().returnReview, gDiaryDate,
                     gDayIndex, gDayCount});
}

void EditorTest::SetUp() {
    HomeTest::SetUp();
    gVisits = &visits;
    gClockSeam::set(QDateTime(today, QTime(9, 41, 0)));
    gRegisterShellForms();
    gRegisterAccountWindows();
    gRegisterDiaryForms();
    gTraySeam::reset();
    gTraySeam::setAreaExists(true);
    gResetAccountState();
    settings::save(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("ShowAbout"),
                   QStringLiteral("0"));
    QApplication::clipboard()->clear();
    for (int i : {0, 1, 3, 4, 5, 6}) {
        const gFormName name = frmMain::pageFormName(i);
        forms::registerForm(name, [name] { return new EditorStandInPage(name); });
    }
    for (gFormName name :
         {Form::frmKeyExport, Form::frmSuspend, Form::frmLock, Form::frmScheReport, Form::frmScheRemind})
        forms::registerForm(name, [name] { return new EditorStandInPage(name); });

    gInitPaths();
    gUserName = QStringLiteral("Ann");
    gPasswordHash = clsMD5().DigestStrToHexStr(QStringLiteral("secret"));
    gRecordKey = QStringLiteral("1234567");
    gAutoSaveInterval = 5;
    ASSERT_TRUE(gSaveUserData());
    const QString dbPassword = gMakeDbPassword(QStringLiteral("secret"));
    gCreateDatabase(gDatabaseFile, dbPassword);
    gOpenDatabase(gDatabaseFile, dbPassword);
    ASSERT_TRUE(gConnection.isOpen());

    main_ = forms::load<frmMain>(Form::frmMain);
    ASSERT_NE(main_, nullptr);
    visits.clear();
}

void EditorTest::TearDown() {
    forms::unloadAllNow();
    pumpEvents();
    gCloseDatabase();
    gStartupSeam::releaseInstanceLock();
    gStartupSeam::reset();
    gTraySeam::reset();
    QApplication::clipboard()->clear();
    gVisits = nullptr;
    HomeTest::TearDown();
}

frmNew* EditorTest::openEditor(bool setDiary, bool editMode, bool returnReview) {
    EXPECT_TRUE(gChangeFrame(Page::Writing,
                             {.setDiary = setDiary, .editMode = editMode, .returnReview = returnReview}));
    return editor();
}

frmNew* EditorTest::editor() const {
    return forms::find<frmNew>(Form::frmNew);
}

frmPopUp* EditorTest::popUp() const {
    return forms::find<frmPopUp>(Form::frmPopUp);
}

QList<EditorTest::Row> EditorTest::rowsOf(const QDate& day) {
    QList<Row> rows;
    db::Recordset rs;
    rs.setFilter(db::Filter::eq(QStringLiteral("Date"), day));
    rs.open(QStringLiteral("SELECT * FROM Diary"), gConnection, db::CursorType::Static);
    for (; !rs.eof(); rs.moveNext())
        rows.append({rs.date(QStringLiteral("Date")), rs.text(QStringLiteral("Title")),
                     rs.text(QStringLiteral("Diary")), rs.text(QStringLiteral("DiaryRTF")),
                     rs.integer(QStringLiteral("Score")), rs.boolean(QStringLiteral("Collect"))});
    return rows;
}

long EditorTest::storedScoreTotal() {
    db::Recordset rs;
    rs.open(QStringLiteral("SELECT * FROM DiarySettings"), gConnection, db::CursorType::Static);
    return rs.eof() ? -1 : rs.integer(QStringLiteral("Score"));
}

long EditorTest::diaryRows() {
    return gConnection.count(QStringLiteral("Diary"));
}

void EditorTest::addRow(const QDate& day, const QString& title, const QString& body, int score,
                        bool collect) {
    scheduleText t;
    t.setText(body);
    db::Recordset rs;
    rs.open(QStringLiteral("SELECT * FROM Diary"), gConnection, db::CursorType::Static,
            db::LockType::Optimistic);
    rs.addNew();
    rs.setField(QStringLiteral("Date"), day);
    rs.setField(QStringLiteral("Title"), title);
    rs.setField(QStringLiteral("Diary"), t.text());
    rs.setField(QStringLiteral("DiaryRTF"), t.textRTF());
    rs.setField(QStringLiteral("Score"), score);
    rs.setField(QStringLiteral("Collect"), collect);
    rs.update();
    rs.close();
    gDiaryCount += 1;
    gScoreTotal += score;
    gConnection.execute(QStringLiteral("UPDATE DiarySettings SET Score = ?"),
                        {static_cast<int>(gScoreTotal)});
}

void EditorTest::loadDay(const QDate& day) {
    const QList<Row> rows = rowsOf(day);
    gDiaryDate = day;
    gDayCount = static_cast<int>(rows.size());
    gDayTitles = {QString()};
    gDayTexts = {QString()};
    gDayRTFs = {QString()};
    gDayScores = {0};
    for (const Row& r : rows) {
        gDayTitles.append(r.title);
        gDayTexts.append(r.diary);
        gDayRTFs.append(r.rtf);
        gDayScores.append(r.score);
    }
}

// Account files whatever types their columns declare: the names this program
// once wrote, the plain SQLite types, or none at all. Every page that reads
// dates and flags sees the same entries, and flags written earlier as -1 still
// count as set.
#include "searchTestSupport.h"

#include "controls/scheduleMonthView.h"
#include "core/model/clsSchedule.h"
#include "core/model/gDatabase.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "diary/frmReview.h"
#include "diary/frmWelcome.h"
#include "platform/db/db.h"
#include "shell/frmMain.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include <functional>

void gRegisterDiaryPages();

namespace {

enum class Declared { OldNames, Plain, None };

// The type a column of the program's schema is declared with in each kind of file.
QString declaration(Declared d, const db::ColumnSpec& c) {
    using db::ColumnType;
    if (d == Declared::None) return {};
    const bool old = d == Declared::OldNames;
    switch (c.type) {
    case ColumnType::Date:
        return old ? QStringLiteral("DATETEXT") : QStringLiteral("TEXT");
    case ColumnType::Text:
        return old ? QStringLiteral("VARCHAR(255)") : QStringLiteral("TEXT");
    case ColumnType::LongText:
        return old ? QStringLiteral("LONGTEXT") : QStringLiteral("TEXT");
    case ColumnType::Boolean:
        return old ? QStringLiteral("BOOLEAN NOT NULL DEFAULT 0") : QStringLiteral("INTEGER");
    default:
        return QStringLiteral("INTEGER");
    }
}

void PrintTo(Declared d, std::ostream* os) {
    static const char* const names[] = {"OldNames", "Plain", "NoType"};
    *os << names[int(d)];
}

const QDate kToday(2026, 3, 18);
const QDate kEarlier = kToday.addDays(-3);
const QDate kYesterday = kToday.addDays(-1);

} // namespace

// The account's database replaced by one whose columns declare `d`, holding
// entries as any SQLite tool would have stored them.
class AccountFile : public SearchTest {
protected:
    void remake(Declared d, int trueValue = 1) {
        gCloseDatabase();
        QFile::remove(gDatabaseFile);
        QStringList statements;
        for (const db::TableSpec& t : gDatabaseSchema()) {
            QStringList cols;
            for (const db::ColumnSpec& c : t.columns)
                cols << (QLatin1Char('"') + c.name + QLatin1Char('"') + QLatin1Char(' ') + declaration(d, c))
                            .trimmed();
            statements
                << QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(t.name, cols.join(QStringLiteral(", ")));
        }
        statements << QStringLiteral("CREATE INDEX \"Index\" ON \"Diary\" (\"Date\")")
                   << QStringLiteral("INSERT INTO \"DiarySettings\" (\"Score\") VALUES (0)");
        db::createDatabase(gDatabaseFile, password(), {}, statements);
        gOpenDatabase(gDatabaseFile, password());
        trueValue_ = trueValue;
        entry(kEarlier, "雨后", true);
        entry(kEarlier, "晚饭", false);
        entry(kYesterday, "早上", false);
        entry(kYesterday, "午后", true);
        entry(kYesterday, "夜里", false);
        entry(kToday, "今天", false);
    }
    QString password() const { return gMakeDbPassword(QStringLiteral("secret")); }
    void entry(const QDate& d, const char* title, bool collect) {
        gConnection.execute(
            QStringLiteral("INSERT INTO \"Diary\" (\"Date\", \"Title\", \"Diary\", \"DiaryRTF\", "
                           "\"Score\", \"Collect\") VALUES (?, ?, ?, '', 60, ?)"),
            {d, QString::fromUtf8(title), QString::fromUtf8(title), collect ? trueValue_ : 0});
        gDiaryCount += 1;
        gScoreTotal += 60;
    }
    // The stored Collect of an entry, as SQLite holds it: its type and value.
    static QString storedFlag(const char* title) {
        db::Recordset rs;
        rs.open(QStringLiteral(
                    "SELECT \"Title\" AS t, typeof(\"Collect\") || ' ' || \"Collect\" AS v FROM \"Diary\""),
                gConnection);
        for (; !rs.eof(); rs.moveNext())
            if (rs.text(QStringLiteral("t")) == QString::fromUtf8(title)) return rs.text(QStringLiteral("v"));
        return {};
    }
    int trueValue_ = 1;

public:
    // The roads that read dates and flags, each walked as the user walks it.
    static void homeDay(AccountFile& f);
    static void reviewDay(AccountFile& f);
    static void searchByDate(AccountFile& f);
    static void numbersPerDay(AccountFile& f);
    static void openAResult(AccountFile& f);
    static void favourites(AccountFile& f);
    static void removeAFavourite(AccountFile& f);
    static void favouritesOnly(AccountFile& f);
    static void timetableAfterRestart(AccountFile& f);
};

namespace {

struct Road {
    const char* name;
    std::function<void(AccountFile&)> walk;
};

void PrintTo(const Road& r, std::ostream* os) {
    *os << r.name;
}

QString dayText(const QDate& d) {
    return QLocale(QLocale::Chinese, QLocale::China).toString(d, QLocale::ShortFormat);
}

} // namespace

class StoredFormat : public AccountFile, public ::testing::WithParamInterface<std::tuple<Declared, Road>> {};

void AccountFile::homeDay(AccountFile&) {
    gRegisterDiaryPages();
    forms::registerForm(Form::frmWelcome, [] { return new frmWelcome; });
    auto* page = forms::load<frmWelcome>(Form::frmWelcome);
    page->show();
    EXPECT_EQ(gDayCount, 1);
    EXPECT_EQ(page->previewEdit->toPlainText(), QStringLiteral("今天\n今天"));
    EXPECT_TRUE(page->monthView->dayBold(kEarlier));
    EXPECT_TRUE(page->monthView->dayBold(kYesterday));
    EXPECT_FALSE(page->monthView->dayBold(kToday.addDays(-2)));
}

void AccountFile::reviewDay(AccountFile& f) {
    gDiaryDate = kYesterday;
    gDayIndex = 2;
    frmReview* r = f.openReview(true);
    EXPECT_EQ(gDayCount, 3);
    EXPECT_EQ(r->titleView->toPlainText(), QStringLiteral("午后"));
}

void AccountFile::searchByDate(AccountFile& f) {
    frmRetrieval* p = f.openSearch();
    p->fromDateEdit->setDate(kYesterday);
    p->toDateEdit->setDate(kYesterday);
    p->byDateCheck->setChecked(true);
    p->dateOptions[3]->setChecked(true);
    EXPECT_EQ(rows(p->resultList), (QStringList{"1 早上", "2 午后", "3 夜里"}));
    ASSERT_EQ(count(p->resultList), 3);
    EXPECT_EQ(cell(p->resultList, 0, 1), dayText(kYesterday));
}

void AccountFile::numbersPerDay(AccountFile& f) {
    frmRetrieval* p = f.openSearch();
    EXPECT_EQ(rows(p->resultList), (QStringList{"1 雨后", "2 晚饭", "1 早上", "2 午后", "3 夜里", "1 今天"}));
    EXPECT_EQ(cell(p->resultList, 1, 1), dayText(kEarlier));
    p->titleEdit->setText(QStringLiteral("夜"));
    p->byTitleCheck->setChecked(true);
    EXPECT_EQ(rows(p->resultList), QStringList{"3 夜里"});
}

void AccountFile::openAResult(AccountFile& f) {
    auto& w = f;
    ASSERT_NE(w.loadMain(), nullptr);
    ASSERT_TRUE(gChangeFrame(Page::Search));
    frmRetrieval* p = w.search();
    p->titleEdit->setText(QStringLiteral("夜"));
    p->byTitleCheck->setChecked(true);
    ASSERT_EQ(count(p->resultList), 1);
    clickRow(p->resultList, 0);
    frmReview* r = w.review();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(gDiaryDate, kYesterday);
    EXPECT_EQ(gDayIndex, 3);
    EXPECT_EQ(r->titleView->toPlainText(), QStringLiteral("夜里"));
}

void AccountFile::favourites(AccountFile& f) {
    frmRetrieval* p = f.openSearch();
    clickTreeNode(p, QStringLiteral("收藏"));
    EXPECT_EQ(rows(p->favouritesList), (QStringList{"1 雨后", "2 午后"}));
    ASSERT_EQ(count(p->favouritesList), 2);
    EXPECT_EQ(cell(p->favouritesList, 1, 1), dayText(kYesterday));
}

void AccountFile::removeAFavourite(AccountFile& f) {
    auto& w = f;
    frmRetrieval* p = w.openSearch();
    clickTreeNode(p, QStringLiteral("收藏"));
    ASSERT_EQ(count(p->favouritesList), 2);
    select(p->favouritesList, 1);
    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    press(p->removeFavouriteLink);
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
    EXPECT_EQ(rows(p->favouritesList), QStringList{"1 雨后"});
    EXPECT_EQ(w.storedFlag("午后"), QStringLiteral("integer 0"));
    EXPECT_EQ(w.rowsOf(kYesterday),
              (QList<QPair<QString, bool>>{{"早上", false}, {"午后", false}, {"夜里", false}}));
}

void AccountFile::favouritesOnly(AccountFile& f) {
    frmRetrieval* p = f.openSearch();
    p->favouritesOnlyCheck->setChecked(true);
    EXPECT_EQ(rows(p->resultList), (QStringList{"1 雨后", "2 午后"}));
}

void AccountFile::timetableAfterRestart(AccountFile& f) {
    // Written as the base settings save them.
    const auto write = [](const QString& table, const std::function<void(int)>& fill, int count) {
        gCommand.setCommandText(QStringLiteral("SELECT * FROM ") + table);
        gRecordset.setCursorLocation(db::CursorLocation::Client);
        gRecordset.open(gCommand, db::CursorType::Static, db::LockType::BatchOptimistic);
        for (int i = 1; i <= count; ++i) {
            gRecordset.addNew();
            fill(i);
        }
        db::Transaction t(gConnection);
        gRecordset.updateBatch();
        t.commit();
        gRecordset.close();
    };
    write(
        QStringLiteral("Term"),
        [](int) {
            gRecordset.setField(QStringLiteral("Begin"), QDate(2026, 2, 23));
            gRecordset.setField(QStringLiteral("End"), QDate(2026, 7, 10));
        },
        1);
    write(
        QStringLiteral("Col"),
        [](int i) {
            gRecordset.setField(QStringLiteral("Name"), QStringLiteral("D%1").arg(i));
            gRecordset.setField(QStringLiteral("ColIsVisible"), i != 6);
        },
        7);
    write(
        QStringLiteral("Row"),
        [](int i) {
            gRecordset.setField(QStringLiteral("Name"), QString::number(i));
            gRecordset.setField(QStringLiteral("RowIsVisible"), i != 2);
            gRecordset.setField(QStringLiteral("ClassBeginTime"), 480 + i * 60);
            gRecordset.setField(QStringLiteral("ClassEndTime"), 525 + i * 60);
        },
        3);

    // A restart: the database opened afresh, the model read from it.
    gCloseDatabase();
    gOpenDatabase(gDatabaseFile, f.password());
    gTimetable = clsSchedule();
    gTimetable.gGetSchedule();
    EXPECT_EQ(gTimetable.Term.TermBegin, QDate(2026, 2, 23));
    EXPECT_EQ(gTimetable.Term.TermEnd, QDate(2026, 7, 10));
    for (int i = 1; i <= 7; ++i)
        EXPECT_EQ(gTimetable.Col(i).ColIsVisible, i != 6) << i;
    ASSERT_EQ(gTimetable.rowCount(), 3);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(gTimetable.Row(i).RowIsVisible, i != 2) << i;

    // Stored as the data model gives it: the date as text, True as 1.
    db::Recordset rs;
    rs.open(QStringLiteral("SELECT typeof(\"Begin\") || ' ' || \"Begin\" AS b FROM \"Term\""), gConnection);
    EXPECT_EQ(rs.text(QStringLiteral("b")), QStringLiteral("text 2026-02-23"));
    rs.close();
    rs.open(QStringLiteral("SELECT group_concat(\"ColIsVisible\" + 0, ',') AS v FROM \"Col\""), gConnection);
    EXPECT_EQ(rs.text(QStringLiteral("v")), QStringLiteral("1,1,1,1,1,0,1"));
}

std::string caseName(const ::testing::TestParamInfo<StoredFormat::ParamType>& info) {
    static const char* const names[] = {"OldNames", "Plain", "NoType"};
    return std::string(names[int(std::get<0>(info.param))]) + "_" + std::get<1>(info.param).name;
}

TEST_P(StoredFormat, PagesReadTheEntriesAndTheTimetable) {
    remake(std::get<0>(GetParam()));
    std::get<1>(GetParam()).walk(*this);
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Declarations, StoredFormat,
    ::testing::Combine(::testing::Values(Declared::OldNames, Declared::Plain, Declared::None),
                       ::testing::Values(Road{"HomeDay", &AccountFile::homeDay},
                                         Road{"ReviewDay", &AccountFile::reviewDay},
                                         Road{"SearchByDate", &AccountFile::searchByDate},
                                         Road{"NumbersPerDay", &AccountFile::numbersPerDay},
                                         Road{"OpenAResult", &AccountFile::openAResult},
                                         Road{"Favourites", &AccountFile::favourites},
                                         Road{"RemoveAFavourite", &AccountFile::removeAFavourite},
                                         Road{"FavouritesOnlySearch", &AccountFile::favouritesOnly},
                                         Road{"TimetableAfterRestart", &AccountFile::timetableAfterRestart})),
    caseName);

// Favourites the program once stored as -1: listed, found, changed, and never
// rewritten behind the user's back.
TEST_F(AccountFile, FlagsStoredAsMinusOneCountAsSetAndChangeToZeroOrOne) {
    remake(Declared::OldNames, -1);
    frmRetrieval* p = openSearch();
    p->favouritesOnlyCheck->setChecked(true);
    EXPECT_EQ(rows(p->resultList), (QStringList{"1 雨后", "2 午后"}));
    clickTreeNode(p, QStringLiteral("收藏"));
    EXPECT_EQ(rows(p->favouritesList), (QStringList{"1 雨后", "2 午后"}));
    EXPECT_EQ(rowsOf(kEarlier), (QList<QPair<QString, bool>>{{"雨后", true}, {"晚饭", false}}));
    // Reading changed nothing.
    EXPECT_EQ(storedFlag("雨后"), QStringLiteral("integer -1"));

    // Removing one writes 0; adding one writes 1.
    select(p->favouritesList, 1);
    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    press(p->removeFavouriteLink);
    EXPECT_EQ(storedFlag("午后"), QStringLiteral("integer 0"));
    EXPECT_EQ(storedFlag("雨后"), QStringLiteral("integer -1"));
    p->favouritesOnlyCheck->setChecked(false);
    select(p->resultList, 1); // "2 晚饭"
    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    p->mCollect->trigger();
    EXPECT_EQ(storedFlag("晚饭"), QStringLiteral("integer 1"));
    clickTreeNode(p, QStringLiteral("收藏"));
    EXPECT_EQ(rows(p->favouritesList), (QStringList{"1 雨后", "2 晚饭"}));

    // "全部删除" finds the -1 and the 1 alike.
    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    press(p->removeAllFavouritesLink);
    EXPECT_EQ(storedFlag("雨后"), QStringLiteral("integer 0"));
    EXPECT_EQ(storedFlag("晚饭"), QStringLiteral("integer 0"));
    settle(p);
    EXPECT_TRUE(p->noFavouritesLabel->isVisibleTo(p));
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

TEST_F(AccountFile, WeekdaysAndPeriodsStoredAsMinusOneAreVisible) {
    remake(Declared::OldNames, -1);
    gConnection.execute(QStringLiteral("INSERT INTO \"Col\" VALUES ('一', -1), ('二', 0)"));
    gConnection.execute(QStringLiteral("INSERT INTO \"Row\" VALUES ('1', -1, 480, 525), ('2', 0, 540, 585)"));
    gTimetable = clsSchedule();
    gTimetable.gGetSchedule();
    EXPECT_TRUE(gTimetable.Col(1).ColIsVisible);
    EXPECT_FALSE(gTimetable.Col(2).ColIsVisible);
    EXPECT_TRUE(gTimetable.Row(1).RowIsVisible);
    EXPECT_FALSE(gTimetable.Row(2).RowIsVisible);
}

TEST_F(AccountFile, AQueryOfOurColumnsReadsThemAsTheirKinds) {
    remake(Declared::Plain);
    db::Recordset rs;
    rs.open(QStringLiteral("SELECT \"Date\", \"Score\" FROM \"Diary\" WHERE \"Title\" = '午后'"),
            gConnection);
    EXPECT_EQ(rs.field(QStringLiteral("Date")), QVariant(kYesterday));
    EXPECT_EQ(rs.field(QStringLiteral("Score")), QVariant(60));
}

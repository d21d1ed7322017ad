#include "accountsFixture.h"

#include "accounts/frmLogin.h"
#include "core/model/clsSchedule.h"
#include "core/model/gDatabase.h"
#include "core/ui/gMain.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/model/gUserData.h"
#include "platform/dialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>

#include <initializer_list>

namespace {

// Option bits with exactly these options on.
QString optionsOn(std::initializer_list<Option> on) {
    QString bits(static_cast<int>(kOptionCount), QLatin1Char('0'));
    for (Option o : on)
        bits[static_cast<int>(optionIndex(o))] = QLatin1Char('1');
    return bits;
}
const QString kPasswordOnly = optionsOn({Option::PasswordOnlySignIn, Option::AutoSignIn});
const QString kNameAndPassword = optionsOn({Option::AutoSignIn});

const QString kKey = QStringLiteral("1234567");
const QStringList kTables{QStringLiteral("Diary"), QStringLiteral("DiarySettings"), QStringLiteral("Term"),
                          QStringLiteral("Col"),   QStringLiteral("Row"),           QStringLiteral("Course")};

void typeText(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

class SignIn : public AccountsTest {
protected:
    // Writes the account's profile and starts the program, which shows the sign-in window.
    frmLogin* start(const QString& bits, const QString& name = QStringLiteral("Ann"),
                    const QString& password = QStringLiteral("secret"), const QString& recordKey = kKey) {
        writeProfile(name, password, recordKey, bits);
        Main();
        auto* login = forms::find<frmLogin>(Form::frmLogin);
        EXPECT_NE(login, nullptr);
        if (login) QApplication::setActiveWindow(login);
        return login;
    }
    // A database made for the password with another record key than the profile's.
    void databaseWithKey(const QString& password, const QString& recordKey) {
        const QString saved = gRecordKey;
        gRecordKey = recordKey;
        gCreateDatabase(gDatabaseFile, gMakeDbPassword(password));
        gRecordKey = saved;
    }
    QString keyFile(const QString& name, const QString& hash, const QString& recordKey) {
        KeyFileRecord r;
        r.UserName = name;
        r.PasswordHash = hash;
        r.RecordKey = recordKey;
        const QString path = home().folder(QStringLiteral("keys")) + name + QStringLiteral(".eky");
        EXPECT_TRUE(scrambled::writeFile(path, r.fields(), 9, false));
        return path;
    }
    bool signedIn() const { return gConnection.isOpen() && !loadedStandIns().isEmpty(); }
};

TEST_F(SignIn, PanelsAndTextsFollowTheAccount) {
    frmLogin* login = start(kPasswordOnly);
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(login->windowTitle(), QStringLiteral("用户登陆"));
    EXPECT_TRUE(login->isVisible());
    EXPECT_TRUE(login->passwordOnlyPanel->isVisible());
    EXPECT_FALSE(login->namePasswordPanel->isVisible());
    EXPECT_EQ(login->nameLabel->text(), QStringLiteral("Ann"));
    EXPECT_EQ(login->passwordPromptLabel->text(), QStringLiteral("如果需要，请键入密码，再单击“确定”。"));
    EXPECT_TRUE(login->passwordOnlyEdit->isVisible());
    EXPECT_FALSE(login->noPasswordLabel->isVisible());
    EXPECT_FALSE(login->pictureLabel->pixmap().isNull());
    EXPECT_EQ(login->pictureLabel->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(login->passwordOnlyEdit->echoMode(), QLineEdit::Password);
    EXPECT_EQ(login->okButton->text(), QStringLiteral("确定"));
    EXPECT_EQ(login->cancelButton->text(), QStringLiteral("取消"));
    forms::unloadAllNow();

    login = start(kNameAndPassword);
    ASSERT_NE(login, nullptr);
    EXPECT_TRUE(login->namePasswordPanel->isVisible());
    EXPECT_FALSE(login->passwordOnlyPanel->isVisible());
    EXPECT_EQ(login->promptLabel->text(), QStringLiteral("键入用户名和密码，再单击“确定”。"));
    EXPECT_EQ(login->nameCaption->text(), QStringLiteral("用户："));
    EXPECT_EQ(login->passwordCaption->text(), QStringLiteral("密码："));
    EXPECT_EQ(login->passwordEdit->echoMode(), QLineEdit::Password);
    forms::unloadAllNow();

    // No password, but automatic sign-in off (option 10): the window says so.
    login = start(optionsOn({Option::PasswordOnlySignIn}), QStringLiteral("Ann"), QString());
    ASSERT_NE(login, nullptr);
    EXPECT_FALSE(login->passwordOnlyEdit->isVisible());
    EXPECT_EQ(login->noPasswordLabel->text(), QStringLiteral("单击“确定”登陆 Rededera。"));
    EXPECT_TRUE(login->noPasswordLabel->isVisible());
    login->okButton->click();
    EXPECT_TRUE(signedIn());
}

TEST_F(SignIn, WrongPasswordInThePasswordPanelSelectsIt) {
    frmLogin* login = start(kPasswordOnly);
    ASSERT_NE(login, nullptr);
    login->passwordOnlyEdit->setText(QStringLiteral("Secret"));
    login->okButton->click();
    EXPECT_EQ(shownIds(), QList<int>{Msg::SignInRejected});
    EXPECT_TRUE(formShown(Form::frmLogin));
    EXPECT_TRUE(login->passwordOnlyEdit->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), login->passwordOnlyEdit);
    EXPECT_EQ(login->passwordOnlyEdit->selectedText(), QStringLiteral("Secret"));
    EXPECT_FALSE(QFileInfo::exists(gDatabaseFile));
    EXPECT_FALSE(gConnection.isOpen());

    // The right one then signs in.
    login->passwordOnlyEdit->setText(QStringLiteral("secret"));
    login->okButton->click();
    EXPECT_TRUE(signedIn());
}

struct RefusalCase {
    const char* name;
    const char* password;
};

TEST_F(SignIn, NameAndPasswordPanelRefusesAndSelectsTheName) {
    frmLogin* login = start(kNameAndPassword);
    ASSERT_NE(login, nullptr);
    const RefusalCase cases[] = {
        {"Bob", "secret"},  {"ann", "secret"}, {"ANN", "secret"},
        {" Ann", "Secret"}, {"Ann", ""},       {"", "secret"},
    };
    for (const auto& c : cases) {
        gMsgBoxSeam::reset();
        login->nameEdit->setText(QString::fromUtf8(c.name));
        login->passwordEdit->setText(QString::fromUtf8(c.password));
        login->okButton->click();
        const QString trimmed = QString::fromUtf8(c.name).trimmed();
        EXPECT_EQ(shownIds(), QList<int>{Msg::SignInRejected}) << c.name << "/" << c.password;
        EXPECT_EQ(login->nameEdit->text(), trimmed);
        EXPECT_EQ(login->passwordEdit->text(), QString());
        EXPECT_TRUE(login->nameEdit->isEnabled());
        EXPECT_TRUE(login->passwordEdit->isEnabled());
        EXPECT_EQ(QApplication::focusWidget(), login->nameEdit) << c.name;
        EXPECT_EQ(login->nameEdit->selectedText(), trimmed) << c.name;
    }
    EXPECT_FALSE(QFileInfo::exists(gDatabaseFile));
}

struct BlanksCase {
    const char* stored;
    const char* typed;
};

TEST_F(SignIn, BlanksAroundEitherNameAreIgnored) {
    const BlanksCase cases[] = {{"Ann", "  Ann  "}, {" Ann ", "Ann"}, {"  李 雷", "李 雷 "}};
    for (const auto& c : cases) {
        forms::unloadAllNow();
        gCloseDatabase();
        QFile::remove(gDatabaseFile);
        loadedStandIns().clear();
        frmLogin* login = start(kNameAndPassword, QString::fromUtf8(c.stored));
        ASSERT_NE(login, nullptr);
        login->nameEdit->setText(QString::fromUtf8(c.typed));
        login->passwordEdit->setText(QStringLiteral("secret"));
        login->okButton->click();
        EXPECT_TRUE(signedIn()) << c.stored << "/" << c.typed;
        EXPECT_TRUE(shownIds().isEmpty());
    }
}

TEST_F(SignIn, DoubleByteCharactersNeverReachTheDigest) {
    frmLogin* login = start(kNameAndPassword);
    ASSERT_NE(login, nullptr);
    login->nameEdit->setText(QStringLiteral("Ann"));
    login->passwordEdit->setFocus();
    typeText(login->passwordEdit, QString::fromUtf8("se中cret"));
    EXPECT_EQ(login->passwordEdit->text(), QStringLiteral("secret"));

    // Text that still gets past the box counts as a wrong password.
    login->passwordEdit->setValidator(nullptr);
    login->passwordEdit->setText(QString::fromUtf8("中文"));
    login->okButton->click();
    EXPECT_EQ(shownIds(), QList<int>{Msg::SignInRejected});
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
    EXPECT_TRUE(formShown(Form::frmLogin));
}

TEST_F(SignIn, FirstSignInCreatesTheDatabaseAndHandsOver) {
    frmLogin* login = start(kNameAndPassword);
    ASSERT_NE(login, nullptr);
    login->nameEdit->setText(QStringLiteral("Ann"));
    login->passwordEdit->setText(QStringLiteral("secret"));
    login->okButton->click();
    pumpEvents();

    EXPECT_TRUE(shownIds().isEmpty());
    EXPECT_FALSE(forms::isLoaded(Form::frmLogin));
    EXPECT_EQ(loadedStandIns(), (QStringList{QStringLiteral("frmScheRemind"), QStringLiteral("frmMain")}));
    ASSERT_TRUE(gConnection.isOpen());
    for (const QString& t : kTables)
        EXPECT_NO_THROW(gConnection.count(t)) << t.toStdString();
    EXPECT_EQ(gConnection.count(QStringLiteral("Diary")), 0);
    EXPECT_EQ(gConnection.count(QStringLiteral("DiarySettings")), 1);
    EXPECT_EQ(gDiaryCount, 0);
    EXPECT_EQ(gScoreTotal, 0);
    EXPECT_EQ(gTimetable.rowCount(), 10); // the default periods
    EXPECT_FALSE(gTodayTimes.isEmpty());

    // The file is keyed with the typed password and the record key.
    gCloseDatabase();
    db::Connection c;
    EXPECT_NO_THROW(c.open(gDatabaseFile, gMakeDbPassword(QStringLiteral("secret"))));
    c.close();
    try {
        c.open(gDatabaseFile, gMakeDbPassword(QStringLiteral("other")));
        ADD_FAILURE() << "opened with another password";
    } catch (const gRuntimeError& e) {
        EXPECT_EQ(e.number(), db::err::WrongKey);
    }
}

TEST_F(SignIn, TodaysClassesOptionLoadsTheReportInsteadOfTheMainWindow) {
    frmLogin* login = start(optionsOn({Option::PasswordOnlySignIn, Option::TodayClassesAtStart}));
    ASSERT_NE(login, nullptr);
    login->passwordOnlyEdit->setText(QStringLiteral("secret"));
    login->okButton->click();
    EXPECT_EQ(loadedStandIns(),
              (QStringList{QStringLiteral("frmScheRemind"), QStringLiteral("frmScheReport")}));
}

// Without today's-classes report the sign-in opens the main window even with
// its option on. Run in a fresh process, where no report was ever registered.
TEST_F(SignIn, TodaysClassesOptionWithoutTheReportOpensTheMainWindow) {
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_also_run_disabled_tests"),
                 QStringLiteral("--gtest_filter=SignInNoReport.DISABLED_OpensTheMainWindow")});
    ASSERT_TRUE(child.waitForStarted(10000));
    ASSERT_TRUE(child.waitForFinished(120000));
    const QByteArray out = child.readAll();
    EXPECT_EQ(child.exitCode(), 0) << out.constData();
    EXPECT_TRUE(out.contains("[  PASSED  ] 1 test.")) << out.constData();
}

class SignInNoReport : public SignIn {
protected:
    SignInNoReport() { reportBuilt_ = false; }
};

TEST_F(SignInNoReport, DISABLED_OpensTheMainWindow) {
    if (forms::isRegistered(Form::frmScheReport)) GTEST_SKIP() << "needs a fresh process";
    frmLogin* login = start(optionsOn({Option::PasswordOnlySignIn, Option::TodayClassesAtStart}));
    ASSERT_NE(login, nullptr);
    login->passwordOnlyEdit->setText(QStringLiteral("secret"));
    login->okButton->click();
    EXPECT_TRUE(shownIds().isEmpty());
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
    EXPECT_EQ(loadedStandIns(), (QStringList{QStringLiteral("frmScheRemind"), QStringLiteral("frmMain")}));
}

TEST_F(SignIn, ALaterSignInReadsTheRunningTotals) {
    frmLogin* login = start(kPasswordOnly);
    ASSERT_NE(login, nullptr);
    login->passwordOnlyEdit->setText(QStringLiteral("secret"));
    login->okButton->click();
    ASSERT_TRUE(gConnection.isOpen());
    for (int i = 0; i < 3; ++i)
        gConnection.execute(
            QStringLiteral("INSERT INTO \"Diary\" (\"Date\", \"Title\", \"Score\", \"Collect\") "
                           "VALUES (?, ?, ?, 0)"),
            {QDate(2026, 12, 1 + i), QStringLiteral("t"), 50});
    gConnection.execute(QStringLiteral("UPDATE \"DiarySettings\" SET \"Score\" = 150"));
    gCloseDatabase();
    forms::unloadAllNow();
    gDiaryCount = gScoreTotal = 0;
    loadedStandIns().clear();

    login = start(kPasswordOnly);
    ASSERT_NE(login, nullptr);
    login->passwordOnlyEdit->setText(QStringLiteral("secret"));
    login->okButton->click();
    EXPECT_TRUE(signedIn());
    // The entries are counted when the home page shows, and then exactly.
    EXPECT_EQ(gDiaryCount, kDiaryCountPending);
    EXPECT_EQ(gTakeDiaryCount(), 3);
    EXPECT_EQ(gScoreTotal, 150);
    EXPECT_EQ(gConnection.count(QStringLiteral("DiarySettings")), 1);
}

// The database was made with another record key than the profile now holds.
class SignInWrongKey : public SignIn {
protected:
    void SetUp() override {
        SignIn::SetUp();
        databaseWithKey(QStringLiteral("secret"), kKey);
        original = readFile(gDatabaseFile);
        openSignIn();
    }
    // The sign-in window of the account whose record key no longer fits, the
    // right password typed.
    void openSignIn() {
        login =
            start(kPasswordOnly, QStringLiteral("Ann"), QStringLiteral("secret"), QStringLiteral("7654321"));
        ASSERT_NE(login, nullptr);
        login->passwordOnlyEdit->setText(QStringLiteral("secret"));
    }
    QByteArray original;
    frmLogin* login = nullptr;
};

TEST_F(SignInWrongKey, CancelLeavesTheFileAlone) {
    gMsgBoxSeam::pushAnswer(gMsgResult::Third);
    login->okButton->click();
    pumpEvents();
    ASSERT_EQ(shownIds(), QList<int>{Msg::RecordKeyInvalid});
    EXPECT_EQ(gMsgBoxSeam::shown().at(0).buttonSet, gButtonSet::ImportRecreateCancel);
    EXPECT_EQ(gMsgBoxSeam::shown().at(0).args.value(0), QStringLiteral("Ann"));
    EXPECT_FALSE(forms::isLoaded(Form::frmLogin));
    EXPECT_FALSE(gConnection.isOpen());
    EXPECT_TRUE(loadedStandIns().isEmpty());
    EXPECT_EQ(readFile(gDatabaseFile), original);
}

TEST_F(SignInWrongKey, RecreateKeepsTheOldFileAndStartsAfresh) {
    const QString copy = gDatabaseFile + QStringLiteral(".old");
    QFile::setPermissions(gDatabaseFile,
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    gMsgBoxSeam::pushAnswer(gMsgResult::Second);
    login->okButton->click();
    pumpEvents();

    EXPECT_EQ(shownIds(), (QList<int>{Msg::RecordKeyInvalid, Msg::RecordFileSavedAside}));
    EXPECT_EQ(gMsgBoxSeam::shown().at(1).args.value(0), copy);
    EXPECT_EQ(readFile(copy), original); // byte for byte
    EXPECT_EQ(fileMode(copy), 0600);
    ASSERT_TRUE(signedIn());
    EXPECT_EQ(gConnection.count(QStringLiteral("Diary")), 0);
    EXPECT_EQ(gConnection.count(QStringLiteral("DiarySettings")), 1);
    EXPECT_EQ(gTimetable.rowCount(), 10);
    // The new file opens with the profile's record key.
    gCloseDatabase();
    db::Connection c;
    EXPECT_NO_THROW(c.open(gDatabaseFile, gMakeDbPassword(QStringLiteral("secret"))));
}

struct EarlierCopiesCase {
    QStringList present; // copies already there, by their endings
    const char* next;
};

// An earlier copy may be the only one left of an earlier diary.
TEST_F(SignInWrongKey, RecreateNeverReplacesAnEarlierCopy) {
    const EarlierCopiesCase cases[] = {
        {{QStringLiteral(".old")}, ".1.old"},
        {{QStringLiteral(".old"), QStringLiteral(".1.old")}, ".2.old"},
        {{QStringLiteral(".1.old")}, ".old"},
        {{QStringLiteral(".old/")}, ".1.old"}, // a folder of that name
    };
    const QString base = gDatabaseFile;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.next);
        QDir(userFolder_).removeRecursively();
        QDir().mkpath(userFolder_);
        databaseWithKey(QStringLiteral("secret"), kKey);
        const QByteArray made = readFile(base);
        for (const QString& ending : c.present)
            writeFile(base + (ending.endsWith('/') ? ending + QStringLiteral("inside") : ending),
                      ("earlier " + ending).toUtf8());
        forms::unloadAllNow();
        gCloseDatabase();
        loadedStandIns().clear();
        gMsgBoxSeam::reset();
        login =
            start(kPasswordOnly, QStringLiteral("Ann"), QStringLiteral("secret"), QStringLiteral("7654321"));
        ASSERT_NE(login, nullptr);
        login->passwordOnlyEdit->setText(QStringLiteral("secret"));
        gMsgBoxSeam::pushAnswer(gMsgResult::Second);
        login->okButton->click();
        pumpEvents();

        const QString copy = base + QString::fromLatin1(c.next);
        EXPECT_EQ(shownIds(), (QList<int>{Msg::RecordKeyInvalid, Msg::RecordFileSavedAside}));
        EXPECT_EQ(gMsgBoxSeam::shown().value(1).args.value(0), copy);
        EXPECT_EQ(readFile(copy), made);
        for (const QString& ending : c.present)
            EXPECT_EQ(readFile(base + (ending.endsWith('/') ? ending + QStringLiteral("inside") : ending)),
                      ("earlier " + ending).toUtf8());
        EXPECT_TRUE(signedIn());
    }
}

// The new database cannot be made: the old one goes back under its name.
TEST_F(SignInWrongKey, AFailedRecreatePutsTheOldFileBack) {
    writeFile(gDatabaseFile + QStringLiteral("-journal"), "its journal");
    gRecordKey.clear(); // no database can be keyed with it
    gMsgBoxSeam::pushAnswer(gMsgResult::Second);
    login->okButton->click();
    pumpEvents();
    EXPECT_EQ(shownIds(), (QList<int>{Msg::RecordKeyInvalid, Msg::RecordFileUnopenable}));
    EXPECT_EQ(readFile(gDatabaseFile), original);
    EXPECT_EQ(readFile(gDatabaseFile + QStringLiteral("-journal")), QByteArray("its journal"));
    EXPECT_FALSE(QFileInfo::exists(gDatabaseFile + QStringLiteral(".old")));
    EXPECT_FALSE(gConnection.isOpen());
}

TEST_F(SignInWrongKey, ACopyThatCannotBeMadeKeepsTheFileWhereItWas) {
    // A name with no room left for the copy's ending.
    const QString longName = userFolder_ + QString(250, QLatin1Char('d'));
    ASSERT_TRUE(QFile::rename(gDatabaseFile, longName));
    gDatabaseFile = longName;
    gMsgBoxSeam::pushAnswer(gMsgResult::Second);
    login->okButton->click();
    pumpEvents();
    EXPECT_EQ(shownIds(), (QList<int>{Msg::RecordKeyInvalid, Msg::RecordFileUnopenable}));
    EXPECT_FALSE(forms::isLoaded(Form::frmLogin));
    EXPECT_EQ(readFile(gDatabaseFile), original);
    EXPECT_FALSE(gConnection.isOpen());
}

TEST_F(SignInWrongKey, AKeyFileOfAnotherAccountIsRefused) {
    const QString bob = keyFile(QStringLiteral("Bob"), digest(QStringLiteral("secret")), kKey);
    const QString hash = gPasswordHash;
    // Import with the dialog cancelled, import Bob's key, then cancel.
    gMsgBoxSeam::pushAnswers({gMsgResult::First, gMsgResult::First, gMsgResult::OK, gMsgResult::Third});
    dialogs::seam::pushAnswer(QString());
    dialogs::seam::pushAnswer(bob);
    login->okButton->click();
    pumpEvents();

    EXPECT_EQ(shownIds(), (QList<int>{Msg::RecordKeyInvalid, Msg::RecordKeyInvalid, Msg::KeyFileInvalid,
                                      Msg::RecordKeyInvalid}));
    ASSERT_EQ(dialogs::seam::asked().size(), 2);
    EXPECT_EQ(dialogs::seam::asked().at(0).kind, QStringLiteral("open"));
    EXPECT_EQ(dialogs::seam::asked().at(0).filter,
              QStringLiteral("密匙文件 (*.eky)|*.eky|所有文件 (*.*)|*.*"));
    EXPECT_EQ(gPasswordHash, hash);
    EXPECT_EQ(gRecordKey, QStringLiteral("7654321"));
    EXPECT_FALSE(forms::isLoaded(Form::frmLogin));
}

struct UnusableKeyCase {
    const char* hash; // "" stands for the digest of "secret"
    const char* recordKey;
};

// Saved, such a key would refuse even the right password from then on, before
// the import could be offered again.
TEST_F(SignInWrongKey, AKeyFileWithUnusableValuesIsRefused) {
    const QString good = digest(QStringLiteral("secret"));
    const UnusableKeyCase cases[] = {
        {"not a digest", "1234567"}, {"", ""}, {"", "12中"}, {"", "12345678"}, {"", "12a"}, {"", " 123"},
    };
    const QByteArray profile = readFile(gProfileFile());
    bool first = true;
    for (const auto& c : cases) {
        if (!first) {
            forms::unloadAllNow();
            openSignIn();
        }
        first = false;
        const QString hash = *c.hash ? QString::fromUtf8(c.hash) : good;
        const QString key = keyFile(QStringLiteral("Ann"), hash, QString::fromUtf8(c.recordKey));
        gMsgBoxSeam::reset();
        gMsgBoxSeam::pushAnswers({gMsgResult::First, gMsgResult::OK, gMsgResult::Third});
        dialogs::seam::pushAnswer(key);
        login->okButton->click();
        pumpEvents();
        EXPECT_EQ(shownIds(), (QList<int>{Msg::RecordKeyInvalid, Msg::KeyFileInvalid, Msg::RecordKeyInvalid}))
            << c.hash << " / " << c.recordKey;
        EXPECT_EQ(gPasswordHash, good);
        EXPECT_EQ(gRecordKey, QStringLiteral("7654321"));
        EXPECT_EQ(readFile(gProfileFile()), profile);
    }
}

struct KeyThatDoesNotFitCase {
    const char* password; // the key file's digest is of this
    const char* recordKey;
};

// A well-formed key file must open the database with the typed password
// before it replaces anything.
TEST_F(SignInWrongKey, AKeyFileThatDoesNotOpenTheDatabaseIsRefused) {
    const KeyThatDoesNotFitCase cases[] = {{"other", "1234567"}, {"secret", "1111111"}, {"", "1234567"}};
    const QByteArray profile = readFile(gProfileFile());
    const QString good = digest(QStringLiteral("secret"));
    bool first = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.password);
        if (!first) {
            forms::unloadAllNow();
            openSignIn();
        }
        first = false;
        const QString key = keyFile(QStringLiteral("Ann"), digest(QString::fromUtf8(c.password)),
                                    QString::fromUtf8(c.recordKey));
        gMsgBoxSeam::reset();
        gMsgBoxSeam::pushAnswers({gMsgResult::First, gMsgResult::OK, gMsgResult::Third});
        dialogs::seam::pushAnswer(key);
        login->okButton->click();
        pumpEvents();
        EXPECT_EQ(shownIds(),
                  (QList<int>{Msg::RecordKeyInvalid, Msg::KeyFileInvalid, Msg::RecordKeyInvalid}));
        EXPECT_EQ(gPasswordHash, good);
        EXPECT_EQ(gRecordKey, QStringLiteral("7654321"));
        EXPECT_EQ(readFile(gProfileFile()), profile);
        EXPECT_EQ(readFile(gDatabaseFile), original);
    }
}

TEST_F(SignInWrongKey, AValidKeyFileIsSavedThenTheProgramStartsAgain) {
    const QString ann = keyFile(QStringLiteral("Ann"), digest(QStringLiteral("secret")), kKey);
    gMsgBoxSeam::pushAnswers({gMsgResult::First, gMsgResult::OK});
    dialogs::seam::pushAnswer(ann);
    login->okButton->click();
    pumpEvents();

    EXPECT_EQ(shownIds(), (QList<int>{Msg::RecordKeyInvalid, Msg::KeyImported}));
    // The profile on disk now carries the key file's record key.
    gRecordKey.clear();
    ASSERT_TRUE(gReadUserData());
    EXPECT_EQ(gRecordKey, kKey);
    // Start-up ran again and shows a fresh sign-in window, which now opens the database.
    auto* again = forms::find<frmLogin>(Form::frmLogin);
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, login);
    EXPECT_TRUE(again->isVisible());
    again->passwordOnlyEdit->setText(QStringLiteral("secret"));
    again->okButton->click();
    EXPECT_TRUE(signedIn());
}

TEST_F(SignInWrongKey, AKeyThatCannotBeSavedIsForgotten) {
    const QString ann = keyFile(QStringLiteral("Ann"), digest(QStringLiteral("secret")), kKey);
    const QString profile = readFile(gProfileFile());
    const QString hash = gPasswordHash;
    // The profile's folder can no longer be written (the database stays where it is).
    gDataPath = writeFile(home().path() + QStringLiteral("/blocker"), "x") + QStringLiteral("/");
    gMsgBoxSeam::pushAnswers({gMsgResult::First, gMsgResult::Third});
    dialogs::seam::pushAnswer(ann);
    login->okButton->click();
    pumpEvents();

    EXPECT_EQ(shownIds(), (QList<int>{Msg::RecordKeyInvalid, Msg::RecordKeyInvalid}));
    ASSERT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_TRUE(gMsgBoxSeam::errors().at(0).continueRun);
    EXPECT_EQ(gRecordKey, QStringLiteral("7654321"));
    EXPECT_EQ(gPasswordHash, hash);
    EXPECT_EQ(readFile(userFolder_ + QStringLiteral("Userdata.ini")), profile);
}

// An empty file holds no diary: the first sign-in makes the database there.
TEST_F(SignIn, AnEmptyDatabaseFileIsMadeAfresh) {
    frmLogin* login = start(kPasswordOnly);
    ASSERT_NE(login, nullptr);
    writeFile(gDatabaseFile, QByteArray());
    login->passwordOnlyEdit->setText(QStringLiteral("secret"));
    login->okButton->click();
    pumpEvents();
    EXPECT_TRUE(shownIds().isEmpty());
    ASSERT_TRUE(signedIn());
    EXPECT_EQ(gConnection.count(QStringLiteral("DiarySettings")), 1);
}

struct NotADatabaseCase {
    const char* name;
    QByteArray bytes; // empty: a folder
};

// Something in the database's place that cannot be a database is neither
// blamed on the key nor a dead end: it is kept aside and a new one made.
TEST_F(SignIn, AFileThatIsNotADatabaseIsKeptAsideOnRequest) {
    QByteArray plainHeader("SQLite format 3\0", 16);
    plainHeader.append(4096 - 16, '\0');
    const NotADatabaseCase cases[] = {
        {"text", "these are not the pages of a database\n"},
        {"cut short", QByteArray(1024 + 100, 'x')},
        {"unencrypted", plainHeader},
        {"folder", {}},
    };
    for (const auto& c : cases) {
        for (const bool recreate : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (recreate ? " recreate" : " cancel"));
            forms::unloadAllNow();
            gCloseDatabase();
            QDir(userFolder_).removeRecursively();
            QDir().mkpath(userFolder_);
            loadedStandIns().clear();
            gMsgBoxSeam::reset();
            const QString inside = gDatabaseFile + QStringLiteral("/inside");
            if (c.bytes.isEmpty())
                writeFile(inside, "x");
            else
                writeFile(gDatabaseFile, c.bytes);
            frmLogin* login = start(kPasswordOnly);
            ASSERT_NE(login, nullptr);
            login->passwordOnlyEdit->setText(QStringLiteral("secret"));
            gMsgBoxSeam::pushAnswer(recreate ? gMsgResult::OK : gMsgResult::Cancel);
            login->okButton->click();
            pumpEvents();
            const QString copy = gDatabaseFile + QStringLiteral(".old");
            if (!recreate) {
                EXPECT_EQ(shownIds(), QList<int>{Msg::RecordFileDamaged});
                EXPECT_EQ(gMsgBoxSeam::shown().value(0).buttonSet, gButtonSet::OkCancel);
                EXPECT_EQ(gMsgBoxSeam::shown().value(0).args.value(0), gDatabaseFile);
                EXPECT_FALSE(forms::isLoaded(Form::frmLogin));
                EXPECT_FALSE(QFileInfo::exists(copy));
                EXPECT_EQ(c.bytes.isEmpty() ? readFile(inside) : readFile(gDatabaseFile),
                          c.bytes.isEmpty() ? QByteArray("x") : c.bytes);
                continue;
            }
            EXPECT_EQ(shownIds(), (QList<int>{Msg::RecordFileDamaged, Msg::RecordFileSavedAside}));
            EXPECT_EQ(gMsgBoxSeam::shown().value(1).args.value(0), copy);
            EXPECT_EQ(c.bytes.isEmpty() ? readFile(copy + QStringLiteral("/inside")) : readFile(copy),
                      c.bytes.isEmpty() ? QByteArray("x") : c.bytes);
            EXPECT_TRUE(signedIn());
        }
    }
}

TEST_F(SignIn, ADatabaseThatCannotBeCreatedIsReported) {
    frmLogin* login = start(kPasswordOnly);
    ASSERT_NE(login, nullptr);
    gDatabaseFile =
        writeFile(home().path() + QStringLiteral("/blocker"), "x") + QStringLiteral("/Userdata.dat");
    login->passwordOnlyEdit->setText(QStringLiteral("secret"));
    login->okButton->click();
    pumpEvents();
    // The system's reason is known before anything is made.
    EXPECT_EQ(shownIds(), QList<int>{Msg::RecordFileRefused});
    EXPECT_EQ(gMsgBoxSeam::shown().value(0).args.mid(0, 2),
              (QStringList{gDatabaseFile, QStringLiteral("路径中有一部分不是文件夹")}));
    EXPECT_FALSE(forms::isLoaded(Form::frmLogin));
    EXPECT_FALSE(gConnection.isOpen());
}

// A database that opens but cannot be read lets go of the file before it says so.
TEST_F(SignIn, AnErrorAfterTheOpenGives108AndLetsGoOfTheFile) {
    databaseWithKey(QStringLiteral("secret"), kKey);
    {
        gRecordKey = kKey;
        db::Connection c;
        c.open(gDatabaseFile, gMakeDbPassword(QStringLiteral("secret")));
        c.execute(QStringLiteral("DROP TABLE \"Diary\""));
        c.close();
    }
    frmLogin* login = start(kPasswordOnly);
    ASSERT_NE(login, nullptr);
    login->passwordOnlyEdit->setText(QStringLiteral("secret"));
    login->okButton->click();
    pumpEvents();
    EXPECT_EQ(shownIds(), QList<int>{Msg::RecordFileUnopenable});
    EXPECT_FALSE(forms::isLoaded(Form::frmLogin));
    EXPECT_FALSE(gConnection.isOpen());
    EXPECT_TRUE(loadedStandIns().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(gDatabaseFile)); // nothing recreated behind the user's back
}

// The program may sign into another account without ending (a new user folder):
// a timetable that cannot be read never leaves the last account's in its place.
TEST_F(SignIn, ATimetableThatCannotBeReadLeavesNoEarlierAccountsTimetable) {
    frmLogin* login = start(kPasswordOnly);
    ASSERT_NE(login, nullptr);
    login->passwordOnlyEdit->setText(QStringLiteral("secret"));
    login->okButton->click();
    ASSERT_TRUE(signedIn());
    ASSERT_EQ(gTimetable.rowCount(), 10);
    gCloseDatabase();
    forms::unloadAllNow();
    loadedStandIns().clear();

    useUserFolder(home().folder(QStringLiteral("second")));
    databaseWithKey(QStringLiteral("secret"), kKey);
    {
        gRecordKey = kKey;
        db::Connection c;
        c.open(gDatabaseFile, gMakeDbPassword(QStringLiteral("secret")));
        // A period time past the model's range: the Row table cannot be read.
        c.execute(QStringLiteral("INSERT INTO \"Row\" (\"Name\", \"RowIsVisible\", \"ClassBeginTime\", "
                                 "\"ClassEndTime\") VALUES ('1', 1, 70000, 70050)"));
        c.close();
    }
    login = start(kPasswordOnly, QStringLiteral("Bob"));
    ASSERT_NE(login, nullptr);
    login->passwordOnlyEdit->setText(QStringLiteral("secret"));
    login->okButton->click();
    EXPECT_TRUE(signedIn()); // the diary is there; the timetable error is reported
    EXPECT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_EQ(gTimetable.rowCount(), 0);
    EXPECT_EQ(gTodayTimes.size(), 1); // only the unused slot 0
}

TEST_F(SignIn, AFileWithoutATableOrColumnOfOursIsRefusedByName) {
    struct Case {
        const char* damage;
        const char* named;
    };
    const Case cases[] = {
        {"DROP TABLE \"Term\"", "\"Term\""},
        {"DROP TABLE \"Diary\"; CREATE TABLE \"Diary\" (\"Date\" TEXT, \"Title\" TEXT, \"Diary\" TEXT, "
         "\"DiaryRTF\" TEXT, \"Score\" INTEGER)",
         "\"Collect\""},
        {"DROP TABLE \"Row\"; CREATE TABLE \"Row\" (\"Name\" TEXT, \"RowIsVisible\" INTEGER, "
         "\"ClassBeginTime\" INTEGER)",
         "\"ClassEndTime\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.damage);
        gMsgBoxSeam::reset();
        QFile::remove(gDatabaseFile);
        databaseWithKey(QStringLiteral("secret"), kKey);
        {
            gRecordKey = kKey;
            db::Connection raw;
            raw.open(gDatabaseFile, gMakeDbPassword(QStringLiteral("secret")));
            raw.execute(QString::fromUtf8(c.damage));
        }
        frmLogin* login = start(kPasswordOnly);
        ASSERT_NE(login, nullptr);
        login->passwordOnlyEdit->setText(QStringLiteral("secret"));
        login->okButton->click();
        pumpEvents();
        EXPECT_FALSE(signedIn());
        ASSERT_EQ(gMsgBoxSeam::errors().size(), 1);
        EXPECT_EQ(gMsgBoxSeam::errors()[0].number, db::err::SchemaMismatch);
        EXPECT_TRUE(gMsgBoxSeam::errors()[0].description.contains(QString::fromUtf8(c.named)))
            << gMsgBoxSeam::errors()[0].description.toStdString();
        EXPECT_EQ(shownIds(), QList<int>{Msg::RecordFileUnopenable});
        EXPECT_FALSE(gConnection.isOpen());
        forms::unloadAllNow();
    }
}

TEST_F(SignIn, PasswordBoxesKeepOutCharactersWithoutADigest) {
    frmLogin* login = start(kNameAndPassword);
    ASSERT_NE(login, nullptr);
    for (QLineEdit* box : {login->passwordOnlyEdit, login->passwordEdit}) {
        box->setText(QString::fromUtf8("a中€b"));
        EXPECT_EQ(box->text(), QString::fromUtf8("a€b")) << box->objectName().toStdString();
    }
}

TEST_F(SignIn, ADatabaseHeldByAnotherProgramGives108) {
    frmLogin* login = start(kPasswordOnly);
    ASSERT_NE(login, nullptr);
    databaseWithKey(QStringLiteral("secret"), kKey);

    QProcess holder;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("REDEDERA_HOLD_DB"), gDatabaseFile);
    env.insert(QStringLiteral("REDEDERA_HOLD_PASSWORD"), QStringLiteral("secret"));
    env.insert(QStringLiteral("REDEDERA_HOLD_KEY"), kKey);
    holder.setProcessEnvironment(env);
    holder.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_also_run_disabled_tests"),
                  QStringLiteral("--gtest_filter=SignInChild.DISABLED_HoldDatabase")});
    ASSERT_TRUE(holder.waitForStarted(10000));
    QByteArray out;
    while (!out.contains("held") && holder.waitForReadyRead(30000))
        out += holder.readAllStandardOutput();
    ASSERT_TRUE(out.contains("held")) << out.constData();

    login->passwordOnlyEdit->setText(QStringLiteral("secret"));
    login->okButton->click();
    pumpEvents();
    EXPECT_EQ(shownIds(), QList<int>{Msg::RecordFileUnopenable});
    EXPECT_FALSE(forms::isLoaded(Form::frmLogin));
    EXPECT_FALSE(gConnection.isOpen());

    holder.closeWriteChannel();
    EXPECT_TRUE(holder.waitForFinished(30000));
}

// Run only as the child of the test above: holds the database until its input closes.
TEST(SignInChild, DISABLED_HoldDatabase) {
    const QString file = qEnvironmentVariable("REDEDERA_HOLD_DB");
    if (file.isEmpty()) GTEST_SKIP();
    gRecordKey = qEnvironmentVariable("REDEDERA_HOLD_KEY");
    db::Connection c;
    c.open(file, gMakeDbPassword(qEnvironmentVariable("REDEDERA_HOLD_PASSWORD")));
    std::fputs("held\n", stdout);
    std::fflush(stdout);
    char buf[64];
    while (std::fread(buf, 1, sizeof buf, stdin) > 0) {
    }
}

TEST_F(SignIn, CancelAndCloseUnloadTheWindow) {
    frmLogin* login = start(kPasswordOnly);
    ASSERT_NE(login, nullptr);
    login->cancelButton->click();
    EXPECT_FALSE(forms::isLoaded(Form::frmLogin));
    pumpEvents();
    login = start(kPasswordOnly);
    ASSERT_NE(login, nullptr);
    login->close();
    EXPECT_FALSE(forms::isLoaded(Form::frmLogin));
    EXPECT_TRUE(loadedStandIns().isEmpty());
}

TEST_F(SignIn, HiddenStartFillsTheNameAndSignsIn) {
    gCommandLine = QStringLiteral(" /s ");
    writeProfile(QStringLiteral(" Ann"), QString(), kKey, kNameAndPassword);
    Main();
    gCommandLine.clear();
    EXPECT_FALSE(forms::isLoaded(Form::frmLogin));
    EXPECT_TRUE(signedIn());
    EXPECT_EQ(loadedStandIns(), (QStringList{QStringLiteral("frmScheRemind"), QStringLiteral("frmMain")}));
    EXPECT_FALSE(gHiddenStart);
    EXPECT_TRUE(shownIds().isEmpty());
}

TEST_F(SignIn, AutomaticSignInThatFailsReportsIt) {
    databaseWithKey(QString(), kKey);
    writeProfile(QStringLiteral("Ann"), QString(), QStringLiteral("7654321"), kPasswordOnly);
    gUserName = QStringLiteral("Ann");
    gPasswordHash = digest(QString());
    gRecordKey = QStringLiteral("7654321");
    gOptions = gParseOptionBits(kPasswordOnly);
    auto* login = forms::load<frmLogin>(Form::frmLogin);
    ASSERT_NE(login, nullptr);
    gMsgBoxSeam::pushAnswer(gMsgResult::Third);
    EXPECT_FALSE(login->cmd1Click());
    EXPECT_EQ(shownIds(), QList<int>{Msg::RecordKeyInvalid});
    EXPECT_FALSE(gConnection.isOpen());
    pumpEvents();
    forms::unloadAllNow();

    // The answer that is none of the three keeps the window, usable again.
    login = forms::load<frmLogin>(Form::frmLogin);
    gMsgBoxSeam::pushAnswer(gMsgResult::None);
    EXPECT_FALSE(login->cmd1Click());
    EXPECT_TRUE(forms::isLoaded(Form::frmLogin));
    EXPECT_TRUE(login->passwordOnlyEdit->isEnabled());
    EXPECT_TRUE(login->passwordEdit->isEnabled());
}

} // namespace

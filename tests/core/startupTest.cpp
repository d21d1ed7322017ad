#include "../common/testSupport.h"

#include "core/model/clsMD5.h"
#include "core/base/gError.h"
#include "core/ui/gForms.h"
#include "core/ui/gLoginApi.h"
#include "core/ui/gMain.h"
#include "core/ui/gMsgBox.h"
#include "core/ui/gSecondStart.h"
#include "core/ui/gStartup.h"
#include "core/model/gState.h"
#include "core/model/gUserData.h"
#include "core/ui/gUserDataUi.h"
#include "platform/dialogs.h"
#include "platform/registry.h"
#include "platform/settingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>

#include <climits>
#include <cstdlib>
#include <iostream>

void gRegisterAccountWindows();
void gRegisterShellWindows();

namespace {

const QByteArray kManifest =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
    "<assemblyIdentity\r\n"
    "    version=\"1.0.0.0\"\r\n"
    "    processorArchitecture=\"X86\"\r\n"
    "    name=\"Microsoft.Shell.TaskSwitch \"\r\n"
    "    type=\"win32\"\r\n"
    "/>\r\n"
    "<description>TaskSitch</description>\r\n"
    "<dependency>\r\n"
    "    <dependentAssembly>\r\n"
    "        <assemblyIdentity\r\n"
    "            type=\"win32\"\r\n"
    "            name=\"Microsoft.Windows.Common-Controls\"\r\n"
    "            version=\"6.0.0.0\"\r\n"
    "            processorArchitecture=\"X86\"\r\n"
    "            publicKeyToken=\"6595b64144ccf1df\"\r\n"
    "            language=\"*\"\r\n"
    "        />\r\n"
    "    </dependentAssembly>\r\n"
    "</dependency>\r\n"
    "</assembly>\r\n";

// What the stand-in forms saw.
QStringList events;

struct LoginScript {
    bool result = true;
    bool loadsMain = true; // as the real sign-in does on success
    bool unloadsItself = false;
} login;

class StandInForm : public QWidget, public gForm {
public:
    explicit StandInForm(QString name) : name_(std::move(name)) {}
    void formLoad() override {
        events +=
            QStringLiteral("load %1%2").arg(name_, gHiddenStart ? QStringLiteral(" hidden") : QString());
    }

protected:
    QString name_;
};

class StandInLogin : public StandInForm, public gLoginForm {
public:
    StandInLogin() : StandInForm(QStringLiteral("frmLogin")) {}
    bool cmd1Click() override {
        events += QStringLiteral("sign in%1").arg(gHiddenStart ? QStringLiteral(" hidden") : QString());
        if (login.result && login.loadsMain) forms::load(Form::frmMain);
        if (login.unloadsItself || login.result) forms::unload(Form::frmLogin);
        return login.result;
    }
};

void registerStandIns() {
    gRegisterAccountWindows();
    gRegisterShellWindows();
    forms::registerForm(Form::frmCreateAccount,
                        [] { return new StandInForm(QStringLiteral("frmCreateAccount")); });
    forms::registerForm(Form::frmMain, [] { return new StandInForm(QStringLiteral("frmMain")); });
    forms::registerForm(Form::frmLogin, [] { return new StandInLogin; });
}

struct ProgramEnded {
    int code;
};

bool visible(gFormName name) {
    QWidget* w = forms::find(name);
    return w && w->isVisible();
}

const QString kNoPassword = QString::fromLatin1(clsMD5::kEmptyDigest);

class StartupTest : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        events.clear();
        login = {};
        registerStandIns();
        gStartupSeam::releaseInstanceLock();
        gEndSeam::setHandler([](int code) { throw ProgramEnded{code}; });
        gCommandLine.clear();
        prog_ = home().folder(QStringLiteral("my prog"));
        gStartupSeam::setProgram(prog_, QStringLiteral("Rededera"));
        writeFile(prog_ + QStringLiteral("Rededera.exe.manifest"), kManifest);
        docs_ = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    }
    void TearDown() override {
        gStartupSeam::releaseInstanceLock();
        gStartupSeam::reset();
        HomeTest::TearDown();
        gEndSeam::setHandler(nullptr);
        gCommandLine.clear();
        gDataPath.clear();
    }
    QString userFolder() const { return docs_ + QStringLiteral("/Rededera/"); }
    QString profile() const { return userFolder() + QStringLiteral("Userdata.ini"); }
    void writeAccount(const QString& hash,
                      const QString& optionBits = QStringLiteral("111001110110110000000")) {
        AccountProfile p;
        p.UserName = QStringLiteral("小红");
        p.PasswordHash = hash;
        p.RecordKey = QStringLiteral("31337");
        p.PictureIndex = QStringLiteral("2");
        p.OptionBits = optionBits;
        p.LockTimeout = p.AutoSaveInterval = QStringLiteral("5");
        p.RemindLead = QStringLiteral("30");
        QDir().mkpath(userFolder());
        ASSERT_TRUE(scrambled::writeFile(profile(), p.fields(), 21, true));
    }
    QString prog_;
    QString docs_;
};

// Start-up's first run and the user folder

TEST_F(StartupTest, FirstRunWritesTheManifestAndStopsThenTheNextStartGoesOn) {
    const QString manifest = prog_ + QStringLiteral("Rededera.exe.manifest");
    QFile::remove(manifest);
    Main();
    EXPECT_EQ(readFile(manifest), kManifest);
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::RestartAfterSetup});
    EXPECT_TRUE(forms::loadedNames().isEmpty());
    EXPECT_EQ(gAppPath, prog_);

    Main();
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::RestartAfterSetup});
    EXPECT_TRUE(visible(Form::frmCreateAccount));
}

TEST_F(StartupTest, AProgramFolderThatCannotBeWrittenGoesOnWithoutTheManifest) {
    writeFile(home().path() + QStringLiteral("/plain"), "x");
    gStartupSeam::setProgram(home().path() + QStringLiteral("/plain/bin"), QStringLiteral("Rededera"));
    Main();
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    EXPECT_TRUE(visible(Form::frmCreateAccount));
    EXPECT_EQ(gAppPath, home().path() + QStringLiteral("/plain/bin/"));
}

TEST_F(StartupTest, WithoutAProfileAccountCreationOpensInTheDocumentsFolder) {
    Main();
    EXPECT_EQ(events, QStringList{QStringLiteral("load frmCreateAccount")});
    EXPECT_TRUE(visible(Form::frmCreateAccount));
    EXPECT_EQ(gPathOption, PathOption::Documents);
    EXPECT_EQ(gDataPath, userFolder());
    EXPECT_TRUE(QFileInfo(gDataPath).isDir());
    EXPECT_EQ(gDatabaseFile, userFolder() + QStringLiteral("Userdata.dat"));
    EXPECT_EQ(gPictureFile, userFolder() + QStringLiteral("UserPicture.dat"));
    // Looking for the profile never creates one.
    EXPECT_FALSE(QFileInfo::exists(profile()));
}

TEST_F(StartupTest, UserFolderByPathOption) {
    gAppPath = prog_;
    const QString work = home().path() + QStringLiteral("/work/deep/er");
    const struct {
        const char* option; // nullptr: not set
        QString workPath;   // empty: not set
        QString expected;
        int expectedOption;
    } cases[] = {
        {nullptr, {}, userFolder(), PathOption::Documents},
        {"1", {}, prog_, PathOption::ProgramFolder},
        {"2", work, userFolder(), PathOption::Documents},
        {"3", work, work + "/", PathOption::Chosen},
        {"3", work + "/", work + "/", PathOption::Chosen},
        {"3", {}, prog_, PathOption::Chosen},
        {" 3 ", work, work + "/", PathOption::Chosen},
        // the root is no user folder: anything else is the documents folder
        {"0", work, userFolder(), PathOption::Documents},
        {"4", work, userFolder(), PathOption::Documents},
        {"x", work, userFolder(), PathOption::Documents},
        {"", work, userFolder(), PathOption::Documents},
    };
    for (const auto& c : cases) {
        settings::remove("Rededera", "Option", "PathOption");
        settings::remove("Rededera", "Option", "WorkPath");
        if (c.option) settings::save("Rededera", "Option", "PathOption", QString::fromLatin1(c.option));
        if (!c.workPath.isEmpty()) settings::save("Rededera", "Option", "WorkPath", c.workPath);
        QDir(work).removeRecursively();
        gInitPaths();
        EXPECT_EQ(gDataPath, c.expected) << (c.option ? c.option : "(none)");
        EXPECT_EQ(gPathOption, c.expectedOption) << (c.option ? c.option : "(none)");
        EXPECT_TRUE(QFileInfo(gDataPath).isDir()) << qPrintable(gDataPath);
        EXPECT_EQ(gDatabaseFile, c.expected + "Userdata.dat");
    }
}

TEST_F(StartupTest, AUserFolderTheProgramMakesIsOwnerOnly) {
    OpenUmask open;
    const QString made = home().path() + QStringLiteral("/new/place/");
    settings::save("Rededera", "Option", "PathOption", "3");
    settings::save("Rededera", "Option", "WorkPath", made);
    gInitPaths();
    EXPECT_EQ(fileMode(made), 0700);
    // A folder that was there is the user's: left as it is.
    const QString there = home().folder(QStringLiteral("there"));
    ASSERT_TRUE(QFile::setPermissions(there, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                 QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                                 QFile::ExeOther));
    settings::save("Rededera", "Option", "WorkPath", there);
    gInitPaths();
    EXPECT_EQ(fileMode(there), 0755);
}

// The first start under a permissive umask: the documents folder does not exist
// yet, and the program makes it on the way to its own folder.
TEST_F(StartupTest, TheDocumentsFolderAndTheSettingsAreOwnerOnlyOnAFirstStart) {
    OpenUmask open;
    ASSERT_FALSE(QFileInfo::exists(docs_));
    Main();
    ASSERT_TRUE(visible(Form::frmCreateAccount));
    EXPECT_EQ(gDataPath, userFolder());
    EXPECT_EQ(fileMode(docs_), 0700);
    EXPECT_EQ(fileMode(userFolder()), 0700);

    // The user then chooses a folder of their own: the settings say so, for them alone.
    dialogs::seam::pushAnswer(home().path() + QStringLiteral("/chosen"));
    ASSERT_TRUE(gChooseDataFolder(nullptr));
    EXPECT_EQ(fileMode(settings::filePath()), 0600);
    EXPECT_EQ(fileMode(QFileInfo(settings::filePath()).absolutePath()), 0700);
}

TEST_F(StartupTest, ABlankWorkPathIsTheProgramFolderNotTheRoot) {
    gAppPath = prog_;
    settings::save("Rededera", "Option", "PathOption", "3");
    for (const char* blank : {"", "  "}) {
        settings::save("Rededera", "Option", "WorkPath", QString::fromLatin1(blank));
        gInitPaths();
        EXPECT_EQ(gDataPath, prog_) << '"' << blank << '"';
        EXPECT_EQ(gPathOption, PathOption::Chosen);
    }
}

TEST_F(StartupTest, ADocumentsFolderEndingWithASlashGetsNoSecondOne) {
    const QString docs = home().path() + QStringLiteral("/My Docs/");
    writeFile(home().config() + QStringLiteral("/user-dirs.dirs"),
              QStringLiteral("XDG_DOCUMENTS_DIR=\"%1\"\n").arg(docs).toUtf8());
    gAppPath = prog_;
    gInitPaths();
    EXPECT_EQ(gDataPath, home().path() + QStringLiteral("/My Docs/Rededera/"));
    EXPECT_TRUE(QFileInfo(gDataPath).isDir());
}

TEST_F(StartupTest, AUserFolderThatCannotBeMadeEndsTheProgramThroughTheErrorBox) {
    writeFile(home().path() + QStringLiteral("/plain"), "x");
    settings::save("Rededera", "Option", "PathOption", "3");
    settings::save("Rededera", "Option", "WorkPath", home().path() + QStringLiteral("/plain/data/"));
    gAppPath = prog_;
    try {
        gInitPaths();
        FAIL() << "no error";
    } catch (const gRuntimeError& e) {
        EXPECT_EQ(e.number(), gErr::PathFileAccess);
    }
    EXPECT_THROW(Main(), ProgramEnded);
    ASSERT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_FALSE(gMsgBoxSeam::errors()[0].continueRun);
    EXPECT_TRUE(forms::loadedNames().isEmpty());
}

TEST_F(StartupTest, ChoosingAFolderStoresItAsPathOption3) {
    dialogs::seam::pushAnswer(home().path() + QStringLiteral("/chosen"));
    EXPECT_TRUE(gChooseDataFolder(nullptr));
    EXPECT_EQ(settings::get("Rededera", "Option", "PathOption"), QStringLiteral("3"));
    EXPECT_EQ(settings::get("Rededera", "Option", "WorkPath"), home().path() + QStringLiteral("/chosen/"));
    ASSERT_EQ(dialogs::seam::asked().size(), 1);
    EXPECT_EQ(dialogs::seam::asked()[0].kind, QStringLiteral("folder"));
    EXPECT_EQ(dialogs::seam::asked()[0].title, QStringLiteral("选择用户配置文件存放的目录："));

    settings::save("Rededera", "Option", "PathOption", "1");
    dialogs::seam::pushAnswer(QString()); // cancelled
    EXPECT_FALSE(gChooseDataFolder(nullptr));
    EXPECT_EQ(settings::get("Rededera", "Option", "PathOption"), QStringLiteral("1"));
}

// The command line and the automatic sign-in

TEST(StartupSwitch, OnlySlashSCountsOnceTrimmedAndUpperCased) {
    for (const char* yes : {"/s", "/S", " /S ", "  /s"})
        EXPECT_TRUE(gIsHiddenSwitch(QString::fromLatin1(yes))) << yes;
    for (const char* no : {"", "/S x", "/SS", "S", "-s", "/ S", "//S"})
        EXPECT_FALSE(gIsHiddenSwitch(QString::fromLatin1(no))) << no;
}

TEST_F(StartupTest, AProfileLeadsToTheSignInWindow) {
    writeAccount(QStringLiteral("900150983CD24FB0D6963F7D28E17F72"));
    Main();
    EXPECT_EQ(events, QStringList{QStringLiteral("load frmLogin")});
    EXPECT_TRUE(visible(Form::frmLogin));
    EXPECT_EQ(gUserName, QStringLiteral("小红"));
    EXPECT_EQ(gRecordKey, QStringLiteral("31337"));
    EXPECT_EQ(gPictureIndex, 2);
}

struct AutoCase {
    const char* name;
    bool password;
    const char* optionBits;
    const char* commandLine;
    bool signInResult;
    QStringList events;
    bool loginShown;
    bool mainLoaded;
};

class StartupAutoSignIn : public StartupTest, public ::testing::WithParamInterface<AutoCase> {};

TEST_P(StartupAutoSignIn, FollowsTheSwitchAndTheOptions) {
    const AutoCase& c = GetParam();
    writeAccount(c.password ? QStringLiteral("900150983CD24FB0D6963F7D28E17F72") : kNoPassword,
                 QString::fromLatin1(c.optionBits));
    gCommandLine = QString::fromLatin1(c.commandLine);
    login.result = c.signInResult;
    Main();
    EXPECT_EQ(events, c.events);
    EXPECT_EQ(visible(Form::frmLogin), c.loginShown);
    EXPECT_EQ(forms::isLoaded(Form::frmMain), c.mainLoaded);
    if (c.mainLoaded) EXPECT_FALSE(visible(Form::frmMain));
    EXPECT_FALSE(gHiddenStart);
}

// options 9 and 10 (1-based characters 10 and 11)
const char* kAutoOn = "000000000110000000000";
const char* kAutoOff = "000000000100000000000";

INSTANTIATE_TEST_SUITE_P(
    Cases, StartupAutoSignIn,
    ::testing::Values(
        AutoCase{"hidden start",
                 false,
                 kAutoOff,
                 "/s",
                 true,
                 {"load frmLogin", "sign in hidden", "load frmMain hidden"},
                 false,
                 true},
        AutoCase{"hidden start blanks",
                 false,
                 kAutoOff,
                 " /S ",
                 true,
                 {"load frmLogin", "sign in hidden", "load frmMain hidden"},
                 false,
                 true},
        AutoCase{"options on",
                 false,
                 kAutoOn,
                 "",
                 true,
                 {"load frmLogin", "sign in", "load frmMain"},
                 false,
                 true},
        AutoCase{"options off", false, kAutoOff, "", true, {"load frmLogin"}, true, false},
        AutoCase{"other switch", false, kAutoOff, "/S x", true, {"load frmLogin"}, true, false},
        AutoCase{"password with switch", true, kAutoOn, "/S", true, {"load frmLogin"}, true, false},
        // a failed sign-in leaves the window for the user, and no main window without a database
        AutoCase{"hidden start fails",
                 false,
                 kAutoOff,
                 "/S",
                 false,
                 {"load frmLogin", "sign in hidden"},
                 true,
                 false},
        AutoCase{"options on fails", false, kAutoOn, "", false, {"load frmLogin", "sign in"}, true, false}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST_F(StartupTest, HiddenStartLoadsTheMainWindowItselfWhenTheSignInDidNot) {
    // The sign-in may open today's-classes report in place of the main window.
    writeAccount(kNoPassword);
    gCommandLine = QStringLiteral("/S");
    login.loadsMain = false;
    Main();
    EXPECT_EQ(events, (QStringList{"load frmLogin", "sign in hidden", "load frmMain hidden"}));
}

TEST_F(StartupTest, AFailedSignInThatClosedItsWindowShowsNothing) {
    writeAccount(kNoPassword);
    gCommandLine = QStringLiteral("/S");
    login.result = false;
    login.unloadsItself = true;
    Main();
    EXPECT_FALSE(forms::isLoaded(Form::frmLogin));
    EXPECT_FALSE(forms::isLoaded(Form::frmMain));
}

TEST_F(StartupTest, TheRunValueFollowsOption4WithTheProgramsRealPath) {
    writeAccount(QStringLiteral("900150983CD24FB0D6963F7D28E17F72"), QStringLiteral("000010000000000000000"));
    Main();
    const auto run = reg::getString(reg::HKEY_CURRENT_USER, kRunKey, QStringLiteral("Rededera"));
    ASSERT_TRUE(run.has_value());
    EXPECT_EQ(*run, prog_ + QStringLiteral("Rededera /s"));
    const QString entry = QString::fromUtf8(readFile(reg::autostartFile()));
    EXPECT_TRUE(entry.contains(QStringLiteral("Exec=\"%1Rededera\" /s").arg(prog_))) << qPrintable(entry);

    forms::unloadAllNow();
    writeAccount(QStringLiteral("900150983CD24FB0D6963F7D28E17F72"), QStringLiteral("000000000000000000000"));
    Main();
    EXPECT_FALSE(reg::getString(reg::HKEY_CURRENT_USER, kRunKey, QStringLiteral("Rededera")).has_value());
    EXPECT_FALSE(QFileInfo::exists(reg::autostartFile()));
}

// The bad-profile choices

class StartupBadProfile : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        QDir().mkpath(userFolder());
        writeFile(profile(), scrambled::encode({QStringLiteral("NotOurs")}, 9, true));
        before_ = readFile(profile());
    }
    QByteArray before_;
};

TEST_F(StartupBadProfile, RecreateThenCancelAsksAgainAndCloseStops) {
    gMsgBoxSeam::pushAnswers({gMsgResult::First, gMsgResult::Cancel, gMsgResult::Third});
    Main();
    EXPECT_EQ(gMsgBoxSeam::shownIds(),
              (QList<int>{Msg::ProfileBroken, Msg::ConfirmRecreateProfile, Msg::ProfileBroken}));
    EXPECT_EQ(gMsgBoxSeam::shown()[0].buttonSet, gButtonSet::RecreateLocateClose);
    EXPECT_EQ(gMsgBoxSeam::shown()[1].buttonSet, gButtonSet::OkCancel);
    EXPECT_EQ(readFile(profile()), before_);
    EXPECT_TRUE(forms::loadedNames().isEmpty());
}

struct SetAsideCase {
    const char* name;
    QStringList present; // copies already there, by their endings ("/": a folder)
    bool folderInPlace;  // a folder stands where the profile should be
    const char* copy;    // where the profile goes
};

// The profile holds the record key: recreating keeps it, never over an earlier copy.
TEST_F(StartupBadProfile, RecreateSetsTheProfileAsideAndOpensAccountCreation) {
    const SetAsideCase cases[] = {
        {"first copy", {}, false, ".old"},
        {"after one", {".old"}, false, ".1.old"},
        {"after two", {".old", ".1.old"}, false, ".2.old"},
        {"a gap", {".1.old"}, false, ".old"},
        {"a folder named like a copy", {".old/"}, false, ".1.old"},
        {"a folder in its place", {}, true, ".old"},
    };
    for (const SetAsideCase& c : cases) {
        SCOPED_TRACE(c.name);
        forms::unloadAllNow();
        events.clear();
        gMsgBoxSeam::reset();
        QDir(userFolder()).removeRecursively();
        QDir().mkpath(userFolder());
        const QString inside = QStringLiteral("/inside");
        if (c.folderInPlace)
            writeFile(profile() + inside, before_);
        else
            writeFile(profile(), before_);
        for (const QString& ending : c.present)
            writeFile(profile() + (ending.endsWith('/') ? ending + QStringLiteral("inside") : ending),
                      ("earlier " + ending).toUtf8());

        gMsgBoxSeam::pushAnswers({gMsgResult::First, gMsgResult::OK});
        Main();
        const QString copy = profile() + QString::fromLatin1(c.copy);
        EXPECT_EQ(gMsgBoxSeam::shownIds(),
                  (QList<int>{Msg::ProfileBroken, Msg::ConfirmRecreateProfile, Msg::ProfileSavedAside}));
        EXPECT_EQ(gMsgBoxSeam::shown().value(2).args.value(0), copy);
        EXPECT_FALSE(QFileInfo::exists(profile()));
        EXPECT_EQ(readFile(c.folderInPlace ? copy + inside : copy), before_);
        if (!c.folderInPlace) EXPECT_EQ(fileMode(copy), 0600);
        for (const QString& ending : c.present)
            EXPECT_EQ(
                readFile(profile() + (ending.endsWith('/') ? ending + QStringLiteral("inside") : ending)),
                ("earlier " + ending).toUtf8());
        EXPECT_EQ(events, QStringList{QStringLiteral("load frmCreateAccount")});
        EXPECT_TRUE(visible(Form::frmCreateAccount));
    }
}

TEST_F(StartupBadProfile, AnotherFolderIsStoredAndStartUpRunsThere) {
    const QString chosen = home().path() + QStringLiteral("/elsewhere");
    QDir().mkpath(chosen);
    gMsgBoxSeam::pushAnswers({gMsgResult::Second});
    dialogs::seam::pushAnswer(chosen);
    Main();
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::ProfileBroken});
    EXPECT_EQ(settings::get("Rededera", "Option", "PathOption"), QStringLiteral("3"));
    EXPECT_EQ(settings::get("Rededera", "Option", "WorkPath"), chosen + "/");
    EXPECT_EQ(gDataPath, chosen + "/");
    EXPECT_TRUE(visible(Form::frmCreateAccount));
    EXPECT_EQ(readFile(profile()), before_); // the bad one is left alone
}

TEST_F(StartupBadProfile, ACancelledFolderChoiceAsksAgain) {
    gMsgBoxSeam::pushAnswers({gMsgResult::Second, gMsgResult::Third});
    dialogs::seam::pushAnswer(QString());
    Main();
    EXPECT_EQ(gMsgBoxSeam::shownIds(), (QList<int>{Msg::ProfileBroken, Msg::ProfileBroken}));
    EXPECT_TRUE(settings::get("Rededera", "Option", "PathOption").isEmpty());
    EXPECT_TRUE(forms::loadedNames().isEmpty());
}

TEST_F(StartupBadProfile, AnEmptyProfileIsBadToo) {
    writeFile(profile(), QByteArray());
    gMsgBoxSeam::pushAnswers({gMsgResult::Third});
    EXPECT_FALSE(gLoadUserData());
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::ProfileBroken});
}

// Nothing can sign in to a profile that names no account.
TEST_F(StartupBadProfile, AProfileOfOnlyItsKeyIsBad) {
    writeFile(profile(), scrambled::encode({}, 9, true));
    gMsgBoxSeam::pushAnswers({gMsgResult::Third});
    Main();
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::ProfileBroken});
    EXPECT_TRUE(forms::loadedNames().isEmpty());
}

TEST_F(StartupBadProfile, ARecordKeyThatIsNotDigitsIsBad) {
    AccountProfile p;
    p.UserName = QStringLiteral("小红");
    p.PasswordHash = kNoPassword;
    p.PictureIndex = QStringLiteral("2");
    p.OptionBits = QStringLiteral("111001110110110000000");
    p.LockTimeout = p.AutoSaveInterval = QStringLiteral("5");
    p.RemindLead = QStringLiteral("30");
    ASSERT_TRUE(scrambled::writeFile(profile(), p.fields(), 21, true));
    gMsgBoxSeam::pushAnswers({gMsgResult::Third});
    Main();
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::ProfileBroken});
    EXPECT_TRUE(forms::loadedNames().isEmpty());
}

// A profile that cannot be set aside says why and the choices stay.
TEST_F(StartupBadProfile, AProfileThatCannotBeSetAsideIsReported) {
    // A folder so deep that the profile's name fits the system's limit and its copy's does not.
    QString folder = home().path() + QLatin1Char('/');
    const int length = PATH_MAX - 1 - int(QByteArray("Userdata.ini").size());
    while (folder.size() + 201 < length)
        folder += QString(200, QLatin1Char('d')) + QLatin1Char('/');
    folder += QString(length - int(folder.size()) - 1, QLatin1Char('e')) + QLatin1Char('/');
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString deep = writeFile(folder + QStringLiteral("Userdata.ini"), before_);
    ASSERT_EQ(QFile::encodeName(deep).size(), PATH_MAX - 1);
    settings::save("Rededera", "Option", "PathOption", "3");
    settings::save("Rededera", "Option", "WorkPath", folder);

    gMsgBoxSeam::pushAnswers({gMsgResult::First, gMsgResult::OK, gMsgResult::Third});
    Main();
    EXPECT_EQ(gMsgBoxSeam::shownIds(),
              (QList<int>{Msg::ProfileBroken, Msg::ConfirmRecreateProfile, Msg::ProfileBroken}));
    ASSERT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_TRUE(gMsgBoxSeam::errors()[0].continueRun);
    EXPECT_EQ(gMsgBoxSeam::errors()[0].description,
              QStringLiteral("无法将帐户配置文件 \"%1\" 另存为副本：文件名太长。").arg(deep));
    EXPECT_EQ(readFile(deep), before_);
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("Userdata.ini")});
    EXPECT_TRUE(forms::loadedNames().isEmpty());
}

// One instance per user

const char* kChildMode = "REDEDERA_STARTUP_CHILD";

// How this process behaves while the second one runs: busy (it answers
// nothing meanwhile, as a hung program would) or going on with its events.
enum class Running { Busy, Serving };

// Runs this test program again as a second instance of the program.
QStringList runChild(const QString& mode, const QString& runtime, const QString& program,
                     Running running = Running::Busy) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildMode), mode);
    env.insert(QStringLiteral("REDEDERA_CHILD_RUNTIME"), runtime);
    env.insert(QStringLiteral("REDEDERA_CHILD_PROGRAM"), program);
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationFilePath(),
            {QStringLiteral("--gtest_filter=StartupChildProcess.Helper")});
    bool finished = false;
    if (running == Running::Serving) {
        QEventLoop loop;
        QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&p, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
        finished = p.state() == QProcess::NotRunning;
    } else {
        finished = p.waitForFinished(60000);
    }
    if (!finished) {
        p.kill();
        p.waitForFinished();
        return {QStringLiteral("timeout")};
    }
    QStringList lines;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("CHILD "))) lines += line.mid(6).trimmed();
    return lines;
}

TEST_F(StartupTest, ASecondProcessIsRefusedAndACrashedOneDoesNotBlock) {
    Main(); // this process is the running instance
    ASSERT_TRUE(forms::isLoaded(Form::frmCreateAccount));
    // Busy, it does not answer the second start, which therefore says why it stops.
    EXPECT_EQ(runChild("main", home().runtime(), prog_), (QStringList{"shown=138", "loaded="}));

    // Main again in the same process passes.
    forms::unloadAllNow();
    Main();
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    EXPECT_TRUE(forms::isLoaded(Form::frmCreateAccount));

    gStartupSeam::releaseInstanceLock();
    EXPECT_EQ(runChild("main", home().runtime(), prog_), (QStringList{"shown=", "loaded=frmCreateAccount"}));

    // A killed instance leaves its lock file and its socket behind; the next
    // start takes both over and is the one a second start finds.
    forms::unloadAllNow();
    gStartupSeam::releaseInstanceLock();
    EXPECT_EQ(runChild("crash", home().runtime(), prog_), QStringList{"locked"});
    EXPECT_TRUE(QFileInfo::exists(gInstanceLockFile()));
    EXPECT_TRUE(QFileInfo::exists(gSecondStartSocket()));
    Main();
    ASSERT_TRUE(gIsListening());
    EXPECT_EQ(runChild("main", home().runtime(), prog_, Running::Serving),
              (QStringList{"shown=", "loaded="}));
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
}

TEST_F(StartupTest, ASecondStartBringsTheRunningOneForwardAndEndsQuietly) {
    Main();
    QWidget* create = forms::find(Form::frmCreateAccount);
    ASSERT_NE(create, nullptr);
    create->showMinimized();
    ASSERT_TRUE(create->isMinimized());

    EXPECT_EQ(runChild("main", home().runtime(), prog_, Running::Serving),
              (QStringList{"shown=", "loaded="}));
    EXPECT_TRUE(create->isVisible());
    EXPECT_FALSE(create->isMinimized());
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    // Coming forward loaded nothing new.
    EXPECT_EQ(forms::loadedNames(), QStringList{"frmCreateAccount"});
}

TEST_F(StartupTest, ARunningProgramThatDoesNotListenIsReported) {
    // The lock taken as an earlier version of the program takes it, with no socket.
    QLockFile held(gInstanceLockFile());
    ASSERT_TRUE(held.tryLock(0));
    ASSERT_FALSE(QFileInfo::exists(gSecondStartSocket()));
    EXPECT_EQ(runChild("main", home().runtime(), prog_, Running::Serving),
              (QStringList{"shown=138", "loaded="}));
}

// Not a test of its own: the second process of the test above.
TEST(StartupChildProcess, Helper) {
    const QByteArray mode = qgetenv(kChildMode);
    if (mode.isEmpty()) GTEST_SKIP() << "runs only as the child of the instance test";
    qputenv("XDG_RUNTIME_DIR", qgetenv("REDEDERA_CHILD_RUNTIME"));
    gMsgBoxSeam::setScripted(true);
    if (mode == "crash") {
        const bool locked = gClaimSingleInstance();
        std::cout << (locked ? "CHILD locked" : "CHILD refused") << std::endl;
        std::_Exit(0); // no clean-up: the lock file stays
    }
    registerStandIns();
    gStartupSeam::setProgram(QString::fromLocal8Bit(qgetenv("REDEDERA_CHILD_PROGRAM")),
                             QStringLiteral("Rededera"));
    Main();
    QStringList ids;
    for (int id : gMsgBoxSeam::shownIds())
        ids += QString::number(id);
    std::cout << "CHILD shown=" << ids.join(QLatin1Char(',')).toStdString() << "\n"
              << "CHILD loaded=" << forms::loadedNames().join(QLatin1Char(',')).toStdString() << std::endl;
    forms::unloadAllNow();
    gStartupSeam::releaseInstanceLock();
}

} // namespace

// The settings page's save and cancel: what reaches the profile, the settings
// store and the start-with-the-desktop entry, the restart after a change of the
// user folder, and writes that fail.
#include "settingsPageFixture.h"

#include "accounts/frmCreateAccount.h"
#include "accounts/frmLogin.h"
#include "core/model/clsMD5.h"
#include "core/model/gDatabase.h"
#include "core/base/gError.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/ui/gShared.h"
#include "platform/registry.h"
#include "timetable/frmScheReport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include <ostream>

namespace {

class SettingsPageSave : public SettingsPageBase {
protected:
    // The account variables as the profile on disk gives them.
    void readBack() {
        gResetAccountState();
        ASSERT_TRUE(gReadUserData());
    }
    static std::optional<QString> runValue() {
        return reg::getString(HKEY_CURRENT_USER, kRunKey, QStringLiteral("Rededera"));
    }
};

TEST_F(SettingsPageSave, SaveWritesOptionsAndMinutesToTheProfile) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    const QString dataPath = gDataPath;
    const auto before = gOptions;
    for (const char* k : {"C1", "C3", "C8", "C11", "C14"})
        click(QString::fromLatin1(k));
    click(QStringLiteral("D1"));
    enter(QStringLiteral("45"));
    click(QStringLiteral("D2"));
    enter(QStringLiteral("0"));
    click(QStringLiteral("D3"));
    enter(QStringLiteral("31000"));
    const auto edited = gOptions;
    ASSERT_NE(edited, before);

    p->saveButton->click();

    // Same folder and choice: no restart, back to the home page.
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
    EXPECT_FALSE(forms::isLoaded(Form::frmSet));
    EXPECT_EQ(gMainWindow(), main_);
    EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Home));
    EXPECT_TRUE(gConnection.isOpen());
    EXPECT_EQ(setting(QStringLiteral("PathOption")), QStringLiteral("2"));
    EXPECT_EQ(setting(QStringLiteral("WorkPath")), QString());
    // The page switch read the saved profile back: it holds the edits.
    EXPECT_EQ(gOptions, edited);
    EXPECT_EQ(gDataPath, dataPath);
    readBack();
    EXPECT_EQ(gOptions, edited);
    EXPECT_EQ(gAutoSaveInterval, 45);
    EXPECT_EQ(gLockTimeout, 0);
    EXPECT_EQ(gRemindLead, 30000);
    EXPECT_EQ(gUserName, QStringLiteral("Ann"));
    EXPECT_EQ(gPictureIndex, 3);
}

TEST_F(SettingsPageSave, HiddenOptionsKeepTheirValues) {
    gOption(Option::Reserved5) = true;
    gOption(Option::Reserved14) = true;
    gOption(Option::Reserved20) = true;
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    click(QStringLiteral("C2"));
    p->saveButton->click();
    readBack();
    EXPECT_TRUE(gOption(Option::Reserved5));
    EXPECT_TRUE(gOption(Option::Reserved14));
    EXPECT_TRUE(gOption(Option::Reserved20));
    EXPECT_TRUE(gOption(Option::HideFloatingWithMain));
    EXPECT_FALSE(gOption(Option::Reserved15));
}

TEST_F(SettingsPageSave, CancelUndoesEveryChange) {
    gOption(Option::StartWithSystem) = true;
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    const QByteArray profile = readFile(gProfileFile());
    const auto options = gOptions;
    const QString dataPath = gDataPath;
    for (const char* k : {"C1", "C5", "C9", "C9", "C9", "C12", "E1"})
        click(QString::fromLatin1(k));
    click(QStringLiteral("D2"));
    enter(QStringLiteral("99"));
    click(QStringLiteral("E3"));
    enter(QStringLiteral("/somewhere/else"));
    ASSERT_NE(gOptions, options);

    p->cancelButton->click();

    EXPECT_FALSE(forms::isLoaded(Form::frmSet));
    EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Home));
    EXPECT_EQ(readFile(gProfileFile()), profile);
    EXPECT_EQ(gOptions, options);
    EXPECT_EQ(gLockTimeout, 2);
    EXPECT_EQ(gPathOption, PathOption::Documents);
    EXPECT_EQ(gDataPath, dataPath);
    EXPECT_EQ(setting(QStringLiteral("WorkPath")), QStringLiteral("<absent>"));
    EXPECT_EQ(setting(QStringLiteral("PathOption")), QStringLiteral("<absent>"));
    EXPECT_FALSE(runValue().has_value());
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
}

TEST_F(SettingsPageSave, StartWithTheDesktopFollowsTheOption) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    for (bool on : {true, false, true}) {
        SCOPED_TRACE(on);
        if (gOption(Option::StartWithSystem) != on) click(QStringLiteral("C5"));
        ASSERT_EQ(gOption(Option::StartWithSystem), on);
        p->saveButton->click();
        ASSERT_TRUE(gMsgBoxSeam::errors().isEmpty());
        if (on) {
            ASSERT_TRUE(runValue().has_value());
            EXPECT_EQ(*runValue(), program_ + QStringLiteral("Rededera /s"));
        } else {
            EXPECT_FALSE(runValue().has_value());
        }
        ASSERT_TRUE(main_->gChangeFrame(Page::Settings));
        p = page();
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(gOption(Option::StartWithSystem), on);
    }
}

// What the page writes says which folder and which program the session trusts:
// the user's alone under any umask, the new folder included.
TEST_F(SettingsPageSave, WhatTheSaveWritesIsOwnerOnlyUnderAnOpenUmask) {
    OpenUmask open;
    // The fixture's own settings were written before: start from none.
    QDir(home().config() + QStringLiteral("/Rededera")).removeRecursively();
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    click(QStringLiteral("C5"));
    ASSERT_TRUE(gOption(Option::StartWithSystem));
    const QString folder = home().path() + QStringLiteral("/open/diary");
    click(QStringLiteral("E3"));
    enter(folder);

    p->saveButton->click();

    ASSERT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::RestartForNewFolder});
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
    EXPECT_EQ(setting(QStringLiteral("WorkPath")), folder + QStringLiteral("/"));
    EXPECT_EQ(fileMode(settings::filePath()), 0600);
    EXPECT_EQ(fileMode(home().config() + QStringLiteral("/Rededera")), 0700);
    EXPECT_EQ(fileMode(reg::autostartFile()), 0600);
    // The restart made the chosen folder, every level of it.
    EXPECT_EQ(gDataPath, folder + QStringLiteral("/"));
    EXPECT_EQ(fileMode(folder), 0700);
    EXPECT_EQ(fileMode(home().path() + QStringLiteral("/open")), 0700);
}

TEST_F(SettingsPageSave, EmptyCustomFolderSavesAsTheDocumentsFolder) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    click(QStringLiteral("E3"));
    enter(QString());
    ASSERT_EQ(gPathOption, PathOption::Chosen);
    p->saveButton->click();
    EXPECT_EQ(setting(QStringLiteral("PathOption")), QStringLiteral("2"));
    // No lone "/" is stored as a folder.
    EXPECT_EQ(setting(QStringLiteral("WorkPath")), QString());
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
    EXPECT_EQ(gMainWindow(), main_);
    EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Home));
}

TEST_F(SettingsPageSave, NewCustomFolderRestartsTheProgramThere) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    const QString oldFolder = gDataPath;
    click(QStringLiteral("C7"));
    const bool clipboardOption = gOption(Option::OfferClipboard);
    const QString folder = home().path() + QStringLiteral("/elsewhere/diary");
    click(QStringLiteral("E3"));
    enter(folder);

    p->saveButton->click();

    ASSERT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::RestartForNewFolder});
    EXPECT_EQ(gMsgBoxSeam::shown().first().buttonSet, gButtonSet::Close);
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
    EXPECT_EQ(setting(QStringLiteral("PathOption")), QStringLiteral("3"));
    EXPECT_EQ(setting(QStringLiteral("WorkPath")), folder + QStringLiteral("/"));
    // The main window went with its database; the start-up ran in the new,
    // empty folder and offers to create an account there.
    EXPECT_EQ(gMainWindow(), nullptr);
    EXPECT_FALSE(forms::isLoaded(Form::frmSet));
    EXPECT_FALSE(gConnection.isOpen());
    EXPECT_FALSE(gRestartPending);
    EXPECT_EQ(gDataPath, folder + QStringLiteral("/"));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(forms::isLoaded(Form::frmCreateAccount));
    EXPECT_FALSE(forms::isLoaded(Form::frmLogin));
    // The old folder keeps its files, and its profile holds the saved options.
    EXPECT_TRUE(QFile::exists(oldFolder + QStringLiteral("Userdata.ini")));
    EXPECT_TRUE(QFile::exists(oldFolder + QStringLiteral("Userdata.dat")));
    EXPECT_FALSE(QFile::exists(gDataPath + QStringLiteral("Userdata.ini")));
    gDataPath = oldFolder;
    readBack();
    EXPECT_EQ(gOption(Option::OfferClipboard), clipboardOption);
}

TEST_F(SettingsPageSave, SameCustomFolderAgainDoesNotRestart) {
    const QString folder = home().folder(QStringLiteral("mine"));
    storeSetting(QStringLiteral("PathOption"), QStringLiteral("3"));
    storeSetting(QStringLiteral("WorkPath"), folder);
    gInitPaths();
    ASSERT_EQ(gDataPath, folder);
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(image(QStringLiteral("E3")), QStringLiteral("OT"));
    click(QStringLiteral("E3"));
    enter(folder);
    p->saveButton->click();
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
    EXPECT_EQ(gMainWindow(), main_);
    EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Home));
    EXPECT_TRUE(gConnection.isOpen());
    EXPECT_EQ(gDataPath, folder);

    // The same folder typed without its closing "/" is the same folder.
    ASSERT_TRUE(main_->gChangeFrame(Page::Settings));
    click(QStringLiteral("E3"));
    enter(folder.chopped(1));
    page()->saveButton->click();
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
    EXPECT_EQ(gMainWindow(), main_);
    EXPECT_EQ(setting(QStringLiteral("WorkPath")), folder);
}

TEST_F(SettingsPageSave, BackToAFolderWithAnAccountShowsTheSignIn) {
    // The account lives in the documents folder; the page moves to the program
    // folder, which holds another account.
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    const QString docs = gDataPath;
    {
        const QString saved = gDataPath;
        gDataPath = program_;
        ASSERT_TRUE(gSaveUserData());
        gDataPath = saved;
    }
    click(QStringLiteral("E1"));
    p->saveButton->click();
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::RestartForNewFolder});
    EXPECT_EQ(setting(QStringLiteral("PathOption")), QStringLiteral("1"));
    EXPECT_EQ(gMainWindow(), nullptr);
    EXPECT_EQ(gDataPath, program_);
    EXPECT_TRUE(forms::isLoaded(Form::frmLogin));
    EXPECT_FALSE(forms::isLoaded(Form::frmCreateAccount));
    EXPECT_EQ(gUserName, QStringLiteral("Ann"));
    EXPECT_TRUE(QFile::exists(docs + QStringLiteral("Userdata.ini")));
}

TEST_F(SettingsPageSave, MoveToAnotherAccountSignsInThroughToItsMainWindow) {
    // Both accounts show today's classes at start, the report standing in for
    // the main window until it closes.
    forms::registerForm(Form::frmScheReport, [] { return new frmScheReport; });
    gOption(Option::TodayClassesAtStart) = true;
    const QString docs = gDataPath;
    const QString other = home().folder(QStringLiteral("other"));
    gDataPath = other;
    gUserName = QStringLiteral("Bob");
    gPasswordHash = clsMD5().DigestStrToHexStr(QStringLiteral("bobpw"));
    gRecordKey = QStringLiteral("7654321");
    ASSERT_TRUE(gSaveUserData());
    gDataPath = docs;
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    click(QStringLiteral("E3"));
    enter(other);

    p->saveButton->click();

    ASSERT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::RestartForNewFolder});
    EXPECT_EQ(gMainWindow(), nullptr);
    auto* login = forms::find<frmLogin>(Form::frmLogin);
    ASSERT_NE(login, nullptr);
    EXPECT_TRUE(login->isVisible());
    login->nameEdit->setText(QStringLiteral("Bob"));
    login->passwordEdit->setText(QStringLiteral("bobpw"));
    login->okButton->click();
    EXPECT_EQ(gUserName, QStringLiteral("Bob"));
    EXPECT_FALSE(forms::isLoaded(Form::frmLogin));
    // No classes today: the report closes unseen and brings up the main window.
    for (int i = 0; i < 100 && !gMainWindow(); ++i)
        pumpEvents(5);
    frmMain* m = gMainWindow();
    ASSERT_NE(m, nullptr);
    EXPECT_FALSE(forms::isLoaded(Form::frmScheReport));
    EXPECT_TRUE(m->isVisible());
    EXPECT_FALSE(m->isMinimized());
    EXPECT_TRUE(gCloseMinimizes);
    EXPECT_FALSE(gLocked);
    EXPECT_TRUE(gConnection.isOpen());
    EXPECT_EQ(gDatabaseFile, other + QStringLiteral("Userdata.dat"));
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

TEST_F(SettingsPageSave, StoredChoiceTheStartUpNeverUsedIsNoChange) {
    storeSetting(QStringLiteral("PathOption"), QStringLiteral("banana"));
    gInitPaths();
    ASSERT_EQ(gPathOption, PathOption::Documents);
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    p->saveButton->click();
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
    EXPECT_EQ(gMainWindow(), main_);
    EXPECT_EQ(setting(QStringLiteral("PathOption")), QStringLiteral("2"));
}

// ---- writes that fail ----

TEST_F(SettingsPageSave, ProfileThatCannotBeWrittenIsReported) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    const QByteArray profile = readFile(gProfileFile());
    click(QStringLiteral("C5"));
    click(QStringLiteral("E3"));
    enter(home().path() + QStringLiteral("/other"));
    // The profile's name taken by a folder: the atomic write cannot replace it.
    const QString realProfile = gProfileFile();
    ASSERT_TRUE(QFile::rename(realProfile, realProfile + QStringLiteral(".kept")));
    ASSERT_TRUE(QDir().mkpath(realProfile + QStringLiteral("/x")));

    p->saveButton->click();

    ASSERT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_EQ(gMsgBoxSeam::errors().first().number, gErr::PathFileAccess);
    EXPECT_TRUE(gMsgBoxSeam::errors().first().continueRun);
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
    // Nothing after the profile was written, and the page stays with the edits.
    EXPECT_EQ(setting(QStringLiteral("WorkPath")), QStringLiteral("<absent>"));
    EXPECT_EQ(setting(QStringLiteral("PathOption")), QStringLiteral("<absent>"));
    EXPECT_FALSE(runValue().has_value());
    EXPECT_EQ(page(), p);
    EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Settings));
    EXPECT_TRUE(gOption(Option::StartWithSystem));
    EXPECT_EQ(gPathOption, PathOption::Chosen);
    EXPECT_TRUE(gConnection.isOpen());
    EXPECT_EQ(readFile(realProfile + QStringLiteral(".kept")), profile);
}

TEST_F(SettingsPageSave, CustomFolderThatCannotBeMadeWritesNothing) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    const QByteArray profile = readFile(gProfileFile());
    const QString blocker = writeFile(home().path() + QStringLiteral("/plain.txt"), "not a folder");
    click(QStringLiteral("C1"));
    click(QStringLiteral("E3"));
    enter(blocker + QStringLiteral("/diary"));

    p->saveButton->click();

    ASSERT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_EQ(gMsgBoxSeam::errors().first().number, gErr::PathNotFound);
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
    EXPECT_EQ(readFile(gProfileFile()), profile);
    EXPECT_EQ(setting(QStringLiteral("WorkPath")), QStringLiteral("<absent>"));
    EXPECT_EQ(setting(QStringLiteral("PathOption")), QStringLiteral("<absent>"));
    EXPECT_EQ(page(), p);
    EXPECT_EQ(gMainWindow(), main_);

    // Another folder chosen then saves normally.
    click(QStringLiteral("E2"));
    p->saveButton->click();
    EXPECT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_EQ(setting(QStringLiteral("PathOption")), QStringLiteral("2"));
    EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Home));
}

// A folder the program could not use is refused for every choice, naming it,
// before anything is written.
struct UnusableFolderCase {
    const char* name;
    int option;
};

void PrintTo(const UnusableFolderCase& c, std::ostream* os) {
    *os << c.name;
}

class SettingsPageUnusableFolder : public SettingsPageSave,
                                   public ::testing::WithParamInterface<UnusableFolderCase> {};

TEST_P(SettingsPageUnusableFolder, IsRefusedNamingItAndNothingIsStored) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    const QByteArray profile = readFile(gProfileFile());
    const QString blocker = writeFile(home().path() + QStringLiteral("/plain.txt"), "not a folder");
    const int option = GetParam().option;
    click(QStringLiteral("C5"));
    QString folder;
    switch (option) {
    case 1:
        folder = blocker + QStringLiteral("/program/");
        gAppPath = folder;
        click(QStringLiteral("E1"));
        break;
    case 2:
        // The desktop's documents folder moved to where no folder can be made.
        writeFile(home().config() + QStringLiteral("/user-dirs.dirs"),
                  "XDG_DOCUMENTS_DIR=\"" + blocker.toUtf8() + "/docs\"\n");
        folder = blocker + QStringLiteral("/docs/Rededera/");
        click(QStringLiteral("E2"));
        break;
    default:
        folder = blocker + QStringLiteral("/diary/");
        click(QStringLiteral("E3"));
        enter(folder);
        break;
    }

    p->saveButton->click();

    ASSERT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_TRUE(gMsgBoxSeam::errors().first().description.contains(folder))
        << gMsgBoxSeam::errors().first().description.toStdString();
    EXPECT_TRUE(gMsgBoxSeam::errors().first().continueRun);
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
    EXPECT_EQ(readFile(gProfileFile()), profile);
    EXPECT_EQ(setting(QStringLiteral("WorkPath")), QStringLiteral("<absent>"));
    EXPECT_EQ(setting(QStringLiteral("PathOption")), QStringLiteral("<absent>"));
    EXPECT_FALSE(runValue().has_value());
    EXPECT_EQ(page(), p);
    EXPECT_EQ(gMainWindow(), main_);
    EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Settings));
    EXPECT_TRUE(gConnection.isOpen());
}

INSTANTIATE_TEST_SUITE_P(Choices, SettingsPageUnusableFolder,
                         ::testing::Values(UnusableFolderCase{"ProgramFolder", 1},
                                           UnusableFolderCase{"DocumentsFolder", 2},
                                           UnusableFolderCase{"ChosenFolder", 3}),
                         [](const ::testing::TestParamInfo<UnusableFolderCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(SettingsPageSave, ChosenFolderIsMadeAndLeftWithoutTheTestFile) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    const QString folder = home().path() + QStringLiteral("/new/diary/");
    click(QStringLiteral("E3"));
    enter(folder);
    p->saveButton->click();
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::RestartForNewFolder});
    EXPECT_TRUE(QFileInfo(folder).isDir());
    // Only what the restart put there: no file of the check is left behind.
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        EXPECT_FALSE(name.contains(QStringLiteral("tmp"), Qt::CaseInsensitive)) << name.toStdString();
}

TEST_F(SettingsPageSave, StartEntryThatCannotBeWrittenIsReported) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    // The autostart folder's name taken by a file.
    const QString autostartDir = QFileInfo(reg::autostartFile()).absolutePath();
    QDir(autostartDir).removeRecursively();
    writeFile(autostartDir, "in the way");
    click(QStringLiteral("C5"));
    ASSERT_TRUE(gOption(Option::StartWithSystem));

    p->saveButton->click();

    ASSERT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_EQ(gMsgBoxSeam::errors().first().number, gErr::PathFileAccess);
    EXPECT_EQ(setting(QStringLiteral("PathOption")), QStringLiteral("<absent>"));
    EXPECT_EQ(page(), p);
    EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Settings));
}

TEST_F(SettingsPageSave, SettingsStoreThatCannotBeWrittenIsReported) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    click(QStringLiteral("E3"));
    enter(home().path() + QStringLiteral("/moved"));
    // The store's file name taken by a folder.
    QFile::remove(settings::filePath());
    ASSERT_TRUE(QDir().mkpath(settings::filePath() + QStringLiteral("/x")));

    p->saveButton->click();

    ASSERT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_EQ(gMsgBoxSeam::errors().first().number, gErr::PathFileAccess);
    // No restart into a folder the store does not name.
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
    EXPECT_EQ(gMainWindow(), main_);
    EXPECT_EQ(page(), p);
    EXPECT_TRUE(gConnection.isOpen());
}

} // namespace

#include "platform/registry.h"
#include "platform/settingsStore.h"
#include "testSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <functional>
#include <sys/stat.h>

namespace {
const QString kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
}

class RegistryLayer : public HomeTest {};

TEST_F(RegistryLayer, TheRunValueIsAnAutostartEntry) {
    const QString program = home().path() + "/My Apps/100% Rededera/Rededera";
    ASSERT_TRUE(reg::setString(reg::HKEY_CURRENT_USER, kRun, "Rededera", program + " /s"));

    const QString file = home().config() + "/autostart/rededera.desktop";
    EXPECT_EQ(reg::autostartFile(), file);
    const QString text = QString::fromUtf8(readFile(file));
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\nType=Application\n"));
    EXPECT_TRUE(text.contains("\nName=Rededera\n"));
    EXPECT_TRUE(text.contains("\nX-GNOME-Autostart-enabled=true\n"));
    // The program's own icon, as installed into the icon theme.
    EXPECT_TRUE(text.contains("\nIcon=rededera\n")) << text.toStdString();
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (!validator.isEmpty()) {
        QProcess p;
        p.start(validator, {file});
        ASSERT_TRUE(p.waitForFinished());
        const QByteArray out = p.readAllStandardOutput() + p.readAllStandardError();
        EXPECT_EQ(p.exitCode(), 0) << out.toStdString();
        EXPECT_EQ(out.toStdString(), "");
    }
    // Quoted for the blanks, "%" doubled as a field code escape.
    EXPECT_TRUE(text.contains("\nExec=\"" + home().path() + "/My Apps/100%% Rededera/Rededera\" /s\n"))
        << text.toStdString();

    EXPECT_EQ(reg::getString(reg::HKEY_CURRENT_USER, kRun, "Rededera"), program + " /s");
    // The key is the same with a trailing backslash.
    EXPECT_EQ(reg::getString(reg::HKEY_CURRENT_USER, kRun + "\\", "Rededera"), program + " /s");

    EXPECT_TRUE(reg::deleteValue(reg::HKEY_CURRENT_USER, kRun + "\\", "Rededera"));
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_FALSE(reg::getString(reg::HKEY_CURRENT_USER, kRun, "Rededera").has_value());
}

TEST_F(RegistryLayer, ExecQuotingFollowsTheDesktopEntryRules) {
    const struct {
        const char* arg;
        const char* quoted;
    } cases[] = {
        {"/usr/bin/rededera", "/usr/bin/rededera"},
        {"/opt/a b/x", "\"/opt/a b/x\""},
        {"/opt/$x`y\"z\\w", "\"/opt/\\$x\\`y\\\"z\\\\w\""},
        {"/opt/50%", "/opt/50%%"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(reg::quoteExecArg(c.arg), QString(c.quoted)) << c.arg;
        EXPECT_EQ(reg::splitExec(reg::quoteExecArg(c.arg) + " /s"), (QStringList{c.arg, "/s"})) << c.arg;
    }
}

TEST_F(RegistryLayer, TheDocumentsFolderIsThePersonalValue) {
    const auto docs =
        reg::getString(reg::HKEY_CURRENT_USER,
                       "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Personal");
    ASSERT_TRUE(docs.has_value());
    EXPECT_TRUE(docs->startsWith(home().home())) << docs->toStdString();
}

TEST_F(RegistryLayer, OtherValuesLiveInTheProgramsOwnStore) {
    EXPECT_FALSE(reg::getString(reg::HKEY_CURRENT_USER, "Software\\Rededera", "Anything").has_value());
    ASSERT_TRUE(reg::setString(reg::HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                               "ProgramFilesDir", "/opt"));
    EXPECT_EQ(reg::getString(reg::HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\",
                             "ProgramFilesDir"),
              QString("/opt"));
    EXPECT_FALSE(reg::getString(reg::HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                "ProgramFilesDir")
                     .has_value());
    EXPECT_TRUE(reg::deleteValue(reg::HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                 "ProgramFilesDir"));
    EXPECT_FALSE(reg::getString(reg::HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                "ProgramFilesDir")
                     .has_value());
    EXPECT_TRUE(reg::storeFile().startsWith(home().config() + "/Rededera/"));
}

TEST_F(RegistryLayer, SettingsStoreIsAnIniFileUnderTheConfigFolder) {
    EXPECT_EQ(settings::filePath(), home().config() + "/Rededera/Rededera.conf");
    EXPECT_EQ(settings::get("Rededera", "Option", "PathOption", "2"), "2");
    ASSERT_TRUE(settings::save("Rededera", "Option", "WorkPath", "/data/我的日记/"));
    EXPECT_EQ(settings::get("Rededera", "Option", "WorkPath"), "/data/我的日记/");
    EXPECT_TRUE(QString::fromUtf8(readFile(settings::filePath())).contains("[Option]"));
    ASSERT_TRUE(settings::remove("Rededera", "Option", "WorkPath"));
    EXPECT_EQ(settings::get("Rededera", "Option", "WorkPath", "none"), "none");
}

TEST_F(RegistryLayer, AnUnwritableStoreReportsFailure) {
    // The config folder's parent is a file: nothing can be created below it.
    writeFile(home().path() + "/blocker", "x");
    qputenv("XDG_CONFIG_HOME", (home().path() + "/blocker/config").toLocal8Bit());
    EXPECT_FALSE(reg::setString(reg::HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                "Rededera", "/usr/bin/rededera /s"));
    EXPECT_FALSE(settings::save("Rededera", "Option", "PathOption", "1"));
}

// The settings file says where the user folder lies, and the autostart entry
// which program the session starts: no one else may read or change them.
TEST_F(RegistryLayer, SettingsFilesAreOwnerOnlyWhateverTheUmask) {
    OpenUmask open;
    // XDG_CONFIG_HOME itself is missing: every level the program makes is its own.
    const QString config = home().path() + "/fresh/config";
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    const QString folder = config + "/Rededera";
    const QString autostart = config + "/autostart";
    struct Write {
        const char* what;
        std::function<bool()> write;
        QString file;
    } writes[] = {
        {"setting", [] { return settings::save("Rededera", "Option", "PathOption", "3"); },
         folder + "/Rededera.conf"},
        {"second setting", [] { return settings::save("Rededera", "Option", "WorkPath", "/data/日记/"); },
         folder + "/Rededera.conf"},
        {"setting removed", [] { return settings::remove("Rededera", "Option", "WorkPath"); },
         folder + "/Rededera.conf"},
        {"store value",
         [] { return reg::setString(reg::HKEY_CURRENT_USER, "Software\\Rededera", "Last", "x"); },
         folder + "/registry.ini"},
        {"store value removed",
         [] { return reg::deleteValue(reg::HKEY_CURRENT_USER, "Software\\Rededera", "Last"); },
         folder + "/registry.ini"},
        {"autostart entry",
         [] { return reg::setString(reg::HKEY_CURRENT_USER, kRun, "Rededera", "/usr/bin/rededera /s"); },
         autostart + "/rededera.desktop"},
    };
    for (const Write& w : writes) {
        SCOPED_TRACE(w.what);
        ASSERT_TRUE(w.write());
        EXPECT_EQ(fileMode(w.file), 0600);
        EXPECT_EQ(fileMode(QFileInfo(w.file).absolutePath()), 0700);
        EXPECT_EQ(fileMode(config), 0700);
        EXPECT_EQ(fileMode(home().path() + "/fresh"), 0700);
    }
    EXPECT_EQ(settings::get("Rededera", "Option", "PathOption"), "3");
    EXPECT_EQ(settings::get("Rededera", "Option", "WorkPath", "none"), "none");
    // Nothing but the files themselves is left beside them.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"Rededera.conf", "registry.ini"}));
}

TEST_F(RegistryLayer, AnExistingFolderKeepsItsModeAndAWideFileIsNarrowed) {
    OpenUmask open;
    const QString folder = home().config() + "/Rededera";
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
    // A file an older version left readable by everyone.
    writeFile(folder + "/Rededera.conf", "[Option]\nShowAbout=1\n");
    ASSERT_EQ(::chmod(QFile::encodeName(folder + "/Rededera.conf").constData(), 0666), 0);

    ASSERT_TRUE(settings::save("Rededera", "Option", "PathOption", "2"));
    EXPECT_EQ(fileMode(folder), 0755);
    EXPECT_EQ(fileMode(folder + "/Rededera.conf"), 0600);
    EXPECT_EQ(settings::get("Rededera", "Option", "ShowAbout"), "1");
}

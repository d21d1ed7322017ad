#include "core/gStartup.h"

#include "core/gError.h"
#include "core/gMain.h"
#include "core/gMsgBox.h"
#include "core/gResIds.h"
#include "core/gSecondStart.h"
#include "core/gShared.h"
#include "core/gState.h"
#include "core/gStrings.h"
#include "core/gUserData.h"
#include "platform/dialogs.h"
#include "platform/settingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <memory>

namespace {

const QString kApp = QStringLiteral("Rededera");
const QString kSection = QStringLiteral("Option");

struct ProgramSeam {
    bool set = false;
    QString folder;
    QString fileName;
} programSeam;

// Held from the first successful claim to the end of the process.
std::unique_ptr<QLockFile> instanceLock;
QString instanceLockPath;

QString withSlash(QString path) {
    if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    return path;
}

} // namespace

QString gProgramFolder() {
    return withSlash(programSeam.set ? programSeam.folder : QCoreApplication::applicationDirPath());
}

QString gProgramFileName() {
    if (programSeam.set) return programSeam.fileName;
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

QString gManifestFile() {
    return gAppPath + gAppFileName + QStringLiteral(".exe.manifest");
}

bool gWriteManifest(const QString& path) {
    return gWriteOwnerOnly(path, (gLoadResString(Res::ManifestText) + QStringLiteral("\r\n")).toUtf8());
}

bool gIsHiddenSwitch(const QString& commandLine) {
    return commandLine.trimmed().toUpper() == QLatin1String("/S");
}

QString gInstanceLockFile() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QString() : runtime + QStringLiteral("/Rededera.lock");
}

bool gClaimSingleInstance() {
    const QString path = gInstanceLockFile();
    if (path.isEmpty()) return true; // no per-user runtime folder: nothing to compare with
    if (instanceLock && instanceLockPath == path) {
        gListenForSecondStart();
        return true;
    }
    auto lock = std::make_unique<QLockFile>(path);
    // A running instance never goes stale by age; only a dead owner frees the lock.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        // Only a lock held by someone else proves another instance; a runtime
        // folder we cannot write to must not keep the program from starting.
        return lock->error() != QLockFile::LockFailedError;
    }
    instanceLock = std::move(lock);
    instanceLockPath = path;
    // A second start finds this one here.
    gListenForSecondStart();
    return true;
}

int gStoredPathOption() {
    bool isNumber = false;
    const int option =
        settings::get(kApp, kSection, QStringLiteral("PathOption"), QString::number(PathOption::Documents))
            .trimmed()
            .toInt(&isNumber);
    // Anything else would leave the folder at the root; the documents folder is the sound default.
    if (!isNumber || option < PathOption::ProgramFolder || option > PathOption::Chosen)
        return PathOption::Documents;
    return option;
}

QString gFolderOfChoice(int option, const QString& workPath) {
    switch (option) {
    case PathOption::ProgramFolder:
        return withSlash(gAppPath);
    case PathOption::Documents: {
        QString personal =
            gRegGetValue(HKEY_CURRENT_USER, kShellFoldersKey, QStringLiteral("Personal"), QString());
        if (personal.isEmpty()) personal = QDir::homePath();
        return withSlash(personal) + QStringLiteral("Rededera/");
    }
    default:
        // A blank entry would make the root the user folder; it counts as no entry.
        return withSlash(workPath.trimmed().isEmpty() ? gAppPath : workPath);
    }
}

bool gMakeUserFolder(const QString& folder) {
    if (QFileInfo(folder).isDir()) return true;
    if (!QDir().mkpath(folder)) return false;
    // A folder made here holds the account alone: no one else may look in.
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return true;
}

void gInitPaths() {
    gPathOption = gStoredPathOption();
    gDataPath =
        gFolderOfChoice(gPathOption, settings::get(kApp, kSection, QStringLiteral("WorkPath"), gAppPath));
    if (!gMakeUserFolder(gDataPath)) gRaise(gErr::PathFileAccess);

    gDatabaseFile = gDataPath + QStringLiteral("Userdata.dat");
    gPictureFile = gDataPath + QStringLiteral("UserPicture.dat");
}

bool gChooseDataFolder(QWidget* owner) {
    QString path = dialogs::getExistingDirectory(owner, QStringLiteral("选择用户配置文件存放的目录："));
    if (path.isEmpty()) return false;
    path = withSlash(path);
    return settings::save(kApp, kSection, QStringLiteral("PathOption"),
                          QString::number(PathOption::Chosen)) &&
           settings::save(kApp, kSection, QStringLiteral("WorkPath"), path);
}

gBadProfileRoad gBadProfileChoices() {
    switch (gMsgBox(Msg::ProfileBroken, gButtonSet::RecreateLocateClose)) {
    case gMsgResult::First:
        if (gMsgBox(Msg::ConfirmRecreateProfile, gButtonSet::OkCancel) != gMsgResult::OK)
            return gBadProfileRoad::ReadAgain;
        QFile::remove(gProfileFile());
        if (QFileInfo::exists(gProfileFile())) {
            // Left in place, the profile would only bring these choices back unexplained.
            gShowErrorBox(gRuntimeError(gErr::PathFileAccess,
                                        QStringLiteral("无法删除帐户配置文件 \"%1\"。").arg(gProfileFile())),
                          true);
            return gBadProfileRoad::ReadAgain;
        }
        Main();
        return gBadProfileRoad::Done;
    case gMsgResult::Second:
        if (!gChooseDataFolder(nullptr)) return gBadProfileRoad::ReadAgain;
        Main();
        return gBadProfileRoad::Done;
    default:
        return gBadProfileRoad::Done;
    }
}

namespace gStartupSeam {
void setProgram(const QString& folder, const QString& fileName) {
    programSeam.set = true;
    programSeam.folder = folder;
    programSeam.fileName = fileName;
}
void reset() {
    programSeam = ProgramSeam{};
}
void releaseInstanceLock() {
    gStopListening();
    instanceLock.reset();
    instanceLockPath.clear();
}
} // namespace gStartupSeam

#include "core/ui/gStartup.h"

#include "core/base/gError.h"
#include "core/model/gFiles.h"
#include "core/ui/gMain.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gResIds.h"
#include "core/ui/gSecondStart.h"
#include "core/ui/gShared.h"
#include "core/model/gState.h"
#include "core/model/gStrings.h"
#include "core/model/gUserData.h"
#include "platform/dialogs.h"
#include "platform/privateFiles.h"
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
    // A folder made here holds the account alone: no one else may look in. That
    // goes for every level made on the way, the documents folder too.
    return privateFiles::makeFolder(folder);
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

namespace {

// Another folder or close, the way out of a message about this folder's files.
gBadProfileRoad anotherFolderChoices(int id, const QString& a1, const QString& a2) {
    if (gMsgBox(id, gButtonSet::LocateClose, a1, a2) != gMsgResult::Second) return gBadProfileRoad::Done;
    if (!gChooseDataFolder(nullptr)) return gBadProfileRoad::ReadAgain;
    Main();
    return gBadProfileRoad::Done;
}

} // namespace

gBadProfileRoad gBadProfileChoices() {
    switch (gMsgBox(Msg::ProfileBroken, gButtonSet::RecreateLocateClose)) {
    case gMsgResult::First: {
        if (gMsgBox(Msg::ConfirmRecreateProfile, gButtonSet::OkCancel) != gMsgResult::OK)
            return gBadProfileRoad::ReadAgain;
        // Kept, not deleted: it holds the record key, without which the diary
        // opens only with a key file.
        int error = 0;
        const QString copy = gMoveToFreeOldName(gProfileFile(), &error);
        if (copy.isEmpty()) {
            // Left in place, the profile would only bring these choices back unexplained.
            gShowErrorBox(gRuntimeError(gErr::PathFileAccess,
                                        QStringLiteral("无法将帐户配置文件 \"%1\" 另存为副本：%2。")
                                            .arg(gProfileFile(), gFileReason(gProfileFile(), error))),
                          true);
            return gBadProfileRoad::ReadAgain;
        }
        gMsgBox(Msg::ProfileSavedAside, gButtonSet::Close, copy);
        Main();
        return gBadProfileRoad::Done;
    }
    case gMsgResult::Second:
        if (!gChooseDataFolder(nullptr)) return gBadProfileRoad::ReadAgain;
        Main();
        return gBadProfileRoad::Done;
    default:
        return gBadProfileRoad::Done;
    }
}

gBadProfileRoad gUnreadableProfileChoices(int systemError) {
    return anotherFolderChoices(Msg::ProfileUnreadable, gProfileFile(),
                                gFileReason(gProfileFile(), systemError));
}

bool gUserFolderUsable() {
    for (;;) {
        const QString reason = gFolderProblem(gDataPath);
        if (reason.isEmpty()) return true;
        if (anotherFolderChoices(Msg::UserFolderUnusable, QDir::cleanPath(gDataPath), reason) ==
            gBadProfileRoad::Done)
            return false;
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

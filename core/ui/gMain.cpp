#include "core/ui/gMain.h"

#include "core/model/clsMD5.h"
#include "core/base/gError.h"
#include "core/ui/gLoginApi.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/ui/gSecondStart.h"
#include "core/ui/gShared.h"
#include "core/ui/gShellApi.h"
#include "core/ui/gStartup.h"
#include "core/model/gState.h"
#include "core/model/gUserData.h"
#include "core/ui/gUserDataUi.h"

#include <QFileInfo>
#include <QWidget>

namespace {

// Start-up opens the windows built above it through what they registered;
// without them there is nothing to start (error 91).
gAccountWindows& accountWindows() {
    gAccountWindows* w = gAccountWindows::registered();
    if (!w) gRaise(gErr::ObjectNotSet);
    return *w;
}

gShellWindows& shellWindows() {
    gShellWindows* w = gShellWindows::registered();
    if (!w) gRaise(gErr::ObjectNotSet);
    return *w;
}

void runMain() {
    gAppPath = gProgramFolder();
    gAppFileName = gProgramFileName();

    // A copy without its manifest writes it and asks for a restart. A copy
    // whose folder cannot be written goes on without one.
    if (!QFileInfo::exists(gManifestFile()) && gWriteManifest(gManifestFile())) {
        gMsgBox(Msg::RestartAfterSetup, gButtonSet::Close);
        return;
    }

    if (!gClaimSingleInstance()) {
        // The running program comes forward; only one that does not answer is reported.
        if (!gAskRunningToComeForward()) gMsgBox(Msg::AlreadyRunning, gButtonSet::Close);
        return;
    }

    gInitPaths();
    // A folder we may not look into only seems to hold no account.
    if (!gUserFolderUsable()) return;

    // A link to nothing is a profile that cannot be read, not a missing one.
    if (const QFileInfo profile(gProfileFile()); !profile.exists() && !profile.isSymLink()) {
        accountWindows().showAccountCreation();
        return;
    }

    if (!gLoadUserData()) return;

    if (gOption(Option::StartWithSystem)) {
        gRegSetString(HKEY_CURRENT_USER, kRunKey, QStringLiteral("Rededera"),
                      gAppPath + gAppFileName + QStringLiteral(" /s"));
    } else {
        gRegDeleteValue(HKEY_CURRENT_USER, kRunKey, QStringLiteral("Rededera"));
    }

    QWidget* login = accountWindows().loadSignIn();

    const bool hidden = gIsHiddenSwitch(gCommandLine);
    if (gPasswordHash == QLatin1String(clsMD5::kEmptyDigest) &&
        (hidden || (gOption(Option::PasswordOnlySignIn) && gOption(Option::AutoSignIn)))) {
        auto* signIn = dynamic_cast<gLoginForm*>(login);
        if (!signIn) gRaise(gErr::ObjectNotSet);
        // Hidden from before the sign-in: it may load the main window itself.
        gHiddenStart = hidden;
        const bool signedIn = signIn->cmd1Click();
        if (signedIn && hidden) shellWindows().loadMainWindow();
        gHiddenStart = false;
        // A failed automatic sign-in leaves the window for the user, never an invisible program.
        if (!signedIn && accountWindows().signIn() == login) login->show();
        return;
    }

    login->show();
}

} // namespace

void Main() {
    try {
        runMain();
    } catch (...) {
        gHiddenStart = false;
        gShowErrorBox(false);
    }
}

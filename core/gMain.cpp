#include "core/gMain.h"

#include "core/clsMD5.h"
#include "core/gError.h"
#include "core/gForms.h"
#include "core/gLoginApi.h"
#include "core/gMsgBox.h"
#include "core/gOptions.h"
#include "core/gSecondStart.h"
#include "core/gShared.h"
#include "core/gStartup.h"
#include "core/gState.h"
#include "core/gUserData.h"
#include "core/gUserDataUi.h"

#include <QFileInfo>
#include <QWidget>

namespace {

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
        forms::load(QStringLiteral("frmCreateAccount"))->show();
        return;
    }

    if (!gLoadUserData()) return;

    if (gOption(Option::StartWithSystem)) {
        gRegSetString(HKEY_CURRENT_USER, kRunKey, QStringLiteral("Rededera"),
                      gAppPath + gAppFileName + QStringLiteral(" /s"));
    } else {
        gRegDeleteValue(HKEY_CURRENT_USER, kRunKey, QStringLiteral("Rededera"));
    }

    QWidget* login = forms::load(QStringLiteral("frmLogin"));

    const bool hidden = gIsHiddenSwitch(gCommandLine);
    if (gPasswordHash == QLatin1String(clsMD5::kEmptyDigest) &&
        (hidden || (gOption(Option::PasswordOnlySignIn) && gOption(Option::AutoSignIn)))) {
        auto* signIn = dynamic_cast<gLoginForm*>(login);
        if (!signIn) gRaise(gErr::ObjectNotSet);
        // Hidden from before the sign-in: it may load the main window itself.
        gHiddenStart = hidden;
        const bool signedIn = signIn->cmd1Click();
        if (signedIn && hidden) forms::load(QStringLiteral("frmMain"));
        gHiddenStart = false;
        // A failed automatic sign-in leaves the window for the user, never an invisible program.
        if (!signedIn && forms::find(QStringLiteral("frmLogin")) == login) login->show();
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

#include "core/ui/gMain.h"

#include "core/model/clsMD5.h"
#include "core/base/gError.h"
#include "core/ui/gForms.h"
#include "core/ui/gLoginApi.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/ui/gSecondStart.h"
#include "core/ui/gShared.h"
#include "core/ui/gStartup.h"
#include "core/model/gState.h"
#include "core/model/gUserData.h"
#include "core/ui/gUserDataUi.h"

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

#include "shell/gProgram.h"

#include "core/base/gError.h"
#include "core/ui/gFocusRing.h"
#include "core/ui/gForms.h"
#include "core/ui/gMain.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"
#include "core/model/gState.h"
#include "core/ui/gWindowPlace.h"
#include "platform/sessionEnd.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

void gRegisterAccountsForms();
void gRegisterDiaryForms();
void gRegisterTimetableForms();
void gRegisterShellForms();

void gRegisterForms() {
    gRegisterAccountsForms();
    gRegisterDiaryForms();
    gRegisterTimetableForms();
    gRegisterShellForms();
}

bool gLoadQtTranslations(const QString& folder) {
    const QString dir = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    // The interface is Chinese whatever the user's locale, so Qt's own dialogs
    // and calendars must be too.
    const QLocale chinese(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
    QLocale::setDefault(chinese);
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (!qt->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"), dir)) {
        delete qt;
        return false;
    }
    QCoreApplication::installTranslator(qt);
    return true;
}

QIcon gProgramIcon() {
    // Drawn at the sizes desktops ask for, so the icon never depends on an SVG icon engine.
    QIcon icon;
    for (int side : {16, 22, 24, 32, 48, 64, 128})
        icon.addPixmap(gLoadResPicture(Res::ProgramIcon, gResKind::Icon, QSize(side, side)));
    return icon;
}

void gSetUpDesktop() {
    QApplication::setWindowIcon(gProgramIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("rededera"));
    // The desktop's own dialogs would speak the user's locale; Qt's speak ours.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    gCentreEveryDialog();
    gFocusEveryShownWindow();
    gLoadQtTranslations();
}

bool gSaveForSessionEnd() {
    frmMain* m = gMainWindow();
    if (!m || m->saveDraftForSessionEnd()) return true;
    // No one is there to be told at the end of a session; the terminal, if any, is.
    qWarning("Rededera: the draft could not be saved");
    return false;
}

void gEndSession() {
    gSaveForSessionEnd();
    // Closes the database (an open transaction rolled back, the journal gone)
    // and exits without unloading a window: the exit sequence would ask.
    gEndProgram(0);
}

void gWatchSessionEnd() {
    sessionEnd::watch({
        .save = [] { gSaveForSessionEnd(); },
        .end = [] { gEndSession(); },
        .running = [] { return !forms::loadedNames().isEmpty(); },
    });
}

int gRunProgram(int argc, char** argv) {
    // Under Wayland windows cannot be placed, kept on top or reliably minimised;
    // prefer X11 where an X display is there and the user chose no platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Rededera"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(REDEDERA_VERSION_MAJOR)
                                            .arg(REDEDERA_VERSION_MINOR)
                                            .arg(REDEDERA_VERSION_PATCH));
    QApplication::setQuitOnLastWindowClosed(false);
    gSetUpDesktop();
    gInstallFocusRing();
    QStringList args = QApplication::arguments();
    if (!args.isEmpty()) args.removeFirst();
    gCommandLine = args.join(QLatin1Char(' '));

    gRegisterForms();
    forms::setQuitWhenEmpty(true);
    gWatchSessionEnd();
    Main();
    forms::checkQuitLater();
    return app.exec();
}

#include "shell/gProgram.h"

#include "core/gForms.h"
#include "core/gMain.h"
#include "core/gState.h"

#include <QApplication>
#include <QStringList>

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
    QStringList args = QApplication::arguments();
    if (!args.isEmpty()) args.removeFirst();
    gCommandLine = args.join(QLatin1Char(' '));

    gRegisterForms();
    forms::setQuitWhenEmpty(true);
    Main();
    forms::checkQuitLater();
    return app.exec();
}

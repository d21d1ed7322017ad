// The setup wizard: one window; either of its buttons ends the program. The exit
// status is 1 when a chosen step failed.
#include "setupWizard.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto qtTexts = setup::loadQtChinese(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    setup::frmMain window;
    window.show();
    const int status = app.exec();
    return status != 0 ? status : window.exitStatus();
}

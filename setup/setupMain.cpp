// The setup wizard: one window; either of its buttons ends the program.
#include "setupWizard.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    setup::frmMain window;
    window.show();
    return app.exec();
}

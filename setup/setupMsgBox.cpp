#include "setupMsgBox.h"

#include <QMessageBox>

namespace setup {
namespace {
bool gScripted = false;
QStringList gShown;
} // namespace

void showInfo(QWidget* parent, const QString& text) {
    gShown.append(text);
    if (gScripted) return;
    QMessageBox box(QMessageBox::Information, QString(), text, QMessageBox::Ok, parent);
    box.exec();
}

namespace msgSeam {
void setScripted(bool on) {
    gScripted = on;
}
const QStringList& shown() {
    return gShown;
}
void clear() {
    gShown.clear();
}
} // namespace msgSeam

} // namespace setup

#include "setupMsgBox.h"

#include "setupPlace.h"

#include <QMessageBox>
#include <QPushButton>

namespace setup {
namespace {
bool gScripted = false;
QStringList gShown;
} // namespace

void showInfo(QWidget* parent, const QString& text) {
    gShown.append(text);
    if (gScripted) return;
    QMessageBox box(QMessageBox::Information, QString(), text, QMessageBox::Ok, parent);
    // Named here rather than left to Qt's translations, which may not be installed.
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    centreOnShow(&box, parent);
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

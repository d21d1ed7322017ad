#pragma once
// The wizard's own message box: a plain information box with one OK button
// ("确定") and no title. Tests script it so that no box waits for a person.
#include <QString>
#include <QStringList>

class QWidget;

namespace setup {

void showInfo(QWidget* parent, const QString& text);

namespace msgSeam {
// While scripted, boxes are recorded and not shown.
void setScripted(bool on);
const QStringList& shown();
void clear();
} // namespace msgSeam

} // namespace setup

#pragma once
#include <QString>
#include <QStringList>

class QWidget;

// The common dialogs (file open/save, folder browser), with a seam for tests:
// answers queued by a test are returned in order without showing anything.
// An empty answer means the user cancelled.
namespace dialogs {

QString getOpenFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter);
QString getSaveFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter);
QString getExistingDirectory(QWidget* parent, const QString& title, const QString& dir = {});

namespace seam {
struct Asked {
    QString kind; // "open", "save", "folder"
    QString title;
    QString filter;
};
// Queue the next answer ("" cancels). While scripted, an empty queue cancels.
void pushAnswer(const QString& answer);
void setScripted(bool on);
bool scripted();
const QList<Asked>& asked();
void reset();
} // namespace seam

} // namespace dialogs

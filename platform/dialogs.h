#pragma once
#include <QString>
#include <QStringList>

#include <functional>

class QFileDialog;
class QWidget;

// The common dialogs (file open/save, folder browser), with a seam for tests:
// answers queued by a test are returned in order without showing anything.
// An empty answer means the user cancelled.
namespace dialogs {

// The file dialogs take their filter as pairs of a description and its
// patterns, all separated by "|", the patterns of one pair by ";"
// ("图片|*.bmp;*.jpg|所有文件 (*.*)|*.*"). A filter without "|" is a list of
// Qt name filters separated by ";;".
QString getOpenFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter);
QString getSaveFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter);
QString getExistingDirectory(QWidget* parent, const QString& title, const QString& dir = {});

// The name filters a file dialog shows for such a filter: each description
// with its patterns in brackets ("*.*" meaning every file, with or without a dot).
QStringList nameFilters(const QString& filter);

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
// The file dialog as built is handed to the hook in place of showing it; the
// hook's return is the answer. It comes before the queued answers.
void setFileDialogHook(std::function<QString(QFileDialog&)> hook);
void reset();
} // namespace seam

} // namespace dialogs

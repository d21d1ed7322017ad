#include "platform/dialogs.h"

#include <QFileDialog>
#include <QQueue>

namespace dialogs {
namespace {

struct SeamState {
    bool scripted = false;
    QQueue<QString> answers;
    QList<seam::Asked> asked;
};

SeamState& st() {
    static SeamState s;
    return s;
}

bool takeScripted(const QString& kind, const QString& title, const QString& filter, QString* out) {
    SeamState& s = st();
    if (!s.scripted && s.answers.isEmpty()) return false;
    s.asked.append({kind, title, filter});
    *out = s.answers.isEmpty() ? QString() : s.answers.dequeue();
    return true;
}

} // namespace

QString getOpenFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter) {
    QString r;
    if (takeScripted(QStringLiteral("open"), title, filter, &r)) return r;
    return QFileDialog::getOpenFileName(parent, title, dir, filter);
}

QString getSaveFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter) {
    QString r;
    if (takeScripted(QStringLiteral("save"), title, filter, &r)) return r;
    // The callers ask about replacing a file themselves.
    return QFileDialog::getSaveFileName(parent, title, dir, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString getExistingDirectory(QWidget* parent, const QString& title, const QString& dir) {
    QString r;
    if (takeScripted(QStringLiteral("folder"), title, {}, &r)) return r;
    return QFileDialog::getExistingDirectory(parent, title, dir.isEmpty() ? QDir::homePath() : dir);
}

namespace seam {
void pushAnswer(const QString& answer) {
    st().answers.enqueue(answer);
}
void setScripted(bool on) {
    st().scripted = on;
}
bool scripted() {
    return st().scripted;
}
const QList<Asked>& asked() {
    return st().asked;
}
void reset() {
    st().answers.clear();
    st().asked.clear();
}
} // namespace seam

} // namespace dialogs

#include "platform/dialogs.h"

#include <QFileDialog>
#include <QQueue>

namespace dialogs {
namespace {

struct SeamState {
    bool scripted = false;
    QQueue<QString> answers;
    QList<seam::Asked> asked;
    std::function<QString(QFileDialog&)> hook;
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

QString runFileDialog(QWidget* parent, const QString& title, const QString& dir, const QString& filter,
                      bool save) {
    QFileDialog dialog(parent, title, dir);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The descriptions carry their patterns already; the brackets added for Qt stay out of sight.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    // The callers ask about replacing a file themselves.
    if (save) dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = nameFilters(filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (st().hook) {
        st().asked.append({save ? QStringLiteral("save") : QStringLiteral("open"), title, filter});
        return st().hook(dialog);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QStringList nameFilters(const QString& filter) {
    if (filter.trimmed().isEmpty()) return {};
    if (!filter.contains(QLatin1Char('|'))) return filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        QStringList patterns;
        if (i + 1 < parts.size()) {
            for (const QString& p : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
                const QString pattern = p.trimmed();
                if (pattern.isEmpty()) continue;
                patterns.append(pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
            }
        }
        if (description.isEmpty() && patterns.isEmpty()) continue; // a closing "|" names nothing
        if (patterns.isEmpty()) patterns.append(QStringLiteral("*"));
        out.append(QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' '))));
    }
    return out;
}

QString getOpenFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter) {
    QString r;
    if (!st().hook && takeScripted(QStringLiteral("open"), title, filter, &r)) return r;
    return runFileDialog(parent, title, dir, filter, false);
}

QString getSaveFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter) {
    QString r;
    if (!st().hook && takeScripted(QStringLiteral("save"), title, filter, &r)) return r;
    return runFileDialog(parent, title, dir, filter, true);
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
void setFileDialogHook(std::function<QString(QFileDialog&)> hook) {
    st().hook = std::move(hook);
}
void reset() {
    st().answers.clear();
    st().asked.clear();
    st().hook = nullptr;
}
} // namespace seam

} // namespace dialogs

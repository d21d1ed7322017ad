#include "platform/shutDown.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QQueue>
#include <QStandardPaths>

namespace shutDown {
namespace {

const QString kProgram = QStringLiteral("systemctl");
const QStringList kArguments{QStringLiteral("poweroff")};
const QString kTitle = QStringLiteral("关闭计算机");

struct SeamState {
    bool scripted = false;
    bool available = true;
    QQueue<bool> answers;
    QQueue<seam::CommandResult> results;
    int asked = 0;
    QList<QStringList> commands;
    QStringList messages;
};

SeamState& st() {
    static SeamState s;
    return s;
}

void showFailure() {
    if (st().scripted) {
        st().messages.append(failureText());
        return;
    }
    QMessageBox box(QMessageBox::Warning, kTitle, failureText(), QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

bool available() {
    if (st().scripted) return st().available;
    return !QStandardPaths::findExecutable(kProgram).isEmpty();
}

bool confirmed(QWidget* parent) {
    if (st().scripted) {
        ++st().asked;
        return !st().answers.isEmpty() && st().answers.dequeue();
    }
    QMessageBox box(QMessageBox::Question, kTitle, questionText(), QMessageBox::NoButton, parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    QPushButton* yes = box.addButton(QStringLiteral("关闭计算机"), QMessageBox::AcceptRole);
    QPushButton* no = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    // A stray Enter must not switch the computer off.
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

// Starts the command; a failure to start or a refusal is reported when it is known.
void request() {
    if (st().scripted) {
        st().commands.append(QStringList{kProgram} + kArguments);
        const seam::CommandResult r = st().results.isEmpty() ? seam::CommandResult{} : st().results.dequeue();
        if (!r.started || r.exitCode != 0) showFailure();
        return;
    }
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart) return;
        process->deleteLater();
        showFailure();
    });
    QObject::connect(process, &QProcess::finished, process, [process](int code, QProcess::ExitStatus status) {
        process->deleteLater();
        if (status != QProcess::NormalExit || code != 0) showFailure();
    });
    process->start(kProgram, kArguments);
}

} // namespace

QString questionText() {
    return QStringLiteral("确实要关闭计算机吗？\n请先保存其他程序中未保存的工作。");
}

QString failureText() {
    return QStringLiteral("无法关闭计算机。\n请从桌面的菜单中关闭计算机。");
}

Outcome offer(QWidget* parent) {
    if (!available()) {
        showFailure();
        return Outcome::Unavailable;
    }
    if (!confirmed(parent)) return Outcome::Declined;
    request();
    return Outcome::Requested;
}

namespace seam {
void setScripted(bool on) {
    st().scripted = on;
}
bool scripted() {
    return st().scripted;
}
void setAvailable(bool on) {
    st().available = on;
}
void pushAnswer(bool yes) {
    st().answers.enqueue(yes);
}
void pushResult(CommandResult result) {
    st().results.enqueue(result);
}
int questionsAsked() {
    return st().asked;
}
const QList<QStringList>& commands() {
    return st().commands;
}
const QStringList& messages() {
    return st().messages;
}
void reset() {
    const bool scripted = st().scripted;
    st() = SeamState();
    st().scripted = scripted;
}
} // namespace seam

} // namespace shutDown

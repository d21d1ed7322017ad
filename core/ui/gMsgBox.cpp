#include "core/ui/gMsgBox.h"

#include "core/ui/frmHelp.h"
#include "core/ui/frmMsg.h"
#include "core/model/gConvert.h"
#include "core/base/gError.h"
#include "core/ui/gForms.h"
#include "core/ui/gShared.h"
#include "core/model/gState.h"
#include "core/model/gStrings.h"
#include "core/ui/gShellApi.h"
#include "core/ui/gWindowPlace.h"

#include <QQueue>

namespace {

struct Seam {
    bool scripted = false;
    QQueue<quint8> answers;
    QList<gMsgBoxSeam::Shown> shown;
    QList<gMsgBoxSeam::ErrorShown> errors;
    QList<int> help;
} seam;

int openBoxes = 0;

// Keeps gMessageOpen true while any box or modal help text is open.
struct OpenBox {
    OpenBox() {
        ++openBoxes;
        gMessageOpen = true;
        forms::holdOpen();
    }
    ~OpenBox() {
        --openBoxes;
        gMessageOpen = openBoxes > 0;
        forms::releaseOpen();
    }
};

void registerHelp() {
    if (!forms::isRegistered(Form::frmHelp)) forms::registerForm(Form::frmHelp, [] { return new frmHelp; });
}

} // namespace

QString gSubstitute(const QString& text, const QStringList& args) {
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('%')) {
            out += text[i];
            continue;
        }
        if (i + 1 >= text.size()) {
            out += QLatin1Char('%');
            break;
        }
        const QChar n = text[++i];
        if (n >= QLatin1Char('1') && n <= QLatin1Char('9'))
            out += args.value(n.unicode() - '1');
        else
            out += QLatin1Char('%');
    }
    return out;
}

quint8 gMsgResultOf(int set, int press) {
    using namespace gMsgResult;
    // One row per button set, in the order of gButtonSet.
    static const quint8 table[9][3] = {{OK, None, None},       // Close
                                       {OK, Cancel, None},     // OkCancel
                                       {Abort, Retry, Ignore}, // AbortRetryIgnore
                                       {Yes, No, Cancel},      // YesNoCancel
                                       {Yes, No, None},        // YesNo
                                       {Retry, Cancel, None},  // RetryCancel
                                       {First, Second, Third}, // ImportRecreateCancel
                                       {First, Second, Third}, // RecreateLocateClose
                                       {Second, Third, None}}; // LocateClose
    if (set < gButtonSet::Close || set > gButtonSet::LocateClose || press < gMsgPress::First ||
        press > gMsgPress::Third)
        return None;
    return table[set][press - gMsgPress::First];
}

quint8 gMsgBox(int id, int buttonSet, const QString& a1, const QString& a2, const QString& a3,
               const QString& a4, const QString& a5, const QString& a6, const QString& a7, const QString& a8,
               const QString& a9) {
    const QStringList args{a1, a2, a3, a4, a5, a6, a7, a8, a9};
    for (;;) {
        const QString s = gLoadResString(id);
        const int kind = static_cast<int>(gVal(s.left(1)));
        const QString text = gSubstitute(s.mid(1), args);
        const bool hasHelp = gHasResString(id + 300);

        int pressed = gMsgPress::None;
        if (seam.scripted) {
            seam.shown.append({id, buttonSet, args, text});
            if (seam.answers.isEmpty()) {
                const int c = frmMsg::cancelButtonOf(buttonSet);
                pressed = c > 0 ? c : gMsgPress::First;
            } else {
                const quint8 a = seam.answers.dequeue();
                if (a == gMsgBoxSeam::HelpLink && hasHelp) {
                    pressed = gMsgPress::HelpLink;
                } else {
                    gMsgButton = gMsgPress::None;
                    return a;
                }
            }
        } else {
            OpenBox open;
            frmMsg box;
            box.setupMessage(kind, text, buttonSet, hasHelp);
            gSetTopMost(&box, true);
            gCentreOnFirstShow(&box, gOwnerWindow(&box));
            box.exec();
            pressed = box.pressed();
        }
        gMsgButton = static_cast<qint16>(pressed);
        if (pressed == gMsgPress::HelpLink) {
            gShowHelp(id);
            continue; // the same message again
        }
        return gMsgResultOf(buttonSet, pressed);
    }
}

void gShowErrorBox(bool continueRun) {
    const gRuntimeError e = std::current_exception() ? gCurrentError() : gRuntimeError(0, QString());
    gShowErrorBox(e, continueRun);
}

void gShowErrorBox(const gRuntimeError& e, bool continueRun) {
    if (gShellWindows* shell = gShellWindows::registered(); gCloseMinimizes && shell) {
        if (QWidget* main = shell->mainWindow())
            main->setWindowState(main->windowState() & ~Qt::WindowMinimized);
    }
    const QString text = QStringLiteral("发生错误（%1）：\r\n%2").arg(e.number()).arg(e.description());
    if (seam.scripted) {
        seam.errors.append({e.number(), e.description(), continueRun});
    } else {
        OpenBox open;
        frmMsg box;
        box.setupError(text);
        gSetTopMost(&box, true);
        gCentreOnFirstShow(&box, gOwnerWindow(&box));
        box.exec();
        gMsgButton = static_cast<qint16>(box.pressed());
    }
    if (!continueRun) gEndProgram(0);
}

void gShowHelp(int id) {
    registerHelp();
    forms::unload(Form::frmHelp);
    if (id != gHelpTopics) {
        if (seam.scripted) {
            seam.help.append(id);
            return;
        }
        auto* h = forms::load<frmHelp>(Form::frmHelp);
        h->showText(id + 300);
        OpenBox open;
        h->exec();
        forms::unload(h);
        return;
    }
    auto* h = forms::load<frmHelp>(Form::frmHelp);
    h->gShowMain();
    h->setModal(false);
    h->show();
    h->raise();
}

namespace gMsgBoxSeam {
void setScripted(bool on) {
    seam.scripted = on;
}
bool scripted() {
    return seam.scripted;
}
void pushAnswer(quint8 a) {
    seam.answers.enqueue(a);
}
void pushAnswers(std::initializer_list<quint8> answers) {
    for (quint8 a : answers)
        seam.answers.enqueue(a);
}
int pendingAnswers() {
    return seam.answers.size();
}
const QList<Shown>& shown() {
    return seam.shown;
}
QList<int> shownIds() {
    QList<int> ids;
    for (const Shown& s : seam.shown)
        ids << s.id;
    return ids;
}
const QList<ErrorShown>& errors() {
    return seam.errors;
}
const QList<int>& helpShown() {
    return seam.help;
}
void reset() {
    seam.answers.clear();
    seam.shown.clear();
    seam.errors.clear();
    seam.help.clear();
}
} // namespace gMsgBoxSeam

#include "diary/frmPopUp.h"

#include "controls/scheduleText.h"
#include "core/base/gError.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace {
scheduleText* owner() {
    return qobject_cast<scheduleText*>(gPopUpOwner.data());
}
} // namespace

frmPopUp::frmPopUp() {
    setWindowFlag(Qt::Window, true);
    setWindowTitle(QStringLiteral("编辑"));
    textEdit = new scheduleText(this);
    textEdit->setObjectName(QStringLiteral("scheduleText1"));
    // This is the pop-up: it has nowhere further to pop out to.
    textEdit->setShowPopUp(false);
}

frmPopUp::~frmPopUp() = default;

void frmPopUp::formLoad() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (scheduleText* o = owner()) {
        if (QWidget* top = o->window(); top && top->screen()) screen = top->screen();
    }
    // The whole screen, as far as the desktop lets a window cover it.
    if (screen) setGeometry(screen->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    if (scheduleText* o = owner()) textEdit->setTextRTF(o->textRTF());
}

void frmPopUp::formUnload() {
    // Whatever closes the window, the text goes back to its owner.
    if (scheduleText* o = owner()) {
        o->setTextRTF(textEdit->textRTF());
        o->setEnabled(true);
    }
    gPopUpOwner = nullptr;
}

void frmPopUp::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    textEdit->setGeometry(rect());
}

void frmPopUp::closeEvent(QCloseEvent* e) {
    e->ignore();
    gGuard([this] { forms::unload(this); });
}

void frmPopUp::keyPressEvent(QKeyEvent* e) {
    // Escape reaches the window when the editor has no use for it.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}

void gOpenPopUpEditor(scheduleText* owner) {
    QWidget* w = forms::load(Form::frmPopUp);
    w->show();
    w->raise();
    w->activateWindow();
    if (auto* popUp = qobject_cast<frmPopUp*>(w)) popUp->textEdit->box()->setFocus();
}

#include "core/ui/gFocusRing.h"

#include "core/ui/gFocusMark.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>

namespace {

// The mark over a view's edge or inside a button's: see-through, it takes no
// mouse and no focus.
class FocusRing : public QWidget {
public:
    explicit FocusRing(QWidget* view) : QWidget(view), view_(view) {
        setObjectName(QStringLiteral("gFocusRing"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        view->installEventFilter(this);
        setGeometry(view->rect());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == view_ && e->type() == QEvent::Resize) setGeometry(view_->rect());
        return false;
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        // Inside a button, clear of the outline its style gives the default button.
        const int inset = qobject_cast<QPushButton*>(view_) ? 3 : 0;
        gDrawFocusMark(p, rect().adjusted(inset, inset, -inset, -inset), view_);
    }

private:
    QWidget* view_;
};

// The view or button the focus widget belongs to.
QWidget* viewOf(QWidget* w) {
    if (auto* button = qobject_cast<QPushButton*>(w)) return button;
    for (; w && !w->isWindow(); w = w->parentWidget())
        if (auto* view = qobject_cast<QAbstractScrollArea*>(w)) return view;
    return nullptr;
}

void showRing(QWidget* view, bool on) {
    auto* ring = view->findChild<FocusRing*>(QStringLiteral("gFocusRing"), Qt::FindDirectChildrenOnly);
    if (!ring) {
        if (!on) return;
        ring = new FocusRing(view);
    }
    ring->setVisible(on);
    if (on) ring->raise();
}

} // namespace

void gInstallFocusRing() {
    static QPointer<QObject> installed;
    if (installed || !qApp) return;
    installed = new QObject(qApp);
    QObject::connect(qApp, &QApplication::focusChanged, installed, [](QWidget* old, QWidget* now) {
        QWidget* was = viewOf(old);
        QWidget* is = viewOf(now);
        if (was && was != is) showRing(was, false);
        if (is) showRing(is, now->window()->testAttribute(Qt::WA_KeyboardFocusChange));
    });
}

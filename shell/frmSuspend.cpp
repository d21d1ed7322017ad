#include "shell/frmSuspend.h"

#include "core/base/gError.h"
#include "core/ui/gMsgBox.h"
#include "core/ui/gShared.h"
#include "core/model/gState.h"
#include "core/ui/gWindowServices.h"
#include "shell/frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>
#include <QUrl>

namespace {
constexpr int kSidePx = 64;
constexpr int kMarginPx = 48; // from the bottom right corner of the screen at start

QPixmap floatingPicture() {
    QPixmap pm(kSidePx, kSidePx);
    pm.fill(QColor(0x2a, 0x66, 0xb8));
    QSvgRenderer r(QStringLiteral(":/res/shell/suspend.svg"));
    if (r.isValid()) {
        QPainter p(&pm);
        r.render(&p);
    }
    return pm;
}

void setSuspendCheck(bool on) {
    if (frmMain* m = gMainWindow(); m && m->mTSuspend) m->mTSuspend->setChecked(on);
}
} // namespace

frmSuspend::frmSuspend() {
    setWindowTitle(QStringLiteral("每日记事"));
    // No frame and no task-bar button: the picture is the whole window.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_ShowWithoutActivating, true);

    picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(floatingPicture());
    picture->setGeometry(0, 0, kSidePx, kSidePx);
    picture->setToolTip(QStringLiteral("每日记事"));
    picture->setAcceptDrops(true);
    picture->installEventFilter(this);

    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect area = s->availableGeometry();
        move(area.right() - kSidePx - kMarginPx, area.bottom() - kSidePx - kMarginPx);
    }
}

void frmSuspend::formLoad() {
    setSuspendCheck(true);
    try {
        setFixedSize(picture->size());
        gSetTranslucent(this);
        gSetTopMost(this, true);
    } catch (...) {
        // The window stays as far as it got.
        gMsgBox(Msg::FloatingNotOnTop, gButtonSet::Close);
    }
}

void frmSuspend::formUnload() {
    setSuspendCheck(false);
}

void frmSuspend::closeEvent(QCloseEvent* e) {
    e->ignore();
    // Locked without a notification icon, this window is the road back and stays.
    if (gLocked && !gTrayIcon::instance().isPlaced()) return;
    gGuard([this] { forms::unload(this); });
}

bool frmSuspend::isTextDrop(const QMimeData* data) {
    if (!data || !data->hasText() || data->text().isEmpty() || data->hasImage()) return false;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return false;
    return true;
}

bool frmSuspend::eventFilter(QObject* watched, QEvent* e) {
    if (watched != picture) return QWidget::eventFilter(watched, e);
    switch (e->type()) {
    case QEvent::MouseButtonPress:
        gGuard([&] { picture_MouseDown(static_cast<QMouseEvent*>(e)); });
        return true;
    case QEvent::MouseMove:
        gGuard([&] { picture_MouseMove(static_cast<QMouseEvent*>(e)); });
        return true;
    case QEvent::MouseButtonRelease:
        gGuard([&] { picture_MouseUp(static_cast<QMouseEvent*>(e)); });
        return true;
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) gGuard([this] { picture_DblClick(); });
        return true;
    case QEvent::DragEnter:
    case QEvent::DragMove:
        // Everything is taken: what is not text gets told so on the drop.
        static_cast<QDropEvent*>(e)->acceptProposedAction();
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(e);
        drop->acceptProposedAction();
        picture_OLEDragDrop(drop->mimeData());
        return true;
    }
    default:
        return QWidget::eventFilter(watched, e);
    }
}

void frmSuspend::picture_MouseDown(QMouseEvent* e) {
    drag_ = e->position().toPoint();
    dragging_ = e->button() == Qt::LeftButton;
}

void frmSuspend::picture_MouseMove(QMouseEvent* e) {
    if (!dragging_) return;
    // The picture follows the pointer.
    const QPoint at = e->position().toPoint();
    move(x() + at.x() - drag_.x(), y() + at.y() - drag_.y());
}

void frmSuspend::picture_MouseUp(QMouseEvent* e) {
    dragging_ = false;
    if (e->button() != Qt::RightButton) return;
    // While locked it offers what the notification icon offers then: unlock or exit.
    frmMain* m = gMainWindow();
    QMenu* menu = !m ? nullptr : gLocked ? m->mLock : m->mTool;
    if (menu) menu->popup(e->globalPosition().toPoint());
}

void frmSuspend::picture_DblClick() {
    // The notification icon's "show / hide" item: hides a shown main window,
    // otherwise brings it back on its last page.
    if (frmMain* m = gMainWindow()) m->mTOpen_Click();
}

void frmSuspend::picture_OLEDragDrop(const QMimeData* data) {
    // A drop never raises an error box; at worst nothing happens.
    try {
        if (isTextDrop(data)) {
            if (frmMain* m = gMainWindow()) m->gQuoteNewEntry(data->text());
        } else {
            gTrayBalloon(QStringLiteral("拖放的内容不是文本数据。"), QStringLiteral("引用失败"),
                         gBalloonIcon::Information, 0);
        }
    } catch (...) {
    }
}

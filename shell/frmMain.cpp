#include "shell/frmMain.h"

#include "core/model/gClock.h"
#include "core/model/gConvert.h"
#include "core/model/gDatabase.h"
#include "core/ui/gEditorPage.h"
#include "core/base/gError.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/ui/gResources.h"
#include "core/ui/gStartup.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "core/model/gUserData.h"
#include "core/ui/gUserDataUi.h"
#include "core/ui/gWindowServices.h"
#include "diary/gDiarySearch.h"
#include "platform/settingsStore.h"
#include "shell/gProgram.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>
#include <QShortcut>
#include <QSvgRenderer>
#include <QTimer>
#include <QTreeView>

#include <cmath>
#include <functional>

namespace {

// Layout of the frame around the pages, in twips.
constexpr int kTopBarTw = 900;  // topBar's height
constexpr int kSideBarTw = 420; // sideBar's width
constexpr int kFootBarTw = 600; // footBar's height
constexpr int kStartWidthPx = 780;
constexpr int kStartHeightPx = 580;

// The top bar's buttons in order (the seven pages, then help and its menu's
// arrow), each keyed by the number it passes to the page switch.
constexpr int kHelpButton = pageNumber(Page::HelpWindow);
constexpr int kHelpArrow = pageNumber(Page::HelpMenu);
constexpr int kButtons[] = {pageNumber(Page::Home),
                            pageNumber(Page::Timetable),
                            pageNumber(Page::Writing),
                            pageNumber(Page::Review),
                            pageNumber(Page::Search),
                            pageNumber(Page::Account),
                            pageNumber(Page::Settings),
                            kHelpButton,
                            kHelpArrow};
constexpr int kButtonSize = 36;
constexpr int kButtonTop = 5;
constexpr int kFirstButtonLeft = 12;
constexpr int kButtonStep = 52;
int buttonLeft(int index) {
    // The page buttons in a row, then the help button in the next place with
    // its menu's arrow right of it.
    const int place = isPageNumber(index) ? index : pageNumber(Page::Settings) + 1;
    return kFirstButtonLeft + place * kButtonStep + (index == kHelpArrow ? kButtonSize : 0);
}
int buttonWidth(int index) {
    return index == kHelpArrow ? 12 : kButtonSize;
}

// What a button's tool tip calls it.
QString buttonName(int index) {
    static const char* names[] = {"主页", "课程", "记录", "回顾", "检索", "用户", "设置"};
    if (isPageNumber(index)) return QString::fromUtf8(names[index]);
    return index == kHelpButton ? QStringLiteral("帮助") : QStringLiteral("帮助菜单");
}

// The key of a button: Ctrl+1 to Ctrl+7 for the pages in the bar's order, F1
// for help; the help menu's arrow has none.
QKeySequence buttonKey(int index) {
    if (isPageNumber(index)) return QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + index));
    if (index == kHelpButton) return QKeySequence(Qt::Key_F1);
    return {};
}

QPixmap shellPicture(const QString& name, QSize size) {
    return gRenderSvg(QStringLiteral(":/res/shell/%1.svg").arg(name), size);
}

QString versionText() {
    return QStringLiteral("%1.%2.%3")
        .arg(REDEDERA_VERSION_MAJOR)
        .arg(REDEDERA_VERSION_MINOR)
        .arg(REDEDERA_VERSION_PATCH);
}

// The prompt that leaving the editor asks, or 0 when the entry holds nothing to lose.
int leavePrompt(const gEditorPage& editor) {
    if (editor.editMode()) return editor.gChanged ? Msg::EntryChangedDiscard : 0;
    return !editor.titleText().isEmpty() || !editor.bodyText().isEmpty() ? Msg::EntryNotEmptyDiscard : 0;
}

// A bar that paints its skin pictures.
class SkinBar : public QWidget {
public:
    using Painter = std::function<void(QPainter&, const QWidget*)>;
    SkinBar(QWidget* parent, Painter paint) : QWidget(parent), paint_(std::move(paint)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        paint_(p, this);
    }

private:
    Painter paint_;
};

// The skin pictures, drawn at their designed sizes (twips / 15).
struct Skin {
    QPixmap bg[10];
    Skin() {
        const QSize sizes[10] = {{},       {627, 40}, {626, 60}, {28, 28}, {12, 40},
                                 {28, 50}, {25, 61},  {},        {28, 7},  {22, 40}};
        for (int i = 1; i <= 9; ++i)
            if (!sizes[i].isEmpty()) bg[i] = shellPicture(QStringLiteral("bg%1").arg(i), sizes[i]);
    }
};
const Skin& skin() {
    static const Skin s;
    return s;
}

void paintTopBar(QPainter& p, const QWidget* w) {
    const Skin& s = skin();
    const int scaleWidth = gTwips(w->width());
    const int right = static_cast<int>(std::lround(std::floor(scaleWidth - 9390.0)));
    p.drawPixmap(0, 0, s.bg[6]);
    for (int x = 375; x <= right; x += 270)
        p.drawPixmap(gPx(x), gPx(-8), s.bg[6]);
    p.drawPixmap(gPx(right), 0, s.bg[2]);
}

void paintSideBar(QPainter& p, const QWidget* w) {
    const Skin& s = skin();
    const int bottom = static_cast<int>(std::floor(gTwips(w->height()) - 105.0));
    p.drawPixmap(0, 0, s.bg[3]);
    for (int y = 420; y <= bottom; y += 750)
        p.drawPixmap(0, gPx(y), s.bg[5]);
    p.drawPixmap(0, gPx(bottom), s.bg[8]);
}

void paintFootBar(QPainter& p, const QWidget* w) {
    const Skin& s = skin();
    const int right = static_cast<int>(std::floor(gTwips(w->width()) - 9405.0));
    p.drawPixmap(0, 0, s.bg[9]);
    for (int x = 330; x <= right; x += 180)
        p.drawPixmap(gPx(x), 0, s.bg[4]);
    p.drawPixmap(gPx(right), 0, s.bg[1]);
}

} // namespace

frmMain* gMainWindow() {
    return forms::find<frmMain>(Form::frmMain);
}

gFormName frmMain::pageFormName(int index) {
    static constexpr gFormName names[] = {Form::frmWelcome, Form::frmSchedule,  Form::frmNew,
                                          Form::frmReview,  Form::frmRetrieval, Form::frmUser,
                                          Form::frmSet};
    if (!isPageNumber(index)) gRaise(gErr::SubscriptOutOfRange);
    return names[index];
}

frmMain::frmMain() {
    setWindowTitle(QStringLiteral("Rededera"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("MDIClient"));
    setCentralWidget(central);

    topBar = new SkinBar(central, paintTopBar);
    topBar->setObjectName(QStringLiteral("Picture1"));
    sideBar = new SkinBar(central, paintSideBar);
    sideBar->setObjectName(QStringLiteral("Picture2"));
    footBar = new SkinBar(central, paintFootBar);
    footBar->setObjectName(QStringLiteral("Picture3"));
    // The pages sit on a soft card; a page covers it exactly and keeps its shadow.
    pagePanel = new SkinBar(central, [this](QPainter& p, const QWidget* w) {
        p.fillRect(w->rect(), QColor(0xea, 0xf2, 0xfb));
        const QRect r = pageRect();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x1f, 0x4f, 0x86, 28));
        p.drawRoundedRect(QRectF(r).adjusted(-2, 0, 3, 4), 6, 6);
        p.setBrush(Qt::white);
        p.setPen(QColor(0xc9, 0xdb, 0xef));
        p.drawRoundedRect(QRectF(r).adjusted(-0.5, -0.5, 0.5, 0.5), 4, 4);
    });
    pagePanel->setObjectName(QStringLiteral("PageArea"));

    buildTopBar();
    buildMenus();

    lockTimer = new QTimer(this);
    lockTimer->setInterval(60000);
    connect(lockTimer, &QTimer::timeout, this, [this] { gGuard([this] { lockTimer_Timer(); }); });

    resize(kStartWidthPx, kStartHeightPx);
    layoutBars();
}

frmMain::~frmMain() = default;

void frmMain::warmUp() {
    frmMain window;
    if (QWidget* home = forms::create(pageFormName(pageNumber(Page::Home)))) {
        home->setParent(window.pagePanel, Qt::Widget);
        home->setGeometry(window.pageRect());
        home->show(); // shown with the window, as a page is
    }
    QImage canvas(window.size(), QImage::Format_ARGB32_Premultiplied);
    window.render(&canvas);
}

void frmMain::buildTopBar() {
    topBar->setMouseTracking(true);
    topBar->installEventFilter(this);
    for (int i : kButtons) {
        buttonPictures[i] = shellPicture(QStringLiteral("top%1a").arg(i), QSize(buttonWidth(i), kButtonSize));
        buttonLitPictures[i] =
            shellPicture(QStringLiteral("top%1b").arg(i), QSize(buttonWidth(i), kButtonSize));
        // A link label: Tab reaches it, its focus mark shows, Space or Enter press it.
        auto* img = new gLinkLabel({}, topBar, false);
        img->setObjectName(QStringLiteral("ImageTop%1").arg(i));
        img->setPixmap(buttonPictures[i]);
        img->setGeometry(buttonLeft(i), kButtonTop, buttonWidth(i), kButtonSize);
        img->setMouseTracking(true);
        img->installEventFilter(this);
        img->setCursor(Qt::PointingHandCursor);
        // The bar is dark: the focus mark is drawn white on it.
        QPalette pal = img->palette();
        pal.setColor(QPalette::Highlight, Qt::white);
        img->setPalette(pal);
        const QKeySequence key = buttonKey(i);
        img->setToolTip(key.isEmpty() ? buttonName(i)
                                      : QStringLiteral("%1 (%2)").arg(
                                            buttonName(i), key.toString(QKeySequence::NativeText)));
        connect(img, &gLinkLabel::clicked, this,
                [this, i] { gGuard([this, i] { gChangeFrame(static_cast<Page>(i)); }); });
        if (!key.isEmpty()) {
            auto* sc = new QShortcut(key, this);
            sc->setObjectName(QStringLiteral("Shortcut%1").arg(i));
            connect(sc, &QShortcut::activated, this,
                    [this, i] { gGuard([this, i] { gChangeFrame(static_cast<Page>(i)); }); });
        }
        pageButtons[i] = img;
    }
    // Captions under the five middle buttons.
    const std::pair<Page, const char*> captions[] = {{Page::Timetable, "课程"},
                                                     {Page::Writing, "记录"},
                                                     {Page::Review, "回顾"},
                                                     {Page::Search, "检索"},
                                                     {Page::Account, "用户"}};
    for (const auto& [page, caption] : captions) {
        const int i = pageNumber(page);
        auto* l = new QLabel(QString::fromUtf8(caption), topBar);
        l->setObjectName(QStringLiteral("LabelTop%1").arg(i));
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        l->setGeometry(buttonLeft(i) - 8, kButtonTop + kButtonSize + 1, kButtonSize + 16, 17);
        l->setStyleSheet(QStringLiteral("QLabel#%1 { color: white; }").arg(l->objectName()));
        l->setMouseTracking(true);
        l->installEventFilter(this);
        l->setCursor(Qt::PointingHandCursor);
        buttonCaptions[i] = l;
    }
    versionLabel = new QLabel(versionText(), topBar);
    versionLabel->setObjectName(QStringLiteral("Label2"));
    versionLabel->setStyleSheet(QStringLiteral("QLabel#Label2 { color: white; }"));
    versionLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    versionLabel->setGeometry(gPx(gTwips(kStartWidthPx) - 1850), 36, gPx(1700), 18);
}

void frmMain::buildMenus() {
    auto item = [this](QMenu* menu, const char* caption, void (frmMain::*slot)(), bool trayMenu) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        connect(a, &QAction::triggered, this, [this, slot, trayMenu] {
            // The notification icon's menus do nothing while a message box is open
            // (a checkable item must not keep the tick its trigger gave it).
            if (trayMenu && gMessageOpen) {
                syncSuspendCheck();
                return;
            }
            gGuard([this, slot] { (this->*slot)(); });
        });
        return a;
    };
    auto help = [] { gShowHelp(gHelpTopics); };

    mHelp = new QMenu(QStringLiteral("帮助"), this);
    mHelp->setObjectName(QStringLiteral("mHelp"));
    mHHelp = mHelp->addAction(QStringLiteral("帮助"));
    connect(mHHelp, &QAction::triggered, this, [help] { gGuard(help); });
    mHelp->addSeparator();
    mHExit = item(mHelp, "退出 (&X)", &frmMain::mExit_Click, false);
    mHelp->addSeparator();
    mHAbout = item(mHelp, "关于 Rededera (&A)", &frmMain::mAbout_Click, false);

    mTool = new QMenu(QStringLiteral("托盘及悬浮菜单"), this);
    mTool->setObjectName(QStringLiteral("mTool"));
    mTOpen = item(mTool, "隐藏 Rededera (&O)", &frmMain::mTOpen_Click, true);
    mTSuspend = item(mTool, "悬浮窗口", &frmMain::mTSuspend_Click, true);
    mTSuspend->setCheckable(true);
    mTLock = item(mTool, "现在锁定", &frmMain::mTLock_Click, true);
    mTool->addSeparator();
    mTNew = mTool->addAction(QStringLiteral("现在记录 (&N)"));
    connect(mTNew, &QAction::triggered, this, [this] {
        if (!gMessageOpen) gGuard([this] { gChangeFrame(Page::Writing); });
    });
    mTClip = item(mTool, "引用剪贴板记录", &frmMain::mTClip_Click, true);
    mTool->addSeparator();
    mTHelp = mTool->addAction(QStringLiteral("帮助"));
    connect(mTHelp, &QAction::triggered, this, [help] {
        if (!gMessageOpen) gGuard(help);
    });
    mTAbout = item(mTool, "关于 Rededera (&A)", &frmMain::mAbout_Click, true);
    mTool->addSeparator();
    mTExit = item(mTool, "退出 (&X)", &frmMain::mExit_Click, true);
    connect(mTool, &QMenu::aboutToShow, this, [this] { syncSuspendCheck(); });

    mLock = new QMenu(QStringLiteral("锁定菜单"), this);
    mLock->setObjectName(QStringLiteral("mLock"));
    mLunLock = item(mLock, "解除锁定", &frmMain::mLunLock_Click, true);
    mLock->addSeparator();
    mLExit = item(mLock, "退出 (&X)", &frmMain::mExit_Click, true);
}

// ---- loading ----

void frmMain::formLoad() {
    gCloseMinimizes = true;
    gLocked = false;
    gRestartPending = false;
    versionLabel->setText(versionText());
    trayIcon = gProgramIcon();
    setWindowIcon(trayIcon);
    hoverIndex_ = -1;

    gTrayHost host;
    host.window = this;
    host.toolMenu = mTool;
    host.lockMenu = mLock;
    host.quoteClipboard = [this] { mTClip_Click(); };
    host.icon = trayIcon;
    gTrayAdd(host, QStringLiteral("Rededera"));
    gHookClipboard(this);
    gLimitFormSize(this, 655, 505, 0, 0);
    loaded_ = true;

    // Placing the first page shows the window, except for a hidden start.
    if (!gHiddenStart) show();
    gChangeFrame(Page::Home);
    if (gOption(Option::FloatingWindow) && !gOption(Option::HideFloatingWithMain)) showSuspend();
    if (gVal(settings::get(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("ShowAbout"),
                           QStringLiteral("1"))) == 1)
        showAbout();
    if (gHiddenStart) stateChanged();
}

// ---- the page switch ----

bool frmMain::gChangeFrame(Page page, PageFlags flags) {
    // A tray action or balloon click arriving while a leave prompt waits must not
    // start a second switch underneath it.
    if (switching_) return false;
    switching_ = true;
    const auto done = qScopeGuard([this] { switching_ = false; });

    if (gDiaryDate.isNull()) gDiaryDate = gToday();
    // While locked only the unlock window brings the window back; the exit
    // closes its page without showing the window it is about to close.
    if (isMinimized() && !gLocked && !exiting_) setNormalAndShow();

    if (page == Page::HelpMenu) {
        mHelp->popup(centralWidget()->mapToGlobal(gPxPoint(6240, 800)));
        return true;
    }
    if (page == Page::HelpWindow) {
        gShowHelp(gHelpTopics);
        return true;
    }

    if (!closeCurrentPage()) {
        gCloseMinimizes = true;
        return false;
    }

    gSetDiary = flags.setDiary;
    pageFlags_ = flags;
    pageIndex_ = pageNumber(page);
    if (isPageNumber(pageIndex_)) {
        try {
            openPage(pageIndex_);
        } catch (...) {
            // A page that cannot be placed leaves the page area empty.
        }
    }
    return true;
}

void frmMain::closePopUpEditor() {
    // The pop-up editor writes its text back into its owner when it unloads, so
    // whoever asks about the entry afterwards sees the final text.
    forms::unload(Form::frmPopUp);
}

bool frmMain::closeCurrentPage() {
    if (blank_) {
        blank_->hide();
        blank_->deleteLater();
        blank_.clear();
    }
    switch (static_cast<Page>(pageIndex_)) {
    case Page::Timetable:
        if (QWidget* w = forms::find(Form::frmSchedule)) w->hide();
        break;
    case Page::Writing: {
        closePopUpEditor();
        if (auto* editor = dynamic_cast<gEditorPage*>(forms::find(Form::frmNew))) {
            const int asked = leavePrompt(*editor);
            if (asked && gMsgBox(asked, gButtonSet::YesNo) == gMsgResult::No) return false;
        }
        if (gOption(Option::DraftAutoSave)) {
            const QString draft = gDataPath + QStringLiteral("Diary.tmp");
            if (QFile::exists(draft)) QFile::remove(draft);
        }
        forms::unload(Form::frmNew);
        break;
    }
    case Page::Account:
        forms::unload(Form::frmUser);
        forms::unload(Form::frmKeyExport);
        break;
    case Page::Settings:
        // Leaving the settings page undoes what it did not save. A restart after a
        // change of the user folder reads everything again anyway.
        if (forms::find(Form::frmSet) && !gRestartPending) {
            try {
                gInitPaths();
                gLoadUserData();
            } catch (...) {
                gShowErrorBox(true);
            }
        }
        forms::unload(Form::frmSet);
        break;
    default:
        if (isPageNumber(pageIndex_)) forms::unload(pageFormName(pageIndex_));
        break;
    }
    page_.clear();
    return true;
}

void frmMain::openPage(int index) {
    const gFormName name = pageFormName(index);
    QWidget* page = nullptr;
    if (forms::isRegistered(name)) {
        try {
            page = forms::load(name);
        } catch (...) {
            page = nullptr; // a page that cannot be made shows as an empty one
        }
    }
    if (page) {
        if (index == pageNumber(Page::Search)) {
            if (auto* search = dynamic_cast<gSearchPage*>(page)) {
                search->selectFirstNode();
            } else if (auto* tree = page->findChild<QTreeView*>(QStringLiteral("TreeView1"))) {
                if (tree->model() && tree->model()->rowCount() > 0)
                    tree->setCurrentIndex(tree->model()->index(0, 0));
            }
        }
    } else {
        // A page not built yet shows as an empty page.
        page = new QWidget;
        page->setObjectName(name);
        blank_ = page;
    }
    if (page->parentWidget() != pagePanel) page->setParent(pagePanel, Qt::Widget);
    page_ = page;
    page->setGeometry(pageRect());
    page->show();
    page->raise();
}

int frmMain::formWidthTwips() const {
    return gTwips(width());
}
int frmMain::formHeightTwips() const {
    return gTwips(height()) + gTitleBarTwips;
}

QRect frmMain::pageRect() const {
    return gPxRect(120, 200, formWidthTwips() - 800, formHeightTwips() - 2500);
}

void frmMain::placePage() {
    if (page_) page_->setGeometry(pageRect());
}

// ---- layout ----

void frmMain::layoutBars() {
    QWidget* c = centralWidget();
    const int w = c->width(), h = c->height();
    const int top = gPx(kTopBarTw), side = gPx(kSideBarTw), foot = gPx(kFootBarTw);
    topBar->setGeometry(0, 0, w, top);
    footBar->setGeometry(0, h - foot, w, foot);
    sideBar->setGeometry(0, top, side, qMax(0, h - top - foot));
    pagePanel->setGeometry(side, top, qMax(0, w - side), qMax(0, h - top - foot));
    // The version keeps to the right end of a wide enough window.
    if (formWidthTwips() >= 9000) versionLabel->move(gPx(formWidthTwips() - 1850), versionLabel->y());
}

void frmMain::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    layoutBars();
    placePage();
}

// ---- top bar ----

void frmMain::highlightButton(int i) {
    if (i == hoverIndex_) return;
    if (hoverIndex_ > -1) {
        pageButtons[hoverIndex_]->setPixmap(buttonPictures[hoverIndex_]);
        if (QLabel* l = buttonCaptions.value(hoverIndex_)) {
            QFont f = l->font();
            f.setUnderline(false);
            l->setFont(f);
        }
        if (hoverIndex_ == kHelpArrow) pageButtons[kHelpButton]->setPixmap(buttonPictures[kHelpButton]);
        hoverIndex_ = -1;
    }
    if (i >= 0 && pageButtons.contains(i)) {
        pageButtons[i]->setPixmap(buttonLitPictures[i]);
        if (QLabel* l = buttonCaptions.value(i)) {
            QFont f = l->font();
            f.setUnderline(true);
            l->setFont(f);
        }
        // The help button and its arrow light up together.
        if (i == kHelpArrow) pageButtons[kHelpButton]->setPixmap(buttonLitPictures[kHelpButton]);
        hoverIndex_ = i;
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* e) {
    const QEvent::Type t = e->type();
    if (t != QEvent::MouseMove && t != QEvent::MouseButtonRelease && t != QEvent::Leave)
        return QMainWindow::eventFilter(watched, e);
    int index = -1;
    for (auto it = pageButtons.cbegin(); it != pageButtons.cend(); ++it)
        if (it.value() == watched) index = it.key();
    for (auto it = buttonCaptions.cbegin(); it != buttonCaptions.cend(); ++it)
        if (it.value() == watched) index = it.key();
    if (watched == topBar) {
        // Leaving the bar, or moving over it between the buttons, lights nothing.
        if (t == QEvent::MouseMove || t == QEvent::Leave) highlightButton(-1);
        return false;
    }
    if (index < 0) return QMainWindow::eventFilter(watched, e);
    if (t == QEvent::MouseMove) {
        highlightButton(index);
        return true; // not on to the bar, which would put the light out again
    } else if (t == QEvent::MouseButtonRelease && buttonCaptions.value(index) == watched) {
        // A button's own release is its click (connected above); a caption's switches here.
        auto* me = static_cast<QMouseEvent*>(e);
        if (me->button() == Qt::LeftButton) gGuard([this, index] { gChangeFrame(static_cast<Page>(index)); });
        return true;
    }
    return false;
}

// ---- minimise, restore and lock ----

void frmMain::setMinimised() {
    setWindowState(windowState() | Qt::WindowMinimized);
}

void frmMain::setNormalAndShow() {
    // While locked the unlock window is the only road back (a menu of the icon
    // that was open when the lock came must not show the diary).
    if (gLocked) {
        mLunLock_Click();
        return;
    }
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
}

void frmMain::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange && loaded_) gGuard([this] { stateChanged(); });
}

void frmMain::stateChanged() {
    if (inStateChange_) return;
    inStateChange_ = true;
    const auto done = qScopeGuard([this] { inStateChange_ = false; });
    // Hidden only when the icon is there to bring the window back.
    gTrayIcon::instance().place();
    const bool tray = gTrayIcon::instance().isPlaced();

    if (isMinimized() || gHiddenStart) {
        if (!isMinimized()) setMinimised();
        // Without a notification area the window stays reachable in the task bar.
        if (tray)
            hide();
        else if (!isVisible() && !gLocked)
            showMinimized();
        if (gOption(Option::LockWhenMinimised) && !gLocked) {
            if (gLockTimeout == 0) {
                enterLocked();
            } else {
                lockTicks_ = 0;
                lockTimer->start();
            }
        }
        if (!gLocked) {
            if (gOption(Option::BalloonOnMinimise) && !gHiddenStart)
                gTrayBalloon(QStringLiteral("方便您记录日记，程序没有退出。\n单击此处关闭气球。"),
                             QStringLiteral("Rededera 仍在运行！"), gBalloonIcon::Information, 0);
            if (gOption(Option::FloatingWindow)) showSuspend();
            mTOpen->setText(QStringLiteral("显示 Rededera (&O)"));
        }
        return;
    }

    if (gLocked) {
        // Locked: the unlock window is the only road back to this window (the
        // lock has hidden the page area already).
        setMinimised();
        hide();
        keepRoadBack();
        if (forms::isRegistered(Form::frmLock)) {
            QWidget* lock = forms::load(Form::frmLock);
            lock->show();
            lock->raise();
        }
        return;
    }

    show();
    pagePanel->show();
    placePage();
    lockTimer->stop();
    gTrayIcon::instance().syncMenu();
    if (gOption(Option::FloatingWindow) && gOption(Option::HideFloatingWithMain)) {
        forms::unload(Form::frmSuspend);
        syncSuspendCheck();
    }
    mTOpen->setText(QStringLiteral("隐藏 Rededera (&O)"));
}

void frmMain::enterLocked() {
    // The pop-up editor is a window of its own: it would stay on screen and
    // take typing. Closing it first puts its text back into the entry.
    closePopUpEditor();
    gLocked = true;
    lockTicks_ = 0;
    lockTimer->stop();
    forms::unload(Form::frmSuspend);
    syncSuspendCheck();
    // Without a notification area the minimised window stays in the task bar
    // (and its previews): it keeps nothing of the account until the unlock.
    pagePanel->hide();
    // The search keeps every entry's plain text in memory; a locked program
    // holds none of it.
    gForgetSearchTexts();
    if (!isMinimized()) setMinimised();
    // Hidden whatever the desktop: a minimised window may have nowhere to go
    // back from (no task bar), or may not minimise at all (no window manager).
    hide();
    gTrayIcon::instance().place();
    gTrayIcon::instance().syncMenu();
    keepRoadBack();
}

void frmMain::keepRoadBack() {
    // The notification icon leads to the unlock window; without one, the
    // floating window stays on screen for it, whatever the options say.
    if (!gLocked || gTrayIcon::instance().isPlaced() || !forms::isRegistered(Form::frmSuspend)) return;
    QWidget* road = forms::load(Form::frmSuspend);
    road->show();
    road->raise();
    syncSuspendCheck();
}

void frmMain::lockTimer_Timer() {
    ++lockTicks_;
    if (lockTicks_ >= gLockTimeout) enterLocked();
}

// ---- menus ----

void frmMain::mTOpen_Click() {
    if (isVisible() && !isMinimized()) {
        setMinimised();
    } else {
        setNormalAndShow();
        raise();
        activateWindow();
    }
}

void frmMain::mTSuspend_Click() {
    if (forms::find(Form::frmSuspend) && gLocked && !gTrayIcon::instance().isPlaced()) {
        // The locked program's one road back stays.
        syncSuspendCheck();
        return;
    }
    if (forms::find(Form::frmSuspend))
        forms::unload(Form::frmSuspend);
    else
        showSuspend();
    syncSuspendCheck();
}

void frmMain::mTLock_Click() {
    enterLocked();
}

void frmMain::mExit_Click() {
    gCloseMinimizes = false;
    forms::unload(this);
}

void frmMain::mLunLock_Click() {
    if (!forms::isRegistered(Form::frmLock)) return;
    QWidget* lock = forms::load(Form::frmLock);
    lock->show();
    lock->raise();
    lock->activateWindow();
}

void frmMain::mAbout_Click() {
    showAbout();
}

void frmMain::showSuspend() {
    // The floating window reaches the diary; it stays away while locked.
    if (gLocked) {
        syncSuspendCheck();
        return;
    }
    if (forms::isRegistered(Form::frmSuspend)) forms::load(Form::frmSuspend)->show();
    syncSuspendCheck();
}

void frmMain::showAbout() {
    if (!forms::isRegistered(Form::frmAbout)) return;
    QWidget* about = forms::load(Form::frmAbout);
    about->show();
    about->raise();
    about->activateWindow();
}

void frmMain::syncSuspendCheck() {
    if (mTSuspend) mTSuspend->setChecked(forms::find(Form::frmSuspend) != nullptr);
}

// ---- clipboard ----

void frmMain::mTClip_Click() {
    if (gLocked) return;
    const QString text = gClipboardText();
    if (text.isEmpty()) {
        gTrayBalloon(QStringLiteral("剪贴板中的内容不是文本数据。"), QStringLiteral("引用失败"),
                     gBalloonIcon::Information, 0);
        return;
    }
    gQuoteNewEntry(text);
}

bool frmMain::gQuoteNewEntry(const QString& text) {
    if (gLocked) return false;
    // Only a fresh editor takes the text; an entry the user chose to keep stays as it is.
    if (!gChangeFrame(Page::Writing)) return false;
    auto* editor = dynamic_cast<gEditorPage*>(forms::find(Form::frmNew));
    if (!editor || !editor->titleText().isEmpty() || !editor->bodyText().isEmpty()) return false;
    editor->setBodyText(text);
    return true;
}

// ---- close and exit ----

bool frmMain::saveDraftForSessionEnd() {
    auto* editor = dynamic_cast<gEditorPage*>(forms::find(Form::frmNew));
    if (!editor) return true;
    // What leaving would ask about, and whatever the open pop-up editor holds:
    // its text is not back in the editor's boxes yet.
    if (!forms::find(Form::frmPopUp) && !leavePrompt(*editor)) return true;
    return editor->gSaveDraft();
}

void frmMain::closeEvent(QCloseEvent* e) {
    e->ignore();
    gGuard([this] { forms::unload(this); });
}

bool frmMain::formQueryUnload() {
    if (exiting_) return false;
    if (gOption(Option::CloseMinimises) && gCloseMinimizes) {
        setMinimised();
        return false;
    }
    exiting_ = true;
    const auto done = qScopeGuard([this] { exiting_ = false; });
    gCloseMinimizes = false;
    closePopUpEditor();
    const bool closed = gChangeFrame(Page::CloseCurrent);
    if (!closed || gCloseMinimizes) {
        // The user kept the entry: the program keeps running.
        gCloseMinimizes = true;
        return false;
    }
    return true;
}

void frmMain::formUnload() {
    loaded_ = false;
    lockTimer->stop();
    gUnhookClipboard(this);
    forms::unload(Form::frmSuspend);
    gCloseMinimizes = true;
    forms::unload(Form::frmScheReport);
    forms::unload(Form::frmScheRemind);
    forms::unload(Form::frmHelp);
    forms::unload(Form::frmAbout);
    // Windows that live only inside this one go with it, so nothing is left
    // that keeps the program running after the exit.
    forms::unload(Form::frmPopUp);
    forms::unload(Form::frmLock);
    forms::unload(Form::frmKeyExport);
    for (int i = pageNumber(Page::Home); i <= pageNumber(Page::Settings); ++i)
        forms::unload(pageFormName(i));
    if (blank_) blank_->deleteLater();
    gTrayRemove();
    gCloseDatabase();
    gRestartPending = false;
}

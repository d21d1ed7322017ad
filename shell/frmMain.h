#pragma once
#include <QIcon>
#include <QMainWindow>
#include <QMap>
#include <QPixmap>
#include <QPointer>

#include "core/ui/gForms.h"
#include "core/ui/gPageSwitch.h"
#include "core/model/gPages.h"

class QAction;
class QLabel;
class QMenu;
class QTimer;

// The main window: the bar of page buttons, one page at a time below it, the
// notification icon, the clipboard offer, the pop-up menus, minimising to the
// notification area, the auto-lock and the exit. Loading it shows it (unless
// the program started hidden); unloading it is the exit sequence.
class frmMain : public QMainWindow, public gForm, public gPageSwitch {
    Q_OBJECT
public:
    frmMain();
    ~frmMain() override;

    void formLoad() override;
    bool formQueryUnload() override;
    void formUnload() override;

    // Opens a page, or runs one of the switch's commands (Page::CloseCurrent,
    // HelpWindow, HelpMenu). The flags are stored for the page it opens. Returns
    // false when the switch did not happen (the user kept the editor, or a
    // switch is already running).
    bool gChangeFrame(Page page, PageFlags flags = {}) override;
    PageFlags pageFlags() const override { return pageFlags_; }

    // Quotes the clipboard's text into a new entry.
    void mTClip_Click();
    // Opens a fresh editor (after the open entry's leave prompts) and puts the
    // text into its body when title and body are empty; true when it went in.
    bool gQuoteNewEntry(const QString& text);

    // The end of the session: writes the open entry's draft when leaving the
    // editor would lose something, asking nothing and closing nothing. True when
    // there was nothing to keep or the draft was written.
    bool saveDraftForSessionEnd();

    // One tick of the auto-lock timer (once a minute).
    void lockTimer_Timer();

    // Lights the button under the mouse (-1: none).
    void highlightButton(int i);

    // The registry name of a page's form; error 9 for numbers that name none.
    static gFormName pageFormName(int index);

    // Builds a main window with its home page out of sight and draws it into a
    // picture, so that what it draws (pictures, fonts, the style's pieces) is
    // ready when the signed-in window opens; only those caches stay.
    static void warmUp();

    int pageIndex() const { return pageIndex_; }
    int hoverIndex() const { return hoverIndex_; }
    int lockTicks() const { return lockTicks_; }
    // The page now shown (a blank page stands in for a page not built yet).
    QWidget* currentPage() const { return page_; }
    // Where a page goes inside the page area, in pixels.
    QRect pageRect() const override;
    QWidget* pageArea() const override { return pagePanel; }
    // Width and height of the window in twips, title bar included.
    int formWidthTwips() const;
    int formHeightTwips() const;

    // Controls.
    QWidget* topBar = nullptr;    // the top bar with the page buttons
    QWidget* sideBar = nullptr;   // the bar down the left
    QWidget* footBar = nullptr;   // the bar across the bottom
    QWidget* pagePanel = nullptr; // where the pages are placed
    // The top bar's buttons and captions, keyed by the number each passes to
    // the page switch (the pages, Page::HelpWindow and Page::HelpMenu).
    QMap<int, QLabel*> pageButtons;
    QMap<int, QPixmap> buttonPictures;
    QMap<int, QPixmap> buttonLitPictures; // under the mouse
    QMap<int, QLabel*> buttonCaptions;    // under the five middle buttons
    QLabel* versionLabel = nullptr;       // the version
    QIcon trayIcon;                       // the notification icon's picture
    QTimer* lockTimer = nullptr;          // auto-lock, once a minute

    QMenu* mHelp = nullptr;
    QAction *mHHelp = nullptr, *mHExit = nullptr, *mHAbout = nullptr;
    QMenu* mTool = nullptr;
    QAction *mTOpen = nullptr, *mTSuspend = nullptr, *mTLock = nullptr, *mTNew = nullptr, *mTClip = nullptr,
            *mTHelp = nullptr, *mTAbout = nullptr, *mTExit = nullptr;
    QMenu* mLock = nullptr;
    QAction *mLunLock = nullptr, *mLExit = nullptr;

    // The menu items' actions, as the menus run them.
    void mTOpen_Click();
    void mTSuspend_Click();
    void mTLock_Click();
    void mExit_Click();
    void mLunLock_Click();
    void mAbout_Click();

    // Keeps mTSuspend's check mark in step with the floating window.
    void syncSuspendCheck() override;

protected:
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildTopBar();
    void buildMenus();
    void layoutBars();
    void placePage();
    // The window's minimise and restore handling.
    void stateChanged();
    // The one road into the locked state.
    void enterLocked();
    // While locked without a notification icon, the floating window stays as the road to the unlock window.
    void keepRoadBack();
    void setMinimised();
    void setNormalAndShow();
    bool closeCurrentPage();
    void openPage(int index);
    void showSuspend();
    void showAbout();
    void closePopUpEditor();

    int pageIndex_ = 0;
    PageFlags pageFlags_;
    int hoverIndex_ = -1;
    int lockTicks_ = 0;
    QPointer<QWidget> page_;
    QPointer<QWidget> blank_; // the stand-in of a page not built yet
    bool loaded_ = false;
    bool switching_ = false;
    bool exiting_ = false;
    bool inStateChange_ = false;
};

// The main window when loaded.
frmMain* gMainWindow();

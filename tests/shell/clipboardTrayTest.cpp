// The clipboard offer and quoting, the notification icon's balloons and menus,
// the size limits and translucency.
#include "shellFixture.h"

#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/model/gState.h"
#include "core/ui/gWindowServices.h"
#include "shell/frmMain.h"

#include <ostream>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QSignalSpy>

namespace {

enum class Content { Text, Image, Empty };

void putOnClipboard(Content c) {
    QClipboard* cb = QApplication::clipboard();
    switch (c) {
    case Content::Text:
        cb->setText(QStringLiteral("复制来的一段话"));
        break;
    case Content::Image: {
        QImage img(8, 8, QImage::Format_RGB32);
        img.fill(Qt::red);
        cb->setImage(img);
        break;
    }
    case Content::Empty:
        cb->clear();
        break;
    }
    pumpEvents();
}

struct OfferCase {
    const char* name;
    bool option6;
    bool locked;
    Content content;
    bool offered;
};

// Read in test names and failure messages instead of the case's raw bytes.
void PrintTo(const OfferCase& c, std::ostream* os) {
    *os << c.name;
}

class MainClipboardOffer : public ShellTest, public ::testing::WithParamInterface<OfferCase> {};

TEST_P(MainClipboardOffer, ChangeOffersTheText) {
    const OfferCase& c = GetParam();
    gOption(Option::OfferClipboard) = c.option6;
    loadMain();
    gLocked = c.locked;
    gTrayIcon::instance().clearBalloons();
    putOnClipboard(c.content);
    const auto& shown = gTrayIcon::instance().balloonsShown();
    if (c.offered) {
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown[0].title, QStringLiteral("检测到可用数据"));
        EXPECT_EQ(shown[0].text, QStringLiteral("单击此处引用剪贴板的数据。"));
        EXPECT_EQ(shown[0].infoFlags, gBalloonIcon::Information);
        EXPECT_EQ(gBalloonKind, 1);
    } else {
        EXPECT_TRUE(shown.isEmpty());
    }
}

const OfferCase kOfferCases[] = {
    {"TextOptionOn", true, false, Content::Text, true}, {"TextOptionOff", false, false, Content::Text, false},
    {"TextLocked", true, true, Content::Text, false},   {"ImageOnly", true, false, Content::Image, false},
    {"Cleared", true, false, Content::Empty, false},
};

INSTANTIATE_TEST_SUITE_P(Table, MainClipboardOffer, ::testing::ValuesIn(kOfferCases));

class MainClipboard : public ShellTest {};

TEST_F(MainClipboard, OfferBalloonClickQuotesIntoANewEntry) {
    gOption(Option::OfferClipboard) = true;
    frmMain* m = loadMain();
    putOnClipboard(Content::Text);
    gTrayIcon::instance().balloonClicked();
    EXPECT_EQ(m->pageIndex(), pageNumber(Page::Writing));
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->bodyText(), QStringLiteral("复制来的一段话"));
    EXPECT_TRUE(editor()->titleText().isEmpty());
}

TEST_F(MainClipboard, OtherBalloonsClickDoNothing) {
    gOption(Option::OfferClipboard) = true;
    gOption(Option::BalloonOnMinimise) = true;
    frmMain* m = loadMain();
    putOnClipboard(Content::Text);
    // A later balloon of another kind replaces the offer.
    m->setWindowState(Qt::WindowMinimized);
    ASSERT_EQ(gBalloonKind, 0);
    gTrayIcon::instance().balloonClicked();
    EXPECT_EQ(m->pageIndex(), pageNumber(Page::Home));
    EXPECT_EQ(editor(), nullptr);
    // While locked the offer's click does nothing either.
    putOnClipboard(Content::Text);
    gBalloonKind = 1;
    gLocked = true;
    gTrayIcon::instance().balloonClicked();
    EXPECT_EQ(editor(), nullptr);
}

TEST_F(MainClipboard, QuotingWithoutTextSaysSo) {
    for (Content c : {Content::Empty, Content::Image}) {
        frmMain* m = loadMain();
        putOnClipboard(c);
        gTrayIcon::instance().clearBalloons();
        m->mTClip->trigger();
        const auto& shown = gTrayIcon::instance().balloonsShown();
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown[0].title, QStringLiteral("引用失败"));
        EXPECT_EQ(shown[0].text, QStringLiteral("剪贴板中的内容不是文本数据。"));
        EXPECT_EQ(shown[0].kind, 0);
        EXPECT_EQ(m->pageIndex(), pageNumber(Page::Home));
        forms::unloadAllNow();
    }
}

TEST_F(MainClipboard, QuotingKeepsAnEntryTheUserKept) {
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Writing));
    TestEditor* old = editor();
    old->Text2->setText(QStringLiteral("我的标题"));
    putOnClipboard(Content::Text);

    gMsgBoxSeam::pushAnswer(gMsgResult::No);
    m->mTClip->trigger();
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::EntryNotEmptyDiscard});
    EXPECT_EQ(editor(), old);
    EXPECT_TRUE(old->bodyText().isEmpty());
    EXPECT_EQ(old->titleText(), QStringLiteral("我的标题"));

    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    m->mTClip->trigger();
    ASSERT_NE(editor(), old);
    EXPECT_EQ(editor()->bodyText(), QStringLiteral("复制来的一段话"));
}

TEST_F(MainClipboard, OnlyTheClipboardNotTheSelectionIsWatched) {
    // The offscreen platform has no selection: the test runs again on a virtual X server.
    if (!inXChild()) {
        QString noServer;
        const QString failed =
            reRunUnderX(QStringLiteral("MainClipboard.OnlyTheClipboardNotTheSelectionIsWatched"), &noServer);
        if (!noServer.isEmpty()) GTEST_SKIP() << noServer.toStdString();
        EXPECT_TRUE(failed.isEmpty()) << failed.toStdString();
        return;
    }
    QClipboard* cb = QApplication::clipboard();
    ASSERT_TRUE(cb->supportsSelection());
    gOption(Option::OfferClipboard) = true;
    loadMain();
    // Text already on the clipboard, so a watch of the selection would offer it.
    putOnClipboard(Content::Text);
    ASSERT_EQ(gTrayIcon::instance().balloonsShown().size(), 1) << "the watch works on this platform";
    gTrayIcon::instance().clearBalloons();
    QSignalSpy selected(cb, &QClipboard::selectionChanged);
    cb->setText(QStringLiteral("选中的字"), QClipboard::Selection);
    for (int i = 0; i < 100 && selected.isEmpty(); ++i)
        pumpEvents(10);
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(cb->text(QClipboard::Selection), QStringLiteral("选中的字"));
    EXPECT_TRUE(gTrayIcon::instance().balloonsShown().isEmpty());
    // The clipboard itself is still watched.
    putOnClipboard(Content::Text);
    EXPECT_EQ(gTrayIcon::instance().balloonsShown().size(), 1);
}

TEST_F(MainClipboard, WatchEndsWithTheMainWindow) {
    gOption(Option::OfferClipboard) = true;
    frmMain* m = loadMain();
    EXPECT_TRUE(gClipboardWatch::instance().isHooked());
    m->mTExit->trigger();
    EXPECT_FALSE(gClipboardWatch::instance().isHooked());
    putOnClipboard(Content::Text);
    EXPECT_TRUE(gTrayIcon::instance().balloonsShown().isEmpty());
}

// ---- menus ----

class MainMenus : public ShellTest {};

QStringList captions(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

TEST_F(MainMenus, CaptionsExactlyAsStored) {
    frmMain* m = loadMain();
    EXPECT_EQ(m->mHelp->title(), QStringLiteral("帮助"));
    EXPECT_EQ(captions(m->mHelp), (QStringList{"帮助", "-", "退出 (&X)", "-", "关于 Rededera (&A)"}));
    EXPECT_EQ(m->mTool->title(), QStringLiteral("托盘及悬浮菜单"));
    EXPECT_EQ(captions(m->mTool),
              (QStringList{"隐藏 Rededera (&O)", "悬浮窗口", "现在锁定", "-", "现在记录 (&N)",
                           "引用剪贴板记录", "-", "帮助", "关于 Rededera (&A)", "-", "退出 (&X)"}));
    EXPECT_EQ(m->mLock->title(), QStringLiteral("锁定菜单"));
    EXPECT_EQ(captions(m->mLock), (QStringList{"解除锁定", "-", "退出 (&X)"}));
}

TEST_F(MainMenus, FloatingWindowItemCarriesItsCheckMark) {
    frmMain* m = loadMain();
    EXPECT_FALSE(m->mTSuspend->isChecked());
    m->mTSuspend->trigger();
    EXPECT_TRUE(forms::isLoaded(Form::frmSuspend));
    EXPECT_TRUE(m->mTSuspend->isChecked());
    m->mTSuspend->trigger();
    EXPECT_FALSE(forms::isLoaded(Form::frmSuspend));
    EXPECT_FALSE(m->mTSuspend->isChecked());
    // Closed some other way: the menu shows the truth when it opens.
    m->mTSuspend->trigger();
    forms::unload(Form::frmSuspend);
    Q_EMIT m->mTool->aboutToShow();
    EXPECT_FALSE(m->mTSuspend->isChecked());
}

TEST_F(MainMenus, ItemsRunTheirCommands) {
    frmMain* m = loadMain();
    m->mTNew->trigger();
    EXPECT_EQ(m->pageIndex(), pageNumber(Page::Writing));
    m->mTHelp->trigger();
    EXPECT_TRUE(forms::isLoaded(Form::frmHelp));
    forms::unload(Form::frmHelp);
    m->mHHelp->trigger();
    EXPECT_TRUE(forms::isLoaded(Form::frmHelp));
    m->mHAbout->trigger();
    EXPECT_TRUE(forms::isLoaded(Form::frmAbout));
    forms::unload(Form::frmAbout);
    m->mTAbout->trigger();
    EXPECT_TRUE(forms::isLoaded(Form::frmAbout));
    m->mHExit->trigger();
    EXPECT_EQ(gMainWindow(), nullptr);
}

// ---- window services ----

class WindowServices : public ShellTest {};

TEST_F(WindowServices, SizeLimitsOfTheMainWindow) {
    frmMain* m = loadMain();
    EXPECT_EQ(m->minimumSize(), QSize(655, 505));
    EXPECT_EQ(m->maximumSize(), m->screen()->size());
    m->resize(300, 200);
    EXPECT_GE(m->width(), 655);
    EXPECT_GE(m->height(), 505);

    QWidget w;
    gLimitFormSize(&w, 100, 80, 400, 300);
    EXPECT_EQ(w.minimumSize(), QSize(100, 80));
    EXPECT_EQ(w.maximumSize(), QSize(400, 300));
}

TEST_F(WindowServices, TranslucencyIsHalf) {
    QWidget w;
    gSetTranslucent(&w);
    EXPECT_NEAR(w.windowOpacity(), 128.0 / 255.0, 0.01);
}

TEST_F(WindowServices, BalloonsNeedANotificationArea) {
    loadMain();
    gTraySeam::setAreaExists(false);
    gTrayBalloon(QStringLiteral("文字"), QStringLiteral("标题"), gBalloonIcon::Warning, 0);
    EXPECT_TRUE(gTrayIcon::instance().balloonsShown().isEmpty());
    gTraySeam::setAreaExists(true);
    gTrayBalloon(QStringLiteral("文字"), QStringLiteral("标题"), gBalloonIcon::Warning, 0);
    ASSERT_EQ(gTrayIcon::instance().balloonsShown().size(), 1);
    EXPECT_EQ(gTrayIcon::instance().balloonsShown()[0].infoFlags, gBalloonIcon::Warning);
}

TEST_F(WindowServices, IconLivesAsLongAsTheMainWindow) {
    frmMain* m = loadMain();
    EXPECT_TRUE(gTrayIcon::instance().isAdded());
    EXPECT_EQ(gTrayIcon::instance().host().window, m);
    EXPECT_FALSE(m->trayIcon.isNull());
    m->mTExit->trigger();
    EXPECT_FALSE(gTrayIcon::instance().isAdded());
    // Clicks after the exit reach nothing.
    gTrayIcon::instance().leftClick();
    gTrayIcon::instance().balloonClicked();
    EXPECT_EQ(gTrayIcon::instance().rightClick(), nullptr);
}

} // namespace

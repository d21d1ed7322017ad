// The floating window over the real main window: loading and its check mark,
// dragging, the menu and double click, and dropped text becoming a new entry.
#include "shellFixture.h"

#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "core/ui/gPageSwitch.h"
#include "core/ui/gWindowServices.h"
#include "shell/frmMain.h"
#include "shell/frmSuspend.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include <functional>
#include <memory>
#include <ostream>

namespace {

class FloatingWindowTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        // The real window in place of the fixture's stand-in.
        forms::registerForm(Form::frmSuspend, [] { return new frmSuspend; });
    }
    void TearDown() override {
        if (main_ && main_->mTool) main_->mTool->hide();
        ShellTest::TearDown();
    }
    frmSuspend* floating() const { return forms::find<frmSuspend>(Form::frmSuspend); }
    // Opens it the way the main window's menu does.
    frmSuspend* openFloating() {
        if (!main_) loadMain();
        if (!floating()) main_->mTSuspend->trigger();
        return floating();
    }
    void mouse(QEvent::Type type, Qt::MouseButton button, QPoint at) {
        frmSuspend* f = floating();
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent e(type, QPointF(at), QPointF(f->picture->mapToGlobal(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
        QApplication::sendEvent(f->picture, &e);
    }
    // Sends the drag's enter and the drop to the picture; returns whether both were taken.
    bool drop(const QMimeData* data) {
        QLabel* target = floating()->picture;
        const QPointF at(20, 20);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent dropped(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        return enter.isAccepted() && dropped.isAccepted();
    }
    static std::unique_ptr<QMimeData> textData(const QString& text) {
        auto d = std::make_unique<QMimeData>();
        d->setText(text);
        return d;
    }
    static int failedBalloons() {
        int n = 0;
        for (const auto& b : gTrayIcon::instance().balloonsShown())
            if (b.title == QStringLiteral("引用失败") &&
                b.text == QStringLiteral("拖放的内容不是文本数据。") &&
                b.infoFlags == gBalloonIcon::Information && b.kind == 0)
                ++n;
        return n;
    }
};

// ---- loading and unloading ----

TEST_F(FloatingWindowTest, MenuItemOpensATranslucentTopmostPictureAndClosesIt) {
    frmMain* m = loadMain();
    ASSERT_FALSE(m->mTSuspend->isChecked());
    m->mTSuspend->trigger();
    frmSuspend* f = floating();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->isVisible());
    EXPECT_TRUE(m->mTSuspend->isChecked());
    EXPECT_TRUE(f->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(f->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_NEAR(f->windowOpacity(), gTranslucentOpacity, 0.01);
    EXPECT_EQ(f->size(), f->picture->size());
    EXPECT_EQ(f->picture->pos(), QPoint(0, 0));
    EXPECT_EQ(f->picture->toolTip(), QStringLiteral("每日记事"));
    EXPECT_FALSE(f->picture->pixmap().isNull());
    EXPECT_TRUE(f->picture->acceptDrops());
    // On screen, not in the main window.
    EXPECT_TRUE(f->isWindow());
    EXPECT_TRUE(QApplication::screenAt(f->geometry().center()) != nullptr);

    m->mTSuspend->trigger();
    EXPECT_FALSE(forms::isLoaded(Form::frmSuspend));
    EXPECT_FALSE(m->mTSuspend->isChecked());
}

TEST_F(FloatingWindowTest, CheckMarkFollowsTheWindowWhoeverLoadsOrUnloadsIt) {
    frmMain* m = loadMain();
    // The unlock window loads it straight through the registry.
    forms::load(Form::frmSuspend)->show();
    EXPECT_TRUE(m->mTSuspend->isChecked());
    forms::unload(Form::frmSuspend);
    EXPECT_FALSE(m->mTSuspend->isChecked());
    // Locking takes it away with its mark.
    openFloating();
    ASSERT_TRUE(m->mTSuspend->isChecked());
    m->mTLock->trigger();
    EXPECT_FALSE(forms::isLoaded(Form::frmSuspend));
    EXPECT_FALSE(m->mTSuspend->isChecked());
}

TEST_F(FloatingWindowTest, LoadsWithoutTheMainWindow) {
    // Nothing to tick, nothing to fail on.
    frmSuspend* f = forms::load<frmSuspend>(Form::frmSuspend);
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    EXPECT_TRUE(forms::unload(Form::frmSuspend));
}

TEST_F(FloatingWindowTest, ExitUnloadsIt) {
    frmMain* m = loadMain();
    openFloating();
    m->mTExit->trigger();
    EXPECT_FALSE(forms::isLoaded(Form::frmSuspend));
}

// ---- mouse ----

struct DragCase {
    const char* name;
    Qt::MouseButton button;
    bool moves;
};
void PrintTo(const DragCase& c, std::ostream* os) {
    *os << c.name;
}

class FloatingWindowDrag : public FloatingWindowTest, public ::testing::WithParamInterface<DragCase> {};

TEST_P(FloatingWindowDrag, OnlyTheLeftButtonDrags) {
    const DragCase& c = GetParam();
    frmSuspend* f = openFloating();
    f->move(200, 150);
    const QPoint start = f->pos();
    mouse(QEvent::MouseButtonPress, c.button, QPoint(10, 12));
    EXPECT_EQ(f->dragging(), c.moves);
    mouse(QEvent::MouseMove, c.button, QPoint(30, 27));
    EXPECT_EQ(f->pos(), c.moves ? start + QPoint(20, 15) : start);
    mouse(QEvent::MouseButtonRelease, c.button, QPoint(30, 27));
    EXPECT_FALSE(f->dragging());
    // After the release moving the pointer leaves the window where it is.
    const QPoint dropped = f->pos();
    mouse(QEvent::MouseMove, Qt::NoButton, QPoint(50, 50));
    EXPECT_EQ(f->pos(), dropped);
}

INSTANTIATE_TEST_SUITE_P(Buttons, FloatingWindowDrag,
                         ::testing::Values(DragCase{"left", Qt::LeftButton, true},
                                           DragCase{"right", Qt::RightButton, false},
                                           DragCase{"middle", Qt::MiddleButton, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FloatingWindowTest, RightClickPopsTheNotificationMenuAndLeftClickDoesNot) {
    frmMain* m = loadMain();
    openFloating();
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(5, 5));
    EXPECT_FALSE(m->mTool->isVisible());
    mouse(QEvent::MouseButtonPress, Qt::RightButton, QPoint(5, 5));
    mouse(QEvent::MouseButtonRelease, Qt::RightButton, QPoint(5, 5));
    EXPECT_TRUE(m->mTool->isVisible());
    // The menu shows the window's own item ticked.
    EXPECT_TRUE(m->mTSuspend->isChecked());
    m->mTool->hide();
}

TEST_F(FloatingWindowTest, DoubleClickHidesTheMainWindowAndBringsItBackOnItsPage) {
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Review));
    QWidget* page = m->currentPage();
    openFloating();
    ASSERT_TRUE(m->isVisible());

    mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, QPoint(8, 8));
    pumpEvents();
    EXPECT_TRUE(m->isMinimized());
    EXPECT_FALSE(m->isVisible());
    // Minimising with option 0 off leaves the floating window as it was.
    EXPECT_NE(floating(), nullptr);

    mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, QPoint(8, 8));
    pumpEvents();
    EXPECT_TRUE(m->isVisible());
    EXPECT_FALSE(m->isMinimized());
    EXPECT_EQ(m->pageIndex(), pageNumber(Page::Review));
    EXPECT_EQ(m->currentPage(), page);
}

// ---- dropping ----

TEST_F(FloatingWindowTest, DroppedTextStartsANewEntry) {
    frmMain* m = loadMain();
    openFloating();
    const auto data = textData(QStringLiteral("拖进来的一段话\n第二行"));
    EXPECT_TRUE(drop(data.get()));
    EXPECT_EQ(m->pageIndex(), pageNumber(Page::Writing));
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->bodyText(), QStringLiteral("拖进来的一段话\n第二行"));
    EXPECT_TRUE(editor()->titleText().isEmpty());
    EXPECT_FALSE(gPageFlags().editMode);
    EXPECT_EQ(failedBalloons(), 0);
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
}

TEST_F(FloatingWindowTest, DroppedTextBringsTheHiddenMainWindowBack) {
    frmMain* m = loadMain();
    openFloating();
    m->mTOpen->trigger();
    pumpEvents();
    ASSERT_FALSE(m->isVisible());
    const auto data = textData(QStringLiteral("一句话"));
    drop(data.get());
    pumpEvents();
    EXPECT_TRUE(m->isVisible());
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->bodyText(), QStringLiteral("一句话"));
}

TEST_F(FloatingWindowTest, DropOnAnEntryBeingWrittenAsksFirst) {
    frmMain* m = loadMain();
    openFloating();
    ASSERT_TRUE(m->gChangeFrame(Page::Writing));
    TestEditor* old = editor();
    old->Text1->setPlainText(QStringLiteral("写了一半"));
    const auto data = textData(QStringLiteral("拖进来的"));

    gMsgBoxSeam::pushAnswer(gMsgResult::No);
    drop(data.get());
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::EntryNotEmptyDiscard});
    EXPECT_EQ(editor(), old);
    EXPECT_EQ(old->bodyText(), QStringLiteral("写了一半"));

    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    drop(data.get());
    ASSERT_NE(editor(), nullptr);
    EXPECT_NE(editor(), old);
    EXPECT_EQ(editor()->bodyText(), QStringLiteral("拖进来的"));
}

TEST_F(FloatingWindowTest, DropOnAnEmptyNewEntryFillsItWithoutAsking) {
    frmMain* m = loadMain();
    openFloating();
    ASSERT_TRUE(m->gChangeFrame(Page::Writing));
    const auto data = textData(QStringLiteral("拖进来的"));
    drop(data.get());
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->bodyText(), QStringLiteral("拖进来的"));
}

struct DropCase {
    const char* name;
    std::function<void(QMimeData&)> fill;
    bool isText;
};
void PrintTo(const DropCase& c, std::ostream* os) {
    *os << c.name;
}

class FloatingWindowDropKinds : public FloatingWindowTest, public ::testing::WithParamInterface<DropCase> {};

TEST_P(FloatingWindowDropKinds, OnlyTextBecomesAnEntry) {
    const DropCase& c = GetParam();
    frmMain* m = loadMain();
    openFloating();
    gTrayIcon::instance().clearBalloons();
    QMimeData data;
    c.fill(data);
    EXPECT_EQ(frmSuspend::isTextDrop(&data), c.isText);
    EXPECT_TRUE(drop(&data));
    if (c.isText) {
        EXPECT_EQ(m->pageIndex(), pageNumber(Page::Writing));
        ASSERT_NE(editor(), nullptr);
        EXPECT_EQ(editor()->bodyText(), data.text());
        EXPECT_EQ(failedBalloons(), 0);
    } else {
        EXPECT_EQ(m->pageIndex(), pageNumber(Page::Home));
        EXPECT_EQ(editor(), nullptr);
        EXPECT_EQ(failedBalloons(), 1);
        EXPECT_EQ(gTrayIcon::instance().balloonsShown().size(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, FloatingWindowDropKinds,
    ::testing::Values(
        DropCase{"plainText", [](QMimeData& d) { d.setText(QStringLiteral("一段文字")); }, true},
        DropCase{"htmlWithText",
                 [](QMimeData& d) {
                     d.setHtml(QStringLiteral("<b>粗体</b>"));
                     d.setText(QStringLiteral("粗体"));
                 },
                 true},
        DropCase{"webLink",
                 [](QMimeData& d) {
                     d.setUrls({QUrl(QStringLiteral("https://example.org/a"))});
                     d.setText(QStringLiteral("https://example.org/a"));
                 },
                 true},
        DropCase{"fileWithItsNameAsText",
                 [](QMimeData& d) {
                     d.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/note.txt"))});
                     d.setText(QStringLiteral("/tmp/note.txt"));
                 },
                 false},
        DropCase{"fileOnly",
                 [](QMimeData& d) { d.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.png"))}); }, false},
        DropCase{"picture",
                 [](QMimeData& d) {
                     QImage img(4, 4, QImage::Format_RGB32);
                     img.fill(Qt::blue);
                     d.setImageData(img);
                 },
                 false},
        DropCase{"emptyText", [](QMimeData& d) { d.setText(QString()); }, false},
        DropCase{"nothing", [](QMimeData&) {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

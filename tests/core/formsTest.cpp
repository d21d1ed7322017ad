#include "core/ui/gDialogKeys.h"
#include "core/ui/gForms.h"
#include "core/ui/gShared.h"
#include "testSupport.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {
struct Counts {
    int loads = 0, unloads = 0;
    bool refuse = false;
};
Counts counts;

class TestForm : public QWidget, public gForm {
public:
    void formLoad() override { ++counts.loads; }
    bool formQueryUnload() override { return !counts.refuse; }
    void formUnload() override { ++counts.unloads; }
};
// A form only these tests register.
constexpr gFormName kTestForm{"frmTest"};
} // namespace

class FormRegistry : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        counts = {};
        forms::registerForm(kTestForm, [] { return new TestForm; });
    }
};

TEST_F(FormRegistry, LoadIsIdempotentAndUnloadGivesAFreshInstanceNextTime) {
    QWidget* a = forms::load(kTestForm);
    EXPECT_EQ(forms::load(kTestForm), a);
    EXPECT_EQ(counts.loads, 1);
    EXPECT_FALSE(a->isVisible());
    EXPECT_EQ(forms::loadedNames(), QStringList{"frmTest"});

    QPointer<QWidget> watch(a);
    a->show();
    EXPECT_TRUE(forms::unload(kTestForm));
    EXPECT_TRUE(forms::unload(kTestForm)); // idempotent
    EXPECT_EQ(counts.unloads, 1);
    EXPECT_FALSE(forms::isLoaded(kTestForm));
    // Deleted later, not at once: a form may unload itself from its own handler.
    ASSERT_FALSE(watch.isNull());
    EXPECT_FALSE(watch->isVisible());
    pumpEvents();
    EXPECT_TRUE(watch.isNull());

    QWidget* b = forms::load(kTestForm);
    EXPECT_EQ(counts.loads, 2);
    EXPECT_EQ(forms::find(kTestForm), b);
}

TEST_F(FormRegistry, AFormCanRefuseToUnloadAndUnknownNamesRaise) {
    forms::load(kTestForm);
    counts.refuse = true;
    EXPECT_FALSE(forms::unload(kTestForm));
    EXPECT_TRUE(forms::isLoaded(kTestForm));
    counts.refuse = false;
    EXPECT_THROW(forms::load(gFormName{"frmNoSuchForm"}), std::exception);
}

TEST_F(FormRegistry, TheProgramEndsOnlyWhenNoFormIsLeftAfterQueuedWork) {
    forms::setQuitWhenEmpty(true);
    bool quit = false;
    auto conn = QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&] { quit = true; });
    // "Unload this window, then load the next": no end in between.
    forms::load(kTestForm);
    forms::unload(kTestForm);
    forms::load(kTestForm);
    QTimer unloadLater, fallback; // owned here, so neither can fire into a later test
    unloadLater.setSingleShot(true);
    fallback.setSingleShot(true);
    QObject::connect(&unloadLater, &QTimer::timeout, [] { forms::unload(kTestForm); });
    QObject::connect(&fallback, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    unloadLater.start(50);
    fallback.start(2000);
    const int code = QCoreApplication::exec();
    forms::setQuitWhenEmpty(false);
    QObject::disconnect(conn);
    EXPECT_TRUE(quit);
    EXPECT_EQ(code, 0) << "the empty registry should have ended the loop";
}

TEST_F(FormRegistry, HandCursorGoesToLblCmdControlsOnly) {
    QWidget form;
    auto* yes = new QLabel("a", &form);
    yes->setObjectName("lblCmd1");
    auto* no = new QLabel("b", &form);
    no->setObjectName("LblCmd1");
    gSetHandCursor(&form);
    EXPECT_EQ(yes->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_NE(no->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(FormRegistry, TopMostKeepsTheWindowWhereItWas) {
    QWidget w;
    w.setGeometry(120, 90, 300, 200);
    w.show();
    QCoreApplication::processEvents();
    const QRect before = w.geometry();
    gSetTopMost(&w, true);
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.geometry(), before);
    gSetTopMost(&w, false);
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.geometry(), before);

    QWidget hidden;
    gSetTopMost(&hidden, true);
    EXPECT_FALSE(hidden.isVisible());
}

TEST_F(FormRegistry, ReturnAndEscapePressTheNamedButtons) {
    QWidget w;
    auto* ok = new QPushButton("确定", &w);
    auto* cancel = new QPushButton("取消", &w);
    gBindDefaultCancel(&w, ok, cancel);
    w.show();
    QApplication::setActiveWindow(&w);
    QSignalSpy okSpy(ok, &QPushButton::clicked), cancelSpy(cancel, &QPushButton::clicked);
    QTest::keyClick(&w, Qt::Key_Return);
    QTest::keyClick(&w, Qt::Key_Enter);
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_EQ(okSpy.count(), 2);
    EXPECT_EQ(cancelSpy.count(), 1);
}

TEST_F(FormRegistry, BindingAgainMovesTheKeysToTheNewButtons) {
    // A pane that makes another button the cancel button rebinds the same window.
    QWidget w;
    auto* save = new QPushButton("保存", &w);
    auto* cancel = new QPushButton("取消", &w);
    auto* back = new QPushButton("返回", &w);
    gBindDefaultCancel(&w, save, cancel);
    gBindDefaultCancel(&w, save, back);
    w.show();
    QApplication::setActiveWindow(&w);
    QSignalSpy saveSpy(save, &QPushButton::clicked), cancelSpy(cancel, &QPushButton::clicked),
        backSpy(back, &QPushButton::clicked);
    QTest::keyClick(&w, Qt::Key_Escape);
    QTest::keyClick(&w, Qt::Key_Return);
    EXPECT_EQ(backSpy.count(), 1);
    EXPECT_EQ(cancelSpy.count(), 0);
    EXPECT_EQ(saveSpy.count(), 1);

    // No cancel button any more: Escape does nothing.
    gBindDefaultCancel(&w, save, nullptr);
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_EQ(backSpy.count(), 1);
}

TEST_F(FormRegistry, ReturnOnAFocusedButtonPressesThatButton) {
    QWidget w;
    auto* ok = new QPushButton("确定", &w);
    auto* cancel = new QPushButton("取消", &w);
    gBindDefaultCancel(&w, ok, cancel);
    w.show();
    QApplication::setActiveWindow(&w);
    cancel->setFocus();
    QSignalSpy okSpy(ok, &QPushButton::clicked), cancelSpy(cancel, &QPushButton::clicked);
    QTest::keyClick(cancel, Qt::Key_Return);
    EXPECT_EQ(cancelSpy.count(), 1);
    EXPECT_EQ(okSpy.count(), 0);
}

TEST_F(FormRegistry, RegistryValuesThroughTheSharedProcedures) {
    const QString key = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    QString text;
    ASSERT_TRUE(gRegSetString(HKEY_CURRENT_USER, "Software\\Rededera", "Empty", text));
    EXPECT_EQ(text, " "); // an empty text is stored as a single space, and the caller sees it
    EXPECT_EQ(gRegGetValue(HKEY_CURRENT_USER, "Software\\Rededera", "Empty", "d"), " ");
    EXPECT_EQ(gRegGetValue(HKEY_CURRENT_USER, "Software\\Rededera", "Missing", "default"), "default");
    gRegDeleteValue(HKEY_CURRENT_USER, key, "Rededera"); // nothing to delete: ignored
    EXPECT_EQ(gRegGetValue(HKEY_CURRENT_USER, key, "Rededera", "none"), "none");
}

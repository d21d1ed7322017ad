#include "core/ui/gForms.h"
#include "testSupport.h"

#include <QCoreApplication>
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

// The main window and the windows it opens come up centred on the screen, not
// at the top-left corner over each other (offscreen nothing else places them,
// as without a window manager).
#include "shellFixture.h"

#include "accounts/frmKeyExport.h"
#include "accounts/frmLock.h"
#include "core/ui/gWindowServices.h"
#include "shell/frmMain.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>

namespace {

QRect screenArea() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

::testing::AssertionResult centredOnScreen(const QWidget* w) {
    if (!w) return ::testing::AssertionFailure() << "no window";
    if (!w->isVisible())
        return ::testing::AssertionFailure() << w->objectName().toStdString() << " not shown";
    if (!sameCentre(w->frameGeometry(), screenArea()))
        return ::testing::AssertionFailure() << w->objectName().toStdString() << " at " << w->x() << ","
                                             << w->y() << " size " << w->width() << "x" << w->height();
    return ::testing::AssertionSuccess();
}

class MainWindowPlaces : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        forms::registerForm(Form::frmLock, [] { return new frmLock; });
    }
};

TEST_F(MainWindowPlaces, TheMainWindowAndWhatItOpensComeUpCentred) {
    frmMain* m = loadMain();
    EXPECT_TRUE(centredOnScreen(m));

    m->mHAbout->trigger();
    EXPECT_TRUE(centredOnScreen(forms::find(Form::frmAbout)));

    QTest::mouseClick(m->pageButtons[pageNumber(Page::HelpWindow)], Qt::LeftButton);
    EXPECT_TRUE(centredOnScreen(forms::find(Form::frmHelp)));

    m->mTLock->trigger();
    gTrayIcon::instance().leftClick();
    EXPECT_TRUE(centredOnScreen(forms::find(Form::frmLock)));
}

TEST_F(MainWindowPlaces, AWindowMovedAndShownAgainStaysWhereItWas) {
    frmMain* m = loadMain();
    m->move(3, 4);
    m->mTOpen->trigger(); // minimised to the notification area
    ASSERT_FALSE(m->isVisible());
    m->mTOpen->trigger();
    ASSERT_TRUE(m->isVisible());
    EXPECT_EQ(m->pos(), QPoint(3, 4));
}

TEST_F(MainWindowPlaces, TheKeyFileWizardOnItsOwnOpensCentred) {
    forms::registerForm(Form::frmKeyExport, [] { return new frmKeyExport; });
    QWidget* wizard = forms::load(Form::frmKeyExport);
    wizard->show();
    EXPECT_TRUE(centredOnScreen(wizard));
}

} // namespace

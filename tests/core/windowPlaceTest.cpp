// Where windows open: centred on the screen, or on the window a dialog belongs
// to, and beside a window they must not cover; whether or not a window manager
// places them (offscreen there is none).
#include "../common/testSupport.h"

#include "core/ui/gForms.h"
#include "core/ui/gWindowPlace.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include <ostream>

namespace {

const QRect kScreen(0, 0, 1280, 900);

struct CentreCase {
    const char* label;
    QRect on;
    QSize frame;
    QPoint expected;
};

void PrintTo(const CentreCase& c, std::ostream* os) {
    *os << c.label;
}

class CentredPos : public ::testing::TestWithParam<CentreCase> {};

TEST_P(CentredPos, CentresAndStaysOnScreen) {
    const CentreCase c = GetParam();
    EXPECT_EQ(gCentredPos(c.on, c.frame, kScreen), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CentredPos,
    ::testing::Values(CentreCase{"OnTheScreen", kScreen, {400, 300}, {440, 300}},
                      CentreCase{"OddSizes", kScreen, {401, 301}, {439, 299}},
                      CentreCase{"OnAnOwner", {100, 100, 600, 400}, {200, 100}, {300, 250}},
                      // A dialog over an owner at the screen's edge stays whole on screen.
                      CentreCase{"OwnerAtTheRightEdge", {1100, 700, 400, 300}, {300, 200}, {980, 700}},
                      CentreCase{"OwnerAboveTheTop", {0, -200, 300, 200}, {200, 150}, {50, 0}},
                      // Larger than the screen: its top-left corner, with the title bar, stays reachable.
                      CentreCase{"LargerThanTheScreen", kScreen, {1400, 1000}, {0, 0}}));

struct BesideCase {
    const char* label;
    QRect screen;
    QRect other;
    QSize frame;
    QPoint otherAt;
    QPoint expected;
};

void PrintTo(const BesideCase& c, std::ostream* os) {
    *os << c.label;
}

class PlacesBeside : public ::testing::TestWithParam<BesideCase> {};

TEST_P(PlacesBeside, NeitherCoversTheOther) {
    const BesideCase c = GetParam();
    const gBesidePlaces at = gPlacesBeside(c.other, c.frame, c.screen, 12);
    EXPECT_EQ(at.other, c.otherAt);
    EXPECT_EQ(at.window, c.expected);
    const QRect window(at.window, c.frame), other(at.other, c.other.size());
    EXPECT_TRUE(c.screen.contains(window));
    EXPECT_TRUE(c.screen.contains(other));
    EXPECT_FALSE(window.intersects(other));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlacesBeside,
    ::testing::Values(
        // Today's classes in the middle: the reminder to its right, level with its top.
        BesideCase{"Right", kScreen, {450, 278, 380, 344}, {300, 250}, {450, 278}, {842, 278}},
        BesideCase{"LeftWhenNoRoomRight", kScreen, {900, 100, 380, 344}, {300, 250}, {900, 100}, {588, 100}},
        BesideCase{"BelowWhenTooWide", kScreen, {100, 100, 1080, 300}, {300, 250}, {100, 100}, {490, 412}},
        BesideCase{
            "AboveWhenNothingElse", kScreen, {100, 500, 1080, 400}, {300, 250}, {100, 500}, {490, 238}},
        // Near the bottom: moved up so that it fits beside.
        BesideCase{"RightKeptOnScreen", kScreen, {450, 700, 380, 200}, {300, 250}, {450, 700}, {842, 650}},
        // An 800 by 600 screen with the report in its middle: both move to sit side by side.
        BesideCase{
            "BothMoveSideBySide", {0, 0, 800, 600}, {210, 128, 380, 344}, {380, 236}, {14, 128}, {406, 128}},
        // Too narrow for that: one above the other.
        BesideCase{"BothMoveOneAboveTheOther",
                   {0, 0, 500, 620},
                   {60, 100, 380, 344},
                   {380, 236},
                   {60, 14},
                   {60, 370}}));

TEST(PlacesBesideSmallScreen, StaysOnScreenAsFarRightAsItCan) {
    const QRect screen(0, 0, 500, 400);
    const QRect other(50, 50, 400, 300);
    const gBesidePlaces at = gPlacesBeside(other, QSize(300, 250), screen, 12);
    EXPECT_EQ(at.other, other.topLeft());
    EXPECT_EQ(at.window, QPoint(200, 50));
}

// ---- real windows ----

class Window : public QWidget, public gForm {};

// A window only these tests register.
constexpr gFormName kTestWindow{"testWindow"};

class WindowPlace : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        forms::registerForm(kTestWindow, [] {
            auto* w = new Window;
            w->setFixedSize(300, 200);
            return w;
        });
    }
    static QRect screen() { return QGuiApplication::primaryScreen()->availableGeometry(); }
};

TEST_F(WindowPlace, AFormOpensCentredOnTheScreenAndStaysWhereItWasPut) {
    QWidget* w = forms::load(kTestWindow);
    w->show();
    EXPECT_TRUE(sameCentre(w->frameGeometry(), screen()));
    // Shown again later, it is where it was.
    w->move(20, 30);
    w->hide();
    w->show();
    EXPECT_EQ(w->pos(), QPoint(20, 30));
    // A fresh load opens centred again.
    forms::unload(w);
    pumpEvents();
    QWidget* again = forms::load(kTestWindow);
    again->show();
    EXPECT_TRUE(sameCentre(again->frameGeometry(), screen()));
}

TEST_F(WindowPlace, AFormThatPlacesItselfKeepsItsPlace) {
    QWidget* w = forms::load(kTestWindow);
    w->move(5, 7);
    w->show();
    EXPECT_EQ(w->pos(), QPoint(5, 7));
}

TEST_F(WindowPlace, APagePlacedInAWindowIsLeftAlone) {
    QWidget host;
    host.resize(600, 400);
    QWidget* page = forms::load(kTestWindow);
    page->setParent(&host, Qt::Widget);
    page->move(10, 20);
    host.show();
    page->show();
    EXPECT_EQ(page->pos(), QPoint(10, 20));
}

TEST_F(WindowPlace, ADialogGoesOverTheWindowItBelongsTo) {
    QWidget owner;
    owner.setGeometry(40, 50, 500, 400);
    owner.show();
    QApplication::setActiveWindow(&owner);
    EXPECT_EQ(gOwnerWindow(), &owner);

    QWidget dialog;
    dialog.setFixedSize(200, 100);
    gCentreWindow(&dialog, gOwnerWindow(&dialog));
    dialog.show();
    EXPECT_TRUE(sameCentre(dialog.frameGeometry(), owner.frameGeometry()));

    // A minimised owner is no place for it: the screen is.
    owner.showMinimized();
    QWidget second;
    second.setFixedSize(200, 100);
    gCentreWindow(&second, &owner);
    second.show();
    EXPECT_TRUE(sameCentre(second.frameGeometry(), screen()));
}

} // namespace

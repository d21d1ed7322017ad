// The colour picker: swatch layout, the selection frame, choosing by a left
// press, the custom colour through the colour dialog, and its fixed size.
#include "controls/gPanelMath.h"
#include "controls/scheduleBackground.h"
#include "controls/scheduleColorSet.h"
#include "core/base/gColor.h"
#include "core/base/gError.h"
#include "core/ui/gTwips.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace {
constexpr QRgb kSilver = qRgb(0xC0, 0xC0, 0xC0);

// A picker shown in a window of its own; the colour dialog is scripted.
class ColorPicker : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        window->resize(520, 100);
        picker = new scheduleColorSet(window.get());
        scheduleColorSet::setColorDialog([this](QWidget*, long initial) {
            asked.push_back(initial);
            return answer;
        });
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override { scheduleColorSet::setColorDialog({}); }
    void press(int index, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(picker->swatch(index), button, Qt::NoModifier, QPoint(3, 3));
        QTest::mouseRelease(picker->swatch(index), button, Qt::NoModifier, QPoint(3, 3));
    }
    void doubleClick(int index) {
        press(index);
        QTest::mouseDClick(picker->swatch(index), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        // The double click leaves the button down in QTest's state: let it go, so
        // later tests do not move the mouse with a button held.
        QTest::mouseRelease(picker->swatch(index), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    }
    std::unique_ptr<QWidget> window;
    scheduleColorSet* picker = nullptr;
    std::optional<long> answer;
    std::vector<long> asked;
};
} // namespace

// ---- layout ------------------------------------------------------------------

struct SwatchCase {
    int index;
    int left, top, width; // twips; every swatch is 255 high
};

class ColorPickerLayout : public ColorPicker, public ::testing::WithParamInterface<SwatchCase> {};

TEST_P(ColorPickerLayout, SwatchSitsInItsRow) {
    const SwatchCase& c = GetParam();
    scheduleBackground* s = picker->swatch(c.index);
    EXPECT_EQ(s->geometry(), gPxRect(c.left, c.top, c.width, 255));
    EXPECT_EQ(s->color(), c.index);
    EXPECT_TRUE(s->visible2());
}

INSTANTIATE_TEST_SUITE_P(Cases, ColorPickerLayout,
                         ::testing::Values(SwatchCase{0, 120, 120, 375}, SwatchCase{7, 3480, 120, 375},
                                           SwatchCase{13, 6360, 120, 375}, SwatchCase{14, 120, 600, 375},
                                           SwatchCase{24, 4920, 600, 375}, SwatchCase{25, 5400, 600, 1335}),
                         [](const auto& info) { return std::to_string(info.param.index); });

TEST_F(ColorPicker, EverySwatchShowsItsOwnColourAndNoneHidesAnother) {
    for (int i = 0; i < gPaletteSize; ++i) {
        EXPECT_EQ(picker->swatch(i)->baseColor(), *gPaletteColor(i, gDefaultUserColor)) << i;
        EXPECT_TRUE(picker->rect().contains(picker->swatch(i)->geometry())) << i;
        for (int j = i + 1; j < gPaletteSize; ++j)
            EXPECT_FALSE(picker->swatch(i)->geometry().intersects(picker->swatch(j)->geometry()))
                << i << " overlaps " << j;
    }
}

TEST_F(ColorPicker, KeepsItsSize) {
    const QSize fixed = gPxSize(6850, 980);
    EXPECT_EQ(picker->size(), fixed);
    picker->resize(200, 300);
    window->resize(900, 400);
    QCoreApplication::processEvents();
    EXPECT_EQ(picker->size(), fixed);
}

// ---- choosing ----------------------------------------------------------------

TEST_F(ColorPicker, StartsAtSwatchZeroWithTheDefaultCustomColour) {
    EXPECT_EQ(picker->color(), 0);
    EXPECT_EQ(picker->userColor(), gDefaultUserColor);
    EXPECT_EQ(picker->swatch(25)->baseColor(), gDefaultUserColor);
    EXPECT_EQ(picker->frameRect(), gPxRect(90, 90, 450, 330));
}

TEST_F(ColorPicker, SettingColorFramesThatSwatch) {
    for (int i : {7, 20, 25, 0}) {
        picker->setColor(i);
        const QRect s = picker->swatch(i)->geometry();
        EXPECT_EQ(picker->color(), i);
        EXPECT_EQ(picker->frameRect(),
                  gPxRect(gTwips(s.x()) - 30, gTwips(s.y()) - 30, gTwips(s.width()) + 75, 330))
            << i;
    }
}

TEST_F(ColorPicker, AnIndexWithoutASwatchChangesNothing) {
    picker->setColor(7);
    const QRect frame = picker->frameRect();
    for (int bad : {-1, 26, 40, 32767}) {
        EXPECT_NO_THROW(picker->setColor(bad)) << bad;
        EXPECT_EQ(picker->color(), 7) << bad;
        EXPECT_EQ(picker->frameRect(), frame) << bad;
    }
}

TEST_F(ColorPicker, ALeftPressChoosesOtherButtonsDoNot) {
    press(16);
    EXPECT_EQ(picker->color(), 16);
    const QRect framed = picker->frameRect();
    press(3, Qt::RightButton);
    press(4, Qt::MiddleButton);
    EXPECT_EQ(picker->color(), 16);
    EXPECT_EQ(picker->frameRect(), framed);
}

// ---- custom colour -----------------------------------------------------------

TEST_F(ColorPicker, DoubleClickOnTheCustomSwatchTakesTheDialogsColour) {
    picker->setUserColor(0x112233);
    answer = 0x00AA55;
    doubleClick(25);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], 0x112233);
    EXPECT_EQ(picker->userColor(), 0x00AA55);
    EXPECT_EQ(picker->swatch(25)->baseColor(), 0x00AA55);
    EXPECT_EQ(picker->color(), 25); // chosen by the press before it
}

TEST_F(ColorPicker, CancellingTheDialogKeepsTheCustomColour) {
    answer = std::nullopt;
    doubleClick(25);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(picker->userColor(), gDefaultUserColor);
}

TEST_F(ColorPicker, DoubleClickOnAFixedSwatchOpensNothing) {
    answer = 0x00AA55;
    doubleClick(5);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(picker->color(), 5);
    EXPECT_EQ(picker->userColor(), gDefaultUserColor);
}

// ---- drawing -----------------------------------------------------------------

TEST_F(ColorPicker, SettingUserColorRepaintsOnlyTheCustomSwatch) {
    picker->setColor(3);
    const QImage before = picker->grab().toImage();
    picker->setUserColor(0x0000FF);
    const QImage after = picker->grab().toImage();
    EXPECT_EQ(picker->color(), 3);
    const QRect custom = picker->swatch(25)->geometry();
    for (int i = 0; i < gPaletteSize; ++i) {
        const QRect s = picker->swatch(i)->geometry();
        const QPoint p(s.left() + 2, s.top() + 5);
        if (i == 25)
            EXPECT_NE(after.pixel(p), before.pixel(p));
        else
            EXPECT_EQ(after.pixel(p), before.pixel(p)) << i;
    }
    // The custom swatch's bottom row is close to pure red now.
    EXPECT_GT(qRed(after.pixel(custom.left() + 5, custom.bottom() - 1)), 200);
}

TEST_F(ColorPicker, DrawsItsBorderAndTheFrameAroundTheChosenSwatch) {
    picker->setColor(7);
    QImage img = picker->grab().toImage();
    EXPECT_EQ(img.pixel(0, 30), kSilver);
    EXPECT_EQ(img.pixel(picker->width() - 1, 30), kSilver);
    EXPECT_EQ(img.pixel(200, picker->height() - 1), kSilver);
    const QRect f = picker->frameRect();
    EXPECT_EQ(img.pixel(f.left(), f.center().y()), kSilver);
    EXPECT_EQ(img.pixel(f.center().x(), f.top()), kSilver);
    // The frame left swatch 0 when it moved.
    const QRect old = gPxRect(90, 90, 450, 330);
    EXPECT_NE(img.pixel(old.left(), old.center().y()), kSilver);
}

TEST_F(ColorPicker, KeysChooseTheSwatchAndOpenTheCustomColour) {
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const QImage plain = picker->grab().toImage();
    picker->clearFocus();
    QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
    ASSERT_TRUE(picker->hasFocus());
    EXPECT_NE(picker->grab().toImage(), plain); // the focus mark

    struct Case {
        Qt::Key key;
        int color;
    };
    const Case cases[] = {
        {Qt::Key_Left, 0}, // nothing before the first
        {Qt::Key_Right, 1}, {Qt::Key_Down, 15}, {Qt::Key_Down, 15}, {Qt::Key_Up, 1},
        {Qt::Key_Left, 0},  {Qt::Key_Down, 14}, {Qt::Key_Left, 13}, // back to the top row's end
    };
    for (const Case& c : cases) {
        QTest::keyClick(window->windowHandle(), c.key);
        EXPECT_EQ(picker->color(), c.color) << c.key;
    }
    picker->setColor(13);
    QTest::keyClick(window->windowHandle(), Qt::Key_Down);
    EXPECT_EQ(picker->color(), 25); // the custom swatch closes the second row
    const QRect customFrame = picker->frameRect();
    EXPECT_TRUE(customFrame.contains(picker->swatch(25)->geometry()));
    QTest::keyClick(window->windowHandle(), Qt::Key_Right);
    EXPECT_EQ(picker->color(), 25);

    // Space or Enter on the custom swatch open the dialog; elsewhere they do nothing.
    answer = 0x123456;
    QTest::keyClick(window->windowHandle(), Qt::Key_Space);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(picker->userColor(), 0x123456);
    QTest::keyClick(window->windowHandle(), Qt::Key_Left);
    QTest::keyClick(window->windowHandle(), Qt::Key_Return);
    EXPECT_EQ(asked.size(), 1u);
}

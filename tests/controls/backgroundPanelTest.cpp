// The shaded background panel as a widget: its drawing, focus outline, palette,
// caption placement and events, rendered and driven offscreen.
#include "controls/gPanelMath.h"
#include "controls/scheduleBackground.h"
#include "core/base/gColor.h"
#include "core/base/gError.h"
#include "testSupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {
constexpr QRgb kClear = 0; // fully transparent

QImage shot(QWidget& w) {
    QImage img(w.size(), QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    w.render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    return img;
}

// A panel in a window of its own, shown, with a second widget to take the focus.
class BackgroundPanel : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        window->resize(200, 120);
        panel = new scheduleBackground(window.get());
        other = new QLineEdit(window.get());
        other->move(0, 100);
        // Shown, so that size changes reach the panel at once (a hidden widget gets
        // them only when shown). The panel, first in the tab chain, must not take
        // the focus on activation.
        other->setFocus();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void showAndActivate() {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    // A 60 x 30 panel of palette colour 0 with nothing written on it.
    void makeStandard() {
        panel->setVisible2(true);
        panel->setColor(0);
        panel->resize(60, 30);
    }
    std::unique_ptr<QWidget> window;
    scheduleBackground* panel = nullptr;
    QLineEdit* other = nullptr;
};

struct PixelCase {
    int x, y;
    QRgb expected;
    const char* what;
};

const QRgb kOutline = qRgb(189, 55, 65); // colour 0 darkened by 50
const QRgb kRow1 = qRgb(255, 225, 235);  // colour 0 lightened by 80, then by 40
const QRgb kRow2 = qRgb(255, 183, 193);  // 3 % towards colour 0
const QRgb kRow5 = qRgb(253, 174, 184);  // 14 %
const QRgb kRow28 = qRgb(240, 108, 118); // 96 %
} // namespace

TEST_F(BackgroundPanel, DrawsTheRoundedGradientPixelByPixel) {
    makeStandard();
    const QImage img = shot(*panel);
    ASSERT_EQ(img.size(), QSize(60, 30));
    const PixelCase cases[] = {
        {0, 0, kClear, "top-left corner"},
        {1, 1, kClear, "top-left corner"},
        {0, 3, kClear, "left corner"},
        {3, 0, kClear, "top edge begins at 4"},
        {59, 0, kClear, "top-right corner"},
        {58, 1, kClear, "top-right corner"},
        {0, 29, kClear, "bottom-left corner"},
        {59, 29, kClear, "bottom-right corner"},
        {0, 26, kClear, "left edge ends above the corner"},
        {4, 0, kOutline, "top edge"},
        {55, 0, kOutline, "top edge, last pixel"},
        {56, 0, kClear, "top edge end point not drawn"},
        {2, 1, kOutline, "corner pixel"},
        {57, 1, kOutline, "corner pixel"},
        {1, 2, kOutline, "corner pixel"},
        {58, 3, kOutline, "corner pixel"},
        {0, 4, kOutline, "left edge"},
        {0, 25, kOutline, "left edge, last pixel"},
        {59, 15, kOutline, "right edge"},
        {30, 29, kOutline, "bottom edge"},
        {1, 26, kOutline, "bottom-left corner pixel"},
        {4, 1, kRow1, "row 1"},
        {55, 1, kRow1, "row 1, last pixel"},
        {2, 2, kRow2, "row 2, first pixel"},
        {57, 2, kRow2, "row 2, last pixel"},
        {1, 5, kRow5, "row 5 starts at 1"},
        {58, 5, kRow5, "row 5 ends at W-2"},
        {4, 28, kRow28, "last row"},
        {55, 28, kRow28, "last row"},
        {3, 28, kOutline, "bottom-left corner pixel"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(img.pixel(c.x, c.y), c.expected)
            << c.what << " at " << c.x << "," << c.y << ": " << std::hex << img.pixel(c.x, c.y);
}

TEST_F(BackgroundPanel, KeepsTheOldImageWhileNotVisible2) {
    makeStandard();
    panel->setVisible2(false);
    panel->resize(80, 40);
    const QImage img = shot(*panel);
    EXPECT_EQ(img.pixel(55, 0), kOutline) << "the old outline stays";
    EXPECT_EQ(img.pixel(70, 35), kClear) << "nothing drawn in the new area";
    panel->setColor(4);
    EXPECT_EQ(shot(*panel), img) << "a colour change draws nothing either";
    panel->setCaption(QStringLiteral("Maths"));
    EXPECT_EQ(panel->shownCaption(), QString());

    // Once on again, the next size change draws the whole panel.
    panel->setVisible2(true);
    panel->resize(80, 41);
    EXPECT_EQ(shot(*panel).pixel(70, 0), qRgb(90, 165, 82)); // colour 4 darkened by 50
    EXPECT_EQ(panel->shownCaption(), QStringLiteral("Maths"));
}

TEST_F(BackgroundPanel, TinyPanelsDrawWithoutFault) {
    panel->setVisible2(true);
    for (int w = 0; w <= 9; ++w)
        for (int h = 0; h <= 9; ++h) {
            panel->resize(w, h);
            if (w > 0 && h > 0) EXPECT_EQ(shot(*panel).size(), QSize(w, h));
        }
    panel->resize(9, 9);
    EXPECT_EQ(shot(*panel).pixel(0, 0), kClear);
    // 42 % of the way from the light shade to the base colour.
    EXPECT_EQ(shot(*panel).pixel(4, 4), qRgb(248, 151, 161));
}

TEST_F(BackgroundPanel, OutlineTurnsBlackWhileFocused) {
    makeStandard();
    showAndActivate();
    const QImage before = shot(*panel);
    panel->setFocus();
    ASSERT_TRUE(panel->hasFocus());
    EXPECT_EQ(panel->foreColor(), 0);
    QImage img = shot(*panel);
    EXPECT_EQ(img.pixel(4, 0), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(0, 10), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(4, 1), kRow1);
    // Only the outline changes: every other pixel, fill and corners, stays as it was.
    int changed = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != before.pixel(x, y)) {
                ++changed;
                EXPECT_EQ(before.pixel(x, y), kOutline) << x << "," << y;
                EXPECT_EQ(img.pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;
            }
    // Top and bottom edges 52 each, side edges 22 each, 16 corner pixels.
    EXPECT_EQ(changed, 2 * 52 + 2 * 22 + 16);

    other->setFocus();
    ASSERT_FALSE(panel->hasFocus());
    EXPECT_EQ(shot(*panel), before) << "the outline is back in its colour";
}

TEST_F(BackgroundPanel, FocusDrawsTheOutlineEvenWhenNotVisible2) {
    panel->resize(40, 20);
    showAndActivate();
    panel->setColor(0);
    EXPECT_EQ(shot(*panel).pixel(10, 0), kClear);
    panel->setFocus();
    EXPECT_EQ(shot(*panel).pixel(10, 0), qRgb(0, 0, 0));
    EXPECT_EQ(shot(*panel).pixel(10, 10), kClear) << "no gradient";
    other->setFocus();
    EXPECT_EQ(shot(*panel).pixel(10, 0), kOutline);
}

TEST_F(BackgroundPanel, PaletteEdges) {
    makeStandard();
    // 25 follows the custom colour.
    panel->setColor(25);
    EXPECT_EQ(panel->baseColor(), gDefaultUserColor);
    panel->setUserColor(0x336699);
    EXPECT_EQ(panel->baseColor(), 0x336699);
    EXPECT_EQ(shot(*panel).pixel(4, 0), qRgb(103, 52, 1)); // the outline: 50 darker

    // Another index ignores the custom colour on screen.
    panel->setColor(3);
    const QImage before = shot(*panel);
    panel->setUserColor(0x00FF00);
    EXPECT_EQ(shot(*panel), before);
    EXPECT_EQ(panel->userColor(), 0x00FF00);

    // Outside 0..25 the old base stays; its shades are recomputed.
    for (int bad : {26, -1, 1000}) {
        panel->setColor(bad);
        EXPECT_EQ(panel->color(), bad);
        EXPECT_EQ(panel->baseColor(), 0x5AFBFF) << bad;
        EXPECT_EQ(panel->lightColor(), gRGB(255, 255, 170)) << bad;
        EXPECT_EQ(shot(*panel), before) << bad;
    }
}

TEST_F(BackgroundPanel, NewPanelStartsWithThePaletteLoaded) {
    EXPECT_EQ(panel->color(), 0);
    EXPECT_EQ(panel->userColor(), gDefaultUserColor);
    EXPECT_EQ(panel->baseColor(), 0x7369EF);
    EXPECT_EQ(panel->captionLeft(), 2);
    EXPECT_EQ(panel->caption(), QString());
    EXPECT_FALSE(panel->visible2());
}

TEST_F(BackgroundPanel, CaptionFollowsThePanelHeight) {
    panel->setVisible2(true);
    // Small enough letters that every chosen line fits the panel.
    QFont small = panel->findChild<QLabel*>()->font();
    small.setPixelSize(8);
    panel->findChild<QLabel*>()->setFont(small);
    panel->setCaption(QStringLiteral("A\r\nB\r\nC"));
    struct Case {
        int heightPx; // x 15 = twips
        QString shown;
    };
    const Case cases[] = {
        {32, "A"},           {33, "A\r\nB"},      {40, "A\r\nB"},
        {41, "A\r\nB\r\nC"}, {64, "A\r\nB\r\nC"}, {65, "A\r\n\r\nB\r\n\r\nC"},
    };
    for (const auto& c : cases) {
        panel->resize(100, c.heightPx);
        EXPECT_EQ(panel->shownCaption(), c.shown) << c.heightPx;
        const auto* label = panel->findChild<QLabel*>();
        ASSERT_NE(label, nullptr);
        QString shown = c.shown;
        EXPECT_EQ(label->text(), shown.replace("\r\n", "\n")) << c.heightPx;
    }
    // A caption set while showing is fitted at once.
    panel->resize(100, 32);
    panel->setCaption(QStringLiteral("X\r\nY"));
    EXPECT_EQ(panel->shownCaption(), QStringLiteral("X"));
}

TEST_F(BackgroundPanel, CaptionIsCentredWithinItsMargins) {
    panel->setVisible2(true);
    panel->resize(100, 70);
    // At this height a one-line caption cannot be spread; it is still placed.
    panel->setCaption(QStringLiteral("Physics"));
    const auto* label = panel->findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    // The panel breaks the caption into lines that fit; the label does not re-wrap them.
    EXPECT_FALSE(label->wordWrap());
    EXPECT_EQ(label->geometry().left(), 2);
    EXPECT_EQ(label->width(), 96);
    EXPECT_GT(label->height(), 0);
    EXPECT_LE(std::abs(label->geometry().top() - (70 - label->height()) / 2), 1);

    panel->setCaptionLeft(10);
    EXPECT_EQ(label->geometry().left(), 10);
    EXPECT_EQ(label->width(), 80);
}

TEST_F(BackgroundPanel, CaptionLeftRefusesWhatDoesNotFit) {
    panel->resize(90, 30);
    struct Case {
        int value;
        int after;
    };
    const Case cases[] = {
        {50, 2},  // wider than half the panel
        {45, 45}, // exactly half is allowed
        {-3, 45}, // negative margins are refused
        {0, 0},   {46, 0},
    };
    for (const auto& c : cases) {
        panel->setCaptionLeft(c.value);
        EXPECT_EQ(panel->captionLeft(), c.after) << c.value;
    }
    for (int overflow : {16384, -16385, 40000})
        EXPECT_EQ(errorOf([&] { panel->setCaptionLeft(overflow); }), gErr::Overflow) << overflow;
    EXPECT_EQ(panel->captionLeft(), 0);
    panel->setCaptionLeft(16383 / 2);
    EXPECT_EQ(panel->captionLeft(), 0) << "refused by width, not an error";
}

TEST_F(BackgroundPanel, RaisesMouseEventsFromPanelAndCaption) {
    panel->setVisible2(true);
    panel->resize(120, 60);
    panel->setCaption(QStringLiteral("Chemistry"));
    showAndActivate();
    auto* label = panel->findChild<QLabel*>();
    ASSERT_NE(label, nullptr);

    QSignalSpy down(panel, &scheduleBackground::mouseDown);
    QSignalSpy up(panel, &scheduleBackground::mouseUp);
    QSignalSpy moved(panel, &scheduleBackground::mouseMove);
    QSignalSpy click(panel, &scheduleBackground::click);
    QSignalSpy dbl(panel, &scheduleBackground::dblClick);

    // On the panel itself, outside the caption: panel coordinates.
    QTest::mouseClick(panel, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 6));
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down.at(0), (QList<QVariant>{1, 1, 5, 6}));
    ASSERT_EQ(up.count(), 1);
    EXPECT_EQ(up.at(0), (QList<QVariant>{1, 1, 5, 6}));
    EXPECT_EQ(click.count(), 1);
    EXPECT_TRUE(panel->hasFocus()) << "a click takes the focus";

    // On the caption: the label's own coordinates, no offset added.
    QTest::mouseClick(label, Qt::RightButton, Qt::ControlModifier, QPoint(3, 4));
    ASSERT_EQ(down.count(), 2);
    EXPECT_EQ(down.at(1), (QList<QVariant>{2, 2, 3, 4}));
    EXPECT_EQ(up.at(1), (QList<QVariant>{2, 2, 3, 4}));
    EXPECT_EQ(click.count(), 1) << "only the left button clicks";

    QTest::mouseMove(label, QPoint(7, 2));
    ASSERT_GE(moved.count(), 1);
    EXPECT_EQ(moved.last().at(2), 7);
    EXPECT_EQ(moved.last().at(3), 2);

    // A double click: down, up, click, double click, up; the second press raises
    // no mouseDown and the second release no click.
    down.clear(), up.clear(), click.clear();
    // Through the window, so the second press becomes a double click as a real one does.
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                       panel->mapTo(window.get(), QPoint(10, 10)));
    EXPECT_EQ(dbl.count(), 1);
    EXPECT_EQ(down.count(), 1);
    EXPECT_EQ(up.count(), 2);
    EXPECT_EQ(click.count(), 1);
    down.clear(), up.clear(), click.clear();
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                       label->mapTo(window.get(), QPoint(2, 2)));
    EXPECT_EQ(dbl.count(), 2);
    EXPECT_EQ(down.count(), 1);
    ASSERT_EQ(up.count(), 2);
    EXPECT_EQ(up.at(1), (QList<QVariant>{1, 0, 2, 2}));
    EXPECT_EQ(click.count(), 1);
}

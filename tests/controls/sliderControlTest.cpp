// The mood slider: value bands, mouse to value, the tip, change() only for the user's changes.
#include "controls/scheduleSlider.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

TEST(SliderMath, BandsAndValuesFromPositions) {
    const std::pair<int, int> bands[] = {{0, 0},  {19, 0}, {20, 1}, {39, 1}, {40, 2}, {50, 2},
                                         {60, 2}, {61, 3}, {80, 3}, {81, 4}, {100, 4}};
    for (auto [v, k] : bands)
        EXPECT_EQ(sliderMath::band(v), k) << v;

    struct Case {
        double x;
        int width;
        std::optional<int> value;
    };
    const Case cases[] = {
        {1935, 3900, 50},          // the middle of a 3270-twip track
        {250, 3900, std::nullopt}, // left of the track
        {300, 3900, 0},
        {3570, 3900, 100}, // the end of the track
        {3620, 3900, std::nullopt},
        {325, 830, 12},           // 12.5 rounds to the even 12
        {327, 830, 14},           // 13.5 rounds to 14
        {299, 830, 0},            // -0.5 rounds to 0, still on the scale
        {297, 830, std::nullopt}, // -1.5 rounds to -2
        {400, 630, std::nullopt}, // a track of no width ignores the mouse
        {400, 300, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sliderMath::valueAt(c.x, c.width), c.value) << c.x << " " << c.width;
    EXPECT_DOUBLE_EQ(sliderMath::fillWidth(50, 3900), 1635);
}

namespace {

class SliderControl : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        window->resize(300, 60);
        slider = new scheduleSlider(window.get());
        slider->setGeometry(0, 0, 260, 40); // 3900 twips; the height is fixed
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void press(int x, int y = 12, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mousePress(slider, b, Qt::NoModifier, QPoint(x, y));
    }
    void release(int x, int y = 12, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mouseRelease(slider, b, Qt::NoModifier, QPoint(x, y));
    }
    void move(int x, int y = 12, Qt::MouseButtons held = Qt::NoButton) {
        QMouseEvent e(QEvent::MouseMove, QPointF(x, y), slider->mapToGlobal(QPointF(x, y)), Qt::NoButton,
                      held, Qt::NoModifier);
        QApplication::sendEvent(slider, &e);
    }
    QImage shot() { return slider->grab().toImage(); }
    // Tab from the window's other control onto the slider, as the user reaches it.
    void tabIn() {
        auto* before = new QWidget(window.get());
        before->setFocusPolicy(Qt::TabFocus);
        before->setGeometry(0, 45, 10, 10);
        before->show();
        QWidget::setTabOrder(before, slider);
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        before->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
        ASSERT_TRUE(slider->hasFocus());
    }

    std::unique_ptr<QWidget> window;
    scheduleSlider* slider = nullptr;
};

} // namespace

TEST_F(SliderControl, StartsAtFiftyAndIgnoresValuesOffTheScale) {
    EXPECT_EQ(slider->height(), 33); // 500 twips
    EXPECT_EQ(slider->value(), 50);
    EXPECT_EQ(slider->thumbPicture(), 2);
    const QRect thumb = slider->thumbRect();
    QSignalSpy spy(slider, &scheduleSlider::change);
    slider->setValue(101);
    slider->setValue(-1);
    EXPECT_EQ(slider->value(), 50);
    EXPECT_EQ(slider->thumbRect(), thumb);
    for (auto [v, k] : {std::pair{39, 1}, {40, 2}, {60, 2}, {61, 3}}) {
        slider->setValue(v);
        EXPECT_EQ(slider->thumbPicture(), k) << v;
    }
    EXPECT_EQ(spy.count(), 0); // values set by code are not the user's change
}

TEST_F(SliderControl, PressSetsTheRoundedValueAndRaisesChangeAfterwards) {
    slider->setValue(10);
    int seen = -1;
    QObject::connect(slider, &scheduleSlider::change, slider, [&] { seen = slider->value(); });
    QSignalSpy spy(slider, &scheduleSlider::change);
    press(129);
    release(129);
    EXPECT_EQ(slider->value(), 50);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(seen, 50);                // the handler sees the new value
    EXPECT_FALSE(slider->tipVisible()); // a press alone does not show the tip

    press(16); // left of the track
    release(16);
    EXPECT_EQ(slider->value(), 50);
    EXPECT_EQ(spy.count(), 1);

    slider->setValue(20);
    spy.clear();
    press(129, 12, Qt::RightButton);
    EXPECT_EQ(slider->value(), 20);
    // The place of the value it already has lies under the thumb: the tip, shown by
    // resting there, takes the press.
    move(64, 8); // 960 twips: 20.2 %
    ASSERT_TRUE(slider->tipVisible());
    press(64, 8);
    EXPECT_TRUE(slider->dragging());
    move(64, 8, Qt::LeftButton);
    release(64, 8);
    EXPECT_EQ(slider->value(), 20);
    EXPECT_EQ(spy.count(), 0); // the value it already had
}

TEST_F(SliderControl, DragShowsTheTipAndStopsAtTheLastPositionInside) {
    slider->setValue(0);
    QSignalSpy spy(slider, &scheduleSlider::change);
    press(100);
    EXPECT_TRUE(slider->dragging());
    const int atPress = slider->value();
    move(200, 12, Qt::LeftButton);
    EXPECT_TRUE(slider->tipVisible());
    EXPECT_EQ(slider->tipText(), QString::number(slider->value()));
    move(237, 12, Qt::LeftButton); // (237 - 20) / 218 = 99.5 % -> 100 (even)
    EXPECT_EQ(slider->value(), 100);
    slider->setValue(99);
    move(240, 12, Qt::LeftButton); // beyond the end: nothing changes, no clamping
    move(400, 12, Qt::LeftButton);
    EXPECT_EQ(slider->value(), 99);
    release(400);
    EXPECT_FALSE(slider->dragging());
    EXPECT_GE(spy.count(), 3);
    EXPECT_NE(atPress, 0);
}

TEST_F(SliderControl, HoverShowsTheTipOnTheThumbOnlyAndChangesNothing) {
    QSignalSpy spy(slider, &scheduleSlider::change);
    const QRect thumb = slider->thumbRect();
    move(thumb.center().x(), 5);
    EXPECT_TRUE(slider->tipVisible());
    EXPECT_EQ(slider->tipText(), QStringLiteral("50"));
    move(thumb.left() + 2, 8); // still on the tip
    EXPECT_TRUE(slider->tipVisible());
    move(5, 12); // the bare control
    EXPECT_FALSE(slider->tipVisible());
    move(thumb.center().x(), 5);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(slider, &leave);
    EXPECT_FALSE(slider->tipVisible());
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(slider->value(), 50);
}

TEST_F(SliderControl, TheThumbTakesNoPressButTheTipOverItDoes) {
    const QRect thumb = slider->thumbRect();
    slider->setValue(49);
    const QPoint lower(slider->thumbRect().center().x(), 28); // below the tip
    press(lower.x(), lower.y());
    EXPECT_FALSE(slider->dragging());
    EXPECT_EQ(slider->value(), 49);
    move(thumb.center().x(), 10); // shows the tip
    press(thumb.center().x(), 10);
    EXPECT_TRUE(slider->dragging());
    release(thumb.center().x(), 10);
}

TEST_F(SliderControl, ATrackWithoutWidthIgnoresTheMouse) {
    slider->resize(40, 33); // 600 twips: the track would be -30 twips wide
    QSignalSpy spy(slider, &scheduleSlider::change);
    for (int x : {0, 10, 20, 39}) {
        press(x);
        move(x + 1, 12, Qt::LeftButton);
        release(x + 1);
    }
    EXPECT_EQ(slider->value(), 50);
    EXPECT_EQ(spy.count(), 0);
    (void)shot(); // draws without the bars
}

TEST_F(SliderControl, DrawsTheFillTheTrackAndAFacePerBand) {
    slider->setValue(0);
    const QImage low = shot();
    slider->setValue(100);
    const QImage high = shot();
    slider->setValue(50);
    const QImage mid = shot();
    // At 50 the fill (blue) is left of the thumb, the bare track (pale) right of it.
    const QColor fill = mid.pixelColor(40, 20);
    EXPECT_GT(fill.blue(), 180);
    EXPECT_LT(fill.red(), 80);
    const QColor track = mid.pixelColor(220, 20);
    EXPECT_GT(track.red(), 200);
    EXPECT_GT(track.green(), 200);
    // The outer bar is orange at its left end.
    const QColor bar = mid.pixelColor(18, 16);
    EXPECT_GT(bar.red(), 200);
    EXPECT_LT(bar.blue(), 80);
    // The thumb at 0 and at 100 sits at the two ends with different faces.
    EXPECT_NE(low.copy(0, 0, 42, 32), high.copy(218, 0, 42, 32));
    EXPECT_NE(low.pixelColor(21, 16), mid.pixelColor(21, 16));
}

TEST(SliderMath, KeysMoveAStepTenOrToAnEnd) {
    struct Case {
        int from;
        Qt::Key key;
        std::optional<int> to;
    };
    const Case cases[] = {
        {50, Qt::Key_Right, 51},       {50, Qt::Key_Up, 51},
        {50, Qt::Key_Left, 49},        {50, Qt::Key_Down, 49},
        {50, Qt::Key_PageUp, 60},      {50, Qt::Key_PageDown, 40},
        {50, Qt::Key_Home, 0},         {50, Qt::Key_End, 100},
        {100, Qt::Key_Right, 100},     {0, Qt::Key_Left, 0},
        {95, Qt::Key_PageUp, 100},     {4, Qt::Key_PageDown, 0},
        {50, Qt::Key_A, std::nullopt}, {50, Qt::Key_Tab, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sliderMath::valueAfterKey(c.from, c.key), c.to) << c.from << " " << c.key;
}

TEST_F(SliderControl, KeysMoveTheValueAsADragWould) {
    tabIn();
    int seen = -1;
    QObject::connect(slider, &scheduleSlider::change, slider, [&] { seen = slider->value(); });
    QSignalSpy spy(slider, &scheduleSlider::change);
    const QRect before = slider->thumbRect();
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(slider->value(), 60);
    EXPECT_EQ(spy.count(), 10);
    EXPECT_EQ(seen, 60);
    EXPECT_GT(slider->thumbRect().left(), before.left());
    EXPECT_TRUE(slider->tipVisible()); // the value shows on the thumb, as in a drag
    EXPECT_EQ(slider->tipText(), QStringLiteral("60"));
    QTest::keyClick(slider, Qt::Key_End);
    EXPECT_EQ(slider->value(), 100);
    EXPECT_EQ(slider->thumbPicture(), 4);
    spy.clear();
    QTest::keyClick(slider, Qt::Key_Right); // already at the end: no change
    QTest::keyClick(slider, Qt::Key_PageUp);
    EXPECT_EQ(spy.count(), 0);
    QTest::keyClick(slider, Qt::Key_PageDown);
    QTest::keyClick(slider, Qt::Key_Down);
    EXPECT_EQ(slider->value(), 89);
    QTest::keyClick(slider, Qt::Key_Home);
    EXPECT_EQ(slider->value(), 0);
    EXPECT_EQ(slider->thumbPicture(), 0);
    EXPECT_EQ(spy.count(), 3);
    // Keys with Ctrl or Alt are the window's (Alt+S saves the entry).
    QTest::keyClick(slider, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(slider, Qt::Key_End, Qt::AltModifier);
    EXPECT_EQ(slider->value(), 0);
    // Leaving the slider puts the tip away.
    slider->clearFocus();
    EXPECT_FALSE(slider->tipVisible());
}

TEST_F(SliderControl, TheFocusedSliderCarriesAFrame) {
    const QImage plain = shot();
    tabIn();
    const QImage focused = shot();
    const QColor mark = slider->palette().color(QPalette::Active, QPalette::Highlight);
    // Along the top edge, left of the thumb.
    const QColor edge = focused.pixelColor(8, 0);
    EXPECT_LT(qAbs(edge.blue() - mark.blue()) + qAbs(edge.red() - mark.red()), 90);
    EXPECT_NE(plain.pixelColor(8, 0), edge);
    slider->clearFocus();
    EXPECT_EQ(shot(), plain);
}

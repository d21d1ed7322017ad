// The image button: pressed offset, sizing and events from the picture's area.
#include "controls/scheduleCommand.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {
const QRgb kRed = qRgb(220, 30, 30);
const QRgb kCorner = qRgb(20, 40, 200);

// A solid picture with a differently coloured top-left pixel.
QPixmap testPicture(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(kRed);
    img.setPixel(0, 0, kCorner);
    return QPixmap::fromImage(img);
}

QImage shot(QWidget& w) {
    QImage img(w.size(), QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    w.render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    return img;
}

class CommandButton : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        window->resize(120, 120);
        button = new scheduleCommand(window.get());
        button->move(10, 10);
        button->setPicture(testPicture(20, 20));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    std::unique_ptr<QWidget> window;
    scheduleCommand* button = nullptr;
};
} // namespace

TEST_F(CommandButton, ShiftsThePictureOnlyForTheLeftButton) {
    struct Case {
        Qt::MouseButton button;
        int eventButton;
        bool shifts;
        bool clicks;
    };
    const Case cases[] = {
        {Qt::LeftButton, 1, true, true},
        {Qt::RightButton, 2, false, false},
        {Qt::MiddleButton, 4, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.eventButton);
        QSignalSpy down(button, &scheduleCommand::mouseDown);
        QSignalSpy up(button, &scheduleCommand::mouseUp);
        QSignalSpy click(button, &scheduleCommand::click);

        QTest::mousePress(button, c.button, Qt::NoModifier, QPoint(5, 6));
        ASSERT_EQ(down.count(), 1);
        // Twips from the picture's corner.
        EXPECT_EQ(down.at(0), (QList<QVariant>{c.eventButton, 0, 75, 90}));
        QImage img = shot(*button);
        if (c.shifts) {
            EXPECT_TRUE(button->isPressed());
            EXPECT_EQ(img.pixel(2, 2), kCorner);
            EXPECT_EQ(img.pixel(21, 21), kRed);
            EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
            EXPECT_EQ(qAlpha(img.pixel(1, 10)), 0);
        } else {
            EXPECT_FALSE(button->isPressed());
            EXPECT_EQ(img.pixel(0, 0), kCorner);
            EXPECT_EQ(qAlpha(img.pixel(21, 21)), 0);
        }

        QTest::mouseRelease(button, c.button, Qt::NoModifier, QPoint(5, 6));
        ASSERT_EQ(up.count(), 1);
        const int off = c.shifts ? 2 : 0; // the picture still lies where it was pressed
        EXPECT_EQ(up.at(0), (QList<QVariant>{c.eventButton, 0, (5 - off) * 15, (6 - off) * 15}));
        EXPECT_EQ(click.count(), c.clicks ? 1 : 0);
        EXPECT_FALSE(button->isPressed());
        img = shot(*button);
        EXPECT_EQ(img.pixel(0, 0), kCorner);
        EXPECT_EQ(qAlpha(img.pixel(21, 21)), 0);
    }
}

TEST_F(CommandButton, RaisesEventsOnlyFromThePicture) {
    QSignalSpy down(button, &scheduleCommand::mouseDown);
    QSignalSpy up(button, &scheduleCommand::mouseUp);
    QSignalSpy moved(button, &scheduleCommand::mouseMove);
    // The 2-pixel strip right of and below the picture at rest is not the picture.
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(21, 21));
    QTest::mouseMove(button, QPoint(20, 5));
    EXPECT_EQ(down.count(), 0);
    EXPECT_EQ(up.count(), 0);
    EXPECT_EQ(moved.count(), 0);
    EXPECT_FALSE(button->isPressed());

    QTest::mouseMove(button, QPoint(4, 4));
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0), (QList<QVariant>{0, 0, 60, 60}));

    // A press on the picture keeps the events until the release, wherever it happens.
    QSignalSpy click(button, &scheduleCommand::click);
    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    EXPECT_EQ(up.count(), 1);
    EXPECT_EQ(click.count(), 0) << "released away from the picture";
    EXPECT_FALSE(button->isPressed());
}

TEST(CommandButtonSize, FollowsThePictureUnlessStretched) {
    scheduleCommand b;
    b.show(); // size changes reach a hidden widget only when it is shown
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&b));
    EXPECT_EQ(b.size(), QSize(2, 2)) << "30 x 30 twips without a picture";
    b.resize(1, 0);
    EXPECT_EQ(b.size(), QSize(2, 2)) << "never below 30 x 30 twips";

    // A 720-twip picture makes a 750-twip button.
    b.setPicture(testPicture(48, 48));
    EXPECT_EQ(b.size(), QSize(50, 50));
    EXPECT_EQ(b.pictureRect(), QRect(0, 0, 48, 48));
    b.setPicture(testPicture(16, 24));
    EXPECT_EQ(b.size(), QSize(18, 26));

    // Turning stretch on resizes nothing; the next picture keeps the size too.
    b.setStretch(true);
    EXPECT_EQ(b.size(), QSize(18, 26));
    EXPECT_EQ(b.pictureRect().size(), QSize(16, 24));
    b.setPicture(testPicture(48, 48));
    EXPECT_EQ(b.size(), QSize(18, 26));
    EXPECT_EQ(b.pictureRect().size(), QSize(16, 24));
    QImage img = shot(b);
    EXPECT_EQ(img.pixel(15, 23), kRed) << "scaled into the picture area";
    EXPECT_EQ(qAlpha(img.pixel(17, 25)), 0);

    // Stretched, the picture area follows the button.
    b.resize(40, 30);
    EXPECT_EQ(b.pictureRect().size(), QSize(38, 28));
    img = shot(b);
    EXPECT_EQ(img.pixel(37, 27), kRed);
    EXPECT_EQ(qAlpha(img.pixel(39, 29)), 0);

    // And turning it off waits for the next picture as well.
    b.setStretch(false);
    EXPECT_EQ(b.size(), QSize(40, 30));
    b.setPicture(testPicture(10, 10));
    EXPECT_EQ(b.size(), QSize(12, 12));
}

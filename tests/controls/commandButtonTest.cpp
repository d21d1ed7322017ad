// The image button: pressed offset, sizing and events from the picture's area.
#include "controls/scheduleCommand.h"
#include "core/ui/gDialogKeys.h"

#include <QApplication>
#include <QPainter>
#include <QPushButton>
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

TEST_F(CommandButton, TabReachesItAndPressKeysClickItsMiddle) {
    auto* before = new QPushButton(QStringLiteral("前"), window.get());
    before->setGeometry(40, 80, 40, 20);
    before->show();
    // A window button on Return must not take the key from the focused picture button.
    auto* other = new QPushButton(QStringLiteral("确定"), window.get());
    other->setGeometry(80, 80, 40, 20);
    other->show();
    gBindDefaultCancel(window.get(), other, nullptr);
    QSignalSpy otherClicked(other, &QPushButton::clicked);
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const QImage plain = shot(*button);

    before->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
    QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), button);
    // The focus mark in the highlight colour runs along the edge.
    const QImage focused = shot(*button);
    EXPECT_NE(focused, plain);
    const QColor mark = button->palette().color(QPalette::Active, QPalette::Highlight);
    const QColor edge = focused.pixelColor(button->width() / 2, 0);
    EXPECT_LT(qAbs(edge.red() - mark.red()) + qAbs(edge.blue() - mark.blue()), 90);

    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        bool clicks;
    };
    const Case cases[] = {
        {Qt::Key_Space, Qt::NoModifier, true},     {Qt::Key_Return, Qt::NoModifier, true},
        {Qt::Key_Enter, Qt::KeypadModifier, true}, {Qt::Key_Space, Qt::AltModifier, false},
        {Qt::Key_Right, Qt::NoModifier, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key | c.mods).toString().toStdString());
        QSignalSpy down(button, &scheduleCommand::mouseDown);
        QSignalSpy up(button, &scheduleCommand::mouseUp);
        QSignalSpy click(button, &scheduleCommand::click);
        QTest::keyClick(window->windowHandle(), c.key, c.mods);
        const QList<QVariant> middle{1, 0, 150, 150}; // the 20-pixel picture's middle, in twips
        EXPECT_EQ(click.count(), c.clicks ? 1 : 0);
        ASSERT_EQ(down.count(), c.clicks ? 1 : 0);
        ASSERT_EQ(up.count(), c.clicks ? 1 : 0);
        if (c.clicks) {
            EXPECT_EQ(down.at(0), middle);
            EXPECT_EQ(up.at(0), middle);
        }
        EXPECT_FALSE(button->isPressed());
    }
    EXPECT_EQ(otherClicked.count(), 0);
    QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
    EXPECT_EQ(shot(*button), plain);
}

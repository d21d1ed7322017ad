// Link labels from the keyboard: Tab reaches the enabled ones, the focus mark
// shows, and Space, Return or Enter click them before any window button does.
#include "core/ui/gDialogKeys.h"
#include "core/ui/gLinkLabel.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

QImage shot(QWidget* w) {
    QImage img(w->size(), QImage::Format_ARGB32);
    img.fill(Qt::white);
    w->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    return img;
}

class LinkLabelKeys : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        window->resize(300, 200);
        edit = new QLineEdit(window.get());
        edit->setGeometry(10, 10, 100, 24);
        live = new gLinkLabel(QStringLiteral("更改名称"), window.get());
        live->setGeometry(10, 50, 80, 20);
        disabled = new gLinkLabel(QStringLiteral("删除我的密码"), window.get());
        disabled->setGeometry(10, 80, 80, 20);
        disabled->setEnabled(false);
        hidden = new gLinkLabel(QStringLiteral("导出我的密匙"), window.get());
        hidden->setGeometry(10, 110, 80, 20);
        hidden->hide();
        button = new QPushButton(QStringLiteral("确定"), window.get());
        button->setGeometry(10, 140, 80, 28);
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        edit->setFocus(Qt::OtherFocusReason);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(window->windowHandle(), k, m);
    }
    std::unique_ptr<QWidget> window;
    QLineEdit* edit = nullptr;
    gLinkLabel *live = nullptr, *disabled = nullptr, *hidden = nullptr;
    QPushButton* button = nullptr;
};

} // namespace

TEST_F(LinkLabelKeys, TabStopsAtEnabledShownLinksOnly) {
    QList<QWidget*> stops;
    for (int i = 0; i < 4; ++i) {
        key(Qt::Key_Tab);
        stops.append(QApplication::focusWidget());
    }
    EXPECT_EQ(stops, (QList<QWidget*>{live, button, edit, live}));
    // Enabled again, the link is a stop again.
    disabled->setEnabled(true);
    key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), disabled);
}

TEST_F(LinkLabelKeys, AClickDoesNotTakeTheFocus) {
    QSignalSpy clicked(live, &gLinkLabel::clicked);
    QTest::mouseClick(live, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(QApplication::focusWidget(), edit);
}

TEST_F(LinkLabelKeys, PressKeysClickAsTheLeftButtonDoes) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        bool clicks;
    };
    const Case cases[] = {
        {Qt::Key_Space, Qt::NoModifier, true},      {Qt::Key_Return, Qt::NoModifier, true},
        {Qt::Key_Enter, Qt::KeypadModifier, true},  {Qt::Key_Space, Qt::ControlModifier, false},
        {Qt::Key_Return, Qt::ShiftModifier, false}, {Qt::Key_A, Qt::NoModifier, false},
        {Qt::Key_Escape, Qt::NoModifier, false},
    };
    key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), live);
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key | c.mods).toString().toStdString());
        QSignalSpy clicked(live, &gLinkLabel::clicked);
        QSignalSpy up(live, &gLinkLabel::mouseUp);
        QSignalSpy down(live, &gLinkLabel::mouseDown);
        key(c.key, c.mods);
        EXPECT_EQ(clicked.count(), c.clicks ? 1 : 0);
        EXPECT_EQ(down.count(), c.clicks ? 1 : 0);
        ASSERT_EQ(up.count(), c.clicks ? 1 : 0);
        if (c.clicks) {
            // The left button, over the link.
            EXPECT_EQ(up.at(0).at(0).toInt(), 1);
            EXPECT_TRUE(live->rect().contains(up.at(0).at(2).toInt(), up.at(0).at(3).toInt()));
        }
    }
    // A held key clicks once.
    QSignalSpy clicked(live, &gLinkLabel::clicked);
    QTest::keyPress(window->windowHandle(), Qt::Key_Space);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(live, &repeat);
    QTest::keyRelease(window->windowHandle(), Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(LinkLabelKeys, AFocusedLinkTakesReturnBeforeTheWindowsButton) {
    QPushButton* cancel = new QPushButton(QStringLiteral("取消"), window.get());
    cancel->setGeometry(100, 140, 80, 28);
    cancel->show();
    gBindDefaultCancel(window.get(), button, cancel);
    QSignalSpy linkClicked(live, &gLinkLabel::clicked);
    QSignalSpy okClicked(button, &QPushButton::clicked);
    QSignalSpy cancelClicked(cancel, &QPushButton::clicked);

    key(Qt::Key_Return); // from the text box: the window's button
    EXPECT_EQ(okClicked.count(), 1);
    key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), live);
    key(Qt::Key_Return);
    key(Qt::Key_Space);
    EXPECT_EQ(linkClicked.count(), 2);
    EXPECT_EQ(okClicked.count(), 1);
    // Escape is still the window's.
    key(Qt::Key_Escape);
    EXPECT_EQ(cancelClicked.count(), 1);
    EXPECT_EQ(linkClicked.count(), 2);
}

TEST_F(LinkLabelKeys, TheFocusedLinkIsDrawnInTheHighlightColours) {
    const QImage plain = shot(live);
    key(Qt::Key_Tab);
    ASSERT_TRUE(live->hasFocus());
    const QImage focused = shot(live);
    EXPECT_NE(plain, focused);
    // The highlight fills the link to its edges, where the text never reaches.
    const QColor mark = live->palette().color(QPalette::Active, QPalette::Highlight);
    auto near = [&](QRgb px) {
        const QColor c(px);
        return qAbs(c.red() - mark.red()) < 60 && qAbs(c.green() - mark.green()) < 60 &&
               qAbs(c.blue() - mark.blue()) < 60;
    };
    const int midX = live->width() / 2, midY = live->height() / 2;
    EXPECT_TRUE(near(focused.pixel(midX, 0)) || near(focused.pixel(midX, 1)));
    EXPECT_TRUE(near(focused.pixel(0, midY)) || near(focused.pixel(1, midY)));
    EXPECT_FALSE(near(plain.pixel(midX, 0)));
    // The text stays readable on it, in the highlighted text colour.
    const QColor text = live->palette().color(QPalette::Active, QPalette::HighlightedText);
    bool textSeen = false;
    for (int x = 0; x < live->width(); ++x)
        for (int y = 0; y < live->height(); ++y)
            textSeen = textSeen || QColor(focused.pixel(x, y)) == text;
    EXPECT_TRUE(textSeen);
    key(Qt::Key_Tab);
    EXPECT_EQ(shot(live), plain);
}

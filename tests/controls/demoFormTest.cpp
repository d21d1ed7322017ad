// The three controls placed on a small form, drawn and driven together.
#include "controls/gPanelMath.h"
#include "controls/scheduleBackground.h"
#include "controls/scheduleCommand.h"
#include "controls/scheduleLabel.h"
#include "core/base/gColor.h"
#include "core/ui/gTwips.h"

#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {
class DemoForm : public QWidget {
public:
    DemoForm() {
        resize(gPxSize(4500, 3000));
        card = new scheduleBackground(this);
        card->setVisible2(true);
        card->setColor(7);
        card->setCaption(QStringLiteral("高等数学\r\n教101\r\n第1-16周"));
        card->setGeometry(gPxRect(150, 150, 1500, 1005));

        QPixmap arrow(16, 16);
        arrow.fill(Qt::transparent);
        {
            QPainter p(&arrow);
            p.setBrush(QColor(60, 120, 220));
            p.setPen(Qt::NoPen);
            p.drawEllipse(0, 0, 16, 16);
        }
        next = new scheduleCommand(this);
        next->setPicture(arrow);
        next->move(gPxPoint(2400, 150));

        score = new scheduleLabel(this);
        score->move(gPxPoint(3300, 150));
        score->setCaption(76);

        edit = new QLineEdit(this);
        edit->setGeometry(gPxRect(150, 1500, 3000, 300));
        edit->setFocus();
    }
    scheduleBackground* card;
    scheduleCommand* next;
    scheduleLabel* score;
    QLineEdit* edit;
};
} // namespace

TEST(ControlsDemoForm, ShowsAndDrivesTheControls) {
    DemoForm form;
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    ASSERT_TRUE(form.edit->hasFocus());

    // The card: 100 x 67 pixels, 1005 twips high, so the caption is spread.
    EXPECT_EQ(form.card->size(), QSize(100, 67));
    EXPECT_EQ(form.card->shownCaption(), QStringLiteral("高等数学\r\n\r\n教101\r\n\r\n第1-16周"));
    const QImage page = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint c = form.card->pos();
    const QRgb formBg = page.pixel(c + QPoint(-2, -2));
    EXPECT_EQ(page.pixel(c), formBg) << "the rounded corner shows the form";
    EXPECT_EQ(page.pixel(c + QPoint(10, 0)), qRgb(73, 112, 172)) << "the outline";
    EXPECT_EQ(page.pixel(c + QPoint(10, 1)), qRgb(243, 255, 255)) << "the lightest first row";

    // The button: its picture plus 30 twips, pressed and released.
    EXPECT_EQ(form.next->size(), QSize(18, 18));
    int steps = 0;
    QObject::connect(form.next, &scheduleCommand::mouseUp, [&](int button, int, int, int) {
        if (button == 1) ++steps;
    });
    QTest::mouseClick(form.next, Qt::LeftButton, Qt::NoModifier, QPoint(8, 8));
    QTest::mouseClick(form.next, Qt::RightButton, Qt::NoModifier, QPoint(8, 8));
    EXPECT_EQ(steps, 1);

    // The score label sits at its picture size and shows its number.
    EXPECT_EQ(form.score->size(), QSize(32, 32));
    EXPECT_EQ(form.score->caption(), 76);

    // Clicking the card selects it: its outline turns black.
    QSignalSpy click(form.card, &scheduleBackground::click);
    QTest::mouseClick(form.card, Qt::LeftButton, Qt::NoModifier, QPoint(3, 30));
    EXPECT_EQ(click.count(), 1);
    ASSERT_TRUE(form.card->hasFocus());
    QImage after = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(after.pixel(c + QPoint(10, 0)), qRgb(0, 0, 0));
    form.edit->setFocus();
    after = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(after.pixel(c + QPoint(10, 0)), page.pixel(c + QPoint(10, 0)));
}

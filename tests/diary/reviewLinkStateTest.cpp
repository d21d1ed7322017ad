// The review page's entry commands look dead on a day without entries: drawn in
// the disabled text colour and without the hand cursor.
#include "reviewTestSupport.h"

#include "controls/scheduleMonthView.h"
#include "core/ui/gLinkLabel.h"
#include "diary/frmReview.h"

#include <QImage>

namespace {

class ReviewLinkStateTest : public ReviewTest {};

// The colour of the label's darkest-drawn text pixel against its background.
QColor inkOf(QWidget* w) {
    const QImage img = w->grab().toImage();
    const QColor bg = img.pixelColor(0, 0);
    QColor ink = bg;
    int best = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            const int d = std::abs(c.red() - bg.red()) + std::abs(c.green() - bg.green()) +
                          std::abs(c.blue() - bg.blue());
            if (d > best) {
                best = d;
                ink = c;
            }
        }
    return ink;
}

TEST_F(ReviewLinkStateTest, EntryCommandsLookDeadOnAnEmptyDayAndLiveOnAFullOne) {
    addEntry(today_, QStringLiteral("一"), 10);
    frmReview* p = openReview();
    p->show();
    ASSERT_TRUE(p->editLink->isEnabled());
    const QColor live = inkOf(p->editLink);
    p->monthView->setValue(today_.addDays(1));
    for (gLinkLabel* l : {p->editLink, p->deleteLink, p->favouriteLink}) {
        SCOPED_TRACE(l->objectName().toStdString());
        ASSERT_FALSE(l->isEnabled());
        EXPECT_NE(inkOf(l), live);
        EXPECT_EQ(l->palette().color(QPalette::Disabled, QPalette::WindowText),
                  QPalette().color(QPalette::Disabled, QPalette::WindowText));
        EXPECT_FALSE(l->testAttribute(Qt::WA_SetCursor));
    }
    // Handing out the hand again, as a page load does, leaves the dead ones alone.
    p->editLink->setCursor(Qt::PointingHandCursor);
    EXPECT_FALSE(p->editLink->testAttribute(Qt::WA_SetCursor));
    EXPECT_TRUE(p->addLink->testAttribute(Qt::WA_SetCursor));
    p->monthView->setValue(today_);
    for (gLinkLabel* l : {p->editLink, p->deleteLink, p->favouriteLink}) {
        SCOPED_TRACE(l->objectName().toStdString());
        ASSERT_TRUE(l->isEnabled());
        EXPECT_TRUE(l->testAttribute(Qt::WA_SetCursor));
    }
    EXPECT_EQ(inkOf(p->editLink), live);
}

} // namespace

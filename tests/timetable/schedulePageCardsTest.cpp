// The week view's course cards as a user meets them: after the base settings
// hide or rename weekdays and periods, in custom and dark colours, and with text
// that has to fit a card of the default size.
#include "todayClassesFixture.h"

#include "controls/gPanelMath.h"
#include "controls/scheduleBackground.h"
#include "controls/scheduleColorSet.h"
#include "controls/scheduleTable.h"
#include "core/model/clsSchedule.h"
#include "core/base/gColor.h"
#include "core/ui/gForms.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "timetable/frmSchedule.h"
#include "timetable/scheduleBasePane.h"

#include <QApplication>
#include <QCheckBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <optional>

namespace {

class SchedulePageCards : public SchedulePageTest {
protected:
    void TearDown() override {
        scheduleColorSet::setColorDialog({});
        SchedulePageTest::TearDown();
    }

    scheduleBasePane* basePane() { return page_->basePane; }

    void save() {
        QTest::mouseClick(basePane()->saveButton, Qt::LeftButton);
        ASSERT_TRUE(gMsgBoxSeam::shown().isEmpty());
        ASSERT_TRUE(gMsgBoxSeam::errors().isEmpty());
        ASSERT_TRUE(page_->weekPane->isVisible());
    }

    scheduleTable* grid() { return page_->weekGrid; }
};

QLabel* captionOf(scheduleBackground* card) {
    return card->findChild<QLabel*>(QStringLiteral("Label1"));
}

// ---- hidden periods and weekdays ---------------------------------------------

TEST_F(SchedulePageCards, ACourseStaysWhileAnyOfItsPeriodsIsShown) {
    const struct {
        QList<int> hidden;
        int first, last; // the card's rows, 0 for no card
    } cases[] = {
        {{3}, 4, 5}, {{3, 4}, 5, 5}, {{4}, 3, 5}, {{5}, 3, 4}, {{3, 4, 5}, 0, 0},
    };
    addCourse(QStringLiteral("高等数学"), QStringLiteral("A101"), 1, QStringLiteral("030405"));
    open();
    for (const auto& c : cases) {
        std::string name = "hidden";
        for (int p : c.hidden)
            name += " " + std::to_string(p);
        // 基础选项: hide the periods, 保存.
        menu(1);
        ASSERT_TRUE(basePane()->isVisible());
        for (int p = 1; p <= basePane()->periodCount(); ++p)
            if ((basePane()->cell(p, 4) == QStringLiteral("True")) == c.hidden.contains(p))
                clickPeriodCell(p, 0);
        save();
        if (c.first == 0) {
            EXPECT_EQ(grid()->cardCount(), 0) << name;
            continue;
        }
        ASSERT_EQ(grid()->cardCount(), 1) << name;
        scheduleBackground* card = grid()->card(1);
        EXPECT_TRUE(card->isVisible()) << name;
        const QRect expected = grid()->cellRect(c.first, 1).united(grid()->cellRect(c.last, 1));
        EXPECT_EQ(card->geometry(), expected) << name;
    }
}

TEST_F(SchedulePageCards, AWeekdayOrPeriodShownAgainShowsTheNameItGotWhileHidden) {
    open();
    // 基础选项: hide 星期六 and the second period, 保存.
    menu(1);
    QTest::mouseClick(basePane()->weekdayChecks[6], Qt::LeftButton);
    clickPeriodCell(2, 0);
    save();
    EXPECT_EQ(grid()->colWidth(6), 0);
    EXPECT_EQ(grid()->rowHeight(2), 0);

    // Rename both while hidden, show them again, 保存.
    menu(1);
    QTest::mouseClick(basePane()->weekdayLabels[6], Qt::LeftButton);
    typeAndEnter(basePane()->weekdayNameEdit, QStringLiteral("补课日"));
    QTest::mouseClick(basePane()->weekdayChecks[6], Qt::LeftButton);
    clickPeriodCell(2, 1);
    typeAndEnter(basePane()->periodCellEdit, QStringLiteral("早读"));
    clickPeriodCell(2, 0);
    save();
    // As wide and as high as the others again.
    EXPECT_GE(grid()->colWidth(6), 900);
    EXPECT_EQ(grid()->colWidth(6), grid()->colWidth(1));
    EXPECT_GE(grid()->rowHeight(2), 450);
    EXPECT_EQ(grid()->rowHeight(2), grid()->rowHeight(1));
    EXPECT_EQ(grid()->textMatrix(0, 6), QStringLiteral("补课日"));
    EXPECT_EQ(grid()->textMatrix(2, 0), QStringLiteral("早读"));
}

// ---- colours -------------------------------------------------------------------

TEST_F(SchedulePageCards, ABlackCustomColourIsDrawnBlack) {
    scheduleColorSet::setColorDialog([](QWidget*, long) { return std::optional<long>(0); });
    open();
    // 新课程: name, room, Monday's first period, the custom colour changed to black, 增加.
    menu(2);
    scheduleCourseEditor* e = page_->courseEditorPane;
    ASSERT_TRUE(e->isVisible());
    typeText(e->nameEdit, QStringLiteral("素描"));
    typeText(e->roomEdit, QStringLiteral("画室"));
    QTest::mouseClick(e->periodList->viewport(), Qt::LeftButton, Qt::NoModifier,
                      e->periodList->visualItemRect(e->periodList->item(0)).center());
    scheduleBackground* custom = e->colorSet->swatch(gPaletteUserIndex);
    QTest::mouseClick(custom, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    QTest::mouseDClick(custom, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    QTest::mouseRelease(custom, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    ASSERT_EQ(e->colorSet->userColor(), 0);
    QTest::mouseClick(e->saveButton, Qt::LeftButton);

    ASSERT_TRUE(page_->weekPane->isVisible());
    ASSERT_EQ(grid()->cardCount(), 1);
    EXPECT_EQ(grid()->card(1)->color(), gPaletteUserIndex);
    EXPECT_EQ(grid()->card(1)->baseColor(), 0);
    // The course list shows it black as well.
    menu(3);
    EXPECT_EQ(page_->courseListPane->colorSample->baseColor(), 0);
}

// The shade behind the first line of a card's caption, as drawn: the middle row
// of the first run of rows the caption inks, sampled at the card's right edge.
std::optional<long> shadeBehindName(scheduleBackground* card) {
    const QImage shot = card->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect box = captionOf(card)->geometry().intersected(card->rect());
    const int edge = card->width() - 3;
    auto inked = [&](int y) {
        const QColor back(shot.pixel(edge, y));
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor c(shot.pixel(x, y));
            if (qAbs(c.red() - back.red()) + qAbs(c.green() - back.green()) + qAbs(c.blue() - back.blue()) >
                90)
                return true;
        }
        return false;
    };
    int first = box.top();
    while (first <= box.bottom() && !inked(first))
        ++first;
    int last = first;
    while (last + 1 <= box.bottom() && inked(last + 1))
        ++last;
    if (first > box.bottom()) return std::nullopt;
    return gWinColorNumber(QColor(shot.pixel(edge, (first + last) / 2)));
}

// Every palette colour, and custom ones from black to white: the caption is
// black or white, whichever contrasts more with the shade behind the name, at
// the page's first size and in the taller cards of a large window.
TEST_F(SchedulePageCards, TheCaptionContrastsMostWithTheShadeBehindTheName) {
    struct Case {
        int color;
        long userColor;
    };
    QList<Case> cases;
    for (int i = 0; i < gPaletteSize; ++i)
        cases.append({i, 14589563});
    for (long custom : {0x000000L, 0xFFFFFFL, 0x00FFFFL, 0x800000L, 0x777777L})
        cases.append({gPaletteUserIndex, custom});
    for (int k = 0; k < cases.size(); ++k)
        addCourse(QStringLiteral("线性代数"), QStringLiteral("室"), 1 + k % 7,
                  QStringLiteral("%1").arg(1 + k / 7, 2, 10, QLatin1Char('0')), cases[k].color,
                  cases[k].userColor);
    open();
    for (QSize size : {page_->size(), timetablePageSize(QSize(1280, 900))}) {
        page_->resize(size);
        QCoreApplication::processEvents();
        ASSERT_EQ(grid()->cardCount(), int(cases.size()));
        for (int k = 1; k <= grid()->cardCount(); ++k) {
            const Case& c = cases[k - 1];
            const std::string name = "colour " + std::to_string(c.color) + " custom " +
                                     std::to_string(c.userColor) + " on a page " +
                                     std::to_string(size.width()) + "x" + std::to_string(size.height());
            scheduleBackground* card = grid()->card(k);
            const std::optional<long> behind = shadeBehindName(card);
            ASSERT_TRUE(behind.has_value()) << name;
            const long text = gWinColorNumber(captionOf(card)->palette().color(QPalette::WindowText));
            const double chosen = gContrastRatio(text, *behind);
            const double best = qMax(gContrastRatio(0x000000, *behind), gContrastRatio(0xFFFFFF, *behind));
            EXPECT_TRUE(text == 0x000000 || text == 0xFFFFFF) << name;
            EXPECT_DOUBLE_EQ(chosen, best) << name;
            if (best >= 4.5) EXPECT_GE(chosen, 4.5) << name;
        }
    }
}

// ---- card text -----------------------------------------------------------------

// The tip a card raises for its cut caption reads as any tip does: light, with
// the whole caption in it (a style sheet the card's caption carries must not
// reach the tip, which an X server without a compositor draws black).
TEST_F(SchedulePageCards, ACutCardsToolTipIsLightAndHoldsTheWholeCaption) {
    addCourse(QStringLiteral("Introduction to Macroeconomics and Public Finance"),
              QStringLiteral("Engineering Hall 1204"), 1, QStringLiteral("01"));
    open();
    ASSERT_EQ(grid()->cardCount(), 1);
    scheduleBackground* card = grid()->card(1);
    QLabel* caption = captionOf(card);
    const QString whole = card->caption().replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ASSERT_EQ(caption->toolTip(), whole);

    // The mouse rests on the caption.
    const QPoint at = caption->rect().center();
    QHelpEvent rest(QEvent::ToolTip, at, caption->mapToGlobal(at));
    QApplication::sendEvent(caption, &rest);
    QWidget* tip = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("qtooltip_label") && w->isVisible()) tip = w;
    ASSERT_NE(tip, nullptr) << "no tip shown";
    EXPECT_EQ(qobject_cast<QLabel*>(tip)->text(), whole);
    EXPECT_EQ(QToolTip::text(), whole);

    // What the screen shows of it: a transparent pixel shows as black.
    const QImage shot = tip->grab().toImage().convertToFormat(QImage::Format_RGB32);
    qsizetype light = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (qGray(shot.pixel(x, y)) > 160) ++light;
    EXPECT_GT(light, qsizetype(shot.width()) * shot.height() / 2)
        << light << " light pixels of " << shot.width() << "x" << shot.height();
    QToolTip::hideText();
}

TEST_F(SchedulePageCards, CardTextFitsItsCardAtTheDefaultSizes) {
    const struct {
        const char* name;
        const char* place;
        const char* periods;
    } cases[] = {
        {"大学物理", "教学楼A-201", "0102"},
        {"线性代数", "1-101", "0304"},
        {"Microeconomics", "Building42-301", "0506"},
        {"马克思主义基本原理概论", "第三教学楼东区报告厅", "010203"},
        {"Introduction to Macroeconomics", "Engineering Hall 1204", "040506"},
        {"体育", "操场", "07"},
        {"计算机程序设计基础实验", "实验中心四楼", "0809"},
    };
    for (const auto& c : cases)
        addCourse(QString::fromUtf8(c.name), QString::fromUtf8(c.place), 1 + int(&c - cases),
                  QString::fromUtf8(c.periods));
    open();
    ASSERT_EQ(grid()->cardCount(), int(std::size(cases)));
    for (int k = 1; k <= grid()->cardCount(); ++k) {
        scheduleBackground* card = grid()->card(k);
        QLabel* label = captionOf(card);
        const std::string name = cases[k - 1].name;
        // Every line the card shows lies inside it and within the label's width.
        EXPECT_GE(label->y(), 0) << name;
        EXPECT_LE(label->geometry().bottom(), card->height() - 1) << name;
        EXPECT_GE(label->x(), 0) << name;
        EXPECT_LE(label->geometry().right(), card->width() - 1) << name;
        const QStringList lines = label->text().split(QLatin1Char('\n'));
        EXPECT_LE(lines.size() * label->fontMetrics().lineSpacing(), label->height()) << name;
        for (const QString& line : lines)
            EXPECT_LE(label->fontMetrics().horizontalAdvance(line), label->width())
                << name << " line " << line.toStdString();
        // Whatever is cut can be read in full in the card's tool tip.
        const QString whole = card->caption().replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QString shown = label->text();
        shown.remove(QRegularExpression(QStringLiteral("\\s")));
        QString all = whole;
        all.remove(QRegularExpression(QStringLiteral("\\s")));
        if (shown != all) {
            EXPECT_EQ(card->toolTip(), whole) << name;
        } else {
            EXPECT_TRUE(card->toolTip().isEmpty()) << name;
        }
        // A cut inside the lines the card has room for ends in an ellipsis.
        if (label->text().endsWith(QChar(0x2026))) EXPECT_FALSE(card->toolTip().isEmpty()) << name;
    }
    // At the default sizes a two-period card shows its name, room and weeks.
    EXPECT_EQ(captionOf(grid()->card(2))->text(), QStringLiteral("线性代数\n1-101\n1-16 周"));
}

} // namespace

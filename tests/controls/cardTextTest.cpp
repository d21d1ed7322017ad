// Text that has to fit a course card or a header cell of the timetable grid:
// broken into lines, cut with an ellipsis, readable on its colour.
#include "controls/gPanelMath.h"
#include "controls/scheduleBackground.h"
#include "controls/scheduleTable.h"
#include "core/base/gColor.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QChar kEllipsis(0x2026);

QFont testFont() {
    QFont f = QApplication::font();
    f.setPixelSize(12);
    return f;
}

TEST(FitTextLines, KeepsWhatFitsAndCutsTheRestWithAnEllipsis) {
    const QFont font = testFont();
    // The height of the text's tallest line (Chinese comes from a fallback font with taller lines).
    auto lineOf = [&](const QString& text) {
        int h = QFontMetrics(font).boundingRect(QStringLiteral("A")).height();
        for (const QString& l : text.split(QLatin1Char('\n')))
            if (!l.isEmpty()) h = qMax(h, QFontMetrics(font).boundingRect(l).height());
        return h;
    };
    const struct {
        const char* text;
        int width, lines; // lines of room
        bool cut;
    } cases[] = {
        {"A\nB\nC", 200, 3, false},
        {"A\nB\nC", 200, 2, true},
        {"A\n\nB", 200, 3, false},
        {"Supercalifragilistic", 40, 10, false}, // a word wider than the line is broken anywhere
        {"Supercalifragilistic", 40, 1, true},
        {"A\n\nB\n\nC", 200, 2, true},
        {"", 200, 1, false},
        {"Long text", 200, 0, false}, // no room at all still keeps one line
        {"物理\n实验楼\n1-16 周", 200, 3, false},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        const int line = lineOf(text);
        const gFittedText fit = gFitTextLines(text, font, c.width, c.lines * line + line / 2);
        const std::string name = std::string(c.text) + " in " + std::to_string(c.lines) + " lines";
        EXPECT_EQ(fit.cut, c.cut) << name;
        EXPECT_FALSE(fit.lines.isEmpty()) << name;
        for (const QString& l : fit.lines)
            EXPECT_LE(QFontMetrics(font).horizontalAdvance(l), c.width) << name << " " << l.toStdString();
        QString joined = fit.lines.join(QString());
        if (c.cut) {
            EXPECT_TRUE(fit.lines.last().endsWith(kEllipsis)) << name;
            EXPECT_FALSE(fit.lines.last().trimmed() == QString(kEllipsis) && fit.lines.size() > 1)
                << "the ellipsis ends a line that says something: " << name;
        } else {
            EXPECT_EQ(joined, QString(text).remove(QLatin1Char('\n'))) << name;
        }
    }
}

TEST(FitTextLines, TextIsBlackOrWhiteWhicheverContrastsMore) {
    const struct {
        long background;
        long text;
        double contrast; // of the two
    } cases[] = {
        {0x000000, 0xFFFFFF, 21.0}, {0xFFFFFF, 0x000000, 21.0},
        {0x080408, 0xFFFFFF, 20.4}, {0x945529, 0xFFFFFF, 7.4},
        {0x5AFBFF, 0x000000, 19.2}, {0x777777, 0x000000, 4.69}, // white on it would be 4.48
        {0x60A1FF, 0x000000, 10.5},                             // light orange: white on it would be 2.0
    };
    for (const auto& c : cases) {
        EXPECT_EQ(gReadableTextColor(c.background), c.text) << std::hex << c.background;
        EXPECT_NEAR(gContrastRatio(c.text, c.background), c.contrast, 0.05) << std::hex << c.background;
        EXPECT_DOUBLE_EQ(gContrastRatio(c.background, c.text), gContrastRatio(c.text, c.background));
    }
    EXPECT_DOUBLE_EQ(gContrastRatio(0x3366CC, 0x3366CC), 1.0);
}

class CardText : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        window->resize(400, 300);
        panel = new scheduleBackground(window.get());
        panel->setVisible2(true);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    QLabel* label() const { return panel->findChild<QLabel*>(); }
    std::unique_ptr<QWidget> window;
    scheduleBackground* panel = nullptr;
};

TEST_F(CardText, ALongCaptionIsCutInsideTheCardAndReadWholeInTheToolTip) {
    panel->resize(60, 60);
    panel->setCaption(QStringLiteral("Introduction to Macroeconomics\r\nEngineering Hall 1204\r\n1-16 周"));
    EXPECT_GE(label()->y(), 0);
    EXPECT_LE(label()->geometry().bottom(), panel->height() - 1);
    EXPECT_TRUE(label()->text().endsWith(kEllipsis));
    EXPECT_EQ(panel->toolTip(),
              QStringLiteral("Introduction to Macroeconomics\nEngineering Hall 1204\n1-16 周"));
    EXPECT_EQ(label()->toolTip(), panel->toolTip());

    // Room enough: everything shows and there is no tool tip.
    panel->resize(300, 120);
    EXPECT_FALSE(label()->text().endsWith(kEllipsis));
    EXPECT_TRUE(panel->toolTip().isEmpty());
    // Lines the fitting leaves out for a low panel are in the tool tip too.
    panel->resize(300, 30);
    EXPECT_EQ(label()->text(), QStringLiteral("Introduction to Macroeconomics"));
    EXPECT_FALSE(panel->toolTip().isEmpty());
}

TEST_F(CardText, CaptionColourFollowsThePanelColour) {
    panel->resize(60, 30);
    panel->setCaption(QStringLiteral("A"));
    const struct {
        int color;
        long userColor;
        QColor text;
    } cases[] = {
        {23, gDefaultUserColor, Qt::white}, {14, gDefaultUserColor, Qt::white},
        {3, gDefaultUserColor, Qt::black},  {25, 0, Qt::white},
        {25, 0xFFFFFF, Qt::black},          {0, 0, Qt::black},
        {16, gDefaultUserColor, Qt::black}, // orange: the name sits on its lighter half
    };
    for (const auto& c : cases) {
        panel->setUserColor(c.userColor);
        panel->setColor(c.color);
        EXPECT_EQ(label()->palette().color(QPalette::WindowText), c.text) << c.color << " " << c.userColor;
    }
    // The text is drawn in that colour.
    panel->setColor(14);
    const QImage shot = panel->grab().toImage();
    const QRect r = label()->geometry();
    int light = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(shot.pixel(x, y)) > 200) ++light;
    EXPECT_GT(light, 0);
}

// A period name longer than its header cell stays inside it.
TEST(GridHeaderText, ALongNameIsCutInsideItsCell) {
    QWidget window;
    window.resize(800, 500);
    auto* grid = new scheduleTable(&window);
    grid->setColWidth(0, 1100);
    for (int r = 1; r < grid->rows(); ++r)
        grid->setRowHeight(r, 450);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QString name = QStringLiteral("第十一节课晚上自习时间ABCDEFGHIJKLMNOP");
    grid->setTextMatrix(2, 0, name);

    const QImage shot = grid->grab().toImage();
    const QRect cell = grid->cellRect(2, 0);
    // No dark pixel outside the cell in the header column or in the body beside it.
    for (const QRect& next : {grid->cellRect(1, 0), grid->cellRect(3, 0), grid->cellRect(2, 1)}) {
        int dark = 0;
        for (int y = next.top() + 1; y < next.bottom(); ++y)
            for (int x = next.left() + 1; x < next.right(); ++x)
                if (qGray(shot.pixel(x, y)) < 100) ++dark;
        EXPECT_EQ(dark, 0) << next.x() << "," << next.y();
    }
    int drawn = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            if (qGray(shot.pixel(x, y)) < 100) ++drawn;
    EXPECT_GT(drawn, 0) << "the name is drawn";
    // Whole lines only: nothing is drawn through the cell's top or bottom edge.
    for (int y : {cell.top() + 1, cell.bottom() - 1})
        for (int x = cell.left(); x <= cell.right(); ++x)
            EXPECT_GE(qGray(shot.pixel(x, y)), 100) << x << "," << y;

    // The whole name is offered over the cell.
    QHelpEvent help(QEvent::ToolTip, cell.center(), grid->mapToGlobal(cell.center()));
    QApplication::sendEvent(grid, &help);
    EXPECT_EQ(QToolTip::text(), name);
    QToolTip::hideText();
}

} // namespace

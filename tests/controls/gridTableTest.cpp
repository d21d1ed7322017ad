// The timetable grid: its size arithmetic, the course cards over merged cells,
// clearing, drawing and mouse events, rendered and driven offscreen.
#include "testSupport.h"

#include "controls/gPanelMath.h"
#include "controls/scheduleBackground.h"
#include "controls/scheduleTable.h"
#include "core/base/gColor.h"
#include "core/base/gError.h"
#include "core/ui/gTwips.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// A grid shown in a window of its own, with its default 8 columns and 11 rows.
class GridTable : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        window->resize(800, 500);
        grid = new scheduleTable(window.get());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    // Which body rows of a column hold `text`.
    std::vector<int> rowsHolding(int col, const QString& text) const {
        std::vector<int> out;
        for (int r = 1; r < grid->rows(); ++r)
            if (grid->textMatrix(r, col) == text) out.push_back(r);
        return out;
    }
    std::unique_ptr<QWidget> window;
    scheduleTable* grid = nullptr;
};
} // namespace

// ---- size arithmetic ---------------------------------------------------------

struct FitCase {
    const char* name;
    std::function<void(scheduleTable&)> setup;
    int widthTwips, heightTwips;
};

class GridTableFit : public GridTable, public ::testing::WithParamInterface<FitCase> {};

TEST_P(GridTableFit, WrapsTheCellsWithATenTwipMargin) {
    const FitCase& c = GetParam();
    c.setup(*grid);
    EXPECT_EQ(grid->fittedTwips(), QSize(c.widthTwips, c.heightTwips));
    EXPECT_EQ(grid->size(), QSize(gPx(c.widthTwips), gPx(c.heightTwips)));
}

INSTANTIATE_TEST_SUITE_P(Cases, GridTableFit,
                         ::testing::Values(
                             // Rows below the 450-twip minimum are raised to it.
                             FitCase{"Defaults", [](scheduleTable&) {}, 8 * 960 + 10, 11 * 450 + 10},
                             FitCase{"EveryRowAt450",
                                     [](scheduleTable& g) {
                                         for (int r = 0; r < g.rows(); ++r)
                                             g.setRowHeight(r, 450);
                                     },
                                     7690, 4960},
                             FitCase{"HiddenRowAndColumn",
                                     [](scheduleTable& g) {
                                         g.setRowHeight(3, 0);
                                         g.setColWidth(6, 0);
                                     },
                                     7 * 960 + 10, 10 * 450 + 10},
                             FitCase{"TallRowAndWideHeader",
                                     [](scheduleTable& g) {
                                         g.setRowHeight(1, 700);
                                         g.setColWidth(0, 1200);
                                     },
                                     1200 + 7 * 960 + 10, 700 + 10 * 450 + 10},
                             FitCase{"NoMinimum", [](scheduleTable& g) { g.setRowHeightMin(0); }, 7690,
                                     11 * 240 + 10},
                             FitCase{"FewerRowsAndColumns",
                                     [](scheduleTable& g) {
                                         g.setCols(4);
                                         g.setRows(6);
                                     },
                                     4 * 960 + 10, 6 * 450 + 10}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridTable, AResizeByTheHostSnapsBackToTheCells) {
    const QSize fitted = grid->size();
    grid->resize(200, 100);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->size(), fitted);
}

TEST_F(GridTable, CellEdgesAreRoundedTwipOffsetsWithoutDrift) {
    // 1000 twips is 66.7 pixels: the edges round the running total, not each width.
    for (int c = 0; c < grid->cols(); ++c)
        grid->setColWidth(c, 1000);
    for (int c = 0; c < grid->cols(); ++c) {
        const QRect r = grid->cellRect(1, c);
        EXPECT_EQ(r.left(), gPx(1000 * c)) << c;
        // The last pixel before the next column is the grid line.
        EXPECT_EQ(r.left() + r.width(), gPx(1000 * (c + 1)) - 1) << c;
    }
}

// ---- cards -------------------------------------------------------------------

struct CardCase {
    const char* name;
    int row, col, length;
    std::vector<int> numbered; // body rows of the column holding "1"
    int firstRow, lastRow;     // the card's merged block
};

class GridTableCard : public GridTable, public ::testing::WithParamInterface<CardCase> {};

TEST_P(GridTableCard, CoversTheMergedBlockOfItsRun) {
    const CardCase& c = GetParam();
    grid->clear();
    grid->setTextMatrix(c.row, c.col, QStringLiteral("高数\r\nA101"), c.length, 4);
    ASSERT_EQ(grid->cardCount(), 1);
    EXPECT_EQ(rowsHolding(c.col, QStringLiteral("1")), c.numbered);
    const QRect first = grid->cellRect(c.firstRow, c.col);
    const QRect last = grid->cellRect(c.lastRow, c.col);
    const QRect block(first.topLeft(), last.bottomRight());
    scheduleBackground* card = grid->card(1);
    EXPECT_EQ(card->geometry(), block);
    EXPECT_TRUE(card->isVisible());
    EXPECT_TRUE(card->visible2());
    EXPECT_EQ(card->color(), 4);
    EXPECT_EQ(card->caption(), QStringLiteral("高数\r\nA101"));
}

INSTANTIATE_TEST_SUITE_P(Cases, GridTableCard,
                         ::testing::Values(CardCase{"ThreePeriods", 2, 3, 3, {2, 3, 4}, 2, 4},
                                           CardCase{"PastTheLastRow", 9, 1, 4, {9, 10}, 9, 10},
                                           CardCase{"OnePeriodInTheLastColumn", 10, 7, 1, {10}, 10, 10},
                                           // Nothing numbered: the card still lies on its own cell.
                                           CardCase{"LengthZero", 5, 2, 0, {}, 5, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridTable, HiddenCellsGetNeitherTextNorCard) {
    grid->setColWidth(6, 0);
    grid->setRowHeight(4, 0);
    grid->setTextMatrix(2, 6, QStringLiteral("体育"), 2, 1);
    grid->setTextMatrix(4, 2, QStringLiteral("体育"), 2, 1);
    grid->setTextMatrix(0, 6, QStringLiteral("周六"));
    grid->setTextMatrix(4, 0, QStringLiteral("第4节"));
    grid->setTextMatrix(11, 2, QStringLiteral("past the end"), 1, 1);
    EXPECT_EQ(grid->cardCount(), 0);
    EXPECT_TRUE(grid->textMatrix(2, 6).isEmpty());
    EXPECT_TRUE(grid->textMatrix(0, 6).isEmpty());
    EXPECT_TRUE(grid->textMatrix(4, 0).isEmpty());
    // The next card written is still number 1.
    grid->setTextMatrix(1, 1, QStringLiteral("英语"), 1, 2);
    EXPECT_EQ(grid->textMatrix(1, 1), QStringLiteral("1"));
}

TEST_F(GridTable, HeadersAreTextOnly) {
    grid->setTextMatrix(0, 1, QStringLiteral("周一"), 3, 5);
    grid->setTextMatrix(2, 0, QStringLiteral("第2节\r\n08:55"), 2, 5);
    EXPECT_EQ(grid->cardCount(), 0);
    EXPECT_EQ(grid->textMatrix(0, 1), QStringLiteral("周一"));
    EXPECT_EQ(grid->textMatrix(2, 0), QStringLiteral("第2节\r\n08:55"));
    EXPECT_TRUE(grid->textMatrix(1, 1).isEmpty());
}

TEST_F(GridTable, ALaterCardOverAnEarlierOneRenumbersTheCellsAndLiesOnTop) {
    grid->setTextMatrix(2, 3, QStringLiteral("A"), 3, 0);
    const QRect firstPlace = grid->card(1)->geometry();
    grid->setTextMatrix(3, 3, QStringLiteral("B"), 3, 1);
    EXPECT_EQ(rowsHolding(3, QStringLiteral("1")), std::vector<int>{2});
    EXPECT_EQ(rowsHolding(3, QStringLiteral("2")), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(grid->card(1)->geometry(), firstPlace);
    // Over the overlap the second card is the one hit.
    const QPoint overlap = grid->cellRect(4, 3).topLeft() + QPoint(2, 2);
    QWidget* hit = grid->childAt(overlap);
    ASSERT_NE(hit, nullptr);
    EXPECT_TRUE(hit == grid->card(2) || hit->parentWidget() == grid->card(2));
}

TEST_F(GridTable, CardColours) {
    grid->setTextMatrix(1, 1, QStringLiteral("A"), 1, 25);
    grid->setTextMatrix(1, 2, QStringLiteral("B"), 1, 25, 0x00FF00);
    grid->setTextMatrix(1, 3, QStringLiteral("C"), 1, 9, 0x123456);
    grid->setTextMatrix(1, 4, QStringLiteral("D"), 1, 25, 0);
    // No custom colour given keeps the panel's own; 0 is black.
    EXPECT_EQ(grid->card(1)->userColor(), gDefaultUserColor);
    EXPECT_EQ(grid->card(1)->baseColor(), gDefaultUserColor);
    EXPECT_EQ(grid->card(2)->baseColor(), 0x00FF00);
    EXPECT_EQ(grid->card(3)->userColor(), 0x123456);
    EXPECT_EQ(grid->card(3)->baseColor(), *gPaletteColor(9, 0));
    EXPECT_EQ(grid->card(4)->userColor(), 0);
    EXPECT_EQ(grid->card(4)->baseColor(), 0);
}

TEST_F(GridTable, ClearRemovesTheCardsAndRestartsTheNumbering) {
    grid->setCols(9); // a column past the seven weekdays is blanked as well
    grid->setTextMatrix(0, 1, QStringLiteral("周一"));
    grid->setTextMatrix(1, 1, QStringLiteral("A"), 2, 0);
    grid->setTextMatrix(3, 8, QStringLiteral("B"), 2, 0);
    QPointer<scheduleBackground> first = grid->card(1);
    grid->clear();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(grid->cardCount(), 0);
    EXPECT_TRUE(grid->findChildren<scheduleBackground*>().isEmpty());
    for (int c = 1; c < grid->cols(); ++c)
        for (int r = 1; r < grid->rows(); ++r)
            EXPECT_TRUE(grid->textMatrix(r, c).isEmpty()) << r << "," << c;
    EXPECT_EQ(grid->textMatrix(0, 1), QStringLiteral("周一"));
    // A new card over rows 3..5 of column 8 is not merged with anything stale.
    grid->setTextMatrix(4, 8, QStringLiteral("C"), 1, 0);
    EXPECT_EQ(grid->textMatrix(4, 8), QStringLiteral("1"));
    EXPECT_EQ(grid->card(1)->geometry(), grid->cellRect(4, 8));
}

TEST_F(GridTable, OutOfRangeSubscriptsRaiseError9) {
    EXPECT_EQ(errorOf([&] { grid->setTextMatrix(1, 8, QStringLiteral("x"), 1); }), gErr::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { grid->setTextMatrix(-1, 1, QStringLiteral("x"), 1); }),
              gErr::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { grid->setColWidth(8, 100); }), gErr::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { grid->setRowHeight(11, 100); }), gErr::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { grid->setCols(0); }), gErr::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { grid->setRows(0); }), gErr::SubscriptOutOfRange);
    EXPECT_EQ(grid->cardCount(), 0);
    EXPECT_EQ(grid->cols(), 8);
    EXPECT_EQ(grid->rows(), 11);
}

// ---- drawing -----------------------------------------------------------------

TEST_F(GridTable, DrawsHeadersBodyGridLinesAndCards) {
    grid->setBackColorFixed(0x0000FF); // red headers
    grid->setGridColor(0xFF0000);      // blue lines
    grid->setTextMatrix(0, 2, QStringLiteral("周二"));
    grid->setTextMatrix(2, 3, QStringLiteral("A"), 3, 0);
    const QImage img = grid->grab().toImage();

    const QRect header = grid->cellRect(0, 2);
    EXPECT_EQ(img.pixel(header.left() + 1, header.top() + 1), qRgb(255, 0, 0));
    const QRect body = grid->cellRect(5, 5);
    EXPECT_EQ(img.pixel(body.left() + 1, body.top() + 1), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(body.right() + 1, body.center().y()), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(body.center().x(), body.bottom() + 1), qRgb(0, 0, 255));

    // The card's gradient, five rows down and two pixels in, away from the caption.
    scheduleBackground* card = grid->card(1);
    const QRect c = card->geometry();
    // Colour 0 on an 89-pixel card: 4 % of the way from its light shade to its base.
    EXPECT_EQ(c.height(), 89);
    EXPECT_EQ(img.pixel(c.left() + 2, c.top() + 5), qRgb(254, 182, 192));
    // No grid line shows through the middle of the card.
    const QRect mid = grid->cellRect(3, 3);
    EXPECT_NE(img.pixel(mid.left() + 2, mid.top() - 1), qRgb(0, 0, 255));
}

// ---- events ------------------------------------------------------------------

TEST_F(GridTable, MouseMoveOverTheGridInTwipsButNotOverACard) {
    grid->setTextMatrix(2, 3, QStringLiteral("A"), 2, 0);
    QSignalSpy moves(grid, &scheduleTable::mouseMove);
    const QPoint bare = grid->cellRect(6, 5).topLeft() + QPoint(3, 4);
    QTest::mouseMove(grid, bare);
    QCoreApplication::processEvents();
    ASSERT_EQ(moves.count(), 1);
    EXPECT_EQ(moves[0][0].toInt(), 0);
    EXPECT_EQ(moves[0][2].toInt(), gTwips(bare.x()));
    EXPECT_EQ(moves[0][3].toInt(), gTwips(bare.y()));

    moves.clear();
    QTest::mouseMove(grid, grid->card(1)->geometry().center() + QPoint(-5, 3));
    QCoreApplication::processEvents();
    EXPECT_EQ(moves.count(), 0);
}

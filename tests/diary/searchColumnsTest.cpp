// The lists' columns on a wider page: the room goes to the title and the
// preview, so their texts are cut as late as possible; no column gets narrower
// than designed.
#include "searchTestSupport.h"

#include "core/ui/gTwips.h"

#include <QHeaderView>
#include <QScrollBar>

namespace {

class SearchColumnsTest : public SearchTest {
protected:
    static std::array<int, 5> widths(const QTreeView* lv) {
        std::array<int, 5> w{};
        for (int i = 0; i < 5; ++i)
            w[size_t(i)] = lv->columnWidth(i);
        return w;
    }
};

TEST_F(SearchColumnsTest, AWiderPageGivesItsRoomToTheTitleAndThePreview) {
    for (int i = 0; i < 40; ++i) // enough rows for a scroll bar
        addEntry({today_.addDays(-i), QStringLiteral("一个很长很长的日记标题%1").arg(i),
                  QStringLiteral("正文"), 50, true});
    frmRetrieval* p = openSearch();
    clickTreeNode(p, QStringLiteral("检索"));
    settle(p->resultList);
    for (QTreeView* lv : {p->resultList, p->favouritesList}) {
        SCOPED_TRACE(lv->objectName().toStdString());
        if (lv == p->favouritesList) {
            clickTreeNode(p, QStringLiteral("收藏"));
            settle(lv);
        }
        const std::array<int, 5> before = widths(lv);
        EXPECT_EQ(before[0], gPx(464));
        EXPECT_GE(before[2], gPx(1290));
        EXPECT_GE(before[4], gPx(540));

        p->resize(p->width() + 300, p->height());
        pumpEvents();
        const std::array<int, 5> after = widths(lv);
        EXPECT_EQ(after[0], before[0]);
        EXPECT_EQ(after[1], before[1]);
        EXPECT_EQ(after[4], before[4]);
        EXPECT_GT(after[2], before[2]);
        EXPECT_GT(after[3], before[3]);
        EXPECT_GT(after[3] - before[3], after[2] - before[2]); // in the proportion of their widths
        // The columns fill the list beside its scroll bar, and nothing more.
        ASSERT_TRUE(lv->verticalScrollBar()->isVisible());
        EXPECT_NEAR(after[0] + after[1] + after[2] + after[3] + after[4], lv->viewport()->width(), 1);

        // Back to the page's size: the designed widths again.
        p->resize(p->width() - 300, p->height());
        pumpEvents();
        EXPECT_EQ(widths(lv), before);
    }
}

} // namespace

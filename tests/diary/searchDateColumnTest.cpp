// The search and favourites lists show every date whole, in the font in use.
#include "searchTestSupport.h"

#include <QApplication>
#include <QFont>

namespace {

class SearchDateColumnTest : public SearchTest {};

TEST_F(SearchDateColumnTest, TheDateColumnFitsTheWidestDates) {
    for (const QDate& d : {QDate(2025, 12, 28), QDate(2025, 11, 30), QDate(2025, 10, 10)})
        addEntry({d, QStringLiteral("题"), QStringLiteral("正文"), 50, true});
    // A larger font than the default as well: the column follows the font in use.
    const QFont original = QApplication::font();
    for (int points : {0, 14}) {
        SCOPED_TRACE(points);
        frmRetrieval* p = nullptr;
        if (points) {
            QFont f = original;
            f.setPointSize(points);
            QApplication::setFont(f);
        }
        p = openSearch();
        clickTreeNode(p, QStringLiteral("收藏"));
        for (QTreeView* lv : {p->resultList, p->favouritesList}) {
            SCOPED_TRACE(lv->objectName().toStdString());
            ASSERT_EQ(count(lv), 3);
            const int shown = lv->columnWidth(1);
            lv->resizeColumnToContents(1);
            EXPECT_LE(lv->columnWidth(1), shown);
        }
        forms::unloadAllNow();
        QApplication::setFont(original);
    }
}

} // namespace

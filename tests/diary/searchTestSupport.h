#pragma once
// The search page on a signed-in account with entries: the real page, the
// real review page it hands over to, stand-ins for the other pages.
#include "reviewTestSupport.h"

#include "core/ui/gForms.h"
#include "diary/frmRetrieval.h"

#include <QAbstractItemModel>
#include <QStringList>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

// The page a list belongs to, once its searches have run to their end: a search
// runs in turns of the event loop, so its rows come while events are handled.
inline void settle(const QWidget* w) {
    const frmRetrieval* page = nullptr;
    for (; w && !page; w = w->parentWidget())
        page = qobject_cast<const frmRetrieval*>(w);
    for (int i = 0; page && page->searching() && i < 100000; ++i)
        QCoreApplication::processEvents();
}

// A list's rows and cells, as the user sees them once the search is done.
inline int count(const QTreeView* lv) {
    settle(lv);
    return lv->model()->rowCount();
}
inline QString cell(const QTreeView* lv, int row, int column) {
    settle(lv);
    return lv->model()->index(row, column).data().toString();
}
inline QDate rowDate(const QTreeView* lv, int row) {
    settle(lv);
    return lv->model()->index(row, 1).data(Qt::UserRole).toDate();
}
inline void select(QTreeView* lv, int row) {
    settle(lv);
    lv->setCurrentIndex(lv->model()->index(row, 0));
}
// A list's rows as "NO. title", in the order shown.
inline QStringList rows(const QTreeView* lv) {
    QStringList out;
    for (int i = 0; i < count(lv); ++i)
        out << cell(lv, i, 0) + QLatin1Char(' ') + cell(lv, i, 2);
    return out;
}

class SearchTest : public ReviewTest {
protected:
    void SetUp() override {
        ReviewTest::SetUp();
        forms::registerForm(Form::frmRetrieval, [] { return new frmRetrieval; });
    }

    // The page on its own, loaded as the page switch loads it.
    frmRetrieval* openSearch() {
        auto* page = forms::load<frmRetrieval>(Form::frmRetrieval);
        page->show();
        return page;
    }
    frmRetrieval* search() const { return forms::find<frmRetrieval>(Form::frmRetrieval); }

    // A click on a list's row.
    static void clickRow(QTreeView* lv, int row, Qt::MouseButton button = Qt::LeftButton) {
        settle(lv);
        const QRect r = lv->visualRect(lv->model()->index(row, 0));
        QTest::mouseClick(lv->viewport(), button, {}, r.center());
        pumpEvents();
    }
    // A click on a node of the page's tree, given as the node or as its caption.
    static void clickTreeNode(frmRetrieval* p, QTreeWidgetItem* node) {
        QTest::mouseClick(p->paneTree->viewport(), Qt::LeftButton, {},
                          p->paneTree->visualItemRect(node).center());
    }
    static void clickTreeNode(frmRetrieval* p, const QString& caption) {
        const QList<QTreeWidgetItem*> found =
            p->paneTree->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << caption.toStdString();
        clickTreeNode(p, found.first());
    }
};

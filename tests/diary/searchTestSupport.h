#pragma once
// The search page on a signed-in account with entries: the real page, the
// real review page it hands over to, stand-ins for the other pages.
#include "reviewTestSupport.h"

#include "core/gForms.h"
#include "diary/frmRetrieval.h"

#include <QStringList>
#include <QTest>
#include <QTreeWidget>

class SearchTest : public ReviewTest {
protected:
    void SetUp() override {
        ReviewTest::SetUp();
        forms::registerForm(QStringLiteral("frmRetrieval"), [] { return new frmRetrieval; });
    }

    // The page on its own, loaded as the page switch loads it.
    frmRetrieval* openSearch() {
        auto* page = forms::load<frmRetrieval>(QStringLiteral("frmRetrieval"));
        page->show();
        return page;
    }
    frmRetrieval* search() const { return forms::find<frmRetrieval>(QStringLiteral("frmRetrieval")); }

    // A click on a list's row.
    static void clickRow(QTreeWidget* lv, int row, Qt::MouseButton button = Qt::LeftButton) {
        const QRect r = lv->visualItemRect(lv->topLevelItem(row));
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

    // A list's rows as "NO. title", in the order shown.
    static QStringList rows(const QTreeWidget* lv) {
        QStringList out;
        for (int i = 0; i < lv->topLevelItemCount(); ++i)
            out << lv->topLevelItem(i)->text(0) + QLatin1Char(' ') + lv->topLevelItem(i)->text(2);
        return out;
    }
};

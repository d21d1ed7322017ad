#pragma once
// The search page on a signed-in account with entries: the real page, the
// real review page it hands over to, stand-ins for the other pages.
#include "reviewTestSupport.h"

#include "core/gForms.h"
#include "diary/frmRetrieval.h"

#include <QStringList>
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

    // A list's rows as "NO. title", in the order shown.
    static QStringList rows(const QTreeWidget* lv) {
        QStringList out;
        for (int i = 0; i < lv->topLevelItemCount(); ++i)
            out << lv->topLevelItem(i)->text(0) + QLatin1Char(' ') + lv->topLevelItem(i)->text(2);
        return out;
    }
};

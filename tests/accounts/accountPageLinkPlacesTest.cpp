// The account page's links stand a link's step apart from the top of their
// list, the password's own links only where the account has a password.
#include "accountPageFixture.h"

#include "core/ui/gTwips.h"

#include <QList>

namespace {

struct PlacesCase {
    const char* label;
    const char* password;
    QList<int> tops; // lblCmd10 .. lblCmd14 in twips from the list's top; -1 hidden
};

class AccountPageLinkPlaces : public AccountPageTest, public ::testing::WithParamInterface<PlacesCase> {};

TEST_P(AccountPageLinkPlaces, StandWhereTheListPutsThem) {
    const PlacesCase c = GetParam();
    makeAccount(QString::fromUtf8(c.password));
    frmUser* p = openPage();
    ASSERT_NE(p, nullptr);
    const QList<gLinkLabel*> links{p->changeNameLink, p->passwordLink, p->removePasswordLink, p->pictureLink,
                                   p->exportKeyLink};
    for (int i = 0; i < links.size(); ++i) {
        SCOPED_TRACE(links[i]->objectName().toStdString());
        ASSERT_EQ(links[i]->parentWidget(), p->linkPanel);
        EXPECT_EQ(links[i]->isVisible(), c.tops[i] >= 0);
        if (c.tops[i] < 0) continue;
        EXPECT_EQ(links[i]->pos(), gPxPoint(240, c.tops[i]));
        // Clear of the list's heading above them.
        EXPECT_FALSE(links[i]->geometry().intersects(p->linkTitle->geometry()));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, AccountPageLinkPlaces,
                         ::testing::Values(PlacesCase{"NoPassword", "", {600, 960, -1, 1320, 1680}},
                                           PlacesCase{
                                               "WithPassword", "secret", {600, 960, 1320, 1680, 2040}}),
                         [](const auto& info) { return std::string(info.param.label); });

} // namespace

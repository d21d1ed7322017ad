// The start-up's windows open centred on the screen, however often the start
// road runs again (offscreen, as without a window manager, nothing else places them).
#include "accountsFixture.h"

#include "accounts/frmCreateAccount.h"
#include "accounts/frmLogin.h"
#include "core/ui/gMain.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gUserData.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace {

QRect screenArea() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

class StartWindowPlaces : public AccountsTest {};

TEST_F(StartWindowPlaces, SignInOpensCentred) {
    writeProfile(QStringLiteral("Ann"), QStringLiteral("pw"), QStringLiteral("1234567"));
    Main();
    auto* login = forms::find<frmLogin>(Form::frmLogin);
    ASSERT_NE(login, nullptr);
    ASSERT_TRUE(login->isVisible());
    EXPECT_TRUE(sameCentre(login->frameGeometry(), screenArea())) << login->x() << "," << login->y();
}

// A bad profile recreated: 117 → 重新创建 → 确定, account creation, then the sign-in.
TEST_F(StartWindowPlaces, AfterARecreatedProfileEveryWindowOpensCentred) {
    writeFile(gProfileFile(), "not a profile");
    gMsgBoxSeam::pushAnswers({gMsgResult::First, gMsgResult::OK});
    Main();
    EXPECT_EQ(shownIds(),
              (QList<int>{Msg::ProfileBroken, Msg::ConfirmRecreateProfile, Msg::ProfileSavedAside}));
    auto* create = forms::find<frmCreateAccount>(Form::frmCreateAccount);
    ASSERT_NE(create, nullptr);
    ASSERT_TRUE(create->isVisible());
    EXPECT_TRUE(sameCentre(create->frameGeometry(), screenArea())) << create->x() << "," << create->y();

    QTest::keyClicks(create->nameEdit, QStringLiteral("Ann"));
    QTest::keyClicks(create->passwordEdit, QStringLiteral("pw"));
    QTest::keyClicks(create->confirmEdit, QStringLiteral("pw"));
    QTest::mouseClick(create->okButton, Qt::LeftButton);
    pumpEvents();

    auto* login = forms::find<frmLogin>(Form::frmLogin);
    ASSERT_NE(login, nullptr);
    ASSERT_TRUE(login->isVisible());
    EXPECT_TRUE(sameCentre(login->frameGeometry(), screenArea())) << login->x() << "," << login->y();
}

} // namespace

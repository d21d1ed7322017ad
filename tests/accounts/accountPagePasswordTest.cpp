// The account page's password dialogs on a real account: the database is
// re-keyed together with the profile, and never one without the other.
#include "accountPageFixture.h"

#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "core/model/gUserData.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString kKey = QStringLiteral("1234567");
const QString kNoPassword = QStringLiteral("D41D8CD98F00B204E9800998ECF8427E");

class AccountPagePassword : public AccountPageTest {};

// Types into the password dialog and presses its confirm button.
void changePassword(frmUser* p, const QString& current, const QString& fresh, const QString& confirm) {
    QTest::mouseClick(p->passwordLink, Qt::LeftButton);
    if (p->currentPasswordEdit->isVisibleTo(p->passwordPanel)) p->currentPasswordEdit->setText(current);
    p->newPasswordEdit->setText(fresh);
    p->confirmPasswordEdit->setText(confirm);
    p->passwordOkButton->click();
    pumpEvents();
}

TEST_F(AccountPagePassword, ChangeReKeysTheDatabaseAndTheProfileAndReloadsThePage) {
    makeAccount(QStringLiteral("secret"));
    frmUser* before = openPage();
    ASSERT_NE(before, nullptr);
    changePassword(before, QStringLiteral("secret"), QStringLiteral("N3w pass"), QStringLiteral("N3w pass"));

    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
    EXPECT_EQ(gPasswordHash, digest(QStringLiteral("N3w pass")));
    EXPECT_EQ(gRecordKey, kKey);
    frmUser* after = page();
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before); // a fresh page shows the new state
    EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Account));
    EXPECT_EQ(after->passwordLink->text(), QStringLiteral("更改我的密码"));
    // The shared connection keeps working after the re-key.
    EXPECT_EQ(gConnection.count(QStringLiteral("DiarySettings")), 1);

    const Stored s = storedProfile();
    EXPECT_EQ(s.hash, digest(QStringLiteral("N3w pass")));
    EXPECT_EQ(s.key, kKey);
    EXPECT_TRUE(opensWith(QStringLiteral("N3w pass"), kKey));
    EXPECT_FALSE(opensWith(QStringLiteral("secret"), kKey));
}

TEST_F(AccountPagePassword, CreateOnAnAccountWithoutPasswordAsksNoCurrentPassword) {
    makeAccount(QString());
    frmUser* p = openPage();
    ASSERT_NE(p, nullptr);
    QTest::mouseClick(p->passwordLink, Qt::LeftButton);
    EXPECT_FALSE(p->currentPasswordEdit->isVisibleTo(p->passwordPanel));
    EXPECT_FALSE(p->currentPasswordCaption->isVisibleTo(p->passwordPanel));
    EXPECT_EQ(p->passwordTitle->text(), QStringLiteral("为您的账户创建一个密码"));
    EXPECT_EQ(p->passwordOkButton->text(), QStringLiteral("创建密码"));
    EXPECT_EQ(p->newPasswordPanel->pos(), gPxPoint(0, 600));
    changePassword(p, {}, QStringLiteral("abc"), QStringLiteral("abc"));

    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    EXPECT_EQ(storedProfile().hash, digest(QStringLiteral("abc")));
    ASSERT_NE(page(), nullptr);
    EXPECT_TRUE(page()->removePasswordLink->isVisibleTo(page()->linkPanel));
    EXPECT_TRUE(opensWith(QStringLiteral("abc"), kKey));
    EXPECT_FALSE(opensWith(QString(), kKey));
}

struct RefusedCase {
    const char* label;
    const char* current;
    const char* fresh;
    const char* confirm;
    int message;
};

class AccountPagePasswordRefused : public AccountPageTest,
                                   public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(AccountPagePasswordRefused, ChangesNothingAnywhereAndEmptiesTheBoxes) {
    const RefusedCase c = GetParam();
    makeAccount(QStringLiteral("secret"));
    frmUser* p = openPage();
    ASSERT_NE(p, nullptr);
    changePassword(p, QString::fromUtf8(c.current), QString::fromUtf8(c.fresh), QString::fromUtf8(c.confirm));

    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{c.message});
    EXPECT_EQ(page(), p); // the dialog stays open on the same page
    EXPECT_TRUE(p->passwordPanel->isVisible());
    for (QLineEdit* box : {p->currentPasswordEdit, p->newPasswordEdit, p->confirmPasswordEdit})
        EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(gPasswordHash, digest(QStringLiteral("secret")));
    EXPECT_EQ(storedProfile().hash, digest(QStringLiteral("secret")));
    EXPECT_TRUE(opensWith(QStringLiteral("secret"), kKey));
    EXPECT_FALSE(opensWith(QString::fromUtf8(c.fresh), kKey));
}

INSTANTIATE_TEST_SUITE_P(Cases, AccountPagePasswordRefused,
                         ::testing::Values(RefusedCase{"WrongCurrent", "Secret", "new1", "new1", 120},
                                           RefusedCase{"EmptyCurrent", "", "new1", "new1", 120},
                                           RefusedCase{"ConfirmDiffers", "secret", "new1", "new2", 121}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(AccountPagePassword, DeleteDrawsANewRecordKeyAndTheEmptyPasswordOpens) {
    makeAccount(QStringLiteral("secret"));
    frmUser* p = openPage();
    ASSERT_NE(p, nullptr);
    QTest::mouseClick(p->removePasswordLink, Qt::LeftButton);
    EXPECT_EQ(p->removePasswordTitle->text(), QStringLiteral("您确实要删除您的密码吗?"));
    EXPECT_EQ(p->removePasswordNote->text(), QStringLiteral("如果删除您的密码，其他人就可以访问您的账户。\n\n"
                                                            "要验证您的身份，请输入您的当前密码:"));
    p->removePasswordEdit->setText(QStringLiteral("wrong"));
    p->removePasswordButton->click();
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::WrongCurrentPassword});
    EXPECT_TRUE(p->removePasswordEdit->text().isEmpty());
    EXPECT_TRUE(p->removePasswordPanel->isVisible());
    EXPECT_EQ(gRecordKey, kKey);

    p->removePasswordEdit->setText(QStringLiteral("secret"));
    p->removePasswordButton->click();
    pumpEvents();
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::WrongCurrentPassword});
    EXPECT_EQ(gPasswordHash, kNoPassword);
    const QString newKey = gRecordKey;
    bool digits = false;
    const long value = newKey.toLong(&digits);
    EXPECT_TRUE(digits && value >= 0 && value <= 9999998) << newKey.toStdString();
    ASSERT_NE(page(), nullptr);
    EXPECT_FALSE(page()->removePasswordLink->isVisibleTo(page()->linkPanel));
    EXPECT_EQ(page()->passwordLink->text(), QStringLiteral("创建密码"));

    const Stored s = storedProfile();
    EXPECT_EQ(s.hash, kNoPassword);
    EXPECT_EQ(s.key, newKey);
    EXPECT_TRUE(opensWith(QString(), newKey));
    EXPECT_FALSE(opensWith(QStringLiteral("secret"), kKey));
}

// The profile cannot be written: the database gets its old key back, so the
// profile on disk and the database still match.
TEST_F(AccountPagePassword, ProfileThatCannotBeWrittenLeavesTheDatabaseOnTheOldKey) {
    makeAccount(QStringLiteral("secret"));
    frmUser* p = openPage();
    ASSERT_NE(p, nullptr);
    // A folder in place of the profile: the write fails, the old profile is gone
    // for reading too, so check the database alone.
    ASSERT_TRUE(QFile::remove(gProfileFile()));
    ASSERT_TRUE(QDir().mkpath(gProfileFile()));

    for (int step = 0; step < 2; ++step) {
        const auto errorsBefore = gMsgBoxSeam::errors().size();
        if (step == 0) {
            changePassword(p, QStringLiteral("secret"), QStringLiteral("other"), QStringLiteral("other"));
        } else {
            QTest::mouseClick(p->removePasswordLink, Qt::LeftButton);
            p->removePasswordEdit->setText(QStringLiteral("secret"));
            p->removePasswordButton->click();
            pumpEvents();
        }
        SCOPED_TRACE(step);
        EXPECT_EQ(gMsgBoxSeam::errors().size(), errorsBefore + 1);
        EXPECT_EQ(page(), p);
        EXPECT_EQ(gPasswordHash, digest(QStringLiteral("secret")));
        EXPECT_EQ(gRecordKey, kKey);
        EXPECT_EQ(gConnection.count(QStringLiteral("DiarySettings")), 1);
    }
    EXPECT_TRUE(opensWith(QStringLiteral("secret"), kKey));
    EXPECT_FALSE(opensWith(QStringLiteral("other"), kKey));
}

// The database refuses the new key (here: it is not open): reported, and the
// digest and the profile keep the old password.
TEST_F(AccountPagePassword, RefusedReKeyIsReportedAndWritesNothing) {
    makeAccount(QStringLiteral("secret"));
    frmUser* p = openPage();
    ASSERT_NE(p, nullptr);
    gCloseDatabase();
    changePassword(p, QStringLiteral("secret"), QStringLiteral("other"), QStringLiteral("other"));
    EXPECT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_EQ(page(), p);
    EXPECT_EQ(gPasswordHash, digest(QStringLiteral("secret")));
    EXPECT_EQ(storedProfile().hash, digest(QStringLiteral("secret")));
    EXPECT_TRUE(opensWith(QStringLiteral("secret"), kKey));
}

TEST_F(AccountPagePassword, PasswordBoxesDropCharactersTheDigestCannotCarry) {
    makeAccount(QStringLiteral("secret"));
    frmUser* p = openPage();
    ASSERT_NE(p, nullptr);
    for (QLineEdit* box :
         {p->currentPasswordEdit, p->newPasswordEdit, p->confirmPasswordEdit, p->removePasswordEdit}) {
        box->setText(QStringLiteral("ab中c"));
        EXPECT_EQ(box->text(), QStringLiteral("abc")) << box->objectName().toStdString();
        EXPECT_EQ(box->echoMode(), QLineEdit::Password);
    }
}

} // namespace

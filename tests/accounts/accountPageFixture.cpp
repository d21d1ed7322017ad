#include "accountPageFixture.h"

#include "core/model/gDatabase.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "core/model/gUserData.h"
#include "core/ui/gWindowServices.h"
#include "platform/db/Connection.h"
#include "platform/settingsStore.h"
#include "shell/frmMain.h"

#include <QApplication>

void gRegisterShellForms();

void AccountPageTest::SetUp() {
    AccountsTest::SetUp();
    gRegisterShellForms();
    gTraySeam::reset();
    gTraySeam::setAreaExists(true);
    settings::save(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("ShowAbout"),
                   QStringLiteral("0"));
}

void AccountPageTest::TearDown() {
    forms::unloadAllNow();
    gTraySeam::reset();
    AccountsTest::TearDown();
}

void AccountPageTest::makeAccount(const QString& password, const QString& recordKey) {
    gUserName = QStringLiteral("Ann");
    gPasswordHash = digest(password);
    gRecordKey = recordKey;
    gPictureIndex = 3;
    ASSERT_TRUE(gSaveUserData());
    const QString dbPassword = gMakeDbPassword(password);
    gCreateDatabase(gDatabaseFile, dbPassword);
    gOpenDatabase(gDatabaseFile, dbPassword);
}

frmUser* AccountPageTest::openPage() {
    main_ = forms::load<frmMain>(Form::frmMain);
    EXPECT_NE(main_, nullptr);
    if (!main_) return nullptr;
    main_->show();
    QApplication::setActiveWindow(main_); // Enter and Escape of the dialogs are window keys
    EXPECT_TRUE(main_->gChangeFrame(Page::Account));
    return page();
}

frmUser* AccountPageTest::page() const {
    return forms::find<frmUser>(Form::frmUser);
}

bool AccountPageTest::opensWith(const QString& password, const QString& recordKey) {
    gCloseDatabase();
    const QString keep = gRecordKey;
    gRecordKey = recordKey;
    const QString dbPassword = gMakeDbPassword(password);
    gRecordKey = keep;
    try {
        db::Connection c;
        c.open(gDatabaseFile, dbPassword, false);
        return c.count(QStringLiteral("DiarySettings")) == 1;
    } catch (...) {
        return false;
    }
}

AccountPageTest::Stored AccountPageTest::storedProfile() {
    const QString name = gUserName, hash = gPasswordHash, key = gRecordKey;
    const int picture = gPictureIndex;
    Stored s;
    if (gReadUserData()) s = {gUserName, gPasswordHash, gRecordKey, gPictureIndex};
    gUserName = name;
    gPasswordHash = hash;
    gRecordKey = key;
    gPictureIndex = picture;
    return s;
}

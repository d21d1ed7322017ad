#pragma once
// The account page on a real main window, over a real account: profile in the
// user folder and its encrypted database open.
#include "accountsFixture.h"

#include "accounts/frmUser.h"
#include "core/model/gDatabase.h"
#include "core/ui/gLinkLabel.h"
#include "shell/frmMain.h"

#include <QLabel>

class AccountPageTest : public AccountsTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the profile of the account and creates and opens its database.
    void makeAccount(const QString& password, const QString& recordKey = QStringLiteral("1234567"));
    // The main window on page 5, and the page now shown.
    frmUser* openPage();
    frmUser* page() const;

    // Whether the database file opens with this typed password and record key
    // (closes the shared connection first).
    bool opensWith(const QString& password, const QString& recordKey);

    struct Stored {
        QString name, hash, key;
        int picture = -1;
    };
    // The profile as it is on disk (the account variables are left as they were).
    Stored storedProfile();

    frmMain* main_ = nullptr;
};

#pragma once
// A start-up as the program runs it: a program folder with its manifest, a
// user folder chosen in the settings, the account forms registered, and small
// stand-ins for the forms the sign-in hands over to.
#include "../common/testSupport.h"

#include "core/ui/gForms.h"
#include "core/model/gState.h"

#include <QString>
#include <QStringList>
#include <QWidget>

// Records which stand-in forms were loaded, in order.
QStringList& loadedStandIns();

class AccountsTest : public HomeTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Points the settings at `folder` (PathOption 3) and resolves the paths.
    void useUserFolder(const QString& folder);

    // Writes a profile for the account into the user folder (profile layout, key 17).
    void writeProfile(const QString& name, const QString& password, const QString& recordKey,
                      const QString& optionBits = QStringLiteral("111001110110110000000"));

    QString userFolder_;
    // Whether today's-classes report has a stand-in (a later window; the program
    // may run without it).
    bool reportBuilt_ = true;
};

// Whether a form of that name is loaded and visible.
bool formShown(gFormName name);

// The MD5 digest as the profile stores it.
QString digest(const QString& text);

// The ids of every message box asked so far.
QList<int> shownIds();

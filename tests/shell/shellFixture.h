#pragma once
// Small stand-in pages for the main window's page switch, and a fixture that
// loads the main window in a temporary home with scripted message boxes.
#include "core/ui/gEditorPage.h"
#include "core/ui/gForms.h"
#include "testSupport.h"

#include <QLineEdit>
#include <QMap>
#include <QTextEdit>
#include <QWidget>

#include <functional>

class frmMain;

// Counts how many instances of each page name are alive and loaded.
struct PageLog {
    QMap<QString, int> created, destroyed, loaded, unloaded;
    void clear() { *this = PageLog(); }
    int alive(const QString& name) const { return created.value(name) - destroyed.value(name); }
};
PageLog& pageLog();

class TestPage : public QWidget, public gForm {
    Q_OBJECT
public:
    explicit TestPage(const QString& name);
    ~TestPage() override;
    void formLoad() override;
    void formUnload() override;
    QString name;
    // Runs from inside the page's own click handler (a button on the page).
    std::function<void()> onClick;
    void click();
};

// Stands in for the diary editor: gChanged, the edit mode it was opened with
// and its title and body boxes.
class TestEditor : public TestPage, public gEditorPage {
    Q_OBJECT
public:
    TestEditor();
    void formLoad() override;
    bool editMode() const override { return edit_; }
    QString titleText() const override { return Text2->text(); }
    QString bodyText() const override { return Text1->toPlainText(); }
    void setBodyText(const QString& text) override { Text1->setPlainText(text); }
    // Counts the drafts asked for; the real editor's file is its own business.
    bool gSaveDraft() override {
        ++draftsSaved;
        return true;
    }
    QLineEdit* Text2;
    QTextEdit* Text1;
    int draftsSaved = 0;

private:
    bool edit_ = false;
};

// Registers the test pages under the page names (the editor under "frmNew").
void registerTestPages();
// A small window form under a name (frmSuspend, frmLock, frmHelp...).
void registerTestWindow(gFormName name);

class ShellTest : public HomeTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Loads the main window as the sign-in does.
    frmMain* loadMain();
    TestEditor* editor() const;
    frmMain* main_ = nullptr;
};

// A real account: profile in the user folder, encrypted database open.
class AccountShellTest : public ShellTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Writes the profile of the account variables and creates and opens its database.
    void makeAccount(const QString& password = QStringLiteral("secret"));
};

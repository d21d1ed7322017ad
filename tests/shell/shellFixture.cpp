#include "shellFixture.h"

#include "core/model/clsMD5.h"
#include "core/model/gDatabase.h"
#include "core/base/gError.h"
#include "core/ui/gMsgBox.h"
#include "core/ui/gStartup.h"
#include "core/model/gState.h"
#include "core/ui/gPageSwitch.h"
#include "core/model/gUserData.h"
#include "core/ui/gWindowServices.h"
#include "platform/settingsStore.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QVBoxLayout>

void gRegisterAccountWindows();
void gRegisterShellForms();

PageLog& pageLog() {
    static PageLog log;
    return log;
}

TestPage::TestPage(const QString& n) : name(n) {
    pageLog().created[name]++;
}
TestPage::~TestPage() {
    pageLog().destroyed[name]++;
}
void TestPage::formLoad() {
    pageLog().loaded[name]++;
}
void TestPage::formUnload() {
    pageLog().unloaded[name]++;
}
void TestPage::click() {
    gGuard([this] {
        if (onClick) onClick();
    });
}

TestEditor::TestEditor() : TestPage(QStringLiteral("frmNew")) {
    auto* lay = new QVBoxLayout(this);
    Text2 = new QLineEdit(this);
    Text1 = new QTextEdit(this);
    lay->addWidget(Text2);
    lay->addWidget(Text1);
}

void TestEditor::formLoad() {
    TestPage::formLoad();
    edit_ = gPageFlags().editMode;
}

void registerTestPages() {
    for (int i = 0; i <= 6; ++i) {
        const gFormName name = frmMain::pageFormName(i);
        if (i == 2)
            forms::registerForm(name, [] { return new TestEditor; });
        else
            forms::registerForm(name, [name] { return new TestPage(name); });
    }
    forms::registerForm(Form::frmKeyExport, [] { return new TestPage(QStringLiteral("frmKeyExport")); });
}

void registerTestWindow(gFormName name) {
    forms::registerForm(name, [name] { return new TestPage(name); });
}

void ShellTest::SetUp() {
    HomeTest::SetUp();
    pageLog().clear();
    gRegisterShellForms();
    gRegisterAccountWindows();
    gTraySeam::reset();
    gTraySeam::setAreaExists(true);
    gResetAccountState();
    gDataPath = home().folder(QStringLiteral("data"));
    // The About box stays out of the way unless a test asks for it.
    settings::save(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("ShowAbout"),
                   QStringLiteral("0"));
    QApplication::clipboard()->clear();
    registerTestPages();
    for (gFormName n :
         {Form::frmSuspend, Form::frmLock, Form::frmScheReport, Form::frmScheRemind, Form::frmPopUp})
        registerTestWindow(n);
}

void ShellTest::TearDown() {
    forms::unloadAllNow();
    gTraySeam::reset();
    QApplication::clipboard()->clear();
    HomeTest::TearDown();
}

frmMain* ShellTest::loadMain() {
    main_ = forms::load<frmMain>(Form::frmMain);
    return main_;
}

TestEditor* ShellTest::editor() const {
    return forms::find<TestEditor>(Form::frmNew);
}

void AccountShellTest::SetUp() {
    ShellTest::SetUp();
    gInitPaths();
}

void AccountShellTest::TearDown() {
    gCloseDatabase();
    gStartupSeam::releaseInstanceLock();
    gStartupSeam::reset();
    ShellTest::TearDown();
}

void AccountShellTest::makeAccount(const QString& password) {
    gUserName = QStringLiteral("Ann");
    gPasswordHash = clsMD5().DigestStrToHexStr(password);
    gRecordKey = QStringLiteral("1234567");
    gPictureIndex = 3;
    gLockTimeout = 2;
    gAutoSaveInterval = 5;
    gRemindLead = 10;
    ASSERT_TRUE(gSaveUserData());
    const QString dbPassword = gMakeDbPassword(password);
    if (!QFile::exists(gDatabaseFile)) gCreateDatabase(gDatabaseFile, dbPassword);
    gOpenDatabase(gDatabaseFile, dbPassword);
    ASSERT_TRUE(gConnection.isOpen());
}

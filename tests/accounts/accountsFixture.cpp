#include "accountsFixture.h"

#include "accounts/gAccountRules.h"
#include "core/model/clsMD5.h"
#include "core/model/gDatabase.h"
#include "core/ui/gMsgBox.h"
#include "core/ui/gStartup.h"
#include "core/model/gUserData.h"
#include "platform/settingsStore.h"

#include <QFile>

void gRegisterAccountsForms();
void gRegisterShellWindows();

namespace {

class StandIn : public QWidget, public gForm {
public:
    explicit StandIn(QString name) : name_(std::move(name)) {}
    void formLoad() override { loadedStandIns().append(name_); }

private:
    QString name_;
};

} // namespace

QStringList& loadedStandIns() {
    static QStringList names;
    return names;
}

void AccountsTest::SetUp() {
    HomeTest::SetUp();
    const QString program = home().folder(QStringLiteral("program"));
    writeFile(program + QStringLiteral("Rededera.exe.manifest"), "manifest");
    gStartupSeam::setProgram(program, QStringLiteral("Rededera"));
    gAppPath = program;
    gRegisterAccountsForms();
    gRegisterShellWindows();
    for (gFormName n : {Form::frmMain, Form::frmScheRemind, Form::frmScheReport}) {
        if (n == Form::frmScheReport && !reportBuilt_) continue;
        forms::registerForm(n, [n] { return new StandIn(n); });
    }
    loadedStandIns().clear();
    useUserFolder(home().folder(QStringLiteral("user")));
}

void AccountsTest::TearDown() {
    gCloseDatabase();
    forms::unloadAllNow();
    gStartupSeam::releaseInstanceLock();
    gStartupSeam::reset();
    HomeTest::TearDown();
}

void AccountsTest::useUserFolder(const QString& folder) {
    userFolder_ = folder;
    settings::save(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("PathOption"),
                   QStringLiteral("3"));
    settings::save(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("WorkPath"), folder);
    gInitPaths();
}

void AccountsTest::writeProfile(const QString& name, const QString& password, const QString& recordKey,
                                const QString& optionBits) {
    AccountProfile p;
    p.UserName = name;
    p.PasswordHash = digest(password);
    p.RecordKey = recordKey;
    p.PictureIndex = QStringLiteral("3");
    p.OptionBits = optionBits;
    p.LockTimeout = QStringLiteral("5");
    p.AutoSaveInterval = QStringLiteral("5");
    p.RemindLead = QStringLiteral("30");
    ASSERT_TRUE(scrambled::writeFile(gProfileFile(), p.fields(), 17, true));
}

bool formShown(gFormName name) {
    QWidget* w = forms::find(name);
    return w && w->isVisible();
}

QString digest(const QString& text) {
    return clsMD5().DigestStrToHexStr(text);
}

QList<int> shownIds() {
    return gMsgBoxSeam::shownIds();
}

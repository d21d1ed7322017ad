#include "accountsFixture.h"

#include "accounts/frmCreateAccount.h"
#include "accounts/frmLogin.h"
#include "core/model/gClock.h"
#include "core/model/gDatabase.h"
#include "core/base/gError.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMain.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/model/gUserData.h"
#include "platform/dialogs.h"
#include "platform/settingsStore.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

struct ProgramEnded {
    int code;
};

class CreateAccount : public AccountsTest {
protected:
    void SetUp() override {
        AccountsTest::SetUp();
        Main(); // no profile yet: account creation
        form = forms::find<frmCreateAccount>(Form::frmCreateAccount);
        ASSERT_NE(form, nullptr);
        ASSERT_TRUE(form->isVisible());
        QApplication::setActiveWindow(form);
    }
    void TearDown() override {
        gEndSeam::setHandler(nullptr);
        AccountsTest::TearDown();
    }
    void fill(const QString& name, const QString& password, const QString& again) {
        form->nameEdit->setText(name);
        form->passwordEdit->setText(password);
        form->confirmEdit->setText(again);
    }
    bool profileExists() const { return QFileInfo::exists(gProfileFile()); }

    frmCreateAccount* form = nullptr;
};

TEST_F(CreateAccount, WindowShowsItsCaptionsAndTexts) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("第一次使用"));
    EXPECT_EQ(form->introLabel->text(),
              QStringLiteral("Rededera 还没有创建用户配置文件。\n\n输入用户名和密码，再单击“确定”。"));
    EXPECT_EQ(form->nameCaption->text(), QStringLiteral("用户："));
    EXPECT_EQ(form->passwordCaption->text(), QStringLiteral("密码："));
    EXPECT_EQ(form->confirmCaption->text(), QStringLiteral("确认密码："));
    EXPECT_EQ(form->chooseFolderLink->text(), QStringLiteral("选择目录"));
    EXPECT_EQ(form->okButton->text(), QStringLiteral("确定"));
    EXPECT_EQ(form->cancelButton->text(), QStringLiteral("取消"));
    EXPECT_EQ(form->chooseFolderLink->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(form->passwordEdit->echoMode(), QLineEdit::Password);
    EXPECT_EQ(form->confirmEdit->echoMode(), QLineEdit::Password);
}

struct CheckCase {
    const char* name;
    const char* password;
    const char* again;
    int message;
    int focus; // 1 Text1, 2 Text2
};

TEST_F(CreateAccount, ChecksRefuseWithoutWritingAnything) {
    const CheckCase cases[] = {
        {"", "", "", 110, 1},          {"", "abc", "xyz", 110, 1}, // the name is checked first
        {"Ann", "abc", "abd", 121, 2}, {"Ann", "abc", "", 121, 2},
        {"Ann", "", "abc", 121, 2},    {"Ann", "Abc", "abc", 121, 2}, // letter case counts
    };
    for (const auto& c : cases) {
        gMsgBoxSeam::reset();
        fill(QString::fromUtf8(c.name), QString::fromUtf8(c.password), QString::fromUtf8(c.again));
        form->okButton->click();
        EXPECT_EQ(shownIds(), QList<int>{c.message}) << c.name << "/" << c.password << "/" << c.again;
        QWidget* expected = c.focus == 1 ? static_cast<QWidget*>(form->nameEdit) : form->passwordEdit;
        EXPECT_EQ(QApplication::focusWidget(), expected) << c.name << "/" << c.password;
        EXPECT_FALSE(profileExists());
        EXPECT_TRUE(forms::isLoaded(Form::frmCreateAccount));
    }
}

TEST_F(CreateAccount, WritesTheNewProfileFieldByFieldThenShowsSignIn) {
    fill(QStringLiteral("  李 雷 "), QStringLiteral("abc"), QStringLiteral("abc"));
    form->okButton->click();
    pumpEvents();

    ASSERT_TRUE(profileExists());
    const QByteArray bytes = readFile(gProfileFile());
    ASSERT_GE(bytes.size(), 4);
    EXPECT_LE(quint8(bytes.at(0)), 253);
    const auto fields = scrambled::decode(bytes, true);
    ASSERT_TRUE(fields.has_value());
    ASSERT_EQ(fields->size(), 10);
    EXPECT_EQ(fields->at(0), QStringLiteral("Rededera"));
    EXPECT_EQ(fields->at(1), QStringLiteral("2"));
    EXPECT_EQ(fields->at(2), QStringLiteral("  李 雷 ")); // exactly as typed
    EXPECT_EQ(fields->at(3), QStringLiteral("900150983CD24FB0D6963F7D28E17F72"));
    bool ok = false;
    const int recordKey = fields->at(4).toInt(&ok);
    EXPECT_TRUE(ok);
    EXPECT_GE(recordKey, 0);
    EXPECT_LE(recordKey, 9999998);
    EXPECT_EQ(QString::number(recordKey), fields->at(4)); // no leading zeros
    const int picture = fields->at(5).toInt(&ok);
    EXPECT_TRUE(ok);
    EXPECT_GE(picture, 0);
    EXPECT_LE(picture, 10);
    EXPECT_EQ(fields->at(6), QStringLiteral("111001110110110000000"));
    EXPECT_EQ(fields->at(7), QStringLiteral("5"));
    EXPECT_EQ(fields->at(8), QStringLiteral("5"));
    EXPECT_EQ(fields->at(9), QStringLiteral("30"));

    // 114, then the start again: the account has a password, so the sign-in window shows.
    EXPECT_EQ(shownIds(), QList<int>{Msg::ProfileCreated});
    EXPECT_FALSE(forms::isLoaded(Form::frmCreateAccount));
    EXPECT_TRUE(formShown(Form::frmLogin));
    EXPECT_EQ(gUserName, QStringLiteral("  李 雷 "));
    EXPECT_TRUE(gOption(Option::PasswordOnlySignIn));
    EXPECT_FALSE(gOption(Option::CloseMinimises));
}

// The profile holds the password digest and the record key: the database's key.
TEST_F(CreateAccount, TheProfileIsOwnerOnly) {
    OpenUmask open;
    fill(QStringLiteral("Ann"), QStringLiteral("abc"), QStringLiteral("abc"));
    form->okButton->click();
    pumpEvents();
    ASSERT_TRUE(profileExists());
    EXPECT_EQ(fileMode(gProfileFile()), 0600);
}

TEST_F(CreateAccount, ANameOfBlanksOnlyIsKeptAsTyped) {
    fill(QStringLiteral("   "), QStringLiteral("pw"), QStringLiteral("pw"));
    form->okButton->click();
    pumpEvents();
    EXPECT_EQ(shownIds(), QList<int>{Msg::ProfileCreated});
    const auto fields = scrambled::decode(readFile(gProfileFile()), true);
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->at(2), QStringLiteral("   "));
}

// Create an account, sign in, write something, quit, start again and sign in.
TEST_F(CreateAccount, TheWholeStartRoadEndToEnd) {
    fill(QStringLiteral("Ann"), QStringLiteral("pw"), QStringLiteral("pw"));
    form->okButton->click();
    pumpEvents();
    auto* login = forms::find<frmLogin>(Form::frmLogin);
    ASSERT_NE(login, nullptr);
    ASSERT_TRUE(login->isVisible());
    login->passwordOnlyEdit->setText(QStringLiteral("pw"));
    login->okButton->click();
    ASSERT_TRUE(gConnection.isOpen());
    EXPECT_FALSE(readFile(gDatabaseFile).startsWith("SQLite format 3")); // encrypted on disk
    gConnection.execute(
        QStringLiteral("INSERT INTO \"Diary\" (\"Date\", \"Title\", \"Score\") VALUES (?, ?, ?)"),
        {QDate(2026, 12, 10), QStringLiteral("第一篇"), 70});

    // Quit.
    gCloseDatabase();
    forms::unloadAllNow();
    gResetAccountState();
    loadedStandIns().clear();

    Main();
    login = forms::find<frmLogin>(Form::frmLogin);
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(login->nameLabel->text(), QStringLiteral("Ann"));
    login->passwordOnlyEdit->setText(QStringLiteral("pw"));
    login->okButton->click();
    EXPECT_TRUE(gConnection.isOpen());
    EXPECT_EQ(gTakeDiaryCount(), 1);
    EXPECT_EQ(loadedStandIns(),
              (QStringList{QStringLiteral("frmScheRemind"), QStringLiteral("frmScheReport")}));
    EXPECT_EQ(shownIds(), QList<int>{Msg::ProfileCreated});
}

TEST_F(CreateAccount, KeysAndPicturesComeFromTheRandomSource) {
    // Accounts made from different random states: every draw stays in its range,
    // and the file key uses the whole of 0..253 (not the 0..99 of a later save).
    QStringList keys;
    int widestFileKey = 0;
    for (quint32 seed = 1; seed <= 8; ++seed) {
        gClockSeam::seedRandom(seed);
        QFile::remove(gProfileFile());
        if (!forms::isLoaded(Form::frmCreateAccount)) {
            forms::unloadAllNow();
            Main();
            form = forms::find<frmCreateAccount>(Form::frmCreateAccount);
            ASSERT_NE(form, nullptr);
        }
        fill(QStringLiteral("Ann"), QStringLiteral("abc"), QStringLiteral("abc"));
        form->okButton->click();
        pumpEvents();
        const QByteArray bytes = readFile(gProfileFile());
        ASSERT_FALSE(bytes.isEmpty()) << seed;
        const int fileKey = quint8(bytes.at(0));
        EXPECT_LE(fileKey, 253) << seed;
        widestFileKey = qMax(widestFileKey, fileKey);
        const auto fields = scrambled::decode(bytes, true);
        ASSERT_TRUE(fields.has_value());
        keys << fields->at(4);
        EXPECT_LE(fields->at(4).toInt(), 9999998) << seed;
        EXPECT_GE(fields->at(5).toInt(), 0) << seed;
        EXPECT_LE(fields->at(5).toInt(), 10) << seed;
    }
    EXPECT_GT(widestFileKey, 99);
    keys.removeDuplicates();
    EXPECT_EQ(keys.size(), 8);
}

// The boxes keep out what the profile and the digest cannot carry, whichever way it arrives.
TEST_F(CreateAccount, BoxesKeepOutCharactersTheAccountCannotCarry) {
    form->nameEdit->setText(QString::fromUtf8("仿李ÿ雷"));
    EXPECT_EQ(form->nameEdit->text(), QString::fromUtf8("李雷"));
    for (QLineEdit* box : {form->passwordEdit, form->confirmEdit}) {
        box->setText(QString::fromUtf8("a中€b"));
        EXPECT_EQ(box->text(), QString::fromUtf8("a€b")) << box->objectName().toStdString();
    }
}

TEST_F(CreateAccount, NoPasswordSignsInAtOnceWithoutAWindow) {
    fill(QStringLiteral("Ann"), QString(), QString());
    form->okButton->click();
    pumpEvents();

    EXPECT_EQ(shownIds(), QList<int>{Msg::ProfileCreated});
    EXPECT_EQ(gPasswordHash, QStringLiteral("D41D8CD98F00B204E9800998ECF8427E"));
    EXPECT_FALSE(forms::isLoaded(Form::frmLogin));
    EXPECT_TRUE(QFileInfo::exists(gDatabaseFile));
    // Option 12 (today's classes) is on for a new account.
    EXPECT_EQ(loadedStandIns(),
              (QStringList{QStringLiteral("frmScheRemind"), QStringLiteral("frmScheReport")}));
}

TEST_F(CreateAccount, AProfileThatCannotBeWrittenIsNotReportedAsCreated) {
    // The user folder turns out to be a file.
    const QString blocker = writeFile(home().path() + QStringLiteral("/blocker"), "x");
    gDataPath = blocker + QStringLiteral("/");
    fill(QStringLiteral("Ann"), QStringLiteral("abc"), QStringLiteral("abc"));
    form->okButton->click();
    pumpEvents();

    ASSERT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_TRUE(gMsgBoxSeam::errors().at(0).continueRun);
    EXPECT_TRUE(shownIds().isEmpty()); // not even the profile-created message
    EXPECT_TRUE(forms::isLoaded(Form::frmCreateAccount));
    EXPECT_FALSE(forms::isLoaded(Form::frmLogin));
    EXPECT_EQ(readFile(blocker), QByteArray("x"));
    EXPECT_FALSE(QFileInfo::exists(userFolder_ + QStringLiteral("Userdata.ini")));
}

int endedWith = -1;

TEST_F(CreateAccount, CancelEndsTheProgramWithNothingWritten) {
    endedWith = -1;
    gEndSeam::setHandler([](int code) {
        endedWith = code;
        throw ProgramEnded{code};
    });
    fill(QStringLiteral("Ann"), QStringLiteral("abc"), QStringLiteral("abc"));
    form->cancelButton->click();
    // The program ended, with code 0.
    EXPECT_EQ(endedWith, 0);
    EXPECT_FALSE(profileExists());
    EXPECT_TRUE(shownIds().isEmpty());
}

TEST_F(CreateAccount, ChoosingAFolderWithAProfileLeadsToThatAccountsSignIn) {
    const QString other = home().folder(QStringLiteral("other"));
    // The other folder already holds an account.
    const QString here = gDataPath;
    gDataPath = other;
    writeProfile(QStringLiteral("Bob"), QStringLiteral("pw"), QStringLiteral("1234567"),
                 QStringLiteral("000001110110110000000")); // name and password panel
    gDataPath = here;

    // A right-button release does nothing.
    QTest::mouseClick(form->chooseFolderLink, Qt::RightButton);
    EXPECT_TRUE(dialogs::seam::asked().isEmpty());

    dialogs::seam::pushAnswer(other);
    QTest::mouseClick(form->chooseFolderLink, Qt::LeftButton);
    pumpEvents();

    EXPECT_EQ(
        settings::get(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("PathOption")),
        QStringLiteral("3"));
    EXPECT_EQ(gDataPath, other);
    EXPECT_FALSE(forms::isLoaded(Form::frmCreateAccount));
    ASSERT_TRUE(formShown(Form::frmLogin));
    EXPECT_EQ(gUserName, QStringLiteral("Bob"));
    EXPECT_FALSE(QFileInfo::exists(here + QStringLiteral("Userdata.ini")));
}

TEST_F(CreateAccount, CancellingTheFolderChoiceKeepsTheWindow) {
    QTest::mouseClick(form->chooseFolderLink, Qt::LeftButton); // the scripted dialog cancels
    pumpEvents();
    EXPECT_EQ(dialogs::seam::asked().size(), 1);
    EXPECT_TRUE(formShown(Form::frmCreateAccount));
}

} // namespace

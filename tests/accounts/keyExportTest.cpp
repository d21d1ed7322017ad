// The key-file wizard: its two steps, the file it writes, and the road back to
// the account page of a real main window.
#include "accountsFixture.h"

#include "accounts/frmKeyExport.h"
#include "accounts/frmLogin.h"
#include "core/model/gDatabase.h"
#include "core/ui/gMain.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "core/model/gUserData.h"
#include "core/ui/gWindowServices.h"
#include "platform/dialogs.h"
#include "platform/settingsStore.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

void gRegisterShellForms();

namespace {

class AccountPageStandIn : public QWidget, public gForm {};

const QString kKey = QStringLiteral("1234567");

class KeyExport : public AccountsTest {
protected:
    void SetUp() override {
        AccountsTest::SetUp();
        gRegisterShellForms();
        forms::registerForm(Form::frmUser, [] { return new AccountPageStandIn; });
        gTraySeam::reset();
        gTraySeam::setAreaExists(true);
        settings::save(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("ShowAbout"),
                       QStringLiteral("0"));
        account(QStringLiteral("Ann"), QStringLiteral("secret"), kKey);
        keys_ = home().folder(QStringLiteral("keys"));
    }
    void TearDown() override {
        forms::unloadAllNow();
        gTraySeam::reset();
        AccountsTest::TearDown();
    }

    void account(const QString& name, const QString& password, const QString& recordKey) {
        gUserName = name;
        gPasswordHash = digest(password);
        gRecordKey = recordKey;
    }

    // The main window on the account page, and the wizard over it as the
    // account page opens it.
    frmKeyExport* openWizard() {
        main_ = forms::load<frmMain>(Form::frmMain);
        EXPECT_NE(main_, nullptr);
        if (!main_) return nullptr;
        EXPECT_TRUE(main_->gChangeFrame(Page::Account));
        auto* wizard = forms::load<frmKeyExport>(Form::frmKeyExport);
        EXPECT_NE(wizard, nullptr);
        if (!wizard) return nullptr;
        wizard->setParent(main_->pagePanel, Qt::Widget);
        wizard->setGeometry(main_->pageRect());
        wizard->show();
        forms::unload(Form::frmUser);
        QApplication::setActiveWindow(main_);
        return wizard;
    }

    // Step 2 with a file name, then 完成.
    void finish(frmKeyExport* wizard, const QString& fileName) {
        wizard->nextButton->click();
        wizard->fileEdit->setText(fileName);
        wizard->finishButton->click();
        pumpEvents();
    }

    bool backOnAccountPage() const {
        return main_ && main_->pageIndex() == 5 && forms::isLoaded(Form::frmUser) &&
               !forms::isLoaded(Form::frmKeyExport);
    }

    frmMain* main_ = nullptr;
    QString keys_;
};

TEST_F(KeyExport, StepsTextsAndButtons) {
    frmKeyExport* w = openWizard();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("KeyExprot"));
    EXPECT_TRUE(w->introPanel->isVisible());
    EXPECT_FALSE(w->filePanel->isVisible());
    EXPECT_EQ(w->introTitle->text(), QStringLiteral("导出您的密匙"));
    EXPECT_EQ(w->introSubtitle->text(), QStringLiteral("导出密匙文件到您的计算机。"));
    EXPECT_EQ(w->introText->text(),
              QStringLiteral("这个向导帮助您从 Rededera 用户配置文件中将密匙导出到磁盘。"));
    EXPECT_EQ(w->keyNote->text(),
              QStringLiteral(
                  "Rededera 用户配置文件中的密匙是允许打开用户日记的凭证。如果密匙遭到破坏，您的日记将无法"
                  "打开。如果遇到这种情况，请在 Rededera 提示您密匙失效时导入这个密匙。"));
    EXPECT_EQ(w->continueNote->text(), QStringLiteral("要继续，请单击“下一步”。"));
    EXPECT_EQ(w->nextButton->text(), QStringLiteral("下一步(&N)"));
    EXPECT_EQ(w->introCancelButton->text(), QStringLiteral("取消"));
    EXPECT_EQ(w->fileTitle->text(), QStringLiteral("指定要导出的文件名。"));
    EXPECT_EQ(w->fileCaption->text(), QStringLiteral("文件名(&F):"));
    EXPECT_EQ(w->browseButton->text(), QStringLiteral("浏览(&R)..."));
    EXPECT_EQ(w->backButton->text(), QStringLiteral("上一步(&B)"));
    EXPECT_EQ(w->finishButton->text(), QStringLiteral("完成"));
    EXPECT_EQ(w->fileCancelButton->text(), QStringLiteral("取消"));
    for (QLabel* image : {w->sidePicture, w->keyPicture, w->keyFilePicture})
        EXPECT_FALSE(image->pixmap().isNull()) << image->objectName().toStdString();

    // Escape on step 1 is 取消; Next and Back move the keys with the steps.
    w->nextButton->click();
    EXPECT_FALSE(w->introPanel->isVisible());
    EXPECT_TRUE(w->filePanel->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), w->fileEdit);
    QTest::keyClick(w->fileEdit, Qt::Key_Return); // 完成 with no name
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::FileNameMissing});
    w->backButton->click();
    EXPECT_TRUE(w->introPanel->isVisible());
    EXPECT_FALSE(w->filePanel->isVisible());
    QTest::keyClick(w->introCancelButton, Qt::Key_Escape);
    pumpEvents();
    EXPECT_TRUE(backOnAccountPage());
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::FileNameMissing});
}

struct AccountCase {
    const char* label;
    const char* name;
    const char* password;
    const char* recordKey;
};

class KeyExportAccounts : public KeyExport, public ::testing::WithParamInterface<AccountCase> {};

TEST_P(KeyExportAccounts, WrittenFileReadsBackAsTheAccountsKey) {
    const AccountCase c = GetParam();
    const QString name = QString::fromUtf8(c.name);
    account(name, QString::fromUtf8(c.password), QString::fromUtf8(c.recordKey));
    const QString hash = gPasswordHash;
    frmKeyExport* w = openWizard();
    ASSERT_NE(w, nullptr);
    const QString path = keys_ + QStringLiteral("备份.eky");
    finish(w, path);
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::KeyExported});
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
    EXPECT_TRUE(backOnAccountPage());

    // The layout: key 0..99 in the first record, six fields, no XOR step.
    const QByteArray bytes = readFile(path);
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_LT(quint8(bytes[0]), 100);
    const auto fields = scrambled::decode(bytes, false);
    ASSERT_TRUE(fields);
    EXPECT_EQ(*fields, (QStringList{QStringLiteral("Rededera"), QStringLiteral("2"),
                                    QStringLiteral("Key File"), name, hash, QString::fromUtf8(c.recordKey)}));

    // Read back over a damaged profile, it restores the digest and the record key.
    gPasswordHash = QStringLiteral("0123456789ABCDEF0123456789ABCDEF");
    gRecordKey = QStringLiteral("42");
    ASSERT_TRUE(ReadKeyFile(path));
    EXPECT_EQ(gPasswordHash, hash);
    EXPECT_EQ(gRecordKey, QString::fromUtf8(c.recordKey));

    // Another account's sign-in refuses it and keeps its own key.
    gUserName = name + QStringLiteral("2");
    gRecordKey = QStringLiteral("42");
    EXPECT_FALSE(ReadKeyFile(path));
    EXPECT_EQ(gRecordKey, QStringLiteral("42"));
}

INSTANTIATE_TEST_SUITE_P(
    Accounts, KeyExportAccounts,
    ::testing::Values(AccountCase{"WithPassword", "Ann", "secret", "1234567"},
                      AccountCase{"NoPassword", "Ann", "", "0"},
                      AccountCase{"ChineseNameWithBlanks", " 小明 ", "p@ss €", "9999998"}),
    [](const ::testing::TestParamInfo<AccountCase>& info) { return std::string(info.param.label); });

// The whole road: a signed-in account exports its key; later its profile holds
// another record key, and the sign-in's import of that file opens the diary again.
TEST_F(KeyExport, ExportedKeyRescuesTheSignInOfTheSameAccount) {
    const QString names = QString(21, QLatin1Char('0')); // the name and the password are asked
    writeProfile(QStringLiteral("Ann"), QStringLiteral("secret"), kKey, names);
    auto signIn = [] {
        Main();
        auto* login = forms::find<frmLogin>(Form::frmLogin);
        EXPECT_NE(login, nullptr);
        if (!login) return;
        login->nameEdit->setText(QStringLiteral("Ann"));
        login->passwordEdit->setText(QStringLiteral("secret"));
        login->okButton->click();
        pumpEvents();
    };
    signIn();
    ASSERT_TRUE(gConnection.isOpen());
    ASSERT_NE(gMainWindow(), nullptr);
    frmKeyExport* w = openWizard();
    ASSERT_NE(w, nullptr);
    const QString path = keys_ + QStringLiteral("Ann.eky");
    finish(w, path);
    ASSERT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::KeyExported});
    forms::unloadAllNow();
    gCloseDatabase();

    // The profile's record key is lost.
    writeProfile(QStringLiteral("Ann"), QStringLiteral("secret"), QStringLiteral("7654321"), names);
    gMsgBoxSeam::reset();
    gMsgBoxSeam::pushAnswers({gMsgResult::First, gMsgResult::OK});
    dialogs::seam::pushAnswer(path);
    signIn();
    EXPECT_EQ(gMsgBoxSeam::shownIds(), (QList<int>{Msg::RecordKeyInvalid, Msg::KeyImported}));
    EXPECT_FALSE(gConnection.isOpen());
    EXPECT_EQ(gRecordKey, kKey);

    // Started again, the same password opens the diary.
    auto* login = forms::find<frmLogin>(Form::frmLogin);
    ASSERT_NE(login, nullptr);
    login->nameEdit->setText(QStringLiteral("Ann"));
    login->passwordEdit->setText(QStringLiteral("secret"));
    login->okButton->click();
    pumpEvents();
    EXPECT_TRUE(gConnection.isOpen());
    EXPECT_EQ(gMsgBoxSeam::shownIds(), (QList<int>{Msg::RecordKeyInvalid, Msg::KeyImported}));
}

TEST_F(KeyExport, TheKeyFileIsOwnerOnly) {
    OpenUmask open;
    account(QStringLiteral("Ann"), QStringLiteral("secret"), kKey);
    frmKeyExport* w = openWizard();
    ASSERT_NE(w, nullptr);
    const QString path = keys_ + QStringLiteral("mine.eky");
    finish(w, path);
    ASSERT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(fileMode(path), 0600);
}

TEST_F(KeyExport, NoPasswordFileHoldsTheDigestOfTheEmptyText) {
    account(QStringLiteral("Ann"), QString(), kKey);
    frmKeyExport* w = openWizard();
    ASSERT_NE(w, nullptr);
    const QString path = keys_ + QStringLiteral("a.eky");
    finish(w, path);
    const auto fields = scrambled::decode(readFile(path), false);
    ASSERT_TRUE(fields);
    ASSERT_EQ(fields->size(), 6);
    EXPECT_EQ(fields->at(4), QStringLiteral("D41D8CD98F00B204E9800998ECF8427E"));
}

TEST_F(KeyExport, EmptyNameAsksForOneAndWritesNothing) {
    frmKeyExport* w = openWizard();
    ASSERT_NE(w, nullptr);
    finish(w, QString());
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::FileNameMissing});
    EXPECT_TRUE(w->filePanel->isVisible());
    EXPECT_TRUE(forms::isLoaded(Form::frmKeyExport));
    EXPECT_TRUE(QDir(keys_).isEmpty());
}

TEST_F(KeyExport, ExistingFileNoKeepsItAndTheWizardYesReplacesIt) {
    const QString path = keys_ + QStringLiteral("old.eky");
    writeFile(path, "what the user had");
    frmKeyExport* w = openWizard();
    ASSERT_NE(w, nullptr);

    gMsgBoxSeam::pushAnswer(gMsgResult::No);
    finish(w, path);
    ASSERT_EQ(gMsgBoxSeam::shown().size(), 1);
    EXPECT_EQ(gMsgBoxSeam::shown()[0].id, Msg::ConfirmReplaceFile);
    EXPECT_EQ(gMsgBoxSeam::shown()[0].buttonSet, gButtonSet::YesNo);
    EXPECT_EQ(gMsgBoxSeam::shown()[0].args.value(0), path);
    EXPECT_EQ(readFile(path), QByteArray("what the user had"));
    EXPECT_TRUE(forms::isLoaded(Form::frmKeyExport));
    EXPECT_TRUE(w->filePanel->isVisible());
    EXPECT_EQ(w->fileEdit->text(), path);

    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    w->finishButton->click();
    pumpEvents();
    EXPECT_EQ(gMsgBoxSeam::shownIds(),
              (QList<int>{Msg::ConfirmReplaceFile, Msg::ConfirmReplaceFile, Msg::KeyExported}));
    EXPECT_TRUE(backOnAccountPage());
    gPasswordHash.clear();
    EXPECT_TRUE(ReadKeyFile(path));
    EXPECT_EQ(gPasswordHash, digest(QStringLiteral("secret")));
    // Nothing of the write is left beside it.
    EXPECT_EQ(QDir(keys_).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.eky")});
}

TEST_F(KeyExport, FailedWriteIsReportedAndTheWizardStays) {
    frmKeyExport* w = openWizard();
    ASSERT_NE(w, nullptr);
    // A folder that is not there.
    finish(w, keys_ + QStringLiteral("missing/k.eky"));
    EXPECT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_FALSE(gMsgBoxSeam::shownIds().contains(Msg::KeyExported));
    EXPECT_TRUE(forms::isLoaded(Form::frmKeyExport));
    EXPECT_TRUE(w->filePanel->isVisible());
    EXPECT_FALSE(QFileInfo::exists(keys_ + QStringLiteral("missing")));

    // A name that is a folder: replacing it is refused, the folder stays whole.
    const QString folder = home().folder(QStringLiteral("keys/folder.eky"));
    writeFile(folder + QStringLiteral("inside"), "x");
    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    w->fileEdit->setText(folder);
    w->finishButton->click();
    pumpEvents();
    EXPECT_EQ(gMsgBoxSeam::errors().size(), 2);
    EXPECT_FALSE(gMsgBoxSeam::shownIds().contains(Msg::KeyExported));
    EXPECT_EQ(readFile(folder + QStringLiteral("inside")), QByteArray("x"));
    EXPECT_TRUE(forms::isLoaded(Form::frmKeyExport));
}

TEST_F(KeyExport, NameWithoutFolderGoesToTheHomeFolder) {
    frmKeyExport* w = openWizard();
    ASSERT_NE(w, nullptr);
    finish(w, QStringLiteral("mine.eky"));
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::KeyExported});
    const QString path = QDir(QDir::homePath()).absoluteFilePath(QStringLiteral("mine.eky"));
    EXPECT_TRUE(QFileInfo(path).isFile());
    EXPECT_TRUE(ReadKeyFile(path));
}

TEST_F(KeyExport, BrowseFillsTheNameAndCancelEmptiesIt) {
    frmKeyExport* w = openWizard();
    ASSERT_NE(w, nullptr);
    w->nextButton->click();
    const QString chosen = keys_ + QStringLiteral("chosen.eky");
    dialogs::seam::pushAnswer(chosen);
    w->browseButton->click();
    EXPECT_EQ(w->fileEdit->text(), chosen);
    ASSERT_EQ(dialogs::seam::asked().size(), 1);
    EXPECT_EQ(dialogs::seam::asked()[0].kind, QStringLiteral("save"));
    EXPECT_TRUE(dialogs::seam::asked()[0].filter.startsWith(QStringLiteral("密匙文件 (*.eky)")));
    // Choosing asks nothing and writes nothing yet.
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(chosen));

    dialogs::seam::pushAnswer(QString());
    w->browseButton->click();
    EXPECT_TRUE(w->fileEdit->text().isEmpty());

    dialogs::seam::pushAnswer(chosen);
    w->browseButton->click();
    w->finishButton->click();
    pumpEvents();
    EXPECT_TRUE(QFileInfo(chosen).isFile());
    EXPECT_TRUE(backOnAccountPage());
}

TEST_F(KeyExport, CancelOnStepTwoGoesBackWithoutWriting) {
    frmKeyExport* w = openWizard();
    ASSERT_NE(w, nullptr);
    w->nextButton->click();
    w->fileEdit->setText(keys_ + QStringLiteral("k.eky"));
    w->fileCancelButton->click();
    pumpEvents();
    EXPECT_TRUE(backOnAccountPage());
    EXPECT_TRUE(QDir(keys_).isEmpty());
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
}

TEST_F(KeyExport, ClosedAsAWindowOfItsOwnItCancels) {
    main_ = forms::load<frmMain>(Form::frmMain);
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(main_->gChangeFrame(Page::Account));
    auto* w = forms::load<frmKeyExport>(Form::frmKeyExport);
    ASSERT_NE(w, nullptr);
    forms::unload(Form::frmUser);
    w->show();
    w->close();
    pumpEvents();
    EXPECT_TRUE(backOnAccountPage());
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

TEST_F(KeyExport, KeepsCoveringThePageWhenTheMainWindowIsResized) {
    frmKeyExport* w = openWizard();
    ASSERT_NE(w, nullptr);
    main_->resize(main_->size() + QSize(150, 90));
    pumpEvents();
    EXPECT_EQ(w->geometry(), main_->pageRect());
    EXPECT_EQ(w->filePanel->width(), w->width() - 16);
}

TEST_F(KeyExport, LayoutFollowsTheSize) {
    frmKeyExport* w = openWizard();
    ASSERT_NE(w, nullptr);
    auto rightGap = [](QWidget* c) { return c->parentWidget()->width() - c->geometry().right(); };
    auto bottomGap = [](QWidget* c) { return c->parentWidget()->height() - c->geometry().bottom(); };
    w->resize(600, 340); // 9000 x 5100 twips
    const int textWidth = w->fileEdit->width();
    const QPoint image1 = w->sidePicture->pos(), image3 = w->keyFilePicture->pos();
    QList<QPair<int, int>> gaps;
    const QList<QPushButton*> buttons{w->nextButton, w->introCancelButton, w->backButton, w->finishButton,
                                      w->fileCancelButton};
    for (QPushButton* b : buttons)
        gaps.append({rightGap(b), bottomGap(b)});
    const int browseGap = rightGap(w->browseButton);

    w->resize(800, 467); // 12000 x 7000 twips
    EXPECT_EQ(w->introPanel->geometry(), w->filePanel->geometry());
    EXPECT_EQ(w->introPanel->geometry(), QRect(8, 48, 784, 411));
    EXPECT_EQ(w->fileEdit->width(), textWidth + 200);
    EXPECT_EQ(w->sidePicture->pos(), image1);
    EXPECT_EQ(w->keyFilePicture->pos(), image3);
    EXPECT_EQ(rightGap(w->browseButton), browseGap);
    for (int i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(rightGap(buttons[i]), gaps[i].first) << i;
        EXPECT_EQ(bottomGap(buttons[i]), gaps[i].second) << i;
    }
    // Nothing overlaps the browse button or leaves the panel, at the smallest page too.
    w->resize(main_->pageRect().size());
    for (QWidget* panel : {w->introPanel, w->filePanel})
        for (QWidget* c : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(panel->rect().contains(c->geometry())) << c->objectName().toStdString();
    EXPECT_FALSE(w->fileEdit->geometry().intersects(w->browseButton->geometry()));
}

} // namespace

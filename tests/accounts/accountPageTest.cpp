// The account page on a real account: its links, renaming, the picture
// choice and the road to the key-file wizard.
#include "accountPageFixture.h"

#include "accounts/frmKeyExport.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "core/model/gUserData.h"
#include "core/ui/gUserDataUi.h"
#include "platform/dialogs.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTableWidget>
#include <QTest>

namespace {

class AccountPage : public AccountPageTest {};

struct LinksCase {
    const char* label;
    const char* password;
    QStringList shown; // visible links, top to bottom
    const char* passwordLink;
    const char* protection; // Label17
};

class AccountPageLinks : public AccountPageTest, public ::testing::WithParamInterface<LinksCase> {};

TEST_P(AccountPageLinks, ShowTheAccountsState) {
    const LinksCase c = GetParam();
    makeAccount(QString::fromUtf8(c.password));
    frmUser* p = openPage();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->titleLabel->text(), QStringLiteral("用户帐户"));
    EXPECT_EQ(p->linkTitle->text(), QStringLiteral("您想更改您的帐户的什么?"));
    EXPECT_EQ(p->accountLabel->text(), QString::fromUtf8(c.protection));
    EXPECT_EQ(p->passwordLink->text(), QString::fromUtf8(c.passwordLink));
    EXPECT_FALSE(p->accountPicture->pixmap().isNull());
    EXPECT_EQ(p->linkPanel->geometry(), QRect(0, gPx(720), p->width(), p->height() - gPx(720)));

    QStringList shown;
    int lastY = -1;
    for (gLinkLabel* l :
         {p->changeNameLink, p->passwordLink, p->removePasswordLink, p->pictureLink, p->exportKeyLink}) {
        if (!l->isVisible()) continue;
        shown << l->text();
        EXPECT_GT(l->y(), lastY) << l->text().toStdString();
        lastY = l->y();
        EXPECT_GE(l->width(), l->sizeHint().width()) << l->text().toStdString(); // nothing clipped
    }
    EXPECT_EQ(shown, c.shown);
    for (QWidget* f : {p->renamePanel, p->passwordPanel, p->removePasswordPanel, p->picturePanel})
        EXPECT_FALSE(f->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AccountPageLinks,
    ::testing::Values(
        LinksCase{
            "NoPassword", "", {"更改名称", "创建密码", "更改我的图片", "导出我的密匙"}, "创建密码", "Ann\n"},
        LinksCase{"WithPassword",
                  "secret",
                  {"更改名称", "更改我的密码", "删除我的密码", "更改我的图片", "导出我的密匙"},
                  "更改我的密码",
                  "Ann\n\n密码保护"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(AccountPage, LinkReleaseOpensItsDialogAndCancelRevealsTheList) {
    makeAccount(QStringLiteral("secret"));
    frmUser* p = openPage();
    ASSERT_NE(p, nullptr);
    const struct {
        gLinkLabel* link;
        QWidget* frame;
        QPushButton* cancel;
    } dialogs[] = {{p->changeNameLink, p->renamePanel, p->renameCancelButton},
                   {p->passwordLink, p->passwordPanel, p->passwordCancelButton},
                   {p->removePasswordLink, p->removePasswordPanel, p->removePasswordCancelButton},
                   {p->pictureLink, p->picturePanel, p->pictureCancelButton}};
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.frame->objectName().toStdString());
        QTest::mouseClick(d.link, Qt::RightButton);
        EXPECT_FALSE(d.frame->isVisible());
        QTest::mouseClick(d.link, Qt::LeftButton);
        EXPECT_TRUE(d.frame->isVisible());
        EXPECT_EQ(d.frame->geometry(), p->rect());
        // The buttons sit at the bottom right, inside the frame.
        EXPECT_TRUE(d.frame->rect().contains(d.cancel->geometry()));
        EXPECT_EQ(d.cancel->geometry().right() + 1, d.frame->width() - gPx(1215) + gPx(1095));
        QTest::keyClick(d.frame, Qt::Key_Escape);
        EXPECT_FALSE(d.frame->isVisible());
    }
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
}

TEST_F(AccountPage, RenameTakesTheNameAsTypedAndRefusesAnEmptyOne) {
    makeAccount(QStringLiteral("secret"));
    frmUser* p = openPage();
    ASSERT_NE(p, nullptr);
    QTest::mouseClick(p->changeNameLink, Qt::LeftButton);
    EXPECT_EQ(p->nameEdit->text(), QStringLiteral("Ann"));
    EXPECT_EQ(p->renameTitle->text(), QStringLiteral("为您的账户提供一个新名称"));
    EXPECT_EQ(p->renamePrompt->text(), QStringLiteral("为 Ann 键入一个名称(&T):"));
    EXPECT_EQ(p->renameNote->text(), QStringLiteral("这个名称将会出现在欢迎屏幕。"));

    p->nameEdit->clear();
    p->renameButton->click();
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::AccountNameMissing});
    EXPECT_TRUE(p->renamePanel->isVisible());
    EXPECT_EQ(gUserName, QStringLiteral("Ann"));

    // Blanks only are a name too, kept exactly.
    p->nameEdit->setText(QStringLiteral("   "));
    QTest::keyClick(p->nameEdit, Qt::Key_Return);
    EXPECT_FALSE(p->renamePanel->isVisible());
    EXPECT_EQ(gUserName, QStringLiteral("   "));
    EXPECT_EQ(storedProfile().name, QStringLiteral("   "));
    EXPECT_EQ(p->accountLabel->text(), QStringLiteral("   \n\n密码保护"));
    EXPECT_EQ(storedProfile().hash, digest(QStringLiteral("secret")));
}

TEST_F(AccountPage, RenameThatCannotBeSavedKeepsTheOldName) {
    makeAccount(QStringLiteral("secret"));
    frmUser* p = openPage();
    ASSERT_NE(p, nullptr);
    ASSERT_TRUE(QFile::remove(gProfileFile()));
    ASSERT_TRUE(QDir().mkpath(gProfileFile()));
    const auto errorsBefore = gMsgBoxSeam::errors().size();
    QTest::mouseClick(p->changeNameLink, Qt::LeftButton);
    p->nameEdit->setText(QStringLiteral("Bob"));
    p->renameButton->click();
    EXPECT_EQ(gMsgBoxSeam::errors().size(), errorsBefore + 1);
    EXPECT_EQ(gUserName, QStringLiteral("Ann"));
    EXPECT_TRUE(p->renamePanel->isVisible());
}

struct CellCase {
    const char* label;
    int row, col;
    int picture; // -1: refused with message 103
};

class AccountPagePictureCell : public AccountPageTest, public ::testing::WithParamInterface<CellCase> {};

TEST_P(AccountPagePictureCell, BuiltInCellsAreTakenEmptyCellsRefused) {
    const CellCase c = GetParam();
    makeAccount(QStringLiteral("secret"));
    frmUser* p = openPage();
    ASSERT_NE(p, nullptr);
    QTest::mouseClick(p->pictureLink, Qt::LeftButton);
    EXPECT_EQ(p->picList->currentRow(), 0);
    EXPECT_EQ(p->picList->currentColumn(), 3);
    p->picList->setCurrentCell(c.row, c.col);
    p->changePictureButton->click();
    if (c.picture < 0) {
        EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::NoPictureChosen});
        EXPECT_EQ(gPictureIndex, 3);
        EXPECT_TRUE(p->picturePanel->isVisible());
    } else {
        EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
        EXPECT_EQ(gPictureIndex, c.picture);
        EXPECT_EQ(storedProfile().picture, c.picture);
        EXPECT_FALSE(p->picturePanel->isVisible());
        EXPECT_EQ(p->accountPicture->pixmap().toImage(), gLoadUserPicture(c.picture).toImage());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, AccountPagePictureCell,
                         ::testing::Values(CellCase{"FirstRow", 0, 6, 6}, CellCase{"SecondRow", 1, 4, 11},
                                           CellCase{"OwnCellNeverChosen", 1, 5, -1},
                                           CellCase{"LastEmptyCell", 1, 6, -1}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(AccountPage, OwnPictureDialogOffersThePicturesInTheFolder) {
    makeAccount(QStringLiteral("secret"));
    const QString folder = home().folder(QStringLiteral("pictures"));
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 30));
    ASSERT_TRUE(image.save(folder + QStringLiteral("me.jpg"), "JPEG"));
    ASSERT_TRUE(image.save(folder + QStringLiteral("old.bmp"), "BMP"));
    writeFile(folder + QStringLiteral("notes.txt"), "no picture");
    frmUser* p = openPage();
    ASSERT_NE(p, nullptr);
    QSet<QString> offered;
    dialogs::seam::setFileDialogHook([&](QFileDialog& d) {
        offered = offeredFiles(d, folder);
        return folder + QStringLiteral("old.bmp");
    });

    QTest::mouseClick(p->pictureLink, Qt::LeftButton);
    ASSERT_TRUE(p->picturePanel->isVisible());
    QTest::mouseClick(p->browsePictureLink, Qt::LeftButton);

    EXPECT_EQ(offered, (QSet<QString>{QStringLiteral("me.jpg"), QStringLiteral("old.bmp")}));
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    EXPECT_EQ(gPictureIndex, 12);
    EXPECT_EQ(readFile(gPictureFile), readFile(folder + QStringLiteral("old.bmp")));
    EXPECT_FALSE(p->picturePanel->isVisible());
}

TEST_F(AccountPage, OwnPictureIsCopiedAndOfferedInItsCellAfterwards) {
    OpenUmask open;
    makeAccount(QStringLiteral("secret"));
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 30));
    const QString source = home().folder(QStringLiteral("pictures")) + QStringLiteral("me.png");
    ASSERT_TRUE(image.save(source, "PNG"));

    frmUser* p = openPage();
    ASSERT_NE(p, nullptr);
    QTest::mouseClick(p->pictureLink, Qt::LeftButton);
    dialogs::seam::pushAnswer(source);
    QTest::mouseClick(p->browsePictureLink, Qt::LeftButton);
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    ASSERT_FALSE(dialogs::seam::asked().isEmpty());
    EXPECT_EQ(dialogs::seam::asked().last().kind, QStringLiteral("open"));
    EXPECT_TRUE(dialogs::seam::asked().last().filter.startsWith(QStringLiteral("图形文件(")));
    EXPECT_EQ(readFile(gPictureFile), readFile(source));
    EXPECT_EQ(fileMode(gPictureFile), 0600);
    EXPECT_EQ(gPictureIndex, 12);
    EXPECT_EQ(storedProfile().picture, 12);
    EXPECT_FALSE(p->picturePanel->isVisible());
    EXPECT_EQ(p->accountPicture->pixmap().size(), QSize(40, 30));

    // A fresh page: the dialog opens on the own cell, which now holds the picture.
    ASSERT_TRUE(main_->gChangeFrame(Page::Account));
    pumpEvents();
    p = page();
    ASSERT_NE(p, nullptr);
    QTest::mouseClick(p->pictureLink, Qt::LeftButton);
    EXPECT_EQ(p->picList->currentRow(), 1);
    EXPECT_EQ(p->picList->currentColumn(), 5);
    auto* cell = qobject_cast<QLabel*>(p->picList->cellWidget(1, 5));
    ASSERT_NE(cell, nullptr);
    EXPECT_FALSE(cell->pixmap().isNull());
    p->picList->setCurrentCell(0, 0);
    p->picList->setCurrentCell(1, 5);
    p->changePictureButton->click();
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    EXPECT_EQ(gPictureIndex, 12);
}

TEST_F(AccountPage, FileThatIsNoPictureIsRefusedAndTheOldCopyKept) {
    makeAccount(QStringLiteral("secret"));
    writeFile(gPictureFile, "old own picture");
    const QString bad = writeFile(home().folder(QStringLiteral("pictures")) + QStringLiteral("fake.jpg"),
                                  QByteArray("this is no picture at all"));
    frmUser* p = openPage();
    ASSERT_NE(p, nullptr);
    QTest::mouseClick(p->pictureLink, Qt::LeftButton);
    dialogs::seam::pushAnswer(bad);
    QTest::mouseClick(p->browsePictureLink, Qt::LeftButton);
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::PictureUnreadable});
    EXPECT_EQ(readFile(gPictureFile), QByteArray("old own picture"));
    EXPECT_EQ(gPictureIndex, 3);
    EXPECT_TRUE(p->picturePanel->isVisible());

    // Cancelling the file dialog changes nothing and says nothing.
    dialogs::seam::pushAnswer(QString());
    QTest::mouseClick(p->browsePictureLink, Qt::LeftButton);
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::PictureUnreadable});
    EXPECT_EQ(gPictureIndex, 3);
}

TEST_F(AccountPage, KeyFileLinkPutsTheWizardOverThePageAreaAndLeavesThePage) {
    makeAccount(QStringLiteral("secret"));
    frmUser* p = openPage();
    ASSERT_NE(p, nullptr);
    QTest::mouseClick(p->exportKeyLink, Qt::LeftButton);
    pumpEvents();
    auto* wizard = forms::find<frmKeyExport>(Form::frmKeyExport);
    ASSERT_NE(wizard, nullptr);
    EXPECT_TRUE(wizard->isVisible());
    EXPECT_EQ(wizard->parentWidget(), main_->pagePanel);
    EXPECT_EQ(wizard->geometry(), main_->pageRect());
    EXPECT_FALSE(forms::isLoaded(Form::frmUser));

    // Its cancel brings a fresh account page back.
    wizard->introCancelButton->click();
    pumpEvents();
    EXPECT_TRUE(forms::isLoaded(Form::frmUser));
    EXPECT_FALSE(forms::isLoaded(Form::frmKeyExport));
    EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Account));
}

} // namespace

#pragma once
#include "core/ui/gForms.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class gLinkLabel;

// Page 5 of the main window: the signed-in account. From one list of links the
// user renames the account, creates, changes or removes its password, picks its
// picture or opens the key-file wizard. Every change goes to the profile at
// once; a password change also re-keys the database.
class frmUser : public QWidget, public gForm {
    Q_OBJECT
public:
    explicit frmUser(QWidget* parent = nullptr);
    ~frmUser() override;

    void formLoad() override;

    // The no-password account's digest (that of the empty text).
    static const QString kNoPasswordHash;
    static bool hasPassword();

    // Header.
    QLabel* titleLabel;
    QLabel* titleImage;
    // The link list.
    QWidget* linkPanel;
    QLabel* linkTitle;
    QLabel* accountPicture;
    QLabel* accountLabel;
    gLinkLabel* changeNameLink;
    gLinkLabel* passwordLink;
    gLinkLabel* removePasswordLink;
    gLinkLabel* pictureLink;
    gLinkLabel* exportKeyLink;
    // Rename.
    QWidget* renamePanel;
    QLabel* renameTitle;
    QLabel* renamePrompt;
    QLineEdit* nameEdit;
    QLabel* renameNote;
    QLabel* renameImage;
    QPushButton* renameButton;
    QPushButton* renameCancelButton;
    // Password.
    QWidget* passwordPanel;
    QLabel* passwordTitle;
    QLabel* currentPasswordCaption;
    QLineEdit* currentPasswordEdit;
    QWidget* newPasswordPanel;
    QLabel* newPasswordCaption;
    QLineEdit* newPasswordEdit;
    QLabel* confirmPasswordCaption;
    QLineEdit* confirmPasswordEdit;
    QLabel* passwordNote;
    QLabel* passwordImage;
    QPushButton* passwordOkButton;
    QPushButton* passwordCancelButton;
    // Remove the password.
    QWidget* removePasswordPanel;
    QLabel* removePasswordTitle;
    QLabel* removePasswordNote;
    QLineEdit* removePasswordEdit;
    QLabel* removePasswordImage;
    QPushButton* removePasswordButton;
    QPushButton* removePasswordCancelButton;
    // Picture.
    QWidget* picturePanel;
    QLabel* pictureTitle;
    QLabel* pictureNote;
    QTableWidget* picList;
    gLinkLabel* browsePictureLink;
    QLabel* pictureImage;
    QLabel* picturePreview;
    QPushButton* changePictureButton;
    QPushButton* pictureCancelButton;

public Q_SLOTS:
    void changeNameLink_MouseUp();     // rename
    void passwordLink_MouseUp();       // create or change the password
    void removePasswordLink_MouseUp(); // remove the password
    void pictureLink_MouseUp();        // picture
    void exportKeyLink_MouseUp();      // key-file wizard
    void browsePictureLink_MouseUp();  // own picture file
    void renameButton_Click();
    void passwordOkButton_Click();
    void removePasswordButton_Click();
    void changePictureButton_Click();

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void showAccount();
    void placeLinks();
    void layoutFrames();
    void setCellPicture(int row, int col, const QPixmap& picture);
    // Re-keys the database and then writes the profile; on any failure both keep
    // the old key and the account variables are put back. True on success.
    bool rekey(const QString& oldPassword, const QString& newPassword, const QString& newRecordKey);
    bool ownPictureShown_ = false;
};

#pragma once
#include "core/gForms.h"

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
    QLabel* Label2;
    QLabel* Image1;
    // The link list.
    QWidget* Frame1;
    QLabel* Label16;
    QLabel* Image5;
    QLabel* Label17;
    gLinkLabel* lblCmd10;
    gLinkLabel* lblCmd11;
    gLinkLabel* lblCmd12;
    gLinkLabel* lblCmd13;
    gLinkLabel* lblCmd14;
    // Rename.
    QWidget* Frame2;
    QLabel* Label18;
    QLabel* Label19;
    QLineEdit* Text2;
    QLabel* Label20;
    QLabel* Image6;
    QPushButton* Command1;
    QPushButton* Command2;
    // Password.
    QWidget* Frame3;
    QLabel* Label21;
    QLabel* Label22;
    QLineEdit* Text3;
    QWidget* Frame6;
    QLabel* Label24;
    QLineEdit* Text4;
    QLabel* Label25;
    QLineEdit* Text5;
    QLabel* Label26;
    QLabel* Image7;
    QPushButton* Command7;
    QPushButton* Command8;
    // Remove the password.
    QWidget* Frame4;
    QLabel* Label27;
    QLabel* Label28;
    QLineEdit* Text6;
    QLabel* Image8;
    QPushButton* Command3;
    QPushButton* Command4;
    // Picture.
    QWidget* Frame5;
    QLabel* Label29;
    QLabel* Label30;
    QTableWidget* picList;
    gLinkLabel* lblCmd23;
    QLabel* Image9;
    QLabel* Image10;
    QPushButton* Command5;
    QPushButton* Command6;

public Q_SLOTS:
    void lblCmd10_MouseUp(); // rename
    void lblCmd11_MouseUp(); // create or change the password
    void lblCmd12_MouseUp(); // remove the password
    void lblCmd13_MouseUp(); // picture
    void lblCmd14_MouseUp(); // key-file wizard
    void lblCmd23_MouseUp(); // own picture file
    void Command1_Click();
    void Command7_Click();
    void Command3_Click();
    void Command5_Click();

protected:
    void resizeEvent(QResizeEvent* e) override;

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

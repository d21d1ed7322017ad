#pragma once
#include "core/ui/gForms.h"

#include <QPixmap>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class gLinkLabel;

// "第一次使用": asks for the first account's name and password, writes its
// profile and restarts; or points the program at another user folder.
class frmCreateAccount : public QWidget, public gForm {
    Q_OBJECT
public:
    explicit frmCreateAccount(QWidget* parent = nullptr);
    ~frmCreateAccount() override;

    void formLoad() override;

    QLabel* introLabel;
    QLabel* nameCaption;
    QLabel* passwordCaption;
    QLabel* confirmCaption;
    QLineEdit* nameEdit;
    QLineEdit* passwordEdit;
    QLineEdit* confirmEdit;
    gLinkLabel* chooseFolderLink;
    QPushButton* okButton;
    QPushButton* cancelButton;

    // The designed client area, in twips.
    static constexpr int kClientWidth = 6300;
    static constexpr int kClientHeight = 6060;

    // The option bits of a new account.
    static constexpr const char* kDefaultOptions = "111001110110110000000";

public Q_SLOTS:
    void okButton_Click();
    void cancelButton_Click();
    void chooseFolderLink_MouseUp(int button, int shift, int x, int y);

protected:
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    QPixmap background_;
};

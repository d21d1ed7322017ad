#pragma once
#include "core/gForms.h"

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

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLineEdit* Text1; // account name
    QLineEdit* Text2; // password
    QLineEdit* Text3; // password again
    gLinkLabel* lblCmd1;
    QPushButton* Command1;
    QPushButton* Command2;

    // The designed client area, in twips.
    static constexpr int kClientWidth = 6300;
    static constexpr int kClientHeight = 6060;

    // The option bits of a new account.
    static constexpr const char* kDefaultOptions = "111001110110110000000";

public Q_SLOTS:
    void Command1_Click();
    void Command2_Click();
    void lblCmd1_MouseUp(int button, int shift, int x, int y);

protected:
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    QPixmap background_;
};

#pragma once
#include "core/gForms.h"
#include "core/gLoginApi.h"

#include <QPixmap>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// "用户登陆": checks the name and password against the profile, opens (and on
// first use creates) the account database and hands over to the main window.
class frmLogin : public QWidget, public gForm, public gLoginForm {
    Q_OBJECT
public:
    explicit frmLogin(QWidget* parent = nullptr);
    ~frmLogin() override;

    void formLoad() override;

    // The automatic sign-in: presses Command1 without the window being shown.
    // True when the sign-in completed.
    bool cmd1Click() override;

    // Password alone (option 9).
    QWidget* Frame2;
    QLabel* Label2; // the account name
    QLineEdit* Text1;
    QLabel* Label1;
    QLabel* Label5; // shown for an account without a password
    QLabel* Image4; // the account picture
    // Name and password.
    QWidget* Frame1;
    QLabel* Label9;
    QLineEdit* Text3;
    QLabel* Label10;
    QLineEdit* Text4;
    QLabel* Label3;

    QPushButton* Command1;
    QPushButton* Command2;

    // The designed client area, in twips.
    static constexpr int kClientWidth = 6000;
    static constexpr int kClientHeight = 3900;

public Q_SLOTS:
    void Command1_Click();
    void Command2_Click();

protected:
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    bool signIn();
    // What the failure road of the open decided.
    enum class Road { Retry, Stop, Stay };
    Road failureRoad(bool wrongKey, const QString& typed);
    // A file in the database's place that cannot be one: offers to keep it
    // aside and start a new database.
    Road damagedRoad();
    // Moves the database (and a journal of it) to the next free ".old" name.
    bool moveDatabaseAside();
    // Puts a database moved aside back under its name, when a new one could not be made.
    void putDatabaseBack();
    QString chooseKeyFile();
    void enableBoxes();
    QPixmap background_;
    bool passwordOnly_ = false;
    QString movedAside_; // where the old database went, until the new one exists
    QString movedJournal_;
};

#pragma once
#include "core/ui/gForms.h"
#include "core/ui/gLoginApi.h"

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

    // The automatic sign-in: presses okButton without the window being shown.
    // True when the sign-in completed.
    bool cmd1Click() override;

    // Password alone (option 9).
    QWidget* passwordOnlyPanel;
    QLabel* nameLabel; // the account name
    QLineEdit* passwordOnlyEdit;
    QLabel* passwordPromptLabel;
    QLabel* noPasswordLabel; // shown for an account without a password
    QLabel* pictureLabel;    // the account picture
    // Name and password.
    QWidget* namePasswordPanel;
    QLabel* nameCaption;
    QLineEdit* nameEdit;
    QLabel* passwordCaption;
    QLineEdit* passwordEdit;
    QLabel* promptLabel;

    QPushButton* okButton;
    QPushButton* cancelButton;

    // The designed client area, in twips.
    static constexpr int kClientWidth = 6000;
    static constexpr int kClientHeight = 3900;

public Q_SLOTS:
    void okButton_Click();
    void cancelButton_Click();

protected:
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    bool signIn();
    // What the failure road of the open decided.
    enum class Road { Retry, Stop, Stay };
    // `error` is the number the open or the first reads failed with.
    Road failureRoad(int error, const QString& typed);
    // A file in the database's place that cannot be one, or one that is not
    // whole: offers to keep it aside and start a new database.
    Road damagedRoad();
    // A database the system will not let us read or write: names it and the
    // reason (message 150), and gives up with the file untouched.
    void refusedRoad(const QString& reason);
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

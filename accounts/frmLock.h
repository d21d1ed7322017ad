#pragma once
#include "core/ui/gForms.h"

#include <QPixmap>
#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// The unlock window: while the program is locked, the account's name and
// password bring the main window (and, by the options, the floating window)
// back. Cancelling leaves the program locked.
class frmLock : public QWidget, public gForm {
    Q_OBJECT
public:
    explicit frmLock(QWidget* parent = nullptr);
    ~frmLock() override;

    void formLoad() override;

    QWidget* namePasswordPanel;
    QLabel* promptLabel;
    QLabel* nameCaption;
    QLineEdit* nameEdit;
    QLabel* passwordCaption;
    QLineEdit* passwordEdit;
    QLabel* padlockPicture; // the padlock beside the boxes
    QFrame* buttonRule;     // the rule above the buttons
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
    QPixmap background_;
};

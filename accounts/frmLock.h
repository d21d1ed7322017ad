#pragma once
#include "core/gForms.h"

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

    QWidget* Frame1;
    QLabel* Label3;
    QLabel* Label9;
    QLineEdit* Text1; // name
    QLabel* Label10;
    QLineEdit* Text2; // password
    QLabel* Picture1; // the padlock beside the boxes
    QFrame* Shape1;   // the rule above the buttons
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
    QPixmap background_;
};

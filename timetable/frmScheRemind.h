#pragma once
#include <QDate>
#include <QPixmap>
#include <QWidget>

#include "core/gForms.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

// The class reminder: loaded hidden at sign-in, it looks at today's classes once
// a minute and pops up, always on top and with a beep, when a class begins within
// the account's lead time or is under way. The user may be reminded again after
// some minutes, skip this class, or shut the computer down.
class frmScheRemind : public QWidget, public gForm {
    Q_OBJECT
public:
    frmScheRemind();
    void formLoad() override;
    void formUnload() override;

    // One check (a tick of Timer1).
    void Timer1_Timer();
    // The OK button.
    void Command1_Click();
    void Option1_Click();
    void Option2_Click();

    QLabel* Label1 = nullptr;
    QRadioButton* Option1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QPushButton* Command1 = nullptr;
    QTimer* Timer1 = nullptr;

    // The window's state, for tests.
    QDate lastDate() const { return lastDate_; }
    int snooze() const { return snooze_; }
    int currentPeriod() const { return currentPeriod_; }
    int skippedPeriod() const { return skippedPeriod_; }
    int beeps() const { return beeps_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void placeText1();
    void remind();
    void takeDown();

    QPixmap picture_;
    QDate lastDate_;
    int snooze_ = 0;
    int currentPeriod_ = 0;
    int skippedPeriod_ = 0;
    int beeps_ = 0;
};

#pragma once
#include <QDate>
#include <QPixmap>
#include <QWidget>

#include "core/ui/gForms.h"

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

    // One look at today's classes.
    void checkTimer_Timer();
    void okButton_Click();
    void snoozeOption_Click();
    void skipClassOption_Click();

    QLabel* messageLabel = nullptr;
    QRadioButton* snoozeOption = nullptr;
    QLineEdit* minutesEdit = nullptr;
    QRadioButton* skipClassOption = nullptr;
    QRadioButton* shutDownOption = nullptr;
    QPushButton* okButton = nullptr;
    QTimer* checkTimer = nullptr;

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
    void placeMinutesEdit();
    void remind();
    void takeDown();

    QPixmap picture_;
    QDate lastDate_;
    int snooze_ = 0;
    int currentPeriod_ = 0;
    int skippedPeriod_ = 0;
    int beeps_ = 0;
};

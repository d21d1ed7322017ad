#pragma once
#include "core/gForms.h"

#include <QDate>
#include <QWidget>

class QFrame;
class QLabel;
class QPlainTextEdit;
class gLinkLabel;
class scheduleCommand;
class scheduleLabel;
class scheduleMonthView;

// The home page (page 0): a greeting, the number of entries and their average
// mood, the coming classes, and a month calendar whose bold days have entries,
// with a plain-text preview of the selected day's entries and links to write an
// entry or to review the day.
class frmWelcome : public QWidget, public gForm {
    Q_OBJECT
public:
    frmWelcome();

    void formLoad() override;

    // Runs the loading steps again.
    void Reload();
    // The month view's selection handler: takes the selected day, marks the bold
    // days of a newly shown month and fills the preview. The arguments are not used.
    void MonthView1_SelChange(const QDate& StartDate, const QDate& EndDate, bool& Cancel);

    // The classes of the coming days (about five lines), or "没有课程安排。";
    // also sets Image3 to match.
    QString courseSummary();

    // Previous and next entry of the day (wrapping round).
    void scheduleCommand1_MouseUp(int Button, int Shift, int X, int Y);
    void scheduleCommand2_MouseUp(int Button, int Shift, int X, int Y);

    QLabel* Image1 = nullptr;                // the page's picture
    QLabel* Label1 = nullptr;                // greeting
    QLabel* Label5 = nullptr;                // entry count
    scheduleLabel* scheduleLabel1 = nullptr; // average mood score
    QLabel* Label7 = nullptr;
    QLabel* Label2 = nullptr; // course summary
    QLabel* Image3 = nullptr; // its icon
    scheduleMonthView* MonthView1 = nullptr;
    QPlainTextEdit* Text1 = nullptr; // preview
    QLabel* Label3 = nullptr;        // position / count
    scheduleCommand* scheduleCommand1 = nullptr;
    scheduleCommand* scheduleCommand2 = nullptr;
    QFrame* Shape2 = nullptr;
    gLinkLabel* lblCmd2 = nullptr; // write an entry
    gLinkLabel* lblCmd1 = nullptr; // review the day

    qint16 markedMonth() const { return markedMonth_; }
    qint16 markedYear() const { return markedYear_; }

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void showEntry(bool cutLong);
    void setPositionCaption();
    void showNavigation(bool on);

    qint16 markedMonth_ = 0;
    qint16 markedYear_ = 0;
};

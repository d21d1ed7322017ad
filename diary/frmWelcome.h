#pragma once
#include "core/ui/gForms.h"

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

    // The classes of the coming days (about five lines), or "没有课程安排。";
    // also sets courseImage to match.
    QString courseSummary();

    QLabel* homeImage = nullptr;
    QLabel* greetingLabel = nullptr;
    QLabel* entryCountLabel = nullptr;
    scheduleLabel* moodScoreLabel = nullptr; // the average mood score
    QLabel* moodCaption = nullptr;
    QLabel* courseLabel = nullptr; // the coming classes
    QLabel* courseImage = nullptr;
    scheduleMonthView* monthView = nullptr;
    QPlainTextEdit* previewEdit = nullptr;
    QLabel* positionLabel = nullptr; // the entry's place among the day's, "n / count"
    scheduleCommand* previousEntryButton = nullptr;
    scheduleCommand* nextEntryButton = nullptr;
    QFrame* linkBand = nullptr;
    gLinkLabel* writeLink = nullptr;  // 添加日记
    gLinkLabel* reviewLink = nullptr; // 回顾日记

    qint16 markedMonth() const { return markedMonth_; }
    qint16 markedYear() const { return markedYear_; }

public Q_SLOTS:
    // Takes the selected day, marks the bold days of a newly shown month and
    // fills the preview. The arguments are not used.
    void monthView_SelChange(const QDate& StartDate, const QDate& EndDate, bool& Cancel);
    // Previous and next entry of the day (wrapping round).
    void previousEntryButton_MouseUp(int Button, int Shift, int X, int Y);
    void nextEntryButton_MouseUp(int Button, int Shift, int X, int Y);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    // The number of entries and their average mood, or "请稍等。" while the
    // entries are not counted yet.
    void showTotals();
    void showEntry(bool cutLong);
    void setPositionCaption();
    void showNavigation(bool on);

    qint16 markedMonth_ = 0;
    qint16 markedYear_ = 0;
    bool countAfterPaint_ = false; // the entries are counted once the page has been painted
};

#pragma once
#include <QDate>
#include <QVariant>
#include <QWidget>

#include <functional>

#include "core/ui/gForms.h"

class QLabel;
class QPlainTextEdit;
class QTextDocument;
class QTextEdit;
class QTimer;
class gLinkLabel;
class scheduleCommand;
class scheduleMonthView;

// The review page (page 3): a month view with the days that have entries in
// bold, one entry of the chosen day at a time with its mood score as a bar and,
// for a day of several entries, the day's average as a second bar. It fills the
// selected day's shared arrays (gDiaryDate, gDayCount, gDayIndex, gDayTitles,
// gDayTexts, gDayRTFs, gDayScores) that the editor reads when it edits an entry.
class frmReview : public QWidget, public gForm {
    Q_OBJECT
public:
    frmReview();
    ~frmReview() override;

    void formLoad() override;
    void formUnload() override;

    // Controls (positions in twips as designed; the page's design client area is 9750 x 6000).
    QLabel* pageImage = nullptr;
    QLabel* headingLabel = nullptr;
    QLabel* boldDaysHintLabel = nullptr;
    scheduleMonthView* monthView = nullptr;
    // For a day of several entries: the notice, and the counter between its arrows.
    QLabel* severalEntriesLabel = nullptr;
    scheduleCommand* previousEntryButton = nullptr;
    QLabel* entryCounterLabel = nullptr;
    scheduleCommand* nextEntryButton = nullptr;
    // The entry's score and the day's average, each a bar in its frame.
    QLabel* scoreCaption = nullptr;
    QLabel* scoreBarFrame = nullptr;
    QLabel* scoreBar = nullptr;
    QLabel* scoreValueLabel = nullptr;
    QLabel* scoreBarCaption = nullptr;
    QLabel* averageBarFrame = nullptr;
    QLabel* averageBar = nullptr;
    QLabel* averageValueLabel = nullptr;
    QLabel* averageBarCaption = nullptr;
    gLinkLabel* addLink = nullptr;
    gLinkLabel* editLink = nullptr;
    gLinkLabel* deleteLink = nullptr;
    gLinkLabel* favouriteLink = nullptr;
    gLinkLabel* printLink = nullptr;
    gLinkLabel* backLink = nullptr;
    QPlainTextEdit* titleView = nullptr; // read-only
    QTextEdit* bodyView = nullptr;       // read-only
    QTimer* scoreBarTimer = nullptr;
    QTimer* averageBarTimer = nullptr;

    // Bar widths and their targets, in twips.
    int scoreBarWidth() const { return scoreBarWidth_; }
    int averageBarWidth() const { return averageBarWidth_; }
    int scoreBarTarget() const { return scoreBarTarget_; }
    int averageBarTarget() const { return averageBarTarget_; }
    long dayScoreSum() const { return dayScoreSum_; }
    int markedMonth() const { return markedMonth_; }
    int markedYear() const { return markedYear_; }

    // One animation step of a bar of `width` towards `target` (25 twips a tick);
    // `stop` becomes true when the timer is to be disabled.
    static int barStep(int width, int target, bool& stop);
    // The bar's length for a score: Int(score / 100 * 2600), kept within 0..2600.
    static int barTarget(double score);
    // The counter's caption for entry `index` of `count`, aligned so that the
    // "/" stands at the fifth character where the count leaves room.
    static QString counterText(int index, int count);

public Q_SLOTS:
    // Handlers, as the controls run them.
    void monthView_SelChange();
    void addLink_MouseUp(int button);
    void editLink_MouseUp(int button);
    void deleteLink_MouseUp(int button);
    void favouriteLink_MouseUp(int button);
    void printLink_MouseUp(int button);
    void backLink_MouseUp(int button);
    void previousEntryButton_MouseUp(int button);
    void nextEntryButton_MouseUp(int button);
    void scoreBarTimer_Timer();
    void averageBarTimer_Timer();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void markMonth();
    void loadDay();
    void showEmptyDay();
    void showEntry();
    void setEntryCommandsEnabled(bool on);
    void SetScoreBar(const QVariant& score);
    void SetAverageBar(const QVariant& score);
    void setScoreBarWidth(int twips);
    void setAverageBarWidth(int twips);
    void deleteEntry();
    void printBody();

    int scoreBarTarget_ = 0;
    int averageBarTarget_ = 0;
    long dayScoreSum_ = 0;
    int markedMonth_ = 0;
    int markedYear_ = 0;
    int scoreBarWidth_ = 2595;
    int averageBarWidth_ = 2595;
};

// The printer behind "打印": a dialog that may be cancelled, then the document.
// Tests replace both so nothing is ever sent to a printer.
namespace reviewPrintSeam {
// Shows the printer dialog; `selectionOffered` when the body has a selection.
// Returns false when the user cancelled.
using Dialog = std::function<bool(bool selectionOffered)>;
// Prints the document (the selection, or the whole body).
using Print = std::function<void(const QTextDocument& doc)>;
void set(Dialog dialog, Print print);
void reset();
} // namespace reviewPrintSeam

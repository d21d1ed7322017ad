#pragma once
#include <QDate>
#include <QVariant>
#include <QWidget>

#include <functional>

#include "core/gForms.h"

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
    QLabel* Image1 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr,
           *Label6 = nullptr, *Label7 = nullptr, *Label8 = nullptr, *Label9 = nullptr;
    scheduleMonthView* MonthView1 = nullptr;
    scheduleCommand *scheduleCommand1 = nullptr, *scheduleCommand2 = nullptr;
    // Frames (Shape2, Shape4) and the bars in them (Shape1 the entry's, Shape3 the average).
    QLabel *Shape1 = nullptr, *Shape2 = nullptr, *Shape3 = nullptr, *Shape4 = nullptr;
    gLinkLabel *lblCmd3 = nullptr, *lblCmd4 = nullptr, *lblCmd5 = nullptr, *lblCmd10 = nullptr,
               *lblCmd7 = nullptr, *lblCmd6 = nullptr;
    QPlainTextEdit* Text2 = nullptr; // the title, read-only
    QTextEdit* Text1 = nullptr;      // the body, read-only
    QTimer* Timer1 = nullptr;        // moves Shape1
    QTimer* Timer2 = nullptr;        // moves Shape3

    // Handlers, as the controls run them.
    void MonthView1_SelChange();
    void lblCmd3_MouseUp(int button);          // 添加
    void lblCmd4_MouseUp(int button);          // 编辑
    void lblCmd5_MouseUp(int button);          // 删除
    void lblCmd10_MouseUp(int button);         // 收藏
    void lblCmd7_MouseUp(int button);          // 打印
    void lblCmd6_MouseUp(int button);          // 返回
    void scheduleCommand1_MouseUp(int button); // previous entry
    void scheduleCommand2_MouseUp(int button); // next entry
    void Timer1_Timer();
    void Timer2_Timer();

    // Bar widths and their targets, in twips.
    int shape1Width() const { return shape1Width_; }
    int shape3Width() const { return shape3Width_; }
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
    void setShape1Width(int twips);
    void setShape3Width(int twips);
    void deleteEntry();
    void printBody();

    int scoreBarTarget_ = 0;
    int averageBarTarget_ = 0;
    long dayScoreSum_ = 0;
    int markedMonth_ = 0;
    int markedYear_ = 0;
    int shape1Width_ = 2595;
    int shape3Width_ = 2595;
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

#pragma once
// A signed-in account for the review page: the user folder, the encrypted
// database open with its entries, stand-ins for the pages the review page
// hands over to, and a printer that only records what it was given.
#include "testSupport.h"

#include "core/ui/gForms.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class frmMain;
class frmReview;

// What a stand-in page saw of the page switch's flags when it loaded.
struct ReviewPageVisit {
    QString name;
    bool setDiary, editMode, returnReview;
    QDate diaryDate;
    int dayIndex;
};
QList<ReviewPageVisit>& reviewVisits();

class ReviewStandIn : public QWidget, public gForm {

public:
    explicit ReviewStandIn(const QString& name) : name_(name) { setObjectName(name); }
    void formLoad() override;

private:
    QString name_;
};

// What the print seam was asked.
struct ReviewPrintLog {
    int dialogs = 0;
    bool selectionOffered = false;
    QStringList printed; // the plain text of each printed document
    bool answer = true;  // the dialog's answer: true prints, false cancels
};
ReviewPrintLog& reviewPrints();

struct ReviewEntry {
    QDate date;
    QString title;
    QString body;
    int score = 50;
    bool collect = false;
    QString rtf; // "" for the body as plain RTF
};

class ReviewTest : public HomeTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Adds an entry as the editor's save does: the row, the running totals
    // and the stored total.
    void addEntry(const ReviewEntry& e);
    void addEntry(const QDate& date, const QString& title, int score,
                  const QString& body = QStringLiteral("正文"));
    // The rows of a day in table order: title and Collect.
    QList<QPair<QString, bool>> rowsOf(const QDate& date);
    long storedTotal();

    // The page on its own, loaded as the page switch loads it.
    frmReview* openReview(bool setDiary = false);
    // The main window with the real review page and stand-ins for the others.
    frmMain* loadMain();
    frmReview* review() const;
    // Runs the bar timers until both bars stand still.
    void settleBars(frmReview* page);
    // A click on a link or button, as the user makes it.
    static void press(QWidget* w, Qt::MouseButton button = Qt::LeftButton);

    QDate today_{2026, 3, 18}; // a Wednesday
};

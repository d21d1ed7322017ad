#pragma once
// A signed-in account in a temporary home: profile, encrypted database open,
// the real main window with the real editor and pop-up editor, and small
// stand-ins for the other pages that record the flags they were opened with.
#include "core/ui/gForms.h"
#include "testSupport.h"

#include <QDate>
#include <QMap>
#include <QWidget>

class frmMain;
class frmNew;
class frmPopUp;

// What a stand-in page saw when it loaded.
struct EditorPageVisit {
    QString name;
    bool setDiary = false, editMode = false, returnReview = false;
    QDate diaryDate;
    int dayIndex = 0, dayCount = 0;
};

class EditorStandInPage : public QWidget, public gForm {
    Q_OBJECT
public:
    explicit EditorStandInPage(const QString& name) : name_(name) {}
    void formLoad() override;

private:
    QString name_;
};

class EditorTest : public HomeTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The editor as the page switch opens it.
    frmNew* openEditor(bool setDiary = false, bool editMode = false, bool returnReview = false);
    frmNew* editor() const;
    frmPopUp* popUp() const;
    // Stored rows of one day, in table order.
    struct Row {
        QDate date;
        QString title, diary, rtf;
        int score = 0;
        bool collect = false;
    };
    QList<Row> rowsOf(const QDate& day);
    long storedScoreTotal();
    long diaryRows();
    // Adds a stored entry directly, as an earlier session would have.
    void addRow(const QDate& day, const QString& title, const QString& body, int score, bool collect = false);
    // Fills the day's arrays the way the review page does.
    void loadDay(const QDate& day);

    QList<EditorPageVisit> visits;
    frmMain* main_ = nullptr;
    const QDate today{2026, 3, 14};
};

#pragma once
#include <QDate>
#include <QWidget>

#include "core/gEditorPage.h"
#include "core/gForms.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class gLinkLabel;
class scheduleSlider;
class scheduleText;

// Page 2 of the main window: writes a new diary entry or edits the one the
// review page shows, keeps a draft of the body in the user folder while the
// user writes, and saves the entry with the running totals.
class frmNew : public QWidget, public gForm, public gEditorPage {
    Q_OBJECT
public:
    frmNew();
    ~frmNew() override;

    void formLoad() override;
    void formUnload() override;

    bool editMode() const override { return editMode_; }
    QString titleText() const override;
    QString bodyText() const override;
    void setBodyText(const QString& text) override;

    // The draft of the body: gDataPath + "Diary.tmp".
    static QString draftFile();

    // Event handlers, public so the page can be driven as the user does.
    void lblCmd1Click();  // the body's first line becomes the title
    void Command1Click(); // save
    void Command2Click(); // cancel
    void Timer1Tick();    // one minute of the draft timer

    // The date the entry is saved on.
    QDate entryDate() const;
    bool returnReview() const { return returnReview_; }
    int draftTicks() const { return draftTicks_; }

    // Controls.
    QLabel* Label1 = nullptr; // heading
    QLabel* Image1 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Text2 = nullptr; // title
    QLabel* Label5 = nullptr;
    QDateEdit* DTPicker1 = nullptr;
    QLabel* Label3 = nullptr;
    scheduleSlider* scheduleSlider1 = nullptr; // mood
    scheduleText* Text1 = nullptr;             // body
    gLinkLabel* lblCmd1 = nullptr;
    QLabel* Label8 = nullptr; // draft notice
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QTimer* Timer1 = nullptr; // draft timer

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void offerDraft();
    // Writes the entry and the stored score total in one transaction; false
    // (with the error shown) when nothing was written.
    bool writeEntry(const QDate& day);

    bool editMode_ = false;
    bool returnReview_ = false;
    qint16 draftTicks_ = 0;
    bool draftRestored_ = false; // the body came from the draft file, which is still there
};

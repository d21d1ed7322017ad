#pragma once
#include <QDate>
#include <QWidget>

#include "core/ui/gEditorPage.h"
#include "core/ui/gForms.h"

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
    bool gSaveDraft() override;

    // The draft of the body: gDataPath + "Diary.tmp".
    static QString draftFile();

    // The date the entry is saved on.
    QDate entryDate() const;
    bool returnReview() const { return returnReview_; }
    int draftTicks() const { return draftTicks_; }

    // Controls.
    QLabel* headingLabel = nullptr;
    QLabel* pageImage = nullptr;
    QLabel* titleCaption = nullptr;
    QLineEdit* titleEdit = nullptr;
    QLabel* dateCaption = nullptr;
    QDateEdit* datePicker = nullptr;
    QLabel* moodCaption = nullptr;
    scheduleSlider* moodSlider = nullptr;
    scheduleText* bodyEdit = nullptr;
    gLinkLabel* firstLineAsTitleLink = nullptr;
    QLabel* draftNoticeLabel = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QTimer* draftTimer = nullptr;

public Q_SLOTS:
    // Public so the page can be driven as the user does.
    void firstLineAsTitleLink_Click(); // the body's first line becomes the title
    void saveButton_Click();
    void cancelButton_Click();
    void draftTimer_Timer(); // one minute of the draft timer

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
    bool draftWritten_ = false;  // this editor wrote the draft file
};

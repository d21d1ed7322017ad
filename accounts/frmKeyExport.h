#pragma once
#include "core/ui/gForms.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// The two-step wizard that writes the signed-in account's key file ("*.eky"):
// its name, password digest and record key, for the sign-in window to import
// when the database no longer opens with the profile's record key. The account
// page places it over the page area; it goes back to the account page when done.
class frmKeyExport : public QWidget, public gForm {
    Q_OBJECT
public:
    explicit frmKeyExport(QWidget* parent = nullptr);
    ~frmKeyExport() override;

    void formLoad() override;

    // Step 1.
    QWidget* introPanel;
    QLabel* introTitle;
    QLabel* introSubtitle;
    QLabel* introText;
    QLabel* keyNote;
    QLabel* continueNote;
    QLabel* sidePicture; // the tall picture down the left
    QLabel* keyPicture;  // the key beside the heading
    QPushButton* nextButton;
    QPushButton* introCancelButton;
    // Step 2.
    QWidget* filePanel;
    QLabel* fileTitle;
    QLabel* fileCaption;
    QLineEdit* fileEdit; // the key file's name
    QPushButton* browseButton;
    QLabel* keyFilePicture;
    QPushButton* backButton;
    QPushButton* finishButton;
    QPushButton* fileCancelButton;

    // The size the wizard was drawn at, in twips (the page area it covers).
    static constexpr int kDesignWidth = 9000;
    static constexpr int kDesignHeight = 5100;

public Q_SLOTS:
    void nextButton_Click();        // 下一步
    void introCancelButton_Click(); // 取消 (step 1)
    void browseButton_Click();      // 浏览
    void backButton_Click();        // 上一步
    void finishButton_Click();      // 完成
    void fileCancelButton_Click();  // 取消 (step 2)

protected:
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void layoutPanels();
    void backToAccountPage();
    void followPageArea();
    QWidget* watchedParent_ = nullptr;
};

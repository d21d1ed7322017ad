#pragma once
#include "core/gForms.h"

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
    QWidget* Frame1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label1;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Image1; // the tall picture down the left
    QLabel* Image2; // the key beside the heading
    QPushButton* Command1;
    QPushButton* Command2;
    // Step 2.
    QWidget* Frame2;
    QLabel* Label6;
    QLabel* Label7;
    QLineEdit* Text1; // the key file's name
    QPushButton* Command3;
    QLabel* Image3;
    QPushButton* Command4;
    QPushButton* Command5;
    QPushButton* Command6;

    // The size the wizard was drawn at, in twips (the page area it covers).
    static constexpr int kDesignWidth = 9000;
    static constexpr int kDesignHeight = 5100;

public Q_SLOTS:
    void Command1_Click(); // 下一步
    void Command2_Click(); // 取消 (step 1)
    void Command3_Click(); // 浏览
    void Command4_Click(); // 上一步
    void Command5_Click(); // 完成
    void Command6_Click(); // 取消 (step 2)

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

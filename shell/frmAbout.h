#pragma once
#include <QPixmap>
#include <QWidget>

#include "core/ui/gForms.h"

class QCheckBox;
class QLabel;
class QPushButton;

// The About box: the program's name and version, and whether it shows at every
// start of the main window (the ShowAbout setting). It opens with the focus on
// 确定; Return or Enter press 确定 wherever the focus is, Escape closes the box
// as its close button does. Closing it gives the keyboard back to the main
// window.
class frmAbout : public QWidget, public gForm {
    Q_OBJECT
public:
    frmAbout();
    void formLoad() override;
    void formUnload() override;

    // Saves the check box and closes the box.
    void okButton_Click();

    QLabel* nameLabel = nullptr;
    QLabel* versionLabel = nullptr;
    QCheckBox* showAtStartCheck = nullptr;
    QPushButton* okButton = nullptr;

protected:
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QPixmap picture_;
};

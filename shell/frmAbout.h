#pragma once
#include <QPixmap>
#include <QWidget>

#include "core/gForms.h"

class QCheckBox;
class QLabel;
class QPushButton;

// The About box: the program's name and version, and whether it shows at every
// start of the main window (the ShowAbout setting).
class frmAbout : public QWidget, public gForm {
    Q_OBJECT
public:
    frmAbout();
    void formLoad() override;

    // Saves the check box and closes the box.
    void okButton_Click();

    QLabel* nameLabel = nullptr;
    QLabel* versionLabel = nullptr;
    QCheckBox* showAtStartCheck = nullptr;
    QPushButton* okButton = nullptr;

protected:
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    QPixmap picture_;
};

#pragma once
#include <QPixmap>
#include <QWidget>

#include "core/ui/gForms.h"

class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;

// Today's classes, shown right after sign-in in place of the main window: one
// row per period with a class today, the next class selected. Closing it opens
// the main window unless that is already running; a day without classes closes
// it at once.
class frmScheReport : public QWidget, public gForm {
    Q_OBJECT
public:
    frmScheReport();
    void formLoad() override;
    void formUnload() override;

    void closeButton_Click();
    // Takes a day without classes away unseen.
    void closeTimer_Timer();

    QLabel* titleLabel = nullptr;
    QTableWidget* classGrid = nullptr; // columns: time span, period, course, room
    QPushButton* closeButton = nullptr;
    QTimer* closeTimer = nullptr;

protected:
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    QPixmap picture_;
};

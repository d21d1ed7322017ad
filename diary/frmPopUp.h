#pragma once
#include <QWidget>

#include "core/ui/gForms.h"

class scheduleText;

// The full-screen editor behind a rich-text editor's pop-out link: it takes
// the owner's text when it loads and gives it back when it closes, however it
// is closed (Escape closes it too, for a desktop that gives it no close button).
class frmPopUp : public QWidget, public gForm {
    Q_OBJECT
public:
    frmPopUp();
    ~frmPopUp() override;

    void formLoad() override;
    void formUnload() override;

    scheduleText* textEdit = nullptr;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
};

// Opens the pop-up editor for the owner that set gPopUpOwner (the rich-text
// editor's hook, installed when the diary forms register).
void gOpenPopUpEditor(scheduleText* owner);

#pragma once
class QWidget;
class QAbstractButton;

// Return/Enter press the default button and Escape the cancel button of a
// window that is not a dialog (either may be null).
void gBindDefaultCancel(QWidget* host, QAbstractButton* defaultButton, QAbstractButton* cancelButton);

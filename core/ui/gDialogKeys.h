#pragma once
class QWidget;
class QAbstractButton;

// Return/Enter press the default button and Escape the cancel button of a
// window that is not a dialog (either may be null). A push button that has the
// focus takes Return/Enter itself. Binding the same window again replaces the
// earlier buttons.
void gBindDefaultCancel(QWidget* host, QAbstractButton* defaultButton, QAbstractButton* cancelButton);

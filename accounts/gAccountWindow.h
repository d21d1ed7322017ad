#pragma once
class QWidget;
class QPushButton;

// The "确定" and "取消" buttons of the account windows: at the bottom right of the
// client area, Enter pressing the first and Escape the second.
void gAddOkCancel(QWidget* form, int clientWidthTwips, int topTwips, QPushButton*& ok, QPushButton*& cancel);

#pragma once
class QPushButton;
class QString;
class QWidget;

// The account windows' frame: a fixed-size window with its caption, white background
// and black text; `minimizable` adds the minimise button.
void gSetUpAccountWindow(QWidget* form, const QString& caption, int clientWidthTwips, int clientHeightTwips,
                         bool minimizable);

// The "确定" and "取消" buttons of the account windows: at the bottom right of the
// client area, Enter pressing the first and Escape the second.
void gAddOkCancel(QWidget* form, int clientWidthTwips, int topTwips, QPushButton*& ok, QPushButton*& cancel);

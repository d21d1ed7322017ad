#pragma once
#include <QString>

class QLabel;
class QLineEdit;
class QPixmap;
class QWidget;

// A plain-text label placed in twips, as the forms were designed.
QLabel* gNewLabel(QWidget* parent, const QString& text, int leftTw, int topTw, int widthTw, int heightTw);
// The same with an object name, for the labels the code reaches by name.
QLabel* gNewLabel(QWidget* parent, const char* name, const QString& text, int leftTw, int topTw, int widthTw,
                  int heightTw);

// Shows prefix + name + suffix in the label, the name cut short with "…" where the
// line holding it would be wider than the label; the whole text is then the
// label's tool tip. With `mnemonic`, prefix and suffix may carry a shortcut mark
// ("(&T)") and an "&" of the name is shown as itself.
void gSetNameText(QLabel* label, const QString& name, const QString& prefix = {}, const QString& suffix = {},
                  bool mnemonic = false);

// Keeps the box's tool tip the whole text while the text is wider than the box.
void gTipWhenCut(QLineEdit* box);

// Shows `text` in the label one line per line, each cut with "…" to the label's
// width, and as many lines as its height holds (the last one shown then reads
// "…"); when anything is cut the whole text is the label's tool tip.
void gSetFittedLines(QLabel* label, const QString& text);
// Fits the text last given to gSetFittedLines to the label's new size.
void gRefitLines(QLabel* label);

// Paints the message box's and help window's white ground with the dialog
// picture at its top left; the picture is loaded into `cache` the first time
// (a missing one leaves the ground plain white).
void gPaintDialogBackground(QWidget* dialog, QPixmap& cache);

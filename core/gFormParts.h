#pragma once
#include <QString>

class QLabel;
class QWidget;

// A plain-text label placed in twips, as the forms were designed.
QLabel* gNewLabel(QWidget* parent, const QString& text, int leftTw, int topTw, int widthTw, int heightTw);
// The same with an object name, for the labels the code reaches by name.
QLabel* gNewLabel(QWidget* parent, const char* name, const QString& text, int leftTw, int topTw, int widthTw,
                  int heightTw);

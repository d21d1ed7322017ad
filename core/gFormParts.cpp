#include "core/gFormParts.h"

#include "core/gTwips.h"

#include <QLabel>

QLabel* gNewLabel(QWidget* parent, const QString& text, int leftTw, int topTw, int widthTw, int heightTw) {
    auto* lbl = new QLabel(text, parent);
    lbl->setTextFormat(Qt::PlainText);
    lbl->setGeometry(gPxRect(leftTw, topTw, widthTw, heightTw));
    return lbl;
}

QLabel* gNewLabel(QWidget* parent, const char* name, const QString& text, int leftTw, int topTw, int widthTw,
                  int heightTw) {
    QLabel* lbl = gNewLabel(parent, text, leftTw, topTw, widthTw, heightTw);
    lbl->setObjectName(QLatin1String(name));
    return lbl;
}

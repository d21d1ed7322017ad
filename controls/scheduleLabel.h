#pragma once
#include <QFont>
#include <QPixmap>
#include <QWidget>

// A 32 × 32 picture with a whole number written over it: white, with a black
// copy 2 pixels lower as its shadow. It keeps the picture's size whatever the
// host asks for.
class scheduleLabel : public QWidget {
    Q_OBJECT
public:
    explicit scheduleLabel(QWidget* parent = nullptr);

    qint16 caption() const;
    // Outside -32768..32767 raises error 6.
    void setCaption(int value);

    // Arial Black 12 pt, weight 900; a heavy sans-serif where it is missing.
    static QFont numberFont();

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QPixmap picture_;
    QString text_ = QStringLiteral("0");
};

#include "controls/scheduleLabel.h"

#include "core/model/gConvert.h"
#include "core/base/gError.h"
#include "core/ui/gMsgBox.h"
#include "core/ui/gTwips.h"

#include <QPainter>
#include <QSvgRenderer>

namespace {
constexpr int kPictureSize = 32;
const QRect kWhiteRect = gPxRect(-10, 60, 510, 345);
const QRect kBlackRect = gPxRect(-10, 90, 510, 345);

QPixmap loadPicture() {
    QPixmap pm(kPictureSize, kPictureSize);
    pm.fill(Qt::transparent);
    QSvgRenderer r(QStringLiteral(":/res/controls/scheduleLabel.svg"));
    if (!r.isValid()) gRaise(gErr::InvalidPicture);
    QPainter p(&pm);
    r.render(&p);
    return pm;
}
} // namespace

scheduleLabel::scheduleLabel(QWidget* parent) : QWidget(parent), picture_(loadPicture()) {
    setFixedSize(picture_.size());
}

qint16 scheduleLabel::caption() const {
    return gCInt(text_);
}

void scheduleLabel::setCaption(int value) {
    if (value < -32768 || value > 32767) gRaise(gErr::Overflow);
    text_ = QString::number(value);
    update();
}

QFont scheduleLabel::numberFont() {
    QFont f;
    f.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                   QStringLiteral("DejaVu Sans")});
    f.setStyleHint(QFont::SansSerif);
    f.setPointSize(12);
    f.setWeight(QFont::Black);
    return f;
}

void scheduleLabel::paintEvent(QPaintEvent*) {
    gGuard([&] {
        QPainter p(this);
        p.drawPixmap(0, 0, picture_);
        p.setFont(numberFont());
        const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine;
        // The black copy first, so the white number stays on top.
        p.setPen(Qt::black);
        p.drawText(kBlackRect, flags, text_);
        p.setPen(Qt::white);
        p.drawText(kWhiteRect, flags, text_);
    });
}

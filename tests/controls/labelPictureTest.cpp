// The picture label: its number over the picture, and its fixed size.
#include "controls/scheduleLabel.h"
#include "core/base/gError.h"

#include <QFontInfo>

#include <gtest/gtest.h>

namespace {
QImage shot(QWidget& w) {
    QImage img(w.size(), QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    w.render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    return img;
}

// Mean row of the pixels of exactly this colour, or -1 when there are none.
double meanRow(const QImage& img, QRgb colour, int* count) {
    double sum = 0;
    *count = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == colour) {
                sum += y;
                ++*count;
            }
    return *count ? sum / *count : -1;
}
} // namespace

TEST(LabelPicture, CaptionReadsBackWhatWasSet) {
    scheduleLabel l;
    EXPECT_EQ(l.caption(), 0);
    for (int v : {7, 100, -5, 32767, -32768, 0}) {
        l.setCaption(v);
        EXPECT_EQ(l.caption(), v);
    }
    for (int v : {32768, -32769}) {
        try {
            l.setCaption(v);
            ADD_FAILURE() << v;
        } catch (const gRuntimeError& e) {
            EXPECT_EQ(e.number(), gErr::Overflow);
        }
    }
    EXPECT_EQ(l.caption(), 0);
}

TEST(LabelPicture, KeepsThePictureSize) {
    scheduleLabel l;
    EXPECT_EQ(l.size(), QSize(32, 32));
    l.resize(100, 60);
    EXPECT_EQ(l.size(), QSize(32, 32));
    l.setGeometry(5, 5, 10, 10);
    EXPECT_EQ(l.size(), QSize(32, 32));
}

TEST(LabelPicture, DrawsTheNumberWhiteOverABlackShadow) {
    scheduleLabel l;
    l.setCaption(7);
    const QImage seven = shot(l);
    int white = 0, black = 0;
    const double whiteRow = meanRow(seven, qRgb(255, 255, 255), &white);
    const double blackRow = meanRow(seven, qRgb(0, 0, 0), &black);
    ASSERT_GT(white, 0);
    ASSERT_GT(black, 0);
    EXPECT_GT(blackRow, whiteRow) << "the shadow lies lower";
    // Below the white number nothing covers the shadow: its lowest row is the
    // white number's lowest row, two pixels down, at the same columns.
    const auto lowestRow = [&](QRgb colour, QList<int>* columns) {
        for (int y = seven.height() - 1; y >= 0; --y) {
            columns->clear();
            for (int x = 0; x < seven.width(); ++x)
                if (seven.pixel(x, y) == colour) columns->append(x);
            if (!columns->isEmpty()) return y;
        }
        return -1;
    };
    QList<int> whiteColumns, blackColumns;
    const int whiteBottom = lowestRow(qRgb(255, 255, 255), &whiteColumns);
    EXPECT_EQ(lowestRow(qRgb(0, 0, 0), &blackColumns), whiteBottom + 2);
    EXPECT_EQ(blackColumns, whiteColumns);
    EXPECT_EQ(qAlpha(seven.pixel(16, 28)), 255) << "the picture is drawn";

    l.setCaption(88);
    EXPECT_NE(shot(l), seven);
    l.setCaption(7);
    EXPECT_EQ(shot(l), seven);
}

TEST(LabelPicture, UsesAHeavyFont) {
    const QFont f = scheduleLabel::numberFont();
    EXPECT_EQ(f.pointSize(), 12);
    EXPECT_EQ(f.families().value(0), QStringLiteral("Arial Black"));
    EXPECT_GE(QFontInfo(f).weight(), static_cast<int>(QFont::Bold)) << QFontInfo(f).family().toStdString();
}

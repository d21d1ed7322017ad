#include "core/base/gError.h"
#include "core/model/gUserData.h"

#include <gtest/gtest.h>

namespace {

// Whole records from their first bytes, padded as the writers pad them.
QByteArray records(const QByteArray& firstBytes) {
    QByteArray out;
    for (char b : firstBytes) {
        out.append(b);
        out.append(3, '\0');
    }
    return out;
}

QByteArray firstBytes(const QByteArray& file) {
    QByteArray out;
    for (qsizetype i = 0; i < file.size(); i += 4)
        out.append(file[i]);
    return out;
}

struct GoldenCase {
    const char* name;
    QStringList fields;
    int key;
    bool xorStep;
    QByteArray first; // first byte of every record
};

class ProfileCodecGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(ProfileCodecGolden, WritesAndReadsTheKnownBytes) {
    const GoldenCase& c = GetParam();
    const QByteArray file = scrambled::encode(c.fields, c.key, c.xorStep);
    EXPECT_EQ(file, records(c.first)) << c.name;
    const auto back = scrambled::decode(records(c.first), c.xorStep);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, c.fields) << c.name;
}

const QStringList kWholeProfile{QStringLiteral("Rededera"),
                                QStringLiteral("2"),
                                QStringLiteral("张三"),
                                QStringLiteral("D41D8CD98F00B204E9800998ECF8427E"),
                                QStringLiteral("1234567"),
                                QStringLiteral("3"),
                                QStringLiteral("111001110110110000000"),
                                QStringLiteral("5"),
                                QStringLiteral("5"),
                                QStringLiteral("30")};

const QByteArray kWholeProfileBytes = QByteArray::fromHex(
    "252652260026af260026ac260026af260026ac260026af260026b2260026a32600252672260025266026a1260b265625"
    "264c2600267c260026732600264c260026782600264d2600264c2600267b260026782600264e26002670260026702600"
    "264226002672260026702600267c2600264f2600267b2600267826002670260026702600267b2600267b260026782600"
    "264f2600264d2600264e260026782600267c26002672260026792600264f2600252673260026722600267d2600267c26"
    "00267f2600267e26002679260025267d2600252673260026732600267326002670260026702600267326002673260026"
    "732600267026002673260026732600267026002673260026732600267026002670260026702600267026002670260026"
    "7026002670260025267f260025267f260025267d26002670260025");

INSTANTIATE_TEST_SUITE_P(
    Files, ProfileCodecGolden,
    ::testing::Values(
        // the data record after K + 1 may equal K and is still data
        GoldenCase{"key file", {QStringLiteral("A")}, 5, false, QByteArray::fromHex("050646060505")},
        GoldenCase{"profile", {QStringLiteral("A")}, 5, true, QByteArray::fromHex("050643060005")},
        // 0xE4 + 99 passes 255 and wraps by 255
        GoldenCase{"profile wrap", {QString(QChar(0xE4))}, 99, true, QByteArray::fromHex("63642B640063")},
        GoldenCase{"empty fields", {QString(), QString()}, 7, true, QByteArray::fromHex("070707")},
        GoldenCase{
            "byte 255 with K 0", {QString(QChar(0xFF))}, 0, false, QByteArray::fromHex("0001FF010000")},
        GoldenCase{"whole profile", kWholeProfile, 37, true, kWholeProfileBytes}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST(ProfileCodecRoundTrip, EveryKeyAndTextComesBack) {
    const QStringList texts{QString(), QStringLiteral("Rededera"), QStringLiteral("张三的日记"),
                            QStringLiteral("mixed 混合 ~!@"), QStringLiteral("111001110110110000000")};
    for (int key : {0, 1, 98, 99, 200, 253, 254}) {
        for (bool xorStep : {false, true}) {
            const auto back = scrambled::decode(scrambled::encode(texts, key, xorStep), xorStep);
            ASSERT_TRUE(back.has_value());
            EXPECT_EQ(*back, texts) << "key " << key << " xor " << xorStep;
        }
    }
}

TEST(ProfileCodecRoundTrip, DataRecordsThatLookLikeMarkersStayData) {
    // Every low byte and every high byte but 255, so that for each key some
    // stored bytes equal K and K + 1 and must still be read as text.
    QString text;
    for (int b = 0; b < 255; ++b) {
        text += QChar(static_cast<char16_t>(b));
        text += QChar(static_cast<char16_t>(b << 8));
    }
    const QStringList fields{text, QString(), text};
    for (int key : {0, 1, 5, 99, 200, 253, 254}) {
        for (bool xorStep : {false, true}) {
            const auto back = scrambled::decode(scrambled::encode(fields, key, xorStep), xorStep);
            ASSERT_TRUE(back.has_value());
            EXPECT_EQ(*back, fields) << "key " << key << " xor " << xorStep;
        }
    }
}

TEST(ProfileCodecRoundTrip, EveryByteSurvivesExceptTheKnownLossOf255) {
    for (int key : {0, 1, 50, 99, 253}) {
        for (int b = 0; b < 256; ++b) {
            const quint8 e = scrambled::scrambleByte(static_cast<quint8>(b), static_cast<quint8>(key), true);
            const quint8 back = scrambled::unscrambleByte(e, static_cast<quint8>(key), true);
            // With K > 0 a 255 is stored like a 0: files already written depend on that.
            const int expected = (b == 255 && key > 0) ? 0 : b;
            ASSERT_EQ(back, expected) << "key " << key << " byte " << b;
        }
    }
}

TEST(ProfileCodecReader, OnlyTheFirstByteOfARecordCounts) {
    QByteArray file = records(QByteArray::fromHex("050646060505"));
    for (qsizetype i = 0; i < file.size(); ++i)
        if (i % 4 != 0) file[i] = static_cast<char>(0xAB);
    EXPECT_EQ(scrambled::decode(file, false), QStringList{QStringLiteral("A")});
}

TEST(ProfileCodecReader, ShortLastRecordAndStrayValues) {
    // stray values (not K, not K + 1) are skipped; the last record is a single byte
    QByteArray file = records(QByteArray::fromHex("05"
                                                  "09"
                                                  "0646"
                                                  "0605"
                                                  "11"));
    file.append('\x05');
    EXPECT_EQ(scrambled::decode(file, false), QStringList{QStringLiteral("A")});
}

TEST(ProfileCodecReader, AnOpenFieldAtTheEndIsNotAField) {
    EXPECT_EQ(scrambled::decode(records(QByteArray::fromHex("05064606050506")), false),
              QStringList{QStringLiteral("A")});
    EXPECT_EQ(scrambled::decode(records(QByteArray::fromHex("050646")), false), QStringList{});
}

TEST(ProfileCodecReader, EmptyFileIsNothingAndKeyOnlyIsNoFields) {
    EXPECT_FALSE(scrambled::decode(QByteArray(), true).has_value());
    EXPECT_EQ(scrambled::decode(QByteArray(1, '\x20'), true), QStringList{});
}

TEST(ProfileCodecWriter, RefusesAKeyWhoseSuccessorDoesNotFitAByte) {
    EXPECT_THROW(scrambled::encode({QStringLiteral("A")}, 255, true), gRuntimeError);
    EXPECT_THROW(scrambled::encode({QStringLiteral("A")}, -1, true), gRuntimeError);
}

TEST(ProfileCodecOptionBits, ParsesAsTheReaderDoes) {
    const auto o = gParseOptionBits(QStringLiteral("1029a"));
    EXPECT_TRUE(o[0]);
    EXPECT_FALSE(o[1]);
    EXPECT_TRUE(o[2]); // any digit but 0 is on
    EXPECT_TRUE(o[3]);
    EXPECT_FALSE(o[4]); // not a number
    for (int i = 5; i < 21; ++i)
        EXPECT_FALSE(o[i]) << i; // missing characters
    EXPECT_EQ(gOptionBitsText(gParseOptionBits(QStringLiteral("111001110110110000000"))),
              QStringLiteral("111001110110110000000"));
}

} // namespace

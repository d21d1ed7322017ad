#include "../common/testSupport.h"

#include "accounts/gAccountRules.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

namespace {

// Types text as key presses (QTest's key clicks only know ASCII).
void typeText(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

struct NameCase {
    const char* typed;
    const char* stored;
    bool same;
};

TEST(AccountRules, NamesMatchTrimmedAndCaseSensitive) {
    const NameCase cases[] = {
        {"Ann", "Ann", true},    {"  Ann ", "Ann", true}, {"Ann", " Ann  ", true}, {"\tAnn\n", "Ann", true},
        {"ann", "Ann", false},   {"An n", "Ann", false},  {"", "Ann", false},      {"   ", "", true},
        {"李雷", " 李雷", true}, {"Ａnn", "Ann", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gSameAccountName(QString::fromUtf8(c.typed), QString::fromUtf8(c.stored)), c.same)
            << c.typed << " / " << c.stored;
}

TEST(AccountRules, PasswordsMatchTheStoredDigestExactly) {
    const QString abc = QStringLiteral("900150983CD24FB0D6963F7D28E17F72");
    const QString none = QStringLiteral("D41D8CD98F00B204E9800998ECF8427E"); // an account without a password
    const struct {
        QString typed, stored;
        bool matches;
    } cases[] = {
        {QStringLiteral("abc"), abc, true},
        {QStringLiteral("ABC"), abc, false},
        {QStringLiteral(" abc"), abc, false}, // passwords are never trimmed
        {QStringLiteral("abc"), abc.toLower(), false},
        {QString(), none, true},
        {QString(), abc, false},
        {QStringLiteral("abc"), QString(), false}, // no stored digest matches nothing
        {QString(), QString(), false},
        {QStringLiteral("€"), QStringLiteral("8D39DD7EEF115EA6975446EF4082951F"), true},
        // No digest at all: neither the empty password's nor any other.
        {QStringLiteral("密码"), none, false},
        {QStringLiteral("a密"), QString(), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gPasswordMatches(c.typed, c.stored), c.matches)
            << c.typed.toStdString() << " / " << c.stored.toStdString();
}

TEST(AccountRules, PasswordCharactersNeedASingleBytePrintableValue) {
    for (char16_t u = 0x20; u <= 0x7E; ++u)
        EXPECT_TRUE(gPasswordCharAllowed(QChar(u))) << int(u);
    EXPECT_TRUE(gPasswordCharAllowed(QChar(0x20AC))); // the euro sign is byte 0x80
    for (char16_t u : {0x00, 0x09, 0x0A, 0x1F, 0x7F, 0xA0, 0xE4, 0xFF, 0x4E2D, 0xFF21, 0xD800})
        EXPECT_FALSE(gPasswordCharAllowed(QChar(u))) << int(u);
}

TEST(AccountRules, NameCharactersMustNotCarryAByteFF) {
    // U+4EFF "仿", U+00FF "ÿ", U+FF21 full-width A, U+01FF: each has a byte 0xFF.
    for (char32_t cp : {0x4EFFu, 0x00FFu, 0xFF21u, 0x01FFu, 0xFFE5u})
        EXPECT_FALSE(gNameCharAllowed(cp)) << unsigned(cp);
    for (char32_t cp : {0x41u, 0x20u, 0x674Eu, 0x96F7u, 0x00FEu, 0x4E00u})
        EXPECT_TRUE(gNameCharAllowed(cp)) << unsigned(cp);
    // A pair whose low half is DCFF: U+103FF.
    EXPECT_FALSE(gNameCharAllowed(0x103FFu));
    EXPECT_TRUE(gNameCharAllowed(0x1F600u));
    EXPECT_EQ(gFilterName(QString::fromUtf8("仿李ÿ雷 Ａ")), QString::fromUtf8("李雷 "));
    EXPECT_EQ(gFilterName(QString::fromUcs4(U"a\U000103FFb")), QStringLiteral("ab"));
    EXPECT_EQ(gFilterPassword(QString::fromUtf8("a中b€\tc")), QString::fromUtf8("ab€c"));
}

// The filter works on the box itself: typing, pasting and setting the text.
TEST(AccountRules, BoxFiltersTypedPastedAndSetText) {
    QLineEdit password;
    gUsePasswordFilter(&password);
    password.show();
    typeText(&password, QString::fromUtf8("ab中c"));
    EXPECT_EQ(password.text(), QStringLiteral("abc"));
    EXPECT_EQ(password.cursorPosition(), 3);

    QApplication::clipboard()->setText(QString::fromUtf8("x你好y€"));
    password.setCursorPosition(1);
    password.paste();
    EXPECT_EQ(password.text(), QString::fromUtf8("axy€bc"));
    EXPECT_EQ(password.cursorPosition(), 4);

    password.setText(QString::fromUtf8("中文"));
    EXPECT_EQ(password.text(), QString());

    QLineEdit name;
    gUseNameFilter(&name);
    name.show();
    typeText(&name, QString::fromUtf8(" 仿李雷 "));
    EXPECT_EQ(name.text(), QString::fromUtf8(" 李雷 "));
    name.setText(QString::fromUtf8("ÿ张三Ａ"));
    EXPECT_EQ(name.text(), QString::fromUtf8("张三"));
}

} // namespace

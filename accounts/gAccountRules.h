#pragma once
#include <QString>
#include <QValidator>

class QLineEdit;

// Rules that every window asking for an account's name or password shares, so
// that a name and password accepted at one door are accepted at every other.

// The typed name belongs to the stored account: both trimmed, then compared
// exactly (other letter case is a different name).
bool gSameAccountName(const QString& typed, const QString& stored);

// The typed password is the account's: its digest is the stored one, exactly.
// A text that has no digest (a character without a single-byte value) matches
// none. The sign-in, the unlock window and the account page all ask here.
bool gPasswordMatches(const QString& typed, const QString& storedDigest);

// A password character must have a single-byte code-page value: the digest and
// the database key are built from those bytes. Printable ASCII and the euro sign.
bool gPasswordCharAllowed(QChar c);

// A name character must survive the profile's record layout, which cannot carry
// a UTF-16 byte of 0xFF.
bool gNameCharAllowed(char32_t codePoint);

// The text with every character the rule refuses taken out.
QString gFilterPassword(const QString& text);
QString gFilterName(const QString& text);

// Drops refused characters from whatever reaches the box: typing, pasting, setText.
class gCharFilter : public QValidator {
    Q_OBJECT
public:
    enum Kind { Password, Name };
    explicit gCharFilter(Kind kind, QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;

private:
    Kind kind_;
};

// Fits the box with the filter (the box owns it).
void gUsePasswordFilter(QLineEdit* box);
void gUseNameFilter(QLineEdit* box);

#include "accounts/gAccountRules.h"

#include "core/model/clsMD5.h"

#include <QLineEdit>
#include <QStringView>

bool gSameAccountName(const QString& typed, const QString& stored) {
    return typed.trimmed() == stored.trimmed();
}

bool gPasswordMatches(const QString& typed, const QString& storedDigest) {
    try {
        return clsMD5().DigestStrToHexStr(typed) == storedDigest;
    } catch (...) {
        return false;
    }
}

bool gPasswordCharAllowed(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x20 && u <= 0x7E) || u == 0x20AC;
}

bool gNameCharAllowed(char32_t codePoint) {
    auto unitOk = [](char16_t u) { return (u & 0xFF) != 0xFF && (u >> 8) != 0xFF; };
    if (codePoint > 0xFFFF) {
        const QChar pair[2] = {QChar::highSurrogate(codePoint), QChar::lowSurrogate(codePoint)};
        return unitOk(pair[0].unicode()) && unitOk(pair[1].unicode());
    }
    return unitOk(char16_t(codePoint));
}

namespace {

// Walks the text by code points so a refused pair is removed whole; `pos` (a
// cursor position) moves left by what was removed before it.
QString filterText(const QString& text, gCharFilter::Kind kind, int* pos) {
    QString out;
    out.reserve(text.size());
    const int cursor = pos ? *pos : 0;
    int newCursor = cursor;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        qsizetype len = 1;
        char32_t cp = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(c, text.at(i + 1));
            len = 2;
        }
        const bool keep =
            kind == gCharFilter::Password ? (len == 1 && gPasswordCharAllowed(c)) : gNameCharAllowed(cp);
        if (keep) {
            out.append(QStringView(text).mid(i, len));
        } else if (i < cursor) {
            newCursor -= int(qMin<qsizetype>(len, cursor - i));
        }
        i += len;
    }
    if (pos) *pos = newCursor;
    return out;
}

} // namespace

QString gFilterPassword(const QString& text) {
    return filterText(text, gCharFilter::Password, nullptr);
}
QString gFilterName(const QString& text) {
    return filterText(text, gCharFilter::Name, nullptr);
}

gCharFilter::gCharFilter(Kind kind, QObject* parent) : QValidator(parent), kind_(kind) {}

QValidator::State gCharFilter::validate(QString& input, int& pos) const {
    input = filterText(input, kind_, &pos);
    return Acceptable;
}

void gUsePasswordFilter(QLineEdit* box) {
    if (box) box->setValidator(new gCharFilter(gCharFilter::Password, box));
}

void gUseNameFilter(QLineEdit* box) {
    if (box) box->setValidator(new gCharFilter(gCharFilter::Name, box));
}

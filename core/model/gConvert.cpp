#include "core/model/gConvert.h"

#include "core/base/gError.h"

#include <cmath>
#include <optional>

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

// Reads a number at text[i..]; blanks inside are skipped when skipBlanks is set.
// Returns the value and leaves i after the last character used.
std::optional<double> scanNumber(const QString& text, int& i, bool skipBlanks) {
    QString num;
    auto skip = [&] {
        while (skipBlanks && i < text.size() && isBlank(text[i]))
            ++i;
    };
    skip();
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        num += text[i++];
        skip();
    }
    int digits = 0;
    while (i < text.size()) {
        if (text[i].isDigit() && text[i].unicode() < 128) {
            num += text[i++];
            ++digits;
        } else if (skipBlanks && isBlank(text[i])) {
            ++i;
        } else {
            break;
        }
    }
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        num += text[i++];
        while (i < text.size()) {
            if (text[i].isDigit() && text[i].unicode() < 128) {
                num += text[i++];
                ++digits;
            } else if (skipBlanks && isBlank(text[i])) {
                ++i;
            } else {
                break;
            }
        }
    }
    if (digits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E') ||
                            text[i] == QLatin1Char('d') || text[i] == QLatin1Char('D'))) {
        int j = i + 1;
        QString exp = QStringLiteral("e");
        if (j < text.size() && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-'))) exp += text[j++];
        int expDigits = 0;
        while (j < text.size() && text[j].isDigit() && text[j].unicode() < 128) {
            exp += text[j++];
            ++expDigits;
        }
        if (expDigits > 0) {
            num += exp;
            i = j;
        }
    }
    bool ok = false;
    const double v = num.toDouble(&ok);
    if (!ok) return std::nullopt;
    return v;
}

} // namespace

double gRoundEven(double v) {
    return std::nearbyint(v);
}

double gVal(const QString& text) {
    int i = 0;
    const auto v = scanNumber(text, i, true);
    return v && std::isfinite(*v) ? *v : 0.0;
}

qint16 gCInt(const QString& text) {
    const QString t = text.trimmed();
    int i = 0;
    const auto v = scanNumber(t, i, false);
    if (!v || i != t.size()) gRaise(gErr::TypeMismatch);
    const double r = gRoundEven(*v);
    if (!std::isfinite(r) || r < -32768.0 || r > 32767.0) gRaise(gErr::Overflow);
    return static_cast<qint16>(r);
}

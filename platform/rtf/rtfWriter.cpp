#include "platform/rtf/rtf.h"

#include <QHash>

namespace rtf {

QString Paragraph::text() const {
    QString s;
    for (const Run& r : runs)
        s += r.text;
    return s;
}

Document Document::normalized() const {
    Document out;
    out.paragraphs.clear();
    for (const Paragraph& p : paragraphs) {
        Paragraph q;
        q.align = p.align;
        for (const Run& r : p.runs) {
            if (r.text.isEmpty()) continue;
            if (!q.runs.isEmpty() && q.runs.last().format == r.format)
                q.runs.last().text += r.text;
            else
                q.runs.append(r);
        }
        out.paragraphs.append(q);
    }
    if (out.paragraphs.isEmpty()) out.paragraphs.append(Paragraph{});
    return out;
}

QString Document::plainText() const {
    QString s;
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        if (i > 0) s += QStringLiteral("\r\n");
        s += paragraphs[i].text();
    }
    s.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return s;
}

Document fromPlainText(QStringView text) {
    Document doc;
    doc.paragraphs.clear();
    QString line;
    auto endLine = [&] {
        Paragraph p;
        if (!line.isEmpty()) p.runs.append(Run{line, {}});
        doc.paragraphs.append(p);
        line.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            endLine();
        } else if (c == u'\n' || c == QChar::ParagraphSeparator) {
            endLine();
        } else if (c == u'\t' || c == QChar::LineSeparator || c.unicode() >= 0x20) {
            line += c;
        }
    }
    endLine();
    return doc;
}

namespace {

// Fonts and colours numbered in order of first use, so the tables, and so the
// bytes, depend on the document alone.
struct Tables {
    QStringList fonts;
    QHash<QString, int> fontIndex;
    QList<long> colors; // entry 0 is "automatic"
    QHash<long, int> colorIndex;

    int font(const QString& name) {
        auto it = fontIndex.constFind(name);
        if (it != fontIndex.constEnd()) return *it;
        fonts.append(name);
        fontIndex.insert(name, int(fonts.size() - 1));
        return int(fonts.size() - 1);
    }
    int color(long c) {
        if (c == kAutoColor) return 0;
        c &= 0xFFFFFF;
        auto it = colorIndex.constFind(c);
        if (it != colorIndex.constEnd()) return *it;
        colors.append(c);
        colorIndex.insert(c, int(colors.size()));
        return int(colors.size());
    }
};

void appendEscaped(QByteArray& out, QStringView text, bool fontName = false) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += char(u);
        } else if (u == u'\t' && !fontName) {
            out += "\\tab ";
        } else if (u == 0x2028 && !fontName) {
            out += "\\line ";
        } else if (u >= 0x20 && u < 0x7F && !(fontName && u == u';')) {
            out += char(u);
        } else {
            // RTF's \u takes a signed 16-bit number.
            out += "\\u";
            out += QByteArray::number(u > 32767 ? int(u) - 65536 : int(u));
            out += '?';
        }
    }
}

const char* alignWord(Align a) {
    switch (a) {
    case Align::Right:
        return "\\qr ";
    case Align::Center:
        return "\\qc ";
    case Align::Justify:
        return "\\qj ";
    case Align::Left:
        break;
    }
    return "\\ql ";
}

int clampHalfPoints(int hp) {
    return hp < kMinHalfPoints ? kMinHalfPoints : (hp > kMaxHalfPoints ? kMaxHalfPoints : hp);
}

} // namespace

QByteArray write(const Document& source, const Defaults& defaults) {
    const int defaultHalfPoints = clampHalfPoints(defaults.halfPoints > 0 ? defaults.halfPoints : 18);
    // Formats resolved first, so runs that would be written alike are written once.
    Document resolved = source;
    for (Paragraph& p : resolved.paragraphs)
        for (Run& r : p.runs) {
            // As the reader will give the name back: cut, without blanks at its ends.
            r.format.font = r.format.font.left(kMaxFontName).trimmed();
            if (r.format.font.isEmpty()) r.format.font = defaults.font;
            r.format.halfPoints =
                r.format.halfPoints > 0 ? clampHalfPoints(r.format.halfPoints) : defaultHalfPoints;
            if (r.format.color != kAutoColor) r.format.color &= 0xFFFFFF;
        }
    const Document doc = resolved.normalized();
    Tables tables;
    tables.font(defaults.font);

    QByteArray body;
    auto charState = [&](const CharFormat& f) {
        body += "\\plain \\f";
        body += QByteArray::number(tables.font(f.font.isEmpty() ? defaults.font : f.font));
        body += " \\fs";
        body += QByteArray::number(f.halfPoints > 0 ? clampHalfPoints(f.halfPoints) : defaultHalfPoints);
        body += ' ';
        if (f.bold) body += "\\b ";
        if (f.italic) body += "\\i ";
        if (f.underline) body += "\\ul ";
        if (f.strike) body += "\\strike ";
        body += "\\cf";
        body += QByteArray::number(tables.color(f.color));
        body += ' ';
    };
    for (const Paragraph& p : doc.paragraphs) {
        body += "\\pard ";
        body += alignWord(p.align);
        if (p.runs.isEmpty()) charState(CharFormat{});
        for (const Run& r : p.runs) {
            charState(r.format);
            appendEscaped(body, r.text);
        }
        // Every paragraph is closed; the reader drops the empty one after the last mark.
        body += "\\par \r\n";
    }

    QByteArray out = "{\\rtf1 \\ansi \\ansicpg936 \\deff0 \\uc1 {\\fonttbl ";
    for (qsizetype i = 0; i < tables.fonts.size(); ++i) {
        const QString& name = tables.fonts[i];
        bool ascii = true;
        for (QChar c : name)
            ascii = ascii && c.unicode() < 0x80;
        out += "{\\f";
        out += QByteArray::number(i);
        out += ascii ? " \\fnil \\fcharset0 " : " \\fnil \\fcharset134 ";
        appendEscaped(out, name, true);
        out += ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (long c : tables.colors) {
        out += "\\red" + QByteArray::number(c & 0xFF) + " \\green" + QByteArray::number((c >> 8) & 0xFF) +
               " \\blue" + QByteArray::number((c >> 16) & 0xFF) + " ;";
    }
    out += "}\r\n";
    out += body;
    out += "}\r\n";
    return out;
}

} // namespace rtf

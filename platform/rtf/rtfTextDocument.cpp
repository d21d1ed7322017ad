#include "platform/rtf/rtfTextDocument.h"

#include "core/base/gColor.h"

#include <QTextBlock>

#include <algorithm>
#include <cmath>

namespace rtf {

namespace {

bool asciiOnly(const QString& s) {
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 0x80; });
}

} // namespace

QStringList fontFamilies(const QString& name) {
    QStringList families{name};
    if (!asciiOnly(name))
        families << QStringLiteral("Noto Serif CJK SC") << QStringLiteral("Noto Sans CJK SC")
                 << QStringLiteral("WenQuanYi Zen Hei");
    return families;
}

QTextCharFormat toCharFormat(const CharFormat& f) {
    QTextCharFormat q;
    if (!f.font.isEmpty()) q.setFontFamilies(fontFamilies(f.font));
    if (f.halfPoints > 0) q.setFontPointSize(f.halfPoints / 2.0);
    q.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
    q.setFontItalic(f.italic);
    q.setFontUnderline(f.underline);
    q.setFontStrikeOut(f.strike);
    if (f.color != kAutoColor) q.setForeground(gWinColor(f.color));
    return q;
}

CharFormat fromCharFormat(const QTextCharFormat& q) {
    CharFormat f;
    if (q.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = q.property(QTextFormat::FontFamilies).toStringList();
        if (!families.isEmpty()) f.font = families.first();
    }
    if (f.font.isEmpty() && q.hasProperty(QTextFormat::FontFamily))
        f.font = q.property(QTextFormat::FontFamily).toString();
    if (q.hasProperty(QTextFormat::FontPointSize)) {
        const double hp = std::round(q.fontPointSize() * 2.0);
        if (hp > 0) f.halfPoints = int(std::clamp(hp, double(kMinHalfPoints), double(kMaxHalfPoints)));
    }
    f.bold = q.hasProperty(QTextFormat::FontWeight) && q.fontWeight() > QFont::Medium;
    f.italic = q.fontItalic();
    f.underline = q.fontUnderline();
    f.strike = q.fontStrikeOut();
    if (q.hasProperty(QTextFormat::ForegroundBrush) && q.foreground().style() != Qt::NoBrush)
        f.color = gWinColorNumber(q.foreground().color());
    return f;
}

Align fromQtAlignment(Qt::Alignment a) {
    const Qt::Alignment h = a & Qt::AlignHorizontal_Mask & ~Qt::AlignAbsolute;
    if (h == Qt::AlignRight) return Align::Right;
    if (h == Qt::AlignHCenter) return Align::Center;
    if (h == Qt::AlignJustify) return Align::Justify;
    return Align::Left;
}

Qt::Alignment toQtAlignment(Align a) {
    switch (a) {
    case Align::Right:
        return Qt::AlignRight;
    case Align::Center:
        return Qt::AlignHCenter;
    case Align::Justify:
        return Qt::AlignJustify;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft;
}

Document fromTextDocument(const QTextDocument& doc, int from, int to) {
    const int end = doc.characterCount() - 1; // without the final paragraph mark
    from = std::clamp(from, 0, end);
    to = to < 0 ? end : std::clamp(to, from, end);
    Document out;
    out.paragraphs.clear();
    for (QTextBlock b = doc.findBlock(from); b.isValid() && b.position() <= to; b = b.next()) {
        Paragraph p;
        p.align = fromQtAlignment(b.blockFormat().alignment());
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.isValid()) continue;
            const int fs = frag.position();
            const int fe = fs + frag.length();
            const int s = std::max(fs, from);
            const int e = std::min(fe, to);
            if (s >= e) continue;
            QString text = frag.text().mid(s - fs, e - s);
            text.remove(QChar::ObjectReplacementCharacter);
            if (text.isEmpty()) continue;
            p.runs.append(Run{text, fromCharFormat(frag.charFormat())});
        }
        out.paragraphs.append(p);
    }
    return out.normalized();
}

void insertDocument(QTextCursor& cursor, const Document& source) {
    const Document doc = source.normalized();
    cursor.beginEditBlock();
    if (cursor.hasSelection()) cursor.removeSelectedText();
    for (qsizetype i = 0; i < doc.paragraphs.size(); ++i) {
        const Paragraph& p = doc.paragraphs[i];
        if (i > 0) {
            QTextBlockFormat bf = cursor.blockFormat();
            bf.setAlignment(toQtAlignment(p.align));
            cursor.insertBlock(bf, p.runs.isEmpty() ? toCharFormat({}) : toCharFormat(p.runs.first().format));
        }
        for (const Run& r : p.runs)
            cursor.insertText(r.text, toCharFormat(r.format));
    }
    cursor.endEditBlock();
}

void setTextDocument(QTextDocument& target, const Document& source) {
    const Document doc = source.normalized();
    QTextCursor c(&target);
    c.beginEditBlock();
    c.select(QTextCursor::Document);
    c.removeSelectedText();
    QTextBlockFormat bf = c.blockFormat();
    bf.setAlignment(toQtAlignment(doc.paragraphs.first().align));
    c.setBlockFormat(bf);
    const Paragraph& first = doc.paragraphs.first();
    c.setBlockCharFormat(first.runs.isEmpty() ? toCharFormat({}) : toCharFormat(first.runs.first().format));
    insertDocument(c, doc);
    c.endEditBlock();
}

} // namespace rtf

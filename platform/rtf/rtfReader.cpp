#include "platform/rtf/rtf.h"

#include <QHash>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

namespace rtf {

bool isRtf(QByteArrayView bytes) {
    return bytes.startsWith("{\\rtf");
}
bool isRtf(QStringView text) {
    return text.startsWith(u"{\\rtf");
}

namespace {

// Deeper groups are skipped whole: the state stack never grows past this.
constexpr int kMaxDepth = 256;
constexpr qint64 kNumberLimit = 2147483647;

// Footnote: text kept aside and put at the end of the paragraph that refers to it.
enum class Dest { Text, FontTable, ColorTable, Skip, Footnote };

struct State {
    Dest dest = Dest::Text;
    Dest uprOuter = Dest::Text; // the destination \ud returns to inside \upr
    bool inUpr = false;         // \ud means something only here
    int font = -1;
    int halfPoints = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;  // \v: not shown by the writing program either
    bool deleted = false; // \deleted: a revision that took the text out
    int color = 0;
    Align align = Align::Left;
    int uc = 1;
    bool star = false; // \* seen: an unknown destination word skips the group
};

struct FontDef {
    QString name;
    int codePage = 0; // 0: the document's
    bool closed = false;
};

int codePageOfCharset(int charset) {
    switch (charset) {
    case 0:
    case 2:
        return 1252;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
    case 255:
        return 437;
    default:
        return 0;
    }
}

// Only code pages we know; anything else is read as Windows-1252.
const char* decoderName(int cp) {
    switch (cp) {
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 852:
        return "IBM852";
    case 866:
        return "IBM866";
    case 874:
        return "windows-874";
    case 932:
        return "windows-932";
    case 936:
        return "windows-936";
    case 949:
        return "windows-949";
    case 950:
        return "windows-950";
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    case 10000:
        return "macintosh";
    case 65001:
        return "UTF-8";
    default:
        return "windows-1252";
    }
}

const QHash<QByteArray, QChar>& specialChars() {
    static const QHash<QByteArray, QChar> map = {
        {"tab", u'\t'},
        {"cell", u'\t'},
        {"nestcell", u'\t'},
        {"line", QChar(0x2028)},
        {"emdash", QChar(0x2014)},
        {"endash", QChar(0x2013)},
        {"emspace", QChar(0x2003)},
        {"enspace", QChar(0x2002)},
        {"qmspace", QChar(0x2005)},
        {"bullet", QChar(0x2022)},
        {"lquote", QChar(0x2018)},
        {"rquote", QChar(0x2019)},
        {"ldblquote", QChar(0x201C)},
        {"rdblquote", QChar(0x201D)},
        {"zwj", QChar(0x200D)},
        {"zwnj", QChar(0x200C)},
    };
    return map;
}

// Destinations whose text is not part of the document.
const QSet<QByteArray>& skippedDestinations() {
    static const QSet<QByteArray> set = {
        "info",
        "stylesheet",
        "pict",
        "object",
        "objdata",
        "header",
        "headerl",
        "headerr",
        "headerf",
        "footer",
        "footerl",
        "footerr",
        "footerf",
        "annotation",
        "atnid",
        "atnauthor",
        "atndate",
        "atnicn",
        "atnref",
        "atntime",
        "listtable",
        "listoverridetable",
        "revtbl",
        "rsidtbl",
        "filetbl",
        "fldinst",
        "xe",
        "tc",
        "tcn",
        "txe",
        "rxe",
        "pn",
        "shp",
        "shpinst",
        "nonshppict",
        "shppict",
        "do",
        "template",
        "ftnsep",
        "ftnsepc",
        "ftncn",
        "aftnsep",
        "aftnsepc",
        "aftncn",
        "bkmkstart",
        "bkmkend",
        "pgdsctbl",
        "background",
        "themedata",
        "colorschememapping",
        "datastore",
        "latentstyles",
        "generator",
        "xmlnsdecl",
        "userprops",
        "docvar",
        "private",
        "result",
        "falt",
        "panose",
        "fontemb",
        "fontfile",
        "mmathPr",
        "listpicture",
        "picprop",
        "blipuid",
        "wgrffmtfilter",
        "protusertbl",
        "nonesttables", // what a reader without nested tables shows in their place
    };
    return set;
}

// Destinations a \* group may name that are read rather than skipped.
bool readDestination(QByteArrayView w) {
    return w == "ud" || w == "fldrslt";
}

class Reader {
public:
    Reader(QStringView in, bool rawBytes) : in_(in), raw_(rawBytes) {}

    Document run() {
        doc_.paragraphs = {Paragraph{}};
        const qsizetype n = in_.size();
        qsizetype i = 0;
        while (i < n) {
            const char16_t c = in_[i].unicode();
            if (c == u'{') {
                ++i;
                open();
            } else if (c == u'}') {
                ++i;
                if (!close()) break; // the document's own group ended
            } else if (c == u'\\') {
                i = control(i);
            } else {
                ++i;
                if (c == u'\r' || c == u'\n') continue;
                literal(c);
            }
        }
        flush();
        return finish();
    }

private:
    State& st() { return stack_.back(); }

    bool skipping() {
        if (overflow_ > 0 || stack_.empty()) return true;
        const State& s = st();
        return s.dest == Dest::Skip || (textDest(s.dest) && (s.hidden || s.deleted));
    }

    // Where document text goes: the body or a footnote.
    static bool textDest(Dest d) { return d == Dest::Text || d == Dest::Footnote; }

    void open() {
        flush();
        formatDirty_ = true;
        fallback_ = 0;
        if (overflow_ > 0 || stack_.size() >= size_t(kMaxDepth)) {
            ++overflow_;
            return;
        }
        State s = stack_.empty() ? State{} : st();
        s.star = false;
        stack_.push_back(s);
    }

    // False when the outermost group closes.
    bool close() {
        flush();
        formatDirty_ = true;
        fallback_ = 0;
        if (overflow_ > 0) {
            --overflow_;
            return true;
        }
        if (stack_.empty()) return false;
        stack_.pop_back();
        return !stack_.empty();
    }

    qsizetype control(qsizetype i) {
        const qsizetype n = in_.size();
        ++i; // the backslash
        if (i >= n) return i;
        const char16_t c = in_[i].unicode();
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) {
            const qsizetype start = i;
            while (i < n && ((in_[i] >= u'a' && in_[i] <= u'z') || (in_[i] >= u'A' && in_[i] <= u'Z')))
                ++i;
            QByteArray word;
            const qsizetype len = std::min<qsizetype>(i - start, 32);
            word.reserve(len);
            for (qsizetype k = 0; k < len; ++k)
                word += char(in_[start + k].unicode());
            if (i - start > 32) word += '#'; // too long to be any word we know
            bool hasParam = false;
            bool negative = false;
            qint64 value = 0;
            if (i < n && in_[i] == u'-' && i + 1 < n && in_[i + 1].isDigit() && in_[i + 1].unicode() < 0x80) {
                negative = true;
                ++i;
            }
            while (i < n && in_[i].unicode() >= u'0' && in_[i].unicode() <= u'9') {
                hasParam = true;
                value = std::min<qint64>(value * 10 + (in_[i].unicode() - u'0'), kNumberLimit);
                ++i;
            }
            if (i < n && in_[i] == u' ') ++i;
            const int param = int(negative ? -value : value);
            if (word == "bin") {
                // Binary data: skipped, never past the end.
                const qint64 count = hasParam && param > 0 ? param : 0;
                i = qsizetype(std::min<qint64>(n, i + count));
                if (fallback_ > 0) --fallback_;
                return i;
            }
            this->word(word, hasParam, param);
            return i;
        }
        ++i;
        if (c == u'\'') {
            int value = 0;
            int digits = 0;
            while (digits < 2 && i < n) {
                const int h = hexValue(in_[i].unicode());
                if (h < 0) break;
                value = value * 16 + h;
                ++digits;
                ++i;
            }
            if (digits == 0) return i;
            if (consumeFallback()) return i;
            byte(static_cast<unsigned char>(value));
            return i;
        }
        symbol(c);
        return i;
    }

    static int hexValue(char16_t c) {
        if (c >= u'0' && c <= u'9') return c - u'0';
        if (c >= u'a' && c <= u'f') return c - u'a' + 10;
        if (c >= u'A' && c <= u'F') return c - u'A' + 10;
        return -1;
    }

    // True when the token is the fallback of a \u and is dropped.
    bool consumeFallback() {
        if (fallback_ <= 0) return false;
        --fallback_;
        return true;
    }

    void symbol(char16_t c) {
        if (consumeFallback() || skipping()) return;
        switch (c) {
        case u'\\':
        case u'{':
        case u'}':
            if (st().dest == Dest::FontTable) {
                flush();
                fontChar(QChar(c));
            } else {
                character(QChar(c));
            }
            break;
        case u'~':
            character(QChar(0x00A0));
            break;
        case u'_':
            character(QChar(0x2011));
            break;
        case u'\r':
        case u'\n':
            paragraph();
            break;
        case u'*':
            st().star = true;
            break;
        default: // \- optional hyphen, \: index entry, \| formula: nothing to show
            break;
        }
    }

    void word(const QByteArray& w, bool hasParam, int param) {
        if (overflow_ > 0 || stack_.empty()) return;
        formatDirty_ = true;
        const bool on = !hasParam || param != 0;
        State& s = st();
        if (s.dest == Dest::Skip) {
            // Only \ud ends the skip, and only inside \upr.
            if (w == "ud" && s.inUpr) s.dest = s.uprOuter;
            return;
        }
        if (fallback_ > 0) {
            --fallback_;
            return;
        }
        // Destinations.
        const bool star = s.star;
        s.star = false;
        if (w == "fonttbl") {
            flush();
            s.dest = Dest::FontTable;
            return;
        }
        if (w == "colortbl") {
            flush();
            s.dest = Dest::ColorTable;
            haveRed_ = false;
            red_ = green_ = blue_ = 0;
            return;
        }
        if (w == "footnote") {
            flush();
            // A footnote inside a footnote stays in the one it is in.
            if (s.dest == Dest::Text) {
                s.dest = Dest::Footnote;
                footnoteBreak();
            } else if (s.dest != Dest::Footnote) {
                s.dest = Dest::Skip;
            }
            return;
        }
        if (w == "upr") {
            flush();
            s.uprOuter = s.dest;
            s.inUpr = true;
            s.dest = Dest::Skip;
            return;
        }
        if (skippedDestinations().contains(w) || (star && !readDestination(w))) {
            flush();
            s.dest = Dest::Skip;
            return;
        }

        if (w == "u") {
            int v = param;
            if (v < 0 && v >= -65536) v += 65536;
            const QChar ch = v >= 0 && v <= 0xFFFF ? QChar(char16_t(v)) : QChar(QChar::ReplacementCharacter);
            if (s.dest == Dest::FontTable)
                fontChar(ch);
            else if (textDest(s.dest))
                character(ch);
            fallback_ = s.uc;
            return;
        }
        if (w == "uc") {
            s.uc = std::clamp(param, 0, 255);
            return;
        }

        if (s.dest == Dest::FontTable) {
            if (w == "f") {
                flush();
                currentFont_ = std::max(0, param);
                FontDef& f = fonts_[currentFont_];
                f = FontDef{};
            } else if (w == "fcharset") {
                if (currentFont_ >= 0) fonts_[currentFont_].codePage = codePageOfCharset(param);
            } else if (w == "cpg") {
                if (currentFont_ >= 0) fonts_[currentFont_].codePage = std::max(0, param);
            }
            return;
        }
        if (s.dest == Dest::ColorTable) {
            const int v = std::clamp(param, 0, 255);
            if (w == "red") red_ = v, haveRed_ = true;
            if (w == "green") green_ = v, haveRed_ = true;
            if (w == "blue") blue_ = v, haveRed_ = true;
            return;
        }

        // Document settings.
        if (w == "ansicpg") {
            flush();
            docCodePage_ = std::max(0, param);
            return;
        }
        if (w == "ansi") docCodePage_ = 1252;
        if (w == "mac") docCodePage_ = 10000;
        if (w == "pc") docCodePage_ = 437;
        if (w == "pca") docCodePage_ = 850;
        if (w == "deff") {
            defaultFont_ = std::max(0, param);
            return;
        }

        // Special characters and breaks.
        if (w == "par" || w == "sect" || w == "page" || w == "row" || w == "nestrow") {
            paragraph();
            return;
        }
        auto sc = specialChars().constFind(w);
        if (sc != specialChars().constEnd()) {
            character(*sc);
            return;
        }

        // Character and paragraph formatting.
        flush();
        if (w == "plain") {
            s.font = defaultFont_;
            s.halfPoints = 0;
            s.bold = s.italic = s.underline = s.strike = false;
            s.hidden = s.deleted = false;
            s.color = 0;
        } else if (w == "pard") {
            s.align = Align::Left;
        } else if (w == "ql") {
            s.align = Align::Left;
        } else if (w == "qr") {
            s.align = Align::Right;
        } else if (w == "qc") {
            s.align = Align::Center;
        } else if (w == "qj" || w == "qd") {
            s.align = Align::Justify;
        } else if (w == "b") {
            s.bold = on;
        } else if (w == "i") {
            s.italic = on;
        } else if (w == "ulnone") {
            s.underline = false;
        } else if (w.startsWith("ul") && w != "ulc") {
            s.underline = on;
        } else if (w == "strike" || w == "striked") {
            s.strike = on;
        } else if (w == "v") {
            s.hidden = on;
        } else if (w == "deleted") {
            s.deleted = on;
        } else if (w == "f") {
            s.font = std::max(0, param);
        } else if (w == "fs") {
            s.halfPoints = !hasParam || param <= 0 ? 0 : std::clamp(param, kMinHalfPoints, kMaxHalfPoints);
        } else if (w == "cf") {
            s.color = std::max(0, param);
        }
    }

    void literal(char16_t c) {
        if (consumeFallback() || skipping()) return;
        const Dest d = st().dest;
        if (d != Dest::Text) formatDirty_ = true;
        if (d == Dest::ColorTable) {
            if (c == u';') {
                colors_.push_back(haveRed_ ? long(red_) | (long(green_) << 8) | (long(blue_) << 16)
                                           : kAutoColor);
                haveRed_ = false;
                red_ = green_ = blue_ = 0;
            }
            return;
        }
        if (d == Dest::FontTable && c == u';') {
            flush();
            if (currentFont_ >= 0) fonts_[currentFont_].closed = true;
            return;
        }
        if (c == u'\t') {
            character(QChar(u'\t'));
            return;
        }
        if (c < 0x20) return;
        if (c < 0x80 ? !pending_.isEmpty() : raw_) {
            // Bytes of the code page: consecutive ones are decoded together.
            byte(static_cast<unsigned char>(c));
            return;
        }
        if (d == Dest::FontTable) {
            flush();
            fontChar(QChar(c));
        } else {
            character(QChar(c));
        }
    }

    // Text before any \f is in the \deff font.
    int textFont(const State& s) const { return s.font >= 0 ? s.font : defaultFont_; }

    int codePage() {
        int cp = 0;
        const State& s = st();
        if (s.dest == Dest::FontTable) {
            if (currentFont_ >= 0) cp = fonts_[currentFont_].codePage;
        } else {
            auto it = fonts_.find(textFont(s));
            if (it != fonts_.end()) cp = it->second.codePage;
        }
        return cp > 0 ? cp : docCodePage_;
    }

    void byte(unsigned char b) {
        if (skipping()) return;
        const int cp = codePage();
        if (!pending_.isEmpty() && cp != pendingCodePage_) flush();
        pendingCodePage_ = cp;
        pending_ += char(b);
    }

    void flush() {
        if (pending_.isEmpty()) return;
        const QByteArray bytes = pending_;
        pending_.clear();
        if (stack_.empty()) return;
        const char* name = decoderName(pendingCodePage_);
        auto& dec = decoders_[name];
        if (!dec) dec = std::make_unique<QStringDecoder>(name, QStringConverter::Flag::Stateless);
        const QString text = dec->isValid() ? dec->decode(bytes) : QString::fromLatin1(bytes);
        if (st().dest == Dest::FontTable) {
            for (QChar c : text)
                fontChar(c);
        } else if (textDest(st().dest)) {
            for (QChar c : text)
                appendChar(c);
        }
    }

    void fontChar(QChar c) {
        if (currentFont_ < 0) return;
        FontDef& f = fonts_[currentFont_];
        if (!f.closed && f.name.size() < kMaxFontName) f.name += c;
    }

    void character(QChar c) {
        if (skipping() || !textDest(st().dest)) return;
        flush();
        appendChar(c);
    }

    const CharFormat& format() {
        if (!formatDirty_) return format_;
        formatDirty_ = false;
        const State& s = st();
        CharFormat& f = format_;
        f = CharFormat{};
        auto it = fonts_.find(textFont(s));
        if (it != fonts_.end()) f.font = it->second.name.trimmed();
        f.halfPoints = s.halfPoints;
        f.bold = s.bold;
        f.italic = s.italic;
        f.underline = s.underline;
        f.strike = s.strike;
        f.color = s.color >= 0 && size_t(s.color) < colors_.size() ? colors_[s.color] : kAutoColor;
        return f;
    }

    void appendChar(QChar c) {
        const CharFormat& f = format();
        if (st().dest == Dest::Footnote) {
            // Leading blanks of a footnote give way to the one blank put before it.
            if (footnoteStart_ && c == u' ') return;
            footnoteStart_ = false;
            if (footnotes_.isEmpty() || !(footnotes_.last().format == f)) footnotes_.append(Run{{}, f});
            footnotes_.last().text += c;
            return;
        }
        Paragraph& p = doc_.paragraphs.last();
        p.align = st().align;
        if (p.runs.isEmpty() || !(p.runs.last().format == f)) p.runs.append(Run{{}, f});
        p.runs.last().text += c;
        content_ = true;
    }

    // A footnote or a paragraph of one begins: one blank parts it from what went before.
    void footnoteBreak() {
        footnoteStart_ = true;
        if (!footnotes_.isEmpty() && !footnotes_.last().text.endsWith(u' ')) footnotes_.last().text += u' ';
    }

    // The footnotes met in the paragraph go at its end, after one blank.
    void attachFootnotes() {
        while (!footnotes_.isEmpty() && footnotes_.last().text.endsWith(u' '))
            footnotes_.last().text.chop(1);
        while (!footnotes_.isEmpty() && footnotes_.last().text.isEmpty())
            footnotes_.removeLast();
        if (footnotes_.isEmpty()) return;
        Paragraph& p = doc_.paragraphs.last();
        if (!p.runs.isEmpty() && !p.runs.last().text.endsWith(u' ')) p.runs.last().text += u' ';
        p.runs += footnotes_;
        footnotes_.clear();
        content_ = true;
    }

    void paragraph() {
        if (skipping() || !textDest(st().dest)) return;
        flush();
        if (st().dest == Dest::Footnote) {
            footnoteBreak();
            return;
        }
        attachFootnotes();
        doc_.paragraphs.last().align = st().align;
        doc_.paragraphs.append(Paragraph{});
        content_ = false;
    }

    // Characters that a document must not hold: control characters, lone
    // surrogates, the editor's own object and frame markers.
    static QString clean(const QString& s) {
        QString out;
        out.reserve(s.size());
        for (qsizetype i = 0; i < s.size(); ++i) {
            const char16_t u = s[i].unicode();
            if (QChar::isHighSurrogate(u)) {
                if (i + 1 < s.size() && QChar::isLowSurrogate(s[i + 1].unicode())) {
                    out += s[i];
                    out += s[++i];
                } else {
                    out += QChar(QChar::ReplacementCharacter);
                }
            } else if (QChar::isLowSurrogate(u)) {
                out += QChar(QChar::ReplacementCharacter);
            } else if (u == 0x2029) {
                out += QChar(0x2028);
            } else if ((u < 0x20 && u != u'\t') || u == 0xFFFC || u == 0xFDD0 || u == 0xFDD1 || u == 0xFFFE ||
                       u == 0xFFFF) {
                continue;
            } else {
                out += s[i];
            }
        }
        return out;
    }

    Document finish() {
        attachFootnotes();
        // A mark at the very end closes the last paragraph; it does not open an empty one.
        if (doc_.paragraphs.size() > 1 && !content_) doc_.paragraphs.removeLast();
        for (Paragraph& p : doc_.paragraphs)
            for (Run& r : p.runs)
                r.text = clean(r.text);
        return doc_.normalized();
    }

    QStringView in_;
    bool raw_;
    std::vector<State> stack_;
    int overflow_ = 0;
    int fallback_ = 0;
    Document doc_;
    bool content_ = false;
    QList<Run> footnotes_; // footnote text of the current paragraph
    bool footnoteStart_ = false;
    std::unordered_map<int, FontDef> fonts_;
    int currentFont_ = -1;
    int defaultFont_ = -1;
    std::vector<long> colors_;
    bool haveRed_ = false;
    int red_ = 0, green_ = 0, blue_ = 0;
    int docCodePage_ = 1252;
    QByteArray pending_;
    int pendingCodePage_ = 1252;
    std::unordered_map<const char*, std::unique_ptr<QStringDecoder>> decoders_;
    CharFormat format_;
    bool formatDirty_ = true;
};

} // namespace

Document fromPlainBytes(QByteArrayView bytes) {
    QByteArrayView b = bytes;
    if (b.startsWith("\xEF\xBB\xBF")) b = b.sliced(3);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(b);
    if (utf8.hasError()) {
        QStringDecoder gbk("windows-936", QStringConverter::Flag::Stateless);
        text = gbk.isValid() ? gbk.decode(b) : QString::fromLatin1(b);
    }
    return fromPlainText(text);
}

Document read(QByteArrayView bytes) {
    if (!isRtf(bytes)) return fromPlainBytes(bytes);
    const QString widened = QString::fromLatin1(bytes);
    return Reader(widened, true).run();
}

Document read(QStringView text) {
    if (!isRtf(text)) return fromPlainText(text);
    return Reader(text, false).run();
}

} // namespace rtf

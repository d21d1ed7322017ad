#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

// Rich text as the diary keeps it: the body of an entry is stored as RTF. This
// is the part of RTF the editor can hold, and a reader and a writer for it.
namespace rtf {

constexpr long kAutoColor = -1;      // "automatic": the text takes the window's colour
constexpr int kMinHalfPoints = 2;    // 1 pt
constexpr int kMaxHalfPoints = 3276; // 1638 pt
constexpr int kMaxFontName = 256;    // longer names are cut

struct CharFormat {
    QString font;       // family name; empty = the document's default
    int halfPoints = 0; // size in half points; 0 = the document's default
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    long color = kAutoColor; // Windows colour number &HBBGGRR, or kAutoColor

    bool operator==(const CharFormat&) const = default;
};

enum class Align { Left, Right, Center, Justify };

struct Run {
    // Tabs are '\t'; a line break inside the paragraph is U+2028.
    QString text;
    CharFormat format;
    bool operator==(const Run&) const = default;
};

struct Paragraph {
    Align align = Align::Left;
    QList<Run> runs;
    bool operator==(const Paragraph&) const = default;
    QString text() const;
};

// A document always has at least one paragraph; the empty document is one
// empty paragraph.
struct Document {
    QList<Paragraph> paragraphs{Paragraph{}};

    // Adjacent runs of one format merged, empty runs dropped, at least one paragraph.
    Document normalized() const;
    // Same text, same format character by character, same alignments.
    bool sameAs(const Document& other) const { return normalized() == other.normalized(); }
    bool operator==(const Document&) const = default;
    // Paragraphs joined by "\r\n", line breaks as "\r\n".
    QString plainText() const;
};

// What the writer puts where a format is unset.
struct Defaults {
    QString font = QStringLiteral("宋体");
    int halfPoints = 18;
};

// The one canonical 7-bit form: the same document always gives the same bytes.
QByteArray write(const Document& doc, const Defaults& defaults = {});

// True when the text is RTF (it begins with "{\rtf").
bool isRtf(QByteArrayView bytes);
bool isRtf(QStringView text);

// Reads RTF from any program; text that is not RTF is taken as plain text.
// Raw bytes above 127 are decoded in the document's code page; in the
// QString form, characters above 127 are taken as they are.
Document read(QByteArrayView bytes);
Document read(QStringView text);

// File bytes taken as plain text, whatever they hold: UTF-8 when they are
// valid UTF-8, else code page 936.
Document fromPlainBytes(QByteArrayView bytes);

// Plain text split into paragraphs at "\r\n", "\n" or "\r", no formatting.
Document fromPlainText(QStringView text);

} // namespace rtf

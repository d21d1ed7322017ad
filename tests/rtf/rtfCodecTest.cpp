#include "platform/rtf/rtf.h"
#include "platform/rtf/rtfTextDocument.h"

#include <QElapsedTimer>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <random>

using namespace rtf;

namespace {

CharFormat fmt(const QString& font, int halfPoints, const char* flags = "", long color = kAutoColor) {
    CharFormat f;
    f.font = font;
    f.halfPoints = halfPoints;
    const QByteArray fl(flags);
    f.bold = fl.contains('b');
    f.italic = fl.contains('i');
    f.underline = fl.contains('u');
    f.strike = fl.contains('s');
    f.color = color;
    return f;
}

const CharFormat kSong = fmt(QStringLiteral("宋体"), 18);

Paragraph para(Align a, QList<rtf::Run> runs) {
    return Paragraph{a, runs};
}
Paragraph para(const QString& text, const CharFormat& f = kSong, Align a = Align::Left) {
    return Paragraph{a, {rtf::Run{text, f}}};
}
Document docOf(QList<Paragraph> ps) {
    Document d;
    d.paragraphs = ps;
    return d;
}

std::string describe(const Document& d) {
    QString s;
    for (const Paragraph& p : d.normalized().paragraphs) {
        s += QStringLiteral("[align %1]").arg(int(p.align));
        for (const rtf::Run& r : p.runs)
            s += QStringLiteral("(%1 %2 %3%4%5%6 %7)'%8'")
                     .arg(r.format.font)
                     .arg(r.format.halfPoints)
                     .arg(r.format.bold ? "b" : "")
                     .arg(r.format.italic ? "i" : "")
                     .arg(r.format.underline ? "u" : "")
                     .arg(r.format.strike ? "s" : "")
                     .arg(r.format.color)
                     .arg(r.text);
        s += u'\n';
    }
    return s.toStdString();
}

bool sevenBit(const QByteArray& b) {
    for (char c : b)
        if (static_cast<unsigned char>(c) > 127) return false;
    return true;
}

struct RoundTripCase {
    const char* name;
    Document doc;
};

std::vector<RoundTripCase> roundTripCases() {
    std::vector<RoundTripCase> cases;
    const char* styles[] = {"", "b", "i", "u", "s", "bi", "us", "bius", "bs", "iu"};
    for (const char* st : styles)
        cases.push_back(
            {"style", docOf({para(QStringLiteral("styled text"), fmt(QStringLiteral("宋体"), 18, st))})});
    cases.push_back({"alignments", docOf({para(QStringLiteral("left"), kSong, Align::Left),
                                          para(QStringLiteral("centre"), kSong, Align::Center),
                                          para(QStringLiteral("right"), kSong, Align::Right),
                                          para(QStringLiteral("justify"), kSong, Align::Justify)})});
    cases.push_back(
        {"fonts and sizes",
         docOf({para(Align::Left, {rtf::Run{"five ", fmt(QStringLiteral("宋体"), 10)},
                                   rtf::Run{"nine ", fmt(QStringLiteral("Arial"), 18)},
                                   rtf::Run{"ten and a half ", fmt(QStringLiteral("Arial"), 21)},
                                   rtf::Run{"seventy-two", fmt(QStringLiteral("宋体"), 144)}})})});
    cases.push_back(
        {"colours", docOf({para(Align::Left, {rtf::Run{"red", fmt("Arial", 18, "", 0x0000FF)},
                                              rtf::Run{"blue", fmt("Arial", 18, "", 0xFF0000)},
                                              rtf::Run{"black", fmt("Arial", 18, "", 0)},
                                              rtf::Run{"auto", fmt("Arial", 18)},
                                              rtf::Run{"white", fmt("Arial", 18, "b", 0xFFFFFF)},
                                              rtf::Run{"red again", fmt("Arial", 20, "", 0x0000FF)}})})});
    cases.push_back({"tab and line break", docOf({para(QStringLiteral("a\tb") + QChar(0x2028) + "c")})});
    cases.push_back({"escapes", docOf({para(QStringLiteral("back\\slash {braces} \\par not a word"))})});
    cases.push_back({"leading space", docOf({para(QStringLiteral(" leading"), fmt("Arial", 20, "b"))})});
    cases.push_back(
        {"digits after a size change", docOf({para(Align::Left, {rtf::Run{"x", fmt("Arial", 18)},
                                                                 rtf::Run{"5 apples", fmt("Arial", 24)}})})});
    cases.push_back({"question marks after unicode", docOf({para(QStringLiteral("问?号??"))})});
    cases.push_back({"cjk", docOf({para(QStringLiteral("今天天气很好，我们去公园。")),
                                   para(QStringLiteral("第二段"), fmt(QStringLiteral("宋体"), 28, "b"),
                                        Align::Center)})});
    cases.push_back({"emoji", docOf({para(QStringLiteral("smile \U0001F600 done"))})});
    cases.push_back({"empty document", Document{}});
    cases.push_back({"empty paragraphs", docOf({para(QString()), para(QStringLiteral("middle")),
                                                para(QString()), Paragraph{Align::Right, {}}})});
    cases.push_back({"font name with odd characters", docOf({para("x", fmt(QStringLiteral("A;B{C}"), 18))})});
    cases.push_back({"latin-1 and symbols", docOf({para(QStringLiteral("café – “quoted” ©"))})});
    return cases;
}

} // namespace

TEST(RtfRoundTrip, ReadOfWriteGivesTheDocumentAndRewritingIsByteStable) {
    for (const RoundTripCase& c : roundTripCases()) {
        SCOPED_TRACE(c.name);
        const QByteArray once = write(c.doc);
        EXPECT_TRUE(sevenBit(once)) << once.toStdString();
        EXPECT_TRUE(once.startsWith("{\\rtf1 \\ansi \\ansicpg936 ")) << once.toStdString();
        const Document back = read(once);
        EXPECT_TRUE(back.sameAs(c.doc)) << describe(back) << "---\n" << describe(c.doc) << once.toStdString();
        EXPECT_EQ(write(back), once);
        EXPECT_EQ(write(c.doc), once);
        // The QString form is what the database keeps.
        EXPECT_TRUE(read(QString::fromLatin1(once)).sameAs(c.doc));
    }
}

TEST(RtfRoundTrip, ThroughQtTextDocument) {
    for (const RoundTripCase& c : roundTripCases()) {
        SCOPED_TRACE(c.name);
        QTextDocument qdoc;
        setTextDocument(qdoc, c.doc);
        const Document back = fromTextDocument(qdoc);
        EXPECT_TRUE(back.sameAs(c.doc)) << describe(back) << "---\n" << describe(c.doc);
        EXPECT_EQ(write(back), write(c.doc));
    }
}

TEST(RtfRoundTrip, UnsetFormatsAreWrittenWithTheDefaults) {
    Document d = docOf({para(QStringLiteral("plain"), CharFormat{})});
    const Document back = read(write(d));
    EXPECT_TRUE(back.sameAs(docOf({para(QStringLiteral("plain"), fmt(QStringLiteral("宋体"), 18))})))
        << describe(back);
    Defaults other{QStringLiteral("Arial"), 24};
    EXPECT_TRUE(read(write(d, other)).sameAs(docOf({para(QStringLiteral("plain"), fmt("Arial", 24))})));
}

TEST(RtfRoundTrip, OddFontNamesAreWrittenAsTheyWillBeRead) {
    // Names a user can type into the font list: blanks at the ends, a tab, far too long.
    const QString longName = QString(300, u'x');
    const QString names[] = {QStringLiteral(" Arial "),
                             QStringLiteral("A\tB"),
                             QStringLiteral("Line") + QChar(0x2028),
                             longName,
                             longName + QStringLiteral("y"),
                             QStringLiteral(" ")};
    for (const QString& name : names) {
        SCOPED_TRACE(name.left(20).toStdString());
        const Document d = docOf({para("x", fmt(name, 18))});
        const QByteArray once = write(d);
        EXPECT_EQ(write(read(once)), once) << once.left(200).toStdString();
    }
    const QString back = read(write(docOf({para("x", fmt(longName, 18))}))).paragraphs[0].runs[0].format.font;
    EXPECT_EQ(back, longName.left(kMaxFontName));
    EXPECT_EQ(read(write(docOf({para("x", fmt("A\tB", 18))}))).paragraphs[0].runs[0].format.font,
              QStringLiteral("A\tB"));
}

TEST(RtfRoundTrip, PlainTextUsesCrLfBetweenParagraphsAndLines) {
    const Document d = docOf({para(QStringLiteral("one") + QChar(0x2028) + "two"), para("three")});
    EXPECT_EQ(d.plainText(), QStringLiteral("one\r\ntwo\r\nthree"));
}

namespace {

struct ReaderCase {
    const char* name;
    QByteArray rtf;
    Document expected;
};

Document plain(QList<QString> paragraphs) {
    Document d;
    d.paragraphs.clear();
    for (const QString& p : paragraphs)
        d.paragraphs.append(p.isEmpty() ? Paragraph{} : para(p, CharFormat{}));
    return d;
}

} // namespace

TEST(RtfReader, HandWrittenFixtures) {
    const CharFormat song = fmt(QStringLiteral("宋体"), 0);
    const std::vector<ReaderCase> cases = {
        {"gbk bytes under fcharset134",
         "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
         "\\f0 \\'c4\\'e3\\'ba\\'c3}",
         docOf({para(QStringLiteral("你好"), song)})},
        {"gbk trail byte in the ascii range", "{\\rtf1\\ansi\\ansicpg936 \\'81@\\'b0\\'a1}",
         plain({QStringLiteral("丂啊")})},
        {"raw gbk bytes in an ansicpg936 document", "{\\rtf1\\ansi\\ansicpg936 \xc4\xe3\xba\xc3}",
         plain({QStringLiteral("你好")})},
        {"fcharset0 is windows-1252",
         "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f1\\fcharset0 Arial;}}\\f1 caf\\'e9}",
         docOf({para(QStringLiteral("café"), fmt("Arial", 0))})},
        {"uc0", "{\\rtf1\\uc0\\u20320\\u22909}", plain({QStringLiteral("你好")})},
        {"uc1", "{\\rtf1\\u20320?\\u22909?}", plain({QStringLiteral("你好")})},
        {"uc2 skips two fallback bytes", "{\\rtf1\\ansicpg936\\uc2\\u20320\\'c4\\'e3\\u22909\\'ba\\'c3!}",
         plain({QStringLiteral("你好!")})},
        {"uc is scoped to its group", "{\\rtf1{\\uc2\\u20320\\'c4\\'e3}\\u22909?x}",
         plain({QStringLiteral("你好x")})},
        {"group end stops the fallback", "{\\rtf1{\\uc3\\u20320 a}b}", plain({QStringLiteral("你b")})},
        {"negative N and surrogate pairs", "{\\rtf1\\u-10179?\\u-8704? \\u-3913?}",
         plain({QStringLiteral("\U0001F600 ") + QChar(0xF0B7)})},
        {"lone surrogate becomes a replacement character", "{\\rtf1 a\\u-10179?b}",
         plain({QStringLiteral("a") + QChar(QChar::ReplacementCharacter) + "b"})},
        {"unknown star destinations and known skipped ones",
         "{\\rtf1{\\*\\unknowndest hidden {nested} text}{\\info{\\title T}{\\author A}}"
         "{\\stylesheet{\\s0 Normal;}}{\\header head}{\\footer foot}{\\*\\listtable{\\list x}}visible}",
         plain({QStringLiteral("visible")})},
        {"field result kept, instruction skipped",
         "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}} and {\\field{\\fldinst PAGE}"
         "{\\fldrslt 3}}}",
         plain({QStringLiteral("link and 3")})},
        {"pict with hex data", "{\\rtf1 a{\\pict\\pngblip\\picw10\\pich10 89504e470d0a1a0a0000}b}",
         plain({QStringLiteral("ab")})},
        {"bin data may hold braces", "{\\rtf1 a{\\pict\\bin5 x}{y}}b}", plain({QStringLiteral("ab")})},
        {"bin past the end", "{\\rtf1 a{\\pict\\bin99999999 xyz", plain({QStringLiteral("a")})},
        {"negative bin", "{\\rtf1 a{\\pict\\bin-5 }b}", plain({QStringLiteral("ab")})},
        {"plain and pard reset",
         "{\\rtf1\\deff0{\\fonttbl{\\f0 Arial;}}\\b\\i\\ul\\strike\\qc\\f0\\fs40 big\\par\\pard\\plain "
         "normal}",
         docOf({para(QStringLiteral("big"), fmt("Arial", 40, "bius"), Align::Center),
                para(QStringLiteral("normal"), fmt("Arial", 0))})},
        {"text before any f takes the deff font and its code page",
         "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}\\'d6\\'d0}",
         docOf({para(QStringLiteral("中"), song)})},
        {"deff font in English", "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}Hello}",
         docOf({para(QStringLiteral("Hello"), fmt("Arial", 0))})},
        {"ud outside upr does not end a skipped group",
         "{\\rtf1 a{\\info\\ud hidden}{\\*\\unknown{\\ud more}}b}", plain({QStringLiteral("ab")})},
        {"plain without deff leaves the font unset", "{\\rtf1{\\fonttbl{\\f3 Arial;}}\\f3 a\\plain b}",
         docOf({para(Align::Left, {rtf::Run{"a", fmt("Arial", 0)}, rtf::Run{"b", CharFormat{}}})})},
        {"out-of-range colour, font and sizes",
         "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\cf99 a\\cf1 b\\f42 c\\fs0 d\\fs99999 e\\fs-4 f\\fs1 g"
         "\\red999 h}",
         docOf({para(Align::Left,
                     {rtf::Run{"a", CharFormat{}}, rtf::Run{"bc", fmt("", 0, "", 0x0000FF)},
                      rtf::Run{"d", fmt("", 0, "", 0x0000FF)},
                      rtf::Run{"e", fmt("", kMaxHalfPoints, "", 0x0000FF)},
                      rtf::Run{"f", fmt("", 0, "", 0x0000FF)}, rtf::Run{"gh", fmt("", 2, "", 0x0000FF)}})})},
        {"colour table entry zero may be explicit", "{\\rtf1{\\colortbl\\red0\\green128\\blue0;}\\cf0 g}",
         docOf({para("g", fmt("", 0, "", 0x008000))})},
        {"huge numbers are clamped", "{\\rtf1\\fs99999999999999999999 a\\u99999999999?b}",
         docOf({para(Align::Left, {rtf::Run{QStringLiteral("a") + QChar(QChar::ReplacementCharacter) + "b",
                                            fmt("", kMaxHalfPoints)}})})},
        {"special characters",
         "{\\rtf1 a\\tab b\\line "
         "c\\~d\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\-e\\_f\\{\\}\\\\}",
         plain({QStringLiteral("a\tb") + QChar(0x2028) + "c" + QChar(0xA0) + "d—–•‘’“”e" + QChar(0x2011) +
                "f{}\\"})},
        {"trailing par does not add a paragraph", "{\\rtf1 a\\par }", plain({"a"})},
        {"two pars make one empty paragraph", "{\\rtf1 a\\par\\par }", plain({"a", ""})},
        {"backslash newline is a paragraph", "{\\rtf1 a\\\nb}", plain({"a", "b"})},
        {"cr and lf are ignored", "{\\rtf1 a\r\nb\nc}", plain({"abc"})},
        {"unbalanced: missing closing braces", "{\\rtf1 abc{\\b def",
         docOf({para(Align::Left, {rtf::Run{"abc", {}}, rtf::Run{"def", fmt("", 0, "b")}})})},
        {"unbalanced: text after the document ends", "{\\rtf1 a}b}c", plain({"a"})},
        {"font table without inner groups",
         "{\\rtf1{\\fonttbl\\f0\\fswiss Helvetica;\\f1\\froman Times New Roman;}\\f1 t}",
         docOf({para("t", fmt("Times New Roman", 0))})},
        {"upr takes the unicode font name",
         "{\\rtf1{\\upr{\\fonttbl{\\f0 SimSun;}}{\\*\\ud{\\fonttbl{\\f0 \\u23435?\\u20307?;}}}}\\f0 x}",
         docOf({para("x", fmt(QStringLiteral("宋体"), 0))})},
        {"font name falt skipped", "{\\rtf1{\\fonttbl{\\f0\\fnil Arial{\\*\\falt Helvetica};}}\\f0 x}",
         docOf({para("x", fmt("Arial", 0))})},
        {"justify and distribute", "{\\rtf1\\qj a\\par\\qd b}",
         docOf({para("a", CharFormat{}, Align::Justify), para("b", CharFormat{}, Align::Justify)})},
        {"alignment at the paragraph mark", "{\\rtf1\\pard a\\qr\\par b}",
         docOf({para("a", CharFormat{}, Align::Right), para("b", CharFormat{}, Align::Right)})},
        {"underline variants", "{\\rtf1\\uldb a\\ulnone b\\ulwave c\\ul0 d}",
         docOf({para(Align::Left, {rtf::Run{"a", fmt("", 0, "u")}, rtf::Run{"b", {}},
                                   rtf::Run{"c", fmt("", 0, "u")}, rtf::Run{"d", {}}})})},
        {"control characters dropped", "{\\rtf1 a\\u0?\\u13?\\u65532?b\x01}", plain({"ab"})},
        {"not rtf is plain text", "hello\r\nworld\n", plain({"hello", "world", ""})},
        {"almost rtf is plain text", "{\\rt x}", plain({"{\\rt x}"})},
        {"empty input", "", plain({""})},
    };
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Document got = read(c.rtf);
        EXPECT_TRUE(got.sameAs(c.expected)) << describe(got) << "--- expected\n" << describe(c.expected);
    }
}

// Text the writing program does not show is not shown here either; a
// footnote's text is kept, after the paragraph that refers to it.
TEST(RtfReader, HiddenAndDeletedTextSkippedFootnotesKept) {
    const std::vector<ReaderCase> cases = {
        {"hidden text", "{\\rtf1 a{\\v secret}b\\v c\\v0 d}", plain({"abd"})},
        {"hidden bytes, unicode and breaks", "{\\rtf1 a{\\v \\'e9\\u20320?\\tab x\\par y}b}", plain({"ab"})},
        {"plain ends hidden text", "{\\rtf1 a\\v b\\plain c}", plain({"ac"})},
        {"deleted revision", "{\\rtf1 keep{\\deleted\\revauth1 gone}{\\revised new}\\deleted x\\deleted0 y}",
         plain({"keepnewy"})},
        {"nested table fallback", "{\\rtf1 a\\nestcell{\\nonesttables b\\par}c}", plain({"a\tc"})},
        {"footnote at the end of its paragraph",
         "{\\rtf1 Main{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} Note.} text.\\par Next}",
         plain({"Main text. Note.", "Next"})},
        {"two footnotes and a multi-paragraph one",
         "{\\rtf1 A{\\footnote one}B{\\footnote two\\par more}\\par C}", plain({"AB one two more", "C"})},
        {"footnote in the last paragraph", "{\\rtf1 end{\\footnote\\b fn}}",
         docOf({para(Align::Left, {rtf::Run{"end ", {}}, rtf::Run{"fn", fmt("", 0, "b")}})})},
        {"footnote keeps the paragraph's alignment", "{\\rtf1\\qc mid{\\footnote\\pard\\qr note}\\par}",
         docOf({para("mid note", CharFormat{}, Align::Center)})},
        {"hidden footnote", "{\\rtf1 a{\\v{\\footnote no}}b}", plain({"ab"})},
        {"hidden reaches no table", "{\\rtf1\\v{\\colortbl;\\red255\\green0\\blue0;}\\v0\\cf1 r}",
         docOf({para("r", fmt("", 0, "", 0x0000FF))})},
    };
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Document got = read(c.rtf);
        EXPECT_TRUE(got.sameAs(c.expected)) << describe(got) << "--- expected\n" << describe(c.expected);
    }
}

TEST(RtfReader, PlainTextBytesAreUtf8OrElseGbk) {
    EXPECT_TRUE(read(QByteArray("\xe4\xbd\xa0\xe5\xa5\xbd")).sameAs(plain({QStringLiteral("你好")})));
    EXPECT_TRUE(read(QByteArray("\xc4\xe3\xba\xc3")).sameAs(plain({QStringLiteral("你好")})));
    // In the QString form characters are taken as they are.
    EXPECT_TRUE(read(QStringLiteral("{\\rtf1 直接}")).sameAs(plain({QStringLiteral("直接")})));
}

TEST(RtfReader, DeepNestingIsSkippedNotRecursed) {
    QByteArray in = "{\\rtf1 a";
    in += QByteArray(100000, '{');
    in += "deep";
    in += QByteArray(100000, '}');
    in += "c}";
    QElapsedTimer t;
    t.start();
    const Document d = read(in);
    EXPECT_TRUE(d.sameAs(plain({"ac"}))) << describe(d);
    EXPECT_LT(t.elapsed(), 5000);

    // Moderate nesting is read.
    QByteArray shallow = "{\\rtf1 a" + QByteArray(50, '{') + "b" + QByteArray(50, '}') + "}";
    EXPECT_TRUE(read(shallow).sameAs(plain({"ab"})));
}

TEST(RtfReader, LargeInputsTakeLinearTime) {
    // Many tokens of the kinds that cost most: unicode, hex bytes, groups, font switches.
    QByteArray unit = "{\\f1\\u20320?\\'c4\\'e3}\\b\\cf3 x";
    QByteArray in = "{\\rtf1\\ansicpg936{\\fonttbl{\\f1\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}";
    in.reserve(unit.size() * 40000 + 100);
    for (int i = 0; i < 40000; ++i)
        in += unit;
    in += "}";
    QElapsedTimer t;
    t.start();
    const Document d = read(in);
    EXPECT_LT(t.elapsed(), 15000);
    EXPECT_EQ(d.paragraphs.size(), 1);
    EXPECT_EQ(d.paragraphs[0].text().size(), 40000 * 3);
}

namespace {

QByteArray mutate(QByteArray s, std::mt19937& rng) {
    static const char* tokens[] = {
        "{",      "}",     "\\",         "\\'",     "\\'c4",     "\\u",        "\\u-",          "\\uc",
        "\\uc5 ", "\\bin", "\\bin3 ",    "\\*",     "\\fonttbl", "\\colortbl", "\\f",           "\\fs",
        "\\cf",   "\\par", "\\pard",     "\\plain", "\\upr",     "\\ud",       "\\pict",        "\\fldrslt",
        ";",      "\\red", "9999999999", "-",       " ",         "\\ansicpg",  "\\fcharset134", "\\line",
        "\xc4",   "\xff"};
    std::uniform_int_distribution<int> op(0, 3);
    const int edits = std::uniform_int_distribution<int>(1, 8)(rng);
    for (int e = 0; e < edits; ++e) {
        const qsizetype pos =
            s.isEmpty() ? 0 : std::uniform_int_distribution<qsizetype>(0, s.size() - 1)(rng);
        switch (op(rng)) {
        case 0:
            s.insert(pos, tokens[std::uniform_int_distribution<size_t>(0, std::size(tokens) - 1)(rng)]);
            break;
        case 1:
            if (!s.isEmpty()) s.remove(pos, std::uniform_int_distribution<int>(1, 6)(rng));
            break;
        case 2:
            if (!s.isEmpty()) s[pos] = char(std::uniform_int_distribution<int>(0, 255)(rng));
            break;
        default:
            s.insert(pos, s.mid(pos, std::uniform_int_distribution<int>(1, 30)(rng)));
            break;
        }
    }
    return s;
}

} // namespace

TEST(RtfFuzz, RandomAndMutatedInputsNeitherCrashNorHang) {
    const std::vector<QByteArray> seeds = {
        write(roundTripCases()[11].doc),
        write(roundTripCases()[18].doc),
        write(roundTripCases()[21].doc),
        "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset134 "
        "\\'cb\\'ce;}}{\\colortbl;\\red1\\green2\\blue3;}"
        "{\\*\\x{\\pict\\bin4 {}{}}}\\uc2\\u-10179\\'c4\\'e3{\\field{\\*\\fldinst a}{\\fldrslt b}}\\par}",
    };
    std::mt19937 rng(20261210);
    QElapsedTimer budget;
    budget.start();
    int runs = 0;
    while (budget.elapsed() < 3000) {
        QByteArray in;
        if (runs % 4 == 0) {
            // Pure noise, half of it made to look like RTF.
            const int len = std::uniform_int_distribution<int>(0, 400)(rng);
            in.resize(len);
            for (char& c : in)
                c = char(std::uniform_int_distribution<int>(0, 255)(rng));
            if (runs % 8 == 0) in.prepend("{\\rtf1 ");
        } else {
            in = mutate(seeds[size_t(runs) % seeds.size()], rng);
        }
        QElapsedTimer one;
        one.start();
        const Document d = read(in);
        const QByteArray w = write(d);
        ASSERT_TRUE(sevenBit(w)) << "run " << runs;
        ASSERT_EQ(write(read(w)), w) << "run " << runs << " input " << in.toHex().toStdString();
        ASSERT_LT(one.elapsed(), 2000) << "run " << runs << " input " << in.toHex().toStdString();
        if (runs % 5 == 0) {
            // What an editor shows of it is what it saves.
            QTextDocument qdoc;
            setTextDocument(qdoc, d);
            ASSERT_EQ(write(fromTextDocument(qdoc)), w)
                << "run " << runs << " input " << in.toHex().toStdString();
        }
        ++runs;
    }
    EXPECT_GT(runs, 50);
}

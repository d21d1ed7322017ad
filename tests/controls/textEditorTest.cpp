// The rich-text editor: toolbar, mirroring the selection, clipboard, files, pop-out.
#include "controls/scheduleText.h"

#include "core/ui/gLinkLabel.h"
#include "core/model/gState.h"
#include "platform/rtf/rtf.h"
#include "testSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

class TextEditor : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        gPopUpOwner = nullptr;
        savedHook = gShowPopUpEditor;
        savedDialog = gTextColorDialog;
        gShowPopUpEditor = nullptr;
        window = std::make_unique<QWidget>();
        window->resize(640, 400);
        editor = new scheduleText(window.get());
        editor->setGeometry(0, 0, 600, 300);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QApplication::clipboard()->clear();
    }
    void TearDown() override {
        window.reset();
        gPopUpOwner = nullptr;
        gShowPopUpEditor = savedHook;
        gTextColorDialog = savedDialog;
        HomeTest::TearDown();
    }
    // The document as the writer sees it.
    rtf::Document doc() const { return rtf::read(QStringView(editor->textRTF())); }
    void select(int from, int to) {
        QTextCursor c = editor->box()->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        editor->box()->setTextCursor(c);
    }
    void caret(int pos) { select(pos, pos); }
    QToolButton* tool(scheduleText::Tool t) { return editor->tool(t); }
    // "plain bold" with "bold" bold, then a centred second paragraph "二段".
    void loadSample() {
        editor->setTextRTF(
            QStringLiteral("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 \\u23435?\\u20307?;}}"
                           "\\f1\\fs18 plain \\b bold\\b0\\par\\qc\\f0\\fs24 \\u20108?\\u27573?}"));
    }

    std::unique_ptr<QWidget> window;
    scheduleText* editor = nullptr;
    std::function<void(scheduleText*)> savedHook;
    std::function<std::optional<long>(long, QWidget*)> savedDialog;
};

} // namespace

TEST_F(TextEditor, StripHoldsTheToolsInOrderWithTheirTips) {
    const char* tips[] = {"剪切",   "复制",   "粘贴", "加粗",   "倾斜",
                          "下划线", "左对齐", "居中", "右对齐", "字体颜色"};
    int lastLeft = -1;
    for (int i = 0; i < scheduleText::kToolCount; ++i) {
        SCOPED_TRACE(i);
        QToolButton* b = editor->tool(i);
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(tips[i]));
        EXPECT_EQ(b->size(), QSize(25, 25)); // 375 twips
        EXPECT_GT(b->x(), lastLeft);
        lastLeft = b->x();
    }
    EXPECT_EQ(editor->tool(scheduleText::kCopy)->x() - editor->tool(scheduleText::kCut)->x(),
              24); // 360 twips
    // The lists sit between the right alignment and the colour.
    EXPECT_GT(editor->fontNameList()->x(), editor->tool(scheduleText::kRight)->x());
    EXPECT_LT(editor->fontSizeList()->x(), editor->tool(scheduleText::kColor)->x());
    EXPECT_EQ(editor->fontNameList()->currentText(), QStringLiteral("宋体"));
    EXPECT_EQ(editor->fontSizeList()->currentText(), QStringLiteral("9"));
    ASSERT_EQ(editor->fontSizeList()->count(), 68);
    EXPECT_EQ(editor->fontSizeList()->itemText(0), QStringLiteral("5"));
    EXPECT_EQ(editor->fontSizeList()->itemText(67), QStringLiteral("72"));
    EXPECT_GT(editor->fontNameList()->count(), 0);
    EXPECT_EQ(editor->popUpLink()->text(), QStringLiteral("弹出"));
    EXPECT_TRUE(editor->popUpLink()->isVisible());
    EXPECT_EQ(editor->box()->geometry(), QRect(0, 32, 600, 300 - 32)); // 480 twips down
    EXPECT_EQ(editor->faceColor(), 0);
}

TEST_F(TextEditor, DefaultFontIsSongTiNinePoints) {
    const QFont f = editor->box()->document()->defaultFont();
    EXPECT_EQ(f.families().value(0), QStringLiteral("宋体"));
    EXPECT_GT(f.families().size(), 1); // CJK fallbacks
    EXPECT_DOUBLE_EQ(f.pointSizeF(), 9);
    QTest::keyClicks(editor->box(), "typed");
    const rtf::Document d = doc();
    ASSERT_EQ(d.paragraphs[0].runs.size(), 1);
    EXPECT_EQ(d.paragraphs[0].runs[0].format.font, QStringLiteral("宋体"));
    EXPECT_EQ(d.paragraphs[0].runs[0].format.halfPoints, 18);
}

TEST_F(TextEditor, TextAndTextRtf) {
    editor->setText(QStringLiteral("first\r\nsecond\tline"));
    EXPECT_EQ(editor->text(), QStringLiteral("first\r\nsecond\tline"));
    EXPECT_TRUE(editor->textRTF().startsWith(QStringLiteral("{\\rtf1 ")));

    loadSample();
    EXPECT_EQ(editor->text(), QStringLiteral("plain bold\r\n二段"));
    const rtf::Document d = doc();
    ASSERT_EQ(d.paragraphs.size(), 2);
    EXPECT_TRUE(d.paragraphs[0].runs.last().format.bold);
    EXPECT_EQ(d.paragraphs[1].align, rtf::Align::Center);
    EXPECT_EQ(d.paragraphs[1].runs[0].format.font, QStringLiteral("Arial"));
    EXPECT_EQ(d.paragraphs[1].runs[0].format.halfPoints, 24);

    // Reading back what it wrote gives the same RTF.
    const QString once = editor->textRTF();
    editor->setText(QStringLiteral("something else"));
    editor->setTextRTF(once);
    EXPECT_EQ(editor->textRTF(), once);

    // Loaded text is not undone into the previous text.
    QTest::keyClick(editor->box(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->textRTF(), once);

    // Text that is not RTF is taken as plain text.
    editor->setTextRTF(QStringLiteral("just words"));
    EXPECT_EQ(editor->text(), QStringLiteral("just words"));
}

TEST_F(TextEditor, MirroringFollowsTheWholeSelection) {
    loadSample();
    struct Case {
        const char* name;
        int from, to;
        bool bold;
        bool left, center;
        const char* font;
        const char* size;
    };
    // Positions: "plain bold" is 0..10, the paragraph mark 10, "二段" 11..13.
    const Case cases[] = {
        {"all bold", 6, 10, true, true, false, "宋体", "9"},
        {"partly bold", 3, 8, false, true, false, "宋体", "9"},
        {"caret in bold", 8, 8, true, true, false, "宋体", "9"},
        {"caret in the centred paragraph", 12, 12, false, false, true, "Arial", "12"},
        {"two alignments, mixed fonts keep the lists", 8, 12, false, false, false, "Arial", "12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        select(c.from, c.to);
        EXPECT_EQ(tool(scheduleText::kBold)->isChecked(), c.bold);
        EXPECT_FALSE(tool(scheduleText::kItalic)->isChecked());
        EXPECT_EQ(tool(scheduleText::kLeft)->isChecked(), c.left);
        EXPECT_EQ(tool(scheduleText::kCenter)->isChecked(), c.center);
        EXPECT_FALSE(tool(scheduleText::kRight)->isChecked());
        EXPECT_EQ(editor->fontNameList()->currentText(), QString::fromUtf8(c.font));
        EXPECT_EQ(editor->fontSizeList()->currentText(), QString::fromUtf8(c.size));
    }
}

TEST_F(TextEditor, MovingTheCaretOrSelectingChangesNothing) {
    loadSample();
    const QString before = editor->textRTF();
    QSignalSpy spy(editor, &scheduleText::change);
    for (auto [from, to] : {std::pair{12, 12}, {0, 0}, {3, 8}, {8, 12}, {0, 13}, {6, 10}})
        select(from, to);
    QTest::keyClick(editor->box(), Qt::Key_Home);
    QTest::keyClick(editor->box(), Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(editor->textRTF(), before);
}

TEST_F(TextEditor, StyleBoxesApplyToTheWholeSelection) {
    loadSample();
    QSignalSpy spy(editor, &scheduleText::change);
    select(3, 8); // partly bold: the box shows off
    ASSERT_FALSE(tool(scheduleText::kBold)->isChecked());
    tool(scheduleText::kBold)->click();
    EXPECT_TRUE(editor->box()->hasFocus() || !QApplication::focusWidget());
    rtf::Document d = doc();
    EXPECT_EQ(d.paragraphs[0].runs.size(), 2);
    EXPECT_EQ(d.paragraphs[0].runs[0].text, QStringLiteral("pla"));
    EXPECT_TRUE(d.paragraphs[0].runs[1].format.bold);
    EXPECT_GE(spy.count(), 1);

    select(0, 5);
    tool(scheduleText::kItalic)->click();
    tool(scheduleText::kUnderline)->click();
    d = doc();
    EXPECT_TRUE(d.paragraphs[0].runs[0].format.italic);
    EXPECT_TRUE(d.paragraphs[0].runs[0].format.underline);

    select(0, 13);
    tool(scheduleText::kRight)->click();
    d = doc();
    EXPECT_EQ(d.paragraphs[0].align, rtf::Align::Right);
    EXPECT_EQ(d.paragraphs[1].align, rtf::Align::Right);
    EXPECT_TRUE(tool(scheduleText::kRight)->isChecked());
    EXPECT_FALSE(tool(scheduleText::kLeft)->isChecked());
    tool(scheduleText::kCenter)->click();
    EXPECT_EQ(doc().paragraphs[0].align, rtf::Align::Center);
    EXPECT_FALSE(tool(scheduleText::kRight)->isChecked());
}

TEST_F(TextEditor, FontListsApplyOnlyWhatTheBoxCanTake) {
    loadSample();
    struct Case {
        const char* typed;
        int halfPoints; // 0: unchanged
    };
    const Case sizes[] = {{"abc", 0},   {"", 0},  {"0", 0},       {"1639", 0}, {"-3", 0},    {"nan", 0},
                          {"10.5", 21}, {"1", 2}, {"1638", 3276}, {"72", 144}, {" 12 ", 24}, {"10.3", 21}};
    for (const Case& c : sizes) {
        SCOPED_TRACE(c.typed);
        select(0, 5);
        const int before = doc().paragraphs[0].runs[0].format.halfPoints;
        editor->fontSizeList()->setEditText(QString::fromUtf8(c.typed));
        EXPECT_EQ(doc().paragraphs[0].runs[0].format.halfPoints, c.halfPoints ? c.halfPoints : before);
    }
    select(0, 5);
    editor->fontNameList()->setEditText(QString());
    EXPECT_EQ(doc().paragraphs[0].runs[0].format.font, QStringLiteral("宋体"));
    editor->fontNameList()->setEditText(QStringLiteral("Arial"));
    EXPECT_EQ(doc().paragraphs[0].runs[0].format.font, QStringLiteral("Arial"));
    // A click in the list applies its text too.
    const int item = editor->fontNameList()->count() - 1;
    Q_EMIT editor->fontNameList()->textActivated(editor->fontNameList()->itemText(item));
    EXPECT_EQ(doc().paragraphs[0].runs[0].format.font, editor->fontNameList()->itemText(item));
    // Only the selection took it.
    EXPECT_EQ(doc().paragraphs[0].runs[0].text, QStringLiteral("plain"));
    EXPECT_EQ(doc().paragraphs[0].runs[1].format.font, QStringLiteral("宋体"));
}

TEST_F(TextEditor, ColourButtonAppliesTheChosenColourAndCancelChangesNothing) {
    loadSample();
    long shown = -2;
    gTextColorDialog = [&](long current, QWidget*) -> std::optional<long> {
        shown = current;
        return std::nullopt;
    };
    select(0, 5);
    const QString before = editor->textRTF();
    tool(scheduleText::kColor)->click();
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(editor->textRTF(), before);

    gTextColorDialog = [](long, QWidget*) -> std::optional<long> { return 0x0000FF; };
    tool(scheduleText::kColor)->click();
    EXPECT_EQ(doc().paragraphs[0].runs[0].format.color, 0x0000FF);
    EXPECT_EQ(editor->faceColor(), 0x0000FF);
    // The face follows the selection, and keeps its colour over a mixed one.
    select(12, 12);
    EXPECT_EQ(editor->faceColor(), 0);
    select(0, 5);
    EXPECT_EQ(editor->faceColor(), 0x0000FF);
    select(3, 8);
    EXPECT_EQ(editor->faceColor(), 0x0000FF);
}

TEST_F(TextEditor, CopyAndCutPutRtfAndPlainTextOnTheClipboard) {
    loadSample();
    QClipboard* cb = QApplication::clipboard();
    select(6, 10);
    tool(scheduleText::kCopy)->click();
    const QMimeData* m = cb->mimeData();
    ASSERT_TRUE(m);
    EXPECT_EQ(m->text(), QStringLiteral("bold"));
    ASSERT_TRUE(m->hasFormat(QStringLiteral("text/rtf")));
    const rtf::Document copied = rtf::read(m->data(QStringLiteral("text/rtf")));
    EXPECT_EQ(copied.plainText(), QStringLiteral("bold"));
    EXPECT_TRUE(copied.paragraphs[0].runs[0].format.bold);
    EXPECT_EQ(editor->text(), QStringLiteral("plain bold\r\n二段"));

    select(0, 6);
    tool(scheduleText::kCut)->click();
    EXPECT_EQ(cb->text(), QStringLiteral("plain "));
    EXPECT_EQ(editor->text(), QStringLiteral("bold\r\n二段"));

    // An empty selection leaves the clipboard alone.
    cb->setText(QStringLiteral("keep me"));
    caret(2);
    tool(scheduleText::kCopy)->click();
    tool(scheduleText::kCut)->click();
    EXPECT_EQ(cb->text(), QStringLiteral("keep me"));
    EXPECT_EQ(editor->text(), QStringLiteral("bold\r\n二段"));
}

TEST_F(TextEditor, PasteTakesRtfThenPlainTextAndNothingElse) {
    QClipboard* cb = QApplication::clipboard();
    editor->setText(QStringLiteral("abcdef"));

    auto* rtfData = new QMimeData;
    rtfData->setData(QStringLiteral("text/rtf"), "{\\rtf1 {\\b X}\\par Y}");
    rtfData->setText(QStringLiteral("ignored"));
    cb->setMimeData(rtfData);
    select(1, 3);
    tool(scheduleText::kPaste)->click();
    EXPECT_EQ(editor->text(), QStringLiteral("aX\r\nYdef"));
    EXPECT_TRUE(doc().paragraphs[0].runs.last().format.bold);

    editor->setText(QStringLiteral("abcdef"));
    cb->setText(QStringLiteral("one\r\ntwo\x01"));
    select(1, 3);
    QTest::keyClick(editor->box(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->text(), QStringLiteral("aone\r\ntwodef"));

    // A picture in RTF with text beside it: the text is pasted.
    editor->setText(QStringLiteral("abcdef"));
    auto* pictureAndText = new QMimeData;
    pictureAndText->setData(QStringLiteral("text/rtf"), "{\\rtf1{\\pict\\pngblip 89504e47}}");
    pictureAndText->setText(QStringLiteral("T"));
    cb->setMimeData(pictureAndText);
    select(1, 3);
    tool(scheduleText::kPaste)->click();
    EXPECT_EQ(editor->text(), QStringLiteral("aTdef"));

    // HTML or a picture alone: the selection stays as it was.
    struct Refused {
        const char* name;
        std::function<QMimeData*()> make;
    };
    const Refused refused[] = {
        {"html",
         [] {
             auto* m = new QMimeData;
             m->setHtml(QStringLiteral("<b>html</b>"));
             return m;
         }},
        {"image",
         [] {
             auto* m = new QMimeData;
             QImage img(4, 4, QImage::Format_ARGB32);
             img.fill(Qt::red);
             m->setImageData(img);
             return m;
         }},
        {"empty", [] { return new QMimeData; }},
        {"rtf holding only a picture",
         [] {
             auto* m = new QMimeData;
             m->setData(QStringLiteral("text/rtf"), "{\\rtf1{\\pict\\pngblip 89504e470d0a1a0a}}");
             return m;
         }},
    };
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.name);
        editor->setText(QStringLiteral("abcdef"));
        cb->setMimeData(r.make());
        select(1, 3);
        tool(scheduleText::kPaste)->click();
        EXPECT_EQ(editor->text(), QStringLiteral("abcdef"));
        EXPECT_EQ(editor->box()->textCursor().selectedText(), QStringLiteral("bc"));
    }
}

TEST_F(TextEditor, DroppedTextGoesThroughTheSamePath) {
    editor->setText(QStringLiteral("ab"));
    caret(1);
    QMimeData drop;
    drop.setHtml(QStringLiteral("<img src='x.png'>"));
    drop.setText(QStringLiteral("Z"));
    QWidget* vp = editor->box()->viewport();
    const QPoint at = editor->box()->cursorRect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &drop, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &enter);
    QDropEvent dropEvent(at, Qt::CopyAction, &drop, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &dropEvent);
    EXPECT_EQ(editor->text().size(), 3);
    EXPECT_TRUE(editor->text().contains(u'Z'));
    EXPECT_FALSE(editor->textRTF().contains(QStringLiteral("pict")));
}

TEST_F(TextEditor, SaveAndLoadFiles) {
    loadSample();
    const QString rtfFile = home().folder(QStringLiteral("data")) + QStringLiteral("Diary.tmp");
    ASSERT_TRUE(editor->saveFile(rtfFile));
    const QString saved = editor->textRTF();
    EXPECT_EQ(readFile(rtfFile), saved.toLatin1());

    editor->setText(QStringLiteral("other"));
    ASSERT_TRUE(editor->loadFile(rtfFile));
    EXPECT_EQ(editor->textRTF(), saved);

    // A file that is not RTF, or that is missing, leaves the text as it was.
    const QString plainFile = writeFile(home().folder(QStringLiteral("data")) + QStringLiteral("plain.txt"),
                                        QByteArray("not rtf \xe4\xbd\xa0"));
    EXPECT_FALSE(editor->loadFile(plainFile));
    EXPECT_FALSE(editor->loadFile(home().path() + QStringLiteral("/missing.rtf")));
    EXPECT_EQ(editor->textRTF(), saved);
    // As plain text it loads.
    EXPECT_TRUE(editor->loadFile(plainFile, scheduleText::rtfText));
    EXPECT_EQ(editor->text(), QStringLiteral("not rtf 你"));

    // Plain text out; a folder that does not exist fails and writes nothing.
    const QString textFile = home().folder(QStringLiteral("data")) + QStringLiteral("out.txt");
    ASSERT_TRUE(editor->saveFile(textFile, scheduleText::rtfText));
    EXPECT_EQ(readFile(textFile), QByteArray("not rtf \xe4\xbd\xa0"));
    EXPECT_FALSE(editor->saveFile(home().path() + QStringLiteral("/no/such/dir/x.rtf")));
}

TEST_F(TextEditor, PopOutDisablesTheControlAndOpensTheEditorOnce) {
    QList<scheduleText*> opened;
    gShowPopUpEditor = [&](scheduleText* owner) {
        EXPECT_EQ(gPopUpOwner.data(), owner); // set before the editor loads
        opened << owner;
    };
    QSignalSpy popUps(editor, &scheduleText::popUp);
    QTest::mouseClick(editor->popUpLink(), Qt::RightButton);
    EXPECT_EQ(popUps.count(), 0);
    QTest::mouseClick(editor->popUpLink(), Qt::LeftButton);
    EXPECT_EQ(popUps.count(), 1);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], editor);
    EXPECT_EQ(gPopUpOwner.data(), editor);
    EXPECT_FALSE(editor->enabled());
    EXPECT_FALSE(editor->box()->isEnabled());
    EXPECT_FALSE(editor->popUpLink()->isEnabled());
    // and looks it: the link is no longer drawn in the link colour.
    const QPalette& lp = editor->popUpLink()->palette();
    EXPECT_NE(lp.color(QPalette::Disabled, QPalette::WindowText),
              lp.color(QPalette::Active, QPalette::WindowText));
    EXPECT_TRUE(editor->isEnabled()); // the control itself stays enabled

    // While a pop-up is open no other control pops out.
    auto* second = new scheduleText(window.get());
    second->setGeometry(0, 0, 600, 300);
    EXPECT_FALSE(second->popOut());
    EXPECT_TRUE(second->enabled());
    EXPECT_EQ(opened.size(), 1);

    // The pop-up editor closes: the owner is enabled again.
    editor->setEnabled(true);
    gPopUpOwner = nullptr;
    EXPECT_TRUE(editor->enabled());
    EXPECT_TRUE(editor->box()->isEnabled());
}

TEST_F(TextEditor, PopOutIsRefusedWithoutTheLinkOrTheEditor) {
    QSignalSpy popUps(editor, &scheduleText::popUp);
    EXPECT_FALSE(editor->popOut()); // nothing installed to open
    EXPECT_TRUE(editor->enabled());
    int opened = 0;
    gShowPopUpEditor = [&](scheduleText*) { ++opened; };
    editor->setShowPopUp(false);
    EXPECT_FALSE(editor->showPopUp());
    EXPECT_FALSE(editor->popUpLink()->isVisible());
    EXPECT_FALSE(editor->popOut());
    editor->setShowPopUp(true);
    editor->setEnabled(false);
    EXPECT_FALSE(editor->popOut());
    EXPECT_EQ(popUps.count(), 0);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(gPopUpOwner.data(), nullptr);

    // An editor that fails to open leaves the control as it was.
    editor->setEnabled(true);
    gShowPopUpEditor = [](scheduleText*) { throw std::runtime_error("no window"); };
    EXPECT_THROW(editor->popOut(), std::runtime_error);
    EXPECT_TRUE(editor->enabled());
    EXPECT_EQ(gPopUpOwner.data(), nullptr);
}

TEST_F(TextEditor, LayoutFollowsTheWidth) {
    editor->resize(700, 300);
    EXPECT_EQ(editor->popUpLink()->x(), 700 - 25);
    const QPoint wide = editor->popUpLink()->pos();
    editor->resize(400, 300); // narrower than 7935 twips: the link stays
    EXPECT_EQ(editor->popUpLink()->pos(), wide);
    EXPECT_EQ(editor->box()->geometry(), QRect(0, 32, 400, 268));
    editor->resize(400, 20); // shorter than 480 twips: the box keeps its size
    EXPECT_EQ(editor->box()->geometry(), QRect(0, 32, 400, 268));
}

TEST_F(TextEditor, FirstLineIsTheFirstDisplayedLine) {
    editor->setText(QString());
    EXPECT_EQ(editor->firstLine(), QString());

    editor->setText(QStringLiteral("title line\r\nbody"));
    EXPECT_EQ(editor->firstLine(), QStringLiteral("title line"));

    editor->setTextRTF(QStringLiteral("{\\rtf1 up to\\line the break}"));
    EXPECT_EQ(editor->firstLine(), QStringLiteral("up to"));

    // Wrapped: only what the first row shows.
    QString words;
    for (int i = 0; i < 60; ++i)
        words += QStringLiteral("word%1 ").arg(i);
    editor->resize(200, 300);
    editor->setText(words);
    const QString first = editor->firstLine();
    EXPECT_FALSE(first.isEmpty());
    EXPECT_LT(first.size(), words.size());
    EXPECT_TRUE(words.startsWith(first));

    // At most 256 bytes: 200 Chinese characters give 128.
    editor->resize(60000, 300);
    editor->setText(QString(200, QChar(0x4F60)));
    EXPECT_EQ(editor->firstLine().size(), 128);
    editor->setText(QString(300, u'a'));
    EXPECT_EQ(editor->firstLine().size(), 256);
}

#pragma once
#include <QTextEdit>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QComboBox;
class QToolButton;
class gLinkLabel;
class scheduleText;

// Opens the pop-up editor for `owner`; the main program installs it. While it
// is not installed the pop-out link does nothing.
extern std::function<void(scheduleText* owner)> gShowPopUpEditor;

// The colour dialog, replaceable for tests: given the colour shown, returns the
// chosen colour number, or nothing when the user cancelled.
extern std::function<std::optional<long>(long current, QWidget* parent)> gTextColorDialog;

// The editing box: everything that enters it from the clipboard or a drop goes
// through RTF or plain text, so it never holds what cannot be saved. When a
// host lets Tab move the focus on (tabChangesFocus), Ctrl+Tab types the tab.
class scheduleTextBox : public QTextEdit {
    Q_OBJECT
public:
    explicit scheduleTextBox(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};

// The rich-text editor: a formatting strip over the text, with the "弹出" link
// that opens the same text in the pop-up editor.
class scheduleText : public QWidget {
    Q_OBJECT
public:
    explicit scheduleText(QWidget* parent = nullptr);

    enum FileType { rtfRTF = 0, rtfText = 1 };

    // Paragraphs joined by "\r\n".
    QString text() const;
    void setText(const QString& plain);
    // The canonical RTF of the whole text; setting text that is not RTF sets it as plain text.
    QString textRTF() const;
    void setTextRTF(const QString& rtf);

    // False when the file cannot be read or, as RTF, is not RTF; the text then stays.
    bool loadFile(const QString& fileName, int fileType = rtfRTF);
    // Written whole or not at all; false on failure.
    bool saveFile(const QString& fileName, int fileType = rtfRTF) const;

    // The value last assigned; the strip and the box follow it, the control itself stays enabled.
    // Call it on the scheduleText (gPopUpOwner holds a QWidget): QWidget::setEnabled is another thing.
    bool enabled() const { return enabled_; }
    void setEnabled(bool on);

    bool showPopUp() const { return showPopUp_; }
    void setShowPopUp(bool on);

    // Line 0 of the text as it is laid out (wrapped), at most 256 bytes as the
    // system code page counts them.
    QString firstLine() const;

    // Opens the pop-up editor, as a left click on the link does; false when refused
    // (link hidden, control disabled, another pop-up open, no editor installed).
    bool popOut();

    // The parts, for hosts that place focus and for tests.
    QTextEdit* box() const { return box_; }
    QComboBox* fontNameList() const { return fontName_; }
    QComboBox* fontSizeList() const { return fontSize_; }
    QToolButton* tool(int index) const { return tools_[index]; } // in strip order, see kTool*
    gLinkLabel* popUpLink() const { return link_; }
    long faceColor() const { return faceColor_; }

    // Strip order of the tools.
    enum Tool { kCut, kCopy, kPaste, kBold, kItalic, kUnderline, kLeft, kCenter, kRight, kColor, kToolCount };

Q_SIGNALS:
    void popUp();
    void change();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void styleClicked(int which);
    void alignClicked(int which);
    void applyFontName(const QString& name);
    void applyFontSize(const QString& size);
    void chooseColor();
    void mirrorSelection();
    void setFaceColor(long color);

    QWidget* strip_ = nullptr;
    std::array<QToolButton*, kToolCount> tools_{};
    QComboBox* fontName_ = nullptr;
    QComboBox* fontSize_ = nullptr;
    gLinkLabel* link_ = nullptr;
    scheduleTextBox* box_ = nullptr;
    bool updating_ = false;
    bool enabled_ = true;
    bool showPopUp_ = true;
    long faceColor_ = 0;
};

// The document's default font: 宋体 9 pt, with CJK faces where 宋体 is missing.
QFont scheduleTextDefaultFont();

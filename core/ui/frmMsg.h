#pragma once
#include <QDialog>
#include <QPixmap>

class QLabel;
class QPushButton;
class gLinkLabel;

// The program's message box: kind icon, growing text, up to three buttons and a help link.
class frmMsg : public QDialog {
    Q_OBJECT
public:
    explicit frmMsg(QWidget* parent = nullptr);
    ~frmMsg() override;

    // The box of a message: kind icon, text, layout of a button set, help link shown or not.
    void setupMessage(int kind, const QString& text, int buttonSet, bool hasHelp);
    // The error box's layout.
    void setupError(const QString& text);

    // The button (1..3) a close or Escape stands for in a button set; 0 when it has none.
    static int cancelButtonOf(int buttonSet);

    // The press recorded by the buttons: 1..3 a button, 4 the help link, 0 none yet.
    int pressed() const { return pressed_; }

    QLabel* kindIcon;
    QLabel* textLabel;
    QWidget* buttonBar;
    QPushButton* firstButton;
    QPushButton* secondButton;
    QPushButton* thirdButton;
    gLinkLabel* helpLink;

    // Layout constants in twips (the designed form).
    static constexpr int kClientWidth = 5520;
    static constexpr int kClientHeight = 2055;
    static constexpr int kLabelHeight = 660;
    static constexpr int kBarHeight = 615;

protected:
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    void setLabelText(const QString& text);
    void press(int n);
    void layoutHeight(int clientPx);
    int cancel_ = 0; // button that a close or Escape stands for; 0: cannot be closed that way
    int pressed_ = 0;
    QPixmap background_;
};

#pragma once
// The wizard's one window: three chosen steps and Finish / Cancel.
#include <QDialog>

#include <memory>

class QLabel;
class QCheckBox;
class QPushButton;
class QFrame;
class QTranslator;

namespace setup {

class frmMain : public QDialog {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);

    // Runs the ticked steps, reports, and closes the window.
    void finishButton_Click();
    // Closes the window at once.
    void cancelButton_Click();
    // The program's exit status: 1 when a chosen step failed, else 0.
    int exitStatus() const;

    QLabel* titleLabel;
    QLabel* purposeLabel;
    QLabel* adviceLabel;
    QLabel* stepsCaption;
    QCheckBox* registerControlsCheck;
    QCheckBox* copyProgramCheck;
    QCheckBox* shortcutCheck;
    QPushButton* finishButton;
    QPushButton* cancelButton;
    QLabel* sidePicture;
    QFrame* separatorLine;

private:
    bool failed_ = false;
};

// Installs Qt's own Simplified Chinese texts from dir (Qt's translations folder
// by default) and returns the translator; null when they are not there, and the
// program goes on with Qt's English texts.
std::unique_ptr<QTranslator> loadQtChinese(const QString& dir);

// The steps' captions as they are on this system, and the texts the run may show.
namespace text {
inline const QString kRegisterControls = QStringLiteral("注册控件（在本系统上不需要）");
inline const QString kCopyProgram = QStringLiteral("复制程序到 ~/.local/lib/Rededera");
inline const QString kDone = QStringLiteral("快速安装完成。");
inline const QString kDoneWithFailures = QStringLiteral("快速安装结束，但有项目未能完成。");
inline const QString kNoProgram = QStringLiteral("未能找到 Rededera 的运行程序。");
} // namespace text

} // namespace setup

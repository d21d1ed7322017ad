// What the desktop sees of the program: Qt's standard dialogs in Chinese, the
// program's icon on every window and the desktop entry that groups them.
#include "shellFixture.h"

#include "platform/dialogs.h"
#include "shell/frmAbout.h"
#include "shell/frmMain.h"
#include "shell/gProgram.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <functional>
#include <memory>

namespace {

class Desktop : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        locale_ = QLocale();
    }
    void TearDown() override {
        // Leave the rest of the test program in Qt's own English and without the icon.
        for (QTranslator* t : qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly)) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
        QLocale::setDefault(locale_);
        QApplication::setWindowIcon(QIcon());
        QGuiApplication::setDesktopFileName(QString());
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, false);
        ShellTest::TearDown();
    }
    QLocale locale_;
};

// The cancel button's text of a standard dialog, shown as a user would see it.
QString cancelText(QDialog* d) {
    d->open();
    pumpEvents();
    QString text;
    for (QDialogButtonBox* box : d->findChildren<QDialogButtonBox*>())
        if (QAbstractButton* b = box->button(QDialogButtonBox::Cancel)) text = b->text();
    d->reject();
    return text;
}

struct DialogCase {
    const char* name;
    std::function<QDialog*()> make;
};

const DialogCase kDialogs[] = {
    {"folder browser",
     [] {
         auto* d = new QFileDialog(nullptr, QStringLiteral("选择用户配置文件存放的目录："));
         d->setOption(QFileDialog::DontUseNativeDialog);
         d->setFileMode(QFileDialog::Directory);
         return d;
     }},
    {"file open",
     [] {
         auto* d = new QFileDialog(nullptr, QStringLiteral("打开"));
         d->setOption(QFileDialog::DontUseNativeDialog);
         return d;
     }},
    {"colour",
     [] {
         auto* d = new QColorDialog;
         d->setOption(QColorDialog::DontUseNativeDialog);
         return d;
     }},
    {"print",
     [] {
         static QPrinter printer;
         return new QPrintDialog(&printer);
     }},
};

TEST_F(Desktop, StandardDialogsReadInChinese) {
    ASSERT_TRUE(gLoadQtTranslations()) << "Qt's Chinese translations are not installed";
    for (const DialogCase& c : kDialogs) {
        std::unique_ptr<QDialog> d(c.make());
        EXPECT_EQ(cancelText(d.get()), QStringLiteral("取消")) << c.name;
    }
    EXPECT_EQ(QLocale().language(), QLocale::Chinese);
}

TEST_F(Desktop, MissingTranslationsLeaveTheDialogsInEnglish) {
    QTemporaryDir empty;
    EXPECT_FALSE(gLoadQtTranslations(empty.path()));
    std::unique_ptr<QDialog> d(kDialogs[1].make());
    EXPECT_EQ(cancelText(d.get()).remove(QLatin1Char('&')), QStringLiteral("Cancel"));
}

TEST_F(Desktop, DialogsAreQtsOwnWhateverTheDesktop) {
    gSetUpDesktop();
    EXPECT_TRUE(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
    EXPECT_EQ(QLocale().language(), QLocale::Chinese);

    // The program's file dialog, opened for real: what comes up is Qt's own
    // dialog with its file list, which is then cancelled.
    dialogs::seam::setScripted(false);
    QString appeared;
    bool listShown = false;
    QTimer poll;
    int tries = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && ++tries < 500) return;
        poll.stop();
        if (!modal) return;
        appeared = QString::fromLatin1(modal->metaObject()->className());
        if (auto* d = qobject_cast<QFileDialog*>(modal)) {
            // Its file list, in list or detail view.
            for (const char* name : {"listView", "treeView"})
                if (auto* view = d->findChild<QAbstractItemView*>(QString::fromLatin1(name)))
                    listShown = listShown || (d->isVisible() && view->isVisible());
        }
        modal->close();
    });
    poll.start(10);
    const QString chosen = dialogs::getOpenFileName(nullptr, QStringLiteral("打开"), home().path(),
                                                    QStringLiteral("文本|*.txt"));
    poll.stop();
    EXPECT_EQ(appeared, QStringLiteral("QFileDialog"));
    EXPECT_TRUE(listShown);
    EXPECT_TRUE(chosen.isEmpty());
}

TEST_F(Desktop, EveryWindowCarriesTheProgramIcon) {
    gSetUpDesktop();
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("rededera"));
    const QIcon icon = QApplication::windowIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixmap(32, 32).toImage(), gProgramIcon().pixmap(32, 32).toImage());
    frmMain* m = loadMain();
    m->mHAbout->trigger();
    QWidget* about = forms::find(Form::frmAbout);
    ASSERT_NE(about, nullptr);
    for (QWidget* w : {static_cast<QWidget*>(m), about})
        EXPECT_EQ(w->windowIcon().pixmap(32, 32).toImage(), icon.pixmap(32, 32).toImage())
            << w->objectName().toStdString();
}

// Qt's dialogs would guess at a title bar and open 40 pixels high where no
// window has a frame (no window manager): they open centred on their window.
// Run once as it is and once in a child whose windows get no frame at all.
TEST_F(Desktop, QtsDialogsOpenCentredOnTheirWindow) {
    gSetUpDesktop();
    QWidget owner;
    owner.setGeometry(10, 20, 600, 450);
    owner.show();
    dialogs::seam::setScripted(false);
    QRect placed;
    QTimer poll;
    int tries = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if ((!modal || !modal->isVisible()) && ++tries < 500) return;
        poll.stop();
        if (!modal) return;
        placed = modal->frameGeometry();
        modal->close();
    });
    poll.start(10);
    dialogs::getOpenFileName(&owner, QStringLiteral("打开"), home().path(), QStringLiteral("文本|*.txt"));
    poll.stop();
    ASSERT_TRUE(placed.isValid());
    EXPECT_TRUE(sameCentre(placed, owner.frameGeometry()))
        << placed.x() << "," << placed.y() << " " << placed.width() << "x" << placed.height();

    if (inFramelessChild()) return;
    const QString failed =
        reRunFrameless(QStringLiteral("Desktop.QtsDialogsOpenCentredOnTheirWindow"), home().path());
    EXPECT_TRUE(failed.isEmpty()) << failed.toStdString();
}

// Without a window manager nothing gives a window the focus: the keys typed
// reach the box under the pointer, but Return and Escape did nothing. A window
// that comes up takes the focus itself. Runs on a virtual X server without one.
TEST_F(Desktop, WithoutAWindowManagerAWindowThatComesUpTakesTheKeys) {
    if (!inXChild()) {
        QString noServer;
        const QString failed = reRunUnderX(
            QStringLiteral("Desktop.WithoutAWindowManagerAWindowThatComesUpTakesTheKeys"), &noServer);
        if (!noServer.isEmpty()) GTEST_SKIP() << noServer.toStdString();
        EXPECT_TRUE(failed.isEmpty()) << failed.toStdString();
        return;
    }
    gSetUpDesktop();
    auto* about = forms::load<frmAbout>(Form::frmAbout);
    ASSERT_NE(about, nullptr);
    about->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == about; }, 3000));
    QTest::keyClick(about->windowHandle(), Qt::Key_Return);
    pumpEvents(50);
    EXPECT_FALSE(forms::isLoaded(Form::frmAbout));
}

} // namespace

// Pictures of the main window and the About box, checked where their parts are
// known. When REDEDERA_SCREENSHOT names a file the main window's picture is also
// saved there for the development notes (and the About box's beside it), e.g.:
//   REDEDERA_SCREENSHOT=/tmp/frmMain.png QT_QPA_PLATFORM=xcb xvfb-run -a \
//       build/tests/shell/test_shell --gtest_filter='MainScreenshot*'
#include "shellFixture.h"

#include "core/model/gState.h"
#include "shell/frmAbout.h"
#include "shell/frmMain.h"
#include "shell/gProgram.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSet>

#include <cstdlib>

namespace {

// The window as it is drawn: what the screen shows under X, else the widget's own grab.
QImage picture(QWidget* w) {
    QPixmap shot;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        const QRect frame = w->frameGeometry();
        shot = w->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    } else {
        shot = w->grab();
    }
    return shot.toImage().convertToFormat(QImage::Format_RGB32);
}

// Where the widget's own top left corner lies in its window's picture.
QPoint origin(const QWidget* window, const QWidget* w) {
    const QPoint frame = QGuiApplication::platformName() == QLatin1String("xcb")
                             ? window->geometry().topLeft() - window->frameGeometry().topLeft()
                             : QPoint();
    return frame + w->mapTo(window, QPoint(0, 0));
}

bool near(QRgb a, QRgb b, int tolerance = 6) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

std::string hex(QRgb c) {
    return QStringLiteral("#%1").arg(c & 0xFFFFFF, 6, 16, QLatin1Char('0')).toStdString();
}

// The number of different colours in a rectangle of the picture.
int colours(const QImage& img, const QRect& r) {
    QSet<QRgb> seen;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            seen.insert(img.pixel(x, y));
    return int(seen.size());
}

// Whether any pixel of the rectangle is near the colour.
bool shows(const QImage& img, const QRect& r, QRgb colour, int tolerance = 40) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (near(img.pixel(x, y), colour, tolerance)) return true;
    return false;
}

void saveIfAsked(const QImage& img, const QString& name) {
    const QString out = qEnvironmentVariable("REDEDERA_SCREENSHOT");
    if (out.isEmpty()) return;
    const QString file = name.isEmpty() ? out : QFileInfo(out).absolutePath() + QLatin1Char('/') + name;
    EXPECT_TRUE(img.save(file)) << file.toStdString();
}

class MainScreenshot : public AccountShellTest {};

TEST_F(MainScreenshot, TheMainWindowShowsItsBarsAndPage) {
    // The program's own forms where they exist, the stand-ins elsewhere, over a real account.
    makeAccount();
    gRegisterForms();
    frmMain* m = loadMain();
    ASSERT_NE(m, nullptr);
    m->move(40, 40);
    m->raise();
    m->activateWindow();
    pumpEvents(200);
    const QImage shot = picture(m);
    saveIfAsked(shot, {});
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), QGuiApplication::platformName() == QLatin1String("xcb") ? m->frameGeometry().size()
                                                                                   : m->size());

    const QPoint o = origin(m, m->centralWidget());
    const QSize inner = m->centralWidget()->size();
    EXPECT_EQ(inner, QSize(780, 580));
    // The top bar, 60 pixels high: light blue at its top edge, dark at its bottom,
    // where no button stands (between the last button and the version).
    const int x = 540;
    EXPECT_TRUE(near(shot.pixel(o + QPoint(x, 0)), qRgb(0x5b, 0xa7, 0xec), 12))
        << hex(shot.pixel(o + QPoint(x, 0)));
    EXPECT_TRUE(near(shot.pixel(o + QPoint(x, 59)), qRgb(0x2e, 0x6d, 0xb7), 12))
        << hex(shot.pixel(o + QPoint(x, 59)));
    // The page area's pale card around the page, just right of the side bar.
    EXPECT_EQ(shot.pixel(o + QPoint(29, 61)), qRgb(0xea, 0xf2, 0xfb)) << hex(shot.pixel(o + QPoint(29, 61)));
    // The home page covers the page rectangle, and it is no empty sheet.
    const QRect page =
        m->pageRect().translated(o + m->centralWidget()->findChild<QWidget*>("PageArea")->pos());
    EXPECT_GT(colours(shot, page), 20);
    // The white captions under the buttons and the version stand out on the bar.
    const QLabel* caption = m->buttonCaptions[pageNumber(Page::Timetable)];
    EXPECT_TRUE(shows(shot, QRect(origin(m, caption), caption->size()), qRgb(255, 255, 255)));
    EXPECT_TRUE(shows(shot, QRect(origin(m, m->versionLabel), m->versionLabel->size()), qRgb(255, 255, 255)));
}

TEST_F(MainScreenshot, TheAboutBoxShowsItsPictureAndControls) {
    frmMain* m = loadMain();
    m->mHAbout->trigger();
    auto* about = forms::find<frmAbout>(Form::frmAbout);
    ASSERT_NE(about, nullptr);
    pumpEvents(200);
    const QImage shot = picture(about);
    saveIfAsked(shot, QStringLiteral("frmAbout.png"));
    ASSERT_FALSE(shot.isNull());
    const QPoint o = origin(about, about);
    EXPECT_EQ(about->size(), QSize(420, 300));
    // The welcome picture's pale sky at the top left, white at the bottom.
    EXPECT_TRUE(near(shot.pixel(o + QPoint(2, 2)), qRgb(0xdc, 0xeb, 0xfb), 12))
        << hex(shot.pixel(o + QPoint(2, 2)));
    // The name in blue, the button and the check box drawn with their captions.
    EXPECT_TRUE(shows(shot, QRect(origin(about, about->nameLabel), about->nameLabel->size()),
                      qRgb(0x2f, 0x6f, 0xb8)));
    EXPECT_GT(colours(shot, QRect(origin(about, about->okButton), about->okButton->size())), 8);
    EXPECT_GT(colours(shot, QRect(origin(about, about->showAtStartCheck), about->showAtStartCheck->size())),
              8);
}

} // namespace

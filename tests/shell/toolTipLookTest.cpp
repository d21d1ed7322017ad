// A tool tip looks the same whichever control raises it: a style sheet a control
// carries for itself must not reach the tips Qt raises for it.
#include "shellFixture.h"

#include "core/model/clsSchedule.h"
#include "core/model/gClock.h"
#include "core/model/gPages.h"
#include "core/model/gState.h"
#include "core/model/gWeek.h"
#include "shell/frmMain.h"
#include "shell/gProgram.h"

#include <QApplication>
#include <QImage>
#include <QToolTip>

namespace {

QWidget* shownTip() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("qtooltip_label") && w->isVisible()) return w;
    return nullptr;
}

// The tip Qt shows for `w`, as drawn.
QImage tipOf(QWidget* w) {
    QToolTip::showText(w->mapToGlobal(QPoint(1, 1)), QStringLiteral("提示 Tip"), w);
    QWidget* tip = shownTip();
    if (!tip) return {};
    const QImage shot = tip->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QToolTip::hideText();
    return shot;
}

class ToolTipLook : public AccountShellTest {
protected:
    void SetUp() override {
        AccountShellTest::SetUp();
        makeAccount();
        gClockSeam::set(QDateTime(QDate(2026, 3, 18), QTime(7, 0)));
        gTimetable.gGetSchedule();
        gBuildTodayCourses();
        gRegisterForms();
    }
    void TearDown() override {
        QToolTip::hideText();
        gTimetable = clsSchedule();
        gClockSeam::reset();
        AccountShellTest::TearDown();
    }
};

TEST_F(ToolTipLook, EveryStyledControlRaisesAnOrdinaryTip) {
    frmMain* m = loadMain();
    ASSERT_NE(m, nullptr);
    // Every page and window, so that each has built its controls.
    for (Page p : {Page::Home, Page::Timetable, Page::Writing, Page::Review, Page::Search, Page::Account,
                   Page::Settings})
        ASSERT_TRUE(m->gChangeFrame(p));
    for (gFormName name : {Form::frmLogin, Form::frmCreateAccount, Form::frmLock, Form::frmKeyExport,
                           Form::frmAbout, Form::frmSuspend, Form::frmScheRemind, Form::frmScheReport})
        ASSERT_NE(forms::load(name), nullptr) << name.toString().toStdString();

    // An ordinary tip: raised for a control whose style sheet styles only itself.
    QWidget probe;
    probe.setObjectName(QStringLiteral("probe"));
    probe.setStyleSheet(QStringLiteral("QWidget#probe { color: red; }"));
    probe.show();
    const QImage ordinary = tipOf(&probe);
    ASSERT_FALSE(ordinary.isNull());

    int styled = 0;
    for (QWidget* w : QApplication::allWidgets()) {
        if (w == &probe || w->styleSheet().isEmpty() || w->objectName() == QLatin1String("qtooltip_label"))
            continue;
        ++styled;
        const QImage tip = tipOf(w);
        EXPECT_TRUE(tip == ordinary) << w->metaObject()->className() << " " << w->objectName().toStdString()
                                     << ": " << w->styleSheet().toStdString();
    }
    // The cards' captions, the settings page, the About box, the top bar and the account page at least.
    EXPECT_GE(styled, 5);
}

} // namespace

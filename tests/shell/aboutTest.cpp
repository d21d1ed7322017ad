// The About box and its "show at start" setting.
#include "shellFixture.h"

#include "core/model/gState.h"
#include "platform/settingsStore.h"
#include "shell/frmAbout.h"
#include "shell/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

const QString kApp = QStringLiteral("Rededera");
const QString kSection = QStringLiteral("Option");
const QString kKey = QStringLiteral("ShowAbout");

class AboutBox : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        settings::remove(kApp, kSection, kKey);
    }
    frmAbout* about() const { return forms::find<frmAbout>(Form::frmAbout); }
    QString stored() const { return settings::get(kApp, kSection, kKey, QStringLiteral("absent")); }
};

TEST_F(AboutBox, ShownAtTheFirstStartWithItsBoxTicked) {
    loadMain();
    frmAbout* a = about();
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->isVisible());
    EXPECT_EQ(a->windowTitle(), QStringLiteral("关于与赞助"));
    EXPECT_EQ(a->nameLabel->text(), QStringLiteral("Rededera"));
    EXPECT_EQ(a->versionLabel->text(), QStringLiteral("版本:%1.%2.%3")
                                           .arg(REDEDERA_VERSION_MAJOR)
                                           .arg(REDEDERA_VERSION_MINOR)
                                           .arg(REDEDERA_VERSION_PATCH));
    EXPECT_EQ(a->showAtStartCheck->text(), QStringLiteral("启动时显示此窗口"));
    EXPECT_EQ(a->okButton->text(), QStringLiteral("确定"));
    EXPECT_TRUE(a->showAtStartCheck->isChecked());
    EXPECT_TRUE(a->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(a->isModal());
}

TEST_F(AboutBox, ClearingTheBoxAndOkStopsItAtTheNextStart) {
    loadMain();
    ASSERT_NE(about(), nullptr);
    about()->showAtStartCheck->setChecked(false);
    about()->okButton->click();
    EXPECT_EQ(about(), nullptr);
    EXPECT_EQ(stored(), QStringLiteral("0"));
    forms::unloadAllNow();
    loadMain();
    EXPECT_EQ(about(), nullptr);
    // The menus still show it, with the box clear.
    main_->mHAbout->trigger();
    ASSERT_NE(about(), nullptr);
    EXPECT_FALSE(about()->showAtStartCheck->isChecked());
    about()->showAtStartCheck->setChecked(true);
    about()->okButton->click();
    EXPECT_EQ(stored(), QStringLiteral("1"));
}

TEST_F(AboutBox, ClosingAnyOtherWayKeepsTheSetting) {
    loadMain();
    ASSERT_NE(about(), nullptr);
    about()->showAtStartCheck->setChecked(false);
    about()->close();
    EXPECT_EQ(about(), nullptr);
    EXPECT_EQ(stored(), QStringLiteral("absent"));
}

TEST_F(AboutBox, ExitUnloadsIt) {
    frmMain* m = loadMain();
    ASSERT_NE(about(), nullptr);
    m->mHExit->trigger();
    EXPECT_EQ(about(), nullptr);
}

} // namespace

namespace {

// The About box answered from the keyboard, as it comes up at the first start.
class AboutBoxKeys : public AboutBox {
protected:
    frmAbout* openedAtStart() {
        loadMain();
        frmAbout* a = about();
        if (!a) return nullptr;
        EXPECT_TRUE(QTest::qWaitForWindowActive(a));
        return a;
    }
    void key(frmAbout* a, Qt::Key k) { QTest::keyClick(a->windowHandle(), k); }
    QImage okShot(frmAbout* a) { return a->okButton->grab().toImage(); }
};

TEST_F(AboutBoxKeys, OpensWithTheFocusShownOnOk) {
    frmAbout* a = openedAtStart();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(QApplication::activeWindow(), a);
    EXPECT_TRUE(a->okButton->hasFocus());
    const QImage focused = okShot(a);
    key(a, Qt::Key_Tab);
    EXPECT_TRUE(a->showAtStartCheck->hasFocus());
    // The mark on 确定 is there before any Tab, and goes with the focus.
    EXPECT_NE(okShot(a), focused);
}

TEST_F(AboutBoxKeys, ReturnOrEnterSaveAndCloseEscapeOnlyCloses) {
    struct Case {
        const char* name;
        bool toCheckBox; // Tab to the check box and clear it with Space first
        Qt::Key key;
        QString stored;
    };
    const Case cases[] = {
        {"Return on OK", false, Qt::Key_Return, QStringLiteral("1")},
        {"Enter on OK", false, Qt::Key_Enter, QStringLiteral("1")},
        {"Return on the check box", true, Qt::Key_Return, QStringLiteral("0")},
        {"Escape", true, Qt::Key_Escape, QStringLiteral("absent")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings::remove(kApp, kSection, kKey);
        frmAbout* a = openedAtStart();
        ASSERT_NE(a, nullptr);
        if (c.toCheckBox) {
            key(a, Qt::Key_Tab);
            key(a, Qt::Key_Space);
            EXPECT_FALSE(a->showAtStartCheck->isChecked());
        }
        key(a, c.key);
        pumpEvents();
        EXPECT_EQ(about(), nullptr);
        EXPECT_EQ(stored(), c.stored);
        // The keys go to the main window again.
        EXPECT_TRUE(QTest::qWaitForWindowActive(main_));
        forms::unloadAllNow();
    }
}

} // namespace

// The message box, the error box and the help window, driven for real offscreen.
#include "core/ui/frmHelp.h"
#include "core/ui/frmMsg.h"
#include "core/base/gError.h"
#include "core/ui/gForms.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gResIds.h"
#include "core/model/gState.h"
#include "core/model/gStrings.h"
#include "core/ui/gTwips.h"
#include "platform/settingsStore.h"
#include "testSupport.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {

// Runs `act` on the next modal frmMsg once it is on screen.
void onNextBox(std::function<void(frmMsg*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* box = qobject_cast<frmMsg*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act(box);
    });
    timer->start();
}

class MsgBoxReal : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        gMsgBoxSeam::setScripted(false);
    }
    void TearDown() override {
        gMsgBoxSeam::setScripted(true);
        HomeTest::TearDown();
    }
};

struct SetCase {
    int set;
    QStringList captions; // visible buttons, first to third
    QList<int> lefts;     // twips
    QList<quint8> results;
    int enterPress; // which button Enter presses
    quint8 escape;  // result of Escape; 0: Escape does nothing
};

namespace S = gButtonSet;
namespace R = gMsgResult;

// clang-format off
const SetCase kSets[] = {
    {S::Close, {"关闭"}, {4320}, {R::OK}, 1, R::OK},
    {S::OkCancel, {"确定", "取消"}, {3120, 4320}, {R::OK, R::Cancel}, 1, R::Cancel},
    {S::AbortRetryIgnore, {"中止(&A)", "重试(&R)", "忽略(&I)"}, {1920, 3120, 4320}, {R::Abort, R::Retry, R::Ignore}, 1, 0},
    {S::YesNoCancel, {"是(&Y)", "否(&N)", "取消"}, {1920, 3120, 4320}, {R::Yes, R::No, R::Cancel}, 1, R::Cancel},
    {S::YesNo, {"是(&Y)", "否(&N)"}, {3120, 4320}, {R::Yes, R::No}, 1, R::No},
    {S::RetryCancel, {"重试(&R)", "取消"}, {3120, 4320}, {R::Retry, R::Cancel}, 1, R::Cancel},
    {S::ImportRecreateCancel, {"导入密匙", "重新创建", "取消"}, {1920, 3120, 4320}, {R::First, R::Second, R::Third}, 1, R::Third},
    {S::RecreateLocateClose, {"重新创建", "指定位置", "关闭"}, {1920, 3120, 4320}, {R::First, R::Second, R::Third}, 3, R::Third},
    {S::LocateClose, {"指定位置", "关闭"}, {3120, 4320}, {R::Second, R::Third}, 2, R::Third},
};
// clang-format on

QList<QPushButton*> buttonsOf(frmMsg* box) {
    return {box->firstButton, box->secondButton, box->thirdButton};
}

} // namespace

TEST_F(MsgBoxReal, EveryButtonSetShowsItsButtonsAndReturnsTheirResults) {
    for (const SetCase& c : kSets) {
        for (int b = 0; b < c.captions.size(); ++b) {
            onNextBox([&, b](frmMsg* box) {
                const auto buttons = buttonsOf(box);
                for (int i = 0; i < 3; ++i) {
                    EXPECT_EQ(buttons[i]->isVisible(), i < c.captions.size()) << "set " << c.set;
                    if (i < c.captions.size()) {
                        EXPECT_EQ(buttons[i]->text(), c.captions[i]) << "set " << c.set;
                        EXPECT_EQ(buttons[i]->x(), gPx(c.lefts[i])) << "set " << c.set;
                    }
                }
                EXPECT_EQ(box->windowTitle(), "Rededera");
                EXPECT_FALSE(box->helpLink->isVisible()) << "message 104 has no help text";
                EXPECT_TRUE(gMessageOpen);
                QTest::mouseClick(buttons[b], Qt::LeftButton);
            });
            EXPECT_EQ(gMsgBox(Msg::KeepOneAtLeast, c.set), c.results[b])
                << "set " << c.set << " button " << b;
            EXPECT_FALSE(gMessageOpen);
        }
    }
}

// A message opens over the window it is about (the active one), whatever the
// desktop; with none of the program's windows shown, in the middle of the screen.
TEST_F(MsgBoxReal, OpensCentredOnTheWindowItBelongsTo) {
    QWidget owner;
    owner.setGeometry(30, 40, 420, 300);
    owner.show();
    QApplication::setActiveWindow(&owner);
    QRect placed;
    onNextBox([&](frmMsg* box) {
        placed = box->frameGeometry();
        box->firstButton->click();
    });
    gMsgBox(Msg::KeepOneAtLeast, gButtonSet::Close);
    EXPECT_TRUE(sameCentre(placed, owner.frameGeometry())) << placed.x() << "," << placed.y();

    owner.hide();
    onNextBox([&](frmMsg* box) {
        placed = box->frameGeometry();
        box->firstButton->click();
    });
    gShowErrorBox(gRuntimeError(5, QStringLiteral("无效的过程调用")), true);
    EXPECT_TRUE(sameCentre(placed, QGuiApplication::primaryScreen()->availableGeometry()))
        << placed.x() << "," << placed.y();
}

TEST_F(MsgBoxReal, EnterPressesTheDefaultAndEscapeOrCloseTheCancelButton) {
    for (const SetCase& c : kSets) {
        onNextBox([](frmMsg* box) { QTest::keyClick(box, Qt::Key_Return); });
        EXPECT_EQ(gMsgBox(Msg::KeepOneAtLeast, c.set), c.results[c.enterPress - 1]) << "Enter, set " << c.set;

        onNextBox([&](frmMsg* box) {
            QTest::keyClick(box, Qt::Key_Escape);
            if (c.escape == 0) {
                // Set 2 has no cancel button: the box stays until a button is pressed.
                pumpEvents(20);
                EXPECT_TRUE(box->isVisible());
                box->secondButton->click();
            }
        });
        EXPECT_EQ(gMsgBox(Msg::KeepOneAtLeast, c.set), c.escape == 0 ? c.results[1] : c.escape)
            << "Escape, set " << c.set;

        onNextBox([&](frmMsg* box) {
            box->close();
            if (c.escape == 0) {
                pumpEvents(20);
                EXPECT_TRUE(box->isVisible());
                box->firstButton->click();
            }
        });
        EXPECT_EQ(gMsgBox(Msg::KeepOneAtLeast, c.set), c.escape == 0 ? c.results[0] : c.escape)
            << "close, set " << c.set;
    }
}

TEST_F(MsgBoxReal, EnterPressesTheButtonThatHasTheFocus) {
    // Moving the focus to another button makes Enter press that one, not the default.
    const struct {
        int set, tabs;
        quint8 result;
    } cases[] = {{gButtonSet::YesNoCancel, 1, gMsgResult::No},
                 {gButtonSet::YesNoCancel, 2, gMsgResult::Cancel},
                 {gButtonSet::OkCancel, 1, gMsgResult::Cancel},
                 {gButtonSet::RecreateLocateClose, 1, gMsgResult::First}};
    for (const auto& c : cases) {
        onNextBox([&](frmMsg* box) {
            // The keys go where the box's focus is, whether or not the window is active yet.
            for (int i = 0; i <= c.tabs; ++i) {
                QWidget* focus = box->focusWidget();
                if (!focus) {
                    ADD_FAILURE() << "no focus in the box";
                    box->firstButton->click();
                    return;
                }
                QTest::keyClick(focus, i < c.tabs ? Qt::Key_Tab : Qt::Key_Return);
            }
        });
        EXPECT_EQ(gMsgBox(Msg::EntryChangedDiscard, c.set), c.result)
            << "set " << c.set << " tabs " << c.tabs;
    }
}

TEST_F(MsgBoxReal, ArgumentsAreSubstitutedAndALongTextGrowsTheBox) {
    onNextBox([](frmMsg* box) {
        EXPECT_EQ(box->textLabel->text(), "/home/me/日记.eky 已经存在。要将其替换吗？");
        EXPECT_EQ(box->height(), gPx(frmMsg::kClientHeight));
        box->firstButton->click();
    });
    gMsgBox(Msg::ConfirmReplaceFile, gButtonSet::YesNo, "/home/me/日记.eky");

    const QString longName = QString("很长的文件名").repeated(40);
    onNextBox([](frmMsg* box) {
        const int labelH = box->textLabel->height();
        EXPECT_GT(labelH, gPx(660));
        // Form height = label height + 1875 twips, the title bar's 480 of them outside the client area.
        EXPECT_EQ(box->height(), labelH + gPx(1875 - 480));
        EXPECT_EQ(box->buttonBar->geometry().bottom(), box->height() - 1);
        box->firstButton->click();
    });
    gMsgBox(Msg::ConfirmReplaceFile, gButtonSet::YesNo, longName);
}

TEST_F(MsgBoxReal, TheHelpLinkShowsTheHelpTextThenTheSameBoxAgain) {
    int boxes = 0;
    std::function<void(frmMsg*)> first = [&](frmMsg* box) {
        ++boxes;
        EXPECT_TRUE(box->helpLink->isVisible());
        EXPECT_EQ(box->helpLink->text(), "帮助");
        // The help window opens modally; close it once it shows, then answer the box that comes back.
        auto* t = new QTimer;
        t->setInterval(5);
        QObject::connect(t, &QTimer::timeout, [t, &boxes] {
            auto* help = qobject_cast<frmHelp*>(QApplication::activeModalWidget());
            if (!help || !help->isVisible()) return;
            t->stop();
            t->deleteLater();
            EXPECT_EQ(help->windowTitle(), "Rededera 帮助");
            EXPECT_TRUE(help->label(0)->text().startsWith("帐户配置文件错误，Rededera 无法启动。"));
            // A long help text grows its window: form height = label height + 1815 twips.
            EXPECT_GT(help->label(0)->height(), gPx(720));
            EXPECT_EQ(help->height(), help->label(0)->height() + gPx(1815 - 480));
            EXPECT_TRUE(gMessageOpen);
            onNextBox([&boxes](frmMsg* again) {
                ++boxes;
                EXPECT_EQ(again->firstButton->text(), "重新创建");
                EXPECT_TRUE(again->secondButton->isVisible());
                again->secondButton->click();
            });
            help->closeButton->click();
        });
        t->start();
        QTest::mouseClick(box->helpLink, Qt::LeftButton);
    };
    onNextBox(first);
    EXPECT_EQ(gMsgBox(Msg::ProfileBroken, gButtonSet::RecreateLocateClose), gMsgResult::Second);
    EXPECT_EQ(boxes, 2);
    EXPECT_FALSE(gMessageOpen);
}

TEST_F(MsgBoxReal, OnlyTheLeftButtonActsOnTheHelpLink) {
    onNextBox([](frmMsg* box) {
        QTest::mouseClick(box->helpLink, Qt::RightButton);
        pumpEvents(10);
        EXPECT_TRUE(box->isVisible());
        box->secondButton->click();
    });
    EXPECT_EQ(gMsgBox(Msg::DraftFound, gButtonSet::YesNo), gMsgResult::No);
}

TEST_F(MsgBoxReal, ABoxStartsWithNoPressAndNestedBoxesKeepMessageOpen) {
    // An inner box (a timer's message) closing must not clear the flag of the outer one.
    onNextBox([](frmMsg* outer) {
        onNextBox([](frmMsg* inner) { inner->firstButton->click(); });
        EXPECT_EQ(gMsgBox(Msg::DayHasEntry, gButtonSet::Close), gMsgResult::OK);
        EXPECT_TRUE(gMessageOpen);
        outer->secondButton->click();
    });
    EXPECT_EQ(gMsgBox(Msg::ConfirmDeleteEntry, gButtonSet::OkCancel), gMsgResult::Cancel);
    EXPECT_FALSE(gMessageOpen);
}

TEST_F(MsgBoxReal, TheErrorBoxShowsTheNumberAndTextAndContinues) {
    onNextBox([](frmMsg* box) {
        EXPECT_EQ(box->textLabel->text(), "发生错误（53）：\n文件未找到");
        EXPECT_EQ(box->firstButton->text(), "关闭");
        EXPECT_EQ(box->firstButton->x(), gPx(4320));
        EXPECT_FALSE(box->secondButton->isVisible());
        EXPECT_FALSE(box->thirdButton->isVisible());
        EXPECT_TRUE(box->helpLink->isVisible());
        QTest::keyClick(box, Qt::Key_Escape);
    });
    bool reached = false;
    try {
        gRaise(gErr::FileNotFound);
    } catch (...) {
        gShowErrorBox(true);
        reached = true;
    }
    EXPECT_TRUE(reached);
}

TEST(MsgBoxEnd, AnErrorBoxThatDoesNotContinueEndsTheProgramAfterSyncingSettings) {
    // The child re-runs this test from the top: it must find the parent's folder, not make its own.
    static QTemporaryDir dir;
    if (qEnvironmentVariableIsEmpty("MSGBOX_END_CONFIG"))
        qputenv("MSGBOX_END_CONFIG", dir.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", qgetenv("MSGBOX_END_CONFIG"));
    EXPECT_EXIT(
        {
            settings::save("Rededera", "Option", "PathOption", "3");
            try {
                gRaise(gErr::PathNotFound);
            } catch (...) {
                gShowErrorBox(false);
            }
            std::fprintf(stderr, "still running\n");
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(settings::get("Rededera", "Option", "PathOption"), "3");
}

TEST(MsgBoxScripted, TheHelpLinkRepeatsTheSameMessage) {
    TempHome home;
    gMsgBoxSeam::pushAnswers({gMsgBoxSeam::HelpLink, gMsgResult::First});
    EXPECT_EQ(gMsgBox(Msg::ProfileBroken, gButtonSet::RecreateLocateClose), gMsgResult::First);
    EXPECT_EQ(gMsgBoxSeam::shownIds(), (QList<int>{Msg::ProfileBroken, Msg::ProfileBroken}));
    EXPECT_EQ(gMsgBoxSeam::helpShown(), (QList<int>{Msg::ProfileBroken}));
}

TEST(MsgBoxRules, Substitution) {
    const QStringList args{"A", "B", "", "", "", "", "", "", "九"};
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"%1 已经存在", "A 已经存在"},
        {"%2%1", "BA"},
        {"%9", "九"},
        {"%%", "%"},
        {"100%", "100%"},
        {"%x%1", "%A"},
        {"%0", "%"},
        {"%3!", "!"},
        {"no args", "no args"},
        {"", ""},
        {"%%1", "%1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gSubstitute(QString::fromUtf8(c.in), args), QString::fromUtf8(c.out)) << c.in;
    // An argument is put in as it stands: a "%" in a file name is not substituted again.
    EXPECT_EQ(gSubstitute("%1 已经存在", {"50%2 %%.eky", "B"}), "50%2 %%.eky 已经存在");
}

TEST(MsgBoxRules, PressesMapToResults) {
    // Third button of set 3 is "取消" like the other cancel buttons; a press outside the set is 0.
    EXPECT_EQ(gMsgResultOf(gButtonSet::YesNoCancel, 3), gMsgResult::Cancel);
    EXPECT_EQ(gMsgResultOf(gButtonSet::Close, 2), gMsgResult::None);
    EXPECT_EQ(gMsgResultOf(gButtonSet::YesNo, 0), gMsgResult::None);
    EXPECT_EQ(gMsgResultOf(gButtonSet::RecreateLocateClose, 1), gMsgResult::First);
    EXPECT_EQ(gMsgResultOf(gButtonSet::LocateClose, 1), gMsgResult::Second);
    EXPECT_EQ(gMsgResultOf(gButtonSet::LocateClose, 3), gMsgResult::None);
    EXPECT_EQ(gMsgResultOf(gButtonSet::LocateClose + 1, 1), gMsgResult::None);
}

class HelpWindow : public HomeTest {};

TEST_F(HelpWindow, TheTopicBrowserShowsATopicAndComesBack) {
    gShowHelp(gHelpTopics);
    auto* help = forms::find<frmHelp>(Form::frmHelp);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(help->isModal());
    EXPECT_EQ(help->label(0)->text(), gLoadResString(Res::HelpHeading));
    EXPECT_EQ(help->height(), gPx(3500 - 480));
    // The first link 840 twips down, or right under the heading when its line is taller.
    const int headingBottom = help->label(0)->geometry().bottom();
    const int firstTop = help->label(Res::FirstHelpTopic)->y();
    EXPECT_GT(firstTop, headingBottom);
    EXPECT_TRUE(firstTop == gPx(840) || firstTop == headingBottom + 1) << firstTop;
    EXPECT_GE(firstTop, gPx(840));
    for (int i = Res::FirstHelpTopic; i <= Res::LastHelpTopic; ++i) {
        ASSERT_NE(help->label(i), nullptr);
        EXPECT_TRUE(help->label(i)->isVisible());
        if (i == Res::FirstHelpTopic) continue;
        // Each a step (240 twips) below the one before, never overlapping it.
        EXPECT_EQ(help->label(i)->y() - help->label(i - 1)->y(), gPx(240));
        EXPECT_FALSE(help->label(i)->geometry().intersects(help->label(i - 1)->geometry()));
    }
    EXPECT_FALSE(help->backLink->isVisible());

    QTest::mouseClick(help->label(703), Qt::LeftButton);
    EXPECT_TRUE(help->label(0)->text().startsWith("课程："));
    for (int i = Res::FirstHelpTopic; i <= Res::LastHelpTopic; ++i)
        EXPECT_FALSE(help->label(i)->isVisible());
    EXPECT_TRUE(help->backLink->isVisible());
    EXPECT_EQ(help->backLink->text(), "返回");

    QTest::mouseClick(help->backLink, Qt::LeftButton);
    EXPECT_EQ(help->label(0)->text(), gLoadResString(Res::HelpHeading));
    for (int i = 702; i <= 706; ++i)
        EXPECT_TRUE(help->label(i)->isVisible());
    EXPECT_EQ(help->height(), gPx(3500 - 480));
    EXPECT_FALSE(help->backLink->isVisible());

    // Opening it again gives a fresh window; its close button unloads it.
    gShowHelp(gHelpTopics);
    pumpEvents();
    auto* again = forms::find<frmHelp>(Form::frmHelp);
    ASSERT_NE(again, nullptr);
    again->closeButton->click();
    EXPECT_FALSE(forms::isLoaded(Form::frmHelp));
}

TEST_F(HelpWindow, EveryTopicTextFitsItsWindow) {
    gShowHelp(gHelpTopics);
    auto* help = forms::find<frmHelp>(Form::frmHelp);
    ASSERT_NE(help, nullptr);
    for (int i = 702; i <= 706; ++i) {
        QTest::mouseClick(help->label(i), Qt::LeftButton);
        const QLabel* text = help->label(0);
        EXPECT_LE(text->geometry().bottom(), help->buttonBar->y()) << i;
        QTest::mouseClick(help->backLink, Qt::LeftButton);
    }
}

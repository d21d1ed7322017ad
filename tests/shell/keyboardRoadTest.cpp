// The whole program from the keyboard alone: a fresh sign-in with the real
// forms, then every page reached and its commands pressed with keys sent to the
// window the user sees, and the Tab order of every page walked.
#include "accounts/frmLogin.h"
#include "accounts/frmUser.h"
#include "controls/scheduleColorSet.h"
#include "controls/scheduleCommand.h"
#include "controls/scheduleLabel.h"
#include "controls/scheduleMonthView.h"
#include "controls/scheduleSlider.h"
#include "controls/scheduleText.h"
#include "core/model/clsMD5.h"
#include "core/model/clsSchedule.h"
#include "core/ui/frmHelp.h"
#include "core/model/gClock.h"
#include "core/model/gDatabase.h"
#include "core/ui/gFocusRing.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMain.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gResIds.h"
#include "core/ui/gStartup.h"
#include "core/model/gState.h"
#include "core/ui/gPageSwitch.h"
#include "core/model/gUserData.h"
#include "core/model/gWeek.h"
#include "core/ui/gWindowServices.h"
#include "diary/frmNew.h"
#include "diary/frmRetrieval.h"
#include "diary/frmReview.h"
#include "diary/frmWelcome.h"
#include "platform/settingsStore.h"
#include "shell/frmAbout.h"
#include "shell/frmMain.h"
#include "shell/frmSet.h"
#include "shell/gProgram.h"
#include "testSupport.h"
#include "timetable/frmSchedule.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTreeView>
#include <QTreeWidget>

#include <functional>
#include <ostream>

namespace {

const QString kPassword = QStringLiteral("pw");

class KeyboardRoad : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        const QString program = home().folder(QStringLiteral("program"));
        writeFile(program + QStringLiteral("Rededera.exe.manifest"), "manifest");
        gStartupSeam::setProgram(program, QStringLiteral("Rededera"));
        gAppPath = program;
        gTraySeam::reset();
        gTraySeam::setAreaExists(true);
        gResetAccountState();
        gRegisterForms();
        gInstallFocusRing();
        const QString user = home().folder(QStringLiteral("user"));
        settings::save(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("PathOption"),
                       QStringLiteral("3"));
        settings::save(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("WorkPath"),
                       user);
        gInitPaths();
        // A new account that signs in with its password only, never signed in before.
        gUserName = QStringLiteral("Ann");
        gPasswordHash = clsMD5().DigestStrToHexStr(kPassword);
        gRecordKey = QStringLiteral("1234567");
        gPictureIndex = 3;
        gOptions.fill(false);
        gOption(Option::PasswordOnlySignIn) = true;
        gLockTimeout = 5;
        gAutoSaveInterval = 5;
        gRemindLead = 10;
        ASSERT_TRUE(gSaveUserData());
        gClockSeam::set(QDateTime(QDate(2026, 3, 11), QTime(9, 30)));
    }
    void TearDown() override {
        forms::unloadAllNow();
        gCloseDatabase();
        gStartupSeam::releaseInstanceLock();
        gStartupSeam::reset();
        gTraySeam::reset();
        gClockSeam::reset();
        HomeTest::TearDown();
    }

    // The window the keys go to, as the desktop would hand them: the active one.
    static QWidget* active() { return QApplication::activeWindow(); }
    // The desktop gives the focus to a window that comes up, or that the user
    // comes back to when the one above it closes.
    static bool cameUp(QWidget* w) {
        if (!w) return false;
        if (QApplication::activeWindow() != w) {
            w->activateWindow();
            QApplication::setActiveWindow(w);
        }
        return QTest::qWaitForWindowActive(w);
    }
    static void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        ASSERT_NE(active(), nullptr);
        QTest::keyClick(active()->windowHandle(), k, m);
        pumpEvents();
    }
    static void type(const QString& text) {
        ASSERT_NE(active(), nullptr);
        for (QChar c : text)
            QTest::keyClick(active()->windowHandle(), c.toLatin1());
    }
    // Tab (or Shift+Tab) until `target` has the focus; false when it never does.
    static bool tabTo(QWidget* target, bool back = false) {
        if (!active()) return false;
        for (int i = 0; i < 120 && QApplication::focusWidget() != target; ++i) {
            if (back)
                QTest::keyClick(active()->windowHandle(), Qt::Key_Backtab, Qt::ShiftModifier);
            else
                QTest::keyClick(active()->windowHandle(), Qt::Key_Tab);
        }
        return QApplication::focusWidget() == target;
    }

    // Signs in as the user does, from the program's start: the password and
    // Return in the sign-in window, then the About box of the first start.
    frmMain* signIn() {
        Main();
        auto* login = forms::find<frmLogin>(Form::frmLogin);
        if (!login || !cameUp(login)) return nullptr;
        type(kPassword);
        key(Qt::Key_Return);
        frmMain* m = gMainWindow();
        if (!m) return nullptr;
        main_ = m;
        return m;
    }
    // Signs in and puts the About box away with Escape.
    frmMain* signInToHome() {
        if (!signIn()) return nullptr;
        auto* about = forms::find<frmAbout>(Form::frmAbout);
        if (!about || QApplication::activeWindow() != about) return nullptr;
        key(Qt::Key_Escape);
        if (forms::find(Form::frmAbout) || !cameUp(main_)) return nullptr;
        return main_;
    }
    template <class T> T* page(gFormName name) const { return forms::find<T>(name); }
    QString shownPage() const {
        return main_ && main_->currentPage() ? main_->currentPage()->objectName() : QString();
    }

    frmMain* main_ = nullptr;
};

// The window's picture where `w` lies, a little beyond its edge.
QImage around(QWidget* w) {
    QWidget* win = w->window();
    const QRect r = QRect(w->mapTo(win, QPoint(0, 0)), w->size()).adjusted(-2, -2, 2, 2);
    return win->grab(r).toImage();
}

TEST_F(KeyboardRoad, FreshSignInShowsTheAboutBoxWithTheFocusOnOk) {
    frmMain* m = signIn();
    ASSERT_NE(m, nullptr);
    auto* about = forms::find<frmAbout>(Form::frmAbout);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(active(), about);
    EXPECT_TRUE(about->okButton->hasFocus());
    // Return presses 确定: the box closes with its check box saved.
    key(Qt::Key_Return);
    EXPECT_EQ(forms::find(Form::frmAbout), nullptr);
    EXPECT_EQ(settings::get(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("ShowAbout"),
                            QStringLiteral("absent")),
              QStringLiteral("1"));
    EXPECT_EQ(shownPage(), QStringLiteral("frmWelcome"));
}

// An account that has written before: Return in the sign-in window opens the
// home page at once, which shows no number until it has counted the entries,
// then their exact count and average mood.
TEST_F(KeyboardRoad, SignInToADiaryShowsTheExactCountOfItsEntries) {
    const QString dbPassword = gMakeDbPassword(kPassword);
    gCreateDatabase(gDatabaseFile, dbPassword);
    gOpenDatabase(gDatabaseFile, dbPassword);
    for (int i = 0; i < 5; ++i)
        gConnection.execute(
            QStringLiteral("INSERT INTO \"Diary\" (\"Date\", \"Title\", \"Score\", \"Collect\") "
                           "VALUES (?, ?, ?, 0)"),
            {QDate(2026, 3, 1 + i), QStringLiteral("t"), 40 + 10 * i});
    gConnection.execute(QStringLiteral("UPDATE \"DiarySettings\" SET \"Score\" = 300"));
    gCloseDatabase();

    Main();
    auto* login = forms::find<frmLogin>(Form::frmLogin);
    ASSERT_TRUE(login && cameUp(login));
    type(kPassword);
    QTest::keyClick(active()->windowHandle(), Qt::Key_Return);
    auto* home = page<frmWelcome>(Form::frmWelcome);
    ASSERT_NE(home, nullptr);
    EXPECT_TRUE(home->isVisible());
    EXPECT_EQ(home->entryCountLabel->text(), QStringLiteral("请稍等。"));
    EXPECT_FALSE(home->moodScoreLabel->isVisible());

    // The count comes from the event loop, once the page has been painted.
    for (int i = 0; i < 100 && gDiaryCount == kDiaryCountPending; ++i)
        pumpEvents(10);
    ASSERT_EQ(page<frmWelcome>(Form::frmWelcome), home);
    EXPECT_EQ(home->entryCountLabel->text(), QStringLiteral("共有 5 日记。"));
    EXPECT_TRUE(home->moodScoreLabel->isVisible());
    EXPECT_EQ(home->moodScoreLabel->caption(), 60);
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

// Each row: a page opened by its key, and a command on it reached by Tab and
// pressed with a key, and what the user then sees.
class KeyboardCommands;
struct KeyCommand {
    const char* name;
    int page;                                        // its Ctrl+digit is page + 1
    std::function<QWidget*(KeyboardCommands*)> stop; // the control Tab goes to
    Qt::Key press;                                   // the key that presses it
    std::function<bool(KeyboardCommands*)> effect;   // what follows
};

class KeyboardCommands : public KeyboardRoad, public ::testing::WithParamInterface<int> {
public:
    static const std::vector<KeyCommand>& commands();
    template <class T> T* at(gFormName name) const { return page<T>(name); }
    QString shown() const { return shownPage(); }
    frmMain* mainWindow() const { return main_; }
};

const std::vector<KeyCommand>& KeyboardCommands::commands() {
    using K = KeyboardCommands;
    static std::vector<KeyCommand> list;
    if (!list.empty()) return list;
    const auto add = [](KeyCommand c) { list.push_back(std::move(c)); };
    add({"home: 添加日记", 0, [](K* t) -> QWidget* { return t->at<frmWelcome>(Form::frmWelcome)->writeLink; },
         Qt::Key_Return, [](K* t) { return t->shown() == QStringLiteral("frmNew"); }});
    add({"home: 回顾日记", 0,
         [](K* t) -> QWidget* { return t->at<frmWelcome>(Form::frmWelcome)->reviewLink; }, Qt::Key_Space,
         [](K* t) { return t->shown() == QStringLiteral("frmReview"); }});
    add({"home: next month", 0,
         [](K* t) -> QWidget* { return t->at<frmWelcome>(Form::frmWelcome)->monthView->nextMonthButton; },
         Qt::Key_Space,
         [](K* t) { return t->at<frmWelcome>(Form::frmWelcome)->monthView->Value() == QDate(2026, 4, 11); }});
    add({"home: a day later", 0,
         [](K* t) -> QWidget* { return t->at<frmWelcome>(Form::frmWelcome)->monthView->gridPane; },
         Qt::Key_Right,
         [](K* t) { return t->at<frmWelcome>(Form::frmWelcome)->monthView->Value() == QDate(2026, 3, 12); }});
    add({"timetable: 基础选项", 1,
         [](K* t) -> QWidget* { return t->at<frmSchedule>(Form::frmSchedule)->menuCaptions[1]; },
         Qt::Key_Return, [](K* t) { return t->at<frmSchedule>(Form::frmSchedule)->basePane->isVisible(); }});
    add({"timetable: 新课程", 1,
         [](K* t) -> QWidget* { return t->at<frmSchedule>(Form::frmSchedule)->menuCaptions[2]; },
         Qt::Key_Space,
         [](K* t) { return t->at<frmSchedule>(Form::frmSchedule)->courseEditorPane->isVisible(); }});
    add({"timetable: 所有课程", 1,
         [](K* t) -> QWidget* { return t->at<frmSchedule>(Form::frmSchedule)->menuCaptions[3]; },
         Qt::Key_Enter,
         [](K* t) { return t->at<frmSchedule>(Form::frmSchedule)->courseListPane->isVisible(); }});
    add({"timetable: next week", 1,
         [](K* t) -> QWidget* { return t->at<frmSchedule>(Form::frmSchedule)->nextWeekButton; },
         Qt::Key_Space,
         [](K* t) {
             frmSchedule* s = t->at<frmSchedule>(Form::frmSchedule);
             return s->shownWeek() == gWeekOfDate(gTimetable.Term.TermBegin) + 1;
         }});
    add({"review: 添加", 3, [](K* t) -> QWidget* { return t->at<frmReview>(Form::frmReview)->addLink; },
         Qt::Key_Return,
         [](K* t) { return t->shown() == QStringLiteral("frmNew") && gPageFlags().returnReview; }});
    add({"review: 返回", 3, [](K* t) -> QWidget* { return t->at<frmReview>(Form::frmReview)->backLink; },
         Qt::Key_Space, [](K* t) { return t->shown() == QStringLiteral("frmWelcome"); }});
    add({"search: 返回", 4,
         [](K* t) -> QWidget* { return t->at<frmRetrieval>(Form::frmRetrieval)->backLink; }, Qt::Key_Return,
         [](K* t) { return t->shown() == QStringLiteral("frmWelcome"); }});
    add({"account: 更改名称", 5,
         [](K* t) -> QWidget* { return t->at<frmUser>(Form::frmUser)->changeNameLink; }, Qt::Key_Return,
         [](K* t) { return t->at<frmUser>(Form::frmUser)->renamePanel->isVisible(); }});
    add({"account: 更改我的密码", 5,
         [](K* t) -> QWidget* { return t->at<frmUser>(Form::frmUser)->passwordLink; }, Qt::Key_Space,
         [](K* t) { return t->at<frmUser>(Form::frmUser)->passwordPanel->isVisible(); }});
    add({"account: 更改我的图片", 5,
         [](K* t) -> QWidget* { return t->at<frmUser>(Form::frmUser)->pictureLink; }, Qt::Key_Enter,
         [](K* t) { return t->at<frmUser>(Form::frmUser)->picturePanel->isVisible(); }});
    add({"account: 导出我的密匙", 5,
         [](K* t) -> QWidget* { return t->at<frmUser>(Form::frmUser)->exportKeyLink; }, Qt::Key_Return,
         [](K*) {
             QWidget* w = forms::find(Form::frmKeyExport);
             return w && w->isVisible();
         }});
    add({"settings: 取消", 6, [](K* t) -> QWidget* { return t->at<frmSet>(Form::frmSet)->cancelButton; },
         Qt::Key_Space, [](K* t) { return t->shown() == QStringLiteral("frmWelcome"); }});
    add({"help button", 0, [](K* t) -> QWidget* { return t->mainWindow()->pageButtons[89]; }, Qt::Key_Return,
         [](K*) {
             QWidget* w = forms::find(Form::frmHelp);
             return w && w->isVisible();
         }});
    add({"help menu", 0, [](K* t) -> QWidget* { return t->mainWindow()->pageButtons[99]; }, Qt::Key_Space,
         [](K* t) {
             const bool shown = t->mainWindow()->mHelp->isVisible();
             t->mainWindow()->mHelp->close();
             return shown;
         }});
    return list;
}

TEST_P(KeyboardCommands, ReachedByTabAndPressedByAKey) {
    const KeyCommand& c = commands().at(size_t(GetParam()));
    SCOPED_TRACE(c.name);
    ASSERT_NE(signInToHome(), nullptr);
    key(Qt::Key(Qt::Key_1 + c.page), Qt::ControlModifier);
    ASSERT_EQ(main_->pageIndex(), c.page);
    QWidget* stop = c.stop(this);
    ASSERT_NE(stop, nullptr);
    ASSERT_TRUE(tabTo(stop)) << "not among the Tab stops";
    key(c.press);
    EXPECT_TRUE(c.effect(this));
}

INSTANTIATE_TEST_SUITE_P(Pages, KeyboardCommands,
                         ::testing::Range(0, int(KeyboardCommands::commands().size())));

// The Tab order of each page: every stop a shown, enabled, uncovered control
// that shows its focus, and the page's main commands among them.
struct PageStops {
    const char* name;
    int page;
    std::function<void(KeyboardRoad*)> prepare; // keys that bring the page into this state
    std::function<QList<QWidget*>()> mainStops;
};

class KeyboardTabOrder : public KeyboardRoad, public ::testing::WithParamInterface<int> {
public:
    static const std::vector<PageStops>& pages();
    void press(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { key(k, m); }
    void write(const QString& text) { type(text); }
    bool tabOnto(QWidget* w) { return tabTo(w); }
};

template <class T> T* loaded(gFormName name) {
    return forms::find<T>(name);
}

// Tab to an entry of the timetable page's menu and press it.
void openPane(KeyboardRoad* t, int entry) {
    auto* self = static_cast<KeyboardTabOrder*>(t);
    ASSERT_TRUE(self->tabOnto(loaded<frmSchedule>(Form::frmSchedule)->menuCaptions[size_t(entry)]));
    self->press(Qt::Key_Return);
}

const std::vector<PageStops>& KeyboardTabOrder::pages() {
    static const std::vector<PageStops> list = {
        {"home",
         0,
         {},
         [] {
             frmWelcome* p = loaded<frmWelcome>(Form::frmWelcome);
             frmMain* m = gMainWindow();
             QList<QWidget*> l{p->writeLink,
                               p->reviewLink,
                               p->monthView->previousMonthButton,
                               p->monthView->todayButton,
                               p->monthView->nextMonthButton,
                               p->monthView->gridPane,
                               p->previewEdit};
             for (QLabel* b : m->pageButtons)
                 l.append(b);
             return l;
         }},
        {"timetable",
         1,
         {},
         [] {
             frmSchedule* p = loaded<frmSchedule>(Form::frmSchedule);
             QList<QWidget*> l{p->previousWeekButton, p->nextWeekButton};
             for (QWidget* c : p->menuCaptions)
                 l.append(c);
             return l;
         }},
        {"editor",
         2,
         {},
         [] {
             frmNew* p = loaded<frmNew>(Form::frmNew);
             return QList<QWidget*>{
                 p->titleEdit,  p->datePicker,   p->moodSlider,           p->bodyEdit->box(),
                 p->saveButton, p->cancelButton, p->bodyEdit->popUpLink()};
         }},
        {"review",
         3,
         {},
         [] {
             frmReview* p = loaded<frmReview>(Form::frmReview);
             return QList<QWidget*>{p->addLink, p->backLink, p->monthView->gridPane,
                                    p->monthView->nextMonthButton};
         }},
        {"search",
         4,
         {},
         [] {
             frmRetrieval* p = loaded<frmRetrieval>(Form::frmRetrieval);
             return QList<QWidget*>{p->paneTree, p->refreshLink, p->backLink, p->resultList};
         }},
        {"account",
         5,
         {},
         [] {
             frmUser* p = loaded<frmUser>(Form::frmUser);
             return QList<QWidget*>{p->changeNameLink, p->passwordLink, p->removePasswordLink, p->pictureLink,
                                    p->exportKeyLink};
         }},
        {"account, renaming", 5,
         [](KeyboardRoad* t) {
             auto* self = static_cast<KeyboardTabOrder*>(t);
             ASSERT_TRUE(self->tabOnto(loaded<frmUser>(Form::frmUser)->changeNameLink));
             self->press(Qt::Key_Return);
         },
         [] {
             frmUser* p = loaded<frmUser>(Form::frmUser);
             return QList<QWidget*>{p->nameEdit, p->renameButton, p->renameCancelButton};
         }},
        {"timetable, base settings", 1, [](KeyboardRoad* t) { openPane(t, SchedulePane::BaseSettings); },
         [] {
             scheduleBasePane* p = loaded<frmSchedule>(Form::frmSchedule)->basePane;
             return QList<QWidget*>{p->termBeginPicker, p->saveButton, p->cancelButton};
         }},
        {"timetable, new course", 1,
         [](KeyboardRoad* t) {
             openPane(t, SchedulePane::NewCourse);
             // 增加 comes alive once the course has a name and a room.
             auto* self = static_cast<KeyboardTabOrder*>(t);
             scheduleCourseEditor* p = loaded<frmSchedule>(Form::frmSchedule)->courseEditorPane;
             ASSERT_TRUE(self->tabOnto(p->nameEdit));
             self->write(QStringLiteral("Maths"));
             ASSERT_TRUE(self->tabOnto(p->roomEdit));
             self->write(QStringLiteral("A101"));
         },
         [] {
             scheduleCourseEditor* p = loaded<frmSchedule>(Form::frmSchedule)->courseEditorPane;
             return QList<QWidget*>{p->nameEdit, p->weekdayList, p->periodList,
                                    p->colorSet, p->saveButton,  p->cancelButton};
         }},
        {"timetable, all courses", 1, [](KeyboardRoad* t) { openPane(t, SchedulePane::AllCourses); },
         [] {
             scheduleCourseList* p = loaded<frmSchedule>(Form::frmSchedule)->courseListPane;
             return QList<QWidget*>{p->backButton};
         }},
        {"search, by title", 4,
         [](KeyboardRoad* t) {
             auto* self = static_cast<KeyboardTabOrder*>(t);
             ASSERT_TRUE(self->tabOnto(loaded<frmRetrieval>(Form::frmRetrieval)->paneTree));
             self->press(Qt::Key_Down);
             self->press(Qt::Key_Down);
         },
         [] {
             frmRetrieval* p = loaded<frmRetrieval>(Form::frmRetrieval);
             return QList<QWidget*>{p->byTitleCheck, p->titleEdit, p->titleBeginsCheck, p->resultList};
         }},
        {"settings",
         6,
         {},
         [] {
             frmSet* p = loaded<frmSet>(Form::frmSet);
             return QList<QWidget*>{p->optionTree, p->saveButton, p->cancelButton};
         }},
    };
    return list;
}

TEST_P(KeyboardTabOrder, EveryStopIsShownEnabledAndMarked) {
    const PageStops& s = pages().at(size_t(GetParam()));
    SCOPED_TRACE(s.name);
    ASSERT_NE(signInToHome(), nullptr);
    key(Qt::Key(Qt::Key_1 + s.page), Qt::ControlModifier);
    ASSERT_EQ(main_->pageIndex(), s.page);
    if (s.prepare) s.prepare(this);
    if (HasFatalFailure()) return;

    // Once round the window, from the first button of the top bar.
    QWidget* first = main_->pageButtons[0];
    ASSERT_TRUE(tabTo(first));
    // Reached by a key, as the user reaches it (the window then shows its marks).
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), first);
    QList<QWidget*> stops;
    QWidget* w = first;
    do {
        stops.append(w);
        const QImage focused = around(w);
        key(Qt::Key_Tab);
        QWidget* next = QApplication::focusWidget();
        ASSERT_NE(next, nullptr);
        const std::string id =
            (w->metaObject()->className() + std::string(" ") + w->objectName().toStdString());
        EXPECT_TRUE(w->isVisible()) << id;
        EXPECT_TRUE(w->isEnabled()) << id;
        EXPECT_EQ(w->window(), main_) << id;
        // Not hidden under another control or outside its parents.
        EXPECT_FALSE(w->visibleRegion().isEmpty()) << id;
        const QRect inWindow(w->mapTo(main_, QPoint(0, 0)), w->size());
        EXPECT_TRUE(main_->rect().intersects(inWindow)) << id;
        // The mark goes with the focus: the control looks different without it.
        EXPECT_NE(around(w), focused) << id << " shows no focus";
        w = next;
    } while (w != first && stops.size() < 150);
    EXPECT_EQ(w, first) << "Tab does not come round";
    std::string walked;
    for (QWidget* stop : stops)
        walked += stop->objectName().toStdString() + " ";
    for (QWidget* c : s.mainStops())
        EXPECT_TRUE(stops.contains(c)) << c->metaObject()->className() << " " << c->objectName().toStdString()
                                       << " is no Tab stop; the stops: " << walked;
}

INSTANTIATE_TEST_SUITE_P(Pages, KeyboardTabOrder, ::testing::Range(0, int(KeyboardTabOrder::pages().size())));

TEST_F(KeyboardRoad, AnEntryWrittenWithTheKeysStoresTheSliderValue) {
    ASSERT_NE(signInToHome(), nullptr);
    key(Qt::Key_3, Qt::ControlModifier);
    auto* e = page<frmNew>(Form::frmNew);
    ASSERT_NE(e, nullptr);
    // Alt+T to the title, Alt+H to the mood: ten steps right, then End.
    key(Qt::Key_T, Qt::AltModifier);
    ASSERT_TRUE(e->titleEdit->hasFocus());
    type(QStringLiteral("Keys"));
    key(Qt::Key_H, Qt::AltModifier);
    ASSERT_TRUE(e->moodSlider->hasFocus());
    for (int i = 0; i < 10; ++i)
        key(Qt::Key_Right);
    EXPECT_EQ(e->moodSlider->value(), 60);
    key(Qt::Key_End);
    key(Qt::Key_PageDown);
    EXPECT_EQ(e->moodSlider->value(), 90);
    EXPECT_TRUE(e->gChanged);
    ASSERT_TRUE(tabTo(e->bodyEdit->box()));
    type(QStringLiteral("Typed"));
    key(Qt::Key_Tab, Qt::ControlModifier); // Ctrl+Tab types a tab; Tab goes on to 保存
    type(QStringLiteral("body"));
    EXPECT_EQ(e->titleEdit->text(), QStringLiteral("Keys"));
    EXPECT_EQ(e->bodyEdit->text(), QStringLiteral("Typed\tbody"));
    key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), e->saveButton);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), e->bodyEdit->box());
    key(Qt::Key_S, Qt::AltModifier);
    pumpEvents(300); // a button's shortcut clicks it as an animated click
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    EXPECT_EQ(shownPage(), QStringLiteral("frmWelcome"));
    EXPECT_EQ(gConnection.count(QStringLiteral("Diary")), 1);
    db::Recordset rs;
    rs.open(QStringLiteral("SELECT * FROM Diary"), gConnection, db::CursorType::Static);
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs.text(QStringLiteral("Title")), QStringLiteral("Keys"));
    EXPECT_EQ(rs.integer(QStringLiteral("Score")), 90);
}

TEST_F(KeyboardRoad, TheAboutBoxFromTheHelpMenuByKeys) {
    ASSERT_NE(signInToHome(), nullptr);
    ASSERT_TRUE(tabTo(main_->pageButtons[99]));
    key(Qt::Key_Space);
    ASSERT_TRUE(main_->mHelp->isVisible());
    // The menu's own keys: A for "关于 Rededera (&A)".
    QTest::keyClick(main_->mHelp, Qt::Key_A);
    pumpEvents();
    auto* about = forms::find<frmAbout>(Form::frmAbout);
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(cameUp(about));
    EXPECT_TRUE(about->okButton->hasFocus());
    key(Qt::Key_Tab);
    key(Qt::Key_Space); // the check box cleared
    key(Qt::Key_Return);
    EXPECT_EQ(forms::find(Form::frmAbout), nullptr);
    EXPECT_EQ(settings::get(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("ShowAbout"),
                            QStringLiteral("absent")),
              QStringLiteral("0"));
}

TEST_F(KeyboardRoad, AnEntryIsFoundOpenedAndEditedWithKeys) {
    ASSERT_NE(signInToHome(), nullptr);
    key(Qt::Key_3, Qt::ControlModifier);
    auto* e = page<frmNew>(Form::frmNew);
    ASSERT_NE(e, nullptr);
    key(Qt::Key_T, Qt::AltModifier);
    type(QStringLiteral("Found"));
    ASSERT_TRUE(tabTo(e->bodyEdit->box()));
    type(QStringLiteral("by keys"));
    key(Qt::Key_S, Qt::AltModifier);
    pumpEvents(300);
    ASSERT_EQ(shownPage(), QStringLiteral("frmWelcome"));

    // The search lists every entry; the arrow keys choose a criteria pane.
    key(Qt::Key_5, Qt::ControlModifier);
    auto* search = page<frmRetrieval>(Form::frmRetrieval);
    ASSERT_NE(search, nullptr);
    ASSERT_TRUE(tabTo(search->paneTree));
    key(Qt::Key_Down);
    EXPECT_TRUE(search->datePane->isVisible());
    key(Qt::Key_Down);
    EXPECT_TRUE(search->titlePane->isVisible());
    EXPECT_FALSE(search->datePane->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!search->searching(), 5000);
    ASSERT_EQ(search->resultList->model()->rowCount(), 1);
    ASSERT_TRUE(tabTo(search->resultList));
    key(Qt::Key_Down);
    // The menu key, as the desktop hands it on: a context menu asked from the keyboard.
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(4, 4),
                              search->resultList->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(search->resultList, &menuKey);
    EXPECT_TRUE(search->resultMenu->isVisible());
    search->resultMenu->close();
    pumpEvents();
    ASSERT_TRUE(cameUp(main_));
    ASSERT_TRUE(tabTo(search->resultList));
    key(Qt::Key_Return);
    ASSERT_EQ(shownPage(), QStringLiteral("frmReview"));
    auto* review = page<frmReview>(Form::frmReview);
    EXPECT_EQ(review->titleView->toPlainText(), QStringLiteral("Found"));

    // With an entry shown its links are live stops: 编辑 opens it in the editor.
    ASSERT_TRUE(tabTo(review->editLink));
    key(Qt::Key_Space);
    ASSERT_EQ(shownPage(), QStringLiteral("frmNew"));
    EXPECT_TRUE(page<frmNew>(Form::frmNew)->editMode());
    EXPECT_EQ(page<frmNew>(Form::frmNew)->titleEdit->text(), QStringLiteral("Found"));
}

TEST_F(KeyboardRoad, HelpTopicsOpenAndGoBackWithKeys) {
    ASSERT_NE(signInToHome(), nullptr);
    key(Qt::Key_F1);
    auto* help = forms::find<frmHelp>(Form::frmHelp);
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(cameUp(help));
    QLabel* topic = help->label(Res::FirstHelpTopic);
    ASSERT_NE(topic, nullptr);
    ASSERT_TRUE(tabTo(topic));
    key(Qt::Key_Return);
    EXPECT_FALSE(topic->isVisible());
    ASSERT_TRUE(help->backLink->isVisible());
    ASSERT_TRUE(tabTo(help->backLink));
    key(Qt::Key_Space);
    EXPECT_TRUE(topic->isVisible());
    EXPECT_FALSE(help->backLink->isVisible());
}

} // namespace

// The main window's page switch: which page is shown, what lives and dies, the
// editor's leave prompts and the flags handed to the next page.
#include "shellFixture.h"

#include "core/model/gClock.h"
#include "core/base/gError.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/model/gState.h"
#include "core/ui/gPageSwitch.h"
#include "shell/frmMain.h"

#include <ostream>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

namespace {

class MainPageSwitch : public ShellTest {};

TEST_F(MainPageSwitch, LoadingPlacesTheHomePage) {
    frmMain* m = loadMain();
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->isVisible());
    EXPECT_EQ(m->windowTitle(), QStringLiteral("Rededera"));
    EXPECT_TRUE(gCloseMinimizes);
    EXPECT_FALSE(gLocked);
    EXPECT_EQ(m->pageIndex(), pageNumber(Page::Home));
    QWidget* home = forms::find(Form::frmWelcome);
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(m->currentPage(), home);
    EXPECT_EQ(home->parentWidget(), m->pagePanel);
    EXPECT_TRUE(home->isVisible());
    // Left 120, top 200, the window's width - 800 and height - 2500 twips.
    EXPECT_EQ(home->geometry(),
              QRect(8, 13, (m->formWidthTwips() - 800 + 7) / 15, (m->formHeightTwips() - 2500 + 7) / 15));
    EXPECT_EQ(gDiaryDate, gToday());
}

TEST_F(MainPageSwitch, PageFollowsTheWindowSize) {
    frmMain* m = loadMain();
    m->resize(700, 540);
    pumpEvents();
    EXPECT_EQ(m->currentPage()->geometry(), m->pageRect());
    EXPECT_EQ(m->pageRect().width(), (700 * 15 - 800 + 7) / 15);
    EXPECT_EQ(m->pageRect().height(), (540 * 15 + 480 - 2500 + 7) / 15);
}

TEST_F(MainPageSwitch, TimetablePageIsKeptOtherPagesAreFresh) {
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Timetable));
    QWidget* timetable = forms::find(Form::frmSchedule);
    ASSERT_NE(timetable, nullptr);
    ASSERT_TRUE(m->gChangeFrame(Page::Review));
    pumpEvents();
    // Hidden, still loaded, the same instance.
    EXPECT_EQ(forms::find(Form::frmSchedule), timetable);
    EXPECT_FALSE(timetable->isVisible());
    EXPECT_EQ(pageLog().alive(QStringLiteral("frmWelcome")), 0);

    QWidget* review = forms::find(Form::frmReview);
    ASSERT_TRUE(m->gChangeFrame(Page::Timetable));
    pumpEvents();
    EXPECT_EQ(forms::find(Form::frmSchedule), timetable);
    EXPECT_TRUE(timetable->isVisible());
    EXPECT_EQ(pageLog().created.value(QStringLiteral("frmSchedule")), 1);
    EXPECT_EQ(forms::find(Form::frmReview), nullptr);
    EXPECT_EQ(pageLog().unloaded.value(QStringLiteral("frmReview")), 1);
    EXPECT_EQ(pageLog().alive(QStringLiteral("frmReview")), 0);
    Q_UNUSED(review);

    // The same page again: a fresh form for every page but the timetable.
    ASSERT_TRUE(m->gChangeFrame(Page::Review));
    QWidget* first = forms::find(Form::frmReview);
    ASSERT_TRUE(m->gChangeFrame(Page::Review));
    QWidget* second = forms::find(Form::frmReview);
    EXPECT_NE(first, second);
    EXPECT_EQ(pageLog().created.value(QStringLiteral("frmReview")), 3);
    ASSERT_TRUE(m->gChangeFrame(Page::Timetable));
    ASSERT_TRUE(m->gChangeFrame(Page::Timetable));
    EXPECT_EQ(forms::find(Form::frmSchedule), timetable);
    EXPECT_TRUE(timetable->isVisible());
}

TEST_F(MainPageSwitch, PageLeavingFromItsOwnClickHandler) {
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Review));
    auto* review = forms::find<TestPage>(Form::frmReview);
    ASSERT_NE(review, nullptr);
    auto* button = new QPushButton(QStringLiteral("back"), review);
    button->setGeometry(0, 0, 80, 24);
    button->show();
    bool after = false;
    QObject::connect(button, &QPushButton::clicked, review, [&] {
        gGuard([&] { m->gChangeFrame(Page::Home, {.setDiary = true}); });
        after = true; // the handler finishes after the switch unloaded its page
    });
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(after);
    pumpEvents();
    EXPECT_EQ(pageLog().alive(QStringLiteral("frmReview")), 0);
    EXPECT_EQ(m->pageIndex(), pageNumber(Page::Home));
    EXPECT_TRUE(gSetDiary);
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

TEST_F(MainPageSwitch, FlagsAreStoredForTheNextPage) {
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Writing, {.setDiary = true, .editMode = true, .returnReview = true}));
    EXPECT_TRUE(gSetDiary);
    EXPECT_TRUE(gPageFlags().editMode);
    EXPECT_TRUE(gPageFlags().returnReview);
    ASSERT_NE(editor(), nullptr);
    EXPECT_TRUE(editor()->editMode());
    ASSERT_TRUE(m->gChangeFrame(Page::Home));
    EXPECT_FALSE(gSetDiary);
    EXPECT_FALSE(gPageFlags().editMode);
    EXPECT_FALSE(gPageFlags().returnReview);
}

TEST_F(MainPageSwitch, FlagsGoWithTheMainWindowThatKeptThem) {
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Review, {.setDiary = true, .editMode = true, .returnReview = true}));
    ASSERT_TRUE(gPageFlags().editMode);
    forms::unloadAllNow();
    pumpEvents();
    // No main window: no flag is set, and the next main window starts without the old ones.
    EXPECT_FALSE(gPageFlags().editMode);
    EXPECT_FALSE(gPageFlags().returnReview);
    m = loadMain();
    ASSERT_NE(m, nullptr);
    EXPECT_FALSE(gPageFlags().editMode);
    EXPECT_FALSE(gPageFlags().returnReview);
}

TEST_F(MainPageSwitch, HelpNumbersKeepThePageAndFlags) {
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Review, {.setDiary = true, .returnReview = true}));
    QWidget* review = m->currentPage();
    m->setWindowState(Qt::WindowMinimized);
    ASSERT_FALSE(m->isVisible());

    EXPECT_TRUE(m->gChangeFrame(Page::HelpWindow));
    EXPECT_TRUE(m->isVisible());
    EXPECT_FALSE(m->isMinimized());
    EXPECT_EQ(m->pageIndex(), pageNumber(Page::Review));
    EXPECT_EQ(m->currentPage(), review);
    EXPECT_TRUE(gSetDiary);
    EXPECT_TRUE(gPageFlags().returnReview);
    EXPECT_TRUE(forms::isLoaded(Form::frmHelp));

    m->setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(m->gChangeFrame(Page::HelpMenu));
    EXPECT_TRUE(m->isVisible());
    EXPECT_TRUE(m->mHelp->isVisible());
    m->mHelp->hide();
    EXPECT_EQ(m->currentPage(), review);
    EXPECT_EQ(m->pageIndex(), pageNumber(Page::Review));
}

TEST_F(MainPageSwitch, NumberWithoutAPageOnlyClosesTheCurrentOne) {
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Review));
    ASSERT_TRUE(m->gChangeFrame(Page::CloseCurrent));
    EXPECT_EQ(m->pageIndex(), pageNumber(Page::CloseCurrent));
    EXPECT_EQ(m->currentPage(), nullptr);
    EXPECT_FALSE(forms::isLoaded(Form::frmReview));
    // From 79 the next switch closes nothing and opens its page.
    ASSERT_TRUE(m->gChangeFrame(Page::Home));
    EXPECT_TRUE(forms::isLoaded(Form::frmWelcome));
}

TEST_F(MainPageSwitch, PageNotBuiltYetShowsEmpty) {
    forms::registerForm(Form::frmReview, {});
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Review));
    QWidget* blank = m->currentPage();
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(blank->objectName(), QStringLiteral("frmReview"));
    EXPECT_TRUE(blank->isVisible());
    EXPECT_EQ(blank->geometry(), m->pageRect());
    QPointer<QWidget> gone = blank;
    ASSERT_TRUE(m->gChangeFrame(Page::Home));
    pumpEvents();
    EXPECT_TRUE(gone.isNull());
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

TEST_F(MainPageSwitch, AccountPageTakesTheKeyFileWizardWithIt) {
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Account));
    forms::load(Form::frmKeyExport)->show();
    ASSERT_TRUE(m->gChangeFrame(Page::Home));
    EXPECT_FALSE(forms::isLoaded(Form::frmUser));
    EXPECT_FALSE(forms::isLoaded(Form::frmKeyExport));
}

class SearchStandIn : public TestPage, public gSearchPage {
public:
    SearchStandIn() : TestPage(QStringLiteral("frmRetrieval")) {}
    void selectFirstNode() override { ++selected; }
    int selected = 0;
};

TEST_F(MainPageSwitch, SearchPageOpensOnItsFirstNode) {
    forms::registerForm(Form::frmRetrieval, [] { return new SearchStandIn; });
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Search));
    auto* search = forms::find<SearchStandIn>(Form::frmRetrieval);
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->selected, 1);
}

// ---- the editor's leave prompts ----

struct LeaveCase {
    const char* name;
    bool editMode;
    const char* title;
    const char* body;
    bool changed;
    int expectedPrompt; // 0: none
    quint8 answer;
    bool leaves;
};

// Read in test names and failure messages instead of the case's raw bytes.
void PrintTo(const LeaveCase& c, std::ostream* os) {
    *os << c.name;
}

class MainLeavePrompt : public ShellTest, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(MainLeavePrompt, LeavingTheEditor) {
    const LeaveCase& c = GetParam();
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Writing, {.setDiary = c.editMode, .editMode = c.editMode}));
    TestEditor* ed = editor();
    ASSERT_NE(ed, nullptr);
    ed->Text2->setText(QString::fromUtf8(c.title));
    ed->Text1->setPlainText(QString::fromUtf8(c.body));
    ed->gChanged = c.changed;
    gCloseMinimizes = false;
    if (c.expectedPrompt) gMsgBoxSeam::pushAnswer(c.answer);

    const bool switched = m->gChangeFrame(Page::Writing);

    if (c.expectedPrompt) {
        ASSERT_EQ(gMsgBoxSeam::shownIds(), QList<int>{c.expectedPrompt});
        EXPECT_EQ(gMsgBoxSeam::shown().first().buttonSet, gButtonSet::YesNo);
    } else {
        EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    }
    EXPECT_EQ(switched, c.leaves);
    if (c.leaves) {
        // A fresh, empty editor for a new entry.
        ASSERT_NE(editor(), nullptr);
        EXPECT_NE(editor(), ed);
        EXPECT_TRUE(editor()->titleText().isEmpty());
        EXPECT_TRUE(editor()->bodyText().isEmpty());
        EXPECT_FALSE(gPageFlags().editMode);
    } else {
        // Everything as it was: the same editor, its text, its flags.
        EXPECT_EQ(editor(), ed);
        EXPECT_EQ(ed->titleText(), QString::fromUtf8(c.title));
        EXPECT_EQ(ed->bodyText(), QString::fromUtf8(c.body));
        EXPECT_EQ(gPageFlags().editMode, c.editMode);
        EXPECT_EQ(m->currentPage(), ed);
        EXPECT_TRUE(gCloseMinimizes);
    }
}

const LeaveCase kLeaveCases[] = {
    {"NewEmpty", false, "", "", false, 0, 0, true},
    {"NewChangedFlagButEmpty", false, "", "", true, 0, 0, true},
    {"NewTitleYes", false, "周一", "", false, Msg::EntryNotEmptyDiscard, gMsgResult::Yes, true},
    {"NewTitleNo", false, "周一", "", false, Msg::EntryNotEmptyDiscard, gMsgResult::No, false},
    {"NewBodyNo", false, "", "今天下雨", false, Msg::EntryNotEmptyDiscard, gMsgResult::No, false},
    {"EditUnchanged", true, "旧标题", "旧内容", false, 0, 0, true},
    {"EditChangedYes", true, "旧标题", "新内容", true, Msg::EntryChangedDiscard, gMsgResult::Yes, true},
    {"EditChangedNo", true, "旧标题", "新内容", true, Msg::EntryChangedDiscard, gMsgResult::No, false},
};

INSTANTIATE_TEST_SUITE_P(Table, MainLeavePrompt, ::testing::ValuesIn(kLeaveCases));

TEST_F(MainPageSwitch, DraftIsDeletedOnLeavingOnlyWithAutoSave) {
    const QString draft = gDataPath + QStringLiteral("Diary.tmp");
    frmMain* m = loadMain();
    for (bool autoSave : {false, true}) {
        SCOPED_TRACE(autoSave);
        gOption(Option::DraftAutoSave) = autoSave;
        writeFile(draft, "{\\rtf1 draft}");
        ASSERT_TRUE(m->gChangeFrame(Page::Writing));
        ASSERT_TRUE(m->gChangeFrame(Page::Home));
        EXPECT_EQ(QFile::exists(draft), !autoSave);
    }
    // A refused leave keeps the draft.
    writeFile(draft, "{\\rtf1 draft}");
    ASSERT_TRUE(m->gChangeFrame(Page::Writing));
    editor()->Text2->setText(QStringLiteral("标题"));
    gMsgBoxSeam::pushAnswer(gMsgResult::No);
    EXPECT_FALSE(m->gChangeFrame(Page::Home));
    EXPECT_TRUE(QFile::exists(draft));
}

// Stands in for the pop-up editor: it writes its text into its owner when it unloads.
class PopUpStandIn : public TestPage {
public:
    PopUpStandIn() : TestPage(QStringLiteral("frmPopUp")) {}
    void formUnload() override {
        TestPage::formUnload();
        if (during) during();
    }
    std::function<void()> during;
};

TEST_F(MainPageSwitch, PopUpEditorClosesBeforeTheLeavePrompt) {
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Writing));
    QPointer<TestEditor> ed = editor();
    forms::registerForm(Form::frmPopUp, [ed] {
        auto* p = new PopUpStandIn;
        p->during = [ed] {
            if (ed) ed->Text1->setPlainText(QStringLiteral("写在弹出窗口里"));
        };
        return p;
    });
    forms::load(Form::frmPopUp)->show();
    ASSERT_TRUE(ed->bodyText().isEmpty());
    gMsgBoxSeam::pushAnswer(gMsgResult::No);

    EXPECT_FALSE(m->gChangeFrame(Page::Home));
    // The prompt saw the text the pop-up wrote back: the entry was not empty.
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::EntryNotEmptyDiscard});
    EXPECT_FALSE(forms::isLoaded(Form::frmPopUp));
    EXPECT_EQ(ed->bodyText(), QStringLiteral("写在弹出窗口里"));
}

TEST_F(MainPageSwitch, SwitchIsNotReenteredFromInsideASwitch) {
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Writing));
    // Something that runs while the switch is busy (here the pop-up editor's
    // unload, in the program a tray action during the leave prompt) switches again.
    bool inner = true;
    forms::registerForm(Form::frmPopUp, [&] {
        auto* p = new PopUpStandIn;
        p->during = [&] { inner = m->gChangeFrame(Page::Review); };
        return p;
    });
    forms::load(Form::frmPopUp);
    EXPECT_TRUE(m->gChangeFrame(Page::Home));
    EXPECT_FALSE(inner);
    EXPECT_EQ(m->pageIndex(), pageNumber(Page::Home));
    EXPECT_FALSE(forms::isLoaded(Form::frmReview));
    EXPECT_EQ(pageLog().created.value(QStringLiteral("frmReview")), 0);
}

TEST_F(MainPageSwitch, TopBarButtons) {
    constexpr int review = pageNumber(Page::Review);
    constexpr int help = pageNumber(Page::HelpWindow);
    constexpr int helpArrow = pageNumber(Page::HelpMenu);
    frmMain* m = loadMain();
    // The mouse moving over a widget of the top bar.
    const auto moveOnto = [](QWidget* w, QPointF at) {
        QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    };
    EXPECT_EQ(m->hoverIndex(), -1);
    moveOnto(m->pageButtons[review], QPointF(5, 5));
    EXPECT_EQ(m->hoverIndex(), review);
    EXPECT_TRUE(m->buttonCaptions[review]->font().underline());
    EXPECT_EQ(m->pageButtons[review]->pixmap().toImage(), m->buttonLitPictures[review].toImage());
    moveOnto(m->pageButtons[helpArrow], QPointF(5, 5));
    EXPECT_FALSE(m->buttonCaptions[review]->font().underline());
    EXPECT_EQ(m->pageButtons[review]->pixmap().toImage(), m->buttonPictures[review].toImage());
    // The help menu's arrow lights the help button too.
    EXPECT_EQ(m->pageButtons[help]->pixmap().toImage(), m->buttonLitPictures[help].toImage());
    EXPECT_EQ(m->pageButtons[helpArrow]->pixmap().toImage(), m->buttonLitPictures[helpArrow].toImage());
    // An empty spot of the bar lights none.
    ASSERT_EQ(m->topBar->childAt(600, 5), nullptr);
    moveOnto(m->topBar, QPointF(600, 5));
    EXPECT_EQ(m->hoverIndex(), -1);
    EXPECT_EQ(m->pageButtons[help]->pixmap().toImage(), m->buttonPictures[help].toImage());

    // Captions under the five middle buttons only.
    const QList<std::pair<Page, QString>> captions = {{Page::Timetable, "课程"},
                                                      {Page::Writing, "记录"},
                                                      {Page::Review, "回顾"},
                                                      {Page::Search, "检索"},
                                                      {Page::Account, "用户"}};
    for (const auto& [page, caption] : captions)
        EXPECT_EQ(m->buttonCaptions[pageNumber(page)]->text(), caption);
    EXPECT_FALSE(m->buttonCaptions.contains(pageNumber(Page::Home)));
    EXPECT_FALSE(m->buttonCaptions.contains(pageNumber(Page::Settings)));

    // A left-button release on a button or its caption switches; the right one does not.
    QTest::mouseClick(m->buttonCaptions[pageNumber(Page::Search)], Qt::RightButton);
    EXPECT_EQ(m->pageIndex(), pageNumber(Page::Home));
    QTest::mouseClick(m->buttonCaptions[pageNumber(Page::Search)], Qt::LeftButton);
    EXPECT_EQ(m->pageIndex(), pageNumber(Page::Search));
    QTest::mouseClick(m->pageButtons[pageNumber(Page::Settings)], Qt::LeftButton);
    EXPECT_EQ(m->pageIndex(), pageNumber(Page::Settings));
    moveOnto(m->pageButtons[pageNumber(Page::Timetable)], QPointF(5, 5));
    EXPECT_EQ(m->hoverIndex(), pageNumber(Page::Timetable));
    moveOnto(m->topBar, QPointF(600, 5));
    EXPECT_EQ(m->hoverIndex(), -1);
}

TEST_F(MainPageSwitch, VersionLabel) {
    frmMain* m = loadMain();
    EXPECT_EQ(m->versionLabel->text(), QStringLiteral("%1.%2.%3")
                                           .arg(REDEDERA_VERSION_MAJOR)
                                           .arg(REDEDERA_VERSION_MINOR)
                                           .arg(REDEDERA_VERSION_PATCH));
    m->resize(700, 560);
    pumpEvents();
    EXPECT_EQ(m->versionLabel->x(), (700 * 15 - 1850 + 7) / 15);
    // Narrower than 9000 twips: the label stays where it was.
    m->setMinimumSize(0, 0);
    const int before = m->versionLabel->x();
    m->resize(590, 600);
    pumpEvents();
    EXPECT_EQ(m->versionLabel->x(), before);
}

} // namespace

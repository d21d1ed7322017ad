// The settings page's tree: what it shows, what a click changes in the shared
// state, and the inline editor of the minute values and the custom folder.
#include "settingsPageFixture.h"

#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/ui/gTwips.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

namespace {

class SettingsPageTree : public SettingsPageBase {};

TEST_F(SettingsPageTree, LoadShowsTheAccountsSettingsInOrder) {
    storeSetting(QStringLiteral("WorkPath"), QStringLiteral("/srv/diary/"));
    gOptions = {};
    gOption(Option::FloatingWindow) = gOption(Option::DraftAutoSave) = gOption(Option::ClassReminders) = true;
    gOption(Option::Reserved5) = true; // not shown
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(main_->currentPage(), p);

    struct Expected {
        const char* key;
        const char* parent;
        const char* caption;
        const char* image;
    };
    const Expected rows[] = {
        {"R1", "", "常规", "R1"},
        {"C1", "R1", "显示悬浮窗口", "CT"},
        {"C2", "R1", "显示主界面时隐藏悬浮窗口", "CF"},
        {"C3", "R1", "最小化后提示", "CF"},
        {"C4", "R1", "点击关闭按钮后最小化", "CF"},
        {"C5", "R1", "登录时运行", "CF"},
        {"R2", "", "日记", "R2"},
        {"C7", "R2", "检测剪贴板内容", "CF"},
        {"C8", "R2", "在欢迎界面查看日记使用快速预览", "CF"},
        {"C9", "R2", "自动保存日记", "CT"},
        {"D1", "C9", "保存间隔： 5 分钟", "D1"},
        {"R4", "", "课程", "R4"},
        {"C13", "R4", "启动时显示课程安排", "CF"},
        {"C14", "R4", "自动提醒课程", "CT"},
        {"D3", "C14", "提前时间： 10 分钟", "D1"},
        {"R3", "", "安全", "R3"},
        {"C10", "R3", "使用欢迎屏幕：登陆窗口不要求输入用户名", "CF"},
        {"C11", "R3", "没有设定密码时自动登陆", "CF"},
        {"C12", "R3", "最小化后超时自动锁定", "CF"},
        {"D2", "C12", "超时时间： 2 分钟（0为立即锁定）", "D1"},
        {"N1", "R3", "用户文件存放位置", "N1"},
        {"E1", "N1", "安装目录", "OF"},
        {"E2", "N1", "我的文档", "OT"},
        {"E3", "N1", "自定义： /srv/diary/", "OF"},
    };
    // Walk the tree in display order: the same keys, nothing more.
    QStringList order;
    for (QTreeWidgetItemIterator it(p->optionTree); *it; ++it)
        order << frmSet::nodeKey(*it);
    QStringList expectedOrder;
    for (const Expected& r : rows)
        expectedOrder << QString::fromLatin1(r.key);
    EXPECT_EQ(order, expectedOrder);

    for (const Expected& r : rows) {
        SCOPED_TRACE(r.key);
        QTreeWidgetItem* item = p->node(QString::fromLatin1(r.key));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text(0), QString::fromUtf8(r.caption));
        EXPECT_EQ(frmSet::nodeImage(item), QString::fromLatin1(r.image));
        EXPECT_FALSE(item->icon(0).isNull());
        EXPECT_EQ(frmSet::nodeKey(item->parent()), QString::fromLatin1(r.parent));
    }
    for (const char* k : {"R1", "R2", "C9", "R4", "R3", "C12", "C14", "N1"})
        EXPECT_TRUE(p->node(QString::fromLatin1(k))->isExpanded()) << k;
    EXPECT_EQ(p->optionTree->currentItem(), p->node(QStringLiteral("R1")));
    EXPECT_FALSE(p->valueEdit->isVisible());
    EXPECT_FALSE(p->editorOkButton->isVisible());
    EXPECT_EQ(p->saveButton->text(), QStringLiteral("保存(&S)"));
    EXPECT_EQ(p->cancelButton->text(), QStringLiteral("取消"));
    EXPECT_EQ(p->titleLabel->text(), QStringLiteral("设置"));
}

TEST_F(SettingsPageTree, NoStoredFolderShowsAnEmptyCustomEntry) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(caption(QStringLiteral("E3")), QStringLiteral("自定义： "));
    EXPECT_TRUE(p->workPath().isEmpty());
}

TEST_F(SettingsPageTree, OptionClickFlipsItsOptionInMemoryOnly) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    const QByteArray profile = readFile(gProfileFile());
    ASSERT_FALSE(profile.isEmpty());
    // Every shown option: C<n> is option n - 1; there is no C6.
    for (int n : {1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14}) {
        SCOPED_TRACE(n);
        const QString key = QStringLiteral("C%1").arg(n);
        const auto before = gOptions;
        click(key);
        auto flipped = before;
        flipped[n - 1] = !flipped[n - 1];
        EXPECT_EQ(gOptions, flipped);
        EXPECT_EQ(image(key), flipped[n - 1] ? QStringLiteral("CT") : QStringLiteral("CF"));
        click(key);
        EXPECT_EQ(gOptions, before);
        EXPECT_EQ(image(key), before[n - 1] ? QStringLiteral("CT") : QStringLiteral("CF"));
        click(key); // left flipped for the check below
    }
    EXPECT_EQ(readFile(gProfileFile()), profile);
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
}

TEST_F(SettingsPageTree, GroupClicksChangeNothing) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    const auto options = gOptions;
    const int pathOption = gPathOption;
    for (const char* k : {"R1", "R2", "R3", "R4", "N1"}) {
        click(QString::fromLatin1(k));
        EXPECT_FALSE(p->valueEdit->isVisibleTo(p)) << k;
    }
    EXPECT_EQ(gOptions, options);
    EXPECT_EQ(gPathOption, pathOption);
}

TEST_F(SettingsPageTree, LocationClickSetsTheChoiceAndItsImages) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    for (int n : {PathOption::ProgramFolder, PathOption::Chosen, PathOption::Documents}) {
        SCOPED_TRACE(n);
        click(QStringLiteral("E%1").arg(n));
        EXPECT_EQ(gPathOption, n);
        for (int i = PathOption::ProgramFolder; i <= PathOption::Chosen; ++i)
            EXPECT_EQ(image(QStringLiteral("E%1").arg(i)),
                      i == n ? QStringLiteral("OT") : QStringLiteral("OF"));
        // Only the custom folder opens the editor.
        EXPECT_EQ(p->valueEdit->isVisibleTo(p), n == PathOption::Chosen);
        if (n == PathOption::Chosen) p->editorOkButton->click();
    }
}

TEST_F(SettingsPageTree, MouseClickOnANodeRunsTheClick) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    main_->show();
    QTreeWidgetItem* item = p->node(QStringLiteral("C3"));
    const QRect r = p->optionTree->visualItemRect(item);
    ASSERT_TRUE(r.isValid());
    const bool before = gOption(Option::BalloonOnMinimise);
    QTest::mouseClick(p->optionTree->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    EXPECT_EQ(gOption(Option::BalloonOnMinimise), !before);
    QTest::mouseClick(p->optionTree->viewport(), Qt::RightButton, Qt::NoModifier, r.center());
    EXPECT_EQ(gOption(Option::BalloonOnMinimise), !before);
    // The space bar clicks the selected node.
    p->optionTree->setCurrentItem(item);
    QTest::keyClick(p->optionTree, Qt::Key_Space);
    EXPECT_EQ(gOption(Option::BalloonOnMinimise), before);
}

// ---- the editor ----

struct MinuteCase {
    const char* key;
    const char* typed;
    const char* box;   // the editor's text after OK
    int stored;        // the minute value afterwards (start values 5, 2, 10)
    const char* shown; // the node's caption afterwards
};

void PrintTo(const MinuteCase& c, std::ostream* os) {
    *os << c.key << " \"" << c.typed << "\"";
}

class SettingsPageEditor : public SettingsPageBase, public ::testing::WithParamInterface<MinuteCase> {};

TEST_P(SettingsPageEditor, EntryIsCheckedCutAndShown) {
    const MinuteCase& c = GetParam();
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    const QString key = QString::fromLatin1(c.key);
    click(key);
    ASSERT_TRUE(p->valueEdit->isVisibleTo(p));
    EXPECT_TRUE(p->editorOkButton->isVisibleTo(p));
    EXPECT_EQ(p->editingKey(), key);
    enter(QString::fromUtf8(c.typed));
    EXPECT_EQ(p->valueEdit->text(), QString::fromUtf8(c.box));
    const int value = key == QLatin1String("D1")   ? gAutoSaveInterval
                      : key == QLatin1String("D2") ? gLockTimeout
                                                   : gRemindLead;
    EXPECT_EQ(value, c.stored);
    EXPECT_EQ(caption(key), QString::fromUtf8(c.shown));
    EXPECT_FALSE(p->valueEdit->isVisibleTo(p));
    EXPECT_FALSE(p->editorOkButton->isVisibleTo(p));
    EXPECT_TRUE(p->editingKey().isEmpty());
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsPageEditor,
    ::testing::Values(MinuteCase{"D1", "0", "1", 1, "保存间隔： 1 分钟"},
                      MinuteCase{"D1", " 42 ", "42", 42, "保存间隔： 42 分钟"},
                      MinuteCase{"D1", "30001", "30000", 30000, "保存间隔： 30000 分钟"},
                      MinuteCase{"D1", "1a", "1a", 5, "保存间隔： 5 分钟"},
                      MinuteCase{"D1", "", "", 5, "保存间隔： 5 分钟"},
                      MinuteCase{"D1", "-3", "-3", 5, "保存间隔： 5 分钟"},
                      MinuteCase{"D2", "0", "0", 0, "超时时间： 0 分钟（0为立即锁定）"},
                      MinuteCase{"D2", "007", "007", 7, "超时时间： 7 分钟（0为立即锁定）"},
                      MinuteCase{"D2", "30000", "30000", 30000, "超时时间： 30000 分钟（0为立即锁定）"},
                      MinuteCase{"D2", "   ", "", 2, "超时时间： 2 分钟（0为立即锁定）"},
                      MinuteCase{"D2", "1.5", "1.5", 2, "超时时间： 2 分钟（0为立即锁定）"},
                      MinuteCase{"D3", "0", "0", 0, "提前时间： 0 分钟"},
                      MinuteCase{"D3", "99999999999999999999999", "30000", 30000, "提前时间： 30000 分钟"},
                      MinuteCase{"D3", "00000000000000000000012", "00000000000000000000012", 12,
                                 "提前时间： 12 分钟"},
                      MinuteCase{"D3", "１２", "１２", 10, "提前时间： 10 分钟"},
                      MinuteCase{"D3", "+5", "+5", 10, "提前时间： 10 分钟"}));

TEST_F(SettingsPageTree, EditorOpensWithTheCurrentValue) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    gLockTimeout = 17;
    click(QStringLiteral("D2"));
    EXPECT_EQ(p->valueEdit->text(), QStringLiteral("17"));
    p->editorOkButton->click();
    // The caption is rebuilt from the value even when the entry is unchanged.
    EXPECT_EQ(caption(QStringLiteral("D2")), QStringLiteral("超时时间： 17 分钟（0为立即锁定）"));
    click(QStringLiteral("D1"));
    EXPECT_EQ(p->valueEdit->text(), QStringLiteral("5"));
    p->editorOkButton->click();
    click(QStringLiteral("D3"));
    EXPECT_EQ(p->valueEdit->text(), QStringLiteral("10"));
}

TEST_F(SettingsPageTree, CustomFolderEntry) {
    storeSetting(QStringLiteral("WorkPath"), QStringLiteral("/old/place/"));
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    click(QStringLiteral("E3"));
    EXPECT_EQ(p->valueEdit->text(), QStringLiteral("/old/place/"));
    enter(QStringLiteral("  /new/place  "));
    EXPECT_EQ(p->workPath(), QStringLiteral("/new/place"));
    EXPECT_EQ(caption(QStringLiteral("E3")), QStringLiteral("自定义： /new/place"));
    // An empty entry keeps the folder.
    click(QStringLiteral("E3"));
    enter(QStringLiteral("   "));
    EXPECT_EQ(p->workPath(), QStringLiteral("/new/place"));
    EXPECT_EQ(caption(QStringLiteral("E3")), QStringLiteral("自定义： /new/place"));
    EXPECT_EQ(gPathOption, PathOption::Chosen);
    // Nothing is stored before the save.
    EXPECT_EQ(setting(QStringLiteral("WorkPath")), QStringLiteral("/old/place/"));
}

TEST_F(SettingsPageTree, CustomFolderWithoutItsRootIsTakenFromHome) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    const QString homeDir = QDir::homePath();
    const struct {
        const char* typed;
        QString folder;
    } cases[] = {
        {"diary", homeDir + QStringLiteral("/diary")},
        {"~/my diary/", homeDir + QStringLiteral("/my diary/")},
        {"~", homeDir},
        {"/abs/path", QStringLiteral("/abs/path")},
        {"~other/x", homeDir + QStringLiteral("/~other/x")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        click(QStringLiteral("E3"));
        enter(QString::fromUtf8(c.typed));
        EXPECT_EQ(p->workPath(), c.folder);
        EXPECT_EQ(caption(QStringLiteral("E3")), QStringLiteral("自定义： ") + c.folder);
    }
}

TEST_F(SettingsPageTree, EnterAndLeavingTheBoxTakeTheEntry) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    main_->show();
    QApplication::setActiveWindow(main_);
    pumpEvents();

    click(QStringLiteral("D1"));
    ASSERT_TRUE(p->valueEdit->hasFocus());
    p->valueEdit->setText(QStringLiteral("12"));
    QTest::keyClick(p->valueEdit, Qt::Key_Return);
    EXPECT_EQ(gAutoSaveInterval, 12);
    EXPECT_FALSE(p->valueEdit->isVisibleTo(p));

    // Moving the focus away takes the entry for the node it was opened on.
    click(QStringLiteral("D3"));
    p->valueEdit->setText(QStringLiteral("25"));
    p->optionTree->setCurrentItem(p->node(QStringLiteral("C1")));
    p->optionTree->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(gRemindLead, 25);
    EXPECT_EQ(gAutoSaveInterval, 12);
    EXPECT_FALSE(p->valueEdit->isVisibleTo(p));

    // Opening another node's editor first takes the open one's entry.
    click(QStringLiteral("D2"));
    p->valueEdit->setText(QStringLiteral("9"));
    click(QStringLiteral("D1"));
    EXPECT_EQ(gLockTimeout, 9);
    EXPECT_EQ(p->editingKey(), QStringLiteral("D1"));
    EXPECT_EQ(p->valueEdit->text(), QStringLiteral("12"));

    // The OK button: the entry counts once.
    p->valueEdit->setText(QStringLiteral("3"));
    p->editorOkButton->click();
    EXPECT_EQ(gAutoSaveInterval, 3);
    EXPECT_FALSE(p->editorOkButton->isVisibleTo(p));
}

TEST_F(SettingsPageTree, PageFollowsItsSize) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    for (QSize s : {QSize(726, 445), QSize(900, 600)}) {
        SCOPED_TRACE(s.width());
        p->resize(s);
        const int w = gTwips(s.width());
        EXPECT_EQ(p->titleBand->width(), gPx(w - 120));
        EXPECT_EQ(p->buttonBand->width(), gPx(w - 120));
        EXPECT_EQ(p->saveButton->mapTo(p, QPoint(0, 0)).x(), gPx(w - 2430));
        EXPECT_EQ(p->cancelButton->mapTo(p, QPoint(0, 0)).x(), gPx(w - 1230));
        EXPECT_TRUE(
            p->treeFrame->geometry().contains(p->optionTree->geometry().translated(p->treeFrame->pos())));
        EXPECT_LT(p->treeFrame->geometry().bottom(), p->buttonBand->geometry().top());
        EXPECT_LT(p->titleBand->geometry().bottom(), p->treeFrame->geometry().top());
    }
}

} // namespace

namespace {

class SettingsPageLeave : public SettingsPageBase {};

TEST_F(SettingsPageLeave, EntryStillInTheBoxIsDroppedWhenThePageGoes) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    main_->show();
    QApplication::setActiveWindow(main_);
    pumpEvents();
    click(QStringLiteral("D2"));
    ASSERT_TRUE(p->valueEdit->hasFocus());
    p->valueEdit->setText(QStringLiteral("99"));
    // A top-bar button takes no focus: the box still has it when the switch runs.
    ASSERT_TRUE(main_->gChangeFrame(Page::Home));
    pumpEvents();
    EXPECT_EQ(gLockTimeout, 2);
    EXPECT_FALSE(forms::isLoaded(Form::frmSet));
}

TEST_F(SettingsPageLeave, SaveTakesTheEntryStillInTheBox) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    click(QStringLiteral("D1"));
    p->valueEdit->setText(QStringLiteral("33"));
    // Pressed as its keyboard shortcut does: the focus stays in the box.
    p->saveButton->click();
    EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Home));
    gResetAccountState();
    ASSERT_TRUE(gReadUserData());
    EXPECT_EQ(gAutoSaveInterval, 33);
}

} // namespace

namespace {

class SettingsPageEditorPlace : public SettingsPageBase {};

TEST_F(SettingsPageEditorPlace, EditorSitsOnItsRowAndScrollsWithIt) {
    frmSet* p = openPage();
    ASSERT_NE(p, nullptr);
    main_->show();
    pumpEvents();
    auto rowCentre = [p](const QString& key) {
        const QRect r = p->optionTree->visualItemRect(p->node(key));
        return p->optionTree->viewport()->mapTo(p->treeFrame, r.center()).y();
    };
    click(QStringLiteral("D2"));
    ASSERT_TRUE(p->valueEdit->isVisible());
    EXPECT_NEAR(p->valueEdit->geometry().center().y(), rowCentre(QStringLiteral("D2")), 2);
    EXPECT_LE(p->editorOkButton->geometry().right(), p->treeFrame->width());
    EXPECT_GT(p->valueEdit->x(), 0);
    QScrollBar* bar = p->optionTree->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "the tree should not fit the page";
    bar->setValue(bar->value() > 0 ? 0 : bar->maximum());
    EXPECT_NEAR(p->valueEdit->geometry().center().y(), rowCentre(QStringLiteral("D2")), 2);
    EXPECT_EQ(p->editorOkButton->y(), p->valueEdit->y());
}

} // namespace

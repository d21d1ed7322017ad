// A name as long as account creation takes is cut with "…" where a window shows
// it, the whole name in the tool tip, never clipped.
#include "shellFixture.h"

#include "accounts/frmLock.h"
#include "accounts/frmLogin.h"
#include "accounts/frmUser.h"
#include "core/ui/gLinkLabel.h"
#include "core/model/gOptions.h"
#include "core/model/gState.h"
#include "diary/frmWelcome.h"
#include "shell/frmMain.h"
#include "shell/gProgram.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <functional>

namespace {

// Account creation takes a name of any length.
const QString kName = QStringLiteral("我的名字特别特别长长到任何一个窗口都放不下它&它的全部文字").repeated(4);

class LongName : public AccountShellTest {
public:
    using AccountShellTest::loadMain;

protected:
    void SetUp() override {
        AccountShellTest::SetUp();
        makeAccount();
        gUserName = kName;
        gRegisterForms();
    }
};

// Every line of the label as drawn fits its width.
bool fits(const QLabel* l) {
    QString text = l->text();
    if (l->buddy()) text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&'));
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (l->fontMetrics().horizontalAdvance(line) > l->contentsRect().width()) return false;
    return true;
}

TEST_F(LongName, IsCutWithAnEllipsisAndShownWholeInTheToolTip) {
    const struct {
        const char* where;
        std::function<QLabel*(LongName&)> open;
    } cases[] = {
        {"sign-in window, password only",
         [](LongName&) {
             gOption(Option::PasswordOnlySignIn) = true;
             auto* w = forms::load<frmLogin>(Form::frmLogin);
             w->show();
             return w->nameLabel;
         }},
        {"home page greeting",
         [](LongName& t) {
             t.loadMain();
             gChangeFrame(Page::Home);
             return static_cast<frmWelcome*>(gMainWindow()->currentPage())->greetingLabel;
         }},
        {"account page",
         [](LongName& t) {
             t.loadMain();
             gChangeFrame(Page::Account);
             return static_cast<frmUser*>(gMainWindow()->currentPage())->accountLabel;
         }},
        {"account page, rename",
         [](LongName& t) {
             t.loadMain();
             gChangeFrame(Page::Account);
             auto* p = static_cast<frmUser*>(gMainWindow()->currentPage());
             QTest::mouseClick(p->changeNameLink, Qt::LeftButton, {}, QPoint(3, 3));
             return p->renamePrompt;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        QLabel* l = c.open(*this);
        ASSERT_NE(l, nullptr);
        pumpEvents();
        EXPECT_TRUE(l->text().contains(QStringLiteral("…"))) << l->text().toStdString();
        EXPECT_TRUE(fits(l)) << l->text().toStdString();
        EXPECT_TRUE(l->toolTip().contains(kName)) << l->toolTip().toStdString();
        forms::unloadAllNow();
        gRegisterForms();
        main_ = nullptr;
    }
}

TEST_F(LongName, ShortNamesAreShownWholeWithoutToolTip) {
    gUserName = QStringLiteral("Ann");
    loadMain();
    gChangeFrame(Page::Account);
    auto* p = static_cast<frmUser*>(gMainWindow()->currentPage());
    EXPECT_EQ(p->accountLabel->text(), QStringLiteral("Ann\n\n密码保护"));
    EXPECT_TRUE(p->accountLabel->toolTip().isEmpty());
}

TEST_F(LongName, NameBoxesShowTheWholeNameAsToolTip) {
    auto* w = forms::load<frmLock>(Form::frmLock);
    w->show();
    w->nameEdit->setText(kName);
    EXPECT_EQ(w->nameEdit->toolTip(), kName);
    w->nameEdit->setText(QStringLiteral("Ann"));
    EXPECT_TRUE(w->nameEdit->toolTip().isEmpty());
}

} // namespace

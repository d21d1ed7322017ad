#include "accounts/frmCreateAccount.h"

#include "accounts/gAccountRules.h"
#include "accounts/gAccountWindow.h"
#include "core/model/clsMD5.h"
#include "core/model/gClock.h"
#include "core/ui/gDialogKeys.h"
#include "core/base/gError.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMain.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"
#include "core/ui/gShared.h"
#include "core/ui/gStartup.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "core/model/gUserData.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include <cmath>

namespace {
// The picture fills the upper part; the texts and boxes sit below its drawing.
constexpr int kLabelLeft = 360, kBoxLeft = 1800, kBoxWidth = 4020, kBoxHeight = 345;
constexpr int kRowTop = 3960, kRowStep = 480;
constexpr int kButtonTop = 5460;
} // namespace

frmCreateAccount::frmCreateAccount(QWidget* parent) : QWidget(parent) {
    gSetUpAccountWindow(this, QStringLiteral("第一次使用"), kClientWidth, kClientHeight, true);

    introLabel = new QLabel(
        QStringLiteral("Rededera 还没有创建用户配置文件。\n\n输入用户名和密码，再单击“确定”。"), this);
    introLabel->setObjectName(QStringLiteral("Label1"));
    introLabel->setTextFormat(Qt::PlainText);
    introLabel->setWordWrap(true);
    introLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    introLabel->setGeometry(gPxRect(360, 3060, kClientWidth - 720, 810));

    auto makeRow = [this](QLabel*& label, QLineEdit*& box, const char* labelName, const char* boxName,
                          const QString& caption, int row) {
        const int top = kRowTop + row * kRowStep;
        label = new QLabel(caption, this);
        label->setObjectName(QLatin1String(labelName));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(gPxRect(kLabelLeft, top, kBoxLeft - kLabelLeft - 120, kBoxHeight));
        box = new QLineEdit(this);
        box->setObjectName(QLatin1String(boxName));
        box->setGeometry(gPxRect(kBoxLeft, top, kBoxWidth, kBoxHeight));
        label->setBuddy(box);
    };
    makeRow(nameCaption, nameEdit, "Label2", "Text1", QStringLiteral("用户："), 0);
    makeRow(passwordCaption, passwordEdit, "Label3", "Text2", QStringLiteral("密码："), 1);
    makeRow(confirmCaption, confirmEdit, "Label4", "Text3", QStringLiteral("确认密码："), 2);
    passwordEdit->setEchoMode(QLineEdit::Password);
    confirmEdit->setEchoMode(QLineEdit::Password);
    gUseNameFilter(nameEdit);
    gUsePasswordFilter(passwordEdit);
    gUsePasswordFilter(confirmEdit);

    chooseFolderLink = new gLinkLabel(QStringLiteral("选择目录"), this);
    chooseFolderLink->setObjectName(QStringLiteral("lblCmd1"));
    chooseFolderLink->move(gPxPoint(360, kButtonTop + 90));
    chooseFolderLink->adjustSize();

    gAddOkCancel(this, kClientWidth, kButtonTop, okButton, cancelButton);

    setTabOrder(nameEdit, passwordEdit);
    setTabOrder(passwordEdit, confirmEdit);
    setTabOrder(confirmEdit, okButton);
    setTabOrder(okButton, cancelButton);

    connect(okButton, &QPushButton::clicked, this, [this] { gGuard([this] { okButton_Click(); }); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { gGuard([this] { cancelButton_Click(); }); });
    connect(chooseFolderLink, &gLinkLabel::mouseUp, this,
            [this](int b, int s, int x, int y) { gGuard([&] { chooseFolderLink_MouseUp(b, s, x, y); }); });
}

frmCreateAccount::~frmCreateAccount() = default;

void frmCreateAccount::formLoad() {
    // The picture is optional decoration: a build without it still works.
    if (gHasResPicture(gResKind::Bitmap, Res::WelcomeBackground))
        background_ = gLoadResPicture(Res::WelcomeBackground);
    gSetHandCursor(this);
}

void frmCreateAccount::paintEvent(QPaintEvent* e) {
    QWidget::paintEvent(e);
    if (background_.isNull()) return;
    QPainter p(this);
    p.drawPixmap(0, 0, background_);
}

void frmCreateAccount::closeEvent(QCloseEvent* e) {
    e->ignore();
    gGuard([this] { forms::unload(this); });
}

void frmCreateAccount::okButton_Click() {
    if (nameEdit->text().isEmpty()) {
        gMsgBox(Msg::AccountNameMissing, gButtonSet::Close);
        nameEdit->setFocus();
        return;
    }
    if (passwordEdit->text() != confirmEdit->text()) {
        gMsgBox(Msg::PasswordsDiffer, gButtonSet::Close);
        passwordEdit->setFocus();
        return;
    }
    QString digest;
    try {
        digest = clsMD5().DigestStrToHexStr(passwordEdit->text());
    } catch (const gRuntimeError&) {
        // The box's filter keeps such characters out; a password that still has
        // no digest is refused like a wrong one.
        gMsgBox(Msg::SignInRejected, gButtonSet::Close);
        passwordEdit->setFocus();
        passwordEdit->selectAll();
        return;
    }

    const int key = scrambled::drawKey(254);
    AccountProfile profile;
    profile.UserName = nameEdit->text(); // as typed, blanks included
    profile.PasswordHash = digest;
    gRandomize();
    profile.RecordKey = QString::number(static_cast<int>(std::floor(gRnd() * 9999999)));
    gRandomize();
    profile.PictureIndex = QString::number(static_cast<int>(std::floor(gRnd() * 11)));
    profile.OptionBits = QString::fromLatin1(kDefaultOptions);
    profile.LockTimeout = QStringLiteral("5");
    profile.AutoSaveInterval = QStringLiteral("5");
    profile.RemindLead = QStringLiteral("30");

    // Only a profile that is really on disk counts as created.
    if (!scrambled::writeFile(gProfileFile(), profile.fields(), key, true)) {
        gShowErrorBox(gRuntimeError(gErr::PathFileAccess, gErrorText(gErr::PathFileAccess)), true);
        return;
    }
    gOptions = gParseOptionBits(profile.OptionBits);

    gMsgBox(Msg::ProfileCreated, gButtonSet::Close);
    Main();
    forms::unload(this);
}

void frmCreateAccount::cancelButton_Click() {
    gEndProgram();
}

void frmCreateAccount::chooseFolderLink_MouseUp(int button, int, int, int) {
    if (button != 1) return;
    if (!gChooseDataFolder(this)) return;
    forms::unload(this);
    Main();
}

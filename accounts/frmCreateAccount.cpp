#include "accounts/frmCreateAccount.h"

#include "accounts/gAccountRules.h"
#include "accounts/gAccountWindow.h"
#include "core/clsMD5.h"
#include "core/gClock.h"
#include "core/gDialogKeys.h"
#include "core/gError.h"
#include "core/gLinkLabel.h"
#include "core/gMain.h"
#include "core/gMsgBox.h"
#include "core/gResources.h"
#include "core/gShared.h"
#include "core/gStartup.h"
#include "core/gState.h"
#include "core/gTwips.h"
#include "core/gUserData.h"

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

    Label1 = new QLabel(
        QStringLiteral("Rededera 还没有创建用户配置文件。\n\n输入用户名和密码，再单击“确定”。"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setGeometry(gPxRect(360, 3060, kClientWidth - 720, 810));

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
    makeRow(Label2, Text1, "Label2", "Text1", QStringLiteral("用户："), 0);
    makeRow(Label3, Text2, "Label3", "Text2", QStringLiteral("密码："), 1);
    makeRow(Label4, Text3, "Label4", "Text3", QStringLiteral("确认密码："), 2);
    Text2->setEchoMode(QLineEdit::Password);
    Text3->setEchoMode(QLineEdit::Password);
    gUseNameFilter(Text1);
    gUsePasswordFilter(Text2);
    gUsePasswordFilter(Text3);

    lblCmd1 = new gLinkLabel(QStringLiteral("选择目录"), this);
    lblCmd1->setObjectName(QStringLiteral("lblCmd1"));
    lblCmd1->move(gPxPoint(360, kButtonTop + 90));
    lblCmd1->adjustSize();

    gAddOkCancel(this, kClientWidth, kButtonTop, Command1, Command2);

    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Text3);
    setTabOrder(Text3, Command1);
    setTabOrder(Command1, Command2);

    connect(Command1, &QPushButton::clicked, this, [this] { gGuard([this] { Command1_Click(); }); });
    connect(Command2, &QPushButton::clicked, this, [this] { gGuard([this] { Command2_Click(); }); });
    connect(lblCmd1, &gLinkLabel::mouseUp, this,
            [this](int b, int s, int x, int y) { gGuard([&] { lblCmd1_MouseUp(b, s, x, y); }); });
}

frmCreateAccount::~frmCreateAccount() = default;

void frmCreateAccount::formLoad() {
    // The picture is optional decoration: a build without it still works.
    if (gHasResPicture(gResKind::Bitmap, 120)) background_ = gLoadResPicture(120);
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

void frmCreateAccount::Command1_Click() {
    if (Text1->text().isEmpty()) {
        gMsgBox(Msg::AccountNameMissing, gButtonSet::Close);
        Text1->setFocus();
        return;
    }
    if (Text2->text() != Text3->text()) {
        gMsgBox(Msg::PasswordsDiffer, gButtonSet::Close);
        Text2->setFocus();
        return;
    }
    QString digest;
    try {
        digest = clsMD5().DigestStrToHexStr(Text2->text());
    } catch (const gRuntimeError&) {
        // The box's filter keeps such characters out; a password that still has
        // no digest is refused like a wrong one.
        gMsgBox(Msg::SignInRejected, gButtonSet::Close);
        Text2->setFocus();
        Text2->selectAll();
        return;
    }

    const int key = scrambled::drawKey(254);
    AccountProfile profile;
    profile.UserName = Text1->text(); // as typed, blanks included
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

void frmCreateAccount::Command2_Click() {
    gEndProgram();
}

void frmCreateAccount::lblCmd1_MouseUp(int button, int, int, int) {
    if (button != 1) return;
    if (!gChooseDataFolder(this)) return;
    forms::unload(this);
    Main();
}

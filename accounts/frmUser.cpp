#include "accounts/frmUser.h"

#include "accounts/frmKeyExport.h"
#include "accounts/gAccountRules.h"
#include "core/clsMD5.h"
#include "core/gClock.h"
#include "core/gDatabase.h"
#include "core/gDialogKeys.h"
#include "core/gError.h"
#include "core/gFormParts.h"
#include "core/gLinkLabel.h"
#include "core/gMsgBox.h"
#include "core/gPageSwitch.h"
#include "core/gResources.h"
#include "core/gShared.h"
#include "core/gState.h"
#include "core/gTwips.h"
#include "core/gUserData.h"
#include "core/gUserDataUi.h"
#include "platform/dialogs.h"

#include <QFile>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTableWidget>

#include <cmath>

const QString frmUser::kNoPasswordHash = QStringLiteral("D41D8CD98F00B204E9800998ECF8427E");

namespace {

const QString kPictureFilter = QStringLiteral(
    "图形文件(*.bmp,*.ico,*.gif,*.jpg,*.jpeg,*.wmf,*.emf)|*.bmp;*.gif;*.jpg;*.jpeg;*.ico;*.wmf;*.emf|位图(*."
    "bmp)|*."
    "bmp|图标(*.ico)|*.ico|GIF(*.gif)|*.gif|JPEG(*.jpg,*.jpeg)|*.jpg;*.jpeg|元文件(*.wmf,*.emf)|*.wmf;*.emf");

constexpr int kCellTwips = 900;
constexpr int kPictureCell = 12; // row 1, column 5: the account's own picture

QString digestOf(const QString& text) {
    return clsMD5().DigestStrToHexStr(text);
}

QPixmap svgPicture(const QString& path, QSize size) {
    QSvgRenderer svg(path);
    QPixmap pm(size * 2);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    svg.render(&p);
    p.end();
    pm.setDevicePixelRatio(2);
    return pm;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text = {}) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    return l;
}

QLabel* makeTitle(QWidget* parent, const char* name, const QString& text = {}) {
    QLabel* l = makeLabel(parent, name, text);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.35);
    l->setFont(f);
    l->setStyleSheet(QStringLiteral("color: #1f4f86;"));
    return l;
}

gLinkLabel* makeLink(QWidget* parent, const char* name, const QString& text) {
    auto* l = new gLinkLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QLineEdit* makeBox(QWidget* parent, const char* name, bool password) {
    auto* t = new QLineEdit(parent);
    t->setObjectName(QLatin1String(name));
    if (password) {
        t->setEchoMode(QLineEdit::Password);
        gUsePasswordFilter(t);
    } else {
        gUseNameFilter(t);
    }
    return t;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

// A dialog frame: white, covering the page over the link list.
QWidget* makeFrame(QWidget* parent, const char* name) {
    auto* f = new QWidget(parent);
    f->setObjectName(QLatin1String(name));
    f->setAutoFillBackground(true);
    QPalette pal = f->palette();
    pal.setColor(QPalette::Window, Qt::white);
    f->setPalette(pal);
    f->hide();
    return f;
}

// Raised inside a catch so the error box tells what failed.
[[noreturn]] void fail(const QString& what) {
    throw gRuntimeError(gErr::PathFileAccess, what);
}

} // namespace

frmUser::frmUser(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmUser"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    Image1 = makeLabel(this, "Image1");
    Image1->setGeometry(gPxRect(120, 90, 480, 480));
    Image1->setPixmap(svgPicture(QStringLiteral(":/res/accounts/account.svg"), QSize(32, 32)));
    Label2 = makeTitle(this, "Label2", QStringLiteral("用户帐户"));
    Label2->setGeometry(gPxRect(720, 150, 4000, 420));

    // The link list.
    Frame1 = new QWidget(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label16 = makeTitle(Frame1, "Label16", QStringLiteral("您想更改您的帐户的什么?"));
    Label16->setGeometry(gPxRect(240, 240, 5000, 360));
    lblCmd10 = makeLink(Frame1, "lblCmd10", QStringLiteral("更改名称"));
    lblCmd11 = makeLink(Frame1, "lblCmd11", QStringLiteral("创建密码"));
    lblCmd12 = makeLink(Frame1, "lblCmd12", QStringLiteral("删除我的密码"));
    lblCmd13 = makeLink(Frame1, "lblCmd13", QStringLiteral("更改我的图片"));
    lblCmd14 = makeLink(Frame1, "lblCmd14", QStringLiteral("导出我的密匙"));
    Image5 = makeLabel(Frame1, "Image5");
    Image5->setAlignment(Qt::AlignCenter);
    Image5->setStyleSheet(QStringLiteral("QLabel#Image5 { border: 1px solid #c9dbef; border-radius: 4px; }"));
    Label17 = makeLabel(Frame1, "Label17");
    Label17->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // Rename.
    Frame2 = makeFrame(this, "Frame2");
    Label18 = makeTitle(Frame2, "Label18");
    Label19 = makeLabel(Frame2, "Label19");
    Text2 = makeBox(Frame2, "Text2", false);
    gTipWhenCut(Text2);
    Label19->setBuddy(Text2);
    Label20 = makeLabel(Frame2, "Label20", QStringLiteral("这个名称将会出现在欢迎屏幕。"));
    Image6 = makeLabel(Frame2, "Image6");
    Command1 = makeButton(Frame2, "Command1", QStringLiteral("改变名称"));
    Command2 = makeButton(Frame2, "Command2", QStringLiteral("取消"));

    // Password.
    Frame3 = makeFrame(this, "Frame3");
    Label21 = makeTitle(Frame3, "Label21");
    Label22 = makeLabel(Frame3, "Label22", QStringLiteral("键入您当前的密码:"));
    Text3 = makeBox(Frame3, "Text3", true);
    Frame6 = new QWidget(Frame3);
    Frame6->setObjectName(QStringLiteral("Frame6"));
    Label24 = makeLabel(Frame6, "Label24", QStringLiteral("输入一个新密码:"));
    Text4 = makeBox(Frame6, "Text4", true);
    Label25 = makeLabel(Frame6, "Label25", QStringLiteral("再次输入密码以确认:"));
    Text5 = makeBox(Frame6, "Text5", true);
    Label26 = makeLabel(Frame6, "Label26",
                        QStringLiteral("如果您的密码包含大写字母，您必须在每次登录时用同样的方式输入。"));
    Label26->setWordWrap(true);
    Label26->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image7 = makeLabel(Frame3, "Image7");
    Command7 = makeButton(Frame3, "Command7", QStringLiteral("创建密码"));
    Command8 = makeButton(Frame3, "Command8", QStringLiteral("取消"));

    // Remove the password.
    Frame4 = makeFrame(this, "Frame4");
    Label27 = makeTitle(Frame4, "Label27");
    Label28 = makeLabel(Frame4, "Label28");
    Label28->setWordWrap(true);
    Label28->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Text6 = makeBox(Frame4, "Text6", true);
    Image8 = makeLabel(Frame4, "Image8");
    Command3 = makeButton(Frame4, "Command3", QStringLiteral("删除密码"));
    Command4 = makeButton(Frame4, "Command4", QStringLiteral("取消"));

    // Picture.
    Frame5 = makeFrame(this, "Frame5");
    Label29 = makeTitle(Frame5, "Label29", QStringLiteral("为您的帐户挑一个新的图像"));
    Label30 = makeLabel(Frame5, "Label30", QStringLiteral("您选择的图像会出现在 欢迎屏幕。"));
    picList = new QTableWidget(2, 7, Frame5);
    picList->setObjectName(QStringLiteral("picList"));
    picList->horizontalHeader()->hide();
    picList->verticalHeader()->hide();
    picList->setSelectionMode(QAbstractItemView::SingleSelection);
    picList->setSelectionBehavior(QAbstractItemView::SelectItems);
    picList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    picList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    picList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    picList->setStyleSheet(
        QStringLiteral("QTableWidget { border: 1px solid #c9dbef; gridline-color: #e3ecf7; }"
                       "QTableWidget::item:selected { background: #cfe2f8; }"));
    for (int c = 0; c < 7; ++c)
        picList->setColumnWidth(c, gPx(kCellTwips));
    for (int r = 0; r < 2; ++r)
        picList->setRowHeight(r, gPx(kCellTwips));
    picList->resize(gPx(kCellTwips) * 7 + 2, gPx(kCellTwips) * 2 + 2);
    lblCmd23 = makeLink(Frame5, "lblCmd23", QStringLiteral("浏览图片"));
    Image9 = makeLabel(Frame5, "Image9");
    Image10 = makeLabel(Frame5, "Image10");
    Image10->setAlignment(Qt::AlignCenter);
    Command5 = makeButton(Frame5, "Command5", QStringLiteral("更改图片"));
    Command6 = makeButton(Frame5, "Command6", QStringLiteral("取消"));

    const QPixmap padlock = svgPicture(QStringLiteral(":/res/accounts/padlock.svg"), QSize(48, 48));
    const QPixmap account = svgPicture(QStringLiteral(":/res/accounts/account.svg"), QSize(48, 48));
    Image6->setPixmap(account);
    Image7->setPixmap(padlock);
    Image8->setPixmap(padlock);
    Image9->setPixmap(account);

    connect(lblCmd10, &gLinkLabel::clicked, this, [this] { gGuard([this] { lblCmd10_MouseUp(); }); });
    connect(lblCmd11, &gLinkLabel::clicked, this, [this] { gGuard([this] { lblCmd11_MouseUp(); }); });
    connect(lblCmd12, &gLinkLabel::clicked, this, [this] { gGuard([this] { lblCmd12_MouseUp(); }); });
    connect(lblCmd13, &gLinkLabel::clicked, this, [this] { gGuard([this] { lblCmd13_MouseUp(); }); });
    connect(lblCmd14, &gLinkLabel::clicked, this, [this] { gGuard([this] { lblCmd14_MouseUp(); }); });
    connect(lblCmd23, &gLinkLabel::clicked, this, [this] { gGuard([this] { lblCmd23_MouseUp(); }); });
    connect(Command1, &QPushButton::clicked, this, [this] { gGuard([this] { Command1_Click(); }); });
    connect(Command7, &QPushButton::clicked, this, [this] { gGuard([this] { Command7_Click(); }); });
    connect(Command3, &QPushButton::clicked, this, [this] { gGuard([this] { Command3_Click(); }); });
    connect(Command5, &QPushButton::clicked, this, [this] { gGuard([this] { Command5_Click(); }); });
    for (auto [button, frame] : {std::pair{Command2, Frame2}, std::pair{Command8, Frame3},
                                 std::pair{Command4, Frame4}, std::pair{Command6, Frame5}}) {
        QWidget* f = frame;
        connect(button, &QPushButton::clicked, this, [this, f] {
            f->setVisible(false);
            gBindDefaultCancel(this, nullptr, nullptr);
        });
    }
    connect(picList, &QTableWidget::currentCellChanged, this, [this](int row, int col) {
        const QLabel* cell = qobject_cast<QLabel*>(picList->cellWidget(row, col));
        Image10->setPixmap(cell ? cell->pixmap() : QPixmap());
    });

    resize(gPxSize(frmKeyExport::kDesignWidth, frmKeyExport::kDesignHeight));
}

frmUser::~frmUser() = default;

bool frmUser::hasPassword() {
    return gPasswordHash != kNoPasswordHash;
}

void frmUser::formLoad() {
    // A part that cannot be built is reported and the rest of the page still comes up.
    auto step = [](auto&& body) {
        try {
            body();
        } catch (...) {
            gShowErrorBox(true);
        }
    };
    step([this] { gSetHandCursor(this); });
    step([this] {
        for (int n = 0; n < 12; ++n)
            setCellPicture(n / 7, n % 7, gLoadResPicture(101 + n, gResKind::Bitmap, QSize(48, 48)));
        setCellPicture(1, 5, {});
        setCellPicture(1, 6, {});
    });
    step([this] { Image5->setPixmap(gLoadUserPicture(gPictureIndex)); });
    step([this] { showAccount(); });
    step([this] { placeLinks(); });
    layoutFrames();
}

void frmUser::setCellPicture(int row, int col, const QPixmap& picture) {
    auto* cell = qobject_cast<QLabel*>(picList->cellWidget(row, col));
    if (!cell) {
        cell = new QLabel;
        cell->setAlignment(Qt::AlignCenter);
        cell->setAttribute(Qt::WA_TransparentForMouseEvents);
        picList->setCellWidget(row, col, cell);
    }
    QPixmap shown = picture;
    const int room = gPx(kCellTwips) - 6;
    if (!shown.isNull() && (shown.width() > room || shown.height() > room))
        shown = shown.scaled(room, room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    cell->setPixmap(shown);
    if (row == 1 && col == 5) ownPictureShown_ = !picture.isNull();
}

void frmUser::showAccount() {
    QString rest = QStringLiteral("\n");
    if (hasPassword()) rest += QStringLiteral("\n密码保护");
    gSetNameText(Label17, gUserName, {}, rest);
}

void frmUser::placeLinks() {
    lblCmd10->move(gPxPoint(240, 600));
    lblCmd11->move(gPxPoint(240, 960));
    if (hasPassword()) {
        lblCmd11->setText(QStringLiteral("更改我的密码"));
        lblCmd12->setText(QStringLiteral("删除我的密码"));
        lblCmd12->move(gPxPoint(240, 1320));
        lblCmd12->show();
        lblCmd13->move(gPxPoint(240, 1680));
        lblCmd14->move(gPxPoint(240, 2040));
    } else {
        lblCmd11->setText(QStringLiteral("创建密码"));
        lblCmd12->hide();
        lblCmd13->move(gPxPoint(240, 1320));
        lblCmd14->move(gPxPoint(240, 1680));
    }
    for (gLinkLabel* l : {lblCmd10, lblCmd11, lblCmd12, lblCmd13, lblCmd14})
        l->adjustSize();
}

void frmUser::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    layoutFrames();
}

void frmUser::layoutFrames() {
    const int w = gTwips(width());
    const int h = gTwips(height());
    Frame1->setGeometry(gPxRect(0, 720, w, std::max(0, h - 720)));
    Image5->setGeometry(gPxRect(std::max(5400, w - 3480), 240, 900, 900));
    Label17->setGeometry(gPxRect(Image5->x() * 15 + 1020, 240, 2400, 900));
    showAccount(); // the name is cut to the label's width

    const int boxWidth = std::max(1500, w - 5040);
    auto buttons = [&](QWidget* f, QPushButton* ok, QPushButton* cancel) {
        f->setGeometry(0, 0, width(), height());
        ok->setGeometry(gPxRect(w - 2415, h - 495 - 375, 1095, 375));
        cancel->setGeometry(gPxRect(w - 1215, h - 495 - 375, 1095, 375));
    };
    auto picture = [&](QLabel* image) { image->setGeometry(gPxRect(w - 1200, 240, 720, 720)); };

    buttons(Frame2, Command1, Command2);
    picture(Image6);
    Label18->setGeometry(gPxRect(240, 240, w - 1680, 420));
    Label19->setGeometry(gPxRect(240, 960, w - 1680, 300));
    Text2->setGeometry(gPxRect(240, 1320, boxWidth, 330));
    Label20->setGeometry(gPxRect(240, 1800, w - 1680, 300));

    buttons(Frame3, Command7, Command8);
    picture(Image7);
    Label21->setGeometry(gPxRect(240, 240, w - 1680, 420));
    Label22->setGeometry(gPxRect(240, 720, boxWidth, 300));
    Text3->setGeometry(gPxRect(240, 1020, boxWidth, 330));
    Frame6->setGeometry(gPxRect(0, Frame6->y() * 15 >= 1440 ? 1440 : 600, w, 2400));
    Label24->setGeometry(gPxRect(240, 180, boxWidth, 300));
    Text4->setGeometry(gPxRect(240, 480, boxWidth, 330));
    Label25->setGeometry(gPxRect(240, 960, boxWidth, 300));
    Text5->setGeometry(gPxRect(240, 1260, boxWidth, 330));
    Label26->setGeometry(gPxRect(240, 1740, std::max(1500, w - 2640), 600));

    buttons(Frame4, Command3, Command4);
    picture(Image8);
    Label27->setGeometry(gPxRect(240, 240, w - 1680, 420));
    // Under the dialog's picture, which stands at its top right.
    Label28->setGeometry(gPxRect(240, 960, w - 240 - 240, 900));
    Text6->setGeometry(gPxRect(240, 1860, boxWidth, 330));

    buttons(Frame5, Command5, Command6);
    picture(Image9);
    Label29->setGeometry(gPxRect(240, 240, w - 1680, 420));
    Label30->setGeometry(gPxRect(240, 720, w - 1680, 300));
    picList->move(gPxPoint(240, 1140));
    lblCmd23->move(gPxPoint(240, 1140 + 2 * kCellTwips + 180));
    lblCmd23->adjustSize();
    Image10->setGeometry(gPxRect(240 + 7 * kCellTwips + 240, 1140, kCellTwips, kCellTwips));
}

// ---- rename ----

void frmUser::lblCmd10_MouseUp() {
    Text2->setText(gUserName);
    Label18->setText(QStringLiteral("为您的账户提供一个新名称"));
    // "&" of the name itself is no shortcut mark.
    gSetNameText(Label19, Text2->text(), QStringLiteral("为 "), QStringLiteral(" 键入一个名称(&T):"), true);
    gBindDefaultCancel(this, Command1, Command2);
    Command1->setDefault(true);
    Frame2->show();
    Frame2->raise();
    Text2->setFocus();
}

void frmUser::Command1_Click() {
    if (Text2->text().isEmpty()) {
        gMsgBox(Msg::AccountNameMissing, gButtonSet::Close);
        Text2->setFocus();
        return;
    }
    const QString before = gUserName;
    gUserName = Text2->text();
    if (!gSaveUserData()) {
        gUserName = before;
        try {
            fail(QStringLiteral("帐户配置文件无法写入，名称没有更改。"));
        } catch (...) {
            gShowErrorBox(true);
        }
        return;
    }
    showAccount();
    Frame2->hide();
    gBindDefaultCancel(this, nullptr, nullptr);
}

// ---- password ----

void frmUser::lblCmd11_MouseUp() {
    Text3->hide();
    Label22->hide();
    Text4->clear();
    Text5->clear();
    if (hasPassword()) {
        Command7->setText(QStringLiteral("更改密码"));
        Label21->setText(QStringLiteral("更改您的密码"));
        Label22->show();
        Text3->show();
        Text3->clear();
        Frame6->move(gPxPoint(0, 1440));
    } else {
        Command7->setText(QStringLiteral("创建密码"));
        Label21->setText(QStringLiteral("为您的账户创建一个密码"));
        Frame6->move(gPxPoint(0, 600));
    }
    gBindDefaultCancel(this, Command7, Command8);
    Command7->setDefault(true);
    Frame3->show();
    Frame3->raise();
    (Text3->isVisibleTo(Frame3) ? Text3 : Text4)->setFocus();
    layoutFrames();
}

bool frmUser::rekey(const QString& oldPassword, const QString& newPassword, const QString& newRecordKey) {
    const QString oldHash = gPasswordHash;
    const QString oldKey = gRecordKey;
    QString oldDb, newDb;
    try {
        oldDb = gMakeDbPassword(oldPassword);
        gRecordKey = newRecordKey;
        newDb = gMakeDbPassword(newPassword);
        gRecordKey = oldKey;
        // The database first: while it refuses, the profile still holds the key it has.
        gConnection.execute(QStringLiteral("ALTER DATABASE PASSWORD [") + newDb + QStringLiteral("] [") +
                            oldDb + QStringLiteral("];"));
    } catch (...) {
        gRecordKey = oldKey;
        gShowErrorBox(true);
        return false;
    }
    gPasswordHash = digestOf(newPassword);
    gRecordKey = newRecordKey;
    if (gSaveUserData()) return true;

    // The profile keeps the old digest and key: give the database its old key back.
    gPasswordHash = oldHash;
    gRecordKey = oldKey;
    try {
        try {
            gConnection.execute(QStringLiteral("ALTER DATABASE PASSWORD [") + oldDb + QStringLiteral("] [") +
                                newDb + QStringLiteral("];"));
        } catch (...) {
            fail(QStringLiteral("帐户配置文件无法写入，记录文件的密码也无法恢复。"));
        }
        fail(QStringLiteral("帐户配置文件无法写入，密码没有更改。"));
    } catch (...) {
        gShowErrorBox(true);
    }
    return false;
}

void frmUser::Command7_Click() {
    QString oldPassword;
    if (Text3->isVisibleTo(Frame3)) {
        if (digestOf(Text3->text()) != gPasswordHash) {
            Text5->clear();
            Text4->clear();
            Text3->clear();
            gMsgBox(Msg::WrongCurrentPassword, gButtonSet::Close);
            Text3->setFocus();
            return;
        }
        oldPassword = Text3->text();
    }
    if (Text4->text() != Text5->text()) {
        Text5->clear();
        Text4->clear();
        Text3->clear();
        gMsgBox(Msg::PasswordsDiffer, gButtonSet::Close);
        (Text3->isVisibleTo(Frame3) ? Text3 : Text4)->setFocus();
        return;
    }
    const QString newPassword = Text4->text();
    Text4->clear();
    Text5->clear();
    Text3->clear();
    if (!rekey(oldPassword, newPassword, gRecordKey)) return;
    gChangeFrame(Page::Account);
}

// ---- remove the password ----

void frmUser::lblCmd12_MouseUp() {
    Label27->setText(QStringLiteral("您确实要删除您的密码吗?"));
    Label28->setText(QStringLiteral(
        "如果删除您的密码，其他人就可以访问您的账户。\n\n要验证您的身份，请输入您的当前密码:"));
    Text6->clear();
    gBindDefaultCancel(this, Command3, Command4);
    Command3->setDefault(true);
    Text6->show();
    Frame4->show();
    Frame4->raise();
    Text6->setFocus();
}

void frmUser::Command3_Click() {
    if (digestOf(Text6->text()) != gPasswordHash) {
        Text6->clear();
        gMsgBox(Msg::WrongCurrentPassword, gButtonSet::Close);
        return;
    }
    const QString oldPassword = Text6->text();
    Text6->clear();
    // A fresh record key, so an old key file no longer opens the database.
    gRandomize();
    const QString newKey = QString::number(static_cast<long>(std::floor(gRnd() * 9999999.0)));
    if (!rekey(oldPassword, QString(), newKey)) return;
    gChangeFrame(Page::Account);
}

// ---- picture ----

void frmUser::lblCmd13_MouseUp() {
    try {
        const int row = gPictureIndex / 7;
        const int col = gPictureIndex - 7 * row;
        if (gPictureIndex == kPictureCell) setCellPicture(1, 5, Image5->pixmap());
        picList->setCurrentCell(row, col);
    } catch (...) {
        gShowErrorBox(true);
    }
    gBindDefaultCancel(this, Command5, Command6);
    Command5->setDefault(true);
    Frame5->show();
    Frame5->raise();
}

void frmUser::Command5_Click() {
    const int row = std::max(0, picList->currentRow());
    const int col = std::max(0, picList->currentColumn());
    const int number = 7 * row + col;
    if ((number == kPictureCell && !ownPictureShown_) || number > kPictureCell) {
        gMsgBox(Msg::NoPictureChosen, gButtonSet::Close);
        return;
    }
    const int before = gPictureIndex;
    gPictureIndex = number;
    if (!gSaveUserData()) {
        gPictureIndex = before;
        try {
            fail(QStringLiteral("帐户配置文件无法写入，图片没有更改。"));
        } catch (...) {
            gShowErrorBox(true);
        }
        return;
    }
    if (auto* cell = qobject_cast<QLabel*>(picList->cellWidget(row, col))) {
        // The account picture shows at its own size; the cell may hold it scaled down.
        Image5->setPixmap(gLoadUserPicture(number));
        if (Image5->pixmap().isNull()) Image5->setPixmap(cell->pixmap());
    }
    Frame5->hide();
    gBindDefaultCancel(this, nullptr, nullptr);
}

void frmUser::lblCmd23_MouseUp() {
    QString file;
    try {
        file = dialogs::getOpenFileName(this, QStringLiteral("打开"), {}, kPictureFilter);
    } catch (...) {
        return;
    }
    if (file.isEmpty()) return;

    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    QFile source(file);
    bool copied = !image.isNull() && source.open(QIODevice::ReadOnly);
    if (copied) {
        const QByteArray bytes = source.readAll();
        // The account's own picture is its owner's alone, like the rest of the account.
        copied = source.error() == QFileDevice::NoError && gWriteOwnerOnly(gPictureFile, bytes);
    }
    if (!copied) {
        gMsgBox(Msg::PictureUnreadable, gButtonSet::Close);
        return;
    }
    const QPixmap picture = QPixmap::fromImage(image);
    Image5->setPixmap(picture);
    setCellPicture(1, 5, picture);
    picList->setCurrentCell(1, 5);
    const int before = gPictureIndex;
    gPictureIndex = kPictureCell;
    if (!gSaveUserData()) {
        gPictureIndex = before;
        Image5->setPixmap(gLoadUserPicture(before));
        try {
            fail(QStringLiteral("帐户配置文件无法写入，图片没有更改。"));
        } catch (...) {
            gShowErrorBox(true);
        }
        return;
    }
    Frame5->hide();
    gBindDefaultCancel(this, nullptr, nullptr);
}

// ---- key file ----

void frmUser::lblCmd14_MouseUp() {
    auto* wizard = forms::load<frmKeyExport>(QStringLiteral("frmKeyExport"));
    if (!wizard) return;
    if (gPageSwitch* m = gPageSwitcher()) {
        wizard->setParent(m->pageArea(), Qt::Widget);
        wizard->setGeometry(m->pageRect());
    } else if (parentWidget()) {
        wizard->setParent(parentWidget(), Qt::Widget);
        wizard->setGeometry(geometry());
    }
    wizard->show();
    wizard->raise();
    forms::unload(this);
}

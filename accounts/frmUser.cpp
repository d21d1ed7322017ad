#include "accounts/frmUser.h"

#include "accounts/frmKeyExport.h"
#include "accounts/gAccountRules.h"
#include "core/model/clsMD5.h"
#include "core/model/gClock.h"
#include "core/model/gDatabase.h"
#include "core/ui/gDialogKeys.h"
#include "core/base/gError.h"
#include "core/ui/gFormParts.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/ui/gPageSwitch.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"
#include "core/ui/gShared.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "core/model/gUserData.h"
#include "core/ui/gUserDataUi.h"
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
    l->setStyleSheet(QStringLiteral("QLabel#%1 { color: #1f4f86; }").arg(l->objectName()));
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

    titleImage = makeLabel(this, "Image1");
    titleImage->setGeometry(gPxRect(120, 90, 480, 480));
    titleImage->setPixmap(svgPicture(QStringLiteral(":/res/accounts/account.svg"), QSize(32, 32)));
    titleLabel = makeTitle(this, "Label2", QStringLiteral("用户帐户"));
    titleLabel->setGeometry(gPxRect(720, 150, 4000, 420));

    // The link list.
    linkPanel = new QWidget(this);
    linkPanel->setObjectName(QStringLiteral("Frame1"));
    linkTitle = makeTitle(linkPanel, "Label16", QStringLiteral("您想更改您的帐户的什么?"));
    linkTitle->setGeometry(gPxRect(240, 240, 5000, 360));
    changeNameLink = makeLink(linkPanel, "lblCmd10", QStringLiteral("更改名称"));
    passwordLink = makeLink(linkPanel, "lblCmd11", QStringLiteral("创建密码"));
    removePasswordLink = makeLink(linkPanel, "lblCmd12", QStringLiteral("删除我的密码"));
    pictureLink = makeLink(linkPanel, "lblCmd13", QStringLiteral("更改我的图片"));
    exportKeyLink = makeLink(linkPanel, "lblCmd14", QStringLiteral("导出我的密匙"));
    accountPicture = makeLabel(linkPanel, "Image5");
    accountPicture->setAlignment(Qt::AlignCenter);
    accountPicture->setStyleSheet(
        QStringLiteral("QLabel#Image5 { border: 1px solid #c9dbef; border-radius: 4px; }"));
    accountLabel = makeLabel(linkPanel, "Label17");
    accountLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // Rename.
    renamePanel = makeFrame(this, "Frame2");
    renameTitle = makeTitle(renamePanel, "Label18");
    renamePrompt = makeLabel(renamePanel, "Label19");
    nameEdit = makeBox(renamePanel, "Text2", false);
    gTipWhenCut(nameEdit);
    renamePrompt->setBuddy(nameEdit);
    renameNote = makeLabel(renamePanel, "Label20", QStringLiteral("这个名称将会出现在欢迎屏幕。"));
    renameImage = makeLabel(renamePanel, "Image6");
    renameButton = makeButton(renamePanel, "Command1", QStringLiteral("改变名称"));
    renameCancelButton = makeButton(renamePanel, "Command2", QStringLiteral("取消"));

    // Password.
    passwordPanel = makeFrame(this, "Frame3");
    passwordTitle = makeTitle(passwordPanel, "Label21");
    currentPasswordCaption = makeLabel(passwordPanel, "Label22", QStringLiteral("键入您当前的密码:"));
    currentPasswordEdit = makeBox(passwordPanel, "Text3", true);
    newPasswordPanel = new QWidget(passwordPanel);
    newPasswordPanel->setObjectName(QStringLiteral("Frame6"));
    newPasswordCaption = makeLabel(newPasswordPanel, "Label24", QStringLiteral("输入一个新密码:"));
    newPasswordEdit = makeBox(newPasswordPanel, "Text4", true);
    confirmPasswordCaption = makeLabel(newPasswordPanel, "Label25", QStringLiteral("再次输入密码以确认:"));
    confirmPasswordEdit = makeBox(newPasswordPanel, "Text5", true);
    passwordNote =
        makeLabel(newPasswordPanel, "Label26",
                  QStringLiteral("如果您的密码包含大写字母，您必须在每次登录时用同样的方式输入。"));
    passwordNote->setWordWrap(true);
    passwordNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    passwordImage = makeLabel(passwordPanel, "Image7");
    passwordOkButton = makeButton(passwordPanel, "Command7", QStringLiteral("创建密码"));
    passwordCancelButton = makeButton(passwordPanel, "Command8", QStringLiteral("取消"));

    // Remove the password.
    removePasswordPanel = makeFrame(this, "Frame4");
    removePasswordTitle = makeTitle(removePasswordPanel, "Label27");
    removePasswordNote = makeLabel(removePasswordPanel, "Label28");
    removePasswordNote->setWordWrap(true);
    removePasswordNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    removePasswordEdit = makeBox(removePasswordPanel, "Text6", true);
    removePasswordImage = makeLabel(removePasswordPanel, "Image8");
    removePasswordButton = makeButton(removePasswordPanel, "Command3", QStringLiteral("删除密码"));
    removePasswordCancelButton = makeButton(removePasswordPanel, "Command4", QStringLiteral("取消"));

    // Picture.
    picturePanel = makeFrame(this, "Frame5");
    pictureTitle = makeTitle(picturePanel, "Label29", QStringLiteral("为您的帐户挑一个新的图像"));
    pictureNote = makeLabel(picturePanel, "Label30", QStringLiteral("您选择的图像会出现在 欢迎屏幕。"));
    picList = new QTableWidget(2, 7, picturePanel);
    picList->setObjectName(QStringLiteral("picList"));
    // Tab goes on to the buttons; the arrow keys move between the pictures.
    picList->setTabKeyNavigation(false);
    picList->horizontalHeader()->hide();
    picList->verticalHeader()->hide();
    picList->setSelectionMode(QAbstractItemView::SingleSelection);
    picList->setSelectionBehavior(QAbstractItemView::SelectItems);
    picList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    picList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    picList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    picList->setStyleSheet(
        QStringLiteral("QTableWidget#picList { border: 1px solid #c9dbef; gridline-color: #e3ecf7; }"
                       "QTableWidget#picList::item:selected { background: #cfe2f8; }"));
    for (int c = 0; c < 7; ++c)
        picList->setColumnWidth(c, gPx(kCellTwips));
    for (int r = 0; r < 2; ++r)
        picList->setRowHeight(r, gPx(kCellTwips));
    picList->resize(gPx(kCellTwips) * 7 + 2, gPx(kCellTwips) * 2 + 2);
    browsePictureLink = makeLink(picturePanel, "lblCmd23", QStringLiteral("浏览图片"));
    pictureImage = makeLabel(picturePanel, "Image9");
    picturePreview = makeLabel(picturePanel, "Image10");
    picturePreview->setAlignment(Qt::AlignCenter);
    changePictureButton = makeButton(picturePanel, "Command5", QStringLiteral("更改图片"));
    pictureCancelButton = makeButton(picturePanel, "Command6", QStringLiteral("取消"));

    const QPixmap padlock = svgPicture(QStringLiteral(":/res/accounts/padlock.svg"), QSize(48, 48));
    const QPixmap account = svgPicture(QStringLiteral(":/res/accounts/account.svg"), QSize(48, 48));
    renameImage->setPixmap(account);
    passwordImage->setPixmap(padlock);
    removePasswordImage->setPixmap(padlock);
    pictureImage->setPixmap(account);

    connect(changeNameLink, &gLinkLabel::clicked, this,
            [this] { gGuard([this] { changeNameLink_MouseUp(); }); });
    connect(passwordLink, &gLinkLabel::clicked, this, [this] { gGuard([this] { passwordLink_MouseUp(); }); });
    connect(removePasswordLink, &gLinkLabel::clicked, this,
            [this] { gGuard([this] { removePasswordLink_MouseUp(); }); });
    connect(pictureLink, &gLinkLabel::clicked, this, [this] { gGuard([this] { pictureLink_MouseUp(); }); });
    connect(exportKeyLink, &gLinkLabel::clicked, this,
            [this] { gGuard([this] { exportKeyLink_MouseUp(); }); });
    connect(browsePictureLink, &gLinkLabel::clicked, this,
            [this] { gGuard([this] { browsePictureLink_MouseUp(); }); });
    connect(renameButton, &QPushButton::clicked, this, [this] { gGuard([this] { renameButton_Click(); }); });
    connect(passwordOkButton, &QPushButton::clicked, this,
            [this] { gGuard([this] { passwordOkButton_Click(); }); });
    connect(removePasswordButton, &QPushButton::clicked, this,
            [this] { gGuard([this] { removePasswordButton_Click(); }); });
    connect(changePictureButton, &QPushButton::clicked, this,
            [this] { gGuard([this] { changePictureButton_Click(); }); });
    for (auto [button, frame] :
         {std::pair{renameCancelButton, renamePanel}, std::pair{passwordCancelButton, passwordPanel},
          std::pair{removePasswordCancelButton, removePasswordPanel},
          std::pair{pictureCancelButton, picturePanel}}) {
        QWidget* f = frame;
        connect(button, &QPushButton::clicked, this, [this, f] {
            f->setVisible(false);
            gBindDefaultCancel(this, nullptr, nullptr);
        });
    }
    // A dialog frame covers the links: while one shows, the links are hidden
    // too, so that Tab does not walk through them unseen.
    for (QWidget* f : {renamePanel, passwordPanel, removePasswordPanel, picturePanel})
        f->installEventFilter(this);
    connect(picList, &QTableWidget::currentCellChanged, this, [this](int row, int col) {
        const QLabel* cell = qobject_cast<QLabel*>(picList->cellWidget(row, col));
        picturePreview->setPixmap(cell ? cell->pixmap() : QPixmap());
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
            setCellPicture(n / 7, n % 7,
                           gLoadResPicture(Res::FirstAccountPicture + n, gResKind::Bitmap, QSize(48, 48)));
        setCellPicture(1, 5, {});
        setCellPicture(1, 6, {});
    });
    step([this] { accountPicture->setPixmap(gLoadUserPicture(gPictureIndex)); });
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
    gSetNameText(accountLabel, gUserName, {}, rest);
}

void frmUser::placeLinks() {
    changeNameLink->move(gPxPoint(240, 600));
    passwordLink->move(gPxPoint(240, 960));
    if (hasPassword()) {
        passwordLink->setText(QStringLiteral("更改我的密码"));
        removePasswordLink->setText(QStringLiteral("删除我的密码"));
        removePasswordLink->move(gPxPoint(240, 1320));
        removePasswordLink->show();
        pictureLink->move(gPxPoint(240, 1680));
        exportKeyLink->move(gPxPoint(240, 2040));
    } else {
        passwordLink->setText(QStringLiteral("创建密码"));
        removePasswordLink->hide();
        pictureLink->move(gPxPoint(240, 1320));
        exportKeyLink->move(gPxPoint(240, 1680));
    }
    for (gLinkLabel* l : {changeNameLink, passwordLink, removePasswordLink, pictureLink, exportKeyLink})
        l->adjustSize();
}

bool frmUser::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Show || e->type() == QEvent::Hide) {
        bool covered = false;
        for (QWidget* f : {renamePanel, passwordPanel, removePasswordPanel, picturePanel})
            covered = covered || !f->isHidden();
        linkPanel->setVisible(!covered);
    }
    return QWidget::eventFilter(watched, e);
}

void frmUser::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    layoutFrames();
}

void frmUser::layoutFrames() {
    const int w = gTwips(width());
    const int h = gTwips(height());
    linkPanel->setGeometry(gPxRect(0, 720, w, std::max(0, h - 720)));
    accountPicture->setGeometry(gPxRect(std::max(5400, w - 3480), 240, 900, 900));
    accountLabel->setGeometry(gPxRect(accountPicture->x() * 15 + 1020, 240, 2400, 900));
    showAccount(); // the name is cut to the label's width

    const int boxWidth = std::max(1500, w - 5040);
    auto buttons = [&](QWidget* f, QPushButton* ok, QPushButton* cancel) {
        f->setGeometry(0, 0, width(), height());
        ok->setGeometry(gPxRect(w - 2415, h - 495 - 375, 1095, 375));
        cancel->setGeometry(gPxRect(w - 1215, h - 495 - 375, 1095, 375));
    };
    auto picture = [&](QLabel* image) { image->setGeometry(gPxRect(w - 1200, 240, 720, 720)); };

    buttons(renamePanel, renameButton, renameCancelButton);
    picture(renameImage);
    renameTitle->setGeometry(gPxRect(240, 240, w - 1680, 420));
    renamePrompt->setGeometry(gPxRect(240, 960, w - 1680, 300));
    nameEdit->setGeometry(gPxRect(240, 1320, boxWidth, 330));
    renameNote->setGeometry(gPxRect(240, 1800, w - 1680, 300));

    buttons(passwordPanel, passwordOkButton, passwordCancelButton);
    picture(passwordImage);
    passwordTitle->setGeometry(gPxRect(240, 240, w - 1680, 420));
    currentPasswordCaption->setGeometry(gPxRect(240, 720, boxWidth, 300));
    currentPasswordEdit->setGeometry(gPxRect(240, 1020, boxWidth, 330));
    newPasswordPanel->setGeometry(gPxRect(0, newPasswordPanel->y() * 15 >= 1440 ? 1440 : 600, w, 2400));
    newPasswordCaption->setGeometry(gPxRect(240, 180, boxWidth, 300));
    newPasswordEdit->setGeometry(gPxRect(240, 480, boxWidth, 330));
    confirmPasswordCaption->setGeometry(gPxRect(240, 960, boxWidth, 300));
    confirmPasswordEdit->setGeometry(gPxRect(240, 1260, boxWidth, 330));
    passwordNote->setGeometry(gPxRect(240, 1740, std::max(1500, w - 2640), 600));

    buttons(removePasswordPanel, removePasswordButton, removePasswordCancelButton);
    picture(removePasswordImage);
    removePasswordTitle->setGeometry(gPxRect(240, 240, w - 1680, 420));
    // Under the dialog's picture, which stands at its top right.
    removePasswordNote->setGeometry(gPxRect(240, 960, w - 240 - 240, 900));
    removePasswordEdit->setGeometry(gPxRect(240, 1860, boxWidth, 330));

    buttons(picturePanel, changePictureButton, pictureCancelButton);
    picture(pictureImage);
    pictureTitle->setGeometry(gPxRect(240, 240, w - 1680, 420));
    pictureNote->setGeometry(gPxRect(240, 720, w - 1680, 300));
    picList->move(gPxPoint(240, 1140));
    browsePictureLink->move(gPxPoint(240, 1140 + 2 * kCellTwips + 180));
    browsePictureLink->adjustSize();
    picturePreview->setGeometry(gPxRect(240 + 7 * kCellTwips + 240, 1140, kCellTwips, kCellTwips));
}

// ---- rename ----

void frmUser::changeNameLink_MouseUp() {
    nameEdit->setText(gUserName);
    renameTitle->setText(QStringLiteral("为您的账户提供一个新名称"));
    // "&" of the name itself is no shortcut mark.
    gSetNameText(renamePrompt, nameEdit->text(), QStringLiteral("为 "), QStringLiteral(" 键入一个名称(&T):"),
                 true);
    gBindDefaultCancel(this, renameButton, renameCancelButton);
    renameButton->setDefault(true);
    renamePanel->show();
    renamePanel->raise();
    nameEdit->setFocus();
}

void frmUser::renameButton_Click() {
    if (nameEdit->text().isEmpty()) {
        gMsgBox(Msg::AccountNameMissing, gButtonSet::Close);
        nameEdit->setFocus();
        return;
    }
    const QString before = gUserName;
    gUserName = nameEdit->text();
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
    renamePanel->hide();
    gBindDefaultCancel(this, nullptr, nullptr);
}

// ---- password ----

void frmUser::passwordLink_MouseUp() {
    currentPasswordEdit->hide();
    currentPasswordCaption->hide();
    newPasswordEdit->clear();
    confirmPasswordEdit->clear();
    if (hasPassword()) {
        passwordOkButton->setText(QStringLiteral("更改密码"));
        passwordTitle->setText(QStringLiteral("更改您的密码"));
        currentPasswordCaption->show();
        currentPasswordEdit->show();
        currentPasswordEdit->clear();
        newPasswordPanel->move(gPxPoint(0, 1440));
    } else {
        passwordOkButton->setText(QStringLiteral("创建密码"));
        passwordTitle->setText(QStringLiteral("为您的账户创建一个密码"));
        newPasswordPanel->move(gPxPoint(0, 600));
    }
    gBindDefaultCancel(this, passwordOkButton, passwordCancelButton);
    passwordOkButton->setDefault(true);
    passwordPanel->show();
    passwordPanel->raise();
    (currentPasswordEdit->isVisibleTo(passwordPanel) ? currentPasswordEdit : newPasswordEdit)->setFocus();
    layoutFrames();
}

bool frmUser::rekey(const QString& oldPassword, const QString& newPassword, const QString& newRecordKey) {
    const QString oldHash = gPasswordHash;
    const QString oldKey = gRecordKey;
    QString oldDb, newDb;
    try {
        oldDb = gMakeDbPassword(oldPassword, oldKey);
        newDb = gMakeDbPassword(newPassword, newRecordKey);
        // The database first: while it refuses, the profile still holds the key it has.
        gConnection.changePassword(newDb, oldDb);
    } catch (...) {
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
            gConnection.changePassword(oldDb, newDb);
        } catch (...) {
            fail(QStringLiteral("帐户配置文件无法写入，记录文件的密码也无法恢复。"));
        }
        fail(QStringLiteral("帐户配置文件无法写入，密码没有更改。"));
    } catch (...) {
        gShowErrorBox(true);
    }
    return false;
}

void frmUser::passwordOkButton_Click() {
    QString oldPassword;
    if (currentPasswordEdit->isVisibleTo(passwordPanel)) {
        if (!gPasswordMatches(currentPasswordEdit->text(), gPasswordHash)) {
            confirmPasswordEdit->clear();
            newPasswordEdit->clear();
            currentPasswordEdit->clear();
            gMsgBox(Msg::WrongCurrentPassword, gButtonSet::Close);
            currentPasswordEdit->setFocus();
            return;
        }
        oldPassword = currentPasswordEdit->text();
    }
    if (newPasswordEdit->text() != confirmPasswordEdit->text()) {
        confirmPasswordEdit->clear();
        newPasswordEdit->clear();
        currentPasswordEdit->clear();
        gMsgBox(Msg::PasswordsDiffer, gButtonSet::Close);
        (currentPasswordEdit->isVisibleTo(passwordPanel) ? currentPasswordEdit : newPasswordEdit)->setFocus();
        return;
    }
    const QString newPassword = newPasswordEdit->text();
    newPasswordEdit->clear();
    confirmPasswordEdit->clear();
    currentPasswordEdit->clear();
    if (!rekey(oldPassword, newPassword, gRecordKey)) return;
    gChangeFrame(Page::Account);
}

// ---- remove the password ----

void frmUser::removePasswordLink_MouseUp() {
    removePasswordTitle->setText(QStringLiteral("您确实要删除您的密码吗?"));
    removePasswordNote->setText(QStringLiteral(
        "如果删除您的密码，其他人就可以访问您的账户。\n\n要验证您的身份，请输入您的当前密码:"));
    removePasswordEdit->clear();
    gBindDefaultCancel(this, removePasswordButton, removePasswordCancelButton);
    removePasswordButton->setDefault(true);
    removePasswordEdit->show();
    removePasswordPanel->show();
    removePasswordPanel->raise();
    removePasswordEdit->setFocus();
}

void frmUser::removePasswordButton_Click() {
    if (!gPasswordMatches(removePasswordEdit->text(), gPasswordHash)) {
        removePasswordEdit->clear();
        gMsgBox(Msg::WrongCurrentPassword, gButtonSet::Close);
        return;
    }
    const QString oldPassword = removePasswordEdit->text();
    removePasswordEdit->clear();
    // A fresh record key, so an old key file no longer opens the database.
    gRandomize();
    const QString newKey = QString::number(static_cast<long>(std::floor(gRnd() * 9999999.0)));
    if (!rekey(oldPassword, QString(), newKey)) return;
    gChangeFrame(Page::Account);
}

// ---- picture ----

void frmUser::pictureLink_MouseUp() {
    try {
        const int row = gPictureIndex / 7;
        const int col = gPictureIndex - 7 * row;
        if (gPictureIndex == kPictureCell) setCellPicture(1, 5, accountPicture->pixmap());
        picList->setCurrentCell(row, col);
    } catch (...) {
        gShowErrorBox(true);
    }
    gBindDefaultCancel(this, changePictureButton, pictureCancelButton);
    changePictureButton->setDefault(true);
    picturePanel->show();
    picturePanel->raise();
}

void frmUser::changePictureButton_Click() {
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
        accountPicture->setPixmap(gLoadUserPicture(number));
        if (accountPicture->pixmap().isNull()) accountPicture->setPixmap(cell->pixmap());
    }
    picturePanel->hide();
    gBindDefaultCancel(this, nullptr, nullptr);
}

void frmUser::browsePictureLink_MouseUp() {
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
    accountPicture->setPixmap(picture);
    setCellPicture(1, 5, picture);
    picList->setCurrentCell(1, 5);
    const int before = gPictureIndex;
    gPictureIndex = kPictureCell;
    if (!gSaveUserData()) {
        gPictureIndex = before;
        accountPicture->setPixmap(gLoadUserPicture(before));
        try {
            fail(QStringLiteral("帐户配置文件无法写入，图片没有更改。"));
        } catch (...) {
            gShowErrorBox(true);
        }
        return;
    }
    picturePanel->hide();
    gBindDefaultCancel(this, nullptr, nullptr);
}

// ---- key file ----

void frmUser::exportKeyLink_MouseUp() {
    auto* wizard = forms::load<frmKeyExport>(Form::frmKeyExport);
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

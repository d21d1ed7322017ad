#include "accounts/frmKeyExport.h"

#include "core/ui/gDialogKeys.h"
#include "core/base/gError.h"
#include "core/ui/gMsgBox.h"
#include "core/ui/gPageSwitch.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "core/model/gUserData.h"
#include "platform/dialogs.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QSvgRenderer>

namespace {
// Both steps lie below a band of this height, inset by kInset at the sides and the bottom.
constexpr int kBandHeight = 720, kInset = 120;
constexpr int kButtonWidth = 1200, kButtonHeight = 405, kButtonGap = 120;
// Distance of the button row's top from the panel's bottom edge.
constexpr int kButtonRowFromBottom = kInset + kButtonHeight;
constexpr int kTextLeft = 2400;

const QString kKeyFileFilter = QStringLiteral("密匙文件 (*.eky)|*.eky|所有文件 (*.*)|*.*");

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

QLabel* makePicture(QWidget* parent, const char* name, const char* art, const QRect& r) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(r);
    QSvgRenderer svg(QStringLiteral(":/res/accounts/%1.svg").arg(QLatin1String(art)));
    if (svg.isValid()) {
        const qreal dpr = l->devicePixelRatioF();
        QPixmap pm(r.size() * dpr);
        pm.setDevicePixelRatio(dpr);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        svg.render(&p, QRectF(QPointF(0, 0), QSizeF(r.size())));
        p.end();
        l->setPixmap(pm);
    }
    return l;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->resize(gPxSize(kButtonWidth, kButtonHeight));
    return b;
}

// A name typed without a folder goes to the user's home folder, not to
// wherever the program happened to be started from.
QString keyFilePath(const QString& typed) {
    const QFileInfo fi(typed);
    return fi.isAbsolute() ? typed : QDir(QDir::homePath()).absoluteFilePath(typed);
}
} // namespace

frmKeyExport::frmKeyExport(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("KeyExprot"));
    resize(gPxSize(kDesignWidth, kDesignHeight));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);

    QFont heading = font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.25);
    QFont bold = font();
    bold.setBold(true);

    // Step 1.
    introPanel = new QWidget(this);
    introPanel->setObjectName(QStringLiteral("Frame1"));
    sidePicture = makePicture(introPanel, "Image1", "keyWizard", gPxRect(0, 0, 2160, 3360));
    keyPicture = makePicture(introPanel, "Image2", "keyFile", gPxRect(kTextLeft, 60, 600, 600));
    introTitle = makeLabel(introPanel, "Label2", QStringLiteral("导出您的密匙"));
    introTitle->setFont(heading);
    introSubtitle = makeLabel(introPanel, "Label3", QStringLiteral("导出密匙文件到您的计算机。"));
    introText = makeLabel(introPanel, "Label1",
                          QStringLiteral("这个向导帮助您从 Rededera 用户配置文件中将密匙导出到磁盘。"));
    keyNote = makeLabel(introPanel, "Label4",
                        QStringLiteral("Rededera 用户配置文件中的密匙是允许打开用户日记的凭证。如果密匙遭"
                                       "到破坏，您的日记将无法打开。如果遇到这种情况，请在 Rededera "
                                       "提示您密匙失效时导入这个密匙。"));
    continueNote = makeLabel(introPanel, "Label5", QStringLiteral("要继续，请单击“下一步”。"));
    for (QLabel* l : {introText, keyNote, continueNote})
        l->setWordWrap(true);
    nextButton = makeButton(introPanel, "Command1", QStringLiteral("下一步(&N)"));
    introCancelButton = makeButton(introPanel, "Command2", QStringLiteral("取消"));

    // Step 2.
    filePanel = new QWidget(this);
    filePanel->setObjectName(QStringLiteral("Frame2"));
    keyFilePicture = makePicture(filePanel, "Image3", "keyFile", gPxRect(240, 60, 720, 720));
    fileTitle = makeLabel(filePanel, "Label6", QStringLiteral("指定要导出的文件名。"));
    fileTitle->setFont(bold);
    fileCaption = makeLabel(filePanel, "Label7", QStringLiteral("文件名(&F):"));
    fileCaption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    fileEdit = new QLineEdit(filePanel);
    fileEdit->setObjectName(QStringLiteral("Text1"));
    fileCaption->setBuddy(fileEdit);
    browseButton = makeButton(filePanel, "Command3", QStringLiteral("浏览(&R)..."));
    backButton = makeButton(filePanel, "Command4", QStringLiteral("上一步(&B)"));
    finishButton = makeButton(filePanel, "Command5", QStringLiteral("完成"));
    fileCancelButton = makeButton(filePanel, "Command6", QStringLiteral("取消"));
    filePanel->setVisible(false);

    setTabOrder(nextButton, introCancelButton);
    setTabOrder(introCancelButton, fileEdit);
    setTabOrder(fileEdit, browseButton);
    setTabOrder(browseButton, backButton);
    setTabOrder(backButton, finishButton);
    setTabOrder(finishButton, fileCancelButton);

    auto wire = [this](QPushButton* b, void (frmKeyExport::*slot)()) {
        connect(b, &QPushButton::clicked, this, [this, slot] { gGuard([this, slot] { (this->*slot)(); }); });
    };
    wire(nextButton, &frmKeyExport::nextButton_Click);
    wire(introCancelButton, &frmKeyExport::introCancelButton_Click);
    wire(browseButton, &frmKeyExport::browseButton_Click);
    wire(backButton, &frmKeyExport::backButton_Click);
    wire(finishButton, &frmKeyExport::finishButton_Click);
    wire(fileCancelButton, &frmKeyExport::fileCancelButton_Click);

    gBindDefaultCancel(this, nextButton, introCancelButton);
    layoutPanels();
    followPageArea();
}

frmKeyExport::~frmKeyExport() = default;

void frmKeyExport::formLoad() {
    introPanel->setVisible(true);
    filePanel->setVisible(false);
    gBindDefaultCancel(this, nextButton, introCancelButton);
}

void frmKeyExport::layoutPanels() {
    const int w = qMax(gTwips(width()) - 2 * kInset, 6000);
    const int h = qMax(gTwips(height()) - kBandHeight - kInset, 3900);
    const QRect panel = gPxRect(kInset, kBandHeight, w, h);
    introPanel->setGeometry(panel);
    filePanel->setGeometry(panel);

    const int buttonTop = h - kButtonRowFromBottom;
    // The n-th button from the right edge, 1-based.
    auto fromRight = [w](int n) { return w - kInset - n * kButtonWidth - (n - 1) * kButtonGap; };

    // Step 1: the texts run from beside the picture to the right edge.
    const int textWidth = w - kTextLeft - kInset;
    introTitle->setGeometry(gPxRect(kTextLeft + 720, 60, textWidth - 720, 390));
    introSubtitle->setGeometry(gPxRect(kTextLeft + 720, 450, textWidth - 720, 300)); // under the heading
    introText->setGeometry(gPxRect(kTextLeft, 960, textWidth, 540));
    keyNote->setGeometry(gPxRect(kTextLeft, 1560, textWidth, 1080));
    continueNote->setGeometry(gPxRect(kTextLeft, 2760, textWidth, 330));
    nextButton->move(gPxPoint(fromRight(2), buttonTop));
    introCancelButton->move(gPxPoint(fromRight(1), buttonTop));

    // Step 2: the name box widens with the panel; the browse button keeps to its right.
    fileTitle->setGeometry(gPxRect(1200, 300, w - 1200 - kInset, 330));
    fileCaption->setGeometry(gPxRect(1200, 1200, 1200, 345));
    const int browseLeft = fromRight(1);
    fileEdit->setGeometry(gPxRect(2400, 1200, qMax(1200, browseLeft - kButtonGap - 2400), 345));
    browseButton->move(gPxPoint(browseLeft, 1170));
    backButton->move(gPxPoint(fromRight(3) - kButtonGap, buttonTop));
    finishButton->move(gPxPoint(fromRight(2) - kButtonGap, buttonTop));
    fileCancelButton->move(gPxPoint(fromRight(1), buttonTop));
    update();
}

void frmKeyExport::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    layoutPanels();
}

bool frmKeyExport::event(QEvent* e) {
    if (e->type() == QEvent::ParentChange) followPageArea();
    return QWidget::event(e);
}

// Placed over the main window's page area, the wizard keeps covering the page
// when the window is resized, as the page it stands in for would.
void frmKeyExport::followPageArea() {
    if (watchedParent_) watchedParent_->removeEventFilter(this);
    watchedParent_ = parentWidget();
    if (watchedParent_) watchedParent_->installEventFilter(this);
}

bool frmKeyExport::eventFilter(QObject* watched, QEvent* e) {
    if (watched == watchedParent_ && e->type() == QEvent::Resize) {
        gPageSwitch* m = gPageSwitcher();
        if (m && watchedParent_ == m->pageArea()) setGeometry(m->pageRect());
    }
    return QWidget::eventFilter(watched, e);
}

void frmKeyExport::paintEvent(QPaintEvent* e) {
    QWidget::paintEvent(e);
    QPainter p(this);
    // A soft band above the steps and a rule above the buttons.
    const int band = gPx(kBandHeight) - gPx(kInset);
    QLinearGradient g(0, 0, width(), 0);
    g.setColorAt(0, QColor(0x6a, 0xa8, 0xea));
    g.setColorAt(1, QColor(0x2f, 0x6c, 0xc0));
    p.fillRect(QRect(0, 0, width(), band), g);
    p.fillRect(QRect(0, band, width(), 2), QColor(0xa9, 0xcb, 0xee));
    const QRect panel = introPanel->geometry();
    const int ruleY = panel.bottom() - gPx(kButtonRowFromBottom + kInset);
    p.fillRect(QRect(panel.left(), ruleY, panel.width(), 1), QColor(0xd5, 0xdd, 0xe7));
}

void frmKeyExport::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (filePanel->isVisible())
        fileEdit->setFocus();
    else
        nextButton->setFocus();
}

void frmKeyExport::closeEvent(QCloseEvent* e) {
    // Closed as a window of its own, it cancels like 取消.
    e->ignore();
    gGuard([this] { backToAccountPage(); });
}

void frmKeyExport::nextButton_Click() {
    introPanel->setVisible(false);
    filePanel->setVisible(true);
    gBindDefaultCancel(this, finishButton, fileCancelButton);
    fileEdit->setFocus();
}

void frmKeyExport::backButton_Click() {
    filePanel->setVisible(false);
    introPanel->setVisible(true);
    gBindDefaultCancel(this, nextButton, introCancelButton);
    nextButton->setFocus();
}

void frmKeyExport::introCancelButton_Click() {
    backToAccountPage();
}

void frmKeyExport::fileCancelButton_Click() {
    backToAccountPage();
}

void frmKeyExport::backToAccountPage() {
    gChangeFrame(Page::Account);
    forms::unload(this);
}

void frmKeyExport::browseButton_Click() {
    QString chosen;
    try {
        chosen = dialogs::getSaveFileName(this, QStringLiteral("另存为"), {}, kKeyFileFilter);
    } catch (...) {
        return; // the dialog's own failures end the browse quietly
    }
    fileEdit->setText(chosen);
}

void frmKeyExport::finishButton_Click() {
    const QString typed = fileEdit->text();
    if (typed.isEmpty()) {
        gMsgBox(Msg::FileNameMissing, gButtonSet::Close);
        fileEdit->setFocus();
        return;
    }
    try {
        const QString path = keyFilePath(typed);
        const QFileInfo fi(path);
        if (fi.exists() || fi.isSymLink()) {
            if (gMsgBox(Msg::ConfirmReplaceFile, gButtonSet::YesNo, typed) != gMsgResult::Yes) return;
        }
        // The old file is replaced in one step when the new one is whole, so a
        // failed write never leaves the user without the key file they had.
        if (fi.isDir()) gRaise(gErr::PathFileAccess);
        if (!fi.absoluteDir().exists()) gRaise(gErr::PathNotFound);
        KeyFileRecord record;
        record.UserName = gUserName;
        record.PasswordHash = gPasswordHash;
        record.RecordKey = gRecordKey;
        if (!scrambled::writeFile(path, record.fields(), scrambled::drawKey(100), false))
            gRaise(gErr::PathFileAccess);
    } catch (...) {
        gShowErrorBox(true);
        return;
    }
    gMsgBox(Msg::KeyExported, gButtonSet::Close);
    backToAccountPage();
}

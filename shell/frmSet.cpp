#include "shell/frmSet.h"

#include "core/base/gError.h"
#include "core/ui/gMain.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/ui/gShared.h"
#include "core/ui/gStartup.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "core/model/gUserData.h"
#include "platform/registry.h"
#include "platform/settingsStore.h"
#include "shell/frmMain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QTemporaryFile>
#include <QTreeWidget>

namespace {

const QString kName = QStringLiteral("frmSet");
const QString kApp = QStringLiteral("Rededera");
const QString kSection = QStringLiteral("Option");
const QString kRunValue = QStringLiteral("Rededera");
constexpr int kKeyRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kMaxMinutes = 30000;

// Layout, in twips of the page.
constexpr int kMarginTw = 60;
constexpr int kBandTw = 660;     // title and button bands
constexpr int kButtonWTw = 1095; // save and cancel
constexpr int kButtonHTw = 375;

QString minuteCaption(const QString& key) {
    if (key == QLatin1String("D1")) return QStringLiteral("保存间隔： %1 分钟").arg(gAutoSaveInterval);
    if (key == QLatin1String("D2"))
        return QStringLiteral("超时时间： %1 分钟（0为立即锁定）").arg(gLockTimeout);
    return QStringLiteral("提前时间： %1 分钟").arg(gRemindLead);
}

// A folder typed without its root would move with the working folder from one
// start to the next; it is taken from the home folder ("~" is the home folder).
QString absoluteFolder(const QString& typed) {
    QString path = typed;
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        path = QDir::homePath() + path.mid(1);
    if (QDir::isRelativePath(path)) path = QDir::home().absoluteFilePath(path);
    return path;
}

QString customCaption(const QString& path) {
    return QStringLiteral("自定义： ") + path;
}

// ImageKey's index for the user-folder choices (E1-E3, keyed by PathOption value).
constexpr quint8 kLocationImage = 99;

// "CT"/"CF" for the options shown in the tree, "OT"/"OF" for a location
// (kLocationImage), else "".
QString ImageKey(quint8 index, quint8 value) {
    if (index <= optionIndex(kLastShownOption))
        return gOption(static_cast<Option>(index)) ? QStringLiteral("CT") : QStringLiteral("CF");
    if (index == kLocationImage) return value == gPathOption ? QStringLiteral("OT") : QStringLiteral("OF");
    return {};
}

QIcon nodeIcon(const QString& imageKey) {
    QIcon icon;
    QSvgRenderer r(QStringLiteral(":/res/shell/set%1.svg").arg(imageKey));
    if (r.isValid()) {
        for (int side : {16, 32}) {
            QPixmap pm(side, side);
            pm.fill(Qt::transparent);
            QPainter p(&pm);
            r.render(&p);
            p.end();
            icon.addPixmap(pm);
        }
    }
    return icon;
}

QPixmap settingsPicture(int side) {
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    QSvgRenderer r(QStringLiteral(":/res/shell/top6a.svg"));
    if (r.isValid()) {
        QPainter p(&pm);
        r.render(&p);
    }
    return pm;
}

// Makes the folder and writes and removes a file in it, as the account will;
// 0 when that worked, else the number of the error.
int checkFolder(const QString& folder) {
    if (!gMakeUserFolder(folder)) return gErr::PathNotFound;
    QTemporaryFile probe(folder + QStringLiteral("Rededera-XXXXXX.tmp"));
    probe.setAutoRemove(false);
    if (!probe.open()) return gErr::PathFileAccess;
    const bool written = probe.write("0", 1) == 1 && probe.flush();
    probe.close();
    const bool removed = probe.remove();
    return written && removed ? 0 : gErr::PathFileAccess;
}

// Reported through the error box; the page stays open with the user's changes.
void reportWriteFailure(int number) {
    gShowErrorBox(gRuntimeError(number, gErrorText(number)), true);
}

// A band of the page: the title band in the program's blue, the others light.
class Band : public QWidget {
public:
    enum Style { Title, Buttons, Frame };
    Band(QWidget* parent, Style style) : QWidget(parent), style_(style) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        QLinearGradient g(0, 0, 0, height());
        switch (style_) {
        case Title:
            g.setColorAt(0, QColor(0x5a, 0x9b, 0xe0));
            g.setColorAt(1, QColor(0x2f, 0x6f, 0xb8));
            p.setPen(QColor(0x27, 0x5f, 0xa0));
            break;
        case Buttons:
            g.setColorAt(0, QColor(0xf6, 0xf9, 0xfd));
            g.setColorAt(1, QColor(0xe1, 0xeb, 0xf7));
            p.setPen(QColor(0xc9, 0xdb, 0xef));
            break;
        case Frame:
            g.setColorAt(0, Qt::white);
            g.setColorAt(1, Qt::white);
            p.setPen(QColor(0xc9, 0xdb, 0xef));
            break;
        }
        p.setBrush(g);
        p.drawRoundedRect(r, 5, 5);
    }

private:
    Style style_;
};

} // namespace

frmSet::frmSet() {
    setObjectName(kName);
    setAutoFillBackground(false);

    titleBand = new Band(this, Band::Title);
    titleBand->setObjectName(QStringLiteral("Picture1"));
    titleImage = new QLabel(titleBand);
    titleImage->setObjectName(QStringLiteral("Image1"));
    titleImage->setPixmap(settingsPicture(32));
    titleImage->setGeometry(8, 6, 32, 32);
    titleLabel = new QLabel(QStringLiteral("设置"), titleBand);
    titleLabel->setObjectName(QStringLiteral("Label1"));
    QFont big = titleLabel->font();
    big.setPointSizeF(big.pointSizeF() * 1.35);
    big.setBold(true);
    titleLabel->setFont(big);
    titleLabel->setStyleSheet(QStringLiteral("QLabel#Label1 { color: white; background: transparent; }"));
    titleLabel->setGeometry(48, 0, 200, gPx(kBandTw));

    treeFrame = new Band(this, Band::Frame);
    treeFrame->setObjectName(QStringLiteral("Picture3"));
    optionTree = new QTreeWidget(treeFrame);
    optionTree->setObjectName(QStringLiteral("TreeView1"));
    optionTree->setHeaderHidden(true);
    optionTree->setColumnCount(1);
    optionTree->setFrameShape(QFrame::NoFrame);
    optionTree->setIconSize(QSize(16, 16));
    optionTree->setIndentation(20);
    optionTree->setUniformRowHeights(true);
    optionTree->setSelectionMode(QAbstractItemView::SingleSelection);
    optionTree->setStyleSheet(QStringLiteral("QTreeWidget#TreeView1 { background: transparent; }"
                                             "QTreeWidget#TreeView1::item { height: 22px; }"));
    optionTree->installEventFilter(this);
    connect(optionTree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item, int) { gGuard([this, item] { optionTree_NodeClick(item); }); });

    // The open editor scrolls with its node.
    connect(optionTree->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (!editKey_.isEmpty()) placeEditor();
    });

    // The inline editor of a minute value or of the custom folder.
    valueEdit = new QLineEdit(treeFrame);
    valueEdit->setObjectName(QStringLiteral("Text1"));
    valueEdit->hide();
    valueEdit->installEventFilter(this);
    connect(valueEdit, &QLineEdit::returnPressed, this,
            [this] { gGuard([this] { editorOkButton_Click(); }); });
    editorOkButton = new QPushButton(QStringLiteral("确定"), treeFrame);
    editorOkButton->setObjectName(QStringLiteral("Command3"));
    editorOkButton->hide();
    connect(editorOkButton, &QPushButton::clicked, this,
            [this] { gGuard([this] { editorOkButton_Click(); }); });

    buttonBand = new Band(this, Band::Buttons);
    buttonBand->setObjectName(QStringLiteral("Picture2"));
    saveButton = new QPushButton(QStringLiteral("保存(&S)"), buttonBand);
    saveButton->setObjectName(QStringLiteral("Command1"));
    connect(saveButton, &QPushButton::clicked, this, [this] { gGuard([this] { saveButton_Click(); }); });
    cancelButton = new QPushButton(QStringLiteral("取消"), buttonBand);
    cancelButton->setObjectName(QStringLiteral("Command2"));
    connect(cancelButton, &QPushButton::clicked, this, [this] { gGuard([this] { cancelButton_Click(); }); });

    resize(gPxSize(10900, 6680));
}

QTreeWidgetItem* frmSet::addNode(const QString& parentKey, const QString& key, const QString& caption) {
    QTreeWidgetItem* item = nullptr;
    if (parentKey.isEmpty()) {
        item = new QTreeWidgetItem(optionTree);
    } else {
        QTreeWidgetItem* parent = node(parentKey);
        if (!parent) gRaise(gErr::ObjectNotSet);
        item = new QTreeWidgetItem(parent);
    }
    item->setText(0, caption);
    item->setData(0, kKeyRole, key);
    return item;
}

void frmSet::setImage(QTreeWidgetItem* item, const QString& imageKey) {
    item->setData(0, kImageRole, imageKey);
    item->setIcon(0, nodeIcon(imageKey));
}

QTreeWidgetItem* frmSet::node(const QString& key) const {
    for (QTreeWidgetItemIterator it(optionTree); *it; ++it)
        if (nodeKey(*it) == key) return *it;
    return nullptr;
}

QString frmSet::nodeKey(const QTreeWidgetItem* item) {
    return item ? item->data(0, kKeyRole).toString() : QString();
}

QString frmSet::nodeImage(const QTreeWidgetItem* item) {
    return item ? item->data(0, kImageRole).toString() : QString();
}

void frmSet::formLoad() {
    workPath_ = settings::get(kApp, kSection, QStringLiteral("WorkPath"), QString());

    struct Row {
        const char* key;
        const char* parent;
        const char* caption;
    };
    static const Row rows[] = {
        {"R1", "", "常规"},
        {"C1", "R1", "显示悬浮窗口"},
        {"C2", "R1", "显示主界面时隐藏悬浮窗口"},
        {"C3", "R1", "最小化后提示"},
        {"C4", "R1", "点击关闭按钮后最小化"},
        {"C5", "R1", "登录时运行"},
        {"R2", "", "日记"},
        {"C7", "R2", "检测剪贴板内容"},
        {"C8", "R2", "在欢迎界面查看日记使用快速预览"},
        {"C9", "R2", "自动保存日记"},
        {"D1", "C9", ""},
        {"R4", "", "课程"},
        {"C13", "R4", "启动时显示课程安排"},
        {"C14", "R4", "自动提醒课程"},
        {"D3", "C14", ""},
        {"R3", "", "安全"},
        {"C10", "R3", "使用欢迎屏幕：登陆窗口不要求输入用户名"},
        {"C11", "R3", "没有设定密码时自动登陆"},
        {"C12", "R3", "最小化后超时自动锁定"},
        {"D2", "C12", ""},
        {"N1", "R3", "用户文件存放位置"},
        {"E1", "N1", "安装目录"},
        {"E2", "N1", "我的文档"},
        {"E3", "N1", ""},
    };
    optionTree->clear();
    for (const Row& r : rows) {
        const QString key = QString::fromLatin1(r.key);
        const QChar letter = key.at(0);
        const int n = key.mid(1).toInt();
        QString caption = QString::fromUtf8(r.caption);
        if (letter == QLatin1Char('D')) caption = minuteCaption(key);
        if (key == QLatin1String("E3")) caption = customCaption(workPath_);
        QTreeWidgetItem* item = addNode(QString::fromLatin1(r.parent), key, caption);
        if (letter == QLatin1Char('C'))
            setImage(item, ImageKey(static_cast<quint8>(n - 1), 0));
        else if (letter == QLatin1Char('D'))
            setImage(item, QStringLiteral("D1"));
        else if (letter == QLatin1Char('E'))
            setImage(item, ImageKey(kLocationImage, static_cast<quint8>(n)));
        else
            setImage(item, key);
    }
    for (const char* k : {"R1", "R2", "C9", "R4", "R3", "C12", "C14", "N1"})
        node(QString::fromLatin1(k))->setExpanded(true);
    optionTree->setCurrentItem(node(QStringLiteral("R1")));
}

void frmSet::formUnload() {
    // Leaving the page drops what the editor holds: the page switch has already
    // read the saved settings back, and the box losing its focus as the page
    // goes must not put the unsaved value over them.
    editKey_.clear();
    valueEdit->removeEventFilter(this);
}

// ---- the tree ----

void frmSet::optionTree_NodeClick(QTreeWidgetItem* item) {
    const QString key = nodeKey(item);
    if (key.size() < 2) return;
    const QChar letter = key.at(0);
    const int n = key.mid(1).toInt();
    if (letter == QLatin1Char('C')) {
        // The key's number is the option's place plus one.
        if (n < 1 || n - 1 > static_cast<int>(optionIndex(kLastShownOption))) return;
        const auto option = static_cast<Option>(n - 1);
        gOption(option) = !gOption(option);
        setImage(item, ImageKey(static_cast<quint8>(n - 1), 0));
    } else if (letter == QLatin1Char('E')) {
        if (n < PathOption::ProgramFolder || n > PathOption::Chosen) return;
        gPathOption = n;
        refreshLocationImages();
        if (n == PathOption::Chosen) openEditor(item, workPath_);
    } else if (letter == QLatin1Char('D')) {
        if (key == QLatin1String("D1"))
            openEditor(item, QString::number(gAutoSaveInterval));
        else if (key == QLatin1String("D2"))
            openEditor(item, QString::number(gLockTimeout));
        else if (key == QLatin1String("D3"))
            openEditor(item, QString::number(gRemindLead));
    }
}

void frmSet::refreshLocationImages() {
    for (int i = PathOption::ProgramFolder; i <= PathOption::Chosen; ++i)
        if (QTreeWidgetItem* e = node(QStringLiteral("E%1").arg(i)))
            setImage(e, ImageKey(kLocationImage, static_cast<quint8>(i)));
}

void frmSet::refreshMinuteCaption(const QString& key) {
    if (QTreeWidgetItem* d = node(key)) d->setText(0, minuteCaption(key));
}

// ---- the inline editor ----

void frmSet::openEditor(QTreeWidgetItem* item, const QString& value) {
    // A second node's editor first takes what the first one holds.
    if (!editKey_.isEmpty() && editKey_ != nodeKey(item)) editorOkButton_Click();
    editKey_ = nodeKey(item);
    optionTree->setCurrentItem(item);
    optionTree->scrollToItem(item);
    valueEdit->setText(value);
    placeEditor();
    valueEdit->show();
    editorOkButton->show();
    valueEdit->raise();
    editorOkButton->raise();
    valueEdit->setFocus(Qt::OtherFocusReason);
    valueEdit->selectAll();
}

void frmSet::placeEditor() {
    QTreeWidgetItem* item = node(editKey_);
    if (!item) return;
    const QRect row = optionTree->visualItemRect(item);
    const QPoint topLeft = optionTree->viewport()->mapTo(treeFrame, row.topLeft());
    const int h = qMax(22, row.height() + 2);
    const int y = topLeft.y() + (row.height() - h) / 2;
    const int buttonW = 56;
    const int right = treeFrame->width() - 8;
    const QFontMetrics fm(optionTree->font());
    const int textLeft = topLeft.x() + optionTree->iconSize().width() + 8;
    int x = 0, w = 0;
    if (editKey_ == QLatin1String("E3")) {
        // The folder is typed where it is shown.
        x = textLeft + fm.horizontalAdvance(customCaption(QString()));
        w = right - buttonW - 6 - x;
    } else {
        x = textLeft + fm.horizontalAdvance(item->text(0)) + 12;
        w = 90;
    }
    if (x + w + 6 + buttonW > right) x = qMax(4, right - buttonW - 6 - w);
    w = qMax(60, w);
    valueEdit->setGeometry(x, y, w, h);
    editorOkButton->setGeometry(x + w + 6, y, buttonW, h);
}

void frmSet::closeEditor() {
    const bool hadFocus = valueEdit->hasFocus();
    editKey_.clear();
    valueEdit->hide();
    editorOkButton->hide();
    if (hadFocus) optionTree->setFocus(Qt::OtherFocusReason);
}

void frmSet::editorOkButton_Click() {
    // Losing the focus and the button both end the editor; only the first counts.
    const QString key = editKey_;
    if (key.isEmpty()) return;
    editKey_.clear();

    QString text = valueEdit->text().trimmed();
    valueEdit->setText(text);
    bool accepted = !text.isEmpty();
    if (key.at(0) == QLatin1Char('D')) {
        for (QChar c : text)
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) accepted = false;
        if (accepted) {
            // Compared by length first: a long run of digits must not overflow.
            QString digits = text;
            while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
                digits.remove(0, 1);
            int value = digits.size() > 5 ? kMaxMinutes + 1 : digits.toInt();
            if (value > kMaxMinutes) {
                value = kMaxMinutes;
                valueEdit->setText(QString::number(kMaxMinutes));
            }
            if (key == QLatin1String("D1")) {
                if (value < 1) {
                    value = 1;
                    valueEdit->setText(QStringLiteral("1"));
                }
                gAutoSaveInterval = value;
            } else if (key == QLatin1String("D2")) {
                gLockTimeout = value;
            } else if (key == QLatin1String("D3")) {
                gRemindLead = value;
            }
        }
        refreshMinuteCaption(key);
    } else if (key == QLatin1String("E3") && accepted) {
        workPath_ = absoluteFolder(text);
        if (QTreeWidgetItem* e3 = node(key)) e3->setText(0, customCaption(workPath_));
    }
    closeEditor();
}

// ---- save and cancel ----

void frmSet::cancelButton_Click() {
    gChangeFrame(Page::Home);
}

void frmSet::saveButton_Click() {
    // A value still in the editor is taken first, as leaving the box would.
    if (!editKey_.isEmpty()) editorOkButton_Click();
    save();
}

bool frmSet::save() {
    if (gPathOption == PathOption::Chosen && workPath_.isEmpty()) gPathOption = PathOption::Documents;
    // An empty folder stays empty: a lone "/" would make the root the user folder.
    if (!workPath_.isEmpty() && !workPath_.endsWith(QLatin1Char('/'))) workPath_ += QLatin1Char('/');

    // A user folder the program cannot use would stop every later start; it is
    // refused, whichever the choice, before anything is written.
    const QString folder = gFolderOfChoice(gPathOption, workPath_);
    if (const int failure = checkFolder(folder)) {
        gShowErrorBox(gRuntimeError(failure, QStringLiteral("用户文件夹无法使用：%1").arg(folder)), true);
        return false;
    }

    if (!gSaveUserData()) {
        reportWriteFailure(gErr::PathFileAccess);
        return false;
    }
    if (!settings::save(kApp, kSection, QStringLiteral("WorkPath"), workPath_)) {
        reportWriteFailure(gErr::PathFileAccess);
        return false;
    }
    if (gOption(Option::StartWithSystem)) {
        if (!gRegSetString(HKEY_CURRENT_USER, kRunKey, kRunValue,
                           gAppPath + gAppFileName + QStringLiteral(" /s"))) {
            reportWriteFailure(gErr::PathFileAccess);
            return false;
        }
    } else {
        gRegDeleteValue(HKEY_CURRENT_USER, kRunKey, kRunValue);
        if (reg::getString(HKEY_CURRENT_USER, kRunKey, kRunValue)) {
            reportWriteFailure(gErr::PathFileAccess);
            return false;
        }
    }

    // Read the way the start-up reads it, so a stored value it never used
    // does not count as a change.
    const int stored = gStoredPathOption();
    const bool moved = stored != gPathOption || (gPathOption == PathOption::Chosen && workPath_ != gDataPath);

    if (!settings::save(kApp, kSection, QStringLiteral("PathOption"), QString::number(gPathOption))) {
        reportWriteFailure(gErr::PathFileAccess);
        return false;
    }

    if (!moved) {
        gChangeFrame(Page::Home);
        return true;
    }

    gMsgBox(Msg::RestartForNewFolder, gButtonSet::Close);
    // The main window skips its read-back of the old folder and closes the
    // database; Main then starts again from the new folder.
    gRestartPending = true;
    gCloseMinimizes = false;
    if (frmMain* m = gMainWindow()) {
        if (!forms::unload(m)) {
            gRestartPending = false;
            gCloseMinimizes = true;
            return true;
        }
    } else {
        forms::unload(this);
        gRestartPending = false;
    }
    // Nothing of this page may be touched from here on: it is unloaded. The
    // restart begins from the state of a fresh start: the exit's marks (one
    // keeps today's-classes report from bringing up the main window) and the
    // old account's values go.
    gResetAccountState();
    Main();
    return true;
}

// ---- layout and events ----

void frmSet::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    const int w = gTwips(width()), h = gTwips(height());
    const int bandW = qMax(0, w - 2 * kMarginTw);
    titleBand->setGeometry(gPxRect(kMarginTw, kMarginTw, bandW, kBandTw));
    const int buttonsTop = h - kMarginTw - kBandTw;
    buttonBand->setGeometry(gPxRect(kMarginTw, buttonsTop, bandW, kBandTw));
    const int frameTop = kMarginTw + kBandTw + kMarginTw;
    treeFrame->setGeometry(gPxRect(kMarginTw, frameTop, bandW, qMax(0, buttonsTop - kMarginTw - frameTop)));
    optionTree->setGeometry(treeFrame->rect().adjusted(4, 4, -4, -4));
    // The buttons keep their places from the page's right edge.
    const int buttonTop = (kBandTw - kButtonHTw) / 2;
    saveButton->setGeometry(gPxRect(w - 2430 - kMarginTw, buttonTop, kButtonWTw, kButtonHTw));
    cancelButton->setGeometry(gPxRect(w - 1230 - kMarginTw, buttonTop, kButtonWTw, kButtonHTw));
    if (!editKey_.isEmpty()) placeEditor();
}

void frmSet::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
}

bool frmSet::eventFilter(QObject* watched, QEvent* e) {
    if (watched == valueEdit && e->type() == QEvent::FocusOut) {
        // Only a move of the focus inside the program ends the editor; a window
        // that comes up over the page (a menu, another program) does not.
        const auto reason = static_cast<QFocusEvent*>(e)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            gGuard([this] { editorOkButton_Click(); });
    } else if (watched == optionTree && e->type() == QEvent::KeyPress) {
        // The space bar clicks the selected node, for those who use the keyboard.
        auto* ke = static_cast<QKeyEvent*>(e);
        if (ke->key() == Qt::Key_Space && ke->modifiers() == Qt::NoModifier) {
            if (QTreeWidgetItem* item = optionTree->currentItem())
                gGuard([this, item] { optionTree_NodeClick(item); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

#include "diary/frmRetrieval.h"

#include "core/gClock.h"
#include "core/gDiaryMarks.h"
#include "core/gError.h"
#include "core/gFormParts.h"
#include "core/gLinkLabel.h"
#include "core/gMsgBox.h"
#include "core/gPageSwitch.h"
#include "core/gResources.h"
#include "core/gShared.h"
#include "core/gState.h"
#include "core/gTwips.h"
#include "diary/DiaryStore.h"
#include "diary/gDiaryCollect.h"
#include "diary/gDiarySearch.h"
#include "platform/db/db.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDateEdit>
#include <QEvent>
#include <QFrame>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStyle>
#include <QSvgRenderer>
#include <QTimer>
#include <QTreeWidget>

#include <cmath>

namespace {

const QString kDiary = QStringLiteral("Diary");

QPixmap picture(const QString& name, QSize size) {
    return gRenderSvg(QStringLiteral(":/res/diary/%1.svg").arg(name), size);
}

gLinkLabel* link(QWidget* parent, const char* name, const QString& text, int l, int t, int w) {
    auto* lbl = new gLinkLabel(text, parent);
    lbl->setObjectName(QLatin1String(name));
    lbl->setGeometry(gPxRect(l, t, w, 240));
    return lbl;
}

QFrame* frame(QWidget* parent, const char* name) {
    auto* f = new QFrame(parent);
    f->setObjectName(QLatin1String(name));
    f->setFrameShape(QFrame::NoFrame);
    f->setGeometry(gPxRect(2280, 600, 7335, 1380));
    return f;
}

QString dateText(const QDate& d) {
    return QLocale(QLocale::Chinese, QLocale::China).toString(d, QLocale::ShortFormat);
}

QCheckBox* check(QWidget* parent, const char* name, const QString& text, int l, int t, int w) {
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(QLatin1String(name));
    c->setGeometry(gPxRect(l, t, w, 300));
    return c;
}

// Wide enough for any date in the list's font: every digit of a two-digit month
// and day counted as the widest digit, plus the margins the view keeps.
int dateColumnWidth(const QTreeWidget* lv) {
    const QFontMetricsF fm(lv->font());
    QChar widest = QLatin1Char('0');
    for (char c = '1'; c <= '9'; ++c)
        if (fm.horizontalAdvance(QLatin1Char(c)) > fm.horizontalAdvance(widest)) widest = QLatin1Char(c);
    QString sample = dateText(QDate(2026, 12, 28));
    for (QChar& ch : sample)
        if (ch.isDigit()) ch = widest;
    const int margin = 2 * (lv->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lv) + 1);
    // The view lays the text out in fractions of a pixel and rounds up.
    return int(std::ceil(fm.horizontalAdvance(sample))) + margin;
}

QTreeWidget* list(QWidget* parent, const char* name, int previewWidth) {
    auto* lv = new QTreeWidget(parent);
    lv->setObjectName(QLatin1String(name));
    lv->setRootIsDecorated(false);
    lv->setUniformRowHeights(true);
    lv->setSelectionMode(QAbstractItemView::SingleSelection);
    lv->setSelectionBehavior(QAbstractItemView::SelectRows);
    lv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lv->setSortingEnabled(false);
    lv->setHeaderLabels({QStringLiteral("NO."), QStringLiteral("日期"), QStringLiteral("标题"),
                         QStringLiteral("内容预览"), QStringLiteral("评分")});
    const int widths[] = {464, 1080, 1290, previewWidth, 540};
    for (int i = 0; i < 5; ++i)
        lv->setColumnWidth(i, gPx(widths[i]));
    lv->setColumnWidth(1, std::max(lv->columnWidth(1), dateColumnWidth(lv)));
    return lv;
}

// The list rows of found entries.
void addRows(QTreeWidget* lv, const std::vector<gFoundEntry>& found) {
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(found.size()));
    for (const gFoundEntry& e : found) {
        auto* item = new QTreeWidgetItem;
        item->setText(0, QString::number(e.number));
        item->setText(1, dateText(e.date));
        item->setData(1, Qt::UserRole, e.date);
        item->setText(2, e.title);
        item->setText(3, e.preview);
        item->setText(4, QString::number(e.score));
        items.append(item);
    }
    lv->addTopLevelItems(items);
}

} // namespace

frmRetrieval::frmRetrieval() {
    setObjectName(QStringLiteral("frmRetrieval"));
    resize(gPxSize(9750, 6000));

    Image1 = gNewLabel(this, "Image1", {}, 0, 0, 480, 480);
    Image1->setPixmap(picture(QStringLiteral("searchPage"), QSize(32, 32)));
    Label1 = gNewLabel(this, "Label1", QStringLiteral("检索"), 600, 120, 1200, 240);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    lblCmd1 = link(this, "lblCmd1", QStringLiteral("刷新检索"), 8400, 120, 780);
    lblCmd2 = link(this, "lblCmd2", QStringLiteral("返回"), 9240, 120, 420);

    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setGeometry(gPxRect(0, 720, 2175, 5295));
    TreeView1->setIconSize(QSize(16, 16));

    Frame2 = frame(this, "Frame2");
    Check1 = check(Frame2, "Check1", QStringLiteral("按 日期 检索(&D)"), 120, 60, 2400);
    Picture1 = new QWidget(Frame2);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(gPxRect(120, 420, 7100, 360));
    const char* optionTexts[] = {"上个星期内", "上个月内", "去年一年内", "指定日期", "不限定"};
    const int optionWidths[] = {1380, 1200, 1380, 1200, 1020};
    for (int i = 0, left = 0; i < 5; left += optionWidths[i], ++i) {
        Option1[i] = new QRadioButton(QString::fromUtf8(optionTexts[i]), Picture1);
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        Option1[i]->setGeometry(gPxRect(left, 30, optionWidths[i], 300));
    }
    Option1[4]->setChecked(true);
    Picture1->setEnabled(false);
    Label5 = gNewLabel(Frame2, "Label5", QStringLiteral("从"), 120, 930, 240, 240);
    DTPicker1 = new QDateEdit(Frame2);
    DTPicker1->setObjectName(QStringLiteral("DTPicker1"));
    DTPicker1->setGeometry(gPxRect(420, 870, 1800, 330));
    Label6 = gNewLabel(Frame2, "Label6", QStringLiteral("至"), 2400, 930, 240, 240);
    DTPicker2 = new QDateEdit(Frame2);
    DTPicker2->setObjectName(QStringLiteral("DTPicker2"));
    DTPicker2->setGeometry(gPxRect(2700, 870, 1800, 330));
    for (QDateEdit* dt : {DTPicker1, DTPicker2}) {
        dt->setCalendarPopup(true);
        dt->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        dt->setDate(gToday());
    }

    Frame4 = frame(this, "Frame4");
    Check2 = check(Frame4, "Check2", QStringLiteral("按 标题 检索(&C)"), 120, 60, 2400);
    Text1 = new QLineEdit(Frame4);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(gPxRect(120, 480, 4500, 330));
    Check6 = check(Frame4, "Check6", QStringLiteral("仅检索开头(&O)"), 4800, 495, 2000);

    Frame5 = frame(this, "Frame5");
    Check5 = check(Frame5, "Check5", QStringLiteral("按 内容 检索(&D)"), 120, 60, 2400);
    Text2 = new QLineEdit(Frame5);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setGeometry(gPxRect(120, 480, 4500, 330));
    Check7 = check(Frame5, "Check7", QStringLiteral("仅检索开头(&O)"), 4800, 495, 2000);

    Frame6 = frame(this, "Frame6");
    Check3 = check(Frame6, "Check3", QStringLiteral("按 评分 检索(&S)"), 120, 60, 2400);
    Label9 = gNewLabel(Frame6, "Label9", QStringLiteral("评分："), 120, 540, 600, 240);
    Combo1 = new QComboBox(Frame6);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setGeometry(gPxRect(720, 480, 900, 330));
    Check4 = check(Frame6, "Check4", QStringLiteral("至"), 1800, 495, 600);
    Combo2 = new QComboBox(Frame6);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setGeometry(gPxRect(2400, 480, 900, 330));
    Check8 = check(Frame6, "Check8", QStringLiteral("在收藏日记中检索(&C)"), 120, 960, 3000);

    // The hint pane lies over the criteria panes, which share its place, until a
    // node is chosen; it hides them with its own background.
    Frame1 = frame(this, "Frame1");
    QPalette hintPalette = Frame1->palette();
    hintPalette.setColor(QPalette::Window, Qt::white); // the page's own surface
    Frame1->setPalette(hintPalette);
    Frame1->setAutoFillBackground(true);
    Label3 = gNewLabel(Frame1, "Label3", QStringLiteral("选择一个子类别"), 120, 120, 3000, 240);

    Frame3 = new QFrame(this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Frame3->setFrameShape(QFrame::NoFrame);
    Frame3->setGeometry(gPxRect(2280, 2040, 7335, 3995));
    ListView1 = list(Frame3, "ListView1", 3200);
    ListView1->viewport()->installEventFilter(this);

    Frame7 = new QFrame(this);
    Frame7->setObjectName(QStringLiteral("Frame7"));
    Frame7->setFrameShape(QFrame::NoFrame);
    Label11 = gNewLabel(Frame7, "Label11", QStringLiteral("收藏管理"), 0, 120, 2000, 240);
    Label11->setFont(bold);
    ListView2 = list(Frame7, "ListView2", 3000);
    Label12 = gNewLabel(Frame7, "Label12",
                        QStringLiteral("要创建收藏，请在回顾中点击“收藏”；或者，您也可以在检索结果中右击，"
                                       "选择“加入收藏”。"),
                        0, 480, 6000, 600); // two lines of Chinese
    Label12->setWordWrap(true);
    Label13 = gNewLabel(Frame7, "Label13", QStringLiteral("现在没有收藏。"), 0, 1080, 3000, 240);
    lblCmd5 = link(Frame7, "lblCmd5", QStringLiteral("转到回顾"), 0, 480, 735);
    lblCmd3 = link(Frame7, "lblCmd3", QStringLiteral("删除"), 0, 960, 735);
    lblCmd4 = link(Frame7, "lblCmd4", QStringLiteral("全部删除"), 0, 1440, 735);
    Frame7->hide();
    for (QWidget* w :
         {static_cast<QWidget*>(lblCmd3), static_cast<QWidget*>(lblCmd4), static_cast<QWidget*>(lblCmd5)})
        w->hide();

    mMain = new QMenu(QStringLiteral("检索"), this);
    mMain->setObjectName(QStringLiteral("mMain"));
    mReadDiary = mMain->addAction(QStringLiteral("转到回顾"));
    mReadDiary->setObjectName(QStringLiteral("mReadDiary"));
    mMain->addSeparator()->setObjectName(QStringLiteral("mLine1"));
    mCollect = mMain->addAction(QStringLiteral("加入收藏"));
    mCollect->setObjectName(QStringLiteral("mCollect"));

    // ---- events ----
    const auto search = [this] { gGuard([this] { Result(); }); };
    connect(Check1, &QCheckBox::toggled, this, [this, search](bool on) {
        Picture1->setEnabled(on);
        search();
    });
    for (QCheckBox* c : {Check2, Check3, Check4, Check5, Check6, Check7, Check8})
        connect(c, &QCheckBox::toggled, this, search);
    for (QRadioButton* o : Option1)
        connect(o, &QRadioButton::toggled, this, [search](bool on) {
            if (on) search(); // the option turned off raises no second search
        });
    connect(DTPicker1, &QDateEdit::dateChanged, this, search);
    connect(DTPicker2, &QDateEdit::dateChanged, this, search);
    connect(Combo1, &QComboBox::currentIndexChanged, this, search);
    connect(Combo2, &QComboBox::currentIndexChanged, this, [this, search] {
        if (Check4->isChecked()) search();
    });
    connect(Text1, &QLineEdit::textChanged, this, [this, search] {
        if (Check2->isChecked()) search();
    });
    connect(Text2, &QLineEdit::textChanged, this, [this, search] {
        if (Check5->isChecked()) search();
    });
    Text1->installEventFilter(this);
    Text2->installEventFilter(this);
    connect(lblCmd1, &gLinkLabel::clicked, this, search);
    connect(lblCmd2, &gLinkLabel::clicked, this, [] { gGuard([] { ::gChangeFrame(Page::Home); }); });
    connect(TreeView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
        gGuard([&] { gChangeFrame(item->data(0, Qt::UserRole).toInt()); });
    });
    connect(mReadDiary, &QAction::triggered, this, [this] { mReadDiary_Click(); });
    connect(mCollect, &QAction::triggered, this, [this] { mCollect_Click(); });
    connect(ListView2, &QTreeWidget::itemDoubleClicked, this,
            [this] { gGuard([this] { ListView2_DblClick(); }); });
    connect(lblCmd3, &gLinkLabel::clicked, this, [this] { gGuard([this] { lblCmd3_Click(); }); });
    connect(lblCmd4, &gLinkLabel::clicked, this, [this] { gGuard([this] { lblCmd4_Click(); }); });
    connect(lblCmd5, &gLinkLabel::clicked, this, [this] { gGuard([this] { lblCmd5_Click(); }); });
}

frmRetrieval::~frmRetrieval() = default;

void frmRetrieval::formLoad() {
    gSetHandCursor(this);

    struct Node {
        const char *key, *text, *image;
        bool child;
    };
    const Node nodes[] = {{"R1", "检索", "R1", false},  {"C1", "按日期", "C1", true},
                          {"C2", "按标题", "C2", true}, {"C3", "按内容", "C4", true},
                          {"C4", "按评分", "C3", true}, {"R2", "收藏", "R2", false}};
    QTreeWidgetItem* root = nullptr;
    int index = 0;
    for (const Node& n : nodes) {
        auto* item = n.child ? new QTreeWidgetItem(root) : new QTreeWidgetItem(TreeView1);
        if (!n.child) root = item;
        item->setText(0, QString::fromUtf8(n.text));
        item->setData(0, Qt::UserRole, ++index);
        item->setData(0, Qt::UserRole + 1, QString::fromLatin1(n.key));
        item->setIcon(0,
                      QIcon(picture(QStringLiteral("search%1").arg(QLatin1String(n.image)), QSize(16, 16))));
    }
    TreeView1->expandAll();

    {
        const QSignalBlocker b1(Combo1), b2(Combo2);
        for (int i = 0; i <= 100; ++i) {
            Combo1->addItem(QString::number(i));
            Combo2->addItem(QString::number(i));
        }
        Combo1->setCurrentIndex(0);
        Combo2->setCurrentIndex(0);
    }
    loaded_ = true;
    resizeEvent(nullptr);
    gGuard([this] { Result(); });
}

void frmRetrieval::selectFirstNode() {
    const QSignalBlocker block(TreeView1);
    if (TreeView1->topLevelItemCount() > 0) TreeView1->setCurrentItem(TreeView1->topLevelItem(0));
}

// ---- the search ----

void frmRetrieval::Result() {
    ListView1->clear();
    ListView2->clear();

    db::Filter f;
    if (Check1->isChecked()) {
        const QDate today = gToday();
        const int back[] = {7, 30, 365};
        int option = 4;
        for (int i = 0; i < 5; ++i)
            if (Option1[i]->isChecked()) option = i;
        if (option <= 2)
            f.and_(db::Filter::between(QStringLiteral("Date"), today.addDays(-back[option]), today));
        else if (option == 3)
            f.and_(db::Filter::between(QStringLiteral("Date"), DTPicker1->date(), DTPicker2->date()));
    }
    // Typed texts are matched literally: an apostrophe, "%" or "_" stands for itself.
    if (Check2->isChecked() && !Text1->text().isEmpty())
        f.and_(QStringLiteral("Title"), Check6->isChecked() ? db::Op::BeginsWith : db::Op::Contains,
               Text1->text());
    if (Check5->isChecked() && !Text2->text().isEmpty())
        f.and_(kDiary, Check7->isChecked() ? db::Op::BeginsWith : db::Op::Contains, Text2->text());
    if (Check3->isChecked()) {
        const int low = Combo1->currentText().toInt();
        if (Check4->isChecked()) {
            f.and_(QStringLiteral("Score"), db::Op::Ge, low);
            f.and_(QStringLiteral("Score"), db::Op::Le, Combo2->currentText().toInt());
        } else {
            f.and_(QStringLiteral("Score"), db::Op::Eq, low);
        }
    }
    if (Check8->isChecked()) f.and_(QStringLiteral("Collect"), db::Op::Eq, true);

    // "NO." is the entry's place among all of its day's entries in table order,
    // as the review page counts them.
    addRows(ListView1, DiaryStore(gConnection).search(f));
    // The favourites pane's list was cleared with the results: refill it.
    if (pane_ == SearchPane::Favourites) FillFavourites();
}

void frmRetrieval::FillFavourites() {
    ListView2->clear();
    addRows(ListView2, DiaryStore(gConnection).search(db::Filter::eq(QStringLiteral("Collect"), true)));
    const bool any = ListView2->topLevelItemCount() > 0;
    Label12->setVisible(!any);
    Label13->setVisible(!any);
    ListView2->setVisible(any);
    lblCmd3->setVisible(any);
    lblCmd4->setVisible(any);
    lblCmd5->setVisible(any);
}

// ---- panes ----

void frmRetrieval::gChangeFrame(int Index) {
    for (QFrame* f : {Frame1, Frame2, Frame3, Frame4, Frame5, Frame6, Frame7})
        f->hide();
    pane_ = Index;
    const int w = gTwips(width()), h = gTwips(height());
    if (Index >= SearchPane::ByDate && Index <= SearchPane::ByScore)
        Frame3->setGeometry(gPxRect(2280, 2040, w - 2415, h - 2040));
    switch (Index) {
    case SearchPane::Results:
        Frame3->setGeometry(gPxRect(2280, 720, w - 2415, h - 720));
        break;
    case SearchPane::ByDate:
        Frame2->show();
        break;
    case SearchPane::ByTitle:
        Frame4->show();
        break;
    case SearchPane::ByContent:
        Frame5->show();
        break;
    case SearchPane::ByScore:
        Frame6->show();
        break;
    case SearchPane::Favourites:
        FillFavourites();
        Frame7->show();
        break;
    default:
        break;
    }
    ListView1->setGeometry(0, 0, Frame3->width(), Frame3->height());
    if (Index >= SearchPane::Results && Index <= SearchPane::ByScore) {
        Result();
        Frame3->show();
    }
}

void frmRetrieval::placeResults() {
    const int w = gTwips(width()), h = gTwips(height());
    if (gTwips(Frame3->y()) == 2040)
        Frame3->setGeometry(gPxRect(2280, 2040, w - 2415, h - 2040));
    else
        Frame3->setGeometry(gPxRect(2280, 720, w - 2415, h - 720));
    ListView1->setGeometry(0, 0, Frame3->width(), Frame3->height());
}

void frmRetrieval::resizeEvent(QResizeEvent* e) {
    if (e) QWidget::resizeEvent(e);
    const int w = gTwips(width()), h = gTwips(height());
    lblCmd2->move(gPxPoint(w - 510, 120));
    lblCmd1->move(gPxPoint(w - 1350, 120));
    // Everything ends at the page's bottom edge rather than past it.
    TreeView1->resize(TreeView1->width(), gPx(h - 720));
    Frame7->setGeometry(gPxRect(2280, 720, w - 2535, h - 720));
    // The criteria panes keep their design width where the page is wide enough.
    const int cw = qMin(7335, w - 2415);
    for (QFrame* f : {Frame1, Frame2, Frame4, Frame5, Frame6})
        f->resize(gPx(cw), f->height());
    Picture1->resize(gPx(qMin(7100, cw - 120)), Picture1->height());
    for (QCheckBox* c : {Check6, Check7})
        c->resize(gPx(qMin(2000, cw - 4800)), c->height());
    const int fw = gTwips(Frame7->width()), fh = gTwips(Frame7->height());
    ListView2->setGeometry(gPxRect(0, 480, fw - 840, fh - 600));
    for (gLinkLabel* l : {lblCmd5, lblCmd4, lblCmd3})
        l->move(gPx(fw - 735), l->y());
    placeResults();
}

bool frmRetrieval::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListView1->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* me = static_cast<QMouseEvent*>(event);
        const int button = me->button() == Qt::LeftButton ? 1 : me->button() == Qt::RightButton ? 2 : 4;
        // After the view has handled the release, so the row under the mouse is selected.
        QTimer::singleShot(0, this, [this, button] { ListView1_MouseUp(button); });
    } else if ((watched == Text1 || watched == Text2) && event->type() == QEvent::FocusIn) {
        auto* box = static_cast<QLineEdit*>(watched);
        QTimer::singleShot(0, box, [box] { box->selectAll(); });
    }
    return QWidget::eventFilter(watched, event);
}

// ---- rows and commands ----

QDate frmRetrieval::rowDate(const QTreeWidgetItem* item) {
    return item->data(1, Qt::UserRole).toDate();
}

int frmRetrieval::rowNumber(const QTreeWidgetItem* item) {
    return item->text(0).toInt();
}

void frmRetrieval::openEntry(const QTreeWidgetItem* item) {
    gDayIndex = rowNumber(item);
    gDiaryDate = rowDate(item);
    ::gChangeFrame(Page::Review, {.setDiary = true});
}

void frmRetrieval::ListView1_MouseUp(int button) {
    if (button == 1) {
        const QList<QTreeWidgetItem*> sel = ListView1->selectedItems();
        if (sel.isEmpty()) return;
        try {
            openEntry(sel.first());
        } catch (...) {
            gShowErrorBox(false);
        }
    } else if (button == 2) {
        mMain->popup(QCursor::pos());
    }
}

void frmRetrieval::mReadDiary_Click() {
    if (ListView1->selectedItems().isEmpty()) return;
    try {
        ::gChangeFrame(Page::Review);
    } catch (...) {
        gShowErrorBox(false);
    }
}

void frmRetrieval::mCollect_Click() {
    const QList<QTreeWidgetItem*> sel = ListView1->selectedItems();
    if (sel.isEmpty()) {
        gMsgBox(Msg::NoEntryForFavourite, gButtonSet::Close);
        return;
    }
    try {
        gSetDiaryCollect(rowDate(sel.first()), rowNumber(sel.first()), true);
    } catch (...) {
        gShowErrorBox(false);
    }
}

void frmRetrieval::ListView2_DblClick() {
    const QList<QTreeWidgetItem*> sel = ListView2->selectedItems();
    if (sel.isEmpty()) return;
    openEntry(sel.first());
}

void frmRetrieval::lblCmd3_Click() {
    const QList<QTreeWidgetItem*> sel = ListView2->selectedItems();
    if (sel.isEmpty()) return;
    gSetDiaryCollect(rowDate(sel.first()), rowNumber(sel.first()), false);
    FillFavourites();
}

void frmRetrieval::lblCmd4_Click() {
    if (gMsgBox(Msg::ConfirmRemoveAllFavourites, gButtonSet::YesNo) != gMsgResult::Yes) return;
    try {
        DiaryStore(gConnection).clearFavourites();
    } catch (...) {
        gShowErrorBox(true); // nothing was changed: the transaction rolled back
    }
    FillFavourites();
}

void frmRetrieval::lblCmd5_Click() {
    ::gChangeFrame(Page::Review);
}

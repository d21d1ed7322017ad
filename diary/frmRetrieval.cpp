#include "diary/frmRetrieval.h"

#include "core/model/gClock.h"
#include "core/base/gError.h"
#include "core/ui/gFormParts.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/ui/gPageSwitch.h"
#include "core/ui/gResources.h"
#include "core/ui/gShared.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "diary/DiarySearch.h"
#include "diary/DiaryStore.h"
#include "diary/FoundModel.h"
#include "diary/SearchEntries.h"
#include "diary/gDiaryCollect.h"
#include "platform/db/db.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDateEdit>
#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>

namespace {

const QString kDiary = QStringLiteral("Diary");

// A turn of the searches, between which the window answers input and paints.
constexpr std::chrono::milliseconds kTurn(12);
// A search that lasts longer than this shows its progress.
int showProgressAfterMs = 500;
// While a search runs its rows join the list this often (each time the view
// lays out all its rows again), and at once until they fill a screen.
constexpr int kShowRowsEveryMs = 200;
constexpr int kScreenRows = 100;
// The preview column's designed width in each list, in twips.
constexpr int kResultPreviewWidth = 3200, kFavouritePreviewWidth = 3000;

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
int dateColumnWidth(const QTreeView* lv) {
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

// The designed widths of a list's columns, in pixels, the date's made wide
// enough for any date.
std::array<int, 5> designedWidths(const QTreeView* lv, int previewWidth) {
    std::array<int, 5> w{gPx(464), gPx(1080), gPx(1290), gPx(previewWidth), gPx(540)};
    w[1] = std::max(w[1], dateColumnWidth(lv));
    return w;
}

// The columns at their designed widths at least; the room a wider list has
// goes to the title and the preview, in the proportion of their widths, so
// that their texts are cut as late as possible.
void fitColumns(QTreeView* lv, int previewWidth) {
    std::array<int, 5> w = designedWidths(lv, previewWidth);
    const int room = lv->viewport()->width() - (w[0] + w[1] + w[2] + w[3] + w[4]);
    if (room > 0) {
        const int toTitle = room * w[2] / (w[2] + w[3]);
        w[2] += toTitle;
        w[3] += room - toTitle;
    }
    for (int i = 0; i < 5; ++i)
        lv->setColumnWidth(i, w[size_t(i)]);
}

QTreeView* list(QWidget* parent, const char* name, FoundModel* rows, int previewWidth) {
    auto* lv = new QTreeView(parent);
    lv->setObjectName(QLatin1String(name));
    lv->setModel(rows);
    lv->setRootIsDecorated(false);
    lv->setItemsExpandable(false);
    lv->setUniformRowHeights(true); // rows are laid out without asking each one
    lv->setSelectionMode(QAbstractItemView::SingleSelection);
    lv->setSelectionBehavior(QAbstractItemView::SelectRows);
    lv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lv->setSortingEnabled(false);
    fitColumns(lv, previewWidth);
    return lv;
}

} // namespace

frmRetrieval::frmRetrieval() {
    setObjectName(QStringLiteral("frmRetrieval"));
    resize(gPxSize(9750, 6000));

    titleImage = gNewLabel(this, "Image1", {}, 0, 0, 480, 480);
    titleImage->setPixmap(picture(QStringLiteral("searchPage"), QSize(32, 32)));
    titleLabel = gNewLabel(this, "Label1", QStringLiteral("检索"), 600, 120, 1200, 240);
    QFont bold = titleLabel->font();
    bold.setBold(true);
    titleLabel->setFont(bold);
    searchProgress = new QProgressBar(this);
    searchProgress->setObjectName(QStringLiteral("searchProgress"));
    searchProgress->setGeometry(gPxRect(5400, 120, 2700, 240));
    searchProgress->setFormat(QStringLiteral("正在检索 %p%"));
    searchProgress->hide();
    searchTimer_ = new QTimer(this);
    searchTimer_->setInterval(0);
    connect(searchTimer_, &QTimer::timeout, this, [this] { gGuard([this] { searchTurn(); }); });
    refreshLink = link(this, "lblCmd1", QStringLiteral("刷新检索"), 8400, 120, 780);
    backLink = link(this, "lblCmd2", QStringLiteral("返回"), 9240, 120, 420);

    paneTree = new QTreeWidget(this);
    paneTree->setObjectName(QStringLiteral("TreeView1"));
    paneTree->setHeaderHidden(true);
    paneTree->setGeometry(gPxRect(0, 720, 2175, 5295));
    paneTree->setIconSize(QSize(16, 16));

    datePane = frame(this, "Frame2");
    byDateCheck = check(datePane, "Check1", QStringLiteral("按 日期 检索(&D)"), 120, 60, 2400);
    dateOptionsPanel = new QWidget(datePane);
    dateOptionsPanel->setObjectName(QStringLiteral("Picture1"));
    dateOptionsPanel->setGeometry(gPxRect(120, 420, 7100, 360));
    const char* optionTexts[] = {"上个星期内", "上个月内", "去年一年内", "指定日期", "不限定"};
    const int optionWidths[] = {1380, 1200, 1380, 1200, 1020};
    for (int i = 0, left = 0; i < 5; left += optionWidths[i], ++i) {
        dateOptions[i] = new QRadioButton(QString::fromUtf8(optionTexts[i]), dateOptionsPanel);
        dateOptions[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        dateOptions[i]->setGeometry(gPxRect(left, 30, optionWidths[i], 300));
    }
    dateOptions[4]->setChecked(true);
    dateOptionsPanel->setEnabled(false);
    fromLabel = gNewLabel(datePane, "Label5", QStringLiteral("从"), 120, 930, 240, 240);
    fromDateEdit = new QDateEdit(datePane);
    fromDateEdit->setObjectName(QStringLiteral("DTPicker1"));
    fromDateEdit->setGeometry(gPxRect(420, 870, 1800, 330));
    toLabel = gNewLabel(datePane, "Label6", QStringLiteral("至"), 2400, 930, 240, 240);
    toDateEdit = new QDateEdit(datePane);
    toDateEdit->setObjectName(QStringLiteral("DTPicker2"));
    toDateEdit->setGeometry(gPxRect(2700, 870, 1800, 330));
    for (QDateEdit* dt : {fromDateEdit, toDateEdit}) {
        dt->setCalendarPopup(true);
        dt->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        dt->setDate(gToday());
    }

    titlePane = frame(this, "Frame4");
    byTitleCheck = check(titlePane, "Check2", QStringLiteral("按 标题 检索(&C)"), 120, 60, 2400);
    titleEdit = new QLineEdit(titlePane);
    titleEdit->setObjectName(QStringLiteral("Text1"));
    titleEdit->setGeometry(gPxRect(120, 480, 4500, 330));
    titleBeginsCheck = check(titlePane, "Check6", QStringLiteral("仅检索开头(&O)"), 4800, 495, 2000);

    contentPane = frame(this, "Frame5");
    byContentCheck = check(contentPane, "Check5", QStringLiteral("按 内容 检索(&D)"), 120, 60, 2400);
    contentEdit = new QLineEdit(contentPane);
    contentEdit->setObjectName(QStringLiteral("Text2"));
    contentEdit->setGeometry(gPxRect(120, 480, 4500, 330));
    contentBeginsCheck = check(contentPane, "Check7", QStringLiteral("仅检索开头(&O)"), 4800, 495, 2000);

    scorePane = frame(this, "Frame6");
    byScoreCheck = check(scorePane, "Check3", QStringLiteral("按 评分 检索(&S)"), 120, 60, 2400);
    scoreCaption = gNewLabel(scorePane, "Label9", QStringLiteral("评分："), 120, 540, 600, 240);
    lowScoreCombo = new QComboBox(scorePane);
    lowScoreCombo->setObjectName(QStringLiteral("Combo1"));
    lowScoreCombo->setGeometry(gPxRect(720, 480, 900, 330));
    scoreRangeCheck = check(scorePane, "Check4", QStringLiteral("至"), 1800, 495, 600);
    highScoreCombo = new QComboBox(scorePane);
    highScoreCombo->setObjectName(QStringLiteral("Combo2"));
    highScoreCombo->setGeometry(gPxRect(2400, 480, 900, 330));
    favouritesOnlyCheck = check(scorePane, "Check8", QStringLiteral("在收藏日记中检索(&C)"), 120, 960, 3000);

    // The hint pane lies over the criteria panes, which share its place, until a
    // node is chosen; it hides them with its own background.
    hintPane = frame(this, "Frame1");
    QPalette hintPalette = hintPane->palette();
    hintPalette.setColor(QPalette::Window, Qt::white); // the page's own surface
    hintPane->setPalette(hintPalette);
    hintPane->setAutoFillBackground(true);
    hintLabel = gNewLabel(hintPane, "Label3", QStringLiteral("选择一个子类别"), 120, 120, 3000, 240);
    // Covered, they are hidden too, so that Tab does not walk through controls
    // nobody can see.
    for (QFrame* f : {datePane, titlePane, contentPane, scorePane})
        f->hide();

    resultsPane = new QFrame(this);
    resultsPane->setObjectName(QStringLiteral("Frame3"));
    resultsPane->setFrameShape(QFrame::NoFrame);
    resultsPane->setGeometry(gPxRect(2280, 2040, 7335, 3995));
    resultRows = new FoundModel(this);
    resultList = list(resultsPane, "ListView1", resultRows, kResultPreviewWidth);
    resultList->viewport()->installEventFilter(this);

    favouritesPane = new QFrame(this);
    favouritesPane->setObjectName(QStringLiteral("Frame7"));
    favouritesPane->setFrameShape(QFrame::NoFrame);
    favouritesTitleLabel =
        gNewLabel(favouritesPane, "Label11", QStringLiteral("收藏管理"), 0, 120, 2000, 240);
    favouritesTitleLabel->setFont(bold);
    favouriteRows = new FoundModel(this);
    favouritesList = list(favouritesPane, "ListView2", favouriteRows, kFavouritePreviewWidth);
    favouritesList->viewport()->installEventFilter(this);
    favouritesHelpLabel =
        gNewLabel(favouritesPane, "Label12",
                  QStringLiteral("要创建收藏，请在回顾中点击“收藏”；或者，您也可以在检索结果中右击，"
                                 "选择“加入收藏”。"),
                  0, 480, 6000, 600); // two lines of Chinese
    favouritesHelpLabel->setWordWrap(true);
    noFavouritesLabel =
        gNewLabel(favouritesPane, "Label13", QStringLiteral("现在没有收藏。"), 0, 1080, 3000, 240);
    goToReviewLink = link(favouritesPane, "lblCmd5", QStringLiteral("转到回顾"), 0, 480, 735);
    removeFavouriteLink = link(favouritesPane, "lblCmd3", QStringLiteral("删除"), 0, 960, 735);
    removeAllFavouritesLink = link(favouritesPane, "lblCmd4", QStringLiteral("全部删除"), 0, 1440, 735);
    favouritesPane->hide();
    for (QWidget* w : {static_cast<QWidget*>(removeFavouriteLink),
                       static_cast<QWidget*>(removeAllFavouritesLink), static_cast<QWidget*>(goToReviewLink)})
        w->hide();

    resultMenu = new QMenu(QStringLiteral("检索"), this);
    resultMenu->setObjectName(QStringLiteral("mMain"));
    mReadDiary = resultMenu->addAction(QStringLiteral("转到回顾"));
    mReadDiary->setObjectName(QStringLiteral("mReadDiary"));
    resultMenu->addSeparator()->setObjectName(QStringLiteral("mLine1"));
    mCollect = resultMenu->addAction(QStringLiteral("加入收藏"));
    mCollect->setObjectName(QStringLiteral("mCollect"));

    // ---- events ----
    const auto search = [this] { gGuard([this] { Result(); }); };
    connect(byDateCheck, &QCheckBox::toggled, this, [this, search](bool on) {
        dateOptionsPanel->setEnabled(on);
        search();
    });
    for (QCheckBox* c : {byTitleCheck, byScoreCheck, scoreRangeCheck, byContentCheck, titleBeginsCheck,
                         contentBeginsCheck, favouritesOnlyCheck})
        connect(c, &QCheckBox::toggled, this, search);
    for (QRadioButton* o : dateOptions)
        connect(o, &QRadioButton::toggled, this, [search](bool on) {
            if (on) search(); // the option turned off raises no second search
        });
    connect(fromDateEdit, &QDateEdit::dateChanged, this, search);
    connect(toDateEdit, &QDateEdit::dateChanged, this, search);
    connect(lowScoreCombo, &QComboBox::currentIndexChanged, this, search);
    connect(highScoreCombo, &QComboBox::currentIndexChanged, this, [this, search] {
        if (scoreRangeCheck->isChecked()) search();
    });
    connect(titleEdit, &QLineEdit::textChanged, this, [this, search] {
        if (byTitleCheck->isChecked()) search();
    });
    connect(contentEdit, &QLineEdit::textChanged, this, [this, search] {
        if (byContentCheck->isChecked()) search();
    });
    titleEdit->installEventFilter(this);
    contentEdit->installEventFilter(this);
    connect(refreshLink, &gLinkLabel::clicked, this, search);
    connect(backLink, &gLinkLabel::clicked, this, [] { gGuard([] { ::gChangeFrame(Page::Home); }); });
    connect(paneTree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
        gGuard([&] { gChangeFrame(item->data(0, Qt::UserRole).toInt()); });
    });
    // A node chosen with the arrow keys is a node click too (a click changes the
    // node while the button is down, and its release is the click above).
    connect(paneTree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item && QApplication::mouseButtons() == Qt::NoButton)
            gGuard([&] { gChangeFrame(item->data(0, Qt::UserRole).toInt()); });
    });
    // Return on a row opens it as the mouse does; the menu key opens the result's menu.
    resultList->installEventFilter(this);
    favouritesList->installEventFilter(this);
    connect(mReadDiary, &QAction::triggered, this, [this] { mReadDiary_Click(); });
    connect(mCollect, &QAction::triggered, this, [this] { mCollect_Click(); });
    connect(favouritesList, &QTreeView::doubleClicked, this,
            [this] { gGuard([this] { favouritesList_DblClick(); }); });
    connect(removeFavouriteLink, &gLinkLabel::clicked, this,
            [this] { gGuard([this] { removeFavouriteLink_Click(); }); });
    connect(removeAllFavouritesLink, &gLinkLabel::clicked, this,
            [this] { gGuard([this] { removeAllFavouritesLink_Click(); }); });
    connect(goToReviewLink, &gLinkLabel::clicked, this,
            [this] { gGuard([this] { goToReviewLink_Click(); }); });
}

// The searches go before the lists that show their rows.
frmRetrieval::~frmRetrieval() {
    resultSearch_.reset();
    favouritesSearch_.reset();
    readOnIn(nullptr);
}

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
        auto* item = n.child ? new QTreeWidgetItem(root) : new QTreeWidgetItem(paneTree);
        if (!n.child) root = item;
        item->setText(0, QString::fromUtf8(n.text));
        item->setData(0, Qt::UserRole, ++index);
        item->setData(0, Qt::UserRole + 1, QString::fromLatin1(n.key));
        item->setIcon(0,
                      QIcon(picture(QStringLiteral("search%1").arg(QLatin1String(n.image)), QSize(16, 16))));
    }
    paneTree->expandAll();

    {
        const QSignalBlocker b1(lowScoreCombo), b2(highScoreCombo);
        for (int i = 0; i <= 100; ++i) {
            lowScoreCombo->addItem(QString::number(i));
            highScoreCombo->addItem(QString::number(i));
        }
        lowScoreCombo->setCurrentIndex(0);
        highScoreCombo->setCurrentIndex(0);
    }
    resizeEvent(nullptr);
    gGuard([this] { Result(); });
}

void frmRetrieval::selectFirstNode() {
    const QSignalBlocker block(paneTree);
    if (paneTree->topLevelItemCount() > 0) paneTree->setCurrentItem(paneTree->topLevelItem(0));
}

// ---- the search ----

void frmRetrieval::Result() {
    resultRows->clear();
    favouriteRows->clear();

    db::Filter f;
    if (byDateCheck->isChecked()) {
        const QDate today = gToday();
        const int back[] = {7, 30, 365};
        int option = 4;
        for (int i = 0; i < 5; ++i)
            if (dateOptions[i]->isChecked()) option = i;
        if (option <= 2)
            f.and_(db::Filter::between(QStringLiteral("Date"), today.addDays(-back[option]), today));
        else if (option == 3)
            f.and_(db::Filter::between(QStringLiteral("Date"), fromDateEdit->date(), toDateEdit->date()));
    }
    // Typed texts are matched literally: an apostrophe, "%" or "_" stands for itself.
    if (byTitleCheck->isChecked() && !titleEdit->text().isEmpty())
        f.and_(QStringLiteral("Title"), titleBeginsCheck->isChecked() ? db::Op::BeginsWith : db::Op::Contains,
               titleEdit->text());
    if (byContentCheck->isChecked() && !contentEdit->text().isEmpty())
        f.and_(kDiary, contentBeginsCheck->isChecked() ? db::Op::BeginsWith : db::Op::Contains,
               contentEdit->text());
    if (byScoreCheck->isChecked()) {
        const int low = lowScoreCombo->currentText().toInt();
        if (scoreRangeCheck->isChecked()) {
            f.and_(QStringLiteral("Score"), db::Op::Ge, low);
            f.and_(QStringLiteral("Score"), db::Op::Le, highScoreCombo->currentText().toInt());
        } else {
            f.and_(QStringLiteral("Score"), db::Op::Eq, low);
        }
    }
    if (favouritesOnlyCheck->isChecked()) f.and_(QStringLiteral("Collect"), db::Op::Eq, true);

    // "NO." is the entry's place among all of its day's entries in table order,
    // as the review page counts them.
    // A search of the texts reads only what it needs, so that its rows come
    // soonest; any other reads the scores and flags along, which costs little
    // more in the same pass and leaves every later search in memory.
    const bool texts = std::any_of(f.conditions().begin(), f.conditions().end(), [](const db::Condition& c) {
        return c.op == db::Op::BeginsWith || c.op == db::Op::Contains;
    });
    start(resultSearch_, resultRows, f, !texts);
    // The favourites pane's list was cleared with the results: refill it.
    if (pane_ == SearchPane::Favourites)
        FillFavourites();
    else
        favouritesSearch_.reset();
}

void frmRetrieval::FillFavourites() {
    favouriteRows->clear();
    start(favouritesSearch_, favouriteRows, db::Filter::eq(QStringLiteral("Collect"), true), true);
}

void frmRetrieval::start(std::unique_ptr<DiarySearch>& slot, FoundModel* rows, const db::Filter& filter,
                         bool withScores) {
    std::unique_ptr<DiarySearch> search;
    try {
        search = std::make_unique<DiarySearch>(gConnection, filter, withScores);
    } catch (...) {
        slot.reset(); // nothing of the search before stays to add rows
        if (!searching()) searchProgress->hide();
        throw;
    }
    // The new search before the old one goes: a read they share goes on.
    slot = std::move(search);
    rows->follow(*slot);
    readOnIn(slot->entries());
    if (!searchTimer_->isActive()) searchClock_.start();
    searchAgainWhenShown_ = false;
    // The first turn at once, so the first rows show with the page.
    searchTurn();
}

void frmRetrieval::readOnIn(std::shared_ptr<SearchEntries> entries) {
    if (entries) entries->attach();
    if (readingOn_) readingOn_->detach();
    readingOn_ = std::move(entries);
}

void frmRetrieval::setProgressDelay(int ms) {
    showProgressAfterMs = ms;
}

bool frmRetrieval::searching() const {
    return resultSearch_ || favouritesSearch_;
}

void frmRetrieval::searchTurn() {
    const auto deadline = DiarySearch::Clock::now() + kTurn;
    const bool due = !rowsShown_.isValid() || rowsShown_.elapsed() >= kShowRowsEveryMs;
    if (due) rowsShown_.start();
    const auto turn = [&](std::unique_ptr<DiarySearch>& search, FoundModel* rows) {
        if (!search) return;
        bool finished = false;
        try {
            finished = search->run(deadline);
        } catch (...) {
            // The rows found so far stay; the search ends with the error box.
            rows->follow(*search);
            search.reset();
            throw;
        }
        // A search that started again on a new read drops its rows at once.
        if (finished || due || search->entries() != rows->entries() || rows->rowCount() < kScreenRows)
            rows->follow(*search);
        if (search->entries() != readingOn_) readOnIn(search->entries());
        if (finished) {
            if (search->interrupted()) searchAgainWhenShown_ = true;
            search.reset();
        }
    };
    const auto settle = [this] {
        showFavouritesState();
        if (searching() || readingOn_) {
            if (!searchTimer_->isActive()) searchTimer_->start();
        } else {
            searchTimer_->stop();
        }
        if (!searching()) searchProgress->hide();
    };
    try {
        turn(resultSearch_, resultRows);
        turn(favouritesSearch_, favouriteRows);
        // Without a search to run, the scores and flags a search of the texts
        // left unread are read, so that a later search by score or of the
        // favourites is answered from memory.
        if (!searching() && readingOn_) {
            SearchEntries& e = *readingOn_;
            if (!e.current() || (e.complete() && e.scoresComplete())) {
                readOnIn(nullptr);
            } else if (DiarySearch::Clock::now() < deadline) {
                try {
                    e.readMore(true, deadline);
                } catch (...) {
                    readOnIn(nullptr); // the next search meets the error, and reports it
                }
            }
        }
    } catch (...) {
        settle();
        throw;
    }
    settle();
    if (searching() && searchClock_.elapsed() >= showProgressAfterMs) {
        // The entries looked at, of the table's (counted once, when first shown).
        size_t done = 0;
        long total = 0;
        for (const auto* search : {&resultSearch_, &favouritesSearch_})
            if (*search) {
                done += (*search)->done();
                total += (*search)->total();
            }
        searchProgress->setRange(0, int(std::max<long>(total, 1)));
        searchProgress->setValue(int(std::min<long>(long(done), total)));
        searchProgress->show();
    }
}

void frmRetrieval::showFavouritesState() {
    // While the favourites are still being read, an empty list is no answer yet.
    const bool any = favouriteRows->rowCount() > 0;
    if (!any && favouritesSearch_) return;
    favouritesHelpLabel->setVisible(!any);
    noFavouritesLabel->setVisible(!any);
    favouritesList->setVisible(any);
    removeFavouriteLink->setVisible(any);
    removeAllFavouritesLink->setVisible(any);
    goToReviewLink->setVisible(any);
}

void frmRetrieval::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // A search the lock stopped runs again once the page is seen again.
    if (searchAgainWhenShown_ && !gLocked) {
        searchAgainWhenShown_ = false;
        gGuard([this] {
            if (pane_ == SearchPane::Favourites)
                FillFavourites();
            else
                Result();
        });
    }
}

// ---- panes ----

void frmRetrieval::gChangeFrame(int Index) {
    for (QFrame* f : {hintPane, datePane, resultsPane, titlePane, contentPane, scorePane, favouritesPane})
        f->hide();
    pane_ = Index;
    // Under a criteria pane the results start below it; alone they fill the page.
    if (Index >= SearchPane::ByDate && Index <= SearchPane::ByScore)
        placeResults(kResultsBelowCriteria);
    else if (Index == SearchPane::Results)
        placeResults(kResultsAlone);
    switch (Index) {
    case SearchPane::ByDate:
        datePane->show();
        break;
    case SearchPane::ByTitle:
        titlePane->show();
        break;
    case SearchPane::ByContent:
        contentPane->show();
        break;
    case SearchPane::ByScore:
        scorePane->show();
        break;
    case SearchPane::Favourites:
        FillFavourites();
        favouritesPane->show();
        break;
    default:
        break;
    }
    if (Index >= SearchPane::Results && Index <= SearchPane::ByScore) {
        Result();
        resultsPane->show();
    }
}

void frmRetrieval::placeResults(int topTw) {
    const int w = gTwips(width()), h = gTwips(height());
    resultsPane->setGeometry(gPxRect(2280, topTw, w - 2415, h - topTw));
    resultList->setGeometry(0, 0, resultsPane->width(), resultsPane->height());
}

void frmRetrieval::resizeEvent(QResizeEvent* e) {
    if (e) QWidget::resizeEvent(e);
    const int w = gTwips(width()), h = gTwips(height());
    backLink->move(gPxPoint(w - 510, 120));
    searchProgress->move(gPxPoint(w - 4170, 120));
    refreshLink->move(gPxPoint(w - 1350, 120));
    // Everything ends at the page's bottom edge rather than past it.
    paneTree->resize(paneTree->width(), gPx(h - 720));
    favouritesPane->setGeometry(gPxRect(2280, 720, w - 2535, h - 720));
    // The criteria panes keep their design width where the page is wide enough.
    const int cw = qMin(7335, w - 2415);
    for (QFrame* f : {hintPane, datePane, titlePane, contentPane, scorePane})
        f->resize(gPx(cw), f->height());
    dateOptionsPanel->resize(gPx(qMin(7100, cw - 120)), dateOptionsPanel->height());
    for (QCheckBox* c : {titleBeginsCheck, contentBeginsCheck})
        c->resize(gPx(qMin(2000, cw - 4800)), c->height());
    const int fw = gTwips(favouritesPane->width()), fh = gTwips(favouritesPane->height());
    favouritesList->setGeometry(gPxRect(0, 480, fw - 840, fh - 600));
    for (gLinkLabel* l : {goToReviewLink, removeAllFavouritesLink, removeFavouriteLink})
        l->move(gPx(fw - 735), l->y());
    placeResults(gTwips(resultsPane->y()) == kResultsBelowCriteria ? kResultsBelowCriteria : kResultsAlone);
}

bool frmRetrieval::eventFilter(QObject* watched, QEvent* event) {
    // A list that grows or shrinks (the page resized, a scroll bar come or gone) fits its columns again.
    if (event->type() == QEvent::Resize) {
        if (watched == resultList->viewport()) fitColumns(resultList, kResultPreviewWidth);
        if (watched == favouritesList->viewport()) fitColumns(favouritesList, kFavouritePreviewWidth);
    }
    if (watched == resultList->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* me = static_cast<QMouseEvent*>(event);
        const int button = me->button() == Qt::LeftButton ? 1 : me->button() == Qt::RightButton ? 2 : 4;
        // After the view has handled the release, so the row under the mouse is selected.
        QTimer::singleShot(0, this, [this, button] { resultList_MouseUp(button); });
    } else if ((watched == resultList || watched == favouritesList) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* list = static_cast<QTreeView*>(watched);
        const QModelIndex current = list->currentIndex();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && current.isValid()) {
            list->selectionModel()->select(current,
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            gGuard([&] {
                if (list == resultList)
                    resultList_MouseUp(1);
                else
                    favouritesList_DblClick();
            });
            return true;
        }
    } else if (watched == resultList && event->type() == QEvent::ContextMenu &&
               static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        const QModelIndex current = resultList->currentIndex();
        if (current.isValid()) {
            resultList->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect |
                                                              QItemSelectionModel::Rows);
            const QRect row = resultList->visualRect(current);
            resultMenu->popup(resultList->viewport()->mapToGlobal(row.bottomLeft()));
        }
        return true;
    } else if ((watched == titleEdit || watched == contentEdit) && event->type() == QEvent::FocusIn) {
        auto* box = static_cast<QLineEdit*>(watched);
        QTimer::singleShot(0, box, [box] { box->selectAll(); });
    }
    return QWidget::eventFilter(watched, event);
}

// ---- rows and commands ----

int frmRetrieval::selectedRow(const QTreeView* list) {
    const QModelIndexList sel = list->selectionModel()->selectedRows();
    return sel.isEmpty() ? -1 : sel.first().row();
}

void frmRetrieval::openEntry(const FoundModel* rows, int row) {
    gDayIndex = rows->rowNumber(row);
    gDiaryDate = rows->rowDate(row);
    ::gChangeFrame(Page::Review, {.setDiary = true});
}

void frmRetrieval::resultList_MouseUp(int button) {
    if (button == 1) {
        const int row = selectedRow(resultList);
        if (row < 0) return;
        try {
            openEntry(resultRows, row);
        } catch (...) {
            gShowErrorBox(false);
        }
    } else if (button == 2) {
        resultMenu->popup(QCursor::pos());
    }
}

void frmRetrieval::mReadDiary_Click() {
    if (selectedRow(resultList) < 0) return;
    try {
        ::gChangeFrame(Page::Review);
    } catch (...) {
        gShowErrorBox(false);
    }
}

void frmRetrieval::mCollect_Click() {
    const int row = selectedRow(resultList);
    if (row < 0) {
        gMsgBox(Msg::NoEntryForFavourite, gButtonSet::Close);
        return;
    }
    try {
        gSetDiaryCollect(resultRows->rowDate(row), resultRows->rowNumber(row), true);
    } catch (...) {
        gShowErrorBox(false);
    }
}

void frmRetrieval::favouritesList_DblClick() {
    const int row = selectedRow(favouritesList);
    if (row < 0) return;
    openEntry(favouriteRows, row);
}

void frmRetrieval::removeFavouriteLink_Click() {
    const int row = selectedRow(favouritesList);
    if (row < 0) return;
    gSetDiaryCollect(favouriteRows->rowDate(row), favouriteRows->rowNumber(row), false);
    FillFavourites();
}

void frmRetrieval::removeAllFavouritesLink_Click() {
    if (gMsgBox(Msg::ConfirmRemoveAllFavourites, gButtonSet::YesNo) != gMsgResult::Yes) return;
    try {
        DiaryStore(gConnection).clearFavourites();
    } catch (...) {
        gShowErrorBox(true); // nothing was changed: the transaction rolled back
    }
    FillFavourites();
}

void frmRetrieval::goToReviewLink_Click() {
    ::gChangeFrame(Page::Review);
}

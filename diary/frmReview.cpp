#include "diary/frmReview.h"

#include "controls/scheduleCommand.h"
#include "controls/scheduleMonthView.h"
#include "core/model/gClock.h"
#include "core/model/gDatabase.h"
#include "core/ui/gDiaryMarks.h"
#include "core/base/gError.h"
#include "core/ui/gFormParts.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/ui/gPageSwitch.h"
#include "core/ui/gResources.h"
#include "core/ui/gShared.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "diary/DiaryStore.h"
#include "diary/gDiaryCollect.h"
#include "platform/rtf/rtfTextDocument.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QResizeEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <cmath>

namespace {

constexpr int kBarFull = 2600; // twips for score 100
constexpr int kBarStep = 25;   // twips per timer tick

QPixmap picture(const QString& name, QSize size) {
    return gRenderSvg(QStringLiteral(":/res/diary/%1.svg").arg(name), size);
}

gLinkLabel* link(QWidget* parent, const char* name, const QString& text, int left) {
    auto* lbl = new gLinkLabel(text, parent);
    lbl->setObjectName(QLatin1String(name));
    lbl->setGeometry(gPxRect(left, 5520, 360, 180));
    return lbl;
}

// A picture shown clipped to the label's width: the bars and their frames.
QLabel* shape(QWidget* parent, const char* name, const QString& pic, QSize px, int l, int t, int w, int h) {
    QLabel* s = gNewLabel(parent, name, {}, l, t, w, h);
    s->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    s->setPixmap(picture(pic, px));
    return s;
}

reviewPrintSeam::Dialog& seamDialog() {
    static reviewPrintSeam::Dialog d;
    return d;
}
reviewPrintSeam::Print& seamPrint() {
    static reviewPrintSeam::Print p;
    return p;
}

} // namespace

namespace reviewPrintSeam {
void set(Dialog dialog, Print print) {
    seamDialog() = std::move(dialog);
    seamPrint() = std::move(print);
}
void reset() {
    seamDialog() = nullptr;
    seamPrint() = nullptr;
}
} // namespace reviewPrintSeam

frmReview::frmReview() {
    setObjectName(QStringLiteral("frmReview"));
    resize(gPxSize(9750, 6000));

    pageImage = gNewLabel(this, "Image1", {}, 0, 0, 480, 480);
    pageImage->setPixmap(picture(QStringLiteral("reviewPage"), QSize(32, 32)));
    headingLabel = gNewLabel(this, "Label1", QStringLiteral("回顾"), 600, 0, 480, 240);
    QFont bold = headingLabel->font();
    bold.setBold(true);
    headingLabel->setFont(bold);
    boldDaysHintLabel =
        gNewLabel(this, "Label2", QStringLiteral("有记录的日期以粗体标出。"), 600, 360, 2160, 180);

    monthView = new scheduleMonthView(this);
    monthView->setObjectName(QStringLiteral("MonthView1"));
    monthView->move(gPxPoint(0, 720));

    severalEntriesLabel = gNewLabel(this, "Label3", QStringLiteral("有多篇日记。"), 0, 3120, 1170, 180);
    previousEntryButton = new scheduleCommand(this);
    previousEntryButton->setObjectName(QStringLiteral("scheduleCommand1"));
    previousEntryButton->setPicture(picture(QStringLiteral("reviewPrevious"), QSize(16, 16)));
    previousEntryButton->move(gPxPoint(0, 3450));
    entryCounterLabel = gNewLabel(this, "Label4", {}, 360, 3480, 945, 180);
    nextEntryButton = new scheduleCommand(this);
    nextEntryButton->setObjectName(QStringLiteral("scheduleCommand2"));
    nextEntryButton->setPicture(picture(QStringLiteral("reviewNext"), QSize(16, 16)));
    nextEntryButton->move(gPxPoint(1440, 3450));

    scoreCaption = gNewLabel(this, "Label5", QStringLiteral("心情评分："), 0, 3960, 975, 180);
    scoreBarFrame =
        shape(this, "Shape2", QStringLiteral("reviewBarFrame"), QSize(175, 15), 0, 4395, 2625, 225);
    scoreBar = shape(this, "Shape1", QStringLiteral("reviewScoreBar"), QSize(173, 13), 15, 4410, 2595, 195);
    scoreValueLabel = gNewLabel(this, "Label8", {}, 120, 4410, 285, 180);
    scoreBarCaption = gNewLabel(this, "Label6", QStringLiteral("此篇"), 2160, 4425, 390, 180);
    averageBarFrame =
        shape(this, "Shape4", QStringLiteral("reviewBarFrame"), QSize(175, 15), 0, 4800, 2625, 225);
    averageBar =
        shape(this, "Shape3", QStringLiteral("reviewAverageBar"), QSize(173, 13), 15, 4815, 2595, 195);
    averageValueLabel = gNewLabel(this, "Label9", {}, 120, 4815, 285, 180);
    averageBarCaption = gNewLabel(this, "Label7", QStringLiteral("平均"), 2160, 4830, 390, 180);
    for (QLabel* l : {scoreValueLabel, scoreBarCaption, averageValueLabel, averageBarCaption}) {
        l->setAttribute(Qt::WA_TranslucentBackground);
        l->raise();
    }

    addLink = link(this, "lblCmd3", QStringLiteral("添加"), 0);
    editLink = link(this, "lblCmd4", QStringLiteral("编辑"), 480);
    deleteLink = link(this, "lblCmd5", QStringLiteral("删除"), 960);
    favouriteLink = link(this, "lblCmd10", QStringLiteral("收藏"), 1440);
    printLink = link(this, "lblCmd7", QStringLiteral("打印"), 1920);
    backLink = link(this, "lblCmd6", QStringLiteral("返回"), 2400);

    titleView = new QPlainTextEdit(this);
    titleView->setObjectName(QStringLiteral("Text2"));
    titleView->setReadOnly(true);
    titleView->setGeometry(gPxRect(2880, 0, 6735, 600));
    bodyView = new QTextEdit(this);
    bodyView->setObjectName(QStringLiteral("Text1"));
    bodyView->setReadOnly(true);
    bodyView->setAcceptRichText(true);
    bodyView->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    bodyView->setGeometry(gPxRect(2880, 600, 6735, 5295));

    scoreBarTimer = new QTimer(this);
    scoreBarTimer->setObjectName(QStringLiteral("Timer1"));
    scoreBarTimer->setInterval(1);
    averageBarTimer = new QTimer(this);
    averageBarTimer->setObjectName(QStringLiteral("Timer2"));
    averageBarTimer->setInterval(1);

    connect(monthView, &scheduleMonthView::SelChange, this,
            [this](QDate, QDate, bool&) { gGuard([this] { monthView_SelChange(); }); });
    const auto onUp = [this](gLinkLabel* l, void (frmReview::*handler)(int)) {
        connect(l, &gLinkLabel::mouseUp, this,
                [this, handler](int button, int, int, int) { gGuard([&] { (this->*handler)(button); }); });
    };
    onUp(addLink, &frmReview::addLink_MouseUp);
    onUp(editLink, &frmReview::editLink_MouseUp);
    onUp(deleteLink, &frmReview::deleteLink_MouseUp);
    onUp(favouriteLink, &frmReview::favouriteLink_MouseUp);
    onUp(printLink, &frmReview::printLink_MouseUp);
    onUp(backLink, &frmReview::backLink_MouseUp);
    connect(previousEntryButton, &scheduleCommand::mouseUp, this,
            [this](int button, int, int, int) { gGuard([&] { previousEntryButton_MouseUp(button); }); });
    connect(nextEntryButton, &scheduleCommand::mouseUp, this,
            [this](int button, int, int, int) { gGuard([&] { nextEntryButton_MouseUp(button); }); });
    connect(scoreBarTimer, &QTimer::timeout, this, [this] { gGuard([this] { scoreBarTimer_Timer(); }); });
    connect(averageBarTimer, &QTimer::timeout, this, [this] { gGuard([this] { averageBarTimer_Timer(); }); });
}

frmReview::~frmReview() = default;

void frmReview::formLoad() {
    gSetHandCursor(this);
    markedMonth_ = 0;
    // Setting the value raises SelChange, which loads the day.
    monthView->setValue(gSetDiary && gDiaryDate.isValid() ? gDiaryDate : gToday());
}

void frmReview::formUnload() {
    scoreBarTimer->stop();
    averageBarTimer->stop();
}

// ---- the chosen day ----

void frmReview::monthView_SelChange() {
    gDiaryDate = monthView->Value();
    if (monthView->Month() != markedMonth_ || monthView->Year() != markedYear_) markMonth();
    if (gSetDiary)
        gSetDiary = false; // the caller chose gDayIndex
    else
        gDayIndex = 1;
    dayScoreSum_ = 0;
    if (!monthView->dayBold(gDiaryDate)) {
        showEmptyDay();
        return;
    }
    loadDay();
}

void frmReview::markMonth() {
    for (int i = 1; i <= 42; ++i)
        monthView->setDayBold(monthView->VisibleDays(i), false);
    gMarkDiaryDays(*monthView);
    markedMonth_ = monthView->Month();
    markedYear_ = monthView->Year();
}

void frmReview::loadDay() {
    // The rows are read into locals first, so a read that fails half-way leaves
    // the shared arrays as they were.
    QVector<QString> titles{QString()}, texts{QString()}, rtfs{QString()};
    QVector<int> scores{0};
    long sum = 0;
    for (const DiaryEntryText& e : DiaryStore(gConnection).entriesOf(gDiaryDate)) {
        titles.append(e.title);
        texts.append(e.text);
        rtfs.append(e.rtf);
        scores.append(e.score);
        sum += e.score;
    }
    const int count = int(titles.size()) - 1;
    if (count == 0) {
        // Marked bold, but its rows are gone: show it as the empty day it is.
        monthView->setDayBold(gDiaryDate, false);
        showEmptyDay();
        return;
    }
    gDayCount = count;
    gDayTitles = titles;
    gDayTexts = texts;
    gDayRTFs = rtfs;
    gDayScores = scores;
    dayScoreSum_ = sum;
    // A position from the caller that the day no longer has shows the first entry.
    if (gDayIndex < 1 || gDayIndex > gDayCount) gDayIndex = 1;

    setEntryCommandsEnabled(true);
    showEntry();

    const bool several = gDayCount != 1;
    for (QWidget* w : std::initializer_list<QWidget*>{scoreCaption, scoreBarCaption, scoreValueLabel,
                                                      scoreBar, scoreBarFrame})
        w->setVisible(true);
    for (QWidget* w : std::initializer_list<QWidget*>{
             severalEntriesLabel, entryCounterLabel, averageBarCaption, averageValueLabel,
             previousEntryButton, nextEntryButton, averageBar, averageBarFrame})
        w->setVisible(several);
    if (several) {
        averageValueLabel->setText(QString::number(dayScoreSum_ / gDayCount));
        SetAverageBar(averageValueLabel->text());
    }
}

void frmReview::showEmptyDay() {
    bodyView->clear();
    titleView->setPlainText(QStringLiteral("没有选择日记。"));
    previousEntryButton->setVisible(false);
    nextEntryButton->setVisible(false);
    setEntryCommandsEnabled(false);
    for (QWidget* w : {severalEntriesLabel, entryCounterLabel, scoreCaption, scoreBarCaption,
                       averageBarCaption, scoreValueLabel, averageValueLabel})
        w->setVisible(false);
    for (QLabel* s : {scoreBar, scoreBarFrame, averageBar, averageBarFrame})
        s->setVisible(false);
    // The shared arrays and gDayCount keep what they held.
}

void frmReview::setEntryCommandsEnabled(bool on) {
    editLink->setEnabled(on);
    deleteLink->setEnabled(on);
    favouriteLink->setEnabled(on);
}

void frmReview::showEntry() {
    const int i = gDayIndex;
    titleView->setPlainText(gDayTitles.value(i));
    rtf::setTextDocument(*bodyView->document(), rtf::read(QStringView(gDayRTFs.value(i))));
    entryCounterLabel->setText(counterText(i, gDayCount));
    SetScoreBar(gDayScores.value(i));
    scoreValueLabel->setText(QString::number(gDayScores.value(i)));
}

QString frmReview::counterText(int index, int count) {
    QString caption = QString::number(index) + QStringLiteral(" / ") + QString::number(count);
    // n blanks at a time while the "/" stands before the fifth character.
    const int n = 4 - int((QStringLiteral(" ") + QString::number(count)).size());
    if (n <= 0) return caption;
    while (caption.lastIndexOf(QLatin1Char('/')) + 1 < 5)
        caption.prepend(QString(n, QLatin1Char(' ')));
    return caption;
}

void frmReview::previousEntryButton_MouseUp(int button) {
    if (button != 1 || gDayCount < 1) return;
    gDayIndex = gDayIndex <= 1 ? gDayCount : gDayIndex - 1;
    showEntry();
}

void frmReview::nextEntryButton_MouseUp(int button) {
    if (button != 1 || gDayCount < 1) return;
    gDayIndex = gDayIndex >= gDayCount ? 1 : gDayIndex + 1;
    showEntry();
}

// ---- the score bars ----

int frmReview::barTarget(double score) {
    // Multiplied first, so a whole score gives its exact share (70 gives 1820).
    const double t = std::floor(score * kBarFull / 100.0);
    if (!(t > 0)) return 0; // also a score that is not a number
    return t > kBarFull ? kBarFull : int(t);
}

int frmReview::barStep(int width, int target, bool& stop) {
    stop = false;
    if (width == target) {
        stop = true;
        return width;
    }
    if (width < target) {
        width += kBarStep;
        if (width > target) {
            width = target;
            stop = true;
        }
        return width;
    }
    if (width - kBarStep <= 0) {
        stop = true;
        return 0;
    }
    width -= kBarStep;
    if (width < target) {
        width = target;
        stop = true;
    }
    return width;
}

void frmReview::SetScoreBar(const QVariant& score) {
    scoreBarTarget_ = barTarget(score.toDouble());
    scoreBarTimer->start();
}

void frmReview::SetAverageBar(const QVariant& score) {
    averageBarTarget_ = barTarget(score.toDouble());
    averageBarTimer->start();
}

void frmReview::setScoreBarWidth(int twips) {
    scoreBarWidth_ = twips;
    scoreBar->resize(gPx(twips), scoreBar->height());
}

void frmReview::setAverageBarWidth(int twips) {
    averageBarWidth_ = twips;
    averageBar->resize(gPx(twips), averageBar->height());
}

void frmReview::scoreBarTimer_Timer() {
    bool stop = false;
    setScoreBarWidth(barStep(scoreBarWidth_, scoreBarTarget_, stop));
    if (stop) scoreBarTimer->stop();
}

void frmReview::averageBarTimer_Timer() {
    bool stop = false;
    setAverageBarWidth(barStep(averageBarWidth_, averageBarTarget_, stop));
    if (stop) averageBarTimer->stop();
}

// ---- commands ----

void frmReview::addLink_MouseUp(int button) {
    if (button != 1) return;
    gChangeFrame(Page::Writing, {.setDiary = true, .returnReview = true});
}

void frmReview::editLink_MouseUp(int button) {
    if (button != 1 || !editLink->isEnabled()) return;
    gChangeFrame(Page::Writing, {.setDiary = true, .editMode = true, .returnReview = true});
}

void frmReview::deleteLink_MouseUp(int button) {
    if (button != 1 || !deleteLink->isEnabled()) return;
    deleteEntry();
}

void frmReview::favouriteLink_MouseUp(int button) {
    if (button != 1 || !favouriteLink->isEnabled()) return;
    gSetDiaryCollect(gDiaryDate, gDayIndex, true);
}

void frmReview::printLink_MouseUp(int button) {
    if (button != 1) return;
    printBody();
}

void frmReview::backLink_MouseUp(int button) {
    if (button != 1) return;
    gChangeFrame(Page::Home, {.setDiary = true});
}

void frmReview::deleteEntry() {
    if (gMsgBox(Msg::ConfirmDeleteEntry, gButtonSet::OkCancel) != gMsgResult::OK) return;
    if (gDayIndex < 1 || gDayIndex > gDayCount) return;

    // The row and the stored score total change together or not at all; the
    // running totals follow only what was written.
    const DiaryStore::Removed removed = DiaryStore(gConnection).remove(gDiaryDate, gDayIndex, gScoreTotal);

    gScoreTotal = removed.scoreTotal;
    if (gDiaryCount != kDiaryCountPending) gDiaryCount -= 1; // a count not taken yet sees the row gone
    gDayCount = removed.dayCount;
    if (gDayIndex > gDayCount) gDayIndex = gDayCount;
    if (gDayCount == 0) monthView->setDayBold(gDiaryDate, false);
    // Showing the day again reloads it from the first remaining entry.
    monthView->setValue(gDiaryDate);
}

void frmReview::printBody() {
    // Printing never stops the page: whatever fails is passed over.
    try {
        const QTextCursor sel = bodyView->textCursor();
        const bool hasSelection = sel.hasSelection();
        QTextDocument doc;
        doc.setDefaultFont(bodyView->document()->defaultFont());
        if (hasSelection)
            rtf::setTextDocument(
                doc, rtf::fromTextDocument(*bodyView->document(), sel.selectionStart(), sel.selectionEnd()));
        else
            rtf::setTextDocument(doc, rtf::fromTextDocument(*bodyView->document()));

        if (seamDialog() || seamPrint()) {
            if (seamDialog() && !seamDialog()(hasSelection)) return;
            if (seamPrint()) seamPrint()(doc);
            return;
        }
        QPrinter printer;
        QPrintDialog dialog(&printer, this);
        QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile;
        if (hasSelection) options |= QAbstractPrintDialog::PrintSelection;
        dialog.setOptions(options);
        if (dialog.exec() != QDialog::Accepted) return;
        doc.print(&printer);
    } catch (...) {
    }
}

// ---- layout ----

void frmReview::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    const int w = gTwips(width());
    const int h = gTwips(height());
    titleView->setGeometry(gPxRect(2880, 0, qMax(15, w - 3015), 600));
    bodyView->setGeometry(gPxRect(2880, 600, qMax(15, w - 3015), qMax(15, h - 650)));
    // A page shorter than designed lifts the commands so they stay whole, never
    // onto the score bars above them.
    const int top = qBound(5040, h - 240, 5520);
    for (QWidget* l : {addLink, editLink, deleteLink, favouriteLink, printLink, backLink})
        l->move(l->x(), gPx(top));
}

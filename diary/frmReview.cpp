#include "diary/frmReview.h"

#include "controls/scheduleCommand.h"
#include "controls/scheduleMonthView.h"
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
#include "platform/db/db.h"
#include "platform/rtf/rtfTextDocument.h"

#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QResizeEvent>
#include <QScopeGuard>
#include <QSvgRenderer>
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

    Image1 = gNewLabel(this, "Image1", {}, 0, 0, 480, 480);
    Image1->setPixmap(picture(QStringLiteral("reviewPage"), QSize(32, 32)));
    Label1 = gNewLabel(this, "Label1", QStringLiteral("回顾"), 600, 0, 480, 240);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label2 = gNewLabel(this, "Label2", QStringLiteral("有记录的日期以粗体标出。"), 600, 360, 2160, 180);

    MonthView1 = new scheduleMonthView(this);
    MonthView1->setObjectName(QStringLiteral("MonthView1"));
    MonthView1->move(gPxPoint(0, 720));

    Label3 = gNewLabel(this, "Label3", QStringLiteral("有多篇日记。"), 0, 3120, 1170, 180);
    scheduleCommand1 = new scheduleCommand(this);
    scheduleCommand1->setObjectName(QStringLiteral("scheduleCommand1"));
    scheduleCommand1->setPicture(picture(QStringLiteral("reviewPrevious"), QSize(16, 16)));
    scheduleCommand1->move(gPxPoint(0, 3450));
    Label4 = gNewLabel(this, "Label4", {}, 360, 3480, 945, 180);
    scheduleCommand2 = new scheduleCommand(this);
    scheduleCommand2->setObjectName(QStringLiteral("scheduleCommand2"));
    scheduleCommand2->setPicture(picture(QStringLiteral("reviewNext"), QSize(16, 16)));
    scheduleCommand2->move(gPxPoint(1440, 3450));

    Label5 = gNewLabel(this, "Label5", QStringLiteral("心情评分："), 0, 3960, 975, 180);
    Shape2 = shape(this, "Shape2", QStringLiteral("reviewBarFrame"), QSize(175, 15), 0, 4395, 2625, 225);
    Shape1 = shape(this, "Shape1", QStringLiteral("reviewScoreBar"), QSize(173, 13), 15, 4410, 2595, 195);
    Label8 = gNewLabel(this, "Label8", {}, 120, 4410, 285, 180);
    Label6 = gNewLabel(this, "Label6", QStringLiteral("此篇"), 2160, 4425, 390, 180);
    Shape4 = shape(this, "Shape4", QStringLiteral("reviewBarFrame"), QSize(175, 15), 0, 4800, 2625, 225);
    Shape3 = shape(this, "Shape3", QStringLiteral("reviewAverageBar"), QSize(173, 13), 15, 4815, 2595, 195);
    Label9 = gNewLabel(this, "Label9", {}, 120, 4815, 285, 180);
    Label7 = gNewLabel(this, "Label7", QStringLiteral("平均"), 2160, 4830, 390, 180);
    for (QLabel* l : {Label8, Label6, Label9, Label7}) {
        l->setAttribute(Qt::WA_TranslucentBackground);
        l->raise();
    }

    lblCmd3 = link(this, "lblCmd3", QStringLiteral("添加"), 0);
    lblCmd4 = link(this, "lblCmd4", QStringLiteral("编辑"), 480);
    lblCmd5 = link(this, "lblCmd5", QStringLiteral("删除"), 960);
    lblCmd10 = link(this, "lblCmd10", QStringLiteral("收藏"), 1440);
    lblCmd7 = link(this, "lblCmd7", QStringLiteral("打印"), 1920);
    lblCmd6 = link(this, "lblCmd6", QStringLiteral("返回"), 2400);

    Text2 = new QPlainTextEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setReadOnly(true);
    Text2->setGeometry(gPxRect(2880, 0, 6735, 600));
    Text1 = new QTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setAcceptRichText(true);
    Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text1->setGeometry(gPxRect(2880, 600, 6735, 5295));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1);

    connect(MonthView1, &scheduleMonthView::SelChange, this,
            [this](QDate, QDate, bool&) { gGuard([this] { MonthView1_SelChange(); }); });
    const auto onUp = [this](gLinkLabel* l, void (frmReview::*handler)(int)) {
        connect(l, &gLinkLabel::mouseUp, this,
                [this, handler](int button, int, int, int) { gGuard([&] { (this->*handler)(button); }); });
    };
    onUp(lblCmd3, &frmReview::lblCmd3_MouseUp);
    onUp(lblCmd4, &frmReview::lblCmd4_MouseUp);
    onUp(lblCmd5, &frmReview::lblCmd5_MouseUp);
    onUp(lblCmd10, &frmReview::lblCmd10_MouseUp);
    onUp(lblCmd7, &frmReview::lblCmd7_MouseUp);
    onUp(lblCmd6, &frmReview::lblCmd6_MouseUp);
    connect(scheduleCommand1, &scheduleCommand::mouseUp, this,
            [this](int button, int, int, int) { gGuard([&] { scheduleCommand1_MouseUp(button); }); });
    connect(scheduleCommand2, &scheduleCommand::mouseUp, this,
            [this](int button, int, int, int) { gGuard([&] { scheduleCommand2_MouseUp(button); }); });
    connect(Timer1, &QTimer::timeout, this, [this] { gGuard([this] { Timer1_Timer(); }); });
    connect(Timer2, &QTimer::timeout, this, [this] { gGuard([this] { Timer2_Timer(); }); });
}

frmReview::~frmReview() = default;

void frmReview::formLoad() {
    gSetHandCursor(this);
    markedMonth_ = 0;
    // Setting the value raises SelChange, which loads the day.
    MonthView1->setValue(gSetDiary && gDiaryDate.isValid() ? gDiaryDate : gToday());
}

void frmReview::formUnload() {
    Timer1->stop();
    Timer2->stop();
}

// ---- the chosen day ----

void frmReview::MonthView1_SelChange() {
    gDiaryDate = MonthView1->Value();
    if (MonthView1->Month() != markedMonth_ || MonthView1->Year() != markedYear_) markMonth();
    if (gSetDiary)
        gSetDiary = false; // the caller chose gDayIndex
    else
        gDayIndex = 1;
    dayScoreSum_ = 0;
    if (!MonthView1->dayBold(gDiaryDate)) {
        showEmptyDay();
        return;
    }
    loadDay();
}

void frmReview::markMonth() {
    for (int i = 1; i <= 42; ++i)
        MonthView1->setDayBold(MonthView1->VisibleDays(i), false);
    gMarkDiaryDays(*MonthView1);
    markedMonth_ = MonthView1->Month();
    markedYear_ = MonthView1->Year();
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
        MonthView1->setDayBold(gDiaryDate, false);
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
    for (QWidget* w : std::initializer_list<QWidget*>{Label5, Label6, Label8, Shape1, Shape2})
        w->setVisible(true);
    for (QWidget* w : std::initializer_list<QWidget*>{Label3, Label4, Label7, Label9, scheduleCommand1,
                                                      scheduleCommand2, Shape3, Shape4})
        w->setVisible(several);
    if (several) {
        Label9->setText(QString::number(dayScoreSum_ / gDayCount));
        SetAverageBar(Label9->text());
    }
}

void frmReview::showEmptyDay() {
    Text1->clear();
    Text2->setPlainText(QStringLiteral("没有选择日记。"));
    scheduleCommand1->setVisible(false);
    scheduleCommand2->setVisible(false);
    setEntryCommandsEnabled(false);
    for (QWidget* w : {Label3, Label4, Label5, Label6, Label7, Label8, Label9})
        w->setVisible(false);
    for (QLabel* s : {Shape1, Shape2, Shape3, Shape4})
        s->setVisible(false);
    // The shared arrays and gDayCount keep what they held.
}

void frmReview::setEntryCommandsEnabled(bool on) {
    lblCmd4->setEnabled(on);
    lblCmd5->setEnabled(on);
    lblCmd10->setEnabled(on);
}

void frmReview::showEntry() {
    const int i = gDayIndex;
    Text2->setPlainText(gDayTitles.value(i));
    rtf::setTextDocument(*Text1->document(), rtf::read(QStringView(gDayRTFs.value(i))));
    Label4->setText(counterText(i, gDayCount));
    SetScoreBar(gDayScores.value(i));
    Label8->setText(QString::number(gDayScores.value(i)));
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

void frmReview::scheduleCommand1_MouseUp(int button) {
    if (button != 1 || gDayCount < 1) return;
    gDayIndex = gDayIndex <= 1 ? gDayCount : gDayIndex - 1;
    showEntry();
}

void frmReview::scheduleCommand2_MouseUp(int button) {
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
    Timer1->start();
}

void frmReview::SetAverageBar(const QVariant& score) {
    averageBarTarget_ = barTarget(score.toDouble());
    Timer2->start();
}

void frmReview::setShape1Width(int twips) {
    shape1Width_ = twips;
    Shape1->resize(gPx(twips), Shape1->height());
}

void frmReview::setShape3Width(int twips) {
    shape3Width_ = twips;
    Shape3->resize(gPx(twips), Shape3->height());
}

void frmReview::Timer1_Timer() {
    bool stop = false;
    setShape1Width(barStep(shape1Width_, scoreBarTarget_, stop));
    if (stop) Timer1->stop();
}

void frmReview::Timer2_Timer() {
    bool stop = false;
    setShape3Width(barStep(shape3Width_, averageBarTarget_, stop));
    if (stop) Timer2->stop();
}

// ---- commands ----

void frmReview::lblCmd3_MouseUp(int button) {
    if (button != 1) return;
    gChangeFrame(Page::Writing, {.setDiary = true, .returnReview = true});
}

void frmReview::lblCmd4_MouseUp(int button) {
    if (button != 1 || !lblCmd4->isEnabled()) return;
    gChangeFrame(Page::Writing, {.setDiary = true, .editMode = true, .returnReview = true});
}

void frmReview::lblCmd5_MouseUp(int button) {
    if (button != 1 || !lblCmd5->isEnabled()) return;
    deleteEntry();
}

void frmReview::lblCmd10_MouseUp(int button) {
    if (button != 1 || !lblCmd10->isEnabled()) return;
    gSetDiaryCollect(gDiaryDate, gDayIndex, true);
}

void frmReview::lblCmd7_MouseUp(int button) {
    if (button != 1) return;
    printBody();
}

void frmReview::lblCmd6_MouseUp(int button) {
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
    gDiaryCount -= 1;
    gDayCount = removed.dayCount;
    if (gDayIndex > gDayCount) gDayIndex = gDayCount;
    if (gDayCount == 0) MonthView1->setDayBold(gDiaryDate, false);
    // Showing the day again reloads it from the first remaining entry.
    MonthView1->setValue(gDiaryDate);
}

void frmReview::printBody() {
    // Printing never stops the page: whatever fails is passed over.
    try {
        const QTextCursor sel = Text1->textCursor();
        const bool hasSelection = sel.hasSelection();
        QTextDocument doc;
        doc.setDefaultFont(Text1->document()->defaultFont());
        if (hasSelection)
            rtf::setTextDocument(
                doc, rtf::fromTextDocument(*Text1->document(), sel.selectionStart(), sel.selectionEnd()));
        else
            rtf::setTextDocument(doc, rtf::fromTextDocument(*Text1->document()));

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
    Text2->setGeometry(gPxRect(2880, 0, qMax(15, w - 3015), 600));
    Text1->setGeometry(gPxRect(2880, 600, qMax(15, w - 3015), qMax(15, h - 650)));
    // A page shorter than designed lifts the commands so they stay whole, never
    // onto the score bars above them.
    const int top = qBound(5040, h - 240, 5520);
    for (QWidget* l : {lblCmd3, lblCmd4, lblCmd5, lblCmd10, lblCmd7, lblCmd6})
        l->move(l->x(), gPx(top));
}

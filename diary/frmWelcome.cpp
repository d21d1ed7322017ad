#include "diary/frmWelcome.h"

#include "controls/scheduleCommand.h"
#include "controls/scheduleLabel.h"
#include "controls/scheduleMonthView.h"
#include "core/model/clsSchedule.h"
#include "core/model/gClock.h"
#include "core/model/gConvert.h"
#include "core/model/gDatabase.h"
#include "core/ui/gDiaryMarks.h"
#include "core/base/gError.h"
#include "core/ui/gFormParts.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/ui/gPageSwitch.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"
#include "core/ui/gShared.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "core/model/gWeek.h"
#include "diary/DiaryStore.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QSvgRenderer>
#include <QTimer>

#include <cmath>

namespace {
constexpr int kPreviewLimit = 1000;
const QColor kHeadingColor(0x1f, 0x4f, 0x86);

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& r) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(r);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

QPixmap svgPicture(const QString& path, QSize size) {
    return gRenderSvg(path, size);
}

// The body as the preview shows it: cut at 1000 characters with " ..." after
// it when asked to and longer than that (never inside a surrogate pair).
QString previewBody(const QString& body, bool cut) {
    if (!cut || body.size() <= kPreviewLimit) return body;
    int n = kPreviewLimit;
    if (body.at(n - 1).isHighSurrogate()) --n;
    return body.left(n) + QStringLiteral(" ...");
}
} // namespace

frmWelcome::frmWelcome() {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    resize(gPxSize(10900, 6680));

    homeImage = makeLabel(this, "Image1", {}, gPxRect(120, 90, 480, 480));
    homeImage->setPixmap(svgPicture(QStringLiteral(":/res/diary/home.svg"), QSize(32, 32)));

    greetingLabel = makeLabel(this, "Label1", QStringLiteral("请稍等。"), gPxRect(720, 120, 4080, 420));
    QFont heading = greetingLabel->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.5);
    greetingLabel->setFont(heading);
    QPalette hp = greetingLabel->palette();
    hp.setColor(QPalette::WindowText, kHeadingColor);
    greetingLabel->setPalette(hp);

    entryCountLabel = makeLabel(this, "Label5", QStringLiteral("请稍等。"), gPxRect(720, 600, 4080, 300));

    moodScoreLabel = new scheduleLabel(this);
    moodScoreLabel->setObjectName(QStringLiteral("scheduleLabel"));
    moodScoreLabel->move(gPxPoint(720, 990));
    moodCaption =
        makeLabel(this, "Label7", QStringLiteral("当前记录心情的平均分数"), gPxRect(1290, 1080, 3510, 300));

    courseImage = makeLabel(this, "Image3", {}, gPxRect(4920, 120, 480, 480));
    courseImage->setPixmap(gLoadResPicture(Res::NoClassesIcon, gResKind::Icon, QSize(32, 32)));
    courseLabel = makeLabel(this, "Label2", QStringLiteral("没有课程安排。"), gPxRect(5520, 135, 5200, 1440));
    courseLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // One class a line, cut to the label rather than wrapped out of it.

    linkBand = new QFrame(this);
    linkBand->setObjectName(QStringLiteral("Shape2"));
    linkBand->setGeometry(gPxRect(120, 1620, 10525, 360));
    linkBand->setStyleSheet(QStringLiteral("QFrame#Shape2 { border: 1px solid #c9dbef; border-radius: 4px;"
                                           " background: #f3f8fd; }"));

    auto link = [this](const char* name, const QString& text, int leftTw) {
        auto* l = new gLinkLabel(text, this);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(gPxRect(leftTw, 1680, 1080, 240));
        return l;
    };
    writeLink = link("lblCmd2", QStringLiteral("添加日记"), 300);
    reviewLink = link("lblCmd1", QStringLiteral("回顾日记"), 1440);

    previousEntryButton = new scheduleCommand(this);
    previousEntryButton->setObjectName(QStringLiteral("scheduleCommand1"));
    previousEntryButton->setPicture(
        svgPicture(QStringLiteral(":/res/controls/monthPrev.svg"), QSize(16, 16)));
    positionLabel = makeLabel(this, "Label3", {}, gPxRect(0, 1680, 1020, 240));
    nextEntryButton = new scheduleCommand(this);
    nextEntryButton->setObjectName(QStringLiteral("scheduleCommand2"));
    nextEntryButton->setPicture(svgPicture(QStringLiteral(":/res/controls/monthNext.svg"), QSize(16, 16)));
    previousEntryButton->setToolTip(QStringLiteral("上一篇"));
    nextEntryButton->setToolTip(QStringLiteral("下一篇"));

    monthView = new scheduleMonthView(this);
    monthView->setObjectName(QStringLiteral("MonthView1"));
    monthView->move(gPxPoint(120, 2040));

    previewEdit = new QPlainTextEdit(this);
    previewEdit->setObjectName(QStringLiteral("Text1"));
    previewEdit->setReadOnly(true);
    previewEdit->setGeometry(gPxRect(2880, 2040, 7830, 4630));

    connect(monthView, &scheduleMonthView::SelChange, this,
            [this](const QDate& start, const QDate& end, bool& cancel) {
                gGuard([&] { monthView_SelChange(start, end, cancel); });
            });
    connect(previousEntryButton, &scheduleCommand::mouseUp, this,
            [this](int b, int s, int x, int y) { gGuard([&] { previousEntryButton_MouseUp(b, s, x, y); }); });
    connect(nextEntryButton, &scheduleCommand::mouseUp, this,
            [this](int b, int s, int x, int y) { gGuard([&] { nextEntryButton_MouseUp(b, s, x, y); }); });
    // The switch unloads this page; nothing here is touched after it.
    connect(writeLink, &gLinkLabel::clicked, this,
            [] { gGuard([] { gChangeFrame(Page::Writing, {.setDiary = true}); }); });
    connect(reviewLink, &gLinkLabel::clicked, this,
            [] { gGuard([] { gChangeFrame(Page::Review, {.setDiary = true}); }); });

    showNavigation(false);
}

void frmWelcome::formLoad() {
    Reload();
}

void frmWelcome::Reload() {
    move(gPxPoint(120, 200));
    gSetHandCursor(this);
    markedMonth_ = 0;

    // Setting the value raises SelChange, which fills the preview.
    const QDate day = gSetDiary && gDiaryDate.isValid() ? gDiaryDate : gToday();
    monthView->setValue(day);

    gSetNameText(greetingLabel, gUserName, QStringLiteral("欢迎你，"), QStringLiteral("！"));
    showTotals();
    gSetFittedLines(courseLabel, courseSummary());
}

void frmWelcome::showTotals() {
    const bool counted = gDiaryCount != kDiaryCountPending;
    // The count waits for the first paint, so that it never holds up the window.
    countAfterPaint_ = !counted;
    entryCountLabel->setText(counted ? QStringLiteral("共有 ") + QString::number(gDiaryCount) +
                                           QStringLiteral(" 日记。")
                                     : QStringLiteral("请稍等。"));
    const bool any = counted && gDiaryCount > 0;
    moodScoreLabel->setVisible(any);
    moodCaption->setVisible(any);
    if (any) moodScoreLabel->setCaption(int(std::floor(double(gScoreTotal) / double(gDiaryCount))));
}

void frmWelcome::paintEvent(QPaintEvent* e) {
    QWidget::paintEvent(e);
    if (!countAfterPaint_) return;
    countAfterPaint_ = false;
    // From the event loop, once this paint is on the screen. A count that fails
    // is reported and tried again the next time the page loads.
    QTimer::singleShot(0, this, [this] {
        gGuard([this] {
            gTakeDiaryCount();
            showTotals();
        });
    });
}

QString frmWelcome::courseSummary() {
    const clsTerm& term = gTimetable.Term;
    const QDate today = gToday();
    const int rows = gTimetable.rowCount();
    const int weeks = gWeekDiff(term.TermBegin, term.TermEnd);
    const int nowMinutes = gTimeToMinutes(gTimeNow().toString(QStringLiteral("h:mm")));

    int k = gWeekOfDate(term.TermBegin);
    int d = today.dayOfWeek();
    int offset = 0;
    int c = 0;
    QString text;
    const QString lineBreak = QStringLiteral("\n");

    while (c < 4) {
        if (k > weeks) break;
        QVector<QString> lines(rows + 1);
        bool dayWritten = false;
        for (const clsCourse& course : gTimetable.gCourse) {
            if (course.BeginWeek > k || k > course.EndWeek) continue;
            if (k % 2 == 0 && course.DoubleWeek == 1) continue;
            if (k % 2 != 0 && course.DoubleWeek == 2) continue;
            const QList<double>& periods = course.Course(d);
            for (double value : periods) {
                // A stored piece that is no period number names no period.
                const int p = int(gRoundEven(value));
                if (p < 1 || p > rows || !gTimetable.gRow.contains(clsSchedule::key(p))) continue;
                const clsRow& row = gTimetable.Row(p);
                // A class that has not ended yet still counts today.
                if (offset == 0 && nowMinutes >= row.ClassEndTime) continue;
                if (!dayWritten) {
                    text += today.addDays(offset).toString(QStringLiteral("MM 月 dd 日：")) + lineBreak;
                    ++c;
                    dayWritten = true;
                }
                lines[p] = gMinutesToTime(row.ClassBeginTime) + QStringLiteral(" - ") +
                           gMinutesToTime(row.ClassEndTime) + QStringLiteral("  ") + row.Name +
                           QStringLiteral("  ") + course.Name + QStringLiteral("  ") + course.Place;
            }
        }
        for (int p = 1; p <= rows; ++p) {
            if (lines.at(p).isEmpty()) continue;
            text += lines.at(p) + lineBreak;
            ++c;
            if (c >= 5) break;
        }
        ++d;
        ++offset;
        if (d == 8) {
            d = 1;
            ++k;
        }
    }

    if (c > 1) {
        courseImage->setPixmap(gLoadResPicture(Res::ClassesTodayIcon, gResKind::Icon, QSize(32, 32)));
        return text;
    }
    courseImage->setPixmap(gLoadResPicture(Res::NoClassesIcon, gResKind::Icon, QSize(32, 32)));
    return QStringLiteral("没有课程安排。");
}

void frmWelcome::monthView_SelChange(const QDate&, const QDate&, bool&) {
    gDiaryDate = monthView->Value();
    if (monthView->Month() != markedMonth_ || monthView->Year() != markedYear_) {
        gMarkDiaryDays(false);
        markedMonth_ = qint16(monthView->Month());
        markedYear_ = monthView->Year();
    }

    if (!monthView->dayBold(gDiaryDate)) {
        gDayCount = 0;
        previewEdit->setPlainText(QString());
        showNavigation(false);
        return;
    }

    const std::vector<DiaryEntryText> entries = DiaryStore(gConnection).entriesOf(gDiaryDate, false);
    const int count = int(entries.size());
    QVector<QString> titles(count + 1), texts(count + 1);
    for (int i = 1; i <= count; ++i) {
        titles[i] = entries[size_t(i - 1)].title;
        texts[i] = entries[size_t(i - 1)].text;
    }
    gDayCount = count;
    gDayTitles = titles;
    gDayTexts = texts;

    if (gDayCount == 0) {
        // The day's marks were older than its rows (deleted meanwhile).
        previewEdit->setPlainText(QString());
        showNavigation(false);
        return;
    }

    if (gSetDiary) {
        // The preview keeps the entry the caller chose, as long as the day has it.
        gSetDiary = false;
        gDayIndex = qBound(1, gDayIndex, gDayCount);
    } else {
        gDayIndex = 1;
    }
    showEntry(gOption(Option::QuickPreview));
    setPositionCaption();
    showNavigation(gDayCount != 1);
}

void frmWelcome::showEntry(bool cutLong) {
    previewEdit->setPlainText(gDayTitles.value(gDayIndex) + QStringLiteral("\n") +
                              previewBody(gDayTexts.value(gDayIndex), cutLong));
}

void frmWelcome::setPositionCaption() {
    QString caption = QString::number(gDayIndex) + QStringLiteral(" / ") + QString::number(gDayCount);
    // Blanks in front keep the "/" in one column for counts up to three digits.
    const int n = 4 - int((QStringLiteral(" ") + QString::number(gDayCount)).size());
    if (n > 0) {
        while (caption.indexOf(QLatin1Char('/')) >= 0 && caption.indexOf(QLatin1Char('/')) < 4)
            caption = QString(n, QLatin1Char(' ')) + caption;
    }
    positionLabel->setText(caption);
}

void frmWelcome::showNavigation(bool on) {
    positionLabel->setVisible(on);
    previousEntryButton->setVisible(on);
    nextEntryButton->setVisible(on);
}

void frmWelcome::previousEntryButton_MouseUp(int Button, int, int, int) {
    if (Button != 1 || gDayCount < 1) return;
    gDayIndex -= 1;
    if (gDayIndex < 1) gDayIndex = gDayCount;
    showEntry(true);
    setPositionCaption();
}

void frmWelcome::nextEntryButton_MouseUp(int Button, int, int, int) {
    if (Button != 1 || gDayCount < 1) return;
    gDayIndex += 1;
    if (gDayIndex > gDayCount) gDayIndex = 1;
    showEntry(true);
    setPositionCaption();
}

void frmWelcome::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    gGuard([&] {
        const int W = gTwips(width());
        const int H = gTwips(height());
        linkBand->setGeometry(gPxRect(120, 1620, W - 375, 360));
        nextEntryButton->move(gPxPoint(W - 510, 1665));
        previousEntryButton->move(gPxPoint(W - 1950, 1665));
        positionLabel->move(gPxPoint(W - 1590, 1680));
        previewEdit->setGeometry(gPxRect(2880, 2040, W - 3070, H - 2050));
        courseLabel->resize(qMax(0, width() - courseLabel->x() - gPx(180)), courseLabel->height());
        gRefitLines(courseLabel);
    });
}

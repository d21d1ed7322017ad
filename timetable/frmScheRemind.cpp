#include "timetable/frmScheRemind.h"

#include "core/model/gClock.h"
#include "core/ui/gDialogKeys.h"
#include "core/base/gError.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"
#include "core/ui/gShared.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "core/model/gWeek.h"
#include "core/ui/gWindowPlace.h"
#include "platform/shutDown.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QTimer>

namespace {
constexpr int kWidthTw = 5700;  // 380 pixels
constexpr int kHeightTw = 3540; // client area, 236 pixels
constexpr int kMinute = 60000;  // ms
// The blanks after "在" in the snooze choice's caption make the gap that the
// minutes box sits in; the gap is drawn this wide so that the box fits.
constexpr int kGapPx = 44;

const QString kSnoozeCaption = QStringLiteral("在      分钟后提醒我   ");

// The current time as minutes after midnight, seconds dropped.
int nowMinutes() {
    return gTimeToMinutes(gTimeNow().toString(QStringLiteral("hh:mm")));
}

// Begin and end of period p of today's list; a period the list does not hold
// (it was rebuilt with fewer periods) has no class.
std::array<qint16, 2> timesOf(int p) {
    if (p < 1 || p >= gTodayTimes.size()) return {0, 0};
    return gTodayTimes[p];
}

// A choice whose caption keeps its text but draws its first run of blanks as a
// wider gap, for the box that sits in it.
class GapRadio : public QRadioButton {
public:
    using QRadioButton::QRadioButton;
    // Where the gap lies, in the button's coordinates.
    QRect gapRect() const {
        const Pieces pc = pieces();
        const QRect c = captionRect();
        const int left = c.left() + fontMetrics().horizontalAdvance(pc.before);
        return {left, 0, kGapPx, height()};
    }

protected:
    // The caption as drawn, gap included, takes presses like the round button.
    bool hitButton(const QPoint& pos) const override {
        const Pieces pc = pieces();
        const int right = captionRect().left() + fontMetrics().horizontalAdvance(pc.before) + kGapPx +
                          fontMetrics().horizontalAdvance(pc.after);
        return QRect(0, 0, right, height()).contains(pos);
    }
    void paintEvent(QPaintEvent*) override {
        QStylePainter p(this);
        QStyleOptionButton opt;
        initStyleOption(&opt);
        opt.text.clear();
        p.drawControl(QStyle::CE_RadioButton, opt);
        const Pieces pc = pieces();
        const QRect c = captionRect();
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
        p.drawText(c, flags, pc.before);
        const int afterLeft = c.left() + fontMetrics().horizontalAdvance(pc.before) + kGapPx;
        p.drawText(c.adjusted(afterLeft - c.left(), 0, 0, 0), flags, pc.after);
        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = QRect(c.left(), c.top(),
                               afterLeft + fontMetrics().horizontalAdvance(pc.after) - c.left(), c.height());
            p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }

private:
    struct Pieces {
        QString before, after;
    };
    Pieces pieces() const {
        const QString t = text();
        const int from = t.indexOf(QLatin1Char(' '));
        if (from < 0) return {t, {}};
        int to = from;
        while (to < t.size() && t[to] == QLatin1Char(' '))
            ++to;
        return {t.left(from), t.mid(to)};
    }
    // Where the caption starts.
    QRect captionRect() const {
        QStyleOptionButton opt;
        initStyleOption(&opt);
        return style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, this);
    }
};

bool asciiDigits(const QString& text) {
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}
} // namespace

frmScheRemind::frmScheRemind() {
    setWindowTitle(QStringLiteral("课程"));
    setWindowFlag(Qt::Dialog, true);
    setFixedSize(gPxSize(kWidthTw, kHeightTw));

    messageLabel = new QLabel(QStringLiteral("在 x 分钟之后有课程：1-101，线性代数"), this);
    messageLabel->setObjectName(QStringLiteral("Label1"));
    messageLabel->setGeometry(gPxRect(240, 960, kWidthTw - 480, 1080));
    // Course and room names are the user's text, never markup.
    messageLabel->setTextFormat(Qt::PlainText);
    messageLabel->setWordWrap(true);
    messageLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    snoozeOption = new GapRadio(kSnoozeCaption, this);
    snoozeOption->setObjectName(QStringLiteral("Option1"));
    snoozeOption->setGeometry(gPxRect(240, 2160, 3600, 330));

    minutesEdit = new QLineEdit(QStringLiteral("5"), this);
    minutesEdit->setObjectName(QStringLiteral("Text1"));
    minutesEdit->setAlignment(Qt::AlignCenter);

    skipClassOption = new QRadioButton(QStringLiteral("不要再提醒我这堂课"), this);
    skipClassOption->setObjectName(QStringLiteral("Option2"));
    skipClassOption->setGeometry(gPxRect(240, 2550, 3600, 330));

    shutDownOption = new QRadioButton(QStringLiteral("关闭计算机"), this);
    shutDownOption->setObjectName(QStringLiteral("Option3"));
    shutDownOption->setGeometry(gPxRect(240, 2940, 3600, 330));

    okButton = new QPushButton(QStringLiteral("确定"), this);
    okButton->setObjectName(QStringLiteral("Command1"));
    okButton->setGeometry(gPxRect(kWidthTw - 1335, 2925, 1095, 375));
    okButton->setDefault(true);
    gBindDefaultCancel(this, okButton, nullptr);

    checkTimer = new QTimer(this);
    checkTimer->setObjectName(QStringLiteral("Timer1"));
    // Checks are meant to land on minute boundaries; a coarse timer may fire early.
    checkTimer->setTimerType(Qt::PreciseTimer);
    checkTimer->setInterval(10);

    connect(snoozeOption, &QRadioButton::clicked, this, [this] { gGuard([this] { snoozeOption_Click(); }); });
    connect(skipClassOption, &QRadioButton::clicked, this,
            [this] { gGuard([this] { skipClassOption_Click(); }); });
    connect(okButton, &QPushButton::clicked, this, [this] { gGuard([this] { okButton_Click(); }); });
    connect(checkTimer, &QTimer::timeout, this, [this] { gGuard([this] { checkTimer_Timer(); }); });

    snoozeOption->setChecked(true);
    placeMinutesEdit();
}

void frmScheRemind::formLoad() {
    lastDate_ = gToday();
    gSetTopMost(this, true);
    // The first check runs at once; it then moves the checks onto minute boundaries.
    checkTimer->setInterval(10);
    checkTimer->start();
}

void frmScheRemind::formUnload() {
    // No check may run on a window that is going away (and show it again).
    checkTimer->stop();
}

void frmScheRemind::placeMinutesEdit() {
    const QRect gap = static_cast<GapRadio*>(snoozeOption)->gapRect();
    minutesEdit->setGeometry(snoozeOption->x() + gap.left() + 4, snoozeOption->y() + 1, gap.width() - 8,
                             gap.height() - 2);
    minutesEdit->raise();
}

void frmScheRemind::checkTimer_Timer() {
    const QDate today = gToday();
    if (today != lastDate_) {
        lastDate_ = today;
        gBuildTodayCourses();
        // A skip or a snooze was meant for yesterday's class, not for the same
        // period number today.
        snooze_ = 0;
        skippedPeriod_ = 0;
    }
    if (checkTimer->interval() < kMinute) checkTimer->setInterval((60 - gTimeNow().second()) * 1000);
    if (!gOption(Option::ClassReminders)) {
        takeDown();
        return;
    }

    const int now = nowMinutes();
    for (int p = 1; p < gTodayTimes.size(); ++p) {
        const int begin = gTodayTimes[p][0];
        const int end = gTodayTimes[p][1];
        if (now <= begin - gRemindLead) continue;
        currentPeriod_ = p;
        if (now >= end) continue;

        if (snooze_ == -1) {
            if (p == skippedPeriod_) return;
            snooze_ = 0;
        } else if (snooze_ > 0) {
            --snooze_;
            if (snooze_ != 0) return;
        }

        const QString room = gTodayCourses.value(p)[1];
        const QString course = gTodayCourses.value(p)[0];
        QPalette pal = messageLabel->palette();
        // Put together piece by piece: a room or course name may hold "%1".
        if (now < begin) {
            messageLabel->setText(QStringLiteral("在 ") + QString::number(begin - now) +
                                  QStringLiteral(" 分钟之后在 ") + room + QStringLiteral(" 有课程：") +
                                  course);
            pal.setColor(QPalette::WindowText, Qt::black);
        } else {
            messageLabel->setText(
                QStringLiteral("在 ") + QString::number(now - begin) + QStringLiteral(" 分钟之前在 ") + room +
                QStringLiteral(" 已经开始了课程：") + course + QStringLiteral("\r\n\r\n还有 ") +
                QString::number(end - now) + QStringLiteral(" 分钟下课！"));
            pal.setColor(QPalette::WindowText, QColor(255, 0, 0));
        }
        messageLabel->setPalette(pal);
        remind();
        return;
    }
    takeDown();
}

void frmScheRemind::takeDown() {
    // Nothing is left to remind of: an open window would go on counting down a
    // class that is over, and its offered minutes would no longer be accepted.
    if (isVisible()) hide();
}

void frmScheRemind::remind() {
    if (!isVisible()) {
        minutesEdit->setText(QStringLiteral("5"));
        snoozeOption->setChecked(true);
        snoozeOption_Click();
        // Today's classes, also titled 课程, stays readable beside it.
        QWidget* report = forms::find(Form::frmScheReport);
        if (report && report->isVisible()) gPlaceBeside(this, report);
    }
    ++beeps_;
    QApplication::beep();
    show();
    raise();
}

void frmScheRemind::okButton_Click() {
    if (snoozeOption->isChecked()) {
        const QString text = minutesEdit->text();
        bool ok = asciiDigits(text);
        const qlonglong n = ok ? text.toLongLong(&ok) : 0;
        if (ok) {
            const int now = nowMinutes();
            const auto [begin, end] = timesOf(currentPeriod_);
            ok = n <= (now < begin ? begin - now : end - now);
        }
        if (!ok) {
            gMsgBox(Msg::TimeInvalid, gButtonSet::Close);
            return;
        }
        snooze_ = int(n);
        hide();
    } else if (skipClassOption->isChecked()) {
        snooze_ = -1;
        skippedPeriod_ = currentPeriod_;
        hide();
    } else if (shutDownOption->isChecked()) {
        // Out of the way first: the question must not sit beneath an always-on-top window.
        hide();
        shutDown::offer(nullptr);
    }
}

void frmScheRemind::snoozeOption_Click() {
    minutesEdit->setEnabled(true);
}

void frmScheRemind::skipClassOption_Click() {
    minutesEdit->setEnabled(false);
}

void frmScheRemind::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    // Drawn when the reminder first shows, not at every sign-in, which seldom shows it.
    if (picture_.isNull()) {
        try {
            picture_ =
                gLoadResPicture(Res::ClassPicture, gResKind::Bitmap, QSize(width(), width() * 17 / 20));
        } catch (...) {
            // A picture missing from the program leaves the window white.
        }
    }
    if (!picture_.isNull()) p.drawPixmap(0, 0, picture_);
}

void frmScheRemind::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    placeMinutesEdit();
}

void frmScheRemind::closeEvent(QCloseEvent* e) {
    // The title bar's close button only hides the window: the reminder keeps
    // running until the main window's exit unloads it.
    e->accept();
    hide();
}

#include "timetable/frmScheRemind.h"

#include "core/gClock.h"
#include "core/gDialogKeys.h"
#include "core/gError.h"
#include "core/gMsgBox.h"
#include "core/gOptions.h"
#include "core/gResources.h"
#include "core/gShared.h"
#include "core/gState.h"
#include "core/gTwips.h"
#include "core/gWeek.h"
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
// The blanks after "在" in Option1's caption make the gap that Text1 sits in;
// the gap is drawn this wide so that the box fits.
constexpr int kGapPx = 44;

const QString kOption1 = QStringLiteral("在      分钟后提醒我   ");

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

    Label1 = new QLabel(QStringLiteral("在 x 分钟之后有课程：1-101，线性代数"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(gPxRect(240, 960, kWidthTw - 480, 1080));
    // Course and room names are the user's text, never markup.
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Option1 = new GapRadio(kOption1, this);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option1->setGeometry(gPxRect(240, 2160, 3600, 330));

    Text1 = new QLineEdit(QStringLiteral("5"), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAlignment(Qt::AlignCenter);

    Option2 = new QRadioButton(QStringLiteral("不要再提醒我这堂课"), this);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option2->setGeometry(gPxRect(240, 2550, 3600, 330));

    Option3 = new QRadioButton(QStringLiteral("关闭计算机"), this);
    Option3->setObjectName(QStringLiteral("Option3"));
    Option3->setGeometry(gPxRect(240, 2940, 3600, 330));

    Command1 = new QPushButton(QStringLiteral("确定"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(gPxRect(kWidthTw - 1335, 2925, 1095, 375));
    Command1->setDefault(true);
    gBindDefaultCancel(this, Command1, nullptr);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    // Checks are meant to land on minute boundaries; a coarse timer may fire early.
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(10);

    connect(Option1, &QRadioButton::clicked, this, [this] { gGuard([this] { Option1_Click(); }); });
    connect(Option2, &QRadioButton::clicked, this, [this] { gGuard([this] { Option2_Click(); }); });
    connect(Command1, &QPushButton::clicked, this, [this] { gGuard([this] { Command1_Click(); }); });
    connect(Timer1, &QTimer::timeout, this, [this] { gGuard([this] { Timer1_Timer(); }); });

    Option1->setChecked(true);
    placeText1();
}

void frmScheRemind::formLoad() {
    lastDate_ = gToday();
    picture_ = gLoadResPicture(124, gResKind::Bitmap, QSize(width(), width() * 17 / 20));
    gSetTopMost(this, true);
    // The first check runs at once; it then moves the checks onto minute boundaries.
    Timer1->setInterval(10);
    Timer1->start();
}

void frmScheRemind::formUnload() {
    // No check may run on a window that is going away (and show it again).
    Timer1->stop();
}

void frmScheRemind::placeText1() {
    const QRect gap = static_cast<GapRadio*>(Option1)->gapRect();
    Text1->setGeometry(Option1->x() + gap.left() + 4, Option1->y() + 1, gap.width() - 8, gap.height() - 2);
    Text1->raise();
}

void frmScheRemind::Timer1_Timer() {
    const QDate today = gToday();
    if (today != lastDate_) {
        lastDate_ = today;
        gBuildTodayCourses();
        // A skip or a snooze was meant for yesterday's class, not for the same
        // period number today.
        snooze_ = 0;
        skippedPeriod_ = 0;
    }
    if (Timer1->interval() < kMinute) Timer1->setInterval((60 - gTimeNow().second()) * 1000);
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
        QPalette pal = Label1->palette();
        // Put together piece by piece: a room or course name may hold "%1".
        if (now < begin) {
            Label1->setText(QStringLiteral("在 ") + QString::number(begin - now) +
                            QStringLiteral(" 分钟之后在 ") + room + QStringLiteral(" 有课程：") + course);
            pal.setColor(QPalette::WindowText, Qt::black);
        } else {
            Label1->setText(QStringLiteral("在 ") + QString::number(now - begin) +
                            QStringLiteral(" 分钟之前在 ") + room + QStringLiteral(" 已经开始了课程：") +
                            course + QStringLiteral("\r\n\r\n还有 ") + QString::number(end - now) +
                            QStringLiteral(" 分钟下课！"));
            pal.setColor(QPalette::WindowText, QColor(255, 0, 0));
        }
        Label1->setPalette(pal);
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
        Text1->setText(QStringLiteral("5"));
        Option1->setChecked(true);
        Option1_Click();
    }
    ++beeps_;
    QApplication::beep();
    show();
    raise();
}

void frmScheRemind::Command1_Click() {
    if (Option1->isChecked()) {
        const QString text = Text1->text();
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
    } else if (Option2->isChecked()) {
        snooze_ = -1;
        skippedPeriod_ = currentPeriod_;
        hide();
    } else if (Option3->isChecked()) {
        // Out of the way first: the question must not sit beneath an always-on-top window.
        hide();
        shutDown::offer(nullptr);
    }
}

void frmScheRemind::Option1_Click() {
    Text1->setEnabled(true);
}

void frmScheRemind::Option2_Click() {
    Text1->setEnabled(false);
}

void frmScheRemind::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!picture_.isNull()) p.drawPixmap(0, 0, picture_);
}

void frmScheRemind::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    placeText1();
}

void frmScheRemind::closeEvent(QCloseEvent* e) {
    // The title bar's close button only hides the window: the reminder keeps
    // running until the main window's exit unloads it.
    e->accept();
    hide();
}

#include "controls/scheduleMonthView.h"

#include "controls/scheduleCommand.h"
#include "core/model/gClock.h"
#include "core/base/gError.h"
#include "core/ui/gFocusMark.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/ui/gTwips.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

namespace {
constexpr int kWidthTw = 2600;
constexpr int kHeightTw = 2300;
constexpr int kHeaderPx = 25;
constexpr int kInvalidValue = 380;
const QColor kBlack(0, 0, 0);
const QColor kGrey(0x80, 0x80, 0x80);

[[noreturn]] void invalidValue() {
    gRaise(kInvalidValue, QStringLiteral("无效的属性值"));
}

QPixmap svgPixmap(const QString& name, QSize size) {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QSvgRenderer r(QStringLiteral(":/res/controls/%1.svg").arg(name));
    if (!r.isValid()) gRaise(gErr::InvalidPicture);
    QPainter p(&pm);
    r.render(&p);
    return pm;
}

QFont cjkFont() {
    QFont f;
    f.setFamilies({QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC"),
                   QStringLiteral("WenQuanYi Micro Hei")});
    f.setPixelSize(12);
    return f;
}

QFont dayFont(bool bold) {
    QFont f;
    f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    f.setPixelSize(11);
    f.setBold(bold);
    return f;
}

QLabel* transparentLabel(QWidget* parent, const QString& text, QRect rect, Qt::Alignment align) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(rect);
    l->setAlignment(align | Qt::AlignVCenter);
    l->setAttribute(Qt::WA_TranslucentBackground);
    l->setAutoFillBackground(false);
    return l;
}

void setTextColour(QLabel* l, const QColor& c) {
    QPalette pal = l->palette();
    if (pal.color(QPalette::WindowText) == c) return;
    pal.setColor(QPalette::WindowText, c);
    l->setPalette(pal);
}

// The day cells are opaque white, except where a frame must show through.
void setOpaque(QLabel* l, bool opaque) {
    l->setAutoFillBackground(opaque);
    l->update();
}

// The grid of days: Tab reaches it, and it carries the focus mark round its edge.
class DayGrid : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        if (!gFocusMarkShown(this)) return;
        QPainter p(this);
        gDrawFocusMark(p, rect(), this);
    }
    void focusInEvent(QFocusEvent*) override { update(); }
    void focusOutEvent(QFocusEvent*) override { update(); }
};

bool onlyDigits(const QString& s) {
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}
} // namespace

scheduleMonthView::scheduleMonthView(QWidget* parent)
    : QWidget(parent), value_(gToday()), min_(1753, 1, 1), max_(9999, 12, 31) {
    setFixedSize(gPxSize(kWidthTw, kHeightTw));
    const int w = width();

    headerStrip = new QLabel(this);
    headerStrip->setObjectName(QStringLiteral("Picture1"));
    headerStrip->setGeometry(0, 0, w, kHeaderPx);
    headerStrip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    headerStrip->setPixmap(svgPixmap(QStringLiteral("monthHeader"), QSize(256, kHeaderPx)));

    auto headerButton = [&](const char* name, const QString& picture, int leftTw) {
        auto* b = new scheduleCommand(headerStrip);
        b->setObjectName(QString::fromLatin1(name));
        b->setPicture(svgPixmap(picture, QSize(16, 16)));
        // The header is blue: the focus mark is drawn white on it.
        QPalette pal = b->palette();
        pal.setColor(QPalette::Highlight, Qt::white);
        b->setPalette(pal);
        b->move(gPxPoint(leftTw, 80));
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    previousMonthButton = headerButton("Image4", QStringLiteral("monthPrev"), 120);
    todayButton = headerButton("Image6", QStringLiteral("monthToday"), 1920);
    nextMonthButton = headerButton("Image5", QStringLiteral("monthNext"), 2220);
    previousMonthButton->setToolTip(QStringLiteral("上个月"));
    todayButton->setToolTip(QStringLiteral("今天"));
    nextMonthButton->setToolTip(QStringLiteral("下个月"));

    yearLabel =
        transparentLabel(headerStrip, QStringLiteral("9999"), gPxRect(712, 120, 360, 180), Qt::AlignRight);
    // Right-aligned: room to the left, so a wide font does not clip four digits.
    yearLabel->setGeometry(QRect(QPoint(gPx(520), yearLabel->y()), yearLabel->geometry().bottomRight()));
    yearUnitLabel =
        transparentLabel(headerStrip, QStringLiteral("年"), gPxRect(1150, 120, 180, 180), Qt::AlignLeft);
    monthLabel =
        transparentLabel(headerStrip, QStringLiteral("99"), gPxRect(1430, 120, 180, 180), Qt::AlignRight);
    monthUnitLabel =
        transparentLabel(headerStrip, QStringLiteral("月"), gPxRect(1690, 120, 180, 180), Qt::AlignLeft);
    for (QLabel* l : {yearLabel, monthLabel, yearUnitLabel, monthUnitLabel}) {
        l->setFont(cjkFont());
        setTextColour(l, Qt::white);
    }
    yearLabel->setObjectName(QStringLiteral("Label1"));
    monthLabel->setObjectName(QStringLiteral("Label2"));
    yearUnitLabel->setObjectName(QStringLiteral("Label3"));
    monthUnitLabel->setObjectName(QStringLiteral("Label4"));
    for (QLabel* l : {yearLabel, monthLabel}) {
        l->setCursor(Qt::IBeamCursor);
        l->installEventFilter(this);
    }

    auto entryBox = [&](const char* name, QRect rect, int maxLength) {
        auto* t = new QLineEdit(headerStrip);
        t->setObjectName(QString::fromLatin1(name));
        t->setGeometry(rect);
        t->setFont(dayFont(false));
        t->setMaxLength(maxLength);
        t->setAlignment(Qt::AlignCenter);
        t->setStyleSheet(QStringLiteral("QLineEdit#%1 { border: 1px solid #2f6cb8; padding: 0px; margin: 0px;"
                                        " background: white; color: black; }")
                             .arg(t->objectName()));
        t->hide();
        t->installEventFilter(this);
        return t;
    };
    yearEdit = entryBox("Text1", gPxRect(610, 80, 495, 270), 20);
    monthEdit = entryBox("Text2", gPxRect(1380, 80, 255, 270), 20);

    // Grid pane: the frames lie beneath the day cells, so an opaque cell hides
    // all of a frame but its rim.
    gridPane = new DayGrid(this);
    gridPane->setObjectName(QStringLiteral("Picture2"));
    gridPane->setFocusPolicy(Qt::TabFocus);
    gridPane->setGeometry(0, kHeaderPx, w, height() - kHeaderPx);
    gridPane->setAutoFillBackground(true);
    {
        QPalette pal = gridPane->palette();
        pal.setColor(QPalette::Window, Qt::white);
        gridPane->setPalette(pal);
    }
    gridPane->setMouseTracking(true);
    gridPane->installEventFilter(this);

    auto frame = [&](const char* name, const QString& picture) {
        auto* f = new QLabel(gridPane);
        f->setObjectName(QString::fromLatin1(name));
        f->setPixmap(svgPixmap(picture, QSize(32, 32)));
        f->setFixedSize(32, 32);
        f->setAttribute(Qt::WA_TransparentForMouseEvents);
        return f;
    };
    todayFrame = frame("Image1", QStringLiteral("monthFrameToday"));
    selectedFrame = frame("Image2", QStringLiteral("monthFrameSelected"));
    hoverFrame = frame("Image3", QStringLiteral("monthFrameHover"));
    todayFrame->hide();
    hoverFrame->hide();
    selectedFrame->move(-100, -100); // placed by the first redraw

    static const char* const names[7] = {"日", "一", "二", "三", "四", "五", "六"};
    for (int c = 0; c < 7; ++c) {
        QLabel* l = transparentLabel(gridPane, QString::fromUtf8(names[c]),
                                     gPxRect(120 + 360 * c, 120, 180, 180), Qt::AlignHCenter);
        l->setObjectName(QStringLiteral("lblWeek%1").arg(c));
        l->setFont(cjkFont());
        setTextColour(l, QColor(0x50, 0x6a, 0x8a));
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        weekdayLabels[c] = l;
    }

    auto* line = new QWidget(gridPane);
    line->setObjectName(QStringLiteral("Line1"));
    line->setGeometry(gPx(120), gPx(360), gPx(2450) - gPx(120) + 1, 1);
    line->setAutoFillBackground(true);
    {
        QPalette pal = line->palette();
        pal.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
        line->setPalette(pal);
    }

    for (int i = 1; i <= 42; ++i) {
        const int r = (i - 1) / 7, c = (i - 1) % 7;
        auto* l = new QLabel(gridPane);
        l->setObjectName(QStringLiteral("lblDay%1").arg(i));
        l->setGeometry(gPxRect(60 + 360 * c, 480 + 240 * r, 300, 180));
        l->setAlignment(Qt::AlignCenter);
        l->setFont(dayFont(false));
        QPalette pal = l->palette();
        pal.setColor(QPalette::Window, Qt::white);
        pal.setColor(QPalette::WindowText, kBlack);
        l->setPalette(pal);
        l->setAutoFillBackground(true);
        l->setMouseTracking(true);
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
        dayCells[i] = l;
    }

    connect(previousMonthButton, &scheduleCommand::mouseUp, this, [this](int button, int, int, int) {
        gGuard([&] {
            if (button == 1) stepMonth(-1);
        });
    });
    connect(nextMonthButton, &scheduleCommand::mouseUp, this, [this](int button, int, int, int) {
        gGuard([&] {
            if (button == 1) stepMonth(1);
        });
    });
    connect(todayButton, &scheduleCommand::mouseUp, this, [this](int button, int, int, int) {
        gGuard([&] {
            if (button == 1) goToday();
        });
    });
}

// ---- the date model ----

void scheduleMonthView::setCurrent(const QDate& d) {
    if (!d.isValid() || d < min_ || d > max_) invalidValue();
    value_ = d;
}

void scheduleMonthView::setValue(const QDate& value) {
    setCurrent(value);
    refresh();
}

void scheduleMonthView::setMonth(int month) {
    if (month < 1 || month > 12) invalidValue();
    // A month without the current day is reached by lowering the day until it fits.
    const int days = QDate(value_.year(), month, 1).daysInMonth();
    setCurrent(QDate(value_.year(), month, qMin(value_.day(), days)));
}

void scheduleMonthView::setDay(int day) {
    if (day < 1 || day > value_.daysInMonth()) invalidValue();
    setCurrent(QDate(value_.year(), value_.month(), day));
}

void scheduleMonthView::setYear(int year) {
    if (year < 1 || year > 9999) invalidValue();
    const int days = QDate(year, value_.month(), 1).daysInMonth();
    setCurrent(QDate(year, value_.month(), qMin(value_.day(), days)));
}

void scheduleMonthView::setMinDate(const QDate& d) {
    if (!d.isValid() || d > max_) invalidValue();
    min_ = d;
    if (value_ < min_) value_ = min_;
}

void scheduleMonthView::setMaxDate(const QDate& d) {
    if (!d.isValid() || d < min_) invalidValue();
    max_ = d;
    if (value_ > max_) value_ = max_;
}

bool scheduleMonthView::dayBold(const QDate& dateIndex) const {
    return bold_.contains(dateIndex);
}

void scheduleMonthView::setDayBold(const QDate& dateIndex, bool isBold) {
    if (!dateIndex.isValid()) invalidValue();
    if (isBold)
        bold_.insert(dateIndex);
    else
        bold_.remove(dateIndex);
    const QDate first = firstVisible();
    const qint64 i = first.daysTo(dateIndex) + 1;
    if (i >= 1 && i <= 42) dayCells[int(i)]->setFont(dayFont(isBold));
}

// When the first of the month is a Sunday the first row still shows the last
// week of the month before, as the system's month calendar does.
QDate scheduleMonthView::firstVisible() const {
    const QDate first(value_.year(), value_.month(), 1);
    int back = first.dayOfWeek() % 7; // Sunday 0
    if (back == 0) back = 7;
    return first.addDays(-back);
}

QDate scheduleMonthView::VisibleDays(int sIndex) const {
    if (sIndex < 1 || sIndex > 42) invalidValue();
    return firstVisible().addDays(sIndex - 1);
}

// ---- drawing ----

QPoint scheduleMonthView::framePos(int cell) const {
    const QPoint topLeft = dayCells[cell]->pos();
    return topLeft - QPoint(gPx(150), gPx(90));
}

void scheduleMonthView::refresh() {
    bool cancel = false;
    refresh(value_, value_, cancel);
}

void scheduleMonthView::refresh(const QDate& startDate, const QDate& endDate, bool& cancel) {
    Q_EMIT SelChange(startDate, endDate, cancel);

    for (int* cell : {&todayCell_, &selectedCell_}) {
        if (*cell > 0) setOpaque(dayCells[*cell], true);
        *cell = 0;
    }
    yearLabel->setText(QString::number(Year()));
    monthLabel->setText(QString::number(Month()));
    todayFrame->hide();

    const QDate today = gToday();
    const QDate first = firstVisible();
    for (int i = 1; i <= 42; ++i) {
        const QDate d = first.addDays(i - 1);
        QLabel* l = dayCells[i];
        l->setText(QString::number(d.day()));
        l->setFont(dayFont(bold_.contains(d)));
        if (d.month() == value_.month() && d.year() == value_.year()) {
            setTextColour(l, kBlack);
            if (d == today) {
                setOpaque(l, false);
                todayFrame->move(framePos(i));
                todayFrame->show();
                todayCell_ = i;
            }
            if (d == value_) {
                setOpaque(l, false);
                selectedFrame->move(framePos(i));
                selectedCell_ = i;
            }
        } else {
            setTextColour(l, kGrey);
        }
    }
}

// ---- reactions ----

void scheduleMonthView::stepMonth(int delta) {
    const QDate firstOfTarget = QDate(value_.year(), value_.month(), 1).addMonths(delta);
    const QDate target(firstOfTarget.year(), firstOfTarget.month(),
                       qMin(value_.day(), firstOfTarget.daysInMonth()));
    // At either end of the range the buttons do nothing.
    if (!target.isValid() || target < min_ || target > max_) return;
    value_ = target;
    refresh();
}

void scheduleMonthView::stepDays(int days) {
    const QDate target = value_.addDays(days);
    if (!target.isValid() || target < min_ || target > max_) return;
    value_ = target;
    refresh();
}

void scheduleMonthView::goToday() {
    setValue(gToday());
    refresh();
}

void scheduleMonthView::dayPressed(int cell) {
    // A grey day switches the calendar to its month.
    setValue(VisibleDays(cell));
    refresh();
}

void scheduleMonthView::dayHovered(int cell) {
    hoverFrame->move(framePos(cell));
    hoverFrame->show();
}

void scheduleMonthView::hideHover(int, int, int, int) {
    hoverFrame->hide();
}

void scheduleMonthView::leaveEvent(QEvent* e) {
    gGuard([&] { hideHover(0, 0, 0, 0); });
    QWidget::leaveEvent(e);
}

void scheduleMonthView::openBox(QLineEdit* box, int value) {
    box->setText(QString::number(value));
    box->show();
    box->raise();
    box->setFocus(Qt::MouseFocusReason);
    box->selectAll();
}

void scheduleMonthView::commitYear() {
    const QString text = yearEdit->text().trimmed();
    yearEdit->setText(text);
    if (!onlyDigits(text)) return; // stays open for correction
    if (!text.isEmpty()) {
        bool ok = false;
        qlonglong v = text.toLongLong(&ok);
        // A short year is taken in this century (7 is 2007, 12 is 2012); by its
        // value, so leading zeros do not make it a different year.
        if (ok && v < 1000) v += 2000;
        if (ok && v >= min_.year() && v <= max_.year()) {
            setYear(int(v));
            refresh();
        }
    }
    yearEdit->hide();
}

void scheduleMonthView::commitMonth() {
    const QString text = monthEdit->text().trimmed();
    monthEdit->setText(text);
    if (!onlyDigits(text)) return;
    if (!text.isEmpty()) {
        bool ok = false;
        const qlonglong v = text.toLongLong(&ok);
        if (ok && v >= 1 && v <= 12) {
            setMonth(int(v));
            refresh();
        }
    }
    monthEdit->hide();
}

bool scheduleMonthView::eventFilter(QObject* watched, QEvent* e) {
    bool handled = false;
    gGuard([&] {
        const QEvent::Type t = e->type();
        if (watched == yearEdit || watched == monthEdit) {
            const bool enter =
                t == QEvent::KeyRelease && (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Return ||
                                            static_cast<QKeyEvent*>(e)->key() == Qt::Key_Enter);
            if ((enter || t == QEvent::FocusOut) && !committing_ &&
                static_cast<QWidget*>(watched)->isVisible()) {
                // Hiding the focused box takes its focus away; that must not commit twice.
                committing_ = true;
                struct Reset {
                    bool& flag;
                    ~Reset() { flag = false; }
                } reset{committing_};
                if (watched == yearEdit)
                    commitYear();
                else
                    commitMonth();
            }
            return;
        }
        if (watched == yearLabel || watched == monthLabel) {
            // The press is taken too, so that the release comes here.
            if (t == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton)
                handled = true;
            if (t == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
                if (watched == yearLabel)
                    openBox(yearEdit, Year());
                else
                    openBox(monthEdit, Month());
                handled = true;
            }
            return;
        }
        if (watched == gridPane) {
            if (t == QEvent::KeyPress) {
                auto* ke = static_cast<QKeyEvent*>(e);
                if (ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return;
                handled = true;
                switch (ke->key()) {
                case Qt::Key_Left:
                    stepDays(-1);
                    break;
                case Qt::Key_Right:
                    stepDays(1);
                    break;
                case Qt::Key_Up:
                    stepDays(-7);
                    break;
                case Qt::Key_Down:
                    stepDays(7);
                    break;
                case Qt::Key_PageUp:
                    stepMonth(-1);
                    break;
                case Qt::Key_PageDown:
                    stepMonth(1);
                    break;
                default:
                    handled = false;
                }
            } else if (t == QEvent::MouseMove) {
                auto* me = static_cast<QMouseEvent*>(e);
                const QPoint tw(gTwips(int(me->position().x())), gTwips(int(me->position().y())));
                hideHover(0, gShiftState(me->modifiers()), tw.x(), tw.y());
            } else if (t == QEvent::Leave) {
                hideHover(0, 0, 0, 0);
            }
            return;
        }
        for (int i = 1; i <= 42; ++i) {
            if (watched != dayCells[i]) continue;
            if (t == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
                dayPressed(i);
                handled = true;
            } else if (t == QEvent::MouseMove) {
                // Taken here, so the pane beneath does not hide the frame again.
                dayHovered(i);
                handled = true;
            }
            return;
        }
    });
    return handled || QWidget::eventFilter(watched, e);
}

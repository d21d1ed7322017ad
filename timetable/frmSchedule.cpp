#include "timetable/frmSchedule.h"

#include <QApplication>
#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QStyle>
#include <QSvgRenderer>
#include <QTimer>

#include "controls/scheduleCommand.h"
#include "controls/scheduleTable.h"
#include "core/model/clsSchedule.h"
#include "core/base/gError.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "core/model/gWeek.h"
#include "timetable/scheduleBasePane.h"

namespace {

constexpr int kMenuClosed = -1600; // twips: the menu's left edge while parked
constexpr int kMenuTop = 840;
constexpr int kMenuWidth = 1600;
constexpr int kEntryHeight = 840;
constexpr int kMenuStep = 160;
constexpr int kPaneLeft = 1560;
constexpr int kPaneTop = 360;
// The week view's grid: designed sizes, which are the least it is drawn at.
constexpr int kNameColTw = 1100;
constexpr int kNameColLeastTw = 800; // what the period names give up before the days scroll sideways
constexpr int kDayColTw = 900;
constexpr int kRowTw = 450;
constexpr int kGridMarginTw = 10;
// The date line and the week buttons, under the grid.
constexpr int kWeekStripTw = 480;

QPixmap picture(const QString& name, QSize size) {
    QSvgRenderer r(QStringLiteral(":/res/timetable/%1.svg").arg(name));
    QPixmap pm(size * 2);
    pm.setDevicePixelRatio(2);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    r.render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
    return pm;
}

// The highlighted entry: the same picture on a soft white halo, a little lighter.
QPixmap highlighted(const QPixmap& normal) {
    QPixmap pm(normal.size());
    pm.setDevicePixelRatio(normal.devicePixelRatio());
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QSizeF s = QSizeF(normal.size()) / normal.devicePixelRatio();
    QRadialGradient halo(QPointF(s.width() / 2, s.height() / 2), s.width() / 2);
    halo.setColorAt(0, QColor(255, 255, 255, 230));
    halo.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(QRectF(QPointF(0, 0), s));
    p.drawPixmap(QPointF(0, 0), normal);
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.fillRect(QRectF(QPointF(0, 0), s), QColor(255, 255, 255, 60));
    return pm;
}

// Splits ascending period numbers into runs of consecutive numbers: (first, length).
QList<std::pair<int, int>> periodRuns(const QList<double>& periods) {
    QList<std::pair<int, int>> runs;
    for (double v : periods) {
        const int p = int(v);
        // 0 is the header row; a stored piece that is no number must not write over it.
        if (p < 1) continue;
        if (!runs.isEmpty() && runs.last().first + runs.last().second == p)
            ++runs.last().second;
        else
            runs.append({p, 1});
    }
    return runs;
}

bool shownInWeek(const clsCourse& c, int w) {
    if (w < c.BeginWeek || w > c.EndWeek) return false;
    switch (c.DoubleWeek) {
    case 1:
        return w % 2 == 1;
    case 2:
        return w % 2 == 0;
    default:
        return true;
    }
}

// Shares `room` twips out among n columns or rows, each at least `least`, in
// whole pixels so that equal shares are drawn equal.
int share(int room, int n, int least) {
    if (n <= 0) return least;
    return qMax(least, room / n / gTwipsPerPixel * gTwipsPerPixel);
}

QFrame* pane(QWidget* parent, const char* name) {
    auto* f = new QFrame(parent);
    f->setObjectName(QLatin1String(name));
    f->setFrameShape(QFrame::NoFrame);
    f->setMouseTracking(true);
    f->hide();
    return f;
}

} // namespace

frmSchedule::frmSchedule() {
    setObjectName(QStringLiteral("frmSchedule"));
    setMouseTracking(true);

    // The menu comes first in the Tab order: from the top bar the keyboard reaches
    // the entries, then the pane they open.
    menuArrow = new QLabel(this);
    menuArrow->setObjectName(QStringLiteral("Picture2"));
    menuArrow->setPixmap(picture(QStringLiteral("arrow"), QSize(14, 64)));
    menuArrow->setGeometry(gPxRect(0, kMenuTop + (4 * kEntryHeight - 960) / 2, 210, 960));
    menuArrow->setMouseTracking(true);
    menuArrow->installEventFilter(this);

    menuPanel = new QWidget(this);
    menuPanel->setObjectName(QStringLiteral("Picture1"));
    menuPanel->setAutoFillBackground(true);
    {
        QPalette pal = menuPanel->palette();
        pal.setColor(QPalette::Window, QColor(0xE6, 0xF2, 0xEA));
        menuPanel->setPalette(pal);
    }
    menuPanel->setMouseTracking(true);
    menuPanel->installEventFilter(this);
    menuPanel->setGeometry(gPxRect(kMenuClosed, kMenuTop, kMenuWidth, 4 * kEntryHeight));

    static const char* captions[] = {"课程表", "基础选项", "新课程", "所有课程"};
    const QCursor hand = gLoadResCursor(Res::HandCursor);
    for (int i = 0; i < 4; ++i) {
        menuIconPictures[i] = picture(QStringLiteral("tab%1").arg(i), QSize(32, 32));
        menuIconHighlights[i] = highlighted(menuIconPictures[i]);
        auto* img = new QLabel(menuPanel);
        img->setObjectName(QStringLiteral("ImageTop%1").arg(i));
        img->setPixmap(menuIconPictures[i]);
        img->setAlignment(Qt::AlignCenter);
        img->setGeometry(gPxRect(0, i * kEntryHeight + 60, kMenuWidth, 510));
        img->setCursor(hand);
        img->setMouseTracking(true);
        img->installEventFilter(this);
        menuIcons[i] = img;
        // The caption is the entry's one Tab stop; Space or Enter on it open the pane.
        auto* lbl = new gLinkLabel(QString::fromUtf8(captions[i]), menuPanel, false);
        lbl->setObjectName(QStringLiteral("LabelTop%1").arg(i));
        lbl->setAlignment(Qt::AlignCenter);
        lbl->setGeometry(gPxRect(0, i * kEntryHeight + 570, kMenuWidth, 240));
        lbl->setCursor(hand);
        lbl->setMouseTracking(true);
        lbl->installEventFilter(this);
        connect(lbl, &gLinkLabel::clicked, this, [this, i] { gGuard([&] { gChangeFrame(i); }); });
        menuCaptions[i] = lbl;
    }

    weekPane = pane(this, "Frame1");
    basePane = new scheduleBasePane(this);
    basePane->setMouseTracking(true);
    basePane->hide();
    basePane->onSaved = [this] {
        LoadOptions();
        gChangeFrame(SchedulePane::Week);
    };
    basePane->onCancel = [this] { gChangeFrame(SchedulePane::Week); };
    courseEditorPane = new scheduleCourseEditor(this);
    courseListPane = new scheduleCourseList(this);
    courseEditorPane->setCourseList(courseListPane);
    courseListPane->setEditor(courseEditorPane);
    for (QFrame* f : {static_cast<QFrame*>(courseEditorPane), static_cast<QFrame*>(courseListPane)}) {
        f->setMouseTracking(true);
        f->hide();
    }
    courseEditorPane->onNewDone = [this] { gChangeFrame(SchedulePane::Week); };
    courseEditorPane->onReload = [this] { LoadOptions(); };
    courseListPane->onBack = [this] { gChangeFrame(SchedulePane::Week); };
    // The panes pass the mouse on to the page, so moving off the menu closes it.
    for (QFrame* f : {weekPane, static_cast<QFrame*>(basePane), static_cast<QFrame*>(courseEditorPane),
                      static_cast<QFrame*>(courseListPane)})
        f->installEventFilter(this);

    weekArea = new QScrollArea(weekPane);
    weekArea->setObjectName(QStringLiteral("ScrollArea1"));
    weekArea->setFrameShape(QFrame::NoFrame);
    weekArea->setFocusPolicy(Qt::StrongFocus);
    weekArea->viewport()->setMouseTracking(true);
    weekArea->viewport()->installEventFilter(this);
    weekGrid = new scheduleTable;
    weekGrid->setObjectName(QStringLiteral("scheduleTable1"));
    // The grid sizes itself to its cells; the area only shows and scrolls it.
    weekArea->setWidgetResizable(false);
    weekArea->setWidget(weekGrid);
    // The page shows through the room the cells leave, as it did around the bare grid.
    weekArea->viewport()->setAutoFillBackground(false);
    weekGrid->setAutoFillBackground(false);
    connect(weekGrid, &scheduleTable::mouseMove, this,
            [this](int, int, int, int) { gGuard([&] { Form_MouseMove(); }); });

    weekDateLabel = new QLabel(QStringLiteral("xxxx 年 xx 月 xx - xx 日，第 xx 周"), weekPane);
    weekDateLabel->setObjectName(QStringLiteral("Label2"));
    weekDateLabel->setTextFormat(Qt::PlainText);
    weekDateLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    weekDateLabel->setMouseTracking(true);
    weekDateLabel->installEventFilter(this);

    previousWeekButton = new scheduleCommand(weekPane);
    previousWeekButton->setObjectName(QStringLiteral("scheduleCommand1"));
    previousWeekButton->setPicture(picture(QStringLiteral("previous"), QSize(24, 24)));
    previousWeekButton->setToolTip(QStringLiteral("上一周"));
    connect(previousWeekButton, &scheduleCommand::mouseUp, this,
            [this](int b, int s, int x, int y) { gGuard([&] { previousWeekButton_MouseUp(b, s, x, y); }); });
    nextWeekButton = new scheduleCommand(weekPane);
    nextWeekButton->setObjectName(QStringLiteral("scheduleCommand2"));
    nextWeekButton->setPicture(picture(QStringLiteral("next"), QSize(24, 24)));
    nextWeekButton->setToolTip(QStringLiteral("下一周"));
    connect(nextWeekButton, &scheduleCommand::mouseUp, this,
            [this](int b, int s, int x, int y) { gGuard([&] { nextWeekButton_MouseUp(b, s, x, y); }); });
    // Made first, the menu still lies above the panes.
    menuArrow->raise();
    menuPanel->raise();

    slideTimer = new QTimer(this);
    slideTimer->setInterval(10);
    connect(slideTimer, &QTimer::timeout, this, [this] { gGuard([&] { slideTimer_Timer(); }); });

    resize(gPx(9780), gPx(6000));
}

void frmSchedule::formLoad() {
    menuLeft_ = kMenuClosed;
    menuPanel->move(gPx(kMenuClosed), gPx(kMenuTop));
    weekGrid->setCols(8);
    weekGrid->setColWidth(0, kNameColTw);
    layoutPanes();
}

void frmSchedule::setVisible(bool visible) {
    // The main window hides this page when the user leaves it and shows it again
    // on the next visit: that moment is the page's activation.
    const bool coming = visible && isHidden();
    QWidget::setVisible(visible);
    if (coming) gGuard([&] { Form_Activate(); });
}

void frmSchedule::Form_Activate() {
    gChangeFrame(SchedulePane::Week);
    LoadOptions();
}

void frmSchedule::hideAllPanes() {
    for (QFrame* f : {weekPane, static_cast<QFrame*>(basePane), static_cast<QFrame*>(courseEditorPane),
                      static_cast<QFrame*>(courseListPane)})
        f->hide();
}

void frmSchedule::gChangeFrame(int Index) {
    hideAllPanes();
    switch (Index) {
    case SchedulePane::Week:
        weekPane->setGeometry(gPxRect(kPaneLeft, kPaneTop, 8175, 5640));
        layoutPanes();
        weekPane->show();
        shownWeek_ = gWeekOfDate(gTimetable.Term.TermBegin);
        DrawWeek();
        // The wheel and the keys scroll the week from the start.
        weekArea->setFocus();
        break;
    case SchedulePane::BaseSettings:
        LoadOptions();
        LoadTermDates();
        break;
    case SchedulePane::NewCourse:
        OpenCourseEditor(false);
        break;
    case SchedulePane::AllCourses:
        ShowAllCourses();
        break;
    default:
        break;
    }
    // The menu stays above whichever pane is shown.
    menuArrow->raise();
    menuPanel->raise();
}

void frmSchedule::DrawWeek() {
    scheduleTable* t = weekGrid;
    t->clear();

    const QDate d = gTimetable.Term.TermBegin.addDays(qint64(shownWeek_ - 1) * 7);
    const QDate monday = d.addDays(1 - d.dayOfWeek());
    const QDate sunday = monday.addDays(6);
    weekDateLabel->setText(QStringLiteral("%1 年 %2 月 %3 日 -  %4 月 %5 日，第 %6 周")
                               .arg(monday.year())
                               .arg(monday.month(), 2, 10, QLatin1Char('0'))
                               .arg(monday.day(), 2, 10, QLatin1Char('0'))
                               .arg(sunday.month(), 2, 10, QLatin1Char('0'))
                               .arg(sunday.day(), 2, 10, QLatin1Char('0'))
                               .arg(shownWeek_));

    // Sizes before texts: the grid takes no text into a column or row of size
    // 0, so a weekday or period shown again would keep its old name.
    const GridSizes sizes = fittedGridSizes();
    drawnSizes_ = sizes;
    t->setColWidth(0, sizes.nameWidth);
    for (const clsCol& c : gTimetable.gCol) {
        if (c.Index < 1 || c.Index > 7) continue;
        t->setColWidth(c.Index, c.ColIsVisible ? sizes.dayWidth : 0);
        t->setTextMatrix(0, c.Index, c.Name);
    }

    t->setRows(gTimetable.rowCount() + 1);
    t->setRowHeightMin(kRowTw);
    t->setRowHeight(0, kRowTw);
    for (const clsRow& r : gTimetable.gRow)
        t->setRowHeight(r.Index, r.RowIsVisible ? sizes.rowHeight : 0);
    for (const clsRow& r : gTimetable.gRow)
        t->setTextMatrix(r.Index, 0, r.Name);

    for (const clsCourse& c : gTimetable.gCourse) {
        if (!shownInWeek(c, shownWeek_)) continue;
        const QString text = c.Name + QStringLiteral("\r\n") + c.Place + QStringLiteral("\r\n") +
                             QString::number(c.BeginWeek) + QStringLiteral("-") + QString::number(c.EndWeek) +
                             QStringLiteral(" 周");
        for (int day = 1; day <= 7; ++day) {
            for (auto [first, length] : periodRuns(c.Course(day))) {
                // The grid takes no card into a hidden row: a run starts at its
                // first period on screen.
                while (length > 0 && first < t->rows() && t->rowHeight(first) == 0) {
                    ++first;
                    --length;
                }
                if (length > 0) t->setTextMatrix(first, day, text, length, c.Color, long(c.UserColor));
            }
        }
    }
}

void frmSchedule::previousWeekButton_MouseUp(int button, int, int, int) {
    if (button != 1) return;
    if (shownWeek_ > 1) {
        --shownWeek_;
        DrawWeek();
    }
}

void frmSchedule::nextWeekButton_MouseUp(int button, int, int, int) {
    if (button != 1) return;
    const int total = gWeekDiff(gTimetable.Term.TermBegin, gTimetable.Term.TermEnd);
    if (shownWeek_ < total) {
        ++shownWeek_;
        DrawWeek();
    }
}

void frmSchedule::menuArrow_MouseMove() {
    if (!menuOpen_) {
        menuOpen_ = true;
        slideTimer->start();
    }
}

void frmSchedule::Form_MouseMove() {
    if (menuOpen_) {
        menuOpen_ = false;
        slideTimer->start();
    }
}

void frmSchedule::menuEntry_Focus(int Index, bool gotFocus) {
    if (gotFocus) {
        // Tab into the menu opens it at once, with the focused entry lit: the
        // entry must be in view while it has the focus.
        HighlightTab(Index);
        menuOpen_ = true;
        slideTimer->stop();
        menuLeft_ = 0;
        menuPanel->move(0, menuPanel->y());
        return;
    }
    // Tab out of the menu (not on to another entry) slides it away again.
    QWidget* next = QApplication::focusWidget();
    if (next && menuPanel->isAncestorOf(next)) return;
    HighlightTab(-1);
    Form_MouseMove();
}

void frmSchedule::slideTimer_Timer() {
    int left = menuLeft_;
    if (menuOpen_) {
        left += kMenuStep;
        if (left >= 0) {
            left = 0;
            slideTimer->stop();
        }
    } else {
        left -= kMenuStep;
        if (left <= kMenuClosed) {
            left = kMenuClosed;
            slideTimer->stop();
        }
    }
    menuLeft_ = left;
    menuPanel->move(gPx(left), menuPanel->y());
}

void frmSchedule::HighlightTab(int Index) {
    if (Index == hoverTab_) return;
    if (hoverTab_ >= 0) {
        menuIcons[hoverTab_]->setPixmap(menuIconPictures[hoverTab_]);
        QFont f = menuCaptions[hoverTab_]->font();
        f.setUnderline(false);
        menuCaptions[hoverTab_]->setFont(f);
        hoverTab_ = -1;
    }
    if (Index >= 0 && Index < 4) {
        menuIcons[Index]->setPixmap(menuIconHighlights[Index]);
        QFont f = menuCaptions[Index]->font();
        f.setUnderline(true);
        menuCaptions[Index]->setFont(f);
        hoverTab_ = Index;
    }
}

void frmSchedule::LoadOptions() {
    basePane->LoadOptions();
    courseEditorPane->LoadOptions();
    courseListPane->LoadOptions();
}

void frmSchedule::LoadTermDates() {
    basePane->LoadTermDates();
}

void frmSchedule::OpenCourseEditor(bool editing) {
    courseEditorPane->OpenCourseEditor(editing);
}

void frmSchedule::ShowAllCourses() {
    courseListPane->ShowAllCourses();
}

void frmSchedule::layoutPanes() {
    const int w = gTwips(width()) - 1565;
    const int h = gTwips(height()) - kPaneTop;
    for (QFrame* f : {weekPane, static_cast<QFrame*>(basePane), static_cast<QFrame*>(courseEditorPane),
                      static_cast<QFrame*>(courseListPane)})
        f->setGeometry(gPxRect(kPaneLeft, kPaneTop, qMax(w, 0), qMax(h, 0)));

    const int fw = qMax(w, 0);
    const int fh = qMax(h, 0);
    // The grid above, the date line and the week buttons in a strip of their own
    // under it at the pane's bottom right, never over it.
    weekArea->setGeometry(gPxRect(0, 0, fw, qMax(fh - kWeekStripTw, 0)));
    nextWeekButton->move(gPx(fw - 480), gPx(fh - 450));
    previousWeekButton->move(gPx(fw - 900), gPx(fh - 450));
    weekDateLabel->setGeometry(gPxRect(0, fh - 420, qMax(fw - 1000, 0), 360));
    // The cards are placed as the week is drawn: new sizes draw it again.
    if (weekPane->isVisible() && fittedGridSizes() != drawnSizes_) DrawWeek();
}

frmSchedule::GridSizes frmSchedule::fittedGridSizes() const {
    int days = 0, periods = 0;
    for (const clsCol& c : gTimetable.gCol)
        if (c.Index >= 1 && c.Index <= 7 && c.ColIsVisible) ++days;
    for (const clsRow& r : gTimetable.gRow)
        if (r.RowIsVisible) ++periods;
    const QSize room(gTwips(weekArea->maximumViewportSize().width()),
                     gTwips(weekArea->maximumViewportSize().height()));
    const int bar = gTwips(weekArea->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, weekArea));

    // The columns and rows share the room, each at least its designed size;
    // past that the area scrolls, and a scroll bar takes room from the other way.
    const bool tall = kRowTw + periods * kRowTw + kGridMarginTw > room.height();
    const int width = room.width() - (tall ? bar : 0);
    GridSizes s;
    s.nameWidth = qBound(kNameColLeastTw, width - kGridMarginTw - days * kDayColTw, kNameColTw);
    s.dayWidth = share(width - kGridMarginTw - s.nameWidth, days, kDayColTw);
    const bool wide = s.nameWidth + days * s.dayWidth + kGridMarginTw > width;
    const int height = room.height() - (wide ? bar : 0);
    s.rowHeight = share(height - kGridMarginTw - kRowTw, periods, kRowTw);
    return s;
}

void frmSchedule::resizeEvent(QResizeEvent*) {
    gGuard([&] { layoutPanes(); });
}

void frmSchedule::mouseMoveEvent(QMouseEvent*) {
    gGuard([&] { Form_MouseMove(); });
}

bool frmSchedule::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseMove) {
        // Handled here and stopped, so the move does not go on to the parent as
        // well (a move over an entry would otherwise also reach the menu's background).
        bool handled = true;
        gGuard([&] {
            if (watched == menuArrow) {
                menuArrow_MouseMove();
            } else if (watched == menuPanel) {
                HighlightTab(-1);
            } else if (watched == weekPane || watched == basePane || watched == courseEditorPane ||
                       watched == courseListPane || watched == weekDateLabel ||
                       (weekArea && watched == weekArea->viewport())) {
                Form_MouseMove();
            } else {
                handled = false;
                for (int i = 0; i < 4; ++i) {
                    if (watched == menuIcons[i] || watched == menuCaptions[i]) {
                        HighlightTab(i);
                        handled = true;
                    }
                }
            }
        });
        if (handled) return true;
    } else if (e->type() == QEvent::MouseButtonRelease) {
        // An entry's picture opens its pane as its caption does (the caption's
        // own release is its click).
        auto* me = static_cast<QMouseEvent*>(e);
        for (int i = 0; i < 4; ++i) {
            if (watched == menuIcons[i] && me->button() == Qt::LeftButton) {
                gGuard([&] { gChangeFrame(i); });
                return true;
            }
        }
    } else if (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut) {
        for (int i = 0; i < 4; ++i)
            if (watched == menuCaptions[i]) gGuard([&] { menuEntry_Focus(i, e->type() == QEvent::FocusIn); });
    }
    return QWidget::eventFilter(watched, e);
}

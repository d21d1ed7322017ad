#include "timetable/frmScheReport.h"

#include "core/gClock.h"
#include "core/gDialogKeys.h"
#include "core/gError.h"
#include "core/gResources.h"
#include "core/gState.h"
#include "core/gTwips.h"
#include "core/gWeek.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

namespace {
constexpr int kWidthTw = 5700;  // 380 pixels
constexpr int kHeightTw = 5160; // client area, 344 pixels
constexpr int kColumnTw = 1300;
constexpr int kGridLeftTw = 225;
constexpr int kGridTopTw = 1080;
constexpr int kGridHeightTw = 3330; // ten rows of 330

int nowMinutes() {
    return gTimeToMinutes(gTimeNow().toString(QStringLiteral("hh:mm")));
}

QTableWidgetItem* cell(const QString& text, Qt::Alignment align) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(align);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    // A long course or room name is cut in its column; the tip shows it whole.
    item->setToolTip(text);
    return item;
}
} // namespace

frmScheReport::frmScheReport() {
    setWindowTitle(QStringLiteral("课程"));
    setWindowFlag(Qt::Dialog, true);
    setFixedSize(gPxSize(kWidthTw, kHeightTw));

    Label1 = new QLabel(QStringLiteral("今天（Date）的课程："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setGeometry(gPxRect(1020, 240, kWidthTw - 1260, 360));
    QFont bold = Label1->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    Label1->setFont(bold);
    QPalette pal = Label1->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    Label1->setPalette(pal);

    MSFlexGrid1 = new QTableWidget(0, 4, this);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->horizontalHeader()->hide();
    MSFlexGrid1->verticalHeader()->hide();
    MSFlexGrid1->verticalHeader()->setDefaultSectionSize(gPx(330));
    MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    MSFlexGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    MSFlexGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MSFlexGrid1->setWordWrap(false);
    // The time span must read in full in its column: a smaller face where the usual one is too wide.
    QFont face = MSFlexGrid1->font();
    const int room = gPx(kColumnTw) - 10;
    while (QFontMetrics(face).horizontalAdvance(QStringLiteral("00:00 - 00:00")) > room &&
           face.pointSizeF() > 6)
        face.setPointSizeF(face.pointSizeF() - 0.5);
    MSFlexGrid1->setFont(face);
    // The four columns fill the grid exactly, frame included.
    MSFlexGrid1->setGeometry(gPx(kGridLeftTw), gPx(kGridTopTw),
                             4 * gPx(kColumnTw) + 2 * MSFlexGrid1->frameWidth(),
                             gPx(kGridHeightTw) + 2 * MSFlexGrid1->frameWidth());

    Command1 = new QPushButton(QStringLiteral("关闭"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(gPxRect(kWidthTw - 1320, kGridTopTw + kGridHeightTw + 180, 1095, 375));
    Command1->setDefault(true);
    gBindDefaultCancel(this, Command1, Command1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    Timer1->setSingleShot(true);

    connect(Command1, &QPushButton::clicked, this, [this] { gGuard([this] { Command1_Click(); }); });
    connect(Timer1, &QTimer::timeout, this, [this] { gGuard([this] { Timer1_Timer(); }); });
}

void frmScheReport::formLoad() {
    picture_ = gLoadResPicture(124, gResKind::Bitmap, QSize(width(), width() * 17 / 20));
    Label1->setText(QStringLiteral("今天（") + gToday().toString(QStringLiteral("MM 月 dd 日")) +
                    QStringLiteral("）的课程："));
    for (int c = 0; c < 4; ++c)
        MSFlexGrid1->setColumnWidth(c, gPx(kColumnTw));

    const int now = nowMinutes();
    int selected = 0;
    MSFlexGrid1->setRowCount(0);
    for (int p = 1; p < gTodayTimes.size(); ++p) {
        const int begin = gTodayTimes[p][0];
        const int end = gTodayTimes[p][1];
        if (begin == 0) continue;
        const std::array<QString, 3> names = gTodayCourses.value(p);
        const int row = MSFlexGrid1->rowCount();
        MSFlexGrid1->insertRow(row);
        const Qt::Alignment centred = Qt::AlignCenter;
        const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
        MSFlexGrid1->setItem(
            row, 0, cell(gMinutesToTime(begin) + QStringLiteral(" - ") + gMinutesToTime(end), centred));
        MSFlexGrid1->setItem(row, 1, cell(names[2], centred));
        MSFlexGrid1->setItem(row, 2, cell(names[0], left));
        MSFlexGrid1->setItem(row, 3, cell(names[1], left));
        if (now > end) selected = MSFlexGrid1->rowCount();
    }

    if (MSFlexGrid1->rowCount() == 0) {
        // Nothing to show: it goes again unseen.
        Timer1->start();
        return;
    }
    // The first class that has not ended yet, or the first class when all have.
    const int row = selected < MSFlexGrid1->rowCount() ? selected : 0;
    MSFlexGrid1->setCurrentCell(row, 0);
    MSFlexGrid1->scrollToItem(MSFlexGrid1->item(row, 0));
    // The sign-in only loads it: it shows itself, as the main window it stands in for does.
    show();
    raise();
    activateWindow();
}

void frmScheReport::Command1_Click() {
    forms::unload(this);
}

void frmScheReport::Timer1_Timer() {
    Timer1->stop();
    forms::unload(this);
}

void frmScheReport::formUnload() {
    Timer1->stop();
    // The report stands in for the main window after sign-in; the exit, which
    // unloads it too, has already said that the main window is not wanted again.
    if (gCloseMinimizes) return;
    if (QWidget* main = forms::find(QStringLiteral("frmMain"))) {
        main->show();
        main->raise();
    } else {
        // Loading the main window shows it (or, for a hidden start, puts it in the notification area).
        forms::load(QStringLiteral("frmMain"));
    }
}

void frmScheReport::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!picture_.isNull()) p.drawPixmap(0, 0, picture_);
}

void frmScheReport::closeEvent(QCloseEvent* e) {
    e->ignore();
    gGuard([this] { forms::unload(this); });
}

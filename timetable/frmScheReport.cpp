#include "timetable/frmScheReport.h"

#include "core/model/gClock.h"
#include "core/ui/gDialogKeys.h"
#include "core/base/gError.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"
#include "core/model/gState.h"
#include "core/ui/gShellApi.h"
#include "core/ui/gTwips.h"
#include "core/model/gWeek.h"
#include "core/ui/gWindowPlace.h"

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

    titleLabel = new QLabel(QStringLiteral("今天（Date）的课程："), this);
    titleLabel->setObjectName(QStringLiteral("Label1"));
    titleLabel->setTextFormat(Qt::PlainText);
    titleLabel->setGeometry(gPxRect(1020, 240, kWidthTw - 1260, 360));
    QFont bold = titleLabel->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    titleLabel->setFont(bold);
    QPalette pal = titleLabel->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    titleLabel->setPalette(pal);

    classGrid = new QTableWidget(0, 4, this);
    classGrid->setObjectName(QStringLiteral("MSFlexGrid1"));
    // Tab goes on to 关闭; the arrow keys move between the cells.
    classGrid->setTabKeyNavigation(false);
    classGrid->horizontalHeader()->hide();
    classGrid->verticalHeader()->hide();
    classGrid->verticalHeader()->setDefaultSectionSize(gPx(330));
    classGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    classGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    classGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    classGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The time span keeps its width; course, period and room share what is left,
    // 1300 twips each, less when more than ten classes bring the scroll bar.
    classGrid->horizontalHeader()->setMinimumSectionSize(1);
    classGrid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    for (int c = 1; c < 4; ++c)
        classGrid->horizontalHeader()->setSectionResizeMode(c, QHeaderView::Stretch);
    classGrid->setWordWrap(false);
    // The time span must read in full in its column: a smaller face where the usual one is too wide.
    QFont face = classGrid->font();
    const int room = gPx(kColumnTw) - 10;
    while (QFontMetrics(face).horizontalAdvance(QStringLiteral("00:00 - 00:00")) > room &&
           face.pointSizeF() > 6)
        face.setPointSizeF(face.pointSizeF() - 0.5);
    classGrid->setFont(face);
    // The four columns fill the grid exactly, frame included.
    classGrid->setGeometry(gPx(kGridLeftTw), gPx(kGridTopTw),
                           4 * gPx(kColumnTw) + 2 * classGrid->frameWidth(),
                           gPx(kGridHeightTw) + 2 * classGrid->frameWidth());

    closeButton = new QPushButton(QStringLiteral("关闭"), this);
    closeButton->setObjectName(QStringLiteral("Command1"));
    closeButton->setGeometry(gPxRect(kWidthTw - 1320, kGridTopTw + kGridHeightTw + 180, 1095, 375));
    closeButton->setDefault(true);
    gBindDefaultCancel(this, closeButton, closeButton);

    closeTimer = new QTimer(this);
    closeTimer->setObjectName(QStringLiteral("Timer1"));
    closeTimer->setInterval(10);
    closeTimer->setSingleShot(true);

    connect(closeButton, &QPushButton::clicked, this, [this] { gGuard([this] { closeButton_Click(); }); });
    connect(closeTimer, &QTimer::timeout, this, [this] { gGuard([this] { closeTimer_Timer(); }); });
}

void frmScheReport::formLoad() {
    // The picture covers the whole window in its own shape; what is too wide for
    // the window is cut off at the right.
    const QSize natural = gLoadResPicture(Res::ClassPicture, gResKind::Bitmap, QSize()).size();
    picture_ = gLoadResPicture(Res::ClassPicture, gResKind::Bitmap,
                               natural.scaled(size(), Qt::KeepAspectRatioByExpanding));
    titleLabel->setText(QStringLiteral("今天（") + gToday().toString(QStringLiteral("MM 月 dd 日")) +
                        QStringLiteral("）的课程："));
    classGrid->setColumnWidth(0, gPx(kColumnTw));

    const int now = nowMinutes();
    int selected = 0;
    classGrid->setRowCount(0);
    for (int p = 1; p < gTodayTimes.size(); ++p) {
        const int begin = gTodayTimes[p][0];
        const int end = gTodayTimes[p][1];
        if (begin == 0) continue;
        const std::array<QString, 3> names = gTodayCourses.value(p);
        const int row = classGrid->rowCount();
        classGrid->insertRow(row);
        const Qt::Alignment centred = Qt::AlignCenter;
        const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
        classGrid->setItem(
            row, 0, cell(gMinutesToTime(begin) + QStringLiteral(" - ") + gMinutesToTime(end), centred));
        classGrid->setItem(row, 1, cell(names[2], centred));
        classGrid->setItem(row, 2, cell(names[0], left));
        classGrid->setItem(row, 3, cell(names[1], left));
        if (now > end) selected = classGrid->rowCount();
    }

    if (classGrid->rowCount() == 0) {
        // Nothing to show: it goes again unseen.
        closeTimer->start();
        return;
    }
    // The first class that has not ended yet, or the first class when all have.
    const int row = selected < classGrid->rowCount() ? selected : 0;
    classGrid->setCurrentCell(row, 0);
    classGrid->scrollToItem(classGrid->item(row, 0));
    // The sign-in only loads it: it shows itself, as the main window it stands in for does.
    show();
    raise();
    activateWindow();
    // A reminder already up moves aside rather than cover the list.
    if (QWidget* remind = forms::find(Form::frmScheRemind); remind && remind->isVisible())
        gPlaceBeside(remind, this);
}

void frmScheReport::closeButton_Click() {
    forms::unload(this);
}

void frmScheReport::closeTimer_Timer() {
    closeTimer->stop();
    forms::unload(this);
}

void frmScheReport::formUnload() {
    closeTimer->stop();
    // The report stands in for the main window after sign-in; the exit, which
    // unloads it too, has already said that the main window is not wanted again.
    if (gCloseMinimizes) return;
    gShellWindows* shell = gShellWindows::registered();
    if (!shell) return;
    if (QWidget* main = shell->mainWindow()) {
        main->show();
        main->raise();
    } else {
        // Loading the main window shows it (or, for a hidden start, puts it in the notification area).
        shell->loadMainWindow();
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

#include "timetable/scheduleBasePane.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>

#include "core/model/TimetableStore.h"
#include "core/model/clsSchedule.h"
#include "core/model/gDatabase.h"
#include "core/base/gError.h"
#include "core/ui/gFormParts.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "core/model/gWeek.h"
#include "platform/codePage.h"
#include "timetable/schedulePaneParts.h"

namespace {

constexpr int kNameBytes = 16;
// Courses store each period number in two digits.
constexpr int kMaxPeriods = 99;

QString boolText(bool b) {
    return b ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

QString gLeftAnsiBytes(const QString& text, int bytes) {
    int used = 0;
    int i = 0;
    while (i < text.size()) {
        const int n = codepage::ansiCode(text.at(i)) > 255 ? 2 : 1;
        if (used + n > bytes) break;
        used += n;
        ++i;
    }
    // Never leave half of a surrogate pair.
    if (i > 0 && i < text.size() && text.at(i - 1).isHighSurrogate()) --i;
    return text.left(i);
}

scheduleBasePane::scheduleBasePane(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Frame2"));
    setFocusPolicy(Qt::ClickFocus);

    gNewLabel(this, QStringLiteral("开学时间："), 120, 180, 960, 300);
    termBeginPicker = new QDateEdit(this);
    termBeginPicker->setObjectName(QStringLiteral("DTPicker1"));
    termBeginPicker->setCalendarPopup(true);
    termBeginPicker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    termBeginPicker->setGeometry(gPxRect(1100, 120, 1700, 360));
    gNewLabel(this, QStringLiteral("放假时间："), 120, 660, 960, 300);
    termEndPicker = new QDateEdit(this);
    termEndPicker->setObjectName(QStringLiteral("DTPicker2"));
    termEndPicker->setCalendarPopup(true);
    termEndPicker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    termEndPicker->setGeometry(gPxRect(1100, 600, 1700, 360));
    for (QDateEdit* d : {termBeginPicker, termEndPicker})
        connect(d, &QDateEdit::dateChanged, this, [this] { gGuard([&] { ShowWeekCount(); }); });

    weekCountLabel =
        gNewLabel(this, QStringLiteral("本学期共 xx 周。\r\n\r\n本周是第 xx 周。"), 120, 1080, 2700, 840);
    weekCountLabel->setObjectName(QStringLiteral("Label5"));

    for (int i = 1; i <= 7; ++i) {
        const int top = 2040 + (i - 1) * 400;
        auto* box = new QCheckBox(this);
        box->setObjectName(QStringLiteral("Check1_%1").arg(i));
        box->setGeometry(gPxRect(120, top, 280, 300));
        connect(box, &QCheckBox::clicked, this, [this, i] { gGuard([&] { weekdayCheck_Click(i); }); });
        weekdayChecks[i] = box;
        auto* name = gNewLabel(this, QStringLiteral("星期×"), 440, top, 2300, 300);
        name->setObjectName(QStringLiteral("Label9_%1").arg(i));
        name->setCursor(gLoadResCursor(Res::HandCursor));
        name->setToolTip(QStringLiteral("单击修改名称"));
        name->installEventFilter(this);
        weekdayLabels[i] = name;
    }
    weekdayNameEdit = new QLineEdit(this);
    weekdayNameEdit->setObjectName(QStringLiteral("Text2"));
    weekdayNameEdit->resize(gPx(1800), gPx(300));
    weekdayNameEdit->hide();
    weekdayNameEdit->installEventFilter(this);

    periodGrid = new QTableWidget(0, 6, this);
    periodGrid->setObjectName(QStringLiteral("MSFlexGrid1"));
    // Tab goes on to the next control; the arrow keys move between the cells.
    periodGrid->setTabKeyNavigation(false);
    periodGrid->setHorizontalHeaderLabels({QStringLiteral("可见"), QStringLiteral("课时名"),
                                           QStringLiteral("开始时间"), QStringLiteral("结束时间"), QString(),
                                           QString()});
    periodGrid->verticalHeader()->hide();
    periodGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    periodGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    periodGrid->horizontalHeader()->setSectionsClickable(false);
    periodGrid->horizontalHeader()->setStretchLastSection(true);
    periodGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    periodGrid->setColumnWidth(0, gPx(600));
    for (int c = 1; c <= 3; ++c)
        periodGrid->setColumnWidth(c, gPx(1300));
    periodGrid->setColumnHidden(4, true);
    periodGrid->verticalHeader()->setDefaultSectionSize(gPx(300));
    connect(periodGrid, &QTableWidget::cellClicked, this,
            [this](int r, int c) { gGuard([&] { periodGrid_MouseUp(r + 1, c); }); });
    // Scrolling moves the cell away from under the editor: close it.
    connect(periodGrid->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (periodCellEdit->isVisible()) periodGrid->setFocus();
    });
    periodCellEdit = new QLineEdit(this);
    periodCellEdit->setObjectName(QStringLiteral("Text1"));
    periodCellEdit->hide();
    periodCellEdit->installEventFilter(this);

    addPeriodButton = gPaneButton(this, "Command1", QStringLiteral("增加"));
    deletePeriodButton = gPaneButton(this, "Command2", QStringLiteral("删除"));
    saveButton = gPaneButton(this, "Command3", QStringLiteral("保存(&S)"));
    cancelButton = gPaneButton(this, "Command4", QStringLiteral("取消"));
    connect(addPeriodButton, &QPushButton::clicked, this,
            [this] { gGuard([&] { addPeriodButton_Click(); }); });
    connect(deletePeriodButton, &QPushButton::clicked, this,
            [this] { gGuard([&] { deletePeriodButton_Click(periodGrid->currentRow() + 1); }); });
    connect(saveButton, &QPushButton::clicked, this, [this] { gGuard([&] { saveButton_Click(); }); });
    connect(cancelButton, &QPushButton::clicked, this, [this] {
        gGuard([&] {
            if (onCancel) onCancel();
        });
    });
}

void scheduleBasePane::resizeEvent(QResizeEvent*) {
    const int w = gTwips(width());
    const int h = gTwips(height());
    periodGrid->setGeometry(gPxRect(3000, 120, qMax(w - 3120, 600), qMax(h - 1080, 600)));
    addPeriodButton->move(gPx(3000), gPx(h - 840));
    deletePeriodButton->move(gPx(4100), gPx(h - 840));
    saveButton->move(gPx(w - 2240), gPx(h - 840));
    cancelButton->move(gPx(w - 1120), gPx(h - 840));
}

int scheduleBasePane::periodCount() const {
    return periodGrid->rowCount();
}

QString scheduleBasePane::cell(int row, int col) const {
    const QTableWidgetItem* it = periodGrid->item(row - 1, col);
    return it ? it->text() : QString();
}

void scheduleBasePane::setCell(int row, int col, const QString& text) {
    QTableWidgetItem* it = periodGrid->item(row - 1, col);
    if (!it) {
        it = new QTableWidgetItem;
        periodGrid->setItem(row - 1, col, it);
    }
    it->setText(text);
    if (col == 2 || col == 3) it->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void scheduleBasePane::showVisibility(int row) {
    QTableWidgetItem* it = periodGrid->item(row - 1, 0);
    if (!it) {
        it = new QTableWidgetItem;
        periodGrid->setItem(row - 1, 0, it);
    }
    auto* pic = qobject_cast<QLabel*>(periodGrid->cellWidget(row - 1, 0));
    if (!pic) {
        pic = new QLabel;
        pic->setAlignment(Qt::AlignCenter);
        pic->setAttribute(Qt::WA_TransparentForMouseEvents);
        periodGrid->setCellWidget(row - 1, 0, pic);
    }
    const bool visible = cell(row, 4) == QStringLiteral("True");
    pic->setPixmap(
        gLoadResPicture(visible ? Res::ShownMark : Res::HiddenMark, gResKind::Bitmap, QSize(16, 16)));
    pic->setProperty("visiblePeriod", visible);
}

void scheduleBasePane::addPeriodRow(const QString& name, const QString& begin, const QString& end,
                                    bool visible) {
    const int r = periodGrid->rowCount() + 1;
    periodGrid->insertRow(r - 1);
    setCell(r, 1, name);
    setCell(r, 2, begin);
    setCell(r, 3, end);
    setCell(r, 4, boolText(visible));
    setCell(r, 5, QString());
    showVisibility(r);
    addPeriodButton->setEnabled(periodCount() < kMaxPeriods);
}

void scheduleBasePane::LoadOptions() {
    for (const clsCol& c : gTimetable.gCol) {
        if (c.Index < 1 || c.Index > 7) continue;
        weekdayLabels[c.Index]->setText(c.Name);
        weekdayChecks[c.Index]->setChecked(c.ColIsVisible);
    }
    periodCellEdit->hide();
    weekdayNameEdit->hide();
    periodGrid->setRowCount(0);
    addPeriodButton->setEnabled(true);
    for (const clsRow& r : gTimetable.gRow)
        addPeriodRow(r.Name, gMinutesToTime(r.ClassBeginTime), gMinutesToTime(r.ClassEndTime),
                     r.RowIsVisible);
}

void scheduleBasePane::LoadTermDates() {
    termBeginPicker->setDate(gTimetable.Term.TermBegin);
    termEndPicker->setDate(gTimetable.Term.TermEnd);
    ShowWeekCount();
    cancelButton->setShortcut(QKeySequence(Qt::Key_Escape));
    show();
    termBeginPicker->setFocus();
}

void scheduleBasePane::ShowWeekCount() {
    if (termBeginPicker->date() > termEndPicker->date()) {
        weekCountLabel->clear();
        saveButton->setEnabled(false);
        return;
    }
    saveButton->setEnabled(true);
    weekCountLabel->setText(QStringLiteral("本学期共 %1 周。\r\n\r\n本周是第 %2 周。")
                                .arg(gWeekDiff(termBeginPicker->date(), termEndPicker->date()))
                                .arg(gWeekOfDate(termBeginPicker->date())));
}

void scheduleBasePane::weekdayLabel_MouseUp(int i) {
    editWeekday = i;
    const QRect box = weekdayChecks[i]->geometry();
    weekdayNameEdit->move(box.x() + gPx(320), box.y());
    weekdayNameEdit->setText(weekdayLabels[i]->text());
    weekdayNameEdit->show();
    weekdayNameEdit->raise();
    weekdayNameEdit->setFocus();
}

void scheduleBasePane::weekdayNameEdit_LostFocus() {
    weekdayNameEdit->hide();
    const QString s = weekdayNameEdit->text().trimmed();
    if (!s.isEmpty() && editWeekday >= 1 && editWeekday <= 7)
        weekdayLabels[editWeekday]->setText(gLeftAnsiBytes(s, kNameBytes));
}

void scheduleBasePane::weekdayCheck_Click(int i) {
    for (int k = 1; k <= 7; ++k)
        if (weekdayChecks[k]->isChecked()) return;
    weekdayChecks[i]->setChecked(true);
    gMsgBox(Msg::KeepOneAtLeast, gButtonSet::Close);
}

bool scheduleBasePane::otherRowVisible(int row) const {
    for (int r = 1; r <= periodCount(); ++r)
        if (r != row && cell(r, 4) == QStringLiteral("True")) return true;
    return false;
}

void scheduleBasePane::periodGrid_MouseUp(int row, int col) {
    if (periodCellEdit->isVisible() || row < 1 || row > periodCount()) return;
    editCol = col;
    editRow = row;
    if (col == 0) {
        if (!otherRowVisible(row)) {
            gMsgBox(Msg::KeepOneAtLeast, gButtonSet::Close);
            return;
        }
        setCell(row, 4, boolText(cell(row, 4) != QStringLiteral("True")));
        showVisibility(row);
    } else if (col >= 1 && col <= 3) {
        const QRect r = periodGrid->visualItemRect(periodGrid->item(row - 1, col));
        const QPoint at = periodGrid->viewport()->mapTo(this, r.topLeft());
        periodCellEdit->setGeometry(at.x(), at.y(), r.width() + gPx(30), r.height() + gPx(30));
        periodCellEdit->setText(cell(row, col));
        periodCellEdit->show();
        periodCellEdit->raise();
        periodCellEdit->setFocus();
    }
}

void scheduleBasePane::periodCellEdit_LostFocus() {
    periodCellEdit->hide();
    if (editRow < 1 || editRow > periodCount()) return;
    const QString s = periodCellEdit->text().trimmed();
    if (editCol == 1) {
        setCell(editRow, 1, gLeftAnsiBytes(s, kNameBytes));
    } else if (editCol == 2 || editCol == 3) {
        const int m = gTimeToMinutes(s);
        if (m != 0) setCell(editRow, editCol, gMinutesToTime(m));
    }
}

void scheduleBasePane::addPeriodButton_Click() {
    if (periodCount() >= kMaxPeriods) return;
    addPeriodRow(QString(), QString(), QString(), true);
    // The new period in view, its name to be typed first.
    const int row = periodCount();
    periodGrid->setCurrentCell(row - 1, 1);
    periodGrid->scrollToItem(periodGrid->item(row - 1, 1));
    periodGrid_MouseUp(row, 1);
}

void scheduleBasePane::deletePeriodButton_Click(int row) {
    if (row < 1 || row > periodCount()) return;
    // The last period, and the last visible one, stay.
    if (!otherRowVisible(row) || periodCount() <= 1) {
        gMsgBox(Msg::KeepOneAtLeast, gButtonSet::Close);
        return;
    }
    periodGrid->removeRow(row - 1);
    addPeriodButton->setEnabled(periodCount() < kMaxPeriods);
}

void scheduleBasePane::SortPeriodRows() {
    const int n = periodCount();
    QVector<int> t(n + 1);
    for (int r = 1; r <= n; ++r)
        t[r] = gTimeToMinutes(cell(r, 2));
    for (int i = n; i >= 1; --i) {
        for (int j = 1; j <= i - 1; ++j) {
            if (t[j] > t[j + 1]) {
                for (int c = 1; c <= 5; ++c) {
                    const QString a = cell(j, c);
                    setCell(j, c, cell(j + 1, c));
                    setCell(j + 1, c, a);
                }
                std::swap(t[j], t[j + 1]);
                showVisibility(j);
                showVisibility(j + 1);
            }
        }
    }
}

bool scheduleBasePane::saveButton_Click() {
    if (termBeginPicker->date() > termEndPicker->date()) {
        gMsgBox(Msg::TermStartsAfterEnd, gButtonSet::Close);
        return false;
    }
    SortPeriodRows();
    const int n = periodCount();
    for (int r = 1; r <= n; ++r) {
        if (cell(r, 1).isEmpty() || cell(r, 2).isEmpty() || cell(r, 3).isEmpty()) {
            gMsgBox(Msg::PeriodCellEmpty, gButtonSet::Close);
            return false;
        }
    }
    for (int r = 1; r <= n; ++r) {
        if (gTimeToMinutes(cell(r, 2)) >= gTimeToMinutes(cell(r, 3))) {
            gMsgBox(Msg::PeriodBeginNotBeforeEnd, gButtonSet::Close, QString::number(r));
            return false;
        }
        if (r < n && gTimeToMinutes(cell(r, 3)) > gTimeToMinutes(cell(r + 1, 2))) {
            gMsgBox(Msg::PeriodsOverlap, gButtonSet::Close, QString::number(r + 1), QString::number(r));
            return false;
        }
    }
    try {
        rewriteTables();
    } catch (...) {
        // The transaction was rolled back: the old settings are all still there.
        gShowErrorBox(true);
        return false;
    }
    gTimetable.gGetSchedule();
    if (onSaved) onSaved();
    return true;
}

void scheduleBasePane::rewriteTables() {
    QList<TimetableWeekday> weekdays;
    for (int i = 1; i <= 7; ++i)
        weekdays.append({weekdayLabels[i]->text(), weekdayChecks[i]->isChecked()});
    QList<TimetablePeriod> periods;
    for (int r = 1; r <= periodCount(); ++r)
        periods.append({cell(r, 1), int(gTimeToMinutes(cell(r, 2))), int(gTimeToMinutes(cell(r, 3))),
                        cell(r, 4) == QStringLiteral("True")});
    TimetableStore(gConnection).saveBase(termBeginPicker->date(), termEndPicker->date(), weekdays, periods);
}

bool scheduleBasePane::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::FocusOut) {
        if (watched == periodCellEdit) gGuard([&] { periodCellEdit_LostFocus(); });
        if (watched == weekdayNameEdit) gGuard([&] { weekdayNameEdit_LostFocus(); });
    } else if (e->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == periodCellEdit) periodGrid->setFocus();
            if (watched == weekdayNameEdit) setFocus();
        }
    } else if (e->type() == QEvent::MouseButtonRelease) {
        if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
            for (int i = 1; i <= 7; ++i) {
                if (watched == weekdayLabels[i]) {
                    gGuard([&] { weekdayLabel_MouseUp(i); });
                    return true;
                }
            }
        }
    }
    return QFrame::eventFilter(watched, e);
}

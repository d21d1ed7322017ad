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

#include "core/TimetableStore.h"
#include "core/clsSchedule.h"
#include "core/gDatabase.h"
#include "core/gError.h"
#include "core/gFormParts.h"
#include "core/gMsgBox.h"
#include "core/gResources.h"
#include "core/gState.h"
#include "core/gTwips.h"
#include "core/gWeek.h"
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
    DTPicker1 = new QDateEdit(this);
    DTPicker1->setObjectName(QStringLiteral("DTPicker1"));
    DTPicker1->setCalendarPopup(true);
    DTPicker1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    DTPicker1->setGeometry(gPxRect(1100, 120, 1700, 360));
    gNewLabel(this, QStringLiteral("放假时间："), 120, 660, 960, 300);
    DTPicker2 = new QDateEdit(this);
    DTPicker2->setObjectName(QStringLiteral("DTPicker2"));
    DTPicker2->setCalendarPopup(true);
    DTPicker2->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    DTPicker2->setGeometry(gPxRect(1100, 600, 1700, 360));
    for (QDateEdit* d : {DTPicker1, DTPicker2})
        connect(d, &QDateEdit::dateChanged, this, [this] { gGuard([&] { ShowWeekCount(); }); });

    Label5 =
        gNewLabel(this, QStringLiteral("本学期共 xx 周。\r\n\r\n本周是第 xx 周。"), 120, 1080, 2700, 840);
    Label5->setObjectName(QStringLiteral("Label5"));

    for (int i = 1; i <= 7; ++i) {
        const int top = 2040 + (i - 1) * 400;
        auto* box = new QCheckBox(this);
        box->setObjectName(QStringLiteral("Check1_%1").arg(i));
        box->setGeometry(gPxRect(120, top, 280, 300));
        connect(box, &QCheckBox::clicked, this, [this, i] { gGuard([&] { Check1_Click(i); }); });
        Check1[i] = box;
        auto* name = gNewLabel(this, QStringLiteral("星期×"), 440, top, 2300, 300);
        name->setObjectName(QStringLiteral("Label9_%1").arg(i));
        name->setCursor(gLoadResCursor(101));
        name->setToolTip(QStringLiteral("单击修改名称"));
        name->installEventFilter(this);
        Label9[i] = name;
    }
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->resize(gPx(1800), gPx(300));
    Text2->hide();
    Text2->installEventFilter(this);

    MSFlexGrid1 = new QTableWidget(0, 6, this);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setHorizontalHeaderLabels({QStringLiteral("可见"), QStringLiteral("课时名"),
                                            QStringLiteral("开始时间"), QStringLiteral("结束时间"), QString(),
                                            QString()});
    MSFlexGrid1->verticalHeader()->hide();
    MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    MSFlexGrid1->horizontalHeader()->setSectionsClickable(false);
    MSFlexGrid1->horizontalHeader()->setStretchLastSection(true);
    MSFlexGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MSFlexGrid1->setColumnWidth(0, gPx(600));
    for (int c = 1; c <= 3; ++c)
        MSFlexGrid1->setColumnWidth(c, gPx(1300));
    MSFlexGrid1->setColumnHidden(4, true);
    MSFlexGrid1->verticalHeader()->setDefaultSectionSize(gPx(300));
    connect(MSFlexGrid1, &QTableWidget::cellClicked, this,
            [this](int r, int c) { gGuard([&] { MSFlexGrid1_MouseUp(r + 1, c); }); });
    // Scrolling moves the cell away from under the editor: close it.
    connect(MSFlexGrid1->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (Text1->isVisible()) MSFlexGrid1->setFocus();
    });
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->hide();
    Text1->installEventFilter(this);

    Command1 = gPaneButton(this, "Command1", QStringLiteral("增加"));
    Command2 = gPaneButton(this, "Command2", QStringLiteral("删除"));
    Command3 = gPaneButton(this, "Command3", QStringLiteral("保存(&S)"));
    Command4 = gPaneButton(this, "Command4", QStringLiteral("取消"));
    connect(Command1, &QPushButton::clicked, this, [this] { gGuard([&] { Command1_Click(); }); });
    connect(Command2, &QPushButton::clicked, this,
            [this] { gGuard([&] { Command2_Click(MSFlexGrid1->currentRow() + 1); }); });
    connect(Command3, &QPushButton::clicked, this, [this] { gGuard([&] { Command3_Click(); }); });
    connect(Command4, &QPushButton::clicked, this, [this] {
        gGuard([&] {
            if (onCancel) onCancel();
        });
    });
}

void scheduleBasePane::resizeEvent(QResizeEvent*) {
    const int w = gTwips(width());
    const int h = gTwips(height());
    MSFlexGrid1->setGeometry(gPxRect(3000, 120, qMax(w - 3120, 600), qMax(h - 1080, 600)));
    Command1->move(gPx(3000), gPx(h - 840));
    Command2->move(gPx(4100), gPx(h - 840));
    Command3->move(gPx(w - 2240), gPx(h - 840));
    Command4->move(gPx(w - 1120), gPx(h - 840));
}

int scheduleBasePane::periodCount() const {
    return MSFlexGrid1->rowCount();
}

QString scheduleBasePane::cell(int row, int col) const {
    const QTableWidgetItem* it = MSFlexGrid1->item(row - 1, col);
    return it ? it->text() : QString();
}

void scheduleBasePane::setCell(int row, int col, const QString& text) {
    QTableWidgetItem* it = MSFlexGrid1->item(row - 1, col);
    if (!it) {
        it = new QTableWidgetItem;
        MSFlexGrid1->setItem(row - 1, col, it);
    }
    it->setText(text);
    if (col == 2 || col == 3) it->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void scheduleBasePane::showVisibility(int row) {
    QTableWidgetItem* it = MSFlexGrid1->item(row - 1, 0);
    if (!it) {
        it = new QTableWidgetItem;
        MSFlexGrid1->setItem(row - 1, 0, it);
    }
    auto* pic = qobject_cast<QLabel*>(MSFlexGrid1->cellWidget(row - 1, 0));
    if (!pic) {
        pic = new QLabel;
        pic->setAlignment(Qt::AlignCenter);
        pic->setAttribute(Qt::WA_TransparentForMouseEvents);
        MSFlexGrid1->setCellWidget(row - 1, 0, pic);
    }
    const bool visible = cell(row, 4) == QStringLiteral("True");
    pic->setPixmap(gLoadResPicture(visible ? 201 : 200, gResKind::Bitmap, QSize(16, 16)));
    pic->setProperty("visiblePeriod", visible);
}

void scheduleBasePane::addPeriodRow(const QString& name, const QString& begin, const QString& end,
                                    bool visible) {
    const int r = MSFlexGrid1->rowCount() + 1;
    MSFlexGrid1->insertRow(r - 1);
    setCell(r, 1, name);
    setCell(r, 2, begin);
    setCell(r, 3, end);
    setCell(r, 4, boolText(visible));
    setCell(r, 5, QString());
    showVisibility(r);
    Command1->setEnabled(periodCount() < kMaxPeriods);
}

void scheduleBasePane::LoadOptions() {
    for (const clsCol& c : gTimetable.gCol) {
        if (c.Index < 1 || c.Index > 7) continue;
        Label9[c.Index]->setText(c.Name);
        Check1[c.Index]->setChecked(c.ColIsVisible);
    }
    Text1->hide();
    Text2->hide();
    MSFlexGrid1->setRowCount(0);
    Command1->setEnabled(true);
    for (const clsRow& r : gTimetable.gRow)
        addPeriodRow(r.Name, gMinutesToTime(r.ClassBeginTime), gMinutesToTime(r.ClassEndTime),
                     r.RowIsVisible);
}

void scheduleBasePane::LoadTermDates() {
    DTPicker1->setDate(gTimetable.Term.TermBegin);
    DTPicker2->setDate(gTimetable.Term.TermEnd);
    ShowWeekCount();
    Command4->setShortcut(QKeySequence(Qt::Key_Escape));
    show();
    DTPicker1->setFocus();
}

void scheduleBasePane::ShowWeekCount() {
    if (DTPicker1->date() > DTPicker2->date()) {
        Label5->clear();
        Command3->setEnabled(false);
        return;
    }
    Command3->setEnabled(true);
    Label5->setText(QStringLiteral("本学期共 %1 周。\r\n\r\n本周是第 %2 周。")
                        .arg(gWeekDiff(DTPicker1->date(), DTPicker2->date()))
                        .arg(gWeekOfDate(DTPicker1->date())));
}

void scheduleBasePane::Label9_MouseUp(int i) {
    editWeekday = i;
    const QRect box = Check1[i]->geometry();
    Text2->move(box.x() + gPx(320), box.y());
    Text2->setText(Label9[i]->text());
    Text2->show();
    Text2->raise();
    Text2->setFocus();
}

void scheduleBasePane::Text2_LostFocus() {
    Text2->hide();
    const QString s = Text2->text().trimmed();
    if (!s.isEmpty() && editWeekday >= 1 && editWeekday <= 7)
        Label9[editWeekday]->setText(gLeftAnsiBytes(s, kNameBytes));
}

void scheduleBasePane::Check1_Click(int i) {
    for (int k = 1; k <= 7; ++k)
        if (Check1[k]->isChecked()) return;
    Check1[i]->setChecked(true);
    gMsgBox(Msg::KeepOneAtLeast, gButtonSet::Close);
}

bool scheduleBasePane::otherRowVisible(int row) const {
    for (int r = 1; r <= periodCount(); ++r)
        if (r != row && cell(r, 4) == QStringLiteral("True")) return true;
    return false;
}

void scheduleBasePane::MSFlexGrid1_MouseUp(int row, int col) {
    if (Text1->isVisible() || row < 1 || row > periodCount()) return;
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
        const QRect r = MSFlexGrid1->visualItemRect(MSFlexGrid1->item(row - 1, col));
        const QPoint at = MSFlexGrid1->viewport()->mapTo(this, r.topLeft());
        Text1->setGeometry(at.x(), at.y(), r.width() + gPx(30), r.height() + gPx(30));
        Text1->setText(cell(row, col));
        Text1->show();
        Text1->raise();
        Text1->setFocus();
    }
}

void scheduleBasePane::Text1_LostFocus() {
    Text1->hide();
    if (editRow < 1 || editRow > periodCount()) return;
    const QString s = Text1->text().trimmed();
    if (editCol == 1) {
        setCell(editRow, 1, gLeftAnsiBytes(s, kNameBytes));
    } else if (editCol == 2 || editCol == 3) {
        const int m = gTimeToMinutes(s);
        if (m != 0) setCell(editRow, editCol, gMinutesToTime(m));
    }
}

void scheduleBasePane::Command1_Click() {
    if (periodCount() >= kMaxPeriods) return;
    addPeriodRow(QString(), QString(), QString(), true);
}

void scheduleBasePane::Command2_Click(int row) {
    if (row < 1 || row > periodCount()) return;
    // The last period, and the last visible one, stay.
    if (!otherRowVisible(row) || periodCount() <= 1) {
        gMsgBox(Msg::KeepOneAtLeast, gButtonSet::Close);
        return;
    }
    MSFlexGrid1->removeRow(row - 1);
    Command1->setEnabled(periodCount() < kMaxPeriods);
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

bool scheduleBasePane::Command3_Click() {
    if (DTPicker1->date() > DTPicker2->date()) {
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
        weekdays.append({Label9[i]->text(), Check1[i]->isChecked()});
    QList<TimetablePeriod> periods;
    for (int r = 1; r <= periodCount(); ++r)
        periods.append({cell(r, 1), int(gTimeToMinutes(cell(r, 2))), int(gTimeToMinutes(cell(r, 3))),
                        cell(r, 4) == QStringLiteral("True")});
    TimetableStore(gConnection).saveBase(DTPicker1->date(), DTPicker2->date(), weekdays, periods);
}

bool scheduleBasePane::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::FocusOut) {
        if (watched == Text1) gGuard([&] { Text1_LostFocus(); });
        if (watched == Text2) gGuard([&] { Text2_LostFocus(); });
    } else if (e->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == Text1) MSFlexGrid1->setFocus();
            if (watched == Text2) setFocus();
        }
    } else if (e->type() == QEvent::MouseButtonRelease) {
        if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
            for (int i = 1; i <= 7; ++i) {
                if (watched == Label9[i]) {
                    gGuard([&] { Label9_MouseUp(i); });
                    return true;
                }
            }
        }
    }
    return QFrame::eventFilter(watched, e);
}

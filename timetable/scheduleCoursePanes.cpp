#include "timetable/scheduleCoursePanes.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <utility>

#include "controls/scheduleBackground.h"
#include "controls/scheduleColorSet.h"
#include "core/TimetableStore.h"
#include "core/clsSchedule.h"
#include "core/gConvert.h"
#include "core/gDatabase.h"
#include "core/gError.h"
#include "core/gFormParts.h"
#include "core/gMsgBox.h"
#include "core/gState.h"
#include "core/gTwips.h"
#include "core/gWeek.h"
#include "timetable/schedulePaneParts.h"

namespace {

constexpr long kDefaultUserColor = 14589563; // &HDE9F7B

QLabel* title(QWidget* parent, const char* name, const QString& text) {
    QLabel* t = gNewLabel(parent, text, 120, 60, 4000, 360);
    t->setObjectName(QLatin1String(name));
    QFont f = t->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    t->setFont(f);
    return t;
}

// A stored week the shortened term no longer lists gets an entry of its own, so
// saving the course without touching its weeks keeps them.
void selectWeek(QComboBox* combo, int week) {
    if (week < 1 || week > combo->count()) combo->addItem(QString::number(week));
    combo->setCurrentIndex(week >= 1 && week <= combo->count() ? week - 1 : combo->count() - 1);
}

} // namespace

QString gPeriodsText(const QList<int>& periods) {
    QString s;
    for (int p : periods)
        s += QStringLiteral("%1").arg(p, 2, 10, QLatin1Char('0'));
    return s;
}

// ---- editor ----

scheduleCourseEditor::scheduleCourseEditor(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Frame3"));
    Label10 = title(this, "Label10", QStringLiteral("新课程"));

    gNewLabel(this, QStringLiteral("课程名："), 120, 540, 870, 300);
    Text3 = new QLineEdit(this);
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->setGeometry(gPxRect(1000, 480, 2600, 360));
    gNewLabel(this, QStringLiteral("课室："), 3840, 540, 700, 300);
    Text4 = new QLineEdit(this);
    Text4->setObjectName(QStringLiteral("Text4"));
    Text4->setGeometry(gPxRect(4560, 480, 2600, 360));
    for (QLineEdit* t : {Text3, Text4})
        connect(t, &QLineEdit::textChanged, this, [this] { gGuard([&] { Text_Change(); }); });

    gNewLabel(this, QStringLiteral("星期："), 120, 960, 1500, 300);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(gPxRect(120, 1260, 1700, 2100));
    connect(List1, &QListWidget::itemClicked, this, [this] { gGuard([&] { List1_Click(); }); });
    connect(List1, &QListWidget::currentRowChanged, this, [this] { gGuard([&] { List1_Click(); }); });

    gNewLabel(this, QStringLiteral("课时："), 2000, 960, 1500, 300);
    List2 = new QListWidget(this);
    List2->setObjectName(QStringLiteral("List2"));
    List2->setSelectionMode(QAbstractItemView::MultiSelection);
    List2->setGeometry(gPxRect(2000, 1260, 1900, 2100));
    // Whatever changed the selection (a click, Space, Shift or a drag), the
    // choice follows what the list shows.
    connect(List2, &QListWidget::itemSelectionChanged, this, [this] {
        gGuard([&] {
            if (showingChoice_) return;
            for (int p = 0; p < List2->count(); ++p)
                List2_Click(p);
        });
    });

    gNewLabel(this, "WeekFrom", QStringLiteral("周次：从第"), 4100, 1320, 1000, 300);
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setGeometry(gPxRect(5100, 1260, 800, 360));
    gNewLabel(this, "WeekTo", QStringLiteral("周 到 第"), 5980, 1320, 780, 300);
    Combo2 = new QComboBox(this);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setGeometry(gPxRect(6760, 1260, 800, 360));
    gNewLabel(this, "WeekEnd", QStringLiteral("周"), 7620, 1320, 300, 300);
    for (QComboBox* c : {Combo1, Combo2})
        connect(c, &QComboBox::activated, this, [this] { gGuard([&] { Combo_Click(); }); });

    static const char* rules[] = {"每周", "单周", "双周"};
    for (int i = 0; i < 3; ++i) {
        Option1[i] = new QRadioButton(QString::fromUtf8(rules[i]), this);
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        Option1[i]->setGeometry(gPxRect(4100 + i * 1100, 1860, 1000, 330));
    }

    // High enough that the buttons of a short pane stay clear of the colours.
    gNewLabel(this, QStringLiteral("颜色："), 120, 3420, 1500, 300);
    scheduleColorSet1 = new scheduleColorSet(this);
    scheduleColorSet1->setObjectName(QStringLiteral("scheduleColorSet1"));
    scheduleColorSet1->move(gPx(120), gPx(3720));

    Command5 = gPaneButton(this, "Command5", QStringLiteral("增加(&S)"));
    Command6 = gPaneButton(this, "Command6", QStringLiteral("取消"));
    connect(Command5, &QPushButton::clicked, this, [this] { gGuard([&] { Command5_Click(); }); });
    connect(Command6, &QPushButton::clicked, this, [this] { gGuard([&] { Command6_Click(); }); });
}

void scheduleCourseEditor::resizeEvent(QResizeEvent*) {
    const int w = gTwips(width());
    const int h = gTwips(height());
    Command5->move(gPx(w - 2240), gPx(h - 480));
    Command6->move(gPx(w - 1120), gPx(h - 480));
    // A pane narrower than designed draws the week range closer together, so its
    // last "周" stays inside.
    const bool tight = w < 7920 + 60;
    const struct {
        QWidget* widget;
        int left, width, tightLeft, tightWidth;
    } week[] = {{findChild<QLabel*>(QStringLiteral("WeekFrom")), 4100, 1000, 4000, 900},
                {Combo1, 5100, 800, 4900, 720},
                {findChild<QLabel*>(QStringLiteral("WeekTo")), 5980, 780, 5680, 720},
                {Combo2, 6760, 800, 6400, 720},
                {findChild<QLabel*>(QStringLiteral("WeekEnd")), 7620, 300, 7180, 240}};
    for (const auto& p : week)
        if (p.widget)
            p.widget->setGeometry(gPx(tight ? p.tightLeft : p.left), p.widget->y(),
                                  gPx(tight ? p.tightWidth : p.width), p.widget->height());
}

void scheduleCourseEditor::resetChoice() {
    choice_ = QVector<QVector<bool>>(8, QVector<bool>(List2->count() + 1, false));
}

bool scheduleCourseEditor::periodChoice(int weekday, int period) const {
    if (weekday < 1 || weekday >= choice_.size()) return false;
    if (period < 1 || period >= choice_.at(weekday).size()) return false;
    return choice_.at(weekday).at(period);
}

void scheduleCourseEditor::LoadOptions() {
    List1->blockSignals(true);
    List1->clear();
    for (const clsCol& c : gTimetable.gCol)
        List1->addItem(c.Name);
    List1->blockSignals(false);
    scheduleColorSet1->setColor(0);
    scheduleColorSet1->setUserColor(kDefaultUserColor);
    List2->clear();
    for (const clsRow& r : gTimetable.gRow)
        List2->addItem(r.Name);
    resetChoice();
    const int total = gWeekDiff(gTimetable.Term.TermBegin, gTimetable.Term.TermEnd);
    Combo1->clear();
    Combo2->clear();
    for (int i = 1; i <= total; ++i) {
        Combo1->addItem(QString::number(i));
        Combo2->addItem(QString::number(i));
    }
}

void scheduleCourseEditor::OpenCourseEditor(bool editMode) {
    List1->setCurrentRow(0);
    Command6->setShortcut(QKeySequence(Qt::Key_Escape));
    resetChoice();
    const int periods = List2->count();
    if (editMode) {
        editIndex_ = list_ ? list_->List3->currentRow() : -1;
        const clsCourse& c = gTimetable.Course(editIndex_ + 1);
        for (int d = 1; d <= 7; ++d) {
            for (double v : c.Course(d)) {
                const int p = int(v);
                if (p >= 1 && p <= periods) choice_[d][p] = true;
            }
        }
        selectWeek(Combo1, c.BeginWeek);
        selectWeek(Combo2, c.EndWeek);
        Text3->setText(c.Name);
        Text4->setText(c.Place);
        Option1[qBound(0, int(c.DoubleWeek), 2)]->setChecked(true);
        Command5->setEnabled(true);
        scheduleColorSet1->setUserColor(list_->scheduleBackground1->userColor());
        // A stored colour without a swatch shows as the first, as on its card,
        // rather than as whatever the last course left chosen.
        scheduleColorSet1->setColor(0);
        scheduleColorSet1->setColor(list_->scheduleBackground1->color());
        Command5->setText(QStringLiteral("保存(&S)"));
        Label10->setText(QStringLiteral("编辑课程"));
        editingCourse_ = true;
    } else {
        Combo1->setCurrentIndex(0);
        Combo2->setCurrentIndex(Combo2->count() - 1);
        Text3->clear();
        Text4->clear();
        Option1[0]->setChecked(true);
        Command5->setEnabled(false);
        scheduleColorSet1->setColor(0);
        Command5->setText(QStringLiteral("增加(&S)"));
        Label10->setText(QStringLiteral("新课程"));
        editingCourse_ = false;
    }
    List1->setCurrentRow(0);
    List1_Click();
    show();
    Text3->setFocus();
}

void scheduleCourseEditor::List1_Click() {
    const int d = List1->currentRow() + 1;
    if (d < 1 || d > 7) return;
    // Showing the weekday's choice is no choice of the user's.
    const bool was = std::exchange(showingChoice_, true);
    List2->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
    for (int p = 0; p < List2->count(); ++p)
        List2->item(p)->setSelected(periodChoice(d, p + 1));
    showingChoice_ = was;
}

void scheduleCourseEditor::List2_Click(int index) {
    const int d = List1->currentRow() + 1;
    if (d < 1 || d > 7 || index < 0 || index >= List2->count()) return;
    if (d < choice_.size() && index + 1 < choice_.at(d).size())
        choice_[d][index + 1] = List2->item(index)->isSelected();
}

void scheduleCourseEditor::Text_Change() {
    Command5->setEnabled(!Text3->text().isEmpty() && !Text4->text().isEmpty());
}

void scheduleCourseEditor::Combo_Click() {
    Command5->setEnabled(gVal(Combo2->currentText()) >= gVal(Combo1->currentText()));
}

bool scheduleCourseEditor::Command5_Click() {
    const int idx = editingCourse_ ? editIndex_ : -1;
    try {
        TimetableCourseRow row;
        row.name = Text3->text();
        row.place = Text4->text();
        row.beginWeek = int(gVal(Combo1->currentText()));
        row.endWeek = int(gVal(Combo2->currentText()));
        for (int i = 0; i < 3; ++i)
            if (Option1[i]->isChecked()) row.doubleWeek = i;
        row.color = scheduleColorSet1->color();
        row.userColor = qlonglong(scheduleColorSet1->userColor());
        for (int d = 1; d <= 7; ++d) {
            QList<int> chosen;
            for (int p = 1; p < choice_.at(d).size(); ++p)
                if (choice_.at(d).at(p)) chosen.append(p);
            row.weekdays[d - 1] = gPeriodsText(chosen);
        }
        TimetableStore store(gConnection);
        if (editingCourse_)
            store.updateCourse(idx, row);
        else
            store.addCourse(row);
    } catch (...) {
        // Nothing was written (a row is written whole or not at all); the editor keeps its text.
        gShowErrorBox(true);
        return false;
    }
    gTimetable.gGetSchedule();
    if (onReload) onReload();
    if (editingCourse_) {
        backToList(idx);
    } else if (onNewDone) {
        onNewDone();
    }
    return true;
}

void scheduleCourseEditor::backToList(int index) {
    if (!list_) return;
    list_->show();
    hide();
    list_->selectCourse(-1);
    list_->selectCourse(index);
}

void scheduleCourseEditor::Command6_Click() {
    if (editingCourse_) {
        backToList(list_ ? list_->List3->currentRow() : -1);
    } else if (onNewDone) {
        onNewDone();
    }
}

// ---- course list ----

scheduleCourseList::scheduleCourseList(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Frame4"));
    Label19 = title(this, "Label19", QStringLiteral("所有课程"));
    List3 = new QListWidget(this);
    List3->setObjectName(QStringLiteral("List3"));
    connect(List3, &QListWidget::currentRowChanged, this, [this] { gGuard([&] { List3_Click(); }); });
    Text5 = new QPlainTextEdit(this);
    Text5->setObjectName(QStringLiteral("Text5"));
    Text5->setReadOnly(true);
    scheduleBackground1 = new scheduleBackground(this);
    scheduleBackground1->setObjectName(QStringLiteral("scheduleBackground1"));
    scheduleBackground1->hide();
    Command8 = gPaneButton(this, "Command8", QStringLiteral("编辑"));
    Command9 = gPaneButton(this, "Command9", QStringLiteral("删除"));
    Command7 = gPaneButton(this, "Command7", QStringLiteral("返回"));
    connect(Command8, &QPushButton::clicked, this, [this] { gGuard([&] { Command8_Click(); }); });
    connect(Command9, &QPushButton::clicked, this, [this] { gGuard([&] { Command9_Click(); }); });
    connect(Command7, &QPushButton::clicked, this, [this] {
        gGuard([&] {
            if (onBack) onBack();
        });
    });
}

void scheduleCourseList::resizeEvent(QResizeEvent*) {
    const int w = gTwips(width());
    const int h = gTwips(height());
    List3->setGeometry(gPxRect(120, 480, 2800, qMax(h - 600, 600)));
    Text5->setGeometry(gPxRect(3100, 480, qMax(w - 3220, 600), qMax(h - 1920, 600)));
    scheduleBackground1->setGeometry(gPxRect(3100, h - 1320, 1500, 720));
    Command8->move(gPx(w - 3360), gPx(h - 480));
    Command9->move(gPx(w - 2240), gPx(h - 480));
    Command7->move(gPx(w - 1120), gPx(h - 480));
}

void scheduleCourseList::LoadOptions() {
    List3->blockSignals(true);
    List3->clear();
    for (const clsCourse& c : gTimetable.gCourse)
        List3->addItem(c.Name);
    List3->blockSignals(false);
}

void scheduleCourseList::selectCourse(int index) {
    List3->setCurrentRow(index);
    List3_Click();
}

void scheduleCourseList::ShowAllCourses() {
    const bool any = List3->count() > 0;
    if (any) selectCourse(0);
    scheduleBackground1->setVisible(any);
    Command8->setEnabled(any);
    Command9->setEnabled(any);
    if (!any) Text5->clear();
    Command7->setShortcut(QKeySequence(Qt::Key_Escape));
    show();
    List3->setFocus();
}

void scheduleCourseList::List3_Click() {
    const int k = List3->currentRow() + 1;
    if (k < 1 || k > gTimetable.CourseCount()) return;
    const clsCourse& c = gTimetable.Course(k);
    const QString crlf = QStringLiteral("\r\n");
    QString s = QStringLiteral("课程名：") + c.Name + crlf + QStringLiteral("课室：") + c.Place + crlf +
                QStringLiteral("从第 %1 周 到 第 %2 周").arg(c.BeginWeek).arg(c.EndWeek) + crlf;
    switch (c.DoubleWeek) {
    case 1:
        s += QStringLiteral("只在 单周 有课");
        break;
    case 2:
        s += QStringLiteral("只在 双周 有课");
        break;
    default:
        s += QStringLiteral("每周都有课");
        break;
    }
    s += crlf + QStringLiteral("课程分布：") + crlf;
    for (int d = 1; d <= 7; ++d) {
        if (c.Course(d).isEmpty()) continue;
        s += gTimetable.Col(d).Name + QStringLiteral("：");
        for (double v : c.Course(d)) {
            const int p = int(v);
            if (p >= 1 && p <= gTimetable.rowCount()) s += gTimetable.Row(p).Name + QStringLiteral(" ");
        }
        s += crlf;
    }
    Text5->setPlainText(s);
    scheduleBackground1->setVisible2(true);
    scheduleBackground1->setUserColor(c.UserColor);
    scheduleBackground1->setColor(c.Color);
    scheduleBackground1->show();
}

void scheduleCourseList::Command8_Click() {
    if (List3->currentRow() < 0) {
        gMsgBox(Msg::NoCourseChosen, gButtonSet::Close);
        return;
    }
    if (editor_) editor_->OpenCourseEditor(true);
    hide();
}

bool scheduleCourseList::Command9_Click() {
    const int idx = List3->currentRow();
    if (idx < 0) {
        gMsgBox(Msg::NoCourseChosen, gButtonSet::Close);
        return false;
    }
    if (gMsgBox(Msg::ConfirmDeleteCourse, gButtonSet::OkCancel) != gMsgResult::OK) return false;
    try {
        TimetableStore(gConnection).deleteCourse(idx);
    } catch (...) {
        gShowErrorBox(true);
        return false;
    }
    gTimetable.gGetSchedule();
    delete List3->takeItem(idx);
    if (List3->count() > 0) {
        selectCourse(0);
    } else {
        Text5->clear();
        Command8->setEnabled(false);
        Command9->setEnabled(false);
        scheduleBackground1->hide();
    }
    return true;
}

#include "timetable/scheduleCoursePanes.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "controls/scheduleBackground.h"
#include "controls/scheduleColorSet.h"
#include "core/model/TimetableStore.h"
#include "core/model/clsSchedule.h"
#include "core/model/gConvert.h"
#include "core/model/gDatabase.h"
#include "core/base/gError.h"
#include "core/ui/gFormParts.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "core/model/gWeek.h"
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
    titleLabel = title(this, "Label10", QStringLiteral("新课程"));

    gNewLabel(this, QStringLiteral("课程名："), 120, 540, 870, 300);
    nameEdit = new QLineEdit(this);
    nameEdit->setObjectName(QStringLiteral("Text3"));
    nameEdit->setGeometry(gPxRect(1000, 480, 2600, 360));
    gNewLabel(this, QStringLiteral("课室："), 3840, 540, 700, 300);
    roomEdit = new QLineEdit(this);
    roomEdit->setObjectName(QStringLiteral("Text4"));
    roomEdit->setGeometry(gPxRect(4560, 480, 2600, 360));
    for (QLineEdit* t : {nameEdit, roomEdit})
        connect(t, &QLineEdit::textChanged, this, [this] { gGuard([&] { nameOrRoomEdit_Change(); }); });

    gNewLabel(this, QStringLiteral("星期："), 120, 960, 1500, 300);
    weekdayList = new QListWidget(this);
    weekdayList->setObjectName(QStringLiteral("List1"));
    weekdayList->setGeometry(gPxRect(120, 1260, 1700, 2100));
    connect(weekdayList, &QListWidget::itemClicked, this, [this] { gGuard([&] { weekdayList_Click(); }); });
    connect(weekdayList, &QListWidget::currentRowChanged, this,
            [this] { gGuard([&] { weekdayList_Click(); }); });

    gNewLabel(this, QStringLiteral("课时："), 2000, 960, 1500, 300);
    periodList = new QListWidget(this);
    periodList->setObjectName(QStringLiteral("List2"));
    periodList->setSelectionMode(QAbstractItemView::MultiSelection);
    periodList->setGeometry(gPxRect(2000, 1260, 1900, 2100));
    for (QListWidget* l : {weekdayList, periodList})
        gKeepCurrentInView(l);
    // Whatever changed the selection (a click, Space, Shift or a drag), the
    // choice follows what the list shows.
    connect(periodList, &QListWidget::itemSelectionChanged, this, [this] {
        gGuard([&] {
            for (int p = 0; p < periodList->count(); ++p)
                periodList_Click(p);
        });
    });

    gNewLabel(this, "WeekFrom", QStringLiteral("周次：从第"), 4100, 1320, 1000, 300);
    beginWeekCombo = new QComboBox(this);
    beginWeekCombo->setObjectName(QStringLiteral("Combo1"));
    beginWeekCombo->setGeometry(gPxRect(5100, 1260, 800, 360));
    gNewLabel(this, "WeekTo", QStringLiteral("周 到 第"), 5980, 1320, 780, 300);
    endWeekCombo = new QComboBox(this);
    endWeekCombo->setObjectName(QStringLiteral("Combo2"));
    endWeekCombo->setGeometry(gPxRect(6760, 1260, 800, 360));
    gNewLabel(this, "WeekEnd", QStringLiteral("周"), 7620, 1320, 300, 300);
    for (QComboBox* c : {beginWeekCombo, endWeekCombo})
        connect(c, &QComboBox::activated, this, [this] { gGuard([&] { weekCombo_Click(); }); });

    static const char* rules[] = {"每周", "单周", "双周"};
    for (int i = 0; i < 3; ++i) {
        weekRuleOptions[i] = new QRadioButton(QString::fromUtf8(rules[i]), this);
        weekRuleOptions[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        weekRuleOptions[i]->setGeometry(gPxRect(4100 + i * 1100, 1860, 1000, 330));
    }

    // High enough that the buttons of a short pane stay clear of the colours.
    gNewLabel(this, QStringLiteral("颜色："), 120, 3420, 1500, 300);
    colorSet = new scheduleColorSet(this);
    colorSet->setObjectName(QStringLiteral("scheduleColorSet1"));
    colorSet->move(gPx(120), gPx(3720));

    saveButton = gPaneButton(this, "Command5", QStringLiteral("增加(&S)"));
    cancelButton = gPaneButton(this, "Command6", QStringLiteral("取消"));
    connect(saveButton, &QPushButton::clicked, this, [this] { gGuard([&] { saveButton_Click(); }); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { gGuard([&] { cancelButton_Click(); }); });
}

void scheduleCourseEditor::resizeEvent(QResizeEvent*) {
    const int w = gTwips(width());
    const int h = gTwips(height());
    saveButton->move(gPx(w - 2240), gPx(h - 480));
    cancelButton->move(gPx(w - 1120), gPx(h - 480));
    // A pane narrower than designed draws the week range closer together, so its
    // last "周" stays inside.
    const bool tight = w < 7920 + 60;
    const struct {
        QWidget* widget;
        int left, width, tightLeft, tightWidth;
    } week[] = {{findChild<QLabel*>(QStringLiteral("WeekFrom")), 4100, 1000, 4000, 900},
                {beginWeekCombo, 5100, 800, 4900, 720},
                {findChild<QLabel*>(QStringLiteral("WeekTo")), 5980, 780, 5680, 720},
                {endWeekCombo, 6760, 800, 6400, 720},
                {findChild<QLabel*>(QStringLiteral("WeekEnd")), 7620, 300, 7180, 240}};
    for (const auto& p : week)
        if (p.widget)
            p.widget->setGeometry(gPx(tight ? p.tightLeft : p.left), p.widget->y(),
                                  gPx(tight ? p.tightWidth : p.width), p.widget->height());
}

void scheduleCourseEditor::resetChoice() {
    choice_ = QVector<QVector<bool>>(8, QVector<bool>(periodList->count() + 1, false));
}

bool scheduleCourseEditor::periodChoice(int weekday, int period) const {
    if (weekday < 1 || weekday >= choice_.size()) return false;
    if (period < 1 || period >= choice_.at(weekday).size()) return false;
    return choice_.at(weekday).at(period);
}

void scheduleCourseEditor::LoadOptions() {
    weekdayList->blockSignals(true);
    weekdayList->clear();
    for (const clsCol& c : gTimetable.gCol)
        weekdayList->addItem(c.Name);
    weekdayList->blockSignals(false);
    colorSet->setColor(0);
    colorSet->setUserColor(kDefaultUserColor);
    periodList->clear();
    for (const clsRow& r : gTimetable.gRow)
        periodList->addItem(r.Name);
    resetChoice();
    const int total = gWeekDiff(gTimetable.Term.TermBegin, gTimetable.Term.TermEnd);
    beginWeekCombo->clear();
    endWeekCombo->clear();
    for (int i = 1; i <= total; ++i) {
        beginWeekCombo->addItem(QString::number(i));
        endWeekCombo->addItem(QString::number(i));
    }
}

void scheduleCourseEditor::OpenCourseEditor(bool editMode) {
    weekdayList->setCurrentRow(0);
    cancelButton->setShortcut(QKeySequence(Qt::Key_Escape));
    resetChoice();
    const int periods = periodList->count();
    if (editMode) {
        editIndex_ = list_ ? list_->courseList->currentRow() : -1;
        const clsCourse& c = gTimetable.Course(editIndex_ + 1);
        for (int d = 1; d <= 7; ++d) {
            for (double v : c.Course(d)) {
                const int p = int(v);
                if (p >= 1 && p <= periods) choice_[d][p] = true;
            }
        }
        selectWeek(beginWeekCombo, c.BeginWeek);
        selectWeek(endWeekCombo, c.EndWeek);
        nameEdit->setText(c.Name);
        roomEdit->setText(c.Place);
        weekRuleOptions[qBound(0, int(c.DoubleWeek), 2)]->setChecked(true);
        saveButton->setEnabled(true);
        colorSet->setUserColor(list_->colorSample->userColor());
        // A stored colour without a swatch shows as the first, as on its card,
        // rather than as whatever the last course left chosen.
        colorSet->setColor(0);
        colorSet->setColor(list_->colorSample->color());
        saveButton->setText(QStringLiteral("保存(&S)"));
        titleLabel->setText(QStringLiteral("编辑课程"));
        editingCourse_ = true;
    } else {
        beginWeekCombo->setCurrentIndex(0);
        endWeekCombo->setCurrentIndex(endWeekCombo->count() - 1);
        nameEdit->clear();
        roomEdit->clear();
        weekRuleOptions[0]->setChecked(true);
        saveButton->setEnabled(false);
        colorSet->setColor(0);
        saveButton->setText(QStringLiteral("增加(&S)"));
        titleLabel->setText(QStringLiteral("新课程"));
        editingCourse_ = false;
    }
    weekdayList->setCurrentRow(0);
    weekdayList_Click();
    show();
    nameEdit->setFocus();
}

void scheduleCourseEditor::weekdayList_Click() {
    const int d = weekdayList->currentRow() + 1;
    if (d < 1 || d > 7) return;
    // Showing the weekday's choice is no choice of the user's.
    const QSignalBlocker quiet(periodList);
    periodList->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
    for (int p = 0; p < periodList->count(); ++p)
        periodList->item(p)->setSelected(periodChoice(d, p + 1));
}

void scheduleCourseEditor::periodList_Click(int index) {
    const int d = weekdayList->currentRow() + 1;
    if (d < 1 || d > 7 || index < 0 || index >= periodList->count()) return;
    if (d < choice_.size() && index + 1 < choice_.at(d).size())
        choice_[d][index + 1] = periodList->item(index)->isSelected();
}

void scheduleCourseEditor::nameOrRoomEdit_Change() {
    saveButton->setEnabled(!nameEdit->text().isEmpty() && !roomEdit->text().isEmpty());
}

void scheduleCourseEditor::weekCombo_Click() {
    saveButton->setEnabled(gVal(endWeekCombo->currentText()) >= gVal(beginWeekCombo->currentText()));
}

bool scheduleCourseEditor::saveButton_Click() {
    const int idx = editingCourse_ ? editIndex_ : -1;
    try {
        TimetableCourseRow row;
        row.name = nameEdit->text();
        row.place = roomEdit->text();
        row.beginWeek = int(gVal(beginWeekCombo->currentText()));
        row.endWeek = int(gVal(endWeekCombo->currentText()));
        for (int i = 0; i < 3; ++i)
            if (weekRuleOptions[i]->isChecked()) row.doubleWeek = i;
        row.color = colorSet->color();
        row.userColor = static_cast<int>(colorSet->userColor());
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

void scheduleCourseEditor::cancelButton_Click() {
    if (editingCourse_) {
        backToList(list_ ? list_->courseList->currentRow() : -1);
    } else if (onNewDone) {
        onNewDone();
    }
}

// ---- course list ----

scheduleCourseList::scheduleCourseList(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Frame4"));
    titleLabel = title(this, "Label19", QStringLiteral("所有课程"));
    courseList = new QListWidget(this);
    courseList->setObjectName(QStringLiteral("List3"));
    gKeepCurrentInView(courseList);
    connect(courseList, &QListWidget::currentRowChanged, this,
            [this] { gGuard([&] { courseList_Click(); }); });
    detailsText = new QPlainTextEdit(this);
    detailsText->setObjectName(QStringLiteral("Text5"));
    detailsText->setReadOnly(true);
    colorSample = new scheduleBackground(this);
    colorSample->setObjectName(QStringLiteral("scheduleBackground1"));
    colorSample->hide();
    editButton = gPaneButton(this, "Command8", QStringLiteral("编辑"));
    deleteButton = gPaneButton(this, "Command9", QStringLiteral("删除"));
    backButton = gPaneButton(this, "Command7", QStringLiteral("返回"));
    connect(editButton, &QPushButton::clicked, this, [this] { gGuard([&] { editButton_Click(); }); });
    connect(deleteButton, &QPushButton::clicked, this, [this] { gGuard([&] { deleteButton_Click(); }); });
    connect(backButton, &QPushButton::clicked, this, [this] {
        gGuard([&] {
            if (onBack) onBack();
        });
    });
}

void scheduleCourseList::resizeEvent(QResizeEvent*) {
    const int w = gTwips(width());
    const int h = gTwips(height());
    // The names take a third of a wide pane, so long ones read whole; the details the rest.
    const int listWidth = qMax(2800, (w - 360) / 3);
    const int detailsLeft = 120 + listWidth + 180;
    courseList->setGeometry(gPxRect(120, 480, listWidth, qMax(h - 600, 600)));
    detailsText->setGeometry(
        gPxRect(detailsLeft, 480, qMax(w - detailsLeft - 120, 600), qMax(h - 1920, 600)));
    colorSample->setGeometry(gPxRect(detailsLeft, h - 1320, 1500, 720));
    editButton->move(gPx(w - 3360), gPx(h - 480));
    deleteButton->move(gPx(w - 2240), gPx(h - 480));
    backButton->move(gPx(w - 1120), gPx(h - 480));
}

void scheduleCourseList::LoadOptions() {
    courseList->blockSignals(true);
    courseList->clear();
    for (const clsCourse& c : gTimetable.gCourse)
        courseList->addItem(c.Name);
    courseList->blockSignals(false);
}

void scheduleCourseList::selectCourse(int index) {
    courseList->setCurrentRow(index);
    courseList_Click();
}

void scheduleCourseList::ShowAllCourses() {
    const bool any = courseList->count() > 0;
    if (any) selectCourse(0);
    colorSample->setVisible(any);
    editButton->setEnabled(any);
    deleteButton->setEnabled(any);
    if (!any) detailsText->clear();
    backButton->setShortcut(QKeySequence(Qt::Key_Escape));
    show();
    courseList->setFocus();
}

void scheduleCourseList::courseList_Click() {
    const int k = courseList->currentRow() + 1;
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
    detailsText->setPlainText(s);
    colorSample->setVisible2(true);
    colorSample->setUserColor(c.UserColor);
    colorSample->setColor(c.Color);
    colorSample->show();
}

void scheduleCourseList::editButton_Click() {
    if (courseList->currentRow() < 0) {
        gMsgBox(Msg::NoCourseChosen, gButtonSet::Close);
        return;
    }
    if (editor_) editor_->OpenCourseEditor(true);
    hide();
}

bool scheduleCourseList::deleteButton_Click() {
    const int idx = courseList->currentRow();
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
    delete courseList->takeItem(idx);
    if (courseList->count() > 0) {
        selectCourse(0);
    } else {
        detailsText->clear();
        editButton->setEnabled(false);
        deleteButton->setEnabled(false);
        colorSample->hide();
    }
    return true;
}

#include "core/model/clsSchedule.h"

#include "core/model/TimetableStore.h"
#include "core/model/gClock.h"
#include "core/model/gConvert.h"
#include "core/model/gDatabase.h"
#include "core/model/gResIds.h"
#include "core/model/gState.h"
#include "core/model/gStrings.h"
#include "core/model/gWeek.h"

clsSchedule gTimetable;

namespace {

template <class T> int insertAt(gKeyedList<T>& list, const T& obj, int index) {
    if (index == 0) index = list.count() + 1;
    list.insertBefore(index, obj);
    return index;
}

} // namespace

void clsSchedule::gGetSchedule() {
    // Load into a fresh model and take it over only when every table was read, so
    // a failed reload leaves the last good timetable in place.
    clsSchedule fresh;
    fresh.loadTerm();
    fresh.loadCols();
    fresh.loadRows();
    fresh.loadCourses();
    *this = std::move(fresh);
}

void clsSchedule::loadTerm() {
    const QDate today = gToday();
    std::pair<QDate, QDate> term;
    if (const std::optional<TimetableTermRow> row = TimetableStore(gConnection).readTerm())
        term = gResolveTerm(row->begin, row->end, today);
    // No row, or a row whose dates cannot be read: the term by the month.
    if (!term.first.isValid() || !term.second.isValid()) term = gDefaultTerm(today);
    Term.TermBegin = term.first;
    Term.TermEnd = term.second;
}

void clsSchedule::loadCols() {
    int k = 0;
    for (const TimetableWeekday& d : TimetableStore(gConnection).readWeekdays()) {
        clsCol c;
        c.Name = d.name;
        c.ColIsVisible = d.visible;
        c.Index = qint16(++k);
        gCol.add(c, key(k));
    }
    if (k > 0) return;
    for (k = 1; k <= 7; ++k) {
        clsCol c;
        c.Name = gLoadResString(Res::WeekdayNameBase + k);
        c.ColIsVisible = true;
        c.Index = qint16(k);
        gCol.add(c, key(k));
    }
}

void clsSchedule::loadRows() {
    int k = 0;
    for (const TimetablePeriod& p : TimetableStore(gConnection).readPeriods()) {
        clsRow r;
        r.Name = p.name;
        r.RowIsVisible = p.visible;
        r.ClassBeginTime = qint16(p.beginMinutes);
        r.ClassEndTime = qint16(p.endMinutes);
        r.Index = qint16(++k);
        gRow.add(r, key(k));
    }
    if (k > 0) return;
    for (k = 1; k <= 10; ++k) {
        clsRow r;
        r.Name = gLoadResString(Res::PeriodNameBase + k);
        r.ClassBeginTime = qint16(gVal(gLoadResString(Res::PeriodBeginBase + k)));
        r.ClassEndTime = qint16(gVal(gLoadResString(Res::PeriodEndBase + k)));
        r.RowIsVisible = true;
        r.Index = qint16(k);
        gRow.add(r, key(k));
    }
}

void clsSchedule::loadCourses() {
    int k = 0;
    for (const TimetableCourseRow& row : TimetableStore(gConnection).readCourses()) {
        clsCourse c;
        c.Name = row.name;
        c.Place = row.place;
        c.BeginWeek = qint16(row.beginWeek);
        c.EndWeek = qint16(row.endWeek);
        c.DoubleWeek = qint16(row.doubleWeek);
        c.Color = qint16(row.color);
        c.UserColor = row.userColor;
        for (int n = 1; n <= 7; ++n)
            c.Course(n) = gSplitPeriods(row.weekdays[n - 1]);
        c.Index = qint16(++k);
        gCourse.add(c, key(k));
    }
}

const clsCol& clsSchedule::Col(int index) const {
    return gCol.item(key(index));
}
const clsRow& clsSchedule::Row(int index) const {
    return gRow.item(key(index));
}
const clsCourse& clsSchedule::Course(int index) const {
    return gCourse.item(key(index));
}

void clsSchedule::Col(int index, const clsCol& newCol) {
    gCol.item(key(index)) = newCol;
}
void clsSchedule::Row(int index, const clsRow& newRow) {
    gRow.item(key(index)) = newRow;
}
void clsSchedule::Course(int index, const clsCourse& newCourse) {
    gCourse.item(key(index)) = newCourse;
}

int clsSchedule::RowAdd(const clsRow& newRow, int index) {
    return insertAt(gRow, newRow, index);
}
int clsSchedule::CourseAdd(const clsCourse& newCourse, int index) {
    return insertAt(gCourse, newCourse, index);
}

void clsSchedule::RowRemove(int index) {
    gRow.remove(key(index));
}
void clsSchedule::CourseRemove(int index) {
    gCourse.remove(key(index));
}

#include "core/clsSchedule.h"

#include "core/gClock.h"
#include "core/gConvert.h"
#include "core/gDatabase.h"
#include "core/gState.h"
#include "core/gStrings.h"
#include "core/gWeek.h"
#include "platform/db/db.h"

#include <limits>

clsSchedule gTimetable;

namespace {

template <class T> int insertAt(gKeyedList<T>& list, const T& obj, int index) {
    if (index == 0) index = list.count() + 1;
    list.insertBefore(index, obj);
    return index;
}

// Opens the shared recordset read-only on a query and releases it on leaving,
// also when a read fails.
class Query {
public:
    explicit Query(const QString& sql) {
        gCommand.setCommandText(sql);
        gRecordset.setCursorLocation(db::CursorLocation::Client);
        try {
            gRecordset.open(gCommand);
        } catch (...) {
            gRecordset.close();
            throw;
        }
    }
    ~Query() { gRecordset.close(); }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
};

qint16 int16Field(const QString& name) {
    const int v = gRecordset.integer(name);
    if (v < std::numeric_limits<qint16>::min() || v > std::numeric_limits<qint16>::max())
        gRaise(gErr::Overflow);
    return qint16(v);
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
    {
        Query q(QStringLiteral("SELECT * FROM Term"));
        if (!gRecordset.eof()) {
            // A term row that cannot be read must not stop the rest of the timetable.
            try {
                term = gResolveTerm(gRecordset.date("Begin"), gRecordset.date("End"), today);
            } catch (const gRuntimeError&) {
                term = {};
            }
        }
    }
    // No row, or a row whose dates cannot be read: the term by the month.
    if (!term.first.isValid() || !term.second.isValid()) term = gDefaultTerm(today);
    Term.TermBegin = term.first;
    Term.TermEnd = term.second;
}

void clsSchedule::loadCols() {
    Query q(QStringLiteral("SELECT * FROM Col"));
    int k = 0;
    for (; !gRecordset.eof(); gRecordset.moveNext()) {
        clsCol c;
        c.Name = gRecordset.text("Name");
        c.ColIsVisible = gRecordset.boolean("ColIsVisible");
        c.Index = qint16(++k);
        gCol.add(c, key(k));
    }
    if (k > 0) return;
    for (k = 1; k <= 7; ++k) {
        clsCol c;
        c.Name = gLoadResString(1000 + k);
        c.ColIsVisible = true;
        c.Index = qint16(k);
        gCol.add(c, key(k));
    }
}

void clsSchedule::loadRows() {
    Query q(QStringLiteral("SELECT * FROM Row"));
    int k = 0;
    for (; !gRecordset.eof(); gRecordset.moveNext()) {
        clsRow r;
        r.Name = gRecordset.text("Name");
        r.RowIsVisible = gRecordset.boolean("RowIsVisible");
        r.ClassBeginTime = int16Field("ClassBeginTime");
        r.ClassEndTime = int16Field("ClassEndTime");
        r.Index = qint16(++k);
        gRow.add(r, key(k));
    }
    if (k > 0) return;
    for (k = 1; k <= 10; ++k) {
        clsRow r;
        r.Name = gLoadResString(1007 + k);
        r.ClassBeginTime = qint16(gVal(gLoadResString(1017 + k)));
        r.ClassEndTime = qint16(gVal(gLoadResString(1027 + k)));
        r.RowIsVisible = true;
        r.Index = qint16(k);
        gRow.add(r, key(k));
    }
}

void clsSchedule::loadCourses() {
    Query q(QStringLiteral("SELECT * FROM Course"));
    int k = 0;
    for (; !gRecordset.eof(); gRecordset.moveNext()) {
        clsCourse c;
        c.Name = gRecordset.text("Name");
        c.Place = gRecordset.text("Place");
        c.BeginWeek = int16Field("BeginWeek");
        c.EndWeek = int16Field("EndWeek");
        c.DoubleWeek = int16Field("DoubleWeek");
        c.Color = int16Field("Color");
        c.UserColor = gRecordset.integer("UserColor");
        for (int n = 1; n <= 7; ++n)
            c.Course(n) = gSplitPeriods(gRecordset.text(QStringLiteral("Weekday%1").arg(n)));
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

#pragma once

// The timetable's rows in the account database: term, weekdays, periods and
// courses. It needs no window; it sits with the model because the model's load
// (clsSchedule::gGetSchedule) reads through it, and the pages write through it.

#include <QDate>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace db {
class Connection;
}

struct TimetableWeekday {
    QString name;
    bool visible = true;
};

struct TimetablePeriod {
    QString name;
    int beginMinutes = 0;
    int endMinutes = 0;
    bool visible = true;
};

struct TimetableCourseRow {
    QString name;
    QString place;
    int beginWeek = 1;
    int endWeek = 1;
    int doubleWeek = 0; // 0 every week, 1 odd weeks, 2 even weeks
    int color = 0;
    int userColor = 0;
    std::array<QString, 7> weekdays; // Monday first: two digits a period
};

// A row whose dates cannot be read holds invalid dates.
struct TimetableTermRow {
    QDate begin;
    QDate end;
};

class TimetableStore {
public:
    explicit TimetableStore(db::Connection& connection) : connection_(connection) {}

    // Rows in table order. A field that cannot be read raises, as does a
    // number the model keeps in 16 bits that does not fit them (all but the
    // course's own colour). The term is the first row, none for an empty table.
    std::optional<TimetableTermRow> readTerm();
    QList<TimetableWeekday> readWeekdays();
    QList<TimetablePeriod> readPeriods();
    QList<TimetableCourseRow> readCourses();

    // Replaces the term, the weekdays and the periods in one transaction: a
    // failure anywhere leaves every old row in place. Errors are raised.
    void saveBase(const QDate& termBegin, const QDate& termEnd, const QList<TimetableWeekday>& weekdays,
                  const QList<TimetablePeriod>& periods);

    // Courses by their 0-based position in table order. A position past the
    // last course raises and writes nothing.
    void addCourse(const TimetableCourseRow& course);
    void updateCourse(int index, const TimetableCourseRow& course);
    void deleteCourse(int index);

private:
    db::Connection& connection_;
};

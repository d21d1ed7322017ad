#pragma once

// The timetable's rows in the account database: term, weekdays, periods and
// courses. It needs no window, so the timetable pages and tests share it; it
// sits with the model so the model's load could read through it too.

#include <QDate>
#include <QList>
#include <QString>

#include <array>

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
    qlonglong userColor = 0;
    std::array<QString, 7> weekdays; // Monday first: two digits a period
};

class TimetableStore {
public:
    explicit TimetableStore(db::Connection& connection) : connection_(connection) {}

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

#include "core/model/gWeek.h"

#include "core/model/clsSchedule.h"
#include "core/model/gClock.h"
#include "core/model/gConvert.h"
#include "core/model/gState.h"

#include <algorithm>
#include <limits>

namespace {

qint64 mondayOf(const QDate& d) {
    return d.toJulianDay() - (d.dayOfWeek() - 1);
}

// The stored month and day in year y; a 29 February the year lacks becomes the 28th.
QDate inYear(const QDate& stored, int y) {
    QDate d(y, stored.month(), stored.day());
    if (!d.isValid()) d = QDate(y, stored.month(), stored.day() - 1);
    return d;
}

} // namespace

int gWeekDiff(const QDate& date0, const QDate& date1) {
    if (!date0.isValid() || !date1.isValid()) return 0;
    const qint64 weeks = (mondayOf(date1) - mondayOf(date0)) / 7 + 1;
    return int(std::clamp<qint64>(weeks, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int gWeekOfDate(const QDate& beginDate) {
    return gWeekDiff(beginDate, gToday());
}

QString gMinutesToTime(int minutes) {
    const int h = minutes / 60; // truncates toward zero
    const int r = minutes - h * 60;
    auto part = [](int n) { return (n <= 9 ? QStringLiteral("0") : QString()) + QString::number(n); };
    return part(h) + QLatin1Char(':') + part(r);
}

qint16 gTimeToMinutes(const QString& text) {
    const qsizetype p = text.indexOf(QLatin1Char(':'));
    if (p < 0) return 0;
    const double h = gRoundEven(gVal(text.left(p)));
    if (!(h >= 0 && h < 24)) return 0;
    const double r = gRoundEven(gVal(text.mid(p + 1)));
    if (!(r >= 0 && r < 60)) return 0;
    return qint16(h * 60 + r);
}

void gBuildTodayCourses() {
    const clsSchedule& t = gTimetable;
    // One reading of the clock, so the week and the weekday belong to the same day
    // even when the list is built at midnight.
    const QDate today = gToday();
    const int w = gWeekDiff(t.Term.TermBegin, today);
    const int d = today.dayOfWeek();
    const int rows = t.rowCount();
    QVector<std::array<QString, 3>> courses(rows + 1);
    QVector<std::array<qint16, 2>> times(rows + 1, std::array<qint16, 2>{0, 0});
    if (w <= gWeekDiff(t.Term.TermBegin, t.Term.TermEnd)) {
        for (const clsCourse& c : t.gCourse) {
            if (w < c.BeginWeek || w > c.EndWeek) continue;
            if ((c.DoubleWeek == 1 && w % 2 == 0) || (c.DoubleWeek == 2 && w % 2 != 0)) continue;
            for (double period : c.Course(d)) {
                // A period that no longer exists (or never could) is skipped.
                if (!(period >= 1 && period <= rows)) continue;
                const int p = int(gRoundEven(period));
                const clsRow& row = t.Row(p);
                courses[p] = {c.Name, c.Place, row.Name};
                times[p] = {row.ClassBeginTime, row.ClassEndTime};
            }
        }
    }
    gTodayCourses = courses;
    gTodayTimes = times;
}

std::pair<QDate, QDate> gDefaultTerm(const QDate& today) {
    const int y = today.year();
    const int m = today.month();
    if (1 < m && m < 8) return {QDate(y, 3, 1), QDate(y, 7, 1)};
    return {QDate(y, 9, 1), QDate(y + 1, 1, 1)};
}

std::pair<QDate, QDate> gResolveTerm(const QDate& storedBegin, const QDate& storedEnd, const QDate& today) {
    if (!storedBegin.isValid() || !storedEnd.isValid() || !today.isValid()) return {};
    const int y = today.year();
    QDate b = inYear(storedBegin, y);
    QDate e = inYear(storedEnd, y);
    if (e < b) {
        if (today <= e)
            b = inYear(storedBegin, y - 1);
        else
            e = inYear(storedEnd, y + 1);
    }
    return {b, e};
}

#pragma once
#include <QDate>
#include <QString>

#include <utility>

// Teaching weeks are Monday-to-Sunday weeks counted as weeks that really passed,
// so a term that runs past 1 January keeps counting.

// Weeks from date0's week to date1's week, both counted: the same week gives 1,
// the next week 2, an earlier week 0 or less. An invalid date gives 0.
int gWeekDiff(const QDate& date0, const QDate& date1);
// Today's teaching week for a term that begins on beginDate.
int gWeekOfDate(const QDate& beginDate);

// Minutes after midnight as "hh:mm" (480 gives "08:00").
QString gMinutesToTime(int minutes);
// "h:m" as minutes after midnight; 0 for anything that is not a time of day
// (no colon, an hour outside 0..23, a minute outside 0..59).
qint16 gTimeToMinutes(const QString& text);

// Rebuilds gTodayCourses and gTodayTimes for today from gTimetable.
void gBuildTodayCourses();

// The term for an empty Term table: 1 March to 1 July while 1 < month < 8,
// otherwise 1 September to 1 January of the following year.
std::pair<QDate, QDate> gDefaultTerm(const QDate& today);
// A stored term taken into today's year by month and day (29 February becomes
// 28 February in a year without it). When the end then falls before the begin the
// term spans a new year: on or before that end the begin moves back a year,
// after it the end moves on a year. Invalid stored dates give invalid dates.
std::pair<QDate, QDate> gResolveTerm(const QDate& storedBegin, const QDate& storedEnd, const QDate& today);

#pragma once
#include <QList>
#include <QString>

#include <array>

// One course of the timetable.
class clsCourse {
public:
    QString Name;
    QString Place; // the room
    qint16 BeginWeek = 0;
    qint16 EndWeek = 0;
    qint16 Color = 0;      // palette index 0..25, 25 the custom colour
    qint32 UserColor = 0;  // the custom colour, &HBBGGRR
    qint16 DoubleWeek = 0; // 0 every week, 1 odd weeks only, 2 even weeks only
    qint16 Index = 0;      // 1-based, equal to its key number after a load

    // The period numbers of the course on weekday 1 (Monday) .. 7 (Sunday), in
    // stored order. Any other weekday raises error 9.
    const QList<double>& Course(int weekday) const;
    QList<double>& Course(int weekday);

private:
    std::array<QList<double>, 7> periods_;
};

// Splits a stored "Weekday" & n text into its period numbers: two-character
// pieces from the start (a last single character is a piece of its own), each
// read by its leading numeric value, so a piece that is no number gives 0.
QList<double> gSplitPeriods(const QString& text);

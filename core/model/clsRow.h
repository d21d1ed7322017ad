#pragma once
#include <QString>

// One class period of the timetable.
class clsRow {
public:
    QString Name;
    bool RowIsVisible = true;  // shown in the week view; reminders ignore it
    qint16 ClassBeginTime = 0; // minutes after midnight
    qint16 ClassEndTime = 0;   // minutes after midnight
    qint16 Index = 0;          // 1-based, equal to its key number after a load
};

#pragma once
#include <QString>

// One weekday column of the timetable (1 = Monday).
class clsCol {
public:
    QString Name;
    bool ColIsVisible = true; // shown in the week view; reminders ignore it
    qint16 Index = 0;         // 1-based, equal to its key number after a load
};

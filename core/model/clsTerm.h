#pragma once
#include <QDate>

// The term's first and last day, as the model resolved them for the current year.
class clsTerm {
public:
    QDate TermBegin;
    QDate TermEnd;
};

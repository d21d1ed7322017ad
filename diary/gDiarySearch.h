#pragma once
// The search page's reads: the entries that pass a filter, by date, each with
// its place among all of its day's entries in table order ("NO."), the pair
// the review page and the favourite flag address an entry by.
#include "platform/db/Connection.h"
#include "platform/db/dbTypes.h"

#include <QDate>
#include <QString>

#include <vector>

struct gFoundEntry {
    int number = 0; // place among the day's entries in table order, from 1
    QDate date;
    QString title;
    QString preview; // the first 50 characters of the plain text
    int score = 0;
};

// The whole search at once (see DiarySearch, which the search page runs in
// turns); the first form searches the signed-in account's database.
std::vector<gFoundEntry> gSearchDiary(db::Connection& connection, const db::Filter& filter);
std::vector<gFoundEntry> gSearchDiary(const db::Filter& filter);

// Lets go of the plain texts the searches keep; the next search reads them
// again. Called when the program locks.
void gForgetSearchTexts();
// How many entries' texts are kept now.
size_t gKeptSearchTexts();

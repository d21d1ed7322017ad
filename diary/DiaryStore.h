#pragma once
// The diary's entries on an account database, with no widget: a day's entries
// read, the entries a filter finds, an entry added or updated, deleted, its favourite flag set, every
// favourite cleared. An entry
// is addressed as the pages list it: its day and its place among that day's
// entries in table order, from 1. Each call uses recordsets of its own, released
// however it ends; the shared recordset is not touched. Errors are raised (the
// caller reports them) and a failed change leaves the file as it was.
#include "diary/gDiarySearch.h"
#include "platform/db/Connection.h"

#include <QDate>
#include <QString>

#include <vector>

struct DiaryEntryText {
    QString title;
    QString text; // the plain text
    QString rtf;
    int score = 0;
};

class DiaryStore {
public:
    explicit DiaryStore(db::Connection& connection) : connection_(connection) {}

    // The entries of day in table order. Without the rich text only titles and
    // plain texts are read (rtf and score stay empty), all the home page shows.
    std::vector<DiaryEntryText> entriesOf(const QDate& day, bool withRtf = true);

    // The entries that pass filter, by date, each with its place in its day.
    std::vector<gFoundEntry> search(const db::Filter& filter) { return gSearchDiary(connection_, filter); }

    struct Added {
        int dayCount = 0;    // the day's entries now, the new one last
        long scoreTotal = 0; // the stored score total now
    };
    // Adds an entry to day, not a favourite, and adds its score to scoreTotal,
    // the stored total, in one transaction. The DiarySettings row must exist.
    Added add(const QDate& day, const DiaryEntryText& entry, long scoreTotal);

    // Rewrites the position-th entry of day (its favourite flag cleared) and
    // moves scoreTotal by the score's change, in one transaction; returns the new
    // total. A position the day lacks raises db::err::BofOrEof.
    long update(const QDate& day, int position, const DiaryEntryText& entry, long scoreTotal);

    struct Removed {
        int dayCount = 0; // the day's entries left
        long scoreTotal = 0;
    };
    // Deletes the position-th entry of day and takes its score off scoreTotal,
    // in one transaction (a missing DiarySettings row is made).
    Removed remove(const QDate& day, int position, long scoreTotal);

    // Sets the favourite flag of the position-th entry of day. A position the
    // day lacks raises db::err::BofOrEof.
    void setFavourite(const QDate& day, int position, bool value);

    // Clears the favourite flag of every entry, in one transaction.
    void clearFavourites();

private:
    // Writes the stored score total; addIfMissing makes the row when it is gone.
    void writeScoreTotal(long total, bool addIfMissing);

    db::Connection& connection_;
};

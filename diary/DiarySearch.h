#pragma once
// One search of the diary, done in turns: the entries that pass a filter, in
// date order, found among the kept entries as they are read. Each turn works
// until its deadline and returns, so the window goes on answering; a search
// that is no longer wanted is simply destroyed, and nothing of it remains.
//
// The filter's conditions are those of the search page: Date, Title, Diary
// (the plain text), Score and Collect, with any comparison; they give exactly
// the rows the statement with the same conditions gives (LIKE's answers for
// BeginsWith and Contains, see db::TextMatcher), and raise its errors: a field
// the rows lack, a value that does not fit its column.
#include "diary/SearchEntries.h"
#include "platform/db/TextMatcher.h"
#include "platform/db/dbTypes.h"

#include <QVariant>

#include <memory>
#include <vector>

class DiarySearch {
public:
    using Clock = SearchEntries::Clock;

    // withScores reads every entry's score and flag even when no condition
    // needs them (the lists read a shown row's score when it is shown).
    DiarySearch(db::Connection& connection, const db::Filter& filter, bool withScores = false);
    ~DiarySearch();
    DiarySearch(const DiarySearch&) = delete;
    DiarySearch& operator=(const DiarySearch&) = delete;

    // Works on until deadline; true when the search is done. Errors as the
    // reads raise them (the search then stays unfinished).
    bool run(Clock::time_point deadline);
    bool finished() const { return finished_; }
    // Ended without all its rows because the kept texts were let go (the lock).
    bool interrupted() const { return interrupted_; }

    // The entries found so far, as indexes into entries(), in date order. When
    // the database changed under the read, the search starts again on a new
    // read: entries() changes and found() starts empty again.
    const std::shared_ptr<SearchEntries>& entries() const { return entries_; }
    const std::vector<quint32>& found() const { return found_; }

    // Progress: entries looked at, of the table's.
    size_t done() const { return next_; }
    long total() const { return entries_->total(); }

    // For tests: at most this many rows read in one turn (0: as the deadline allows).
    static void setRowsPerTurn(size_t rows);

private:
    enum class Field { Date, Title, Text, Score, Collect };
    struct Condition {
        Field field = Field::Date;
        db::Op op = db::Op::Eq;
        bool never = false;      // a null value: no row passes
        qint64 number = 0;       // the value of a date (Julian day), score or flag
        QVariant value;          // the value, for conditions decided as the layer decides them
        bool like = false;       // BeginsWith or Contains on a text
        bool inDatabase = false; // a pattern only the database can answer for (its length)
        db::TextMatcher matcher;
    };
    bool passes(size_t i);
    bool passes(const Condition& c, size_t i);
    void attachTo(std::shared_ptr<SearchEntries> entries);

    db::Connection& connection_;
    std::vector<Condition> conditions_;
    bool scores_ = false;
    std::shared_ptr<SearchEntries> entries_;
    std::vector<quint32> found_;
    size_t next_ = 0;
    bool finished_ = false, interrupted_ = false;
    QByteArray scratch_;
};

#pragma once
// Every entry of the account's diary as the search keeps it: its date, its place
// among its day's entries in table order ("NO."), title and plain text, and,
// once a search asks for them, score and favourite flag. The entries are read
// in date order by stepped reads, a few rows at a time, so the first rows are
// there at once and a long read is spread over turns of the event loop. They
// are shared by the searches while the database is unchanged; a write or the
// lock lets them go (the lock keeps only what the lists show).
//
// Texts are kept in whichever of UTF-8 and UTF-16 is smaller (UTF-16 for
// Chinese, UTF-8 for mostly Latin text), bytes that SQLite reads in its own way
// as they are; all of them in large blocks of their own, not one allocation each.
#include "platform/db/Connection.h"
#include "platform/db/Cursor.h"

#include <QByteArrayView>
#include <QDate>
#include <QString>

#include <chrono>
#include <limits>
#include <memory>
#include <vector>

class SearchEntries : public std::enable_shared_from_this<SearchEntries> {
public:
    using Clock = std::chrono::steady_clock;

    enum class Form : quint8 {
        Null,  // no value
        Utf8,  // plain UTF-8 (db::TextMatcher::plain)
        Utf16, // the same text, converted
        Raw    // other bytes, as SQLite holds them
    };
    struct Text {
        const void* data = nullptr;
        qint32 size = 0; // bytes, or UTF-16 units
        Form form = Form::Null;
    };
    static constexpr qint32 kNoDay = std::numeric_limits<qint32>::min();
    struct Entry {
        qint64 rowid = 0;
        Text title, text;
        qint32 day = kNoDay; // Julian day of the date; kNoDay without a date
        qint32 number = 0;   // place among the day's entries, from 1
        qint32 score = 0;
        bool scoreRead = false, scoreNull = false, collect = false;
    };

    // The entries of connection's database: the ones kept or being read while
    // nothing was written since, else a new read (started by readMore).
    static std::shared_ptr<SearchEntries> of(db::Connection& connection);
    // Lets go of the plain texts of every read, keeping the first 50 characters
    // the lists show; their reads stop. Called when the program locks.
    static void forgetTexts();
    // How many entries' plain texts are held now.
    static size_t keptTexts();

    explicit SearchEntries(db::Connection& connection); // through of()
    ~SearchEntries();
    SearchEntries(const SearchEntries&) = delete;
    SearchEntries& operator=(const SearchEntries&) = delete;

    // Nothing written since the read began, the read went well and the texts are held.
    bool current() const;
    bool released() const { return released_; }
    bool complete() const { return readDone_; }
    bool scoresComplete() const { return scoresDone_; }
    size_t size() const { return entries_.size(); }
    // Entries whose score and flag the stepped read has reached.
    size_t scored() const { return scoresDone_ ? entries_.size() : scoredUpTo_; }
    // Rows of the table (counted when first asked), for showing progress.
    long total();

    // Reads on until deadline or maxRows rows (0: no limit), at least one row
    // unless all is read: the entries, and with scores also their scores and
    // flags up to the entries read. Returns the rows read. Errors as the
    // statements raise them; the entries then are not current.
    size_t readMore(bool scores, Clock::time_point deadline, size_t maxRows = 0);

    // The searches using these entries: while none does, no read stays open.
    void attach() { ++users_; }
    void detach();

    const Entry& operator[](size_t i) const { return entries_[i]; }
    db::Connection& connection() const { return connection_; }
    QDate date(size_t i) const;
    QString title(size_t i) const;
    QString preview(size_t i) const; // the first 50 characters of the plain text
    QByteArrayView bytesOf(const Text& t, QByteArray& scratch) const; // a text as UTF-8
    // The score, read for this row alone when the stepped read has not reached
    // it (0 for none, and when it cannot be read).
    int score(size_t i);

private:
    // The entries in pieces of a fixed size: growing never moves them, nor
    // touches more new memory at once than one piece.
    class Pieces {
    public:
        size_t size() const { return size_; }
        bool empty() const { return size_ == 0; }
        Entry& operator[](size_t i) { return pieces_[i >> kShift][i & kMask]; }
        const Entry& operator[](size_t i) const { return pieces_[i >> kShift][i & kMask]; }
        Entry& back() { return (*this)[size_ - 1]; }
        void push_back(const Entry& e) {
            if ((size_ >> kShift) == pieces_.size()) pieces_.push_back(std::make_unique<Entry[]>(kPiece));
            (*this)[size_++] = e;
        }

    private:
        static constexpr size_t kShift = 12, kPiece = size_t(1) << kShift, kMask = kPiece - 1;
        std::vector<std::unique_ptr<Entry[]>> pieces_;
        size_t size_ = 0;
    };
    struct Block {
        char* data;
        size_t size;
    };
    Text keep(QByteArrayView bytes, bool null);
    void* place(const void* from, size_t bytes);
    void freeBlocks(std::vector<Block>& blocks);
    void stepEntries();
    void stepScores();
    void stop();
    void releaseTexts();
    static QString toQString(const Text& t, qsizetype most = -1);

    db::Connection& connection_;
    quint64 generation_ = 0;
    qint64 changes_ = 0;
    Pieces entries_;
    std::unique_ptr<db::Cursor> entryRead_, scoreRead_;
    size_t scoredUpTo_ = 0;
    bool readDone_ = false, scoresDone_ = false, broken_ = false, released_ = false;
    int users_ = 0;
    long total_ = -1;
    std::vector<Block> blocks_;
    char* free_ = nullptr;
    size_t left_ = 0;
    std::vector<char16_t> scratch_;
};

#pragma once
// The account database: its password, its schema, and the shared handles
// gConnection, gCommand and gRecordset (declared in gState.h, defined here).
#include "platform/db/db.h"

#include <QString>

#include <vector>

// The database password for a typed password and a record key: one double-byte
// character per record-key digit, CR LF between them. An empty password uses a
// fixed fallback word. Raises gErr::InvalidCall when a character of the password
// has no single-byte code-page value. The one-argument form uses gRecordKey.
QString gMakeDbPassword(const QString& password, const QString& recordKey);
QString gMakeDbPassword(const QString& password);

// The tables of an account database, in their order, with their columns.
const std::vector<db::TableSpec>& gDatabaseSchema();

// Creates a new account database at `file` protected by `dbPassword` (a value of
// gMakeDbPassword): every table, the index "Index" on Diary.Date and the one
// DiarySettings row with Score 0. Atomic: a half-made database never exists
// under `file`. Fails with db::err::AlreadyExists when `file` exists.
void gCreateDatabase(const QString& file, const QString& dbPassword);

// Opens gConnection on `file` for this process alone and makes it gCommand's
// active connection. A wrong password fails with db::err::WrongKey, a file held
// by another process with db::err::FileInUse; on failure nothing stays open.
// A DiarySettings table without its row gets one with Score 0. The columns
// take their kinds from gDatabaseSchema whatever types the file declares; a
// missing table or column fails with db::err::SchemaMismatch naming it.
void gOpenDatabase(const QString& file, const QString& dbPassword);

// What gDiaryCount holds while the entries of the account just opened are not
// counted yet. Counting reads every page of the date index (tens of
// milliseconds for a diary of years), so the sign-in leaves it to the home
// page, which counts once it has been painted.
constexpr long kDiaryCountPending = -1;


// Counts the entries when the count is pending and returns gDiaryCount. A
// write while it is pending needs no adjusting: the count sees it. A failed
// read raises and leaves it pending.
long gTakeDiaryCount();

// Releases gRecordset and closes gConnection (an open transaction is rolled
// back). Harmless when nothing is open; also runs when the program ends at once.
void gCloseDatabase();

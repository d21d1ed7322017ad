#pragma once
// An entry's favourite flag, as the review and search pages change it.
#include <QDate>

// Sets the favourite flag of the position-th (1-based, table order) entry of
// diaryDate to value after the user agrees (message 128 to set it, 129 to clear
// it). Database errors, and a position that names no entry of that day, raise
// the error and change nothing.
void gSetDiaryCollect(const QDate& diaryDate, int position, bool value);

#pragma once
#include <QDate>
#include <QDateTime>
#include <QTime>

// The clock and the random source, both settable by tests.
QDate gToday();
QDateTime gNow();
QTime gTimeNow();

// Re-seeds the random generator from the clock (every random draw is preceded by one).
void gRandomize();
// A number in [0, 1).
double gRnd();
// A whole number lo..hi drawn as Int(Rnd * (hi - lo + 1)) + lo.
int gRndInt(int lo, int hi);

namespace gClockSeam {
// Fix the clock at t; it stays there until set again or reset.
void set(const QDateTime& t);
void reset();
// Make the random source repeatable: gRandomize no longer re-seeds from the clock.
void seedRandom(quint32 seed);
} // namespace gClockSeam

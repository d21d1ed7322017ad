#include "core/model/gClock.h"

#include <random>

namespace {
QDateTime fixedNow;
bool fixedSeed = false;
std::mt19937& engine() {
    static std::mt19937 e(static_cast<std::mt19937::result_type>(QDateTime::currentMSecsSinceEpoch()));
    return e;
}
} // namespace

QDateTime gNow() {
    return fixedNow.isValid() ? fixedNow : QDateTime::currentDateTime();
}
QDate gToday() {
    return gNow().date();
}
QTime gTimeNow() {
    return gNow().time();
}

void gRandomize() {
    if (fixedSeed) return;
    engine().seed(static_cast<std::mt19937::result_type>(QDateTime::currentMSecsSinceEpoch() ^
                                                         (std::random_device{}() << 1)));
}

double gRnd() {
    return std::generate_canonical<double, 53>(engine()) * 0.9999999999;
}

int gRndInt(int lo, int hi) {
    return static_cast<int>(gRnd() * (hi - lo + 1)) + lo;
}

namespace gClockSeam {
void set(const QDateTime& t) {
    fixedNow = t;
}
void reset() {
    fixedNow = QDateTime();
    fixedSeed = false;
}
void seedRandom(quint32 seed) {
    fixedSeed = true;
    engine().seed(seed);
}
} // namespace gClockSeam

#include "core/model/clsCourse.h"

#include "core/model/gConvert.h"
#include "core/base/gError.h"

const QList<double>& clsCourse::Course(int weekday) const {
    if (weekday < 1 || weekday > 7) gRaise(gErr::SubscriptOutOfRange);
    return periods_[weekday - 1];
}

QList<double>& clsCourse::Course(int weekday) {
    if (weekday < 1 || weekday > 7) gRaise(gErr::SubscriptOutOfRange);
    return periods_[weekday - 1];
}

QList<double> gSplitPeriods(const QString& text) {
    QList<double> periods;
    for (qsizetype i = 0; i < text.size(); i += 2)
        periods.append(gVal(text.mid(i, 2)));
    return periods;
}

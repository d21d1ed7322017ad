#include "core/model/TimetableStore.h"

#include "core/base/gError.h"
#include "platform/db/db.h"

#include <functional>
#include <limits>

namespace {

// Opens a whole table, read-only unless a lock is given; the recordset
// releases it on leaving.
void openTable(db::Recordset& rs, db::Connection& c, const QString& table,
               db::LockType lock = db::LockType::Unspecified) {
    rs.setCursorLocation(db::CursorLocation::Client);
    rs.open(QStringLiteral("SELECT * FROM ") + table, c, db::CursorType::Dynamic, lock);
}

int int16Field(const db::Recordset& rs, const QString& name) {
    const int v = rs.integer(name);
    if (v < std::numeric_limits<qint16>::min() || v > std::numeric_limits<qint16>::max())
        gRaise(gErr::Overflow);
    return v;
}

// Opens every course, at course `index` (0-based) when it is not negative.
void openCourses(db::Recordset& rs, db::Connection& c, db::LockType lock, int index) {
    openTable(rs, c, QStringLiteral("Course"), lock);
    if (index >= 0) {
        rs.moveFirst();
        rs.move(index);
        // The list and the table disagree: never write over another row.
        if (rs.eof()) gRaise(gErr::InvalidCall);
    }
}

void writeCourse(db::Recordset& rs, const TimetableCourseRow& c) {
    rs.setField(QStringLiteral("Name"), c.name);
    rs.setField(QStringLiteral("Place"), c.place);
    rs.setField(QStringLiteral("BeginWeek"), c.beginWeek);
    rs.setField(QStringLiteral("EndWeek"), c.endWeek);
    rs.setField(QStringLiteral("DoubleWeek"), c.doubleWeek);
    rs.setField(QStringLiteral("Color"), c.color);
    rs.setField(QStringLiteral("UserColor"), c.userColor);
    for (int d = 1; d <= 7; ++d)
        rs.setField(QStringLiteral("Weekday%1").arg(d), c.weekdays[d - 1]);
    rs.update();
}

} // namespace

std::optional<TimetableTermRow> TimetableStore::readTerm() {
    db::Recordset rs;
    openTable(rs, connection_, QStringLiteral("Term"));
    if (rs.eof()) return std::nullopt;
    TimetableTermRow t;
    // An unreadable row is told apart from a failed read of the table.
    try {
        t.begin = rs.date(QStringLiteral("Begin"));
        t.end = rs.date(QStringLiteral("End"));
    } catch (const gRuntimeError&) {
        t = {};
    }
    return t;
}

QList<TimetableWeekday> TimetableStore::readWeekdays() {
    db::Recordset rs;
    openTable(rs, connection_, QStringLiteral("Col"));
    QList<TimetableWeekday> out;
    for (; !rs.eof(); rs.moveNext()) {
        TimetableWeekday d;
        d.name = rs.text(QStringLiteral("Name"));
        d.visible = rs.boolean(QStringLiteral("ColIsVisible"));
        out.append(d);
    }
    return out;
}

QList<TimetablePeriod> TimetableStore::readPeriods() {
    db::Recordset rs;
    openTable(rs, connection_, QStringLiteral("Row"));
    QList<TimetablePeriod> out;
    for (; !rs.eof(); rs.moveNext()) {
        TimetablePeriod p;
        p.name = rs.text(QStringLiteral("Name"));
        p.visible = rs.boolean(QStringLiteral("RowIsVisible"));
        p.beginMinutes = int16Field(rs, QStringLiteral("ClassBeginTime"));
        p.endMinutes = int16Field(rs, QStringLiteral("ClassEndTime"));
        out.append(p);
    }
    return out;
}

QList<TimetableCourseRow> TimetableStore::readCourses() {
    db::Recordset rs;
    openTable(rs, connection_, QStringLiteral("Course"));
    QList<TimetableCourseRow> out;
    for (; !rs.eof(); rs.moveNext()) {
        TimetableCourseRow c;
        c.name = rs.text(QStringLiteral("Name"));
        c.place = rs.text(QStringLiteral("Place"));
        c.beginWeek = int16Field(rs, QStringLiteral("BeginWeek"));
        c.endWeek = int16Field(rs, QStringLiteral("EndWeek"));
        c.doubleWeek = int16Field(rs, QStringLiteral("DoubleWeek"));
        c.color = int16Field(rs, QStringLiteral("Color"));
        c.userColor = rs.integer(QStringLiteral("UserColor"));
        for (int n = 1; n <= 7; ++n)
            c.weekdays[n - 1] = rs.text(QStringLiteral("Weekday%1").arg(n));
        out.append(c);
    }
    return out;
}

void TimetableStore::saveBase(const QDate& termBegin, const QDate& termEnd,
                              const QList<TimetableWeekday>& weekdays,
                              const QList<TimetablePeriod>& periods) {
    // One transaction, begun before the first delete, for all three tables.
    db::Transaction tx(connection_);
    auto rewrite = [this](const QString& table, const std::function<void(db::Recordset&)>& fill) {
        connection_.execute(QStringLiteral("DELETE FROM ") + table);
        db::Recordset rs;
        openTable(rs, connection_, table, db::LockType::BatchOptimistic);
        fill(rs);
        rs.updateBatch();
        rs.close();
    };
    rewrite(QStringLiteral("Term"), [&](db::Recordset& rs) {
        rs.addNew();
        rs.setField(QStringLiteral("Begin"), termBegin);
        rs.setField(QStringLiteral("End"), termEnd);
        rs.update();
    });
    rewrite(QStringLiteral("Col"), [&](db::Recordset& rs) {
        for (const TimetableWeekday& d : weekdays) {
            rs.addNew();
            rs.setField(QStringLiteral("Name"), d.name);
            rs.setField(QStringLiteral("ColIsVisible"), d.visible);
            rs.update();
        }
    });
    rewrite(QStringLiteral("Row"), [&](db::Recordset& rs) {
        for (const TimetablePeriod& p : periods) {
            rs.addNew();
            rs.setField(QStringLiteral("Name"), p.name);
            rs.setField(QStringLiteral("ClassBeginTime"), p.beginMinutes);
            rs.setField(QStringLiteral("ClassEndTime"), p.endMinutes);
            rs.setField(QStringLiteral("RowIsVisible"), p.visible);
            rs.update();
        }
    });
    tx.commit();
}

void TimetableStore::addCourse(const TimetableCourseRow& course) {
    db::Recordset rs;
    openCourses(rs, connection_, db::LockType::Optimistic, -1);
    rs.addNew();
    writeCourse(rs, course);
    rs.close();
}

void TimetableStore::updateCourse(int index, const TimetableCourseRow& course) {
    db::Recordset rs;
    openCourses(rs, connection_, db::LockType::Optimistic, index);
    writeCourse(rs, course);
    rs.close();
}

void TimetableStore::deleteCourse(int index) {
    db::Recordset rs;
    openCourses(rs, connection_, db::LockType::Pessimistic, index);
    rs.deleteCurrent();
    rs.close();
}

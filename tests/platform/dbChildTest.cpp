// Child processes for the database tests (started by dbtest::startChild; they
// never run on their own).
#include "dbTestSupport.h"
#include "platform/db/db.h"

#include <QThread>

#include <cstdio>
#include <gtest/gtest.h>

namespace {

// Holds the database open until killed or until stdin closes.
TEST(DbChild, DISABLED_Hold) {
    db::Connection c;
    c.open(dbtest::childFile(), dbtest::childPassword(), true);
    std::printf("ready\n");
    std::fflush(stdout);
    char buf[16];
    while (std::fgets(buf, sizeof buf, stdin)) {
    }
}

// Adds diary rows, one transaction each, and reports each after its commit,
// until killed. Every few rows it also rewrites an older row and deletes one.
TEST(DbChild, DISABLED_Writer) {
    db::Connection c;
    c.open(dbtest::childFile(), dbtest::childPassword(), true);
    std::printf("ready\n");
    std::fflush(stdout);
    const QString body = QString(1500, QLatin1Char('x'));
    for (int i = 1;; ++i) {
        db::Transaction t(c);
        c.execute(
            QStringLiteral("INSERT INTO \"Diary\" (\"Date\", \"Title\", \"Diary\", \"DiaryRTF\", \"Score\") "
                           "VALUES (?, ?, ?, ?, ?)"),
            {QDate(2024, 1, 1).addDays(i % 40), QString::number(i), body, body + QString::number(i), i});
        if (i % 5 == 0)
            c.execute(QStringLiteral("UPDATE \"Diary\" SET \"DiaryRTF\" = ? WHERE \"Score\" = ?"),
                      {QString(3000, QLatin1Char('y')), i - 3});
        t.commit();
        std::printf("c %d\n", i);
        std::fflush(stdout);
    }
}

} // namespace

// A writer killed at any moment leaves a sound database with every row it committed.
#include "core/model/gDatabase.h"
#include "core/base/gError.h"
#include "dbTestSupport.h"
#include "testSupport.h"

#include <QRandomGenerator>
#include <QThread>

#include <gtest/gtest.h>

namespace {

class DbCrash : public HomeTest {};

TEST_F(DbCrash, KilledWriterLosesNoCommittedRow) {
    const QString file = home().folder(QStringLiteral("data")) + QStringLiteral("Userdata.dat");
    const QString key = QStringLiteral("crash\r\nkey");
    gCreateDatabase(file, key);
    QRandomGenerator rnd(20240305);
    int committed = 0;
    constexpr int kRounds = 12;
    for (int round = 0; round < kRounds; ++round) {
        auto child = dbtest::startChild(QStringLiteral("DISABLED_Writer"), file, key);
        ASSERT_TRUE(dbtest::waitForLine(*child, "ready")) << child->readAllStandardError().toStdString();
        QThread::msleep(rnd.bounded(5, 250));
        child->kill();
        ASSERT_TRUE(child->waitForFinished(30000));
        // Every row the writer reported after its commit.
        while (child->canReadLine()) {
            const QByteArray line = child->readLine().trimmed();
            if (line.startsWith("c ")) committed = std::max(committed, line.mid(2).toInt());
        }
        const QByteArray rest = child->readAll();
        for (const QByteArray& line : rest.split('\n'))
            if (line.startsWith("c ")) committed = std::max(committed, line.trimmed().mid(2).toInt());

        db::Connection c;
        c.open(file, key);
        db::Recordset rs;
        rs.open(QStringLiteral("PRAGMA integrity_check"), c);
        ASSERT_EQ(rs.field(rs.fieldName(0)).toString(), QStringLiteral("ok")) << "round " << round;
        rs.close();
        rs.open(QStringLiteral("SELECT Score FROM Diary"), c);
        std::vector<bool> present(size_t(rs.recordCount()) + size_t(committed) + 2);
        for (; !rs.eof(); rs.moveNext()) {
            const int s = rs.integer(QStringLiteral("Score"));
            if (s > 0 && size_t(s) < present.size()) present[size_t(s)] = true;
        }
        rs.close();
        // The writer numbers rows from 1 in each round: the committed ones of
        // this round are 1..committed, each a row of its own score.
        for (int i = 1; i <= committed; ++i)
            ASSERT_TRUE(present[size_t(i)]) << "row " << i << " round " << round;
        c.execute(QStringLiteral("DELETE FROM Diary"));
        committed = 0;
    }
}

} // namespace

#pragma once
// Helpers of the data-access tests: child processes of this test program that
// hold or write a database while the test watches.
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

namespace dbtest {

// Starts this test program again running only the child test `childTest`
// (a DbChild case) with the given role and database file in its environment.
std::unique_ptr<QProcess> startChild(const QString& childTest, const QString& file, const QString& password);

// Waits until the child prints a line equal to `line`; false on time-out or exit.
bool waitForLine(QProcess& p, const QByteArray& line, int timeoutMs = 30000);

// The environment of a child (empty in the parent).
QString childFile();
QString childPassword();

} // namespace dbtest

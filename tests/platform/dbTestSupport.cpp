#include "dbTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcessEnvironment>

namespace dbtest {

std::unique_ptr<QProcess> startChild(const QString& childTest, const QString& file, const QString& password) {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("REDEDERA_DB_CHILD_FILE"), file);
    env.insert(QStringLiteral("REDEDERA_DB_CHILD_KEY"), QString::fromLatin1(password.toUtf8().toHex()));
    // A killed child must not stop to write a leak report.
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::SeparateChannels);
    p->start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=DbChild.") + childTest,
                                                       QStringLiteral("--gtest_also_run_disabled_tests")});
    p->waitForStarted(30000);
    return p;
}

bool waitForLine(QProcess& p, const QByteArray& line, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    QByteArray buffer;
    while (t.elapsed() < timeoutMs) {
        while (p.canReadLine()) {
            if (p.readLine().trimmed() == line) return true;
        }
        if (p.state() == QProcess::NotRunning) return false;
        p.waitForReadyRead(100);
    }
    return false;
}

QString childFile() {
    return qEnvironmentVariable("REDEDERA_DB_CHILD_FILE");
}

QString childPassword() {
    return QString::fromUtf8(QByteArray::fromHex(qEnvironmentVariable("REDEDERA_DB_CHILD_KEY").toLatin1()));
}

} // namespace dbtest

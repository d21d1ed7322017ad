#include "testSupport.h"

#include <sys/stat.h>

#include "core/ui/frmMsg.h"
#include "core/model/gClock.h"
#include "core/base/gError.h"
#include "core/model/gDatabase.h"
#include "core/model/gFiles.h"
#include "core/ui/gForms.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "platform/dialogs.h"
#include "platform/shutDown.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include <ostream>

#include <cstdlib>

namespace {
const char* kVars[5] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"};
}

void resetSeams() {
    gMsgBoxSeam::reset();
    gMsgBoxSeam::setScripted(true);
    dialogs::seam::reset();
    dialogs::seam::setScripted(true);
    shutDown::seam::reset();
    shutDown::seam::setScripted(true);
    gClockSeam::reset();
    gClockSeam::seedRandom(12345);
    gFileSeam::reset();
}

TempHome::TempHome() {
    for (int i = 0; i < 5; ++i)
        saved_[i] = qgetenv(kVars[i]);
    const QString base = dir_.path();
    const QString sub[5] = {"/home", "/config", "/data", "/cache", "/runtime"};
    for (int i = 0; i < 5; ++i) {
        QDir().mkpath(base + sub[i]);
        qputenv(kVars[i], (base + sub[i]).toLocal8Bit());
    }
    QFile::setPermissions(base + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    resetSeams();
}

TempHome::~TempHome() {
    for (int i = 0; i < 5; ++i) {
        if (saved_[i].isNull())
            qunsetenv(kVars[i]);
        else
            qputenv(kVars[i], saved_[i]);
    }
}

QString TempHome::folder(const QString& name) const {
    const QString p = dir_.path() + QLatin1Char('/') + name;
    QDir().mkpath(p);
    return p + QLatin1Char('/');
}

void HomeTest::TearDown() {
    forms::unloadAllNow();
    pumpEvents();
    gResetAccountState();
    home_.reset();
}

QString writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
    f.write(bytes);
    return path;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void pumpEvents(int ms) {
    QElapsedTimer t;
    t.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    } while (t.elapsed() < ms);
}

QSet<QString> offeredFiles(QFileDialog& d, const QString& folder) {
    d.setOption(QFileDialog::DontUseNativeDialog, true);
    auto* model = d.findChild<QFileSystemModel*>();
    if (!model) return {};
    bool loaded = false;
    QObject::connect(model, &QFileSystemModel::directoryLoaded, &d, [&](const QString&) { loaded = true; });
    d.setDirectory(folder);
    for (int i = 0; i < 300 && !loaded; ++i)
        pumpEvents(10);
    pumpEvents(20);
    QSet<QString> names;
    const QModelIndex root = model->index(QDir(folder).absolutePath());
    for (int r = 0; r < model->rowCount(root); ++r) {
        const QModelIndex i = model->index(r, 0, root);
        if (!model->isDir(i) && (model->flags(i) & Qt::ItemIsEnabled)) names.insert(i.data().toString());
    }
    return names;
}

void addRow(const QString& table, const QVariantMap& fields) {
    gCommand.setCommandText(QStringLiteral("SELECT * FROM ") + table);
    gRecordset.setCursorLocation(db::CursorLocation::Client);
    gRecordset.open(gCommand, db::CursorType::Static, db::LockType::Optimistic);
    gRecordset.addNew();
    for (auto it = fields.begin(); it != fields.end(); ++it)
        gRecordset.setField(it.key(), it.value());
    gRecordset.update();
    gRecordset.close();
}

int fileMode(const QString& path) {
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

OpenUmask::OpenUmask() : saved(::umask(0)) {}
OpenUmask::~OpenUmask() {
    ::umask(static_cast<mode_t>(saved));
}

int errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const gRuntimeError& e) {
        return e.number();
    }
    return 0;
}

RealBoxes::RealBoxes(QStringList presses) : presses_(std::move(presses)) {
    gMsgBoxSeam::setScripted(false);
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { answer(); });
    timer_.start();
}

RealBoxes::~RealBoxes() {
    timer_.stop();
    gMsgBoxSeam::setScripted(true);
}

void RealBoxes::answer() {
    auto* box = qobject_cast<frmMsg*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    Seen s{box->textLabel->text(), {}};
    QPushButton* press = nullptr;
    const QString wanted = presses_.isEmpty() ? QString() : presses_.takeFirst();
    for (QPushButton* b : {box->firstButton, box->secondButton, box->thirdButton}) {
        if (!b->isVisible()) continue;
        s.buttons += b->text();
        if (b->text() == wanted && !wanted.isEmpty()) press = b;
    }
    seen += s;
    if (press) {
        QTest::mouseClick(press, Qt::LeftButton);
        return;
    }
    stray += s.text;
    QTest::keyClick(box, Qt::Key_Escape);
    if (box->isVisible()) box->firstButton->click(); // a set that Escape cannot close
}

void PrintTo(const RealBoxes::Seen& s, std::ostream* os) {
    *os << "{\"" << s.text.toStdString() << "\" [" << s.buttons.join(QLatin1Char('|')).toStdString() << "]}";
}

bool sameCentre(const QRect& a, const QRect& b) {
    const QPoint d = a.center() - b.center();
    return std::abs(d.x()) <= 1 && std::abs(d.y()) <= 1;
}

namespace {
const char* kFramelessChild = "REDEDERA_FRAMELESS_CHILD";
}

bool inFramelessChild() {
    return qEnvironmentVariableIsSet(kFramelessChild);
}

namespace {
// Runs the one test `filter` of this program in a child with these variables;
// returns its output when it failed, else an empty text.
QString runChild(const QString& filter, const QProcessEnvironment& env) {
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + filter});
    if (!child.waitForFinished(120000)) return QStringLiteral("the child did not finish");
    const QString out = QString::fromLocal8Bit(child.readAll());
    if (child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
        out.contains(QStringLiteral("[  PASSED  ] 1 test")))
        return {};
    return out.isEmpty() ? QStringLiteral("the child failed") : out;
}
} // namespace

QString reRunFrameless(const QString& filter, const QString& folder) {
    const QString config = writeFile(folder + QStringLiteral("/frameless.json"),
                                     "{\"windowFrameMargins\": false, \"screens\": [{\"name\": \"screen\", "
                                     "\"x\": 0, \"y\": 0, \"width\": 1280, \"height\": 900, "
                                     "\"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config);
    env.insert(QString::fromLatin1(kFramelessChild), QStringLiteral("1"));
    return runChild(filter, env);
}

namespace {
const char* kXChild = "REDEDERA_X_CHILD";
}

bool inXChild() {
    return qEnvironmentVariableIsSet(kXChild);
}

QString reRunUnderX(const QString& filter, QString* noServer) {
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty()) {
        *noServer = QStringLiteral("Xvfb is not installed");
        return {};
    }
    // The server takes the first free display itself and writes its number on
    // its output, so servers started by test programs at the same time never meet.
    QProcess server;
    server.setStandardErrorFile(QProcess::nullDevice());
    server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                        QStringLiteral("0"), QStringLiteral("1280x900x24"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp")});
    QByteArray number;
    while (!number.contains('\n') && server.waitForReadyRead(20000))
        number += server.readAllStandardOutput();
    bool ok = false;
    const int display = number.trimmed().toInt(&ok);
    if (!ok) {
        server.kill();
        server.waitForFinished();
        *noServer = QStringLiteral("Xvfb did not start");
        return {};
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":%1").arg(display));
    env.remove(QStringLiteral("XAUTHORITY"));
    env.insert(QString::fromLatin1(kXChild), QStringLiteral("1"));
    const QString failed = runChild(filter, env);
    server.terminate();
    if (!server.waitForFinished(10000)) {
        server.kill();
        server.waitForFinished();
    }
    return failed;
}

#pragma once
#include <QList>
#include <QRect>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class QFileDialog;

// A fresh home for one test: HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CACHE_HOME
// and XDG_RUNTIME_DIR point into a new temporary folder, and every seam (message
// box, dialogs, clock, random source) is reset and scripted.
class TempHome {
public:
    TempHome();
    ~TempHome();
    QString path() const { return dir_.path(); }
    QString home() const { return dir_.path() + QStringLiteral("/home"); }
    QString config() const { return dir_.path() + QStringLiteral("/config"); }
    QString runtime() const { return dir_.path() + QStringLiteral("/runtime"); }
    // A sub-folder, created; returned with a trailing "/".
    QString folder(const QString& name) const;

private:
    QTemporaryDir dir_;
    QByteArray saved_[5];
};

// Base fixture that gives each test its own TempHome.
class HomeTest : public ::testing::Test {
protected:
    void SetUp() override { home_ = std::make_unique<TempHome>(); }
    void TearDown() override;
    TempHome& home() { return *home_; }
    std::unique_ptr<TempHome> home_;
};

// Resets the program's seams to their scripted test defaults.
void resetSeams();

// Writes bytes to a file, making the folders; returns the path.
QString writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// Runs the event loop for a while so queued calls and deleteLater happen.
void pumpEvents(int ms = 0);

// The files a Qt file dialog lists in `folder` under its current filter, once
// the folder has loaded.
QSet<QString> offeredFiles(QFileDialog& d, const QString& folder);

// Adds one row to a table of the open account database through the shared
// command and recordset, the fields by their column names.
void addRow(const QString& table, const QVariantMap& fields);

// The permission bits of a file or folder; -1 when it is missing.
int fileMode(const QString& path);

// Lets every permission bit through while it lives: the files the program
// writes must be owner-only whatever the umask.
struct OpenUmask {
    OpenUmask();
    ~OpenUmask();
    OpenUmask(const OpenUmask&) = delete;
    OpenUmask& operator=(const OpenUmask&) = delete;
    unsigned saved;
};

// The number of the run-time error the call raises; 0 when it raises none.
int errorOf(const std::function<void()>& f);

// Answers the program's own message boxes for real while it lives: each box
// that comes up is read (its text, the captions of its buttons) and the button
// captioned with the next of `presses` is clicked. A box past the list, or
// without such a button, is closed with its cancel button and noted in `stray`.
class RealBoxes {
public:
    explicit RealBoxes(QStringList presses);
    ~RealBoxes();
    RealBoxes(const RealBoxes&) = delete;
    RealBoxes& operator=(const RealBoxes&) = delete;

    struct Seen {
        QString text; // as shown, lines separated by "\n"
        QStringList buttons;
        bool operator==(const Seen&) const = default;
    };
    QList<Seen> seen;
    QStringList stray;

private:
    void answer();
    QStringList presses_;
    QTimer timer_;
};

void PrintTo(const RealBoxes::Seen& s, std::ostream* os);
// True when the two rectangles share their centre, to the pixel that halving
// an odd size rounds away.
bool sameCentre(const QRect& a, const QRect& b);

// Windows get no frame at all where no window manager runs; the offscreen
// platform gives them one. True in the child that reRunFrameless starts.
bool inFramelessChild();
// Runs the one test `filter` again in a child process on an offscreen screen of
// 1280 x 900 whose windows have no frame; returns its output when it failed,
// else an empty text.
QString reRunFrameless(const QString& filter, const QString& folder);

// True in the child that reRunUnderX starts.
bool inXChild();
// Runs the one test `filter` again in a child process on the X platform, against
// a virtual X server (Xvfb) of its own, for what the offscreen platform lacks;
// returns its output when it failed, else an empty text. When no X server can be
// started nothing runs and `noServer` says why.
QString reRunUnderX(const QString& filter, QString* noServer);

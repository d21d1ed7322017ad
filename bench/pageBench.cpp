// The real program under the offscreen platform on a search account of 20,000
// or 200,000 entries: sign-in (Enter → the main window painted → the home
// page's count of the entries) beside the key derivation alone, and the search
// page as a user meets it: 检索 clicked → the first screen of rows → all rows,
// the longest the window went without answering meanwhile, 按内容 and typed
// words, later searches, and the memory the program holds. One run prints
// "name value" lines; --runs=N runs it N times in fresh processes and prints
// each value's median.
//
//   build-bench/bench/rededera_page_bench --entries=200000 --runs=5
//   build-bench/bench/rededera_page_bench --entries=200000 --early   (typing while the page still reads)
//   ... --sign-in-only [--enter-at-once]   (the sign-in alone; Enter without the user's pause)
//   ... --shot=page.png --size=1280x900   (a picture of the window after the listing)
//   ... --reading-shot=reading.png        (a second after 检索 was clicked)
#include "benchAccounts.h"

#include "accounts/frmLogin.h"
#include "core/model/clsMD5.h"
#include "core/ui/gForms.h"
#include "core/ui/gMain.h"
#include "core/model/gOptions.h"
#include "core/ui/gStartup.h"
#include "core/model/gState.h"
#include "core/model/gUserData.h"
#include "diary/frmRetrieval.h"
#include "diary/frmWelcome.h"
#include "platform/settingsStore.h"
#include "shell/frmMain.h"
#include "shell/gProgram.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QProcess>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

using namespace bench;

QElapsedTimer clock_;
double cpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}
double now() {
    return double(clock_.nsecsElapsed()) / 1e6;
}

void report(const char* name, double value) {
    std::printf("%s %.2f\n", name, value);
    std::fflush(stdout);
}

// The longest time between two turns of the event loop, watched by a timer
// that would fire every millisecond.
struct Responsiveness {
    QTimer timer;
    double last = 0, lastCpu = 0, longest = 0, longestCpu = 0;
    Responsiveness() {
        timer.setInterval(1);
        QObject::connect(&timer, &QTimer::timeout, [this] { tick(); });
    }
    void tick() {
        const double t = now(), c = cpuMs();
        if (t - last > longest) {
            longest = t - last;
            longestCpu = c - lastCpu;
        }
        last = t;
        lastCpu = c;
    }
    void start() {
        last = now();
        lastCpu = cpuMs();
        longest = longestCpu = 0;
        timer.start();
    }
    // The longest gap, and how much of it this thread ran (the rest it waited
    // for a processor on a busy machine).
    std::pair<double, double> stop() {
        tick();
        timer.stop();
        return {longest, longestCpu};
    }
};

// Runs the event loop until the page's searches are done; the time taken.
double untilDone(frmRetrieval* p, double from) {
    while (p->searching())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents();
    return now() - from;
}

// Typing as the keyboard does it, Chinese characters too (an input method's commit).
void type(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

void clickNode(frmRetrieval* p, const QString& caption) {
    const QList<QTreeWidgetItem*> found =
        p->paneTree->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
    QTest::mouseClick(p->paneTree->viewport(), Qt::LeftButton, {},
                      p->paneTree->visualItemRect(found.first()).center());
}

// A picture of the main window at the given size, after the listing.
QString shotFile, readingShotFile; // after the listing; a second into it
bool signInOnly = false;           // stop once the main window is painted
bool enterAtOnce = false;          // Enter as soon as the sign-in window shows
QSize shotSize;

int runOnce(int entries, bool early) {
    const QString dir = benchDir();
    ensureSearchAccount(entries);

    // A home of its own, a program folder with its manifest, and the account's
    // user folder: its profile and the search account (a hard link, not a copy).
    const QString home = dir + QStringLiteral("/page-home");
    QDir(home).removeRecursively();
    for (const char* sub : {"config", "data", "cache", "runtime"})
        QDir().mkpath(home + QLatin1Char('/') + QLatin1String(sub));
    QFile::setPermissions(home + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CACHE_HOME", (home + QStringLiteral("/cache")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", (home + QStringLiteral("/runtime")).toUtf8());
    const QString program = home + QStringLiteral("/program/");
    QDir().mkpath(program);
    QFile manifest(program + QStringLiteral("Rededera.exe.manifest"));
    manifest.open(QIODevice::WriteOnly);
    manifest.write("manifest");
    manifest.close();
    const QString user = home + QStringLiteral("/user/");
    QDir().mkpath(user);
    if (::link(QFile::encodeName(searchAccountFile(entries)).constData(),
               QFile::encodeName(user + QStringLiteral("Userdata.dat")).constData()) != 0) {
        std::fprintf(stderr, "cannot link the account into %s\n", qPrintable(user));
        return 1;
    }

    int argc = 1;
    char name[] = "rededera_page_bench";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Rededera"));
    QApplication::setQuitOnLastWindowClosed(false);
    gSetUpDesktop(); // as the program starts: its icon, Qt's texts
    gRegisterForms();
    gStartupSeam::setProgram(program, QStringLiteral("Rededera"));
    settings::save(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("PathOption"),
                   QStringLiteral("3"));
    settings::save(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("WorkPath"), user);
    settings::save(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("ShowAbout"),
                   QStringLiteral("0"));
    gInitPaths();
    AccountProfile profile;
    profile.UserName = kUserName;
    profile.PasswordHash = clsMD5().DigestStrToHexStr(kUserPassword);
    profile.RecordKey = kRecordKey;
    profile.PictureIndex = QStringLiteral("3");
    QString bits(int(kOptionCount), QLatin1Char('0'));
    bits[int(optionIndex(Option::PasswordOnlySignIn))] = QLatin1Char('1');
    profile.OptionBits = bits;
    profile.LockTimeout = QStringLiteral("5");
    profile.AutoSaveInterval = QStringLiteral("5");
    profile.RemindLead = QStringLiteral("30");
    if (!scrambled::writeFile(gProfileFile(), profile.fields(), 17, true)) return 1;

    clock_.start();
    double t = now();
    { Raw raw(searchAccountFile(entries), false); }
    report("key_derivation_ms", now() - t);

    Main();
    auto* login = forms::find<frmLogin>(Form::frmLogin);
    if (!login) return 1;
    QApplication::setActiveWindow(login); // Enter is the window's shortcut
    QCoreApplication::processEvents();
    // A user reads the window and types for a second or more; the program
    // readies the main window meanwhile.
    if (!enterAtOnce) QTest::qWait(1000);
    QTest::keyClicks(login->passwordOnlyEdit, kUserPassword);
    t = now();
    QTest::keyClick(login->passwordOnlyEdit, Qt::Key_Return);
    report("signin_enter_handled_ms", now() - t); // the window built, before it is painted
    QCoreApplication::processEvents();
    frmMain* main = gMainWindow();
    if (!main || !main->isVisible()) return 1;
    report("signin_enter_to_main_ms", now() - t);
    // The home page counts the entries after its first paint.
    auto* homePage = forms::find<frmWelcome>(Form::frmWelcome);
    if (!homePage) return 1;
    while (!homePage->entryCountLabel->text().startsWith(QStringLiteral("共有")))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    report("signin_enter_to_count_shown_ms", now() - t);
    if (signInOnly) return 0;
    // The rest of the start (timers, the reminder) settles first.
    QTest::qWait(300);
    report("rss_signed_in_MB", residentMB());

    Responsiveness answer;
    const double cpu = cpuMs();
    t = now();
    QTest::mouseClick(main->buttonCaptions[pageNumber(Page::Search)], Qt::LeftButton);
    QCoreApplication::processEvents();
    auto* page = forms::find<frmRetrieval>(Form::frmRetrieval);
    if (!page) return 1;
    report("click_to_first_rows_ms", now() - t);
    report("first_screen_rows", page->resultList->model()->rowCount());
    // From here on the window must answer while the page reads.
    answer.start();

    if (early) {
        // Straight to a word while the page still reads, one input at a time
        // as a user gives them, the event loop turning between them.
        clickNode(page, QStringLiteral("按内容"));
        QCoreApplication::processEvents();
        QTest::mouseClick(page->byContentCheck, Qt::LeftButton, {}, QPoint(5, 5));
        QCoreApplication::processEvents();
        const double typed = now();
        for (QChar c : kContentWord) {
            type(page->contentEdit, QString(c));
            QCoreApplication::processEvents();
        }
        report("early_content_search_ms", untilDone(page, typed));
        const auto [gap, gapCpu] = answer.stop();
        report("early_longest_unanswered_ms", gap);
        report("early_longest_unanswered_cpu_ms", gapCpu);
        report("early_content_found", page->resultList->model()->rowCount());
        QTest::qWait(200);
        report("rss_after_search_MB", residentMB());
        return 0;
    }

    bool progressSeen = false;
    bool readingShot = readingShotFile.isEmpty();
    while (page->searching()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        progressSeen = progressSeen || page->searchProgress->isVisible();
        if (!readingShot && now() - t > 1000) {
            main->grab().save(readingShotFile);
            readingShot = true;
        }
    }
    report("click_to_all_rows_ms", now() - t);
    report("click_to_all_rows_cpu_ms", cpuMs() - cpu);
    {
        const auto [gap, gapCpu] = answer.stop();
        report("listing_longest_unanswered_ms", gap);
        report("listing_longest_unanswered_cpu_ms", gapCpu);
    }
    report("listing_rows", page->resultList->model()->rowCount());
    report("listing_progress_shown", progressSeen ? 1 : 0);
    if (!shotFile.isEmpty()) {
        if (shotSize.isValid()) main->resize(shotSize);
        QTest::qWait(300);
        main->grab().save(shotFile);
    }
    // The scores and flags read on while nothing runs.
    QTest::qWait(50);
    t = now();
    while (page->searching() || page->searchProgress->isVisible())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    report("rss_after_listing_MB", residentMB());

    t = now();
    clickNode(page, QStringLiteral("按内容"));
    report("switch_to_content_pane_ms", untilDone(page, t));
    QTest::mouseClick(page->byContentCheck, Qt::LeftButton, {}, QPoint(5, 5));
    untilDone(page, now());
    answer.start();
    // Each key a search of its own: "露", then "露营".
    for (int k = 0; k < kContentWord.size(); ++k) {
        t = now();
        type(page->contentEdit, kContentWord.mid(k, 1));
        const double ms = untilDone(page, t);
        if (k == kContentWord.size() - 1) report("content_search_ms", ms);
    }
    report("content_found", page->resultList->model()->rowCount());
    {
        const auto [gap, gapCpu] = answer.stop();
        report("content_longest_unanswered_ms", gap);
        report("content_longest_unanswered_cpu_ms", gapCpu);
    }
    QTest::qWait(200);
    report("rss_after_content_search_MB", residentMB());

    // Later searches: other words, a title, scores, favourites.
    const auto typed = [&](QLineEdit* edit, const QString& text) {
        edit->selectAll();
        const double from = now();
        type(edit, text);
        return untilDone(page, from);
    };
    report("later_content_ms", typed(page->contentEdit, QStringLiteral("星")));
    report("later_content_letters_ms", typed(page->contentEdit, QStringLiteral("Camp")));
    clickNode(page, QStringLiteral("按评分"));
    untilDone(page, now());
    t = now();
    QTest::mouseClick(page->byScoreCheck, Qt::LeftButton, {}, QPoint(5, 5));
    report("later_score_ms", untilDone(page, t));
    t = now();
    QTest::mouseClick(page->favouritesOnlyCheck, Qt::LeftButton, {}, QPoint(5, 5));
    report("later_favourites_only_ms", untilDone(page, t));
    t = now();
    clickNode(page, QStringLiteral("收藏"));
    report("favourites_pane_ms", untilDone(page, t));
    report("rss_end_MB", residentMB());
    return 0;
}

int median(const QStringList& args, int runs) {
    QMap<QString, QList<double>> values;
    QStringList order;
    for (int r = 0; r < runs; ++r) {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QCoreApplication::applicationFilePath(), args);
        if (!p.waitForFinished(-1) || p.exitCode() != 0) {
            std::fprintf(stderr, "run %d failed\n", r + 1);
            return 1;
        }
        for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> kv = line.split(' ');
            if (kv.size() != 2) continue;
            const QString key = QString::fromUtf8(kv[0]);
            if (!values.contains(key)) order << key;
            values[key] << kv[1].toDouble();
        }
    }
    for (const QString& key : order) {
        QList<double> v = values[key];
        std::sort(v.begin(), v.end());
        std::printf("%-34s median %9.2f   min %9.2f   max %9.2f   (%lld runs)\n", qPrintable(key),
                    v[v.size() / 2], v.front(), v.back(), qlonglong(v.size()));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    int entries = 200000, runs = 0;
    bool early = false;
    QStringList pass;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a.startsWith(QLatin1String("--entries=")))
            entries = a.mid(10).toInt();
        else if (a.startsWith(QLatin1String("--runs=")))
            runs = a.mid(7).toInt();
        else if (a == QLatin1String("--early"))
            early = true;
        else if (a == QLatin1String("--sign-in-only"))
            signInOnly = true;
        else if (a == QLatin1String("--enter-at-once"))
            enterAtOnce = true;
        else if (a.startsWith(QLatin1String("--shot=")))
            shotFile = a.mid(7);
        else if (a.startsWith(QLatin1String("--reading-shot=")))
            readingShotFile = a.mid(15);
        else if (a.startsWith(QLatin1String("--size="))) {
            const QStringList wh = a.mid(7).split(QLatin1Char('x'));
            shotSize = QSize(wh.value(0).toInt(), wh.value(1).toInt());
        } else {
            std::fprintf(stderr,
                         "usage: %s [--entries=N] [--runs=N] [--early] [--sign-in-only] [--enter-at-once] "
                         "[--shot=FILE [--size=WxH]] "
                         "[--reading-shot=FILE]\n",
                         argv[0]);
            return 2;
        }
        if (!a.startsWith(QLatin1String("--runs="))) pass << a;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (runs > 0) {
        QCoreApplication app(argc, argv);
        return median(pass, runs);
    }
    return runOnce(entries, early);
}

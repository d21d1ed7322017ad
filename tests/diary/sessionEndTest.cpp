// The end of the session while an entry is being written: SIGTERM, SIGHUP or the
// session manager's quit end the program at once, asking nothing, with the body
// kept as the draft and the database closed.
#include "controls/scheduleText.h"
#include "core/model/gDatabase.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/model/gState.h"
#include "diary/frmNew.h"
#include "diary/frmPopUp.h"
#include "editorFixture.h"
#include "platform/db/db.h"
#include "shell/frmMain.h"
#include "shell/gProgram.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>

#include <csignal>
#include <functional>
#include <iostream>

namespace {

const char* kChildMode = "REDEDERA_SESSION_END_CHILD";
const QString kSavedBody = QStringLiteral("早上记下的，已经保存");
const QString kBody = QStringLiteral("今天的事还没写完");
const QString kMore = QStringLiteral("，在大窗口里接着写");

// Typed as an input method commits it, the way Chinese text arrives.
void typeText(QWidget* w, const QString& text) {
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(w, &e);
}

class SessionEndChild : public EditorTest {
protected:
    // 记录 on the top bar, a title and a body typed.
    frmNew* write(const QString& title, const QString& body) {
        QTest::mouseClick(main_->buttonCaptions[pageNumber(Page::Writing)], Qt::LeftButton);
        frmNew* e = editor();
        if (!e) return nullptr;
        typeText(e->titleEdit, title);
        typeText(e->bodyEdit->box(), body);
        return e;
    }
};

// What the program must leave behind, whichever way the session ends.
struct Ending {
    const char* name;
    const char* mode; // words the child reads: autosave, popup, quit
    int signal;       // sent by the test; 0: the child's session manager says quit
    QString draft;    // the draft's text
};

class SessionEnd : public HomeTest {
protected:
    // Starts the program holding an unsaved entry; returns its user folder once it waits.
    QString startChild(QProcess& child, const Ending& c) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildMode), QString::fromLatin1(c.mode));
        // The child's own temporary home lies in this test's, and goes with it.
        env.insert(QStringLiteral("TMPDIR"), home().folder(QString::fromLatin1(c.mode).replace(' ', '-')));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_also_run_disabled_tests"),
                     QStringLiteral("--gtest_filter=SessionEndChild.DISABLED_HoldAnUnsavedEntry")});
        if (!child.waitForStarted(10000)) return {};
        QByteArray out;
        auto readyLine = [&out] {
            const qsizetype at = out.indexOf("ready \t");
            return at >= 0 && out.indexOf('\n', at) > at ? out.mid(at, out.indexOf('\n', at) - at)
                                                         : QByteArray();
        };
        while (readyLine().isEmpty()) {
            if (!child.waitForReadyRead(60000)) return {};
            out += child.readAllStandardOutput();
        }
        const QList<QByteArray> words = readyLine().split('\t');
        if (words.size() != 3) return {};
        journalWhileOpen = words[2] == "journal";
        return QString::fromUtf8(words[1]);
    }
    bool journalWhileOpen = false;
};

TEST_F(SessionEnd, TheOpenEntryIsKeptAndTheDatabaseClosedWithoutAQuestion) {
    const Ending cases[] = {
        {"SIGTERM", "term", SIGTERM, kBody},
        {"SIGHUP", "hup", SIGHUP, kBody},
        {"SIGTERM with drafts saved on the timer", "term autosave", SIGTERM, kBody},
        {"SIGTERM with the body in the pop-up editor", "term popup", SIGTERM, kBody + kMore},
        {"the session manager's quit", "quit", 0, kBody},
    };
    for (const Ending& c : cases) {
        SCOPED_TRACE(c.name);
        QProcess child;
        const QString folder = startChild(child, c);
        ASSERT_FALSE(folder.isEmpty()) << child.readAllStandardError().toStdString();
        // The stored entry was written, so the database's journal is there while it is open.
        EXPECT_TRUE(journalWhileOpen);
        if (c.signal) ::kill(static_cast<pid_t>(child.processId()), c.signal);

        // Nothing is asked: the program is gone at once (a wait bound, not a measure).
        const bool ended = child.waitForFinished(2000);
        if (!ended) {
            child.kill();
            child.waitForFinished(10000);
        }
        ASSERT_TRUE(ended);
        const QByteArray out = child.readAllStandardOutput();
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
        EXPECT_FALSE(out.contains("returned")) << out.toStdString();

        // The body as the draft timer writes it, the user's alone.
        const QString draft = folder + QStringLiteral("Diary.tmp");
        ASSERT_TRUE(QFileInfo::exists(draft));
        EXPECT_EQ(fileMode(draft), 0600);
        scheduleText back;
        ASSERT_TRUE(back.loadFile(draft));
        EXPECT_EQ(back.text(), c.draft);

        // The database was closed: no journal, whole, with the entry saved before.
        const QString file = folder + QStringLiteral("Userdata.dat");
        EXPECT_FALSE(QFileInfo::exists(file + QStringLiteral("-journal")));
        gRecordKey = QStringLiteral("1234567");
        db::Connection db;
        db.open(file, gMakeDbPassword(QStringLiteral("secret")));
        db::Recordset rs;
        rs.open(QStringLiteral("PRAGMA integrity_check"), db);
        EXPECT_EQ(rs.field(rs.fieldName(0)).toString(), QStringLiteral("ok"));
        rs.close();
        rs.open(QStringLiteral("SELECT Diary FROM Diary"), db);
        ASSERT_EQ(rs.recordCount(), 1);
        EXPECT_EQ(rs.text(QStringLiteral("Diary")), kSavedBody);
        rs.close();
        db.close();
    }
}

// The session manager's request to save (the session may go on after it): the
// draft is written only when leaving would lose something, nothing is asked or
// closed, and the draft goes again with the entry as one the timer wrote.
using SessionSave = SessionEndChild;

TEST_F(SessionSave, TheDraftIsWrittenOnlyWhenLeavingWouldLoseSomething) {
    addRow(today, QStringLiteral("旧的"), QStringLiteral("旧的正文"), 50);
    struct Case {
        const char* name;
        bool editMode;
        std::function<void(frmNew*)> change;
        bool drafted;
    } cases[] = {
        {"new entry, nothing typed", false, [](frmNew*) {}, false},
        {"new entry, a title only", false, [](frmNew* e) { typeText(e->titleEdit, QStringLiteral("题")); },
         true},
        {"new entry, a body", false, [](frmNew* e) { typeText(e->bodyEdit->box(), kBody); }, true},
        {"stored entry, unchanged", true, [](frmNew*) {}, false},
        {"stored entry, changed", true, [](frmNew* e) { typeText(e->bodyEdit->box(), kMore); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gOption(Option::DraftAutoSave) = false;
        QFile::remove(frmNew::draftFile());
        loadDay(today);
        gDayIndex = 1;
        frmNew* e = openEditor(c.editMode, c.editMode);
        ASSERT_NE(e, nullptr);
        c.change(e);

        EXPECT_TRUE(gSaveForSessionEnd());
        EXPECT_EQ(QFileInfo::exists(frmNew::draftFile()), c.drafted);
        EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
        EXPECT_EQ(editor(), e);
        EXPECT_TRUE(gConnection.isOpen());
        gMsgBoxSeam::pushAnswer(gMsgResult::Yes); // leaving asks when there was something to lose
        ASSERT_TRUE(main_->gChangeFrame(Page::Home));
        gMsgBoxSeam::reset();
        gMsgBoxSeam::setScripted(true);
    }
    // Without an editor there is nothing to keep.
    EXPECT_TRUE(gSaveForSessionEnd());
    EXPECT_FALSE(QFileInfo::exists(frmNew::draftFile()));
}

TEST_F(SessionSave, ADraftWrittenSoGoesWithTheEntryEvenWithAutoSaveOff) {
    gOption(Option::DraftAutoSave) = false;
    struct Case {
        const char* name;
        std::function<void(frmNew*)> finish;
    } cases[] = {
        {"saved", [](frmNew* e) { QTest::mouseClick(e->saveButton, Qt::LeftButton); }},
        {"left with a yes",
         [this](frmNew*) {
             gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
             QTest::mouseClick(main_->buttonCaptions[pageNumber(Page::Review)], Qt::LeftButton);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmNew* e = write(QStringLiteral("标题"), kBody);
        ASSERT_NE(e, nullptr);
        ASSERT_TRUE(gSaveForSessionEnd());
        ASSERT_TRUE(QFileInfo::exists(frmNew::draftFile()));
        EXPECT_TRUE(e->draftNoticeLabel->isVisibleTo(e));
        c.finish(e);
        pumpEvents();
        EXPECT_EQ(editor(), nullptr);
        EXPECT_FALSE(QFileInfo::exists(frmNew::draftFile()));
    }
}

TEST_F(SessionSave, TheOpenPopUpEditorsTextIsTheDraftAndStaysOpen) {
    frmNew* e = openEditor();
    ASSERT_NE(e, nullptr);
    QTest::mouseClick(e->bodyEdit->popUpLink(), Qt::LeftButton);
    ASSERT_NE(popUp(), nullptr);
    typeText(popUp()->textEdit->box(), kBody);
    // The editor's own boxes are still empty; the text is in the pop-up.
    ASSERT_TRUE(e->bodyEdit->text().isEmpty());

    EXPECT_TRUE(gSaveForSessionEnd());
    scheduleText back;
    ASSERT_TRUE(back.loadFile(frmNew::draftFile()));
    EXPECT_EQ(back.text(), kBody);
    EXPECT_NE(popUp(), nullptr);
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
}

TEST_F(SessionSave, ADraftThatCannotBeWrittenIsNotCalledSaved) {
    frmNew* e = write(QStringLiteral("标题"), kBody);
    ASSERT_NE(e, nullptr);
    // A folder where the draft should go.
    ASSERT_TRUE(QDir().mkpath(frmNew::draftFile() + QStringLiteral("/x")));
    EXPECT_FALSE(gSaveForSessionEnd());
    EXPECT_FALSE(e->draftNoticeLabel->isVisibleTo(e));
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    QDir(frmNew::draftFile()).removeRecursively();
}

// Not a test of its own: the program of the test above. It saves one entry, then
// writes another and waits, unsaved, for the end of the session.
TEST_F(SessionEndChild, DISABLED_HoldAnUnsavedEntry) {
    const QByteArray mode = qgetenv(kChildMode);
    if (mode.isEmpty()) GTEST_SKIP() << "runs only as the child of the session-end test";
    gOption(Option::DraftAutoSave) = mode.contains("autosave");

    frmNew* e = write(QStringLiteral("早上"), kSavedBody);
    ASSERT_NE(e, nullptr);
    QTest::mouseClick(e->saveButton, Qt::LeftButton);
    ASSERT_EQ(diaryRows(), 1);
    e = write(QStringLiteral("晚上"), kBody);
    ASSERT_NE(e, nullptr);
    if (mode.contains("popup")) {
        QTest::mouseClick(e->bodyEdit->popUpLink(), Qt::LeftButton);
        ASSERT_NE(popUp(), nullptr);
        QTextEdit* box = popUp()->textEdit->box();
        box->moveCursor(QTextCursor::End);
        typeText(box, kMore);
    }
    ASSERT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    ASSERT_FALSE(QFileInfo::exists(frmNew::draftFile()));

    // As the program does at its start.
    gWatchSessionEnd();
    const bool journal = QFileInfo::exists(gDatabaseFile + QStringLiteral("-journal"));
    std::cout << "ready \t" << gDataPath.toStdString() << '\t' << (journal ? "journal" : "none") << std::endl;
    if (mode.contains("quit")) {
        // What the session manager's order to quit arrives as.
        QTimer::singleShot(0, [] {
            QEvent quit(QEvent::Quit);
            QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
        });
    }
    QCoreApplication::exec();
    std::cout << "returned" << std::endl;
}

} // namespace

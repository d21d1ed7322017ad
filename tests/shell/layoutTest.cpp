// Every page and window at the main window's minimum size and at 1280 x 900:
// no label's text wider than the label, no control cut off by its container,
// no two visible sibling controls on top of each other. With REDEDERA_LAYOUT_SHOTS
// naming a folder, each checked state is also saved there as a picture.
#include "shellFixture.h"

#include "core/model/clsSchedule.h"
#include "core/ui/frmHelp.h"
#include "core/ui/frmMsg.h"
#include "core/model/gClock.h"
#include "core/model/gState.h"
#include "core/model/gStrings.h"
#include "core/model/gUserData.h"
#include "core/model/gWeek.h"
#include "shell/frmMain.h"
#include "shell/gProgram.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>

namespace {

QString name(const QWidget* w) {
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

QString path(const QWidget* w, const QWidget* root) {
    QStringList parts;
    for (const QWidget* p = w; p && p != root; p = p->parentWidget())
        parts.prepend(name(p));
    return parts.join(QLatin1Char('/'));
}

// Controls drawn by Qt itself, or by another part of the program, whose insides are not ours to check.
bool opaque(const QWidget* w) {
    return qobject_cast<const QAbstractScrollArea*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QLabel*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QTabBar*>(w) || qobject_cast<const QSlider*>(w) ||
           w->inherits("scheduleTable") || w->inherits("scheduleMonthView");
}

QString plainText(const QLabel* l) {
    QString t = l->text();
    if (Qt::mightBeRichText(t) && l->textFormat() != Qt::PlainText) {
        QTextDocument d;
        d.setHtml(t);
        t = d.toPlainText();
    }
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

QString withoutMnemonic(QString t) {
    t.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    t.remove(QLatin1Char('&'));
    t.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return t;
}

// Pairs of siblings meant to lie on each other ("A|B", either order).
using Overlays = QSet<QString>;

void check(const QWidget* w, const QWidget* root, const Overlays& overlays, QStringList& faults) {
    const QString where = path(w, root);
    if (const auto* l = qobject_cast<const QLabel*>(w)) {
        if (l->pixmap().isNull() && !l->text().isEmpty()) {
            const QRect box = l->contentsRect();
            if (l->wordWrap()) {
                if (l->heightForWidth(box.width()) > box.height())
                    faults << where + QStringLiteral(": wrapped text taller than the label");
            } else {
                const QFontMetrics fm(l->font());
                const QStringList lines = withoutMnemonic(plainText(l)).split(QLatin1Char('\n'));
                const int tall = fm.boundingRect(QRect(0, 0, box.width(), 1 << 20),
                                                 Qt::AlignLeft | Qt::AlignTop, lines.join(QLatin1Char('\n')))
                                     .height();
                if (lines.size() > 1 && tall > box.height())
                    faults << QStringLiteral("%1: %2 lines %3 px tall, has %4")
                                  .arg(where)
                                  .arg(lines.size())
                                  .arg(tall)
                                  .arg(box.height());
                for (const QString& line : lines)
                    if (fm.horizontalAdvance(line) > box.width())
                        faults << QStringLiteral("%1: \"%2\" needs %3 px, has %4")
                                      .arg(where, line)
                                      .arg(fm.horizontalAdvance(line))
                                      .arg(box.width());
            }
        }
    } else if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w)) {
        const auto* b = static_cast<const QAbstractButton*>(w);
        if (!b->text().isEmpty() && b->sizeHint().width() > b->width())
            faults << QStringLiteral("%1: \"%2\" needs %3 px, has %4")
                          .arg(where, b->text())
                          .arg(b->sizeHint().width())
                          .arg(b->width());
    } else if (const auto* b = qobject_cast<const QPushButton*>(w)) {
        const QString t = withoutMnemonic(b->text());
        const int need = QFontMetrics(b->font()).horizontalAdvance(t) + 8;
        if (!t.isEmpty() && need > b->width())
            faults
                << QStringLiteral("%1: \"%2\" needs %3 px, has %4").arg(where, t).arg(need).arg(b->width());
    }
    if (opaque(w)) return;

    QList<const QWidget*> shown;
    for (const QObject* o : w->children()) {
        const auto* c = qobject_cast<const QWidget*>(o);
        if (!c || c->isWindow() || !c->isVisibleTo(root) || c->width() <= 0 || c->height() <= 0) continue;
        // The timetable page's menu waits off the page's left edge until it slides in.
        const bool parked = name(c) == QLatin1String("Picture1") && w->inherits("frmSchedule");
        if (!parked && !w->rect().contains(c->geometry()))
            faults << QStringLiteral("%1: (%2,%3 %4x%5) cut off by %6 (%7x%8)")
                          .arg(path(c, root))
                          .arg(c->x())
                          .arg(c->y())
                          .arg(c->width())
                          .arg(c->height())
                          .arg(name(w))
                          .arg(w->width())
                          .arg(w->height());
        // A control lying wholly inside another is laid on it on purpose (a panel and its
        // contents); the editor's tool buttons are 375 twips wide at 360 twips apart.
        const auto toolEdge = [c](const QWidget* s) {
            return qobject_cast<const QToolButton*>(s) && qobject_cast<const QToolButton*>(c) &&
                   s->geometry().intersected(c->geometry()).width() <= 1;
        };
        for (const QWidget* s : shown)
            if (s->geometry().intersects(c->geometry()) && !s->geometry().contains(c->geometry()) &&
                !c->geometry().contains(s->geometry()) && !toolEdge(s) &&
                !overlays.contains(name(s) + QLatin1Char('|') + name(c)) &&
                !overlays.contains(name(c) + QLatin1Char('|') + name(s)))
                faults << QStringLiteral("%1 (%2,%3 %4x%5) overlaps %6 (%7,%8 %9x%10)")
                              .arg(path(c, root))
                              .arg(c->x())
                              .arg(c->y())
                              .arg(c->width())
                              .arg(c->height())
                              .arg(name(s))
                              .arg(s->x())
                              .arg(s->y())
                              .arg(s->width())
                              .arg(s->height());
        shown << c;
        check(c, root, overlays, faults);
    }
}

QStringList layoutFaults(QWidget* root, const Overlays& overlays = {}) {
    QStringList faults;
    check(root, root, overlays, faults);
    return faults;
}

void saveShot(QWidget* w, const QString& what) {
    const QString dir = qEnvironmentVariable("REDEDERA_LAYOUT_SHOTS");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    w->grab().save(dir + QLatin1Char('/') + what + QStringLiteral(".png"));
}

const QSize kSizes[] = {{655, 505}, {1280, 900}};

// The longest name a student is likely to give, and longer than any label holds.
const QString kLongName =
    QStringLiteral("一个非常非常长的用户名字用来检查每个窗口是否都能把它完整地显示出来");

class LayoutCheck : public AccountShellTest {
protected:
    void SetUp() override {
        AccountShellTest::SetUp();
        makeAccount();
        gUserName = kLongName;
        ASSERT_TRUE(gSaveUserData());
        gClockSeam::set(QDateTime(QDate(2026, 3, 18), QTime(7, 0))); // a Wednesday morning
        // The default timetable of a new account (ten periods), with a full Wednesday.
        gTimetable.gGetSchedule();
        gTimetable.Term.TermBegin = QDate(2026, 3, 2);
        gTimetable.Term.TermEnd = QDate(2026, 7, 1);
        for (int period = 1; period <= gTimetable.rowCount(); period += 2) {
            clsCourse c;
            c.Name = QStringLiteral("高等数学与线性代数");
            c.Place = QStringLiteral("第三教学楼 301");
            c.BeginWeek = 1;
            c.EndWeek = 18;
            c.Color = qint16(period);
            c.Course(3) = {double(period), double(period + 1)};
            c.Index = qint16(gTimetable.CourseCount() + 1);
            gTimetable.gCourse.add(c, clsSchedule::key(c.Index));
        }
        gBuildTodayCourses();
        gRegisterForms();
    }
    void TearDown() override {
        gTimetable = clsSchedule();
        gClockSeam::reset();
        AccountShellTest::TearDown();
    }
    frmMain* main() {
        if (!main_) {
            loadMain();
            // The offscreen screen is smaller than the sizes checked here.
            main_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
        return main_;
    }
    // The main window at each size with `shown` on, checked after `prepare`.
    void checkPage(Page shown, const QString& what, const Overlays& overlays = {},
                   const std::function<void(QWidget*)>& prepare = {}) {
        frmMain* m = main();
        ASSERT_NE(m, nullptr);
        for (const QSize& size : kSizes) {
            SCOPED_TRACE(
                QStringLiteral("%1 at %2x%3").arg(what).arg(size.width()).arg(size.height()).toStdString());
            m->resize(size);
            ASSERT_TRUE(m->gChangeFrame(shown));
            QWidget* page = m->currentPage();
            ASSERT_NE(page, nullptr);
            if (prepare) prepare(page);
            pumpEvents();
            saveShot(m, QStringLiteral("%1-%2x%3").arg(what).arg(size.width()).arg(size.height()));
            const QStringList faults = layoutFaults(m, overlays);
            EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
        }
    }
};

TEST_F(LayoutCheck, MainPages) {
    const struct {
        Page page;
        const char* name;
    } pages[] = {{Page::Home, "home"},        {Page::Timetable, "timetable"}, {Page::Writing, "editor"},
                 {Page::Review, "review"},    {Page::Search, "search"},       {Page::Account, "account"},
                 {Page::Settings, "settings"}};
    for (const auto& p : pages)
        checkPage(p.page, QString::fromLatin1(p.name));
}

TEST_F(LayoutCheck, PageStates) {
    // The account page's dialogs, with and without a password.
    for (int dialog = 0; dialog < 4; ++dialog)
        checkPage(Page::Account, QStringLiteral("account-dialog%1").arg(dialog), {}, [dialog](QWidget* page) {
            const char* links[] = {"lblCmd10", "lblCmd11", "lblCmd12", "lblCmd13"};
            auto* link = page->findChild<QWidget*>(QLatin1String(links[dialog]));
            ASSERT_NE(link, nullptr);
            QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(3, 3));
        });
    // The search page's panes, chosen in its tree.
    for (int pane = 1; pane <= 6; ++pane)
        checkPage(Page::Search, QStringLiteral("search-pane%1").arg(pane), {}, [pane](QWidget* page) {
            auto* tree = page->findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
            ASSERT_NE(tree, nullptr);
            QTreeWidgetItem* node = pane == 6   ? tree->topLevelItem(1)
                                    : pane == 1 ? tree->topLevelItem(0)
                                                : tree->topLevelItem(0)->child(pane - 2);
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
        });
    // The timetable page's panes, chosen in its slide-in menu.
    for (int pane = 1; pane <= 3; ++pane)
        checkPage(Page::Timetable, QStringLiteral("timetable-pane%1").arg(pane), {}, [pane](QWidget* page) {
            auto* label = page->findChild<QLabel*>(QStringLiteral("LabelTop%1").arg(pane));
            ASSERT_NE(label, nullptr);
            QTest::mouseClick(label, Qt::LeftButton);
        });
}

TEST_F(LayoutCheck, Windows) {
    main();
    for (gFormName name : {Form::frmLogin, Form::frmCreateAccount, Form::frmLock, Form::frmKeyExport,
                           Form::frmAbout, Form::frmSuspend, Form::frmScheRemind, Form::frmScheReport}) {
        SCOPED_TRACE(name.toString().toStdString());
        QWidget* w = forms::load(name);
        ASSERT_NE(w, nullptr);
        w->show();
        pumpEvents();
        saveShot(w, name);
        const QStringList faults = layoutFaults(w);
        EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
        forms::unload(w);
    }
}

TEST_F(LayoutCheck, MessageBoxAndHelpWindow) {
    // Every message of the string table in every button layout.
    for (int id : gResStringIds()) {
        const QString text = gLoadResString(id);
        if (id < 100 || id >= 300 || text.isEmpty() || !text.at(0).isDigit()) continue;
        for (int set = 0; set < 8; ++set) {
            SCOPED_TRACE(QStringLiteral("message %1, buttons %2").arg(id).arg(set).toStdString());
            frmMsg box;
            box.setupMessage(text.at(0).digitValue(), text.mid(1), set, gHasResString(id + 300));
            box.show();
            const QStringList faults = layoutFaults(&box);
            EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
        }
    }
    // The help window's topic list, each topic, and each message's help.
    frmHelp help;
    help.gShowMain();
    help.show();
    pumpEvents();
    saveShot(&help, QStringLiteral("frmHelp"));
    QStringList faults = layoutFaults(&help);
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
    for (int topic = 702; topic <= 706; ++topic) {
        SCOPED_TRACE(topic);
        auto* link = help.findChild<QLabel*>(QStringLiteral("Label1_%1").arg(topic));
        ASSERT_NE(link, nullptr);
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(3, 3));
        pumpEvents();
        faults = layoutFaults(&help);
        EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
        QMetaObject::invokeMethod(&help, [&help] { help.gShowMain(); });
        pumpEvents();
    }
    for (int id : gResStringIds()) {
        if (id < 400 || id >= 600) continue;
        SCOPED_TRACE(id);
        frmHelp text;
        text.showText(id);
        text.show();
        pumpEvents();
        faults = layoutFaults(&text);
        EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
    }
}

} // namespace

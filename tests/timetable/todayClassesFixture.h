#pragma once
// A signed-in account's timetable for the reminder and today's-classes report:
// an encrypted account database in a temporary home, filled through the shared
// recordset, read back into the timetable model, and today's list built from it.
#include "testSupport.h"

#include <QDate>
#include <QString>
#include <QVariantMap>

// Monday 14 September 2026, the second week of a term that began on Monday 7 September.
QDate termMonday();

// Types text into the focused-or-not widget as an input method commits it, the
// way Chinese text arrives (QTest's key clicks take ASCII only).
class QLineEdit;
class QListWidget;
class QWidget;
void typeText(QWidget* widget, const QString& text);

// How often the stand-in main window was loaded.
int& mainWindowLoads();

// The size of the page area the main window gives the timetable page at a window size.
class QSize;
QSize timetablePageSize(QSize mainWindow);

class TodayClassesTest : public HomeTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The clock: a day of the term week (1 = Monday) at h:m:s.
    static void setNow(int weekday, int h, int m, int s = 0);
    // A course on one weekday; periods as the course editor stores them ("0103"),
    // in colour `color` (the custom colour `userColor` for the custom swatch).
    static void addCourse(const QString& name, const QString& place, int weekday, const QString& periods,
                          int color = 3, long userColor = 14589563);
    // Reads the timetable and builds today's list, as the sign-in does.
    static void loadToday();

    QString file_;
};

class frmSchedule;

// The timetable page on the account above, loaded as the main window loads it.
class SchedulePageTest : public TodayClassesTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Reads the model and shows the page, active as the main window shows it.
    frmSchedule* open();
    // A left click on a slide-menu entry's caption.
    void menu(int entry);
    // A left click on a row of a list, scrolled into view first as a user scrolls to it.
    static void clickItem(QListWidget* list, int row);
    // A left click on a cell of the base settings' period grid (period row 1-based).
    void clickPeriodCell(int period, int col);
    // Types into the in-place editor that a click opened, replacing its text, and
    // closes it with Enter.
    static void typeAndEnter(QLineEdit* editor, const QString& text);
    // The stored fields of course k (1-based), as text.
    static QVariantMap stored(int k);
    static QString stored(int k, const QString& field) { return stored(k).value(field).toString(); }

    frmSchedule* page_ = nullptr;
};

#pragma once
#include <QPixmap>
#include <QWidget>
#include <array>

#include "core/ui/gForms.h"
#include "core/ui/gLinkLabel.h"
#include "timetable/scheduleBasePane.h"
#include "timetable/scheduleCoursePanes.h"

class QFrame;
class QLabel;
class QScrollArea;
class QTimer;

class scheduleCommand;
class scheduleTable;

// The page's panes, numbered as the menu's tabs are, left to right.
namespace SchedulePane {
constexpr int Week = 0, BaseSettings = 1, NewCourse = 2, AllCourses = 3;
} // namespace SchedulePane

// The timetable page: the week view, the base settings, the course editor and
// the list of all courses, one at a time, chosen from a menu that slides in
// from the left edge. The main window hides this page instead of unloading it,
// so the week shown and the menu's state survive between visits; every visit
// opens on the current week.
class frmSchedule : public QWidget, public gForm {
    Q_OBJECT
public:
    frmSchedule();
    void formLoad() override;

    // Shows pane Index (a SchedulePane number) and hides the others; any other
    // index leaves all hidden.
    void gChangeFrame(int Index);
    // Fills the grid with the week shownWeek().
    void DrawWeek();
    void HighlightTab(int Index);
    // One step of the sliding menu.
    void slideTimer_Timer();
    // What a visit does each time the page comes forward.
    void Form_Activate();
    // The week buttons (left-button release).
    void previousWeekButton_MouseUp(int button, int shift, int x, int y);
    void nextWeekButton_MouseUp(int button, int shift, int x, int y);
    // The mouse over the arrow (opens the menu) and over the page or the grid (closes it).
    void menuArrow_MouseMove();
    void Form_MouseMove();
    // The keyboard's road into the menu: an entry's caption took or lost the
    // focus. Taking it opens the menu at once; losing it to a control outside
    // the menu slides the menu away.
    void menuEntry_Focus(int Index, bool gotFocus);

    // Reloads every list of the panes from the timetable model.
    void LoadOptions();

    int shownWeek() const { return shownWeek_; }
    void setShownWeek(int week) { shownWeek_ = week; }
    bool menuOpen() const { return menuOpen_; }
    int hoverTab() const { return hoverTab_; }
    // The menu's left edge in twips (kept in twips, as pixels would drift by rounding).
    int menuLeft() const { return menuLeft_; }

    QFrame* weekPane = nullptr;
    // Holds the grid and scrolls it when its periods or weekdays do not fit.
    QScrollArea* weekArea = nullptr;
    scheduleBasePane* basePane = nullptr;
    scheduleCourseEditor* courseEditorPane = nullptr;
    scheduleCourseList* courseListPane = nullptr;
    scheduleTable* weekGrid = nullptr;
    QLabel* weekDateLabel = nullptr;
    scheduleCommand* previousWeekButton = nullptr;
    scheduleCommand* nextWeekButton = nullptr;
    QWidget* menuPanel = nullptr;
    QLabel* menuArrow = nullptr;
    std::array<QLabel*, 4> menuIcons{};
    std::array<gLinkLabel*, 4> menuCaptions{};
    std::array<QPixmap, 4> menuIconPictures;
    std::array<QPixmap, 4> menuIconHighlights;
    QTimer* slideTimer = nullptr;

    void setVisible(bool visible) override;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void LoadTermDates();
    void OpenCourseEditor(bool editing);
    void ShowAllCourses();
    void hideAllPanes();
    void layoutPanes();
    // The grid's sizes in twips for the room the week view has now.
    struct GridSizes {
        int nameWidth = 0, dayWidth = 0, rowHeight = 0;
        bool operator==(const GridSizes&) const = default;
    };
    GridSizes fittedGridSizes() const;

    int shownWeek_ = 0;
    bool menuOpen_ = false;
    int hoverTab_ = -1;
    int menuLeft_ = -1600;
    GridSizes drawnSizes_;
};

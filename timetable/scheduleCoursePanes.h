#pragma once
#include <QFrame>
#include <QVector>
#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class scheduleBackground;
class scheduleColorSet;
class scheduleCourseList;

// The course editor: creates a course or edits the one selected in the course
// list. A course is addressed by its position in the Course table.
class scheduleCourseEditor : public QFrame {
    Q_OBJECT
public:
    explicit scheduleCourseEditor(QWidget* parent = nullptr);
    void setCourseList(scheduleCourseList* list) { list_ = list; }

    // Refills the weekday, period and week lists from gTimetable.
    void LoadOptions();
    void OpenCourseEditor(bool editMode);
    void weekdayList_Click();
    void periodList_Click(int index);
    // Save-button enabling after a change of the name or room, or a week choice.
    void nameOrRoomEdit_Change();
    void weekCombo_Click();
    // The save; true when the course was written.
    bool saveButton_Click();
    void cancelButton_Click();

    bool editingCourse() const { return editingCourse_; }
    bool periodChoice(int weekday, int period) const;

    // Run after a new course was saved or dropped: back to the week view.
    std::function<void()> onNewDone;
    // Run after a save, to reload every pane's lists.
    std::function<void()> onReload;

    QLabel* titleLabel = nullptr;
    QLineEdit* nameEdit = nullptr;
    QLineEdit* roomEdit = nullptr;
    QListWidget* weekdayList = nullptr;
    QListWidget* periodList = nullptr;
    QComboBox* beginWeekCombo = nullptr;
    QComboBox* endWeekCombo = nullptr;
    std::array<QRadioButton*, 3> weekRuleOptions{};
    scheduleColorSet* colorSet = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* cancelButton = nullptr;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void resetChoice();
    void backToList(int index);

    scheduleCourseList* list_ = nullptr;
    QVector<QVector<bool>> choice_; // [weekday 1..7][period 1..n]
    bool editingCourse_ = false;
    int editIndex_ = -1;
};

// The list of all courses with the selected one's details, edit and delete.
class scheduleCourseList : public QFrame {
    Q_OBJECT
public:
    explicit scheduleCourseList(QWidget* parent = nullptr);
    void setEditor(scheduleCourseEditor* editor) { editor_ = editor; }

    void LoadOptions();
    void ShowAllCourses();
    // Selects entry `index` (-1 for none) and shows its details.
    void selectCourse(int index);
    void courseList_Click();
    void editButton_Click();
    // The delete; true when a course was removed.
    bool deleteButton_Click();

    std::function<void()> onBack;

    QLabel* titleLabel = nullptr;
    QListWidget* courseList = nullptr;
    QPlainTextEdit* detailsText = nullptr;
    scheduleBackground* colorSample = nullptr;
    QPushButton* editButton = nullptr;
    QPushButton* deleteButton = nullptr;
    QPushButton* backButton = nullptr;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    scheduleCourseEditor* editor_ = nullptr;
};

// A weekday's periods as the Course table stores them: two digits each, ascending.
QString gPeriodsText(const QList<int>& periods);

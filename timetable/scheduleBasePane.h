#pragma once
#include <QFrame>
#include <array>
#include <functional>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The timetable page's base settings: the term's first and last day, the seven
// weekday columns and the class periods. The controls are a working copy of the
// model; saving checks it and rewrites the tables Term, Col and Row together.
//
// Period p is grid row p (1-based here; row 0 is the header); grid columns: 0
// visibility picture, 1 name, 2 begin, 3 end, 4 "True"/"False" (hidden).
class scheduleBasePane : public QFrame {
    Q_OBJECT
public:
    explicit scheduleBasePane(QWidget* parent = nullptr);

    // Refills the weekday names and boxes and the period grid from gTimetable.
    void LoadOptions();
    // Puts the term into the pickers and shows the pane.
    void LoadTermDates();
    void ShowWeekCount();

    void weekdayLabel_MouseUp(int i);
    void weekdayNameEdit_LostFocus();
    void weekdayCheck_Click(int i);
    // A left-button click on grid cell (row, col), row 1-based.
    void periodGrid_MouseUp(int row, int col);
    void periodCellEdit_LostFocus();
    // "增加": a period at the end; disabled while the grid holds 99.
    void addPeriodButton_Click();
    // Deletes period row `row` (1-based).
    void deletePeriodButton_Click(int row);
    void SortPeriodRows();
    // "保存(&S)": true when the tables were rewritten and the model reloaded.
    bool saveButton_Click();

    // Called after a save, and on "取消".
    std::function<void()> onSaved;
    std::function<void()> onCancel;

    // Grid access by 1-based period row.
    int periodCount() const;
    QString cell(int row, int col) const;
    void setCell(int row, int col, const QString& text);

    QDateEdit* termBeginPicker = nullptr;
    QDateEdit* termEndPicker = nullptr;
    QLabel* weekCountLabel = nullptr;
    std::array<QLabel*, 8> weekdayLabels{};
    std::array<QCheckBox*, 8> weekdayChecks{};
    QLineEdit* weekdayNameEdit = nullptr;
    QTableWidget* periodGrid = nullptr;
    QLineEdit* periodCellEdit = nullptr;
    QPushButton* addPeriodButton = nullptr;
    QPushButton* deletePeriodButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* cancelButton = nullptr;

    int editCol = 0;
    int editRow = 0;
    int editWeekday = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void addPeriodRow(const QString& name, const QString& begin, const QString& end, bool visible);
    void showVisibility(int row);
    bool otherRowVisible(int row) const;
    void rewriteTables();
};

// Text cut to at most `bytes` bytes of the ANSI code page, never inside a character.
QString gLeftAnsiBytes(const QString& text, int bytes);

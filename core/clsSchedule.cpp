#include "core/clsSchedule.h"

#include "core/gClock.h"
#include "core/gState.h"
#include "core/gStrings.h"
#include "core/gWeek.h"

clsSchedule gTimetable;

namespace {

template <class T> int insertAt(gKeyedList<T>& list, const T& obj, int index) {
    if (index == 0) index = list.count() + 1;
    list.insertBefore(index, obj);
    return index;
}

} // namespace

const clsCol& clsSchedule::Col(int index) const {
    return gCol.item(key(index));
}
const clsRow& clsSchedule::Row(int index) const {
    return gRow.item(key(index));
}
const clsCourse& clsSchedule::Course(int index) const {
    return gCourse.item(key(index));
}

void clsSchedule::Col(int index, const clsCol& newCol) {
    gCol.item(key(index)) = newCol;
}
void clsSchedule::Row(int index, const clsRow& newRow) {
    gRow.item(key(index)) = newRow;
}
void clsSchedule::Course(int index, const clsCourse& newCourse) {
    gCourse.item(key(index)) = newCourse;
}

int clsSchedule::RowAdd(const clsRow& newRow, int index) {
    return insertAt(gRow, newRow, index);
}
int clsSchedule::CourseAdd(const clsCourse& newCourse, int index) {
    return insertAt(gCourse, newCourse, index);
}

void clsSchedule::RowRemove(int index) {
    gRow.remove(key(index));
}
void clsSchedule::CourseRemove(int index) {
    gCourse.remove(key(index));
}

#pragma once
#include "core/model/clsCol.h"
#include "core/model/clsCourse.h"
#include "core/model/clsRow.h"
#include "core/model/clsTerm.h"
#include "core/base/gError.h"

#include <QList>
#include <QString>
#include <QStringList>

// A list of objects, each with an optional text key, in insertion order. Lookups
// by a key that is not there raise error 5. Iterating yields the objects.
template <class T> class gKeyedList {
public:
    using const_iterator = typename QList<T>::const_iterator;
    using iterator = typename QList<T>::iterator;

    int count() const { return int(items_.size()); }
    bool isEmpty() const { return items_.isEmpty(); }
    // 0-based position, as in the loops that walk the list.
    const T& at(int i) const { return items_.at(i); }
    const_iterator begin() const { return items_.cbegin(); }
    const_iterator end() const { return items_.cend(); }
    iterator begin() { return items_.begin(); }
    iterator end() { return items_.end(); }

    bool contains(const QString& key) const { return find(key) >= 0; }
    const T& item(const QString& key) const { return items_.at(require(key)); }
    T& item(const QString& key) { return items_[require(key)]; }

    // Adds at the end; a non-empty key must not be in use yet (error 457).
    void add(const T& obj, const QString& key = {}) {
        if (!key.isEmpty() && contains(key)) gRaise(457);
        items_.append(obj);
        keys_.append(key);
    }
    // Inserts before 1-based position `before`; count + 1 appends. Anything else raises error 5.
    void insertBefore(int before, const T& obj, const QString& key = {}) {
        if (before < 1 || before > count() + 1) gRaise(gErr::InvalidCall);
        if (!key.isEmpty() && contains(key)) gRaise(457);
        items_.insert(before - 1, obj);
        keys_.insert(before - 1, key);
    }
    void remove(const QString& key) {
        const int i = require(key);
        items_.removeAt(i);
        keys_.removeAt(i);
    }
    void clear() {
        items_.clear();
        keys_.clear();
    }

private:
    int find(const QString& key) const {
        if (key.isEmpty()) return -1;
        for (int i = 0; i < keys_.size(); ++i)
            if (keys_.at(i).compare(key, Qt::CaseInsensitive) == 0) return i;
        return -1;
    }
    int require(const QString& key) const {
        const int i = find(key);
        if (i < 0) gRaise(gErr::InvalidCall);
        return i;
    }

    QList<T> items_;
    QStringList keys_;
};

// The signed-in account's timetable, mirrored from the tables Term, Col, Row and
// Course. Pages never write through it: they rewrite the tables and call
// gGetSchedule. Element k of each list carries key "ID" & k and Index = k after a load.
//
// References returned by the getters stay valid only until the next gGetSchedule.
class clsSchedule {
public:
    gKeyedList<clsCol> gCol;
    gKeyedList<clsRow> gRow;
    gKeyedList<clsCourse> gCourse;
    clsTerm Term;

    // Starts empty: the global model exists before any database is open, so the
    // sign-in loads it with gGetSchedule once the connection is up.
    clsSchedule() = default;

    // Reloads the term, the weekdays, the periods and the courses, in that order,
    // through TimetableStore on the shared connection, supplying the defaults for
    // empty tables. Nothing is written to the database.
    void gGetSchedule();

    // The element with key "ID" & index; a missing key raises error 5.
    const clsCol& Col(int index) const;
    const clsRow& Row(int index) const;
    const clsCourse& Course(int index) const;
    // Replace the element with key "ID" & index (error 5 when there is none).
    void Col(int index, const clsCol& newCol);
    void Row(int index, const clsRow& newRow);
    void Course(int index, const clsCourse& newCourse);

    int rowCount() const { return gRow.count(); }
    int CourseCount() const { return gCourse.count(); }

    // Insert without a key before 1-based position index (0 or count + 1: at the
    // end); return the position the object took.
    int RowAdd(const clsRow& newRow, int index = 0);
    int CourseAdd(const clsCourse& newCourse, int index = 0);
    // Remove the element with key "ID" & index (error 5 when there is none).
    void RowRemove(int index);
    void CourseRemove(int index);

    // The key of element k.
    static QString key(int k) { return QStringLiteral("ID") + QString::number(k); }

private:
    void loadTerm();
    void loadCols();
    void loadRows();
    void loadCourses();
};

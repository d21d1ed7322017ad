#include "platform/db/Recordset.h"

#include "core/gError.h"
#include "platform/db/Command.h"
#include "platform/db/Connection.h"

namespace db {

struct Recordset::Impl {
    Filter filter;
    Sort sort;
};

Recordset::Recordset() : d_(std::make_unique<Impl>()) {}
Recordset::~Recordset() = default;
void Recordset::setCursorLocation(CursorLocation) {}
void Recordset::setFilter(const Filter& f) {
    d_->filter = f;
}
void Recordset::setSort(const Sort& s) {
    d_->sort = s;
}
const Filter& Recordset::filter() const {
    return d_->filter;
}
const Sort& Recordset::sort() const {
    return d_->sort;
}
void Recordset::open(const Command&, CursorType, LockType) {}
void Recordset::open(const QString&, Connection&, CursorType, LockType) {}
bool Recordset::isOpen() const {
    return false;
}
LockType Recordset::lockType() const {
    return LockType::ReadOnly;
}
void Recordset::close() {}
long Recordset::recordCount() const {
    return 0;
}
bool Recordset::eof() const {
    return true;
}
bool Recordset::bof() const {
    return true;
}
long Recordset::absolutePosition() const {
    return 0;
}
void Recordset::moveFirst() {}
void Recordset::moveLast() {}
void Recordset::moveNext() {}
void Recordset::movePrevious() {}
void Recordset::move(long) {}
QVariant Recordset::field(const QString&) const {
    return {};
}
QString Recordset::text(const QString&) const {
    return {};
}
int Recordset::integer(const QString&) const {
    return 0;
}
bool Recordset::boolean(const QString&) const {
    return false;
}
QDate Recordset::date(const QString&) const {
    return {};
}
int Recordset::fieldCount() const {
    return 0;
}
QString Recordset::fieldName(int) const {
    return {};
}
void Recordset::setField(const QString&, const QVariant&) {}
void Recordset::addNew() {}
void Recordset::update() {}
void Recordset::cancelUpdate() {}
void Recordset::updateBatch() {}
void Recordset::deleteCurrent() {}

} // namespace db

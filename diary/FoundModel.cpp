#include "diary/FoundModel.h"

#include "diary/DiarySearch.h"
#include "diary/SearchEntries.h"

FoundModel::FoundModel(QObject* parent)
    : QAbstractTableModel(parent), locale_(QLocale::Chinese, QLocale::China) {}

FoundModel::~FoundModel() = default;

int FoundModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int FoundModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 5;
}

QVariant FoundModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const headers[] = {"NO.", "日期", "标题", "内容预览", "评分"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= 5) return {};
    return QString::fromUtf8(headers[section]);
}

QVariant FoundModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(rows_.size())) return {};
    const size_t i = rows_[size_t(index.row())];
    SearchEntries& e = *entries_;
    if (role == Qt::UserRole && index.column() == 1) return e.date(i);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
    case 0:
        return QString::number(e[i].number);
    case 1:
        return locale_.toString(e.date(i), QLocale::ShortFormat);
    case 2:
        return e.title(i);
    case 3:
        return e.preview(i);
    case 4:
        return QString::number(e.score(i)); // read for the rows shown
    default:
        return {};
    }
}

void FoundModel::clear() {
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    entries_.reset();
    endResetModel();
}

void FoundModel::follow(const DiarySearch& search) {
    if (search.entries() != entries_ || search.found().size() < rows_.size()) {
        beginResetModel();
        rows_.clear();
        entries_ = search.entries();
        endResetModel();
    }
    const std::vector<quint32>& found = search.found();
    if (found.size() == rows_.size()) return;
    beginInsertRows({}, int(rows_.size()), int(found.size()) - 1);
    rows_.insert(rows_.end(), found.begin() + qsizetype(rows_.size()), found.end());
    endInsertRows();
}

QDate FoundModel::rowDate(int row) const {
    return entries_->date(rows_[size_t(row)]);
}

int FoundModel::rowNumber(int row) const {
    return (*entries_)[rows_[size_t(row)]].number;
}

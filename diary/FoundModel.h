#pragma once
// The rows of the search page's two lists: found entries, shown straight from
// the kept entries (no copy per row). Columns "NO.", "日期", "标题", "内容预览"
// and "评分"; a row's date is also under Qt::UserRole of the date column.
#include <QAbstractTableModel>
#include <QDate>
#include <QLocale>

#include <memory>
#include <vector>

class DiarySearch;
class SearchEntries;

class FoundModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit FoundModel(QObject* parent = nullptr);
    ~FoundModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // No rows, and no hold on any entries.
    void clear();
    // Brings the rows up to the search's: the new ones are added at the end;
    // when the search started again on a new read, the rows start again too.
    void follow(const DiarySearch& search);

    // The entries the rows are of (none after clear()).
    const std::shared_ptr<SearchEntries>& entries() const { return entries_; }

    // The date and "NO." of a row.
    QDate rowDate(int row) const;
    int rowNumber(int row) const;

private:
    std::shared_ptr<SearchEntries> entries_;
    std::vector<quint32> rows_;
    QLocale locale_;
};

#pragma once

#include <QAbstractListModel>
#include <QSize>
#include <QStringList>

namespace portprobe {

// The rows of the history popup: the entries as they were when it was shown. The
// view asks only for the rows it shows, so any number of entries shows at once.
class HistoryEntriesModel : public QAbstractListModel {
 public:
  static constexpr int kItemHeight = 25;

  using QAbstractListModel::QAbstractListModel;

  void SetEntries(QStringList entries) {
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
  }

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= entries_.size()) return {};
    if (role == Qt::DisplayRole) return entries_.at(index.row());
    if (role == Qt::SizeHintRole) return QSize(0, kItemHeight);
    return {};
  }

 private:
  QStringList entries_;
};

}  // namespace portprobe

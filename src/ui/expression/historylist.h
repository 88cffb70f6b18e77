// The entries of the history as a list: each row shows the entry's number
// and what produced it, its length line, and the start of its value. Only
// the rows in sight are painted, and a row needs nothing but what the log
// holds, so a list of thousands of entries with values of millions of
// digits opens as fast as one of short values.
#pragma once

#include "store/history.h"

#include <QAbstractListModel>
#include <QListView>
#include <memory>

namespace longhand {

class HistoryModel : public QAbstractListModel {
    Q_OBJECT

  public:
    using QAbstractListModel::QAbstractListModel;

    // Shows `snapshot`'s entries, oldest first.
    void setSnapshot(std::shared_ptr<const HistorySnapshot> snapshot);
    const std::shared_ptr<const HistorySnapshot>& snapshot() const { return snapshot_; }
    const HistoryEntry* entry(int row) const;
    // The row of entry number `number`, or -1.
    int rowOf(std::int64_t number) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    std::shared_ptr<const HistorySnapshot> snapshot_ = std::make_shared<HistorySnapshot>();
};

class HistoryList : public QListView {
    Q_OBJECT

  public:
    explicit HistoryList(QWidget* parent = nullptr);
    HistoryModel& historyModel() { return *model_; }
    // The entry of the current row, or null.
    const HistoryEntry* currentEntry() const;

  private:
    HistoryModel* model_;
};

// Characters of a value that its row shows.
inline constexpr int kRowValueChars = 120;

} // namespace longhand

#pragma once

#include "journal/Journal.h"
#include "journal/JournalFilter.h"

#include <QAbstractTableModel>

#include <deque>
#include <string>
#include <vector>

namespace arx {

// The journal's entries as table rows, filtered. It reads the ring only when told to
// (`update`), so that the window decides how often it repaints, whatever the traffic.
class JournalModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        TimeColumn,
        DirectionColumn,
        DeviceColumn,
        AddressColumn,
        MeaningColumn,
        BytesColumn,
        ColumnCount
    };

    explicit JournalModel(const Journal &journal, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Takes the entries recorded since the last update; true when rows were added.
    bool update();
    void setFilter(const JournalFilter &filter);
    const JournalFilter &filter() const { return filter_; }
    // Forgets the rows shown so far; the ring and the file keep them.
    void clear();

    // The entries of the rows, in order.
    std::vector<JournalEntry> shownEntries() const;
    // Every device seen: search, processor, units by number, unknown.
    const std::vector<JournalDevice> &devices() const { return devices_; }

signals:
    void devicesChanged();

private:
    struct Row {
        JournalEntry entry;
        std::string meaning;
    };

    void take(const std::vector<JournalEntry> &entries, std::deque<Row> &into);
    bool noteDevice(const JournalDevice &device);

    const Journal &journal_;
    JournalFilter filter_;
    std::deque<Row> rows_; // rows leave from the front as the ring moves on
    std::vector<JournalDevice> devices_;
    std::uint64_t lastSeen_ = 0; // the last entry read from the ring
    std::uint64_t clearedAt_ = 0; // entries up to this one are not shown
};

} // namespace arx

#include "journal/JournalModel.h"

#include "journal/JournalText.h"

#include <QColor>
#include <QDateTime>
#include <QFontDatabase>

#include <algorithm>

namespace arx {

namespace {

const char *const ColumnTitles[] = { "Time", "Direction", "Device", "Address", "Meaning", "Bytes" };

// Search, processor, units by number, then the unknown.
int deviceOrder(const JournalDevice &device)
{
    switch (device.kind) {
    case DeviceKind::Search:
        return 0;
    case DeviceKind::Processor:
        return 1;
    case DeviceKind::Unit:
        return 1 + device.unitNumber;
    case DeviceKind::None:
        return 1000;
    }
    return 1000;
}

} // namespace

JournalModel::JournalModel(const Journal &journal, QObject *parent)
    : QAbstractTableModel(parent)
    , journal_(journal)
{
}

int JournalModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int JournalModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant JournalModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Row &row = rows_[static_cast<std::size_t>(index.row())];
    if (role == Qt::FontRole && index.column() == BytesColumn)
        return QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // Drops stand out; what ARX sent is told from what it received at a glance.
    if (role == Qt::ForegroundRole && row.entry.direction == JournalDirection::Dropped)
        return QColor(0xFF, 0x8A, 0x65);
    if (role == Qt::ForegroundRole && row.entry.direction == JournalDirection::Out)
        return QColor(0x9F, 0xD3, 0xFF);
    if (role == Qt::ForegroundRole && row.entry.direction == JournalDirection::Event)
        return QColor(0xFF, 0xD5, 0x4F);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case TimeColumn:
        return QDateTime::fromMSecsSinceEpoch(row.entry.wallMs)
            .toString(QStringLiteral("HH:mm:ss.zzz"));
    case DirectionColumn:
        return QString::fromStdString(directionText(row.entry));
    case DeviceColumn:
        return QString::fromStdString(deviceText(row.entry.device));
    case AddressColumn:
        return QString::fromStdString(endpointText(row.entry));
    case MeaningColumn:
        return QString::fromStdString(row.meaning);
    case BytesColumn:
        return QString::fromStdString(hexText(row.entry, true));
    default:
        return {};
    }
}

QVariant JournalModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= ColumnCount)
        return {};
    return QString::fromLatin1(ColumnTitles[section]);
}

bool JournalModel::update()
{
    const std::vector<JournalEntry> entries = journal_.since(lastSeen_);
    if (entries.empty())
        return false;
    std::deque<Row> added;
    take(entries, added);
    if (added.empty())
        return false;
    // The rows follow the ring: what it has pushed out goes from the top.
    const std::size_t capacity = journal_.capacity();
    const std::size_t total = rows_.size() + added.size();
    if (total > capacity) {
        const std::size_t drop = std::min(rows_.size(), total - capacity);
        if (drop > 0) {
            beginRemoveRows({}, 0, static_cast<int>(drop) - 1);
            rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(drop));
            endRemoveRows();
        }
        if (added.size() > capacity)
            added.erase(added.begin(), added.end() - static_cast<std::ptrdiff_t>(capacity));
    }
    const int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(added.size()) - 1);
    std::move(added.begin(), added.end(), std::back_inserter(rows_));
    endInsertRows();
    return true;
}

void JournalModel::setFilter(const JournalFilter &filter)
{
    beginResetModel();
    filter_ = filter;
    rows_.clear();
    lastSeen_ = clearedAt_;
    take(journal_.since(clearedAt_), rows_);
    endResetModel();
}

void JournalModel::clear()
{
    beginResetModel();
    rows_.clear();
    clearedAt_ = lastSeen_ = journal_.lastSequence();
    endResetModel();
}

std::vector<JournalEntry> JournalModel::shownEntries() const
{
    std::vector<JournalEntry> entries;
    entries.reserve(rows_.size());
    for (const Row &row : rows_)
        entries.push_back(row.entry);
    return entries;
}

void JournalModel::take(const std::vector<JournalEntry> &entries, std::deque<Row> &into)
{
    bool newDevice = false;
    for (const JournalEntry &entry : entries) {
        lastSeen_ = entry.sequence;
        newDevice = noteDevice(entry.device) || newDevice;
        if (!filter_.admits(entry))
            continue; // decoded only when it may be shown: level reports dominate a flood
        std::string meaning = meaningText(entry);
        if (filter_.matchesText(entry, meaning))
            into.push_back({ entry, std::move(meaning) });
    }
    if (newDevice)
        emit devicesChanged();
}

bool JournalModel::noteDevice(const JournalDevice &device)
{
    if (std::find(devices_.begin(), devices_.end(), device) != devices_.end())
        return false;
    const auto at = std::upper_bound(devices_.begin(), devices_.end(), device,
        [](const JournalDevice &a, const JournalDevice &b) {
            return deviceOrder(a) < deviceOrder(b);
        });
    devices_.insert(at, device);
    return true;
}

} // namespace arx

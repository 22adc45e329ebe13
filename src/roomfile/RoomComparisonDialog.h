#pragma once

#include "model/RoomObserver.h"
#include "roomfile/RoomApply.h"
#include "roomfile/RoomComparison.h"
#include "roomfile/RoomFile.h"

#include <QDialog>
#include <QString>

#include <optional>
#include <set>
#include <string>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

namespace arx {

class Room;

// A room file beside the room: one row a unit (and the processor, against ARX's record of
// it), each saying "same", "differs" with every field as "file: X, room: Y", "in the file, not
// found" or "found, not in the file". A row in the file but not found can be paired with a
// unit of its family that the file does not hold. Rows that differ carry a check box; Apply
// sends the checked ones through the room's apply, with a progress bar and Cancel. Opening it
// sends nothing. It follows the room while it is open.
class RoomComparisonDialog final : public QDialog, private RoomObserver {
    Q_OBJECT
public:
    enum ControlIds {
        TableId = 1500,
        DetailsId = 1501,
        ProgressId = 1502,
        StatusId = 1503,
        ApplyButtonId = 1504,
        CancelButtonId = 1505,
        CloseButtonId = 1506,
        PairingId = 1507, // the pairing lists in the table
    };
    enum Column { CheckColumn, UnitColumn, FileColumn, RoomColumn, StateColumn, DifferencesColumn };

    RoomComparisonDialog(Room &room, RoomFile file, const QString &path, QWidget *parent = nullptr);
    ~RoomComparisonDialog() override;

    const RoomComparison &comparison() const { return comparison_; }
    // A file unit (its row) paired with a registered unit, or unpaired with nothing.
    void pair(std::size_t row, std::optional<int> slot);
    // The row's check box; rows that do not differ have none.
    void setRowChecked(std::size_t row, bool checked);
    bool rowChecked(std::size_t row) const;
    // "file: X, room: Y" for every field of the row, one a line, as the details show them.
    static QString differencesText(const ComparisonRow &row, const QString &separator);
    QString statusText() const;
    bool applying() const { return applying_; }

    void applyChecked();
    void cancelApply();

private:
    // RoomObserver: what can change a row.
    void unitListChanged() override { scheduleRefresh(); }
    void unitFreed(int) override { scheduleRefresh(); }
    void unitChanged(int, UnitFields) override { scheduleRefresh(); }
    void speakerChanged(const SpeakerChange &) override { scheduleRefresh(); }

    void scheduleRefresh();
    void refresh();
    void fillRow(int index, const ComparisonRow &row);
    QString unitText(const DeviceRecord &unit) const;
    std::string rowKey(const ComparisonRow &row) const;
    void showDetails();
    void showProgress();
    void finished(const RoomApplyReport &report);
    void setStatus(const QString &text);

    Room &room_;
    RoomFile file_;
    RoomPairing pairing_;
    RoomComparison comparison_;
    std::set<std::string> unchecked_; // rows the operator unchecked, by key
    QString applyReport_; // how the last apply went, until the next
    bool applying_ = false;
    QTableWidget *table_ = nullptr;
    QPlainTextEdit *details_ = nullptr;
    QProgressBar *progress_ = nullptr;
    QLabel *status_ = nullptr;
    QPushButton *apply_ = nullptr;
    QPushButton *cancel_ = nullptr;
    QTimer *refreshTimer_ = nullptr;
    QTimer *progressTimer_ = nullptr;
};

} // namespace arx

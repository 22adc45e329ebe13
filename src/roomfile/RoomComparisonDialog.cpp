#include "roomfile/RoomComparisonDialog.h"

#include "controls/ControlId.h"
#include "controls/DarkStyle.h"
#include "format/Gbk.h"
#include "room/Room.h"

#include <QColor>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace arx {

namespace {

constexpr int ProgressRefreshMs = 100;
const char *const ColumnTitles[]
    = { "Apply", "Unit", "In the file", "In the room", "State", "Differences" };

QColor stateColour(RowState state)
{
    switch (state) {
    case RowState::Same:
        return QColor(120, 200, 120);
    case RowState::Differs:
        return QColor(235, 170, 60);
    case RowState::NotFound:
        return QColor(230, 110, 100);
    case RowState::NotInFile:
        break;
    }
    return QColor(160, 170, 185);
}

QString fromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

QTableWidgetItem *cell(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QString plural(int count, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromLatin1(count == 1 ? one : many));
}

} // namespace

RoomComparisonDialog::RoomComparisonDialog(
    Room &room, RoomFile file, const QString &path, QWidget *parent)
    : QDialog(parent)
    , room_(room)
    , file_(std::move(file))
{
    setWindowTitle(QStringLiteral("Room file %1").arg(path.section(QLatin1Char('/'), -1)));
    setStyleSheet(QString::fromLatin1(DarkWindowStyle));
    resize(1280, 640);

    auto *source = new QLabel(this);
    source->setText(
        QStringLiteral("%1\nSaved %2 by %3. Nothing is sent until you press Apply.")
            .arg(path, fromUtf8(file_.saved.empty() ? "at an unknown time" : file_.saved),
                fromUtf8(file_.savedBy.empty() ? "an unknown program" : file_.savedBy)));

    table_ = new QTableWidget(0, static_cast<int>(std::size(ColumnTitles)), this);
    setControlId(table_, TableId);
    QStringList titles;
    for (const char *title : ColumnTitles)
        titles << QString::fromLatin1(title);
    table_->setHorizontalHeaderLabels(titles);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setAlternatingRowColors(true);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->horizontalHeader()->setHighlightSections(false);
    const int widths[] = { 52, 80, 250, 320, 170 };
    for (int column = 0; column < static_cast<int>(std::size(widths)); ++column)
        table_->setColumnWidth(column, widths[column]);

    details_ = new QPlainTextEdit(this);
    setControlId(details_, DetailsId);
    details_->setReadOnly(true);
    details_->setMaximumHeight(150);
    details_->setPlaceholderText(QStringLiteral("Select a row to see each field that differs."));

    progress_ = new QProgressBar(this);
    setControlId(progress_, ProgressId);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setFormat(QStringLiteral("%v of %m"));
    status_ = new QLabel(this);
    setControlId(status_, StatusId);
    apply_ = new QPushButton(QStringLiteral("Apply"), this);
    setControlId(apply_, ApplyButtonId);
    apply_->setToolTip(QStringLiteral("Send the checked rows' values, unit by unit"));
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    setControlId(cancel_, CancelButtonId);
    cancel_->setToolTip(QStringLiteral("Stop before the next unit; what was sent stays sent"));
    cancel_->setEnabled(false);
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    setControlId(close, CloseButtonId);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(progress_, 1);
    buttons->addWidget(apply_);
    buttons->addWidget(cancel_);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(source);
    layout->addWidget(table_, 1);
    layout->addWidget(details_);
    layout->addWidget(status_);
    layout->addLayout(buttons);

    refreshTimer_ = new QTimer(this);
    refreshTimer_->setSingleShot(true);
    connect(refreshTimer_, &QTimer::timeout, this, &RoomComparisonDialog::refresh);
    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(ProgressRefreshMs);
    connect(progressTimer_, &QTimer::timeout, this, &RoomComparisonDialog::showProgress);
    connect(apply_, &QPushButton::clicked, this, &RoomComparisonDialog::applyChecked);
    connect(cancel_, &QPushButton::clicked, this, &RoomComparisonDialog::cancelApply);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &RoomComparisonDialog::showDetails);
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        const auto row = static_cast<std::size_t>(item->row());
        if (item->column() != CheckColumn || row >= comparison_.rows.size())
            return;
        const std::string key = rowKey(comparison_.rows[row]);
        if (item->checkState() == Qt::Checked)
            unchecked_.erase(key);
        else
            unchecked_.insert(key);
    });

    refresh();
    room_.observers().add(*this);
}

RoomComparisonDialog::~RoomComparisonDialog()
{
    room_.observers().remove(*this);
    // An apply nobody watches any more stops before its next unit.
    if (applying_)
        room_.roomFiles().apply().cancel();
}

std::string RoomComparisonDialog::rowKey(const ComparisonRow &row) const
{
    if (row.processor)
        return "processor";
    return row.fileUnit >= 0 ? "file " + std::to_string(row.fileUnit)
                             : "slot " + std::to_string(row.slot);
}

QString RoomComparisonDialog::unitText(const DeviceRecord &unit) const
{
    return QStringLiteral("%1   %2   %3")
        .arg(fromUtf8(gbkToUtf8(textOf(unit.name))), QString::fromLatin1(textOf(unit.ip)),
            QString::fromLatin1(unitFamilyName(unit.type)));
}

QString RoomComparisonDialog::differencesText(const ComparisonRow &row, const QString &separator)
{
    QStringList fields;
    for (const FieldDifference &difference : row.differences)
        fields << QStringLiteral("%1: file: %2, room: %3")
                      .arg(fromUtf8(difference.label), fromUtf8(difference.file),
                          fromUtf8(difference.room));
    return fields.join(separator);
}

void RoomComparisonDialog::scheduleRefresh()
{
    // An apply changes many units in a row; the table is rebuilt once for all of them.
    if (!refreshTimer_->isActive())
        refreshTimer_->start(0);
}

void RoomComparisonDialog::refresh()
{
    const int selected = table_->currentRow();
    comparison_ = compareRoom(file_, room_.store(), pairing_);
    const QSignalBlocker blocker(table_);
    table_->clearContents();
    table_->setRowCount(static_cast<int>(comparison_.rows.size()));
    for (std::size_t index = 0; index < comparison_.rows.size(); ++index)
        fillRow(static_cast<int>(index), comparison_.rows[index]);
    if (selected >= 0 && selected < table_->rowCount())
        table_->selectRow(selected);
    showDetails();

    int differing = 0;
    for (const ComparisonRow &row : comparison_.rows)
        differing += row.state != RowState::Same ? 1 : 0;
    if (applying_)
        return;
    const QString summary = differing == 0 ? QStringLiteral("The room holds what the file holds.")
                                           : QStringLiteral("%1 of %2 differ.")
                                                 .arg(plural(differing, "row", "rows"))
                                                 .arg(comparison_.rows.size());
    setStatus(applyReport_.isEmpty() ? summary : applyReport_ + QLatin1Char(' ') + summary);
}

void RoomComparisonDialog::fillRow(int index, const ComparisonRow &row)
{
    const Store &store = room_.store();
    auto *check = cell(QString());
    if (row.state == RowState::Differs) {
        check->setFlags(check->flags() | Qt::ItemIsUserCheckable);
        check->setCheckState(unchecked_.contains(rowKey(row)) ? Qt::Unchecked : Qt::Checked);
    }
    table_->setItem(index, CheckColumn, check);

    QString unit = QStringLiteral("Processor");
    QString inFile;
    QString inRoom = QString::fromLatin1(ProcessorRecordLabel);
    if (row.processor) {
        const RoomFileProcessor &processor = *file_.processor;
        inFile = QStringLiteral("%1   %2").arg(
            fromUtf8(gbkToUtf8(textOf(processor.setting.processorName))),
            fromUtf8(processor.address));
        if (!store.speaker.rdaConnected)
            inRoom += QStringLiteral(" (not connected)");
    } else {
        unit = row.slot >= 0 ? QStringLiteral("MIC-%1").arg(row.slot + 1) : QStringLiteral("—");
        if (row.fileUnit >= 0)
            inFile = unitText(file_.units[static_cast<std::size_t>(row.fileUnit)]);
        inRoom = row.slot >= 0 ? unitText(store.unitTable[static_cast<std::size_t>(row.slot)])
                               : QString();
    }
    table_->setItem(index, UnitColumn, cell(unit));
    table_->setItem(index, FileColumn, cell(inFile));
    table_->setItem(index, RoomColumn, cell(inRoom));
    QString state = QString::fromLatin1(rowStateText(row.state));
    if (row.paired)
        state += QStringLiteral(" (paired)");
    QTableWidgetItem *stateCell = cell(state);
    stateCell->setForeground(stateColour(row.state));
    table_->setItem(index, StateColumn, stateCell);
    QTableWidgetItem *differences = cell(differencesText(row, QStringLiteral("; ")));
    differences->setToolTip(differencesText(row, QStringLiteral("\n")));
    table_->setItem(index, DifferencesColumn, differences);

    // A unit the room lacks may be paired with one the file lacks, of its family.
    const std::vector<int> candidates
        = pairingCandidates(comparison_, file_, store, static_cast<std::size_t>(index));
    if (candidates.empty())
        return;
    auto *pairing = new QComboBox;
    setControlId(pairing, PairingId);
    pairing->addItem(QStringLiteral("Pair with…"), -1);
    for (const int slot : candidates)
        pairing->addItem(QStringLiteral("MIC-%1   %2")
                             .arg(slot + 1)
                             .arg(unitText(store.unitTable[static_cast<std::size_t>(slot)])),
            slot);
    pairing->setCurrentIndex(row.paired ? pairing->findData(row.slot) : 0);
    const auto position = static_cast<std::size_t>(index);
    connect(pairing, &QComboBox::activated, this, [this, pairing, position](int item) {
        const int slot = pairing->itemData(item).toInt();
        // Rebuilding the table deletes this list, so it waits for the signal to return.
        QTimer::singleShot(0, this, [this, position, slot] {
            pair(position, slot < 0 ? std::nullopt : std::optional(slot));
        });
    });
    table_->setCellWidget(index, RoomColumn, pairing);
}

void RoomComparisonDialog::pair(std::size_t row, std::optional<int> slot)
{
    if (row >= comparison_.rows.size() || comparison_.rows[row].fileUnit < 0)
        return;
    const int unit = comparison_.rows[row].fileUnit;
    if (slot)
        pairing_[unit] = *slot;
    else
        pairing_.erase(unit);
    refresh();
}

void RoomComparisonDialog::setRowChecked(std::size_t row, bool checked)
{
    if (QTableWidgetItem *item = table_->item(static_cast<int>(row), CheckColumn);
        item && (item->flags() & Qt::ItemIsUserCheckable))
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool RoomComparisonDialog::rowChecked(std::size_t row) const
{
    const QTableWidgetItem *item = table_->item(static_cast<int>(row), CheckColumn);
    return item && (item->flags() & Qt::ItemIsUserCheckable) && item->checkState() == Qt::Checked;
}

void RoomComparisonDialog::showDetails()
{
    const int row = table_->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= comparison_.rows.size()) {
        details_->clear();
        return;
    }
    const ComparisonRow &shown = comparison_.rows[static_cast<std::size_t>(row)];
    details_->setPlainText(shown.differences.empty()
            ? QString::fromLatin1(rowStateText(shown.state))
            : differencesText(shown, QStringLiteral("\n")));
}

QString RoomComparisonDialog::statusText() const
{
    return status_->text();
}

void RoomComparisonDialog::setStatus(const QString &text)
{
    status_->setText(text);
}

void RoomComparisonDialog::applyChecked()
{
    if (applying_)
        return;
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < comparison_.rows.size(); ++row) {
        if (rowChecked(row))
            rows.push_back(row);
    }
    RoomApplyPlan plan = applyPlan(comparison_, file_, room_.store(), rows);
    const auto steps = static_cast<int>(plan.steps());
    if (steps == 0) {
        setStatus(QStringLiteral("No row is checked: nothing to apply."));
        return;
    }
    progress_->setRange(0, steps);
    progress_->setValue(0);
    progress_->setTextVisible(true);
    applyReport_.clear();
    applying_ = true;
    apply_->setEnabled(false);
    cancel_->setEnabled(true);
    setStatus(QStringLiteral("Applying…"));
    const QPointer<RoomComparisonDialog> self(this);
    const bool started
        = room_.roomFiles().apply().start(std::move(plan), [self](const RoomApplyReport &report) {
              if (self)
                  self->finished(report);
          });
    if (!started) {
        applying_ = false;
        apply_->setEnabled(true);
        cancel_->setEnabled(false);
        setStatus(QStringLiteral("Another apply is running; try again when it has finished."));
        return;
    }
    if (applying_)
        progressTimer_->start();
}

void RoomComparisonDialog::cancelApply()
{
    if (applying_)
        room_.roomFiles().apply().cancel();
}

void RoomComparisonDialog::showProgress()
{
    progress_->setValue(static_cast<int>(room_.roomFiles().apply().stepsTaken()));
}

void RoomComparisonDialog::finished(const RoomApplyReport &report)
{
    applying_ = false;
    progressTimer_->stop();
    progress_->setValue(report.cancelled ? static_cast<int>(room_.roomFiles().apply().stepsTaken())
                                         : progress_->maximum());
    apply_->setEnabled(true);
    cancel_->setEnabled(false);
    QStringList said;
    said << (report.cancelled ? QStringLiteral("Cancelled: sent to %1.")
                              : QStringLiteral("Sent to %1."))
                .arg(plural(report.unitsApplied, "unit", "units"));
    if (report.unitsSkipped > 0)
        said << QStringLiteral("%1 no longer registered as compared, left out.")
                    .arg(plural(report.unitsSkipped, "unit", "units"));
    if (report.processorSent)
        said << QStringLiteral("The processor's whole setting was sent.");
    else if (report.processorTaken)
        said << QStringLiteral(
            "The processor's setting was taken into ARX's record; no processor is connected.");
    if (report.checkStarted)
        said << QStringLiteral("A room check follows.");
    applyReport_ = said.join(QLatin1Char(' '));
    refresh();
}

} // namespace arx

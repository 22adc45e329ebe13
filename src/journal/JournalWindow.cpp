#include "journal/JournalWindow.h"

#include "controls/DarkStyle.h"
#include "journal/JournalText.h"
#include "journal/PcapWriter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <fstream>

namespace arx {

namespace {

constexpr const char *FileFilter
    = "JSON lines (*.jsonl);;CSV (*.csv);;Capture for Wireshark (*.pcap)";

bool endsWith(const std::string &name, const std::string &suffix)
{
    return name.size() >= suffix.size()
        && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

struct DirectionChoice {
    const char *text;
    std::optional<JournalDirection> direction;
};
const DirectionChoice DirectionChoices[] = {
    { .text = "All directions", .direction = std::nullopt },
    { .text = "out", .direction = JournalDirection::Out },
    { .text = "in", .direction = JournalDirection::In },
    { .text = "dropped", .direction = JournalDirection::Dropped },
    { .text = "event", .direction = JournalDirection::Event },
};

} // namespace

JournalWindow::JournalWindow(
    const Journal &journal, Prompts &prompts, std::string local, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , model_(journal)
    , prompts_(prompts)
    , local_(std::move(local))
{
    setWindowTitle(QStringLiteral("ARX journal"));
    setStyleSheet(QString::fromLatin1(DarkWindowStyle));
    resize(1320, 600);

    deviceFilter_ = new QComboBox(this);
    deviceFilter_->setObjectName(QStringLiteral("deviceFilter"));
    deviceFilter_->setMinimumContentsLength(16);
    directionFilter_ = new QComboBox(this);
    directionFilter_->setObjectName(QStringLiteral("directionFilter"));
    for (const DirectionChoice &choice : DirectionChoices)
        directionFilter_->addItem(QString::fromLatin1(choice.text));
    textFilter_ = new QLineEdit(this);
    textFilter_->setObjectName(QStringLiteral("textFilter"));
    textFilter_->setPlaceholderText(QStringLiteral("Find text"));
    textFilter_->setClearButtonEnabled(true);
    hideLevels_ = new QCheckBox(QStringLiteral("Hide level reports"), this);
    hideLevels_->setObjectName(QStringLiteral("hideLevels"));
    pause_ = new QPushButton(QStringLiteral("Pause"), this);
    pause_->setObjectName(QStringLiteral("pause"));
    pause_->setCheckable(true);
    clear_ = new QPushButton(QStringLiteral("Clear"), this);
    clear_->setObjectName(QStringLiteral("clear"));
    save_ = new QPushButton(QStringLiteral("Save as…"), this);
    save_->setObjectName(QStringLiteral("saveAs"));

    table_ = new QTableView(this);
    table_->setModel(&model_);
    table_->setAlternatingRowColors(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView *header = table_->horizontalHeader();
    header->setStretchLastSection(true);
    header->setHighlightSections(false);
    const int widths[] = { 96, 72, 130, 150, 600 };
    for (int column = 0; column < 5; ++column)
        table_->setColumnWidth(column, widths[column]);

    count_ = new QLabel(this);

    auto *filters = new QHBoxLayout;
    filters->addWidget(deviceFilter_);
    filters->addWidget(directionFilter_);
    filters->addWidget(textFilter_, 1);
    filters->addWidget(hideLevels_);
    filters->addSpacing(12);
    filters->addWidget(pause_);
    filters->addWidget(clear_);
    filters->addWidget(save_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(table_, 1);
    layout->addWidget(count_);

    fillDeviceFilter();
    connect(&model_, &JournalModel::devicesChanged, this, &JournalWindow::fillDeviceFilter);
    connect(deviceFilter_, &QComboBox::activated, this, &JournalWindow::applyFilter);
    connect(directionFilter_, &QComboBox::activated, this, &JournalWindow::applyFilter);
    connect(textFilter_, &QLineEdit::textChanged, this, &JournalWindow::applyFilter);
    connect(hideLevels_, &QCheckBox::toggled, this, &JournalWindow::applyFilter);
    connect(pause_, &QPushButton::toggled, this, [this](bool paused) {
        pause_->setText(paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
        if (!paused)
            refresh();
    });
    connect(clear_, &QPushButton::clicked, this, [this] {
        model_.clear();
        showCount();
    });
    connect(save_, &QPushButton::clicked, this, &JournalWindow::saveAs);

    timer_ = new QTimer(this);
    timer_->setInterval(RefreshMs);
    connect(timer_, &QTimer::timeout, this, &JournalWindow::refresh);
    showCount();
}

bool JournalWindow::isPaused() const
{
    return pause_->isChecked();
}

void JournalWindow::refresh()
{
    if (isPaused())
        return;
    QScrollBar *bar = table_->verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    if (model_.update()) {
        if (following)
            table_->scrollToBottom();
        showCount();
    }
}

void JournalWindow::saveAs()
{
    // A journal travels with a support case: it goes where the operator keeps documents.
    const std::optional<std::string> name = prompts_.saveFileName(FileFilter,
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString());
    if (!name)
        return;
    const std::string failed = "The journal could not be written to " + *name + ".";
    if (endsWith(*name, ".pcap")) {
        if (writeCapture(*name, model_.shownEntries()))
            prompts_.message(failed);
        return;
    }
    std::ofstream out(*name, std::ios::binary | std::ios::trunc);
    if (out)
        writeJournal(out, model_.shownEntries(),
            endsWith(*name, ".csv") ? JournalFormat::Csv : JournalFormat::JsonLines, local_);
    if (!out)
        prompts_.message(failed);
}

void JournalWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
    timer_->start();
}

void JournalWindow::hideEvent(QHideEvent *event)
{
    timer_->stop();
    QWidget::hideEvent(event);
}

void JournalWindow::applyFilter()
{
    JournalFilter filter;
    const int device = deviceFilter_->currentIndex();
    if (device > 0)
        filter.device = model_.devices()[static_cast<std::size_t>(device - 1)];
    filter.direction = DirectionChoices[std::max(directionFilter_->currentIndex(), 0)].direction;
    filter.text = textFilter_->text().toStdString();
    filter.hideLevelReports = hideLevels_->isChecked();
    model_.setFilter(filter);
    table_->scrollToBottom();
    showCount();
}

void JournalWindow::fillDeviceFilter()
{
    const std::optional<JournalDevice> chosen = model_.filter().device;
    deviceFilter_->clear();
    deviceFilter_->addItem(QStringLiteral("All devices"));
    int selected = 0;
    for (const JournalDevice &device : model_.devices()) {
        const std::string text = deviceText(device);
        deviceFilter_->addItem(
            text.empty() ? QStringLiteral("unknown") : QString::fromStdString(text));
        if (chosen && *chosen == device)
            selected = deviceFilter_->count() - 1;
    }
    deviceFilter_->setCurrentIndex(selected);
}

void JournalWindow::showCount()
{
    count_->setText(QStringLiteral("%1 entries shown").arg(model_.rowCount()));
}

} // namespace arx

#pragma once

#include "journal/Journal.h"
#include "journal/JournalModel.h"
#include "seams/Prompts.h"

#include <QString>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace arx {

inline const QString JournalMenuText = QStringLiteral("Journal…");

// The traffic journal on screen: every datagram in and out, decoded, with filters, pause,
// clear and "Save as…". It reads the ring at most ten times a second, and follows new
// entries while the table is scrolled to the bottom.
class JournalWindow final : public QWidget {
    Q_OBJECT
public:
    static constexpr int RefreshMs = 100;

    // `local` is this end's ADDRESS:PORT, for the saved files' from and to.
    JournalWindow(
        const Journal &journal, Prompts &prompts, std::string local, QWidget *parent = nullptr);

    JournalModel &model() { return model_; }
    QTableView *table() const { return table_; }
    bool isPaused() const;

    // Reads what the ring got since the last refresh, unless paused (the refresh timer's
    // work, callable directly).
    void refresh();
    // Asks for a file name and writes the rows shown: CSV for a name ending in ".csv", a
    // capture for Wireshark for ".pcap", JSON lines otherwise.
    void saveAs();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void applyFilter();
    void fillDeviceFilter();
    void showCount();

    JournalModel model_;
    Prompts &prompts_;
    const std::string local_;
    QComboBox *deviceFilter_ = nullptr;
    QComboBox *directionFilter_ = nullptr;
    QLineEdit *textFilter_ = nullptr;
    QCheckBox *hideLevels_ = nullptr;
    QPushButton *pause_ = nullptr;
    QPushButton *clear_ = nullptr;
    QPushButton *save_ = nullptr;
    QTableView *table_ = nullptr;
    QLabel *count_ = nullptr;
    QTimer *timer_ = nullptr;
};

} // namespace arx

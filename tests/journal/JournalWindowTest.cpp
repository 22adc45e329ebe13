// The journal window driven through Qt Test, and the files it and --journal write.
#include "journal/JournalWindow.h"
#include "journal/JournalFile.h"
#include "journal/JournalText.h"

#include "DeviceFrames.h"
#include "ScriptedPrompts.h"

#include "model/Store.h"
#include "protocol/Frames.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace arx {
namespace {

using test::Bytes;

constexpr const char *Local = "10.0.0.1:39030";

JournalDevice unitDevice(int number, const char *name)
{
    JournalDevice device;
    device.kind = DeviceKind::Unit;
    device.unitNumber = number;
    device.unitType = UnitTypeArn1;
    setText(device.unitName, name);
    return device;
}

JournalDevice kindOnly(DeviceKind kind)
{
    JournalDevice device;
    device.kind = kind;
    return device;
}

void add(Journal &journal, JournalDirection direction, const JournalDevice &device,
    const std::string &address, std::uint16_t port, const Bytes &bytes,
    DropReason reason = DropReason::None, bool outgoing = false)
{
    static std::int64_t now = 0;
    JournalEntry entry;
    entry.monotonicMs = now += 7;
    entry.direction = direction;
    entry.outgoing = outgoing || direction == JournalDirection::Out;
    entry.reason = reason;
    entry.device = device;
    entry.setAddress(address);
    entry.port = port;
    entry.setBytes(bytes);
    journal.add(entry);
}

// A search as it goes: the request, an announcement, its attach, level reports, a drop, the
// processor's answer.
void addSearch(Journal &journal)
{
    add(journal, JournalDirection::Out, kindOnly(DeviceKind::Search), "239.254.50.123", 9000,
        searchRequestFrame({ 10, 0, 0, 1 }));
    add(journal, JournalDirection::In, unitDevice(1, "Chair 1"), "10.0.0.10", 39030,
        test::arn1Announcement("Chair 1"));
    add(journal, JournalDirection::Out, unitDevice(1, "Chair 1"), "10.0.0.10", 39030,
        attachFrame(1));
    for (std::uint8_t level : { 3, 9, 14 })
        add(journal, JournalDirection::In, unitDevice(1, "Chair 1"), "10.0.0.10", 39030,
            test::report('G', { level }));
    add(journal, JournalDirection::In, unitDevice(2, "Chair 2"), "10.0.0.11", 39030,
        test::report('G', { 5 }));
    add(journal, JournalDirection::Dropped, {}, "10.0.0.99", 39030, test::report('Z', { 1 }),
        DropReason::UnknownLetter);
    add(journal, JournalDirection::In, kindOnly(DeviceKind::Processor), "10.0.0.200", 39060,
        test::processorAnswer("RDA-1"));
}

class JournalWindowTest : public ::testing::Test {
protected:
    JournalWindowTest() { window.show(); }

    QStringList column(int column)
    {
        QStringList texts;
        for (int row = 0; row < window.model().rowCount(); ++row)
            texts << window.model().index(row, column).data().toString();
        return texts;
    }
    QStringList meanings() { return column(JournalModel::MeaningColumn); }

    template <class Widget> Widget *find(const char *name)
    {
        Widget *widget = window.findChild<Widget *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // Chooses an entry of a combo box with the keyboard, as an operator may.
    void choose(const char *comboName, const QString &text)
    {
        QComboBox *combo = find<QComboBox>(comboName);
        const int target = combo->findText(text);
        ASSERT_GE(target, 0) << text.toStdString();
        combo->setFocus();
        while (combo->currentIndex() > target)
            QTest::keyClick(combo, Qt::Key_Up);
        while (combo->currentIndex() < target)
            QTest::keyClick(combo, Qt::Key_Down);
    }

    Journal journal { 1'700'000'000'000 };
    test::ScriptedPrompts prompts;
    JournalWindow window { journal, prompts, Local };
};

TEST_F(JournalWindowTest, FiltersByDeviceDirectionTextAndLevelReports)
{
    addSearch(journal);
    window.refresh();
    EXPECT_EQ(window.model().rowCount(), 9) << "everything at first";

    QTest::mouseClick(find<QCheckBox>("hideLevels"), Qt::LeftButton);
    EXPECT_EQ(meanings(),
        QStringList({ "search from 10.0.0.1:39030",
            "announcement ARN1 \"Chair 1\": gain +9dB, low cut on, 48V on, mute off, locate off, "
            "mode PTT, colours open red, mute green, call yellow, code C0DE0001",
            "attach", "dropped: unknown letter; unknown unit frame '%Z'",
            "processor answer RDA-1" }));

    choose("directionFilter", QStringLiteral("out"));
    EXPECT_EQ(meanings(), QStringList({ "search from 10.0.0.1:39030", "attach" }));
    choose("directionFilter", QStringLiteral("dropped"));
    EXPECT_EQ(column(JournalModel::AddressColumn), QStringList({ "10.0.0.99:39030" }));
    choose("directionFilter", QStringLiteral("All directions"));

    QTest::mouseClick(find<QCheckBox>("hideLevels"), Qt::LeftButton);
    choose("deviceFilter", QStringLiteral("unit 1 Chair 1"));
    EXPECT_EQ(window.model().rowCount(), 5) << "the announcement, the attach and three levels";
    QTest::keyClicks(find<QLineEdit>("textFilter"), QStringLiteral("LEVEL 1"));
    EXPECT_EQ(meanings(), QStringList({ "level 14" })) << "text found ignoring case";

    choose("deviceFilter", QStringLiteral("All devices"));
    find<QLineEdit>("textFilter")->clear();
    QTest::keyClicks(find<QLineEdit>("textFilter"), QStringLiteral("AA 55"));
    EXPECT_EQ(window.model().rowCount(), 0) << "hex is matched without its spaces";
    find<QLineEdit>("textFilter")->clear();
    QTest::keyClicks(find<QLineEdit>("textFilter"), QStringLiteral("aa55"));
    EXPECT_EQ(meanings(), QStringList({ "processor answer RDA-1" }));
}

TEST_F(JournalWindowTest, DeviceFilterListsEveryDeviceSeenInOrder)
{
    addSearch(journal);
    window.refresh();
    QComboBox *devices = find<QComboBox>("deviceFilter");
    QStringList items;
    for (int i = 0; i < devices->count(); ++i)
        items << devices->itemText(i);
    EXPECT_EQ(items,
        QStringList({ "All devices", "search", "processor", "unit 1 Chair 1", "unit 2 Chair 2",
            "unknown" }));
}

TEST_F(JournalWindowTest, FollowsNewEntriesOnlyWhileScrolledToTheBottom)
{
    for (int i = 0; i < 300; ++i)
        add(journal, JournalDirection::Out, {}, "10.0.0.10", 39030, attachFrame(1));
    window.refresh();
    QScrollBar *bar = window.table()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum()) << "at the bottom from the start";

    bar->setValue(10);
    add(journal, JournalDirection::Out, {}, "10.0.0.10", 39030, attachFrame(0));
    window.refresh();
    EXPECT_EQ(bar->value(), 10) << "an operator reading older rows is left there";

    bar->setValue(bar->maximum());
    add(journal, JournalDirection::Out, {}, "10.0.0.10", 39030, attachFrame(0));
    window.refresh();
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(window.model().rowCount(), 302);
}

TEST_F(JournalWindowTest, PauseHoldsTheTableAndResumeCatchesUp)
{
    addSearch(journal);
    window.refresh();
    QTest::mouseClick(find<QPushButton>("pause"), Qt::LeftButton);
    EXPECT_TRUE(window.isPaused());
    add(journal, JournalDirection::Out, {}, "10.0.0.10", 39030, attachFrame(0));
    window.refresh();
    EXPECT_EQ(window.model().rowCount(), 9);

    QTest::mouseClick(find<QPushButton>("pause"), Qt::LeftButton);
    EXPECT_EQ(window.model().rowCount(), 10) << "what came while paused";
}

TEST_F(JournalWindowTest, ClearEmptiesTheTableButKeepsTheRing)
{
    addSearch(journal);
    window.refresh();
    QTest::mouseClick(find<QPushButton>("clear"), Qt::LeftButton);
    EXPECT_EQ(window.model().rowCount(), 0);
    EXPECT_EQ(journal.since(0).size(), 9u);

    add(journal, JournalDirection::Out, {}, "10.0.0.10", 39030, attachFrame(0));
    window.refresh();
    QTest::mouseClick(find<QCheckBox>("hideLevels"), Qt::LeftButton); // a filter change
    EXPECT_EQ(meanings(), QStringList({ "detach" })) << "cleared rows stay away";
}

TEST(JournalModelRing, RowsFollowTheRingWhenItIsFull)
{
    Journal journal(0, 5);
    JournalModel model(journal);
    for (int i = 0; i < 8; ++i)
        add(journal, JournalDirection::Out, {}, "10.0.0.10", 39030, attachFrame(1));
    model.update();
    EXPECT_EQ(model.rowCount(), 5);
    EXPECT_EQ(model.shownEntries().front().sequence, 4u) << "the latest five";
    add(journal, JournalDirection::Out, {}, "10.0.0.10", 39030, attachFrame(0));
    model.update();
    EXPECT_EQ(model.rowCount(), 5);
    EXPECT_EQ(model.shownEntries().back().sequence, 9u);
}

// The fields of arx-sim's frame log, and only those.
void expectFrameLogLine(
    const QByteArray &line, const QString &direction, const QString &from, const QString &to)
{
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
    const QJsonObject object = document.object();
    EXPECT_EQ(object.keys(),
        QStringList({ "device", "direction", "from", "hex", "meaning", "time", "to" }));
    EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z$)"))
                    .match(object.value(QStringLiteral("time")).toString())
                    .hasMatch())
        << line.toStdString();
    EXPECT_EQ(object.value(QStringLiteral("direction")).toString(), direction);
    EXPECT_EQ(object.value(QStringLiteral("from")).toString(), from);
    EXPECT_EQ(object.value(QStringLiteral("to")).toString(), to);
}

QList<QByteArray> linesOf(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = file.readAll().split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

TEST(JournalFileTest, AppendsEveryEntryAsAJsonLineWithTheFrameLogsFields)
{
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("journal.jsonl"));
    {
        QFile earlier(path);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("{\"kept\":true}\n");
    }
    Journal journal(1'700'000'000'000);
    add(journal, JournalDirection::Out, kindOnly(DeviceKind::Search), "239.254.50.123", 9000,
        searchRequestFrame({ 10, 0, 0, 1 })); // before the file: not written
    {
        JournalFile file(journal, path.toStdString(), Local);
        ASSERT_TRUE(file.isOpen());
        add(journal, JournalDirection::Out, unitDevice(1, "Chair \"1\""), "10.0.0.10", 39030,
            attachFrame(1));
        add(journal, JournalDirection::In, unitDevice(1, "Chair \"1\""), "10.0.0.10", 39030,
            test::report('G', { 3 }));
        add(journal, JournalDirection::Dropped, unitDevice(1, "Chair \"1\""), "10.0.0.10", 39030,
            attachFrame(0), DropReason::Refused, true);
        // Bound to every address, this end is the address the requests carry, once known.
        journal.setLocalEndpoint("10.0.0.7", 39030);
        add(journal, JournalDirection::In, unitDevice(1, "Chair \"1\""), "10.0.0.10", 39030,
            test::report('G', { 4 }));
    }
    const QList<QByteArray> lines = linesOf(path);
    ASSERT_EQ(lines.size(), 5) << "appended to what was there";
    EXPECT_EQ(lines[0], "{\"kept\":true}");
    expectFrameLogLine(lines[1], "out", Local, "10.0.0.10:39030");
    expectFrameLogLine(lines[2], "in", "10.0.0.10:39030", Local);
    expectFrameLogLine(lines[3], "dropped", Local, "10.0.0.10:39030");
    expectFrameLogLine(lines[4], "in", "10.0.0.10:39030", "10.0.0.7:39030");
    const QJsonObject attach = QJsonDocument::fromJson(lines[1]).object();
    EXPECT_EQ(attach.value(QStringLiteral("device")).toString(), "unit 1 Chair \"1\"");
    EXPECT_EQ(attach.value(QStringLiteral("hex")).toString(), "25460123");
    EXPECT_EQ(attach.value(QStringLiteral("meaning")).toString(), "attach");
    EXPECT_EQ(
        QJsonDocument::fromJson(lines[3]).object().value(QStringLiteral("meaning")).toString(),
        "dropped: send queue full; detach");
}

TEST(JournalFileTest, AFileThatCannotBeOpenedSaysWhy)
{
    Journal journal;
    JournalFile file(journal, "/nonexistent-directory/journal.jsonl", Local);
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.error(), std::strerror(ENOENT));
}

TEST_F(JournalWindowTest, SaveAsWritesTheShownRowsAsCsvJsonLinesOrACapture)
{
    addSearch(journal);
    window.refresh();
    QTest::mouseClick(find<QCheckBox>("hideLevels"), Qt::LeftButton);
    QTemporaryDir directory;
    const QString csv = directory.filePath(QStringLiteral("journal.csv"));
    const QString json = directory.filePath(QStringLiteral("journal.jsonl"));
    const QString pcap = directory.filePath(QStringLiteral("journal.pcap"));
    prompts.fileNames = { csv.toStdString(), json.toStdString(), pcap.toStdString() };
    for (int save = 0; save < 3; ++save)
        QTest::mouseClick(find<QPushButton>("saveAs"), Qt::LeftButton);

    const QList<QByteArray> csvLines = linesOf(csv);
    ASSERT_EQ(csvLines.size(), 6) << "a header and the five rows shown";
    EXPECT_EQ(csvLines[0], "time,direction,device,from,to,hex,meaning\r");
    EXPECT_TRUE(csvLines[2].endsWith(
        "\"in\",\"unit 1 Chair "
        "1\",\"10.0.0.10:39030\",\"10.0.0.1:39030\",\"254400000A00006307436861"
        "6972203103010100000243304445303030310102032"
        "3\",\"announcement ARN1 \"\"Chair 1\"\": gain +9dB, low cut on, 48V on, mute off, locate "
        "off, mode PTT, colours open red, mute green, call yellow, code C0DE0001\"\r"))
        << csvLines[2].toStdString();

    const QList<QByteArray> jsonLines = linesOf(json);
    ASSERT_EQ(jsonLines.size(), 5);
    expectFrameLogLine(jsonLines[0], "out", Local, "239.254.50.123:9000");
    expectFrameLogLine(jsonLines[4], "in", "10.0.0.200:39060", Local);
    EXPECT_TRUE(prompts.shown.empty());

    // A pcap file of raw IPv4 packets: its header, then per row a record header and the IPv4
    // and UDP headers before the frame.
    QFile capture(pcap);
    ASSERT_TRUE(capture.open(QIODevice::ReadOnly));
    const QByteArray bytes = capture.readAll();
    qsizetype expectedSize = 24;
    for (const JournalEntry &entry : window.model().shownEntries())
        expectedSize += 16 + 28 + entry.length;
    EXPECT_EQ(bytes.size(), expectedSize) << "the five rows shown";
    EXPECT_TRUE(bytes.startsWith("\xD4\xC3\xB2\xA1")) << "pcap, least significant byte first";
    EXPECT_EQ(bytes.mid(20, 4), QByteArray("\x65\0\0\0", 4)) << "LINKTYPE_RAW";

    prompts.fileNames = { "/nonexistent-directory/journal.csv", "/nonexistent-directory/j.pcap" };
    QTest::mouseClick(find<QPushButton>("saveAs"), Qt::LeftButton);
    QTest::mouseClick(find<QPushButton>("saveAs"), Qt::LeftButton);
    EXPECT_EQ(prompts.shown,
        std::vector<std::string>(
            { "The journal could not be written to /nonexistent-directory/journal.csv.",
                "The journal could not be written to /nonexistent-directory/j.pcap." }));
}

} // namespace
} // namespace arx

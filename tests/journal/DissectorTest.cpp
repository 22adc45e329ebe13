// The Wireshark dissector (packaging/wireshark/arx.lua) as tshark runs it, frame by frame
// against ARX's own journal of the same datagrams: on a capture that ARX writes now against
// arx-sim (arx-capture-tour on 127.0.130.0/24), and on the fixture kept in tests/journal.
#include "dsp/CoefficientDesigns.h"
#include "model/Store.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace arx {
namespace {

// One frame as tshark decodes it: field name -> text.
using Decoded = std::map<std::string, std::string>;

const char *const Fields[] = { "frame.time_epoch", "ip.src", "udp.srcport", "ip.dst", "udp.dstport",
    "udp.payload", "_ws.col.Info", "arx.misfit", "_ws.malformed", "_ws.lua.error",
    "ip.checksum.status", "udp.checksum.status", "arx.unit.letter", "arx.proc.command",
    "arx.unit.name", "arx.unit.eq.band", "arx.unit.eq.frequency", "arx.unit.eq.q",
    "arx.unit.eq.gain", "arx.unit.lowcut.frequency", "arx.proc.frequency", "arx.proc.q",
    "arx.proc.gain", "arx.proc.type", "arx.proc.type_q", "arx.proc.ratio", "arx.proc.threshold",
    "arx.proc.attack", "arx.proc.release", "arx.coef.b0", "arx.coef.b1", "arx.coef.b2",
    "arx.coef.a1", "arx.coef.a2", "arx.proc.dyn.average", "arx.proc.dyn.average_rest",
    "arx.proc.dyn.attack", "arx.proc.dyn.attack_rest", "arx.proc.dyn.release",
    "arx.proc.dyn.release_rest", "arx.proc.dyn.threshold", "arx.proc.dyn.slope",
    "arx.proc.dyn.constant" };

// Every kind of frame ARX sends ("out") and takes ("in"): unit letters and processor commands.
const std::set<std::string> EveryKind
    = { "out %A", "out %C", "out %F", "out %H", "out %K", "out %M", "out %O", "out %P", "out %T",
          "in %D", "in %H", "in %E", "in %J", "in %G", "in %L", "in %B", "in %U", "out 01",
          "out 02", "out 03", "out 04", "out 05", "out 06", "out 07", "out 08", "out 0A", "in 07" };

std::vector<Decoded> dissected(const QString &capture)
{
    QStringList arguments { "-n", "-r", capture, "-X", "lua_script:" ARX_DISSECTOR, "-o",
        "ip.check_checksum:TRUE", "-o", "udp.check_checksum:TRUE", "-T", "fields", "-E",
        "separator=/t" };
    for (const char *field : Fields)
        arguments << "-e" << field;
    QProcess tshark;
    tshark.start(QStringLiteral("tshark"), arguments);
    EXPECT_TRUE(tshark.waitForFinished(60000));
    EXPECT_EQ(tshark.exitCode(), 0);
    const QString errors = QString::fromUtf8(tshark.readAllStandardError());
    EXPECT_FALSE(errors.contains(QStringLiteral("Lua"))) << errors.toStdString();
    std::vector<Decoded> frames;
    for (const QString &line : QString::fromUtf8(tshark.readAllStandardOutput()).split('\n')) {
        if (line.isEmpty())
            continue;
        const QStringList values = line.split('\t');
        Decoded frame;
        for (qsizetype i = 0; i < values.size() && i < qsizetype(std::size(Fields)); ++i)
            frame[Fields[i]] = values[i].toStdString();
        frames.push_back(frame);
    }
    return frames;
}

// The journal's lines that the capture holds: all but notes and frames that never left.
std::vector<QJsonObject> journalled(const QString &path, const QString &own)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    std::vector<QJsonObject> lines;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        const QString direction = object.value(QStringLiteral("direction")).toString();
        const bool sent = object.value(QStringLiteral("from")).toString() == own;
        if (direction == QLatin1String("out") || direction == QLatin1String("in")
            || (direction == QLatin1String("dropped") && !sent))
            lines.push_back(object);
    }
    return lines;
}

std::string text(const QJsonObject &line, const char *key)
{
    return line.value(QLatin1String(key)).toString().toStdString();
}

double number(const Decoded &frame, const char *field)
{
    return std::stod(frame.at(field));
}

// What the dissector decoded against ARX's own design from the decoded settings: the
// fixed-point words read back within their resolution.
void expectDesignedCoefficients(const Decoded &frame, const std::string &kind)
{
    // A '%T' word holds -4 up to just under 4, and ARX saturates what lies beyond.
    const bool unitWord = kind == "%T";
    const auto expectWord = [&](const char *field, double value) {
        if (unitWord)
            value = std::clamp(value, -4.0, 4.0 - std::ldexp(1.0, -21));
        EXPECT_NEAR(number(frame, field), value, 2e-6) << field;
    };
    std::optional<Biquad> design;
    if (kind == "%T" && frame.at("arx.unit.eq.band") == "4")
        design = micLowCutCoefficients(number(frame, "arx.unit.lowcut.frequency"));
    else if (kind == "%T")
        design = micPeakingCoefficients(number(frame, "arx.unit.eq.frequency"),
            int(number(frame, "arx.unit.eq.gain")), int(number(frame, "arx.unit.eq.q")) / 10);
    else if (kind == "01")
        design = speakerPeakingCoefficients(number(frame, "arx.proc.frequency"),
            int(number(frame, "arx.proc.gain")), int(number(frame, "arx.proc.q")));
    else if (kind == "02" || kind == "03")
        design = (kind == "02" ? crossoverHighPassCoefficients : crossoverLowPassCoefficients)(
            int(number(frame, "arx.proc.type")), number(frame, "arx.proc.frequency"),
            int(number(frame, "arx.proc.type_q")));
    if (design) {
        expectWord("arx.coef.b0", design->b0);
        expectWord("arx.coef.b1", design->b1);
        expectWord("arx.coef.b2", design->b2);
        expectWord("arx.coef.a1", -design->a1); // sent negated
        expectWord("arx.coef.a2", -design->a2);
    }
    if (kind != "05")
        return;
    const DynamicsCoefficients dynamics
        = dynamicsCoefficients(int(number(frame, "arx.proc.threshold")),
            int(number(frame, "arx.proc.attack")), int(number(frame, "arx.proc.release")),
            int(number(frame, "arx.proc.ratio")), computeEulerConstant());
    const std::pair<const char *, double> words[] = {
        { "arx.proc.dyn.average", dynamics.average },
        { "arx.proc.dyn.average_rest", 1 - dynamics.average },
        { "arx.proc.dyn.attack", dynamics.attack },
        { "arx.proc.dyn.attack_rest", 1 - dynamics.attack },
        { "arx.proc.dyn.release", dynamics.release },
        { "arx.proc.dyn.release_rest", 1 - dynamics.release },
        { "arx.proc.dyn.threshold", dynamics.threshold },
        { "arx.proc.dyn.slope", dynamics.slope },
        { "arx.proc.dyn.constant", 2.0 / 31.0 },
    };
    for (const auto &[field, value] : words)
        expectWord(field, value);
}

// Every frame of `capture` decoded as the journal decoded it: the same ends, time, bytes and
// words, a warning exactly where the journal found the frame not fitting its kind, the kind,
// the unit's name, and coefficients that match ARX's designs. Returns the kinds seen.
std::set<std::string> expectDissectorAgreesWithJournal(
    const QString &capture, const QString &journal, const QString &own)
{
    static const QRegularExpression Misfit(QStringLiteral(
        "bytes, not \\d+$|wrong length or end$|too short$|no unit sends$|^unknown|^not a frame$"));
    const std::vector<Decoded> frames = dissected(capture);
    const std::vector<QJsonObject> lines = journalled(journal, own);
    EXPECT_EQ(frames.size(), lines.size()) << "one packet for each journal entry";
    std::set<std::string> kinds;
    for (std::size_t i = 0; i < std::min(frames.size(), lines.size()); ++i) {
        const Decoded &frame = frames[i];
        const QJsonObject &line = lines[i];
        const std::string hex = text(line, "hex");
        SCOPED_TRACE("packet " + std::to_string(i + 1) + ": " + hex);
        EXPECT_EQ(frame.at("ip.src") + ":" + frame.at("udp.srcport"), text(line, "from"));
        EXPECT_EQ(frame.at("ip.dst") + ":" + frame.at("udp.dstport"), text(line, "to"));
        EXPECT_EQ(QString::fromStdString(frame.at("udp.payload")).toUpper().toStdString(), hex);
        EXPECT_EQ(std::llround(number(frame, "frame.time_epoch") * 1000),
            QDateTime::fromString(QString::fromStdString(text(line, "time")), Qt::ISODateWithMs)
                .toMSecsSinceEpoch());
        std::string words = text(line, "meaning");
        // What ARX cut at 128 bytes: the capture keeps what ARX kept, without a UDP checksum.
        const bool cutShort = words.starts_with("dropped: longer than");
        EXPECT_EQ(frame.at("ip.checksum.status") + frame.at("udp.checksum.status"),
            cutShort ? "13" : "11")
            << "valid checksums";
        EXPECT_EQ(frame.at("_ws.malformed") + frame.at("_ws.lua.error"), "");
        if (cutShort) {
            EXPECT_EQ(frame.at("arx.misfit"), "1");
            continue;
        }

        if (words.starts_with("dropped: ") && words.find("; ") != std::string::npos)
            words = words.substr(words.find("; ") + 2); // the reason is ARX's own
        EXPECT_EQ(frame.at("_ws.col.Info"), words);
        EXPECT_EQ(
            frame.at("arx.misfit") == "1", Misfit.match(QString::fromStdString(words)).hasMatch());

        // The kind as the dissector tells it, and as the bytes have it.
        const std::string command = frame.at("arx.proc.command");
        const std::string kind = command.empty()
            ? "%" + frame.at("arx.unit.letter")
            : QString::fromStdString(command).mid(2).toUpper().toStdString();
        EXPECT_EQ(kind,
            hex.starts_with("25") ? "%" + std::string(1, char(std::stoi(hex.substr(2, 2), 0, 16)))
                                  : hex.substr(6, 2));
        const std::string device = text(line, "device");
        if (!frame.at("arx.unit.name").empty() && device.starts_with("unit ")) {
            EXPECT_EQ(device.substr(device.find(' ', 5) + 1), frame.at("arx.unit.name"));
        }
        expectDesignedCoefficients(frame, kind);
        kinds.insert((text(line, "from") == own.toStdString() ? "out " : "in ") + kind);
    }
    return kinds;
}

bool coversEveryKind(const std::set<std::string> &kinds)
{
    return std::includes(kinds.begin(), kinds.end(), EveryKind.begin(), EveryKind.end());
}

TEST(Dissector, DecodesACaptureThatArxWritesAgainstTheEmulatorAsTheJournalDoes)
{
    QTemporaryDir directory;
    QProcess tour;
    tour.start(QStringLiteral(ARX_CAPTURE_TOUR), { QStringLiteral("127.0.130"), directory.path() });
    ASSERT_TRUE(tour.waitForFinished(60000));
    ASSERT_EQ(tour.exitCode(), 0) << tour.readAllStandardError().toStdString();
    const std::set<std::string> kinds = expectDissectorAgreesWithJournal(
        directory.filePath(QStringLiteral("capture.pcap")),
        directory.filePath(QStringLiteral("journal.jsonl")), QStringLiteral("127.0.130.1:39030"));
    EXPECT_TRUE(coversEveryKind(kinds));
}

TEST(Dissector, DecodesTheKeptFixtureAsTheJournalDid)
{
    const std::set<std::string> kinds
        = expectDissectorAgreesWithJournal(QStringLiteral(ARX_CAPTURE_FIXTURE "/tour.pcap"),
            QStringLiteral(ARX_CAPTURE_FIXTURE "/tour.jsonl"), QStringLiteral("127.0.131.1:39030"));
    EXPECT_TRUE(coversEveryKind(kinds));
}

} // namespace
} // namespace arx

// arxctl: a command-line client of ARX's room-control port, for technicians and scripts.
#include "ControlConnection.h"
#include "Output.h"

#include "control/ControlAccess.h"
#include "roomfile/RoomFile.h"
#include "seams/Files.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <map>
#include <optional>

namespace {

using namespace arxctl;
using namespace std::chrono_literals;

// Exit statuses.
constexpr int Done = 0;
constexpr int Refused = 1; // ARX answered with an ERR
constexpr int Failed = 2; // no connection, no answer, or wrong usage

constexpr auto AnswerTimeout = 5s;
// An apply sends unit by unit as the frames leave: 64 units and a processor take well under
// a minute.
constexpr auto ApplyTimeout = 300s;
// Asked after every request: its answer comes after all of the request's, in order.
const std::string Fence = "< GET ARX VERSION >";

const char *const Usage = R"(Commands:
  list                          the units: number, name, address, family, state, mute, gain
  get INDEX PARAM               a value, e.g. get 3 gain, get speaker level_main
  set INDEX PARAM [VALUE...]    e.g. set all mute on, set speaker level_main -6,
                                set "Seat 04" locate on, set speaker recall Lecture
  search on|off                 starts or stops the search for units
  check                         runs a room check
  room save|diff|apply NAME     saves the room to the room file NAME in ARX's preset folder,
                                compares that file with the room, or applies what differs
  watch                         every REP as it arrives (--meters adds the samples)
INDEX is a unit number (1..64), all (every unit), a unit's name, speaker or arx.)";

int fail(int status, const std::string &text)
{
    std::fprintf(stderr, "arxctl: %s\n", text.c_str());
    return status;
}

// A word goes bare when it is one; anything else is quoted, with its escapes.
std::string word(const QString &argument)
{
    const std::string text = argument.toStdString();
    const bool bare = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')
            || std::string_view("_+-.#:").find(c) != std::string_view::npos;
    });
    return bare ? text : arx::quotedText(text);
}

std::string indexWord(const QString &argument)
{
    if (argument.compare(QStringLiteral("all"), Qt::CaseInsensitive) == 0)
        return "0";
    const QString upper = argument.toUpper();
    bool number = false;
    argument.toInt(&number);
    if (number || upper == QStringLiteral("SPEAKER") || upper == QStringLiteral("ARX"))
        return upper.toStdString();
    return arx::quotedText(argument.toStdString());
}

std::string request(const char *verb, const QStringList &words)
{
    std::string line = std::string("< ") + verb + " " + indexWord(words[0]) + " "
        + words[1].toUpper().toStdString();
    for (qsizetype i = 2; i < words.size(); ++i)
        line += " " + word(words[i]);
    return line + " >";
}

class Session {
public:
    ControlConnection connection;

    // Sends the lines and the fence and gathers every message up to the fence's answer.
    std::optional<std::vector<Message>> exchange(
        const std::vector<std::string> &lines, std::string &error)
    {
        int fences = 1;
        for (const std::string &line : lines) {
            fences += line == Fence;
            if (!connection.sendLine(line))
                return error = "the connection to ARX was lost", std::nullopt;
        }
        if (!connection.sendLine(Fence))
            return error = "the connection to ARX was lost", std::nullopt;
        std::vector<Message> messages;
        while (fences > 0) {
            bool closed = false;
            std::optional<Message> message = connection.next(AnswerTimeout, closed);
            if (!message) {
                // ARX closes a connection it refuses after saying why.
                for (const Message &earlier : messages) {
                    if (earlier.kind == "ERR")
                        return messages;
                }
                error = closed ? "ARX closed the connection" : "no answer from ARX";
                return std::nullopt;
            }
            const bool fence = message->kind == "REP" && message->index == "ARX"
                && message->parameter == "VERSION";
            fences -= fence ? 1 : 0;
            // The last fence's answer is no answer to the request.
            if (!fence || fences > 0)
                messages.push_back(std::move(*message));
        }
        return messages;
    }
};

// ERRs go to standard error; true when there was one.
bool reportRefusals(const std::vector<Message> &messages)
{
    bool refused = false;
    for (const Message &message : messages) {
        if (message.kind != "ERR")
            continue;
        refused = true;
        fail(Refused, message.index + " " + message.parameter + ": " + message.valueText());
    }
    return refused;
}

int list(Session &session, bool json)
{
    std::string error;
    const auto messages
        = session.exchange({ "< GET 0 DEVICE >", "< GET 0 MUTE >", "< GET 0 GAIN >" }, error);
    if (!messages)
        return fail(Failed, error);
    std::map<int, UnitRow> units;
    for (const Message &message : *messages) {
        bool number = false;
        const int unit = QString::fromStdString(message.index).toInt(&number);
        if (message.kind != "REP" || !number)
            continue;
        UnitRow &row = units[unit];
        row.number = unit;
        if (message.parameter == "DEVICE" && message.values.size() == 4) {
            row.name = message.values[0].text;
            row.address = message.values[1].text;
            row.family = message.values[2].text;
            row.state = message.values[3].text;
        } else if (message.parameter == "MUTE") {
            row.mute = message.valueText();
        } else if (message.parameter == "GAIN") {
            row.gain = message.valueText();
        }
    }
    std::vector<UnitRow> rows;
    for (const auto &[unit, row] : units) {
        if (!row.family.empty())
            rows.push_back(row);
    }
    const std::string text = json ? unitJson(rows) : unitTable(rows);
    std::fputs(text.c_str(), stdout);
    return Done;
}

// A GET or SET: prints the REPs of the parameter asked about (and an action's DONE).
int exchangeOne(Session &session, const std::string &line, const std::string &parameter, bool json)
{
    std::string error;
    const auto messages = session.exchange({ line }, error);
    if (!messages)
        return fail(Failed, error);
    if (reportRefusals(*messages))
        return Refused;
    std::vector<Message> answers;
    for (const Message &message : *messages) {
        if (message.kind == "REP" && message.parameter == parameter)
            answers.push_back(message);
    }
    if (json) {
        std::fputs(messagesJson(answers).c_str(), stdout);
        return Done;
    }
    for (const Message &answer : answers) {
        const std::string text
            = answers.size() == 1 ? answer.valueText() : answer.index + " " + answer.valueText();
        std::printf("%s\n", text.c_str());
    }
    return Done;
}

// ROOM_SAVE, ROOM_DIFF and ROOM_APPLY: the file's name, or the comparison (and, for an apply,
// how many rows were applied once it has finished).
int room(Session &session, const std::string &action, const QString &name, bool json)
{
    const std::string file = word(name);
    std::vector<std::string> lines;
    if (action != "save")
        lines.push_back("< SET ARX ROOM_DIFF " + file + " >");
    if (action != "diff")
        lines.push_back("< SET ARX ROOM_" + QString::fromStdString(action).toUpper().toStdString()
            + " " + file + " >");
    std::string error;
    auto messages = session.exchange(lines, error);
    if (!messages)
        return fail(Failed, error);
    // A file that cannot be opened refuses the comparison and the apply alike: said once.
    for (const Message &message : *messages) {
        if (message.kind == "ERR")
            return reportRefusals({ message }) ? Refused : Failed;
    }
    const auto answer = [](const Message &message, const char *parameter) {
        return message.kind == "REP" && message.index == "ARX" && message.parameter == parameter;
    };
    std::string saved;
    std::vector<DifferenceRow> differences;
    std::optional<Message> applied;
    for (const Message &message : *messages) {
        if (answer(message, "ROOM_SAVE"))
            saved = message.valueText();
        else if (answer(message, "ROOM_DIFF") && message.values.size() == 4)
            differences.push_back({ message.values[0].text, message.values[1].text,
                message.values[2].text, message.values[3].text });
        else if (answer(message, "ROOM_APPLY"))
            applied = message;
    }
    if (action == "save") {
        const std::string text = json ? differenceJson(saved, {}, std::nullopt) : saved + "\n";
        std::fputs(text.c_str(), stdout);
        return Done;
    }
    // The apply's answer comes once its frames have left.
    while (action == "apply" && !applied) {
        bool closed = false;
        std::optional<Message> message = session.connection.next(ApplyTimeout, closed);
        if (!message)
            return fail(Failed, closed ? "ARX closed the connection" : "no answer from ARX");
        if (message->kind == "ERR" && message->parameter == "ROOM_APPLY")
            return reportRefusals({ *message }) ? Refused : Failed;
        if (answer(*message, "ROOM_APPLY"))
            applied = message;
    }
    // "Hall.arxroom" DONE n
    const std::string fileName = arx::withSuffix(name.toStdString(), arx::RoomFileSuffix);
    std::optional<int> count;
    if (applied && applied->values.size() == 3)
        count = QString::fromStdString(applied->values[2].text).toInt();
    if (json) {
        std::fputs(differenceJson(applied ? applied->values[0].text : fileName, differences, count)
                       .c_str(),
            stdout);
        return Done;
    }
    std::string text = differenceTable(differences);
    if (count)
        text += "Applied: " + std::to_string(*count) + "\n";
    std::fputs(text.c_str(), stdout);
    return Done;
}

int watch(Session &session, bool meters, bool json)
{
    if (meters && !session.connection.sendLine("< SET ARX METER_RATE 100 >"))
        return fail(Failed, "the connection to ARX was lost");
    for (;;) {
        bool closed = false;
        const std::optional<Message> message = session.connection.next(24h, closed);
        if (!message) {
            if (closed)
                return fail(Failed, "ARX closed the connection");
            continue;
        }
        if (message->kind == "ERR")
            fail(Refused, message->index + " " + message->parameter + ": " + message->valueText());
        else if (message->kind == "SAMPLE" && !meters)
            continue;
        const std::string text = json ? messageJson(*message) : message->line + "\n";
        std::fputs(text.c_str(), stdout);
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("arxctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ARX_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A client of ARX's room-control port.\n\n") + QString::fromUtf8(Usage));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption connectOption(QStringLiteral("connect"),
        QStringLiteral("The ARX to talk to. Default: 127.0.0.1:39100."),
        QStringLiteral("HOST:PORT"));
    const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("Prints JSON."));
    const QCommandLineOption metersOption(
        QStringLiteral("meters"), QStringLiteral("watch: adds the units' level samples."));
    parser.addOption(connectOption);
    parser.addOption(jsonOption);
    parser.addOption(metersOption);
    parser.addPositionalArgument(
        QStringLiteral("command"), QStringLiteral("list, get, set, search, check, room or watch"));
    // Options come before the command, so that "-6" is a value, not an option.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!parser.parse(application.arguments()))
        return fail(Failed, parser.errorText().toStdString());
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(parser.helpText().toStdString().c_str(), stdout);
        return Done;
    }
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();

    const QStringList arguments = parser.positionalArguments();
    const QString command = arguments.value(0);
    const QStringList words = arguments.mid(1);
    const bool json = parser.isSet(jsonOption);
    std::string line;
    std::string parameter;
    if (command == QStringLiteral("get") && words.size() == 2) {
        line = request("GET", words);
        parameter = words[1].toUpper().toStdString();
    } else if (command == QStringLiteral("set") && words.size() >= 2) {
        line = request("SET", words);
        parameter = words[1].toUpper().toStdString();
        // A connection is answered with its state.
        if (parameter == "CONNECT")
            parameter = "CONNECTED";
    } else if (command == QStringLiteral("search") && words.size() == 1
        && (words[0] == QStringLiteral("on") || words[0] == QStringLiteral("off"))) {
        line = request("SET", { QStringLiteral("arx"), QStringLiteral("search"), words[0] });
        parameter = "SEARCH";
    } else if (command == QStringLiteral("check") && words.isEmpty()) {
        line = "< SET ARX CHECK >";
        parameter = "CHECK";
    } else if (command == QStringLiteral("room")) {
        if (words.size() != 2
            || !QStringList { QStringLiteral("save"), QStringLiteral("diff"),
                QStringLiteral("apply") }
                    .contains(words[0]))
            return fail(Failed, "wrong usage; see arxctl --help");
    } else if (!((command == QStringLiteral("list") || command == QStringLiteral("watch"))
                   && words.isEmpty())) {
        return fail(Failed, "wrong usage; see arxctl --help");
    }

    const std::string target = parser.isSet(connectOption)
        ? parser.value(connectOption).toStdString()
        : std::string(arx::DefaultControlAddress) + ":" + std::to_string(arx::DefaultControlPort);
    const std::size_t colon = target.rfind(':');
    bool portRead = false;
    const uint port = colon == std::string::npos
        ? 0
        : QString::fromStdString(target.substr(colon + 1)).toUInt(&portRead);
    if (!portRead || port == 0 || port > 65535)
        return fail(Failed, "--connect takes HOST:PORT, not \"" + target + "\"");

    Session session;
    std::string error;
    if (!session.connection.open(QString::fromStdString(target.substr(0, colon)),
            static_cast<quint16>(port), AnswerTimeout, error))
        return fail(Failed, "cannot connect to " + target + ": " + error);
    if (command == QStringLiteral("list"))
        return list(session, json);
    if (command == QStringLiteral("watch"))
        return watch(session, parser.isSet(metersOption), json);
    if (command == QStringLiteral("room"))
        return room(session, words[0].toStdString(), words[1], json);
    return exchangeOne(session, line, parameter, json);
}

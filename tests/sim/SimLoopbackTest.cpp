// arx-sim as a program, seen from where the application stands: 127.0.5.1:39030. The room
// lives on 127.0.5.0/24; 127.0.8.1 plays an application on another subnet.
#include "LoopbackPeer.h"
#include "SimControl.h"
#include "SimProcess.h"
#include "Wire.h"

#include <gtest/gtest.h>

namespace arxsim {
namespace {

const Endpoint App { 0x7F000501, UnitPort };
const Endpoint Processor { 0x7F0005C8, ProcessorPort };

Endpoint unitEndpoint(int number)
{
    return { 0x7F000500u + 9u + static_cast<Ipv4>(number), UnitPort };
}

Bytes frame(char letter, std::initializer_list<int> payload)
{
    Bytes bytes { '%', static_cast<std::uint8_t>(letter) };
    for (int value : payload)
        bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back('#');
    return bytes;
}

bool isLevelReport(const Datagram &d)
{
    return d.bytes.size() == 4 && (d.bytes[1] == 'G' || d.bytes[1] == 'L');
}

class SimLoopback : public ::testing::Test {
protected:
    // Units 1..5 of types 1..5, level reports 50 times a second.
    SimProcess sim { { "--subnet", "127.0.5.0", "--units", "1,2,3,4,5", "--level-rate", "50" },
        "sim-loopback.log" };
    SimControl control { sim.control() };
    LoopbackPeer app { "127.0.5.1", UnitPort };

    // Anything but level reports, from `from`.
    std::optional<Datagram> replyFrom(const Endpoint &from)
    {
        return app.receiveWhere(
            [&](const Datagram &d) { return d.from == from && !isLevelReport(d); });
    }

    // A search, with every answer taken off the socket.
    void searchAndDrain(int answers)
    {
        app.sendSearch(App);
        for (int i = 0; i < answers; ++i)
            ASSERT_TRUE(app.receive()) << "answer " << i + 1 << " of " << answers << " came";
    }
};

TEST_F(SimLoopback, SearchOverTheGroupIsAnsweredByEveryDeviceInOrder)
{
    app.sendSearch(App);
    const struct {
        Endpoint from;
        std::uint8_t first;
        std::uint8_t second;
        std::size_t length;
    } expected[] = {
        { unitEndpoint(1), '%', 'D', 7 + 27 },
        { unitEndpoint(2), '%', 'D', 7 + 26 },
        { unitEndpoint(3), '%', 'H', 7 + 77 },
        { unitEndpoint(4), '%', 'D', 7 + 16 },
        { unitEndpoint(5), '%', 'D', 7 + 15 },
        { Processor, 0xAA, 0x55, 12 },
    };
    for (const auto &e : expected) {
        const auto answer = app.receive();
        ASSERT_TRUE(answer) << "an answer from " << formatEndpoint(e.from) << " came";
        EXPECT_EQ(answer->from, e.from) << "devices answer in order, each from its own address";
        EXPECT_EQ(answer->bytes[0], e.first);
        EXPECT_EQ(answer->bytes[1], e.second);
        EXPECT_EQ(answer->bytes.size(), e.length) << "from " << formatEndpoint(e.from);
    }
    EXPECT_EQ(control.list().text("search"), "127.0.5.1:39030") << "the room remembers the search";
}

TEST_F(SimLoopback, SearchCarryingAnotherSubnetGoesUnanswered)
{
    LoopbackPeer elsewhere("127.0.8.1", UnitPort);
    app.sendSearch(elsewhere.endpoint());
    // The control reply comes after the search datagram has been handled.
    EXPECT_EQ(control.list().text("search"), "none");
    EXPECT_TRUE(elsewhere.drain().empty()) << "nothing went to the other subnet's application";
    EXPECT_TRUE(app.drain().empty()) << "nor to the sender";
}

TEST_F(SimLoopback, StatsCountEveryDatagramInAndOut)
{
    searchAndDrain(6);
    app.sendTo(unitEndpoint(1), frame('F', { 1 }));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(app.receive()) << "level report " << i + 1 << " came";
    app.sendTo(unitEndpoint(1), frame('F', { 0 }));
    const ControlReply stats = control.stats();
    EXPECT_EQ(stats.counter("received"), 2u) << "the attach and the detach";
    EXPECT_GE(stats.counter("searches"), 1u)
        << "the search, and any of rooms side by side, which every room hears";
    EXPECT_GE(stats.counter("levelReports"), 3u);
    EXPECT_EQ(stats.counter("sent"), 6 + stats.counter("levelReports"))
        << "six answers to the search and every level report, nothing else";
    EXPECT_EQ(stats.counter("failed"), 0u);
    EXPECT_EQ(app.drain().size() + 3, stats.counter("levelReports"))
        << "every level report counted arrived";
}

struct FamilyRow {
    int unit;
    char attach;
    char level;
};

void PrintTo(const FamilyRow &row, std::ostream *out)
{
    *out << "unit" << row.unit;
}

class SimLoopbackFamilies : public SimLoopback, public ::testing::WithParamInterface<FamilyRow> { };

TEST_P(SimLoopbackFamilies, AttachedUnitSendsLevelReportsWithItsFamilysLetterUntilDetached)
{
    const FamilyRow row = GetParam();
    const Endpoint unit = unitEndpoint(row.unit);
    app.sendTo(unit, frame(row.attach, { 1 }));
    for (int i = 0; i < 3; ++i) {
        const auto report = app.receive();
        ASSERT_TRUE(report) << "level report " << i + 1 << " came";
        EXPECT_EQ(report->from, unit) << "only the attached unit reports";
        EXPECT_EQ(report->bytes,
            Bytes({ '%', static_cast<std::uint8_t>(row.level), report->bytes.at(2), '#' }))
            << "unit " << row.unit << " reports levels with '" << row.level << "'";
        EXPECT_LE(report->bytes[2], 16);
    }
    const ControlReply state = control.unit(row.unit);
    EXPECT_EQ(state.number("attached"), 1);
    EXPECT_EQ(state.text("controller"), "127.0.5.1:39030");

    app.sendTo(unit, frame(row.attach, { 0 }));
    EXPECT_EQ(control.unit(row.unit).number("attached"), 0) << "the unit is detached";
    app.drain();
    EXPECT_FALSE(app.receive(std::chrono::milliseconds(100)))
        << "no level report follows the detach within five periods";
}

INSTANTIATE_TEST_SUITE_P(EveryType, SimLoopbackFamilies,
    ::testing::Values(FamilyRow { 1, 'F', 'G' }, FamilyRow { 2, 'K', 'L' },
        FamilyRow { 3, 'F', 'G' }, FamilyRow { 4, 'F', 'G' }, FamilyRow { 5, 'K', 'L' }));

struct SettingsRow {
    int unit;
    Bytes settings;
    Bytes report;
};

void PrintTo(const SettingsRow &row, std::ostream *out)
{
    *out << "unit" << row.unit;
}

class SimLoopbackSettings : public SimLoopback,
                            public ::testing::WithParamInterface<SettingsRow> { };

TEST_P(SimLoopbackSettings, SettingsFrameIsAppliedAndAnsweredWithTheMatchingReport)
{
    const SettingsRow &row = GetParam();
    app.sendTo(unitEndpoint(row.unit), row.settings);
    const auto report = replyFrom(unitEndpoint(row.unit));
    ASSERT_TRUE(report) << "unit " << row.unit << " answered";
    EXPECT_EQ(report->bytes, row.report) << "unit " << row.unit;
    const ControlReply state = control.unit(row.unit);
    EXPECT_EQ(state.number("gain"), 3);
    EXPECT_EQ(state.number("micMute"), 1);
    EXPECT_EQ(state.number("mode"), 2);
    EXPECT_EQ(state.number("ignored"), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryType, SimLoopbackSettings,
    ::testing::Values(
        SettingsRow { 1, frame('A', { 3, 1, 0, 1, 0, 2 }), frame('E', { 3, 1, 0, 1, 0, 2 }) },
        SettingsRow { 2, frame('H', { 3, 1, 1, 0, 2 }), frame('J', { 3, 1, 1, 0, 2 }) },
        SettingsRow { 3, frame('A', { 3, 1, 0, 1, 0, 2 }), frame('E', { 3, 1, 0, 1, 0, 2 }) },
        SettingsRow { 4, frame('A', { 3, 1, 1, 1, 0, 2 }), frame('E', { 3, 1, 1, 1, 0, 2 }) },
        SettingsRow { 5, frame('H', { 3, 0, 1, 1, 2 }), frame('J', { 3, 0, 1, 1, 2 }) }));

TEST_F(SimLoopback, ColourAndEqualiserFramesReachTheUnitsState)
{
    const Bytes m = frame('M', { '1', '2', '3', '4', '5', '6', '7', '8', 5, 6, 7 });
    const Bytes o = frame('O', { '7', '3', '9', '2', '0', '4', '6', '8', 1, 2, 3 });
    const Bytes p = frame(
        'P', { '7', '3', '9', '2', '0', '4', '6', '8', 0x56, 0x34, 0x12, 0, 0, 0xFF, 0, 0xFF, 0 });
    const Bytes t = frame('T',
        { 0, 1, 2, 0x13, 0x88, 0x01, 0x2C, 0x01, 0x90, 0x20, 0, 0, 0, 0, 0, 0x20, 0, 0, 0, 0, 0, 0,
            0, 0 });
    app.sendTo(unitEndpoint(1), m);
    app.sendTo(unitEndpoint(2), o);
    app.sendTo(unitEndpoint(3), p);
    app.sendTo(unitEndpoint(3), t);

    const ControlReply arn1 = control.unit(1);
    EXPECT_EQ(arn1.text("code"), "12345678");
    EXPECT_EQ(arn1.number("colourCall"), 7);
    EXPECT_EQ(control.unit(2).number("colourOpen"), 1);
    const ControlReply pxl2 = control.unit(3);
    EXPECT_EQ(pxl2.number("colourOpen"), 0x123456) << "'%P' colours are 24-bit";
    EXPECT_EQ(pxl2.number("colourMute"), 0xFF0000);
    EXPECT_EQ(pxl2.text("eq1"), "1,2,5000,300,400") << "enabled, shape, frequency, Q x 100, gain";
    EXPECT_EQ(pxl2.text("eqframe1"), toHex(t)) << "the '%T' frame is kept byte for byte";
    EXPECT_EQ(control.unitFrames(3), std::vector<Bytes>({ p, t })) << "frames in arrival order";
    EXPECT_TRUE(app.drain().empty()) << "colour and equaliser frames get no answer";
}

TEST_F(SimLoopback, FrameOfAnotherFamilyIsRecordedButIgnored)
{
    const Bytes velkAttach = frame('K', { 1 });
    app.sendTo(unitEndpoint(1), velkAttach);
    const ControlReply state = control.unit(1);
    EXPECT_EQ(state.number("attached"), 0) << "an ARN1 unit does not take '%K'";
    EXPECT_EQ(state.number("ignored"), 1);
    EXPECT_EQ(control.unitFrames(1), std::vector<Bytes>({ velkAttach }));
}

TEST_F(SimLoopback, RenamedUnitAnnouncesItsNewName)
{
    searchAndDrain(6);
    const std::string chairman = "\xD6\xF7\xCF\xAF"; // GBK
    control.rename(2, chairman);
    EXPECT_EQ(control.announce(2), 1);
    const auto announcement = app.receive();
    ASSERT_TRUE(announcement);
    EXPECT_EQ(announcement->from, unitEndpoint(2));
    ASSERT_EQ(announcement->bytes.size(), chairman.size() + 26)
        << "still a long VEL-K announcement";
    EXPECT_EQ(announcement->bytes[8], chairman.size()) << "the name's length";
    EXPECT_EQ(
        std::string(announcement->bytes.begin() + 9, announcement->bytes.begin() + 13), chairman)
        << "the name's bytes as given";
}

TEST_F(SimLoopback, MovedUnitSpeaksAndListensOnItsNewAddress)
{
    searchAndDrain(6);
    control.move(1, "127.0.5.60");
    const Endpoint moved { 0x7F00053C, UnitPort };
    control.announce(1);
    const auto announcement = app.receive();
    ASSERT_TRUE(announcement);
    EXPECT_EQ(announcement->from, moved) << "the announcement leaves from the new address";
    EXPECT_EQ(Bytes(announcement->bytes.begin() + 4, announcement->bytes.begin() + 8),
        Bytes({ 127, 0, 5, 60 }))
        << "and carries it";
    app.sendTo(moved, frame('F', { 1 }));
    EXPECT_EQ(control.unit(1).number("attached"), 1) << "frames to the new address reach the unit";
    EXPECT_EQ(control.unit(1).text("address"), "127.0.5.60");
    EXPECT_EQ(control.command("move 1 192.168.0.106").error,
        "refusing 192.168.0.106: only loopback addresses are allowed");
}

TEST_F(SimLoopback, TypeChangeChangesTheAnnouncement)
{
    searchAndDrain(6);
    control.setType(1, 4);
    control.announce(1);
    const auto announcement = app.receive();
    ASSERT_TRUE(announcement);
    EXPECT_EQ(announcement->bytes.size(), 7u + 16u) << "a type-4 unit announces the short form";
    app.sendTo(unitEndpoint(1), frame('M', { '1', '2', '3', '4', '5', '6', '7', '8', 5, 6, 7 }));
    EXPECT_EQ(control.unit(1).number("ignored"), 1) << "and no longer takes colours";
}

TEST_F(SimLoopback, SilentUnitNeitherAnswersNorReports)
{
    control.setSilent(2, true);
    app.sendTo(unitEndpoint(2), frame('K', { 1 }));
    app.sendSearch(App);
    std::vector<Endpoint> answered;
    while (auto answer = app.receive(std::chrono::milliseconds(300)))
        answered.push_back(answer->from);
    EXPECT_EQ(answered,
        std::vector<Endpoint>(
            { unitEndpoint(1), unitEndpoint(3), unitEndpoint(4), unitEndpoint(5), Processor }))
        << "the silent unit neither announces nor sends level reports";
    EXPECT_EQ(control.unit(2).number("attached"), 1) << "though it still takes frames";
    EXPECT_EQ(control.command("announce 2").error, "unit 2 is silent");
}

TEST_F(SimLoopback, SettingChangedOnTheUnitIsReportedToItsController)
{
    app.sendTo(unitEndpoint(4), frame('F', { 1 }));
    EXPECT_TRUE(control.setSetting(4, "micMute", 1));
    const auto report = replyFrom(unitEndpoint(4));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->bytes, frame('E', { 2, 0, 1, 1, 0, 1 })) << "start values with the mute on";
}

TEST_F(SimLoopback, QuitEndsTheEmulatorCleanly)
{
    control.quit();
    EXPECT_EQ(sim.stop(), 0) << "arx-sim leaves with status 0";
}

TEST_F(SimLoopback, TerminationEndsTheEmulatorCleanly)
{
    EXPECT_EQ(sim.stop(), 0) << "SIGTERM ends the loop and arx-sim leaves with status 0";
}

TEST(SimCommandLine, RefusesNonLoopbackAddressesBeforeOpeningAnything)
{
    for (const std::vector<std::string> &arguments :
        { std::vector<std::string> { "--subnet", "192.168.0.0" },
            std::vector<std::string> { "--control", "192.168.0.106:7000" } }) {
        const SimProcess::Finished finished = SimProcess::runToEnd(arguments);
        EXPECT_EQ(finished.status, 2) << arguments[0] << " " << arguments[1];
        EXPECT_NE(finished.errors.find("refusing " + arguments[0]), std::string::npos)
            << finished.errors;
        EXPECT_NE(finished.errors.find("loopback"), std::string::npos) << finished.errors;
    }
}

TEST(SimCommandLine, HelpNamesEveryOption)
{
    const SimProcess::Finished finished = SimProcess::runToEnd({ "--help" });
    EXPECT_EQ(finished.status, 0);
    for (const char *option : { "--subnet", "--units", "--no-processor", "--level-rate",
             "--control", "--ready-fd", "--quiet" })
        EXPECT_NE(finished.output.find(option), std::string::npos) << option << " is described";
}

} // namespace
} // namespace arxsim

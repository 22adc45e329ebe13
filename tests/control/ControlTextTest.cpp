// The room-control connection's text: the line parser, the value texts and a client's line
// buffer, where a wrong byte would reach the devices or stall a client.
#include "control/ControlSession.h"
#include "control/ControlSyntax.h"
#include "control/ControlValues.h"

#include <gtest/gtest.h>

namespace arx {
namespace {

TEST(ControlSyntax, ReadsVerbIndexParameterAndValuesQuotedOrBare)
{
    const ParsedLine parsed
        = parseControlLine("  < set \"Seat \\\"4\\\" \\x41\" colour_open #ff0000 > ");
    ASSERT_TRUE(parsed.request) << parsed.reason;
    const ControlRequest &request = *parsed.request;
    EXPECT_EQ(request.verb, "SET");
    EXPECT_EQ(request.index, (ControlToken { "Seat \"4\" A", true }));
    EXPECT_EQ(request.parameterName, "COLOUR_OPEN");
    EXPECT_EQ(request.parameter.text, "colour_open") << "kept as sent for an ERR";
    ASSERT_EQ(request.values.size(), 1u);
    EXPECT_EQ(request.values[0], (ControlToken { "#ff0000", false }));

    const ParsedLine name = parseControlLine("<SET SPEAKER NAME \"会议室 >\">");
    ASSERT_TRUE(name.request) << name.reason;
    EXPECT_EQ(name.request->values.at(0).text, "会议室 >") << "a '>' inside quotes is text";
}

TEST(ControlSyntax, RefusesWhatIsNoMessageNamingIndexAndParameterAsSent)
{
    struct Case {
        const char *line;
        const char *index;
        const char *parameter;
    };
    const Case cases[] = {
        { "GET 3 GAIN", "-", "-" }, // no brackets
        { "< GET 3 >", "3", "-" }, { "< FETCH 3 gain >", "3", "gain" },
        { "< SET \"Seat 4 NAME x >", "-", "-" }, // quote never closed
        { "< SET 3 MUTE \"ON\"x >", "3", "MUTE" },
        { "< SET 3 MUTE ÖN >", "3", "MUTE" }, // UTF-8 outside quotes
        { "< SET 3 MUTE O\x01N >", "3", "MUTE" }, { "< SET 3 \"MUTE\" ON >", "3", "-" },
        { "< SET \"a\\q\" MUTE ON >", "-", "-" }, // unknown escape
    };
    for (const Case &c : cases) {
        const ParsedLine parsed = parseControlLine(c.line);
        EXPECT_FALSE(parsed.request) << c.line;
        EXPECT_FALSE(parsed.reason.empty()) << c.line;
        EXPECT_EQ(parsed.errorIndex, c.index) << c.line;
        EXPECT_EQ(parsed.errorParameter, c.parameter) << c.line;
    }
}

TEST(ControlSyntax, QuotedTextsCannotEndALineOrForgeAMessage)
{
    const std::string name = "a\r\n< REP 1 MUTE OFF >\"\\";
    const std::string quoted = quotedText(name);
    EXPECT_EQ(quoted, "\"a\\x0D\\x0A< REP 1 MUTE OFF >\\\"\\\\\"");
    const ParsedLine back = parseControlLine("< GET " + quoted + " NAME >");
    ASSERT_TRUE(back.request) << back.reason;
    EXPECT_EQ(back.request->index.text, name) << "what is written reads back as it was";
}

TEST(ControlValues, NumbersLandExactlyOnTheirCodes)
{
    struct Case {
        const char *text;
        CodeScale scale;
        std::optional<int> code;
    };
    const Case cases[] = {
        { "24", ProcessorLevelScale, 0 },
        { "-6.5dB", ProcessorLevelScale, 61 },
        { "-103.0", ProcessorLevelScale, 254 },
        { "-6.3", ProcessorLevelScale, std::nullopt }, // between two steps
        { "24.5", ProcessorLevelScale, std::nullopt }, // above the top
        { "-6.", ProcessorLevelScale, std::nullopt },
        { "-6.55", EqGainScale, std::nullopt },
        { "+15.0", EqGainScale, 450 },
        { "-15", EqGainScale, 150 },
        { "1000hz", EqFrequencyScale, 1000 },
        { "1000.0", EqFrequencyScale, std::nullopt }, // whole hertz only
        { "19", EqFrequencyScale, std::nullopt },
        { "0.1", EqQScale, 1 },
        { "9999999", EqFrequencyScale, std::nullopt },
        { "", EqQScale, std::nullopt },
    };
    for (const Case &c : cases) {
        EXPECT_EQ(parseCode(c.text, c.scale), c.code) << c.text;
        if (c.code) {
            EXPECT_EQ(parseCode(formatCode(*c.code, c.scale), c.scale), c.code)
                << c.text << " written as " << formatCode(*c.code, c.scale);
        }
    }
    EXPECT_EQ(formatCode(61, ProcessorLevelScale), "-6.5");
    EXPECT_EQ(formatCode(47, ProcessorLevelScale), "0.5");
    EXPECT_EQ(formatCode(49, ProcessorLevelScale), "-0.5");
}

TEST(ControlValues, GainsColoursAndNames)
{
    EXPECT_EQ(unitGainText(6), "+6dB");
    EXPECT_EQ(unitGainText(0), "0dB");
    EXPECT_EQ(unitGainText(-6), "-6dB");
    EXPECT_EQ(parseUnitGain("+6DB"), 6);
    EXPECT_EQ(parseUnitGain("-3"), -3);
    EXPECT_EQ(parseUnitGain("6 dB"), std::nullopt);

    EXPECT_EQ(parseColour("light_blue"), 0xFF8080u) << "128,128,255 with red in the low byte";
    EXPECT_EQ(parseColour("#0000ff"), 0xFF0000u);
    EXPECT_EQ(parseColour("#00GG00"), std::nullopt);
    EXPECT_EQ(colourText(UnitTypeArn1, 7), "LIGHT_BLUE");
    EXPECT_EQ(colourText(UnitTypeArn1, 9), "UNKNOWN");
    EXPECT_EQ(colourText(UnitTypePxl2, 0x3412AB), "#AB1234");

    std::string reason;
    EXPECT_EQ(
        gbkNameOf("会议室", 10, reason), std::optional<std::string>("\xBB\xE1\xD2\xE9\xCA\xD2"));
    EXPECT_EQ(gbkNameOf("会议室会议室", 10, reason), std::nullopt) << "12 bytes in GBK";
    EXPECT_NE(reason.find("10 bytes"), std::string::npos) << reason;
    EXPECT_EQ(gbkNameOf("ok\x01", 10, reason), std::nullopt);
    EXPECT_EQ(gbkNameOf("\xF0\x9F\x8E\xA4", 10, reason), std::nullopt) << "no GBK form";

    EXPECT_TRUE(isUnicastIPv4("127.0.150.200"));
    for (const char *address :
        { "0.0.0.0", "224.0.0.1", "239.254.50.123", "255.255.255.255", "1.2.3" })
        EXPECT_FALSE(isUnicastIPv4(address)) << address;
}

TEST(ControlSession, ALineIsAtMost512BytesAndTheRestOfALongerOneIsDropped)
{
    ControlSession session(1);
    const std::string longest(ControlSession::LineLimit, 'x');
    std::vector<ControlSession::Line> lines = session.take(longest + "\r\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_FALSE(lines[0].tooLong);
    EXPECT_EQ(lines[0].text.size(), ControlSession::LineLimit);

    // One byte more, arriving in pieces: reported once, its tail never read as a line.
    lines = session.take(longest);
    EXPECT_TRUE(lines.empty());
    lines = session.take("y< GET ARX VERSION >");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].tooLong);
    lines = session.take(std::string(5000, 'z') + "\n\n< GET ARX VERSION >\r");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "< GET ARX VERSION >");

    EXPECT_FALSE(session.setMeterRate(99));
    EXPECT_FALSE(session.setMeterRate(60001));
    EXPECT_EQ(session.meterRateMs(), 0) << "a refused rate leaves it off";
    EXPECT_TRUE(session.setMeterRate(100));
}

} // namespace
} // namespace arx

#include "Options.h"
#include "Text.h"

#include <gtest/gtest.h>

namespace arxsim {
namespace {

Options parsed(std::vector<std::string> arguments)
{
    auto result = parseOptions(arguments);
    if (auto *error = std::get_if<std::string>(&result))
        ADD_FAILURE() << "unexpected refusal: " << *error;
    return std::get_if<Options>(&result) ? std::get<Options>(result) : Options {};
}

std::string refusal(std::vector<std::string> arguments)
{
    auto result = parseOptions(arguments);
    const auto *error = std::get_if<std::string>(&result);
    return error ? *error : "(accepted)";
}

TEST(Options, DefaultRoomIsEightUnitsOfEveryFamilyAndAProcessorOn127000)
{
    const Options options = parsed({});
    EXPECT_EQ(options.room.unitTypes, std::vector<int>({ 1, 2, 3, 4, 5, 1, 2, 3 }));
    EXPECT_TRUE(options.room.processor);
    EXPECT_EQ(options.room.subnet, 0x7F000000u);
    EXPECT_EQ(options.room.levelRate, 10.0);
    EXPECT_FALSE(options.control) << "no control channel unless asked for";
}

TEST(Options, UnitsAreACountOrAListOfTypes)
{
    EXPECT_EQ(parsed({ "--units", "3" }).room.unitTypes, std::vector<int>({ 1, 2, 3 }))
        << "a single number is a count";
    EXPECT_EQ(parsed({ "--units", "3," }).room.unitTypes, std::vector<int>({ 3 }))
        << "with a comma it is a list of one type";
    EXPECT_EQ(parsed({ "--units", "5,5,1" }).room.unitTypes, std::vector<int>({ 5, 5, 1 }));
    EXPECT_EQ(parsed({ "--units", "0" }).room.unitTypes.size(), 0u) << "a room may be empty";
    EXPECT_EQ(parsed({ "--units", "190" }).room.unitTypes.size(), 190u)
        << ".10 up to .199 hold 190 units";
    EXPECT_NE(refusal({ "--units", "191" }), "(accepted)") << "the processor's .200 is not a unit";
    EXPECT_NE(refusal({ "--units", "1,6" }), "(accepted)") << "there is no type 6";
    EXPECT_NE(refusal({ "--units", "1,,2" }), "(accepted)") << "an empty item is no type";
}

TEST(Options, NonLoopbackAddressesAreRefusedWithAClearMessage)
{
    EXPECT_EQ(refusal({ "--subnet", "192.168.0.0" }).rfind("refusing --subnet 192.168.0.0", 0), 0u)
        << refusal({ "--subnet", "192.168.0.0" });
    EXPECT_NE(refusal({ "--subnet", "192.168.0.0" }).find("loopback"), std::string::npos)
        << "the message says why";
    EXPECT_EQ(refusal({ "--control", "10.0.0.1:7000" }).rfind("refusing --control", 0), 0u);
    EXPECT_NE(refusal({ "--subnet", "127.0.5.1" }).find("ending in .0"), std::string::npos)
        << "the subnet is given by its base address";
    EXPECT_EQ(parsed({ "--subnet", "127.0.5.0" }).room.subnet, 0x7F000500u);
}

TEST(Options, ControlLevelRateAndSwitches)
{
    const Options options = parsed({ "--control", "7000", "--level-rate", "2.5", "--quiet",
        "--no-processor", "--ready-fd", "5" });
    ASSERT_TRUE(options.control);
    EXPECT_EQ(formatEndpoint(*options.control), "127.0.0.1:7000")
        << "a bare port listens on 127.0.0.1";
    EXPECT_EQ(options.room.levelRate, 2.5);
    EXPECT_TRUE(options.quiet);
    EXPECT_FALSE(options.room.processor);
    EXPECT_EQ(options.readyFd, 5);
    EXPECT_NE(refusal({ "--level-rate", "-1" }), "(accepted)");
    EXPECT_NE(refusal({ "--level-rate" }), "(accepted)") << "an option without its value";
    EXPECT_NE(refusal({ "--colour" }), "(accepted)") << "unknown options are refused";
}

TEST(Text, PercentEscapingRoundTripsAnyBytes)
{
    const std::string bytes = std::string("a b=c,d%\xD6\xF7\x00", 11);
    const std::string escaped = percentEscape(bytes);
    EXPECT_EQ(escaped, "a%20b%3Dc%2Cd%25%D6%F7%00") << "one word without separators";
    EXPECT_EQ(percentUnescape(escaped), bytes);
    EXPECT_FALSE(percentUnescape("%4")) << "a cut escape is refused";
}

TEST(Text, ReadableTextDecodesGbk)
{
    EXPECT_EQ(readableText("\xD6\xF7\xCF\xAF"), "主席");
    EXPECT_EQ(readableText("\xFF"), "%FF") << "bytes that are no GBK stay visible as escapes";
    EXPECT_EQ(jsonEscape("a\"b\\\n"), "a\\\"b\\\\\\u000a");
}

TEST(Text, Ipv4AndEndpointsParseStrictly)
{
    EXPECT_EQ(parseIpv4("127.0.5.10"), 0x7F00050Au);
    EXPECT_FALSE(parseIpv4("127.0.5"));
    EXPECT_FALSE(parseIpv4("127.0.5.256"));
    EXPECT_FALSE(parseIpv4("127.0.5.1.2"));
    EXPECT_FALSE(parseIpv4("127.0.5.x"));
    EXPECT_EQ(parseEndpoint("127.0.0.1:39030"), (Endpoint { 0x7F000001, 39030 }));
    EXPECT_FALSE(parseEndpoint("127.0.0.1:70000"));
}

} // namespace
} // namespace arxsim

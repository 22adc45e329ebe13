#include "app/GbkText.h"

#include <gtest/gtest.h>

namespace arx {
namespace {

TEST(GbkText, ChineseAndAsciiTravelBothWays)
{
    const struct {
        std::string bytes;
        QString text;
    } cases[] = {
        { "\xBB\xE1\xD2\xE9\xCA\xD2", QStringLiteral("会议室") },
        { "\xD2\xD1\xC1\xAC\xBD\xD3", QStringLiteral("已连接") },
        { "Seat 01", QStringLiteral("Seat 01") },
        { "", QString() },
    };
    for (const auto &c : cases) {
        EXPECT_EQ(fromGbk(c.bytes), c.text) << c.bytes;
        EXPECT_EQ(toGbk(c.text), c.bytes) << c.text.toStdString();
    }
}

TEST(GbkText, NameCutInsideACharacterShowsTheWholeCharactersOnly)
{
    // A name cut to 23 bytes may end in half a character; that half is left out.
    EXPECT_EQ(fromGbk("\xBB\xE1\xD2"), QStringLiteral("会"));
}

} // namespace
} // namespace arx

#include "format/Gbk.h"

#include <gtest/gtest.h>

namespace arx {
namespace {

TEST(Gbk, ChineseAndAsciiTravelBothWays)
{
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        { "\xBB\xE1\xD2\xE9\xCA\xD2", "会议室" },
        { "\xD2\xD1\xC1\xAC\xBD\xD3", "已连接" },
        { "Seat 01", "Seat 01" },
        { "", "" },
    };
    for (const auto &c : cases) {
        EXPECT_EQ(gbkToUtf8(c.bytes), c.text) << c.bytes;
        bool exact = false;
        EXPECT_EQ(utf8ToGbk(c.text, &exact), c.bytes) << c.text;
        EXPECT_TRUE(exact) << c.text;
    }
}

TEST(Gbk, WhatCannotBeConvertedBecomesOneQuestionMarkEach)
{
    // A name cut to 23 bytes may end in half a character; that half is left out.
    EXPECT_EQ(gbkToUtf8("\xBB\xE1\xD2"), "会");
    // A byte that starts no character, in the middle; and the text ends at a NUL.
    EXPECT_EQ(gbkToUtf8(std::string("A\xFF" "B\0C", 5)), "A?B");
    bool exact = true;
    EXPECT_EQ(utf8ToGbk("a😀b\xFF", &exact), "a?b?");
    EXPECT_FALSE(exact);
}

} // namespace
} // namespace arx

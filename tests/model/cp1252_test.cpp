#include "model/cp1252.h"

#include <gtest/gtest.h>

#include <set>

using namespace qorv;

TEST(Cp1252, EveryByteSurvivesDecodingAndEncoding) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const std::string utf8 = cp1252ToUtf8(all);
    EXPECT_EQ(utf8ToCp1252(utf8), all);
    std::set<char32_t> seen;
    for (int b = 0; b < 256; ++b) {
        seen.insert(cp1252ToCodePoint(uint8_t(b)));
        EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(std::string(1, char(b)))), std::string(1, char(b)))
            << b;
    }
    EXPECT_EQ(seen.size(), 256u);
}

TEST(Cp1252, KnownCharacters) {
    EXPECT_EQ(cp1252ToUtf8("\x80"), "\u20ac");
    EXPECT_EQ(cp1252ToUtf8("\x85"), "\u2026");
    EXPECT_EQ(cp1252ToUtf8("\x92"), "\u2019");
    EXPECT_EQ(cp1252ToUtf8("\x9f"), "\u0178");
    EXPECT_EQ(cp1252ToUtf8("\xa0"), "\u00a0");
    EXPECT_EQ(cp1252ToUtf8("Cami\xf1o \xe1ngulo"), "Cami\u00f1o \u00e1ngulo");
    // The bytes the code page leaves out stand for the controls of the same number.
    for (uint8_t b : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(cp1252ToCodePoint(b), char32_t(b));
    EXPECT_EQ(utf8ToCp1252("\u00bfqu\u00e9 \u20ac?"), "\xbfqu\xe9 \x80?");
}

TEST(Cp1252, UnrepresentableAndMalformedTextBecomesQuestionMarks) {
    EXPECT_EQ(utf8ToCp1252("\u4e2d"), "?");
    EXPECT_EQ(utf8ToCp1252("a\U0001F600b"), "a?b");
    EXPECT_EQ(utf8ToCp1252("\u0080"), "?");         // 0x80 is the euro sign in the code page
    EXPECT_EQ(utf8ToCp1252("\xc3"), "?");           // cut sequence
    EXPECT_EQ(utf8ToCp1252("\x80x"), "?x");         // stray continuation byte
    EXPECT_EQ(utf8ToCp1252("\xc0\xaf"), "??");      // overlong
    EXPECT_EQ(utf8ToCp1252("\xed\xa0\x80"), "???"); // surrogate
    EXPECT_EQ(utf8ToCp1252(std::string("a\0b", 3)), std::string("a\0b", 3));
}

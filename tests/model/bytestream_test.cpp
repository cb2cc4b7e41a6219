#include "model/bytestream.h"

#include <gtest/gtest.h>

using namespace qorv;

TEST(ByteWriter, GivesExactlyTheBytesWrittenAcrossGrowthClearAndMoves) {
    ByteWriter w;
    EXPECT_EQ(w.size(), 0u);
    EXPECT_TRUE(w.data().empty());
    for (int32_t i = 0; i < 1000; ++i)
        w.i32(i);
    w.i16(-2);
    w.f64(0.5);
    w.bytes(nullptr, 0);
    ASSERT_EQ(w.size(), 4000u + 2 + 8);
    const std::vector<uint8_t>& bytes = w.data();
    ASSERT_EQ(bytes.size(), w.size());
    ByteReader r(bytes.data(), bytes.size());
    for (int32_t i = 0; i < 1000; ++i) {
        int32_t v = -1;
        ASSERT_TRUE(r.i32(v));
        ASSERT_EQ(v, i);
    }
    int16_t s = 0;
    double d = 0;
    EXPECT_TRUE(r.i16(s) && r.f64(d));
    EXPECT_EQ(s, -2);
    EXPECT_EQ(d, 0.5);
    EXPECT_TRUE(r.atEnd());

    // Writing goes on after the bytes were looked at.
    w.i32(7);
    EXPECT_EQ(w.data().size(), 4014u);
    EXPECT_EQ(w.data().back(), 0);
    EXPECT_EQ(w.data()[4010], 7);

    w.clear();
    w.i16(3);
    EXPECT_EQ(w.data(), (std::vector<uint8_t>{3, 0}));

    // Taking the bytes away leaves an empty writer that works as new.
    std::vector<uint8_t> taken = std::move(w.data());
    EXPECT_EQ(taken.size(), 2u);
    w.i32(0x01020304);
    EXPECT_EQ(w.data(), (std::vector<uint8_t>{4, 3, 2, 1}));
    w.data().clear();
    EXPECT_EQ(w.size(), 0u);
    w.i16(1);
    EXPECT_EQ(w.data(), (std::vector<uint8_t>{1, 0}));
}

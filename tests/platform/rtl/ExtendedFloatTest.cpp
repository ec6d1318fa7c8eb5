#include "platform/rtl/ExtendedFloat.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "platform/rtl/Clock.h"
#include "platform/rtl/Random.h"

namespace {

TExtended80 bytes(std::initializer_list<int> b) {
  TExtended80 result{};
  int i = 0;
  for (int v : b) result[i++] = static_cast<uint8_t>(v);
  return result;
}

TEST(ExtendedFloat, KnownBytePatterns) {
  struct Case {
    double value;
    TExtended80 encoded;
  };
  const double minDenormal = std::numeric_limits<double>::denorm_min();
  const Case cases[] = {
      {1.0, bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})},
      {-2.5, bytes({0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0})},
      {1e100, bytes({0x00, 0xE8, 0x1B, 0xA6, 0x2C, 0x69, 0x4D, 0x92, 0x4B, 0x41})},
      {0.0, bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
      {-0.0, bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80})},
      // 2^-1074: a double denormal is a normal extended number.
      {minDenormal, bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xCD, 0x3B})},
      // 3 * 2^-1074.
      {3 * minDenormal, bytes({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xCE, 0x3B})},
      {std::numeric_limits<double>::min(), bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x3C})},
      {std::numeric_limits<double>::infinity(), bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F})},
      {-std::numeric_limits<double>::infinity(), bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF})},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DoubleToExtended80(c.value), c.encoded) << c.value;
    const double back = Extended80ToDouble(c.encoded);
    EXPECT_EQ(std::bit_cast<uint64_t>(back), std::bit_cast<uint64_t>(c.value)) << c.value;
  }
  EXPECT_TRUE(std::isnan(Extended80ToDouble(DoubleToExtended80(std::nan("")))));
}

TEST(ExtendedFloat, RoundsAndClampsWhatADoubleCannotHold) {
  struct Case {
    TExtended80 encoded;
    double expected;
  };
  const Case cases[] = {
      // 1 + 2^-60: below half a double's last place.
      {bytes({0x08, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}), 1.0},
      // 1 + 2^-53 is a tie: to even, down to 1.
      {bytes({0, 0x04, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}), 1.0},
      // 1 + 2^-52 + 2^-53 is a tie: to even, up.
      {bytes({0, 0x0C, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}), 1.0 + 2 * std::ldexp(1.0, -52)},
      // All 64 bits set rounds up to the next power of two.
      {bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x3F}), 2.0},
      // 2^16384: too large.
      {bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x7F}), std::numeric_limits<double>::infinity()},
      // 2^-1075 is a tie between 0 and the smallest denormal: to even, 0.
      {bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xCC, 0x3B}), 0.0},
      // 1.5 * 2^-1075 rounds up to the smallest denormal.
      {bytes({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xCC, 0x3B}), std::numeric_limits<double>::denorm_min()},
      // 2^-16000: far below.
      {bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xBF, 0x00}), 0.0},
      // An unnormal 1.0 (integer bit clear, exponent one higher) is normalised.
      {bytes({0, 0, 0, 0, 0, 0, 0, 0x40, 0x00, 0x40}), 1.0},
  };
  for (const Case& c : cases) EXPECT_EQ(Extended80ToDouble(c.encoded), c.expected);

  std::mt19937_64 random(11);
  for (int i = 0; i < 20000; ++i) {
    const double d = std::bit_cast<double>(random());
    if (std::isnan(d)) continue;
    EXPECT_EQ(std::bit_cast<uint64_t>(Extended80ToDouble(DoubleToExtended80(d))), std::bit_cast<uint64_t>(d));
  }
}

TEST(Random, RangeSequenceAndRandomize) {
  RandSeed = 12345;
  std::vector<Integer> first;
  for (int i = 0; i < 10; ++i) first.push_back(Random(1000));
  RandSeed = 12345;
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Random(1000), first[i]);

  int buckets[10] = {};
  for (int i = 0; i < 100000; ++i) {
    const Integer r = Random(10);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 10);
    ++buckets[r];
    const Extended x = Random();
    ASSERT_GE(x, 0.0);
    ASSERT_LT(x, 1.0);
  }
  for (int b : buckets) EXPECT_NEAR(b, 10000, 600);
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(Random(-5), 0);

  TFakeClockScope clock;
  Randomize();
  const LongInt seed = RandSeed;
  Randomize();
  EXPECT_EQ(RandSeed, seed);  // same clock, same seed
  clock.Advance(1);
  Randomize();
  EXPECT_NE(RandSeed, seed);
}

}  // namespace

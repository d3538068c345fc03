#include <gtest/gtest.h>

#include <bitset>

#include "app/TransmissionModel.h"

TEST(BinaryDigit, LooksOnlyAtTheLowEightBits) {
  struct Case {
    int v;
    char digit;
  };
  for (const Case& c : {Case{0, '0'},
                        {1, '1'},
                        {2, '1'},
                        {255, '1'},
                        {256, '0'},
                        {257, '1'},
                        {-1, '1'},
                        {0x1200, '0'}}) {
    EXPECT_EQ(BinaryDigit(c.v), c.digit) << c.v;
  }
}

TEST(ToBinary, EveryCodeGivesEightDigitsMostSignificantFirst) {
  for (int code = 0; code < 256; ++code) {
    EXPECT_EQ(ToBinary(static_cast<std::uint8_t>(code)), std::bitset<8>(code).to_string()) << code;
  }
}

TEST(ToBinary, KnownCharacters) {
  EXPECT_EQ(ToBinary('A'), "01000001");
  EXPECT_EQ(ToBinary(' '), "00100000");
  EXPECT_EQ(ToBinary(200), "11001000");
  EXPECT_EQ(ToBinary(0), "00000000");
}

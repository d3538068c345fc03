// Line statistics of hand-worked bit strings in every encoding. Each row's
// figures were worked out on paper from the drawn levels, at 10 bits/s
// (bit time 100 ms): edges are counted where the level changes, runs are the
// stretches between the signal's start, its edges and its end.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/LineStatistics.h"
#include "app/TransmissionModel.h"
#include "chart/series/FastLineSeries.h"
#include "tests/support/TransmissionDoubles.h"

namespace {

const std::string kZeros = "00000000";
const std::string kOnes = "11111111";
const std::string kAlternate = "01010101";
// K E L D O, eight data bits each: 17 ones, 23 changes between neighbours
const std::string kKeldo = "01001011" "01000101" "01001100" "01000100" "01001111";

struct StatRow {
  const std::string* bits;
  int encoding;
  double transitionsPerBit, longestRunBits, dcLevel, highestHz;
};

const StatRow kRows[] = {
    // all zeros: the NRZ lines sit still; RZ and Manchester swing twice a bit
    {&kZeros, leUnipolar, 0, 8, 0, 0},
    {&kZeros, leNrzL, 0, 8, 1, 0},
    {&kZeros, leNrzI, 0, 8, 1, 0},
    {&kZeros, leRz, 15.0 / 8, 0.5, -0.5, 10},
    {&kZeros, leManchester, 15.0 / 8, 0.5, 0, 10},
    // all ones: NRZ-I toggles at every bit after the first, from high to low first
    {&kOnes, leUnipolar, 0, 8, 1, 0},
    {&kOnes, leNrzL, 0, 8, -1, 0},
    {&kOnes, leNrzI, 7.0 / 8, 1, 0, 5},
    {&kOnes, leRz, 15.0 / 8, 0.5, 0.5, 10},
    {&kOnes, leManchester, 15.0 / 8, 0.5, 0, 10},
    // 0101...: NRZ-I levels + - - + + - - +; Manchester has only its mid-bit edges
    {&kAlternate, leUnipolar, 7.0 / 8, 1, 0.5, 5},
    {&kAlternate, leNrzL, 7.0 / 8, 1, 0, 5},
    {&kAlternate, leNrzI, 4.0 / 8, 2, 0, 2.5},
    {&kAlternate, leRz, 15.0 / 8, 0.5, 0, 10},
    {&kAlternate, leManchester, 1, 1, 0, 5},
    // KELDO: the closing 1111 of O is the longest steady stretch of the NRZ lines;
    // NRZ-I's longest is 1 0 0 0 1 (in E, and across L-D and D-O); Manchester
    // adds a boundary edge at each of the 16 equal neighbours to its 40 mid-bit edges
    {&kKeldo, leUnipolar, 23.0 / 40, 4, 17.0 / 40, 5},
    {&kKeldo, leNrzL, 23.0 / 40, 4, 6.0 / 40, 5},
    {&kKeldo, leNrzI, 17.0 / 40, 4, 0, 5},
    {&kKeldo, leRz, 79.0 / 40, 0.5, -6.0 / 80, 10},
    {&kKeldo, leManchester, 56.0 / 40, 1, 0, 10},
};

TLineStatistics StatisticsOf(const std::string& bits, int encoding, std::uint32_t bitTime,
                             int speed) {
  TFastLineSeries series;
  for (const TLinePoint& p : EncodeBits(bits, encoding, bitTime)) series.AddPointXY(p.x, p.y);
  return ComputeLineStatistics(series, static_cast<int>(bits.size()), bitTime, speed);
}

TEST(LineStatisticsTest, HandWorkedBitStringsInEveryEncoding) {
  for (const StatRow& r : kRows) {
    const std::string what = *r.bits + " in " + EncodingName(r.encoding);
    const TLineStatistics st = StatisticsOf(*r.bits, r.encoding, 100, 10);
    EXPECT_DOUBLE_EQ(st.transitionsPerBit, r.transitionsPerBit) << what;
    EXPECT_DOUBLE_EQ(st.longestRunBits, r.longestRunBits) << what;
    EXPECT_NEAR(st.dcLevel, r.dcLevel, 1e-12) << what;
    EXPECT_DOUBLE_EQ(st.highestFundamentalHz, r.highestHz) << what;
  }
}

// The tracker, read after every bit of a line drawn three levels up, ends with
// the hand-worked figures; a line emptied and drawn again is read afresh.
TEST(LineStatisticsTest, TrackerReadBitByBitInABandGivesTheHandWorkedFigures) {
  TFastLineSeries band;
  TLineStatisticsTracker tracker(3);
  for (const StatRow& r : kRows) {
    const std::string what = *r.bits + " in " + EncodingName(r.encoding);
    band.RemoveAllPoints();
    const std::vector<TLinePoint> points = EncodeBits(*r.bits, r.encoding, 100);
    for (std::size_t i = 0; i < points.size(); ++i) {
      band.AddPointXY(points[i].x, points[i].y + 3);
      if ((i + 1) % PointsPerBit(r.encoding) == 0) tracker.Update(band);
    }
    const TLineStatistics st = tracker.Statistics(static_cast<int>(r.bits->size()), 100, 10);
    EXPECT_DOUBLE_EQ(st.transitionsPerBit, r.transitionsPerBit) << what;
    EXPECT_DOUBLE_EQ(st.longestRunBits, r.longestRunBits) << what;
    EXPECT_NEAR(st.dcLevel, r.dcLevel, 1e-12) << what;
    EXPECT_DOUBLE_EQ(st.highestFundamentalHz, r.highestHz) << what;
  }
  band.RemoveAllPoints();
  tracker.Update(band);
  EXPECT_EQ(tracker.Statistics(8, 100, 10), TLineStatistics{});
}

// At 16 bits/s the bit time is 62 ms: runs stay whole and half bits, and the
// frequency follows the speed, not the rounded bit time.
TEST(LineStatisticsTest, OddSpeedKeepsRunsInBitsAndHertzFromTheSpeed) {
  const TLineStatistics rz = StatisticsOf(kZeros, leRz, 62, 16);
  EXPECT_DOUBLE_EQ(rz.longestRunBits, 0.5);
  EXPECT_DOUBLE_EQ(rz.highestFundamentalHz, 16);
  const TLineStatistics nrzi = StatisticsOf(kAlternate, leNrzI, 62, 16);
  EXPECT_DOUBLE_EQ(nrzi.longestRunBits, 2);
  EXPECT_DOUBLE_EQ(nrzi.highestFundamentalHz, 4);
}

TEST(LineStatisticsTest, NothingSentGivesZerosNotADivisionByZero) {
  TFastLineSeries empty;
  EXPECT_EQ(ComputeLineStatistics(empty, 0, 100, 10), TLineStatistics{});
  EXPECT_EQ(StatisticsOf("", leManchester, 100, 10), TLineStatistics{});
  EXPECT_EQ(StatisticsOf(kOnes, leNrzI, 0, 0), TLineStatistics{});
}

// What the compare chart draws for the bits must be what the window's own
// transmission draws for them, frame after frame, NRZ-I level carried across.
TEST(LineStatisticsTest, EncodedBitsMatchATickedTransmission) {
  struct Inputs : TTransmissionInputs {
    int encoding = 0;
    bool StartStopBits() const override { return true; }
    bool Parity() const override { return true; }
    int Encoding() const override { return encoding; }
    std::uint32_t BitTime() const override { return 62; }
  };
  for (int e = 0; e < kEncodingCount; ++e) {
    FakeTextSource text("KELDO");
    RecordingBuffer buffer;
    RecordingSignal signal;
    Inputs inputs;
    inputs.encoding = e;
    TTransmissionModel model(text, buffer, signal, inputs);
    model.Start();
    for (int tick = 0; tick < 5 * 12; ++tick) model.Tick();
    std::string bits;
    for (char c : buffer.text)
      if (c != ' ') bits += c;
    ASSERT_EQ(bits.size(), 60u) << EncodingName(e);
    const std::vector<TLinePoint> got = EncodeBits(bits, e, 62);
    ASSERT_EQ(got.size(), signal.points.size()) << EncodingName(e);
    for (std::size_t i = 0; i < got.size(); ++i)
      EXPECT_EQ((Pt{got[i].x, got[i].y}), signal.points[i]) << EncodingName(e) << " point " << i;
  }
}

}  // namespace

#pragma once
// The figures that tell line encodings apart, worked out from the points an
// encoder draws: how often the line changes, how long a receiver's clock must
// coast without an edge, where the line sits on average, and how fast it can
// swing at most. Holds no window and no chart; the Average function does the
// mean so the table agrees with what the engine would draw for it.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TChartSeries;

inline constexpr int kEncodingCount = 5;

struct TLinePoint {
  double x, y;
  bool operator==(const TLinePoint&) const = default;
};

// The transmission model's encoder for one encoding, kept from call to call
// so that bits added later go on where the earlier ones ended: at the time
// they reached and, for NRZ-I, at the level it was left on. A window that
// follows a transmission then encodes each bit once.
class TBitEncoder {
 public:
  TBitEncoder(int encoding, std::uint32_t bitTime);
  ~TBitEncoder();
  TBitEncoder(const TBitEncoder&) = delete;
  TBitEncoder& operator=(const TBitEncoder&) = delete;
  // The points of `bits` ('0'/'1', others skipped), after those of every earlier call.
  std::vector<TLinePoint> Encode(std::string_view bits);

 private:
  struct TState;
  std::unique_ptr<TState> state_;
};

// The points the transmission model draws for `bits` ('0'/'1', others skipped)
// in `encoding`, from the state of a fresh START: time 0 and NRZ-I high.
// The model's own encoders run, so there is one copy of the encoding rules.
std::vector<TLinePoint> EncodeBits(const std::string& bits, int encoding, std::uint32_t bitTime);

// How many points the encoder draws for one bit: two for a level, four for halves.
int PointsPerBit(int encoding);

// The name the program gives an encoding, as in its encoding choice.
const char* EncodingName(int encoding);

struct TLineStatistics {
  double transitionsPerBit = 0;
  double longestRunBits = 0;    // the longest stretch without an edge, in bit times
  double dcLevel = 0;           // the time-average of the level
  double highestFundamentalHz = 0;  // of the shortest full swing; 0 when the line never swings
  bool operator==(const TLineStatistics&) const = default;
};

// The statistics of a signal series holding `bitCount` bits at `bitTime` ms
// each, sent at `speed` bits per second.
TLineStatistics ComputeLineStatistics(const TChartSeries& signal, int bitCount,
                                      std::uint32_t bitTime, int speed);

// The statistics of a line that grows at its end, kept up to date from the
// points added since the last update: a window that follows a transmission
// pays for each point once. The series' levels may stand `levelOffset` above
// the line's own (a band of a stacked chart).
class TLineStatisticsTracker {
 public:
  explicit TLineStatisticsTracker(double levelOffset = 0) : offset_(levelOffset) {}
  // Reads the points past those already read; a series that has shrunk is read again.
  void Update(const TChartSeries& signal);
  TLineStatistics Statistics(int bitCount, std::uint32_t bitTime, int speed) const;

 private:
  void Add(double x, double y);

  double offset_;
  int read_ = 0;           // points taken in
  double levelSum_ = 0;    // of the levels as the series holds them
  double firstX_ = 0, lastX_ = 0, lastY_ = 0;
  int edges_ = 0;
  double lastEdge_ = 0;    // or the start, before the first edge
  double longestClosed_ = 0;  // the longest stretch that an edge has ended
  double shortestHalf_ = 0;   // between two edges in a row; 0 until there are two
};

#include "app/LineStatistics.h"

#include <algorithm>

#include "app/TransmissionModel.h"
#include "chart/functions/Functions.h"
#include "chart/series/Series.h"

namespace {

// Ports that feed the model nothing to send and keep what it draws.
class TEncoderPorts : public TTextSource,
                      public TReceiveBufferSink,
                      public TSignalSink,
                      public TTransmissionInputs {
 public:
  TEncoderPorts(int encoding, std::uint32_t bitTime) : encoding_(encoding), bitTime_(bitTime) {}
  std::string Text() const override { return {}; }
  void SetText(const std::string&) override {}
  void SetEnabled(bool) override {}
  void AppendText(const std::string&) override {}
  void ClearText() override {}
  void AddPoint(double x, double y) override { points.push_back({x, y}); }
  void ClearPoints() override { points.clear(); }
  bool StartStopBits() const override { return false; }
  bool Parity() const override { return false; }
  int Encoding() const override { return encoding_; }
  std::uint32_t BitTime() const override { return bitTime_; }

  std::vector<TLinePoint> points;

 private:
  int encoding_;
  std::uint32_t bitTime_;
};

using TEncoder = void (TTransmissionModel::*)(char);

TEncoder EncoderOf(int encoding) {
  switch (encoding) {
    case leUnipolar: return &TTransmissionModel::EncodeUnipolar;
    case leNrzL: return &TTransmissionModel::EncodeNrzL;
    case leNrzI: return &TTransmissionModel::EncodeNrzI;
    case leRz: return &TTransmissionModel::EncodeRz;
    case leManchester: return &TTransmissionModel::EncodeManchester;
    default: return nullptr;
  }
}

// The times at which the level changes, in order.
std::vector<double> EdgeTimes(const TChartSeries& s) {
  std::vector<double> edges;
  for (int i = 1; i < s.PointCount(); ++i)
    if (s.YValueAt(i) != s.YValueAt(i - 1)) edges.push_back(s.XValueAt(i));
  return edges;
}

// The longest stretch between the signal's start, its edges and its end.
double LongestQuiet(const TChartSeries& s, const std::vector<double>& edges) {
  double from = s.XValueAt(0), longest = 0;
  for (double t : edges) {
    longest = std::max(longest, t - from);
    from = t;
  }
  return std::max(longest, s.XValueAt(s.PointCount() - 1) - from);
}

// Two edges in a row make half a period of the fastest wave the line holds.
double ShortestHalfPeriod(const std::vector<double>& edges) {
  double shortest = 0;
  for (std::size_t i = 1; i < edges.size(); ++i) {
    const double d = edges[i] - edges[i - 1];
    if (d > 0 && (shortest == 0 || d < shortest)) shortest = d;
  }
  return shortest;
}

}  // namespace

struct TBitEncoder::TState {
  TState(int encoding, std::uint32_t bitTime)
      : ports(encoding, bitTime), encode(EncoderOf(encoding)) {
    model.Start();
  }
  TEncoderPorts ports;
  TTransmissionModel model{ports, ports, ports, ports};
  TEncoder encode;
};

TBitEncoder::TBitEncoder(int encoding, std::uint32_t bitTime)
    : state_(std::make_unique<TState>(encoding, bitTime)) {}

TBitEncoder::~TBitEncoder() = default;

std::vector<TLinePoint> TBitEncoder::Encode(std::string_view bits) {
  TState& s = *state_;
  s.ports.points.clear();
  if (s.encode == nullptr) return {};
  for (char bit : bits)
    if (bit == '0' || bit == '1') (s.model.*s.encode)(bit);
  return std::move(s.ports.points);
}

std::vector<TLinePoint> EncodeBits(const std::string& bits, int encoding, std::uint32_t bitTime) {
  return TBitEncoder(encoding, bitTime).Encode(bits);
}

int PointsPerBit(int encoding) {
  return encoding == leRz || encoding == leManchester ? 4 : 2;
}

const char* EncodingName(int encoding) {
  static const char* const names[kEncodingCount] = {"Unipolar", "NRZ-L", "NRZ-I", "RZ",
                                                    "Manchester"};
  return encoding >= 0 && encoding < kEncodingCount ? names[encoding] : "";
}

TLineStatistics ComputeLineStatistics(const TChartSeries& signal, int bitCount,
                                      std::uint32_t bitTime, int speed) {
  TLineStatistics st;
  if (bitCount <= 0 || bitTime == 0 || signal.PointCount() == 0) return st;
  const std::vector<double> edges = EdgeTimes(signal);
  st.transitionsPerBit = static_cast<double>(edges.size()) / bitCount;
  st.longestRunBits = LongestQuiet(signal, edges) / bitTime;
  // every piece of the model's line spans two points of one level over equal
  // times (a bit, or a half bit throughout one encoding), so the plain mean of
  // the levels is their time-average
  TAverageZozFunction average;
  st.dcLevel = average.ComputeForRange(signal, -1, -1);
  const double half = ShortestHalfPeriod(edges);
  if (half > 0 && speed > 0) st.highestFundamentalHz = speed / (2.0 * (half / bitTime));
  return st;
}

void TLineStatisticsTracker::Update(const TChartSeries& signal) {
  const int count = signal.PointCount();
  if (count < read_) *this = TLineStatisticsTracker(offset_);
  if (count == read_) return;
  // the engine's mean of the new points, weighted by their count, adds to the sum of all
  TAverageZozFunction average;
  levelSum_ += average.ComputeForRange(signal, read_, count - 1) * (count - read_);
  for (int i = read_; i < count; ++i) Add(signal.XValueAt(i), signal.YValueAt(i));
}

void TLineStatisticsTracker::Add(double x, double y) {
  if (read_ == 0) {
    firstX_ = lastEdge_ = x;
  } else if (y != lastY_) {
    if (edges_ > 0 && x - lastEdge_ > 0 && (shortestHalf_ == 0 || x - lastEdge_ < shortestHalf_))
      shortestHalf_ = x - lastEdge_;
    longestClosed_ = std::max(longestClosed_, x - lastEdge_);
    lastEdge_ = x;
    ++edges_;
  }
  lastX_ = x;
  lastY_ = y;
  ++read_;
}

TLineStatistics TLineStatisticsTracker::Statistics(int bitCount, std::uint32_t bitTime,
                                                   int speed) const {
  TLineStatistics st;
  if (bitCount <= 0 || bitTime == 0 || read_ == 0) return st;
  st.transitionsPerBit = static_cast<double>(edges_) / bitCount;
  st.longestRunBits = std::max(longestClosed_, lastX_ - lastEdge_) / bitTime;
  st.dcLevel = levelSum_ / read_ - offset_;
  if (shortestHalf_ > 0 && speed > 0)
    st.highestFundamentalHz = speed / (2.0 * (shortestHalf_ / bitTime));
  return st;
}

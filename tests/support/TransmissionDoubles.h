#pragma once
// Recording doubles for the transmission model's ports.

#include <algorithm>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/TransmissionPorts.h"

struct Pt {
  double x, y;
  bool operator==(const Pt&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Pt& p) {
  return os << "(" << p.x << ", " << p.y << ")";
}

class FakeTextSource : public TTextSource {
 public:
  explicit FakeTextSource(std::string text = {}) : text_(std::move(text)) {}
  std::string Text() const override { return text_; }
  void SetText(const std::string& text) override { text_ = text; }
  void SetEnabled(bool enabled) override {
    enabled_ = enabled;
    ++enableCalls;
  }
  bool Enabled() const { return enabled_; }
  int enableCalls = 0;

 private:
  std::string text_;
  bool enabled_ = false;
};

class RecordingBuffer : public TReceiveBufferSink {
 public:
  void AppendText(const std::string& s) override { text += s; }
  void ClearText() override { text.clear(); }
  std::string text;
};

// Keeps the points in call order, as the model produced them.
class RecordingSignal : public TSignalSink {
 public:
  void AddPoint(double x, double y) override { points.push_back({x, y}); }
  void ClearPoints() override { points.clear(); }
  std::vector<Pt> points;
};

// Keeps x ascending and puts a new point after existing ones with the same x,
// which is how the chart's signal series stores them.
class SortedSignal : public TSignalSink {
 public:
  void AddPoint(double x, double y) override {
    auto at = std::upper_bound(points.begin(), points.end(), x,
                               [](double v, const Pt& p) { return v < p.x; });
    points.insert(at, {x, y});
  }
  void ClearPoints() override { points.clear(); }
  std::vector<Pt> points;
};

struct FakeInputs : TTransmissionInputs {
  bool startStop = false;
  bool parity = false;
  int encoding = 0;
  std::uint32_t bitTime = 62;
  mutable int bitTimeReads = 0;
  bool StartStopBits() const override { return startStop; }
  bool Parity() const override { return parity; }
  int Encoding() const override { return encoding; }
  std::uint32_t BitTime() const override {
    ++bitTimeReads;
    return bitTime;
  }
};

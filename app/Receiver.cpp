#include "app/Receiver.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A decoder that keeps its leading points forever would cost memory in
// proportion to the history; compacting only once the dead head is large keeps
// each erase amortised over the points that made it.
constexpr std::size_t kCompactAt = 1024;

double Interpolate(double x0, double y0, double x1, double y1, double s) {
  return y0 + (y1 - y0) * (s - x0) / (x1 - x0);
}

}  // namespace

std::string ParityErrorReason(int ones) {
  return "Parity error: " + std::to_string(ones) + (ones == 1 ? " one" : " ones") +
         " in data and parity, even parity expects an even count";
}

std::string FramingErrorReason() { return "Framing error: stop bit is 0, expected 1"; }

TReceiver::TReceiver() = default;

const TReceiverLine& TReceiver::LatestLine() const {
  return changes_.empty() ? line_ : changes_.back().line;
}

void TReceiver::SetLine(const TReceiverLine& line, double fromX) {
  if (line == LatestLine()) return;
  // a change dated before one already scheduled cannot go back in time: it
  // replaces the settings of that later change instead
  if (std::isnan(fromX)) fromX = -std::numeric_limits<double>::infinity();
  if (!changes_.empty() && fromX <= changes_.back().fromX) {
    changes_.back().line = line;
    return;
  }
  changes_.push_back({fromX, line});
}

void TReceiver::Feed(const double* xs, const double* ys, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const double x = xs[i], y = ys[i];
    if (!std::isfinite(x) || !std::isfinite(y)) continue;
    if (havePoint_ && x < lastX_) {
      DecodeReady();
      StartRun(x);
    }
    points_.push_back({x, y});
    lastX_ = x;
    havePoint_ = true;
  }
  DecodeReady();
}

void TReceiver::Clear() {
  bits_.clear();
  frames_.clear();
  havePoint_ = false;
  StartRun(0);
}

const std::vector<TReceivedBit>& TReceiver::Bits() const { return bits_; }

const std::vector<TReceivedFrame>& TReceiver::Frames() const { return frames_; }

std::string TReceiver::Text() const {
  std::string text;
  text.reserve(frames_.size());
  for (const TReceivedFrame& f : frames_) text += static_cast<char>(f.code);
  return text;
}

// ---------------------------------------------------------------- the bit grid

void TReceiver::StartRun(double x) {
  // the changes still ahead belong to the old run's timeline; the newest of
  // them is what the window shows now
  line_ = LatestLine();
  changes_.clear();
  points_.clear();
  head_ = 0;
  origin_ = x;
  index_ = 0;
  nrziHigh_ = true;
  frame_.active = false;
}

void TReceiver::ApplyChange(double at) {
  line_ = changes_.front().line;
  changes_.pop_front();
  origin_ = at;
  index_ = 0;
}

// The span of the next bit under the settings in force, after any change that
// falls inside it: a bit cut short by a change is never decoded, the new grid
// starts at the change.
bool TReceiver::NextBit(double& start, double& end) {
  for (;;) {
    const double t = static_cast<double>(line_.bitTime);
    start = origin_ + static_cast<double>(index_) * t;
    end = start + t;
    const bool usable = line_.bitTime >= 1;  // a zero bit time would never move on
    if (!changes_.empty() && (!usable || changes_.front().fromX < end)) {
      ApplyChange(std::max(changes_.front().fromX, start));
      continue;
    }
    return usable;
  }
}

void TReceiver::DecodeReady() {
  double start = 0, end = 0;
  while (havePoint_ && NextBit(start, end) && lastX_ >= end) {
    TReceivedBit bit;
    if (SampleBit(start, end, bit)) Assemble(std::move(bit), start, end);
    ++index_;
    DropPointsBefore(end);
  }
}

// ---------------------------------------------------------------- sampling

void TReceiver::DropPointsBefore(double x) {
  // keep the last point at or before x: the next bit reads its segments from it
  while (head_ + 1 < points_.size() && points_[head_ + 1].x <= x) ++head_;
  if (head_ >= kCompactAt && head_ * 2 >= points_.size()) {
    points_.erase(points_.begin(), points_.begin() + static_cast<std::ptrdiff_t>(head_));
    head_ = 0;
  }
}

// The level arriving at s from the left: at an edge, the first point there.
double TReceiver::LevelFromLeft(double s) const {
  std::size_t j = head_;
  while (j < points_.size() && points_[j].x < s) ++j;
  if (j == points_.size()) return points_.back().y;
  if (j == head_ || points_[j].x == s) return points_[j].y;
  const TPoint& a = points_[j - 1];
  const TPoint& b = points_[j];
  return Interpolate(a.x, a.y, b.x, b.y, s);
}

// The level leaving s to the right: at an edge, the last point there.
double TReceiver::LevelToRight(double s) const {
  std::size_t j = head_;
  while (j + 1 < points_.size() && points_[j + 1].x <= s) ++j;
  const TPoint& a = points_[j];
  if (a.x >= s || j + 1 == points_.size()) return a.y;
  const TPoint& b = points_[j + 1];
  return Interpolate(a.x, a.y, b.x, b.y, s);
}

bool TReceiver::SampleBit(double start, double end, TReceivedBit& bit) {
  const double mid = start + (end - start) / 2.0;
  bit.x = mid;
  bit.level = LevelFromLeft(mid);
  bool one = false;
  switch (line_.encoding) {
    case leUnipolar:
      one = bit.level > 0.5;
      break;
    case leNrzL:
      one = bit.level < 0.0;
      break;
    case leNrzI: {
      const bool high = bit.level > 0.0;
      one = high != nrziHigh_;
      nrziHigh_ = high;
      break;
    }
    case leRz:
      one = bit.level > 0.0;
      break;
    case leManchester: {
      const double before = bit.level;
      bit.level = LevelToRight(mid);
      one = bit.level > before;
      break;
    }
    default:
      return false;  // the transmitter draws nothing for an unknown encoding
  }
  bit.bit = one ? '1' : '0';
  return true;
}

// ---------------------------------------------------------------- frames

void TReceiver::Assemble(TReceivedBit bit, double start, double end) {
  if (!frame_.active) {
    if (line_.startStop && bit.bit == '1') {  // the idle line while hunting
      bits_.push_back(std::move(bit));
      return;
    }
    BeginFrame(start);
  }
  bit.role = FrameBitRole(frame_.count, frame_.startStop, frame_.parity);
  CheckBit(bit);
  bits_.push_back(std::move(bit));
  ++frame_.count;
  frame_.frame.endX = end;
  if (frame_.count == frame_.length) FinishFrame();
}

void TReceiver::BeginFrame(double start) {
  frame_.active = true;
  frame_.startStop = line_.startStop;
  frame_.parity = line_.parity;
  frame_.length = 8 + (frame_.startStop ? 3 : 0) + (frame_.parity ? 1 : 0);
  frame_.count = 0;
  frame_.ones = 0;
  frame_.frame = TReceivedFrame{};
  frame_.frame.startX = start;
  frame_.frame.firstBit = static_cast<int>(bits_.size());
}

void TReceiver::CheckBit(TReceivedBit& bit) {
  const int one = bit.bit == '1' ? 1 : 0;
  TReceivedFrame& f = frame_.frame;
  if (bit.role >= '0' && bit.role <= '7') {
    f.code = static_cast<std::uint8_t>((f.code << 1) | one);
    frame_.ones += one;
  } else if (bit.role == 'P') {
    frame_.ones += one;
    if (frame_.ones % 2 != 0) {
      f.parityError = bit.error = true;
      bit.reason = ParityErrorReason(frame_.ones);
    }
  } else if (bit.role == 'T' && !one) {
    f.framingError = bit.error = true;
    bit.reason = FramingErrorReason();
  }
}

void TReceiver::FinishFrame() {
  TReceivedFrame& f = frame_.frame;
  f.bitCount = frame_.length;
  const int index = static_cast<int>(frames_.size());
  for (int i = f.firstBit; i < f.firstBit + f.bitCount; ++i) bits_[static_cast<std::size_t>(i)].frame = index;
  frames_.push_back(f);
  frame_.active = false;
}

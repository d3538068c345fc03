#include "app/ChannelLine.h"

#include <algorithm>
#include <cmath>

namespace channel {

// ---------------------------------------------------------------- random numbers

namespace {
constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ull;
constexpr double k2Pow53 = 1.0 / 9007199254740992.0;  // 2^-53
}  // namespace

std::uint64_t Mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

TRandom::TRandom(std::uint64_t seed, std::uint64_t stream)
    : key_(Mix(Mix(seed + kGolden) ^ (stream * 0xD1B54A32D192ED03ull))) {}

std::uint64_t TRandom::Bits(std::uint64_t index) const {
  return Mix(key_ + (index + 1) * kGolden);
}

double TRandom::Uniform(std::uint64_t index) const {
  return static_cast<double>(Bits(index) >> 11) * k2Pow53;
}

namespace {

// The ziggurat of 128 layers of equal area under the normal density (Marsaglia
// and Tsang): a deviate mostly costs one hash, a compare and a multiply; only
// about 1 in 50 needs a rejection step with exp, and 1 in 4000 the tail's logs.
struct TZiggurat {
  static constexpr double kR = 3.442619855899;  // where the base layer's tail begins
  static constexpr double kV = 9.91256303526217e-3;  // each layer's area
  static constexpr double kM = 2147483648.0;    // 2^31: deviates scale a signed 32-bit draw
  std::uint32_t k[128];
  double w[128], f[128];
  TZiggurat() {
    double dn = kR, tn = dn;
    const double q = kV / std::exp(-0.5 * dn * dn);
    k[0] = static_cast<std::uint32_t>((dn / q) * kM);
    k[1] = 0;
    w[0] = q / kM;
    w[127] = dn / kM;
    f[0] = 1.0;
    f[127] = std::exp(-0.5 * dn * dn);
    for (int i = 126; i >= 1; --i) {
      dn = std::sqrt(-2.0 * std::log(kV / dn + std::exp(-0.5 * dn * dn)));
      k[i + 1] = static_cast<std::uint32_t>((dn / tn) * kM);
      tn = dn;
      f[i] = std::exp(-0.5 * dn * dn);
      w[i] = dn / kM;
    }
  }
};

const TZiggurat& Ziggurat() {
  static const TZiggurat z;
  return z;
}

// A signed 32-bit draw and a layer from separate bits of one hash.
struct TDraw {
  std::int32_t hz;
  int iz;
};
TDraw Split(std::uint64_t h) {
  return {static_cast<std::int32_t>(static_cast<std::uint32_t>(h)), static_cast<int>((h >> 32) & 127)};
}
double Unit(std::uint64_t h) { return (static_cast<double>(h >> 11) + 0.5) * k2Pow53; }  // (0, 1)

}  // namespace

double TRandom::Normal(std::uint64_t index) const {
  const TZiggurat& z = Ziggurat();
  std::uint64_t h = Bits(index);
  TDraw d = Split(h);
  auto magnitude = [](std::int32_t v) { return static_cast<std::uint32_t>(v < 0 ? -static_cast<std::int64_t>(v) : v); };
  if (magnitude(d.hz) < z.k[d.iz]) return d.hz * z.w[d.iz];
  // the rare rest: further numbers for this index come from chaining its hash
  auto next = [&h] { return h = Mix(h + kGolden); };
  for (;;) {
    const double x = d.hz * z.w[d.iz];
    if (d.iz == 0) {  // the tail beyond kR
      double tx = 0, ty = 0;
      do {
        tx = -std::log(Unit(next())) / TZiggurat::kR;
        ty = -std::log(Unit(next()));
      } while (ty + ty < tx * tx);
      return d.hz > 0 ? TZiggurat::kR + tx : -TZiggurat::kR - tx;
    }
    if (z.f[d.iz] + Unit(next()) * (z.f[d.iz - 1] - z.f[d.iz]) < std::exp(-0.5 * x * x)) return x;
    d = Split(next());
    if (magnitude(d.hz) < z.k[d.iz]) return d.hz * z.w[d.iz];
  }
}

bool Flipped(const TRandom& flips, double ber, std::size_t bit) {
  return ber > 0 && flips.Uniform(bit) < ber;
}

// ---------------------------------------------------------------- the cable

TCable::TCable(double tau) {
  if (tau <= 0) return;  // no cable: the state is the input at once
  const double perSample = 1.0 / (kSamples * tau);
  half = std::exp(-kHalf * perSample);
  for (int k = 0; k < kHalf; ++k) centre[k] = std::exp(-(k + 0.5) * perSample);
}

// ---------------------------------------------------------------- the sent bits

namespace {
constexpr std::uint8_t kOne = 1, kNrziHigh = 2;
constexpr int kPositionShift = 2;

int FrameLength(bool startStop, bool parity) {
  return 8 + (startStop ? 3 : 0) + (parity ? 1 : 0);
}
}  // namespace

void TLine::Add(const TSentBit& bit) {
  const bool continues = !segments_.empty() && bit.startMs == end_;
  const TSegment* last = segments_.empty() ? nullptr : &segments_.back();
  if (!continues || last->bitTime != bit.bitTime || last->encoding != bit.encoding ||
      last->startStop != bit.startStop || last->parity != bit.parity) {
    TSegment s;
    s.start = bit.startMs;
    s.bitTime = bit.bitTime;
    s.encoding = static_cast<std::uint8_t>(bit.encoding);
    s.startStop = bit.startStop;
    s.parity = bit.parity;
    s.newRun = !continues;
    s.firstBit = bits_.size();
    if (s.newRun) runStarts_.push_back(segments_.size());
    segments_.push_back(s);
  }
  const int position = std::clamp(bit.position, 0, 15);
  bits_.push_back(static_cast<std::uint8_t>((bit.digit == '1' ? kOne : 0) |
                                            (bit.nrziBefore > 0 ? kNrziHigh : 0) |
                                            (position << kPositionShift)));
  end_ = bit.startMs + bit.bitTime;
  if (position == FrameLength(bit.startStop, bit.parity) - 1) ++charactersSent_;
}

void TLine::Clear() {
  bits_.clear();
  segments_.clear();
  runStarts_.clear();
  end_ = 0;
  charactersSent_ = 0;
}

std::size_t TLine::SegmentOf(std::size_t bit) const {
  auto it = std::upper_bound(segments_.begin(), segments_.end(), bit,
                             [](std::size_t b, const TSegment& s) { return b < s.firstBit; });
  return static_cast<std::size_t>(it - segments_.begin()) - 1;
}

TBitInfo TLine::Info(std::size_t bit) const {
  const TSegment& s = segments_[SegmentOf(bit)];
  const std::uint8_t b = bits_[bit];
  TBitInfo info;
  info.index = bit;
  info.bitTime = s.bitTime;
  info.start = s.start + static_cast<double>(bit - s.firstBit) * s.bitTime;
  info.encoding = s.encoding;
  info.startStop = s.startStop;
  info.parity = s.parity;
  info.digit = (b & kOne) ? '1' : '0';
  info.position = b >> kPositionShift;
  info.nrziBefore = (b & kNrziHigh) ? 1 : -1;
  return info;
}

double TLine::StartOf(std::size_t bit) const {
  const TSegment& s = segments_[SegmentOf(bit)];
  return s.start + static_cast<double>(bit - s.firstBit) * s.bitTime;
}

std::size_t TLine::RunStart(std::size_t bit) const {
  const std::size_t seg = SegmentOf(bit);
  auto it = std::upper_bound(runStarts_.begin(), runStarts_.end(), seg);
  return segments_[*(it - 1)].firstBit;
}

std::size_t TLine::RunEnd(std::size_t bit) const {
  const std::size_t seg = SegmentOf(bit);
  auto it = std::upper_bound(runStarts_.begin(), runStarts_.end(), seg);
  return it == runStarts_.end() ? bits_.size() : segments_[*it].firstBit;
}

bool TLine::StartsRun(std::size_t bit) const {
  const TSegment& s = segments_[SegmentOf(bit)];
  return s.newRun && s.firstBit == bit;
}

std::size_t TLine::LatestRunStart() const {
  return runStarts_.empty() ? 0 : segments_[runStarts_.back()].firstBit;
}

std::size_t TLine::FirstBitEndingAfter(double x) const {
  if (segments_.empty()) return 0;
  // the latest run's bits follow each other, so their starts ascend
  const auto first = segments_.begin() + static_cast<std::ptrdiff_t>(runStarts_.back());
  auto it = std::upper_bound(first, segments_.end(), x,
                             [](double v, const TSegment& s) { return v < s.start; });
  if (it == first) return first->firstBit;
  const TSegment& s = *(it - 1);
  const std::size_t segEnd = it == segments_.end() ? bits_.size() : it->firstBit;
  if (s.bitTime == 0) return segEnd;
  const double n = std::floor((x - s.start) / s.bitTime);
  return std::min(segEnd, s.firstBit + static_cast<std::size_t>(n));
}

std::size_t TLine::Bytes() const {
  return bits_.capacity() * sizeof(std::uint8_t) + segments_.capacity() * sizeof(TSegment) +
         runStarts_.capacity() * sizeof(std::size_t);
}

TBitLevels SentLevels(const TBitInfo& bit, bool flipped) {
  const char digit = flipped ? (bit.digit == '1' ? '0' : '1') : bit.digit;
  std::int32_t nrzi = bit.nrziBefore;
  return LineLevels(bit.encoding, digit, nrzi);
}

// ---------------------------------------------------------------- walking the wave

TWaveCursor::TWaveCursor(const TLine& line, const TChannelSettings& settings)
    : line_(line),
      cable_(settings.tau),
      noise_(settings.seed, kNoiseStream),
      flips_(settings.seed, kFlipStream),
      sigma_(settings.sigma),
      ber_(settings.ber) {}

void TWaveCursor::Load(TSlot& slot, std::size_t bit, double state, bool settle) const {
  slot.info = line_.Info(bit);
  slot.levels = SentLevels(slot.info, Flipped(flips_, ber_, bit));
  slot.state = settle ? slot.levels.first : state;
  slot.mid = cable_.After(slot.state, slot.levels.first, cable_.half);
  slot.end = cable_.After(slot.mid, slot.levels.second, cable_.half);
}

void TWaveCursor::Start(std::size_t bit) {
  Load(cur_, bit, 0, true);
  havePrev_ = false;
}

TReach TWaveCursor::Reach(double t, std::size_t limit) {
  while (t >= cur_.info.start + cur_.info.bitTime) {
    const std::size_t next = cur_.info.index + 1;
    if (next >= limit || next >= line_.Count()) return kWait;
    if (line_.StartsRun(next)) return kOver;
    prev_ = cur_;
    havePrev_ = true;
    Load(cur_, next, prev_.end, false);
  }
  return kHere;
}

TReach TWaveCursor::NextBit(std::size_t limit) {
  const std::size_t next = cur_.info.index + 1;
  if (next >= limit || next >= line_.Count()) return kWait;
  if (line_.StartsRun(next)) return kOver;
  prev_ = cur_;
  havePrev_ = true;
  Load(cur_, next, prev_.end, false);
  return kHere;
}

const TWaveCursor::TSlot* TWaveCursor::SlotOf(std::size_t bit) const {
  if (bit == cur_.info.index) return &cur_;
  if (havePrev_ && bit == prev_.info.index) return &prev_;
  return nullptr;
}

TCell TWaveCursor::Make(const TSlot& slot, int k) const {
  TCell c;
  c.bit = slot.info.index;
  c.k = k;
  const double w = slot.info.bitTime / kSamples;
  c.start = slot.info.start + k * w;
  c.end = c.start + w;
  c.value = Value(slot, k);
  return c;
}

double TWaveCursor::Value(const TSlot& slot, int k) const {
  const bool first = k < kHalf;
  const double input = first ? slot.levels.first : slot.levels.second;
  const double from = first ? slot.state : slot.mid;
  double v = cable_.After(from, input, cable_.centre[first ? k : k - kHalf]);
  if (sigma_ > 0) v += sigma_ * noise_.Normal(slot.info.index * kSamples + static_cast<std::uint64_t>(k));
  return v;
}

TCell TWaveCursor::CellAt(double t) const {
  const TSlot& slot = (havePrev_ && t < cur_.info.start) ? prev_ : cur_;
  int k = 0;
  if (slot.info.bitTime > 0)
    k = static_cast<int>(std::floor((t - slot.info.start) * kSamples / slot.info.bitTime));
  return Make(slot, std::clamp(k, 0, kSamples - 1));
}

bool TWaveCursor::Neighbour(const TCell& c, int direction, TCell& out) const {
  const TSlot* slot = SlotOf(c.bit);
  if (!slot) return false;
  int k = c.k + direction;
  if (k < 0) {
    if (slot != &cur_ || !havePrev_) return false;
    slot = &prev_;
    k = kSamples - 1;
  } else if (k >= kSamples) {
    if (slot != &prev_) return false;
    slot = &cur_;
    k = 0;
  }
  out = Make(*slot, k);
  return true;
}

const TBitInfo& TWaveCursor::InfoOf(std::size_t bit) const {
  const TSlot* slot = SlotOf(bit);
  return slot ? slot->info : cur_.info;
}

}  // namespace channel

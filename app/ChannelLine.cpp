#include "app/ChannelLine.h"

#include <algorithm>
#include <cmath>

namespace channel {

// ---------------------------------------------------------------- random numbers

namespace {
constexpr double k2Pow53 = 1.0 / 9007199254740992.0;  // 2^-53
}  // namespace

TRandom::TRandom(std::uint64_t seed, std::uint64_t stream)
    : key_(Mix(Mix(seed + kGolden) ^ (stream * 0xD1B54A32D192ED03ull))) {}

double TRandom::Uniform(std::uint64_t index) const {
  return static_cast<double>(Bits(index) >> 11) * k2Pow53;
}

TZiggurat::TZiggurat() {
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

const TZiggurat gZiggurat;

namespace {
double Unit(std::uint64_t h) { return (static_cast<double>(h >> 11) + 0.5) * k2Pow53; }  // (0, 1)
}  // namespace

// The draws the fast path turned down: further numbers for the same index come
// from chaining its hash, so the deviate stays a function of the index alone.
double TRandom::NormalRest(std::uint64_t h, std::int32_t hz, int iz) {
  const TZiggurat& z = gZiggurat;
  auto next = [&h] { return h = Mix(h + kGolden); };
  for (;;) {
    const double x = hz * z.w[iz];
    if (iz == 0) {  // the tail beyond kR
      double tx = 0, ty = 0;
      do {
        tx = -std::log(Unit(next())) / TZiggurat::kR;
        ty = -std::log(Unit(next()));
      } while (ty + ty < tx * tx);
      return hz > 0 ? TZiggurat::kR + tx : -TZiggurat::kR - tx;
    }
    if (z.f[iz] + Unit(next()) * (z.f[iz - 1] - z.f[iz]) < std::exp(-0.5 * x * x)) return x;
    const std::uint64_t g = next();
    hz = static_cast<std::int32_t>(static_cast<std::uint32_t>(g));
    iz = static_cast<int>((g >> 32) & 127);
    const auto magnitude = static_cast<std::uint32_t>(hz < 0 ? -static_cast<std::int64_t>(hz) : hz);
    if (magnitude < z.k[iz]) return hz * z.w[iz];
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
  if (position == FrameBitCount(bit.startStop, bit.parity) - 1) ++charactersSent_;
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
  const std::size_t seg = SegmentOf(bit);
  const TSegment& s = segments_[seg];
  const std::uint8_t b = bits_[bit];
  TBitInfo info;
  info.index = bit;
  info.segment = seg;
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

TBitInfo TLine::InfoAfter(const TBitInfo& bit) const {
  const std::size_t next = bit.index + 1;
  if (bit.segment + 1 < segments_.size() && segments_[bit.segment + 1].firstBit == next) return Info(next);
  TBitInfo info = bit;
  const std::uint8_t b = bits_[next];
  info.index = next;
  info.start = bit.start + bit.bitTime;
  info.digit = (b & kOne) ? '1' : '0';
  info.position = b >> kPositionShift;
  info.nrziBefore = (b & kNrziHigh) ? 1 : -1;
  return info;
}

bool TLine::RunStartsAfter(const TBitInfo& bit) const {
  const std::size_t seg = bit.segment + 1;
  return seg < segments_.size() && segments_[seg].firstBit == bit.index + 1 && segments_[seg].newRun;
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

TWaveCursor::TWaveCursor(const TLine& line, const TChannelSettings& settings, const TCable* cable)
    : line_(&line),
      tau_(settings.tau),
      cable_(cable ? *cable : TCable(settings.tau)),
      noise_(settings.seed, kNoiseStream),
      flips_(settings.seed, kFlipStream),
      sigma_(settings.sigma),
      ber_(settings.ber) {}

void TWaveCursor::Load(TSlot& slot, std::size_t bit, double state, bool settle) const {
  slot.info = line_->Info(bit);
  Settle(slot, state, settle);
}

void TWaveCursor::LoadNext() {
  prev_ = cur_;
  havePrev_ = true;
  cur_.info = line_->InfoAfter(prev_.info);
  Settle(cur_, prev_.end, false);
}

void TWaveCursor::Settle(TSlot& slot, double state, bool settle) const {
  const std::size_t bit = slot.info.index;
  slot.levels = SentLevels(slot.info, Flipped(flips_, ber_, bit));
  slot.state = settle ? slot.levels.first : state;
  slot.mid = cable_.After(slot.state, slot.levels.first, cable_.half);
  slot.end = cable_.After(slot.mid, slot.levels.second, cable_.half);
  slot.width = slot.info.bitTime / kSamples;
  slot.perMs = slot.info.bitTime > 0 ? kSamples / slot.info.bitTime : 0.0;
}

void TWaveCursor::Start(std::size_t bit) {
  Load(cur_, bit, 0, true);
  havePrev_ = false;
}

TReach TWaveCursor::Reach(double t, std::size_t limit) {
  while (t >= cur_.info.start + cur_.info.bitTime) {
    const TReach r = NextBit(limit);
    if (r != kHere) return r;
  }
  return kHere;
}

TReach TWaveCursor::NextBit(std::size_t limit) {
  const std::size_t next = cur_.info.index + 1;
  if (next >= limit || next >= line_->Count()) return kWait;
  if (line_->RunStartsAfter(cur_.info)) return kOver;
  LoadNext();
  return kHere;
}

TCell TWaveCursor::IdleCellAt(double t) const {
  const double end = cur_.info.start + cur_.info.bitTime;
  const double u = (t - end) * cur_.perMs;
  const long long k = u <= 0 ? 0 : static_cast<long long>(u);
  TCell c;
  c.bit = cur_.info.index;
  c.k = kSamples - 1;
  c.start = end + static_cast<double>(k) * cur_.width;
  c.end = c.start + cur_.width;
  // the cable goes on settling from the bit's end towards the level it was left at
  const double level = cur_.levels.second;
  const double factor = tau_ > 0 ? std::exp(-(static_cast<double>(k) + 0.5) / (kSamples * tau_)) : 0.0;
  c.value = cable_.After(cur_.end, level, factor);
  if (sigma_ > 0)
    c.value += sigma_ * noise_.Normal((cur_.info.index + 1) * kSamples + static_cast<std::uint64_t>(k));
  return c;
}

const TBitInfo& TWaveCursor::InfoOf(std::size_t bit) const {
  const TSlot* slot = SlotOf(bit);
  return slot ? slot->info : cur_.info;
}

}  // namespace channel

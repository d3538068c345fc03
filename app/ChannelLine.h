#pragma once
// The inside of the channel: the sent bits kept compactly, the random numbers
// keyed by (seed, stream, index), and a cursor that walks the received wave
// sample by sample. Used by TChannel and its receiver only.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/Channel.h"

namespace channel {

inline constexpr int kSamples = TChannel::kSamplesPerBit;
inline constexpr int kHalf = kSamples / 2;

// ---------------------------------------------------------------- random numbers

// A 64-bit hash with every input bit reaching every output bit; successive
// indices give the outputs of a splitmix64 generator.
inline std::uint64_t Mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}
inline constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ull;

// The ziggurat of 128 layers of equal area under the normal density (Marsaglia
// and Tsang): a deviate mostly costs one hash, a compare and a multiply; only
// about 1 in 80 needs a rejection step with exp, and 1 in 4000 the tail's logs.
struct TZiggurat {
  static constexpr double kR = 3.442619855899;       // where the base layer's tail begins
  static constexpr double kV = 9.91256303526217e-3;  // each layer's area
  static constexpr double kM = 2147483648.0;         // 2^31: deviates scale a signed 32-bit draw
  TZiggurat();
  std::uint32_t k[128];
  double w[128], f[128];
};
extern const TZiggurat gZiggurat;

// The random numbers of one stream of one seed, any index without its predecessors.
class TRandom {
 public:
  TRandom(std::uint64_t seed, std::uint64_t stream);
  std::uint64_t Bits(std::uint64_t index) const { return Mix(key_ + (index + 1) * kGolden); }
  double Uniform(std::uint64_t index) const;  // [0, 1), 53 bits
  // mean 0, standard deviation 1: a signed 32-bit draw and a layer from separate bits of one hash
  double Normal(std::uint64_t index) const {
    const std::uint64_t h = Bits(index);
    const auto hz = static_cast<std::int32_t>(static_cast<std::uint32_t>(h));
    const int iz = static_cast<int>((h >> 32) & 127);
    const auto magnitude = static_cast<std::uint32_t>(hz < 0 ? -static_cast<std::int64_t>(hz) : hz);
    if (magnitude < gZiggurat.k[iz]) return hz * gZiggurat.w[iz];
    return NormalRest(h, hz, iz);
  }

 private:
  static double NormalRest(std::uint64_t h, std::int32_t hz, int iz);
  std::uint64_t key_;
};

// The streams: flips are keyed by bit index, noise by sample index.
inline constexpr std::uint64_t kFlipStream = 1, kNoiseStream = 2;

// ---------------------------------------------------------------- the cable

// The first-order low-pass over one sample: the state moves towards the input
// by 1 - a, a = exp(-1/(samples per bit * tau)). Since tau is counted in bit
// times, a is the same for every bit time and is worked out once.
struct TCable {
  explicit TCable(double tau);
  double half = 0;            // a^16: over half a bit
  double centre[kHalf] = {};  // a^(k + 0.5): from a half's start to its sample k
  // The state after `cells` samples of a constant input from `state`.
  double After(double state, double input, double factor) const { return input + (state - input) * factor; }
};

// ---------------------------------------------------------------- the sent bits

// Runs of bits sent with the same encoding, bit time and framing, one after the other.
struct TSegment {
  double start = 0;             // where its first bit begins (ms)
  std::uint32_t bitTime = 0;    // ms
  std::uint8_t encoding = 0;
  bool startStop = false, parity = false;
  bool newRun = false;          // time went back here (START): the line starts afresh
  std::size_t firstBit = 0;
};

struct TBitInfo {
  std::size_t index = 0;
  std::size_t segment = 0;
  double start = 0, bitTime = 0;
  int encoding = 0;
  bool startStop = false, parity = false;
  char digit = '0';
  int position = 0;
  int nrziBefore = 1;
};

// One byte per bit: the digit, the NRZ-I level before it, its place in its frame.
class TLine {
 public:
  void Add(const TSentBit& bit);
  void Clear();
  std::size_t Count() const { return bits_.size(); }
  std::size_t SegmentOf(std::size_t bit) const;
  const TSegment& Segment(std::size_t i) const { return segments_[i]; }
  std::size_t SegmentCount() const { return segments_.size(); }
  TBitInfo Info(std::size_t bit) const;
  // The next bit's facts without a search, and whether it begins a new run.
  TBitInfo InfoAfter(const TBitInfo& bit) const;
  bool RunStartsAfter(const TBitInfo& bit) const;
  char Digit(std::size_t bit) const { return (bits_[bit] & 1) ? '1' : '0'; }
  double StartOf(std::size_t bit) const;
  // The first bit of the run that bit belongs to, and the first bit after that run.
  std::size_t RunStart(std::size_t bit) const;
  std::size_t RunEnd(std::size_t bit) const;
  std::size_t LatestRunStart() const;
  // The first bit of the latest run that ends after time x (Count() when none).
  std::size_t FirstBitEndingAfter(double x) const;
  std::size_t CharactersSent() const { return charactersSent_; }
  std::size_t Bytes() const;

 private:
  std::vector<std::uint8_t> bits_;
  std::vector<TSegment> segments_;
  std::vector<std::size_t> runStarts_;  // the segment index of each run's first segment
  double end_ = 0;                      // where the last bit ends
  std::size_t charactersSent_ = 0;
};

// The line levels of a bit as the channel sends it: the other digit's levels when it is flipped.
TBitLevels SentLevels(const TBitInfo& bit, bool flipped);

// ---------------------------------------------------------------- walking the wave

struct TCell {
  std::size_t bit = 0;
  int k = 0;                  // 0..kSamples-1
  double start = 0, end = 0;  // its slice of time
  double value = 0;           // the received level at its sample
};

enum TReach { kHere, kWait, kOver };  // reached; not sent yet (or beyond a limit); the run ended

// Walks the received wave of one run forward, keeping the cable's state at the
// start of the current bit and of the one before, so a receiver can look back
// up to a bit. Only the samples asked for cost a noise deviate; moving on
// costs two filter steps a bit.
class TWaveCursor {
 public:
  // `cable` spares working out the cable's factors again; it must be TCable(settings.tau).
  TWaveCursor(const TLine& line, const TChannelSettings& settings, const TCable* cable = nullptr);
  // Starts at `bit` with the cable settled at that bit's first level: exact at
  // a run's first bit, and anywhere else the start of a warm-up.
  void Start(std::size_t bit);
  // Moves forward until the current bit contains time t, not to bit `limit` or
  // beyond, nor past the run's end.
  TReach Reach(double t, std::size_t limit);
  TReach NextBit(std::size_t limit);
  // The cell at time t within the current bit or the one before (clamped to them).
  TCell CellAt(double t) const;
  // The cell before (direction -1) or after (+1) c, when it lies in the bits held.
  bool Neighbour(const TCell& c, int direction, TCell& out) const;
  const TBitInfo& Current() const { return cur_.info; }
  // The bit's facts when it is held, else the current bit's.
  const TBitInfo& InfoOf(std::size_t bit) const;
  // The sample k of the current bit, and all of its samples' levels.
  TCell CurrentCell(int k) const { return Make(cur_, k); }
  // The cell at time t after the end of the current bit, the line left at the
  // level the bit ended on: after the last bit sent the line idles there.
  TCell IdleCellAt(double t) const;
  void CurrentLevels(double (&out)[kSamples]) const;

 private:
  struct TSlot {
    TBitInfo info;
    TBitLevels levels;
    double state = 0, mid = 0, end = 0;  // cable state at its start, middle and end
    double width = 0, perMs = 0;          // a sample's slice (ms) and samples per ms
  };
  void Load(TSlot& slot, std::size_t bit, double state, bool settle) const;
  void LoadNext();
  void Settle(TSlot& slot, double state, bool settle) const;
  const TSlot* SlotOf(std::size_t bit) const;
  TCell Make(const TSlot& slot, int k) const;
  double Value(const TSlot& slot, int k) const;

  const TLine* line_;  // a pointer, so a receiver can keep a copy of its cursor and go back to it
  double tau_;
  TCable cable_;
  TRandom noise_, flips_;
  double sigma_, ber_;
  TSlot cur_, prev_;
  bool havePrev_ = false;
};

bool Flipped(const TRandom& flips, double ber, std::size_t bit);

// ---------------------------------------------------------------- the cursor's hot path, inline

inline const TWaveCursor::TSlot* TWaveCursor::SlotOf(std::size_t bit) const {
  if (bit == cur_.info.index) return &cur_;
  if (havePrev_ && bit == prev_.info.index) return &prev_;
  return nullptr;
}

inline double TWaveCursor::Value(const TSlot& slot, int k) const {
  const bool first = k < kHalf;
  const double input = first ? slot.levels.first : slot.levels.second;
  const double from = first ? slot.state : slot.mid;
  double v = cable_.After(from, input, cable_.centre[first ? k : k - kHalf]);
  if (sigma_ > 0) v += sigma_ * noise_.Normal(slot.info.index * kSamples + static_cast<std::uint64_t>(k));
  return v;
}

inline void TWaveCursor::CurrentLevels(double (&out)[kSamples]) const {
  for (int k = 0; k < kHalf; ++k) out[k] = cable_.After(cur_.state, cur_.levels.first, cable_.centre[k]);
  for (int k = 0; k < kHalf; ++k) out[kHalf + k] = cable_.After(cur_.mid, cur_.levels.second, cable_.centre[k]);
  if (sigma_ > 0) {
    const std::uint64_t base = cur_.info.index * kSamples;
    for (int k = 0; k < kSamples; ++k) out[k] += sigma_ * noise_.Normal(base + static_cast<std::uint64_t>(k));
  }
}

inline TCell TWaveCursor::Make(const TSlot& slot, int k) const {
  TCell c;
  c.bit = slot.info.index;
  c.k = k;
  c.start = slot.info.start + k * slot.width;
  c.end = c.start + slot.width;
  c.value = Value(slot, k);
  return c;
}

inline TCell TWaveCursor::CellAt(double t) const {
  const TSlot& slot = (havePrev_ && t < cur_.info.start) ? prev_ : cur_;
  const double u = (t - slot.info.start) * slot.perMs;
  const int k = u <= 0 ? 0 : u >= kSamples ? kSamples - 1 : static_cast<int>(u);
  return Make(slot, k);
}

inline bool TWaveCursor::Neighbour(const TCell& c, int direction, TCell& out) const {
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


}  // namespace channel

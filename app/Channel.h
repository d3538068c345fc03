#pragma once
// The channel between sender and receiver: what the line does to the wave on
// its way, and a receiver with its own clock that decodes what arrives. Holds
// no window and no chart, so the whole road can be tested headless.
//
// The received wave is a pure function of the bits sent (with their encoding,
// bit time and start time), the settings and the seed, applied in this order:
//  (a) bit errors: each bit is flipped with probability `ber`, decided by its
//      index; a flipped bit goes out with the other digit's levels over its
//      whole bit time (the model and the receive buffer keep the true bit);
//  (b) the cable: a first-order low-pass with time constant tau bit times;
//  (c) noise: white Gaussian noise of standard deviation sigma, in level units.
// The wave is sampled at kSamplesPerBit points per bit, each at the middle of
// its 1/32 of the bit. Edges of every encoding (bit boundaries and the
// mid-bit edge of RZ and Manchester) fall on the borders between samples, so
// the sent level is constant over each sample's slice and the filter update
// from one sample to the next is exact. The random numbers come from a hash
// of (seed, stream, index), not a sequential generator, so any stretch is
// computed without its history and is the same on every machine.
//
// Memory: the wave is never stored; it is computed for the window asked for,
// the filter starting kWarmUpTaus time constants before it (the error at the
// window is then below kWindowTolerance). Per sent bit the channel keeps one
// byte (runs of bits with equal settings share one record) and the receiver
// keeps 8 bytes per decision and 16 per character, in deques that keep no
// spare room, so even while a recount builds a second set of results the
// history stays under 32 bytes a bit.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Receiver.h"
#include "app/TransmissionModel.h"

// ---------------------------------------------------------------- settings

struct TChannelSettings {
  double tau = 0;          // cable time constant, bit times, 0..2 (0: no cable)
  double sigma = 0;        // noise standard deviation, level units, 0..1 (0: no noise)
  double ber = 0;          // probability that a bit is flipped, 0..0.1 (0: none)
  double skew = 0;         // receiver clock: its bit time is T * (1 + skew), -0.1..+0.1
  std::uint64_t seed = 1;  // the same seed gives the same wave

  static TChannelSettings Ideal() { return {}; }
  // Every knob at 0: the received wave is the sent one and the receiver reads it exactly.
  bool IsIdeal() const { return tau == 0 && sigma == 0 && ber == 0 && skew == 0; }
  // Empty when every value is in range, else one message for the first bad one,
  // for example "Noise sigma must be between 0 and 1 (got 1.5)".
  std::string Problem() const;
  // Throws std::invalid_argument with Problem() when it is not empty.
  void Check() const;
  bool operator==(const TChannelSettings&) const = default;
};

// ---------------------------------------------------------------- inputs and results

// One bit as the transmission model sent it.
struct TSentBit {
  char digit = '0';                 // the true bit, '0' or '1'
  int encoding = leNrzL;            // TLineEncoding; a bit of another value draws nothing and is ignored
  std::uint32_t bitTime = 62;       // ms
  double startMs = 0;               // where the bit begins (the model's ElapsedMs before it)
  bool startStop = false, parity = false;  // the framing its frame was built with
  int position = 0;                 // its index in its frame, from 0
  int nrziBefore = 1;               // the NRZ-I level before the bit (+1 or -1)
};

// The verdict of the whole history.
struct TChannelCounters {
  std::uint64_t bitsSent = 0;
  std::uint64_t bitsFlipped = 0;        // by the bit error rate
  std::uint64_t bitsSampled = 0;        // decisions the receiver took
  std::uint64_t bitsWrong = 0;          // decisions that differ from the bit sent at that instant
  std::uint64_t charactersSent = 0;     // frames whose last bit has been sent
  std::uint64_t charactersDecoded = 0;  // frames the receiver completed
  std::uint64_t charactersRight = 0;    // ... lined up with a sent frame and carrying its character
  std::uint64_t parityErrors = 0;       // frames whose parity check failed
  std::uint64_t framingErrors = 0;      // frames with a stop bit read as 0
  std::uint64_t undetected = 0;         // wrong characters with parity and stop bits right
  bool operator==(const TChannelCounters&) const = default;
};

// The eye opening measured on the density picture, at the sampling instant.
struct TEyeOpening {
  double height = 0;  // level units: the empty rows around the threshold in the sampling column
  double width = 0;   // bit times: the columns around the sampling instant where no trace crosses the threshold
  bool open = false;  // both are above zero
};

// ---------------------------------------------------------------- the eye diagram

// Every bit's received wave overlaid, two (receiver) bit times wide and centred
// on the receiver's sampling instant, counted into a fixed grid: column c covers
// [-1 + 2c/kColumns, -1 + 2(c+1)/kColumns) bit times from the instant, row r
// covers [kLevelLow + r*step, kLevelLow + (r+1)*step) with step the level range
// over kRows (row 0 the lowest level). Between two samples the trace is
// interpolated, so each trace marks one cell in every column it crosses, and
// the columns where a trace passes the threshold are counted apart (a steep
// edge can jump over the threshold's row).
class TEyeDiagram {
 public:
  static constexpr int kColumns = 256, kRows = 128;
  static constexpr double kLevelLow = -2.0, kLevelHigh = 2.0;

  // properties
  const std::vector<std::uint32_t>& Density() const { return density_; }  // row-major, kRows x kColumns
  std::uint32_t At(int column, int row) const;
  std::uint32_t MaxCount() const { return max_; }
  std::uint64_t Traces() const { return traces_; }
  double Threshold() const { return threshold_; }
  void SetThreshold(double level);  // a different threshold clears the picture
  // How many traces pass the threshold in each column.
  const std::vector<std::uint32_t>& Crossings() const { return crossings_; }

  // operations
  void Clear();
  // One trace: samples (t in bit times from the sampling instant, level), t ascending.
  void AddTrace(const double* t, const double* level, std::size_t count);
  TEyeOpening Opening() const;

 private:
  void Mark(int column, double level);

  std::vector<std::uint32_t> density_ = std::vector<std::uint32_t>(kRows * kColumns, 0);
  std::vector<std::uint32_t> crossings_ = std::vector<std::uint32_t>(kColumns, 0);
  std::uint32_t max_ = 0;
  std::uint64_t traces_ = 0;
  double threshold_ = 0;
};

// ---------------------------------------------------------------- the channel

class TChannelReceiver;  // the receiver with its own clock (Channel.cpp)
struct TChannelLine;     // the sent bits, kept compactly

class TChannel {
 public:
  static constexpr int kSamplesPerBit = 32;
  static constexpr double kWarmUpTaus = 24;           // filter start before a window
  static constexpr double kWindowTolerance = 1e-9;    // 2 * exp(-24) < 1e-10, with room for rounding

  explicit TChannel(const TChannelSettings& settings = TChannelSettings::Ideal());
  ~TChannel();
  TChannel(const TChannel&) = delete;
  TChannel& operator=(const TChannel&) = delete;

  // properties
  const TChannelSettings& Settings() const { return settings_; }
  // Validates (std::invalid_argument, old settings kept), applies to the wave at
  // once and starts a recount of the receiver over the whole history; the
  // receiver's results and counters stay those of the old settings until the
  // recount finishes. Equal settings change nothing; going back to the settings
  // of the results shown drops a recount in progress.
  void SetSettings(const TChannelSettings& settings);

  // operations: the transmission road
  // A bit the model has just sent. A bit that starts before the end of the one
  // before (START restarts time at 0) begins a new run: the cable and the
  // receiver start afresh there. Cost: a few decisions of the receiver.
  void AddBit(const TSentBit& bit);
  void Clear();  // forget every bit, result and counter; the settings stay

  // the received wave
  // The samples of the latest run whose instants lie in [x0, x1], appended to
  // xs/ys (which are cleared first); returns how many. Costs the samples in the
  // window plus a warm-up of kWarmUpTaus * tau bit times without noise. No
  // sample lies on a bit boundary, so windows that meet at one share none: a
  // chart can append the wave of each new bit, [its start, its end].
  std::size_t FillWave(double x0, double x1, std::vector<double>& xs, std::vector<double>& ys) const;
  // Whether the channel flips bit `index` (0 = the first bit since Clear).
  bool BitFlipped(std::size_t index) const;
  std::size_t BitCount() const;
  // The threshold the receiver decides against for an encoding: the midpoint of its two levels.
  static double Threshold(int encoding);

  // the receiver's results, as the ideal receiver gives them
  std::size_t ReceivedBitCount() const;
  TReceivedBit ReceivedBit(std::size_t index) const;  // with its frame index and error reason
  std::size_t FrameCount() const;
  TReceivedFrame Frame(std::size_t index) const;
  std::string Text() const;  // the decoded characters
  // The first decision at or after time x in the latest run (ReceivedBitCount() when none),
  // for drawing only the decisions of a window.
  std::size_t FirstReceivedBitAt(double x) const;
  const TChannelCounters& Counters() const;

  // the eye: adds the traces of the decisions from `next` on whose two bit times
  // have fully arrived, and moves `next` past them. Start with a cleared eye and
  // 0, and again when RecountGeneration() moves (Clear, a finished recount); the
  // wave follows new settings at once, the decisions only after the recount.
  void FeedEye(TEyeDiagram& eye, std::size_t& next) const;

  // the recount after a settings change, in slices
  bool Recounting() const;
  double RecountProgress() const;  // 0..1, 1 when none is running
  // Decodes up to `bitBudget` more sent bits; returns true when the recount is
  // done (its results then replace the old ones).
  bool RunRecount(std::size_t bitBudget);
  // Drops the recount and goes back to the settings the results shown belong to.
  void CancelRecount();
  // Grows by one at every Clear and every finished recount.
  std::uint64_t RecountGeneration() const { return generation_; }
  // Grows whenever results already given out change: at RecountGeneration's
  // moves, and when a bit comes after the receiver had read the last frame's
  // stop bit on the idle line past the end (it reads it again on the real bits).
  std::uint64_t ResultsRevision() const;

  // The bytes held for the history (sent bits, decisions, frames), for the benchmark.
  std::size_t HistoryBytes() const;

 private:
  TChannelSettings settings_;
  std::unique_ptr<TChannelLine> line_;
  std::unique_ptr<TChannelReceiver> receiver_;  // its results are the ones shown
  std::unique_ptr<TChannelReceiver> recount_;   // the recount in progress, or null
  std::uint64_t generation_ = 0;
  mutable TChannelCounters shown_;
  mutable std::vector<double> eyeXs_, eyeYs_, eyeTs_, eyeLs_;  // scratch of FeedEye
};

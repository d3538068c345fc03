#pragma once
// The receiver at the far end of the channel. It knows the line's encoding,
// bit time and framing but not the bits, and runs its own clock, a bit time of
// T * (1 + skew):
//  - with start and stop bits on a level line (Unipolar, NRZ-L, RZ) it is a
//    UART: it hunts for the edge into a start bit, checks the start bit at its
//    middle (a glitch that is gone by then is no start) and samples every bit
//    of the frame at its own instants counted from that edge;
//  - without them, and for NRZ-I (whose start bit need not have an edge), its
//    clock runs free from the start of the transmission;
//  - Manchester re-locks its clock on every mid-bit edge it finds within a
//    quarter bit of where it expects one, as a self-clocking receiver does.
// It decides at mid-bit (RZ: the middle of the pulse, a quarter bit; Manchester:
// the middle of the second half, three quarters) against the midpoint of the
// encoding's two levels; NRZ-I reads a change of side as a '1'.
// After the last bit sent the line idles at the level it was left at (a
// frame's stop level), so a UART whose clock or cable puts the last stop
// bit's instant past the last bit still finishes that frame; when another bit
// comes, that reading is taken back and made again on the real bits.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

#include "app/ChannelLine.h"

namespace channel {

// One decision in 8 bytes: the sent bit whose time holds the instant, where in
// it (1/4096 of its bit time), the level read (1/256 of a level, -8..+8), the
// digit, whether an error shows there, and its role in the frame.
class TDecision {
 public:
  TDecision() = default;
  TDecision(std::uint32_t sentBit, double frac, double level, bool one, char role);
  std::uint32_t bit = 0;
  double Frac() const { return (packed_ & 0xFFF) / 4096.0; }
  double Level() const { return (static_cast<int>((packed_ >> 12) & 0xFFF) - 2048) / 256.0; }
  bool One() const { return (packed_ >> 24) & 1; }
  bool Error() const { return (packed_ >> 25) & 1; }
  char Role() const;
  void SetError() { packed_ |= 1u << 25; }

 private:
  std::uint32_t packed_ = 0;
};

struct TFrameRecord {
  std::uint32_t first = 0;   // its first decision
  float lead = 0;            // ms from the start of that decision's sent bit back to the frame's start
  float span = 0;            // ms from the frame's start to the end of its last bit
  std::uint8_t code = 0, count = 0, flags = 0;  // kParityError, kFramingError, kRight
};
inline constexpr std::uint8_t kParityError = 1, kFramingError = 2, kRight = 4;
static_assert(sizeof(TDecision) == 8 && sizeof(TFrameRecord) == 16, "the history's per-bit budget");

class TChannelReceiver {
 public:
  TChannelReceiver(const TLine& line, const TChannelSettings& settings);

  // Decodes what the sent bits before `limit` allow. Returns true when it
  // stopped for want of bits not sent yet rather than for the limit.
  bool Advance(std::size_t limit);
  std::size_t Reached() const { return reached_; }  // sent bits walked through
  // Grows each time a reading of the idle line after the last bit is taken back.
  std::uint64_t Revisions() const { return revisions_; }
  const TChannelSettings& Settings() const { return settings_; }

  // Deques: they grow in small blocks, so the history never holds the spare
  // room a doubling vector keeps (up to as much again as it uses).
  const std::deque<TDecision>& Decisions() const { return decisions_; }
  const std::deque<TFrameRecord>& Frames() const { return frames_; }
  const TChannelCounters& Counters() const { return counters_; }  // the receiver's part
  std::size_t Bytes() const;

 private:
  struct TFrame {
    bool active = false;
    bool startStop = false, parity = false;
    int length = 0, count = 0, ones = 0;
    std::uint8_t code = 0;
    bool parityError = false, framingError = false;
    double startX = 0, endX = 0;
    std::size_t first = 0;
  };
  enum TMode { mNone, mHunt, mUart, mClocked };

  // What the receiver was before it read the idle line past the last bit sent:
  // a bit sent since puts the line there, so the reading goes back to this.
  struct TIdleTail {
    std::size_t bits = 0;  // the bits sent when it was taken
    std::size_t decisions = 0, frames = 0, judged = 0, reached = 0;
    TChannelCounters counters;
    TWaveCursor cursor;
    TMode mode;
    double ref = 0, tr = 0;
    bool seenIdle = false, nrziHigh = true;
    int encoding = 0;
    TFrame frame;
  };
  void KeepBeforeIdle();
  void BackBeforeIdle();

  TReach Step();
  TReach ChooseMode();
  TReach Hunt();
  TReach UartBit();
  TReach ClockedBit();
  double Relock(double bitStart, double tr);
  char Decide(int encoding, double value);
  void Record(double s, const TCell& cell, char digit, double bitEnd);
  void BeginFrame(double start, const TBitInfo& at);
  void FinishFrame();
  void Judge();
  void CountFlips(std::size_t upTo);

  const TLine& line_;
  TChannelSettings settings_;
  TWaveCursor cursor_;
  TRandom flips_;
  std::size_t limit_ = 0;
  std::size_t reached_ = 0, flipsCounted_ = 0;
  std::size_t judged_ = 0;  // frames whose character has been checked against the sent one
  bool inRun_ = false;
  std::size_t nextRun_ = 0;

  TMode mode_ = mNone;
  double ref_ = 0;           // hunting: where the scan goes on; clocked: the receiver's bit start
  bool seenIdle_ = false;    // hunting: the line has been on the idle side since ref_
  bool nrziHigh_ = true;
  int encoding_ = 0;         // of the frame or bit in progress
  double tr_ = 0;            // the receiver's bit time for it
  TFrame frame_;

  std::deque<TDecision> decisions_;
  std::deque<TFrameRecord> frames_;
  TChannelCounters counters_;
  std::unique_ptr<TIdleTail> tail_;
  std::uint64_t revisions_ = 0;  // while it has read past the last bit sent
};

}  // namespace channel

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

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/ChannelLine.h"

namespace channel {

struct TDecision {
  std::uint32_t bit = 0;    // the sent bit whose time holds the instant
  std::uint16_t frac = 0;   // where in that bit, in 1/65536 of its bit time
  std::int16_t level = 0;   // the level read, in 1/kLevelScale
  std::uint8_t flags = 0;   // kDecidedOne, kDecisionError
  char role = '?';
};
inline constexpr double kLevelScale = 4096;
inline constexpr std::uint8_t kDecidedOne = 1, kDecisionError = 2;

struct TFrameRecord {
  double startX = 0;
  float span = 0;            // ms from startX to the end of its last bit
  std::uint32_t first = 0;   // its first decision
  std::uint8_t code = 0, count = 0, flags = 0;  // kParityError, kFramingError, kRight
};
inline constexpr std::uint8_t kParityError = 1, kFramingError = 2, kRight = 4;

class TChannelReceiver {
 public:
  TChannelReceiver(const TLine& line, const TChannelSettings& settings);

  // Decodes what the sent bits before `limit` allow. Returns true when it
  // stopped for want of bits not sent yet rather than for the limit.
  bool Advance(std::size_t limit);
  std::size_t Reached() const { return reached_; }  // sent bits walked through
  const TChannelSettings& Settings() const { return settings_; }

  const std::vector<TDecision>& Decisions() const { return decisions_; }
  const std::vector<TFrameRecord>& Frames() const { return frames_; }
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

  std::vector<TDecision> decisions_;
  std::vector<TFrameRecord> frames_;
  TChannelCounters counters_;
};

}  // namespace channel

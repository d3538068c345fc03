#pragma once
// The ideal receiver: reads the signal's points as a receiver on the line would,
// sampling each bit at its middle, and turns them back into bits, frames and
// characters with their parity and framing verdicts. It never sees the model's
// bits, so what it decodes is exactly what the drawn wave carries. No Qt.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "app/TransmissionModel.h"

// What the receiver knows of the line, as the window's settings stand from a given time on.
struct TReceiverLine {
  std::int64_t bitTime = 62;          // ms per bit
  TLineEncoding encoding = leUnipolar;
  bool startStop = false;             // 1 start bit '0', 2 stop bits '11'
  bool parity = false;                // even parity bit after the 8 data bits
  bool operator==(const TReceiverLine&) const = default;
};

struct TReceivedBit {                 // one sampling instant
  double x = 0;                       // the sampling instant (ms)
  double level = 0;                   // the level read there (what the dot is drawn at)
  char bit = '0';                     // the digit decoded
  char role = '?';                    // 'S' start, '7'..'0' data bit in the order sent, 'P', 'T' stop
  int frame = -1;                     // index into Frames(), -1 while hunting for a start bit
                                      // and while its frame is still arriving (set once the
                                      // frame's last bit is in, so the index is always valid)
  bool error = false;                 // this bit is where a parity/framing error shows
  std::string reason;                 // the tooltip text for an error, empty otherwise
};

struct TReceivedFrame {
  double startX = 0, endX = 0;        // the frame's time span (ms)
  std::uint8_t code = 0;              // the character decoded
  bool parityError = false, framingError = false;
  int firstBit = 0, bitCount = 0;     // its bits in Bits()
};

// The tooltip texts of the two errors a receiver flags: `ones` is the count of
// ones in a frame's data and parity bits.
std::string ParityErrorReason(int ones);
std::string FramingErrorReason();

// A frame's length in bits and the role of the bit at position p (from 0) in the
// order sent, as the transmitter frames a character with these options; both
// receivers, and the channel's count of characters sent, read frames by them.
inline int FrameBitCount(bool startStop, bool parity) {
  return 8 + (startStop ? 3 : 0) + (parity ? 1 : 0);
}
inline char FrameBitRole(int p, bool startStop, bool parity) {
  if (startStop) {
    if (p == 0) return 'S';
    --p;
  }
  if (p < 8) return static_cast<char>('7' - p);
  if (parity && p == 8) return 'P';
  return 'T';
}

// Bits are sampled at mid-bit on a grid of bit times counted from the last line change.
// Levels between points are read off the segment there; at an edge (two points at one x)
// the level arriving from the left is the first of them and the level leaving to the right
// the last. Unipolar, NRZ-L and NRZ-I read the level; RZ the level just before the mid-bit
// return to zero; Manchester the direction of the mid-bit edge (up is '1'), drawn at the
// level the edge reaches. A frame keeps the framing in force at its first bit, as the
// transmitter builds a whole frame from the options of that moment.
class TReceiver {
 public:
  TReceiver();

  // operations
  // The line settings from time fromX on (a speed, encoding or framing change applies from the
  // next bit, at the model's ElapsedMs). Bit boundaries are counted from the last change.
  void SetLine(const TReceiverLine& line, double fromX);
  // Points of the signal in the order the series receives them (x never decreasing within a
  // run). Decodes every bit whose whole bit time has arrived; keeps the rest for later.
  // Cost proportional to the points fed, never to the history. A point left of the one
  // before it starts a new run there (START without Clear): the bit grid restarts at it and
  // the bits of the old run stay. Points with a non-finite x or y are skipped.
  void Feed(const double* xs, const double* ys, std::size_t count);
  void Clear();                       // forget everything (Clear and START restart at time 0)
                                      // but the latest line settings, which now hold from 0

  // results
  const std::vector<TReceivedBit>& Bits() const;
  const std::vector<TReceivedFrame>& Frames() const;
  std::string Text() const;           // the decoded characters, in order

 private:
  struct TPoint {
    double x, y;
  };
  struct TLineChange {
    double fromX;
    TReceiverLine line;
  };
  // The frame being assembled, with the framing it started under.
  struct TFrameInProgress {
    bool active = false;
    bool startStop = false, parity = false;
    int length = 0, count = 0, ones = 0;
    TReceivedFrame frame;
  };

  const TReceiverLine& LatestLine() const;
  void StartRun(double x);
  void ApplyChange(double at);
  bool NextBit(double& start, double& end);
  void DecodeReady();
  bool SampleBit(double start, double end, TReceivedBit& bit);
  void Assemble(TReceivedBit bit, double start, double end);
  void BeginFrame(double start);
  void CheckBit(TReceivedBit& bit);
  void FinishFrame();
  void DropPointsBefore(double x);
  double LevelFromLeft(double s) const;
  double LevelToRight(double s) const;

  // results
  std::vector<TReceivedBit> bits_;
  std::vector<TReceivedFrame> frames_;

  // the line: settings in force, their grid origin, and changes still ahead
  TReceiverLine line_;
  double origin_ = 0;
  std::int64_t index_ = 0;  // the next bit to decode, counted from origin_
  std::deque<TLineChange> changes_;

  // the points not yet behind the decoded bits; head_ is the first still needed
  std::vector<TPoint> points_;
  std::size_t head_ = 0;
  double lastX_ = 0;
  bool havePoint_ = false;

  bool nrziHigh_ = true;  // the NRZ-I level last read; START sets the line high
  TFrameInProgress frame_;
};

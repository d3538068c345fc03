#pragma once
// The ideal receiver: reads the signal's points as a receiver on the line would,
// sampling each bit at its middle, and turns them back into bits, frames and
// characters with their parity and framing verdicts. It never sees the model's
// bits, so what it decodes is exactly what the drawn wave carries. No Qt.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/TransmissionModel.h"

// What the receiver knows of the line, as the window's settings stand from a given time on.
struct TReceiverLine {
  std::int64_t bitTime = 62;          // ms per bit
  TLineEncoding encoding = leUnipolar;
  bool startStop = false;             // 1 start bit '0', 2 stop bits '11'
  bool parity = false;                // even parity bit after the 8 data bits
};

struct TReceivedBit {                 // one sampling instant
  double x = 0;                       // the sampling instant (ms)
  double level = 0;                   // the level read there (what the dot is drawn at)
  char bit = '0';                     // the digit decoded
  char role = '?';                    // 'S' start, '7'..'0' data bit in the order sent, 'P', 'T' stop
  int frame = -1;                     // index into Frames(), -1 while hunting for a start bit
  bool error = false;                 // this bit is where a parity/framing error shows
  std::string reason;                 // the tooltip text for an error, empty otherwise
};

struct TReceivedFrame {
  double startX = 0, endX = 0;        // the frame's time span (ms)
  std::uint8_t code = 0;              // the character decoded
  bool parityError = false, framingError = false;
  int firstBit = 0, bitCount = 0;     // its bits in Bits()
};

class TReceiver {
 public:
  TReceiver();

  // operations
  // The line settings from time fromX on (a speed, encoding or framing change applies from the
  // next bit, at the model's ElapsedMs). Bit boundaries are counted from the last change.
  void SetLine(const TReceiverLine& line, double fromX);
  // Points of the signal in the order the series receives them (x never decreasing within a
  // run). Decodes every bit whose whole bit time has arrived; keeps the rest for later.
  // Cost proportional to the points fed, never to the history.
  void Feed(const double* xs, const double* ys, std::size_t count);
  void Clear();                       // forget everything (Clear and START restart at time 0)

  // results
  const std::vector<TReceivedBit>& Bits() const;
  const std::vector<TReceivedFrame>& Frames() const;
  std::string Text() const;           // the decoded characters, in order

 private:
  std::vector<TReceivedBit> bits_;
  std::vector<TReceivedFrame> frames_;
};

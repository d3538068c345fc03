#pragma once
// Turns the text to send into bits, one per clock tick: each bit goes to the
// receive buffer as a character and to the signal sink as the (time, level)
// points of the chosen line encoding. Holds no window and no chart.

#include <cstdint>
#include <string>

#include "app/TransmissionPorts.h"

// Line encodings, by their index in the encoding choice.
enum TLineEncoding : int {
  leUnipolar = 0,
  leNrzL = 1,
  leNrzI = 2,
  leRz = 3,
  leManchester = 4,
};

// '1' when the low 8 bits of v are not all zero, else '0'.
char BinaryDigit(int v);

// A character code as exactly eight binary digits, most significant first.
// Taking an unsigned 8-bit code means a (signed) char above 127 can never turn
// into a negative code and a short or overlong frame.
std::string ToBinary(std::uint8_t code);

// The levels one bit puts on the line: `first` over the first half of its bit
// time and `second` over the second (equal for the level encodings). NRZ-I
// reads the level before the bit from `nrziLevel` and leaves the level after it
// there. `known` is false for an encoding outside 0..4, which draws nothing.
struct TBitLevels {
  double first = 0, second = 0;
  bool halves = false;  // RZ and Manchester: the level changes at mid-bit
  bool known = false;
};
TBitLevels LineLevels(int encoding, char bit, std::int32_t& nrziLevel);

class TTransmissionModel {
 public:
  TTransmissionModel(TTextSource& text, TReceiveBufferSink& buffer, TSignalSink& signal,
                     const TTransmissionInputs& inputs);

  // state
  std::int32_t SentBits() const { return sentBits_; }
  const std::string& PendingBits() const { return pendingBits_; }
  std::int32_t ElapsedMs() const { return elapsedMs_; }
  std::int32_t NrziLevel() const { return nrziLevel_; }
  std::int32_t FrameLength() const { return frameLength_; }

  // operations
  void UpdateFrameLength();
  void Start();
  void Reset();
  void Tick();

  // The frame of one character under the framing options as they stand now:
  // [start '0'] data bit 7 .. data bit 0 [even parity] ['1' '1'].
  std::string BuildFrame(std::uint8_t code) const;

  // Encoders for one bit ('0' or '1') starting at ElapsedMs.
  void EncodeUnipolar(char bit);
  void EncodeNrzL(char bit);
  void EncodeNrzI(char bit);
  void EncodeRz(char bit);
  void EncodeManchester(char bit);

 private:
  void ShowBit(char bit);
  void EncodeBit(char bit);
  // Two points per bit at one level, advancing by the full bit time.
  void EmitLevel(double level);
  // A first half at one level and a second at another, advancing by the full
  // bit time; the mid-bit edge stands at t + T/2, a half millisecond when T is odd.
  void EmitHalves(double first, double second);
  void Emit(const TBitLevels& levels);
  std::int64_t T() const { return inputs_.BitTime(); }
  void Point(double x, double y);

  TTextSource& text_;
  TReceiveBufferSink& buffer_;
  TSignalSink& signal_;
  const TTransmissionInputs& inputs_;

  std::int32_t sentBits_ = 0;
  std::string pendingBits_;
  std::int32_t elapsedMs_ = 0;
  std::int32_t nrziLevel_ = 0;
  std::int32_t frameLength_ = 0;
};

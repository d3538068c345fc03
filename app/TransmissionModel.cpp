#include "app/TransmissionModel.h"

#include <bit>

char BinaryDigit(int v) {
  return (v & 0xFF) != 0 ? '1' : '0';
}

namespace {

// The digits of code without leading zeros; the digits of 0 are empty.
std::string Digits(unsigned code) {
  if (code == 0) return {};
  return Digits(code / 2) + BinaryDigit(static_cast<int>(code % 2));
}

}  // namespace

TBitLevels LineLevels(int encoding, char bit, std::int32_t& nrziLevel) {
  const bool one = bit == '1';
  auto level = [](double l) { return TBitLevels{l, l, false, true}; };
  auto halves = [](double a, double b) { return TBitLevels{a, b, true, true}; };
  switch (encoding) {
    case leUnipolar:
      return level(one ? 1.0 : 0.0);
    case leNrzL:
      return level(one ? -1.0 : 1.0);
    case leNrzI:
      // a '1' is a transition and a '0' is none: only Start sets the level high
      if (one) nrziLevel = -nrziLevel;
      return level(nrziLevel);
    case leRz:
      return halves(one ? 1.0 : -1.0, 0.0);
    case leManchester:
      return one ? halves(-1.0, 1.0) : halves(1.0, -1.0);
    default:
      return {};
  }
}

std::string ToBinary(std::uint8_t code) {
  std::string digits = Digits(code);
  return std::string(8 - digits.size(), '0') + digits;
}

TTransmissionModel::TTransmissionModel(TTextSource& text, TReceiveBufferSink& buffer,
                                       TSignalSink& signal, const TTransmissionInputs& inputs)
    : text_(text), buffer_(buffer), signal_(signal), inputs_(inputs) {}

void TTransmissionModel::UpdateFrameLength() {
  frameLength_ = 8;
  if (inputs_.StartStopBits()) frameLength_ += 3;
  if (inputs_.Parity()) frameLength_ += 1;
}

void TTransmissionModel::Start() {
  UpdateFrameLength();
  nrziLevel_ = 1;
  sentBits_ = 0;
  elapsedMs_ = 0;
}

void TTransmissionModel::Reset() {
  sentBits_ = 0;
  elapsedMs_ = 0;
}

void TTransmissionModel::Tick() {
  if (pendingBits_.empty() && !text_.IsEmpty()) {
    sentBits_ = 0;
    const std::string text = text_.Text();
    text_.SetText(text.substr(1));
    pendingBits_ = BuildFrame(static_cast<std::uint8_t>(text.front()));
  }
  if (!pendingBits_.empty()) {
    const char bit = pendingBits_.front();
    ShowBit(bit);
    EncodeBit(bit);
    pendingBits_.erase(0, 1);
  }
  // Re-enabled on every tick, so the box opens for typing as soon as its last
  // character has been taken, while that character's frame is still going out.
  if (text_.IsEmpty()) text_.SetEnabled(true);
}

std::string TTransmissionModel::BuildFrame(std::uint8_t code) const {
  std::string frame = ToBinary(code);
  if (inputs_.Parity()) frame += (std::popcount(code) % 2 == 1) ? '1' : '0';
  if (inputs_.StartStopBits()) frame = '0' + frame + "11";
  return frame;
}

void TTransmissionModel::ShowBit(char bit) {
  ++sentBits_;
  buffer_.AppendText(std::string(1, bit));
  if (sentBits_ == frameLength_) buffer_.AppendText(" ");
}

void TTransmissionModel::EncodeBit(char bit) {
  switch (inputs_.Encoding()) {
    case leUnipolar:
      EncodeUnipolar(bit);
      break;
    case leNrzL:
      EncodeNrzL(bit);
      break;
    case leNrzI:
      EncodeNrzI(bit);
      break;
    case leRz:
      EncodeRz(bit);
      break;
    case leManchester:
      EncodeManchester(bit);
      break;
    default:
      break;  // an unknown encoding draws nothing; the bit is still shown
  }
}

void TTransmissionModel::Point(double x, double y) {
  signal_.AddPoint(x, y);
}

void TTransmissionModel::EmitLevel(double level) {
  const std::int64_t t = elapsedMs_;
  Point(static_cast<double>(t), level);
  Point(static_cast<double>(t + T()), level);
  elapsedMs_ = static_cast<std::int32_t>(t + T());
}

void TTransmissionModel::EmitHalves(double first, double second) {
  // Time stays whole milliseconds and every bit spans the full bit time, so the
  // signal keeps in step with axis labels one bit time apart; only the mid-bit
  // edge may fall on a half millisecond, which a chart value holds exactly.
  const std::int64_t t = elapsedMs_;
  const double mid = static_cast<double>(t) + static_cast<double>(T()) / 2.0;
  Point(static_cast<double>(t), first);
  Point(mid, first);
  Point(mid, second);
  Point(static_cast<double>(t + T()), second);
  elapsedMs_ = static_cast<std::int32_t>(t + T());
}

void TTransmissionModel::Emit(const TBitLevels& levels) {
  if (!levels.known) return;
  if (levels.halves)
    EmitHalves(levels.first, levels.second);
  else
    EmitLevel(levels.first);
}

void TTransmissionModel::EncodeUnipolar(char bit) {
  Emit(LineLevels(leUnipolar, bit, nrziLevel_));
}

void TTransmissionModel::EncodeNrzL(char bit) {
  Emit(LineLevels(leNrzL, bit, nrziLevel_));
}

void TTransmissionModel::EncodeNrzI(char bit) {
  Emit(LineLevels(leNrzI, bit, nrziLevel_));
}

void TTransmissionModel::EncodeRz(char bit) {
  Emit(LineLevels(leRz, bit, nrziLevel_));
}

void TTransmissionModel::EncodeManchester(char bit) {
  Emit(LineLevels(leManchester, bit, nrziLevel_));
}

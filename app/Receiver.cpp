#include "app/Receiver.h"

TReceiver::TReceiver() = default;

void TReceiver::SetLine(const TReceiverLine&, double) {}

void TReceiver::Feed(const double*, const double*, std::size_t) {}

void TReceiver::Clear() {
  bits_.clear();
  frames_.clear();
}

const std::vector<TReceivedBit>& TReceiver::Bits() const { return bits_; }

const std::vector<TReceivedFrame>& TReceiver::Frames() const { return frames_; }

std::string TReceiver::Text() const {
  std::string text;
  for (const TReceivedFrame& f : frames_) text += static_cast<char>(f.code);
  return text;
}

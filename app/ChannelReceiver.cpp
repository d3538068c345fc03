#include "app/ChannelReceiver.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace channel {

namespace {

// Encodings whose start bit always pulls the line to the other side of the
// threshold from a stop bit, so a UART can hunt for that edge.
bool HasStartEdge(int encoding) {
  return encoding == leUnipolar || encoding == leNrzL || encoding == leRz;
}

// Where in its bit the receiver decides, in bit times.
double DecisionPoint(int encoding) {
  if (encoding == leRz) return 0.25;          // the middle of the pulse
  if (encoding == leManchester) return 0.75;  // the middle of the second half
  return 0.5;
}

// The side of the line a start bit pulls it to. RZ returns to 0 between
// pulses, so its edge into the start pulse (-1) is taken halfway there.
bool OnStartSide(int encoding, double v) {
  switch (encoding) {
    case leUnipolar: return v < 0.5;
    case leNrzL: return v > 0.0;
    default: return v < -0.5;  // RZ
  }
}

constexpr char kRoles[] = "?S76543210PT";

}  // namespace

TDecision::TDecision(std::uint32_t sentBit, double frac, double level, bool one, char role) : bit(sentBit) {
  const auto f = static_cast<std::uint32_t>(std::clamp(frac * 4096.0, 0.0, 4095.0));
  const auto l = static_cast<std::uint32_t>(std::clamp(std::round(level * 256.0) + 2048.0, 0.0, 4095.0));
  const char* r = std::strchr(kRoles, role);
  const auto ri = static_cast<std::uint32_t>(r && role ? r - kRoles : 0);
  packed_ = f | (l << 12) | ((one ? 1u : 0u) << 24) | (ri << 26);
}

char TDecision::Role() const { return kRoles[(packed_ >> 26) & 0xF]; }

TChannelReceiver::TChannelReceiver(const TLine& line, const TChannelSettings& settings)
    : line_(line), settings_(settings), cursor_(line, settings), flips_(settings.seed, kFlipStream) {}

void TChannelReceiver::CountFlips(std::size_t upTo) {
  for (; flipsCounted_ < upTo; ++flipsCounted_)
    if (Flipped(flips_, settings_.ber, flipsCounted_)) ++counters_.bitsFlipped;
}

void TChannelReceiver::KeepBeforeIdle() {
  if (tail_) return;
  tail_.reset(new TIdleTail{line_.Count(), decisions_.size(), frames_.size(), judged_, reached_,
                            counters_, cursor_, mode_, ref_, tr_, seenIdle_, nrziHigh_,
                            encoding_, frame_});
}

void TChannelReceiver::BackBeforeIdle() {
  const TIdleTail& t = *tail_;
  decisions_.resize(t.decisions);
  frames_.resize(t.frames);
  judged_ = t.judged;
  reached_ = t.reached;
  counters_ = t.counters;
  cursor_ = t.cursor;
  mode_ = t.mode;
  ref_ = t.ref;
  tr_ = t.tr;
  seenIdle_ = t.seenIdle;
  nrziHigh_ = t.nrziHigh;
  encoding_ = t.encoding;
  frame_ = t.frame;
  tail_.reset();
  ++revisions_;
}

bool TChannelReceiver::Advance(std::size_t limit) {
  if (tail_ && line_.Count() > tail_->bits) BackBeforeIdle();
  limit_ = std::min(limit, line_.Count());
  CountFlips(limit_);
  Judge();
  for (;;) {
    if (!inRun_) {
      if (nextRun_ >= limit_) {
        reached_ = nextRun_;
        return limit_ == line_.Count();
      }
      cursor_.Start(nextRun_);
      inRun_ = true;
      mode_ = mNone;
      ref_ = cursor_.Current().start;
      seenIdle_ = true;  // a transmission starts straight with its first frame
      nrziHigh_ = true;  // as START leaves the NRZ-I line
      frame_ = TFrame{};
    }
    const TReach r = Step();
    reached_ = cursor_.Current().index;
    if (r == kHere) continue;
    if (r == kWait) return limit_ == line_.Count();
    // the run ended under the receiver: a frame cut short there is never finished
    inRun_ = false;
    nextRun_ = line_.RunEnd(cursor_.Current().index);
  }
}

TReach TChannelReceiver::Step() {
  switch (mode_) {
    case mHunt: return Hunt();
    case mUart: return UartBit();
    case mClocked: return ClockedBit();
    default: return ChooseMode();
  }
}

TReach TChannelReceiver::ChooseMode() {
  const TReach r = cursor_.Reach(ref_, limit_);
  if (r != kHere) return r;
  const TBitInfo& at = cursor_.Current();
  encoding_ = at.encoding;
  tr_ = at.bitTime * (1.0 + settings_.skew);
  mode_ = (at.startStop && HasStartEdge(at.encoding)) ? mHunt : mClocked;
  return kHere;
}

// ---------------------------------------------------------------- the UART

TReach TChannelReceiver::Hunt() {
  TReach r = cursor_.Reach(ref_, limit_);
  if (r != kHere) return r;
  TCell c = cursor_.CellAt(ref_);
  for (;;) {
    if (!OnStartSide(encoding_, c.value)) {
      seenIdle_ = true;
    } else if (seenIdle_) {
      const TBitInfo& at = cursor_.InfoOf(c.bit);
      encoding_ = at.encoding;
      tr_ = at.bitTime * (1.0 + settings_.skew);
      BeginFrame(c.start, at);
      mode_ = mUart;
      return kHere;
    }
    TCell next;
    if (!cursor_.Neighbour(c, +1, next)) {
      r = cursor_.NextBit(limit_);
      if (r != kHere) {
        ref_ = c.end;  // go on from the next sample once it has arrived
        return r;
      }
      next = cursor_.CurrentCell(0);
    }
    c = next;
  }
}

TReach TChannelReceiver::UartBit() {
  const double s = frame_.startX + (frame_.count + DecisionPoint(encoding_)) * tr_;
  const TReach r = cursor_.Reach(s, limit_);
  // Past the last bit sent the line idles at the stop level: a slow clock or a
  // cable's delay reads the last frame's stop bit there, and that frame is
  // finished. The reading is undone when another bit comes, and made again on
  // the line as it then is.
  const TBitInfo& now = cursor_.Current();
  // Only after a whole sent frame: inside one the next bit is surely on its way.
  const bool idle = r == kWait && limit_ == line_.Count() && now.index + 1 == line_.Count() &&
                    now.startStop && now.position + 1 == FrameBitCount(now.startStop, now.parity) &&
                    s >= now.start + now.bitTime;
  if (r != kHere && !idle) return r;
  if (idle) KeepBeforeIdle();
  const TCell c = idle ? cursor_.IdleCellAt(s) : cursor_.CellAt(s);
  const char digit = Decide(encoding_, c.value);
  if (frame_.count == 0 && digit == '1') {
    // the line is back on the idle side at the start bit's middle: a glitch, no start
    frame_.active = false;
    mode_ = mHunt;
    ref_ = s;
    seenIdle_ = false;
    return kHere;
  }
  Record(s, c, digit, frame_.startX + (frame_.count + 1) * tr_);
  if (!frame_.active) {
    // hunt again from the last stop bit's instant
    mode_ = mNone;
    ref_ = s;
    seenIdle_ = false;
  }
  return kHere;
}

// ---------------------------------------------------------------- the free-running clock

TReach TChannelReceiver::ClockedBit() {
  TReach r = cursor_.Reach(ref_, limit_);
  if (r != kHere) return r;
  const TBitInfo at = cursor_.Current();
  encoding_ = at.encoding;
  tr_ = at.bitTime * (1.0 + settings_.skew);
  double bitStart = ref_;
  if (encoding_ == leManchester) {
    r = cursor_.Reach(bitStart + 0.75 * tr_, limit_);
    if (r != kHere) return r;
    bitStart = Relock(bitStart, tr_);
  }
  const double s = bitStart + DecisionPoint(encoding_) * tr_;
  r = cursor_.Reach(s, limit_);
  if (r != kHere) return r;  // the relock is found again from ref_ next time
  const TCell c = cursor_.CellAt(s);
  const char digit = Decide(encoding_, c.value);
  if (!frame_.active && !(at.startStop && digit == '1')) BeginFrame(bitStart, at);
  Record(s, c, digit, bitStart + tr_);
  ref_ = bitStart + tr_;
  if (!frame_.active) mode_ = mNone;
  return kHere;
}

// The bit start that puts the mid-bit edge at the middle, the edge taken where
// the line passes the threshold between a quarter bit before and after the
// expected middle m: the samples there tell which way it goes, so one walk
// from m towards it finds it (a cable delays it by the same amount bit after
// bit, and after the first re-lock the walk is short). With both ends on one
// side (noise, or no edge) the clock coasts for the bit.
double TChannelReceiver::Relock(double bitStart, double tr) {
  const double m = bitStart + 0.5 * tr, reach = 0.25 * tr;
  const double threshold = TChannel::Threshold(leManchester);
  auto side = [threshold](const TCell& c) { return c.value > threshold; };
  const TCell first = cursor_.CellAt(m - reach), last = cursor_.CellAt(m + reach);
  const bool from = side(first);
  if (side(last) == from) return bitStart;
  TCell c = cursor_.CellAt(m), n;
  if (side(c) == from) {
    // the edge is later: the first sample past it starts on the other side
    while (c.bit != last.bit || c.k != last.k) {
      if (!cursor_.Neighbour(c, +1, n)) break;
      c = n;
      if (side(c) != from) return c.start - 0.5 * tr;
    }
    return bitStart;
  }
  // the edge is earlier: walk back to the last sample still on the first side
  while (c.bit != first.bit || c.k != first.k) {
    if (!cursor_.Neighbour(c, -1, n)) break;
    if (side(n) == from) return c.start - 0.5 * tr;
    c = n;
  }
  return bitStart;
}

char TChannelReceiver::Decide(int encoding, double value) {
  bool one = false;
  switch (encoding) {
    case leUnipolar:
      one = value > TChannel::Threshold(leUnipolar);
      break;
    case leNrzL:
      one = value < 0.0;  // '1' is the low level
      break;
    case leNrzI: {
      const bool high = value > 0.0;
      one = high != nrziHigh_;
      nrziHigh_ = high;
      break;
    }
    default:  // RZ: the pulse's sign; Manchester: the second half's level
      one = value > 0.0;
      break;
  }
  return one ? '1' : '0';
}

// ---------------------------------------------------------------- frames

void TChannelReceiver::BeginFrame(double start, const TBitInfo& at) {
  frame_ = TFrame{};
  frame_.active = true;
  frame_.startStop = at.startStop;
  frame_.parity = at.parity;
  frame_.length = FrameBitCount(at.startStop, at.parity);
  frame_.startX = start;
  frame_.first = decisions_.size();
}

void TChannelReceiver::Record(double s, const TCell& cell, char digit, double bitEnd) {
  const TBitInfo& sent = cursor_.InfoOf(cell.bit);
  const double frac = sent.bitTime > 0 ? (s - sent.start) / sent.bitTime : 0.0;
  ++counters_.bitsSampled;
  if (digit != sent.digit) ++counters_.bitsWrong;
  const int one = digit == '1' ? 1 : 0;
  const char role = frame_.active ? FrameBitRole(frame_.count, frame_.startStop, frame_.parity) : '?';
  TDecision d(static_cast<std::uint32_t>(cell.bit), frac, cell.value, one != 0, role);
  if (frame_.active) {
    if (role >= '0' && role <= '7') {
      frame_.code = static_cast<std::uint8_t>((frame_.code << 1) | one);
      frame_.ones += one;
    } else if (role == 'P') {
      frame_.ones += one;
      if (frame_.ones % 2 != 0) {
        frame_.parityError = true;
        d.SetError();
      }
    } else if (role == 'T' && !one) {
      frame_.framingError = true;
      d.SetError();
    }
    ++frame_.count;
    frame_.endX = bitEnd;
  }
  decisions_.push_back(d);
  if (frame_.active && frame_.count == frame_.length) FinishFrame();
}

void TChannelReceiver::FinishFrame() {
  TFrameRecord f;
  f.first = static_cast<std::uint32_t>(frame_.first);
  f.lead = static_cast<float>(line_.StartOf(decisions_[frame_.first].bit) - frame_.startX);
  f.span = static_cast<float>(frame_.endX - frame_.startX);
  f.code = frame_.code;
  f.count = static_cast<std::uint8_t>(frame_.length);
  if (frame_.parityError) f.flags |= kParityError, ++counters_.parityErrors;
  if (frame_.framingError) f.flags |= kFramingError, ++counters_.framingErrors;
  ++counters_.charactersDecoded;
  frames_.push_back(f);
  frame_.active = false;
  Judge();
}

// Whether each finished character is the one sent, once the sent frame it lines
// up with has been sent: a fast clock finishes a frame before its last bits go
// out, and a character must get the same verdict live and in a recount.
void TChannelReceiver::Judge() {
  for (; judged_ < frames_.size(); ++judged_) {
    TFrameRecord& f = frames_[judged_];
    const bool startStop = f.count == 11 || f.count == 12, parity = f.count == 9 || f.count == 12;
    const std::size_t b0 = decisions_[f.first].bit;
    const std::size_t data = b0 + (startStop ? 1 : 0);
    if (data + 8 > line_.Count()) return;  // not all sent yet
    const TBitInfo first = line_.Info(b0);
    const TBitInfo last = line_.Info(data + 7);
    bool right = false;
    if (first.position == 0 && first.startStop == startStop && first.parity == parity &&
        last.position == first.position + static_cast<int>(data + 7 - b0)) {
      std::uint8_t sent = 0;
      for (std::size_t i = data; i < data + 8; ++i)
        sent = static_cast<std::uint8_t>((sent << 1) | (line_.Digit(i) == '1' ? 1 : 0));
      right = sent == f.code;
    }
    if (right) {
      f.flags |= kRight;
      ++counters_.charactersRight;
    } else if (!(f.flags & (kParityError | kFramingError))) {
      ++counters_.undetected;
    }
  }
}


std::size_t TChannelReceiver::Bytes() const {
  // a deque's blocks of 512 bytes, one partly filled at each end, and a pointer to each block
  auto held = [](std::size_t n, std::size_t size) {
    const std::size_t perBlock = std::max<std::size_t>(1, 512 / size);
    const std::size_t blocks = n / perBlock + 2;
    return blocks * (512 + 2 * sizeof(void*));
  };
  return held(decisions_.size(), sizeof(TDecision)) + held(frames_.size(), sizeof(TFrameRecord));
}

}  // namespace channel

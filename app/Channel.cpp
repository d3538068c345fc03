#include "app/Channel.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <sstream>
#include <stdexcept>

#include "app/ChannelLine.h"
#include "app/ChannelReceiver.h"

// ---------------------------------------------------------------- settings

namespace {

// NaN fails every comparison, so it is out of every range
bool Within(double v, double low, double high) { return v >= low && v <= high; }

std::string OutOfRange(const char* what, double low, double high, const char* unit, double v) {
  std::ostringstream s;
  s << what << " must be between " << low << " and " << high << unit << " (got " << v << ")";
  return s.str();
}

}  // namespace

std::string TChannelSettings::Problem() const {
  if (!Within(tau, 0, 2)) return OutOfRange("Cable tau", 0, 2, " bit times", tau);
  if (!Within(sigma, 0, 1)) return OutOfRange("Noise sigma", 0, 1, "", sigma);
  if (!Within(ber, 0, 0.1)) return OutOfRange("Bit error rate", 0, 0.1, "", ber);
  if (!Within(skew, -0.1, 0.1)) return OutOfRange("Clock skew", -0.1, 0.1, "", skew);
  return {};
}

void TChannelSettings::Check() const {
  const std::string problem = Problem();
  if (!problem.empty()) throw std::invalid_argument(problem);
}

// ---------------------------------------------------------------- the eye diagram

std::uint32_t TEyeDiagram::At(int column, int row) const {
  if (column < 0 || column >= kColumns || row < 0 || row >= kRows) return 0;
  return density_[static_cast<std::size_t>(row) * kColumns + static_cast<std::size_t>(column)];
}

void TEyeDiagram::Clear() {
  std::fill(density_.begin(), density_.end(), 0u);
  std::fill(crossings_.begin(), crossings_.end(), 0u);
  max_ = 0;
  traces_ = 0;
}

void TEyeDiagram::Mark(int column, double level) {
  constexpr double rowsPerLevel = kRows / (kLevelHigh - kLevelLow);
  const double row = (level - kLevelLow) * rowsPerLevel;
  if (!(row >= 0 && row < kRows)) return;  // off the picture (and NaN)
  const std::uint32_t n = ++density_[static_cast<std::size_t>(row) * kColumns + static_cast<std::size_t>(column)];
  if (n > max_) max_ = n;
}

void TEyeDiagram::AddTrace(const double* t, const double* level, std::size_t count) {
  constexpr double perBit = kColumns / 2.0;
  int lastSide = -1;  // the side of the threshold at the trace's last column, -1 before the first
  for (std::size_t i = 0; i + 1 < count; ++i) {
    const double t0 = t[i], t1 = t[i + 1];
    if (!(t1 > t0)) continue;
    // the columns whose centres -1 + (c + 0.5) / perBit lie in [t0, t1)
    const int from = std::max(0, static_cast<int>(std::ceil((t0 + 1.0) * perBit - 0.5)));
    const int to = std::min(kColumns, static_cast<int>(std::ceil((t1 + 1.0) * perBit - 0.5)));
    const double slope = (level[i + 1] - level[i]) / (t1 - t0);
    for (int c = from; c < to; ++c) {
      const double tc = -1.0 + (c + 0.5) / perBit;
      const double v = level[i] + slope * (tc - t0);
      Mark(c, v);
      const int side = v > threshold_ ? 1 : 0;
      if (lastSide >= 0 && side != lastSide) ++crossings_[static_cast<std::size_t>(c)];
      lastSide = side;
    }
  }
  ++traces_;
}

void TEyeDiagram::SetThreshold(double level) {
  if (level == threshold_) return;
  threshold_ = level;
  Clear();  // the crossings counted belong to the old threshold
}

TEyeOpening TEyeDiagram::Opening() const {
  TEyeOpening o;
  if (traces_ == 0) return o;
  const double step = (kLevelHigh - kLevelLow) / kRows;
  const int column = kColumns / 2;  // the one that starts at the sampling instant
  const int row = std::clamp(static_cast<int>(std::floor((threshold_ - kLevelLow) / step)), 0, kRows - 1);
  if (At(column, row) != 0) return o;
  int up = row, down = row, left = column, right = column;
  while (up + 1 < kRows && At(column, up + 1) == 0) ++up;
  while (down > 0 && At(column, down - 1) == 0) --down;
  if (crossings_[column] != 0) return o;
  while (left > 0 && crossings_[static_cast<std::size_t>(left - 1)] == 0) --left;
  while (right + 1 < kColumns && crossings_[static_cast<std::size_t>(right + 1)] == 0) ++right;
  o.height = (up - down + 1) * step;
  o.width = (right - left + 1) * (2.0 / kColumns);
  o.open = true;
  return o;
}

// ---------------------------------------------------------------- the channel

struct TChannelLine : channel::TLine {
  // the cable's factors for the window's wave, worked out again only when tau changes
  const channel::TCable& CableFor(double tau) {
    if (tau != cableTau) {
      cable = channel::TCable(tau);
      cableTau = tau;
    }
    return cable;
  }
  channel::TCable cable{0.0};
  double cableTau = 0;
};

class TChannelReceiver : public channel::TChannelReceiver {
 public:
  using channel::TChannelReceiver::TChannelReceiver;
};

TChannel::TChannel(const TChannelSettings& settings)
    : settings_(settings), line_(std::make_unique<TChannelLine>()) {
  settings_.Check();
  receiver_ = std::make_unique<TChannelReceiver>(*line_, settings_);
}

TChannel::~TChannel() = default;

void TChannel::SetSettings(const TChannelSettings& settings) {
  settings.Check();
  if (settings == settings_) return;
  settings_ = settings;
  if (recount_ && settings == receiver_->Settings()) {
    recount_.reset();  // back to the settings the results shown belong to
    return;
  }
  recount_ = std::make_unique<TChannelReceiver>(*line_, settings_);
  if (line_->Count() == 0) RunRecount(0);
}

void TChannel::AddBit(const TSentBit& bit) {
  if (bit.encoding < leUnipolar || bit.encoding > leManchester) return;  // drew nothing
  line_->Add(bit);
  receiver_->Advance(std::numeric_limits<std::size_t>::max());
}

void TChannel::Clear() {
  line_->Clear();
  recount_.reset();
  receiver_ = std::make_unique<TChannelReceiver>(*line_, settings_);
  ++generation_;
}

// a new receiver starts its revisions at 0 again: the generation keeps the sum growing
std::uint64_t TChannel::ResultsRevision() const { return (generation_ << 32) + receiver_->Revisions(); }

std::size_t TChannel::BitCount() const { return line_->Count(); }

bool TChannel::BitFlipped(std::size_t index) const {
  return channel::Flipped(channel::TRandom(settings_.seed, channel::kFlipStream), settings_.ber, index);
}

double TChannel::Threshold(int encoding) { return encoding == leUnipolar ? 0.5 : 0.0; }

std::size_t TChannel::FillWave(double x0, double x1, std::vector<double>& xs,
                               std::vector<double>& ys) const {
  xs.clear();
  ys.clear();
  const std::size_t count = line_->Count();
  if (count == 0 || !(x1 >= x0)) return 0;
  const std::size_t first = line_->FirstBitEndingAfter(x0);
  if (first >= count) return 0;
  // the cable's state at the window from a warm-up that costs no noise
  const std::size_t runStart = line_->LatestRunStart();
  const auto warm = static_cast<std::size_t>(std::ceil(kWarmUpTaus * settings_.tau));
  channel::TWaveCursor cursor(*line_, settings_, &line_->CableFor(settings_.tau));
  cursor.Start(first - std::min(warm, first - runStart));
  while (cursor.Current().index < first)
    if (cursor.NextBit(count) != channel::kHere) return 0;  // cannot happen within one run
  double levels[kSamplesPerBit];
  for (;;) {
    const channel::TBitInfo& bit = cursor.Current();
    if (bit.start > x1) break;
    if (bit.bitTime > 0) {
      cursor.CurrentLevels(levels);
      const double w = bit.bitTime / static_cast<double>(kSamplesPerBit);
      for (int k = 0; k < kSamplesPerBit; ++k) {
        const double x = bit.start + (k + 0.5) * w;
        if (x < x0) continue;
        if (x > x1) break;
        xs.push_back(x);
        ys.push_back(levels[k]);
      }
    }
    if (cursor.NextBit(count) != channel::kHere) break;
  }
  return xs.size();
}

// ---------------------------------------------------------------- the receiver's results

std::size_t TChannel::ReceivedBitCount() const { return receiver_->Decisions().size(); }

std::size_t TChannel::FrameCount() const { return receiver_->Frames().size(); }

namespace {

double DecisionX(const channel::TLine& line, const channel::TDecision& d) {
  const channel::TBitInfo bit = line.Info(d.bit);
  return bit.start + d.Frac() * bit.bitTime;
}

// The frame a decision belongs to, or -1 when it is none's (hunting) or its frame is unfinished.
int FrameOf(const std::deque<channel::TFrameRecord>& frames, std::size_t decision) {
  auto it = std::upper_bound(frames.begin(), frames.end(), decision,
                             [](std::size_t d, const channel::TFrameRecord& f) { return d < f.first; });
  if (it == frames.begin()) return -1;
  --it;
  if (decision >= it->first + it->count) return -1;
  return static_cast<int>(it - frames.begin());
}

}  // namespace

TReceivedBit TChannel::ReceivedBit(std::size_t index) const {
  const auto& decisions = receiver_->Decisions();
  const channel::TDecision& d = decisions[index];
  TReceivedBit b;
  b.x = DecisionX(*line_, d);
  b.level = d.Level();
  b.bit = d.One() ? '1' : '0';
  b.role = d.Role();
  b.frame = FrameOf(receiver_->Frames(), index);
  b.error = d.Error();
  if (b.error && b.role == 'T') {
    b.reason = FramingErrorReason();
  } else if (b.error) {
    // the ones of the frame's data and parity bits, up to this parity bit
    int ones = 0;
    for (std::size_t i = index; i-- > 0 && decisions[i].Role() >= '0' && decisions[i].Role() <= '7';)
      ones += decisions[i].One() ? 1 : 0;
    ones += b.bit == '1' ? 1 : 0;
    b.reason = ParityErrorReason(ones);
  }
  return b;
}

TReceivedFrame TChannel::Frame(std::size_t index) const {
  const channel::TFrameRecord& r = receiver_->Frames()[index];
  TReceivedFrame f;
  f.startX = line_->StartOf(receiver_->Decisions()[r.first].bit) - r.lead;
  f.endX = f.startX + r.span;
  f.code = r.code;
  f.parityError = (r.flags & channel::kParityError) != 0;
  f.framingError = (r.flags & channel::kFramingError) != 0;
  f.firstBit = static_cast<int>(r.first);
  f.bitCount = r.count;
  return f;
}

std::string TChannel::Text() const {
  std::string text;
  text.reserve(FrameCount());
  for (const channel::TFrameRecord& f : receiver_->Frames()) text += static_cast<char>(f.code);
  return text;
}

std::size_t TChannel::FirstReceivedBitAt(double x) const {
  const auto& decisions = receiver_->Decisions();
  const std::size_t run = line_->LatestRunStart();
  auto begin = std::lower_bound(decisions.begin(), decisions.end(), run,
                                [](const channel::TDecision& d, std::size_t b) { return d.bit < b; });
  auto it = std::lower_bound(begin, decisions.end(), x, [this](const channel::TDecision& d, double v) {
    return DecisionX(*line_, d) < v;
  });
  return static_cast<std::size_t>(it - decisions.begin());
}

const TChannelCounters& TChannel::Counters() const {
  shown_ = receiver_->Counters();
  shown_.bitsSent = line_->Count();
  shown_.charactersSent = line_->CharactersSent();
  return shown_;
}

// ---------------------------------------------------------------- the eye

void TChannel::FeedEye(TEyeDiagram& eye, std::size_t& next) const {
  const auto& decisions = receiver_->Decisions();
  const std::size_t count = line_->Count();
  if (count == 0) return;
  const std::size_t run = line_->LatestRunStart();
  const double lineEnd = line_->StartOf(count - 1) + line_->Info(count - 1).bitTime;
  constexpr std::size_t kBatch = 1024;  // keeps the scratch wave small
  while (next < decisions.size()) {
    if (decisions[next].bit < run) {  // an earlier run's: its wave is not kept
      ++next;
      continue;
    }
    std::size_t end = next;
    double lo = 0, hi = 0;
    for (; end < decisions.size() && end - next < kBatch; ++end) {
      const channel::TBitInfo bit = line_->Info(decisions[end].bit);
      const double s = bit.start + decisions[end].Frac() * bit.bitTime;
      const double tr = bit.bitTime * (1.0 + settings_.skew);
      if (s + tr > lineEnd) break;  // its second bit time has not all arrived
      if (end == next) lo = s - tr;
      hi = s + tr;
      eye.SetThreshold(Threshold(bit.encoding));
    }
    if (end == next) return;
    FillWave(lo, hi, eyeXs_, eyeYs_);
    for (; next < end; ++next) {
      const channel::TBitInfo bit = line_->Info(decisions[next].bit);
      const double s = bit.start + decisions[next].Frac() * bit.bitTime;
      const double tr = bit.bitTime * (1.0 + settings_.skew);
      if (tr <= 0) continue;
      auto from = std::lower_bound(eyeXs_.begin(), eyeXs_.end(), s - tr);
      eyeTs_.clear();
      eyeLs_.clear();
      for (auto it = from; it != eyeXs_.end() && *it <= s + tr; ++it) {
        eyeTs_.push_back((*it - s) / tr);
        eyeLs_.push_back(eyeYs_[static_cast<std::size_t>(it - eyeXs_.begin())]);
      }
      eye.AddTrace(eyeTs_.data(), eyeLs_.data(), eyeTs_.size());
    }
  }
}

// ---------------------------------------------------------------- the recount

bool TChannel::Recounting() const { return recount_ != nullptr; }

double TChannel::RecountProgress() const {
  if (!recount_) return 1.0;
  const std::size_t count = line_->Count();
  return count == 0 ? 1.0 : std::min(1.0, static_cast<double>(recount_->Reached()) / count);
}

bool TChannel::RunRecount(std::size_t bitBudget) {
  if (!recount_) return true;
  // a receiver may need to look a bit or two ahead, so a slice never stops short of that
  const std::size_t budget = std::max<std::size_t>(bitBudget, 16);
  const std::size_t reached = recount_->Reached();
  const std::size_t limit = budget > line_->Count() - std::min(reached, line_->Count())
                                ? line_->Count()
                                : reached + budget;
  if (!recount_->Advance(limit)) return false;
  receiver_ = std::move(recount_);
  ++generation_;
  return true;
}

void TChannel::CancelRecount() {
  if (!recount_) return;
  recount_.reset();
  settings_ = receiver_->Settings();
}

std::size_t TChannel::HistoryBytes() const {
  return line_->Bytes() + receiver_->Bytes() + (recount_ ? recount_->Bytes() : 0);
}

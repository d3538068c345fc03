#include "app/SignalViews.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

// Colours told apart by every reader: the wave is red, so nothing of the
// views is red or green; blue against orange is the pair that survives every
// common colour-vision deficiency, and errors change shape and text as well.
constexpr tk::TColor kClockColor = 0x505050;     // dark grey
constexpr tk::TColor kRoleColor = 0x303030;      // near black
constexpr tk::TColor kSampleColor = 0xB27200;    // blue (0, 114, 178)
constexpr tk::TColor kWarningColor = 0x009FE6;   // orange (230, 159, 0)
constexpr tk::TColor kDecodedColor = 0xB27200;   // blue, as the receiver's dots
constexpr tk::TColor kDecodedErrorColor = 0x005ED5;  // vermilion (213, 94, 0), darker than orange

constexpr int kLabelGap = 2;     // pixels kept free between neighbouring labels
constexpr int kTextGap = 2;      // pixels kept free beside a role or character text
constexpr int kHintRadius = 5;   // how near the pointer must come to a dot
constexpr int kSampleSize = 3;   // half size of a receiver's dot

std::string RoleName(char role) {
  switch (role) {
    case 'S':
      return "Start bit";
    case 'P':
      return "Parity bit";
    case 'T':
      return "Stop bit";
    case '?':
      return "Bit outside a frame";
    default:
      return std::string("Data bit ") + role;
  }
}

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

std::string SampleHint(const TReceivedBit& b) {
  if (b.error && !b.reason.empty()) return b.reason;
  return RoleName(b.role) + ": " + b.bit + ", read at " + Number(b.x) + " ms";
}

bool SameLine(const TReceiverLine& a, const TReceiverLine& b) {
  return a.bitTime == b.bitTime && a.encoding == b.encoding && a.startStop == b.startStop &&
         a.parity == b.parity;
}

}  // namespace

// ---------------------------------------------------------------- plain helpers

char BitRole(int frameLength, int index) {
  if (index < 0 || index >= frameLength) return '?';
  // the length tells the framing options apart: 8, 9, 11 and 12 bits
  for (bool startStop : {false, true})
    for (bool parity : {false, true})
      if (FrameBitCount(startStop, parity) == frameLength)
        return FrameBitRole(index, startStop, parity);
  return '?';
}

std::uint8_t FrameCode(const std::string& frame) {
  const int length = static_cast<int>(frame.size());
  unsigned code = 0;
  for (int i = 0; i < length; ++i) {
    const char role = BitRole(length, i);
    if (role >= '0' && role <= '7' && frame[static_cast<std::size_t>(i)] == '1')
      code |= 1u << (role - '0');
  }
  return static_cast<std::uint8_t>(code);
}

std::string CharacterText(std::uint8_t code) {
  char text[8];
  if (code >= 0x21 && code <= 0x7E)
    std::snprintf(text, sizeof text, "'%c'", static_cast<char>(code));
  else
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(code));
  return text;
}

int LabelSpacing(int angle, int width, int height) {
  // Two labels, the same box turned by the same angle and shifted by d along
  // the axis, stay apart when the shift carries one past the other either
  // along the text (d |cos a| >= width) or across it (d |sin a| >= height).
  const int a = ((angle % 180) + 180) % 180;
  if (a == 0) return width + kLabelGap;
  if (a == 90) return height + kLabelGap;
  const double r = a * std::numbers::pi / 180.0;
  const double across = (height + kLabelGap) / std::abs(std::sin(r));
  const double along = (width + kLabelGap) / std::abs(std::cos(r));
  return static_cast<int>(std::ceil(std::min(across, along) - 1e-9));
}

int GridMultiple(double bitTime, double pixelsPerMs, int spacing) {
  const double bitPixels = bitTime * pixelsPerMs;
  if (!(bitPixels > 0) || spacing <= 0) return 1;
  const double k = std::ceil(spacing / bitPixels - 1e-9);
  return k < 1 ? 1 : k > 1e9 ? 1000000000 : static_cast<int>(k);
}

double GridLabel(double minimum, double step, int index) {
  // the first multiple at the minimum or above; the tolerance keeps a label that
  // rounding put a hair below the minimum
  const double first = std::ceil((minimum - 1e-7) / step);
  return (first + index) * step;
}

// ---------------------------------------------------------------- construction

TSignalViews::TSignalViews(TChart& chart, std::function<double()> bitTime)
    : chart_(chart), bitTime_(std::move(bitTime)) {
  CreateSeries();
}

TSignalViews::~TSignalViews() {
  // the chart would free the series it holds: the views take theirs back first
  if (chart_.OnGetNextAxisLabel) chart_.OnGetNextAxisLabel = nullptr;
  for (TChartSeries* s : AllSeries())
    s->SetParentChart(nullptr);
}

std::unique_ptr<TPointSeries> TSignalViews::NewTextSeries(tk::TColor color, bool bold) {
  auto s = std::make_unique<TPointSeries>();
  s->SetShowInLegend(false);
  s->SetSeriesColor(color);
  s->Pointer().SetVisible(false);
  s->Pointer().SetInflateMargins(false);
  TSeriesMarks& m = s->Marks();
  m.SetVisible(true);
  m.SetTransparent(true);
  m.Frame().SetVisible(false);
  m.Arrow().SetVisible(false);
  m.SetArrowLength(0);
  m.SetStyle(smsLabel);
  m.SetClip(true);
  m.Font().Assign({"Arial", bold ? -11 : -9, color, {.bold = bold}});
  return s;
}

void TSignalViews::CreateSeries() {
  clock_ = std::make_unique<TFastLineSeries>();
  clock_->SetShowInLegend(false);
  clock_->SetSeriesColor(kClockColor);
  clock_->LinePen().SetColor(kClockColor);
  clock_->LinePen().SetWidth(1);

  roles_ = NewTextSeries(kRoleColor, false);
  characters_ = NewTextSeries(kRoleColor, true);
  roles_->OnGetMarkText = [this](TChartSeries* s, int i, std::string& text) {
    HideNarrowText(s, i, text, bitTime_());
  };
  // a frame is at least its 8 data bits wide
  const auto hideNarrowFrame = [this](TChartSeries* s, int i, std::string& text) {
    HideNarrowText(s, i, text, 8 * bitTime_());
  };
  characters_->OnGetMarkText = hideNarrowFrame;

  samples_ = std::make_unique<TPointSeries>();
  samples_->SetShowInLegend(false);
  samples_->SetSeriesColor(kSampleColor);
  samples_->Pointer().SetInflateMargins(false);
  samples_->Pointer().SetHorizSize(kSampleSize);
  samples_->Pointer().SetVertSize(kSampleSize);
  samples_->Pointer().SetStyle(psCircle);
  samples_->Pointer().Pen().SetColor(tk::clBlack);
  samples_->OnGetPointerStyle = [](TCustomSeries* s, int i) {
    return s->PointColor(i) == kWarningColor ? psDiamond : psCircle;
  };

  decoded_ = NewTextSeries(kDecodedColor, true);
  decodedErrors_ = NewTextSeries(kDecodedErrorColor, true);
  decoded_->OnGetMarkText = hideNarrowFrame;
  decodedErrors_->OnGetMarkText = hideNarrowFrame;
}

std::vector<TChartSeries*> TSignalViews::AllSeries() const {
  return {roles_.get(), characters_.get(), samples_.get(), decoded_.get(), decodedErrors_.get(),
          clock_.get()};
}

std::vector<TChartSeries*> TSignalViews::SeriesOf(TSignalView view) const {
  switch (view) {
    case svBitRoles:
      return {roles_.get(), characters_.get()};
    case svReceiver:
      return {samples_.get(), decoded_.get(), decodedErrors_.get()};
    case svClock:
      return {clock_.get()};
    default:
      return {};
  }
}

// ---------------------------------------------------------------- switching

bool TSignalViews::AnyShown() const {
  return std::any_of(std::begin(shown_), std::end(shown_), [](bool on) { return on; });
}

void TSignalViews::SetShown(TSignalView view, bool on) {
  if (view < 0 || view >= kSignalViewCount || shown_[view] == on) return;
  shown_[view] = on;
  if (view == svBitGrid) {
    if (on)
      chart_.OnGetNextAxisLabel = [this](TCustomChartAxis* a, int i, double& v, bool& stop) {
        NextGridLabel(a, i, v, stop);
      };
    else
      chart_.OnGetNextAxisLabel = nullptr;
  }
  // a view's series join the chart only while it is shown, so with every view
  // off the chart holds exactly the designed series; they keep their points meanwhile
  for (TChartSeries* s : SeriesOf(view))
    s->SetParentChart(on ? &chart_ : nullptr);
  ApplyLabelStyle();
  chart_.Invalidate();
}

void TSignalViews::ApplyLabelStyle() {
  // The views' texts live in point labels, and an axis that decides its label
  // style by itself would take a labelled series' texts for its own labels; the
  // bottom axis keeps its numbers while a view is on and decides again when all are off.
  chart_.BottomAxis().SetLabelStyle(AnyShown() ? talValue : talAuto);
}

// ---------------------------------------------------------------- bit grid

void TSignalViews::NextGridLabel(TCustomChartAxis* axis, int index, double& value, bool& stop) {
  if (axis != &chart_.BottomAxis()) return;  // left untouched, the other axes label as designed
  if (index == 0) gridStep_ = GridStep(*axis);
  if (!(gridStep_ > 0)) return;
  value = GridLabel(axis->CurrentMinimum, gridStep_, index);
  stop = false;
}

double TSignalViews::GridStep(TCustomChartAxis& axis) {
  const double t = bitTime_();
  if (!(t > 0) || !(axis.CurrentRange > 0) || axis.AxisPixels <= 0) return 0;
  const int width = std::max(axis.LabelExtent(axis.CurrentMaximum),
                             axis.LabelExtent(axis.CurrentMinimum));
  const int height = chart_.Canvas().FontPixelHeight();  // the labels' font, just selected
  const int spacing = LabelSpacing(axis.LabelsAngle(), width, height);
  return GridMultiple(t, axis.AxisPixels / axis.CurrentRange, spacing) * t;
}

// ---------------------------------------------------------------- roles

double TSignalViews::PixelsPerMs() const {
  const TChartAxis& axis = chart_.BottomAxis();
  return axis.CurrentRange > 0 ? axis.AxisPixels / axis.CurrentRange : 0;
}

void TSignalViews::HideNarrowText(TChartSeries* series, int /*index*/, std::string& text,
                                  double span) const {
  if (text.empty()) return;
  TZozCanvas3D& c = chart_.Canvas();
  c.Font().font = series->Marks().Font().Value();
  // a text wider than its bit would run into its neighbours' and read as noise
  if (span * PixelsPerMs() < c.MeasureTextWidth(text) + kTextGap) text.clear();
}

// ---------------------------------------------------------------- following the data

void TSignalViews::BeforeTick(const TTransmissionModel& model, const TTransmissionInputs& inputs,
                              const std::string& textToSend) {
  const TReceiverLine line{inputs.BitTime(), static_cast<TLineEncoding>(inputs.Encoding()),
                           inputs.StartStopBits(), inputs.Parity()};
  // a new speed, encoding or framing takes effect from the next bit on
  if (!lineKnown_ || !SameLine(line, line_)) {
    receiver_.SetLine(line, model.ElapsedMs());
    line_ = line;
    lineKnown_ = true;
  }
  tickStartX_ = model.ElapsedMs();
  tickBit_ = 0;
  tickPosition_ = -1;
  tickXs_.clear();
  tickYs_.clear();
  if (model.PendingBits().empty()) {
    if (textToSend.empty()) return;  // idle: the tick sends nothing
    // the model takes this character now; its frame is built as the model will build it
    const auto code = static_cast<std::uint8_t>(textToSend.front());
    frame_ = {model.BuildFrame(code), code, 0, false};
    tickPosition_ = 0;
    tickBit_ = frame_.bits.front();
    return;
  }
  const std::string& pending = model.PendingBits();
  tickBit_ = pending.front();
  if (frame_.bits.size() >= pending.size())
    tickPosition_ = static_cast<int>(frame_.bits.size() - pending.size());
}

void TSignalViews::SignalPoint(double x, double y) {
  tickXs_.push_back(x);
  tickYs_.push_back(y);
}

void TSignalViews::AfterTick(const TTransmissionModel& model) {
  if (tickBit_ != 0 && model.ElapsedMs() > tickStartX_)
    AddBit(tickStartX_, model.ElapsedMs(), tickBit_);
  if (!tickXs_.empty()) receiver_.Feed(tickXs_.data(), tickYs_.data(), tickXs_.size());
  tickXs_.clear();
  tickYs_.clear();
  tickBit_ = 0;
  DrawReceived();
}

void TSignalViews::AddBit(double x0, double x1, char /*bit*/) {
  const int length = static_cast<int>(frame_.bits.size());
  const double mid = (x0 + x1) / 2;
  roles_->AddPointXY(mid, kRoleLevel, std::string(1, BitRole(length, tickPosition_)), kRoleColor);
  if (!frame_.started) {
    frame_.startX = x0;  // the frame's first bit since time last restarted
    frame_.started = true;
  }
  if (tickPosition_ == length - 1)
    characters_->AddPointXY((frame_.startX + x1) / 2, kCharacterLevel, CharacterText(frame_.code),
                            kRoleColor);
  AddClockPeriod(x0, x1);
}

void TSignalViews::AddClockPeriod(double x0, double x1) {
  // high for the first half, low for the second: the rising edge stands on the
  // bit boundary (the next period's first point makes it), the falling edge mid-bit
  const double mid = (x0 + x1) / 2;
  clock_->AddPointXY(x0, kClockHigh);
  clock_->AddPointXY(mid, kClockHigh);
  clock_->AddPointXY(mid, kClockLow);
  clock_->AddPointXY(x1, kClockLow);
}

void TSignalViews::AddSample(const TReceivedBit& b) {
  // Only an erring dot of the ideal receiver keeps its text; the others' are made when the
  // pointer is over them: a text per bit was most of what an hour at 1000 bits/s kept. The
  // channel's dots are only the shown window's, and its bits are not the ideal receiver's,
  // so they keep their whole text.
  const std::string text = channel_ ? SampleHint(b) : b.error ? b.reason : std::string();
  samples_->AddPointXY(b.x, b.level, text, b.error ? kWarningColor : kSampleColor);
}

void TSignalViews::AddDecoded(const TReceivedFrame& f) {
  const double x = (f.startX + f.endX) / 2;
  std::string text = CharacterText(f.code);
  if (f.parityError) text += " parity!";
  if (f.framingError) text += " framing!";
  TPointSeries* s = f.parityError || f.framingError ? decodedErrors_.get() : decoded_.get();
  s->AddPointXY(x, kDecodedLevel, text, s->SeriesColor());
}

void TSignalViews::DrawReceived() {
  if (channel_) {
    DrawChannelReceived();
    return;
  }
  const std::vector<TReceivedBit>& bits = receiver_.Bits();
  for (; drawnBits_ < bits.size(); ++drawnBits_) AddSample(bits[drawnBits_]);
  const std::vector<TReceivedFrame>& frames = receiver_.Frames();
  for (; drawnFrames_ < frames.size(); ++drawnFrames_) {
    const TReceivedFrame& f = frames[drawnFrames_];
    if (f.bitCount <= 0 || static_cast<std::size_t>(f.firstBit + f.bitCount) > bits.size()) break;
    AddDecoded(f);
  }
}

void TSignalViews::DrawChannelReceived() {
  // results drawn already changed: draw the window's again
  if (channel_->ResultsRevision() != channelRevision_) {
    ShowChannelReceiver(channel_, windowMin_, windowMax_);
    return;
  }
  // only the window's decisions: the history's would cost a point per bit sent
  const std::size_t bits = channel_->ReceivedBitCount();
  for (; channelBits_ < bits; ++channelBits_) {
    const TReceivedBit b = channel_->ReceivedBit(channelBits_);
    if (b.x > windowMax_) break;
    if (b.x >= windowMin_) AddSample(b);
  }
  const std::size_t frames = channel_->FrameCount();
  for (; channelFrames_ < frames; ++channelFrames_) {
    const TReceivedFrame f = channel_->Frame(channelFrames_);
    if (f.startX > windowMax_) break;
    if (f.endX >= windowMin_) AddDecoded(f);
  }
}

void TSignalViews::ShowChannelReceiver(const TChannel* channel, double x0, double x1) {
  if (!channel && !channel_) return;  // the ideal receiver's drawing stands
  for (TChartSeries* s : SeriesOf(svReceiver)) s->RemoveAllPoints();
  channel_ = channel;
  windowMin_ = x0;
  windowMax_ = x1;
  if (!channel_) {
    drawnBits_ = drawnFrames_ = 0;  // the ideal receiver's reading, drawn again whole
    DrawReceived();
    return;
  }
  channelBits_ = channel_->FirstReceivedBitAt(x0);
  // the first frame that ends in the window: frames follow each other in time
  std::size_t lo = 0, hi = channel_->FrameCount();
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    if (channel_->Frame(mid).endX < x0)
      lo = mid + 1;
    else
      hi = mid;
  }
  channelFrames_ = lo;
  channelRevision_ = channel_->ResultsRevision();
  DrawChannelReceived();
}

void TSignalViews::Restart(const TTransmissionInputs& inputs) {
  // the dots of the run before stay on the chart, and their texts with them
  for (int i = 0; i < samples_->PointCount(); ++i)
    if (samples_->PointLabel(i).empty()) samples_->SetPointLabel(i, DotHint(i));
  receiver_.Clear();
  drawnBits_ = drawnFrames_ = 0;
  line_ = {inputs.BitTime(), static_cast<TLineEncoding>(inputs.Encoding()), inputs.StartStopBits(),
           inputs.Parity()};
  receiver_.SetLine(line_, 0);
  lineKnown_ = true;
  frame_.started = false;  // a frame left half sent goes on from time 0
  tickXs_.clear();
  tickYs_.clear();
}

void TSignalViews::Clear() {
  for (TChartSeries* s : AllSeries())
    s->RemoveAllPoints();
  channelBits_ = channelFrames_ = 0;
  receiver_.Clear();
  drawnBits_ = drawnFrames_ = 0;
  lineKnown_ = false;
  frame_.started = false;
  tickXs_.clear();
  tickYs_.clear();
}

std::string TSignalViews::HintAt(int x, int y) const {
  if (!shown_[svReceiver] || samples_->FirstVisible < 0) return {};
  const int last = std::min(samples_->LastVisible, samples_->PointCount() - 1);
  for (int i = samples_->FirstVisible; i <= last; ++i) {
    if (std::abs(samples_->XPixel(i) - x) <= kHintRadius &&
        std::abs(samples_->YPixel(i) - y) <= kHintRadius)
      return DotHint(i);
  }
  return {};
}

std::string TSignalViews::DotHint(int i) const {
  if (!samples_->PointLabel(i).empty()) return samples_->PointLabel(i);
  // the dots are kept in time order, and so are the receiver's bits since START
  const std::vector<TReceivedBit>& bits = receiver_.Bits();
  const double x = samples_->XValueAt(i);
  const auto b = std::lower_bound(bits.begin(), bits.end(), x,
                                  [](const TReceivedBit& bit, double v) { return bit.x < v; });
  return b != bits.end() && b->x == x ? SampleHint(*b) : std::string();
}

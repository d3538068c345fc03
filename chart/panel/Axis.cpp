#include "chart/panel/Axis.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "chart/ChartErrors.h"
#include "chart/canvas/ChartFont.h"
#include "chart/panel/AxisPanel.h"
#include "toolkit/Rounding.h"

// ---------------------------------------------------------------- title

TChartAxisTitle::TChartAxisTitle(TCustomAxisPanel& panel, int defaultAngle)
    : panel_(panel),
      angle_(defaultAngle),
      defaultAngle_(defaultAngle),
      font_(NewDefaultFont([&panel] { panel.ToolChanged(); })) {}

void TChartAxisTitle::SetAngle(int angle) {
  ValidateAngle(angle, "Axis Title");
  if (tk::Change(angle_, angle)) panel_.Invalidate();
}

void TChartAxisTitle::SetCaption(const std::string& caption) {
  if (tk::Change(caption_, caption)) panel_.Invalidate();
}

void TChartAxisTitle::Assign(const TChartAxisTitle& o) {
  angle_ = o.angle_;
  caption_ = o.caption_;
  font_->Assign(o.font_->Value());
}

// ---------------------------------------------------------------- construction

TCustomChartAxis::TCustomChartAxis(TCustomAxisPanel& panel, bool horizontal, bool otherSide,
                                   bool depth)
    : panel_(panel),
      horizontal_(horizontal),
      otherSide_(otherSide),
      depth_(depth),
      axisPen_([&panel] { panel.ToolChanged(); }),
      title_(panel, horizontal || depth ? 0 : (otherSide ? 270 : 90)),
      labelsFont_(NewDefaultFont([&panel] { panel.ToolChanged(); })),
      grid_([&panel] { panel.ToolChanged(); }),
      minorGrid_([&panel] { panel.ToolChanged(); }),
      minorTicks_([&panel] { panel.ToolChanged(); }),
      ticks_([&panel] { panel.ToolChanged(); }),
      ticksInner_([&panel] { panel.ToolChanged(); }) {
  ticks_list_.reserve(2000);
  panel_.RegisterAxis(this);
}

TCustomChartAxis::~TCustomChartAxis() = default;

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel& panel) : TChartAxis(panel, false, true, true) {
  SetVisible(false);
}

void TCustomChartAxis::Changed() {
  panel_.Invalidate();
}

// ---------------------------------------------------------------- limits

void TCustomChartAxis::SetAutomatic(bool on) {
  const bool min = panel_.IsLoading() ? automaticMinimum_ : on;
  const bool max = panel_.IsLoading() ? automaticMaximum_ : on;
  SetAutomaticFlags(on, min, max);
}

void TCustomChartAxis::SetAutomaticMaximum(bool on) {
  SetAutomaticFlags(on ? automaticMinimum_ || automatic_ : false, automaticMinimum_, on);
}

void TCustomChartAxis::SetAutomaticMinimum(bool on) {
  SetAutomaticFlags(on ? automaticMaximum_ || automatic_ : false, on, automaticMaximum_);
}

void TCustomChartAxis::SetAutomaticFlags(bool automatic, bool minimum, bool maximum) {
  // the flags are one setting: repaint only when any of them changes
  if (automatic == automatic_ && minimum == automaticMinimum_ && maximum == automaticMaximum_)
    return;
  automatic_ = automatic;
  automaticMinimum_ = minimum;
  automaticMaximum_ = maximum;
  Changed();
}

void TCustomChartAxis::SetMinimum(double v) {
  if (!panel_.IsLoading() && v > maximum_)
    throw AxisException("Axis Minimum Value must be <= Maximum");
  Set(minimum_, v);
}

void TCustomChartAxis::SetMaximum(double v) {
  if (!panel_.IsLoading() && v < minimum_)
    throw AxisException("Axis Maximum Value must be >= Minimum");
  Set(maximum_, v);
}

void TCustomChartAxis::SetIncrement(double v) {
  if (!(v >= 0)) throw AxisException("Axis increment must be >= 0");  // NaN too
  Set(increment_, v);
}

void TCustomChartAxis::SetLogarithmic(bool on) {
  if (on && !logarithmic_) {
    if (HasDateTimeValues()) throw AxisException("DateTime Axis cannot be Logarithmic");
    const double min = CurrentMinimum, max = CurrentMaximum, range = CurrentRange;
    UpdateLimits();
    const bool negative = CurrentMinimum < 0 || CurrentMaximum < 0;
    if (negative) {
      CurrentMinimum = min, CurrentMaximum = max, CurrentRange = range;
      throw AxisException("Logarithmic Axis Min and Max values should be >= 0");
    }
  }
  Set(logarithmic_, on);
}

void TCustomChartAxis::SetLogarithmicBase(int base) {
  if (base < 2) throw AxisException("Axis Logarithmic Base should be >= 2");
  Set(logarithmicBase_, base);
}

void TCustomChartAxis::SetLabelsAngle(int angle) {
  ValidateAngle(angle, "Axis Labels");
  Set(labelsAngle_, angle);
}

void TCustomChartAxis::SetLabelsSeparation(int percent) {
  if (percent < 0) throw AxisException("Labels Separation % must be greater than 0");
  Set(labelsSeparation_, percent);
}

void TCustomChartAxis::SetLimits(double min, double max) {
  automatic_ = automaticMinimum_ = automaticMaximum_ = false;
  if (min > max) std::swap(min, max);
  Set(minimum_, min);
  Set(maximum_, max);
  if (maximum_ - minimum_ < 1e-10) Set(maximum_, minimum_ + 1e-10);
}

void TCustomChartAxis::ShiftRange(double offset, bool checkLimits) {
  const bool proceed = !checkLimits ||
                       (offset > 0 && panel_.SeriesLimit(*this, false, horizontal_) > maximum_) ||
                       (offset < 0 && panel_.SeriesLimit(*this, true, horizontal_) < minimum_);
  if (!proceed) return;
  automatic_ = automaticMinimum_ = automaticMaximum_ = false;
  maximum_ += offset;
  minimum_ += offset;
  panel_.Invalidate();
}

void TCustomChartAxis::UpdateLimits() {
  if (automatic_ || automaticMaximum_) maximum_ = panel_.SeriesLimit(*this, false, horizontal_);
  if (automatic_ || automaticMinimum_) minimum_ = panel_.SeriesLimit(*this, true, horizontal_);
  CurrentMaximum = maximum_;
  CurrentMinimum = minimum_;
  CurrentRange = CurrentMaximum - CurrentMinimum;
}

// ---------------------------------------------------------------- pixels

void TCustomChartAxis::UpdatePixels() {
  const tk::TRect& r = panel_.ChartRect;
  const int origin = horizontal_ ? r.left : r.top;
  const int length = horizontal_ ? panel_.ChartWidth : panel_.ChartHeight;
  StartPixel = origin + tk::RoundToInt(length * 0.01 * startPosition_);
  EndPixel = origin + tk::RoundToInt(length * 0.01 * endPosition_);
  AxisPixels = EndPixel - StartPixel;
  CenterPixel = (StartPixel + EndPixel) / 2;
}

void TCustomChartAxis::WidenForMargins(int first, int second) {
  const int oldStart = StartPixel, oldEnd = EndPixel;
  StartPixel += first;
  EndPixel -= second;
  AxisPixels = EndPixel - StartPixel;
  const double a = PixelToValue(oldStart), b = PixelToValue(oldEnd);
  UpdatePixels();
  CurrentMinimum = std::min(a, b);
  CurrentMaximum = std::max(a, b);
  CurrentRange = CurrentMaximum - CurrentMinimum;
}

namespace {

// from + sign * round(d) in the int range: d below 2^31 still passes it once
// the axis end is added
int PixelAt(int from, int sign, double d) {
  const long long p = from + sign * static_cast<long long>(tk::RoundToInt(d));
  return static_cast<int>(
      std::clamp<long long>(p, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

int TCustomChartAxis::ValueToPixelX(double value) const {
  if (CurrentRange == 0) return CenterPixel;
  const double d = (value - CurrentMinimum) * AxisPixels / CurrentRange;
  // NaN and far-away values have no place on the axis: they sit at its centre
  if (!(std::fabs(d) < 2147483647.0)) return CenterPixel;
  return inverted_ ? PixelAt(EndPixel, -1, d) : PixelAt(StartPixel, 1, d);
}

int TCustomChartAxis::ValueToPixelY(double value) const {
  if (CurrentRange == 0) return CenterPixel;
  const double d = (value - CurrentMinimum) * AxisPixels / CurrentRange;
  if (!(std::fabs(d) < 2147483647.0)) return CenterPixel;
  return inverted_ ? PixelAt(StartPixel, 1, d) : PixelAt(EndPixel, -1, d);
}

int TCustomChartAxis::ValueToPixel(double value) const {
  if (depth_) {
    const int D = panel_.TotalDepth;
    if (CurrentRange == 0 || !std::isfinite(value)) return D / 2;
    // far outside the range the offset saturates at the ends of the int range
    const double part = inverted_ ? CurrentMaximum - value : value - CurrentMinimum;
    return tk::RoundToInt(D * part / CurrentRange);
  }
  if (logarithmic_) {
    const double logMin = CurrentMinimum > 0 ? std::log(CurrentMinimum) : 0;
    const double logMax = CurrentMaximum > 0 ? std::log(CurrentMaximum) : 0;
    const double span = logMax - logMin;
    if (span == 0 || std::isnan(value)) return CenterPixel;
    if (value <= 0)
      return (horizontal_ && inverted_) || (!horizontal_ && !inverted_) ? EndPixel : StartPixel;
    const double d = inverted_ ? logMax - std::log(value) : std::log(value) - logMin;
    const double p = d * AxisPixels / span;
    if (!(std::fabs(p) < 2147483647.0)) return CenterPixel;
    return horizontal_ ? PixelAt(StartPixel, 1, p) : PixelAt(EndPixel, -1, p);
  }
  return horizontal_ ? ValueToPixelX(value) : ValueToPixelY(value);
}

double TCustomChartAxis::NextPixelValue(int pixel) const {
  if (depth_ || logarithmic_ || !(CurrentRange > 0) || AxisPixels <= 0)
    return TSeriesAxis::NextPixelValue(pixel);
  // pixels grow with values from the start of a horizontal axis, from the end of a vertical one
  const bool fromStart = horizontal_ != inverted_;
  const int r0 = fromStart ? pixel - (horizontal_ ? StartPixel : EndPixel)
                           : (horizontal_ ? EndPixel : StartPixel) - pixel;
  return CurrentMinimum + (r0 + 0.5) * CurrentRange / AxisPixels;
}

double TCustomChartAxis::PixelToValue(int pixel) const {
  if (AxisPixels <= 0) return 0;
  if (logarithmic_) {
    const bool startIsMax = (horizontal_ && inverted_) || (!horizontal_ && !inverted_);
    if (pixel == StartPixel) return startIsMax ? CurrentMaximum : CurrentMinimum;
    if (pixel == EndPixel) return startIsMax ? CurrentMinimum : CurrentMaximum;
    const double logMin = CurrentMinimum > 0 ? std::log(CurrentMinimum) : 0;
    const double logMax = CurrentMaximum > 0 ? std::log(CurrentMaximum) : 0;
    const double span = logMax - logMin;
    if (span == 0) return CurrentMinimum;
    const double t = span * (inverted_ ? EndPixel - pixel : pixel - StartPixel) / AxisPixels;
    return horizontal_ ? std::exp(logMin + t) : std::exp(logMax - t);
  }
  const double t = (inverted_ ? EndPixel - pixel : pixel - StartPixel) * CurrentRange / AxisPixels;
  return horizontal_ ? CurrentMinimum + t : CurrentMaximum - t;
}

bool TCustomChartAxis::HasDateTimeValues() const {
  for (TChartSeries* s : panel_.SeriesList()) {
    if (s->Active() && s->UsesAxis(this))
      return horizontal_ ? s->XValues().DateTime() : s->YValues().DateTime();
  }
  return false;
}

bool TCustomChartAxis::AxisHitTest(int x, int y) const {
  if (!panel_.AxisShown(*this)) return false;
  const int a0 = std::min(StartPixel, EndPixel), a1 = std::max(StartPixel, EndPixel);
  int c0 = std::min(LabelsPos, AxisLinePos), c1 = std::max(LabelsPos, AxisLinePos);
  // three pixels more beyond the axis line, on its side away from the labels
  if (AxisLinePos >= LabelsPos)
    c1 += 3;
  else
    c0 -= 3;
  const int along = horizontal_ ? x : y, across = horizontal_ ? y : x;
  return along >= a0 && along < a1 && across >= c0 && across < c1;
}

// ---------------------------------------------------------------- placement

int TCustomChartAxis::EdgeOf(const tk::TRect& r) const {
  if (horizontal_) return otherSide_ ? r.top : r.bottom;
  return otherSide_ ? r.right : r.left;
}

int TCustomChartAxis::PositionOffset(int p, const tk::TRect& r) const {
  if (positionPercent_ == 0) return p;
  int k = tk::RoundToInt(positionPercent_ * 0.01 * (horizontal_ ? r.Height() : r.Width()));
  if (otherSide_) k = -k;
  return horizontal_ ? p - k : p + k;
}

int TCustomChartAxis::WallSize() const {
  return panel_.WallSize(*this);
}

int TCustomChartAxis::TickBandSize() const {
  int size = (axisPen_.Visible() ? axisPen_.Width() : 0) + (ticks_.Visible() ? tickLength_ : 0);
  if (minorTicks_.Visible()) size = std::max(size, minorTickLength_);
  return size;
}

int TCustomChartAxis::TitleBandSize() {
  if (titleSize_ != 0) return titleSize_;
  panel_.SelectFont(title_.Font());
  const int angle = title_.Angle();
  const bool along = horizontal_ ? (angle == 0 || angle == 180) : (angle == 90 || angle == 270);
  return along ? panel_.Canvas().FontPixelHeight()
               : panel_.Canvas().MeasureTextWidth(title_.Caption());
}

int TCustomChartAxis::LabelBandSize() {
  if (labelsSize_ != 0) return labelsSize_;
  panel_.SelectFont(*labelsFont_);
  const bool along = horizontal_ ? (labelsAngle_ == 0 || labelsAngle_ == 180)
                                 : (labelsAngle_ == 90 || labelsAngle_ == 270);
  if (along) return panel_.Canvas().FontPixelHeight();
  return WidestLabel();
}

int TCustomChartAxis::WidestLabel() {
  switch (EffectiveLabelStyle()) {
    case talValue: {
      double low = CurrentMinimum, high = CurrentMaximum;
      if ((UsesDateTime && exactDateTime_) || roundFirstLabel_) {
        const double step = LabelStep();
        if (step > 0 && std::isfinite(low / step) && std::isfinite(high / step)) {
          low = std::trunc(low / step) * step;
          high = std::trunc(high / step) * step;
        }
      }
      suspendLabelEvent_ = true;
      panel_.SelectFont(*labelsFont_);
      const int a = LabelWidth(low), b = LabelWidth(high);
      suspendLabelEvent_ = false;
      return std::max(a, b) + panel_.Canvas().MeasureTextWidth(" ");
    }
    case talMark:
      return panel_.WidestMark();
    case talText:
      return panel_.WidestXLabel();
    default:
      return 0;
  }
}

void TCustomChartAxis::PlaceInRect(tk::TRect& r, bool inflate) {
  UsesDateTime = HasDateTimeValues();
  auto outward = [&](int p, int n) {
    if (horizontal_) return otherSide_ ? p - n : p + n;
    return otherSide_ ? p + n : p - n;
  };
  auto shrink = [&](int n) {
    if (horizontal_) {
      if (otherSide_)
        r.top += n;
      else
        r.bottom -= n;
    } else {
      if (otherSide_)
        r.right -= n;
      else
        r.left += n;
    }
  };
  if (!inflate) {
    AxisLinePos = PositionOffset(EdgeOf(r), r);
    LabelsPos = outward(AxisLinePos, TickBandSize());
    TitlePos = outward(LabelsPos, LabelBandSize());
    return;
  }
  const tk::TRect original = r;
  if (depth_) {
    TitlePos = r.right;
  } else if (!title_.Caption().empty()) {
    shrink(TitleBandSize());
    TitlePos = EdgeOf(r);
  }
  if (labels_) {
    shrink(LabelBandSize());
    LabelsPos = EdgeOf(r);
  }
  const int n = TickBandSize() + WallSize();
  if (n > 0) shrink(n);
  TitlePos = PositionOffset(TitlePos, original);
  LabelsPos = PositionOffset(LabelsPos, original);
}

void TCustomChartAxis::Assign(const TCustomChartAxis& o) {
  horizontal_ = o.horizontal_;
  otherSide_ = o.otherSide_;
  depth_ = o.depth_;
  automatic_ = o.automatic_, automaticMaximum_ = o.automaticMaximum_,
  automaticMinimum_ = o.automaticMinimum_;
  maximum_ = o.maximum_, minimum_ = o.minimum_, increment_ = o.increment_;
  logarithmic_ = o.logarithmic_, logarithmicBase_ = o.logarithmicBase_, inverted_ = o.inverted_;
  startPosition_ = o.startPosition_, endPosition_ = o.endPosition_,
  positionPercent_ = o.positionPercent_;
  visible_ = o.visible_;
  axisPen_.Assign(o.axisPen_);
  title_.Assign(o.title_);
  titleSize_ = o.titleSize_;
  labels_ = o.labels_, labelsAngle_ = o.labelsAngle_;
  labelsFont_->Assign(o.labelsFont_->Value());
  labelsMultiLine_ = o.labelsMultiLine_, labelsOnAxis_ = o.labelsOnAxis_;
  labelsSeparation_ = o.labelsSeparation_, labelsSize_ = o.labelsSize_, labelStyle_ = o.labelStyle_;
  axisValuesFormat_ = o.axisValuesFormat_, dateTimeFormat_ = o.dateTimeFormat_;
  exactDateTime_ = o.exactDateTime_, roundFirstLabel_ = o.roundFirstLabel_;
  grid_.Assign(o.grid_);
  gridCentered_ = o.gridCentered_;
  minorGrid_.Assign(o.minorGrid_);
  minorTickCount_ = o.minorTickCount_, minorTickLength_ = o.minorTickLength_;
  minorTicks_.Assign(o.minorTicks_);
  tickInnerLength_ = o.tickInnerLength_, tickLength_ = o.tickLength_,
  tickOnLabelsOnly_ = o.tickOnLabelsOnly_;
  ticks_.Assign(o.ticks_);
  ticksInner_.Assign(o.ticksInner_);
  Changed();
}

// Where an axis puts its labels: the label step, the label style, the label
// passes (default values, logarithmic, custom, series labels, depth) and the
// label text.
#include <algorithm>
#include <cmath>
#include <limits>

#include "chart/panel/Axis.h"
#include "chart/panel/AxisPanel.h"
#include "chart/panel/TextLines.h"
#include "toolkit/Format.h"
#include "toolkit/Rounding.h"

namespace {

constexpr double kMinimumIncrement = 1e-12;
constexpr double kLabelCountLimit = 10000;
constexpr int kCustomLabelLimit = 2000;
constexpr double kCustomLabelTolerance = 1e-7;
constexpr double kSecond = 1.0 / 86400;
constexpr double kDay = 1.0;
constexpr int kNoDateTimeStep = 25;

constexpr double kDateTimeSteps[25] = {
    kSecond,        5 * kSecond,    10 * kSecond,    15 * kSecond,    30 * kSecond,
    60 * kSecond,   300 * kSecond,  600 * kSecond,   900 * kSecond,   1800 * kSecond,
    3600 * kSecond, 7200 * kSecond, 21600 * kSecond, 43200 * kSecond, kDay,
    2 * kDay,       3 * kDay,       7 * kDay,        15 * kDay,       30 * kDay,
    60 * kDay,      90 * kDay,      120 * kDay,      182 * kDay,      365 * kDay,
};

}  // namespace

double DateTimeStepDays(int index) {
  return index >= 0 && index < 25 ? kDateTimeSteps[index] : 0;
}

// ---------------------------------------------------------------- the step

double TCustomChartAxis::NextNiceStep(double x) {
  if (!(x > 0) || !std::isfinite(x)) return x;  // nothing nicer to find
  if (x >= 10) return 10 * NextNiceStep(x * 0.1);
  if (x < 1) return 0.1 * NextNiceStep(x * 10);
  if (x < 2) return 2;
  if (x < 5) return 5;
  return 10;
}

int TCustomChartAxis::LabelExtent(double value) {
  int lines = 1;
  const int width = LabelWidth(value, &lines);
  const int height = panel_.Canvas().FontPixelHeight() * lines;
  if (horizontal_) return labelsAngle_ == 90 || labelsAngle_ == 270 ? height : width;
  return labelsAngle_ == 0 || labelsAngle_ == 180 ? height : width;
}

int TCustomChartAxis::LabelCountThatFits(int maxLabelSize) const {
  if (maxLabelSize <= 0) return 1;
  if (labelsSeparation_ > 0)
    maxLabelSize += tk::RoundToInt(labelsSeparation_ * 0.01 * maxLabelSize);
  // Only whole labels fit: rounding 24.6 up to 25 would crowd 25 labels of
  // 13 pixels into 320 and neighbours would touch.
  return AxisPixels / maxLabelSize;
}

double TCustomChartAxis::StepForLabelCount(int maxNumLabels) const {
  if (maxNumLabels < 1) return UsesDateTime ? kSecond : kMinimumIncrement;
  if (UsesDateTime) {
    double d = std::max(kSecond, increment_);
    if (!std::isfinite(CurrentRange)) return d;
    if (d > 0) {
      if (CurrentRange / d > 1000000) d = CurrentRange / 1000000;
      while (tk::RoundHalfEven(CurrentRange / d) > maxNumLabels) {
        if (d >= 365 * kDay) {
          d *= 2;
        } else {
          int largestNotAbove = -1;
          for (int i = 0; i < 25; ++i)
            if (kDateTimeSteps[i] <= d) largestNotAbove = i;
          d = largestNotAbove < 24 ? kDateTimeSteps[largestNotAbove + 1] : d * 2;
        }
      }
    }
    return std::max(kSecond, d);
  }
  double step =
      increment_ > 0 ? increment_ : (std::fabs(CurrentRange) >= 1 ? 1.0 : kMinimumIncrement);
  if (labelsSeparation_ > 0 && std::isfinite(CurrentRange)) {
    // Below the minimum increment (a denormal desired step) the next nice step
    // may give its argument back and the search would never end; the result is
    // raised to the minimum anyway, so the search starts there.
    step = std::max(step, kMinimumIncrement);
    long long n = static_cast<long long>(maxNumLabels) + 1;
    do {
      const double q = CurrentRange / step;
      if (std::fabs(q) < 2147483647.0) {
        n = tk::RoundHalfEven(q);
        if (n > maxNumLabels) step = NextNiceStep(step);
      } else {
        step = NextNiceStep(step);
      }
    } while (n > maxNumLabels && std::isfinite(step));
  }
  return std::max(kMinimumIncrement, step);
}

double TCustomChartAxis::LabelStep() {
  panel_.SelectFont(*labelsFont_);
  const int maxLabelSize = std::max(LabelExtent(CurrentMaximum), LabelExtent(CurrentMinimum));
  return StepForLabelCount(LabelCountThatFits(maxLabelSize));
}

// ---------------------------------------------------------------- style and text

TAxisLabelStyle TCustomChartAxis::EffectiveLabelStyle() const {
  if (labelStyle_ != talAuto) return labelStyle_;
  if (depth_) {
    for (TChartSeries* s : panel_.SeriesList())
      if (s->Active() && s->LowestZ() != s->HighestZ()) return talValue;
    return talText;
  }
  TAxisLabelStyle result = talNone;
  for (TChartSeries* s : panel_.SeriesList()) {
    if (!s->Active() || !s->UsesAxis(this)) continue;
    result = talValue;
    const bool ordering = horizontal_ == s->YIsMandatory();
    if (ordering && s->PointCount() > 0 && !s->PointLabel(0).empty()) return talText;
  }
  return result;
}

bool TCustomChartAxis::LabelEventApplies() const {
  return panel_.OnGetAxisLabel && !suspendLabelEvent_;
}

std::string TCustomChartAxis::MakeLabelText(double value) const {
  if (!UsesDateTime) return tk::FormatFloat(axisValuesFormat_, value);
  if (value < 0) return {};
  const std::string& f = !dateTimeFormat_.empty() ? dateTimeFormat_
                         : CurrentRange > 1       ? tk::ShortDateFormat()
                                                  : tk::ShortTimeFormat();
  return tk::FormatDateTime(f, value);
}

TLabelTextCache::TEntry& TCustomChartAxis::CachedLabel(double value) {
  const std::string& f = !UsesDateTime              ? axisValuesFormat_
                         : !dateTimeFormat_.empty() ? dateTimeFormat_
                         : CurrentRange > 1         ? tk::ShortDateFormat()
                                                    : tk::ShortTimeFormat();
  labelTexts_.UseFormat(f, UsesDateTime, labelsMultiLine_, tk::FormatLocaleGeneration());
  return labelTexts_.Entry(value, [this](double v) {
    std::string text = MakeLabelText(v);
    if (labelsMultiLine_) std::replace(text.begin(), text.end(), ' ', kLineSeparator);
    return text;
  });
}

std::string TCustomChartAxis::FormatLabel(double value) {
  // the label event may answer from anything, so its labels are never kept
  if (!LabelEventApplies()) return CachedLabel(value).text;
  std::string text = MakeLabelText(value);
  panel_.OnGetAxisLabel(this, nullptr, -1, text);
  if (labelsMultiLine_) std::replace(text.begin(), text.end(), ' ', kLineSeparator);
  return text;
}

int TCustomChartAxis::LabelWidth(double value, int* lines) {
  if (LabelEventApplies()) return panel_.WidthOfLines(FormatLabel(value), lines);
  TLabelTextCache::TEntry& e = CachedLabel(value);
  const tk::TSurface& s = panel_.Canvas().Surface();
  labelTexts_.UseMeasure(s.font, s.MeasuringType(), s.PixelRatio());
  return labelTexts_.Width(
      e, [this](const std::string& text, int* n) { return panel_.WidthOfLines(text, n); }, lines);
}

int TCustomChartAxis::DateTimeStepFor(double step) const {
  if (!UsesDateTime || !exactDateTime_ || increment_ == 0) return kNoDateTimeStep;
  int found = kNoDateTimeStep;
  for (int i = 0; i < 25; ++i)
    if (std::fabs(kDateTimeSteps[i] - increment_) <= kSecond) found = i;
  if (found == kNoDateTimeStep) return found;
  while (step > kDateTimeSteps[found] && found < 24)
    ++found;
  return found;
}

// ---------------------------------------------------------------- passes

double TCustomChartAxis::StepBack(double value, double step) const {
  if (!(UsesDateTime && exactDateTime_ && dateTimeStep_ >= 18 && dateTimeStep_ <= 24))
    return value - step;
  tk::TDateParts p = tk::DecodeDateTime(value);
  p.hour = p.minute = p.second = p.millisecond = 0;
  if (dateTimeStep_ == 18) {
    if (p.day >= 16) {
      p.day = 15;
    } else if (p.day >= 2) {
      p.day = 1;
    } else {
      return tk::IncMonth(tk::EncodeDate(p.year, p.month, 15), -1);
    }
    return tk::EncodeDateTime(p);
  }
  if (dateTimeStep_ == 24) {
    if (p.year <= 1) return -std::numeric_limits<double>::infinity();  // no year before the first
    p.year -= 1;
    p.day = std::min(p.day, tk::DaysInMonth(p.year, p.month));
    return tk::EncodeDateTime(p);
  }
  static const int kMonths[] = {1, 2, 3, 4, 6};
  return tk::IncMonth(tk::EncodeDate(p.year, p.month, 1), -kMonths[dateTimeStep_ - 19]);
}

double TCustomChartAxis::IncrementValue(double value, double step) const {
  if (!(exactDateTime_ && HasDateTimeValues())) return value + step;
  int found = kNoDateTimeStep;
  for (int i = 0; i < 25; ++i)
    if (std::fabs(kDateTimeSteps[i] - step) <= kSecond) found = i;
  if (found < 18 || found > 24) return value + step;
  if (found == 18) {
    // half a month keeps its phase: the 10th goes to the 25th, the 25th to the 10th
    tk::TDateParts p = tk::DecodeDateTime(value);
    if (p.day <= 15) {
      p.day = std::min(p.day + 15, tk::DaysInMonth(p.year, p.month));
      return tk::EncodeDateTime(p);
    }
    const int day = p.day - 15;
    p.day = 1;
    const double next = tk::IncMonth(tk::EncodeDateTime(p), 1);
    return next + (day - 1);
  }
  static const int kMonths[] = {1, 2, 3, 4, 6, 12};
  return tk::IncMonth(value, kMonths[found - 19]);
}

void TCustomChartAxis::PlaceValueLabel(double value) {
  const int p = ValueToPixel(value);
  if (labelsOnAxis_ || (StartPixel < p && p < EndPixel)) {
    if (!tickOnLabelsOnly_) AddTick(p);
    if (labels_) DrawLabel(FormatLabel(value), p);
  }
}

void TCustomChartAxis::DefaultValuePass(double step) {
  if (!(std::fabs(CurrentRange / step) < kLabelCountLimit))
    return;  // too many labels: none (NaN too)
  double value;
  if (UsesDateTime && exactDateTime_ && dateTimeStep_ >= 14 && dateTimeStep_ < kNoDateTimeStep) {
    value = CurrentMaximum;
    if (value > tk::EncodeDate(1900, 1, 1)) {
      tk::TDateParts p = tk::DecodeDateTime(value);
      p.hour = p.minute = p.second = p.millisecond = 0;
      if (dateTimeStep_ == 18)
        p.day = p.day < 15 ? 1 : 15;
      else if (dateTimeStep_ >= 19 && dateTimeStep_ <= 23)
        p.day = 1;
      else if (dateTimeStep_ == 24)
        p.day = 1, p.month = 1;
      value = tk::EncodeDateTime(p);
    }
  } else if (CurrentMinimum == CurrentMaximum || !roundFirstLabel_) {
    value = CurrentMaximum;
  } else {
    const double q = std::trunc(CurrentMaximum / step);
    value = std::fabs(q) < 9.2e18 ? static_cast<double>(static_cast<long long>(q)) * step
                                  : CurrentMaximum;
  }
  // A little below the minimum, so that a label stepped down onto it exactly is
  // kept. Dividing by (1 + 1e-12) does that only for a minimum of 0 or more; a
  // negative minimum would be pushed above itself and lose its label (-2 on
  // an axis from -2 to 2), so it is multiplied instead.
  // On huge values that share of the minimum spans whole steps (1e-12 of
  // 1e300 is a thousand steps of 1e285), which would add labels below the axis,
  // thousands at one pixel when the range is zero: never more than half a step.
  const double lowerEnd = std::max(CurrentMinimum >= 0 ? (CurrentMinimum - 1e-12) / (1 + 1e-12)
                                                       : (CurrentMinimum - 1e-12) * (1 + 1e-12),
                                   CurrentMinimum - step / 2);
  // bounded by the label count limit; the guard stops a step too small to move the value
  for (int guard = 0; value > CurrentMaximum && guard < 100; ++guard)
    value = StepBack(value, step);
  for (int guard = 0; value >= lowerEnd && guard <= kLabelCountLimit + 2; ++guard) {
    PlaceValueLabel(value);
    const double next = StepBack(value, step);
    if (!(next < value)) break;
    value = next;
  }
}

void TCustomChartAxis::LogarithmicPass() {
  if (CurrentMinimum == CurrentMaximum || !std::isfinite(CurrentMaximum)) return;
  double value, exponent = 0;
  // A first power below the smallest normal double (a minimum near 5e-324)
  // has few bits or is 0, and 0 times the base stays 0: such powers are taken
  // from their exponent, so that every turn moves up and 1 is still 1.
  bool byExponent = false;
  if (CurrentMinimum > 0) {
    exponent = static_cast<double>(
        tk::RoundHalfEven(std::log(CurrentMinimum) / std::log(logarithmicBase_)));
    value = std::pow(logarithmicBase_, exponent);
    byExponent = !(value >= std::numeric_limits<double>::min());
  } else {
    CurrentMinimum = CurrentMinimum == 0 ? 0.1 : 1e-10;  // for the rest of this draw
    value = CurrentMinimum;
  }
  while (value <= CurrentMaximum) {
    if (value >= CurrentMinimum) PlaceValueLabel(value);
    exponent += 1;
    value = byExponent ? std::pow(logarithmicBase_, exponent) : value * logarithmicBase_;
  }
}

void TCustomChartAxis::CustomPass(double step) {
  double value = CurrentMinimum;
  bool stop = true;
  for (int index = 0; index <= kCustomLabelLimit; ++index) {
    panel_.OnGetNextAxisLabel(this, index, value, stop);
    if (stop) {
      if (index == 0) {
        if (logarithmic_ && increment_ == 0)
          LogarithmicPass();
        else
          DefaultValuePass(step);
      }
      return;
    }
    if (value < CurrentMinimum - kCustomLabelTolerance ||
        value > CurrentMaximum + kCustomLabelTolerance)
      return;
    PlaceValueLabel(value);
  }
}

void TCustomChartAxis::SeriesLabelPass(bool marks) {
  std::vector<TChartSeries*> collected;
  int first = -1, last = -1;
  for (TChartSeries* s : panel_.SeriesList()) {
    if (!s->Active() || !s->UsesAxis(this)) continue;
    bool hasText = false;
    for (int i = 0; i < s->PointCount() && !hasText; ++i)
      hasText = !s->PointLabel(i).empty();
    if (!hasText) continue;
    collected.push_back(s);
    // The series find their visible range only when they draw, after the axes;
    // read from the last paint it would lag behind (and be empty on the first).
    s->FindVisibleRange();
    if (s->FirstVisible >= 0)
      first = first < 0 ? s->FirstVisible : std::min(first, s->FirstVisible);
    last = std::max(last, s->LastVisible);
  }
  if (first == -1) return;
  bool drawnOne = false;
  int lastPos = 0, lastHalf = 0;
  for (int i = first; i <= last; ++i) {
    TChartSeries* series = nullptr;
    for (TChartSeries* s : collected)
      if (s->PointCount() > i) {
        series = s;
        break;
      }
    if (!series) continue;
    std::string text = marks ? series->MarkTextOf(i) : series->PointLabel(i);
    if (panel_.OnGetAxisLabel) panel_.OnGetAxisLabel(this, series, i, text);
    const double value = horizontal_ ? series->XValueAt(i) : series->YValueAt(i);
    if (value < CurrentMinimum || value > CurrentMaximum) continue;
    const int p = ValueToPixel(value);
    if (!tickOnLabelsOnly_) AddTick(p);
    if (!labels_) continue;
    int lines = 1;
    const int width = panel_.WidthOfLines(text, &lines);
    const bool along = horizontal_ ? (labelsAngle_ != 90 && labelsAngle_ != 270)
                                   : (labelsAngle_ == 90 || labelsAngle_ == 270);
    const int size = along ? width : panel_.Canvas().FontPixelHeight() * lines;
    if (labelsSeparation_ != 0 && drawnOne) {
      const int half = (size + static_cast<int>(size * 0.02 * labelsSeparation_)) / 2;
      const bool fits =
          p < lastPos ? lastPos - lastHalf >= p + half : p - half >= lastPos + lastHalf;
      if (!fits) continue;
      DrawLabel(text, p);
      lastPos = p;
      lastHalf = half;
    } else {
      DrawLabel(text, p);
      drawnOne = true;
      lastPos = p;
      lastHalf = size / 2;
    }
  }
}

void TCustomChartAxis::DepthPass() {
  if (panel_.SeriesList().CountActive() == 0) return;
  if (!std::isfinite(CurrentMinimum) || !std::isfinite(CurrentMaximum)) return;
  // one label per series: limits beyond the series count (1e300) are cut to
  // what an index can hold before they become integers
  constexpr double kIndexLimit = 2147483647.0;
  const long long from =
                      static_cast<long long>(std::clamp(CurrentMinimum, -kIndexLimit, kIndexLimit)),
                  to =
                      static_cast<long long>(std::clamp(CurrentMaximum, -kIndexLimit, kIndexLimit));
  for (long long i = from; i <= to && i - from <= kCustomLabelLimit; ++i) {
    const int p = ValueToPixel(CurrentMaximum - static_cast<double>(i) - 0.5);
    if (!tickOnLabelsOnly_) AddTick(p);
    if (!labels_) continue;
    // every active series has a depth slot, shown in the legend or not
    std::string text = panel_.ActiveSeriesTitle(static_cast<int>(i));
    if (panel_.OnGetAxisLabel) panel_.OnGetAxisLabel(this, nullptr, static_cast<int>(i), text);
    DrawLabel(text, p);
  }
}

void TCustomChartAxis::RunLabelPass(double step) {
  const bool calendarStep = dateTimeStep_ >= 18 && dateTimeStep_ <= 24;
  if (!((step > 0 || calendarStep) && CurrentMaximum >= CurrentMinimum)) return;
  switch (EffectiveLabelStyle()) {
    case talValue:
      if (panel_.OnGetNextAxisLabel)
        CustomPass(step);
      else if (logarithmic_ && increment_ == 0)
        LogarithmicPass();
      else
        DefaultValuePass(step);
      break;
    case talMark:
      SeriesLabelPass(true);
      break;
    case talText:
      if (depth_)
        DepthPass();
      else
        SeriesLabelPass(false);
      break;
    default:
      break;
  }
}

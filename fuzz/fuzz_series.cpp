// Series and value-list operations in any order, checked after every step
// against a plain model: each operation completes or changes nothing, points
// keep their colours and labels, and the statistics match the values.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "chart/series/Series.h"
#include "toolkit/Errors.h"

namespace {

struct P {
  double x, y;
  tk::TColor color;
  std::string label;
  bool operator==(const P& o) const {
    auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
    return same(x, o.x) && same(y, o.y) && color == o.color && label == o.label;
  }
};

// The series against the model, point by point. Compared in place: copying
// the series into a fresh vector two or three times a step took about half of
// the run's time, mostly in the sanitizer's allocator.
bool Matches(const TChartSeries& s, const std::vector<P>& m) {
  if (s.PointCount() < 0 || static_cast<std::size_t>(s.PointCount()) != m.size()) return false;
  const std::vector<double>& xs = s.XValues().Values();
  const std::vector<double>& ys = s.YValues().Values();
  for (std::size_t i = 0; i < m.size(); ++i) {
    const int at = static_cast<int>(i);
    if (!(P{xs[i], ys[i], s.PointColor(at), s.PointLabel(at)} == m[i])) return false;
  }
  return true;
}

std::size_t AddedIndex(const std::vector<P>& m, double x) {
  for (std::size_t i = m.size(); i-- > 0;)
    if (m[i].x <= x) return i + 1;
  return 0;
}

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  TChartSeries source, series;
  series.SetSeriesColor(tk::clRed);
  for (int i = 0; i < 4; ++i)
    source.AddPointXY(i, i * 2, i % 2 ? "s" : "", tk::clBlue);
  std::vector<P> model;
  auto value = [&] {
    return in.ConsumeBool() ? static_cast<double>(in.ConsumeIntegralInRange(-3, 3))
                            : in.ConsumeFloatingPoint<double>();
  };
  // One index in eight just outside the points (where every operation must
  // throw and change nothing); the rest inside. Drawn evenly from -1..size, a
  // short series threw on most steps, and under the sanitizers each throw costs
  // more than the whole check of the series against the model.
  auto index = [&] {
    const int n = static_cast<int>(model.size());
    if (n == 0 || in.ConsumeIntegralInRange(0, 7) == 0) return in.ConsumeBool() ? -1 : n;
    return in.ConsumeIntegralInRange(0, n - 1);
  };
  // the same for the source's four points
  auto sourceIndex = [&] {
    if (in.ConsumeIntegralInRange(0, 7) == 0) return in.ConsumeBool() ? -1 : 4;
    return in.ConsumeIntegralInRange(0, 3);
  };
  while (in.remaining_bytes() > 0 && model.size() < 500) {
    // the series matched the model after the last step (and both start empty),
    // and the model changes only once the operation has returned: so a throwing
    // operation has left the series as before exactly when it still matches
    try {
      switch (in.ConsumeIntegralInRange(0, 8)) {
        case 0: {
          const double x = value(), y = value();
          const tk::TColor c = in.ConsumeBool() ? tk::clDefault : tk::clGreen;
          const std::string label = in.ConsumeBool() ? "" : "p";
          const std::size_t expected = AddedIndex(model, x);
          const int at = series.AddPointXY(x, y, label, c);
          // NaN compares false either way: only ordinary values pin the index
          if (!std::isnan(x)) Check(static_cast<std::size_t>(at) == expected);
          model.insert(model.begin() + at, {x, y, c == tk::clDefault ? tk::clRed : c, label});
          break;
        }
        case 1: {
          const int i = sourceIndex();
          const int at = series.CopyPointFrom(source, i);
          model.insert(model.begin() + at, {source.XValueAt(i), source.YValueAt(i), tk::clRed, ""});
          break;
        }
        case 2: {
          const int i = sourceIndex();
          series.SourcePointAdded(source, i);
          const std::size_t at = AddedIndex(model, source.XValueAt(i));
          model.insert(model.begin() + static_cast<std::ptrdiff_t>(at),
                       {source.XValueAt(i), source.YValueAt(i), tk::clBlue, source.PointLabel(i)});
          break;
        }
        case 3: {
          const int i = index();
          series.RemovePointAt(i);
          model.erase(model.begin() + i);
          break;
        }
        case 4: {
          const int i = index(), j = index();
          series.ExchangePoints(i, j);
          std::swap(model[static_cast<std::size_t>(i)], model[static_cast<std::size_t>(j)]);
          break;
        }
        case 5: {
          const int i = index();
          series.SetPointColor(i, tk::clYellow);
          model[static_cast<std::size_t>(i)].color = tk::clYellow;
          break;
        }
        case 6: {
          const int i = index();
          series.SetPointLabel(i, "L");
          model[static_cast<std::size_t>(i)].label = "L";
          break;
        }
        case 7: {
          const int i = index();
          const double v = value();
          series.YValues().ReplaceValue(i, v);
          model[static_cast<std::size_t>(i)].y = v;
          break;
        }
        default:
          series.RemoveAllPoints();
          model.clear();
          break;
      }
    } catch (const tk::EListError&) {
      Check(Matches(series, model));
    }
    Check(Matches(series, model));
    // statistics of Y against the model, when the values are plain numbers
    bool plain = !model.empty();
    double lo = 0, hi = 0;
    for (std::size_t i = 0; i < model.size(); ++i) {
      const double y = model[i].y;
      plain = plain && std::isfinite(y);
      if (i == 0 || y < lo) lo = i == 0 ? y : std::min(lo, y);
      if (i == 0 || y > hi) hi = i == 0 ? y : std::max(hi, y);
    }
    if (plain) Check(series.YValues().LowestValue() == lo && series.YValues().HighestValue() == hi);
  }
  return 0;
}

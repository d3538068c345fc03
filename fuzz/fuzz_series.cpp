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

std::vector<P> Snapshot(const TChartSeries& s) {
  std::vector<P> m;
  for (int i = 0; i < s.PointCount(); ++i)
    m.push_back({s.XValues().Values()[static_cast<std::size_t>(i)],
                 s.YValues().Values()[static_cast<std::size_t>(i)], s.PointColor(i),
                 s.PointLabel(i)});
  return m;
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
  auto index = [&] { return in.ConsumeIntegralInRange<int>(-1, static_cast<int>(model.size())); };
  while (in.remaining_bytes() > 0 && model.size() < 500) {
    const std::vector<P> before = Snapshot(series);
    Check(before == model);
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
          const int i = in.ConsumeIntegralInRange(-1, 4);
          const int at = series.CopyPointFrom(source, i);
          model.insert(model.begin() + at, {source.XValueAt(i), source.YValueAt(i), tk::clRed, ""});
          break;
        }
        case 2: {
          const int i = in.ConsumeIntegralInRange(-1, 4);
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
      Check(Snapshot(series) == before);
    }
    Check(Snapshot(series) == model);
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

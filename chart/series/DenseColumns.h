#pragma once
// Lines through dense data, drawn one pixel column at a time: each column
// keeps its first, lowest, highest and last point, the extremes in the order
// they occur, so spikes and the shape of the line survive while a column
// costs at most four segments however many points fall in it. The fast line
// and the line series share this walk.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "chart/series/SeriesHost.h"

// Visible points per pixel column above which a line is drawn by columns.
inline constexpr int kReduceDensity = 4;

inline bool IsDenseForWidth(long long visiblePoints, int plotWidth) {
  return visiblePoints > static_cast<long long>(kReduceDensity) * std::max(1, plotWidth);
}

// Walks the points [from, to) of ascending x, column by column, and calls
// emit(x, y) with pixels for each column's first point, its two extremes and
// its last point. The y extremes are found on values (the mapping is
// monotone) and turned into pixels once per column; each column's points are
// found by comparing x against the value where the next pixel begins, in the
// same pass that finds the extremes, so each value is read once.
template <typename Emit>
void ForEachDenseColumn(const TSeriesAxis& xAxis, const TSeriesAxis& yAxis, const double* xs,
                        const double* ys, double xm, double ym, std::size_t from, std::size_t last,
                        Emit&& emit) {
  const bool flipped = ym < 0;  // a negative multiplier turns the raw extremes round
  auto column = [&](int x, std::size_t first, std::size_t end, double rawLow, std::size_t lowAt,
                    double rawHigh, std::size_t highAt) {
    const double low = (flipped ? rawHigh : rawLow) * ym, high = (flipped ? rawLow : rawHigh) * ym;
    if (flipped) std::swap(lowAt, highAt);
    emit(x, yAxis.ValueToPixel(ys[first] * ym));
    emit(x, yAxis.ValueToPixel(lowAt <= highAt ? low : high));
    emit(x, yAxis.ValueToPixel(lowAt <= highAt ? high : low));
    emit(x, yAxis.ValueToPixel(ys[end - 1] * ym));
  };
  while (from < last) {
    const int x = xAxis.ValueToPixel(xs[from] * xm);
    const double next = xAxis.NextPixelValue(x);
    double lo = ys[from], hi = lo;
    std::size_t loAt = from, hiAt = from, to = from + 1;
    auto take = [&](std::size_t j) {
      const double v = ys[j];
      if (v < lo) lo = v, loAt = j;
      if (v > hi) hi = v, hiAt = j;
    };
    for (;;) {
      if (std::isnan(next) || !(xm > 0)) {  // no boundary to compare with: map each value
        while (to < last && xAxis.ValueToPixel(xs[to] * xm) == x)
          take(to++);
        break;
      }
      if (xm == 1) {
        for (; to < last && xs[to] < next; ++to)
          take(to);
      } else {
        for (; to < last && xs[to] * xm < next; ++to)
          take(to);
      }
      // exactly on the boundary a half may still round back to this pixel
      if (to < last && xAxis.ValueToPixel(xs[to] * xm) == x) {
        take(to++);
        continue;
      }
      break;
    }
    column(x, from, to, lo, loAt, hi, hiAt);
    from = to;
  }
}

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
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "chart/series/SeriesHost.h"

// Visible points per pixel column above which a line is drawn by columns.
inline constexpr int kReduceDensity = 4;

inline bool IsDenseForWidth(long long visiblePoints, int plotWidth) {
  return visiblePoints > static_cast<long long>(kReduceDensity) * std::max(1, plotWidth);
}

namespace dense {

// The first index in (from, last) whose x reaches `next`, or last, for x in
// ascending order. Columns of evenly spread data are about as wide as the one
// before, so the search starts `width` points on and gallops from there, up
// or down, then bisects: most columns cost two neighbouring reads of x
// instead of a read of every x. (A plain bisection from the column start
// costs a dozen reads far apart, each a miss the memory makes us wait for.)
inline std::size_t ColumnEnd(const double* xs, double xm, std::size_t from, std::size_t last,
                             double next, std::size_t width) {
  auto before = [&](std::size_t j) { return xs[j] * xm < next; };  // xm = 1 multiplies exactly
  // lo: from, or an index known to lie before next; hi: last, or one known to reach it
  std::size_t lo = from, hi = std::min(last, from + std::max<std::size_t>(1, width));
  if (hi < last && before(hi)) {  // further on than the guess: gallop up
    lo = hi;
    hi = last;
    for (std::size_t step = 1; step < last - lo; step *= 2) {
      if (!before(lo + step)) {
        hi = lo + step;
        break;
      }
      lo += step;
    }
  } else {  // at or before the guess: gallop down
    for (std::size_t step = 1; step < hi - from; step *= 2) {
      if (before(hi - step)) {
        lo = hi - step;
        break;
      }
      hi -= step;
    }
  }
  while (hi - lo > 1) {
    const std::size_t mid = lo + (hi - lo) / 2;
    (before(mid) ? lo : hi) = mid;
  }
  return hi;
}

// The lowest and highest of ys[from, to) as a plain scan keeps them (a value
// replaces the extreme only when strictly beyond it, so NaNs are passed over
// and a NaN first value stays), and whether the lowest occurs first. The
// scan over y alone runs in four independent lanes (two per SSE2 register); the order is then found
// in the column just read, which is still in the cache.
struct Extremes {
  double low, high;
  bool lowFirst;
};

inline Extremes YExtremes(const double* ys, std::size_t from, std::size_t to) {
  double lo[4], hi[4];
  std::size_t j = from + 1;
#if defined(__SSE2__)
  // min_pd(v, lo) is exactly v < lo ? v : lo, NaNs included
  __m128d l0 = _mm_set1_pd(ys[from]), l1 = l0, h0 = l0, h1 = l0;
  for (; j + 4 <= to; j += 4) {
    const __m128d a = _mm_loadu_pd(ys + j), b = _mm_loadu_pd(ys + j + 2);
    l0 = _mm_min_pd(a, l0);
    h0 = _mm_max_pd(a, h0);
    l1 = _mm_min_pd(b, l1);
    h1 = _mm_max_pd(b, h1);
  }
  _mm_storeu_pd(lo, l0);
  _mm_storeu_pd(lo + 2, l1);
  _mm_storeu_pd(hi, h0);
  _mm_storeu_pd(hi + 2, h1);
#else
  for (int k = 0; k < 4; ++k)
    lo[k] = hi[k] = ys[from];
  for (; j + 4 <= to; j += 4)
    for (int k = 0; k < 4; ++k) {
      const double v = ys[j + k];
      lo[k] = v < lo[k] ? v : lo[k];
      hi[k] = v > hi[k] ? v : hi[k];
    }
#endif
  for (; j < to; ++j) {
    const double v = ys[j];
    lo[0] = v < lo[0] ? v : lo[0];
    hi[0] = v > hi[0] ? v : hi[0];
  }
  Extremes e{lo[0], hi[0], true};
  for (int k = 1; k < 4; ++k) {
    e.low = lo[k] < e.low ? lo[k] : e.low;
    e.high = hi[k] > e.high ? hi[k] : e.high;
  }
  for (j = from; j < to; ++j) {
    if (ys[j] == e.low) break;
    if (ys[j] == e.high) {
      e.lowFirst = false;
      break;
    }
  }
  return e;
}

}  // namespace dense

// Walks the points [from, to) of ascending x, column by column, and calls
// emit(x, y) with pixels for each column's first point, its two extremes and
// its last point. The y extremes are found on values (the mapping is
// monotone) and turned into pixels once per column. A column ends where x
// reaches the value at which the next pixel begins: with x known to ascend
// (xAscending) that end is found by bisection and only y is read through;
// otherwise x is compared point by point in the same pass.
template <typename Emit>
void ForEachDenseColumn(const TSeriesAxis& xAxis, const TSeriesAxis& yAxis, const double* xs,
                        const double* ys, double xm, double ym, std::size_t from, std::size_t last,
                        Emit&& emit, bool xAscending = false) {
  auto column = [&](int x, std::size_t first, std::size_t end, const dense::Extremes& e) {
    // the extreme that occurs first is drawn first, whichever way the multiplier turns them
    const double early = e.lowFirst ? e.low : e.high, late = e.lowFirst ? e.high : e.low;
    emit(x, yAxis.ValueToPixel(ys[first] * ym));
    emit(x, yAxis.ValueToPixel(early * ym));
    emit(x, yAxis.ValueToPixel(late * ym));
    emit(x, yAxis.ValueToPixel(ys[end - 1] * ym));
  };
  std::size_t width = 1;  // the last column's, the guess for the next one's
  while (from < last) {
    const int x = xAxis.ValueToPixel(xs[from] * xm);
    const double next = xAxis.NextPixelValue(x);
    std::size_t to = from + 1;
    if (std::isnan(next) || !(xm > 0)) {  // no boundary to compare with: map each value
      while (to < last && xAxis.ValueToPixel(xs[to] * xm) == x)
        ++to;
    } else if (xAscending) {
      to = dense::ColumnEnd(xs, xm, from, last, next, width);
    } else {
      for (;;) {
        while (to < last && xs[to] * xm < next)
          ++to;
        // past the boundary x may fall back below it again
        if (to < last && xAxis.ValueToPixel(xs[to] * xm) == x) {
          ++to;
          continue;
        }
        break;
      }
    }
    // exactly on the boundary a half may still round back to this pixel
    while (xAscending && to < last && xAxis.ValueToPixel(xs[to] * xm) == x)
      ++to;
    width = to - from;
    // the next column's guessed end is read right after this column's y: ask for it now
    if (xAscending && to + width < last) __builtin_prefetch(xs + to + width);
    column(x, from, to, dense::YExtremes(ys, from, to));
    from = to;
  }
}

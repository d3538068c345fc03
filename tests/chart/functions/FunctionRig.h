#pragma once
// Helpers shared by the series function tests: points of a series, filling a
// source, making a function by its registered name and running it over one source.

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "chart/functions/Functions.h"
#include "chart/panel/SeriesTypes.h"
#include "chart/series/Series.h"

namespace function_tests {

inline const char* const kFunctions[] = {"Add",  "Subtract", "Multiply", "Divide",
                                         "High", "Low",      "Average"};

struct Pt {
  double x, y;
  bool operator==(const Pt&) const = default;
};
using Pts = std::vector<Pt>;

inline void PrintTo(const Pt& p, std::ostream* os) {
  *os << "(" << p.x << ", " << p.y << ")";
}

inline Pts PointsOf(const TChartSeries& s) {
  Pts out;
  for (int i = 0; i < s.PointCount(); ++i)
    out.push_back({s.XValueAt(i), s.YValueAt(i)});
  return out;
}

// x 0, 1, 2, ... unless given
inline void Fill(TChartSeries& s, const std::vector<double>& ys,
                 const std::vector<double>& xs = {}) {
  for (std::size_t i = 0; i < ys.size(); ++i)
    s.AddPointXY(xs.empty() ? static_cast<double>(i) : xs[i], ys[i]);
}

inline std::unique_ptr<TZozFunction> Make(const std::string& name) {
  auto f = CreateFunctionByClassName("T" + name + "ZozFunction");
  EXPECT_NE(f, nullptr) << name;
  return f;
}

// Results whose x is a fraction of a period away from a boundary are compared
// to within rounding.
inline void ExpectPoints(const Pts& got, const Pts& expected, const std::string& what) {
  ASSERT_EQ(got.size(), expected.size()) << what;
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_NEAR(got[i].x, expected[i].x, 1e-9) << what << " point " << i;
    EXPECT_NEAR(got[i].y, expected[i].y, 1e-9) << what << " point " << i;
  }
}

// Runs a function over one source into a parent and answers the parent's points.
// The function goes back to the caller afterwards.
template <typename F>
Pts Compute(std::unique_ptr<F>& f, TChartSeries& parent, TChartSeries& source) {
  F* raw = f.get();
  parent.SetFunction(std::move(f));
  parent.RemoveAllPoints();
  parent.Function()->FillFromSource(&source);
  parent.ReleaseFunction().release();
  f.reset(raw);
  return PointsOf(parent);
}

}  // namespace function_tests

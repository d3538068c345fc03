#pragma once
// A stand-in chart and axes for series tests: linear axes over a chart
// rectangle, a series list, and counters for what the series asked of it.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "chart/series/Series.h"

class StubAxis : public TSeriesAxis {
 public:
  StubAxis(bool horizontal, int startPixel, int endPixel, double min, double max)
      : horizontal_(horizontal), start_(startPixel), end_(endPixel), min_(min), max_(max) {}
  bool IsHorizontal() const override { return horizontal_; }
  bool Inverted() const override { return inverted; }
  // horizontal axes grow rightwards, vertical ones upwards; inverted flips them
  int ValueToPixel(double v) const override {
    const double t = (v - min_) / (max_ - min_);
    const bool fromStart = horizontal_ != inverted;
    const double p = fromStart ? start_ + t * (end_ - start_) : end_ - t * (end_ - start_);
    return static_cast<int>(std::lround(p));
  }
  double PixelToValue(int pixel) const override {
    const bool fromStart = horizontal_ != inverted;
    const double t = fromStart ? double(pixel - start_) / (end_ - start_)
                               : double(end_ - pixel) / (end_ - start_);
    return min_ + t * (max_ - min_);
  }
  std::string LabelText(double v) override {
    std::string text(1, 'x');
    text.append(std::to_string(static_cast<int>(v)));
    return text;
  }
  void SetRange(double min, double max) {
    min_ = min;
    max_ = max;
  }
  bool inverted = false;

 private:
  bool horizontal_;
  int start_, end_;
  double min_, max_;
};

class StubChart : public TSeriesChart {
 public:
  // chart rectangle (0, 0, 999, 199); bottom axis 0..999 over it, left axis 0..199
  StubChart()
      : bottom(true, 0, 999, 0, 999),
        top(true, 0, 999, 0, 999),
        left(false, 0, 199, 0, 199),
        right(false, 0, 199, 0, 199) {}
  ~StubChart() override {
    destroying = true;
    for (TChartSeries* s : std::vector<TChartSeries*>(series))
      s->SetParentChart(nullptr);
  }

  void AddSeries(TChartSeries* s) override {
    series.push_back(s);
    ++joins;
  }
  void RemoveSeries(TChartSeries* s) override {
    std::erase(series, s);
    ++leaves;
  }
  int SeriesCount() const override { return static_cast<int>(series.size()); }
  TChartSeries* SeriesAt(int i) const override { return series[static_cast<size_t>(i)]; }
  void Invalidate() override { ++invalidations; }
  bool IsDestroying() const override { return destroying; }
  tk::TRect ChartRectangle() const override { return rect; }
  TSeriesAxis* GetBottomAxis() const override { return const_cast<StubAxis*>(&bottom); }
  TSeriesAxis* GetTopAxis() const override { return const_cast<StubAxis*>(&top); }
  TSeriesAxis* GetLeftAxis() const override { return const_cast<StubAxis*>(&left); }
  TSeriesAxis* GetRightAxis() const override { return const_cast<StubAxis*>(&right); }
  bool View3D() const override { return view3D; }
  void SetView3D(bool v) override { view3D = v; }
  void SetClipPoints(bool c) override { clipPoints = c; }
  bool AppliesZOrder() const override { return applyZOrder; }
  int MaxZOrder() const override { return maxZOrder; }
  void SetMaxZOrder(int z) override { maxZOrder = z; }
  void CancelMouseAction() override { ++mouseCancels; }
  void CheckDataSource(TChartSeries*) override { ++dataSourceChecks; }
  TZozCanvas3D* DrawingCanvas() const override { return nullptr; }
  void ShowBuffer() override {}

  StubAxis bottom, top, left, right;
  tk::TRect rect{0, 0, 999, 199};
  std::vector<TChartSeries*> series;
  int joins = 0, leaves = 0, invalidations = 0, mouseCancels = 0, dataSourceChecks = 0;
  bool destroying = false, view3D = false, clipPoints = true, applyZOrder = true;
  int maxZOrder = 0;
};

#pragma once
// The seven series functions: a total, a highest, a lowest and an average
// value over a source or across sources, and the difference, product and
// quotient of several sources point by point.

#include "chart/functions/Function.h"

class TAddZozFunction : public TZozFunction {
 public:
  double ComputeForRange(const TChartSeries& source, int first, int last) const override;
  double ComputeAcrossSources(const TFunctionSources& sources, int index) const override;
};

class THighZozFunction : public TZozFunction {
 public:
  double ComputeForRange(const TChartSeries& source, int first, int last) const override;
  double ComputeAcrossSources(const TFunctionSources& sources, int index) const override;
};

class TLowZozFunction : public TZozFunction {
 public:
  double ComputeForRange(const TChartSeries& source, int first, int last) const override;
  double ComputeAcrossSources(const TFunctionSources& sources, int index) const override;
};

class TAverageZozFunction : public TZozFunction {
 public:
  double ComputeForRange(const TChartSeries& source, int first, int last) const override;
  double ComputeAcrossSources(const TFunctionSources& sources, int index) const override;
};

class TSubtractZozFunction : public TManySeriesZozFunction {
 public:
  double CombineTwo(double result, double value) const override { return result - value; }
};

class TMultiplyZozFunction : public TManySeriesZozFunction {
 public:
  double CombineTwo(double result, double value) const override { return result * value; }
};

class TDivideZozFunction : public TManySeriesZozFunction {
 public:
  // a 0 divisor leaves the running quotient as it is
  double CombineTwo(double result, double value) const override {
    return value == 0 ? result : result / value;
  }
};

#include "chart/functions/Functions.h"

#include "chart/series/Series.h"
#include "chart/series/ValueList.h"

namespace {

double RangeSum(const TChartValueList& list, int first, int last) {
  double sum = 0;
  for (int i = first; i <= last; ++i)
    sum += list.ValueAt(i);
  return sum;
}

// The larger (or, with lower set, the smaller) value of a range; 0 when empty.
double RangeExtreme(const TChartValueList& list, int first, int last, bool lower) {
  if (last < first) return 0;
  double r = list.ValueAt(first);
  for (int i = first + 1; i <= last; ++i) {
    const double v = list.ValueAt(i);
    if (lower ? v < r : v > r) r = v;
  }
  return r;
}

}  // namespace

// ---------------------------------------------------------------- Add

double TAddZozFunction::ComputeForRange(const TChartSeries& source, int first, int last) const {
  const TChartValueList& list = ValueListFor(source);
  return first == -1 ? list.ValueSum() : RangeSum(list, first, last);
}

double TAddZozFunction::ComputeAcrossSources(const TFunctionSources& sources, int index) const {
  double sum = 0, v;
  for (const TChartSeries* s : sources)
    if (SourceValueAt(*s, index, v)) sum += v;
  return sum;
}

// ---------------------------------------------------------------- High and Low
// Across sources the first source sets the result whatever it is (when it has
// the index); later ones replace it only when they go further. Without the
// first, the others compete against 0.

double THighZozFunction::ComputeForRange(const TChartSeries& source, int first, int last) const {
  const TChartValueList& list = ValueListFor(source);
  return first == -1 ? list.HighestValue() : RangeExtreme(list, first, last, false);
}

double THighZozFunction::ComputeAcrossSources(const TFunctionSources& sources, int index) const {
  double result = 0, v;
  for (std::size_t k = 0; k < sources.size(); ++k)
    if (SourceValueAt(*sources[k], index, v) && (k == 0 || v > result)) result = v;
  return result;
}

double TLowZozFunction::ComputeForRange(const TChartSeries& source, int first, int last) const {
  const TChartValueList& list = ValueListFor(source);
  return first == -1 ? list.LowestValue() : RangeExtreme(list, first, last, true);
}

double TLowZozFunction::ComputeAcrossSources(const TFunctionSources& sources, int index) const {
  double result = 0, v;
  for (std::size_t k = 0; k < sources.size(); ++k)
    if (SourceValueAt(*sources[k], index, v) && (k == 0 || v < result)) result = v;
  return result;
}

// ---------------------------------------------------------------- Average

double TAverageZozFunction::ComputeForRange(const TChartSeries& source, int first, int last) const {
  const TChartValueList& list = ValueListFor(source);
  if (first == -1) {
    const int n = list.ValueCount();
    return n > 0 ? list.ValueSum() / n : 0;
  }
  // an empty range has no mean; 0 like the other functions' empty ranges
  return last < first ? 0 : RangeSum(list, first, last) / (last - first + 1);
}

double TAverageZozFunction::ComputeAcrossSources(const TFunctionSources& sources, int index) const {
  double sum = 0, v;
  int count = 0;
  for (const TChartSeries* s : sources)
    if (SourceValueAt(*s, index, v)) {
      sum += v;
      ++count;
    }
  return count > 0 ? sum / count : 0;
}

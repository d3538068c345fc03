#include "chart/series/ValueList.h"

#include <algorithm>
#include <cmath>

#include "chart/series/Series.h"
#include "toolkit/Change.h"
#include "toolkit/Errors.h"

TChartValueList::TChartValueList(TChartSeries& owner, const std::string& name)
    : owner_(owner), name_(name) {
  owner_.ValuesList().Add(this);
}

TChartValueList::~TChartValueList() {
  owner_.ValuesList().Remove(this);
}

void TChartValueList::CheckIndex(int index) const {
  if (index < 0 || index >= ValueCount()) throw tk::EListError(index);
}

// ---------------------------------------------------------------- ordering bookkeeping

bool TChartValueList::Descends(std::size_t i) const {
  return !(values_[i] <= values_[i + 1]);
}

void TChartValueList::ForgetPairsAround(std::size_t index) {
  if (index > 0 && index < values_.size() && Descends(index - 1)) --descents_;
  if (index + 1 < values_.size() && Descends(index)) --descents_;
}

void TChartValueList::CountPairsAround(std::size_t index) {
  if (index > 0 && index < values_.size() && Descends(index - 1)) ++descents_;
  if (index + 1 < values_.size() && Descends(index)) ++descents_;
}

void TChartValueList::RecountDescents() {
  descents_ = 0;
  for (std::size_t i = 0; i + 1 < values_.size(); ++i)
    if (Descends(i)) ++descents_;
}

bool TChartValueList::IsAscending() const {
  // a positive finite factor keeps the order of the stored values
  if (!(multiplier_ > 0) || !std::isfinite(multiplier_)) return false;
  if (descents_ != 0) return false;
  return values_.empty() || !std::isnan(values_.front());  // a lone NaN has no pair to descend
}

// ---------------------------------------------------------------- virtual operations

double TChartValueList::ValueAt(int index) const {
  CheckIndex(index);
  return values_[static_cast<std::size_t>(index)] * multiplier_;
}

void TChartValueList::ReplaceValue(int index, double value) {
  CheckIndex(index);
  const auto i = static_cast<std::size_t>(index);
  ForgetPairsAround(i);
  values_[i] = value;
  CountPairsAround(i);
  Changed();
  owner_.NotifyDependents(ckValueModified, index);
}

void TChartValueList::RemoveAllValues() {
  std::vector<double>().swap(values_);  // releases the storage too
  descents_ = 0;
  Changed();
}

int TChartValueList::AddInOrder(double value) {
  const std::size_t n = values_.size();
  std::size_t at = n;
  if (order_ != loNone && n > 0) {
    // ties go after equal values, so a signal's edges keep the order they were added in
    auto fits = [&](double existing) {
      return order_ == loAscending ? existing <= value : existing >= value;
    };
    if (!fits(values_.back())) {
      at = 0;
      for (std::size_t i = n - 1; i-- > 0;) {
        if (fits(values_[i])) {
          at = i + 1;
          break;
        }
      }
    }
  }
  InsertValueAt(static_cast<int>(at), value);
  return static_cast<int>(at);
}

void TChartValueList::InsertValueAt(int index, double value) {
  if (index < 0 || index > ValueCount()) throw tk::EListError(index);
  const auto i = static_cast<std::size_t>(index);
  if (i > 0 && i < values_.size() && Descends(i - 1)) --descents_;  // the pair being split
  values_.insert(values_.begin() + index, value);
  CountPairsAround(i);
  Changed();
}

void TChartValueList::RemoveValueAt(int index) {
  CheckIndex(index);
  const auto i = static_cast<std::size_t>(index);
  ForgetPairsAround(i);
  values_.erase(values_.begin() + index);
  if (i > 0 && i < values_.size() && Descends(i - 1)) ++descents_;  // the neighbours now meet
  Changed();
}

void TChartValueList::RotateByOne() {
  if (values_.empty()) return;
  std::rotate(values_.begin(), values_.begin() + 1, values_.end());
  RecountDescents();
}

// ---------------------------------------------------------------- non-virtual operations

int TChartValueList::IndexOfValue(double value) const {
  for (std::size_t i = 0; i < values_.size(); ++i)
    if (values_[i] * multiplier_ == value) return static_cast<int>(i);
  return -1;
}

void TChartValueList::RefreshStatistics() const {
  if (values_.empty()) {
    lowest_ = highest_ = sum_ = magnitudeSum_ = 0;
  } else {
    const double first = values_[0] * multiplier_;
    lowest_ = highest_ = sum_ = first;
    magnitudeSum_ = std::fabs(first);
    for (std::size_t i = 1; i < values_.size(); ++i) {
      const double v = values_[i] * multiplier_;
      if (v < lowest_)
        lowest_ = v;
      else if (v > highest_)
        highest_ = v;
      sum_ += v;
      magnitudeSum_ += std::fabs(v);
    }
  }
  statsOutOfDate_ = false;
}

double TChartValueList::HighestValue() const {
  if (statsOutOfDate_) RefreshStatistics();
  return highest_;
}

double TChartValueList::LowestValue() const {
  if (statsOutOfDate_) RefreshStatistics();
  return lowest_;
}

double TChartValueList::ValueSum() const {
  if (statsOutOfDate_) RefreshStatistics();
  return sum_;
}

double TChartValueList::MagnitudeSum() const {
  if (statsOutOfDate_) RefreshStatistics();
  return magnitudeSum_ - MagnitudeSumAdjustment;
}

void TChartValueList::NumberSequentially() {
  for (int i = 0; i < ValueCount(); ++i)
    ReplaceValue(i, i);
}

void TChartValueList::SetMultiplier(double multiplier) {
  if (multiplier == multiplier_) return;
  multiplier_ = multiplier;
  Changed();
  owner_.NotifyDependents(ckRefresh, -1);
  owner_.RequestRepaint();
}

void TChartValueList::SetDateTime(bool dateTime) {
  if (tk::Change(dateTime_, dateTime)) owner_.RequestRepaint();
}

void TChartValueList::SetValueSource(const std::string& source) {
  if (tk::Change(valueSource_, source)) owner_.CheckDataSource();
}

void TChartValueList::Assign(const TChartValueList& source) {
  order_ = source.order_;
  dateTime_ = source.dateTime_;
  multiplier_ = source.multiplier_;
  valueSource_ = source.valueSource_;
  Changed();
}

void TChartValueList::Exchange(int a, int b) {
  CheckIndex(a);
  CheckIndex(b);
  if (a == b) return;
  const auto i = static_cast<std::size_t>(std::min(a, b)),
             j = static_cast<std::size_t>(std::max(a, b));
  // the pairs that touch either index: (i-1,i), (i,i+1), (j-1,j), (j,j+1), each once
  std::size_t pairs[4];
  std::size_t count = 0;
  auto consider = [&](std::size_t left) {
    if (left + 1 >= values_.size()) return;
    for (std::size_t k = 0; k < count; ++k)
      if (pairs[k] == left) return;
    pairs[count++] = left;
  };
  if (i > 0) consider(i - 1);
  consider(i);
  consider(j - 1);
  consider(j);
  for (std::size_t k = 0; k < count; ++k)
    if (Descends(pairs[k])) --descents_;
  std::swap(values_[i], values_[j]);
  for (std::size_t k = 0; k < count; ++k)
    if (Descends(pairs[k])) ++descents_;
  // a swap does not change what the statistics describe
}

// ---------------------------------------------------------------- sorting

int TChartValueList::CompareForSort(int a, int b) const {
  const double va = ValueAt(a), vb = ValueAt(b);
  const int c = va < vb ? -1 : (va > vb ? 1 : 0);
  return order_ == loDescending ? -c : c;
}

void TChartValueList::QuickSort(int l, int r) {
  // The partition can leave i and j on one index, so the halves may share it:
  // l..j must be sorted before i..r, or points with equal values end in
  // another order (which, for a line, decides how a vertical edge runs). The
  // second half is sorted by looping, which keeps that order.
  while (l < r) {
    int i = l, j = r, m = (l + r) / 2;
    do {
      while (CompareForSort(i, m) < 0)
        ++i;
      while (CompareForSort(m, j) < 0)
        --j;
      if (i < j) {
        owner_.ExchangePoints(i, j);
        if (i == m)
          m = j;
        else if (j == m)
          m = i;
      }
      if (i <= j) {
        --j;
        ++i;
      }
    } while (i < j);
    if (l < j) QuickSort(l, j);
    l = i;
  }
}

void TChartValueList::SortPoints() {
  if (order_ == loNone || ValueCount() < 2) return;
  QuickSort(0, ValueCount() - 1);
}

void TChartValueLists::Remove(TChartValueList* list) {
  std::erase(lists_, list);
}

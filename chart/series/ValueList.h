#pragma once
// One column of chart values of a series (x, y or a further list): kept in
// insertion order or sorted as values arrive, scaled by a multiplier when
// read, with minimum, maximum and sums cached until the contents change.

#include <cstdint>
#include <string>
#include <vector>

class TChartSeries;

enum TChartListOrder { loNone, loAscending, loDescending };

class TChartValueList {
 public:
  // Registers itself at the end of the owner's value lists.
  TChartValueList(TChartSeries& owner, const std::string& name);
  virtual ~TChartValueList();
  TChartValueList(const TChartValueList&) = delete;
  TChartValueList& operator=(const TChartValueList&) = delete;

  // properties
  bool DateTime() const { return dateTime_; }
  void SetDateTime(bool dateTime);
  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  double Multiplier() const { return multiplier_; }
  void SetMultiplier(double multiplier);
  TChartListOrder Order() const { return order_; }
  void SetOrder(TChartListOrder order) { order_ = order; }  // neither re-sorts nor repaints
  const std::string& ValueSource() const { return valueSource_; }
  void SetValueSource(const std::string& source);
  TChartSeries& Owner() const { return owner_; }

  // Staging slot for the value a point being added gets in this list.
  double ValueToAdd = 0;
  // Taken off the magnitude sum: a pie's "other" point repeats the values of
  // the points it stands for, which must not count twice.
  double MagnitudeSumAdjustment = 0;

  // operations
  virtual double ValueAt(int index) const;
  virtual void ReplaceValue(int index, double value);
  virtual void RemoveAllValues();
  virtual int AddInOrder(double value);
  virtual void InsertValueAt(int index, double value);
  virtual int ValueCount() const { return static_cast<int>(values_.size()); }
  virtual void RemoveValueAt(int index);
  virtual void RotateByOne();

  double LastValue() const { return ValueAt(ValueCount() - 1); }
  int IndexOfValue(double value) const;
  double HighestValue() const;
  double LowestValue() const;
  double ValueSum() const;
  double MagnitudeSum() const;
  void RefreshStatistics() const;
  bool StatsOutOfDate() const { return statsOutOfDate_; }
  void NumberSequentially();
  void SortPoints();
  // Copies Order, DateTime, Multiplier and ValueSource; values and Name stay.
  void Assign(const TChartValueList& source);

  // Swaps two stored values; the series calls it to keep points whole.
  void Exchange(int a, int b);
  // The stored values, unscaled, for fast read-only passes (drawing, searching).
  const std::vector<double>& Values() const { return values_; }
  // True when the scaled values never decrease from one index to the next
  // (and hold no NaN), so that searches may bisect instead of scanning.
  bool IsAscending() const;
  // Memory the list holds, for the footprint figures.
  std::size_t CapacityBytes() const { return values_.capacity() * sizeof(double); }

 private:
  void CheckIndex(int index) const;
  void Changed() { statsOutOfDate_ = true; }
  // Descents: adjacent pairs whose second value is not >= the first. Kept
  // exact under every change so IsAscending costs nothing.
  bool Descends(std::size_t i) const;  // pair (i, i + 1)
  void ForgetPairsAround(std::size_t index);
  void CountPairsAround(std::size_t index);
  void RecountDescents();
  int CompareForSort(int a, int b) const;
  void QuickSort(int l, int r);

  TChartSeries& owner_;
  bool dateTime_ = false;
  std::vector<double> values_;
  mutable double highest_ = 0, lowest_ = 0, sum_ = 0, magnitudeSum_ = 0;
  double multiplier_ = 1.0;
  std::string name_;
  TChartListOrder order_ = loNone;
  std::string valueSource_;
  mutable bool statsOutOfDate_ = true;
  std::size_t descents_ = 0;
};

// A series' value lists in creation order: X, Y, then any further lists.
class TChartValueLists {
 public:
  int Count() const { return static_cast<int>(lists_.size()); }
  TChartValueList* operator[](int i) const { return lists_[static_cast<std::size_t>(i)]; }
  void Add(TChartValueList* list) { lists_.push_back(list); }
  void Remove(TChartValueList* list);
  auto begin() const { return lists_.begin(); }
  auto end() const { return lists_.end(); }

 private:
  std::vector<TChartValueList*> lists_;
};

#pragma once
// The gallery's chart set-up, apart from any window: which entries the engine
// offers (read from its registry of series types), how one entry fills the
// chart with sample values, and the settings a user can flip on it. The
// window and the tests drive the chart only through this class.

#include <functional>
#include <string>
#include <vector>

#include "chart/panel/Chart.h"
#include "chart/panel/SeriesTypes.h"

class GalleryChart;

// One control of the gallery. Toggles and choices take the index of their
// texts (Off = 0, On = 1); numbers take their value. Setting a value always
// goes through the engine's setter, so a bad value raises the engine's error.
struct GallerySetting {
  enum Kind { Toggle, Choice, Number };
  std::string Caption;
  Kind kind = Toggle;
  std::vector<std::string> Choices;  // toggle and choice texts
  int Min = 0, Max = 1;              // what the window lets a user type
  std::vector<int> Sweep;            // the good values a full sweep tries
  std::function<bool(GalleryChart&)> AppliesTo;
  std::function<int(GalleryChart&)> Get;
  std::function<void(GalleryChart&, int)> Set;
};

class GalleryChart {
 public:
  explicit GalleryChart(TChart& chart);

  // properties
  TChart& Chart() const { return chart_; }
  // "Page: Description" of every registered type, in registry order
  static std::vector<std::string> EntryNames();
  int Entry() const { return entry_; }
  const TZozSeriesType& Type() const;
  // the series of the open entry: the shown ones (for a function, its sources)
  const std::vector<TChartSeries*>& SourceSeries() const { return sources_; }
  // the series a function computes, or none
  TChartSeries* ResultSeries() const { return result_; }
  // every series of the entry
  std::vector<TChartSeries*> AllSeries() const;

  // operations
  // Replaces the chart's series by those of registry entry `index`.
  void Open(int index);
  // every control the gallery offers, in the order the window shows them
  static const std::vector<GallerySetting>& Settings();
  bool Applies(const GallerySetting& s) { return s.AppliesTo(*this); }
  // Calls fn for every series of the entry that is a T.
  template <typename T>
  void ForEach(const std::function<void(T&)>& fn) {
    for (TChartSeries* s : AllSeries())
      if (auto* t = dynamic_cast<T*>(s)) fn(*t);
  }
  template <typename T>
  T* First() {
    for (TChartSeries* s : AllSeries())
      if (auto* t = dynamic_cast<T*>(s)) return t;
    return nullptr;
  }
  // Turns the 3D view on or off with the gallery's own follow-up: a pie is
  // circled in a flat chart, where nothing else keeps it round.
  void SetView3D(bool on);
  // Puts a function's result on the right axis when its values are more than
  // ten times larger or smaller than its sources', so both stay readable.
  void PlaceResultAxis();

 private:
  void OpenSeriesType(const TZozSeriesType& t);
  void OpenFunction(const TZozSeriesType& t);
  TChartSeries* AddSeries(std::unique_ptr<TChartSeries> s, const std::string& title);

  TChart& chart_;
  int entry_ = -1;
  int default3DPercent_;
  // a pie turns the view to look at it from above; the next entry gets back
  // the view it had before
  TView3DOptions viewBeforePie_;
  bool pieShown_ = false;
  std::vector<TChartSeries*> sources_;
  TChartSeries* result_ = nullptr;
};

#pragma once
// A window that draws one bit string in all five line encodings, stacked on a
// common bit grid, with the statistics that tell them apart in a table under
// the chart. The points come from the transmission model's own encoders.

#include <cstdint>
#include <memory>
#include <string>

#include "app/Export.h"
#include "app/LineStatistics.h"
#include "chart/panel/Chart.h"
#include "chart/series/CustomSeries.h"
#include "chart/series/FastLineSeries.h"
#include "toolkit/Form.h"
#include "toolkit/Grid.h"
#include "toolkit/Menu.h"
#include "toolkit/Shortcut.h"
#include "toolkit/StdControls.h"

// What the window draws: the bits with their roles, and what they carry.
struct TCompareInput {
  std::string text;   // the characters the bits carry
  std::string bits;   // '0' and '1'
  std::string roles;  // one role letter per bit
  std::string chars;  // the character each bit belongs to
  std::uint32_t bitTime = 0;  // ms
  int speed = 0;              // bits per second
  bool operator==(const TCompareInput&) const = default;
};

// Each bit's value, role and character, for the samples taken out.
std::vector<TBitRecord> BitRecords(const TCompareInput& input);

// The statistics table's columns, in order.
enum TStatisticsColumn : int { scEncoding, scTransitions, scLongestRun, scDcLevel, scFundamental };
inline constexpr int kStatisticsColumns = 5;

class TCompareWindow : public tk::TForm {
 public:
  TCompareWindow();
  ~TCompareWindow() override;

  // components
  TChart Chart{this};
  tk::TScrollBar ScrollBar{this};  // moves the time window once the chart is zoomed
  tk::TStringGrid Statistics{this};
  tk::TPopupMenu ChartMenu;  // the picture and the samples, out of the program

  // properties
  const TCompareInput& Input() const { return input_; }
  // Draws the input; the same input again costs nothing, and an input that
  // only adds bits to the last one costs the added bits' points.
  void SetInput(const TCompareInput& input);
  TFastLineSeries& Line(int encoding) const { return *lines_[encoding]; }
  TPointSeries& BitLabels() const { return *bitLabels_; }
  const TLineStatistics& StatisticsOf(int encoding) const { return statistics_[encoding]; }
  // The five lines' samples at their own levels, Unipolar first.
  std::string Csv() const;
  std::string DefaultName(const std::string& extension) const;

  // Where an encoding's zero level stands: the first encoding on top, each band
  // three levels high so that neighbouring -1..1 swings keep a gap between them.
  static double Offset(int encoding) { return 3.0 * (kEncodingCount - 1 - encoding); }
  // The level the bit values and roles stand on, above the top band.
  static double BitLabelLevel() { return Offset(0) + 1.3; }

 private:
  void CreateChart();
  void CreateScrollBar();
  void CreateTable();
  void CreateMenu();
  bool Extends(const TCompareInput& input) const;
  void Redraw();
  void AppendBits(std::size_t from);
  void FillStatistics();
  // the time window
  double DataEnd() const;
  void FitWholeTransmission();
  void FollowData(double endBefore);
  void UpdateScrollBar();
  void ScrollBarChange();
  void NextLeftLabel(TCustomChartAxis* axis, int index, double& value, bool& stop);
  void NextBitLabel(TCustomChartAxis& axis, int index, double& value, bool& stop);
  void LeftLabelText(TCustomChartAxis* axis, std::string& text);

  TFastLineSeries* lines_[kEncodingCount] = {};  // owned by Chart
  std::unique_ptr<TBitEncoder> encoders_[kEncodingCount];  // where each line left off
  TPointSeries* bitLabels_ = nullptr;             // owned by Chart
  TLineStatistics statistics_[kEncodingCount];
  TLineStatisticsTracker trackers_[kEncodingCount];  // each line's, read as it grows
  TCompareInput input_;
  double gridStep_ = 0;  // the bit grid's step in this paint
  bool syncingBar_ = false;  // the bar follows the chart: its change moves nothing
  tk::TShortcut escape_{*this, "Esc", tk::ssWindow};
};

// A number with a fixed count of decimals, in the C locale whatever the user's.
std::string FixedText(double value, int decimals);

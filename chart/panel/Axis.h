#pragma once
// An axis: the user's limits (fixed or automatic), the effective limits of
// the current paint, its place in the chart rectangle, the mapping between
// values and pixels in both directions, its labels and its drawing.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/canvas/ChartPen.h"
#include "chart/panel/LabelTextCache.h"
#include "chart/series/SeriesHost.h"
#include "toolkit/Change.h"
#include "toolkit/Graphics.h"

class TCustomAxisPanel;
class TChartSeries;

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

class TChartAxisTitle {
 public:
  TChartAxisTitle(TCustomAxisPanel& panel, int defaultAngle);
  int Angle() const { return angle_; }
  void SetAngle(int angle);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  tk::TFontObject& Font() { return *font_; }
  const tk::TFontObject& Font() const { return *font_; }
  bool AngleIsStored() const { return angle_ != defaultAngle_; }
  int DefaultAngle() const { return defaultAngle_; }
  void Assign(const TChartAxisTitle& other);

 private:
  TCustomAxisPanel& panel_;
  int angle_, defaultAngle_;
  std::string caption_;
  std::unique_ptr<tk::TFontObject> font_;
};

class TCustomChartAxis : public TSeriesAxis {
 public:
  TCustomChartAxis(TCustomAxisPanel& panel, bool horizontal, bool otherSide, bool depth);
  ~TCustomChartAxis() override;
  TCustomChartAxis(const TCustomChartAxis&) = delete;
  TCustomChartAxis& operator=(const TCustomChartAxis&) = delete;

  // ---------------------------------------------------------------- limits
  bool Automatic() const { return automatic_; }
  void SetAutomatic(bool on);
  bool AutomaticMaximum() const { return automaticMaximum_; }
  void SetAutomaticMaximum(bool on);
  bool AutomaticMinimum() const { return automaticMinimum_; }
  void SetAutomaticMinimum(bool on);
  double Maximum() const { return maximum_; }
  void SetMaximum(double v);
  double Minimum() const { return minimum_; }
  void SetMinimum(double v);
  double Increment() const { return increment_; }
  void SetIncrement(double v);
  bool Logarithmic() const { return logarithmic_; }
  void SetLogarithmic(bool on);
  int LogarithmicBase() const { return logarithmicBase_; }
  void SetLogarithmicBase(int base);
  bool Inverted() const override { return inverted_; }
  void SetInverted(bool on) { Set(inverted_, on); }
  void SetLimits(double min, double max);
  void ShiftRange(double offset, bool checkLimits);

  // ---------------------------------------------------------------- position and look
  double StartPosition() const { return startPosition_; }
  void SetStartPosition(double v) { Set(startPosition_, v); }
  double EndPosition() const { return endPosition_; }
  void SetEndPosition(double v) { Set(endPosition_, v); }
  double PositionPercent() const { return positionPercent_; }
  void SetPositionPercent(double v) { Set(positionPercent_, v); }
  bool Visible() const { return visible_; }
  void SetVisible(bool on) { Set(visible_, on); }
  TChartAxisPen& Axis() { return axisPen_; }
  TChartAxisTitle& Title() { return title_; }
  const TChartAxisTitle& Title() const { return title_; }
  int TitleSize() const { return titleSize_; }
  void SetTitleSize(int v) { Set(titleSize_, v); }
  TDottedGrayPen& Grid() { return grid_; }
  bool GridCentered() const { return gridCentered_; }
  void SetGridCentered(bool on) { Set(gridCentered_, on); }
  TChartHiddenPen& MinorGrid() { return minorGrid_; }
  int MinorTickCount() const { return minorTickCount_; }
  void SetMinorTickCount(int v) { Set(minorTickCount_, v); }
  int MinorTickLength() const { return minorTickLength_; }
  void SetMinorTickLength(int v) { Set(minorTickLength_, v); }
  TDarkGrayPen& MinorTicks() { return minorTicks_; }
  int TickInnerLength() const { return tickInnerLength_; }
  void SetTickInnerLength(int v) { Set(tickInnerLength_, v); }
  int TickLength() const { return tickLength_; }
  void SetTickLength(int v) { Set(tickLength_, v); }
  bool TickOnLabelsOnly() const { return tickOnLabelsOnly_; }
  void SetTickOnLabelsOnly(bool on) { Set(tickOnLabelsOnly_, on); }
  TDarkGrayPen& Ticks() { return ticks_; }
  TDarkGrayPen& TicksInner() { return ticksInner_; }

  // ---------------------------------------------------------------- labels
  bool Labels() const { return labels_; }
  void SetLabels(bool on) { Set(labels_, on); }
  int LabelsAngle() const { return labelsAngle_; }
  void SetLabelsAngle(int angle);
  tk::TFontObject& LabelsFont() { return *labelsFont_; }
  bool LabelsMultiLine() const { return labelsMultiLine_; }
  void SetLabelsMultiLine(bool on) { Set(labelsMultiLine_, on); }
  bool LabelsOnAxis() const { return labelsOnAxis_; }
  void SetLabelsOnAxis(bool on) { Set(labelsOnAxis_, on); }
  int LabelsSeparation() const { return labelsSeparation_; }
  void SetLabelsSeparation(int percent);
  int LabelsSize() const { return labelsSize_; }
  void SetLabelsSize(int v) { Set(labelsSize_, v); }
  TAxisLabelStyle LabelStyle() const { return labelStyle_; }
  void SetLabelStyle(TAxisLabelStyle s) { Set(labelStyle_, s); }
  const std::string& AxisValuesFormat() const { return axisValuesFormat_; }
  void SetAxisValuesFormat(const std::string& f) { Set(axisValuesFormat_, f); }
  const std::string& DateTimeFormat() const { return dateTimeFormat_; }
  void SetDateTimeFormat(const std::string& f) { Set(dateTimeFormat_, f); }
  bool ExactDateTime() const { return exactDateTime_; }
  void SetExactDateTime(bool on) { Set(exactDateTime_, on); }
  bool RoundFirstLabel() const { return roundFirstLabel_; }
  void SetRoundFirstLabel(bool on) { Set(roundFirstLabel_, on); }

  // ---------------------------------------------------------------- run-time state
  TCustomAxisPanel& Panel() const { return panel_; }
  bool IsHorizontal() const override { return horizontal_; }
  bool IsOtherSide() const { return otherSide_; }
  bool IsDepth() const { return depth_; }
  int DefaultTitleAngle() const { return title_.DefaultAngle(); }
  double CurrentMinimum = 0, CurrentMaximum = 0, CurrentRange = 0;
  bool UsesDateTime = false;
  int StartPixel = 0, EndPixel = 0, AxisPixels = 0, CenterPixel = 0;
  int AxisLinePos = 0, LabelsPos = 0, TitlePos = 0;
  const std::vector<int>& TickPositions() const { return ticks_list_; }

  // ---------------------------------------------------------------- scale
  void UpdateLimits();
  void UpdatePixels();
  void WidenForMargins(int first, int second);
  void PlaceInRect(tk::TRect& r, bool inflate);
  int ValueToPixel(double value) const override;
  int ValueToPixelX(double value) const;
  int ValueToPixelY(double value) const;
  double PixelToValue(int pixel) const override;
  double NextPixelValue(int pixel) const override;
  bool HasDateTimeValues() const;
  bool AxisHitTest(int x, int y) const;
  int TickBandSize() const;
  int LabelBandSize();
  int TitleBandSize();
  int WidestLabel();
  int PositionOffset(int p, const tk::TRect& r) const;
  int EdgeOf(const tk::TRect& r) const;

  // ---------------------------------------------------------------- labels
  double LabelStep();
  int LabelCountThatFits(int maxLabelSize) const;
  double StepForLabelCount(int maxNumLabels) const;
  static double NextNiceStep(double x);
  int LabelExtent(double value);
  std::string FormatLabel(double value);
  // The width (and line count) of a label's text in the font selected now.
  int LabelWidth(double value, int* lines = nullptr);
  std::string LabelText(double value) override { return FormatLabel(value); }
  int AxisEndPixel() const override { return EndPixel; }
  TAxisLabelStyle EffectiveLabelStyle() const;
  int DateTimeStepFor(double step) const;
  // Runs the label pass for this draw; each label goes to DrawLabel.
  void RunLabelPass(double step);
  double StepBack(double value, double step) const;
  // Forward by a step; on a date axis a step of half a month or more is
  // taken on the calendar (series functions group their x ranges this way).
  double IncrementValue(double value, double step) const override;

  // ---------------------------------------------------------------- drawing
  void DrawAxis(bool placeAxisLine);
  void DrawLabel(const std::string& text, int pixel);
  void DrawTextBlock(int x, int y, int angle, const std::string& text);

  void Assign(const TCustomChartAxis& other);

 protected:
  template <typename T>
  void Set(T& field, const T& value) {
    if (tk::Change(field, value)) Changed();
  }
  void Changed();
  void SetAutomaticFlags(bool automatic, bool minimum, bool maximum);

 private:
  // A label's text as formatted, before the label event, kept between paints.
  TLabelTextCache::TEntry& CachedLabel(double value);
  std::string MakeLabelText(double value) const;
  bool LabelEventApplies() const;
  void PlaceValueLabel(double value);
  void DefaultValuePass(double step);
  void LogarithmicPass();
  void CustomPass(double step);
  void SeriesLabelPass(bool marks);
  void DepthPass();
  void AddTick(int p) { ticks_list_.push_back(p); }
  void DrawTick(int t, int offset, int length);
  void DrawGridLine(int g);
  void DrawMinor(bool grid);
  void DrawTitle();
  int WallSize() const;

  TCustomAxisPanel& panel_;
  bool horizontal_, otherSide_, depth_;

  bool automatic_ = true, automaticMaximum_ = true, automaticMinimum_ = true;
  double maximum_ = 0, minimum_ = 0, increment_ = 0;
  bool logarithmic_ = false;
  int logarithmicBase_ = 10;
  bool inverted_ = false;
  double startPosition_ = 0, endPosition_ = 100, positionPercent_ = 0;
  bool visible_ = true;
  TChartAxisPen axisPen_;
  TChartAxisTitle title_;
  int titleSize_ = 0;
  bool labels_ = true;
  int labelsAngle_ = 0;
  std::unique_ptr<tk::TFontObject> labelsFont_;
  bool labelsMultiLine_ = false, labelsOnAxis_ = true;
  int labelsSeparation_ = 10, labelsSize_ = 0;
  TAxisLabelStyle labelStyle_ = talAuto;
  std::string axisValuesFormat_ = "#,##0.###", dateTimeFormat_;
  bool exactDateTime_ = true, roundFirstLabel_ = true;
  TDottedGrayPen grid_;
  bool gridCentered_ = false;
  TChartHiddenPen minorGrid_;
  int minorTickCount_ = 3, minorTickLength_ = 2;
  TDarkGrayPen minorTicks_;
  int tickInnerLength_ = 0, tickLength_ = 4;
  bool tickOnLabelsOnly_ = true;
  TDarkGrayPen ticks_, ticksInner_;

  // per draw
  std::vector<int> ticks_list_;
  int dateTimeStep_ = 25;
  double labelStep_ = 0;
  bool suspendLabelEvent_ = false;
  TLabelTextCache labelTexts_;
};

class TChartAxis : public TCustomChartAxis {
 public:
  using TCustomChartAxis::TCustomChartAxis;
};

class TChartDepthAxis : public TChartAxis {
 public:
  explicit TChartDepthAxis(TCustomAxisPanel& panel);
};

// Durations of the date-time label steps, in days; index 25 means no step.
double DateTimeStepDays(int index);

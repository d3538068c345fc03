#pragma once
// The chart control: titles, walls and the published chart.

#include <memory>

#include "chart/panel/AxisPanel.h"
#include "chart/panel/Legend.h"
#include "chart/panel/Titles.h"

// Mouse settings shared by every chart of the program.
extern tk::TMouseButton ZoomMouseButton;     // mbLeft
extern tk::TShiftState ZoomShiftKeys;        // none needed
extern tk::TMouseButton PanningMouseButton;  // mbRight
extern tk::TShiftState PanningShiftKeys;     // none needed
extern double AnimatedZoomFactor;            // 3: a third of the way per step

class TCustomChart;
using TChartClick =
    std::function<void(TCustomChart* sender, tk::TMouseButton, tk::TShiftState, int x, int y)>;
using TChartClickAxis = std::function<void(TCustomChart* sender, TCustomChartAxis* axis,
                                           tk::TMouseButton, tk::TShiftState, int x, int y)>;
using TChartClickSeries =
    std::function<void(TCustomChart* sender, TChartSeries* series, int valueIndex, tk::TMouseButton,
                       tk::TShiftState, int x, int y)>;
using TOnGetLegendText = std::function<void(TCustomChart* sender, TLegendStyle legendStyle,
                                            int index, std::string& legendText)>;
using TOnGetLegendRect = std::function<void(TCustomChart* sender, tk::TRect& rect)>;
using TOnGetLegendPos =
    std::function<void(TCustomChart* sender, int index, int& x, int& y, int& xColor)>;
using TChartAllowScrollEvent =
    std::function<void(TCustomChartAxis* sender, double& aMin, double& aMax, bool& allow)>;

// The part of a chart under the mouse.
struct TChartClickedPart {
  enum TPart { cpNone, cpSeries, cpAxis, cpTitle, cpFoot, cpChartRect, cpLegend } Part = cpNone;
  TChartSeries* Series = nullptr;
  int PointIndex = -1;
  TCustomChartAxis* Axis = nullptr;
};

class TCustomChart : public TCustomAxisPanel {
 public:
  explicit TCustomChart(tk::TWinControl* parent);
  ~TCustomChart() override;

  TChartTitle& Title() { return *title_; }
  TChartTitle& Foot() { return *foot_; }
  TChartWall& BackWall() { return *backWall_; }
  TChartWall& LeftWall() { return *leftWall_; }
  TChartWall& BottomWall() { return *bottomWall_; }
  TChartLegend& Legend() { return *legend_; }
  const TChartLegend& Legend() const { return *legend_; }
  void SetLegend(const TChartLegend& legend) { legend_->Assign(legend); }
  bool BackImageInside() const { return backImageInside_; }
  void SetBackImageInside(bool on) { SetValue(backImageInside_, on); }
  tk::TColor BackColor() const { return backWall_->Color(); }
  void SetBackColor(tk::TColor c);
  // the back wall's colour; the panel's while the wall has none of its own
  tk::TColor ChartBackColor() const override {
    return BackColor() == tk::clDefault ? Color() : BackColor();
  }
  TChartPen& Frame() { return backWall_->Pen(); }

  int WallSize(const TCustomChartAxis& axis) const override;
  int BackWallSize() const override { return backWall_->Size(); }
  bool IsColorFree(tk::TColor color, bool checkBackground) const override;
  void PaintBackImage(const tk::TRect& r) override;
  void Assign(const TCustomZozPanel& other) override;
  std::string FormatValueForLegend(TChartSeries* series, int valueIndex) override;
  void SwitchPieMode(bool entering) override;

  // ---------------------------------------------------------------- legend events
  TOnGetLegendText OnGetLegendText;
  TOnGetLegendRect OnGetLegendRect;
  TOnGetLegendPos OnGetLegendPos;

  // ---------------------------------------------------------------- zoom and panning
  TChartClickAxis OnClickAxis;
  TChartClickSeries OnClickSeries;
  TChartClick OnClickLegend, OnClickBackground;
  TChartAllowScrollEvent OnAllowScroll;
  TChartClickedPart CalcClickedPart(int x, int y) const;
  void ApplyZoom(double topMin, double topMax, double bottomMin, double bottomMax, double leftMin,
                 double leftMax, double rightMin, double rightMax);
  void ResetZoom();
  bool Restored() const { return restored_; }

 protected:
  void PaintTitlesAndLegend() override;
  void PaintWalls() override;
  void MouseDown(tk::TMouseButton button, tk::TShiftState shift, int x, int y) override;
  void MouseMove(tk::TShiftState shift, int x, int y) override;
  void MouseUp(tk::TMouseButton button, tk::TShiftState shift, int x, int y) override;
  void MouseWheel(tk::TShiftState shift, bool down, int x, int y) override;
  void MouseLeave() override;

 private:
  struct TSavedScale {
    bool automatic, automaticMinimum, automaticMaximum;
    double minimum, maximum;
  };
  bool TryStartDrag(tk::TMouseButton button, tk::TShiftState shift, int x, int y);
  bool FireBackgroundClick(tk::TMouseButton button, tk::TShiftState shift, int x, int y);
  // Draws the zoom rectangle into the buffered picture (drawing it twice erases it).
  void DrawZoomRectangleNow();
  void SaveScales();
  bool PanDirection(bool horizontal, int p0, int p1);
  std::vector<TChartAxis*> SideAxes() {
    return {&TopAxis(), &LeftAxis(), &RightAxis(), &BottomAxis()};
  }

  TSavedScale saved_[4]{};
  bool restored_ = true;
  int initialCursor_ = tk::crDefault;

  std::unique_ptr<TChartTitle> title_, foot_;
  std::unique_ptr<TChartWall> backWall_, leftWall_;
  std::unique_ptr<TChartLegend> legend_;
  std::unique_ptr<TChartWall> bottomWall_;
  bool backImageInside_ = false;
};

class TChart : public TCustomChart {
 public:
  explicit TChart(tk::TWinControl* parent = nullptr) : TCustomChart(parent) {}
};

#pragma once
// The chart control: titles, walls and the published chart.

#include <memory>

#include "chart/panel/AxisPanel.h"
#include "chart/panel/Titles.h"

class TCustomChart : public TCustomAxisPanel {
 public:
  explicit TCustomChart(tk::TWinControl* parent);
  ~TCustomChart() override;

  TChartTitle& Title() { return *title_; }
  TChartTitle& Foot() { return *foot_; }
  TChartWall& BackWall() { return *backWall_; }
  TChartWall& LeftWall() { return *leftWall_; }
  TChartWall& BottomWall() { return *bottomWall_; }
  bool BackImageInside() const { return backImageInside_; }
  void SetBackImageInside(bool on) { SetValue(backImageInside_, on); }
  tk::TColor BackColor() const { return backWall_->Color(); }
  void SetBackColor(tk::TColor c);
  TChartPen& Frame() { return backWall_->Pen(); }

  int WallSize(const TCustomChartAxis& axis) const override;
  int BackWallSize() const override { return backWall_->Size(); }
  bool IsColorFree(tk::TColor color, bool checkBackground) const override;
  void PaintBackImage(const tk::TRect& r) override;
  void Assign(const TCustomZozPanel& other) override;

 protected:
  void PaintTitlesAndLegend() override;
  void PaintWalls() override;

 private:
  std::unique_ptr<TChartTitle> title_, foot_;
  std::unique_ptr<TChartWall> backWall_, leftWall_, bottomWall_;
  bool backImageInside_ = false;
};

class TChart : public TCustomChart {
 public:
  explicit TChart(tk::TWinControl* parent = nullptr) : TCustomChart(parent) {}
};

#include "chart/panel/Chart.h"

TCustomChart::TCustomChart(tk::TWinControl* parent)
    : TCustomAxisPanel(parent),
      title_(std::make_unique<TChartTitle>(*this)),
      foot_(std::make_unique<TChartTitle>(*this)),
      backWall_(std::make_unique<TChartWall>(*this, tk::clDefault)),
      leftWall_(std::make_unique<TChartWall>(*this, 0x80FFFF)),
      legend_(std::make_unique<TChartLegend>(*this)),
      bottomWall_(std::make_unique<TChartWall>(*this, tk::clWhite)) {
  backWall_->Brush().SetStyle(tk::bsClear);
}

TCustomChart::~TCustomChart() {
  // the series go before the walls and titles they may still refer to
  destroying_ = true;
  SetAutoRepaint(false);
  DestroyAllSeries();
}

void TCustomChart::SetBackColor(tk::TColor c) {
  backWall_->SetColor(c);
  if (Parent()) backWall_->Brush().SetStyle(tk::bsSolid);
}

int TCustomChart::WallSize(const TCustomChartAxis& axis) const {
  if (!View3D() || !View3DWalls()) return 0;
  if (&axis == GetLeftAxis()) return leftWall_->Size();
  if (&axis == GetBottomAxis()) return bottomWall_->Size();
  return 0;
}

bool TCustomChart::IsColorFree(tk::TColor color, bool checkBackground) const {
  if (!TCustomAxisPanel::IsColorFree(color, checkBackground)) return false;
  return !(checkBackground && color == backWall_->Color());
}

void TCustomChart::PaintBackImage(const tk::TRect& r) {
  if (!backImageInside_) TCustomAxisPanel::PaintBackImage(r);
}

void TCustomChart::PaintTitlesAndLegend() {
  // a legend at a side takes the full height before the titles take theirs;
  // one above or below goes inside the titles
  auto titles = [this] {
    if (title_->Visible()) title_->DrawTitle(true);
    if (foot_->Visible()) foot_->DrawTitle(false);
  };
  Canvas().BeginFlatDrawing();
  if (!legend_->Visible() || SeriesList().CountActive() == 0) {
    titles();
  } else if (legend_->IsVertical()) {
    legend_->DrawLegend();
    titles();
  } else {
    titles();
    legend_->DrawLegend();
  }
  Canvas().EndFlatDrawing();
}

std::string TCustomChart::FormatValueForLegend(TChartSeries* series, int valueIndex) {
  if (!series) return {};
  // the legend counts rows, not points: a pie's gathered slices have none
  const int row = series->PointToLegendIndex(valueIndex);
  return row >= 0 ? legend_->PointText(*series, row) : std::string();
}

void TCustomChart::SwitchPieMode(bool entering) {
  SetAxisVisible(!entering);
  SetClipPoints(!entering);
  SetView3DWalls(!entering);
  Frame().SetVisible(!entering);
  backWall_->Brush().SetStyle(entering ? tk::bsClear : tk::bsSolid);
  SetAllowZoom(!entering);
  SetAllowPanning(entering ? pmNone : pmBoth);
  if (Canvas().HandlesProjection()) return;
  // the pie is seen from above and in front, in both directions
  TView3DOptions& v = View3DOptions();
  v.SetOrthogonal(false);
  v.SetRotation(360);
  v.SetElevation(315);
  v.SetPerspective(0);
  v.SetTilt(0);
}

void TCustomChart::PaintWalls() {
  TZozCanvas3D& c = Canvas();
  const tk::TRect r = ChartRect;
  const int D = TotalDepth;
  const int leftSize = WallSize(LeftAxis()), bottomSize = WallSize(BottomAxis());
  backWall_->Prepare();
  if (!View3D()) {
    c.DrawRect(r.left, r.top, r.right + 1,
               r.bottom + 1);  // the outline covers the last column and row
  } else if (View3DWalls()) {
    if (backWall_->Size() > 0) {
      const int s = D < 0 ? -backWall_->Size() : backWall_->Size();
      c.DrawBox(r.left - leftSize, r.right, r.top, r.bottom + bottomSize, D, D + s,
                backWall_->ShadingFlag());
    } else {
      c.DrawRectAtDepth({r.left + 1, r.top - 1, r.right, r.bottom}, D);
    }
  }
  if (BackImage() && backImageInside_) {
    tk::TRect inside = r;
    if (backWall_->Pen().Visible()) {
      ++inside.top;
      --inside.bottom;
    }
    DrawBackImage(inside, D);
  }
  if (!(View3D() && View3DWalls())) return;
  leftWall_->Prepare();
  if (leftWall_->Size() > 0)
    c.DrawBox(r.left - leftWall_->Size(), r.left, r.top, r.bottom + bottomSize, 0, D,
              leftWall_->ShadingFlag());
  else
    c.DrawSideRect(r.left, r.top, r.bottom + bottomSize, 0, D + 1);
  bottomWall_->Prepare();
  const int y = r.bottom + (c.HandlesProjection() ? 1 : 0);
  if (bottomWall_->Size() > 0)
    c.DrawBox(r.left, r.right, y, y + bottomWall_->Size(), 0, D, bottomWall_->ShadingFlag());
  else
    c.DrawFloorRect(r.left, y, r.right, 0, D);
}

void TCustomChart::Assign(const TCustomZozPanel& other) {
  TCustomAxisPanel::Assign(other);
  if (auto* o = dynamic_cast<const TCustomChart*>(&other)) {
    backImageInside_ = o->backImageInside_;
    backWall_->Assign(*o->backWall_);
    leftWall_->Assign(*o->leftWall_);
    bottomWall_->Assign(*o->bottomWall_);
    legend_->Assign(*o->legend_);
    foot_->Assign(*o->foot_);
    title_->Assign(*o->title_);
  }
}

#include "chart/series/Pointer.h"

#include <algorithm>

#include "chart/ChartErrors.h"
#include "chart/canvas/Canvas.h"
#include "chart/series/Series.h"

TSeriesPointer::TSeriesPointer(TChartSeries& owner)
    : owner_(owner), brush_([this] { Repaint(); }, tk::clDefault), pen_([this] { Repaint(); }) {}

void TSeriesPointer::Repaint() const {
  owner_.RequestRepaint();
}

void TSeriesPointer::SetHorizSize(int size) {
  if (size < 1) throw ChartException("Pointer size must be greater than zero");
  Set(horizSize_, size);
}

void TSeriesPointer::SetVertSize(int size) {
  if (size < 1) throw ChartException("Pointer size must be greater than zero");
  Set(vertSize_, size);
}

void TSeriesPointer::Assign(const TSeriesPointer& other) {
  if (&other == this) return;
  brush_.Assign(other.brush_);
  SetDark3D(other.dark3D_);
  SetDraw3D(other.draw3D_);
  SetHorizSize(other.horizSize_);
  SetInflateMargins(other.inflateMargins_);
  pen_.Assign(other.pen_);
  SetStyle(other.style_);
  SetVertSize(other.vertSize_);
  SetVisible(other.visible_);
}

void TSeriesPointer::Margins(int& horizontal, int& vertical) const {
  const bool asks = visible_ && inflateMargins_;
  horizontal = asks ? horizSize_ + 1 : 0;
  vertical = asks ? vertSize_ + 1 : 0;
}

void TSeriesPointer::Prepare(TZozCanvas3D& c, tk::TColor color) const {
  SelectChartPen(c, pen_);
  if (pen_.Visible() && pen_.Color() == tk::clDefault) c.Pen().color = color;
  c.Brush().color = brush_.Color() == tk::clDefault ? color : brush_.Color();
  c.Brush().style = brush_.Style();
}

void TSeriesPointer::Draw(int x, int y, tk::TColor color, TSeriesPointerStyle style) {
  TSeriesChart* chart = owner_.ParentChart();
  TZozCanvas3D* c = chart ? chart->DrawingCanvas() : nullptr;
  if (!c) return;
  Prepare(*c, color);
  if (chart->View3D())
    Draw3DShape(*c, x, y, color, style);
  else
    DrawFlat(*c, x, y, horizSize_, vertSize_, color, style);
}

void TSeriesPointer::DrawLegendShape(tk::TColor color, const tk::TRect& r, bool withLine) {
  TSeriesChart* chart = owner_.ParentChart();
  TZozCanvas3D* c = chart ? chart->DrawingCanvas() : nullptr;
  if (!c) return;
  const int w = r.right - r.left, hgt = r.bottom - r.top;
  const int h = std::min(horizSize_, withLine ? w / 3 : w / 2 + 1);
  const int v = std::min(vertSize_, withLine ? hgt / 3 : hgt / 2 + 1);
  Prepare(*c, color);
  DrawFlat(*c, (r.left + r.right) / 2, (r.top + r.bottom) / 2, h, v, color, style_);
}

void TSeriesPointer::DrawFlat(TZozCanvas3D& c, int x, int y, int h, int v, tk::TColor color,
                              TSeriesPointerStyle style) const {
  const int left = x - h, right = x + h, top = y - v, bottom = y + v;
  auto cross = [&] {
    c.DrawVertical(x, top, bottom + 1);
    c.DrawHorizontal(left, right + 1, y);
  };
  auto diagonals = [&] {
    c.DrawSegment(left, top, right + 1, bottom + 1);
    c.DrawSegment(right, top, left - 1, bottom + 1);
  };
  switch (style) {
    case psRectangle:
      c.DrawRect(left, top, right + 1, bottom + 1);
      break;
    case psCircle:
      c.DrawEllipse(left, top, right, bottom);
      break;
    case psTriangle: {
      const tk::TPoint p[3] = {{left, bottom}, {right, bottom}, {x, top}};
      c.DrawPolygon(p, 3);
      break;
    }
    case psDownTriangle: {
      const tk::TPoint p[3] = {{left, top}, {right, top}, {x, bottom}};
      c.DrawPolygon(p, 3);
      break;
    }
    case psCross:  // lines only: the brush plays no part
      c.Pen().color = color;
      cross();
      break;
    case psDiagCross:
      c.Pen().color = color;
      diagonals();
      break;
    case psStar:
      c.Pen().color = color;
      cross();
      diagonals();
      break;
    case psDiamond: {
      const tk::TPoint p[4] = {{left, y}, {x, top}, {right, y}, {x, bottom}};
      c.DrawPolygon(p, 4);
      break;
    }
    case psSmallDot:
      c.PutPixel(x, y, color);
      break;
  }
}

void TSeriesPointer::Draw3DShape(TZozCanvas3D& c, int x, int y, tk::TColor color,
                                 TSeriesPointerStyle style) const {
  const int left = x - horizSize_, right = x + horizSize_, top = y - vertSize_,
            bottom = y + vertSize_;
  const int z = owner_.FrontDepth, back = owner_.BackDepth;
  auto cross = [&] {
    c.DrawVerticalAtDepth(x, top, bottom + 1, z);
    c.DrawHorizontalAtDepth(left, right + 1, y, z);
  };
  auto diagonals = [&] {
    c.DrawSegmentAtDepth(left, top, right + 1, bottom + 1, z);
    c.DrawSegmentAtDepth(right, top, left - 1, bottom + 1, z);
  };
  switch (style) {
    case psRectangle:
      if (draw3D_)
        c.DrawBox(left, right, top, bottom, z, back, dark3D_);
      else
        c.DrawRectAtDepth({left, top, right, bottom}, z);
      break;
    case psCircle:
      c.DrawEllipseAtDepth(left, top, right, bottom, z);
      break;
    case psTriangle:
      if (draw3D_)
        c.DrawPyramid(true, left, top, right, bottom, z, back, dark3D_);
      else
        c.DrawTriangleAtDepth({left, bottom}, {right, bottom}, {x, top}, z);
      break;
    case psDownTriangle:  // the apex at the bottom, the base on top
      if (draw3D_)
        c.DrawPyramid(true, left, bottom, right, top, z, back, dark3D_);
      else
        c.DrawTriangleAtDepth({left, top}, {right, top}, {x, bottom}, z);
      break;
    case psCross:
      c.Pen().color = color;
      cross();
      break;
    case psDiagCross:
      c.Pen().color = color;
      diagonals();
      break;
    case psStar:
      c.Pen().color = color;
      cross();
      diagonals();
      break;
    case psDiamond:
      c.DrawQuadAtDepth({left, y}, {x, top}, {right, y}, {x, bottom}, z);
      break;
    case psSmallDot:
      c.PutPixelAtDepth(x, y, owner_.MiddleDepth, color);
      break;
  }
}

// Gradient fills, bevels and the solid shapes of the canvas. Every shape
// projects its corners, so in a flat chart it comes down to its front outline.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "chart/canvas/Canvas.h"
#include "chart/canvas/Palette.h"
#include "toolkit/Rounding.h"

using tk::TPoint;

namespace {

constexpr int kSideShade = 128, kTopShade = 64, kRimShade = 32;

struct Channels {
  int r, g, b;
};

Channels Split(tk::TColor c) {
  const tk::TColor rgb = tk::ColorToRGB(c);
  return {tk::RedOf(rgb), tk::GreenOf(rgb), tk::BlueOf(rgb)};
}

}  // namespace

// ---------------------------------------------------------------- gradient

void TZozCanvas3D::FillGradient(const tk::TRect& rect, tk::TColor start, tk::TColor end,
                                TGradientDirection dir) {
  if (dir != gdTopBottom && dir != gdLeftRight) std::swap(start, end);
  tk::TRect r{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
              std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)};
  const tk::TBrushSpec savedBrush = Brush();
  FillBands(r, start, end, dir);
  Brush() = savedBrush;  // the band brushes do not outlive the fill
}

void TZozCanvas3D::FillBands(const tk::TRect& r, tk::TColor start, tk::TColor end,
                             TGradientDirection dir) {
  const Channels s = Split(start), e = Split(end);
  const Channels d{e.r - s.r, e.g - s.g, e.b - s.b};
  const int W = r.Width(), H = r.Height();
  auto colourOfStep = [&](int n, int span) {
    auto channel = [&](int from, int delta) {
      return static_cast<std::uint8_t>((from + tk::MulDiv(n, delta, span)) & 0xFF);
    };
    return tk::RGB(channel(s.r, d.r), channel(s.g, d.g), channel(s.b, d.b));
  };
  Brush().style = tk::bsSolid;
  Brush().bitmap = nullptr;  // bands are plain colours, whatever pattern the brush had
  auto band = [&](int n, int span, const tk::TRect& area) {
    Brush().color = colourOfStep(n, span);
    surface_->FillRect(area);
  };

  switch (dir) {
    case gdTopBottom:
    case gdBottomTop: {
      const int N = std::min(H, 256);
      for (int n = 0; n < N; ++n)
        band(n, N - 1,
             {r.left, r.bottom - tk::MulDiv(n + 1, H, N), r.right, r.bottom - tk::MulDiv(n, H, N)});
      break;
    }
    case gdLeftRight:
    case gdRightLeft: {
      const int N = std::min(W, 256);
      for (int n = 0; n < N; ++n)
        band(n, N - 1,
             {r.right - tk::MulDiv(n + 1, W, N), r.top, r.right - tk::MulDiv(n, W, N), r.bottom});
      break;
    }
    case gdFromCenter: {
      if (W <= 0 || H <= 0) break;
      const int span = W / 2 + H / 2;
      int a = 0, b = 0;
      // Once one inset has reached its half the frames are single strips
      // (no height left, say, but width still); they carry the colour on to
      // the centre line, so every strip that covers a pixel is painted.
      auto strip = [&](int n, const tk::TRect& area) {
        if (area.right > area.left && area.bottom > area.top) band(n, span, area);
      };
      for (;;) {
        const int h = H - 2 * a, w = W - 2 * b;
        strip(a + b, {r.left + b, r.top + a, r.left + b + 1, r.top + a + h});
        strip(a + b, {r.right - b - 1, r.top + a, r.right - b, r.top + a + h});
        strip(a + b, {r.left + b, r.top + a, r.left + b + w, r.top + a + 1});
        strip(a + b, {r.left + b, r.bottom - a - 1, r.left + b + w, r.bottom - a});
        if (a >= H / 2 && b >= W / 2) break;  // the frame at both halves was the last
        if (a < H / 2) ++a;
        if (b < W / 2) ++b;
      }
      break;
    }
    case gdFromTopLeft:
    case gdFromBottomLeft: {
      // one diagonal of equal distance from the starting corner per step
      const int span = W + H;
      for (int k = 0; k <= W + H - 2; ++k) {
        Brush().color = colourOfStep(k, span);
        for (int col = std::max(0, k - (H - 1)); col <= std::min(k, W - 1); ++col) {
          const int row = k - col;
          const int y = dir == gdFromTopLeft ? r.top + row : r.bottom - 1 - row;
          surface_->FillRect({r.left + col, y, r.left + col + 1, y + 1});
        }
      }
      break;
    }
  }
}

// ---------------------------------------------------------------- bevel

void TZozCanvas3D::DrawBevel(const tk::TRect& rect, tk::TColor topColor, tk::TColor bottomColor,
                             int width) {
  const tk::TPenSpec saved = Pen();
  Pen().width = 1;
  Pen().style = tk::psSolid;
  tk::TRect r{rect.left, rect.top, rect.right - 1, rect.bottom - 1};
  for (int i = 0; i < width; ++i) {
    Pen().color = topColor;
    const TPoint top[3] = {{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}};
    surface_->Polyline(top, 3);
    Pen().color = bottomColor;
    const TPoint bottom[3] = {{r.right, r.top}, {r.right, r.bottom}, {r.left - 1, r.bottom}};
    surface_->Polyline(bottom, 3);
    r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
  Pen() = saved;
}

// ---------------------------------------------------------------- shading

tk::TColor TZozCanvas3D::FaceColor() const {
  return Brush().style == tk::bsSolid ? Brush().color : BackgroundColor();
}

void TZozCanvas3D::Shade(tk::TColor face, int amount) {
  const tk::TColor dark = DarkenColor(face, amount);
  if (Brush().style == tk::bsSolid)
    Brush().color = dark;
  else
    SetBackgroundColor(dark);
}

// ---------------------------------------------------------------- box

void TZozCanvas3D::DrawBox(int left, int right, int top, int bottom, int z0, int z1, bool shade) {
  const tk::TColor face = FaceColor();
  DrawRectAtDepth({left, top, right, bottom}, z0);  // the front
  const TPoint rightFront = working_[2], leftFront = working_[3], rightTopFront = working_[1];
  // one side shows: the right one when depth runs to the right, else perhaps the left
  const bool rightShows = ProjectPoint(right, bottom, z1).x > rightFront.x;
  if (rightShows || ProjectPoint(left, bottom, z1).x < leftFront.x) {
    if (shade) Shade(face, kSideShade);
    DrawSideRect(rightShows ? right : left, top, bottom, z0, z1);
  }
  if (ProjectPoint(left, top, z1).y < rightTopFront.y) {
    if (shade) Shade(face, kTopShade);
    DrawFloorRect(left, top, right, z0, z1);
  }
}

// ---------------------------------------------------------------- ellipses and spheres

void TZozCanvas3D::DrawEllipseAtDepth(int x1, int y1, int x2, int y2, int z) {
  if (orthogonal_) {
    const TPoint a = ProjectPoint(x1, y1, z), b = ProjectPoint(x2, y2, z);
    surface_->Ellipse(a.x, a.y, b.x, b.y);
    return;
  }
  if (!is3D_) {
    surface_->Ellipse(x1, y1, x2 + 1, y2 + 1);  // the box covers x2 and y2
    return;
  }
  const int cx = (x1 + x2) / 2, cy = (y1 + y2) / 2, rx = (x2 - x1) / 2, ry = (y2 - y1) / 2;
  std::array<TPoint, 32> outline;
  outline[0] = ProjectPoint(cx, y2, z);
  for (int i = 1; i < 32; ++i) {
    const double a = i * std::numbers::pi / 10;
    outline[static_cast<size_t>(i)] = ProjectPoint(cx + static_cast<int>(rx * std::sin(a)),
                                                   cy + static_cast<int>(ry * std::cos(a)), z);
  }
  if (Brush().Fills()) {
    const tk::TPenStyle savedStyle = Pen().style;
    Pen().style = tk::psClear;
    const TPoint centre = ProjectPoint(cx, cy, z);
    for (size_t k = 0; k + 1 < outline.size(); ++k) {
      const TPoint t[3] = {centre, outline[k], outline[k + 1]};
      surface_->Polygon(t, 3);
    }
    Pen().style = savedStyle;
  }
  if (Pen().style != tk::psClear)
    surface_->Polyline(outline.data(), static_cast<int>(outline.size()));
}

void TZozCanvas3D::DrawSphere(int x, int y, int z, double radius) {
  const int r = tk::RoundToInt(radius);
  DrawEllipseAtDepth(x - r, y - r, x + r, y + r, z);
}

// ---------------------------------------------------------------- pyramids

void TZozCanvas3D::DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0,
                               int z1, bool shade) {
  const tk::TColor face = FaceColor();
  auto triangle = [&](TPoint3D a, TPoint3D b, TPoint3D c) {
    const TPoint t[3] = {ProjectPoint(a), ProjectPoint(b), ProjectPoint(c)};
    surface_->Polygon(t, 3);
  };
  const int midZ = (z0 + z1) / 2;
  if (vertical) {
    const TPoint3D apex{(left + right) / 2, top, midZ};
    if (top != bottom) {
      triangle({left, bottom, z0}, {right, bottom, z0}, apex);
      if (top < bottom) {
        const bool backVisible = ProjectPoint(left, bottom, z1).y < ProjectPoint(apex).y;
        if (backVisible) triangle({left, bottom, z0}, {left, bottom, z1}, apex);
        if (shade) Shade(face, kSideShade);
        triangle({right, bottom, z0}, {right, bottom, z1}, apex);
        if (backVisible) triangle({left, bottom, z1}, {right, bottom, z1}, apex);
      }
    }
    if (top >= bottom) {  // upside down: the base is on top and shows
      if (shade) Shade(face, kTopShade);
      DrawFloorRect(left, bottom, right, z0, z1);
    }
  } else {
    const TPoint3D apex{right, (top + bottom) / 2, midZ};
    if (left != right) {
      triangle({left, top, z0}, {left, bottom, z0}, apex);
      if (shade) Shade(face, kTopShade);
      triangle({left, top, z0}, {left, top, z1}, apex);
    }
    if (right <= left) {
      if (shade) Shade(face, kSideShade);
      DrawSideRect(left, top, bottom, z0, z1);
    }
  }
}

void TZozCanvas3D::DrawShadedPyramid(bool vertical, int left, int top, int right, int bottom,
                                     int z0, int z1, int /*unused*/) {
  DrawPyramid(vertical, left, top, right, bottom, z0, z1, true);
}

// ---------------------------------------------------------------- cylinders and cones

void TZozCanvas3D::DrawCylinder(bool vertical, int left, int top, int right, int bottom, int z0,
                                int z1, bool shade) {
  DrawCone(vertical, left, top, right, bottom, z0, z1, shade, 100);
}

namespace {

// Twice the signed area of a polygon on screen. Rings and side quads are
// listed so that, seen from outside, they turn one way: y grows downwards, so
// a face turned to the viewer comes out negative.
long long WindingArea(const TPoint* p, int count) {
  long long area = 0;
  for (int q = 0; q < count; ++q) {
    const TPoint& a = p[q];
    const TPoint& b = p[(q + 1) % count];
    area += static_cast<long long>(a.x) * b.y - static_cast<long long>(b.x) * a.y;
  }
  return area;
}

}  // namespace

// A 16-sided prism round the axis; the far end (the top of a vertical shape,
// the right end of a horizontal one) narrowed to conePercent of the near end.
// Sides facing the viewer are drawn, those turned further away darker; then
// the end that faces the viewer. Both orientations list a side as near edge
// then far edge going round the same way, so one winding test serves both.
void TZozCanvas3D::DrawCone(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                            bool shade, int conePercent) {
  constexpr int kSides = 16;
  const tk::TColor face = FaceColor();
  const double midZ = (z0 + z1) / 2.0, rz = (z1 - z0) / 2.0;
  const double across = vertical ? (left + right) / 2.0 : (top + bottom) / 2.0;
  const double radius = vertical ? (right - left) / 2.0 : (bottom - top) / 2.0;
  const double farRadius = radius * conePercent / 100.0;
  // ends along the axis: near (bottom or left) and far (top or right)
  const int nearAt = vertical ? bottom : left, farAt = vertical ? top : right;
  std::array<TPoint, kSides> nearRing, farRing;
  for (int i = 0; i < kSides; ++i) {
    const double a = 2 * std::numbers::pi * i / kSides;
    auto at = [&](double rad, int along) {
      const int u = tk::RoundToInt(across + rad * std::cos(a)),
                z = tk::RoundToInt(midZ + rz * (rad / std::max(radius, 1e-9)) * std::sin(a));
      return vertical ? ProjectPoint(u, along, z) : ProjectPoint(along, u, z);
    };
    nearRing[static_cast<size_t>(i)] = at(radius, nearAt);
    farRing[static_cast<size_t>(i)] = at(farRadius, farAt);
  }
  for (int i = 0; i < kSides; ++i) {
    const size_t j = static_cast<size_t>(i), k = static_cast<size_t>((i + 1) % kSides);
    working_[0] = nearRing[j];
    working_[1] = nearRing[k];
    working_[2] = farRing[k];
    working_[3] = farRing[j];
    if (WindingArea(working_, 4) > 0) continue;  // turned away
    if (shade) {
      const double mid = 2 * std::numbers::pi * (i + 0.5) / kSides;
      Shade(face, tk::RoundToInt(kSideShade * (1 - std::fabs(std::sin(mid)))));
    }
    DrawWorkingQuad();
  }
  // the rings run round the far end's outward side, so the near end shows
  // when its ring turns the other way
  if (shade) Shade(face, kTopShade);
  if (WindingArea(farRing.data(), kSides) < 0)
    surface_->Polygon(farRing.data(), kSides);
  else if (WindingArea(nearRing.data(), kSides) > 0)
    surface_->Polygon(nearRing.data(), kSides);
}

// ---------------------------------------------------------------- thick pie slice

void TZozCanvas3D::DrawPieSlice3D(int cx, int cy, int rx, int ry, int z0, int z1, double start,
                                  double end, bool shade, bool drawSides) {
  const double degrees = std::fabs(end - start) * 180 / std::numbers::pi;
  const int n = std::min(30, tk::RoundToInt(degrees / 10)) + 2;
  // arc points 1..n at both depths, the centre at index 0
  std::array<TPoint, 33> front, back, arc2d;
  for (int k = 1; k <= n; ++k) {
    const double a = start + (k - 1) * (end - start) / (n - 1);
    const TPoint p{cx + tk::RoundToInt(rx * std::cos(a)), cy - tk::RoundToInt(ry * std::sin(a))};
    arc2d[static_cast<size_t>(k)] = p;
    front[static_cast<size_t>(k)] = ProjectPoint(p.x, p.y, z0);
    back[static_cast<size_t>(k)] = ProjectPoint(p.x, p.y, z1);
  }
  front[0] = ProjectPoint(cx, cy, z0);
  back[0] = ProjectPoint(cx, cy, z1);
  const tk::TColor face = FaceColor();
  if (drawSides) {
    auto radial = [&](size_t k) {
      working_[0] = front[0];
      working_[1] = front[k];
      working_[2] = back[k];
      working_[3] = back[0];
      DrawWorkingQuad();
    };
    if (arc2d[1].x < cx) radial(1);
    if (arc2d[static_cast<size_t>(n)].x > cx) radial(static_cast<size_t>(n));
  }
  surface_->Polygon(back.data(), n + 1);
  // The rim between two arc points faces the viewer where the front arc comes
  // out from under the face: where the arc's outward normal points the way the
  // depth runs on the screen. (Going down the screen is the same test only for
  // the quarter where the arc also runs right; in a pie seen from above it
  // would paint the back rim over the face and leave the front right bare.)
  const double turn = end >= start ? 1 : -1;
  auto faces = [&](int i) {
    const TPoint a = back[static_cast<size_t>(i)], b = back[static_cast<size_t>(i + 1)];
    const TPoint f = front[static_cast<size_t>(i)];
    const double dx = b.x - a.x, dy = b.y - a.y, sx = f.x - a.x, sy = f.y - a.y;
    return turn * (dx * sy - dy * sx) > 0;
  };
  if (shade) Shade(face, kRimShade);
  std::array<TPoint, 66> rim;
  int k = 1;
  while (k < n) {
    if (!faces(k)) {
      ++k;
      continue;
    }
    int last = k + 1;
    while (last < n && faces(last))
      ++last;
    int count = 0;
    for (int i = k; i <= last; ++i)
      rim[static_cast<size_t>(count++)] = back[static_cast<size_t>(i)];
    for (int i = last; i >= k; --i)
      rim[static_cast<size_t>(count++)] = front[static_cast<size_t>(i)];
    surface_->Polygon(rim.data(), count);
    k = last;
  }
}

// ---------------------------------------------------------------- arrow

void TZozCanvas3D::DrawArrow(bool filled, TPoint from, TPoint to, int headWidth, int headLength,
                             int z) {
  const double dx = to.x - from.x, dy = from.y - to.y;
  const double length = std::sqrt(dx * dx + dy * dy);
  if (length == 0) return;
  const double h = std::min<double>(tk::RoundToInt(length), headLength);
  const double s = dy / length, c = dx / length;
  auto screen = [&](double u, double v) {
    return ProjectPoint(tk::RoundToInt(u * c + v * s), tk::RoundToInt(-u * s + v * c), z);
  };
  const double ut = to.x * c - to.y * s, vt = to.x * s + to.y * c;
  const double halfHead = headWidth / 2.0;
  const TPoint cornerMinus = screen(ut - h, vt - halfHead),
               cornerPlus = screen(ut - h, vt + halfHead);
  if (!filled) {
    MovePenAtDepth(from.x, from.y, z);
    DrawLineToAtDepth(to.x, to.y, z);
    const TPoint tip = ProjectPoint(to.x, to.y, z);
    surface_->LineTo(cornerMinus.x, cornerMinus.y);
    surface_->MoveTo(tip.x, tip.y);
    surface_->LineTo(cornerPlus.x, cornerPlus.y);
    return;
  }
  const double uf = from.x * c - from.y * s, quarter = headWidth / 4.0;
  const TPoint shape[7] = {screen(uf, vt + quarter),     screen(uf, vt - quarter),
                           screen(ut - h, vt - quarter), cornerMinus,
                           ProjectPoint(to.x, to.y, z),  cornerPlus,
                           screen(ut - h, vt + quarter)};
  surface_->Polygon(shape, 7);
}

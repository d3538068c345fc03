#include "chart/panel/HitTest.h"

#include <cstdlib>

bool PointOnSegment(tk::TPoint P, tk::TPoint p, tk::TPoint q, int t) {
  if (p == q) return false;
  const long long c = static_cast<long long>(q.y - p.y) * (P.x - p.x) -
                      static_cast<long long>(P.y - p.y) * (q.x - p.x);
  if (std::llabs(c) >= std::max(std::abs(q.x - p.x), std::abs(q.y - p.y))) return false;
  // beyond an end: P and the other end on opposite sides of it, both further than t
  auto beyond = [t](int P, int end, int other) {
    return ((P < end && other > end) || (P > end && other < end)) && std::abs(P - end) > t &&
           std::abs(other - end) > t;
  };
  if (beyond(P.x, p.x, q.x) || beyond(P.x, q.x, p.x)) return false;
  if (beyond(P.y, p.y, q.y) || beyond(P.y, q.y, p.y)) return false;
  return true;
}

bool PointInsidePolygon(tk::TPoint P, const std::vector<tk::TPoint>& pts) {
  bool inside = false;
  const size_t n = pts.size();
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    const tk::TPoint a = pts[i], b = pts[j];
    if (((a.y <= P.y && P.y < b.y) || (b.y <= P.y && P.y < a.y)) &&
        P.x < static_cast<double>(b.x - a.x) * (P.y - a.y) / (b.y - a.y) + a.x)
      inside = !inside;
  }
  return inside;
}

bool PointInsideTriangle(tk::TPoint P, int x0, int x1, int y0, int y1) {
  return PointInsidePolygon(P, {{x0, y0}, {(x0 + x1) / 2, y1}, {x1, y0}});
}

bool PointInsideSideTriangle(tk::TPoint P, int y0, int y1, int x0, int x1) {
  return PointInsidePolygon(P, {{x1, y0}, {x0, (y0 + y1) / 2}, {x1, y1}});
}

bool PointInsideEllipse(tk::TPoint P, const tk::TRect& r) {
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  const double a = cx - r.left, b = cy - r.top;
  if (a == 0 || b == 0) return false;
  const double dx = P.x - cx, dy = P.y - cy;
  return dx * dx / (a * a) + dy * dy / (b * b) <= 1;
}

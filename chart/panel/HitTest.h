#pragma once
// Geometry used by the series' point-under-the-mouse tests.

#include <vector>

#include "toolkit/Geometry.h"

// On the segment p-q within about a pixel, and not beyond its ends by more than t pixels.
bool PointOnSegment(tk::TPoint P, tk::TPoint p, tk::TPoint q, int t = 0);
// Even-odd rule.
bool PointInsidePolygon(tk::TPoint P, const std::vector<tk::TPoint>& points);
// A triangle standing on the line y0 with its tip at y1.
bool PointInsideTriangle(tk::TPoint P, int x0, int x1, int y0, int y1);
// A triangle lying on the line x1 with its tip at x0.
bool PointInsideSideTriangle(tk::TPoint P, int y0, int y1, int x0, int x1);
bool PointInsideEllipse(tk::TPoint P, const tk::TRect& r);

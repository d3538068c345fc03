#pragma once
// The received wave's line on the signal chart. It is thin, solid and has up
// to two points a pixel column, so drawing it a segment at a time cost as much
// as the rest of a kept picture's paint (each segment a call to record,
// compare and play); it goes out as one polyline instead. The platform draws
// a thin polyline's segments each without its end pixel, as separate
// segments, but may fill in a pixel at a joint that they leave out (about 6 %
// more pixels on a noisy wave, each beside a joint); the line has no earlier
// picture to keep. Points that only lengthen a straight horizontal or
// vertical run (a flat stretch of the wave, a column's way up continued by
// the next) are left out: the run covers the same pixels. Anything else (a
// wide or dashed pen, 3D, data dense enough to be thinned by columns) is
// drawn as the fast line draws it.

#include <vector>

#include "chart/series/FastLineSeries.h"
#include "toolkit/Geometry.h"

class TReceivedLineSeries : public TFastLineSeries {
 public:
  // operations
  void DrawAllPoints() override;
  // The points the polyline of the visible points goes through, in order:
  // from the point before the first visible one, repeats and straight runs' inner points left out.
  const std::vector<tk::TPoint>& Chain() const { return chain_; }

 private:
  bool DrawsAsPolyline();
  void BuildChain();

  std::vector<tk::TPoint> chain_;  // reused between paints
};

// Appends p to a chain of pixels: a repeat is dropped, and a point that goes
// on in the direction of a horizontal or vertical last step replaces its end.
void ExtendChain(std::vector<tk::TPoint>& chain, tk::TPoint p);

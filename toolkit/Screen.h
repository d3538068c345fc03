#pragma once
// The size of the primary screen, in pixels and in millimetres, for drawings
// that must look round on a monitor whose pixels are not square.

namespace tk {

struct TScreenMetrics {
  int widthPixels = 0, heightPixels = 0;
  double widthMillimetres = 0, heightMillimetres = 0;
};

// The primary screen's metrics; all zero when there is no screen (no
// application object yet, or a platform without one).
TScreenMetrics PrimaryScreenMetrics();

}  // namespace tk

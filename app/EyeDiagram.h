#pragma once
// The eye diagram window: every received bit's wave laid over the others, two
// bit times wide and centred on the receiver's sampling instant, as a density
// picture in a chart of time (bit times) against level, with the threshold
// and the sampling instant marked and the eye's opening measured. It follows
// new bits at the cost of the new bits only; Esc closes it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "app/Channel.h"
#include "chart/panel/Chart.h"
#include "chart/series/FastLineSeries.h"
#include "toolkit/Form.h"
#include "toolkit/Menu.h"
#include "toolkit/RgbPicture.h"
#include "toolkit/Shortcut.h"
#include "toolkit/StdControls.h"
#include "toolkit/Timer.h"

// ---------------------------------------------------------------- plain helpers

// The share of all traces below which a cell counts as empty when the eye is
// measured: a rare outlier of the noise must not close the eye by itself.
inline constexpr double kEyeEmptyFraction = 0.01;

// How far the eye stands open, measured on the density picture. A cell counts
// as busy when it holds more than the fraction of all traces.
//  - height: in the sampling column, from the threshold row up to the first
//    busy row and down to the first busy row below; the height is the level
//    span of the free rows between them (0 when the threshold row itself is
//    busy, or when no trace lies on one side yet);
//  - width: the time span of the columns around the sampling instant whose
//    own opening, measured the same way, is at least half the height.
// It measures from the threshold outwards, never by sorting the rails, so
// flipped bits (clean levels) leave it as open as before and a rare outlier
// does not close it.
TEyeOpening MeasureEye(const TEyeDiagram& eye, double emptyFraction = kEyeEmptyFraction);
// The opening as the window prints it.
std::string EyeOpeningText(const TEyeOpening& opening);
// A cell's colour: white when empty, then from light to dark blue as its
// count grows towards the busiest cell's, on a logarithmic ramp so that rare
// paths still show beside the rails.
tk::TColor DensityColor(std::uint32_t count, std::uint32_t maxCount);

// ---------------------------------------------------------------- the window

class TEyeWindow : public tk::TForm {
 public:
  TEyeWindow();
  ~TEyeWindow() override;

  // components
  TChart Chart{this};
  tk::TLabel Opening{this};
  tk::TPopupMenu ChartMenu;  // the picture out of the program

  // properties
  const TEyeDiagram& Eye() const { return eye_; }
  const tk::TRgbPicture& Picture() const { return *picture_; }
  TFastLineSeries& ThresholdLine() const { return *threshold_; }
  TFastLineSeries& InstantLine() const { return *instant_; }

  // operations
  // Adds the traces of the decisions taken since the last call (all of them,
  // up to a recent stretch, after the channel forgot or recounted its results).
  void Follow(const TChannel& channel, int encoding);
  // Paints the density into the picture and the opening into the label; the
  // window does it on its own a few times a second while traces come.
  void RefreshPicture();
  std::string DefaultName(const std::string& extension) const;

 private:
  void CreateChart();
  void CreateMenu();

  std::shared_ptr<tk::TRgbPicture> picture_;  // the chart's back image
  TFastLineSeries* threshold_ = nullptr;      // owned by Chart
  TFastLineSeries* instant_ = nullptr;        // owned by Chart
  TEyeDiagram eye_;
  std::size_t next_ = 0;              // the first decision not yet in the eye
  std::uint64_t generation_ = ~0ull;  // the channel's results the eye was built from
  bool dirty_ = false;
  tk::TTimer refresh_;
  tk::TShortcut escape_{*this, "Esc", tk::ssWindow};
};

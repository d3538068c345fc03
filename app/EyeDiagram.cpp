#include "app/EyeDiagram.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/Export.h"

using namespace tk;

namespace {

constexpr int kC = TEyeDiagram::kColumns, kR = TEyeDiagram::kRows;
constexpr double kRowStep = (TEyeDiagram::kLevelHigh - TEyeDiagram::kLevelLow) / kR;
constexpr double kColumnStep = 2.0 / kC;  // bit times
// After the channel recounted, or while the window was hidden, the eye takes
// only this many decisions before the newest: an hour of bits would stall the window.
constexpr std::size_t kRebuildDecisions = 20000;
constexpr TColor kThresholdColor = 0x009FE6;  // orange (230, 159, 0)
constexpr TColor kInstantColor = 0x303030;

int ThresholdRow(const TEyeDiagram& eye) {
  const int r = static_cast<int>(std::floor((eye.Threshold() - TEyeDiagram::kLevelLow) / kRowStep));
  return std::clamp(r, 0, kR - 1);
}

}  // namespace

// ---------------------------------------------------------------- plain helpers

TEyeOpening MeasureEye(const TEyeDiagram& eye, double emptyFraction) {
  if (eye.Traces() == 0) return {};
  const double floor = emptyFraction * static_cast<double>(eye.Traces());
  const int rt = ThresholdRow(eye);
  // rows free around the threshold in one column: 0 when the threshold row is
  // busy or a rail is missing there
  const auto opening = [&](int c) {
    const auto busy = [&](int r) {
      const std::uint32_t n = eye.At(c, r);
      return n > 0 && n > floor;
    };
    if (busy(rt)) return 0;
    int up = rt + 1, down = rt - 1;
    while (up < kR && !busy(up))
      ++up;
    while (down >= 0 && !busy(down))
      --down;
    return up < kR && down >= 0 ? up - down - 1 : 0;
  };
  const int c0 = kC / 2;  // the column that starts at the sampling instant
  const int rows = opening(c0);
  TEyeOpening o;
  if (rows <= 0) return o;
  o.height = rows * kRowStep;
  // the eye is as wide as the columns around the instant that keep at least half its height
  int left = c0 - 1, right = c0 + 1;
  while (left >= 0 && 2 * opening(left) >= rows)
    --left;
  while (right < kC && 2 * opening(right) >= rows)
    ++right;
  o.width = (right - left - 1) * kColumnStep;
  o.open = o.width > 0;
  return o;
}

std::string EyeOpeningText(const TEyeOpening& o) {
  char text[160];
  std::snprintf(text, sizeof text, "Eye height %s levels, width %s bit times%s",
                NumberText(std::round(o.height * 1000) / 1000).c_str(),
                NumberText(std::round(o.width * 1000) / 1000).c_str(),
                o.open ? "" : ": the eye is closed");
  return text;
}

TColor DensityColor(std::uint32_t count, std::uint32_t maxCount) {
  if (count == 0 || maxCount == 0) return clWhite;
  const double f = maxCount <= 1 ? 1.0 : std::log(1.0 + count) / std::log(1.0 + maxCount);
  // from a pale blue (198, 219, 239) to navy (8, 48, 107)
  const auto mix = [f](int a, int b) {
    return static_cast<std::uint8_t>(std::lround(a + (b - a) * std::clamp(f, 0.0, 1.0)));
  };
  return RGB(mix(198, 8), mix(219, 48), mix(239, 107));
}

// ---------------------------------------------------------------- the window

TEyeWindow::TEyeWindow() : picture_(std::make_shared<TRgbPicture>(kC, kR, clWhite)) {
  SetCaption("Eye diagram");
  SetClientSize(640, 480);
  CreateChart();
  CreateMenu();
  Opening.SetBounds(8, 456, 620, 16);
  Opening.SetAnchors(akLeft | akBottom);
  Opening.SetHint(
      "Height: the levels free of traces around the threshold at the sampling instant; width: the "
      "time around the instant that keeps half that height; cells under 1 % of the traces count "
      "as free");
  RefreshPicture();
  refresh_.SetInterval(100);
  refresh_.OnTimer = [this] {
    if (dirty_) RefreshPicture();
  };
  refresh_.SetEnabled(true);
  escape_.OnActivate = [this] { Close(); };
}

TEyeWindow::~TEyeWindow() {
  refresh_.OnTimer = nullptr;
  refresh_.SetEnabled(false);
}

void TEyeWindow::CreateChart() {
  TChart& c = Chart;
  c.SetBounds(0, 0, 640, 450);
  c.SetAnchors(kAllAnchors);
  c.SetView3D(false);
  c.Title().SetText({"Eye diagram"});
  c.BackWall().Brush().SetColor(clWhite);
  c.SetBackImage(picture_);
  c.SetBackImageInside(true);
  c.SetBackImageMode(pbmStretch);
  c.Legend().SetVisible(false);
  c.BottomAxis().SetAutomatic(false);
  c.BottomAxis().SetLimits(-1, 1);
  c.BottomAxis().SetIncrement(0.25);
  c.BottomAxis().SetAxisValuesFormat("0.##");
  c.BottomAxis().Title().SetCaption("Time from the sampling instant (bit times)");
  c.LeftAxis().SetAutomatic(false);
  c.LeftAxis().SetLimits(TEyeDiagram::kLevelLow, TEyeDiagram::kLevelHigh);
  c.LeftAxis().SetIncrement(0.5);
  c.LeftAxis().SetAxisValuesFormat("0.#");
  c.LeftAxis().Title().SetCaption("Level");
  const auto line = [&c](TColor color, int width, const char* title) {
    auto* s = new TFastLineSeries;
    s->SetTitle(title);
    s->SetSeriesColor(color);
    s->LinePen().SetColor(color);
    s->LinePen().SetWidth(width);
    s->SetShowInLegend(false);
    s->SetParentChart(&c);
    return s;
  };
  threshold_ = line(kThresholdColor, 2, "Threshold");
  instant_ = line(kInstantColor, 1, "Sampling instant");
  instant_->LinePen().SetStyle(psDash);
  instant_->AddPointXY(0, TEyeDiagram::kLevelLow);
  instant_->AddPointXY(0, TEyeDiagram::kLevelHigh);
}

void TEyeWindow::CreateMenu() {
  ChartMenu.Add("Cop&y picture", false).OnClick = [this] {
    RefreshPicture();
    CopyChartPicture(Chart);
  };
  ChartMenu.Add("&Save picture...", false).OnClick = [this] {
    RefreshPicture();
    const std::string path = PromptSaveFileName(*this, "Save picture", DefaultName("png"),
                                                {"PNG image (*.png)", "SVG drawing (*.svg)"});
    if (!path.empty()) SaveChartPicture(Chart, path);
  };
  Chart.OnContextPopup = [this](TCustomPanel*, TPoint p) { ChartMenu.Popup(Chart, p.x, p.y); };
}

std::string TEyeWindow::DefaultName(const std::string& extension) const {
  return DefaultFileName("", "eye", extension);
}

void TEyeWindow::Follow(const TChannel& channel, int encoding) {
  const double threshold = TChannel::Threshold(encoding);
  if (channel.RecountGeneration() != generation_ || threshold != eye_.Threshold()) {
    // other results (a Clear, a finished recount) or another encoding: a new eye
    generation_ = channel.RecountGeneration();
    eye_.Clear();
    eye_.SetThreshold(threshold);
    const std::size_t n = channel.ReceivedBitCount();
    next_ = n > kRebuildDecisions ? n - kRebuildDecisions : 0;
    dirty_ = true;
  }
  // a window hidden for long catches up on a recent stretch only
  const std::size_t n = channel.ReceivedBitCount();
  if (n > next_ + kRebuildDecisions) next_ = n - kRebuildDecisions;
  const std::uint64_t before = eye_.Traces();
  channel.FeedEye(eye_, next_);
  if (eye_.Traces() != before) dirty_ = true;
}

void TEyeWindow::RefreshPicture() {
  dirty_ = false;
  const std::uint32_t max = eye_.MaxCount();
  for (int r = 0; r < kR; ++r)
    for (int col = 0; col < kC; ++col)
      picture_->SetPixel(col, kR - 1 - r, DensityColor(eye_.At(col, r), max));  // row 0 lowest
  threshold_->RemoveAllPoints();
  threshold_->AddPointXY(-1, eye_.Threshold());
  threshold_->AddPointXY(1, eye_.Threshold());
  const std::string text = EyeOpeningText(MeasureEye(eye_));
  if (Opening.Caption() != text) Opening.SetCaption(text);
  Chart.Invalidate();
}

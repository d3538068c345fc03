#include "app/CompareWindow.h"

#include <charconv>
#include <cmath>

#include "app/SignalViews.h"
#include "app/TimeWindow.h"

using namespace tk;

namespace {

const TColor kLineColors[kEncodingCount] = {clRed, clBlue, clGreen, clPurple, clTeal};

const TGridColumn kColumns[kStatisticsColumns] = {
    {"Encoding", "The line encoding of the row"},
    {"Transitions/bit", "How often the level changes, on average per bit"},
    {"Longest run (bits)",
     "The longest stretch without a transition: what a receiver's clock must bridge"},
    {"DC level", "The time-average of the level: a line that cannot pass DC needs 0"},
    {"Highest fundamental (Hz)",
     "The frequency of the fastest full swing in these bits: the bandwidth the line needs"},
};

}  // namespace

std::string FixedText(double value, int decimals) {
  if (value == 0) value = 0;  // no "-0.000"
  char buffer[64];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                               decimals);
  return std::string(buffer, r.ptr);
}

TCompareWindow::TCompareWindow() {
  SetCaption("Compare encodings");
  SetClientSize(760, 600);
  CreateChart();
  CreateScrollBar();
  CreateTable();
  CreateMenu();
  int order = 0;
  for (tk::TControl* c : std::initializer_list<tk::TControl*>{&Chart, &ScrollBar, &Statistics})
    c->SetTabOrder(order++);
  escape_.OnActivate = [this] { Close(); };
}

TCompareWindow::~TCompareWindow() {
  Chart.OnGetNextAxisLabel = nullptr;
  Chart.OnGetAxisLabel = nullptr;
  Chart.OnZoom = Chart.OnUndoZoom = Chart.OnScroll = nullptr;
  ScrollBar.OnChange = nullptr;
}

void TCompareWindow::CreateChart() {
  TChart& c = Chart;
  c.SetBounds(0, 0, 760, 404);
  c.SetAnchors(kAllAnchors);
  c.SetView3D(false);
  c.SetAllowPanning(pmHorizontal);
  c.BackWall().Brush().SetColor(clWhite);
  // the axis measures its labels as numbers; the band names are wider
  c.SetMarginLeft(6);
  c.Legend().SetVisible(true);
  c.Legend().SetAlignment(laBottom);
  c.LeftAxis().SetAutomatic(false);
  c.LeftAxis().SetLimits(-1.5, BitLabelLevel() + 1.2);
  c.BottomAxis().SetAutomatic(false);
  c.BottomAxis().SetLabelStyle(talValue);
  c.BottomAxis().SetAxisValuesFormat("0");
  c.BottomAxis().SetRoundFirstLabel(false);
  for (int e = 0; e < kEncodingCount; ++e) {
    auto* s = new TFastLineSeries;
    s->SetTitle(EncodingName(e));
    s->SetSeriesColor(kLineColors[e]);
    s->LinePen().SetColor(kLineColors[e]);
    s->LinePen().SetWidth(2);
    s->Marks().SetVisible(false);
    s->SetParentChart(&c);
    lines_[e] = s;
  }
  bitLabels_ = new TPointSeries;
  bitLabels_->SetShowInLegend(false);
  bitLabels_->SetSeriesColor(clBlack);
  bitLabels_->Pointer().SetVisible(false);
  TSeriesMarks& m = bitLabels_->Marks();
  m.SetVisible(true);
  m.SetTransparent(true);
  m.Frame().SetVisible(false);
  m.Arrow().SetVisible(false);
  m.SetArrowLength(0);
  m.SetStyle(smsLabel);
  m.SetClip(true);
  m.Font().Assign({"Arial", -9, clBlack, {}});
  bitLabels_->SetParentChart(&c);
  bitLabels_->OnGetMarkText = [this](TChartSeries* s, int, std::string& text) {
    // a label wider than its bit would run into its neighbours' and read as noise
    if (text.empty()) return;
    const TChartAxis& axis = Chart.BottomAxis();
    const double pixelsPerMs = axis.CurrentRange > 0 ? axis.AxisPixels / axis.CurrentRange : 0;
    TZozCanvas3D& canvas = Chart.Canvas();
    canvas.Font().font = s->Marks().Font().Value();
    if (input_.bitTime * pixelsPerMs < canvas.MeasureTextWidth(text) + 2) text.clear();
  };
  // the left axis names the bands instead of numbering the levels
  c.OnGetNextAxisLabel = [this](TCustomChartAxis* a, int i, double& v, bool& stop) {
    NextLeftLabel(a, i, v, stop);
  };
  c.OnGetAxisLabel = [this](TCustomChartAxis* a, TChartSeries* s, int, std::string& text) {
    if (s == nullptr) LeftLabelText(a, text);
  };
}

void TCompareWindow::CreateScrollBar() {
  ScrollBar.SetBounds(0, 404, 760, 16);
  ScrollBar.SetAnchors(akLeft | akRight | akBottom);
  ScrollBar.SetMin(0);
  ScrollBar.SetMax(0);
  ScrollBar.OnChange = [this] { ScrollBarChange(); };
  // the bar shows where the zoomed window stands, whoever moved it
  Chart.OnZoom = [this](TCustomZozPanel*) { UpdateScrollBar(); };
  Chart.OnScroll = [this](TCustomZozPanel*) { UpdateScrollBar(); };
  Chart.OnUndoZoom = [this](TCustomZozPanel*) {
    // the limits saved at the first zoom held fewer bits than have come since
    FitWholeTransmission();
    UpdateScrollBar();
  };
}

void TCompareWindow::CreateMenu() {
  ChartMenu.Add("Cop&y picture", false).OnClick = [this] { CopyChartPicture(Chart); };
  ChartMenu.Add("&Save picture...", false).OnClick = [this] {
    const std::string path = PromptSaveFileName(*this, "Save picture", DefaultName("png"),
                                                {"PNG image (*.png)", "SVG drawing (*.svg)"});
    if (!path.empty()) SaveChartPicture(Chart, path);
  };
  ChartMenu.Add("Save &data...", false).OnClick = [this] {
    const std::string path =
        PromptSaveFileName(*this, "Save data", DefaultName("csv"), {"CSV file (*.csv)"});
    if (!path.empty()) SaveText(path, Csv());
  };
  Chart.OnContextPopup = [this](TCustomPanel*, TPoint p) { ChartMenu.Popup(Chart, p.x, p.y); };
}

std::vector<TBitRecord> BitRecords(const TCompareInput& input) {
  std::vector<TBitRecord> out;
  for (std::size_t i = 0; i < input.bits.size(); ++i)
    out.push_back({input.bits[i], i < input.roles.size() ? input.roles[i] : '?',
                   static_cast<std::uint8_t>(i < input.chars.size() ? input.chars[i] : 0)});
  return out;
}

std::string TCompareWindow::Csv() const {
  std::vector<TCsvSeries> series;
  for (int e = 0; e < kEncodingCount; ++e)
    series.push_back({lines_[e], EncodingName(e), Offset(e), PointsPerBit(e), {}});
  return CsvText(series, BitRecords(input_));
}

std::string TCompareWindow::DefaultName(const std::string& extension) const {
  return DefaultFileName(input_.text, "compare", extension);
}

void TCompareWindow::CreateTable() {
  Statistics.SetBounds(0, 424, 760, 176);
  Statistics.SetAnchors(akLeft | akRight | akBottom);
  Statistics.SetColumns({std::begin(kColumns), std::end(kColumns)});
  Statistics.SetRowCount(kEncodingCount);
  for (int e = 0; e < kEncodingCount; ++e) Statistics.SetCell(scEncoding, e, EncodingName(e));
}

void TCompareWindow::NextLeftLabel(TCustomChartAxis* axis, int index, double& value,
                                   bool& stop) {
  if (axis == &Chart.BottomAxis()) {
    NextBitLabel(*axis, index, value, stop);
    return;
  }
  if (axis != &Chart.LeftAxis()) return;
  // five labels and no more: the pass keeps asking while stop stays clear
  stop = index >= kEncodingCount;
  if (!stop) value = Offset(index);
}

void TCompareWindow::NextBitLabel(TCustomChartAxis& axis, int index, double& value, bool& stop) {
  // the bit grid: labels and grid lines on bit boundaries, as many bits apart
  // as the labels need to stay clear of each other
  const double t = input_.bitTime;
  if (index == 0) {
    gridStep_ = 0;
    if (t > 0 && axis.CurrentRange > 0 && axis.AxisPixels > 0) {
      const int width = std::max(axis.LabelExtent(axis.CurrentMaximum),
                                 axis.LabelExtent(axis.CurrentMinimum));
      const int spacing = LabelSpacing(axis.LabelsAngle(), width, Chart.Canvas().FontPixelHeight());
      gridStep_ = GridMultiple(t, axis.AxisPixels / axis.CurrentRange, spacing) * t;
    }
  }
  if (!(gridStep_ > 0)) return;
  value = GridLabel(axis.CurrentMinimum, gridStep_, index);
  stop = value > axis.CurrentMaximum;
}

void TCompareWindow::LeftLabelText(TCustomChartAxis* axis, std::string& text) {
  if (axis != &Chart.LeftAxis()) return;
  // the label arrives formatted as its whole-number offset
  for (int e = 0; e < kEncodingCount; ++e)
    if (text == FixedText(Offset(e), 0)) text = EncodingName(e);
}

void TCompareWindow::SetInput(const TCompareInput& input) {
  if (input == input_) return;
  const bool extends = Extends(input);
  const std::size_t from = input_.bits.size();
  input_ = input;
  if (extends)
    AppendBits(from);
  else
    Redraw();
}

bool TCompareWindow::Extends(const TCompareInput& input) const {
  // while sending each tick adds a bit, and sometimes a character, at the end;
  // a new speed redraws every bit at its new bit time
  const auto startsWith = [](const std::string& s, const std::string& prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
  };
  return encoders_[0] && input.bitTime == input_.bitTime && startsWith(input.bits, input_.bits) &&
         startsWith(input.roles, input_.roles) && startsWith(input.chars, input_.chars) &&
         startsWith(input.text, input_.text);
}

void TCompareWindow::Redraw() {
  for (int e = 0; e < kEncodingCount; ++e) {
    lines_[e]->RemoveAllPoints();
    encoders_[e] = std::make_unique<TBitEncoder>(e, input_.bitTime);
    trackers_[e] = TLineStatisticsTracker(Offset(e));
  }
  bitLabels_->RemoveAllPoints();
  // other bits are another picture: it opens whole
  if (!Chart.Restored()) Chart.ResetZoom();
  AppendBits(0);
}

void TCompareWindow::AppendBits(std::size_t from) {
  const double t = input_.bitTime;
  const double endBefore = static_cast<double>(from) * t;
  const std::string_view added = std::string_view(input_.bits).substr(from);
  for (int e = 0; e < kEncodingCount; ++e)
    for (const TLinePoint& p : encoders_[e]->Encode(added))
      lines_[e]->AddPointXY(p.x, p.y + Offset(e));
  for (std::size_t i = from; i < input_.bits.size(); ++i) {
    const char role = i < input_.roles.size() ? input_.roles[i] : '?';
    bitLabels_->AddPointXY((static_cast<double>(i) + 0.5) * t, BitLabelLevel(),
                           std::string{input_.bits[i], ' ', role});
  }
  const std::string title = "Line encodings of \"" + input_.text + "\"";
  if (Chart.Title().Text() != std::vector<std::string>{title}) Chart.Title().SetText({title});
  if (t > 0) Chart.BottomAxis().SetIncrement(t);  // grid lines and labels at the bit boundaries
  FollowData(endBefore);
  FillStatistics();
  Chart.Invalidate();
}

// ---------------------------------------------------------------- the time window

double TCompareWindow::DataEnd() const {
  return static_cast<double>(input_.bits.size()) * input_.bitTime;
}

void TCompareWindow::FitWholeTransmission() {
  Chart.BottomAxis().SetLimits(0, std::max(1.0, DataEnd()));
}

void TCompareWindow::FollowData(double endBefore) {
  TChartAxis& bottom = Chart.BottomAxis();
  const double end = DataEnd();
  if (Chart.Restored()) {
    FitWholeTransmission();
  } else if (bottom.Maximum() >= endBefore && end > bottom.Maximum()) {
    // a zoomed window that showed the newest bit moves on with the bits; one
    // the student scrolled back stays where they put it
    const double width = bottom.Maximum() - bottom.Minimum();
    bottom.SetLimits(end - width, end);
  }
  UpdateScrollBar();
}

void TCompareWindow::UpdateScrollBar() {
  const TChartAxis& bottom = Chart.BottomAxis();
  const double width = bottom.Maximum() - bottom.Minimum();
  const int page = std::max(1, static_cast<int>(std::lround(width)));
  const int left = static_cast<int>(std::lround(bottom.Minimum()));
  // a page is the window: the bar's far end puts the window's right edge at the last bit
  const int last = std::max({0, static_cast<int>(std::ceil(DataEnd() - width)), left});
  syncingBar_ = true;
  ScrollBar.SetMin(std::min(0, left));
  ScrollBar.SetPageSize(page);
  ScrollBar.SetMax(last + page - 1);
  ScrollBar.SetPosition(left);
  syncingBar_ = false;
}

void TCompareWindow::ScrollBarChange() {
  if (syncingBar_) return;
  // the signal chart's scrolling, with limits set in the order that keeps the
  // window valid: this bar reaches far beyond the window's own width
  MoveTimeWindow(Chart.BottomAxis(), ScrollBar.Position(), woNeverInverted);
}

void TCompareWindow::FillStatistics() {
  const int bits = static_cast<int>(input_.bits.size());
  for (int e = 0; e < kEncodingCount; ++e) {
    // the tracker reads only the points this update added, at the line's own levels
    trackers_[e].Update(*lines_[e]);
    const TLineStatistics& st = statistics_[e] =
        trackers_[e].Statistics(bits, input_.bitTime, input_.speed);
    Statistics.SetCell(scTransitions, e, FixedText(st.transitionsPerBit, 3));
    Statistics.SetCell(scLongestRun, e, FixedText(st.longestRunBits, 1));
    Statistics.SetCell(scDcLevel, e, FixedText(st.dcLevel, 3));
    Statistics.SetCell(scFundamental, e, FixedText(st.highestFundamentalHz, 1));
  }
}

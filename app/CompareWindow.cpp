#include "app/CompareWindow.h"

#include <charconv>
#include <cmath>

#include "app/SignalViews.h"

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
  CreateTable();
  CreateMenu();
  escape_.OnActivate = [this] { Close(); };
}

TCompareWindow::~TCompareWindow() {
  Chart.OnGetNextAxisLabel = nullptr;
  Chart.OnGetAxisLabel = nullptr;
}

void TCompareWindow::CreateChart() {
  TChart& c = Chart;
  c.SetBounds(0, 0, 760, 420);
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
    series.push_back({lines_[e], EncodingName(e), Offset(e), PointsPerBit(e)});
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
  input_ = input;
  Redraw();
}

void TCompareWindow::Redraw() {
  const double t = input_.bitTime;
  const std::size_t n = input_.bits.size();
  Chart.Title().SetText({"Line encodings of \"" + input_.text + "\""});
  for (int e = 0; e < kEncodingCount; ++e) {
    TFastLineSeries& s = *lines_[e];
    s.RemoveAllPoints();
    for (const TLinePoint& p : EncodeBits(input_.bits, e, input_.bitTime))
      s.AddPointXY(p.x, p.y + Offset(e));
  }
  bitLabels_->RemoveAllPoints();
  for (std::size_t i = 0; i < n; ++i) {
    const char role = i < input_.roles.size() ? input_.roles[i] : '?';
    bitLabels_->AddPointXY((static_cast<double>(i) + 0.5) * t, BitLabelLevel(),
                           std::string{input_.bits[i], ' ', role});
  }
  TChartAxis& bottom = Chart.BottomAxis();
  const double width = std::max(1.0, static_cast<double>(n) * t);
  bottom.SetMaximum(width);
  bottom.SetMinimum(0);
  if (t > 0) bottom.SetIncrement(t);  // grid lines and labels at the bit boundaries
  FillStatistics();
  Chart.Invalidate();
}

void TCompareWindow::FillStatistics() {
  const int bits = static_cast<int>(input_.bits.size());
  for (int e = 0; e < kEncodingCount; ++e) {
    // the statistics read the line at its own levels, not shifted into its band
    TFastLineSeries level;
    for (const TLinePoint& p : EncodeBits(input_.bits, e, input_.bitTime))
      level.AddPointXY(p.x, p.y);
    const TLineStatistics& st = statistics_[e] =
        ComputeLineStatistics(level, bits, input_.bitTime, input_.speed);
    Statistics.SetCell(scTransitions, e, FixedText(st.transitionsPerBit, 3));
    Statistics.SetCell(scLongestRun, e, FixedText(st.longestRunBits, 1));
    Statistics.SetCell(scDcLevel, e, FixedText(st.dcLevel, 3));
    Statistics.SetCell(scFundamental, e, FixedText(st.highestFundamentalHz, 1));
  }
}

#include "app/ChannelView.h"

#include <algorithm>
#include <cmath>

namespace {

// Sent bits a recount slice decodes: small enough that a slice stays well
// under a frame at any history, large enough that an hour's history takes seconds.
constexpr std::size_t kRecountSliceBits = 20000;

}  // namespace

TChannelView::TChannelView(TChart& chart, TChartSeries& sent)
    : chart_(chart),
      sent_(sent),
      channel_(std::make_unique<TChannel>()),
      sliceBits_(kRecountSliceBits) {
  received_ = std::make_unique<TReceivedLineSeries>();
  received_->SetTitle("Received");
  received_->SetSeriesColor(kReceivedColor);
  received_->LinePen().SetColor(kReceivedColor);
  received_->LinePen().SetWidth(1);
  received_->Marks().SetVisible(false);
  recount_.OnDone = [this] {
    if (OnRecounted) OnRecounted();
  };
}

TChannelView::~TChannelView() {
  recount_.Cancel();
  received_->SetParentChart(nullptr);  // the chart would free the series it holds
}

void TChannelView::SetSettings(const TChannelSettings& settings) {
  if (settings == channel_->Settings()) return;
  const bool wasOn = On();
  channel_->SetSettings(settings);  // throws on a bad value, keeping the old settings
  if (On() != wasOn) ShowOnChart(On());
  Refill();
  StartRecount();
}

void TChannelView::StartRecount() {
  if (!channel_->Recounting()) {
    recount_.Cancel();
    if (OnRecounted) OnRecounted();
    return;
  }
  recount_.Start([this] {
    if (channel_->RunRecount(sliceBits_)) return 1.0;
    return std::min(0.999, channel_->RecountProgress());
  });
}

void TChannelView::ShowOnChart(bool on) {
  if (on) {
    sentTitle_ = sent_.Title();
    legendAlignment_ = chart_.Legend().Alignment();
    sent_.SetTitle("Sent");
    sent_.SetShowInLegend(true);
    // above the plot, so the time axis keeps the window's whole width
    chart_.Legend().SetAlignment(laTop);
    received_->SetParentChart(&chart_);
  } else {
    received_->SetParentChart(nullptr);
    received_->RemoveAllPoints();
    sent_.SetShowInLegend(false);
    sent_.SetTitle(sentTitle_);
    chart_.Legend().SetAlignment(legendAlignment_);
  }
  chart_.Invalidate();
}

void TColumnReducer::Start(double x0, double width) {
  x0_ = x0;
  width_ = width > 0 ? width : 1;
  open_ = false;
}

double TChannelView::ColumnWidth() const {
  const TChartAxis& axis = chart_.BottomAxis();
  const double range = axis.Maximum() - axis.Minimum();
  // before the first paint the axis has no pixels yet: assume a wide screen's
  const int pixels = axis.AxisPixels > 0 ? axis.AxisPixels : 2000;
  return range / pixels;
}

void TChannelView::Refill() {
  received_->RemoveAllPoints();
  if (!On()) return;
  const TChartAxis& axis = chart_.BottomAxis();
  // a little beyond both edges, so the line runs out of the plot as the sent one does
  const double pad = (axis.Maximum() - axis.Minimum()) * 0.02;
  filledTo_ = axis.Minimum() - pad;
  sampled_ = false;
  reducedPixels_ = axis.AxisPixels;
  reducer_.Start(axis.Minimum(), ColumnWidth());
  FillUpTo(axis.Maximum() + pad);
}

void TChannelView::Append(double x, double y) {
  received_->AddPointXY(x, y);
}

void TChannelView::FillUpTo(double x1) {
  if (!(x1 > filledTo_)) return;
  channel_->FillWave(filledTo_, x1, xs_, ys_);
  // one repaint request for the lot: each request reaches the window system
  const bool repaint = chart_.AutoRepaint();
  chart_.SetAutoRepaint(false);
  const int before = received_->PointCount();
  const auto append = [this](double x, double y) { Append(x, y); };
  for (std::size_t i = 0; i < xs_.size(); ++i) {
    if (sampled_ && xs_[i] <= filledTo_) continue;  // had it already
    reducer_.Add(xs_[i], ys_[i], append);
    filledTo_ = xs_[i];
    sampled_ = true;
  }
  chart_.SetAutoRepaint(repaint);
  if (received_->PointCount() != before) chart_.Invalidate();
}

void TChannelView::SentBit(const TSentBit& bit) {
  channel_->AddBit(bit);
  if (!On()) return;
  const TChartAxis& axis = chart_.BottomAxis();
  const double pad = (axis.Maximum() - axis.Minimum()) * 0.02;
  const double end = bit.startMs + bit.bitTime;
  if (bit.startMs > axis.Maximum() + pad || end < axis.Minimum() - pad) return;  // off the window
  // the chart was resized since the columns were made: make them again
  if (axis.AxisPixels != reducedPixels_) {
    Refill();
    return;
  }
  FillUpTo(std::min(end, axis.Maximum() + pad));
}

void TChannelView::Restart() {
  // the new run draws from time 0 again; the old run's wave goes
  received_->RemoveAllPoints();
  const TChartAxis& axis = chart_.BottomAxis();
  filledTo_ = axis.Minimum() - (axis.Maximum() - axis.Minimum()) * 0.02;
  sampled_ = false;
  reducedPixels_ = axis.AxisPixels;
  reducer_.Start(axis.Minimum(), ColumnWidth());
}

void TChannelView::Clear() {
  recount_.Cancel();
  channel_->Clear();
  Restart();
}

void TChannelView::WindowMoved() {
  if (On()) Refill();
}

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
  received_ = std::make_unique<TFastLineSeries>();
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
    filled_ = false;
    sent_.SetShowInLegend(false);
    sent_.SetTitle(sentTitle_);
    chart_.Legend().SetAlignment(legendAlignment_);
  }
  chart_.Invalidate();
}

void TChannelView::Refill() {
  received_->RemoveAllPoints();
  filled_ = false;
  if (!On()) return;
  const TChartAxis& axis = chart_.BottomAxis();
  // a little beyond both edges, so the line runs out of the plot as the sent one does
  const double pad = (axis.Maximum() - axis.Minimum()) * 0.02;
  filledTo_ = axis.Minimum() - pad;
  FillUpTo(axis.Maximum() + pad);
}

void TChannelView::FillUpTo(double x1) {
  if (!(x1 > filledTo_)) return;
  channel_->FillWave(filledTo_, x1, xs_, ys_);
  // one repaint request for the lot: a bit brings 32 samples, and each request
  // reaches the window system
  const bool repaint = chart_.AutoRepaint();
  chart_.SetAutoRepaint(false);
  const std::size_t before = static_cast<std::size_t>(received_->PointCount());
  for (std::size_t i = 0; i < xs_.size(); ++i) {
    if (filled_ && xs_[i] <= received_->XValueAt(received_->PointCount() - 1)) continue;
    received_->AddPointXY(xs_[i], ys_[i]);
    filled_ = true;
  }
  chart_.SetAutoRepaint(repaint);
  if (static_cast<std::size_t>(received_->PointCount()) != before) chart_.Invalidate();
  // samples still to come (the wave is filled as far as bits have been sent)
  if (filled_) filledTo_ = received_->XValueAt(received_->PointCount() - 1);
}

void TChannelView::SentBit(const TSentBit& bit) {
  channel_->AddBit(bit);
  if (!On()) return;
  const TChartAxis& axis = chart_.BottomAxis();
  const double pad = (axis.Maximum() - axis.Minimum()) * 0.02;
  const double end = bit.startMs + bit.bitTime;
  if (bit.startMs > axis.Maximum() + pad || end < axis.Minimum() - pad) return;  // off the window
  FillUpTo(std::min(end, axis.Maximum() + pad));
}

void TChannelView::Restart() {
  // the new run draws from time 0 again; the old run's wave goes
  received_->RemoveAllPoints();
  filled_ = false;
  const TChartAxis& axis = chart_.BottomAxis();
  filledTo_ = axis.Minimum() - (axis.Maximum() - axis.Minimum()) * 0.02;
}

void TChannelView::Clear() {
  recount_.Cancel();
  channel_->Clear();
  Restart();
}

void TChannelView::WindowMoved() {
  if (On()) Refill();
}

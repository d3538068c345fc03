#pragma once
// The channel on the signal chart. While every knob is at 0 the chart holds
// and draws exactly its designed series; otherwise a second, thin line in
// blue (told apart from the red sent wave by every common colour-vision
// deficiency, and by its width) shows the received wave, and a legend names
// both. The received wave is computed only for the time window the chart
// shows: a move or zoom of the window computes it anew, and a tick adds only
// the samples of its bit while the bit lies in the window.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Channel.h"
#include "chart/panel/Chart.h"
#include "chart/series/FastLineSeries.h"
#include "toolkit/IdleJob.h"

inline constexpr tk::TColor kReceivedColor = 0xB27200;  // blue (0, 114, 178)

class TChannelView {
 public:
  // sent: the chart's designed series, which the legend names while the channel is on
  TChannelView(TChart& chart, TChartSeries& sent);
  ~TChannelView();
  TChannelView(const TChannelView&) = delete;
  TChannelView& operator=(const TChannelView&) = delete;

  // properties
  const TChannel& Channel() const { return *channel_; }
  const TChannelSettings& Settings() const { return channel_->Settings(); }
  // Checks (the channel's message, old settings kept), shows the new wave at
  // once and recounts the history in slices.
  void SetSettings(const TChannelSettings& settings);
  bool On() const { return !channel_->Settings().IsIdeal(); }
  TFastLineSeries& Received() const { return *received_; }
  tk::TIdleJob& Recount() { return recount_; }
  // Sent bits one recount slice decodes.
  std::size_t RecountSliceBits() const { return sliceBits_; }
  void SetRecountSliceBits(std::size_t bits) { sliceBits_ = bits > 0 ? bits : 1; }

  // operations: the transmission road
  void SentBit(const TSentBit& bit);
  void Restart();  // START: a new run, whose wave replaces the old one's
  void Clear();
  // The chart's time window moved or was zoomed.
  void WindowMoved();

  // events
  std::function<void()> OnRecounted;  // the counters and results now follow the new settings

 private:
  void ShowOnChart(bool on);
  void Refill();
  void FillUpTo(double x1);
  void StartRecount();

  TChart& chart_;
  TChartSeries& sent_;
  std::unique_ptr<TChannel> channel_;
  std::unique_ptr<TFastLineSeries> received_;  // lent to the chart while the channel is on
  tk::TIdleJob recount_;
  std::size_t sliceBits_;
  std::vector<double> xs_, ys_;  // reused between fills
  double filledTo_ = 0;          // the received line holds the window's samples up to here
  bool filled_ = false;          // ... and holds any at all
  // what the designed chart had before the legend was needed
  std::string sentTitle_;
  TLegendAlignment legendAlignment_ = laRight;
};

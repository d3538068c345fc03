#pragma once
// The channel on the signal chart. While every knob is at 0 the chart holds
// and draws exactly its designed series; otherwise a second, thin line in
// blue (told apart from the red sent wave by every common colour-vision
// deficiency, and by its width) shows the received wave, and a legend names
// both. The received wave is computed only for the time window the chart
// shows: a move or zoom of the window computes it anew, and a tick adds only
// the samples of its bit while the bit lies in the window. The line keeps, of
// each pixel column's samples, the lowest and the highest, so a bit narrower
// than a pixel costs the line about a point, not 32; the newest column joins
// the line once the next one begins, less than a pixel behind the data.

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/Channel.h"
#include "chart/panel/Chart.h"
#include "app/ReceivedLine.h"
#include "chart/series/FastLineSeries.h"
#include "toolkit/IdleJob.h"

inline constexpr tk::TColor kReceivedColor = 0xB27200;  // blue (0, 114, 178)

// Thins samples of ascending x to the lowest and the highest of each column
// of the given width (from x0 on), in the order they occur: one point pair a
// pixel column. A column is given out once a sample beyond it arrives, or at Flush.
class TColumnReducer {
 public:
  void Start(double x0, double width);
  template <typename Emit>
  void Add(double x, double y, Emit&& give);
  template <typename Emit>
  void Flush(Emit&& give);
  double Width() const { return width_; }

 private:
  struct TSample {
    double x, y;
  };
  double x0_ = 0, width_ = 1;
  long long column_ = 0;
  bool open_ = false;
  TSample low_{}, high_{};
};

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
  TReceivedLineSeries& Received() const { return *received_; }
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
  double ColumnWidth() const;
  void Append(double x, double y);

  TChart& chart_;
  TChartSeries& sent_;
  std::unique_ptr<TChannel> channel_;
  std::unique_ptr<TReceivedLineSeries> received_;  // lent to the chart while the channel is on
  tk::TIdleJob recount_;
  std::size_t sliceBits_;
  std::vector<double> xs_, ys_;  // reused between fills
  TColumnReducer reducer_;
  int reducedPixels_ = 0;  // the axis width the columns were made for
  double filledTo_ = 0;    // the window's samples are in the line up to here
  bool sampled_ = false;   // ... and some are
  // what the designed chart had before the legend was needed
  std::string sentTitle_;
  TLegendAlignment legendAlignment_ = laRight;
};

template <typename Emit>
void TColumnReducer::Add(double x, double y, Emit&& give) {
  const auto column = static_cast<long long>(std::floor((x - x0_) / width_));
  if (open_ && column != column_) Flush(give);
  if (!open_) {
    open_ = true;
    column_ = column;
    low_ = high_ = {x, y};
  }
  if (y < low_.y) low_ = {x, y};
  if (y > high_.y) high_ = {x, y};
}

template <typename Emit>
void TColumnReducer::Flush(Emit&& give) {
  if (!open_) return;
  open_ = false;
  const bool lowFirst = low_.x <= high_.x;
  const TSample& early = lowFirst ? low_ : high_;
  const TSample& late = lowFirst ? high_ : low_;
  give(early.x, early.y);
  if (late.x != early.x || late.y != early.y) give(late.x, late.y);
}

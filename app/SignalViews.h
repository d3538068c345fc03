#pragma once
// The views that explain the signal on the chart itself, each switched from
// the chart's context menu and all of them off at start:
//  - the bit grid: bottom-axis labels and grid lines at the bit boundaries;
//  - the bit roles: each bit's role above it and each frame's character under it;
//  - the receiver: an ideal receiver's sampling instants, decoded characters
//    and parity or framing verdicts;
//  - the clock: the bit clock as a thin trace above the signal.
// Each view is drawn by series of its own, kept out of the legend, that follow
// the data bit by bit (a tick costs the points it adds, never a rebuild). While
// a view is off its series stay out of the chart, which holds and draws
// exactly its designed series.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Channel.h"
#include "app/Receiver.h"
#include "app/TransmissionModel.h"
#include "chart/panel/Chart.h"
#include "chart/series/CustomSeries.h"
#include "chart/series/FastLineSeries.h"

enum TSignalView : int { svBitGrid, svBitRoles, svReceiver, svClock };
inline constexpr int kSignalViewCount = 4;

// Where the views draw on the signal's -2..2 level axis: the wave keeps -1..1.
inline constexpr double kClockLow = 1.4, kClockHigh = 1.8;  // the clock's band
inline constexpr double kRoleLevel = 1.1;        // role letters stand on this level
inline constexpr double kCharacterLevel = -1.62;  // the sent character, under the frame
inline constexpr double kDecodedLevel = -1.98;    // the receiver's character, under that

// ---------------------------------------------------------------- plain helpers

// The role of bit `index` (0 = the first sent) in a frame of the given length:
// 'S' start, '7'..'0' data bits in the order sent, 'P' parity, 'T' stop; '?'
// outside the frame. A frame's length tells its layout: 8 data bits, plus a
// parity bit (9), plus start and two stop bits (11), or both (12).
char BitRole(int frameLength, int index);
// The character a frame carries, read back from its data bits.
std::uint8_t FrameCode(const std::string& frame);
// A character as the chart writes it: 'K' when printable, else its code, 0x0A.
std::string CharacterText(std::uint8_t code);

// How far apart (pixels, along the axis) the origins of two labels of the given
// size must be so that, drawn at `angle` degrees, they do not overlap.
int LabelSpacing(int angle, int width, int height);
// The smallest whole number of bit times whose pixel width is at least `spacing`.
int GridMultiple(double bitTime, double pixelsPerMs, int spacing);
// The label values of the bit grid: multiples of step counted from 0, the
// index-th one at or above `minimum`.
double GridLabel(double minimum, double step, int index);

// ---------------------------------------------------------------- the views

class TSignalViews {
 public:
  // bitTime: the window's bit time as it stands now (the grid follows a new speed at once)
  TSignalViews(TChart& chart, std::function<double()> bitTime);
  ~TSignalViews();
  TSignalViews(const TSignalViews&) = delete;
  TSignalViews& operator=(const TSignalViews&) = delete;

  // properties
  bool Shown(TSignalView view) const { return shown_[view]; }
  void SetShown(TSignalView view, bool on);
  bool AnyShown() const;

  // operations: the window's transmission road passes through here
  // Before the model's tick: the line settings and the frame about to start, if any.
  void BeforeTick(const TTransmissionModel& model, const TTransmissionInputs& inputs,
                  const std::string& textToSend);
  // Every point the signal series receives, in order.
  void SignalPoint(double x, double y);
  // After the tick: what the bit sent (if one was) adds to each view.
  void AfterTick(const TTransmissionModel& model);
  // START: signal time restarts at 0, and the receiver with it.
  void Restart(const TTransmissionInputs& inputs);
  // Clear: every view is emptied with the signal.
  void Clear();
  // While the channel is on, the receiver view shows what the channel's
  // receiver (its own clock, the received wave) decoded, for the time window
  // [x0, x1] only, and follows new decisions there; null goes back to the
  // ideal receiver's reading of the drawn wave.
  void ShowChannelReceiver(const TChannel* channel, double x0, double x1);
  const TChannel* ChannelShown() const { return channel_; }
  // The explanation of the receiver's dot at the client point (x, y), empty when none.
  std::string HintAt(int x, int y) const;

  // the series behind the views, owned here and lent to the chart while shown
  TPointSeries& Roles() const { return *roles_; }
  TPointSeries& Characters() const { return *characters_; }
  TPointSeries& Samples() const { return *samples_; }
  TPointSeries& Decoded() const { return *decoded_; }
  TPointSeries& DecodedErrors() const { return *decodedErrors_; }
  TFastLineSeries& Clock() const { return *clock_; }
  const TReceiver& Receiver() const { return receiver_; }

 private:
  struct TFrameInProgress {
    std::string bits;     // the whole frame as the model built it
    std::uint8_t code = 0;
    double startX = 0;    // where its first bit after the last restart began
    bool started = false; // a bit of it has been drawn since the last restart
  };

  std::unique_ptr<TPointSeries> NewTextSeries(tk::TColor color, bool bold);
  void CreateSeries();
  void ShowSeries(TSignalView view, bool on);
  void ApplyLabelStyle();
  void NextGridLabel(TCustomChartAxis* axis, int index, double& value, bool& stop);
  double GridStep(TCustomChartAxis& axis);
  void HideNarrowText(TChartSeries* series, int index, std::string& text, double span) const;
  double PixelsPerMs() const;
  void AddBit(double x0, double x1, char bit);
  void AddClockPeriod(double x0, double x1);
  void DrawReceived();
  std::string DotHint(int i) const;
  void AddSample(const TReceivedBit& b);
  void AddDecoded(const TReceivedFrame& f);
  void DrawChannelReceived();
  std::vector<TChartSeries*> SeriesOf(TSignalView view) const;
  std::vector<TChartSeries*> AllSeries() const;

  TChart& chart_;
  std::function<double()> bitTime_;
  bool shown_[kSignalViewCount] = {};
  double gridStep_ = 0;

  std::unique_ptr<TPointSeries> roles_;          // one role letter per bit
  std::unique_ptr<TPointSeries> characters_;     // one sent character per frame
  std::unique_ptr<TPointSeries> samples_;        // one dot per sampling instant
  std::unique_ptr<TPointSeries> decoded_;        // the receiver's characters
  std::unique_ptr<TPointSeries> decodedErrors_;  // ... those with a parity or framing error
  std::unique_ptr<TFastLineSeries> clock_;

  // the tick in progress
  std::int32_t tickStartX_ = 0;
  char tickBit_ = 0;       // the bit this tick sends, 0 when none
  int tickPosition_ = -1;  // its index in the frame
  std::vector<double> tickXs_, tickYs_;
  TFrameInProgress frame_;

  TReceiver receiver_;
  TReceiverLine line_;
  bool lineKnown_ = false;
  std::size_t drawnBits_ = 0, drawnFrames_ = 0;

  // the channel's receiver, while the channel is on
  const TChannel* channel_ = nullptr;
  double windowMin_ = 0, windowMax_ = 0;
  std::size_t channelBits_ = 0, channelFrames_ = 0;  // the next decision and frame to draw
  std::uint64_t channelRevision_ = 0;                 // of the results drawn
};

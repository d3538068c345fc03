#pragma once
// The channel's knobs and its verdict: a window beside the main one (it does
// not block it) where the student makes the line worse or better and reads,
// for everything sent so far, how many bits and characters went wrong and how
// many of those parity and framing caught.

#include <functional>
#include <memory>

#include "app/Channel.h"
#include "toolkit/Form.h"
#include "toolkit/IdleJob.h"
#include "toolkit/Knob.h"
#include "toolkit/Shortcut.h"
#include "toolkit/StdControls.h"

// The verdict counters, in the order the dialog lists them.
enum TVerdict : int {
  vdBitsSent,
  vdBitsWrong,
  vdCharactersSent,
  vdCharactersRight,
  vdParityCaught,
  vdFramingCaught,
  vdUndetected,
};
inline constexpr int kVerdictCount = 7;

// A counter's number as the dialog writes it.
std::uint64_t VerdictValue(const TChannelCounters& counters, TVerdict verdict);

class TChannelDialog : public tk::TForm {
 public:
  TChannelDialog();
  ~TChannelDialog() override;

  // components
  tk::TKnob Tau{this};
  tk::TKnob Sigma{this};
  tk::TKnob Ber{this};
  tk::TKnob Skew{this};  // in per cent of the bit time
  tk::TKnob Seed{this};
  tk::TButton Reset{this};
  tk::TLabel VerdictCaption[kVerdictCount] = {tk::TLabel{this}, tk::TLabel{this}, tk::TLabel{this},
                                              tk::TLabel{this}, tk::TLabel{this}, tk::TLabel{this},
                                              tk::TLabel{this}};
  tk::TLabel VerdictNumber[kVerdictCount] = {tk::TLabel{this}, tk::TLabel{this}, tk::TLabel{this},
                                             tk::TLabel{this}, tk::TLabel{this}, tk::TLabel{this},
                                             tk::TLabel{this}};
  tk::TLabel Status{this};  // what the counters are: final, or being recounted
  tk::TProgressBar Progress{this};

  // operations: the owner shows what the channel holds
  void ShowSettings(const TChannelSettings& settings);
  void ShowCounters(const TChannelCounters& counters);
  void ShowRecounting(bool recounting);
  const TChannelSettings& Shown() const { return shown_; }

  // events
  // The settings the student asks for; a bad value throws with its message,
  // and the knobs then go back to the settings shown.
  std::function<void(const TChannelSettings&)> OnSettings;

 private:
  void CreateKnobs();
  void CreateVerdicts();
  void Ask(const TChannelSettings& settings);

  TChannelSettings shown_;
  tk::TShortcut escape_{*this, "Esc", tk::ssWindow};
};

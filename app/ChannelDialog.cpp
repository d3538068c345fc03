#include "app/ChannelDialog.h"

#include <cmath>
#include <string>

using namespace tk;

namespace {

struct TVerdictText {
  const char* caption;
  const char* hint;  // what the number teaches
};

const TVerdictText kVerdicts[kVerdictCount] = {
    {"Bits sent", "Every bit that went onto the line since START"},
    {"Bits received wrong",
     "Bits the receiver read as the other digit: noise, a slow cable or a drifting clock did it"},
    {"Characters sent", "Frames whose last bit has gone out"},
    {"Characters decoded right",
     "Characters the receiver got back exactly: the ones the reader sees unharmed"},
    {"Parity errors caught",
     "Frames where parity saw an odd number of flipped bits: one flip is always caught"},
    {"Framing errors caught",
     "Frames whose stop bit read 0: the receiver lost the frame's timing or a stop bit flipped"},
    {"Undetected errors",
     "Wrong characters with parity and stop bits right: two flips in a frame cancel in the "
     "parity, so even parity cannot see them"},
};

constexpr int kKnobTop = 12, kKnobStep = 30, kKnobWidth = 440, kKnobHeight = 24;
constexpr int kVerdictLeft = 470, kVerdictNumberLeft = 640;

}  // namespace

std::uint64_t VerdictValue(const TChannelCounters& c, TVerdict verdict) {
  switch (verdict) {
    case vdBitsSent:
      return c.bitsSent;
    case vdBitsWrong:
      return c.bitsWrong;
    case vdCharactersSent:
      return c.charactersSent;
    case vdCharactersRight:
      return c.charactersRight;
    case vdParityCaught:
      return c.parityErrors;
    case vdFramingCaught:
      return c.framingErrors;
    case vdUndetected:
      return c.undetected;
  }
  return 0;
}

TChannelDialog::TChannelDialog() {
  SetCaption("Channel");
  SetClientSize(740, 250);
  CreateKnobs();
  CreateVerdicts();
  ShowSettings(shown_);
  ShowCounters({});
  ShowRecounting(false);
  escape_.OnActivate = [this] { Close(); };
}

TChannelDialog::~TChannelDialog() {
  for (TKnob* k : {&Tau, &Sigma, &Ber, &Skew, &Seed})
    k->OnChange = nullptr;
}

void TChannelDialog::CreateKnobs() {
  struct KnobSpec {
    TKnob& knob;
    const char* caption;
    const char* unit;
    TKnobScale scale;
    int digits;
    const char* hint;  // what the knob does to the wave
    void (*apply)(TChannelSettings&, double);
  };
  const KnobSpec knobs[] = {
      {Tau,
       "Cable time constant",
       "bit times",
       {0, 2, false, 0},
       3,
       "A slow cable rounds every edge: the wave creeps towards each new level",
       [](TChannelSettings& s, double v) { s.tau = v; }},
      {Sigma,
       "Noise sigma",
       "levels",
       {0, 1, false, 0},
       3,
       "Random noise added to every sample: the wave gets fuzzy and crosses the threshold",
       [](TChannelSettings& s, double v) { s.sigma = v; }},
      {Ber,
       "Bit error rate",
       "per bit",
       {0, 0.1, true, 1e-6},
       3,
       "The chance that a bit goes out as the other digit, over its whole bit time",
       [](TChannelSettings& s, double v) { s.ber = v; }},
      {Skew,
       "Receiver clock skew",
       "%",
       {-10, 10, false, 0},
       3,
       "The receiver's bit time is longer (+) or shorter (-): its samples drift off the bits' "
       "middles",
       [](TChannelSettings& s, double v) { s.skew = v / 100; }},
      {Seed,
       "Seed",
       "",
       {1, 1000, false, 0},
       10,
       "Picks the noise and the flipped bits: the same seed gives the same wave again",
       [](TChannelSettings& s, double v) {
         if (!(v >= 0) || v != std::floor(v) || v > 1e15)
           throw std::invalid_argument("Seed must be a whole number from 0 on (got " +
                                       KnobText(v, 10) + ")");
         s.seed = static_cast<std::uint64_t>(v);
       }},
  };
  int top = kKnobTop, order = 0;
  for (const KnobSpec& k : knobs) {
    k.knob.SetBounds(12, top, kKnobWidth, kKnobHeight);
    k.knob.SetCaption(k.caption);
    k.knob.SetUnit(k.unit);
    k.knob.SetScale(k.scale);
    k.knob.SetDigits(k.digits);
    k.knob.SetHint(k.hint);
    k.knob.SetTabOrder(order++);
    k.knob.OnChange = [this, apply = k.apply](double v) {
      TChannelSettings s = shown_;
      apply(s, v);
      Ask(s);
    };
    top += kKnobStep;
  }
  Reset.SetBounds(12, top + 6, 130, 28);
  Reset.SetCaption("&Reset to ideal");
  Reset.SetHint("Every knob back to 0: the received wave is the sent one again");
  Reset.SetTabOrder(order++);
  Reset.OnClick = [this] {
    TChannelSettings s = TChannelSettings::Ideal();
    s.seed = shown_.seed;  // the seed is no knob of the line's quality
    Ask(s);
  };
  Status.SetBounds(160, top + 12, 280, 16);
  Progress.SetBounds(12, top + 44, kKnobWidth, 16);
  Progress.SetMax(1000);
  Progress.Hide();
}

void TChannelDialog::CreateVerdicts() {
  for (int i = 0; i < kVerdictCount; ++i) {
    const int top = kKnobTop + 4 + i * 26;
    VerdictCaption[i].SetBounds(kVerdictLeft, top, 160, 16);
    VerdictCaption[i].SetCaption(kVerdicts[i].caption);
    VerdictCaption[i].SetHint(kVerdicts[i].hint);
    VerdictNumber[i].SetBounds(kVerdictNumberLeft, top, 90, 16);
    VerdictNumber[i].SetHint(kVerdicts[i].hint);
  }
}

void TChannelDialog::Ask(const TChannelSettings& settings) {
  try {
    if (OnSettings) OnSettings(settings);
  } catch (...) {
    ShowSettings(shown_);  // the knobs show what the channel still has
    throw;
  }
}

void TChannelDialog::ShowSettings(const TChannelSettings& s) {
  shown_ = s;
  Tau.SetValue(s.tau);
  Sigma.SetValue(s.sigma);
  Ber.SetValue(s.ber);
  Skew.SetValue(s.skew * 100);
  Seed.SetValue(static_cast<double>(s.seed));
}

void TChannelDialog::ShowCounters(const TChannelCounters& counters) {
  for (int i = 0; i < kVerdictCount; ++i)
    VerdictNumber[i].SetCaption(std::to_string(VerdictValue(counters, static_cast<TVerdict>(i))));
}

void TChannelDialog::ShowRecounting(bool recounting) {
  Status.SetCaption(recounting ? "Recounting the history..." : "");
}

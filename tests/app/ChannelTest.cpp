#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Channel.h"
#include "app/ChannelLine.h"
#include "app/TransmissionModel.h"
#include "tests/support/TransmissionDoubles.h"

namespace {

// What the real transmission model sent: each bit as the window feeds it to
// the channel, and the points it drew.
struct Sent {
  std::vector<TSentBit> bits;
  std::vector<Pt> points;
};

Sent Transmit(const std::string& text, int encoding, std::uint32_t bitTime, bool startStop, bool parity) {
  FakeTextSource source(text);
  RecordingBuffer buffer;
  RecordingSignal signal;
  FakeInputs inputs;
  inputs.encoding = encoding;
  inputs.bitTime = bitTime;
  inputs.startStop = startStop;
  inputs.parity = parity;
  TTransmissionModel model(source, buffer, signal, inputs);
  model.Start();
  Sent s;
  while (!source.IsEmpty() || !model.PendingBits().empty()) {
    const std::string pending = model.PendingBits(), queued = source.Text();
    TSentBit b;
    b.digit = pending.empty() ? model.BuildFrame(static_cast<std::uint8_t>(queued[0]))[0] : pending[0];
    b.encoding = encoding;
    b.bitTime = bitTime;
    b.startMs = model.ElapsedMs();
    b.startStop = startStop;
    b.parity = parity;
    b.nrziBefore = model.NrziLevel();
    model.Tick();
    b.position = model.SentBits() - 1;
    s.bits.push_back(b);
  }
  s.points = signal.points;
  return s;
}

// Bits fed straight to the channel, one frame layout, back to back from 0.
std::vector<TSentBit> Bits(const std::string& digits, int encoding, std::uint32_t bitTime,
                           int frameLength = 8, bool startStop = false, bool parity = false) {
  std::vector<TSentBit> bits;
  std::int32_t nrzi = 1;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    TSentBit b;
    b.digit = digits[i];
    b.encoding = encoding;
    b.bitTime = bitTime;
    b.startMs = static_cast<double>(i * bitTime);
    b.startStop = startStop;
    b.parity = parity;
    b.position = static_cast<int>(i % static_cast<std::size_t>(frameLength));
    b.nrziBefore = nrzi;
    if (digits[i] == '1') nrzi = -nrzi;
    bits.push_back(b);
  }
  return bits;
}

void Feed(TChannel& ch, const std::vector<TSentBit>& bits) {
  for (const TSentBit& b : bits) ch.AddBit(b);
}

// The level the drawn line holds at x, read off the points: between two points
// at one level, or the later edge point when x sits on an edge.
double LevelAt(const std::vector<Pt>& pts, double x) {
  for (std::size_t i = 0; i + 1 < pts.size(); ++i)
    if (pts[i].x <= x && x < pts[i + 1].x) return pts[i].y;
  return pts.back().y;
}

TChannelSettings Knobs(double tau, double sigma, double ber, double skew, std::uint64_t seed = 7) {
  TChannelSettings s;
  s.tau = tau;
  s.sigma = sigma;
  s.ber = ber;
  s.skew = skew;
  s.seed = seed;
  return s;
}

std::string LongText() {
  std::string t;
  for (int i = 0; i < 40; ++i) t += "The quick brown fox, 0123456789! ";
  return t;
}

// A fixed pseudo-random digit string of the test's own (xorshift64).
std::string RandomDigits(std::size_t n, std::uint64_t state = 88172645463325252ull) {
  std::string d(n, '0');
  for (char& c : d) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    c = (state >> 40) & 1 ? '1' : '0';
  }
  return d;
}

const int kEncodings[] = {leUnipolar, leNrzL, leNrzI, leRz, leManchester};

}  // namespace

// ---------------------------------------------------------------- settings

TEST(ChannelSettings, RejectsEachKnobOutsideItsRangeAndKeepsTheOldSettings) {
  struct Row {
    TChannelSettings s;
    const char* names;  // empty when the settings are valid
  } rows[] = {
      {Knobs(0, 0, 0, 0), ""},
      {Knobs(2, 1, 0.1, -0.1), ""},
      {Knobs(2.5, 0, 0, 0), "Cable tau"},
      {Knobs(-0.1, 0, 0, 0), "Cable tau"},
      {Knobs(0, 1.01, 0, 0), "Noise sigma"},
      {Knobs(0, NAN, 0, 0), "Noise sigma"},
      {Knobs(0, 0, 0.2, 0), "Bit error rate"},
      {Knobs(0, 0, 0, 0.11), "Clock skew"},
      {Knobs(0, 0, 0, -0.5), "Clock skew"},
  };
  for (const Row& r : rows) {
    const std::string problem = r.s.Problem();
    TChannel ch(Knobs(1, 0.2, 0, 0));
    if (*r.names == 0) {
      EXPECT_EQ(problem, "");
      EXPECT_NO_THROW(ch.SetSettings(r.s));
      EXPECT_EQ(ch.Settings(), r.s);
    } else {
      EXPECT_EQ(problem.rfind(r.names, 0), 0u) << problem;
      EXPECT_THROW(ch.SetSettings(r.s), std::invalid_argument) << r.names;
      EXPECT_EQ(ch.Settings(), Knobs(1, 0.2, 0, 0));
    }
  }
  EXPECT_TRUE(TChannelSettings::Ideal().IsIdeal());
  EXPECT_FALSE(Knobs(0, 0, 0, 0.01).IsIdeal());
}

// ---------------------------------------------------------------- random numbers

// The normal deviates against the normal law: P(|z| < k) = erf(k / sqrt 2),
// out to the tail that the generator handles apart, each within five
// standard deviations of a count over a million draws.
TEST(ChannelRandom, NormalDeviatesFollowTheNormalLaw) {
  const int n = 1000000;
  const double ks[] = {0.5, 1, 2, 3, 3.6, 4};
  std::vector<int> inside(std::size(ks), 0);
  double sum = 0, squares = 0;
  const channel::TRandom r(2024, channel::kNoiseStream);
  for (int i = 0; i < n; ++i) {
    const double z = r.Normal(static_cast<std::uint64_t>(i));
    sum += z;
    squares += z * z;
    for (std::size_t j = 0; j < std::size(ks); ++j) inside[j] += std::fabs(z) < ks[j] ? 1 : 0;
  }
  for (std::size_t j = 0; j < std::size(ks); ++j) {
    const double p = std::erf(ks[j] / std::sqrt(2.0));
    EXPECT_NEAR(inside[j] / double(n), p, 5 * std::sqrt(p * (1 - p) / n) + 1e-9) << "k " << ks[j];
  }
  EXPECT_NEAR(sum / n, 0, 5 / std::sqrt(double(n)));
  EXPECT_NEAR(squares / n, 1, 5 * std::sqrt(2.0 / n));
  // keyed, not sequential: any index alone gives the same number
  EXPECT_EQ(r.Normal(777), channel::TRandom(2024, channel::kNoiseStream).Normal(777));
  EXPECT_NE(r.Normal(777), channel::TRandom(2025, channel::kNoiseStream).Normal(777));
}

// ---------------------------------------------------------------- an ideal channel

TEST(Channel, IdealChannelReceivesTheSentWaveAndDecodesTheText) {
  const std::string text = "KELDO, hi!";
  const std::pair<bool, bool> framings[] = {{false, false}, {false, true}, {true, false}, {true, true}};
  for (int encoding : kEncodings)
    for (auto [startStop, parity] : framings) {
      SCOPED_TRACE(testing::Message() << "encoding " << encoding << " framing " << startStop << parity);
      const Sent sent = Transmit(text, encoding, 62, startStop, parity);
      TChannel ch;
      Feed(ch, sent.bits);
      std::vector<double> xs, ys;
      const std::size_t n = ch.FillWave(0, 1e9, xs, ys);
      ASSERT_EQ(n, sent.bits.size() * TChannel::kSamplesPerBit);
      for (std::size_t i = 0; i < n; ++i) ASSERT_EQ(ys[i], LevelAt(sent.points, xs[i])) << "at " << xs[i];
      EXPECT_EQ(ch.Text(), text);
      const TChannelCounters& c = ch.Counters();
      EXPECT_EQ(c.bitsSent, sent.bits.size());
      EXPECT_EQ(c.bitsWrong, 0u);
      EXPECT_EQ(c.bitsFlipped, 0u);
      EXPECT_EQ(c.charactersSent, text.size());
      EXPECT_EQ(c.charactersRight, text.size());
      EXPECT_EQ(c.parityErrors + c.framingErrors + c.undetected, 0u);
    }
}

// ---------------------------------------------------------------- flipped bits

// Unframed 9-bit frames keep the receiver's clock on the sent grid, so each
// frame's verdict depends only on the flips inside it. (NRZ-I is left out:
// there one flip changes two decoded bits, the level change before and after.)
TEST(Channel, OneFlipIsCaughtByParityTwoGiveAWrongCharacterThatParityMisses) {
  const std::string text = LongText();
  for (int encoding : {leUnipolar, leNrzL, leRz, leManchester})
    for (std::uint64_t seed : {1ull, 99ull}) {
      SCOPED_TRACE(testing::Message() << "encoding " << encoding << " seed " << seed);
      const Sent sent = Transmit(text, encoding, 10, false, true);
      TChannel ch(Knobs(0, 0, 0.03, 0, seed));
      Feed(ch, sent.bits);
      ASSERT_EQ(ch.FrameCount(), text.size());
      std::uint64_t ones = 0, twos = 0, undetected = 0, odd = 0, flips = 0;
      for (std::size_t f = 0; f < text.size(); ++f) {
        int n = 0;
        for (std::size_t b = f * 9; b < f * 9 + 9; ++b) n += ch.BitFlipped(b) ? 1 : 0;
        flips += static_cast<std::uint64_t>(n);
        const TReceivedFrame fr = ch.Frame(f);
        EXPECT_EQ(fr.parityError, n % 2 == 1) << "frame " << f << " flips " << n;
        if (n == 0) {
          EXPECT_EQ(fr.code, static_cast<std::uint8_t>(text[f])) << "frame " << f;
        }
        if (n == 1) ++ones;
        if (n == 2) {
          ++twos;
          // the parity bit and one data bit flipped still leave one data bit wrong
          EXPECT_NE(fr.code, static_cast<std::uint8_t>(text[f])) << "frame " << f;
        }
        if (n > 0 && n % 2 == 0) ++undetected;
        if (n % 2 == 1) ++odd;
      }
      EXPECT_GT(ones, 0u);
      EXPECT_GT(twos, 0u);
      EXPECT_EQ(ch.Counters().bitsFlipped, flips);
      EXPECT_EQ(ch.Counters().undetected, undetected);
      EXPECT_EQ(ch.Counters().parityErrors, odd);
    }
}

// ---------------------------------------------------------------- the cable

// After a long low run the line steps up; a first-order cable then stands at
// 1 - exp(-t/tau) of the swing t after the edge. Samples lie at the middle of
// each 1/32 of a bit, so tau is picked to put one exactly t after the edge.
TEST(Channel, CableStepResponseReachesOneMinusOneOverEOfTheSwingAtTau) {
  struct Row {
    int encoding;
    double low, high;  // the levels before and after the step
    double tau;        // bit times
    double taus;       // where to read, in time constants
  } rows[] = {
      {leNrzL, 1, -1, 8.5 / 32, 1},  {leNrzL, 1, -1, 16.5 / 32, 1}, {leNrzL, 1, -1, 32.5 / 32, 1},
      {leNrzL, 1, -1, 48.5 / 32, 1}, {leUnipolar, 0, 1, 16.5 / 32, 1}, {leNrzL, 1, -1, 8.5 / 32, 3},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "tau " << r.tau << " at " << r.taus << " tau");
    const std::uint32_t T = 64;
    TChannel ch(Knobs(r.tau, 0, 0, 0));
    Feed(ch, Bits(std::string(100, '0') + std::string(20, '1'), r.encoding, T));
    const double edge = 100.0 * T, t = r.taus * r.tau * T;
    std::vector<double> xs, ys;
    ASSERT_EQ(ch.FillWave(edge + t, edge + t, xs, ys), 1u);
    const double expected = r.low + (r.high - r.low) * (1 - std::exp(-r.taus));
    EXPECT_NEAR(ys[0], expected, 1e-9);
  }
}

// The cable worked out sample by sample in the test: between two sample
// instants the input holds the first sample's level for half the spacing and
// the second's for the other half, and the output follows exp(-dt/tau).
TEST(Channel, WindowWithoutItsHistoryMatchesTheWaveFromTheStart) {
  const std::string digits = RandomDigits(3000);
  for (int encoding : kEncodings)
    for (double tau : {0.3, 2.0}) {
      SCOPED_TRACE(testing::Message() << "encoding " << encoding << " tau " << tau);
      const std::uint32_t T = 10;
      TChannel ch(Knobs(tau, 0, 0, 0));
      const std::vector<TSentBit> bits = Bits(digits, encoding, T);
      Feed(ch, bits);
      std::vector<double> xs, ys, wx, wy;
      ch.FillWave(0, 1e9, xs, ys);
      ASSERT_EQ(xs.size(), digits.size() * 32);
      // the reference, from the sent levels
      const double b = std::exp(-(T / 64.0) / (tau * T));
      std::vector<double> in(xs.size());
      for (std::size_t i = 0; i < bits.size(); ++i) {
        std::int32_t nrzi = bits[i].nrziBefore;
        const TBitLevels l = LineLevels(encoding, bits[i].digit, nrzi);
        for (int k = 0; k < 32; ++k) in[i * 32 + static_cast<std::size_t>(k)] = k < 16 ? l.first : l.second;
      }
      double y = in[0];
      for (std::size_t n = 0; n < xs.size(); ++n) {
        if (n > 0) y = in[n] + (in[n - 1] + (y - in[n - 1]) * b - in[n]) * b;
        ASSERT_NEAR(ys[n], y, 1e-9) << "sample " << n;
      }
      // a window deep in the history, computed on its own
      const double x0 = 2000.0 * T + 3.3, x1 = 2400.0 * T;
      ch.FillWave(x0, x1, wx, wy);
      ASSERT_FALSE(wx.empty());
      const std::size_t first = static_cast<std::size_t>(std::lower_bound(xs.begin(), xs.end(), x0) - xs.begin());
      for (std::size_t i = 0; i < wx.size(); ++i) {
        ASSERT_EQ(wx[i], xs[first + i]);
        ASSERT_NEAR(wy[i], ys[first + i], TChannel::kWindowTolerance);
      }
    }
}

// ---------------------------------------------------------------- noise

// NRZ-L at +-1 with the threshold at 0 and one sample at mid-bit errs when the
// noise passes 1 against the bit: probability Q(1/sigma).
TEST(Channel, NoiseBitErrorRateOfNrzLIsQOfOneOverSigma) {
  const std::size_t n = 100000;
  const std::vector<TSentBit> bits = Bits(RandomDigits(n), leNrzL, 1);
  for (double sigma : {0.4, 0.5}) {
    TChannel ch(Knobs(0, sigma, 0, 0, 12345));
    Feed(ch, bits);
    const TChannelCounters& c = ch.Counters();
    ASSERT_EQ(c.bitsSampled, n);
    const double p = 0.5 * std::erfc(1.0 / (sigma * std::sqrt(2.0)));
    const double measured = static_cast<double>(c.bitsWrong) / static_cast<double>(n);
    EXPECT_NEAR(measured, p, 5 * std::sqrt(p * (1 - p) / static_cast<double>(n))) << "sigma " << sigma;
  }
}

// ---------------------------------------------------------------- the receiver's clock

TEST(Channel, ReceiverClockSkew) {
  const std::string text = LongText();
  // Without framing the clock runs free: bit j is read at (j + 1/2)(1 + s) bit
  // times, which stays inside bit j for every j < N while |s| < 1/(2N - 1).
  // Alternating bits ('U' is 01010101) make any slip a wrong bit.
  const std::string us(20, 'U');
  const double limit = 1.0 / (2.0 * 8 * us.size() - 1);
  struct Row {
    std::string text;
    int encoding;
    bool startStop, parity;
    double skew;
    bool decodes;
  } rows[] = {
      // the start bit re-times each 12-bit frame: the last stop bit is read
      // 11.5 * skew bit times off its middle, inside it up to 1/23 = 4.3 %
      {text, leNrzL, true, true, +0.03, true},
      {text, leNrzL, true, true, -0.03, true},
      {text, leNrzL, true, true, +0.07, false},
      {text, leNrzL, true, true, -0.07, false},
      {us, leNrzL, false, false, +0.8 * limit, true},
      {us, leNrzL, false, false, -0.8 * limit, true},
      {us, leNrzL, false, false, +1.25 * limit, false},
      {us, leNrzL, false, false, -1.25 * limit, false},
      // re-locking on every mid-bit edge, Manchester keeps in step
      {text, leManchester, true, true, +0.07, true},
      {text, leManchester, true, true, -0.07, true},
      {text, leManchester, false, false, +0.1, true},
      {text, leManchester, false, true, -0.1, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "encoding " << r.encoding << " framing " << r.startStop
                                    << r.parity << " skew " << r.skew);
    const Sent sent = Transmit(r.text, r.encoding, 20, r.startStop, r.parity);
    TChannel ch(Knobs(0, 0, 0, r.skew));
    Feed(ch, sent.bits);
    if (r.decodes) {
      EXPECT_EQ(ch.Text(), r.text);
      EXPECT_EQ(ch.Counters().bitsWrong, 0u);
      EXPECT_EQ(ch.Counters().charactersRight, r.text.size());
    } else {
      EXPECT_NE(ch.Text(), r.text);
    }
  }
}

// ---------------------------------------------------------------- the same wave

TEST(Channel, SameSeedSameWaveAndStretchesAgreeWithTheWhole) {
  const std::vector<TSentBit> bits = Bits(RandomDigits(500), leManchester, 16);
  struct Row {
    double tau;
    double tolerance;  // exact without a cable; within the warm-up's bound with one
  } rows[] = {{0, 0}, {0.7, TChannel::kWindowTolerance}};
  for (const Row& r : rows) {
    TChannel a(Knobs(r.tau, 0.3, 0.05, 0, 42)), b(Knobs(r.tau, 0.3, 0.05, 0, 42)), c(Knobs(r.tau, 0.3, 0.05, 0, 43));
    Feed(a, bits);
    Feed(b, bits);
    Feed(c, bits);
    std::vector<double> ax, ay, bx, by, cx, cy, x1, y1, x2, y2;
    a.FillWave(0, 8000, ax, ay);
    b.FillWave(0, 8000, bx, by);
    c.FillWave(0, 8000, cx, cy);
    EXPECT_EQ(ay, by);
    EXPECT_NE(ay, cy);
    a.FillWave(0, 3001, x1, y1);
    a.FillWave(3001, 8000, x2, y2);
    x1.insert(x1.end(), x2.begin(), x2.end());
    y1.insert(y1.end(), y2.begin(), y2.end());
    ASSERT_EQ(x1, ax);
    for (std::size_t i = 0; i < ay.size(); ++i) ASSERT_NEAR(y1[i], ay[i], r.tolerance) << i;
    // bit by bit, as a chart appends the wave of each new bit
    x1.clear();
    y1.clear();
    for (std::size_t i = 0; i < bits.size(); ++i) {
      a.FillWave(bits[i].startMs, bits[i].startMs + bits[i].bitTime, x2, y2);
      x1.insert(x1.end(), x2.begin(), x2.end());
      y1.insert(y1.end(), y2.begin(), y2.end());
    }
    ASSERT_EQ(x1.size(), ax.size());
    for (std::size_t i = 0; i < ay.size(); ++i) ASSERT_NEAR(y1[i], ay[i], r.tolerance) << i;
    EXPECT_EQ(a.Counters(), b.Counters());
  }
}

// ---------------------------------------------------------------- recount, runs, memory

TEST(Channel, RecountInSlicesGivesWhatTheNewSettingsGiveFromTheStart) {
  const Sent sent = Transmit(LongText(), leNrzL, 10, true, true);
  const TChannelSettings next = Knobs(0.4, 0.35, 0.01, 0.02, 5);
  TChannel reference(next);
  Feed(reference, sent.bits);
  TChannel ch;
  Feed(ch, sent.bits);
  const TChannelCounters before = ch.Counters();
  ch.SetSettings(next);
  ASSERT_TRUE(ch.Recounting());
  EXPECT_EQ(ch.Counters(), before);  // the old results stand until the recount is done
  double progress = ch.RecountProgress();
  int slices = 0;
  while (!ch.RunRecount(500)) {
    EXPECT_GE(ch.RecountProgress(), progress);
    progress = ch.RecountProgress();
    ++slices;
  }
  EXPECT_GT(slices, 3);
  EXPECT_EQ(ch.RecountProgress(), 1.0);
  EXPECT_EQ(ch.Counters(), reference.Counters());
  EXPECT_EQ(ch.Text(), reference.Text());
  // a cancelled recount goes back to the settings of the results shown
  ch.SetSettings(TChannelSettings::Ideal());
  ch.RunRecount(100);
  ch.CancelRecount();
  EXPECT_FALSE(ch.Recounting());
  EXPECT_EQ(ch.Settings(), next);
  EXPECT_EQ(ch.Counters(), reference.Counters());
  // and so does going back to those settings
  ch.SetSettings(Knobs(0, 0.9, 0, 0));
  ASSERT_TRUE(ch.Recounting());
  ch.SetSettings(next);
  EXPECT_FALSE(ch.Recounting());
  EXPECT_EQ(ch.Counters(), reference.Counters());
}

TEST(Channel, StartAgainBeginsANewRunTheReceiverFollows) {
  const Sent first = Transmit("AB", leManchester, 10, true, false);
  const Sent second = Transmit("cd", leManchester, 10, true, false);  // time restarts at 0
  TChannel ch(Knobs(0.2, 0, 0, 0.05));
  Feed(ch, first.bits);
  Feed(ch, second.bits);
  EXPECT_EQ(ch.Text(), "ABcd");
  std::vector<double> xs, ys;
  ch.FillWave(0, 1e9, xs, ys);  // the latest run's wave
  EXPECT_EQ(xs.size(), second.bits.size() * 32);
  EXPECT_EQ(ch.FirstReceivedBitAt(0), first.bits.size());
}

TEST(Channel, KeepsAtMost32BytesPerSentBitEvenDuringARecount) {
  const std::size_t n = 200000;
  for (double skew : {0.0, -0.1}) {  // a fast clock takes more decisions than bits were sent
    TChannel ch(Knobs(1, 0.3, 0.01, skew));
    Feed(ch, Bits(RandomDigits(n), leNrzL, 1));
    EXPECT_LE(static_cast<double>(ch.HistoryBytes()) / n, 32.0) << skew;
    ch.SetSettings(Knobs(0, 0, 0, -0.1));
    while (!ch.RunRecount(n / 10)) EXPECT_LE(static_cast<double>(ch.HistoryBytes()) / n, 32.0) << skew;
  }
}

// Seeded random transmissions: several runs (START again without Clear), each
// with its own encoding, bit time, framing and text. The ideal channel hands
// back every text; with random knobs the results stay well formed, and a
// recount lands where a channel with those knobs from the start would be.
TEST(Channel, RandomTransmissionsKeepTheirInvariants) {
  std::uint64_t state = 0x243F6A8885A308D3ull;
  auto next = [&state](std::uint64_t n) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return (state >> 33) % n;
  };
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE(round);
    std::vector<TSentBit> bits;
    std::string texts;
    for (int run = 0; run < 3; ++run) {
      std::string text;
      for (std::uint64_t i = 0, n = 1 + next(30); i < n; ++i) text += static_cast<char>(1 + next(255));
      const Sent s = Transmit(text, static_cast<int>(next(5)), static_cast<std::uint32_t>(2 + next(99)),
                              next(2) == 1, next(2) == 1);
      bits.insert(bits.end(), s.bits.begin(), s.bits.end());
      texts += text;
    }
    TChannel ideal;
    Feed(ideal, bits);
    EXPECT_EQ(ideal.Text(), texts);
    const TChannelSettings knobs = Knobs(next(200) / 100.0, next(100) / 100.0, next(100) / 1000.0,
                                         (static_cast<double>(next(200)) - 100) / 1000.0, next(1000));
    TChannel noisy(knobs);
    Feed(noisy, bits);
    const TChannelCounters& c = noisy.Counters();
    EXPECT_LE(c.bitsWrong, c.bitsSampled);
    EXPECT_EQ(c.charactersDecoded, noisy.FrameCount());
    EXPECT_LE(c.charactersRight + c.undetected, c.charactersDecoded);
    for (std::size_t i = 1; i < noisy.ReceivedBitCount(); ++i) {
      const TReceivedBit b = noisy.ReceivedBit(i);
      if (b.frame >= 0) {
        const TReceivedFrame f = noisy.Frame(static_cast<std::size_t>(b.frame));
        ASSERT_GE(static_cast<int>(i), f.firstBit);
        ASSERT_LT(static_cast<int>(i), f.firstBit + f.bitCount);
      }
      ASSERT_EQ(b.error, !b.reason.empty());
    }
    std::vector<double> xs, ys;
    noisy.FillWave(-1e9, 1e9, xs, ys);
    EXPECT_TRUE(std::is_sorted(xs.begin(), xs.end()));
    ideal.SetSettings(knobs);
    while (!ideal.RunRecount(1 + next(300))) {
    }
    EXPECT_EQ(ideal.Counters(), noisy.Counters());
    EXPECT_EQ(ideal.Text(), noisy.Text());
  }
}

// ---------------------------------------------------------------- the eye

// An isolated bit after a long run is the eye's worst case: with the cable it
// reaches 1 - 2 exp(-t/tau) of the way at t half a bit in, so the inner eye is
// 2 (1 - 2 exp(-0.5 / tau)) high at the sampling instant. A row is 4/128.
TEST(Channel, EyeOpeningFollowsTheCableAndNewBitsAddOnlyTheirTraces) {
  const std::string digits = std::string(30, '0') + "1" + std::string(30, '0') + RandomDigits(2000);
  struct Row {
    double tau;
    double height, width;  // worked out: width is the bit time between two edges
  } rows[] = {{0, 2.0, 1.0}, {0.5, 2 * (1 - 2 * std::exp(-1.0)), -1}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.tau);
    const std::vector<TSentBit> bits = Bits(digits, leNrzL, 32);
    TChannel ch(Knobs(r.tau, 0, 0, 0));
    TEyeDiagram once, twice;
    std::size_t nextOnce = 0, nextTwice = 0;
    for (std::size_t i = 0; i < bits.size(); ++i) {
      ch.AddBit(bits[i]);
      if (i == 1000) ch.FeedEye(twice, nextTwice);
    }
    ch.FeedEye(twice, nextTwice);
    ch.FeedEye(once, nextOnce);
    EXPECT_EQ(once.Density(), twice.Density());
    EXPECT_EQ(nextOnce, ch.ReceivedBitCount() - 1);  // the last one's next bit time is not sent
    const TEyeOpening o = once.Opening();
    ASSERT_TRUE(o.open);
    EXPECT_NEAR(o.height, r.height, 2 * 4.0 / 128);
    if (r.width > 0) {
      EXPECT_NEAR(o.width, r.width, 2 * 2.0 / 256);
    }
  }
  // noise of sigma 1 fills the eye
  TChannel noisy(Knobs(0, 1, 0, 0));
  Feed(noisy, Bits(RandomDigits(3000), leNrzL, 32));
  TEyeDiagram eye;
  std::size_t next = 0;
  noisy.FeedEye(eye, next);
  EXPECT_FALSE(eye.Opening().open);
}

// ---------------------------------------------------------------- the end of a transmission

// After the last bit the line idles at the stop level, so the last frame is
// read to its end even when its stop bit's instant falls past the last bit.
TEST(Channel, LastFrameIsReadOnTheIdleLineAfterTheLastBit) {
  const std::string text = "KELDO";
  // a cable delays the start edge to where the swing of 2 crosses 0: tau ln 2
  const double delay = 0.5 * std::log(2.0);
  struct Row {
    const char* name;
    double tau, skew;
    std::uint64_t framingErrors;
    double lastStop;  // where the last stop bit is read, bit times from the frame's start
  } rows[] = {
      {"ideal receiver", 0, 0, 0, 11.5},
      {"fast clock", 0, -0.03, 0, 11.5 * 0.97},
      {"slow clock", 0, +0.03, 0, 11.5 * 1.03},
      // past the 12 bit times of the frame: in the next start bit, or on the idle line after the last
      {"slow clock behind a cable", 0.5, +0.03, 0, delay + 11.5 * 1.03},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const Sent sent = Transmit(text, leNrzL, 20, true, true);
    TChannel ch(Knobs(r.tau, 0, 0, r.skew));
    Feed(ch, sent.bits);
    ASSERT_EQ(ch.FrameCount(), text.size()) << "the last stop bit read at " << r.lastStop;
    EXPECT_EQ(ch.Text().back(), 'O');
    EXPECT_EQ(ch.Counters().framingErrors, r.framingErrors);
    EXPECT_EQ(ch.Counters().charactersRight, text.size() - r.framingErrors);
    if (r.framingErrors == 0) {
      EXPECT_EQ(ch.Text(), text);
    }
  }
}

// A reading of the idle line is taken back when the transmission goes on: the
// results are then those of a recount over the whole line, which reads the
// idle line only after its last bit.
TEST(Channel, IdleReadingIsTakenBackWhenMoreBitsCome) {
  const std::string text = "KELDO";
  const Sent sent = Transmit(text, leNrzL, 20, true, true);
  // at 3 % every frame reads right; at 7 % its stop bits land in the next frame's start bit
  for (double skew : {0.03, 0.07}) {
    SCOPED_TRACE(skew);
    const TChannelSettings knobs = Knobs(0.5, 0, 0, skew);
    TChannel live(knobs);
    std::uint64_t revision = live.ResultsRevision();
    for (std::size_t i = 0; i < sent.bits.size(); ++i) {
      live.AddBit(sent.bits[i]);
      if (skew > 0.05) continue;
      // a whole frame sent is read to its end at once
      if ((i + 1) % 12 == 0) {
        EXPECT_EQ(live.FrameCount(), (i + 1) / 12) << i;
      }
      // the first frame starts with the line settled, no cable delay: its stop bit is in it
      if (i % 12 == 0 && i >= 24) {
        EXPECT_GT(live.ResultsRevision(), revision) << "the idle reading was taken back at " << i;
        revision = live.ResultsRevision();
      }
    }
    TChannel recounted;
    Feed(recounted, sent.bits);
    recounted.SetSettings(knobs);
    while (!recounted.RunRecount(7)) {
    }
    EXPECT_EQ(live.Text(), recounted.Text());
    EXPECT_EQ(live.Counters(), recounted.Counters());
    ASSERT_EQ(live.ReceivedBitCount(), recounted.ReceivedBitCount());
    for (std::size_t i = 0; i < live.ReceivedBitCount(); ++i)
      EXPECT_EQ(live.ReceivedBit(i).x, recounted.ReceivedBit(i).x) << i;
  }
}

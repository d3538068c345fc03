#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "app/Receiver.h"
#include "app/TransmissionModel.h"
#include "tests/support/TransmissionDoubles.h"

namespace {

// A change of the window's settings before the bit with this index is sent.
struct Change {
  int atBit;
  TReceiverLine line;
};

// What the real transmitter put on the line, tick by tick.
struct Sent {
  std::vector<double> xs, ys;
  std::vector<std::size_t> tickEnds;                 // points after each tick
  std::vector<std::pair<double, TReceiverLine>> lines;  // each setting and where it starts
};

void Apply(FakeInputs& in, const TReceiverLine& l) {
  in.bitTime = static_cast<std::uint32_t>(l.bitTime);
  in.encoding = l.encoding;
  in.startStop = l.startStop;
  in.parity = l.parity;
}

Sent Transmit(const std::string& text, const TReceiverLine& line,
              const std::vector<Change>& changes = {}) {
  FakeTextSource source(text);
  RecordingBuffer buffer;
  RecordingSignal signal;
  FakeInputs inputs;
  Apply(inputs, line);
  TTransmissionModel model(source, buffer, signal, inputs);
  model.Start();
  Sent s;
  s.lines.push_back({0, line});
  for (int bit = 0; !source.IsEmpty() || !model.PendingBits().empty(); ++bit) {
    for (const Change& c : changes)
      if (c.atBit == bit) {
        Apply(inputs, c.line);
        s.lines.push_back({model.ElapsedMs(), c.line});
      }
    model.Tick();
    s.tickEnds.push_back(signal.points.size());
  }
  for (const Pt& p : signal.points) {
    s.xs.push_back(p.x);
    s.ys.push_back(p.y);
  }
  return s;
}

// Every setting scheduled up front, then the points fed in pieces of n.
void Decode(TReceiver& rx, const Sent& s, std::size_t n = std::numeric_limits<std::size_t>::max()) {
  for (const auto& [x, line] : s.lines) rx.SetLine(line, x);
  for (std::size_t i = 0; i < s.xs.size(); i += n)
    rx.Feed(&s.xs[i], &s.ys[i], std::min(n, s.xs.size() - i));
}

TReceiverLine Line(std::int64_t t, TLineEncoding e, bool startStop, bool parity) {
  return TReceiverLine{t, e, startStop, parity};
}

int FrameLength(bool startStop, bool parity) { return 8 + (startStop ? 3 : 0) + (parity ? 1 : 0); }

const TLineEncoding kEncodings[] = {leUnipolar, leNrzL, leNrzI, leRz, leManchester};

}  // namespace

// ---------------------------------------------------------------- clean lines

TEST(Receiver, DecodesEveryCleanTransmissionBackToTheTextSent) {
  const std::string texts[] = {"KELDO", std::string("\x00\xff", 2), "Hello, world"};
  for (const std::string& text : texts)
    for (TLineEncoding e : kEncodings)
      for (bool startStop : {false, true})
        for (bool parity : {false, true})
          for (std::int64_t t : {62, 25, 1, 3}) {
            const TReceiverLine line = Line(t, e, startStop, parity);
            TReceiver rx;
            Decode(rx, Transmit(text, line));
            SCOPED_TRACE(testing::Message() << "enc " << e << " ss " << startStop << " p "
                                            << parity << " T " << t << " '" << text << "'");
            ASSERT_EQ(rx.Text(), text);
            const int len = FrameLength(startStop, parity);
            ASSERT_EQ(rx.Bits().size(), text.size() * len);
            for (std::size_t f = 0; f < rx.Frames().size(); ++f) {
              const TReceivedFrame& fr = rx.Frames()[f];
              EXPECT_FALSE(fr.parityError || fr.framingError);
              EXPECT_EQ(fr.startX, double(f * len * t));
              EXPECT_EQ(fr.endX, double((f + 1) * len * t));
              EXPECT_EQ(fr.firstBit, int(f * len));
              EXPECT_EQ(fr.bitCount, len);
            }
            for (const TReceivedBit& b : rx.Bits()) EXPECT_FALSE(b.error) << b.x;
          }
}

TEST(Receiver, SamplesAtMidBitAndReadsTheLevelsWorkedOutByHand) {
  struct Case {
    TReceiverLine line;
    char ch;
    double x0, step;     // the first sampling instant and the bit time
    const char* bits;    // the frame as sent
    std::vector<double> levels;
    const char* roles;
  };
  const Case cases[] = {
      // the half-millisecond mid-bit point; Manchester shows the level its edge reaches
      {Line(3, leManchester, false, false), 'A', 1.5, 3, "01000001",
       {-1, 1, -1, -1, -1, -1, -1, 1}, "76543210"},
      // NRZ-I from the high line START leaves: 0 holds, 1 inverts
      {Line(62, leNrzI, true, false), 'A', 31, 62, "00100000111",
       {1, 1, -1, -1, -1, -1, -1, -1, 1, -1, 1}, "S76543210TT"},
      // RZ reads the first half, just before the return to zero
      {Line(1, leRz, false, true), 'C', 0.5, 1, "010000111",
       {-1, 1, -1, -1, -1, -1, 1, 1, 1}, "76543210P"},
      {Line(25, leUnipolar, true, true), ' ', 12.5, 25, "000100000111",
       {0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 1, 1}, "S76543210PTT"},
      {Line(62, leNrzL, false, false), 'K', 31, 62, "01001011",
       {1, -1, 1, 1, -1, 1, -1, -1}, "76543210"},
  };
  for (const Case& c : cases) {
    TReceiver rx;
    Decode(rx, Transmit(std::string(1, c.ch), c.line));
    const std::string bits = c.bits, roles = c.roles;
    ASSERT_EQ(rx.Bits().size(), bits.size()) << c.ch;
    ASSERT_EQ(c.levels.size(), bits.size()) << c.ch;
    for (std::size_t i = 0; i < bits.size(); ++i) {
      const TReceivedBit& b = rx.Bits()[i];
      EXPECT_EQ(b.x, c.x0 + double(i) * c.step) << c.ch << " bit " << i;
      EXPECT_EQ(b.bit, bits[i]) << c.ch << " bit " << i;
      EXPECT_EQ(b.role, roles[i]) << c.ch << " bit " << i;
      EXPECT_EQ(b.frame, 0) << c.ch << " bit " << i;
      EXPECT_EQ(b.level, c.levels[i]) << c.ch << " bit " << i;
    }
  }
}

namespace {

bool SameBits(const TReceivedBit& a, const TReceivedBit& b) {
  return a.x == b.x && a.level == b.level && a.bit == b.bit && a.role == b.role &&
         a.frame == b.frame && a.error == b.error && a.reason == b.reason;
}

bool SameFrames(const TReceivedFrame& a, const TReceivedFrame& b) {
  return a.startX == b.startX && a.endX == b.endX && a.code == b.code &&
         a.parityError == b.parityError && a.framingError == b.framingError &&
         a.firstBit == b.firstBit && a.bitCount == b.bitCount;
}

void ExpectSameDecoding(const TReceiver& got, const TReceiver& want, const std::string& what) {
  ASSERT_EQ(got.Bits().size(), want.Bits().size()) << what;
  for (std::size_t i = 0; i < got.Bits().size(); ++i)
    EXPECT_TRUE(SameBits(got.Bits()[i], want.Bits()[i])) << what << " bit " << i;
  ASSERT_EQ(got.Frames().size(), want.Frames().size()) << what;
  for (std::size_t i = 0; i < got.Frames().size(); ++i)
    EXPECT_TRUE(SameFrames(got.Frames()[i], want.Frames()[i])) << what << " frame " << i;
}

}  // namespace

TEST(Receiver, PiecesOfEverySizeAndAClearGiveTheSameDecoding) {
  for (TLineEncoding e : kEncodings)
    for (bool startStop : {false, true}) {
      const Sent sent = Transmit("KE", Line(3, e, startStop, true));
      TReceiver whole;
      Decode(whole, sent);
      ASSERT_EQ(whole.Text(), "KE");
      TReceiver reused;  // cleared before each run, so it must forget all but the settings
      for (std::size_t n = 1; n <= sent.xs.size(); ++n) {
        reused.Clear();
        Decode(reused, sent, n);
        ExpectSameDecoding(reused, whole, "enc " + std::to_string(e) + " piece " + std::to_string(n));
      }
    }
}

// ---------------------------------------------------------------- errors

namespace {

// The points of bit g in the model's call order: two per bit for the level
// encodings, four for RZ and Manchester.
void ForceBit(Sent& s, TLineEncoding e, int g, char bit) {
  const int per = (e == leRz || e == leManchester) ? 4 : 2;
  for (int k = 0; k < per; ++k) {
    double& y = s.ys[static_cast<std::size_t>(g * per + k)];
    switch (e) {
      case leUnipolar: y = bit == '1' ? 1 : 0; break;
      case leNrzL: y = bit == '1' ? -1 : 1; break;
      case leRz: if (k < 2) y = bit == '1' ? 1 : -1; break;
      default: if ((k < 2) == (bit == '1')) y = -1; else y = 1; break;  // Manchester
    }
  }
}

}  // namespace

TEST(Receiver, OneLevelFlippedGivesAParityErrorAtThatFrame) {
  // KELDO: K 01001011 (4 ones, parity 0), E 01000101 (3, 1), L 01001100 (3, 1),
  // D 01000100 (2, 0), O 01001111 (5, 1)
  struct Case {
    TLineEncoding e;
    bool startStop;
    int frame, position;  // the bit flipped, by its place in the frame
    char flippedTo;
    const char* text;
    const char* reason;
  };
  const Case cases[] = {
      {leUnipolar, false, 2, 0, '1', "KE\xcc" "DO",
       "Parity error: 5 ones in data and parity, even parity expects an even count"},
      {leNrzL, true, 1, 8, '0', "KDLDO",
       "Parity error: 3 ones in data and parity, even parity expects an even count"},
      {leRz, true, 3, 9, '1', "KELDO",  // the parity bit itself
       "Parity error: 3 ones in data and parity, even parity expects an even count"},
      {leManchester, false, 4, 2, '1', "KELDo",
       "Parity error: 7 ones in data and parity, even parity expects an even count"},
      {leUnipolar, true, 0, 2, '0', "\x0b" "ELDO",
       "Parity error: 3 ones in data and parity, even parity expects an even count"},
      {leNrzL, false, 3, 1, '0', "KEL\x04O",
       "Parity error: 1 one in data and parity, even parity expects an even count"},
  };
  for (const Case& c : cases) {
    Sent sent = Transmit("KELDO", Line(62, c.e, c.startStop, true));
    const int len = FrameLength(c.startStop, true);
    ForceBit(sent, c.e, c.frame * len + c.position, c.flippedTo);
    TReceiver rx;
    Decode(rx, sent);
    SCOPED_TRACE(testing::Message() << "enc " << c.e << " frame " << c.frame);
    EXPECT_EQ(rx.Text(), c.text);
    ASSERT_EQ(rx.Frames().size(), 5u);
    for (int f = 0; f < 5; ++f) {
      EXPECT_EQ(rx.Frames()[f].parityError, f == c.frame) << f;
      EXPECT_FALSE(rx.Frames()[f].framingError) << f;
    }
    for (int i = 0; i < int(rx.Bits().size()); ++i) {
      const TReceivedBit& b = rx.Bits()[i];
      const bool erring = i == c.frame * len + (c.startStop ? 9 : 8);
      EXPECT_EQ(b.error, erring) << i;
      EXPECT_EQ(b.reason, erring ? c.reason : "") << i;
      if (erring) {
        EXPECT_EQ(b.role, 'P');
      }
    }
  }
}

TEST(Receiver, AStopBitForcedLowGivesAFramingErrorAndTheNextFrameDecodes) {
  struct Case {
    TLineEncoding e;
    bool parity;
    int frame, stop;  // stop bit 0 or 1 of that frame
  };
  const Case cases[] = {
      {leUnipolar, false, 1, 0}, {leNrzL, true, 3, 1}, {leManchester, false, 0, 0},
      {leNrzI, true, 2, 1},      {leRz, true, 4, 0},
  };
  for (const Case& c : cases) {
    Sent sent = Transmit("KELDO", Line(25, c.e, true, c.parity));
    const int len = FrameLength(true, c.parity);
    const int g = c.frame * len + len - 2 + c.stop;
    if (c.e == leNrzI) {
      // a low held from the stop bit on: the stop bit reads 0 (no transition) and
      // the following bits keep their transitions relative to it
      for (std::size_t k = static_cast<std::size_t>(2 * g); k < sent.ys.size(); ++k)
        sent.ys[k] = -sent.ys[k];
    } else {
      ForceBit(sent, c.e, g, '0');
    }
    TReceiver rx;
    Decode(rx, sent);
    SCOPED_TRACE(testing::Message() << "enc " << c.e << " frame " << c.frame);
    EXPECT_EQ(rx.Text(), "KELDO");  // the character still arrives, flagged
    ASSERT_EQ(rx.Frames().size(), 5u);
    for (int f = 0; f < 5; ++f) {
      EXPECT_EQ(rx.Frames()[f].framingError, f == c.frame) << f;
      EXPECT_FALSE(rx.Frames()[f].parityError) << f;
    }
    const TReceivedBit& b = rx.Bits()[static_cast<std::size_t>(g)];
    EXPECT_TRUE(b.error);
    EXPECT_EQ(b.role, 'T');
    EXPECT_EQ(b.reason, "Framing error: stop bit is 0, expected 1");
  }
}

namespace {

// A hand-made Unipolar line, two points per bit, from a bit string.
Sent UnipolarLine(const std::string& bits, std::int64_t t) {
  Sent s;
  s.lines.push_back({0, Line(t, leUnipolar, true, false)});
  for (std::size_t i = 0; i < bits.size(); ++i)
    for (int k = 0; k < 2; ++k) {
      s.xs.push_back(double((i + k) * t));
      s.ys.push_back(bits[i] == '1' ? 1 : 0);
    }
  return s;
}

}  // namespace

TEST(Receiver, HuntsThroughTheIdleLineAndResynchronisesAfterABadStopBit) {
  // idle, 'A' with its last stop bit low, idle, 'B': 0 01000010 11
  const Sent sent = UnipolarLine("111" "00100000110" "11" "00100001011", 10);
  TReceiver rx;
  Decode(rx, sent);
  EXPECT_EQ(rx.Text(), "AB");
  ASSERT_EQ(rx.Frames().size(), 2u);
  EXPECT_TRUE(rx.Frames()[0].framingError);
  EXPECT_FALSE(rx.Frames()[1].framingError);
  EXPECT_EQ(rx.Frames()[0].startX, 30);
  EXPECT_EQ(rx.Frames()[0].firstBit, 3);
  EXPECT_EQ(rx.Frames()[1].startX, 160);
  EXPECT_EQ(rx.Frames()[1].firstBit, 16);
  const std::string roles = "???S76543210TT??S76543210TT";
  const std::vector<int> frames = {-1, -1, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                   -1, -1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  ASSERT_EQ(rx.Bits().size(), roles.size());
  for (std::size_t i = 0; i < roles.size(); ++i) {
    EXPECT_EQ(rx.Bits()[i].role, roles[i]) << i;
    EXPECT_EQ(rx.Bits()[i].frame, frames[i]) << i;
    EXPECT_EQ(rx.Bits()[i].error, i == 13) << i;
  }
}

// ---------------------------------------------------------------- changes

TEST(Receiver, SpeedEncodingAndFramingChangesMidTextDecode) {
  const TReceiverLine base = Line(62, leNrzL, true, true);
  struct Case {
    const char* what;
    TReceiverLine start;
    std::vector<Change> changes;
  };
  const Case cases[] = {
      {"speed", base,
       {{17, Line(25, leNrzL, true, true)}, {60, Line(3, leNrzL, true, true)},
        {100, Line(1, leNrzL, true, true)}}},
      // NRZ-I keeps its level while another encoding is on the line
      {"encoding", Line(3, leUnipolar, false, true),
       {{20, Line(3, leNrzI, false, true)}, {41, Line(3, leManchester, false, true)},
        {70, Line(3, leNrzI, false, true)}, {93, Line(3, leRz, false, true)}}},
      // a frame keeps the framing it was built with
      {"framing", Line(25, leManchester, true, false),
       {{5, Line(25, leManchester, false, true)}, {40, Line(25, leManchester, true, true)},
        {52, Line(25, leManchester, true, false)}}},
      {"everything", Line(62, leRz, false, false),
       {{3, Line(25, leNrzI, true, false)}, {30, Line(1, leUnipolar, true, true)},
        {44, Line(3, leManchester, false, false)}}},
  };
  for (const Case& c : cases) {
    const Sent sent = Transmit("Hello, world", c.start, c.changes);
    TReceiver scheduled;  // every change known before the points
    Decode(scheduled, sent);
    EXPECT_EQ(scheduled.Text(), "Hello, world") << c.what;
    // as the window drives it: each change as it happens, then that tick's points
    TReceiver live;
    live.SetLine(c.start, 0);
    std::size_t from = 0, next = 1;
    for (std::size_t tick = 0; tick < sent.tickEnds.size(); ++tick) {
      for (const Change& ch : c.changes)
        if (ch.atBit == int(tick)) live.SetLine(ch.line, sent.lines[next++].first);
      live.Feed(&sent.xs[from], &sent.ys[from], sent.tickEnds[tick] - from);
      from = sent.tickEnds[tick];
    }
    ExpectSameDecoding(live, scheduled, c.what);
  }
}

// ---------------------------------------------------------------- bad input

TEST(Receiver, BadInputDecodesNothingWrongAndNeverHangs) {
  const Sent a = Transmit("A", Line(5, leNrzL, false, false));
  {  // a zero bit time has no bits; the next real setting decodes again
    TReceiver rx;
    rx.SetLine(Line(0, leNrzL, false, false), 0);
    rx.Feed(a.xs.data(), a.ys.data(), a.xs.size());
    EXPECT_TRUE(rx.Bits().empty());
    rx.Clear();
    rx.SetLine(Line(5, leNrzL, false, false), 0);
    rx.Feed(a.xs.data(), a.ys.data(), a.xs.size());
    EXPECT_EQ(rx.Text(), "A");
  }
  {  // non-finite points are skipped
    std::vector<double> xs = a.xs, ys = a.ys;
    xs.insert(xs.begin() + 3, std::numeric_limits<double>::quiet_NaN());
    ys.insert(ys.begin() + 3, 7.0);
    xs.insert(xs.begin() + 6, 12.0);
    ys.insert(ys.begin() + 6, std::numeric_limits<double>::infinity());
    TReceiver rx;
    rx.SetLine(Line(5, leNrzL, false, false), 0);
    rx.Feed(xs.data(), ys.data(), xs.size());
    EXPECT_EQ(rx.Text(), "A");
  }
  {  // START without Clear: time goes back to 0 and a new run begins there, with the
     // line high again; C 01000011 leaves NRZ-I low at its end
    const Sent b = Transmit("C", Line(5, leNrzI, false, false));
    TReceiver rx;
    Decode(rx, b);
    Decode(rx, b);
    EXPECT_EQ(rx.Text(), "CC");
    ASSERT_EQ(rx.Bits().size(), 16u);
    EXPECT_EQ(rx.Bits()[8].x, 2.5);
    EXPECT_EQ(rx.Frames()[1].firstBit, 8);
  }
}

TEST(Receiver, LineChangesOffTheBitGridRestartItWhereTheyFall) {
  // a flat '1' line from 0 to 60 ms, bit time 10; the first fedFirst points go in
  // before the change, the rest after it
  const double xs[] = {0, 30, 60}, ys[] = {1, 1, 1};
  struct Case {
    const char* what;
    std::size_t fedFirst;
    TReceiverLine line;
    double fromX;
    std::vector<double> instants;
  };
  const TReceiverLine ten = Line(10, leUnipolar, false, false);
  const TReceiverLine five = Line(5, leUnipolar, false, false);
  const Case cases[] = {
      {"a change inside a bit cuts it", 0, five, 25,
       {5, 15, 27.5, 32.5, 37.5, 42.5, 47.5, 52.5, 57.5}},
      {"the same settings again change nothing", 0, ten, 25, {5, 15, 25, 35, 45, 55}},
      {"a change dated before decoded bits holds from the next bit", 2, five, 0,
       {5, 15, 25, 32.5, 37.5, 42.5, 47.5, 52.5, 57.5}},
      {"a change on a boundary", 1, five, 20, {5, 15, 22.5, 27.5, 32.5, 37.5, 42.5, 47.5,
                                               52.5, 57.5}},
  };
  for (const Case& c : cases) {
    TReceiver rx;
    rx.SetLine(ten, 0);
    rx.Feed(xs, ys, c.fedFirst);
    rx.SetLine(c.line, c.fromX);
    rx.Feed(xs + c.fedFirst, ys + c.fedFirst, 3 - c.fedFirst);
    ASSERT_EQ(rx.Bits().size(), c.instants.size()) << c.what;
    for (std::size_t i = 0; i < c.instants.size(); ++i)
      EXPECT_EQ(rx.Bits()[i].x, c.instants[i]) << c.what << " bit " << i;
  }
}

TEST(Receiver, ReadsTheSegmentBetweenSparsePoints) {
  struct Case {
    std::vector<double> xs, ys;
    TReceiverLine line;
    std::vector<double> levels;
    const char* bits;
  };
  const Case cases[] = {
      // a ramp read at every mid-bit: 0.05, 0.15, ... crossing the Unipolar threshold
      {{0, 100}, {0, 1}, Line(10, leUnipolar, false, false),
       {0.05, 0.15, 0.25, 0.35, 0.45, 0.55, 0.65, 0.75, 0.85, 0.95}, "0000011111"},
      // mid-bits at 1, 3, 5, 7: flat, on a point that ends a slope, halfway up a slope
      {{0, 2, 3, 4, 6, 8}, {1, 1, -1, -1, 1, 1}, Line(2, leNrzL, false, false),
       {1, -1, 0, 1}, "0100"},
  };
  for (const Case& c : cases) {
    TReceiver rx;
    rx.SetLine(c.line, 0);
    for (std::size_t i = 0; i < c.xs.size(); ++i) rx.Feed(&c.xs[i], &c.ys[i], 1);
    const std::string bits = c.bits;
    ASSERT_EQ(rx.Bits().size(), bits.size());
    for (std::size_t i = 0; i < bits.size(); ++i) {
      EXPECT_DOUBLE_EQ(rx.Bits()[i].level, c.levels[i]) << i;
      EXPECT_EQ(rx.Bits()[i].bit, bits[i]) << i;
    }
  }
}

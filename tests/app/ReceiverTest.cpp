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

#include <gtest/gtest.h>

#include <bitset>
#include <sstream>
#include <vector>

#include "app/TransmissionModel.h"
#include "tests/support/TransmissionDoubles.h"

namespace {

// A model wired to recording doubles.
struct Rig {
  FakeTextSource text;
  RecordingBuffer buffer;
  RecordingSignal signal;
  FakeInputs inputs;
  TTransmissionModel model{text, buffer, signal, inputs};

  void Send(const std::string& s) { text.SetText(s); }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i)
      model.Tick();
  }
};

// Independent reference for a frame: data bits by bitset, parity by counting.
std::string ReferenceFrame(unsigned code, bool startStop, bool parity) {
  const std::bitset<8> data(code);
  std::string frame = data.to_string();
  if (parity) frame += data.count() % 2 ? "1" : "0";
  if (startStop) frame = "0" + frame + "11";
  return frame;
}

}  // namespace

// ---------------------------------------------------------------- frames

TEST(BuildFrame, KnownCharactersUnderEachFraming) {
  struct Case {
    unsigned char ch;
    bool startStop, parity;
    const char* frame;
  };
  const Case cases[] = {
      {'A', false, false, "01000001"},   {'A', false, true, "010000010"},
      {'A', true, false, "00100000111"}, {'A', true, true, "001000001011"},
      {'C', false, true, "010000111"},   {'C', true, true, "001000011111"},
      {' ', false, false, "00100000"},   {' ', false, true, "001000001"},
      {' ', true, true, "000100000111"}, {200, false, false, "11001000"},
      {200, false, true, "110010001"},   {200, true, true, "011001000111"},
  };
  for (const Case& c : cases) {
    Rig r;
    r.inputs.startStop = c.startStop;
    r.inputs.parity = c.parity;
    EXPECT_EQ(r.model.BuildFrame(c.ch), c.frame)
        << int(c.ch) << " startStop=" << c.startStop << " parity=" << c.parity;
  }
}

TEST(BuildFrame, EveryCodeGivesAFullFrameWithEvenParity) {
  for (bool startStop : {false, true}) {
    for (bool parity : {false, true}) {
      Rig r;
      r.inputs.startStop = startStop;
      r.inputs.parity = parity;
      for (unsigned code = 0; code < 256; ++code) {
        const std::string frame = r.model.BuildFrame(static_cast<std::uint8_t>(code));
        ASSERT_EQ(frame, ReferenceFrame(code, startStop, parity)) << code;
        if (parity) {
          const std::string dataAndParity = frame.substr(startStop ? 1 : 0, 9);
          EXPECT_EQ(std::count(dataAndParity.begin(), dataAndParity.end(), '1') % 2, 0) << code;
        }
      }
    }
  }
}

TEST(Tick, HighCharactersFromTheTextBoxGiveFullFrames) {
  // chars above 127 are negative in a signed char: they must still frame as 8 bits
  Rig r;
  r.model.Start();
  r.Send(std::string{static_cast<char>(200), static_cast<char>(255)});
  r.Ticks(16);
  EXPECT_EQ(r.buffer.text, "11001000 11111111 ");
}

TEST(UpdateFrameLength, CountsTheFramingOptions) {
  struct Case {
    bool startStop, parity;
    int length;
  };
  for (const Case& c :
       {Case{false, false, 8}, {false, true, 9}, {true, false, 11}, {true, true, 12}}) {
    Rig r;
    r.inputs.startStop = c.startStop;
    r.inputs.parity = c.parity;
    r.model.UpdateFrameLength();
    EXPECT_EQ(r.model.FrameLength(), c.length);
  }
}

TEST(Tick, SendsOneBitPerTickAndSeparatesFrames) {
  struct Case {
    bool startStop, parity;
    const char* text;
    const char* buffer;
  };
  const Case cases[] = {
      {false, false, "AC", "01000001 01000011 "},
      {false, true, "AC", "010000010 010000111 "},
      {true, false, "A", "00100000111 "},
      {true, true, "A ", "001000001011 000100000111 "},
  };
  for (const Case& c : cases) {
    Rig r;
    r.inputs.startStop = c.startStop;
    r.inputs.parity = c.parity;
    r.model.Start();
    r.Send(c.text);
    const int frame = r.model.FrameLength();
    const int chars = static_cast<int>(std::string(c.text).size());
    for (int i = 1; i <= frame * chars; ++i) {
      r.model.Tick();
      // one bit per tick, plus one separator each time a frame completes
      EXPECT_EQ(r.buffer.text.size(), size_t(i + i / frame)) << c.text << " tick " << i;
    }
    EXPECT_EQ(r.buffer.text, c.buffer);
    EXPECT_TRUE(r.model.PendingBits().empty());
  }
}

// ---------------------------------------------------------------- encoders

namespace {

// Sends bit strings through the clock's tick: each space-separated group is one
// 8-bit frame (no framing options), padded with '0' to eight bits, and only the
// group's own bits are ticked, so a row can stop in the middle of a frame.
struct BitRun {
  Rig r;
  BitRun(int encoding, std::uint32_t bitTime, const std::string& frames) {
    r.inputs.encoding = encoding;
    r.inputs.bitTime = bitTime;
    r.model.Start();
    std::string text;
    int bits = 0;
    std::istringstream groups(frames);
    for (std::string g; groups >> g;) {
      bits += static_cast<int>(g.size());
      text += static_cast<char>(std::bitset<8>(g + std::string(8 - g.size(), '0')).to_ulong());
    }
    r.Send(text);
    r.Ticks(bits);
  }
};

}  // namespace

TEST(Encoders, PointListsOfBitStrings) {
  struct Case {
    int encoding;
    std::uint32_t bitTime;
    const char* frames;
    int from;                // the points of the bits before this one are not listed
    int elapsed;             // ElapsedMs after the last bit
    std::vector<Pt> points;  // worked out by hand
  };
  // clang-format off
  const Case cases[] = {
      {leUnipolar, 25, "10", 0, 50, {{0, 1}, {25, 1}, {25, 0}, {50, 0}}},
      {leNrzL, 1, "01", 0, 2, {{0, 1}, {1, 1}, {1, -1}, {2, -1}}},
      // NRZ-I: a '1' is a transition, a '0' none, starting high after START
      {leNrzI, 62, "0110", 0, 248, {{0, 1}, {62, 1}, {62, -1}, {124, -1},
                                    {124, 1}, {186, 1}, {186, 1}, {248, 1}}},
      {leNrzI, 25, "10", 0, 50, {{0, -1}, {25, -1}, {25, -1}, {50, -1}}},
      {leNrzI, 10, "01001010", 0, 80, {{0, 1}, {10, 1}, {10, -1}, {20, -1},
                                       {20, -1}, {30, -1}, {30, -1}, {40, -1},
                                       {40, 1}, {50, 1}, {50, 1}, {60, 1},
                                       {60, -1}, {70, -1}, {70, -1}, {80, -1}}},
      // seven held zeros, then 1 | 0 0 1 1 across the frame boundary: -1 -1 -1 +1 -1
      {leNrzI, 10, "00000001 0011", 7, 120, {{70, -1}, {80, -1}, {80, -1}, {90, -1},
                                             {90, -1}, {100, -1}, {100, 1}, {110, 1},
                                             {110, -1}, {120, -1}}},
      // RZ and Manchester: each bit spans T, the mid-bit edge at t + T/2
      {leRz, 62, "01", 0, 124, {{0, -1}, {31, -1}, {31, 0}, {62, 0},
                                {62, 1}, {93, 1}, {93, 0}, {124, 0}}},
      {leRz, 25, "10", 0, 50, {{0, 1}, {12.5, 1}, {12.5, 0}, {25, 0},
                               {25, -1}, {37.5, -1}, {37.5, 0}, {50, 0}}},
      {leRz, 1, "011", 0, 3, {{0, -1}, {0.5, -1}, {0.5, 0}, {1, 0},
                              {1, 1}, {1.5, 1}, {1.5, 0}, {2, 0},
                              {2, 1}, {2.5, 1}, {2.5, 0}, {3, 0}}},
      {leManchester, 62, "10", 0, 124, {{0, -1}, {31, -1}, {31, 1}, {62, 1},
                                        {62, 1}, {93, 1}, {93, -1}, {124, -1}}},
      {leManchester, 25, "01", 0, 50, {{0, 1}, {12.5, 1}, {12.5, -1}, {25, -1},
                                       {25, -1}, {37.5, -1}, {37.5, 1}, {50, 1}}},
      {leManchester, 1, "110", 0, 3, {{0, -1}, {0.5, -1}, {0.5, 1}, {1, 1},
                                      {1, -1}, {1.5, -1}, {1.5, 1}, {2, 1},
                                      {2, 1}, {2.5, 1}, {2.5, -1}, {3, -1}}},
      // a bit time of 0 puts every point at one x
      {leUnipolar, 0, "1", 0, 0, {{0, 1}, {0, 1}}},
      {leRz, 0, "1", 0, 0, {{0, 1}, {0, 1}, {0, 0}, {0, 0}}},
  };
  // clang-format on
  for (const Case& c : cases) {
    BitRun run(c.encoding, c.bitTime, c.frames);
    std::vector<Pt>& points = run.r.signal.points;
    const int perBit = c.encoding >= leRz ? 4 : 2;
    points.erase(points.begin(), points.begin() + c.from * perBit);
    EXPECT_EQ(points, c.points) << "encoding " << c.encoding << " T=" << c.bitTime << " "
                                << c.frames;
    EXPECT_EQ(run.r.model.ElapsedMs(), c.elapsed) << "encoding " << c.encoding << " " << c.frames;
  }
}

TEST(Encoders, RzAndManchesterBitsSpanTheFullBitTime) {
  // "KELDO" framed with start/stop bits and parity: 60 bits of mixed values
  for (int encoding : {leRz, leManchester}) {
    for (std::uint32_t bitTime : {62u, 25u, 1u}) {
      Rig r;
      r.inputs.encoding = encoding;
      r.inputs.bitTime = bitTime;
      r.inputs.startStop = r.inputs.parity = true;
      r.model.Start();
      r.Send("KELDO");
      r.Ticks(60);
      const std::vector<Pt>& p = r.signal.points;
      ASSERT_EQ(p.size(), 240u);
      const double T = bitTime;
      for (int n = 0; n < 60; ++n) {
        SCOPED_TRACE(::testing::Message()
                     << "encoding " << encoding << " T=" << bitTime << " bit " << n);
        EXPECT_EQ(p[4 * n].x, n * T);
        EXPECT_EQ(p[4 * n + 1].x, n * T + T / 2);
        EXPECT_EQ(p[4 * n + 2].x, n * T + T / 2);
        EXPECT_EQ(p[4 * n + 3].x, (n + 1) * T);
      }
      EXPECT_EQ(r.model.ElapsedMs(), 60 * static_cast<int>(bitTime));
    }
  }
}

TEST(Encoders, HundredManchesterBitsAtOneMillisecondEndAtOneHundred) {
  // at 1000 bits/s time must still advance one millisecond per bit
  Rig r;
  r.inputs.encoding = leManchester;
  r.inputs.bitTime = 1;
  r.model.Start();
  r.Send("KELDO KELDO KELDO");
  r.Ticks(100);
  ASSERT_EQ(r.signal.points.size(), 400u);
  EXPECT_EQ(r.signal.points.back().x, 100);
  EXPECT_EQ(r.model.ElapsedMs(), 100);
}

TEST(Encoders, EveryBitBeginsWhereThePreviousEnded) {
  for (int encoding = leUnipolar; encoding <= leManchester; ++encoding) {
    for (std::uint32_t bitTime : {62u, 25u, 1u}) {
      Rig r;
      r.inputs.encoding = encoding;
      r.inputs.bitTime = bitTime;
      r.inputs.startStop = r.inputs.parity = true;
      r.model.Start();
      r.Send("Kb");
      r.Ticks(24);
      const size_t perBit = encoding >= leRz ? 4 : 2;
      ASSERT_EQ(r.signal.points.size(), 24 * perBit);
      for (size_t i = perBit; i < r.signal.points.size(); i += perBit)
        EXPECT_EQ(r.signal.points[i].x, r.signal.points[i - 1].x) << encoding << " point " << i;
      EXPECT_EQ(r.signal.points.back().x, r.model.ElapsedMs());
    }
  }
}

TEST(NrzI, LevelCarriesAcrossFramesAndResetsOnlyOnStart) {
  Rig r;
  r.inputs.encoding = leNrzI;
  r.inputs.bitTime = 10;
  r.model.Start();
  r.Send("\x01\x01");  // each frame ends with a single '1'
  r.Ticks(8);
  EXPECT_EQ(r.model.NrziLevel(), -1);
  r.model.Reset();
  EXPECT_EQ(r.model.NrziLevel(), -1);  // Clear keeps the level
  r.Ticks(7);                          // seven zeros of the next frame hold it...
  EXPECT_EQ(r.model.NrziLevel(), -1);
  r.Ticks(1);  // ...and its last bit flips it
  EXPECT_EQ(r.model.NrziLevel(), 1);
  r.Send("\x80");
  r.model.Tick();
  EXPECT_EQ(r.model.NrziLevel(), -1);  // first bit '1' inverts +1
  r.model.Start();
  EXPECT_EQ(r.model.NrziLevel(), 1);
  r.model.Tick();  // '0'
  r.model.Tick();  // '0'
  EXPECT_EQ(r.signal.points.back().y, 1);
}

TEST(Encoders, UnknownEncodingShowsTheBitButDrawsNothing) {
  for (int encoding : {-1, 5, 1000}) {
    Rig r;
    r.inputs.encoding = encoding;
    r.model.Start();
    r.Send("A");
    r.Ticks(8);
    EXPECT_EQ(r.buffer.text, "01000001 ");
    EXPECT_TRUE(r.signal.points.empty());
    EXPECT_EQ(r.model.ElapsedMs(), 0);
    EXPECT_TRUE(r.model.PendingBits().empty());
  }
}

TEST(Encoders, SettingsChangedMidFrameTakeEffectWithTheNextBit) {
  Rig r;
  r.inputs.encoding = leUnipolar;
  r.inputs.bitTime = 100;
  r.model.Start();
  r.Send("A");  // 0 1 0 ...
  r.model.Tick();
  r.inputs.encoding = leManchester;
  r.inputs.bitTime = 11;  // speed changed: the new bit time from the next step on
  r.model.Tick();
  const std::vector<Pt> expected{{0, 0}, {100, 0}, {100, -1}, {105.5, -1}, {105.5, 1}, {111, 1}};
  EXPECT_EQ(r.signal.points, expected);
  EXPECT_EQ(r.model.ElapsedMs(), 111);
}

// ---------------------------------------------------------------- worked examples

TEST(Worked, LetterAWithParityNrzLAt62ms) {
  Rig r;
  r.inputs.parity = true;
  r.inputs.encoding = leNrzL;
  r.inputs.bitTime = 62;
  r.model.Start();
  r.Send("A");
  r.model.Tick();
  EXPECT_EQ(r.model.FrameLength(), 9);
  EXPECT_EQ(r.model.PendingBits(), "10000010");
  EXPECT_EQ(r.buffer.text, "0");
  EXPECT_EQ(r.signal.points, (std::vector<Pt>{{0, 1}, {62, 1}}));
  EXPECT_EQ(r.model.ElapsedMs(), 62);
  EXPECT_TRUE(r.text.Enabled());
  r.Ticks(8);
  EXPECT_EQ(r.buffer.text, "010000010 ");
  const std::vector<Pt> expected{{0, 1},   {62, 1},  {62, -1},  {124, -1}, {124, 1}, {186, 1},
                                 {186, 1}, {248, 1}, {248, 1},  {310, 1},  {310, 1}, {372, 1},
                                 {372, 1}, {434, 1}, {434, -1}, {496, -1}, {496, 1}, {558, 1}};
  EXPECT_EQ(r.signal.points, expected);
}

TEST(Worked, LetterAUnipolarAt62ms) {
  Rig r;
  r.model.Start();
  r.Send("A");
  r.Ticks(8);
  EXPECT_EQ(r.buffer.text, "01000001 ");
  const std::vector<Pt> expected{{0, 0},   {62, 0},  {62, 1},  {124, 1}, {124, 0}, {186, 0},
                                 {186, 0}, {248, 0}, {248, 0}, {310, 0}, {310, 0}, {372, 0},
                                 {372, 0}, {434, 0}, {434, 1}, {496, 1}};
  EXPECT_EQ(r.signal.points, expected);
}

// ---------------------------------------------------------------- framing changes, Clear and START

TEST(FrameLength, ChangedMidFrameMovesOrDropsTheSeparator) {
  struct Case {
    bool startStop, parity;  // framing at START
    int ticksBefore;         // bits shown before the check box click
    bool newStartStop, newParity;
    const char* buffer;  // after the frame has gone out
  };
  const Case cases[] = {
      // 12-bit frame, shortened to 8 after 5 bits: separator after bit 8
      {true, true, 5, false, false, "00100000 1011"},
      // 12-bit frame, shortened to 8 after 9 bits: already past, no separator
      {true, true, 9, false, false, "001000001011"},
      // 8-bit frame lengthened to 9: never reaches bit 9
      {false, false, 3, false, true, "01000001"},
      // 8-bit frame lengthened to 11 by start/stop: the frame itself stays 8 bits
      {false, false, 0, true, false, "01000001"},
  };
  for (const Case& c : cases) {
    Rig r;
    r.inputs.startStop = c.startStop;
    r.inputs.parity = c.parity;
    r.model.Start();
    r.Send("A");
    const int frameBits = static_cast<int>(r.model.BuildFrame('A').size());
    r.Ticks(c.ticksBefore == 0 ? 1 : c.ticksBefore);
    r.inputs.startStop = c.newStartStop;
    r.inputs.parity = c.newParity;
    r.model.UpdateFrameLength();
    r.Ticks(frameBits - (c.ticksBefore == 0 ? 1 : c.ticksBefore));
    EXPECT_EQ(r.buffer.text, c.buffer) << "after " << c.ticksBefore << " bits";
    EXPECT_TRUE(r.model.PendingBits().empty());
  }
}

TEST(FrameLength, NextFrameUsesTheNewFraming) {
  Rig r;
  r.model.Start();
  r.Send("AC");
  r.Ticks(3);
  r.inputs.parity = true;
  r.model.UpdateFrameLength();
  r.Ticks(5 + 9);
  EXPECT_EQ(r.buffer.text, "01000001010000111 ");
}

TEST(ResetThenStart, ResumesTheFrameAtTimeZeroCountingAfresh) {
  Rig r;
  r.inputs.startStop = r.inputs.parity = true;
  r.inputs.encoding = leUnipolar;
  r.inputs.bitTime = 10;
  r.model.Start();
  r.Send("AC");
  r.Ticks(5);
  EXPECT_EQ(r.model.ElapsedMs(), 50);
  r.model.Reset();
  EXPECT_EQ(r.model.SentBits(), 0);
  EXPECT_EQ(r.model.ElapsedMs(), 0);
  EXPECT_EQ(r.model.PendingBits(), "0001011");
  r.buffer.ClearText();
  r.signal.ClearPoints();
  r.model.Start();
  r.model.Tick();
  EXPECT_EQ(r.model.SentBits(), 1);
  EXPECT_EQ(r.signal.points, (std::vector<Pt>{{0, 0}, {10, 0}}));
  r.Ticks(6);
  // the 7 remaining bits never reach a count of 12: no separator after them
  EXPECT_EQ(r.buffer.text, "0001011");
  r.Ticks(12);
  EXPECT_EQ(r.buffer.text, "0001011001000011111 ");
}

TEST(StartWithoutReset, NewPointsMergeAmongTheOldOnesByX) {
  FakeTextSource text("\x3F");  // 00111111
  RecordingBuffer buffer;
  SortedSignal signal;
  FakeInputs inputs;
  inputs.bitTime = 10;
  TTransmissionModel model(text, buffer, signal, inputs);
  model.Start();
  model.Tick();   // '0': (0,0) (10,0)
  model.Tick();   // '0': (10,0) (20,0)
  model.Start();  // time back to 0; the frame goes on, the old points stay
  model.Tick();   // '1': (0,1) (10,1), each after the points already at its x
  const std::vector<Pt> expected{{0, 0}, {0, 1}, {10, 0}, {10, 0}, {10, 1}, {20, 0}};
  EXPECT_EQ(signal.points, expected);
  EXPECT_EQ(buffer.text, "001");
}

TEST(Tick, EnablesTheTextSourceOnEveryTickOnceItIsEmpty) {
  Rig r;
  r.model.Start();
  r.Send("AB");
  r.model.Tick();  // takes A, "B" is left
  EXPECT_EQ(r.text.enableCalls, 0);
  r.Ticks(7);
  EXPECT_EQ(r.text.enableCalls, 0);
  r.model.Tick();  // takes B: enabled in the same tick although its frame has 7 bits to go
  EXPECT_EQ(r.text.Text(), "");
  EXPECT_EQ(r.text.enableCalls, 1);
  EXPECT_TRUE(r.text.Enabled());
  r.Ticks(10);
  EXPECT_EQ(r.text.enableCalls, 11);
}

TEST(Tick, TextTypedDuringTheLastFrameIsTakenWhenItEnds) {
  Rig r;
  r.model.Start();
  r.Send("A");
  r.Ticks(3);
  r.Send("C");  // typed while A's frame is still going out
  r.Ticks(5);
  EXPECT_EQ(r.text.Text(), "C");
  EXPECT_EQ(r.buffer.text, "01000001 ");
  r.model.Tick();
  EXPECT_EQ(r.text.Text(), "");
  EXPECT_EQ(r.buffer.text, "01000001 0");
}

TEST(Tick, IdleTickChangesNothingButTheEnabledFlag) {
  Rig r;
  r.model.Start();
  r.Ticks(5);
  EXPECT_EQ(r.text.enableCalls, 5);
  EXPECT_TRUE(r.buffer.text.empty());
  EXPECT_TRUE(r.signal.points.empty());
  EXPECT_EQ(r.model.SentBits(), 0);
  EXPECT_EQ(r.model.ElapsedMs(), 0);
  EXPECT_EQ(r.model.NrziLevel(), 1);
}

TEST(Model, StartsAtZeroAndStartSetsTheLevelHigh) {
  Rig r;
  EXPECT_EQ(r.model.SentBits(), 0);
  EXPECT_EQ(r.model.ElapsedMs(), 0);
  EXPECT_EQ(r.model.NrziLevel(), 0);
  EXPECT_EQ(r.model.FrameLength(), 0);
  EXPECT_TRUE(r.model.PendingBits().empty());
  r.inputs.parity = true;
  r.model.Start();
  EXPECT_EQ(r.model.NrziLevel(), 1);
  EXPECT_EQ(r.model.FrameLength(), 9);
}

// The display list: played onto a surface it gives exactly the calls that drawing there
// directly gives, and two lists compare equal only when they draw the same.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/DisplayList.h"
#include "toolkit/RecordingSurface.h"

namespace {

using Drawing = std::function<void(tk::TSurface&)>;

void Figures(tk::TSurface& s) {
  s.pen.color = tk::clRed;
  s.MoveTo(1, 2);
  s.LineTo(5, 6);
  s.LineTo(9, 2);  // from where the last line ended
  s.brush.style = tk::bsCross;
  const tk::TPoint p[3] = {{0, 0}, {4, 0}, {2, 3}};
  s.Polygon(p, 3);
  s.Polyline(p, 3);
  s.Rectangle(1, 1, 8, 8);
  s.RoundRect(1, 1, 8, 8, 2, 3);
  s.Ellipse(0, 0, 3, 3);
  s.Arc(0, 0, 9, 9, 9, 4, 0, 4);
  s.Pie(0, 0, 9, 9, 9, 4, 0, 4);
  s.FillRect({2, 2, 4, 4});
  s.SetPixel(3, 3, tk::clBlue);
}

void Texts(tk::TSurface& s) {
  s.font.font.height = -20;
  s.textAlign = tk::TA_CENTER | tk::TA_BOTTOM;
  s.backMode = tk::OPAQUE;
  s.TextOut(10, 20, "12:05");
  s.font.escapement = 450;
  s.TextOut(30, 20, "12:06");
}

void Clips(tk::TSurface& s) {
  s.IntersectClipRect({0, 0, 50, 50});
  const tk::TPoint p[4] = {{0, 0}, {9, 0}, {9, 9}, {0, 9}};
  s.SelectClipPolygon(p, 4);
  s.LineTo(3, 3);
  s.RemoveClip();
}

std::vector<std::string> Log(const tk::TRecordingSurface& s) {
  std::vector<std::string> out;
  for (const tk::TDrawCall& c : s.Calls())
    out.push_back(c.ToString() + " pen " + std::to_string(c.pen.color) + " brush " +
                  std::to_string(c.brush.style) + " font " + std::to_string(c.font.font.height) +
                  "/" + std::to_string(c.font.escapement) + " align " +
                  std::to_string(c.textAlign) + " mode " + std::to_string(c.backMode));
  return out;
}

// Only the drawing calls: a played list moves the pen itself before a line that starts
// elsewhere, where direct drawing had its own MoveTo.
std::vector<std::string> Drawn(const tk::TRecordingSurface& s) {
  std::vector<std::string> out;
  for (const std::string& line : Log(s))
    if (line.rfind("MoveTo", 0) != 0) out.push_back(line);
  return out;
}

struct PlayCase {
  const char* name;
  Drawing draw;
};

class DisplayListPlay : public ::testing::TestWithParam<PlayCase> {};

TEST_P(DisplayListPlay, GivesTheCallsOfDrawingDirectly) {
  tk::TRecordingSurface direct, played, measure;
  GetParam().draw(direct);
  tk::TDisplayList list;
  list.Begin(measure);
  GetParam().draw(list);
  list.PlayOnto(played);
  EXPECT_EQ(Drawn(played), Drawn(direct));
  EXPECT_TRUE(measure.Calls().empty()) << "recording draws nothing on the measuring surface";
  // and the surface is left with the tools the drawing ended with
  EXPECT_EQ(played.pen, direct.pen);
  EXPECT_EQ(played.font, direct.font);
  EXPECT_EQ(played.textAlign, direct.textAlign);
  EXPECT_EQ(played.PenPos(), direct.PenPos());
}

INSTANTIATE_TEST_SUITE_P(Drawings, DisplayListPlay,
                         ::testing::Values(PlayCase{"Figures", Figures}, PlayCase{"Texts", Texts},
                                           PlayCase{"Clips", Clips}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DisplayList, MeasuresTextWithTheFontOfTheRecordingOnTheSurfaceItStandsFor) {
  tk::TRecordingSurface measure;
  tk::TDisplayList list;
  list.Begin(measure);
  list.font.font.height = -20;
  // the recording surface's rule: ceil(20 / 2) a character wide, 20 + 2 high
  EXPECT_EQ(list.TextExtent("abc"), (tk::TSize{30, 22}));
  EXPECT_EQ(list.TextHeight("abc"), 22);
}

struct SameCase {
  const char* name;
  Drawing first, second;
  bool same;
};

class DisplayListSame : public ::testing::TestWithParam<SameCase> {};

TEST_P(DisplayListSame, ComparesWhatIsDrawn) {
  tk::TRecordingSurface measure;
  tk::TDisplayList a, b;
  a.Begin(measure);
  GetParam().first(a);
  b.Begin(measure);
  GetParam().second(b);
  EXPECT_EQ(a.SameDrawing(b), GetParam().same);
  EXPECT_EQ(b.SameDrawing(a), GetParam().same);
}

void Line(tk::TSurface& s) {
  s.MoveTo(0, 0);
  s.LineTo(10, 10);
}

const SameCase kSame[] = {
    {"the same figures", Figures, Figures, true},
    {"the same texts", Texts, Texts, true},
    {"a tool changed but unused", Line,
     [](tk::TSurface& s) {
       Line(s);
       s.pen.color = tk::clBlue;
     },
     true},
    {"another colour",
     Line,
     [](tk::TSurface& s) {
       s.pen.color = tk::clBlue;
       Line(s);
     },
     false},
    {"another text",
     [](tk::TSurface& s) { s.TextOut(1, 1, "0:01"); },
     [](tk::TSurface& s) { s.TextOut(1, 1, "0:02"); }, false},
    {"another end point", Line,
     [](tk::TSurface& s) {
       s.MoveTo(0, 0);
       s.LineTo(10, 11);
     },
     false},
    {"another start point", Line,
     [](tk::TSurface& s) {
       s.MoveTo(1, 0);
       s.LineTo(10, 10);
     },
     false},
    {"one call more", Line,
     [](tk::TSurface& s) {
       Line(s);
       s.SetPixel(1, 1, tk::clRed);
     },
     false},
    {"ending inside a clip",
     [](tk::TSurface& s) { s.IntersectClipRect({0, 0, 5, 5}); },
     [](tk::TSurface& s) { s.IntersectClipRect({0, 0, 5, 5}); }, false},
    {"a bitmap made",
     [](tk::TSurface& s) { s.CreateBitmap(4, 4, false); },
     [](tk::TSurface& s) { s.CreateBitmap(4, 4, false); }, false},
};

INSTANTIATE_TEST_SUITE_P(Lists, DisplayListSame, ::testing::ValuesIn(kSame), [](const auto& info) {
  std::string n;
  for (const char* c = info.param.name; *c; ++c)
    n += (*c == ' ') ? '_' : *c;
  return n;
});

}  // namespace

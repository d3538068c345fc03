#include "toolkit/QtSurface.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "toolkit/QtBridge.h"

using namespace tk;

namespace {

QImage Noise(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.setPixel(x, y, qRgb((x * 37) & 255, (y * 91) & 255, (x * y) & 255));
  return img;
}

}  // namespace

TEST(QtSurface, NotXorRectangleTwiceRestoresEveryPixel) {
  QImage img = Noise(120, 90);
  const QImage before = img.copy();
  {
    TQtSurface s(&img);
    s.pen = {clBlack, 1, psDot, pmNotXor, false};
    s.brush.style = bsClear;
    for (int i = 0; i < 2; ++i) {
      s.Rectangle(10, 10, 80, 60);
      s.Rectangle(5, 70, 7, 72);  // tiny, corners overlapping
    }
  }
  EXPECT_EQ(img, before);
  {
    TQtSurface s(&img);
    s.pen = {clBlack, 1, psSolid, pmNotXor, false};
    s.brush.style = bsClear;
    s.Rectangle(10, 10, 80, 60);
  }
  EXPECT_NE(img, before);  // once does change the picture
}

TEST(QtSurface, LineToLeavesOutItsEndPixel) {
  QImage img(20, 5, QImage::Format_RGB32);
  img.fill(Qt::white);
  {
    TQtSurface s(&img);
    s.pen = {clRed, 1, psSolid, pmCopy, false};
    s.MoveTo(2, 2);
    s.LineTo(10, 2);
  }
  EXPECT_EQ(img.pixel(2, 2), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(9, 2), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(10, 2), qRgb(255, 255, 255));
}

TEST(QtSurface, FillsAndRectanglesCoverTheirBoxExclusively) {
  QImage img(20, 20, QImage::Format_RGB32);
  img.fill(Qt::white);
  {
    TQtSurface s(&img);
    s.brush = {clBlue, bsSolid};
    s.FillRect({2, 2, 6, 6});
    s.pen = {clRed, 1, psSolid, pmCopy, false};
    s.Rectangle(10, 10, 15, 15);
  }
  EXPECT_EQ(img.pixel(5, 5), qRgb(0, 0, 255));
  EXPECT_EQ(img.pixel(6, 6), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(10, 10), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(14, 14), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(12, 12), qRgb(0, 0, 255));
  EXPECT_EQ(img.pixel(15, 15), qRgb(255, 255, 255));
}

TEST(QtSurface, AlternatePixelPenDotsEveryOtherPixel) {
  QImage img(20, 3, QImage::Format_RGB32);
  img.fill(Qt::white);
  {
    TQtSurface s(&img);
    s.pen = {clBlack, 1, psSolid, pmCopy, true};
    s.MoveTo(0, 1);
    s.LineTo(12, 1);
  }
  for (int x = 0; x < 12; ++x)
    EXPECT_EQ(img.pixel(x, 1) == qRgb(0, 0, 0), x % 2 == 0) << x;
}

TEST(QtSurface, RotatedTextTurnsCounterClockwise) {
  QImage flat(200, 200, QImage::Format_RGB32), turned(200, 200, QImage::Format_RGB32);
  for (auto [img, escapement] : {std::pair{&flat, 0}, std::pair{&turned, 900}}) {
    img->fill(Qt::white);
    TQtSurface s(img);
    s.backMode = TRANSPARENT;
    s.font.font = {"DejaVu Sans", -20, clBlack, {}};
    s.font.escapement = escapement;
    s.textAlign = TA_LEFT | TA_BASELINE;
    s.TextOut(100, 100, "HHHHHH");
  }
  auto inkBounds = [](const QImage& img) {
    QRect r;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if (img.pixel(x, y) != qRgb(255, 255, 255)) r |= QRect(x, y, 1, 1);
    return r;
  };
  const QRect a = inkBounds(flat), b = inkBounds(turned);
  EXPECT_GT(a.width(), a.height());  // along the baseline to the right
  EXPECT_GT(b.height(), b.width());  // at 90 degrees it runs up from the reference point,
  EXPECT_LE(b.bottom(), 101);        // the letters' tops turned to the left
  EXPECT_LE(b.right(), 101);
}

TEST(QtSurface, TextAlignmentPlacesTheReferencePoint) {
  // Ink of "HHHH" (no descender) against the reference point (100, 100).
  // Turned half a circle, the same text must land mirrored through that
  // point; that path draws from a cached picture, so both agree or neither.
  struct Case {
    unsigned align;
    int left, right, top, bottom;  // ink edge before (-1), at (0) or after (1) the point
  };
  for (const Case& c : {Case{TA_LEFT | TA_TOP, 0, 1, 1, 1},
                        {TA_CENTER | TA_TOP, -1, 1, 1, 1},
                        {TA_RIGHT | TA_BASELINE, -1, 0, -1, 0},
                        {TA_LEFT | TA_BOTTOM, 0, 1, -1, -1}}) {  // lifted by the descent
    QRect ink[2];
    for (int turned = 0; turned < 2; ++turned) {
      QImage img(200, 200, QImage::Format_RGB32);
      img.fill(Qt::white);
      {
        TQtSurface s(&img);
        s.backMode = TRANSPARENT;
        s.font.font = {"DejaVu Sans", -20, clBlack, {}};
        s.font.escapement = turned ? 1800 : 0;
        s.textAlign = c.align;
        s.TextOut(100, 100, "HHHH");
      }
      for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
          if (img.pixel(x, y) != qRgb(255, 255, 255)) ink[turned] |= QRect(x, y, 1, 1);
    }
    auto side = [](int edge) { return edge < 97 ? -1 : edge > 103 ? 1 : 0; };
    const QRect& a = ink[0];
    EXPECT_EQ(side(a.left()), c.left) << c.align;
    EXPECT_EQ(side(a.right()), c.right) << c.align;
    EXPECT_EQ(side(a.top()), c.top) << c.align;
    EXPECT_EQ(side(a.bottom()), c.bottom) << c.align;
    if ((c.align & TA_HORIZONTAL_MASK) == TA_CENTER) {
      EXPECT_NEAR(a.left() + a.right(), 200, 2);
    }
    const QRect& b = ink[1];
    EXPECT_NEAR(200 - b.right(), a.left(), 2) << c.align;
    EXPECT_NEAR(200 - b.bottom(), a.top(), 2) << c.align;
    EXPECT_NEAR(b.width(), a.width(), 1) << c.align;
    EXPECT_NEAR(b.height(), a.height(), 1) << c.align;
  }
}

TEST(ImageBitmap, MonochromeReducesToBlackAndWhite) {
  TImageBitmap bitmap(10, 10, true);
  bitmap.Canvas().brush = {RGB(200, 30, 30), bsSolid};
  bitmap.Canvas().FillRect({0, 0, 10, 10});
  const QImage shown = bitmap.Image();
  const QRgb p = shown.pixel(5, 5);
  EXPECT_TRUE(p == qRgb(0, 0, 0) || p == qRgb(255, 255, 255));
  QImage dest(10, 10, QImage::Format_RGB32);
  {
    TQtSurface s(&dest);
    s.CopyFrom(0, 0, bitmap);
  }
  EXPECT_EQ(dest.pixel(5, 5), p);
}

TEST(QtSurface, TextBoxIsFilledOnlyWhenOpaqueWithAVisibleBrush) {
  struct Case {
    int backMode;
    TBrushStyle brush;
    int escapement;
    bool boxed;
  };
  for (const Case& c : {Case{OPAQUE, bsSolid, 0, true},
                        {OPAQUE, bsClear, 0, false},
                        {TRANSPARENT, bsSolid, 0, false},
                        {OPAQUE, bsSolid, 450, true},
                        {OPAQUE, bsClear, 450, false}}) {
    QImage img(120, 60, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
      TQtSurface s(&img);
      s.backMode = c.backMode;
      s.backColor = clBlue;
      s.brush = {clWhite, c.brush};
      s.font.font = {"DejaVu Sans", -14, clBlack, {}};
      s.font.escapement = c.escapement;
      s.textAlign = TA_LEFT | TA_BASELINE;
      s.TextOut(20, 40, "ii");
    }
    bool blue = false;
    for (int y = 0; y < img.height() && !blue; ++y)
      for (int x = 0; x < img.width() && !blue; ++x)
        blue = img.pixel(x, y) == qRgb(0, 0, 255);
    EXPECT_EQ(blue, c.boxed) << c.backMode << " " << c.brush << " " << c.escapement;
  }
}

// ---------------------------------------------------------------- brush bitmaps

namespace {

// A 3 x 2 pattern, every pixel its own colour, so a wrong phase shows.
TBrushBitmapRef Pattern3x2() {
  return MakeBrushBitmap(3, 2,
                         {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0),
                          RGB(0, 255, 255), RGB(255, 0, 255)});
}

QRgb PatternAt(int x, int y) {
  static const QRgb rows[2][3] = {{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)},
                                  {qRgb(255, 255, 0), qRgb(0, 255, 255), qRgb(255, 0, 255)}};
  return rows[y % 2][x % 3];
}

}  // namespace

TEST(BrushBitmap, RepeatsEndlesslyAndPadsMissingPixels) {
  const TBrushBitmap b(3, 2, {1, 2, 3, 4, 5});  // one pixel short
  struct Case {
    int x, y;
    TColor want;
  };
  for (const Case& c : {Case{0, 0, 1},
                        {2, 0, 3},
                        {3, 0, 1},
                        {-1, 0, 3},
                        {0, 1, 4},
                        {1, -1, 5},
                        {2, 1, clWhite},
                        {-4, -2, 3},
                        {7, 5, 5}})
    EXPECT_EQ(b.PixelAt(c.x, c.y), c.want) << c.x << "," << c.y;
  EXPECT_TRUE(TBrushBitmap(0, 4, {}).Empty());
  EXPECT_TRUE(TBrushBitmap(-2, 4, {1}).Empty());
  EXPECT_EQ(TBrushBitmap(1, 1, {7, 8, 9}).Pixels().size(), 1u);
}

TEST(BrushBitmap, BrushTellsItsOwnerOnlyWhenThePatternChanges) {
  int changes = 0;
  TBrush brush([&changes] { ++changes; });
  const TBrushBitmapRef a = Pattern3x2(), b = Pattern3x2();
  EXPECT_FALSE(brush.HasBitmap());
  brush.SetBitmap(a);
  brush.SetBitmap(a);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(brush.HasBitmap());
  brush.SetBitmap(b);  // another pattern, even with the same pixels
  EXPECT_EQ(changes, 2);
  brush.SetBitmap(MakeBrushBitmap(0, 0, {}));
  EXPECT_FALSE(brush.HasBitmap());  // an empty pattern is no pattern
  TBrush copy;
  copy.Assign(brush);
  EXPECT_EQ(copy.Bitmap(), brush.Bitmap());
}

TEST(QtSurface, BrushBitmapFillsEveryFigureWithThePatternFromTheOrigin) {
  // Inside points well clear of each figure's edge; the pattern's phase comes
  // from the surface's origin, not from the figure.
  struct Case {
    const char* figure;
    TBrushStyle style;
    bool emptyPattern;
  };
  const std::vector<Case> cases{
      {"FillRect", bsSolid, false},  {"FillRect", bsClear, false},  {"FillRect", bsCross, false},
      {"Rectangle", bsSolid, false}, {"Rectangle", bsClear, false}, {"Polygon", bsSolid, false},
      {"Polygon", bsClear, false},   {"Ellipse", bsSolid, false},   {"RoundRect", bsSolid, false},
      {"Pie", bsSolid, false},       {"FillRect", bsSolid, true},   {"FillRect", bsClear, true},
      {"Polygon", bsClear, true}};
  for (const Case& c : cases) {
    QImage img(40, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
      TQtSurface s(&img);
      s.pen.style = psClear;
      s.backMode = OPAQUE;
      s.backColor = clBlack;
      s.brush = {clGray, c.style, c.emptyPattern ? MakeBrushBitmap(0, 3, {}) : Pattern3x2()};
      const std::string f = c.figure;
      const TPoint square[4] = {{5, 5}, {35, 5}, {35, 35}, {5, 35}};
      if (f == "FillRect") s.FillRect({5, 5, 35, 35});
      if (f == "Rectangle") s.Rectangle(5, 5, 35, 35);
      if (f == "Polygon") s.Polygon(square, 4);
      if (f == "Ellipse") s.Ellipse(5, 5, 35, 35);
      if (f == "RoundRect") s.RoundRect(5, 5, 35, 35, 8, 8);
      if (f == "Pie") s.Pie(0, 0, 40, 40, 40, 20, 40, 21);  // nearly the whole circle
    }
    for (int y = 12; y < 28; ++y)
      for (int x = 12; x < 28; ++x) {
        QRgb want = PatternAt(x, y);
        if (c.emptyPattern)  // no pattern: the style decides
          want = c.style == bsClear ? qRgb(255, 255, 255) : qRgb(128, 128, 128);
        ASSERT_EQ(img.pixel(x, y), want)
            << c.figure << " style " << c.style << " at " << x << "," << y;
      }
    EXPECT_EQ(img.pixel(1, 1), qRgb(255, 255, 255)) << c.figure;  // nothing outside
  }
}

// ---------------------------------------------------------------- arcs and pies

namespace {

bool InkNear(const QImage& img, double x, double y, int reach = 1) {
  const int cx = static_cast<int>(std::lround(x)), cy = static_cast<int>(std::lround(y));
  for (int yy = cy - reach; yy <= cy + reach; ++yy)
    for (int xx = cx - reach; xx <= cx + reach; ++xx)
      if (img.valid(xx, yy) && img.pixel(xx, yy) != qRgb(255, 255, 255)) return true;
  return false;
}

}  // namespace

TEST(QtSurface, ArcsAndPiesStartAndEndOnTheirRays) {
  // The start and end are rays from the box centre through a point; where a
  // ray meets the ellipse (x/rx)^2 + (y/ry)^2 = 1 is worked out here, and a
  // pie's straight edges run along the rays themselves.
  struct Case {
    bool pie;
    int x1, y1, x2, y2, x3, y3, x4, y4;
  };
  const Case cases[] = {
      {true, 0, 0, 201, 101, 160, 20, 40, 80},     // wide: the ray to 26.6 degrees
      {true, 0, 0, 101, 201, 70, 40, 20, 160},     // tall
      {true, 0, 0, 121, 121, 100, 30, 30, 100},    // a circle
      {true, 20, 20, 221, 121, 60, 90, 180, 100},  // the lower half, start left of centre
      {false, 10, 10, 311, 71, 310, 10, 10, 70},   // flat, rays to the corners
      {false, 0, 0, 201, 101, 40, 80, 160, 20},    // the lower half of the wide one
  };
  for (const Case& c : cases) {
    QImage img(330, 230, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
      TQtSurface s(&img);
      s.pen = {clBlack, 1, psSolid, pmCopy, false};
      s.brush.style = bsClear;
      if (c.pie)
        s.Pie(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4);
      else
        s.Arc(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4);
    }
    const double cx = (c.x1 + c.x2 - 1) / 2.0, cy = (c.y1 + c.y2 - 1) / 2.0;
    const double rx = (c.x2 - c.x1 - 1) / 2.0, ry = (c.y2 - c.y1 - 1) / 2.0;
    auto boundary = [&](double angle) {  // where the ray at angle (degrees) meets the ellipse
      const double dx = std::cos(angle * std::numbers::pi / 180),
                   dy = -std::sin(angle * std::numbers::pi / 180);
      const double t = 1 / std::sqrt(dx * dx / (rx * rx) + dy * dy / (ry * ry));
      return QPointF(cx + t * dx, cy + t * dy);
    };
    auto rayAngle = [&](int x, int y) {
      return std::atan2(-(y - cy), x - cx) * 180 / std::numbers::pi;
    };
    const double start = rayAngle(c.x3, c.y3);
    double end = rayAngle(c.x4, c.y4);
    if (end <= start) end += 360;
    const std::string name =
        (c.pie ? "pie " : "arc ") + std::to_string(c.x2 - c.x1) + "x" + std::to_string(c.y2 - c.y1);
    for (double a : {start, end, (start + end) / 2}) {
      const QPointF b = boundary(a);
      EXPECT_TRUE(InkNear(img, b.x(), b.y())) << name << " on the ellipse at " << a;
      if (c.pie && a != (start + end) / 2) {
        for (double s : {0.3, 0.6, 0.9})
          EXPECT_TRUE(InkNear(img, cx + s * (b.x() - cx), cy + s * (b.y() - cy)))
              << name << " along the edge at " << a << ", " << s;
      }
    }
    for (double a : {start - 10, end + 10}) {  // just outside the span
      const QPointF b = boundary(a);
      EXPECT_FALSE(InkNear(img, b.x(), b.y())) << name << " beyond the span at " << a;
    }
  }
}

// ---------------------------------------------------------------- end pixels and raster modes

TEST(QtSurface, PolylinesLeaveOutTheirLastPixelOnly) {
  struct Case {
    std::vector<TPoint> points;
    std::vector<TPoint> inked, blank;  // worked out along the segments by hand
  };
  const Case cases[] = {
      {{{2, 2}, {10, 2}}, {{2, 2}, {9, 2}}, {{10, 2}}},
      {{{2, 2}, {10, 2}, {10, 8}}, {{2, 2}, {10, 2}, {10, 7}}, {{10, 8}}},
      {{{12, 12}, {4, 12}, {4, 4}, {12, 4}}, {{12, 12}, {4, 12}, {4, 4}, {11, 4}}, {{12, 4}}},
      {{{3, 15}, {8, 10}}, {{3, 15}, {7, 11}}, {{8, 10}}},  // diagonal
      {{{5, 5}, {5, 6}}, {{5, 5}}, {{5, 6}}},               // one pixel long
      {{{12, 2}, {4, 2}}, {{12, 2}, {5, 2}}, {{4, 2}}},     // leftwards
      {{{3, 15}, {3, 5}}, {{3, 15}, {3, 6}}, {{3, 5}}},     // upwards
      {{{15, 15}, {8, 8}}, {{15, 15}, {9, 9}}, {{8, 8}}},   // up and left
  };
  for (const Case& c : cases) {
    QImage img(20, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
      TQtSurface s(&img);
      s.pen = {clBlack, 1, psSolid, pmCopy, false};
      s.Polyline(c.points.data(), static_cast<int>(c.points.size()));
    }
    const std::string name = std::to_string(c.points.size()) + " points from " +
                             std::to_string(c.points[0].x) + "," + std::to_string(c.points[0].y);
    for (const TPoint& p : c.inked)
      EXPECT_EQ(img.pixel(p.x, p.y), qRgb(0, 0, 0)) << name << " at " << p.x << "," << p.y;
    for (const TPoint& p : c.blank)
      EXPECT_EQ(img.pixel(p.x, p.y), qRgb(255, 255, 255)) << name << " at " << p.x << "," << p.y;
  }
}

TEST(QtSurface, OnlyOutlinesTakeThePensRasterMode) {
  // Over noise, with a black pen in a raster mode: the inside of a figure and a
  // plain fill come out in the brush colour, and the outline, drawn over the
  // inside's edge, combines the pen with that colour: black xor c is c,
  // not(black xor c) is not c, and a no-op pen leaves c.
  struct Case {
    const char* figure;
    TPenMode mode;
  };
  const QRgb fill = qRgb(10, 120, 230), inverse = qRgb(245, 135, 25);
  for (const Case& c : {Case{"FillRect", pmNotXor},
                        {"FillRect", pmXor},
                        {"Rectangle", pmNotXor},
                        {"Polygon", pmNotXor},
                        {"Ellipse", pmXor},
                        {"RoundRect", pmNotXor},
                        {"Pie", pmNotXor},
                        {"Polygon", pmNop}}) {
    QImage img = Noise(40, 40);
    {
      TQtSurface s(&img);
      s.pen = {clBlack, 1, psSolid, c.mode, false};
      s.brush = {RGB(10, 120, 230), bsSolid};
      const std::string f = c.figure;
      const TPoint square[4] = {{5, 5}, {35, 5}, {35, 35}, {5, 35}};
      if (f == "FillRect") s.FillRect({5, 5, 35, 35});
      if (f == "Rectangle") s.Rectangle(5, 5, 36, 36);
      if (f == "Polygon") s.Polygon(square, 4);
      if (f == "Ellipse") s.Ellipse(5, 5, 36, 36);
      if (f == "RoundRect") s.RoundRect(5, 5, 36, 36, 6, 6);
      if (f == "Pie") s.Pie(5, 5, 36, 36, 36, 20, 36, 21);  // edges along y = 20, east
    }
    for (int y = 10; y < 17; ++y)  // above a pie's edges
      for (int x = 12; x < 28; ++x)
        ASSERT_EQ(img.pixel(x, y), fill) << c.figure << " " << c.mode << " at " << x << "," << y;
    if (std::string(c.figure) == "FillRect") continue;
    const QRgb want = c.mode == pmNotXor ? inverse : fill;
    EXPECT_EQ(img.pixel(20, 5), want) << c.figure << " " << c.mode;  // the top edge
  }
}

// ---------------------------------------------------------------- clipping, rounded corners, pens

TEST(QtSurface, ClipRegionsIntersectReplaceAndGo) {
  // After the clip steps, a fill of the whole picture shows where the clip lets paint through.
  struct Case {
    const char* name;
    std::vector<TRect> rects;     // intersected in turn
    std::vector<TPoint> polygon;  // then, when given, replaces the clip
    bool removeAtEnd;
    std::vector<TPoint> in, out;  // worked out by hand
  };
  const std::vector<Case> cases{
      {"one rectangle",
       {{10, 10, 30, 30}},
       {},
       false,
       {{10, 10}, {29, 29}},
       {{9, 10}, {30, 30}, {29, 30}}},
      {"two intersect",
       {{10, 10, 30, 30}, {20, 0, 40, 25}},
       {},
       false,
       {{20, 10}, {29, 24}},
       {{19, 15}, {30, 15}, {25, 25}, {25, 9}}},
      {"disjoint: nothing", {{0, 0, 10, 10}, {20, 20, 30, 30}}, {}, false, {}, {{5, 5}, {25, 25}}},
      {"polygon replaces",
       {{0, 0, 5, 5}},
       {{10, 10}, {38, 10}, {10, 38}},
       false,
       {{12, 12}, {30, 12}, {12, 30}},
       {{2, 2}, {32, 32}, {9, 20}}},
      {"removed", {{0, 0, 5, 5}}, {}, true, {{2, 2}, {39, 39}}, {}},
  };
  for (const Case& c : cases) {
    QImage img(40, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
      TQtSurface s(&img);
      for (const TRect& r : c.rects)
        s.IntersectClipRect(r);
      if (!c.polygon.empty())
        s.SelectClipPolygon(c.polygon.data(), static_cast<int>(c.polygon.size()));
      if (c.removeAtEnd) s.RemoveClip();
      s.brush = {clBlack, bsSolid};
      s.FillRect({0, 0, 40, 40});
    }
    for (const TPoint& p : c.in)
      EXPECT_EQ(img.pixel(p.x, p.y), qRgb(0, 0, 0)) << c.name << " " << p.x << "," << p.y;
    for (const TPoint& p : c.out)
      EXPECT_EQ(img.pixel(p.x, p.y), qRgb(255, 255, 255)) << c.name << " " << p.x << "," << p.y;
  }
}

TEST(QtSurface, RoundedRectanglesCutTheirCornersInsideTheBox) {
  // Box (10, 10)-(50, 40), right and bottom exclusive, corner ellipses w x h.
  struct Case {
    int w, h;
    std::vector<TPoint> inked, blank;
  };
  const Case cases[] = {
      {12,
       12,
       {{30, 10}, {10, 25}, {49, 25}, {30, 39}, {30, 25}},
       {{10, 10}, {49, 10}, {10, 39}, {49, 39}, {50, 25}, {30, 40}}},
      {30, 20, {{30, 10}, {10, 25}, {30, 25}}, {{11, 11}, {48, 11}, {11, 38}, {48, 38}}},
      {0, 0, {{10, 10}, {49, 39}, {30, 25}}, {{50, 40}}},  // square corners
  };
  for (const Case& c : cases) {
    QImage img(60, 50, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
      TQtSurface s(&img);
      s.pen = {clBlack, 1, psSolid, pmCopy, false};
      s.brush = {clBlack, bsSolid};
      s.RoundRect(10, 10, 50, 40, c.w, c.h);
    }
    for (const TPoint& p : c.inked)
      EXPECT_EQ(img.pixel(p.x, p.y), qRgb(0, 0, 0)) << c.w << " " << p.x << "," << p.y;
    for (const TPoint& p : c.blank)
      EXPECT_EQ(img.pixel(p.x, p.y), qRgb(255, 255, 255)) << c.w << " " << p.x << "," << p.y;
  }
}

TEST(QtSurface, ThickAndDashedPensOnRealPixels) {
  // A line from (4, 10) to (44, 10); which pixels of column x and row y it inks.
  struct Case {
    const char* name;
    int width;
    TPenStyle style;
    std::vector<TPoint> inked, blank;
  };
  const Case cases[] = {
      // width 5 covers the rows 8 to 12, and its square ends reach 2 past each end
      {"thick",
       5,
       psSolid,
       {{20, 8}, {20, 12}, {2, 10}, {45, 10}},
       {{20, 7}, {20, 13}, {1, 10}, {47, 10}}},
      // 6 on, 2 off from the start
      {"dash",
       1,
       psDash,
       {{4, 10}, {9, 10}, {12, 10}, {17, 10}},
       {{10, 10}, {11, 10}, {18, 10}, {19, 10}}},
      // 1 on, 2 off
      {"dot", 1, psDot, {{4, 10}, {7, 10}, {10, 10}}, {{5, 10}, {6, 10}, {8, 10}, {9, 10}}},
      // wide pens draw solid whatever their style
      {"thick dash", 3, psDash, {{10, 10}, {11, 10}, {18, 9}, {19, 11}}, {{20, 8}, {20, 12}}},
  };
  for (const Case& c : cases) {
    QImage img(50, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
      TQtSurface s(&img);
      s.pen = {clBlack, c.width, c.style, pmCopy, false};
      s.MoveTo(4, 10);
      s.LineTo(44, 10);
    }
    for (const TPoint& p : c.inked)
      EXPECT_EQ(img.pixel(p.x, p.y), qRgb(0, 0, 0)) << c.name << " " << p.x << "," << p.y;
    for (const TPoint& p : c.blank)
      EXPECT_EQ(img.pixel(p.x, p.y), qRgb(255, 255, 255)) << c.name << " " << p.x << "," << p.y;
  }
}

// A bitmap made for a target of a given density holds that many device pixels
// per logical one, and a 3-pixel line drawn in logical pixels lands as 3 x ratio
// solid device pixels after the block copy: scaled by the painter, never blurred.
TEST(QtSurface, BitmapForHighDensityTargetIsDrawnAtDevicePixels) {
  struct Row {
    double ratio;
    int deviceWidth, deviceHeight, lineRows, firstRow;
  };
  // hand-worked: a 3-pixel pen centred on y = 20 covers logical rows 19..21
  const Row rows[] = {{1.0, 60, 40, 3, 19}, {2.0, 120, 80, 6, 38}, {3.0, 180, 120, 9, 57}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.ratio);
    QImage target(r.deviceWidth, r.deviceHeight, QImage::Format_RGB32);
    target.setDevicePixelRatio(r.ratio);
    target.fill(Qt::black);
    {
      TQtSurface window(&target);
      EXPECT_DOUBLE_EQ(window.PixelRatio(), r.ratio);
      auto bitmap = window.CreateBitmap(60, 40, false);
      EXPECT_EQ(bitmap->Width(), 60);  // logical size, as the engine sees it
      EXPECT_DOUBLE_EQ(bitmap->PixelRatio(), r.ratio);
      EXPECT_EQ(static_cast<TImageBitmap&>(*bitmap).Pixels().width(), r.deviceWidth);
      TSurface& s = bitmap->Canvas();
      s.brush.color = clWhite;
      s.FillRect({0, 0, 60, 40});
      s.pen = {clRed, 3, psSolid, pmCopy, false};
      s.MoveTo(5, 20);
      s.LineTo(55, 20);
      window.CopyFrom(0, 0, *bitmap);
    }
    const int x = r.deviceWidth / 2;
    int red = 0, first = -1, other = 0;
    for (int y = 0; y < r.deviceHeight; ++y) {
      const QRgb c = target.pixel(x, y) & 0xFFFFFF;
      if (c == 0xFF0000) {
        ++red;
        if (first < 0) first = y;
      } else if (c != 0xFFFFFF) {
        ++other;  // a blend would show here
      }
    }
    EXPECT_EQ(red, r.lineRows);
    // scaled aliased lines may sit one device pixel above the logical rows' block
    EXPECT_GE(first, r.firstRow - 1);
    EXPECT_LE(first, r.firstRow);
    EXPECT_EQ(other, 0);
  }
}

// Rotated text drawn on a dense target is rendered at its device pixels: a
// label drawn at one pixel per pixel and scaled up by 2 would be made of
// uniform 2 x 2 blocks, a sharp one has edges inside the blocks.
TEST(QtSurface, RotatedTextOnHighDensityTargetKeepsDeviceDetail) {
  constexpr int kSize = 80;
  QImage target(2 * kSize, 2 * kSize, QImage::Format_RGB32);
  target.setDevicePixelRatio(2.0);
  target.fill(Qt::white);
  {
    TQtSurface s(&target);
    s.font.font.color = clBlack;
    s.font.escapement = 450;
    s.backMode = TRANSPARENT;
    s.TextOut(20, 60, "0,123");
  }
  int inked = 0, mixed = 0;
  for (int y = 0; y < 2 * kSize; y += 2)
    for (int x = 0; x < 2 * kSize; x += 2) {
      const QRgb a = target.pixel(x, y);
      const bool uniform =
          a == target.pixel(x + 1, y) && a == target.pixel(x, y + 1) && a == target.pixel(x + 1, y + 1);
      if (qGray(a) < 128) ++inked;
      if (!uniform) ++mixed;
    }
  ASSERT_GT(inked, 5);
  EXPECT_GT(mixed, inked / 2);
}

// ---------------------------------------------------------------- frames and reused storage

TEST(QtSurface, HoldsAFrameOnlyOnAPictureOfItsExactSizeAndKind) {
  struct Case {
    int w, h;
    QImage::Format format;
    double ratio;
    int frameW, frameH;
    bool holds;
  };
  const Case cases[] = {
      {100, 50, QImage::Format_RGB32, 1, 100, 50, true},
      {200, 100, QImage::Format_RGB32, 2, 100, 50, true},    // device pixels of a dense screen
      {101, 50, QImage::Format_RGB32, 1, 100, 50, false},    // the frame would not cover it
      {100, 50, QImage::Format_RGB32, 1, 100, 49, false},
      {100, 50, QImage::Format_RGB32, 2, 100, 50, false},    // a frame of half the size
      {100, 50, QImage::Format_ARGB32, 1, 100, 50, false},   // not what a buffer draws on
      {100, 50, QImage::Format_RGB16, 1, 100, 50, false},
  };
  for (const Case& c : cases) {
    QImage img(c.w, c.h, c.format);
    img.setDevicePixelRatio(c.ratio);
    TQtSurface s(&img);
    EXPECT_EQ(s.HoldsFrame(c.frameW, c.frameH), c.holds)
        << c.w << "x" << c.h << " ratio " << c.ratio << " frame " << c.frameW << "x" << c.frameH;
  }
}

TEST(QtSurface, FiguresAfterOneAnotherDrawAsOnAFreshSurface) {
  // polygons and polylines share their point storage between calls: a figure
  // with fewer points than the one before must not keep any of its points
  using Figure = std::vector<TPoint>;
  const std::vector<Figure> figures = {
      {{2, 2}, {30, 2}, {30, 30}, {16, 36}, {2, 30}},
      {{5, 5}, {12, 5}, {8, 12}},
      {{20, 20}, {36, 22}, {24, 36}, {18, 30}},
      {{1, 38}, {38, 1}},
  };
  auto draw = [](TQtSurface& s, const Figure& f, int kind) {
    s.pen = {clBlack, kind == 1 ? 3 : 1, psSolid, pmCopy, false};
    s.brush = {clBlue, bsSolid};
    if (kind == 0) s.Polygon(f.data(), static_cast<int>(f.size()));
    if (kind == 1) s.Polyline(f.data(), static_cast<int>(f.size()));
  };
  for (int kind : {0, 1}) {
    QImage together(40, 40, QImage::Format_RGB32), apart(40, 40, QImage::Format_RGB32);
    together.fill(Qt::white);
    apart.fill(Qt::white);
    {
      TQtSurface s(&together);
      for (const Figure& f : figures)
        draw(s, f, kind);
    }
    for (const Figure& f : figures) {
      TQtSurface s(&apart);
      draw(s, f, kind);
    }
    EXPECT_TRUE(together == apart) << "figure kind " << kind;
  }
}

// Many ellipses of one size and colours, as a point series draws them, come
// out exactly as QPainter draws each one aliased in the box that leaves out
// the right and bottom edges: wherever they sit, half outside the picture or
// cut by a clip, over each other, and whatever the pen and brush.
TEST(QtSurface, AlikeEllipsesLookAsEachDrawnAlone) {
  struct Case {
    const char* name;
    int w, h;  // the box
    int pen;   // 0: no outline
    bool fill;
  };
  const Case cases[] = {
      {"marker, thin outline", 8, 8, 1, true},
      {"one pixel", 1, 1, 1, true},
      {"tall, no fill", 7, 20, 1, false},
      {"wide, pen 2", 23, 9, 2, true},
      {"pen 3", 12, 12, 3, true},
      {"fill alone", 10, 6, 0, true},
      {"the largest copied", 64, 64, 1, true},
      {"too large to copy", 65, 40, 1, true},
  };
  auto qtPen = [](const Case& c) {
    if (c.pen == 0) return QPen(Qt::NoPen);
    QPen p(QColor(0, 0, 255));
    p.setWidth(c.pen <= 1 ? 0 : c.pen);
    p.setCapStyle(c.pen <= 1 ? Qt::FlatCap : Qt::SquareCap);
    p.setJoinStyle(Qt::MiterJoin);
    return p;
  };
  for (const Case& c : cases) {
    for (bool clipped : {false, true}) {
      QImage drawn = Noise(160, 120), expected = Noise(160, 120);
      std::vector<QPoint> at;
      for (int i = 0; i < 300; ++i)  // a spread that reaches over every edge
        at.push_back({(i * 37) % 190 - 20, (i * 53) % 150 - 20});
      {
        TQtSurface s(&drawn);
        s.pen = {0xFF0000, c.pen, c.pen ? psSolid : psClear, pmCopy, false};  // blue: 0x00BBGGRR
        s.brush = {0x0000FF, c.fill ? bsSolid : bsClear};
        if (clipped) s.IntersectClipRect({15, 10, 130, 100});
        for (QPoint p : at)
          s.Ellipse(p.x(), p.y(), p.x() + c.w, p.y() + c.h);
      }
      {
        QPainter q(&expected);
        q.setRenderHint(QPainter::Antialiasing, false);
        if (clipped) q.setClipRect(QRect(15, 10, 115, 90));
        q.setBrush(c.fill ? QBrush(QColor(255, 0, 0)) : QBrush(Qt::NoBrush));
        q.setPen(qtPen(c));
        for (QPoint p : at)
          q.drawEllipse(QRect(p.x(), p.y(), c.w - 1, c.h - 1));
      }
      int differ = 0;
      for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
          differ += drawn.pixel(x, y) != expected.pixel(x, y);
      EXPECT_EQ(differ, 0) << c.name << (clipped ? ", clipped" : "");
    }
  }
}

// Rectangle outlines come out as QPainter strokes them, one pixel wide, on the
// box that leaves out the right and bottom edges: whatever the box's size
// (down to a single row or column), inside a clip or reaching over the
// picture's edges, with or without a fill, and in a pen that mixes.
TEST(QtSurface, RectangleOutlinesLookAsQPainterStrokesThem) {
  struct Case {
    const char* name;
    int w, h;
    int pen;
    bool fill;
    TPenMode mode = pmCopy;
    TBrushStyle fillStyle = bsSolid;
  };
  const Case cases[] = {
      {"mark box", 40, 15, 1, true},
      {"outline only", 9, 30, 1, false},
      {"two by two", 2, 2, 1, true},
      {"one row", 20, 1, 1, false},
      {"one column", 1, 12, 1, false},
      {"pen 2", 25, 14, 2, true},
      {"pen 3, no fill", 18, 18, 3, false},
      {"xor outline", 30, 20, 1, false, pmXor},
      {"hatched inside", 33, 21, 1, true, pmCopy, bsDiagCross},
  };
  for (const Case& c : cases) {
    for (bool clipped : {false, true}) {
      QImage drawn = Noise(160, 120), expected = Noise(160, 120);
      std::vector<QPoint> at;
      for (int i = 0; i < 60; ++i)
        at.push_back({(i * 41) % 190 - 30, (i * 29) % 150 - 20});
      {
        TQtSurface s(&drawn);
        s.pen = {0xFF0000, c.pen, psSolid, c.mode, false};
        s.brush = {0x00FF00, c.fill ? c.fillStyle : bsClear};
        if (clipped) s.IntersectClipRect({15, 10, 130, 100});
        for (QPoint p : at)
          s.Rectangle(p.x(), p.y(), p.x() + c.w, p.y() + c.h);
      }
      {
        QPainter q(&expected);
        q.setRenderHint(QPainter::Antialiasing, false);
        if (clipped) q.setClipRect(QRect(15, 10, 115, 90));
        QPen pen(QColor(0, 0, 255));
        pen.setWidth(c.pen <= 1 ? 0 : c.pen);
        pen.setCapStyle(c.pen <= 1 ? Qt::FlatCap : Qt::SquareCap);
        pen.setJoinStyle(Qt::MiterJoin);
        for (QPoint p : at) {
          if (c.fill && c.fillStyle != bsSolid)  // an opaque background under the hatching
            q.fillRect(QRect(p.x(), p.y(), c.w, c.h), QColor(255, 255, 255));
          if (c.fill)
            q.fillRect(QRect(p.x(), p.y(), c.w, c.h),
                       QBrush(QColor(0, 255, 0),
                              c.fillStyle == bsSolid ? Qt::SolidPattern : Qt::DiagCrossPattern));
          q.setCompositionMode(c.mode == pmXor ? QPainter::RasterOp_SourceXorDestination
                                               : QPainter::CompositionMode_SourceOver);
          q.setPen(pen);
          q.setBrush(Qt::NoBrush);
          q.drawRect(QRect(p.x(), p.y(), c.w, c.h).adjusted(0, 0, -1, -1).normalized());
          q.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
      }
      int differ = 0;
      for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
          differ += drawn.pixel(x, y) != expected.pixel(x, y);
      EXPECT_EQ(differ, 0) << c.name << (clipped ? ", clipped" : "");
    }
  }
}

// Level text, shaped once and kept, lands on exactly the pixels QPainter's
// own drawText gives it at the baseline the surface works out, in every face,
// size and style, drawn many times over a picture.
TEST(QtSurface, KeptTextLooksAsDrawnAfresh) {
  struct Case {
    const char* face;
    int pixels;
    TFontStyle style;
  };
  const Case cases[] = {
      {"Arial", 11, {}},
      {"Arial", 13, {true, false, false, false}},
      {"Times New Roman", 17, {false, true, false, false}},
      {"Courier New", 8, {}},
      {"MS Sans Serif", 24, {true, true, false, false}},
      {"Arial", 12, {false, false, true, false}},  // underlined: drawn afresh
  };
  const std::vector<std::string> texts = {"-12.345", "1,000",     "W",
                                          "Series1", "0.5 of 12", "Wavelot: \xc3\x84rger"};
  for (const Case& c : cases) {
    const TFont font{c.face, -c.pixels, clBlack, c.style};
    QImage drawn(300, 200, QImage::Format_RGB32), expected(300, 200, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    expected.fill(Qt::white);
    {
      TQtSurface s(&drawn);
      s.font.font = font;
      s.brush.style = bsClear;
      for (int round = 0; round < 3; ++round)  // the first round shapes, the later ones reuse
        for (std::size_t i = 0; i < texts.size(); ++i)
          s.TextOut(static_cast<int>(7 + 41 * i + round * 3) % 250,
                    static_cast<int>(5 + 29 * i + 61 * round) % 180, texts[i]);
    }
    {
      QPainter q(&expected);
      const QFont f = ToQFont(font);
      q.setFont(f);
      q.setPen(Qt::black);
      const QFontMetrics m(f);
      for (int round = 0; round < 3; ++round)
        for (std::size_t i = 0; i < texts.size(); ++i)  // left, top: the baseline an ascent below
          q.drawText(static_cast<int>(7 + 41 * i + round * 3) % 250,
                     static_cast<int>(5 + 29 * i + 61 * round) % 180 + m.ascent(),
                     QString::fromStdString(texts[i]));
    }
    int differ = 0;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 300; ++x)
        differ += drawn.pixel(x, y) != expected.pixel(x, y);
    EXPECT_EQ(differ, 0) << c.face << " " << c.pixels;
    int inked = 0;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 300; ++x)
        inked += drawn.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(inked, 200) << c.face << " " << c.pixels;
  }
}

// Level and upright thin lines cover the pixels from their start up to their
// end, the end left out, in either direction, and nothing else: checked pixel
// by pixel against runs worked out here, inside the picture, reaching over
// its edges, cut by a clip, and after a line in a mixing raster mode.
TEST(QtSurface, StraightThinLinesCoverTheirRunWithoutTheEnd) {
  struct Case {
    const char* name;
    int x0, y0, x1, y1;
    bool clipped = false;
    bool afterXor = false;
  };
  const Case cases[] = {
      {"down", 10, 5, 10, 40},
      {"up", 20, 40, 20, 5},
      {"right", 5, 30, 70, 30},
      {"left", 70, 50, 5, 50},
      {"one pixel down", 30, 9, 30, 10},
      {"one pixel left", 31, 9, 30, 9},
      {"over the top edge", 40, 20, 40, -10},
      {"over the right edge", 60, 12, 95, 12},
      {"cut by a clip", 50, 2, 50, 58, true},
      {"after an xor line", 15, 55, 75, 55, false, true},
  };
  constexpr int kW = 80, kH = 60;
  for (const Case& c : cases) {
    QImage drawn(kW, kH, QImage::Format_RGB32), expected(kW, kH, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    expected.fill(Qt::white);
    auto xorLine = [](QImage* image) {
      TQtSurface s(image);
      s.pen = {clBlack, 1, psSolid, pmXor, false};
      s.MoveTo(2, 3);
      s.LineTo(77, 58);
    };
    if (c.afterXor) xorLine(&expected);
    {
      TQtSurface s(&drawn);
      if (c.afterXor) {
        s.pen = {clBlack, 1, psSolid, pmXor, false};
        s.MoveTo(2, 3);
        s.LineTo(77, 58);
      }
      s.pen = {0x0000FF, 1, psSolid, pmCopy, false};  // red
      if (c.clipped) s.IntersectClipRect({0, 10, kW, 50});
      s.MoveTo(c.x0, c.y0);
      s.LineTo(c.x1, c.y1);
    }
    // the run: every pixel from the start towards the end, the end left out
    const int dx = (c.x1 > c.x0) - (c.x1 < c.x0), dy = (c.y1 > c.y0) - (c.y1 < c.y0);
    for (int x = c.x0, y = c.y0; x != c.x1 || y != c.y1; x += dx, y += dy)
      if (x >= 0 && x < kW && y >= 0 && y < kH && (!c.clipped || (y >= 10 && y < 50)))
        expected.setPixel(x, y, qRgb(255, 0, 0));
    int differ = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        differ += drawn.pixel(x, y) != expected.pixel(x, y);
    EXPECT_EQ(differ, 0) << c.name;
  }
}

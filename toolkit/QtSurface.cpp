#include "toolkit/QtSurface.h"
#include "toolkit/RgbPicture.h"

#include <QFontMetrics>
#include <QImage>
#include <QLine>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QRegion>
#include <QStaticText>
#include <QTransform>
#include <cmath>
#include <numbers>
#include <optional>
#include <unordered_map>
#include <vector>

#include "toolkit/QtBridge.h"
#include "toolkit/Rounding.h"

namespace tk {

namespace {

QPainter::CompositionMode CompositionFor(TPenMode mode) {
  switch (mode) {
    case pmBlack:
      return QPainter::RasterOp_ClearDestination;
    case pmWhite:
      return QPainter::RasterOp_SetDestination;
    case pmNot:
      return QPainter::RasterOp_NotDestination;
    case pmNotCopy:
      return QPainter::RasterOp_NotSource;
    case pmMergePenNot:
      return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot:
      return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen:
      return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen:
      return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge:
      return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge:
      return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask:
      return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask:
      return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor:
      return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor:
      return QPainter::RasterOp_NotSourceXorDestination;
    case pmCopy:
    case pmNop:
      break;
  }
  return QPainter::CompositionMode_SourceOver;
}

Qt::BrushStyle QtBrushStyle(TBrushStyle s) {
  switch (s) {
    case bsSolid:
      return Qt::SolidPattern;
    case bsClear:
      return Qt::NoBrush;
    case bsHorizontal:
      return Qt::HorPattern;
    case bsVertical:
      return Qt::VerPattern;
    case bsFDiagonal:
      return Qt::FDiagPattern;
    case bsBDiagonal:
      return Qt::BDiagPattern;
    case bsCross:
      return Qt::CrossPattern;
    case bsDiagCross:
      return Qt::DiagCrossPattern;
  }
  return Qt::SolidPattern;
}

QPen QtPen(const TPenSpec& settings) {
  if (settings.style == psClear) return QPen(Qt::NoPen);
  QPen p(ToQColor(settings.color));
  const bool thin = settings.width <= 1;
  p.setWidth(thin ? 0 : settings.width);  // 0: one cosmetic pixel
  // thin lines leave out their last pixel; thick ones end round, as the platform pens do
  p.setCapStyle(thin ? Qt::FlatCap : Qt::SquareCap);
  p.setJoinStyle(Qt::MiterJoin);
  if (settings.alternatePixels && thin) {
    p.setDashPattern({1.0, 1.0});
  } else if (thin) {
    switch (settings.style) {
      case psDash:
        p.setDashPattern({6.0, 2.0});
        break;
      case psDot:
        p.setDashPattern({1.0, 2.0});
        break;
      case psDashDot:
        p.setDashPattern({6.0, 2.0, 1.0, 2.0});
        break;
      case psDashDotDot:
        p.setDashPattern({6.0, 2.0, 1.0, 2.0, 1.0, 2.0});
        break;
      default:
        break;
    }
  }
  return p;  // wide pens draw solid whatever their style
}

QRect BoxOf(int x1, int y1, int x2, int y2) {
  return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
               QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
}

// Where the ray from the box centre through (x, y) meets the ellipse, as
// QPainter counts arc angles: in degrees counter-clockwise from east, on the
// ellipse's parameter (the circle the box squashes), so a ray is scaled by the
// radii first. On a circle the two are the same.
double RayAngle(const QRectF& box, int x, int y) {
  const QPointF c = box.center();
  const double rx = std::max(box.width() / 2, 1e-9), ry = std::max(box.height() / 2, 1e-9);
  return std::atan2(-(y - c.y()) / ry, (x - c.x()) / rx) * 180.0 / std::numbers::pi;
}

}  // namespace

struct TQtSurface::Impl {
  QPainter painter;
  TFontSpec fontFor;
  QFont qfont;
  bool fontReady = false;
  // what the painter was last set to, so a run of lines sets it up once
  bool toolsKnown = false;
  bool penOn = false;
  TPenSpec penFor;
  TBrushSpec brushFor;
  bool brushOn = false;
  int backModeFor = 0;
  TColor backColorFor = 0;
  // the last brush pattern turned into a Qt picture; holding the handle keeps
  // the pattern alive, so the same handle means the same pixels
  TBrushBitmapRef textureFor;
  QImage texture;
  std::vector<QLine> lines;  // a thin polyline's segments, kept between calls
  QPolygon polygon;          // the points of a polygon, polyline or clip, kept between calls

  // The points as a Qt polygon, in storage kept from the last call.
  const QPolygon& PolygonOf(const TPoint* points, int count) {
    polygon.resize(count);
    QPoint* q = polygon.data();
    for (int i = 0; i < count; ++i)
      q[i] = QPoint(points[i].x, points[i].y);
    return polygon;
  }

  explicit Impl(QPaintDevice* device) : painter(device), open(DeviceRect()) {
    painter.setRenderHint(QPainter::Antialiasing, false);
  }
  QRect DeviceRect() const {
    const QPaintDevice* d = painter.device();
    return d ? QRect(0, 0, d->width(), d->height()) : QRect();
  }
  // Where nothing is clipped: the device, or the clip when it is a rectangle.
  // QPainter's strokes that the clip or the device's edge cuts can lose a pixel
  // by the cut, so figures drawn another way keep to this rectangle.
  QRect open;

  QBrush BrushOf(const TBrushSpec& b) {
    if (!b.HasBitmap()) return QBrush(ToQColor(b.color), QtBrushStyle(b.style));
    if (textureFor != b.bitmap) {
      const TBrushBitmap& bm = *b.bitmap;
      texture = QImage(bm.Width(), bm.Height(), QImage::Format_RGB32);
      for (int y = 0; y < bm.Height(); ++y)
        for (int x = 0; x < bm.Width(); ++x)
          texture.setPixel(x, y, ToQColor(bm.PixelAt(x, y)).rgb());
      textureFor = b.bitmap;
    }
    return QBrush(texture);  // tiled from the device origin, as the painter has no transform
  }

  const QFont& Font(const TFontSpec& wanted) {
    if (!fontReady || !(wanted == fontFor)) {
      qfont = ToQFont(wanted.font);
      fontFor = wanted;
      fontReady = true;
      metrics.emplace(qfont);
    }
    return qfont;
  }
  // Metrics of the font last asked for: making them asks Qt for the screen
  // and the font engine each time, which a legend of many rows felt.
  const QFontMetrics& Metrics(const TFontSpec& wanted) {
    Font(wanted);
    return *metrics;
  }
  std::optional<QFontMetrics> metrics;
  // the font the painter itself was last given (colour included, as compared)
  TFontSpec painterFontFor;
  bool painterFontReady = false;

  // The width of a text in a font. Marks and legends measure the same few
  // texts every paint, and shaping a text is the costly part of measuring it.
  int Width(const TFontSpec& wanted, const std::string& text);
  const QStaticText* LaidOut(const TFontSpec& wanted, const std::string& text);
};

namespace {

struct WidthKey {
  std::string text;
  TFontSpec font;
  bool operator==(const WidthKey&) const = default;
};

struct WidthKeyHash {
  size_t operator()(const WidthKey& k) const {
    size_t h = std::hash<std::string>()(k.text);
    h ^= std::hash<std::string>()(k.font.font.name) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    h ^= static_cast<size_t>(k.font.font.height) * 0x100000001b3ULL + (h << 6) + (h >> 2);
    return h;
  }
};

}  // namespace

// The text shaped once and kept: a thousand marks would otherwise have Qt
// shape their texts again every paint, which costs most of drawing them. The
// glyphs land on the pixels drawText gives them; underlined and struck-out
// texts, whose lines a laid-out text may place differently, are left to drawText.
const QStaticText* TQtSurface::Impl::LaidOut(const TFontSpec& wanted, const std::string& text) {
  if (wanted.font.style.underline || wanted.font.style.strikeOut) return nullptr;
  static std::unordered_map<WidthKey, QStaticText, WidthKeyHash> texts;  // the UI thread only
  WidthKey key{text, wanted};
  key.font.font.color = 0;  // drawn in the pen's colour
  if (auto it = texts.find(key); it != texts.end()) return &it->second;
  if (texts.size() > 8192) texts.clear();
  QStaticText laidOut(ToQString(text));
  laidOut.setTextFormat(Qt::PlainText);
  laidOut.setPerformanceHint(QStaticText::AggressiveCaching);
  laidOut.prepare(QTransform(), Font(wanted));
  return &texts.emplace(std::move(key), std::move(laidOut)).first->second;
}

int TQtSurface::Impl::Width(const TFontSpec& wanted, const std::string& text) {
  static std::unordered_map<WidthKey, int, WidthKeyHash> widths;  // the user-interface thread only
  WidthKey key{text, wanted};
  key.font.font.color = 0;  // the colour does not change the width
  if (auto it = widths.find(key); it != widths.end()) return it->second;
  if (widths.size() > 16384) widths.clear();  // texts come and go with the data; start afresh
  const int w = Metrics(wanted).horizontalAdvance(ToQString(text));
  widths.emplace(std::move(key), w);
  return w;
}

TQtSurface::TQtSurface(QPaintDevice* device) : impl_(std::make_unique<Impl>(device)) {}

TQtSurface::~TQtSurface() = default;

// Sets pen, brush and mode on the painter for one figure or one part of it
// (the outline, the inside, or both when they take the same mode); unchanged
// tools are left as they are, which keeps a long run of segments cheap.
void TQtSurface::Prepare(bool withPen, bool withBrush) {
  Impl& i = *impl_;
  QPainter& p = i.painter;
  const bool brushOn = withBrush && brush.Fills();
  if (i.toolsKnown && i.penOn == withPen && (!withPen || i.penFor == pen) && i.brushOn == brushOn &&
      (!brushOn || i.brushFor == brush) && i.backModeFor == backMode && i.backColorFor == backColor)
    return;
  p.setPen(withPen ? QtPen(pen) : QPen(Qt::NoPen));
  if (brushOn)
    p.setBrush(i.BrushOf(brush));
  else
    p.setBrush(Qt::NoBrush);
  p.setBackgroundMode(backMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
  p.setBackground(ToQColor(backColor));
  // the pen's raster mode is for lines and outlines; insides are painted over
  p.setCompositionMode(withPen ? CompositionFor(pen.mode) : QPainter::CompositionMode_SourceOver);
  i.toolsKnown = true;
  i.penOn = withPen;
  i.penFor = pen;
  i.brushFor = brush;
  i.brushOn = brushOn;
  i.backModeFor = backMode;
  i.backColorFor = backColor;
}

// Operations that set the painter directly make the remembered tools unknown.
void TQtSurface::Forget() {
  impl_->toolsKnown = false;
}

bool TQtSurface::Outlines() const {
  return pen.style != psClear && pen.mode != pmNop;
}

// A filled figure: one draw when outline and inside take the same mode, else
// the inside plainly and then the outline in the pen's mode.
template <typename Draw>
void TQtSurface::Figure(Draw draw) {
  const bool outline = Outlines(), fill = brush.Fills();
  if (outline && fill && CompositionFor(pen.mode) == QPainter::CompositionMode_SourceOver) {
    Prepare(true, true);
    draw();
    return;
  }
  if (fill) {
    Prepare(false, true);
    draw();
  }
  if (outline) {
    Prepare(true, false);
    draw();
  }
}

namespace {

// A thin line with its end pixel left out. QPainter's one-pixel lines leave
// out whichever end lies further right (or further down, for lines steeper
// than 45 degrees) whichever way they run; a line running the other way is
// moved one step back along itself, which keeps its start and drops its end.
QLine ThinSegment(int x0, int y0, int x1, int y1) {
  const int dx = x1 - x0, dy = y1 - y0;
  const bool alongX = std::abs(dx) >= std::abs(dy);
  if (alongX ? dx >= 0 : dy >= 0) return QLine(x0, y0, x1, y1);
  if (alongX) {
    const int s = RoundToInt(static_cast<double>(dy) / dx);
    return QLine(x0 + 1, y0 + s, x1 + 1, y1 + s);
  }
  const int s = RoundToInt(static_cast<double>(dx) / dy);
  return QLine(x0 + s, y0 + 1, x1 + s, y1 + 1);
}

}  // namespace

void TQtSurface::LineTo(int x, int y) {
  if (pen.mode != pmNop && pen.style != psClear) {
    Prepare(true, false);
    if (pen.width <= 1)
      impl_->painter.drawLine(ThinSegment(current_.x, current_.y, x, y));
    else
      impl_->painter.drawLine(current_.x, current_.y, x, y);
  }
  current_ = {x, y};
}

void TQtSurface::Polyline(const TPoint* points, int count) {
  if (count < 2 || !Outlines()) return;
  Prepare(true, false);
  if (pen.width <= 1) {
    // segments each without their end pixel: the joints are drawn once, and so is nothing past
    // the last point
    std::vector<QLine>& lines = impl_->lines;
    lines.clear();
    for (int i = 0; i + 1 < count; ++i)
      lines.push_back(ThinSegment(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y));
    impl_->painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    return;
  }
  impl_->painter.drawPolyline(impl_->PolygonOf(points, count));
}

void TQtSurface::Polygon(const TPoint* points, int count) {
  if (count < 2) return;
  const QPolygon& poly = impl_->PolygonOf(points, count);
  Figure([&] { impl_->painter.drawPolygon(poly, Qt::OddEvenFill); });
}

void TQtSurface::Rectangle(int x1, int y1, int x2, int y2) {
  if (x1 == x2 || y1 == y2) return;
  QPainter& p = impl_->painter;
  const QRect box = BoxOf(x1, y1, x2, y2);
  const bool thinOutline = Outlines() && pen.width <= 1 && pen.style == psSolid &&
                           !pen.alternatePixels &&
                           CompositionFor(pen.mode) == QPainter::CompositionMode_SourceOver &&
                           box.width() >= 2 && box.height() >= 2 && impl_->open.contains(box);
  if (thinOutline) {
    // a thin plain outline is the box's edge pixels: filling them costs less
    // than the general stroke QPainter takes for a rectangle (a thousand marks'
    // boxes); a filled box is the outline's colour with the inside filled over it
    Forget();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QColor c = ToQColor(pen.color);
    const int l = box.left(), t = box.top(), w = box.width(), h = box.height();
    if (brush.Fills()) {
      p.fillRect(box, c);
      FillRect({l + 1, t + 1, l + w - 1, t + h - 1});
      return;
    }
    p.fillRect(QRect(l, t, w, 1), c);
    p.fillRect(QRect(l, t + h - 1, w, 1), c);
    p.fillRect(QRect(l, t + 1, 1, h - 2), c);
    p.fillRect(QRect(l + w - 1, t + 1, 1, h - 2), c);
    return;
  }
  if (brush.Fills()) FillRect({box.left(), box.top(), box.right() + 1, box.bottom() + 1});
  if (!Outlines()) return;
  Prepare(true, false);
  p.drawRect(box.adjusted(0, 0, -1, -1).normalized());
}

void TQtSurface::RoundRect(int x1, int y1, int x2, int y2, int w, int h) {
  const QRect box = BoxOf(x1, y1, x2, y2).adjusted(0, 0, -1, -1);
  Figure([&] { impl_->painter.drawRoundedRect(box, w / 2.0, h / 2.0); });
}

void TQtSurface::Ellipse(int x1, int y1, int x2, int y2) {
  const QRect box = BoxOf(x1, y1, x2, y2).adjusted(0, 0, -1, -1);
  if (const QImage* stamp = EllipseStamp(box.width(), box.height())) {
    // a hundred thousand alike markers: each one a copy of the first, not a new ellipse
    QPainter& p = impl_->painter;
    Forget();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(box.topLeft() + stamp->offset(), *stamp);
    return;
  }
  Figure([&] { impl_->painter.drawEllipse(box); });
}

namespace {

struct StampKey {
  int width, height;
  bool outline, fill;
  TPenSpec pen;
  TColor fillColor;
  TBrushStyle fillStyle;
  bool operator==(const StampKey&) const = default;
};

}  // namespace

// An ellipse of this size in the current pen and brush, drawn once into a
// picture with a clear surround, when copying that picture gives exactly the
// pixels drawing it would: drawn aliased at whole pixels, an ellipse looks
// the same wherever it is moved, and every pixel of it is opaque or untouched.
// Not for raster modes that mix with what lies below, nor for patterned
// brushes (their pattern is fixed to the device), nor for a scaled painter.
const QImage* TQtSurface::EllipseStamp(int width, int height) {
  constexpr int kLargest = 64;
  const bool outline = Outlines(), fill = brush.Fills();
  if (width < 1 || height < 1 || width > kLargest || height > kLargest) return nullptr;
  if (outline && (CompositionFor(pen.mode) != QPainter::CompositionMode_SourceOver ||
                  pen.style != psSolid || pen.alternatePixels || pen.width > 8))
    return nullptr;
  if (fill && (brush.HasBitmap() || brush.style != bsSolid)) return nullptr;
  if (!impl_->painter.transform().isIdentity() || PixelRatio() != 1.0) return nullptr;
  static std::vector<std::pair<StampKey, QImage>> stamps;  // the user-interface thread only
  StampKey key{width, height, outline, fill, TPenSpec{}, 0, bsClear};
  if (outline) key.pen = pen;
  if (fill) {
    key.fillColor = brush.color;
    key.fillStyle = brush.style;
  }
  for (auto& [k, image] : stamps)
    if (k == key) return &image;
  if (stamps.size() >= 64) stamps.clear();
  const int pad = outline ? pen.width + 1 : 0;
  QImage image(width + 1 + 2 * pad, height + 1 + 2 * pad, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter q(&image);
    q.setRenderHint(QPainter::Antialiasing, false);
    q.setPen(outline ? QtPen(pen) : QPen(Qt::NoPen));
    q.setBrush(fill ? QBrush(ToQColor(brush.color), Qt::SolidPattern) : QBrush(Qt::NoBrush));
    q.drawEllipse(QRect(pad, pad, width, height));
  }
  image.setOffset(QPoint(-pad, -pad));
  stamps.emplace_back(key, std::move(image));
  return &stamps.back().second;
}

namespace {

void ArcOrPie(QPainter& p, bool pie, int x1, int y1, int x2, int y2, int x3, int y3, int x4,
              int y4) {
  const QRect box = BoxOf(x1, y1, x2, y2).adjusted(0, 0, -1, -1);
  const double start = RayAngle(box, x3, y3);
  double span = RayAngle(box, x4, y4) - start;
  while (span <= 0)
    span += 360;  // equal rays: the whole ellipse
  const int a = static_cast<int>(std::lround(start * 16)),
            s = static_cast<int>(std::lround(span * 16));
  if (pie)
    p.drawPie(box, a, s);
  else
    p.drawArc(box, a, s);
}

// Offset from a text's reference point to the left end of its baseline,
// before any rotation, for the surface's text alignment.
struct Shift {
  int dx, dy;
};

Shift BaselineOffset(unsigned align, int width, const QFontMetrics& m) {
  int dx = 0, dy = m.ascent();
  if ((align & TA_HORIZONTAL_MASK) == TA_CENTER) dx = -width / 2;
  if ((align & TA_HORIZONTAL_MASK) == TA_RIGHT) dx = -width;
  if ((align & TA_VERTICAL_MASK) == TA_BASELINE) dy = 0;
  if ((align & TA_VERTICAL_MASK) == TA_BOTTOM) dy = -m.descent();
  return {dx, dy};
}

}  // namespace

void TQtSurface::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  if (!Outlines()) return;
  Prepare(true, false);
  ArcOrPie(impl_->painter, false, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TQtSurface::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Figure([&] { ArcOrPie(impl_->painter, true, x1, y1, x2, y2, x3, y3, x4, y4); });
}

void TQtSurface::FillRect(const TRect& r) {
  Forget();
  if (!brush.Fills() || r.right <= r.left || r.bottom <= r.top) return;
  QPainter& p = impl_->painter;
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);  // fills never take the pen's mode
  const QRect q(r.left, r.top, r.right - r.left, r.bottom - r.top);
  if (!brush.HasBitmap() && brush.style != bsSolid && backMode == OPAQUE)
    p.fillRect(q, ToQColor(backColor));
  p.fillRect(q, impl_->BrushOf(brush));
}

void TQtSurface::SetPixel(int x, int y, TColor color) {
  Forget();
  QPainter& p = impl_->painter;
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.fillRect(x, y, 1, 1, ToQColor(color));
}

void TQtSurface::TextOut(int x, int y, const std::string& text) {
  QPainter& p = impl_->painter;
  // a clear brush means no box behind the text, whatever the background mode
  const bool opaque = backMode == OPAQUE && brush.style != bsClear;
  if (font.escapement != 0 && !opaque) {
    // Rotated glyphs are not cached by the raster engine and cost a path fill
    // each; an axis can draw a thousand of them a paint. Each distinct rotated
    // text is drawn once into a small picture that is copied afterwards.
    const QImage& picture = RotatedText(text);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    Forget();
    p.drawImage(QPoint(x + picture.offset().x(), y + picture.offset().y()), picture);
    return;
  }
  const QFont& f = impl_->Font(font);
  const QFontMetrics& m = impl_->Metrics(font);
  const QString s = ToQString(text);
  const int w = impl_->Width(font, text);
  const auto [dx, dy] = BaselineOffset(textAlign, w, m);
  if (font.escapement == 0) {
    // level text, the common kind (marks, legend rows, labels): drawn without
    // saving the painter, and in the font it already has when that is the one
    // asked for, since setting a font makes Qt look it up again for every text
    Forget();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setBackgroundMode(Qt::TransparentMode);
    // in double: a caller may place a text at any int, and the offsets must not overflow it
    const double left = static_cast<double>(x) + dx;
    const double base = static_cast<double>(y) + dy;
    if (opaque) p.fillRect(QRectF(left, base - m.ascent(), w, m.height()), ToQColor(backColor));
    if (!impl_->painterFontReady || !(impl_->painterFontFor == font)) {
      p.setFont(f);
      impl_->painterFontFor = font;
      impl_->painterFontReady = true;
    }
    p.setPen(ToQColor(font.font.color));
    if (const QStaticText* laidOut = impl_->LaidOut(font, text))
      p.drawStaticText(QPointF(left, base - m.ascent()), *laidOut);
    else
      p.drawText(QPointF(left, base), s);
    return;
  }
  p.save();
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.setBackgroundMode(Qt::TransparentMode);  // an opaque box, when asked for, is filled below
  p.translate(x, y);
  if (font.escapement != 0) p.rotate(-font.escapement / 10.0);  // counter-clockwise on screen
  if (opaque) p.fillRect(QRect(dx, dy - m.ascent(), w, m.height()), ToQColor(backColor));
  p.setFont(f);
  p.setPen(ToQColor(font.font.color));
  p.drawText(dx, dy, s);
  p.restore();
}

namespace {

struct RotatedKey {
  std::string text;
  TFontSpec font;
  unsigned align;
  double ratio;
  bool operator==(const RotatedKey&) const = default;
};

struct RotatedKeyHash {
  size_t operator()(const RotatedKey& k) const {
    size_t h = std::hash<std::string>()(k.text);
    auto mix = [&h](size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    mix(std::hash<std::string>()(k.font.font.name));
    mix(static_cast<size_t>(k.font.font.height));
    mix(static_cast<size_t>(k.font.escapement));
    mix(k.font.font.color);
    mix(k.align);
    mix(std::hash<double>()(k.ratio));
    return h;
  }
};

}  // namespace

const QImage& TQtSurface::RotatedText(const std::string& text) {
  static std::unordered_map<RotatedKey, QImage, RotatedKeyHash>
      cache;  // the user-interface thread only
  const double ratio = PixelRatio();
  RotatedKey key{text, font, textAlign, ratio};
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  if (cache.size() > 8192) cache.clear();  // labels change with the axis range; start afresh
  const QFont& f = impl_->Font(font);
  const QFontMetrics m(f);
  const QString s = ToQString(text);
  const int w = m.horizontalAdvance(s);
  const auto [dx, dy] = BaselineOffset(textAlign, w, m);
  QTransform turn;
  turn.rotate(-font.escapement / 10.0);
  const QRect box = turn.mapRect(QRectF(dx, dy - m.ascent(), w, m.height()))
                        .toAlignedRect()
                        .adjusted(-2, -2, 2, 2);
  // drawn at the target's device pixels, so rotated labels are as sharp as the rest
  QImage picture(box.size() * ratio, QImage::Format_ARGB32_Premultiplied);
  picture.setDevicePixelRatio(ratio);
  picture.fill(Qt::transparent);
  {
    QPainter q(&picture);
    q.translate(-box.left(), -box.top());
    q.setTransform(turn, true);
    q.setFont(f);
    q.setPen(ToQColor(font.font.color));
    q.drawText(dx, dy, s);
  }
  picture.setOffset(box.topLeft());  // where the picture goes relative to the reference point
  return cache.emplace(std::move(key), std::move(picture)).first->second;
}

int TQtSurface::TextHeight(const std::string&) {
  return impl_->Metrics(font).height();
}

TSize TQtSurface::TextExtent(const std::string& text) {
  return {impl_->Width(font, text), impl_->Metrics(font).height()};
}

void TQtSurface::IntersectClipRect(const TRect& r) {
  QPainter& p = impl_->painter;
  const QRect q(r.left, r.top, std::max(0, r.right - r.left), std::max(0, r.bottom - r.top));
  impl_->open &= q;  // with no clip yet, open is the device
  p.setClipRect(q, p.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void TQtSurface::SelectClipPolygon(const TPoint* points, int count) {
  impl_->open = QRect();  // not known to be a rectangle: nothing is sure to be unclipped
  impl_->painter.setClipRegion(QRegion(impl_->PolygonOf(points, count), Qt::OddEvenFill),
                               Qt::ReplaceClip);
}

void TQtSurface::RemoveClip() {
  impl_->open = impl_->DeviceRect();
  impl_->painter.setClipping(false);
}

double TQtSurface::PixelRatio() const {
  const QPaintDevice* d = impl_->painter.device();
  return d ? d->devicePixelRatioF() : 1.0;
}

std::unique_ptr<TBitmap> TQtSurface::CreateBitmap(int width, int height, bool monochrome) {
  // in the target's device pixels, so a picture for a high-density screen stays sharp;
  // a one-bit bitmap is a pattern, kept at one pixel per pixel
  return std::make_unique<TImageBitmap>(width, height, monochrome,
                                        monochrome ? 1.0 : PixelRatio());
}

bool TQtSurface::HoldsFrame(int width, int height) const {
  const QPaintDevice* d = impl_->painter.device();
  if (!d || d->devType() != QInternal::Image) return false;  // a window shows what is drawn
  const auto* image = static_cast<const QImage*>(d);
  const double r = image->devicePixelRatio();
  // what a bitmap for this frame would be (TImageBitmap): the same pixels, the same format
  return image->format() == QImage::Format_RGB32 &&
         image->width() == std::max(1, static_cast<int>(std::ceil(width * r))) &&
         image->height() == std::max(1, static_cast<int>(std::ceil(height * r)));
}

void TQtSurface::CopyFrom(int x, int y, TBitmap& source) {
  Forget();
  auto* bitmap = dynamic_cast<TImageBitmap*>(&source);
  if (!bitmap) return;
  QPainter& p = impl_->painter;
  if (bitmap->Width() == 0 || bitmap->Height() == 0) return;
  p.setCompositionMode(QPainter::CompositionMode_Source);
  if (bitmap->Monochrome())
    p.drawImage(QPoint(x, y), bitmap->Image());
  else
    p.drawImage(QPoint(x, y), bitmap->Pixels());
}

void TQtSurface::DrawPicture(const TRect& dest, const TPicture& picture) {
  Forget();
  const QImage* image = nullptr;
  if (auto* read = dynamic_cast<const TImagePicture*>(&picture))
    image = &read->Image();
  else if (auto* painted = dynamic_cast<const TRgbPicture*>(&picture))
    image = &painted->Image();
  if (!image || picture.Empty()) return;
  QPainter& p = impl_->painter;
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.drawImage(QRect(dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top), *image);
}

// ---------------------------------------------------------------- bitmaps

TImageBitmap::TImageBitmap(int width, int height, bool monochrome, double pixelRatio)
    : width_(std::max(0, width)), height_(std::max(0, height)), monochrome_(monochrome) {
  const double r = pixelRatio > 0 ? pixelRatio : 1.0;
  image_ = std::make_unique<QImage>(std::max(1, static_cast<int>(std::ceil(width_ * r))),
                                    std::max(1, static_cast<int>(std::ceil(height_ * r))),
                                    QImage::Format_RGB32);
  image_->setDevicePixelRatio(r);  // the painter then draws in logical pixels through a scale
  image_->fill(Qt::white);
  surface_ = std::make_unique<TQtSurface>(image_.get());
}

TImageBitmap::~TImageBitmap() {
  surface_.reset();  // the painter ends before its image goes
}

int TImageBitmap::Width() const {
  return width_;
}
int TImageBitmap::Height() const {
  return height_;
}
TSurface& TImageBitmap::Canvas() {
  return *surface_;
}
double TImageBitmap::PixelRatio() const {
  return image_->devicePixelRatio();
}

QImage TImageBitmap::Image() const {
  if (!monochrome_) return *image_;
  return image_->convertToFormat(QImage::Format_Mono, Qt::ThresholdDither)
      .convertToFormat(QImage::Format_RGB32);
}

TImagePicture::TImagePicture(const QImage& image) : image_(std::make_unique<QImage>(image)) {}
TImagePicture::~TImagePicture() = default;
int TImagePicture::Width() const {
  return image_->width();
}
int TImagePicture::Height() const {
  return image_->height();
}

}  // namespace tk

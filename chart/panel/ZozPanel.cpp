#include "chart/panel/ZozPanel.h"

#include "chart/canvas/ChartFont.h"
#include "toolkit/Rounding.h"

// ---------------------------------------------------------------- TCustomZozPanel

TCustomZozPanel::TCustomZozPanel(tk::TWinControl* parent)
    : tk::TCustomPanel(parent),
      view3DOptions_(std::make_unique<TView3DOptions>([this] { Invalidate(); })),
      canvas_(std::make_unique<TZozCanvas3D>()) {
  SetSize(400, 250);
  TCustomPanel::SetColor(tk::clBtnFace);
  SavedCursor = Cursor();
  autoRepaint_ = true;  // construction is over: changes repaint from now on
}

TCustomZozPanel::~TCustomZozPanel() {
  autoRepaint_ = false;
}

void TCustomZozPanel::SetChart3DPercent(int percent) {
  ValidateChart3DPercent(percent);
  SetValue(chart3DPercent_, percent);
}

void TCustomZozPanel::SetColor(tk::TColor c) {
  if (c == Color()) return;
  TCustomPanel::SetColor(c);
  Invalidate();
}

void TCustomZozPanel::Invalidate() {
  if (!autoRepaint_) return;
  if (painting_) {
    // the frame being drawn is marked clean when it is shown, so remember the
    // request and ask for the next paint once this one is over
    repaintAfterPaint_ = true;
    return;
  }
  canvas_->MarkDirty();
  TCustomPanel::Invalidate();
}

void TCustomZozPanel::RepaintNow() {
  canvas_->MarkDirty();
  tk::TCustomPanel::RepaintNow();
}

void TCustomZozPanel::Paint(tk::TSurface& surface) {
  canvas_->AttachSurface(surface);
  if (!canvas_->RepaintFromBuffer()) PaintInto(surface, ClientRect());
  canvas_->DetachSurface();  // the window's surface lives only as long as its paint event
}

void TCustomZozPanel::PaintInto(tk::TSurface& surface, const tk::TRect& u) {
  struct PaintScope {
    TCustomZozPanel& panel;
    explicit PaintScope(TCustomZozPanel& p) : panel(p) { panel.painting_ = true; }
    ~PaintScope() {
      panel.painting_ = false;
      if (!panel.repaintAfterPaint_) return;
      panel.repaintAfterPaint_ = false;
      panel.canvas_->MarkDirty();
      panel.InvalidateAfterPaint();  // a later paint message, never a nested paint
    }
  } scope(*this);
  chartBounds_ = canvas_->StartFrame(surface, view3DOptions_.get(), Color(), view3D_, u);
  const tk::TRect& b = chartBounds_;
  const int w = b.Width(), h = b.Height();
  ChartRect = {b.left + borderWidth_ + tk::MulDiv(margins_.left, w, 100),
               b.top + borderWidth_ + tk::MulDiv(margins_.top, h, 100),
               b.right - borderWidth_ - tk::MulDiv(margins_.right, w, 100),
               b.bottom - borderWidth_ - tk::MulDiv(margins_.bottom, h, 100)};
  UpdateChartMetrics();
  PaintContents(chartBounds_);
  canvas_->PresentFrame(surface, surface, u);
  // the target (a window's paint surface, a picture) need not outlive the paint
  canvas_->DetachSurface();
}

void TCustomZozPanel::UpdateChartMetrics() {
  tk::TRect& r = ChartRect;
  if (r.left < chartBounds_.left) r.left = chartBounds_.left;
  if (r.top < chartBounds_.top) r.top = chartBounds_.top;
  if (r.right < r.left)
    r.right = r.left + 1;
  else if (r.right == r.left)
    r.right = r.left + Width();
  if (r.bottom < r.top)
    r.bottom = r.top + 1;
  else if (r.bottom == r.top)
    r.bottom = r.top + Height();
  ChartWidth = r.right - r.left;
  ChartHeight = r.bottom - r.top;
  ChartXCenter = (r.left + r.right) / 2;
  ChartYCenter = (r.top + r.bottom) / 2;
}

void TCustomZozPanel::SelectFont(const tk::TFontObject& font) {
  canvas_->Font().font = font.Value();
}

void TCustomZozPanel::PaintBevels(const tk::TRect& bounds) {
  canvas_->Pen() = {tk::clBlack, 1, tk::psSolid, tk::pmCopy, false};
  canvas_->Brush().style = tk::bsClear;
  tk::TRect r = bounds;
  auto rings = [&](tk::TColor top, tk::TColor bottom, int width) {
    canvas_->DrawBevel(r, top, bottom, width);
    r = {r.left + width, r.top + width, r.right - width, r.bottom - width};
  };
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    rings(cut == bvLowered ? tk::clBtnShadow : tk::clBtnHighlight,
          cut == bvRaised ? tk::clBtnShadow : tk::clBtnHighlight, bevelWidth_);
  };
  bevel(bevelOuter_);
  if (borderWidth_ > 0) rings(Color(), Color(), borderWidth_);
  bevel(bevelInner_);
}

void TCustomZozPanel::ApplyFillStyle(tk::TColor color, tk::TBrushStyle style,
                                     tk::TColor backColor) {
  tk::TBrushSpec& brush = canvas_->Brush();
  brush.bitmap = nullptr;  // a plain fill: no pattern left over from the last element
  if (style != tk::bsSolid && color == backColor)
    brush.color = tk::ColorToRGB(backColor) == tk::clBlack ? tk::clWhite : tk::clBlack;
  else
    brush.color = color;
  brush.style = style;
  if (style == tk::bsSolid) {
    canvas_->SetBackgroundMode(tk::TRANSPARENT);
  } else {
    canvas_->SetBackgroundMode(tk::OPAQUE);
    canvas_->SetBackgroundColor(tk::ColorToRGB(backColor));
  }
}

void TCustomZozPanel::Assign(const TCustomZozPanel& o) {
  canvas_->SetBufferedDrawing(o.canvas_->BufferedDrawing());
  printProportional_ = o.printProportional_;
  margins_ = o.margins_;
  canvas_->SetMonochromeBuffer(o.Monochrome());
  view3D_ = o.view3D_;
  view3DOptions_->Assign(*o.view3DOptions_);
  chart3DPercent_ = o.chart3DPercent_;
  TCustomPanel::SetColor(o.Color());
  Invalidate();
}

// ---------------------------------------------------------------- TCustomZozPanelExtended

TCustomZozPanelExtended::TCustomZozPanelExtended(tk::TWinControl* parent)
    : TCustomZozPanel(parent), gradient_([this] { Invalidate(); }) {}

void TCustomZozPanelExtended::SetBackImage(std::shared_ptr<const tk::TPicture> picture) {
  backImage_ = std::move(picture);
  ToolChanged();
}

void TCustomZozPanelExtended::PaintBackImage(const tk::TRect& r) {
  if (backImage_) DrawBackImage(r, 0);
}

void TCustomZozPanelExtended::FillBackground(const tk::TRect& r) {
  TZozCanvas3D& c = Canvas();
  if (gradient_.Visible()) {
    const TGradientDirection d = gradient_.Direction();
    if (d == gdTopBottom || d == gdLeftRight)
      c.FillGradient(r, gradient_.StartColor(), gradient_.EndColor(), d);
    else
      c.FillGradient(r, gradient_.EndColor(), gradient_.StartColor(), d);
  } else {
    c.Brush() = {Color(), tk::bsSolid, nullptr};
    c.ClearArea(r);
  }
}

void TCustomZozPanelExtended::PaintPanel(const tk::TRect& r) {
  FillBackground(r);
  PaintBackImage(r);
  if (!Canvas().HandlesProjection()) PaintBevels(r);
}

void TCustomZozPanelExtended::DrawBackImage(tk::TRect r, int z) {
  const tk::TPicture* picture = backImage_.get();
  if (!picture || picture->Empty()) return;
  if (z != 0 && View3D() && !View3DOptions().Orthogonal()) return;
  TZozCanvas3D& c = Canvas();
  auto project = [&] {
    if (z > 0) {
      const tk::TPoint a = c.ProjectPoint(r.left, r.top, z),
                       b = c.ProjectPoint(r.right, r.bottom, z);
      r = {a.x, a.y, b.x, b.y};
    }
    if (!View3D()) ++r.top;
  };
  if (backImageMode_ == pbmStretch) {
    project();
    c.DrawPictureStretched(r, picture);
    return;
  }
  if (ClippingAllowed()) {
    if (z != 0)
      c.ClipToBox(r, 0, TotalDepth);
    else
      c.ClipToRect(r);
  }
  project();
  if (backImageMode_ == pbmTile) {
    const int pw = picture->Width(), ph = picture->Height();
    for (int y = 0; y < r.Height(); y += ph)
      for (int x = 0; x < r.Width(); x += pw)
        c.DrawPicture(r.left + x, r.top + y, picture);
  } else {
    FillBackground(r);
    c.DrawPicture(r.left + (r.Width() - picture->Width()) / 2,
                  r.top + (r.Height() - picture->Height()) / 2, picture);
  }
  c.RemoveClip();
}

void TCustomZozPanelExtended::Assign(const TCustomZozPanel& other) {
  TCustomZozPanel::Assign(other);
  if (auto* o = dynamic_cast<const TCustomZozPanelExtended*>(&other)) {
    backImage_ = o->backImage_;
    backImageMode_ = o->backImageMode_;
    gradient_.Assign(o->gradient_);
    allowPanning_ = o->allowPanning_;
    allowZoom_ = o->allowZoom_;
    animatedZoom_ = o->animatedZoom_;
    animatedZoomSteps_ = o->animatedZoomSteps_;
  }
}

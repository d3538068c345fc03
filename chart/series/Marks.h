#pragma once
// Series marks: the small labelled boxes a series can draw next to its
// points (value, label, percentage or x), with an optional arrow from the
// point to the box, and the memory of where each box was put.

#include <memory>
#include <string>
#include <vector>

#include "chart/canvas/ChartPen.h"
#include "toolkit/Geometry.h"
#include "toolkit/Graphics.h"

class TChartSeries;

enum TSeriesMarksStyle {
  smsValue,
  smsPercent,
  smsLabel,
  smsLabelPercent,
  smsLabelValue,
  smsLegend,
  smsPercentTotal,
  smsLabelPercentTotal,
  smsXValue,
};

// The geometry of one mark.
struct TSeriesMarkPosition {
  tk::TPoint ArrowStart, ArrowEnd;
  bool UserPlaced = false;
  tk::TPoint BoxTopLeft;
  int BoxHeight = 0, BoxWidth = 0;

  // Everything but UserPlaced: a copy never claims the user put it there.
  void Assign(const TSeriesMarkPosition& other);
  tk::TRect Bounds() const {
    return {BoxTopLeft.x, BoxTopLeft.y, BoxTopLeft.x + BoxWidth, BoxTopLeft.y + BoxHeight};
  }
};

// Remembered positions by point index; an index beyond the list or an empty
// entry has none.
class TSeriesMarksPositions {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TSeriesMarkPosition* Position(int index) const;
  // The entry at index, growing the list with empty entries and creating it if need be.
  TSeriesMarkPosition& Ensure(int index);
  void Clear() { std::vector<std::unique_ptr<TSeriesMarkPosition>>().swap(items_); }
  // The point at index went away: the entries after it move down with their points.
  void RemoveAt(int index);

 private:
  std::vector<std::unique_ptr<TSeriesMarkPosition>> items_;
};

class TSeriesMarks {
 public:
  explicit TSeriesMarks(TChartSeries& owner);
  ~TSeriesMarks();
  TSeriesMarks(const TSeriesMarks&) = delete;
  TSeriesMarks& operator=(const TSeriesMarks&) = delete;

  // ---------------------------------------------------------------- properties
  TChartArrowPen& Arrow() { return arrow_; }
  const TChartArrowPen& Arrow() const { return arrow_; }
  void SetArrow(const TChartPen& pen) { arrow_.Assign(pen); }
  int ArrowLength() const { return arrowLength_; }
  void SetArrowLength(int length) { Set(arrowLength_, length); }
  tk::TColor BackColor() const { return backColor_; }
  void SetBackColor(tk::TColor color) { Set(backColor_, color); }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on) { Set(transparent_, on); }
  bool Clip() const { return clip_; }
  void SetClip(bool on) { Set(clip_, on); }
  TChartPen& Frame() { return frame_; }
  const TChartPen& Frame() const { return frame_; }
  void SetFrame(const TChartPen& pen) { frame_.Assign(pen); }
  tk::TFontObject& Font() { return *font_; }
  const tk::TFontObject& Font() const { return *font_; }
  void SetFont(const tk::TFontObject& font) { font_->Assign(font.Value()); }
  bool FontIsStored() const;
  TSeriesMarksStyle Style() const { return style_; }
  void SetStyle(TSeriesMarksStyle style) { Set(style_, style); }
  TChartSeries& ParentSeries() const { return owner_; }
  TSeriesMarksPositions& Positions() { return positions_; }
  const TSeriesMarksPositions& Positions() const { return positions_; }
  bool Visible() const { return visible_; }
  void SetVisible(bool on) { Set(visible_, on); }
  // depth of the marks in 3D, set by the chart before the series draws
  int ZPosition = 0;

  // ---------------------------------------------------------------- operations
  void Assign(const TSeriesMarks& other);
  void PaintMark(int index, tk::TColor pointColor, TSeriesMarkPosition& position,
                 const std::string& text);
  void RecallPosition(int index, TSeriesMarkPosition& position);
  void ForgetPositions() { positions_.Clear(); }

 private:
  template <typename T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Repaint();
  }
  void Repaint() const;
  void DrawArrowLine(tk::TColor pointColor, const TSeriesMarkPosition& position);
  void DrawBox(const TSeriesMarkPosition& position, int& textTop);
  void DrawText(const TSeriesMarkPosition& position, int textTop, const std::string& text);

  TChartArrowPen arrow_;
  int arrowLength_ = 8;
  tk::TColor backColor_ = 0x80FFFF;  // light yellow
  bool transparent_ = false;
  bool clip_ = false;
  TChartPen frame_;
  std::unique_ptr<tk::TFontObject> font_;
  TSeriesMarksStyle style_ = smsLabel;
  TChartSeries& owner_;
  TSeriesMarksPositions positions_;
  bool visible_ = false;
};

#pragma once
// An editable, word-wrapped view of a long single-font text that grows at
// its end. It keeps the text in one string and lays out only what changes:
// appending re-wraps the last line, painting draws only the visible lines, so
// the cost of an append stays the same at a thousand and at a million
// characters. Characters are 8-bit (Latin-1); others are refused with a beep.

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QTimer>
#include <array>
#include <functional>
#include <string>
#include <vector>

namespace tk {

class TextBufferView : public QAbstractScrollArea {
 public:
  explicit TextBufferView(QWidget* parent = nullptr);

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  void Append(const std::string& text);
  void Clear() { SetText({}); }

  // caret and selection, as offsets into the text
  int CaretPosition() const { return caret_; }
  void SetCaretPosition(int position, bool select = false);
  std::string SelectedText() const;
  void SelectAll();
  int LineCount() const { return static_cast<int>(lines_.size()); }

  // Appends are shown at most once a display frame: text that arrives every
  // millisecond would otherwise be followed by a repaint (and a scroll bar
  // update) every millisecond, and the paints would starve the clock. The
  // frame is the screen's refresh interval unless set here (0: the screen's).
  void SetFrameInterval(int ms) { frameMs_ = ms; }
  int FrameInterval() const;
  // Shows what the appends since the last frame changed, now.
  void ShowPendingNow();
  bool HasPending() const { return pending_; }

  std::function<void()> onChange;

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void changeEvent(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  void scrollContentsBy(int, int) override { viewport()->update(); }

 private:
  void MeasureFont();
  int LineHeight() const { return lineHeight_; }
  int LineOf(int position) const;
  int LineEnd(int line) const;
  void Relayout(int fromLine);
  void UpdateScrollBar(bool follow);
  int PositionAt(QPoint p) const;
  QPoint PointOf(int position) const;
  void Replace(int from, int to, const std::string& with);
  void EnsureCaretVisible();
  bool AtBottom() const;
  int Width(const std::string& s, int from, int to) const;
  void RequestFrame();

  bool pending_ = false;        // appends not yet shown
  bool pendingFollow_ = false;  // the view was at the bottom when they began
  int frameMs_ = 0;
  QTimer frame_;
  QElapsedTimer lastShown_;

  std::string text_;
  std::vector<int> lines_{0};  // where each visual line starts
  std::array<int, 256> advance_{};
  int lineHeight_ = 13, ascent_ = 10;
  int caret_ = 0, anchor_ = 0;
  int wrapWidth_ = 100;
};

}  // namespace tk

#include "toolkit/TextBufferView.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>

#include "toolkit/Application.h"

namespace tk {

namespace {
constexpr int kMargin = 4;
QString Latin1(const std::string& s, int from, int to) {
  return QString::fromLatin1(s.data() + from, to - from);
}
}  // namespace

TextBufferView::TextBufferView(QWidget* parent) : QAbstractScrollArea(parent) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setCursor(Qt::IBeamCursor);
  MeasureFont();
  frame_.setSingleShot(true);
  frame_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&frame_, &QTimer::timeout, this, [this] { ShowPendingNow(); });
}

int TextBufferView::FrameInterval() const {
  if (frameMs_ > 0) return frameMs_;
  const QScreen* s = screen();
  const double hz = s && s->refreshRate() >= 1.0 ? s->refreshRate() : 60.0;
  return std::max(1, static_cast<int>(1000.0 / hz));
}

void TextBufferView::RequestFrame() {
  if (frame_.isActive()) return;  // this frame's update is already booked
  const qint64 due = FrameInterval();
  const qint64 since = lastShown_.isValid() ? lastShown_.elapsed() : due;
  if (since >= due)
    ShowPendingNow();
  else
    frame_.start(static_cast<int>(due - since));
}

void TextBufferView::ShowPendingNow() {
  frame_.stop();
  lastShown_.start();
  if (!pending_) return;
  pending_ = false;
  UpdateScrollBar(pendingFollow_);
  viewport()->update();
}

void TextBufferView::MeasureFont() {
  const QFontMetrics m(font());
  for (int c = 0; c < 256; ++c)
    advance_[static_cast<size_t>(c)] = m.horizontalAdvance(QChar(c));
  lineHeight_ = m.height();
  ascent_ = m.ascent();
}

int TextBufferView::Width(const std::string& s, int from, int to) const {
  int w = 0;
  for (int i = from; i < to; ++i)
    w += advance_[static_cast<unsigned char>(s[static_cast<size_t>(i)])];
  return w;
}

// ---------------------------------------------------------------- layout

int TextBufferView::LineOf(int position) const {
  const auto it = std::upper_bound(lines_.begin(), lines_.end(), position);
  return std::max(0, static_cast<int>(it - lines_.begin()) - 1);
}

int TextBufferView::LineEnd(int line) const {
  return line + 1 < LineCount() ? lines_[static_cast<size_t>(line + 1)]
                                : static_cast<int>(text_.size());
}

// Greedy word wrap from the start of one line to the end of the text: a line
// breaks after its last blank that fits, or anywhere in a word too long for
// a line, and always after a newline.
void TextBufferView::Relayout(int fromLine) {
  fromLine = std::clamp(fromLine, 0, LineCount() - 1);
  lines_.resize(static_cast<size_t>(fromLine) + 1);
  const int n = static_cast<int>(text_.size());
  int start = lines_.back(), width = 0, lastBreak = -1;
  for (int i = start; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(text_[static_cast<size_t>(i)]);
    if (c == '\n') {
      lines_.push_back(i + 1);
      start = i + 1, width = 0, lastBreak = -1;
      continue;
    }
    width += advance_[c];
    if (c == ' ') {
      lastBreak = i + 1;
      continue;  // a blank may hang over the edge
    }
    if (width > wrapWidth_ && i > start) {
      const int next = lastBreak > start ? lastBreak : i;
      lines_.push_back(next);
      start = next, lastBreak = -1;
      width = Width(text_, start, i + 1);
    }
  }
}

bool TextBufferView::AtBottom() const {
  const QScrollBar* bar = verticalScrollBar();
  return bar->value() >= bar->maximum();
}

void TextBufferView::UpdateScrollBar(bool follow) {
  QScrollBar* bar = verticalScrollBar();
  const int visible = std::max(1, (viewport()->height() - 2) / LineHeight());
  bar->setRange(0, std::max(0, LineCount() - visible));
  bar->setPageStep(visible);
  if (follow) bar->setValue(bar->maximum());
}

// ---------------------------------------------------------------- text

void TextBufferView::SetText(const std::string& text) {
  pending_ = false;
  frame_.stop();
  text_ = text;
  caret_ = anchor_ = 0;
  lines_.assign(1, 0);
  Relayout(0);
  UpdateScrollBar(false);
  verticalScrollBar()->setValue(0);
  viewport()->update();
  if (onChange) onChange();
}

void TextBufferView::Append(const std::string& text) {
  if (!pending_) pendingFollow_ = AtBottom();  // where the reader was before this frame's text
  const int last = LineCount() - 1;
  text_ += text;
  Relayout(last);  // only the last line can change
  pending_ = true;
  RequestFrame();
  if (onChange) onChange();
}

void TextBufferView::Replace(int from, int to, const std::string& with) {
  ShowPendingNow();  // the edit scrolls from where the reader sees the text
  std::string kept;
  for (char c : with)
    if (c != 0) kept += c;
  text_.replace(static_cast<size_t>(from), static_cast<size_t>(to - from), kept);
  caret_ = anchor_ = from + static_cast<int>(kept.size());
  Relayout(LineOf(from) - 1);  // a shorter line may now take a word back
  UpdateScrollBar(false);
  EnsureCaretVisible();
  viewport()->update();
  if (onChange) onChange();
}

std::string TextBufferView::SelectedText() const {
  const int a = std::min(caret_, anchor_), b = std::max(caret_, anchor_);
  return text_.substr(static_cast<size_t>(a), static_cast<size_t>(b - a));
}

void TextBufferView::SelectAll() {
  anchor_ = 0;
  caret_ = static_cast<int>(text_.size());
  viewport()->update();
}

void TextBufferView::SetCaretPosition(int position, bool select) {
  ShowPendingNow();
  caret_ = std::clamp(position, 0, static_cast<int>(text_.size()));
  if (!select) anchor_ = caret_;
  EnsureCaretVisible();
  viewport()->update();
}

void TextBufferView::EnsureCaretVisible() {
  QScrollBar* bar = verticalScrollBar();
  const int line = LineOf(caret_), visible = std::max(1, (viewport()->height() - 2) / LineHeight());
  if (line < bar->value()) bar->setValue(line);
  if (line >= bar->value() + visible) bar->setValue(line - visible + 1);
}

// ---------------------------------------------------------------- geometry

QPoint TextBufferView::PointOf(int position) const {
  const int line = LineOf(position);
  const int x = kMargin + Width(text_, lines_[static_cast<size_t>(line)], position);
  return {x, 1 + (line - verticalScrollBar()->value()) * LineHeight()};
}

int TextBufferView::PositionAt(QPoint p) const {
  const int line =
      std::clamp((p.y() - 1) / LineHeight() + verticalScrollBar()->value(), 0, LineCount() - 1);
  int x = kMargin;
  const int start = lines_[static_cast<size_t>(line)];
  int end = LineEnd(line);
  if (end > start && text_[static_cast<size_t>(end - 1)] == '\n') --end;
  for (int i = start; i < end; ++i) {
    const int w = advance_[static_cast<unsigned char>(text_[static_cast<size_t>(i)])];
    if (p.x() < x + w / 2) return i;
    x += w;
  }
  return end;
}

// ---------------------------------------------------------------- painting

void TextBufferView::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  p.fillRect(viewport()->rect(), palette().color(QPalette::Base));
  p.setFont(font());
  const int first = verticalScrollBar()->value();
  const int visible = viewport()->height() / LineHeight() + 1;
  const int selFrom = std::min(caret_, anchor_), selTo = std::max(caret_, anchor_);
  for (int line = first; line < std::min(LineCount(), first + visible); ++line) {
    const int start = lines_[static_cast<size_t>(line)];
    int end = LineEnd(line);
    if (end > start && text_[static_cast<size_t>(end - 1)] == '\n') --end;
    const int y = 1 + (line - first) * LineHeight();
    const int a = std::clamp(selFrom, start, end), b = std::clamp(selTo, start, end);
    if (a < b)
      p.fillRect(kMargin + Width(text_, start, a), y, Width(text_, a, b), LineHeight(),
                 palette().color(QPalette::Highlight));
    p.setPen(palette().color(QPalette::Text));
    p.drawText(kMargin, y + ascent_, Latin1(text_, start, end));
    if (a < b) {
      p.setPen(palette().color(QPalette::HighlightedText));
      p.drawText(kMargin + Width(text_, start, a), y + ascent_, Latin1(text_, a, b));
    }
  }
  if (hasFocus() && isEnabled()) {
    const QPoint c = PointOf(caret_);
    p.fillRect(c.x(), c.y(), 1, LineHeight(), palette().color(QPalette::Text));
  }
}

void TextBufferView::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  const bool follow = pending_ ? pendingFollow_ : AtBottom();
  pending_ = false;
  wrapWidth_ = std::max(10, viewport()->width() - 2 * kMargin);
  Relayout(0);
  UpdateScrollBar(follow);
}

void TextBufferView::changeEvent(QEvent* e) {
  QAbstractScrollArea::changeEvent(e);
  if (e->type() == QEvent::FontChange) {
    MeasureFont();
    Relayout(0);
    UpdateScrollBar(false);
  }
}

// ---------------------------------------------------------------- input

void TextBufferView::keyPressEvent(QKeyEvent* e) {
  const bool shift = e->modifiers() & Qt::ShiftModifier;
  const int n = static_cast<int>(text_.size());
  const int from = std::min(caret_, anchor_), to = std::max(caret_, anchor_);
  if (e->matches(QKeySequence::SelectAll)) return SelectAll();
  if (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::Cut)) {
    if (from < to) QApplication::clipboard()->setText(QString::fromLatin1(SelectedText().c_str()));
    if (e->matches(QKeySequence::Cut) && from < to) Replace(from, to, {});
    return;
  }
  if (e->matches(QKeySequence::Paste)) {
    const QString pasted = QApplication::clipboard()->text();
    std::string kept;
    for (QChar c : pasted)
      if (c.unicode() >= 1 && c.unicode() <= 0xFF) kept += static_cast<char>(c.unicode());
    if (static_cast<qsizetype>(kept.size()) != pasted.size()) Beep();
    Replace(from, to, kept);
    return;
  }
  switch (e->key()) {
    case Qt::Key_Left:
      return SetCaretPosition(caret_ - 1, shift);
    case Qt::Key_Right:
      return SetCaretPosition(caret_ + 1, shift);
    case Qt::Key_Home:
      return SetCaretPosition(lines_[static_cast<size_t>(LineOf(caret_))], shift);
    case Qt::Key_End:
      return SetCaretPosition(LineEnd(LineOf(caret_)) - (LineOf(caret_) + 1 < LineCount() ? 1 : 0),
                              shift);
    case Qt::Key_Up:
    case Qt::Key_Down: {
      const QPoint c = PointOf(caret_);
      return SetCaretPosition(
          PositionAt({c.x(), c.y() + (e->key() == Qt::Key_Up ? -1 : 1) * LineHeight() + 1}), shift);
    }
    case Qt::Key_Backspace:
      if (from < to) return Replace(from, to, {});
      if (caret_ > 0) Replace(caret_ - 1, caret_, {});
      return;
    case Qt::Key_Delete:
      if (from < to) return Replace(from, to, {});
      if (caret_ < n) Replace(caret_, caret_ + 1, {});
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return Replace(from, to, "\n");
    default:
      break;
  }
  const QString typed = e->text();
  if (typed.isEmpty() || typed[0].unicode() < 0x20 ||
      (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
    QAbstractScrollArea::keyPressEvent(e);
    return;
  }
  std::string kept;
  for (QChar c : typed)
    if (c.unicode() >= 0x20 && c.unicode() <= 0xFF) kept += static_cast<char>(c.unicode());
  if (static_cast<qsizetype>(kept.size()) != typed.size()) Beep();
  if (!kept.empty()) Replace(from, to, kept);
}

void TextBufferView::inputMethodEvent(QInputMethodEvent* e) {
  QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, e->commitString());
  if (!e->commitString().isEmpty()) keyPressEvent(&key);
  e->accept();
}

void TextBufferView::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  SetCaretPosition(PositionAt(e->position().toPoint()), e->modifiers() & Qt::ShiftModifier);
}

void TextBufferView::mouseMoveEvent(QMouseEvent* e) {
  if (e->buttons() & Qt::LeftButton) SetCaretPosition(PositionAt(e->position().toPoint()), true);
}

}  // namespace tk

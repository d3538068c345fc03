// The receive buffer's view shows appended text once a display frame: many
// appends between two frames cost one repaint, and what that repaint shows is
// everything appended, scrolled as the reader left it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QScrollBar>
#include <QtTest/QTest>
#include <string>

#include "toolkit/ExtControls.h"
#include "toolkit/Form.h"
#include "toolkit/TextBufferView.h"

namespace {

using namespace tk;

class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
};

struct PacingCase {
  const char* name;
  int appends;        // one per turn of the event loop, as the clock's ticks
  const char* piece;  // what each append adds
  bool readerAtTop;   // the reader scrolled up to the start before the appends
};

const PacingCase kCases[] = {
    {"one bit", 1, "0", false},
    {"a frame's worth of bits at 1000 bits/s", 16, "1", false},
    {"a character per tick", 40, "K", false},
    {"words that wrap", 30, "01001011 ", false},
    {"newlines", 12, "line\n", false},
    {"while the reader looks at the start", 30, "01001011 ", true},
};

class TextBufferPacing : public ::testing::TestWithParam<PacingCase> {};

// The same text set at once in a view of the same size, scrolled the same way.
QImage Reference(const std::string& text, int scroll) {
  TForm form;
  form.SetClientSize(300, 200);
  TRichEdit buffer(&form);
  buffer.SetBounds(0, 0, 160, 60);
  form.Show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
  auto* view = static_cast<TextBufferView*>(buffer.Widget());
  buffer.SetText(text);
  view->verticalScrollBar()->setValue(scroll);
  QApplication::processEvents();
  return view->viewport()->grab().toImage();
}

TEST_P(TextBufferPacing, ManyAppendsInOneFrameAreOneRepaintAndNothingIsLost) {
  const PacingCase& c = GetParam();
  TForm form;
  form.SetClientSize(300, 200);
  TRichEdit buffer(&form);
  buffer.SetBounds(0, 0, 160, 60);
  form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
  auto* view = static_cast<TextBufferView*>(buffer.Widget());
  view->SetFrameInterval(60000);  // a long frame: every append below falls inside it
  std::string text;
  for (int i = 0; i < 12; ++i)
    text += "received earlier ";
  buffer.SetText(text);
  QApplication::processEvents();
  QScrollBar* bar = view->verticalScrollBar();
  bar->setValue(c.readerAtTop ? 0 : bar->maximum());
  view->ShowPendingNow();  // a frame has just been shown
  QApplication::processEvents();

  PaintCounter counter;
  view->viewport()->installEventFilter(&counter);
  int changes = 0;
  buffer.OnChange = [&] { ++changes; };
  for (int i = 0; i < c.appends; ++i) {
    buffer.AppendText(c.piece);
    text += c.piece;
    QApplication::processEvents();
  }
  EXPECT_EQ(counter.paints, 0) << "appends inside a frame wait for it";
  EXPECT_TRUE(view->HasPending());
  EXPECT_EQ(changes, c.appends) << "every append is still told at once";
  EXPECT_EQ(buffer.Text(), text);

  view->ShowPendingNow();  // the frame comes
  QApplication::processEvents();
  EXPECT_EQ(counter.paints, 1);
  EXPECT_FALSE(view->HasPending());
  if (c.readerAtTop)
    EXPECT_EQ(bar->value(), 0) << "a reader who scrolled away is left there";
  else
    EXPECT_EQ(bar->value(), bar->maximum()) << "a reader at the end follows the new text";
  const QImage shown = view->viewport()->grab().toImage(), reference = Reference(text, bar->value());
  EXPECT_EQ(shown, reference);
  if (shown != reference) {
    shown.save("/tmp/i19c_shown.png");
    reference.save("/tmp/i19c_ref.png");
  }
}

INSTANTIATE_TEST_SUITE_P(Appends, TextBufferPacing, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                           std::string n;
                           for (const char* s = info.param.name; *s; ++s)
                             n += std::isalnum(static_cast<unsigned char>(*s)) ? *s : '_';
                           return n;
                         });

TEST(TextBufferPacingFrame, TheBookedFrameComesByItself) {
  TForm form;
  TRichEdit buffer(&form);
  buffer.SetBounds(0, 0, 160, 60);
  form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
  auto* view = static_cast<TextBufferView*>(buffer.Widget());
  EXPECT_GE(view->FrameInterval(), 1);
  for (int i = 0; i < 5; ++i)
    buffer.AppendText("1");
  QTRY_VERIFY_WITH_TIMEOUT(!view->HasPending(), 10000);
  // an edit shows what is pending first, so it works on the text as shown
  buffer.AppendText("0");
  view->SetCaretPosition(0);
  EXPECT_FALSE(view->HasPending());
  EXPECT_EQ(buffer.Text(), "111110");
}

}  // namespace

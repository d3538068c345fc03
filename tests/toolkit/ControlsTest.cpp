#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include "toolkit/Application.h"
#include "toolkit/CustomPanel.h"
#include "toolkit/Errors.h"
#include "toolkit/ExtControls.h"
#include "toolkit/Form.h"
#include "toolkit/StdControls.h"
#include "toolkit/TextBufferView.h"
#include "toolkit/Timer.h"

using namespace tk;

TEST(Anchors, KeepDistancesToTheAnchoredEdges) {
  struct Case {
    TAnchors anchors;
    int l, t, w, h;
  };
  // a 100x50 control at (10, 20) in a 300x200 parent that grows by (40, 30)
  const Case cases[] = {
      {akLeft | akTop, 10, 20, 100, 50},
      {akLeft | akTop | akRight, 10, 20, 140, 50},
      {akLeft | akTop | akBottom, 10, 20, 100, 80},
      {kAllAnchors, 10, 20, 140, 80},
      {akRight | akBottom, 50, 50, 100, 50},
      {akLeft | akRight | akBottom, 10, 50, 140, 50},
      {akTop | akRight, 50, 20, 100, 50},
  };
  for (const Case& c : cases) {
    TForm form;
    form.SetClientSize(300, 200);
    TPanel panel(&form);
    panel.SetBounds(10, 20, 100, 50);
    panel.SetAnchors(c.anchors);
    form.SetClientSize(340, 230);
    EXPECT_EQ((TRect{panel.Left(), panel.Top(), panel.Left() + panel.Width(),
                     panel.Top() + panel.Height()}),
              (TRect{c.l, c.t, c.l + c.w, c.t + c.h}))
        << "anchors " << c.anchors;
    form.SetClientSize(300, 200);  // and back
    EXPECT_EQ(panel.Width(), 100);
    EXPECT_EQ(panel.Left(), 10);
  }
}

TEST(Controls, ChildrenOutlivingTheirContainerAreSafe) {
  auto form = std::make_unique<TForm>();
  auto panel = std::make_unique<TPanel>(form.get());
  TButton button(panel.get());
  panel.reset();  // Qt deletes the button's widget with the panel's
  form.reset();
  SUCCEED();  // the button's destructor must not touch either (checked under the sanitizers)
}

TEST(Edit, KeepsOnlyEightBitCharacters) {
  TForm form;
  TEdit edit(&form);
  int changes = 0;
  edit.OnChange = [&] { ++changes; };
  std::string all;
  for (int code = 1; code < 256; ++code)
    all += static_cast<char>(code);
  edit.SetText(all);
  EXPECT_EQ(edit.Text(), all);  // every code 1..255 round-trips

  const int beeps = BeepCount();
  auto* line = static_cast<QLineEdit*>(edit.Widget());
  line->clear();
  line->insert(QString::fromUtf8("AB\u4E2D\u00E9C\U0001F600D"));  // a paste with foreign characters
  EXPECT_EQ(edit.Text(),
            "AB\xE9"
            "CD");
  EXPECT_EQ(line->cursorPosition(), 5);
  EXPECT_EQ(BeepCount() - beeps, 1);
  for (const char* typed : {"\u0100", "x"}) {  // typed keys, one of them with no 8-bit code
    QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8(typed));
    QApplication::sendEvent(line, &key);
  }
  EXPECT_EQ(edit.Text(),
            "AB\xE9"
            "CDx");
  EXPECT_GE(changes, 3);
}

TEST(RichEdit, AppendsAtTheEndLeavingTheUsersCaretAlone) {
  TForm form;
  TRichEdit buffer(&form);
  buffer.SetText("typed by hand ");
  auto* view = static_cast<TextBufferView*>(buffer.Widget());
  view->SetCaretPosition(3);
  for (char bit : std::string("0100"))
    buffer.AppendText(std::string(1, bit));
  buffer.AppendText(" ");
  EXPECT_EQ(buffer.Text(), "typed by hand 0100 ");
  EXPECT_EQ(view->CaretPosition(), 3);
  buffer.Clear();
  EXPECT_EQ(buffer.Text(), "");
}

TEST(TextBufferView, WrapsAtBlanksAndEditsLikeATextBox) {
  TForm form;
  form.SetClientSize(300, 200);
  TRichEdit buffer(&form);
  buffer.SetBounds(0, 0, 120, 60);
  form.Show();
  auto* view = static_cast<TextBufferView*>(buffer.Widget());
  std::string bits;
  for (int i = 0; i < 40; ++i)
    bits += "01001011 ";
  buffer.AppendText(bits);
  EXPECT_GT(view->LineCount(), 5);  // wrapped into many lines
  // appending in pieces lays out the same lines as setting the whole text
  const int lines = view->LineCount();
  buffer.SetText(bits);
  EXPECT_EQ(view->LineCount(), lines);
  // typing, a refused character, selection and deleting
  buffer.SetText("abc");
  view->setFocus();
  view->SetCaretPosition(3);
  QTest::keyClicks(view, "de");
  const int beeps = BeepCount();
  QKeyEvent wide(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("\u4E2D"));
  QApplication::sendEvent(view, &wide);
  EXPECT_EQ(BeepCount() - beeps, 1);
  EXPECT_EQ(buffer.Text(), "abcde");
  QTest::keyClick(view, Qt::Key_Left, Qt::ShiftModifier);
  QTest::keyClick(view, Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(view->SelectedText(), "de");
  QTest::keyClick(view, Qt::Key_Backspace);
  EXPECT_EQ(buffer.Text(), "abc");
  QTest::keyClick(view, Qt::Key_Home);
  QTest::keyClick(view, Qt::Key_Delete);
  EXPECT_EQ(buffer.Text(), "bc");
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(200, 5));
  EXPECT_EQ(view->CaretPosition(), 2);  // past the end of the line: its end
}

TEST(CheckBoxAndRadioGroup, FireTheirEventsOnChange) {
  TForm form;
  TCheckBox box(&form);
  int clicks = 0;
  box.OnClick = [&] { ++clicks; };
  box.SetChecked(true);
  box.SetChecked(true);  // no change, no click
  box.SetChecked(false);
  EXPECT_EQ(clicks, 2);

  TRadioGroup group(&form);
  group.SetItems({"a", "b", "c"});
  int groupClicks = 0;
  group.OnClick = [&] { ++groupClicks; };
  group.SetItemIndex(1);
  EXPECT_EQ(group.ItemIndex(), 1);
  group.SetItemIndex(1);
  group.SetItemIndex(7);  // out of range chooses none
  EXPECT_EQ(group.ItemIndex(), -1);
  EXPECT_EQ(groupClicks, 2);
}

TEST(RadioGroup, TabStopsAtTheChoiceAndArrowsClickThroughTheItems) {
  TForm form;
  form.SetClientSize(300, 300);
  TButton before(&form), after(&form);
  TRadioGroup group(&form);
  group.SetBounds(0, 60, 200, 120);
  before.SetTabOrder(0);
  group.SetTabOrder(1);
  after.SetTabOrder(2);
  group.SetItems({"a", "b", "c"});  // items replaced after the tab order: relinked
  int clicks = 0;
  group.OnClick = [&] { ++clicks; };
  form.Show();
  QApplication::setActiveWindow(form.Widget());
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.Widget()));
  auto key = [](Qt::Key k, Qt::KeyboardModifiers mods = {}) {
    QTest::keyClick(QApplication::focusWidget(), k, mods);
    return QApplication::focusWidget();
  };
  // with nothing chosen the first item is the stop, and Tab alone chooses nothing
  before.SetFocus();
  EXPECT_EQ(key(Qt::Key_Tab), group.ItemButton(0));
  EXPECT_TRUE(group.Focused());
  EXPECT_EQ(group.ItemIndex(), -1);
  EXPECT_FALSE(group.Widget()->hasFocus());
  struct Step {
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    QWidget* focus;
    int index, clicks;
  };
  const Step steps[] = {
      {Qt::Key_Down, {}, group.ItemButton(1), 1, 1},
      {Qt::Key_Tab, {}, after.Widget(), 1, 1},  // the items after the choice take no stop
      {Qt::Key_Tab, Qt::ShiftModifier, group.ItemButton(1), 1, 1},
      {Qt::Key_Tab, Qt::ShiftModifier, before.Widget(), 1, 1},  // nor those before it
      {Qt::Key_Tab, {}, group.ItemButton(1), 1, 1},
      {Qt::Key_Right, {}, group.ItemButton(2), 2, 2},
      {Qt::Key_Down, {}, group.ItemButton(0), 0, 3},  // wraps
      {Qt::Key_Left, {}, group.ItemButton(2), 2, 4},
      {Qt::Key_Space, {}, group.ItemButton(2), 2, 4},  // the chosen item stays chosen
  };
  for (const Step& s : steps) {
    EXPECT_EQ(key(s.key, s.mods), s.focus) << "key " << s.key;
    EXPECT_EQ(group.ItemIndex(), s.index) << "key " << s.key;
    EXPECT_EQ(clicks, s.clicks) << "key " << s.key;
  }
  group.SetItemIndex(0);  // chosen by the program: the stop follows
  before.SetFocus();
  EXPECT_EQ(key(Qt::Key_Tab), group.ItemButton(0));
  group.SetFocus();
  EXPECT_EQ(QApplication::focusWidget(), group.ItemButton(0));
}

TEST(ScrollBar, ChangeFiresWithThePosition) {
  TForm form;
  TScrollBar bar(&form);
  std::vector<int> seen;
  bar.OnChange = [&] { seen.push_back(bar.Position()); };
  bar.SetMin(0);
  bar.SetMax(100);
  bar.SetPosition(40);
  bar.SetPosition(40);
  bar.SetPosition(250);  // held within Max
  EXPECT_EQ(seen, (std::vector<int>{40, 100}));
}

// A message box takes the mouse: the release of a held scroll arrow goes to the
// box, so the tests below never send one, and the bar must stop on its own.
TEST(ScrollBar, LetsGoOfAHeldArrowWhenAnErrorIsShown) {
  struct Case {
    const char* name;
    bool stepFails;  // else the error comes from elsewhere once the arrow repeats
  };
  for (const Case& c : {Case{"the first step fails", true}, {"an error while repeating", false}}) {
    std::vector<std::string> shown;
    SetErrorHandler([&](const std::string& m) { shown.push_back(m); });
    TForm form;
    form.SetClientSize(300, 40);
    TScrollBar bar(&form);
    bar.SetBounds(0, 0, 300, 16);
    bar.OnChange = [&] {
      if (c.stepFails) throw Exception("Axis Maximum Value must be >= Minimum");
    };
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    const QPoint rightArrow(bar.Width() - 4, bar.Height() / 2);
    QTest::mousePress(bar.Widget(), Qt::LeftButton, {}, rightArrow);
    int expected = 1;
    if (!c.stepFails) {
      ASSERT_TRUE(QTest::qWaitFor([&] { return bar.Position() >= 3; }, 3000)) << c.name;
      ShowException("Not enough timers available");  // as from a failing clock tick
      expected = bar.Position();
    }
    QTest::qWait(900);  // past the repeat's first delay and several of its steps
    EXPECT_EQ(bar.Position(), expected) << c.name;
    EXPECT_EQ(shown.size(), 1u) << c.name;
    EXPECT_EQ(MouseCapture(), nullptr) << c.name;
    QTest::mouseRelease(bar.Widget(), Qt::LeftButton, {}, rightArrow);
    SetErrorHandler(nullptr);
  }
}

TEST(Dispatch, ErrorsOfHandlersReachTheErrorHandlerOnce) {
  std::vector<std::string> shown;
  SetErrorHandler([&](const std::string& m) { shown.push_back(m); });
  TForm form;
  TButton button(&form);
  button.OnClick = [] { throw EListError(3); };
  button.Click();
  button.OnClick = [] { throw 42; };
  button.Click();
  button.OnClick = nullptr;
  button.Click();  // nothing assigned: nothing happens
  SetErrorHandler(nullptr);
  EXPECT_EQ(shown, (std::vector<std::string>{"List index out of bounds (3)", "Unknown error"}));
}

TEST(Timer, IntervalZeroGivesNoTicks) {
  TTimer timer;
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  timer.SetInterval(0);
  EXPECT_FALSE(timer.Running());
  QTest::qWait(30);
  EXPECT_EQ(ticks, 0);
  timer.SetInterval(1);
  EXPECT_TRUE(timer.Running());
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 2000));
  timer.SetEnabled(false);
  const int stopped = ticks;
  QTest::qWait(20);
  EXPECT_EQ(ticks, stopped);
}

TEST(Timer, NewIntervalOrEnablingRestartsAFullCountdown) {
  TTimer timer;
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  timer.SetEnabled(false);
  timer.SetInterval(60000);
  timer.SetEnabled(true);
  EXPECT_TRUE(timer.Running());
  QTest::qWait(20);
  EXPECT_EQ(ticks, 0);  // the first tick comes one whole interval after enabling
  timer.SetInterval(5);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 1; }, 2000));
}

TEST(Timer, ErrorInATickIsReportedAndTicksGoOn) {
  std::vector<std::string> shown;
  SetErrorHandler([&](const std::string& m) { shown.push_back(m); });
  TTimer timer;
  int ticks = 0;
  timer.OnTimer = [&] {
    if (++ticks == 1) throw Exception("boom");
  };
  timer.SetInterval(1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 2000));
  SetErrorHandler(nullptr);
  EXPECT_EQ(shown, std::vector<std::string>{"boom"});
}

TEST(ColorToRGB, ResolvesSystemColoursToFixedValues) {
  struct Case {
    TColor in, out;
  };
  for (const Case& c : {Case{clBtnFace, 0xC0C0C0},
                        {clBtnShadow, 0x808080},
                        {clBtnHighlight, 0xFFFFFF},
                        {clWindowText, 0x000000},
                        {clHighlight, 0x800000},
                        {clWindow, 0xFFFFFF},
                        {clRed, clRed},
                        {0x02123456, 0x123456},
                        {0x800000FF, 0x000000}})
    EXPECT_EQ(ColorToRGB(c.in), c.out) << std::hex << c.in;
}

TEST(Font, DesignFacesMapToInstalledOnes) {
  EXPECT_EQ(MappedFontFamily("MS Sans Serif"), "Liberation Sans");
  EXPECT_EQ(MappedFontFamily("Arial"), "Liberation Sans");
  EXPECT_EQ(MappedFontFamily("Courier New"), "DejaVu Sans Mono");
  EXPECT_EQ(MappedFontFamily("Some Face"), "Some Face");
}

namespace {
class CountingPanel : public TCustomPanel {
 public:
  using TCustomPanel::TCustomPanel;
  int paints = 0;

 protected:
  void Paint(TSurface&) override { ++paints; }
};
}  // namespace

// A clock ticking every millisecond invalidates after every tick; the panel
// turns those marks into at most one paint per display frame (60 Hz here), so
// paints never starve the ticks, and a mark is never lost: the last one is
// always followed by a paint.
TEST(CustomPanel, InvalidationsBecomeAtMostOnePaintPerFrame) {
  TForm form;
  form.SetClientSize(200, 100);
  CountingPanel panel(&form);
  panel.SetBounds(0, 0, 200, 100);
  form.Show();
  QApplication::processEvents();
  const int before = panel.paints;
  QElapsedTimer wall;
  wall.start();
  int marks = 0;
  while (wall.elapsed() < 250) {
    panel.Invalidate();
    ++marks;
    QApplication::processEvents();
    QTest::qWait(1);
  }
  const qint64 ms = wall.elapsed();
  const int paints = panel.paints - before;
  EXPECT_GT(marks, paints);
  EXPECT_GE(paints, 1);
  EXPECT_LE(paints, ms / 16 + 2);  // 16.7 ms a frame, plus the first at once and rounding
  // the last mark is served within a frame or so
  QTest::qWait(60);
  const int settled = panel.paints;
  panel.Invalidate();
  QTest::qWait(60);
  EXPECT_GT(panel.paints, settled);
}

// Marks made while a paint is already asked for are not asked again, so a
// mark must never be lost to one that Qt dropped: not while the panel was
// hidden, and not after a burst of marks that a single paint served.
TEST(CustomPanel, NoMarkIsLostWhilePaintIsAlreadyAsked) {
  struct Step {
    const char* name;
    bool hiddenFirst;
    int burst;
  };
  const Step steps[] = {{"one mark", false, 1},
                        {"a burst of marks", false, 100000},
                        {"marked while hidden, then shown", true, 1000}};
  for (const Step& s : steps) {
    TForm form;
    form.SetClientSize(200, 100);
    CountingPanel panel(&form);
    panel.SetBounds(0, 0, 200, 100);
    if (!s.hiddenFirst) {
      form.Show();
      QTest::qWait(40);
    }
    for (int i = 0; i < s.burst; ++i)
      panel.Invalidate();
    if (s.hiddenFirst) form.Show();
    QTest::qWait(60);
    const int served = panel.paints;
    EXPECT_GE(served, 1) << s.name;
    panel.Invalidate();  // after the paint the next mark is asked for afresh
    QTest::qWait(60);
    EXPECT_GT(panel.paints, served) << s.name;
  }
}

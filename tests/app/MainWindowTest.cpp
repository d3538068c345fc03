// The main window driven as a student would: clicks, keys and clock ticks
// (the tick handler is called directly; nothing waits on the wall clock).
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QWidget>

#include "app/Unit1.h"
#include "toolkit/Application.h"
#include "toolkit/Errors.h"

namespace {

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    tk::SetErrorHandler([this](const std::string& m) { errors.push_back(m); });
  }
  void TearDown() override { tk::SetErrorHandler(nullptr); }

  void ShowActive() {
    form.Show();
    QApplication::setActiveWindow(form.Widget());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.Widget()));
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i)
      form.Timer1Timer();
  }
  QWidget* SpinText() { return form.SpinEdit1.Editor(); }

  TForm1 form;
  std::vector<std::string> errors;
};

}  // namespace

TEST_F(MainWindow, DesignTimeLayout) {
  EXPECT_EQ(form.Caption(), "Wavelot v1.5");
  EXPECT_EQ(form.ClientWidth(), 687);
  EXPECT_EQ(form.ClientHeight(), 595);
  struct Case {
    tk::TControl& c;
    int l, t, w, h, tab;
  };
  const Case cases[] = {
      {form.SpinEdit1, 48, 48, 65, 22, 0},  {form.Edit1, 8, 184, 409, 21, 1},
      {form.Button1, 8, 224, 113, 41, 2},   {form.Buffer, 8, 296, 673, 49, 3},
      {form.Chart1, 8, 368, 671, 209, 4},   {form.CheckBox1, 224, 48, 105, 17, 5},
      {form.RG1, 440, 16, 241, 249, 6},     {form.Button2, 136, 224, 97, 41, 7},
      {form.CheckBox2, 224, 72, 97, 17, 8}, {form.Button3, 360, 224, 57, 41, 9},
      {form.Panel1, 3000, 8, 671, 585, 10}, {form.ScrollBar1, 8, 576, 673, 16, 11},
      {form.Button4, 272, 520, 135, 41, 0}, {form.Memo1, 160, 80, 343, 145, 1},
      {form.Memo2, 160, 232, 343, 89, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.c.Left(), c.l) << c.tab;
    EXPECT_EQ(c.c.Top(), c.t) << c.tab;
    EXPECT_EQ(c.c.Width(), c.w) << c.tab;
    EXPECT_EQ(c.c.Height(), c.h) << c.tab;
    EXPECT_EQ(c.c.TabOrder(), c.tab);
  }
  // labels size themselves to their captions, from the designed top-left corner
  struct LabelCase {
    tk::TLabel& label;
    int l, t;
    const char* caption;
  };
  for (const LabelCase& c : {LabelCase{form.Label1, 8, 56, "Speed"},
                             {form.Label2, 120, 56, "bits/second"},
                             {form.Label3, 8, 168, "Text to send"},
                             {form.Label4, 8, 280, "Receive Buffer"},
                             {form.Label5, 8, 352, "Line Encoding"}}) {
    EXPECT_EQ(c.label.Caption(), c.caption);
    EXPECT_EQ(c.label.Left(), c.l);
    EXPECT_EQ(c.label.Top(), c.t);
  }
  EXPECT_EQ(form.Button1.Caption(), "&START");
  EXPECT_EQ(form.Button2.Caption(), "&Clear");
  EXPECT_EQ(form.Button3.Caption(), "&About");
  EXPECT_EQ(form.Button4.Caption(), "OK");
  EXPECT_EQ(form.CheckBox1.Caption(), "1Start/2Stop bits");
  EXPECT_EQ(form.CheckBox2.Caption(), "Parity");
  EXPECT_EQ(form.RG1.Caption(), "Line Encoding ");
  EXPECT_EQ(form.RG1.Items(),
            (std::vector<std::string>{"Unipolar", "NRZ-L", "NRZ-I", "RZ", "Manchester"}));
  EXPECT_EQ(form.Memo1.Lines().front(), "Wavelot v1.5");
  EXPECT_TRUE(form.Memo1.ReadOnly());
  EXPECT_EQ(form.Memo1.Alignment(), tk::taCenter);
  EXPECT_EQ(form.Panel1.Color(), tk::clBlack);
  EXPECT_EQ(form.Panel1.Font().color, tk::clAqua);
  EXPECT_TRUE(form.Panel1.Font().style.bold);
  EXPECT_EQ(form.ScrollBar1.Min(), 0);
  EXPECT_EQ(form.ScrollBar1.Max(), 100);
  EXPECT_EQ(form.ScrollBar1.Position(), 0);
}

TEST_F(MainWindow, StartUpState) {
  EXPECT_EQ(form.Timer1.Interval(), 62u);
  EXPECT_FALSE(form.Timer1.Enabled());
  EXPECT_EQ(form.Edit1.Text(), "KELDO");
  EXPECT_TRUE(form.Edit1.Enabled());
  EXPECT_EQ(form.Buffer.Text(), "");
  EXPECT_FALSE(form.Panel1.Visible());
  EXPECT_EQ(form.SpinEdit1.Value(), 16);
  EXPECT_EQ(form.RG1.ItemIndex(), 0);
  EXPECT_FALSE(form.CheckBox1.Checked());
  EXPECT_FALSE(form.CheckBox2.Checked());
}

TEST_F(MainWindow, StartSendsKeldoInFortyTicks) {
  form.Button1.Click();
  EXPECT_TRUE(form.Timer1.Enabled());
  EXPECT_FALSE(form.Edit1.Enabled());
  Ticks(33);
  EXPECT_EQ(form.Edit1.Text(), "");   // the O was taken on tick 33 ...
  EXPECT_TRUE(form.Edit1.Enabled());  // ... and the box opened at once
  Ticks(7);
  EXPECT_EQ(form.Buffer.Text(), "01001011 01000101 01001100 01000100 01001111 ");
  EXPECT_TRUE(form.Timer1.Enabled());  // only Clear stops the clock
}

TEST_F(MainWindow, ClearMidFrameStopsAndTheNextStartResumesTheFrame) {
  form.Button1.Click();
  Ticks(3);  // "010" of K
  form.Button2.Click();
  EXPECT_FALSE(form.Timer1.Enabled());
  EXPECT_TRUE(form.Edit1.Enabled());
  EXPECT_EQ(form.Buffer.Text(), "");
  EXPECT_EQ(form.Edit1.Text(), "ELDO");  // Clear leaves the text alone
  form.Button1.Click();
  Ticks(5 + 8);
  EXPECT_EQ(form.Buffer.Text(), "0101101000101 ");
}

TEST_F(MainWindow, AboutWhileSendingThenOk) {
  form.Button1.Click();
  Ticks(4);
  form.Button3.Click();
  EXPECT_TRUE(form.Panel1.Visible());
  EXPECT_EQ(form.Panel1.Left(), 8);
  Ticks(4);
  EXPECT_EQ(form.Buffer.Text(), "01001011 ");
  form.Button4.Click();
  EXPECT_FALSE(form.Panel1.Visible());
  EXPECT_EQ(form.Panel1.Left(), 8);
  EXPECT_TRUE(form.Timer1.Enabled());
}

TEST_F(MainWindow, FramingAndEncodingChoicesTakeEffect) {
  ShowActive();
  form.CheckBox2.SetChecked(true);  // fires nrbChange
  EXPECT_EQ(form.Model().FrameLength(), 9);
  form.CheckBox1.SetChecked(true);
  EXPECT_EQ(form.Model().FrameLength(), 12);
  QRadioButton* manchester = form.RG1.ItemButton(4);
  QTest::mouseClick(manchester, Qt::LeftButton, {}, QPoint(7, manchester->height() / 2));
  EXPECT_EQ(form.RG1.ItemIndex(), 4);
  form.Button1.Click();
  Ticks(12);
  EXPECT_EQ(form.Buffer.Text(), "001001011011 ");  // K: start, data, parity 0, two stops
}

TEST_F(MainWindow, SpeedBoxDrivesTheClockInterval) {
  ShowActive();
  form.Button1.Click();
  form.SpinEdit1.SetFocus();
  QTest::keyClick(SpinText(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(SpinText(), Qt::Key_Delete);
  EXPECT_EQ(form.SpinEdit1.Text(), "");
  EXPECT_EQ(form.Timer1.Interval(), 1000u);  // empty reads as the minimum speed, 1
  QTest::keyClicks(SpinText(), "2000");
  EXPECT_EQ(form.SpinEdit1.Value(), 2000);  // reported as typed
  EXPECT_EQ(form.Timer1.Interval(), 0u);
  EXPECT_FALSE(form.Timer1.Running());  // interval 0: no ticks
  form.Buffer.SetFocus();               // focus leaves: clamped and written back
  EXPECT_EQ(form.SpinEdit1.Text(), "1000");
  EXPECT_EQ(form.Timer1.Interval(), 1u);
  EXPECT_TRUE(form.Timer1.Running());
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindow, TransientZeroOrNegativeSpeedGivesNoTicksAndNoError) {
  for (const char* typed : {"0", "-5", "-"}) {
    form.SpinEdit1.SetText(typed);
    EXPECT_EQ(form.Timer1.Interval(), std::string(typed) == "-" ? 1000u : 0u) << typed;
  }
  form.SpinEdit1.SetText("3");
  EXPECT_EQ(form.Timer1.Interval(), 333u);
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindow, AcceleratorsPressTheButtons) {
  ShowActive();
  form.Buffer.SetFocus();
  auto press = [](Qt::Key key) {
    QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
  };
  // an accelerator animates the button press, so its click arrives a moment later
  press(Qt::Key_S);
  EXPECT_TRUE(QTest::qWaitFor([&] { return form.Timer1.Enabled(); }, 2000));
  press(Qt::Key_A);
  EXPECT_TRUE(QTest::qWaitFor([&] { return form.Panel1.Visible(); }, 2000));
  form.Button4.Click();
  press(Qt::Key_C);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !form.Timer1.Enabled(); }, 2000));
}

TEST_F(MainWindow, ErrorInATickIsShownAndTheClockGoesOn) {
  int ticks = 0;
  form.Timer1.OnTimer = [&] {
    ++ticks;
    if (ticks == 1) throw tk::Exception("Axis Maximum Value must be >= Minimum");
    form.Timer1Timer();
  };
  form.Timer1.SetInterval(1);
  form.Button1.Click();
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 5000));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Axis Maximum Value must be >= Minimum");
  EXPECT_EQ(form.Buffer.Text().substr(0, 2), "01");  // the ticks after the error still sent bits
}

TEST_F(MainWindow, UserTextInTheBufferStaysAndIsExtended) {
  form.Buffer.SetText("my notes ");
  form.Button1.Click();
  Ticks(2);
  EXPECT_EQ(form.Buffer.Text(), "my notes 01");
  form.Button2.Click();
  EXPECT_EQ(form.Buffer.Text(), "");
}

TEST_F(MainWindow, ResizingKeepsAnchoredDistances) {
  form.Button3.Click();  // the About panel at Left 8, anchored on all sides
  form.SetClientSize(687 + 113, 595 + 105);
  struct Case {
    tk::TControl& c;
    int l, t, w, h;
  };
  const Case cases[] = {
      {form.Chart1, 8, 368, 671 + 113, 209 + 105},     // all four anchors: grows
      {form.ScrollBar1, 8, 576 + 105, 673 + 113, 16},  // left, right, bottom: moves down, widens
      {form.Edit1, 8, 184, 409, 21},                   // left, top: stays
      {form.RG1, 440, 16, 241, 249},
      {form.Panel1, 8, 8, 671 + 113, 585 + 105},
      {form.Button4, 272, 520, 135 + 113, 41 + 105},  // inside the panel, which grew
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.c.Left(), c.l);
    EXPECT_EQ(c.c.Top(), c.t);
    EXPECT_EQ(c.c.Width(), c.w);
    EXPECT_EQ(c.c.Height(), c.h);
  }
  form.SetClientSize(687, 595);
  EXPECT_EQ(form.Chart1.Width(), 671);
  EXPECT_EQ(form.ScrollBar1.Top(), 576);
}

TEST_F(MainWindow, TabReachesTheLineEncodingGroupAtItsOwnPlace) {
  ShowActive();
  auto tab = [](Qt::KeyboardModifiers mods = {}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, mods);
    return QApplication::focusWidget();
  };
  form.RG1.SetItemIndex(3);
  form.SpinEdit1.SetFocus();
  // one Tab per designed stop; the hidden About panel takes none, and the group's
  // stop is its checked item
  struct Stop {
    const char* name;
    QWidget* focus;
  };
  const Stop stops[] = {
      {"Edit1", form.Edit1.Widget()},         {"Button1", form.Button1.Widget()},
      {"Buffer", form.Buffer.Widget()},       {"Chart1", form.Chart1.Widget()},
      {"CheckBox1", form.CheckBox1.Widget()}, {"RG1", form.RG1.ItemButton(3)},
      {"Button2", form.Button2.Widget()},     {"CheckBox2", form.CheckBox2.Widget()},
      {"Button3", form.Button3.Widget()},     {"ScrollBar1", form.ScrollBar1.Widget()},
  };
  for (const Stop& s : stops)
    EXPECT_EQ(tab(), s.focus) << s.name;
  tab();
  EXPECT_TRUE(form.SpinEdit1.Focused()) << "the chain closes";
  form.Button2.SetFocus();
  EXPECT_EQ(tab(Qt::ShiftModifier), form.RG1.ItemButton(3));  // back in, on the checked item
  EXPECT_TRUE(form.RG1.Focused());
  EXPECT_EQ(tab(Qt::ShiftModifier), form.CheckBox1.Widget());
}

TEST_F(MainWindow, ArrowKeysMoveTheLineEncodingChoice) {
  ShowActive();
  form.CheckBox1.SetFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), form.RG1.ItemButton(0));
  // the choice follows the focus through the items and wraps at either end
  struct Step {
    Qt::Key key;
    int index;
  };
  const Step steps[] = {{Qt::Key_Down, 1}, {Qt::Key_Down, 2}, {Qt::Key_Right, 3}, {Qt::Key_Up, 2},
                        {Qt::Key_Left, 1}, {Qt::Key_Up, 0},   {Qt::Key_Up, 4},    {Qt::Key_Down, 0},
                        {Qt::Key_Left, 4}, {Qt::Key_Right, 0}};
  for (const Step& s : steps) {
    QTest::keyClick(QApplication::focusWidget(), s.key);
    EXPECT_EQ(form.RG1.ItemIndex(), s.index) << "key " << s.key;
    EXPECT_EQ(QApplication::focusWidget(), form.RG1.ItemButton(s.index));
  }
  // the model reads the new choice: Manchester sends each bit as two half-bit levels
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
  form.Button1.Click();
  Ticks(1);  // K's first bit, 0: high then low, 31 ms each
  TChartSeries& s = *form.Chart1.Series(0);
  ASSERT_EQ(s.PointCount(), 4);
  EXPECT_EQ(s.YValueAt(0), 1);
  EXPECT_EQ(s.XValueAt(2), 31);
  EXPECT_EQ(s.YValueAt(3), -1);
}

TEST_F(MainWindow, HeldScrollArrowStopsAtTheAxisMessage) {
  ShowActive();
  form.Chart1.BottomAxis().SetLimits(810, 910);  // as a zoom leaves them
  QWidget* bar = form.ScrollBar1.Widget();
  const QPoint rightArrow(bar->width() - 4, bar->height() / 2);
  // the message box takes the release, so none comes to the bar
  QTest::mousePress(bar, Qt::LeftButton, {}, rightArrow);
  QTest::qWait(900);  // the arrow's repeat would have run many steps by now
  EXPECT_EQ(errors, std::vector<std::string>{"Axis Maximum Value must be >= Minimum"});
  EXPECT_EQ(form.ScrollBar1.Position(), 1);
  EXPECT_EQ(form.Chart1.BottomAxis().Minimum(), 810);
  EXPECT_EQ(form.Chart1.BottomAxis().Maximum(), 910);
  QTest::mouseRelease(bar, Qt::LeftButton, {}, rightArrow);
}

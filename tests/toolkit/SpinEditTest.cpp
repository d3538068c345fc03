#include "toolkit/SpinEdit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "toolkit/Application.h"
#include "toolkit/Form.h"

using namespace tk;

TEST(SpinEditParse, ReadsOnlyWholeIntegers) {
  struct Case {
    const char* text;
    std::optional<int> value;
  };
  const Case cases[] = {
      {"16", 16},
      {"+5", 5},
      {"-3", -3},
      {"  7", 7},
      {"0", 0},
      {"", {}},
      {"-", {}},
      {"+", {}},
      {"1.5", {}},
      {"7 ", {}},
      {"1-2", {}},
      {"abc", {}},
      {"2147483647", 2147483647},
      {"2147483648", {}},
      {"-2147483648", -2147483647 - 1},
      {"99999999999999999999", {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TSpinEdit::ParseInteger(c.text), c.value) << '"' << c.text << '"';
}

namespace {

struct SpinRig : ::testing::Test {
  TForm form;
  TSpinEdit spin{&form};
  TSpinEdit other{&form};
  int changes = 0;
  void SetUp() override {
    spin.SetMinValue(1);
    spin.SetMaxValue(1000);
    spin.SetValue(16);
    spin.OnChange = [this] { ++changes; };
    form.Show();
    QApplication::setActiveWindow(form.Widget());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.Widget()));
    spin.SetFocus();
  }
  QWidget* Editor() { return spin.Editor(); }
};

}  // namespace

TEST_F(SpinRig, TextThatIsNoIntegerReadsAsTheMinimum) {
  for (const char* text : {"", "abc", "1.5", "-"}) {
    spin.SetText(text);
    EXPECT_EQ(spin.Value(), 1) << text;
  }
  spin.SetText("5000");
  EXPECT_EQ(spin.Value(), 5000);  // unclamped while typing
}

TEST_F(SpinRig, ArrowsAndButtonsStepWithinTheRange) {
  struct Step {
    const char* start;
    Qt::Key key;
    const char* after;
  };
  const Step steps[] = {
      {"16", Qt::Key_Up, "17"}, {"16", Qt::Key_Down, "15"},     {"1000", Qt::Key_Up, "1000"},
      {"1", Qt::Key_Down, "1"}, {"5000", Qt::Key_Down, "1000"}, {"abc", Qt::Key_Up, "2"},
      {"-7", Qt::Key_Up, "1"},
  };
  for (const Step& s : steps) {
    spin.SetText(s.start);
    QTest::keyClick(Editor(), s.key);
    EXPECT_EQ(spin.Text(), s.after) << s.start;
  }
  spin.SetText("10");
  spin.StepUp();
  spin.StepUp();
  spin.StepDown();
  EXPECT_EQ(spin.Value(), 11);
}

TEST_F(SpinRig, RefusesKeysOtherThanDigitsSignsAndSeparatorWithABeep) {
  spin.SetText("");
  const int beeps = BeepCount();
  QTest::keyClicks(Editor(), "1a2 b-+.x");
  EXPECT_EQ(spin.Text(), "12-+.");
  EXPECT_EQ(BeepCount() - beeps, 4);  // a, blank, b, x
  QTest::keyClick(Editor(), Qt::Key_Return);
  QTest::keyClick(Editor(), Qt::Key_Enter);
  EXPECT_EQ(BeepCount() - beeps, 6);
  QTest::keyClick(Editor(), Qt::Key_Backspace);  // control keys pass
  EXPECT_EQ(spin.Text(), "12-+");
}

TEST_F(SpinRig, FocusLeavingClampsAndWritesBack) {
  struct Case {
    const char* typed;
    const char* after;
  };
  for (const Case& c :
       {Case{"2000", "1000"}, {"0", "1"}, {"-5", "1"}, {"500", "500"}, {"", ""}, {"abc", "abc"}}) {
    spin.SetFocus();
    spin.SetText(c.typed);
    other.SetFocus();
    EXPECT_EQ(spin.Text(), c.after) << c.typed;
  }
}

TEST_F(SpinRig, EveryChangeOfTheTextFiresTheChangeEvent) {
  changes = 0;
  spin.SetText("");
  QTest::keyClicks(Editor(), "42");
  QTest::keyClick(Editor(), Qt::Key_Up);
  spin.SetValue(7);
  spin.SetValue(7);  // same text: no change
  EXPECT_EQ(changes, 1 + 2 + 1 + 1);
}

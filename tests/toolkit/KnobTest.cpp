#include <gtest/gtest.h>

#include <QLabel>
#include <QSlider>
#include <cmath>
#include <string>
#include <vector>

#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Knob.h"
#include "toolkit/StdControls.h"

using namespace tk;

namespace {

// Records the messages the application would show.
struct Messages {
  Messages() {
    SetErrorHandler([this](const std::string& m) { shown.push_back(m); });
  }
  ~Messages() { SetErrorHandler({}); }
  std::vector<std::string> shown;
};

}  // namespace

TEST(KnobScale, MapsPositionsToValuesAndBack) {
  struct Case {
    const char* name;
    TKnobScale scale;
    int position;
    double value;  // worked out by hand
  };
  const TKnobScale even{0, 2, false, 1e-6};
  const TKnobScale skew{-10, 10, false, 1e-6};
  // 1e-6..1e-1 over positions 1..1000: five decades in 999 steps
  const TKnobScale ber{0, 0.1, true, 1e-6};
  // 0.01..100 over 0..1000: four decades in 1000 steps, no zero
  const TKnobScale wide{0.01, 100, true, 1e-6};
  const Case cases[] = {
      {"even start", even, 0, 0},
      {"even middle", even, 500, 1},
      {"even end", even, 1000, 2},
      {"even quarter", even, 250, 0.5},
      {"skew start", skew, 0, -10},
      {"skew middle", skew, 500, 0},
      {"skew tenth", skew, 600, 2},
      {"log off", ber, 0, 0},
      {"log smallest", ber, 1, 1e-6},
      {"log end", ber, 1000, 0.1},
      {"log 1e-3 (3 of 5 decades)", ber, 1 + 999 * 3 / 5, 1e-6 * std::pow(1e5, 599.0 / 999)},
      {"log from minimum: start", wide, 0, 0.01},
      {"log from minimum: middle", wide, 500, 1},
      {"log from minimum: end", wide, 1000, 100},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(c.scale.ValueAt(c.position), c.value, 1e-12 + 1e-9 * std::abs(c.value)) << c.name;
    EXPECT_EQ(c.scale.PositionOf(c.value), c.position) << c.name;
  }
}

TEST(KnobScale, PositionsOfValuesBetweenAndBeyondTheSteps) {
  struct Case {
    const char* name;
    TKnobScale scale;
    double value;
    int position;
  };
  const TKnobScale ber{0, 0.1, true, 1e-6};
  const Case cases[] = {
      {"below the range", {0, 2, false, 1e-6}, -1, 0},
      {"above the range", {0, 2, false, 1e-6}, 5, 1000},
      {"nearest step", {0, 2, false, 1e-6}, 1.0011, 501},  // 500.55 rounds up
      {"a tiny error rate is not off", ber, 1e-9, 1},
      {"1e-3 is 3/5 of the decades", ber, 1e-3, 1 + 599},  // 1 + 999 * 0.6 = 600.4
      {"1e-2 is 4/5", ber, 1e-2, 1 + 799},                 // 1 + 799.2
      {"beyond the top", ber, 1, 1000},
      {"negative on a log scale", ber, -1, 0},
      {"not a number", ber, std::nan(""), 0},
      {"empty range", {1, 1, false, 1e-6}, 1, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.scale.PositionOf(c.value), c.position) << c.name;
}

TEST(KnobText, WritesAndReadsNumbersInTheCLocale) {
  struct Case {
    double value;
    int digits;
    const char* text;
  };
  const Case written[] = {
      {0.25, 3, "0.25"},      {1e-5, 3, "1e-05"}, {-3, 3, "-3"},          {-0.0, 3, "0"},
      {0.123456, 3, "0.123"}, {2, 2, "2"},        {12345, 3, "1.23e+04"},
  };
  for (const Case& c : written)
    EXPECT_EQ(KnobText(c.value, c.digits), c.text) << c.value;

  struct Parse {
    const char* text;
    bool ok;
    double value;
  };
  const Parse parsed[] = {
      {"0.5", true, 0.5}, {" 1e-3 ", true, 1e-3}, {"+2", true, 2},    {"-7", true, -7},
      {"abc", false, 0},  {"", false, 0},         {"1.5x", false, 0}, {"0,5", false, 0},
      {"nan", false, 0},  {"inf", false, 0},      {"  ", false, 0},
  };
  for (const Parse& p : parsed) {
    double v = -99;
    EXPECT_EQ(ParseKnobText(p.text, v), p.ok) << p.text;
    if (p.ok) {
      EXPECT_DOUBLE_EQ(v, p.value) << p.text;
    }
  }
}

TEST(Knob, TheUserTurnsItAndTypesIntoIt) {
  Messages messages;
  TForm form;
  TKnob knob(&form);
  knob.SetBounds(0, 0, 400, 24);
  knob.SetCaption("Noise");
  knob.SetUnit("levels");
  knob.SetScale({0, 1, false, 1e-6});
  std::vector<double> changes;
  knob.OnChange = [&](double v) { changes.push_back(v); };

  knob.SetValue(0.4);  // a program setting it hears nothing
  EXPECT_EQ(knob.Text(), "0.4");
  EXPECT_EQ(knob.SliderPosition(), 400);
  EXPECT_TRUE(changes.empty());

  knob.MoveSlider(250);
  knob.EnterText("0.75");
  knob.EnterText("3");  // outside the range: passed on for the owner to judge
  ASSERT_EQ(changes, (std::vector<double>{0.25, 0.75, 3}));
  EXPECT_EQ(knob.SliderPosition(), 1000);  // the slider stands at its end
  EXPECT_TRUE(messages.shown.empty());

  knob.EnterText("lots");
  EXPECT_EQ(messages.shown, (std::vector<std::string>{"\"lots\" is not a number"}));
  EXPECT_EQ(changes.size(), 3u);  // nothing changed
  EXPECT_EQ(knob.Text(), "3");    // the box shows the value again
}

TEST(Knob, ItsHintExplainsEveryPart) {
  TForm form;
  TKnob knob(&form);
  knob.SetCaption("Cable");
  knob.SetHint("Rounds the edges");
  EXPECT_EQ(knob.Hint(), "Rounds the edges");
  int parts = 0;
  for (QWidget* w : knob.Widget()->findChildren<QWidget*>()) {
    EXPECT_EQ(w->toolTip().toStdString(), "Rounds the edges");
    ++parts;
  }
  EXPECT_EQ(parts, 4);  // caption, slider, box, unit
}

TEST(Hint, AnyControlCarriesItsOwnExplanation) {
  TForm form;
  TLabel label(&form);
  TButton button(&form);
  label.SetCaption("Parity errors caught");
  label.SetHint("One flipped bit in a frame");
  EXPECT_EQ(label.Widget()->toolTip().toStdString(), "One flipped bit in a frame");
  EXPECT_EQ(button.Hint(), "");
  EXPECT_TRUE(button.Widget()->toolTip().isEmpty());
  label.SetHint("");
  EXPECT_TRUE(label.Widget()->toolTip().isEmpty());
}

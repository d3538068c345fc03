// The popup menu: check items that hold their own state, events that run once
// per choice whether it comes from the program, from Qt's action or from an
// accelerator key in the open menu, and the hint beside the pointer.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTest>
#include <string>

#include "toolkit/Application.h"
#include "toolkit/Errors.h"
#include "toolkit/Form.h"
#include "toolkit/Hint.h"
#include "toolkit/Menu.h"

using namespace tk;

namespace {

struct MenuRig {
  MenuRig() {
    for (const char* caption : {"&Alpha", "&Beta", "&Go"})
      menu.Add(caption, std::string(caption) != "&Go");
    for (int i = 0; i < menu.Count(); ++i)
      menu.Item(i).OnClick = [this, i] { log += std::to_string(i) + (menu.Item(i).Checked() ? "+" : "-"); };
  }
  TPopupMenu menu;
  std::string log;
};

TEST(PopupMenu, EveryWayOfChoosingRunsTheItemOnce) {
  const struct {
    const char* name;
    void (*choose)(MenuRig&, int);
  } ways[] = {
      {"program", [](MenuRig& r, int i) { r.menu.Item(i).Click(); }},
      {"action", [](MenuRig& r, int i) { r.menu.Widget()->actions()[i]->trigger(); }},
  };
  for (const auto& way : ways) {
    MenuRig r;
    way.choose(r, 0);
    way.choose(r, 0);
    way.choose(r, 1);
    way.choose(r, 2);  // a command item has no check state
    EXPECT_EQ(r.log, "0+0-1+2-") << way.name;
    EXPECT_FALSE(r.menu.Item(0).Checked());
    EXPECT_TRUE(r.menu.Item(1).Checked());
    EXPECT_EQ(r.menu.Widget()->actions()[1]->isChecked(), true) << way.name;
    EXPECT_FALSE(r.menu.Item(2).Checked());
  }
}

TEST(PopupMenu, SettingTheCheckFiresNothingAndFollowsQt) {
  MenuRig r;
  r.menu.Item(0).SetChecked(true);
  r.menu.Item(2).SetChecked(true);  // refused: not a check item
  EXPECT_EQ(r.log, "");
  EXPECT_TRUE(r.menu.Widget()->actions()[0]->isChecked());
  EXPECT_FALSE(r.menu.Item(2).Checked());
  r.menu.Widget()->actions()[0]->trigger();
  EXPECT_EQ(r.log, "0-");
}

TEST(PopupMenu, OpensAtAControlAndAnAcceleratorChooses) {
  TForm form;
  form.SetClientSize(300, 200);
  form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
  MenuRig r;
  int popups = 0;
  r.menu.OnPopup = [&] { ++popups; };
  r.menu.Popup(form, 20, 30);
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.menu.IsOpen(); }, 2000));
  EXPECT_EQ(popups, 1);
  QTest::keyClick(r.menu.Widget(), Qt::Key_B);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !r.menu.IsOpen(); }, 2000));
  EXPECT_EQ(r.log, "1+");
}

TEST(PopupMenu, AnErrorInAnItemGoesToTheUser) {
  std::string shown;
  SetErrorHandler([&](const std::string& m) { shown = m; });
  MenuRig r;
  r.menu.Item(0).OnClick = [] { throw Exception("no"); };
  r.menu.Widget()->actions()[0]->trigger();
  SetErrorHandler(nullptr);
  EXPECT_EQ(shown, "no");
  EXPECT_TRUE(r.menu.Item(0).Checked());  // the toggle stands; only the handler failed
}

TEST(Hint, ShowsAndHidesItsText) {
  TForm form;
  form.Show();
  ShowHint(form, 10, 10, "Parity error");
  EXPECT_EQ(HintText(), "Parity error");
  ShowHint(form, 10, 10, "");
  EXPECT_EQ(HintText(), "");
  ShowHint(form, 10, 10, "Stop bit");
  HideHint();
  EXPECT_EQ(HintText(), "");
}

}  // namespace

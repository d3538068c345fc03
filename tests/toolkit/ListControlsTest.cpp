// The list box and combo box: what ItemIndex takes, and that OnChange fires
// once per change of the choice, by code or by the user, never for filling.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/Form.h"
#include "toolkit/ListControls.h"

namespace {

// Drives either control through the same steps: each row sets an index and
// names the index read back and the OnChange count after it.
template <typename Control>
void CheckChoosing(const char* what) {
  tk::TForm form;
  Control box(&form);
  int changes = 0;
  box.OnChange = [&] { ++changes; };
  box.SetItems({"one", "two", "three"});
  EXPECT_EQ(box.Items(), (std::vector<std::string>{"one", "two", "three"})) << what;
  const int filled = changes;  // a list box may count filling, a combo box may not
  struct Step {
    int set, index, changes;
  };
  const std::vector<Step> steps = {
      {1, 1, 1}, {1, 1, 1}, {2, 2, 2}, {7, -1, 3}, {-3, -1, 3}, {0, 0, 4},
  };
  for (const Step& s : steps) {
    box.SetItemIndex(s.set);
    EXPECT_EQ(box.ItemIndex(), s.index) << what << " set " << s.set;
    EXPECT_EQ(changes - filled, s.changes) << what << " set " << s.set;
  }
}

}  // namespace

TEST(ListControls, ItemIndexAndOnChange) {
  CheckChoosing<tk::TListBox>("list box");
  CheckChoosing<tk::TComboBox>("combo box");
}

TEST(ListControls, ComboBoxFillingIsNoChoice) {
  tk::TForm form;
  tk::TComboBox box(&form);
  int changes = 0;
  box.OnChange = [&] { ++changes; };
  box.SetItems({"a", "b"});
  box.SetItemIndex(1);
  box.SetItems({"c", "d", "e"});
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(box.ItemIndex(), -1);
  // the user's choice through the widget fires as code's does
  static_cast<QComboBox*>(box.Widget())->setCurrentIndex(2);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(box.ItemIndex(), 2);
}

TEST(ListControls, ContactSheetRefusesAMissingPicture) {
  EXPECT_FALSE(tk::SaveContactSheet({"/nonexistent/picture.png"}, 2, "/tmp/never-written.png"));
}

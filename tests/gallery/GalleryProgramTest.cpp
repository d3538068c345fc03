// The gallery's window and its pictures.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <set>
#include <string>
#include <vector>

#include "chart/panel/SeriesTypes.h"
#include "gallery/GalleryWindow.h"
#include "gallery/Screenshots.h"
#include "toolkit/Application.h"

namespace {

std::size_t DistinctColours(const QImage& image) {
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2)
      colours.insert(image.pixel(x, y));
  return colours.size();
}

}  // namespace

TEST(GalleryPictures, NamesWithoutSpacesOrDots) {
  struct Case {
    std::string description, name;
  };
  for (const Case& c : std::vector<Case>{{"Line", "line"},
                                         {"Horiz. Bar", "horiz-bar"},
                                         {"Fast Line", "fast-line"},
                                         {" a..b ", "a-b"}})
    EXPECT_EQ(PictureName(c.description), c.name) << c.description;
}

TEST(GalleryPictures, OneNonEmptyPictureFlatAndIn3DPerEntryAndASheet) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string folder = dir.path().toStdString();
  const std::vector<std::string> written = WriteGalleryPictures(folder);
  ASSERT_EQ(written.size(), 2 * SeriesTypes().size());
  EXPECT_EQ(written.front(), folder + "/01-add-flat.png");
  EXPECT_EQ(written.back(), folder + "/14-fast-line-3d.png");
  for (const std::string& path : written) {
    const QImage image(QString::fromStdString(path));
    ASSERT_FALSE(image.isNull()) << path;
    EXPECT_EQ(image.size(), QSize(480, 360)) << path;
    // frame, walls, axes and two series colours at the least: an empty
    // chart has the panel, wall and text colours only
    EXPECT_GE(DistinctColours(image), 5u) << path;
  }
  const QImage sheet(dir.filePath("contact-sheet.png"));
  EXPECT_EQ(sheet.width(), 4 * 480);
  EXPECT_GE(sheet.height(), 7 * 360);
}

// Choosing an entry in the list opens it; the controls follow the entry and
// a refused value goes back to the engine's value with the engine's message.
TEST(GalleryWindow, ListOpensEntriesAndControlsFollow) {
  GalleryWindow window;
  ASSERT_EQ(window.Entries.Items(), GalleryChart::EntryNames());
  EXPECT_EQ(window.Gallery().Entry(), 0);
  std::vector<std::string> messages;
  tk::SetErrorHandler([&](const std::string& m) { messages.push_back(m); });
  const int pie = static_cast<int>(SeriesTypes().size()) - 2;
  window.Entries.SetItemIndex(pie);
  EXPECT_EQ(window.Gallery().Entry(), pie);
  EXPECT_EQ(window.Chart1.SeriesCount(), 1);
  for (auto& c : window.Controls()) {
    const bool applies = window.Gallery().Applies(*c.setting);
    tk::TControl* control = c.check ? static_cast<tk::TControl*>(c.check.get())
                            : c.combo ? static_cast<tk::TControl*>(c.combo.get())
                                      : c.spin.get();
    EXPECT_EQ(control->Enabled(), applies) << c.setting->Caption;
    if (c.setting->Caption == "Rotation angle") {
      c.spin->SetValue(90);
      EXPECT_EQ(c.setting->Get(window.Gallery()), 90);
      c.spin->SetValue(-5);
      EXPECT_EQ(c.spin->Value(), 90);
    }
    if (c.setting->Caption == "3D") {
      c.check->SetChecked(true);
      EXPECT_TRUE(window.Chart1.View3D());
    }
  }
  tk::SetErrorHandler(nullptr);
  EXPECT_EQ(messages, std::vector<std::string>{"Rotation Angle must be between 0 and 359 degrees"});
  // the 3D switch uncircled the pie, and its control shows that
  for (auto& c : window.Controls())
    if (c.setting->Caption == "Circled") {
      EXPECT_FALSE(c.check->Checked());
    }
}

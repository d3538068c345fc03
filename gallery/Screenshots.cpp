#include "gallery/Screenshots.h"

#include <cctype>
#include <cstdio>
#include <stdexcept>

#include "gallery/GalleryChart.h"
#include "toolkit/ListControls.h"

std::string PictureName(const std::string& description) {
  std::string out;
  for (char c : description) {
    if (std::isalnum(static_cast<unsigned char>(c)))
      out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    else if (!out.empty() && out.back() != '-')
      out += '-';
  }
  while (!out.empty() && out.back() == '-')
    out.pop_back();
  return out;
}

namespace {

std::string Numbered(int i) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", i + 1);
  return text;
}

}  // namespace

std::vector<std::string> WriteGalleryPictures(const std::string& folder) {
  TChart chart;
  chart.SetSize(480, 360);
  GalleryChart gallery(chart);
  std::vector<std::string> written;
  const auto& types = SeriesTypes();
  for (int i = 0; i < static_cast<int>(types.size()); ++i) {
    const std::string base = folder + "/" + Numbered(i) + "-" + PictureName(types[i].Description);
    for (bool view3D : {false, true}) {
      gallery.SetView3D(view3D);
      gallery.Open(i);
      const std::string path = base + (view3D ? "-3d.png" : "-flat.png");
      if (!chart.SaveImage(path)) throw std::runtime_error("could not write " + path);
      written.push_back(path);
    }
  }
  const std::string sheet = folder + "/contact-sheet.png";
  if (!tk::SaveContactSheet(written, 4, sheet)) throw std::runtime_error("could not write " + sheet);
  return written;
}

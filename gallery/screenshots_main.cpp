// Pictures of every gallery entry, flat and in 3D, for a person to look at,
// one contact sheet of them all, and the window itself on the pie entry, into
// the folder given as the only argument.
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

#include "gallery/GalleryWindow.h"
#include "gallery/Screenshots.h"
#include "toolkit/Application.h"

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : ".";
  tk::TApplication application(argc, argv);
  try {
    std::printf("%zu pictures and contact-sheet.png in %s\n", WriteGalleryPictures(folder).size(),
                folder.c_str());
    GalleryWindow window;
    window.Show();
    window.Entries.SetItemIndex(static_cast<int>(SeriesTypes().size()) - 2);
    tk::ProcessMessages();
    if (!window.SaveImage(folder + "/window.png")) throw std::runtime_error("no window.png");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}

// Pictures of every gallery entry, flat and in 3D, for a person to look at,
// and one contact sheet of them all, into the folder given as the only argument.
#include <cstdio>
#include <exception>
#include <string>

#include "gallery/Screenshots.h"
#include "toolkit/Application.h"

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : ".";
  tk::TApplication application(argc, argv);
  try {
    std::printf("%zu pictures and contact-sheet.png in %s\n", WriteGalleryPictures(folder).size(),
                folder.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}

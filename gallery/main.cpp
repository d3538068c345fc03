#include "gallery/GalleryWindow.h"
#include "toolkit/Application.h"

int main(int argc, char** argv) {
  tk::TApplication application(argc, argv);
  GalleryWindow window;
  window.Show();
  return application.Run();
}

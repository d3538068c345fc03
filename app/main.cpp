#include "toolkit/Application.h"
#include "toolkit/Window.h"

int main(int argc, char** argv) {
  tk::TApplication application(argc, argv);
  tk::TWindow window;
  window.SetCaption("Wavelot v1.5");
  window.SetBounds(201, 108, 695, 622);
  window.Show();
  return application.Run();
}

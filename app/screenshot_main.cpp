// Pictures of the real window for a person to look at: at start, after START
// has sent "KELDO" (the clock's tick handler driven 40 times), and with the
// About panel open. Writes PNGs into the folder given as the only argument.
#include <cstdio>
#include <string>

#include "app/Unit1.h"
#include "toolkit/Application.h"

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : ".";
  tk::TApplication application(argc, argv);
  TForm1 form1;
  form1.Show();
  tk::ProcessMessages();
  bool ok = form1.SaveImage(folder + "/1-start.png");
  form1.Button1.Click();
  for (int tick = 0; tick < 40; ++tick)
    form1.Timer1Timer();
  form1.Timer1.SetEnabled(false);
  tk::ProcessMessages();
  ok = ok && form1.SaveImage(folder + "/2-keldo-sent.png");
  form1.Button3.Click();
  tk::ProcessMessages();
  ok = ok && form1.SaveImage(folder + "/3-about.png");
  if (!ok) std::fprintf(stderr, "could not write the screenshots into %s\n", folder.c_str());
  return ok ? 0 : 1;
}

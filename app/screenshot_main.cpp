// Pictures of the real window for a person to look at: at start, after START
// has sent "KELDO" (the clock's tick handler driven 40 times), and with the
// About panel open, and with every view of the chart's context menu on, at
// 16 and at 1000 bits per second (the last also zoomed into 800..900 ms),
// and with a noisy, slow channel: the window (at 16 and 1000 bits per
// second), the channel's dialog and the eye diagram. Writes PNGs into the folder given as the only argument.
#include <cstdio>
#include <string>

#include "app/Unit1.h"
#include "toolkit/Application.h"

namespace {

// Sends the text with start, stop and parity bits and every view on.
void SendWithAllViews(TForm1& form, int speed, const std::string& text) {
  form.Button2.Click();
  form.SpinEdit1.SetValue(speed);
  form.CheckBox1.SetChecked(true);
  form.CheckBox2.SetChecked(true);
  form.Edit1.SetText(text);
  for (int i = 0; i < form.ChartMenu.Count(); ++i)
    if (form.ChartMenu.Item(i).Checkable() && !form.ChartMenu.Item(i).Checked())
      form.ChartMenu.Item(i).Click();
  form.Button1.Click();
  for (std::size_t tick = 0; tick < 12 * text.size(); ++tick)
    form.Timer1Timer();
  form.Timer1.SetEnabled(false);
  tk::ProcessMessages();
}

bool ViewPictures(TForm1& form, const std::string& folder) {
  SendWithAllViews(form, 16, "KELDO");
  bool ok = form.SaveImage(folder + "/4-views-16.png");
  std::string text;
  while (text.size() < 90)
    text += "Hello, world! ";
  SendWithAllViews(form, 1000, text);
  ok = ok && form.SaveImage(folder + "/5-views-1000.png");
  form.Chart1.BottomAxis().SetLimits(800, 900);
  tk::ProcessMessages();
  ok = ok && form.SaveImage(folder + "/6-views-1000-zoom.png");
  return ok;
}

bool ChannelPictures(TForm1& form, const std::string& folder) {
  form.Chart1.BottomAxis().SetLimits(0, 999);
  form.RG1.SetItemIndex(leNrzL);
  form.ChannelClick();
  form.ChannelDialog()->OnSettings({0.25, 0.15, 0.01, 0.02, 1});
  SendWithAllViews(form, 16, "KELDO");
  form.Channel().Recount().Finish();
  form.EyeClick();
  form.Edit1.SetText("Hello, world! Hello, world! Hello!");
  for (int i = 0; i < 400; ++i) form.Timer1Timer();  // more bits for the eye
  form.Timer1.SetEnabled(false);
  form.EyeWindow()->RefreshPicture();
  tk::ProcessMessages();
  bool ok = form.SaveImage(folder + "/7-channel.png");
  ok = ok && form.ChannelDialog()->SaveImage(folder + "/8-channel-dialog.png");
  ok = ok && form.EyeWindow()->SaveImage(folder + "/9-eye.png");
  // at 1000 bits/s a pixel column holds more than a bit: the line keeps its extremes
  std::string text;
  while (text.size() < 90) text += "Hello, world! ";
  SendWithAllViews(form, 1000, text);
  form.Channel().Recount().Finish();
  tk::ProcessMessages();
  ok = ok && form.SaveImage(folder + "/10-channel-1000.png");
  return ok;
}

}  // namespace

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
  form1.Button4.Click();
  ok = ok && ViewPictures(form1, folder);
  ok = ok && ChannelPictures(form1, folder);
  if (!ok) std::fprintf(stderr, "could not write the screenshots into %s\n", folder.c_str());
  return ok ? 0 : 1;
}

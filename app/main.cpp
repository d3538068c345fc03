#include "app/Unit1.h"
#include "toolkit/Application.h"

int main(int argc, char** argv) {
  tk::TApplication application(argc, argv);
  TForm1 form1;
  form1.Show();
  return application.Run();
}

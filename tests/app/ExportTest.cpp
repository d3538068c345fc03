// Taking the charts out of the program: the samples as CSV against texts
// written by hand, the pictures as PNG and SVG read back, default names, and
// a folder that cannot be written to.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QXmlStreamReader>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/Export.h"
#include "app/Unit1.h"
#include "toolkit/Application.h"

namespace {

class ExportTest : public ::testing::Test {
 protected:
  void Send(const std::string& text, int encoding, int ticks) {
    form.Edit1.SetText(text);
    form.RG1.SetItemIndex(encoding);
    form.Button1.Click();
    for (int i = 0; i < ticks; ++i) form.Timer1Timer();
    form.Timer1.SetEnabled(false);
  }
  TCompareWindow& OpenCompare() {
    form.CompareClick();
    return *form.Compare();
  }
  TForm1 form;
};

TEST_F(ExportTest, CsvOfAThreeBitTransmission) {
  Send("K", leManchester, 3);  // 0x4B = 0 1 0 0 1 0 1 1, 62 ms a bit at 16 bits/s
  const std::string expected =
      "time_ms,level,bit_index,bit,role,char,encoding\n"
      "0,1,0,0,7,K,Manchester\n"
      "31,1,0,0,7,K,Manchester\n"
      "31,-1,0,0,7,K,Manchester\n"
      "62,-1,0,0,7,K,Manchester\n"
      "62,-1,1,1,6,K,Manchester\n"
      "93,-1,1,1,6,K,Manchester\n"
      "93,1,1,1,6,K,Manchester\n"
      "124,1,1,1,6,K,Manchester\n"
      "124,1,2,0,5,K,Manchester\n"
      "155,1,2,0,5,K,Manchester\n"
      "155,-1,2,0,5,K,Manchester\n"
      "186,-1,2,0,5,K,Manchester\n";
  EXPECT_EQ(form.SignalCsv(), expected);
}

// The encoding chosen in the middle of a frame takes the next bit: the rows
// keep each bit with the points it drew and the encoding that drew them.
TEST_F(ExportTest, CsvKeepsBitIndicesWhenTheEncodingChangesMidTransmission) {
  Send("K", leUnipolar, 2);  // 0 1 as Unipolar, two points a bit
  form.RG1.SetItemIndex(leManchester);
  form.Timer1Timer();  // 0 as Manchester, four points
  const std::string expected =
      "time_ms,level,bit_index,bit,role,char,encoding\n"
      "0,0,0,0,7,K,Unipolar\n"
      "62,0,0,0,7,K,Unipolar\n"
      "62,1,1,1,6,K,Unipolar\n"
      "124,1,1,1,6,K,Unipolar\n"
      "124,1,2,0,5,K,Manchester\n"
      "155,1,2,0,5,K,Manchester\n"
      "155,-1,2,0,5,K,Manchester\n"
      "186,-1,2,0,5,K,Manchester\n";
  EXPECT_EQ(form.SignalCsv(), expected);
  form.RG1.SetItemIndex(leNrzL);  // a choice made after the last bit draws nothing
  EXPECT_EQ(form.SignalCsv(), expected);
}

TEST_F(ExportTest, CompareCsvHoldsEveryLineAtItsOwnLevels) {
  form.SpinEdit1.SetValue(10);  // 100 ms a bit
  Send(",", leUnipolar, 2);     // 0x2C = 0 0 1 0 1 1 0 0: a comma goes by its code
  const std::string csv = OpenCompare().Csv();
  const std::string rows[] = {
      "time_ms,level,bit_index,bit,role,char,encoding",
      "0,0,0,0,7,0x2C,Unipolar", "100,0,0,0,7,0x2C,Unipolar",
      "100,0,1,0,6,0x2C,Unipolar", "200,0,1,0,6,0x2C,Unipolar",
      "0,1,0,0,7,0x2C,NRZ-L", "100,1,0,0,7,0x2C,NRZ-L",
      "100,1,1,0,6,0x2C,NRZ-L", "200,1,1,0,6,0x2C,NRZ-L",
      "0,1,0,0,7,0x2C,NRZ-I", "100,1,0,0,7,0x2C,NRZ-I",
      "100,1,1,0,6,0x2C,NRZ-I", "200,1,1,0,6,0x2C,NRZ-I",
      "0,-1,0,0,7,0x2C,RZ", "50,-1,0,0,7,0x2C,RZ", "50,0,0,0,7,0x2C,RZ", "100,0,0,0,7,0x2C,RZ",
      "100,-1,1,0,6,0x2C,RZ", "150,-1,1,0,6,0x2C,RZ", "150,0,1,0,6,0x2C,RZ",
      "200,0,1,0,6,0x2C,RZ",
      "0,1,0,0,7,0x2C,Manchester", "50,1,0,0,7,0x2C,Manchester",
      "50,-1,0,0,7,0x2C,Manchester", "100,-1,0,0,7,0x2C,Manchester",
      "100,1,1,0,6,0x2C,Manchester", "150,1,1,0,6,0x2C,Manchester",
      "150,-1,1,0,6,0x2C,Manchester", "200,-1,1,0,6,0x2C,Manchester"};
  std::string expected;
  for (const std::string& r : rows) expected += r + '\n';
  EXPECT_EQ(csv, expected);
}

TEST(ExportNames, DefaultFileNamesAndNumbers) {
  const struct {
    const char *text, *what, *ext, *name;
  } rows[] = {{"KELDO", "Manchester", "png", "KELDO-manchester.png"},
              {"a b/c", "NRZ-L", "csv", "a_b_c-nrz-l.csv"},
              {"", "RZ", "svg", "signal-rz.svg"},
              {"KE", "compare", "png", "KE-compare.png"}};
  for (const auto& r : rows) EXPECT_EQ(DefaultFileName(r.text, r.what, r.ext), r.name);
  const struct {
    double v;
    const char* text;
  } numbers[] = {{62, "62"}, {31.5, "31.5"}, {-1, "-1"}, {-0.0, "0"}, {1e6, "1000000"}};
  for (const auto& n : numbers) EXPECT_EQ(NumberText(n.v), n.text) << n.v;
}

TEST_F(ExportTest, WindowDefaultNameCarriesTextAndEncoding) {
  EXPECT_EQ(form.DefaultName("png"), "KELDO-unipolar.png");
  form.RG1.SetItemIndex(leManchester);
  EXPECT_EQ(form.DefaultName("svg"), "KELDO-manchester.svg");
}

bool HasRed(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == qRgb(255, 0, 0)) return true;
  return false;
}

TEST_F(ExportTest, PngIsTheChartsSizeAndHoldsTheRedLine) {
  Send("KE", leNrzL, 10);
  const std::string png = ChartPicture(form.Chart1, tk::pkPng);
  const QImage image = QImage::fromData(reinterpret_cast<const uchar*>(png.data()),
                                        static_cast<int>(png.size()), "PNG");
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), form.Chart1.Width());
  EXPECT_EQ(image.height(), form.Chart1.Height());
  EXPECT_TRUE(HasRed(image));
  CopyChartPicture(form.Chart1);
  const QImage copied = QApplication::clipboard()->image();
  if (!copied.isNull()) {  // some platforms keep no clipboard
    EXPECT_EQ(copied.size(), image.size());
  }
}

// The texts of the drawing's <text> elements, or "error" when it is no XML.
std::vector<std::string> SvgTexts(const std::string& svg) {
  QXmlStreamReader xml(QByteArray(svg.data(), static_cast<int>(svg.size())));
  std::vector<std::string> texts;
  while (!xml.atEnd())
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text"))
      texts.push_back(xml.readElementText(QXmlStreamReader::IncludeChildElements).toStdString());
  if (xml.hasError()) return {"error: " + xml.errorString().toStdString()};
  return texts;
}

TEST_F(ExportTest, SvgParsesAndKeepsTheTitleAsText) {
  Send("K", leRz, 4);
  for (TChart* chart : {&form.Chart1, &OpenCompare().Chart}) {
    const std::vector<std::string> texts = SvgTexts(ChartPicture(*chart, tk::pkSvg));
    const std::string title = chart->Title().Text().front();
    EXPECT_NE(std::find(texts.begin(), texts.end(), title), texts.end()) << title;
  }
}

TEST_F(ExportTest, UnwritableFolderGivesTheReasonAndChangesNothing) {
  Send("KE", leNrzI, 5);
  const auto dir = std::filesystem::temp_directory_path() /
                   ("wavelot-readonly-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  ::chmod(dir.c_str(), 0555);
  std::string target = (dir / "KE-nrz-i.png").string();
  // the superuser writes into any folder; below a plain file nobody can
  if (::access(dir.c_str(), W_OK) == 0) {
    std::ofstream(dir / "plain") << "x";
    ::chmod(dir.c_str(), 0555);
    target = (dir / "plain" / "KE-nrz-i.png").string();
  }
  std::vector<std::string> messages;
  tk::SetErrorHandler([&](const std::string& m) { messages.push_back(m); });
  const int points = form.Series1->PointCount();
  const std::string buffer = form.Buffer.Text(), text = form.Edit1.Text();
  const double min = form.Chart1.BottomAxis().Minimum(), max = form.Chart1.BottomAxis().Maximum();
  EXPECT_FALSE(SaveChartPicture(form.Chart1, target));
  EXPECT_FALSE(SaveText(target, form.SignalCsv()));
  tk::SetErrorHandler(nullptr);
  ASSERT_EQ(messages.size(), 2u);
  for (const std::string& m : messages) {
    EXPECT_EQ(m.rfind("Cannot write \"" + target + "\": ", 0), 0u) << m;
    EXPECT_TRUE(m.find("Permission denied") != std::string::npos ||
                m.find("Not a directory") != std::string::npos) << m;
  }
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_EQ(form.Series1->PointCount(), points);
  EXPECT_EQ(form.Buffer.Text(), buffer);
  EXPECT_EQ(form.Edit1.Text(), text);
  EXPECT_EQ(form.Chart1.BottomAxis().Minimum(), min);
  EXPECT_EQ(form.Chart1.BottomAxis().Maximum(), max);
  ::chmod(dir.c_str(), 0755);
  std::filesystem::remove_all(dir);
}

TEST_F(ExportTest, WrittenFilesHoldExactlyTheBytes) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("wavelot-export-" + std::to_string(::getpid()) + ".csv");
  ASSERT_TRUE(SaveText(path.string(), "a,b\n1,2\n"));
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "a,b\n1,2\n");
  std::filesystem::remove(path);
}

TEST_F(ExportTest, MenuCommandsFollowTheViewsWithTheirOwnAccelerators) {
  const char* captions[] = {"&Bit grid",     "Bit r&oles",    "&Receiver",
                            "&Clock",        "Com&pare encodings", "Cop&y picture",
                            "&Save picture...", "Save &data...", "C&hannel…",
                            "&Eye diagram"};
  ASSERT_EQ(form.ChartMenu.Count(), 10);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(form.ChartMenu.Item(i).Caption(), captions[i]);
  TCompareWindow& compare = OpenCompare();
  ASSERT_EQ(compare.ChartMenu.Count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(compare.ChartMenu.Item(i).Caption(), captions[5 + i]);
}

}  // namespace

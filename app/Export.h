#pragma once
// Taking a chart out of the program: its picture onto the clipboard or into a
// PNG or SVG file, and its samples into a CSV file. A file that cannot be
// written is reported with the reason; the window keeps everything it had.

#include <cstdint>
#include <string>
#include <vector>

#include "chart/panel/Chart.h"
#include "toolkit/Picture.h"

// What a sample's bit was: its value, role and the character it carried.
struct TBitRecord {
  char bit = 0, role = 0;
  std::uint8_t code = 0;
};

// How one bit went onto a series: in how many points, by which encoding.
struct TBitDrawing {
  int points = 0;
  const char* encoding = "";
};

// One series' samples with the bits they belong to.
struct TCsvSeries {
  const TChartSeries* series = nullptr;
  std::string encoding;      // its name, in every row
  double levelOffset = 0;    // subtracted from each y: the level on the line itself
  int pointsPerBit = 2;      // the encoder's points for one bit
  // Bit by bit, how the line was drawn, where that changed along the way (the
  // encoding can change between two bits); when given it replaces the two above.
  std::vector<TBitDrawing> drawn;
};

inline constexpr const char* kCsvHeader = "time_ms,level,bit_index,bit,role,char,encoding";

// The CSV text: the header, then one row per point in series order, numbers in
// the C locale. A point past the known bits leaves their columns empty.
std::string CsvText(const std::vector<TCsvSeries>& series, const std::vector<TBitRecord>& bits);

// "KELDO-manchester.png": the text (characters that a file name cannot hold
// become '_', an empty text "signal") and a short name, lower case.
std::string DefaultFileName(const std::string& text, const std::string& what,
                            const std::string& extension);

// A number as C writes it at its shortest, "62", "31.5", "-1".
std::string NumberText(double v);

// Writes the bytes to the file; false with the system's reason otherwise.
bool WriteFileBytes(const std::string& path, const std::string& bytes, std::string& reason);

// The chart drawn through the engine, unbuffered so that SVG keeps its texts.
std::string ChartPicture(TChart& chart, tk::TPictureKind kind);
void CopyChartPicture(TChart& chart);

// Saves and reports a failure in a message box; true when written.
bool SaveChartPicture(TChart& chart, const std::string& path);  // kind from the extension
bool SaveText(const std::string& path, const std::string& text);

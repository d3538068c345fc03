#include "app/Export.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "toolkit/Application.h"

namespace {

// A character in a CSV cell: printable ones as they are, except the comma and
// the quote that would split or open a cell, which go by their code.
std::string CsvCharacter(std::uint8_t code) {
  if (code > 32 && code < 127 && code != ',' && code != '"') return std::string(1, char(code));
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", code);
  return hex;
}

void AppendRow(std::string& out, double x, double y, int bitIndex, const TBitRecord* bit,
               const std::string& encoding) {
  out += NumberText(x) + ',' + NumberText(y) + ',';
  if (bit)
    out += std::to_string(bitIndex) + ',' + bit->bit + ',' + bit->role + ',' +
           CsvCharacter(bit->code);
  else
    out += ",,,";
  out += ',' + encoding + '\n';
}

// Does the path end in this extension, in any case?
bool EndsWith(const std::string& path, const std::string& ext) {
  if (path.size() < ext.size()) return false;
  for (std::size_t i = 0; i < ext.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(path[path.size() - ext.size() + i])) != ext[i])
      return false;
  return true;
}

bool Report(const std::string& path, const std::string& reason) {
  tk::ShowException("Cannot write \"" + path + "\": " + reason);
  return false;
}

}  // namespace

std::string NumberText(double v) {
  if (v == 0) v = 0;  // no "-0"
  char buffer[64];
  // fixed, for a spreadsheet must not read "1e+06" as text
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed);
  return std::string(buffer, r.ptr);
}

std::string CsvText(const std::vector<TCsvSeries>& series, const std::vector<TBitRecord>& bits) {
  std::string out = std::string(kCsvHeader) + '\n';
  for (const TCsvSeries& s : series) {
    std::vector<TBitDrawing> drawn = s.drawn;
    if (drawn.empty()) drawn.assign(bits.size(), {std::max(1, s.pointsPerBit), s.encoding.c_str()});
    // walk the bits beside the points: a bit owns the next `points` of them
    std::size_t b = 0;
    int used = 0;
    for (int i = 0; i < s.series->PointCount(); ++i) {
      while (b < drawn.size() && used >= drawn[b].points) {
        ++b;
        used = 0;
      }
      ++used;
      const bool known = b < drawn.size() && b < bits.size();
      AppendRow(out, s.series->XValueAt(i), s.series->YValueAt(i) - s.levelOffset,
                static_cast<int>(b), known ? &bits[b] : nullptr,
                b < drawn.size() ? std::string(drawn[b].encoding) : s.encoding);
    }
  }
  return out;
}

std::string DefaultFileName(const std::string& text, const std::string& what,
                            const std::string& extension) {
  std::string name;
  for (unsigned char c : text) name += (std::isalnum(c) || c == '-' || c == '_') ? char(c) : '_';
  if (name.empty()) name = "signal";
  std::string lower;
  for (unsigned char c : what) lower += static_cast<char>(std::tolower(c));
  return name + '-' + lower + '.' + extension;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes, std::string& reason) {
  errno = 0;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    reason = std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const int writeError = errno;
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) {
    reason = std::strerror(written ? errno : writeError);
    return false;
  }
  return true;
}

namespace {

// The chart's own buffer is a bitmap: drawn through it, an SVG would hold one
// image. It draws straight onto the picture, then buffers again.
void DrawChartInto(TChart& chart, tk::TExportPicture& picture) {
  TZozCanvas3D& canvas = chart.Canvas();
  const bool buffered = canvas.BufferedDrawing();
  canvas.SetBufferedDrawing(false);
  chart.PaintInto(picture.Surface(), {0, 0, chart.Width(), chart.Height()});
  canvas.SetBufferedDrawing(buffered);
  chart.Invalidate();
}

}  // namespace

std::string ChartPicture(TChart& chart, tk::TPictureKind kind) {
  const std::vector<std::string>& title = chart.Title().Text();
  tk::TExportPicture picture(kind, chart.Width(), chart.Height(),
                             title.empty() ? std::string() : title.front());
  DrawChartInto(chart, picture);
  return picture.Bytes();
}

void CopyChartPicture(TChart& chart) {
  tk::TExportPicture picture(tk::pkPng, chart.Width(), chart.Height(), {});
  DrawChartInto(chart, picture);
  picture.CopyToClipboard();
}

bool SaveChartPicture(TChart& chart, const std::string& path) {
  const std::string bytes = ChartPicture(chart, EndsWith(path, ".svg") ? tk::pkSvg : tk::pkPng);
  std::string reason;
  return WriteFileBytes(path, bytes, reason) || Report(path, reason);
}

bool SaveText(const std::string& path, const std::string& text) {
  std::string reason;
  return WriteFileBytes(path, text, reason) || Report(path, reason);
}

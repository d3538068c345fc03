#pragma once
// The texts an axis writes at its labels, kept from one paint to the next.
// At 1000 bits/s the signal chart writes a thousand labels a frame while only
// its series changes; formatting and measuring each label again was a third
// of such a paint. An entry is what one value formats to under one format and
// locale, with the width and line count of that text in one font, measured on
// one kind of surface at one pixel ratio. Changing the format or the locale
// forgets the texts; changing the font or the surface forgets the widths.

#include <cstdint>
#include <string>
#include <typeinfo>
#include <unordered_map>

#include "toolkit/Graphics.h"

class TLabelTextCache {
 public:
  struct TEntry {
    std::string text;
    int width = -1;  // -1 until measured in the current measure
    int lines = 1;
  };

  // What the texts are made from: a format (the number pattern or the date
  // pattern in force), whether it is a date pattern, whether blanks break
  // lines, and the locale's generation. A different one empties the cache.
  void UseFormat(const std::string& format, bool dateTime, bool multiLine,
                 std::uint64_t localeGeneration);
  // What the widths are measured with; a different one drops every width.
  void UseMeasure(const tk::TFontSpec& font, const std::type_info& surface, double pixelRatio);

  // The entry of a value, its text made by make(value) when not held.
  template <typename Make>
  TEntry& Entry(double value, Make&& make) {
    const auto found = entries_.find(Key(value));
    if (found != entries_.end()) return found->second;
    if (entries_.size() >= kLimit) entries_.clear();  // a long scroll must not pile them up
    ++made_;
    return entries_.emplace(Key(value), TEntry{make(value), -1, 1}).first->second;
  }
  // The width and line count of an entry, measured by measure(text, &lines) when not known.
  template <typename Measure>
  int Width(TEntry& e, Measure&& measure, int* lines = nullptr) {
    if (e.width < 0) {
      e.lines = 1;
      e.width = measure(e.text, &e.lines);
      ++measured_;
    }
    if (lines) *lines = e.lines;
    return e.width;
  }

  void Clear();
  std::size_t Size() const { return entries_.size(); }
  // How many texts were made and widths measured since the cache was built (misses).
  long Made() const { return made_; }
  long Measured() const { return measured_; }

  // More distinct values than an axis can show at once many times over.
  static constexpr std::size_t kLimit = 8192;

 private:
  static std::uint64_t Key(double value);

  std::unordered_map<std::uint64_t, TEntry> entries_;
  std::string format_;
  bool dateTime_ = false, multiLine_ = false, formatKnown_ = false;
  std::uint64_t locale_ = 0;
  tk::TFontSpec font_;
  const std::type_info* surface_ = nullptr;
  double pixelRatio_ = 0;
  long made_ = 0, measured_ = 0;
};

#include "chart/panel/LabelTextCache.h"

#include <cstring>

std::uint64_t TLabelTextCache::Key(double value) {
  // by the bits: 0.1 + 0.2 and 0.3 are different values and may format differently
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

void TLabelTextCache::UseFormat(const std::string& format, bool dateTime, bool multiLine,
                                std::uint64_t localeGeneration) {
  if (formatKnown_ && format == format_ && dateTime == dateTime_ && multiLine == multiLine_ &&
      localeGeneration == locale_)
    return;
  entries_.clear();
  format_ = format;
  dateTime_ = dateTime;
  multiLine_ = multiLine;
  locale_ = localeGeneration;
  formatKnown_ = true;
}

void TLabelTextCache::UseMeasure(const tk::TFontSpec& font, const std::type_info& surface,
                                 double pixelRatio) {
  if (surface_ && *surface_ == surface && font == font_ && pixelRatio == pixelRatio_) return;
  for (auto& [key, e] : entries_)
    e.width = -1;
  font_ = font;
  surface_ = &surface;
  pixelRatio_ = pixelRatio;
}

void TLabelTextCache::Clear() {
  entries_.clear();
  formatKnown_ = false;
  surface_ = nullptr;
}

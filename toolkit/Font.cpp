#include "toolkit/Font.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "toolkit/QtBridge.h"

namespace tk {

std::string MappedFontFamily(const std::string& name) {
  static const char* const kSansAliases[] = {
      "MS Sans Serif", "Microsoft Sans Serif", "Arial", "Tahoma", "Verdana", "System", ""};
  for (const char* alias : kSansAliases)
    if (name == alias) return "Liberation Sans";
  if (name == "Courier New" || name == "Courier") return "DejaVu Sans Mono";
  if (name == "Times New Roman" || name == "MS Serif") return "DejaVu Serif";
  return name;
}

QFont ToQFont(const TFont& font) {
  QFont f(ToQString(MappedFontFamily(font.name)));
  f.setStyleHint(QFont::SansSerif);
  f.setBold(font.style.bold);
  f.setItalic(font.style.italic);
  f.setUnderline(font.style.underline);
  f.setStrikeOut(font.style.strikeOut);
  f.setHintingPreference(QFont::PreferFullHinting);
  if (font.height < 0) {
    f.setPixelSize(-font.height);  // character (em) height
  } else if (font.height > 0) {
    // cell height: scale the em so that ascent + descent fills it
    f.setPixelSize(100);
    const QFontMetricsF m(f);
    const double cell = m.ascent() + m.descent();
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.height * 100.0 / cell))));
  }
  return f;
}

namespace {

class ResizeWatcher : public QObject {
 public:
  ResizeWatcher(QWidget* widget, std::function<void()> f) : QObject(widget), f_(std::move(f)) {
    widget->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Resize || e->type() == QEvent::FontChange) f_();
    return false;
  }

 private:
  std::function<void()> f_;
};

}  // namespace

void WhenResized(QWidget* widget, std::function<void()> f) {
  new ResizeWatcher(widget, std::move(f));
}

}  // namespace tk

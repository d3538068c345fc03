#include "chart/canvas/ChartFont.h"

#include "chart/ChartErrors.h"

std::string DefaultFontName() {
  return "Arial";
}

int DefaultFontSize() {
  return 8;
}

std::unique_ptr<tk::TFontObject> NewDefaultFont(std::function<void()> onChange) {
  auto font = std::make_unique<tk::TFontObject>();
  font->Assign(
      tk::TFont{DefaultFontName(), tk::PointsToHeight(DefaultFontSize()), tk::clBlack, {}});
  font->SetOnChange(std::move(onChange));
  return font;
}

bool IsStandardFont(const tk::TFontObject& font) {
  return font.Size() == DefaultFontSize() && font.Name() == DefaultFontName() &&
         font.Color() == tk::clBlack && font.Style() == tk::TFontStyle{};
}

void ValidateAngle(int angle, const std::string& description) {
  if (angle < 0 || angle > 359)
    throw ChartException(
        tk::FormatMessage("%s Angle must be between 0 and 359 degrees", {description}));
}

void ValidateChart3DPercent(int percent) {
  if (percent < 1 || percent > 100)
    throw ChartException(
        tk::FormatMessage("3D effect percent must be between %d and %d", {"1", "100"}));
}

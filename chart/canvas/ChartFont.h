#pragma once
// The default font of chart texts (titles, labels, legend, marks), the shared
// angle check of angle properties, and the chart's 3D percent check.

#include <functional>
#include <memory>
#include <string>

#include "toolkit/Graphics.h"

std::string DefaultFontName();  // "Arial"
int DefaultFontSize();          // 8 points

// A new font with the default name and size, black, no style.
std::unique_ptr<tk::TFontObject> NewDefaultFont(std::function<void()> onChange);
// Whether the font is the default one (and so need not be stored).
bool IsStandardFont(const tk::TFontObject& font);

// Raises ChartException "<description> Angle must be between 0 and 359 degrees".
void ValidateAngle(int angle, const std::string& description);
// Raises ChartException "3D effect percent must be between 1 and 100".
void ValidateChart3DPercent(int percent);

#pragma once
// Errors of the chart engine. A property that rejects a value raises one of
// these with the engine's message text and keeps its old value.

#include <string>

#include "toolkit/Errors.h"

// Series, data sources, functions, angles, 3D percent.
class ChartException : public tk::Exception {
 public:
  explicit ChartException(const std::string& message) : tk::Exception(message) {}
};

// Axis settings.
class AxisException : public tk::Exception {
 public:
  explicit AxisException(const std::string& message) : tk::Exception(message) {}
};

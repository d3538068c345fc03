#include "chart/panel/SeriesTypes.h"

#include <algorithm>
#include <mutex>

#include "chart/functions/Functions.h"
#include "chart/series/BarSeries.h"
#include "chart/series/CustomSeries.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/PieSeries.h"

namespace {

std::vector<TZozSeriesType>& Registry() {
  static std::vector<TZozSeriesType> types;
  return types;
}

std::vector<std::string>& ClassNames() {
  static std::vector<std::string> names;
  return names;
}

void RegisterClassName(const std::string& name) {
  if (!name.empty() && !IsClassRegistered(name)) ClassNames().push_back(name);
}

std::string Cut(const std::string& s) {
  return s.substr(0, 20);
}

// Functions come without a series class of their own; the gallery shows each
// with two series.
template <typename F>
void RegisterFunction(const char* functionClass, const char* description) {
  RegisterSeriesType(
      "", nullptr, functionClass, [] { return std::make_unique<F>(); }, description, 2,
      "Functions");
}

// What the engine registers at start-up; each further series type and
// function adds its line here as it is built.
void RegisterStandardTypes() {
  for (const char* part : {"TChartLegend", "TChartGradient", "TChartWall", "TChartTitle"})
    RegisterClassName(part);
  RegisterFunction<TAddZozFunction>("TAddZozFunction", "Add");
  RegisterFunction<TSubtractZozFunction>("TSubtractZozFunction", "Subtract");
  RegisterFunction<TMultiplyZozFunction>("TMultiplyZozFunction", "Multiply");
  RegisterFunction<TDivideZozFunction>("TDivideZozFunction", "Divide");
  RegisterFunction<THighZozFunction>("THighZozFunction", "High");
  RegisterFunction<TLowZozFunction>("TLowZozFunction", "Low");
  RegisterFunction<TAverageZozFunction>("TAverageZozFunction", "Average");
  RegisterSeriesType(
      "TLineSeries", [] { return std::make_unique<TLineSeries>(); }, "", "Line", 2, "Standard");
  RegisterSeriesType(
      "TBarSeries", [] { return std::make_unique<TBarSeries>(); }, "", "Bar", 2, "Standard");
  RegisterSeriesType(
      "THorizBarSeries", [] { return std::make_unique<THorizBarSeries>(); }, "", "Horiz. Bar", 2,
      "Standard");
  RegisterSeriesType(
      "TAreaSeries", [] { return std::make_unique<TAreaSeries>(); }, "", "Area", 2, "Standard");
  RegisterSeriesType(
      "TPointSeries", [] { return std::make_unique<TPointSeries>(); }, "", "Point", 2, "Standard");
  RegisterSeriesType(
      "TPieSeries", [] { return std::make_unique<TPieSeries>(); }, "", "Pie", 1, "Standard");
  RegisterSeriesType(
      "TFastLineSeries", [] { return std::make_unique<TFastLineSeries>(); }, "", "Fast Line", 2,
      "Standard");
}

void EnsureStarted() {
  static std::once_flag started;
  std::call_once(started, RegisterStandardTypes);
}

}  // namespace

bool IsClassRegistered(const std::string& className) {
  const auto& names = ClassNames();
  return std::find(names.begin(), names.end(), className) != names.end();
}

void RegisterSeriesType(const std::string& seriesClass,
                        std::function<std::unique_ptr<TChartSeries>()> create,
                        const std::string& functionClass, const std::string& description,
                        int gallerySeriesCount, const std::string& galleryPage) {
  RegisterSeriesType(seriesClass, std::move(create), functionClass, nullptr, description,
                     gallerySeriesCount, galleryPage);
}

void RegisterSeriesType(const std::string& seriesClass,
                        std::function<std::unique_ptr<TChartSeries>()> create,
                        const std::string& functionClass,
                        std::function<std::unique_ptr<TZozFunction>()> createFunction,
                        const std::string& description, int gallerySeriesCount,
                        const std::string& galleryPage) {
  RegisterClassName(seriesClass);
  RegisterClassName(functionClass);
  auto& types = Registry();
  for (const TZozSeriesType& t : types)
    if (t.SeriesClass == seriesClass && t.FunctionClass == functionClass) return;
  types.push_back({seriesClass, functionClass, Cut(description), Cut(galleryPage),
                   gallerySeriesCount, std::move(create), std::move(createFunction)});
}

const std::vector<TZozSeriesType>& SeriesTypes() {
  EnsureStarted();
  return Registry();
}

std::unique_ptr<TChartSeries> CreateSeriesByClassName(const std::string& seriesClass) {
  for (const TZozSeriesType& t : SeriesTypes())
    if (t.SeriesClass == seriesClass && t.Create) return t.Create();
  return nullptr;
}

std::unique_ptr<TZozFunction> CreateFunctionByClassName(const std::string& functionClass) {
  for (const TZozSeriesType& t : SeriesTypes())
    if (t.FunctionClass == functionClass && t.CreateFunction) return t.CreateFunction();
  return nullptr;
}

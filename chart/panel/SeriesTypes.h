#pragma once
// The registry of series types: which series (and series functions) the
// engine offers, under which name and gallery page, and how to make one by
// its class name.

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TChartSeries;
class TZozFunction;

struct TZozSeriesType {
  std::string SeriesClass;    // empty for a function without a series class of its own
  std::string FunctionClass;  // empty for a plain series
  std::string Description;    // at most 20 characters
  std::string GalleryPage;    // at most 20 characters
  int GallerySeriesCount = 1;
  std::function<std::unique_ptr<TChartSeries>()> Create;
  std::function<std::unique_ptr<TZozFunction>()> CreateFunction;
};

// Adds a type unless one with the same series and function class exists.
void RegisterSeriesType(const std::string& seriesClass,
                        std::function<std::unique_ptr<TChartSeries>()> create,
                        const std::string& functionClass, const std::string& description,
                        int gallerySeriesCount, const std::string& galleryPage);
// The same for a type that comes with a function, made by createFunction.
void RegisterSeriesType(const std::string& seriesClass,
                        std::function<std::unique_ptr<TChartSeries>()> create,
                        const std::string& functionClass,
                        std::function<std::unique_ptr<TZozFunction>()> createFunction,
                        const std::string& description, int gallerySeriesCount,
                        const std::string& galleryPage);
// The registered types, after the engine's own start-up registrations.
const std::vector<TZozSeriesType>& SeriesTypes();
// A new series of a registered class, or none.
std::unique_ptr<TChartSeries> CreateSeriesByClassName(const std::string& seriesClass);
// A new function of a registered class, or none.
std::unique_ptr<TZozFunction> CreateFunctionByClassName(const std::string& functionClass);
// Whether the engine registered a class under that name (series, functions and chart parts).
bool IsClassRegistered(const std::string& className);

// Every registered series type under any sequence of its published settings:
// one to three series made by class name on one chart, points added (null
// points among them), line, area, bar, pie, marker, marks, colour and 3D settings
// changed, a function fed from another series, each step followed now and
// then by a full paint on the recording surface. Refused settings must be the
// engine's own errors; points and steps are bounded so one input stays quick.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "chart/ChartErrors.h"
#include "chart/functions/Function.h"
#include "chart/panel/Chart.h"
#include "fuzz/FuzzSupport.h"
#include "chart/panel/SeriesTypes.h"
#include "chart/series/CustomSeries.h"
#include "chart/series/BarSeries.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/PieSeries.h"
#include "toolkit/RecordingSurface.h"

namespace {

constexpr int kMaxPoints = 300;  // over all series of one input
constexpr int kMaxSteps = 40;

std::vector<const TZozSeriesType*> SeriesClasses() {
  std::vector<const TZozSeriesType*> types;
  for (const TZozSeriesType& t : SeriesTypes())
    if (!t.SeriesClass.empty() && t.Create) types.push_back(&t);
  return types;
}

std::vector<const TZozSeriesType*> FunctionClasses() {
  std::vector<const TZozSeriesType*> types;
  for (const TZozSeriesType& t : SeriesTypes())
    if (t.CreateFunction) types.push_back(&t);
  return types;
}

double Value(FuzzedDataProvider& in) { return FuzzValue(in, 100); }

tk::TColor Color(FuzzedDataProvider& in) {
  return in.PickValueInArray<tk::TColor>(
      {tk::clDefault, tk::clNone, tk::clRed, tk::clBlue, tk::clBlack, tk::clWhite});
}

struct Run {
  FuzzedDataProvider& in;
  TChart& chart;
  std::vector<TChartSeries*> series;  // owned by the chart
  int points = 0;

  template <typename T>
  const T& Any(const std::vector<T>& v) {
    return v[in.ConsumeIntegralInRange<std::size_t>(0, v.size() - 1)];
  }
  TChartSeries& Pick() { return *Any(series); }

  void AddPoints(TChartSeries& s) {
    for (int n = in.ConsumeIntegralInRange(1, 12); n > 0 && points < kMaxPoints; --n, ++points) {
      switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0:
          s.AddNullPointXY(Value(in), Value(in), in.ConsumeBool() ? "n" : "");
          break;
        case 1:
          s.AddNullPoint();
          break;
        case 2:
          s.AddPointValue(Value(in), in.ConsumeBool() ? "v" : "", Color(in));
          break;
        default:
          s.AddPointXY(Value(in), Value(in), in.ConsumeBool() ? "p" : "", Color(in));
          break;
      }
    }
  }

  void SetPointer(TSeriesPointer& p) {
    switch (in.ConsumeIntegralInRange(0, 5)) {
      case 0:
        p.SetStyle(static_cast<TSeriesPointerStyle>(in.ConsumeIntegralInRange(0, 8)));
        break;
      case 1:
        p.SetHorizSize(in.ConsumeIntegralInRange(-2, 60));
        break;
      case 2:
        p.SetVertSize(in.ConsumeIntegralInRange(-2, 60));
        break;
      case 3:
        p.SetVisible(in.ConsumeBool());
        break;
      case 4:
        p.SetDraw3D(in.ConsumeBool());
        p.SetDark3D(in.ConsumeBool());
        break;
      default:
        p.SetInflateMargins(in.ConsumeBool());
        p.Brush().SetStyle(static_cast<tk::TBrushStyle>(in.ConsumeIntegralInRange(0, 7)));
        break;
    }
  }

  void SetCustom(TCustomSeries& s) {
    switch (in.ConsumeIntegralInRange(0, 9)) {
      case 0:
        s.SetStairs(in.ConsumeBool());
        break;
      case 1:
        s.SetInvertedStairs(in.ConsumeBool());
        break;
      case 2:
        SetPointer(s.Pointer());
        break;
      case 3:
        if (auto* area = dynamic_cast<TAreaSeries*>(&s))
          area->SetMultiArea(static_cast<TMultiArea>(in.ConsumeIntegralInRange(0, 2)));
        break;
      case 4:
        s.SetDrawArea(in.ConsumeBool());
        s.SetDrawLine(in.ConsumeBool());
        break;
      case 5:
        s.SetLineHeight(in.ConsumeIntegralInRange(-50, 50));
        break;
      case 6:
        s.LinePen().SetWidth(in.ConsumeIntegralInRange(-1, 12));
        s.LinePen().SetStyle(static_cast<tk::TPenStyle>(in.ConsumeIntegralInRange(0, 6)));
        s.LinePen().SetVisible(in.ConsumeBool());
        break;
      case 7:
        s.SetAreaBrush(static_cast<tk::TBrushStyle>(in.ConsumeIntegralInRange(0, 7)));
        s.SetAreaColor(Color(in));
        s.AreaLinesPen().SetVisible(in.ConsumeBool());
        break;
      case 8:
        s.SetLineBrush(static_cast<tk::TBrushStyle>(in.ConsumeIntegralInRange(0, 7)));
        s.SetDark3D(in.ConsumeBool());
        break;
      default:
        s.ReduceDensePoints = in.ConsumeBool();
        break;
    }
  }

  void SetBar(TCustomBarSeries& b) {
    switch (in.ConsumeIntegralInRange(0, 7)) {
      case 0:
        b.SetBarStyle(static_cast<TBarStyle>(in.ConsumeIntegralInRange(0, 6)));
        break;
      case 1:
        b.SetMultiBar(static_cast<TMultiBar>(in.ConsumeIntegralInRange(0, 3)));
        break;
      case 2:
        b.SetBarWidthPercent(in.ConsumeIntegralInRange(-1, 101));  // out of range: refused
        break;
      case 3:
        b.SetOffsetPercent(in.ConsumeIntegralInRange(-101, 101));
        break;
      case 4:
        b.SetSideMargins(in.ConsumeBool());
        b.SetAutoBarSize(in.ConsumeBool());
        break;
      case 5:
        b.SetUseYOrigin(in.ConsumeBool());
        b.SetYOrigin(Value(in));
        break;
      case 6:
        b.SetDark3D(in.ConsumeBool());
        b.BarPen().SetWidth(in.ConsumeIntegralInRange(-1, 12));
        b.BarBrush().SetStyle(static_cast<tk::TBrushStyle>(in.ConsumeIntegralInRange(0, 7)));
        break;
      default: {
        const int size = in.ConsumeIntegralInRange(-5, 400);
        if (auto* v = dynamic_cast<TBarSeries*>(&b)) v->SetCustomBarWidth(size);
        if (auto* h = dynamic_cast<THorizBarSeries*>(&b)) h->SetCustomBarHeight(size);
        break;
      }
    }
  }

  void SetPie(TPieSeries& p) {
    switch (in.ConsumeIntegralInRange(0, 7)) {
      case 0:
        p.SetRotationAngle(in.ConsumeIntegralInRange(-1, 1000));  // negative: refused
        break;
      case 1:
        p.SetExplodeBiggest(in.ConsumeIntegralInRange(-1, 200));
        break;
      case 2:
        p.OtherSlice().SetStyle(static_cast<TPieOtherStyle>(in.ConsumeIntegralInRange(0, 2)));
        p.OtherSlice().SetValue(Value(in));
        break;
      case 3:
        p.SetCircled(in.ConsumeBool());
        break;
      case 4:
        p.SetCustomXRadius(in.ConsumeIntegralInRange(-10, 500));
        p.SetCustomYRadius(in.ConsumeIntegralInRange(-10, 500));
        break;
      case 5:
        p.SetUsePatterns(in.ConsumeBool());
        p.SetDark3D(in.ConsumeBool());
        p.SetCircleBackColor(Color(in));
        break;
      case 6:
        if (p.PointCount() > 0)
          p.ExplodedSlice().SetValue(in.ConsumeIntegralInRange(0, p.PointCount()),
                                     in.ConsumeIntegralInRange(-10, 200));
        break;
      default:
        p.PiePen().SetWidth(in.ConsumeIntegralInRange(-1, 12));
        p.PiePen().SetVisible(in.ConsumeBool());
        break;
    }
  }

  void SetMarks(TSeriesMarks& m) {
    switch (in.ConsumeIntegralInRange(0, 4)) {
      case 0:
        m.SetVisible(in.ConsumeBool());
        break;
      case 1:
        m.SetStyle(static_cast<TSeriesMarksStyle>(in.ConsumeIntegralInRange(0, 8)));
        break;
      case 2:
        m.SetArrowLength(in.ConsumeIntegralInRange(-200, 200));
        break;
      case 3:
        m.SetClip(in.ConsumeBool());
        m.SetTransparent(in.ConsumeBool());
        break;
      default:
        m.Frame().SetVisible(in.ConsumeBool());
        m.Arrow().SetVisible(in.ConsumeBool());
        m.SetBackColor(Color(in));
        break;
    }
  }

  void SetView() {
    TView3DOptions& v = chart.View3DOptions();
    switch (in.ConsumeIntegralInRange(0, 4)) {
      case 0:
        chart.SetView3D(in.ConsumeBool());
        break;
      case 1:
        chart.SetChart3DPercent(in.ConsumeIntegralInRange(-1, 101));
        break;
      case 2:
        v.SetOrthogonal(in.ConsumeBool());
        v.SetRotation(in.ConsumeIntegralInRange(-1, 361));
        v.SetElevation(in.ConsumeIntegralInRange(-1, 361));
        break;
      case 3:
        v.SetZoom(in.ConsumeIntegralInRange(-1, 500));
        v.SetPerspective(in.ConsumeIntegralInRange(-1, 101));
        v.SetTilt(in.ConsumeIntegralInRange(-1, 361));
        break;
      default:
        v.SetHorizOffset(in.ConsumeIntegralInRange(-1000, 1000));
        v.SetVertOffset(in.ConsumeIntegralInRange(-1000, 1000));
        v.SetZoomText(in.ConsumeBool());
        break;
    }
  }

  void SetFunction(TChartSeries& s) {
    static const std::vector<const TZozSeriesType*> functions = FunctionClasses();
    if (functions.empty() || in.ConsumeBool()) {
      s.SetDataSource(in.ConsumeBool() ? nullptr : &Pick());  // may close a circle: refused
      return;
    }
    const TZozSeriesType& f = *Any(functions);
    s.SetFunction(f.CreateFunction());
    if (in.ConsumeBool()) s.Function()->SetPeriod(in.ConsumeIntegralInRange(-1, 20));
    s.SetDataSource(&Pick());
  }

  void Step() {
    TChartSeries& s = Pick();
    switch (in.ConsumeIntegralInRange(0, 9)) {
      case 0:
        AddPoints(s);
        break;
      case 1:
        if (auto* c = dynamic_cast<TCustomSeries*>(&s)) SetCustom(*c);
        if (auto* f = dynamic_cast<TFastLineSeries*>(&s))
          f->LinePen().SetWidth(in.ConsumeIntegralInRange(-1, 12));
        if (auto* b = dynamic_cast<TCustomBarSeries*>(&s)) SetBar(*b);
        if (auto* p = dynamic_cast<TPieSeries*>(&s)) SetPie(*p);
        break;
      case 2:
        SetMarks(s.Marks());
        break;
      case 3:
        s.SetColorEachPoint(in.ConsumeBool());
        break;
      case 4:
        SetView();
        break;
      case 5:
        if (s.PointCount() > 0) {
          const int i = in.ConsumeIntegralInRange(0, s.PointCount() - 1);
          if (in.ConsumeBool())
            s.SetPointColor(i, Color(in));
          else
            s.RemovePointAt(i);
        }
        break;
      case 6:
        s.SetActive(in.ConsumeBool());
        s.SetSeriesColor(Color(in));
        break;
      case 7:
        s.SetHorizAxis(static_cast<THorizAxis>(in.ConsumeIntegralInRange(0, 2)));
        s.SetVertAxis(static_cast<TVertAxis>(in.ConsumeIntegralInRange(0, 2)));
        break;
      case 8:
        SetFunction(s);
        break;
      default:
        if (in.ConsumeBool())
          s.RemoveAllPoints();
        else
          s.SetZOrder(in.ConsumeIntegralInRange(-2, 5));
        break;
    }
  }
};

void Paint(TChart& chart, tk::TRecordingSurface& surface) {
  surface.Clear();
  chart.PaintInto(surface, {0, 0, 400, 300});
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartOffscreenApplication(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<const TZozSeriesType*> types = SeriesClasses();
  if (types.empty()) std::abort();  // the registry lost its series types
  FuzzedDataProvider in(data, size);
  TChart chart;
  chart.SetSize(400, 300);
  // one surface for all inputs: a paint records tens of thousands of calls, and
  // growing a fresh log for each input cost more than the engine's own work
  static tk::TRecordingSurface surface;
  Run run{in, chart, {}};
  for (int n = in.ConsumeIntegralInRange(1, 3); n > 0; --n) {
    const TZozSeriesType& t = *types[in.ConsumeIntegralInRange<std::size_t>(0, types.size() - 1)];
    TChartSeries* s = t.Create().release();  // the chart owns it from here
    s->SetParentChart(&chart);
    run.series.push_back(s);
  }
  for (int step = 0; step < kMaxSteps && in.remaining_bytes() > 0; ++step) {
    try {
      run.Step();
    } catch (const ChartException&) {
      // a refused value: the engine's message, the old value kept
    } catch (const AxisException&) {
    }
    if (in.ConsumeBool()) Paint(chart, surface);
  }
  Paint(chart, surface);
  return 0;
}

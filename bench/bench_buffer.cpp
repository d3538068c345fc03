// The receive buffer: the cost of appending one bit when it already holds N
// characters. It must stay flat so that 1000 bits/s never falls behind.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "toolkit/ExtControls.h"
#include "toolkit/Form.h"

namespace {

void BM_BufferAppend(benchmark::State& state) {
  tk::TForm form;
  form.SetClientSize(687, 595);
  tk::TRichEdit buffer(&form);
  buffer.SetBounds(8, 296, 673, 49);
  form.Show();
  std::string text;
  for (long i = 0; i < state.range(0); ++i)
    text += (i % 9 == 8) ? ' ' : static_cast<char>('0' + (i & 1));
  buffer.SetText(text);
  QApplication::processEvents();
  long n = 0;
  for (auto _ : state) {
    buffer.AppendText((n++ & 1) ? "1" : "0");
    QApplication::processEvents();  // lets the view lay out and repaint what changed
  }
  state.SetLabel(std::to_string(state.range(0)) + " characters");
}

}  // namespace

BENCHMARK(BM_BufferAppend)->Arg(1000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

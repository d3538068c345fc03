#pragma once
// Seeded data shared by our chart and the peer libraries, so that every
// library draws exactly the same points.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

struct BenchData {
  std::vector<double> x, y;
};

// An hour of Manchester at 1000 bits/s: four points per 1 ms bit (edges at
// the bit boundary and in its middle), levels +1/-1, seeded bits.
inline BenchData SignalHour() {
  constexpr std::size_t kBits = 3600 * 1000;
  BenchData d;
  d.x.reserve(kBits * 4);
  d.y.reserve(kBits * 4);
  std::mt19937 rng(1);
  for (std::size_t b = 0; b < kBits; ++b) {
    const double t = static_cast<double>(b);
    const double first = (rng() & 1) ? -1.0 : 1.0;
    for (auto [dx, level] : {std::pair{0.0, first}, {0.5, first}, {0.5, -first}, {1.0, -first}}) {
      d.x.push_back(t + dx);
      d.y.push_back(level);
    }
  }
  return d;
}

inline BenchData RandomWalk(std::size_t n) {
  BenchData d;
  d.x.resize(n);
  d.y.resize(n);
  std::mt19937 rng(2);
  std::normal_distribution<double> step(0, 1);
  double v = 0;
  for (std::size_t i = 0; i < n; ++i) {
    v += step(rng);
    d.x[i] = static_cast<double>(i);
    d.y[i] = v;
  }
  return d;
}

inline BenchData Noise(std::size_t n) {
  BenchData d;
  d.x.resize(n);
  d.y.resize(n);
  std::mt19937 rng(3);
  std::normal_distribution<double> value(0, 1);
  for (std::size_t i = 0; i < n; ++i) {
    d.x[i] = static_cast<double>(i);
    d.y[i] = value(rng);
  }
  return d;
}

// The same cases for every library. Dense: {noise?, pen width}.
// Streaming: {history points, scrolling?}.
inline void DenseCases(benchmark::internal::Benchmark* b) {
  b->Args({0, 1})->Args({0, 3})->Args({1, 1})->Args({1, 3})->Unit(benchmark::kMillisecond);
}

inline void StreamingCases(benchmark::internal::Benchmark* b, long largestHistory = 10'000'000) {
  for (long scrolling : {0, 1})
    for (long history = 100'000; history <= largestHistory; history *= 10)
      b->Args({history, scrolling});
  b->Unit(benchmark::kMillisecond);
}

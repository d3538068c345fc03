#pragma once
// A console reporter that keeps every result (the median when runs are
// repeated) and prints, after the run, our time over each peer's for every
// scenario measured by both: benchmarks named BM_<case>_Ours beside
// BM_<case>_<peer>. One of the peers' configurations per case may be marked
// as held to the goal (its fastest equal-work one); the last column is ours
// over the faster of those.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  struct Peer {
    std::string suffix;  // "_QCustomPlotFast"
    bool equalWork;      // draws what ours draws, with the same antialiasing
  };
  // cpu: compare CPU times, which the other work on a shared machine disturbs
  // less than wall times
  RatioReporter(std::vector<Peer> peers, bool cpu) : peers_(std::move(peers)), cpu_(cpu) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Iteration && r.repetitions <= 1)
        times_[r.benchmark_name()] = Time(r);
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
        times_[r.run_name.str()] = Time(r);
    }
  }

  // One row per case of ours: its time, each peer's time and ratio, and the
  // ratio over the fastest equal-work peer.
  void PrintTable() const {
    std::printf("\n%s time in ms, (ratio ours / theirs)\n", cpu_ ? "CPU" : "wall");
    std::printf("%-34s %10s", "case", "ours");
    for (const Peer& p : peers_)
      std::printf(" %22s", p.suffix.c_str() + 1);
    std::printf(" %12s\n", "vs fastest");
    for (const auto& [name, ours] : times_) {
      const auto at = name.find("_Ours");
      if (at == std::string::npos) continue;
      std::printf("%-34s %10.2f", (name.substr(0, at) + name.substr(at + 5)).c_str(), ours);
      double fastest = 0;
      for (const Peer& p : peers_) {
        std::string theirs = name;
        theirs.replace(at, 5, p.suffix);
        const auto it = times_.find(theirs);
        if (it == times_.end()) {
          std::printf(" %22s", "-");
          continue;
        }
        std::printf(" %10.2f (%8.3f)", it->second, ours / it->second);
        if (p.equalWork && (fastest == 0 || it->second < fastest)) fastest = it->second;
      }
      if (fastest > 0)
        std::printf(" %12.3f\n", ours / fastest);
      else
        std::printf(" %12s\n", "-");
    }
  }

 private:
  double Time(const Run& r) const {
    return cpu_ ? r.GetAdjustedCPUTime() : r.GetAdjustedRealTime();
  }

  std::vector<Peer> peers_;
  bool cpu_;
  std::map<std::string, double> times_;  // milliseconds (the benchmarks' unit)
};

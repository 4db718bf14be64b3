// Runs every workload's three contenders in one process and ends with one RESULT line each.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <opencv2/core.hpp>

#include "bench.h"

namespace coiffure::bench {

void FillNoise(uint8_t* p, size_t n, uint32_t seed) {
  uint32_t s = seed * 2654435761u + 1;
  for (size_t i = 0; i < n; ++i) {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    p[i] = static_cast<uint8_t>(s >> 7);
  }
}

void RequireSame(const std::string& workload, const uint8_t* ours, const uint8_t* peer, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (ours[i] != peer[i]) {
      std::fprintf(stderr, "%s: our output and the peer's differ at byte %zu (%d vs %d)\n",
                   workload.c_str(), i, ours[i], peer[i]);
      std::exit(2);
    }
  }
}

namespace {

// Keeps the median real time per iteration of every benchmark, by name.
class Collector : public benchmark::ConsoleReporter {
 public:
  Collector() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.error_occurred) continue;
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name != "median") continue;
      // A single repetition reports no aggregates; its iteration run is the figure then.
      if (r.run_type == Run::RT_Iteration && r.repetitions > 1) continue;
      median_ns[r.run_name.function_name] = r.GetAdjustedRealTime();
    }
  }
  std::map<std::string, double> median_ns;
};

void Register(const std::string& name, std::function<void()> fn) {
  benchmark::RegisterBenchmark(name.c_str(),
                               [fn](benchmark::State& state) {
                                 for (auto _ : state) {
                                   fn();
                                   benchmark::ClobberMemory();
                                 }
                               })
      ->Unit(benchmark::kNanosecond)
      ->UseRealTime()
      ->MinTime(0.3)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
}

long long Ns(const std::map<std::string, double>& m, const std::string& key) {
  const auto it = m.find(key);
  return it == m.end() ? -1 : static_cast<long long>(it->second + 0.5);
}

}  // namespace

int Main(int argc, char** argv) {
  // The program does all its work on the GUI thread, so the peer gets one thread too; set
  // COIFFURE_BENCH_PEER_THREADS to see what the peer makes of more.
  const char* threads = std::getenv("COIFFURE_BENCH_PEER_THREADS");
  cv::setNumThreads(threads ? std::atoi(threads) : 1);
  std::printf("peer threads: %d\n", cv::getNumThreads());

  std::vector<Workload> all;
  for (auto make :
       {ToneWorkloads, CompositeWorkloads, DecodeWorkloads, ThumbnailWorkloads, ImportWorkloads,
        RecolourWorkloads, OwnShadeWorkloads, DeskWorkloads, CutoutWorkloads}) {
    for (Workload& w : make()) all.push_back(std::move(w));
  }
  for (const Workload& w : all) {
    if (!w.skipped.empty()) continue;
    Register(w.name + "/ours", w.ours);
    if (w.peer) Register(w.name + "/" + w.peer_name, w.peer);
    Register(w.name + "/floor", w.floor);
  }
  benchmark::Initialize(&argc, argv);
  Collector collector;  // plain text: RESULT lines must not follow a colour escape
  benchmark::RunSpecifiedBenchmarks(&collector);
  benchmark::Shutdown();

  std::fflush(stdout);
  for (const Workload& w : all) {
    if (!w.skipped.empty()) {
      std::printf("SKIPPED workload=%s reason=%s\n", w.name.c_str(), w.skipped.c_str());
      continue;
    }
    if (Ns(collector.median_ns, w.name + "/ours") < 0) continue;  // filtered out
    const long long peer = w.peer ? Ns(collector.median_ns, w.name + "/" + w.peer_name) : 0;
    std::printf("RESULT workload=%s ours_ns=%lld peer=%s peer_ns=%lld floor_ns=%lld\n",
                w.name.c_str(), Ns(collector.median_ns, w.name + "/ours"),
                w.peer ? w.peer_name.c_str() : "none", peer,
                Ns(collector.median_ns, w.name + "/floor"));
  }
  return 0;
}

}  // namespace coiffure::bench

int main(int argc, char** argv) {
  return coiffure::bench::Main(argc, argv);
}

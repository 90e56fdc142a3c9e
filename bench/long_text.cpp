// sumvelo_bench_long: one long body through the engine, in a process of its own so that the peak
// memory is that of this size alone.
//
//   sumvelo_bench_long [--en] [--literal] [--runs N] SIZE      (SIZE: 100k, 1m, 10m, or bytes)
//
// It prints the time of every stage of one run (the steps of Summarize, taken one by one), the
// times of N whole Summarize runs on fresh workspaces (min and median), and the peak resident
// memory during those runs, also as a multiple of the body size, whole and above what was
// resident before them. --literal runs the literal stages instead of the fast ones.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_texts.h"
#include "bench/run_steps.h"
#include "encoding/gb18030.h"
#include "pipeline/summarize.h"

namespace sumvelo::bench {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// TimeStages runs the steps of Summarize one by one and prints the time and memory of each.
void TimeStages(const Document& doc, bool literal) {
  HeadlessControls controls;
  LoadControls(controls, doc);
  Workspace ws(controls);
  double total = 0;
  for (const Step& step : StepsFor(DetectLanguage(doc.body))) {
    if (!literal && step.fast == nullptr) continue;
    ResetPeakMemory();
    const std::size_t before = CurrentMemoryBytes();
    const auto start = Clock::now();
    step.Run(ws, literal);
    const double s = Seconds(Clock::now() - start);
    const std::size_t peak = PeakMemoryBytes();
    total += s;
    std::printf("  %-24s %10.3f ms   peak %7.1f MB (+%.1f MB)\n", step.name, s * 1e3, peak / 1e6,
                (peak - std::min(peak, before)) / 1e6);
  }
  std::printf("  %-24s %10.3f ms  (%d sentences, %d keywords)\n", "all stages", total * 1e3,
              ws.sentenceTable.RowCount(), ws.keywordTable.RowCount());
}

int Main(int argc, char** argv) {
  std::string language = "zh";
  bool literal = false;
  int runs = 3;
  std::size_t size = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--en") == 0) {
      language = "en";
    } else if (std::strcmp(argv[i], "--literal") == 0) {
      literal = true;
    } else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else {
      size = ParseSize(argv[i]);
    }
  }
  if (size == 0) {
    std::fprintf(stderr, "usage: sumvelo_bench_long [--en] [--literal] [--runs N] SIZE\n");
    return 2;
  }
  const Document doc = LongDocument(language, size);
  std::printf("%s body, %zu bytes, %s stages\n", language.c_str(), doc.body.size(),
              literal ? "literal" : "fast");
  std::printf("stages of one run:\n");
  TimeStages(doc, literal);

  ResetPeakMemory();
  const std::size_t before = CurrentMemoryBytes();
  std::vector<double> times;
  ByteText keywordLine;
  for (int r = 0; r < runs; ++r) {
    HeadlessControls controls;
    LoadControls(controls, doc);
    Workspace ws(controls);
    const auto start = Clock::now();
    literal ? SummarizeLiteral(ws) : Summarize(ws);
    times.push_back(Seconds(Clock::now() - start));
    keywordLine = controls.Text(Control::标签3);
  }
  const std::size_t peak = PeakMemoryBytes();
  std::sort(times.begin(), times.end());
  std::printf("Summarize, %d runs: min %.3f s, median %.3f s\n", runs, times.front(),
              times[times.size() / 2]);
  std::printf("peak resident memory during the runs: %.1f MB = %.1f x body size\n", peak / 1e6,
              static_cast<double>(peak) / static_cast<double>(doc.body.size()));
  std::printf("resident before the runs (program, body and title): %.1f MB; the runs added %.1f MB"
              " = %.1f x body size\n",
              before / 1e6, (peak - std::min(peak, before)) / 1e6,
              static_cast<double>(peak - std::min(peak, before)) / static_cast<double>(doc.body.size()));
  std::printf("keyword line: %s\n", encoding::FromEngine(keywordLine).c_str());
  return 0;
}

}  // namespace
}  // namespace sumvelo::bench

int main(int argc, char** argv) { return sumvelo::bench::Main(argc, argv); }

// sumvelo_bench: Google Benchmark timings of every stage and of whole Summarize runs, fast and
// literal, on the built-in articles, on corpus articles and on long bodies built from the
// corpus's long texts. Each benchmark also reports peak_MB, the peak resident memory while it
// ran (the process's own size included).
//
//   sumvelo_bench [--long] [Google Benchmark flags, e.g. --benchmark_filter=Summarize/sample2]
//
// --long adds bodies of 100 kB and 1 MB (fast runs only; the literal discovery would take
// minutes there). Stage benchmarks restore the state the earlier steps left before every
// iteration and time the stage alone.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_texts.h"
#include "bench/run_steps.h"
#include "pipeline/summarize.h"

namespace sumvelo::bench {
namespace {

struct Subject {
  Document doc;
  bool literalToo;  // small enough for the literal stages
};

std::vector<std::shared_ptr<const Subject>> Subjects(bool longBodies) {
  std::vector<std::shared_ptr<const Subject>> out;
  for (Document& d : BuiltinDocuments()) out.push_back(std::make_shared<Subject>(Subject{std::move(d), true}));
  // The longest Chinese news article, a typical one, a long English one and a Debian text.
  for (const char* path : {"zh/0066.txt", "zh/0100.txt", "en/0055.txt", "debian-zh/0003.txt"}) {
    out.push_back(std::make_shared<Subject>(Subject{CorpusDocument(path), true}));
  }
  if (longBodies) {
    for (std::size_t size : {std::size_t{100} << 10, std::size_t{1} << 20}) {
      out.push_back(std::make_shared<Subject>(Subject{LongDocument("zh", size), false}));
      out.push_back(std::make_shared<Subject>(Subject{LongDocument("en", size), false}));
    }
  }
  return out;
}

void ReportPeak(benchmark::State& state, const Document& doc) {
  state.counters["peak_MB"] = static_cast<double>(PeakMemoryBytes()) / 1e6;
  state.counters["body_kB"] = static_cast<double>(doc.body.size()) / 1e3;
}

void WholeRun(benchmark::State& state, std::shared_ptr<const Subject> subject, bool literal) {
  ResetPeakMemory();
  for (auto _ : state) {
    HeadlessControls controls;
    LoadControls(controls, subject->doc);
    Workspace ws(controls);
    benchmark::DoNotOptimize(literal ? SummarizeLiteral(ws) : Summarize(ws));
  }
  ReportPeak(state, subject->doc);
}

// OneStage times step `index` of the path, on the state the steps before it leave.
void OneStage(benchmark::State& state, std::shared_ptr<const Subject> subject, std::size_t index,
              bool literal) {
  const std::vector<Step> steps = StepsFor(DetectLanguage(subject->doc.body));
  HeadlessControls controls;
  LoadControls(controls, subject->doc);
  Workspace ws(controls);
  for (std::size_t i = 0; i < index; ++i) steps[i].Run(ws, literal);
  Snapshot before;
  before.Take(controls, ws);
  ResetPeakMemory();
  for (auto _ : state) {
    before.Restore(controls, ws);
    const auto start = std::chrono::steady_clock::now();
    steps[index].Run(ws, literal);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  ReportPeak(state, subject->doc);
}

void RegisterAll(bool longBodies) {
  for (const auto& subject : Subjects(longBodies)) {
    const std::string& name = subject->doc.name;
    const TextLanguage language = DetectLanguage(subject->doc.body);
    if (language == TextLanguage::Neither) continue;
    benchmark::RegisterBenchmark(("Summarize/" + name).c_str(), WholeRun, subject, false)
        ->Unit(benchmark::kMillisecond);
    if (subject->literalToo) {
      benchmark::RegisterBenchmark(("SummarizeLiteral/" + name).c_str(), WholeRun, subject, true)
          ->Unit(benchmark::kMillisecond);
    }
    const std::vector<Step> steps = StepsFor(language);
    for (std::size_t i = 1; i < steps.size(); ++i) {  // step 0 only reads the body box
      const Step& step = steps[i];
      if (step.fast != nullptr) {
        benchmark::RegisterBenchmark((std::string(step.name) + "/" + name).c_str(), OneStage,
                                     subject, i, false)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
      }
      if (step.literal != nullptr && subject->literalToo) {
        const std::string suffix = step.fast != nullptr ? "Literal/" : "/";  // literal run only
        benchmark::RegisterBenchmark((std::string(step.name) + suffix + name).c_str(),
                                     OneStage, subject, i, true)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
      }
    }
  }
}

}  // namespace
}  // namespace sumvelo::bench

int main(int argc, char** argv) {
  bool longBodies = false;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--long") == 0) {
      longBodies = true;
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  sumvelo::bench::RegisterAll(longBodies);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

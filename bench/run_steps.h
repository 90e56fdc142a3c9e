// The steps of one Summarize run, one by one, so that benchmarks can time each stage on the state
// the stages before it leave. The list follows pipeline/summarize.cpp.
#pragma once

#include <vector>

#include "bench/bench_texts.h"
#include "pipeline/controls.h"
#include "pipeline/text_language.h"
#include "pipeline/workspace.h"

namespace sumvelo::bench {

struct Step {
  const char* name;
  void (*fast)(Workspace&);     // nullptr: the fast run has no such step
  void (*literal)(Workspace&);  // nullptr: the fast step is also the literal one
  // Run runs the step of the run chosen; a step missing from it does nothing.
  void Run(Workspace& ws, bool literalRun) const {
    if (literalRun && literal != nullptr) {
      literal(ws);
    } else if (literalRun || fast != nullptr) {
      (fast != nullptr ? fast : literal)(ws);
    }
  }
};

// StepsFor returns the steps of the path for `language` (Chinese or English), starting with
// reading the body box into the working text.
std::vector<Step> StepsFor(TextLanguage language);

// LoadControls puts a document into the boxes, with the length drop-down at `limitIndex`.
void LoadControls(HeadlessControls& controls, const Document& doc, int limitIndex = 0);

// Snapshot is what a run has left at some step: the controls and the workspace's state.
struct Snapshot {
  HeadlessControls controls;
  ByteText workingText;
  TextArray charSequence;
  WorkTable sentenceTable{3}, keywordTable{2}, selectionTable{2};

  // Take copies the state of `ws` run on `c`; Restore copies it back into `ws` and `c`.
  void Take(const HeadlessControls& c, const Workspace& ws);
  void Restore(HeadlessControls& c, Workspace& ws) const;
};

}  // namespace sumvelo::bench

// Workspace: everything one summarize run reads and writes besides the controls. Each run owns
// one; runs on different workspaces are independent and may run on different threads.
#pragma once

#include <chrono>

#include "pipeline/controls.h"
#include "text/byte_text.h"
#include "text/work_table.h"

namespace sumvelo {

struct Workspace {
  explicit Workspace(Controls& c) : controls(c) {}

  Controls& controls;
  ByteText workingText;    // rewritten stage by stage: body, marked body, sentences, term text, title
  TextArray charSequence;  // the characters of workingText during phrase discovery
  WorkTable sentenceTable{3};   // 句 (sentence), a (score, later rank), b (sequence number)
  WorkTable keywordTable{2};    // 词 (term), a (weight)
  WorkTable selectionTable{2};  // 调整句 (chosen sentence), a (order key)
  bool running = false;         // a Summarize is in progress: a nested one is ignored

  // YieldToWindow calls ProcessPendingEvents when at least 30 ms have passed since the last
  // call through it; the fast stages use it instead of yielding per candidate.
  void YieldToWindow();

 private:
  std::chrono::steady_clock::time_point lastYield_ = std::chrono::steady_clock::now();
};

}  // namespace sumvelo

// Batch mode: JSON Lines in, one JSON line out per input line, in input order, with the
// documents summarized on several threads.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>

#include "cli/document.h"

namespace sumvelo::cli {

struct BatchSettings {
  int jobs = 1;                        // worker threads, each summarizing one document at a time
  int defaultLimit = 200;              // for lines without "limit"
  std::size_t maxBodyBytes = kMaxBodyBytes;
  std::size_t windowLines = 0;         // lines in flight at most; 0 means 4 × jobs
  std::size_t windowBytes = std::size_t{256} << 20;  // input bytes in flight at most (one line
                                                     // is always let in, however long)
};

// BatchCounts says how far a batch has got; RunBatch hands them to its observer.
struct BatchCounts {
  long long written = 0;  // output lines written
  long long errors = 0;   // of them, error lines
};

struct BatchResult {
  BatchCounts counts;
  std::string readError;  // not empty: reading the input failed there (what was read is answered)
  bool writeFailed = false;
};

// RunBatch reads lines from `in` (split at line feeds; a last line without one counts, an empty
// input has no lines; a UTF-8 byte-order mark at the start of a line is ignored, so a first line
// that holds only one is an empty line) and writes to `out`
// the AnswerLine of each, followed by a line feed, in input order. Lines are summarized on
// settings.jobs threads; the output does not depend on their number. At most windowLines lines
// (and windowBytes bytes of them) are held between being read and their answer being written,
// so memory stays bounded on an endless stream; answers are written as soon as every earlier
// one is, and `out` is flushed whenever the next answer is not ready yet. A line longer than
// MaxLineBytes(maxBodyBytes) is skipped over as it is read and answered with an error. When
// writing fails, reading stops and the result says so. `onWritten`, when set, is called on the
// writing thread after each answer is written.
BatchResult RunBatch(std::FILE* in, std::FILE* out, const BatchSettings& settings,
                     const std::function<void(const BatchCounts&)>& onWritten = {});

}  // namespace sumvelo::cli

// Texts for the benchmarks, as the engine receives them (GB18030 bytes, CR LF line breaks), and
// the memory figures the benchmarks report.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "text/byte_text.h"

namespace sumvelo::bench {

struct Document {
  std::string name;
  ByteText title;
  ByteText body;
};

// BuiltinDocuments returns the default article, sample two and sample three.
std::vector<Document> BuiltinDocuments();

// CorpusDirectory is $SUMVELO_CORPUS_DIR when set, else the corpus the build was configured with.
std::string CorpusDirectory();

// CorpusDocument reads a corpus file ("zh/0001.txt"): its first line is the title, the rest the
// body. A file that cannot be read ends the program with a message.
Document CorpusDocument(const std::string& relativePath);

// LongDocument returns a body of about `bytes` engine bytes (never more, cut at a line end) made
// of the long texts of the corpus for the language ("zh": zh_hongloumeng then zh_xiyouji; "en":
// en_moby_dick then en_tinyshakespeare), repeated from the start as often as needed, with the
// first line of the first text as the title. Its name is "zh-1024k" and the like.
Document LongDocument(const std::string& language, std::size_t bytes);

// ParseSize reads "100k", "1m", "10m" or a plain number of bytes (k = 1024, m = 1024 * 1024);
// it returns 0 for anything else.
std::size_t ParseSize(const std::string& text);

// ResetPeakMemory makes the peak resident size start again from the current one (Linux
// /proc/self/clear_refs); PeakMemoryBytes returns the peak since then, or since the start of
// the process where the reset is not available.
void ResetPeakMemory();
std::size_t PeakMemoryBytes();

// CurrentMemoryBytes returns the resident size now (0 where it cannot be read).
std::size_t CurrentMemoryBytes();

}  // namespace sumvelo::bench

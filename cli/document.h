// One document through the engine, as the command line runs it: read the title and body, check
// and convert them to engine bytes, summarize them on a workspace of their own, and keep what
// the window would show. Nothing here writes to standard output or error, so a batch runner can
// call it from several threads (one document per call).
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "cli/detect_encoding.h"
#include "pipeline/controls.h"
#include "pipeline/text_language.h"
#include "text/byte_text.h"
#include "text/work_table.h"

namespace sumvelo::cli {

// How title and body bytes are encoded: told from the bytes (Auto, the default; see
// DetectEncoding), UTF-8, or GB18030/GBK.
enum class InputEncoding { Auto, Utf8, Gb18030 };

// kMaxBodyBytes is the largest body (and title file) accepted: 64 MiB of input bytes. A larger
// one is refused before the engine sees it, and a file is refused before it is read.
constexpr std::size_t kMaxBodyBytes = std::size_t{64} << 20;

// ByteLimitText shows a byte limit in messages: "67108864 bytes (64 MiB)", "1000 bytes".
std::string ByteLimitText(std::size_t maxBytes);

// InputError is a document that cannot be summarized. Its message is one line that names what is
// wrong and where ("body (news.txt) has a NUL byte at offset 12").
struct InputError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Source is text as it was read, with the name messages use for it: a file name, "standard
// input" or "--title".
struct Source {
  std::string bytes;
  std::string name;
};

// ReadSource reads a whole file, or standard input when `path` is "-". A file that cannot be
// opened or read throws InputError "cannot read PATH: REASON". A source of more than `maxBytes`
// bytes throws InputError naming the limit: a regular file is measured before anything is read,
// standard input and other streams are read no further than one byte past the limit.
Source ReadSource(const std::string& path, std::size_t maxBytes = kMaxBodyBytes);

// PrepareBody checks a body and makes it engine bytes (see encoding/gb18030.h: byte-order mark
// dropped, line breaks CR LF). It throws InputError for a NUL byte (with its offset), for bytes
// that are not valid in `encoding` (with the offset of the first bad byte; for UTF-8 the message
// suggests --encoding gbk), and, with Auto, for bytes that are neither UTF-8 nor GB18030 (with
// both offsets) or UTF-16 that does not decode. The empty text is a valid body. With `chosen`,
// it stores the encoding the bytes were read in.
ByteText PrepareBody(const Source& body, InputEncoding encoding, TextEncoding* chosen = nullptr);

// PrepareTitle does the same checks on the whole title text and keeps its first line only.
ByteText PrepareTitle(const Source& title, InputEncoding encoding, TextEncoding* chosen = nullptr);

// LimitIndex returns the length drop-down item of a summary limit (200, 300, 400, 500 give
// 0..3), or nothing for any other number.
std::optional<int> LimitIndex(int limit);

// Document is what the window's boxes would hold before the summarize button is pressed.
struct Document {
  ByteText title;      // 标题框, engine bytes
  ByteText body;       // 内容框, engine bytes with CR LF line breaks
  int limitIndex = 0;  // 组合框1
};

// Outcome is what a run leaves on the window and in the work tables.
struct Outcome {
  TextLanguage language = TextLanguage::Neither;
  ByteText summary;      // 编辑框1
  ByteText keywordLine;  // 标签3
  ByteText statsLine;    // 标签2
  WorkTable keywords{2};
  WorkTable sentences{3};
};

// EventHook sees the controls whenever the run lets the window handle its events (about every
// 30 ms during keyword extraction): 标签2 holds the progress text then. It must not change the
// controls; it may throw RunAbandoned.
using EventHook = std::function<void(const HeadlessControls&)>;

// SummarizeDocument runs one Summarize on fresh controls and a fresh workspace, so that every
// document starts from the window's start-up state, and returns what the run left. The hook, if
// any, only watches: the outcome is the same with or without one.
Outcome SummarizeDocument(const Document& document, const EventHook& onEvents = {});

}  // namespace sumvelo::cli

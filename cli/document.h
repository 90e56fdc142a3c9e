// One document through the engine, as the command line runs it: read the title and body, check
// and convert them to engine bytes, summarize them on a workspace of their own, and keep what
// the window would show. Nothing here writes to standard output or error, so a batch runner can
// call it from several threads (one document per call).
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "pipeline/text_language.h"
#include "text/byte_text.h"
#include "text/work_table.h"

namespace sumvelo::cli {

// How title and body bytes are encoded: UTF-8 (the default) or GB18030/GBK.
enum class InputEncoding { Utf8, Gb18030 };

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
// opened or read throws InputError "cannot read PATH: REASON".
Source ReadSource(const std::string& path);

// PrepareBody checks a body and makes it engine bytes (see encoding/gb18030.h: byte-order mark
// dropped, line breaks CR LF). It throws InputError for a NUL byte (with its offset), for bytes
// that are not valid in `encoding` (with the offset of the first bad byte; for UTF-8 the message
// suggests --encoding gbk). The empty text is a valid body.
ByteText PrepareBody(const Source& body, InputEncoding encoding);

// PrepareTitle does the same checks on the whole title text and keeps its first line only.
ByteText PrepareTitle(const Source& title, InputEncoding encoding);

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

// SummarizeDocument runs one Summarize on fresh controls and a fresh workspace, so that every
// document starts from the window's start-up state, and returns what the run left.
Outcome SummarizeDocument(const Document& document);

}  // namespace sumvelo::cli

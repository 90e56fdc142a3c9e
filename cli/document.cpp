#include "cli/document.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "encoding/gb18030.h"
#include "pipeline/controls.h"
#include "pipeline/summarize.h"
#include "pipeline/workspace.h"

namespace sumvelo::cli {
namespace {

std::string ReadAll(std::FILE* file, const std::string& name) {
  std::string bytes;
  char buffer[65536];
  for (;;) {
    std::size_t n = std::fread(buffer, 1, sizeof buffer, file);
    bytes.append(buffer, n);
    if (n < sizeof buffer) break;
  }
  if (std::ferror(file)) {
    throw InputError("cannot read " + name + ": " + std::strerror(errno));
  }
  return bytes;
}

// CheckText throws InputError for a NUL byte or for bytes that are not valid in `encoding`.
void CheckText(const Source& source, std::string_view what, InputEncoding encoding) {
  const std::string where = std::string(what) + " (" + source.name + ")";
  if (std::size_t nul = source.bytes.find('\0'); nul != std::string::npos) {
    throw InputError(where + " has a NUL byte at offset " + std::to_string(nul));
  }
  if (encoding == InputEncoding::Utf8) {
    if (auto bad = encoding::FindInvalidUtf8(source.bytes)) {
      throw InputError(where + " is not valid UTF-8 at byte offset " + std::to_string(*bad) +
                       "; if it is GBK text, use --encoding gbk");
    }
  } else {
    if (auto bad = encoding::FindInvalidGb18030(source.bytes)) {
      throw InputError(where + " is not valid GBK/GB18030 at byte offset " +
                       std::to_string(*bad));
    }
  }
}

}  // namespace

Source ReadSource(const std::string& path) {
  if (path == "-") {
    return {ReadAll(stdin, "standard input"), "standard input"};
  }
  errno = 0;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) throw InputError("cannot read " + path + ": " + std::strerror(errno));
  return {ReadAll(file.get(), path), path};
}

ByteText PrepareBody(const Source& body, InputEncoding encoding) {
  CheckText(body, "body", encoding);
  return encoding == InputEncoding::Utf8 ? encoding::BodyToEngine(body.bytes)
                                         : encoding::BodyFromGb18030(body.bytes);
}

ByteText PrepareTitle(const Source& title, InputEncoding encoding) {
  CheckText(title, "title", encoding);
  return encoding == InputEncoding::Utf8 ? encoding::TitleToEngine(title.bytes)
                                         : encoding::TitleFromGb18030(title.bytes);
}

std::optional<int> LimitIndex(int limit) {
  switch (limit) {
    case 200: return 0;
    case 300: return 1;
    case 400: return 2;
    case 500: return 3;
    default: return std::nullopt;
  }
}

Outcome SummarizeDocument(const Document& document) {
  HeadlessControls controls;
  controls.WriteControlText(Control::标题框, document.title);
  controls.WriteControlText(Control::内容框, document.body);
  controls.SetSelectedIndex(document.limitIndex);
  Workspace ws(controls);

  Outcome outcome;
  outcome.language = Summarize(ws).value_or(TextLanguage::Neither);
  outcome.summary = controls.Text(Control::编辑框1);
  outcome.keywordLine = controls.Text(Control::标签3);
  outcome.statsLine = controls.Text(Control::标签2);
  outcome.keywords = std::move(ws.keywordTable);
  outcome.sentences = std::move(ws.sentenceTable);
  return outcome;
}

}  // namespace sumvelo::cli

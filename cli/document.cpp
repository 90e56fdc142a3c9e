#include "cli/document.h"

#include <sys/stat.h>

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

[[noreturn]] void TooLarge(const std::string& name, std::size_t maxBytes) {
  throw InputError(name + " is larger than the limit of " + ByteLimitText(maxBytes));
}

// ReadAll reads to the end, or throws once more than `maxBytes` bytes have come.
std::string ReadAll(std::FILE* file, const std::string& name, std::size_t maxBytes) {
  std::string bytes;
  char buffer[65536];
  for (;;) {
    std::size_t n = std::fread(buffer, 1, sizeof buffer, file);
    if (n > maxBytes - bytes.size()) TooLarge(name, maxBytes);
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

// NulHint is appended to the message for a NUL byte in a text whose encoding was to be told
// from its bytes, when the bytes would read as UTF-16 (either byte order) without a NUL
// character: UTF-16 without a byte-order mark looks like that.
std::string NulHint(std::string_view bytes) {
  if (bytes.size() < 2 || bytes.size() % 2 != 0) return "";
  const std::string marked = "\xFF\xFE" + std::string(bytes);  // Utf16ToUtf8 skips a mark
  std::string ignored;
  for (bool bigEndian : {false, true}) {
    if (!Utf16ToUtf8(marked, bigEndian, ignored)) {
      return " (if it is UTF-16, it needs a byte-order mark)";
    }
  }
  return "";
}

// Resolve returns the encoding to read `source` in, detecting it for Auto; for UTF-16 it leaves
// the text converted to UTF-8 in `utf8`. It throws InputError for text that no encoding reads.
TextEncoding Resolve(const Source& source, std::string_view what, InputEncoding encoding,
                     std::string& utf8) {
  if (encoding == InputEncoding::Utf8) return TextEncoding::Utf8;
  if (encoding == InputEncoding::Gb18030) return TextEncoding::Gb18030;
  const std::string where = std::string(what) + " (" + source.name + ")";
  const Detection d = DetectEncoding(source.bytes);
  if (d.encoding == TextEncoding::Utf16Le || d.encoding == TextEncoding::Utf16Be) {
    const bool bigEndian = *d.encoding == TextEncoding::Utf16Be;
    if (auto bad = Utf16ToUtf8(source.bytes, bigEndian, utf8)) {
      throw InputError(where + " is not valid " + std::string(EncodingName(*d.encoding)) + ": " +
                       bad->what + " at byte offset " + std::to_string(bad->offset));
    }
    return *d.encoding;
  }
  if (std::size_t nul = source.bytes.find('\0'); nul != std::string::npos) {
    throw InputError(where + " has a NUL byte at offset " + std::to_string(nul) +
                     NulHint(source.bytes));
  }
  if (!d.encoding) {
    throw InputError(where + " is neither UTF-8 (invalid at byte offset " +
                     std::to_string(d.utf8Error) + ") nor GBK/GB18030 (invalid at byte offset " +
                     std::to_string(d.gb18030Error) + ")");
  }
  return *d.encoding;
}

// Prepare reads `source` as body or title text in the engine's bytes.
ByteText Prepare(const Source& source, std::string_view what, InputEncoding encoding,
                 TextEncoding* chosen, bool title) {
  std::string utf16Text;
  const TextEncoding resolved = Resolve(source, what, encoding, utf16Text);
  if (chosen) *chosen = resolved;
  switch (resolved) {
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
      return title ? encoding::TitleToEngine(utf16Text) : encoding::BodyToEngine(utf16Text);
    case TextEncoding::Gb18030:
      CheckText(source, what, InputEncoding::Gb18030);
      return title ? encoding::TitleFromGb18030(source.bytes)
                   : encoding::BodyFromGb18030(source.bytes);
    case TextEncoding::Utf8:
    case TextEncoding::Utf8WithBom:
      break;
  }
  CheckText(source, what, InputEncoding::Utf8);
  return title ? encoding::TitleToEngine(source.bytes) : encoding::BodyToEngine(source.bytes);
}

}  // namespace

std::string ByteLimitText(std::size_t maxBytes) {
  std::string text = std::to_string(maxBytes) + " bytes";
  if (maxBytes >= (std::size_t{1} << 20) && maxBytes % (std::size_t{1} << 20) == 0) {
    text += " (" + std::to_string(maxBytes >> 20) + " MiB)";
  }
  return text;
}

Source ReadSource(const std::string& path, std::size_t maxBytes) {
  if (path == "-") {
    return {ReadAll(stdin, "standard input", maxBytes), "standard input"};
  }
  errno = 0;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) throw InputError("cannot read " + path + ": " + std::strerror(errno));
  struct stat info {};
  if (fstat(fileno(file.get()), &info) == 0 && S_ISREG(info.st_mode) &&
      static_cast<unsigned long long>(info.st_size) > maxBytes) {
    TooLarge(path + " (" + std::to_string(info.st_size) + " bytes)", maxBytes);
  }
  return {ReadAll(file.get(), path, maxBytes), path};
}

ByteText PrepareBody(const Source& body, InputEncoding encoding, TextEncoding* chosen) {
  return Prepare(body, "body", encoding, chosen, false);
}

ByteText PrepareTitle(const Source& title, InputEncoding encoding, TextEncoding* chosen) {
  return Prepare(title, "title", encoding, chosen, true);
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

Outcome SummarizeDocument(const Document& document, const EventHook& onEvents) {
  HeadlessControls controls;
  if (onEvents) controls.SetEventHook([&onEvents](HeadlessControls& c) { onEvents(c); });
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

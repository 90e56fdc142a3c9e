#include "encoding/gb18030.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace sumvelo::encoding {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kGb18030Bom = "\x84\x31\x95\x33";  // U+FEFF
constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";
constexpr std::string_view kGb18030Replacement = "\x84\x31\xA4\x37";  // U+FFFD

// One iconv descriptor per thread and direction: a descriptor holds conversion state, so it must
// never be shared between threads, and opening one per call would cost more than most texts.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      std::fprintf(stderr, "sumvelo: iconv cannot convert from %s to %s: %s\n", from, to,
                   std::strerror(errno));
      std::abort();
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  iconv_t Reset() {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    return cd_;
  }

 private:
  iconv_t cd_;
};

Converter& ToGb18030() {
  thread_local Converter c("GB18030", "UTF-8");
  return c;
}

Converter& FromGb18030() {
  thread_local Converter c("UTF-8", "GB18030");
  return c;
}

// What a conversion stopped at: the offset of the offending input byte, and whether the input
// ended inside a character (EINVAL) rather than holding an invalid one (EILSEQ).
struct ConversionStop {
  std::size_t offset;
  bool incomplete;
};

// ConvertUntilError appends to `out` the conversion of `in` from `from` on, and returns where it
// stopped on a byte iconv refuses, or nothing when it converted everything.
std::optional<ConversionStop> ConvertUntilError(iconv_t cd, std::string_view in, std::size_t from,
                                                std::string& out) {
  char buffer[4096];
  char* inPtr = const_cast<char*>(in.data()) + from;
  std::size_t inLeft = in.size() - from;
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    int error = errno;
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (rc != static_cast<std::size_t>(-1)) continue;
    if (error == E2BIG) continue;
    return ConversionStop{static_cast<std::size_t>(inPtr - in.data()), error == EINVAL};
  }
  return std::nullopt;
}

// GB18030 structure: a byte 81..FE opens a character; the second byte is 40..7E or 80..FE for a
// two-byte one, or 30..39 followed by 81..FE and 30..39 for a four-byte one.
bool IsGbLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsGbDigit(unsigned char b) { return b >= 0x30 && b <= 0x39; }

// IsGb18030Prefix is true when `rest` is a proper beginning of a well-formed GB18030 character,
// that is, when more bytes could still complete it.
bool IsGb18030Prefix(std::string_view rest) {
  auto at = [&](std::size_t i) { return static_cast<unsigned char>(rest[i]); };
  if (rest.empty() || rest.size() > 3 || !IsGbLead(at(0))) return false;
  if (rest.size() >= 2 && !IsGbDigit(at(1))) return false;
  if (rest.size() >= 3 && !IsGbLead(at(2))) return false;
  return true;
}

// DecodeGb18030 converts GB18030 to UTF-8. A byte that starts no character becomes U+FFFD and
// decoding resumes at the byte after it; a character cut off by the end of the text becomes one
// U+FFFD. With `firstError`, it stops at the first such byte instead and reports its offset.
std::string DecodeGb18030(std::string_view gb, std::optional<std::size_t>* firstError) {
  std::string out;
  out.reserve(gb.size() + gb.size() / 2);
  iconv_t cd = FromGb18030().Reset();
  std::size_t from = 0;
  while (from < gb.size()) {
    std::optional<ConversionStop> stop = ConvertUntilError(cd, gb, from, out);
    if (!stop) break;
    if (firstError) {
      *firstError = stop->offset;
      return out;
    }
    out += kUtf8Replacement;
    std::string_view rest = gb.substr(stop->offset);
    from = stop->incomplete && IsGb18030Prefix(rest) ? gb.size() : stop->offset + 1;
    cd = FromGb18030().Reset();
  }
  return out;
}

// Utf8SequenceAt looks at the UTF-8 sequence starting at `i`. It returns its length when it is
// well formed; otherwise `valid` is false and the length is that of the ill-formed part (the
// bytes that could still have begun a well-formed sequence, at least one).
struct Utf8Sequence {
  std::size_t length;
  bool valid;
};

Utf8Sequence Utf8SequenceAt(std::string_view text, std::size_t i) {
  auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = b(i);
  if (lead < 0x80) return {1, true};
  std::size_t need;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong three-byte forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 4;
    if (lead == 0xF0) low = 0x90;   // no overlong four-byte forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return {1, false};  // a continuation byte, C0, C1 or F5..FF
  }
  for (std::size_t k = 1; k < need; ++k) {
    if (i + k >= text.size()) return {k, false};
    unsigned char c = b(i + k);
    bool ok = k == 1 ? (c >= low && c <= high) : (c >= 0x80 && c <= 0xBF);
    if (!ok) return {k, false};
  }
  return {need, true};
}

// NormalizeLineBreaks turns every LF, CR LF and lone CR into CR LF. Both encodings it serves keep
// CR and LF out of their multi-byte characters, so the bytes can be rewritten directly.
std::string NormalizeLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string_view FirstLine(std::string_view text) {
  return text.substr(0, std::min(text.find_first_of("\r\n"), text.size()));
}

std::string_view DropPrefix(std::string_view text, std::string_view prefix) {
  if (text.starts_with(prefix)) text.remove_prefix(prefix.size());
  return text;
}

}  // namespace

std::optional<std::size_t> FindInvalidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    Utf8Sequence s = Utf8SequenceAt(text, i);
    if (!s.valid) return i;
    i += s.length;
  }
  return std::nullopt;
}

std::optional<std::size_t> FindInvalidGb18030(std::string_view text) {
  std::optional<std::size_t> error;
  DecodeGb18030(text, &error);
  return error;
}

std::string Utf8ToGb18030(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  iconv_t cd = ToGb18030().Reset();
  std::size_t i = 0;
  while (i < utf8.size()) {
    // Convert the longest well-formed stretch in one go.
    std::size_t end = i;
    while (end < utf8.size()) {
      Utf8Sequence s = Utf8SequenceAt(utf8, end);
      if (!s.valid) break;
      end += s.length;
    }
    std::string_view stretch = utf8.substr(0, end);
    std::size_t from = i;
    while (from < end) {
      std::optional<ConversionStop> stop = ConvertUntilError(cd, stretch, from, out);
      if (!stop) break;
      // A well-formed character the converter has no form for: replace that one character.
      out += kGb18030Replacement;
      from = stop->offset + Utf8SequenceAt(stretch, stop->offset).length;
      cd = ToGb18030().Reset();
    }
    if (end >= utf8.size()) break;
    out += kGb18030Replacement;
    i = end + Utf8SequenceAt(utf8, end).length;
  }
  return out;
}

std::string Gb18030ToUtf8(std::string_view gb) { return DecodeGb18030(gb, nullptr); }

std::string BodyToEngine(std::string_view utf8) {
  return Utf8ToGb18030(NormalizeLineBreaks(DropPrefix(utf8, kUtf8Bom)));
}

std::string TitleToEngine(std::string_view utf8) {
  return Utf8ToGb18030(FirstLine(DropPrefix(utf8, kUtf8Bom)));
}

std::string BodyFromGb18030(std::string_view gb) {
  return NormalizeLineBreaks(DropPrefix(gb, kGb18030Bom));
}

std::string TitleFromGb18030(std::string_view gb) {
  return std::string(FirstLine(DropPrefix(gb, kGb18030Bom)));
}

std::string FromEngine(std::string_view gb) {
  std::string utf8 = Gb18030ToUtf8(gb);
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
    out += utf8[i];
  }
  return out;
}

}  // namespace sumvelo::encoding

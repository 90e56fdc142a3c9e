#include "cli/detect_encoding.h"

#include "encoding/gb18030.h"

namespace sumvelo::cli {
namespace {

void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string_view EncodingName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8: return "UTF-8";
    case TextEncoding::Utf8WithBom: return "UTF-8 with byte-order mark";
    case TextEncoding::Utf16Le: return "UTF-16 LE";
    case TextEncoding::Utf16Be: return "UTF-16 BE";
    case TextEncoding::Gb18030: break;
  }
  return "GBK/GB18030";
}

Detection DetectEncoding(std::string_view bytes) {
  Detection d;
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    d.encoding = TextEncoding::Utf8WithBom;
  } else if (bytes.starts_with("\xFF\xFE")) {
    d.encoding = TextEncoding::Utf16Le;
  } else if (bytes.starts_with("\xFE\xFF")) {
    d.encoding = TextEncoding::Utf16Be;
  } else if (bytes.starts_with("\x84\x31\x95\x33")) {
    d.encoding = TextEncoding::Gb18030;
  } else if (auto badUtf8 = encoding::FindInvalidUtf8(bytes); !badUtf8) {
    d.encoding = TextEncoding::Utf8;
  } else if (auto badGb = encoding::FindInvalidGb18030(bytes); !badGb) {
    d.encoding = TextEncoding::Gb18030;
  } else {
    d.utf8Error = *badUtf8;
    d.gb18030Error = *badGb;
  }
  return d;
}

std::optional<Utf16Error> Utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string& utf8) {
  utf8.clear();
  utf8.reserve(bytes.size() + bytes.size() / 2);
  auto unit = [&](std::size_t at) -> char32_t {
    const auto b0 = static_cast<unsigned char>(bytes[at]);
    const auto b1 = static_cast<unsigned char>(bytes[at + 1]);
    return bigEndian ? (char32_t{b0} << 8 | b1) : (char32_t{b1} << 8 | b0);
  };
  if (bytes.size() % 2 != 0) return Utf16Error{bytes.size() - 1, "an odd number of bytes"};
  for (std::size_t i = 2; i < bytes.size(); i += 2) {  // 0..1 is the byte-order mark
    char32_t c = unit(i);
    if (c == 0) return Utf16Error{i, "a NUL character"};
    if (c >= 0xDC00 && c <= 0xDFFF) return Utf16Error{i, "an unpaired surrogate"};
    if (c >= 0xD800 && c <= 0xDBFF) {
      const char32_t low = i + 3 < bytes.size() ? unit(i + 2) : 0;
      if (low < 0xDC00 || low > 0xDFFF) return Utf16Error{i, "an unpaired surrogate"};
      c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    }
    AppendUtf8(c, utf8);
  }
  return std::nullopt;
}

}  // namespace sumvelo::cli

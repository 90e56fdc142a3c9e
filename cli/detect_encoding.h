// Telling the encodings of text files apart, for --encoding auto: UTF-8 (with or without a
// byte-order mark), UTF-16 with a byte-order mark, and GBK/GB18030.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace sumvelo::cli {

// TextEncoding is what the bytes of one text were read as.
enum class TextEncoding { Utf8, Utf8WithBom, Utf16Le, Utf16Be, Gb18030 };

// EncodingName returns the name --verbose prints: "UTF-8", "UTF-8 with byte-order mark",
// "UTF-16 LE", "UTF-16 BE" or "GBK/GB18030".
std::string_view EncodingName(TextEncoding encoding);

// Detection is the encoding DetectEncoding chose, or, when the bytes are none of the encodings
// it knows, the offsets at which UTF-8 and GB18030 reading failed.
struct Detection {
  std::optional<TextEncoding> encoding;
  std::size_t utf8Error = 0;     // first byte that is not well-formed UTF-8 (no encoding only)
  std::size_t gb18030Error = 0;  // first byte that does not begin a GB18030 character
};

// DetectEncoding looks first at a byte-order mark: EF BB BF gives Utf8WithBom, FF FE Utf16Le,
// FE FF Utf16Be, 84 31 95 33 (GB18030's own mark) Gb18030. Without one, bytes that are
// well-formed UTF-8 give Utf8 (so pure ASCII and the empty text are UTF-8); otherwise bytes that
// are well-formed GB18030 give Gb18030; otherwise there is no encoding and both error offsets
// are set. A byte-order mark alone decides: what follows it is checked when it is converted.
Detection DetectEncoding(std::string_view bytes);

// Utf16Error is where UTF-16 text could not be read: the byte offset of the code unit (counted
// from the start of the text, byte-order mark included) and what was wrong with it.
struct Utf16Error {
  std::size_t offset;
  std::string what;  // "an odd number of bytes", "an unpaired surrogate", "a NUL character"
};

// Utf16ToUtf8 converts UTF-16 text that starts with its byte-order mark (dropped from the
// result) to UTF-8. It fails on an odd number of bytes, on a surrogate that is not part of a
// high-low pair, and on U+0000 (no text handed to the engine holds a NUL); then `utf8` holds
// what was converted before the error.
std::optional<Utf16Error> Utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string& utf8);

}  // namespace sumvelo::cli

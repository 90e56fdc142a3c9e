// The boundary between the user's text (UTF-8, or GBK/GB18030 files) and the engine's GB18030
// bytes, through the C library's iconv. Every function is safe to call from several threads.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sumvelo::encoding {

// FindInvalidUtf8 returns the byte offset of the first byte that does not belong to a well-formed
// UTF-8 sequence (overlong forms, surrogates and code points above U+10FFFF included), or nothing.
std::optional<std::size_t> FindInvalidUtf8(std::string_view text);

// FindInvalidGb18030 returns the byte offset of the first byte that does not begin a valid
// GB18030 character, or nothing.
std::optional<std::size_t> FindInvalidGb18030(std::string_view text);

// Utf8ToGb18030 converts well-formed UTF-8 (check it with FindInvalidUtf8 first; an ill-formed
// sequence becomes the GB18030 form of U+FFFD). Every character has a GB18030 form; the C
// library lacks one only for 24 private-use code points (U+E78D..U+E796, U+E816.. and so on, the
// ones GB18030-2005 gave to real characters), which become U+FFFD too.
std::string Utf8ToGb18030(std::string_view utf8);

// Gb18030ToUtf8 converts GB18030 bytes; a byte that does not decode (a lone first byte, a cut in
// the middle of a four-byte character) becomes U+FFFD and decoding goes on after it.
std::string Gb18030ToUtf8(std::string_view gb);

// BodyToEngine prepares a body for the engine from UTF-8: a leading byte-order mark is dropped,
// every line break (LF, CR LF or a lone CR) becomes CR LF, and the result is GB18030.
std::string BodyToEngine(std::string_view utf8);

// TitleToEngine prepares a title: a leading byte-order mark is dropped, the text from its first
// line break on is dropped, and the rest is converted to GB18030.
std::string TitleToEngine(std::string_view utf8);

// BodyFromGb18030 and TitleFromGb18030 do the same for text that already is GB18030/GBK
// (a file read with --encoding gbk): line breaks and the first line only, no conversion.
std::string BodyFromGb18030(std::string_view gb);
std::string TitleFromGb18030(std::string_view gb);

// FromEngine turns engine bytes (a summary, a label) into UTF-8, CR LF becoming LF.
std::string FromEngine(std::string_view gb);

}  // namespace sumvelo::encoding

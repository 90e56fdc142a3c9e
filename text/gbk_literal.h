// Gbk turns a UTF-8 literal of the program's own (a rule, a caption, a cue) into the GBK bytes
// the stages compare against, so that rule tables can be written and read as text. ASCII passes
// through; every other character must be one of the few the program's own texts use (the table
// in gbk_literal.cpp). Any other character, or malformed UTF-8, is a programming error: Gbk
// reports it and ends the program. The engine uses no conversion library; the boundary converts
// user text with a full GB18030 converter.
#pragma once

#include <string_view>

#include "text/byte_text.h"

namespace sumvelo {

ByteText Gbk(std::string_view utf8);

// GbkTableEntry and GbkLiteralTable expose the table so tests can check it against a converter.
struct GbkTableEntry {
  char32_t codePoint;
  unsigned char first, second;
};
std::basic_string_view<GbkTableEntry> GbkLiteralTable();

}  // namespace sumvelo

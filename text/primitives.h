// Text primitives over ByteText. None of them fails: counts out of range are clipped and a
// search that finds nothing gives -1. Every one returns a new value and leaves its inputs alone.
//
// "Character start": a position reached by reading from the start of the text and stepping
// over 2 bytes at a byte of 0x80 or more, over 1 byte otherwise. A text may end in a lone first
// byte (a byte of 0x80 or more with nothing after it); each scanning primitive says what it does
// with one.
#pragma once

#include <initializer_list>

#include "text/byte_text.h"

namespace sumvelo {

// TextLength returns the number of bytes of `text`.
int TextLength(ByteView text);

// LeftBytes returns the first n bytes of `text` (all of it when n is larger, the empty text when
// n <= 0). The cut is by bytes: it may end on the first byte of a two-byte character.
ByteText LeftBytes(ByteView text, int n);

// RightBytes returns the last n bytes of `text`, clipped like LeftBytes; it may begin on the
// second byte of a two-byte character.
ByteText RightBytes(ByteView text, int n);

// CharFromByte returns the one-byte text holding the low 8 bits of `b`; 0 gives the empty text.
ByteText CharFromByte(int b);

// TextToBytes returns the bytes of `text` in order; ByteCount their number.
ByteSequence TextToBytes(ByteView text);
int ByteCount(const ByteSequence& bytes);

// ConcatTexts returns the bytes of every text in order.
ByteText ConcatTexts(std::initializer_list<ByteView> texts);

// TextEquals is true when both texts hold the same bytes (the empty texts are equal). It is an
// equality test only, never an ordering.
bool TextEquals(ByteView a, ByteView b);

// FindText returns the 1-based position of the first match of `what` that begins on a character
// start of `text`, or -1. An empty `what` is found at 1 in any non-empty text and nowhere in an
// empty one. With ignoreCase, bytes 'A'..'Z' compare as 'a'..'z' on both sides, second bytes of
// two-byte characters included. A lone first byte at the end is examined like any character
// start, so it can match only a one-byte `what`.
int FindText(ByteView text, ByteView what, bool ignoreCase);

// FindLastText is FindText's scan carried to the end: the position of the last match, or -1.
// An empty `what` gives 1 in a non-empty text, else -1.
int FindLastText(ByteView text, ByteView what, bool ignoreCase);

// ReplaceText returns `text` with every occurrence of `what` replaced by `with`, comparing bytes
// exactly. Matches begin only at character starts, run left to right without overlap, and text
// just inserted is never looked at again. An empty `text` or `what` gives a copy of `text`.
// When `what` is one byte long and the scan reaches a lone first byte at the end that does not
// match, that byte is dropped; with a longer `what` it is kept, as part of the unscanned rest.
ByteText ReplaceText(ByteView text, ByteView what, ByteView with);

// SplitText returns the pieces of `text` between exact matches of `separator` found at
// character starts. An empty text gives no pieces; an empty separator gives the whole text as
// one piece. A leading separator gives an empty first piece and two adjacent ones an empty piece
// between them; a trailing separator gives no empty last piece. A lone first byte at the end
// ends the scan and belongs to the last piece.
TextArray SplitText(ByteView text, ByteView separator);

// FoldAsciiCase maps 'A'..'Z' to 'a'..'z' and leaves every other byte as it is: the byte
// comparison that FindText uses with ignoreCase.
constexpr unsigned char FoldAsciiCase(unsigned char b) {
  return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b + 0x20) : b;
}

// CharLengthAt returns 2 when the byte at 0-based `offset` opens a two-byte character, else 1.
inline int CharLengthAt(ByteView text, std::size_t offset) {
  return IsLeadByte(static_cast<unsigned char>(text[offset])) ? 2 : 1;
}

}  // namespace sumvelo

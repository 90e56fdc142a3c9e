// The text model every stage works on: GBK/GB18030 byte strings.
//
// A byte of 0x80 or more and the byte after it form one character; a byte below 0x80 is a
// one-byte (ASCII) character. Lengths and positions are in bytes, positions count from 1, and a
// search that finds nothing gives -1. The empty and the absent text are one value: the empty
// string. A ByteText never holds a zero byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sumvelo {

using ByteText = std::string;       // owned bytes, no terminator inside
using ByteView = std::string_view;  // borrowed bytes, for arguments

// ByteSequence is the bytes of a text as numbers 0..255, for walking a text byte by byte.
using ByteSequence = std::vector<unsigned char>;

// True when `b` opens a two-byte character (0x80 or more).
constexpr bool IsLeadByte(unsigned char b) { return b >= 0x80; }

// TextArray is a list of texts indexed from 1 to Count(). Reading or writing an index outside
// 1..Count() is a fatal error: it reports the index and ends the program with exit code -1
// (stages keep their indices in range; the check guards against a fault, it is not a branch).
class TextArray {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  const ByteText& operator[](int index) const { return items_[Checked(index)]; }
  ByteText& operator[](int index) { return items_[Checked(index)]; }
  void Append(ByteText t) { items_.push_back(std::move(t)); }
  void Clear() { items_.clear(); }
  void Reserve(std::size_t n) { items_.reserve(n); }
  // The elements, 0-based, for code that needs no index checks (fast paths, tests).
  const std::vector<ByteText>& Items() const { return items_; }

 private:
  std::size_t Checked(int index) const;
  std::vector<ByteText> items_;
};

}  // namespace sumvelo

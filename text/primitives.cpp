#include "text/primitives.h"

#include <cstring>

namespace sumvelo {
namespace {

inline unsigned char At(ByteView t, std::size_t i) { return static_cast<unsigned char>(t[i]); }

// Compares m bytes of `text` at offset `at` with `what`, exactly or ignoring ASCII case.
inline bool SameBytes(ByteView text, std::size_t at, ByteView what, bool ignoreCase) {
  if (!ignoreCase) return std::memcmp(text.data() + at, what.data(), what.size()) == 0;
  for (std::size_t k = 0; k < what.size(); ++k) {
    if (FoldAsciiCase(At(text, at + k)) != FoldAsciiCase(At(what, k))) return false;
  }
  return true;
}

// SearchBytes returns the first exact occurrence of `what` (not empty) in the n bytes at `from`,
// or nullptr. It jumps with memchr between occurrences of one byte of `what`, the last one that
// is not a space (spaces are the commonest byte of term texts, and many rules begin and end with
// one), and compares the rest at each; that is far quicker than memmem for the short texts that
// rules and keywords are.
const char* SearchBytes(const char* from, std::size_t n, ByteView what) {
  const std::size_t m = what.size();
  if (m > n) return nullptr;
  if (m == 1) return static_cast<const char*>(std::memchr(from, what[0], n));
  std::size_t anchor = m - 1;
  while (anchor > 0 && what[anchor] == ' ') --anchor;
  if (what[anchor] == ' ') anchor = m - 1;
  const char* last = from + (n - m);  // the last place an occurrence can begin
  for (const char* p = from + anchor; p <= last + anchor; ++p) {
    p = static_cast<const char*>(
        std::memchr(p, what[anchor], static_cast<std::size_t>(last + anchor - p) + 1));
    if (p == nullptr) return nullptr;
    const char* at = p - anchor;
    if (at[0] == what[0] && std::memcmp(at, what.data(), m) == 0) return at;
  }
  return nullptr;
}

// Calls visit(offset) for every character start from which at least `what` bytes remain, in
// order, until visit returns true. Returns the offset visit accepted, or npos.
template <typename Visit>
std::size_t ScanStarts(ByteView text, std::size_t m, Visit visit) {
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n && n - i >= m) {
    if (visit(i)) return i;
    i += IsLeadByte(At(text, i)) ? 2 : 1;
  }
  return ByteView::npos;
}

// FindIgnoringCase is FindText with ignoreCase for a non-empty `what`. Candidates are the
// positions whose byte folds to the folded first byte of `what` (that byte itself, and for a
// letter its other case too), found with memchr; each is kept only when it lies on a character
// start and the rest of `what` compares equal.
int FindIgnoringCase(ByteView text, ByteView what) {
  const std::size_t n = text.size();
  const std::size_t m = what.size();
  if (n < m) return -1;
  const std::size_t limit = n - m + 1;  // candidates lie below it
  const unsigned char first = FoldAsciiCase(At(what, 0));
  const bool letter = first >= 'a' && first <= 'z';
  const unsigned char other = letter ? static_cast<unsigned char>(first - 0x20) : first;
  auto nextOf = [&](unsigned char b, std::size_t from) {
    const void* hit = from < limit ? std::memchr(text.data() + from, b, limit - from) : nullptr;
    return hit == nullptr ? limit : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
  };
  std::size_t nextFirst = nextOf(first, 0), nextOther = letter ? nextOf(other, 0) : limit;
  std::size_t start = 0;  // a character start at or before every candidate still to test
  while (true) {
    const std::size_t h = std::min(nextFirst, nextOther);
    if (h >= limit) return -1;
    while (start < h) start += IsLeadByte(At(text, start)) ? 2 : 1;
    if (start == h && SameBytes(text, h + 1, what.substr(1), true)) return static_cast<int>(h) + 1;
    if (nextFirst == h) nextFirst = nextOf(first, h + 1);
    if (nextOther == h) nextOther = letter ? nextOf(other, h + 1) : limit;
  }
}

}  // namespace

int TextLength(ByteView text) { return static_cast<int>(text.size()); }

ByteText LeftBytes(ByteView text, int n) {
  if (n <= 0) return {};
  return ByteText(text.substr(0, static_cast<std::size_t>(n)));
}

ByteText RightBytes(ByteView text, int n) {
  if (n <= 0) return {};
  const std::size_t m = std::min(static_cast<std::size_t>(n), text.size());
  return ByteText(text.substr(text.size() - m));
}

ByteText CharFromByte(int b) {
  const auto byte = static_cast<unsigned char>(b & 0xFF);
  if (byte == 0) return {};
  return ByteText(1, static_cast<char>(byte));
}

ByteSequence TextToBytes(ByteView text) { return ByteSequence(text.begin(), text.end()); }

int ByteCount(const ByteSequence& bytes) { return static_cast<int>(bytes.size()); }

ByteText ConcatTexts(std::initializer_list<ByteView> texts) {
  std::size_t total = 0;
  for (ByteView t : texts) total += t.size();
  ByteText out;
  out.reserve(total);
  for (ByteView t : texts) out.append(t);
  return out;
}

bool TextEquals(ByteView a, ByteView b) { return a == b; }

int FindText(ByteView text, ByteView what, bool ignoreCase) {
  if (what.empty()) return text.empty() ? -1 : 1;
  const std::size_t m = what.size();
  if (!ignoreCase) {
    // Exact: let SearchBytes propose candidates and keep only those on a character start.
    const std::size_t n = text.size();
    std::size_t start = 0;  // a character start at or before every candidate still to test
    while (start < n && n - start >= m) {
      const char* hit = SearchBytes(text.data() + start, n - start, what);
      if (hit == nullptr) return -1;
      const auto h = static_cast<std::size_t>(hit - text.data());
      while (start < h) start += IsLeadByte(At(text, start)) ? 2 : 1;
      if (start == h) return static_cast<int>(h) + 1;
      // The candidate began on a second byte; search again from the next character start.
    }
    return -1;
  }
  return FindIgnoringCase(text, what);
}

int FindLastText(ByteView text, ByteView what, bool ignoreCase) {
  if (what.empty()) return text.empty() ? -1 : 1;
  int last = -1;
  ScanStarts(text, what.size(), [&](std::size_t i) {
    if (SameBytes(text, i, what, ignoreCase)) last = static_cast<int>(i) + 1;
    return false;
  });
  return last;
}

ByteText ReplaceText(ByteView text, ByteView what, ByteView with) {
  if (text.empty() || what.empty()) return ByteText(text);
  const std::size_t n = text.size();
  const std::size_t m = what.size();
  ByteText out;
  out.reserve(n);
  std::size_t cursor = 0;
  while (cursor < n && n - cursor >= m) {
    // Jump to the next exact byte match, then walk character starts up to it.
    const char* hit = SearchBytes(text.data() + cursor, n - cursor, what);
    if (hit == nullptr && m >= 2) break;  // no more matches; the rest is copied unchanged
    const std::size_t h =
        hit == nullptr ? n : static_cast<std::size_t>(hit - text.data());
    std::size_t walk = cursor;
    // Characters that lie wholly before the candidate are copied as they are. A scan that
    // stops at fewer than m remaining bytes copies the rest below.
    while (walk < h && n - walk >= m) {
      const std::size_t len = IsLeadByte(At(text, walk)) ? 2 : 1;
      if (walk + len > n) {  // a lone first byte at the end, reached with a one-byte `what`:
        out.append(text.substr(cursor, walk - cursor));  // it is dropped
        return out;
      }
      walk += len;
    }
    out.append(text.substr(cursor, walk - cursor));
    cursor = walk;
    if (cursor == h && h < n) {  // the candidate is on a character start: replace it
      out.append(with);
      cursor += m;
    }
  }
  if (cursor < n) out.append(text.substr(cursor));
  return out;
}

TextArray SplitText(ByteView text, ByteView separator) {
  TextArray parts;
  if (text.empty()) return parts;
  if (separator.empty()) {
    parts.Append(ByteText(text));
    return parts;
  }
  const std::size_t n = text.size();
  const std::size_t m = separator.size();
  std::size_t segment = 0;
  std::size_t i = 0;
  while (i < n && n - i >= m) {
    if (i + 1 == n && IsLeadByte(At(text, i))) break;  // a lone first byte: the scan ends
    if (std::memcmp(text.data() + i, separator.data(), m) == 0) {
      parts.Append(ByteText(text.substr(segment, i - segment)));
      i += m;
      segment = i;
    } else {
      i += IsLeadByte(At(text, i)) ? 2 : 1;
    }
  }
  if (segment < n) parts.Append(ByteText(text.substr(segment)));
  return parts;
}

}  // namespace sumvelo

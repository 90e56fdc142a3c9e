#include "keywords/phrase_discovery_fast.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "keywords/keyword_ranking.h"
#include "keywords/phrase_discovery.h"
#include "text/gbk_literal.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace sumvelo {
namespace {

constexpr int kWeightColumn = 1;
constexpr int kMinRepeats = 3;

// How many windows a loop handles between two looks at the clock.
constexpr std::size_t kWindowsPerYield = 1 << 14;

// Code is one element of the character sequence as a number: a one-byte element is its byte
// (0x00..0x7F, or 0x80..0xFF for a lone first byte at the very end), a two-byte element is
// first << 8 | second, 0x8000 or more. Two elements are equal exactly when their codes are, so
// two windows are equal exactly when their codes are. A window that is a candidate never holds
// the lone first byte (that can only be the last element, which no candidate reaches), so
// equal codes also mean equal bytes.
using Code = std::uint16_t;
constexpr Code kSpaceCode = ' ';

std::vector<Code> ElementCodes(ByteView text) {
  std::vector<Code> codes;
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++count) {
    i += (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
  }
  codes.reserve(count);
  for (std::size_t i = 0; i < text.size();) {
    const auto first = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(first) && i + 1 < text.size()) {
      codes.push_back(static_cast<Code>(first << 8 | static_cast<unsigned char>(text[i + 1])));
      i += 2;
    } else {
      codes.push_back(first);
      i += 1;
    }
  }
  return codes;
}

void AppendElement(ByteText& out, Code c) {
  if (c >= 0x100) out.push_back(static_cast<char>(c >> 8));
  out.push_back(static_cast<char>(c & 0xFF));
}

ByteText TextOfCodes(const Code* codes, std::size_t count) {
  ByteText out;
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < count; ++i) bytes += codes[i] >= 0x100 ? 2 : 1;
  out.reserve(bytes);
  for (std::size_t i = 0; i < count; ++i) AppendElement(out, codes[i]);
  return out;
}

// Runs of elements without a space: run[j] is the number of elements from j on before the
// next space (or the end), capped at 255, so a window of L elements at j holds no space
// exactly when run[j] >= L.
std::vector<std::uint8_t> SpaceFreeRuns(const std::vector<Code>& codes) {
  std::vector<std::uint8_t> run(codes.size() + 1, 0);
  for (std::size_t i = codes.size(); i-- > 0;) {
    run[i] = codes[i] == kSpaceCode ? 0 : static_cast<std::uint8_t>(std::min(run[i + 1] + 1, 255));
  }
  return run;
}

// A window's hash is the polynomial sum of its scrambled element codes, modulo 2^64. The
// rolling update is exact modular arithmetic, so equal windows always hash equally; unequal
// ones are told apart by comparing their codes.
constexpr std::uint64_t kHashBase = 0x100000001B3ull * 0x9E3779B97F4A7C15ull | 1;

inline std::uint64_t Scramble(Code c) {
  std::uint64_t z = c + 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::uint64_t WindowHash(const Code* w, int length) {
  std::uint64_t h = 0;
  for (int k = 0; k < length; ++k) h = h * kHashBase + Scramble(w[k]);
  return h;
}

// Calls visit(j, hash of window j) for j = 0 .. end - 1 where run[j] >= length, looking at the
// clock every kWindowsPerYield windows.
template <typename Visit>
void ForEachSpaceFreeWindow(const std::vector<Code>& codes, const std::vector<std::uint8_t>& run,
                            int length, std::size_t end, Workspace& ws, Visit visit) {
  if (end == 0) return;
  std::uint64_t top = 1;  // kHashBase^(length - 1)
  for (int k = 1; k < length; ++k) top *= kHashBase;
  std::uint64_t h = WindowHash(codes.data(), length);
  for (std::size_t j = 0;; ++j) {
    if (run[j] >= length) visit(j, h);
    if (j + 1 == end) break;
    h = (h - Scramble(codes[j]) * top) * kHashBase + Scramble(codes[j + length]);
    if ((j & (kWindowsPerYield - 1)) == 0) ws.YieldToWindow();
  }
}

// SequenceTable maps windows of one length to groups of equal windows, numbered in the order
// in which they were first added.
class SequenceTable {
 public:
  static constexpr std::uint32_t kNone = 0xFFFFFFFF;

  SequenceTable(const std::vector<Code>& codes, int length) : codes_(codes), length_(length) {
    Resize(1 << 10);
  }

  // FindOrAdd returns the group of window `start` (with hash h), a new one if it is the first.
  std::uint32_t FindOrAdd(std::size_t start, std::uint64_t h) {
    std::size_t i = h >> shift_;
    for (;; i = (i + 1) & mask_) {
      const std::uint32_t g = slots_[i];
      if (g == kNone) break;
      if (groups_[g].hash == h && Same(groups_[g].start, start)) return g;
    }
    const auto g = static_cast<std::uint32_t>(groups_.size());
    slots_[i] = g;
    groups_.push_back({h, static_cast<std::uint32_t>(start)});
    if (groups_.size() * 2 > slots_.size()) Resize(slots_.size() * 2);
    return g;
  }

  // Find returns the group of window `start`, or kNone.
  std::uint32_t Find(std::size_t start, std::uint64_t h) const {
    for (std::size_t i = h >> shift_;; i = (i + 1) & mask_) {
      const std::uint32_t g = slots_[i];
      if (g == kNone) return kNone;
      if (groups_[g].hash == h && Same(groups_[g].start, start)) return g;
    }
  }

  std::size_t GroupCount() const { return groups_.size(); }
  // GroupStart returns the first window added to group g.
  std::size_t GroupStart(std::uint32_t g) const { return groups_[g].start; }

 private:
  struct Group {
    std::uint64_t hash;
    std::uint32_t start;
  };

  bool Same(std::size_t a, std::size_t b) const {
    return std::memcmp(codes_.data() + a, codes_.data() + b, length_ * sizeof(Code)) == 0;
  }

  void Resize(std::size_t slotCount) {
    slots_.assign(slotCount, kNone);
    mask_ = slotCount - 1;
    shift_ = 64;
    for (std::size_t s = slotCount; s > 1; s >>= 1) --shift_;
    for (std::uint32_t g = 0; g < groups_.size(); ++g) {
      std::size_t i = groups_[g].hash >> shift_;
      while (slots_[i] != kNone) i = (i + 1) & mask_;
      slots_[i] = g;
    }
  }

  const std::vector<Code>& codes_;
  std::size_t length_;
  std::vector<Group> groups_;
  std::vector<std::uint32_t> slots_;
  std::size_t mask_ = 0;
  int shift_ = 64;
};

struct AcceptedPhrase {
  std::size_t start;  // its first occurrence among the candidates
  int count;
};

// AcceptPhrases returns the sequences that one pass of the given length accepts, in the order
// of their first occurrence. A candidate is a space-free window starting at 0 .. S - L - 1; a
// sequence's count is the number of its occurrences among all candidates but the last one,
// which is the count the literal pass arrives at for the sequence's first occurrence, and the
// only one at which it can be accepted.
std::vector<AcceptedPhrase> AcceptPhrases(const std::vector<Code>& codes,
                                          const std::vector<std::uint8_t>& run, int length,
                                          Workspace& ws) {
  const auto size = codes.size();
  const auto len = static_cast<std::size_t>(length);
  if (size <= len) return {};
  std::size_t last = size - len;  // one past the last start position that is examined
  while (last > 0 && run[last - 1] < length) --last;
  if (last == 0) return {};
  --last;  // the last candidate: it is never counted, and a sequence it opens has count 0
  SequenceTable table(codes, length);
  std::vector<int> counts;
  ForEachSpaceFreeWindow(codes, run, length, last, ws, [&](std::size_t j, std::uint64_t h) {
    const std::uint32_t g = table.FindOrAdd(j, h);
    if (g == counts.size()) counts.push_back(0);
    ++counts[g];
  });
  std::vector<AcceptedPhrase> accepted;
  for (std::uint32_t g = 0; g < counts.size(); ++g) {
    if (counts[g] >= kMinRepeats) accepted.push_back({table.GroupStart(g), counts[g]});
  }
  return accepted;
}

// CutPhrases returns the codes of the text after each accepted phrase, in acceptance order,
// has had every occurrence replaced by one space on the result of the ones before it. A
// phrase holds no space, so its occurrences in the rewritten text are exactly its windows in
// this text that overlap nothing replaced before; taking them left to right per phrase, in
// acceptance order, is what the successive replacements do. Every start position counts here,
// the last one S - L included.
std::vector<Code> CutPhrases(const std::vector<Code>& codes, const std::vector<std::uint8_t>& run,
                             int length, const std::vector<AcceptedPhrase>& accepted,
                             Workspace& ws) {
  const auto size = codes.size();
  const auto len = static_cast<std::size_t>(length);
  SequenceTable phrases(codes, length);
  for (const AcceptedPhrase& a : accepted) {
    phrases.FindOrAdd(a.start, WindowHash(codes.data() + a.start, length));
  }
  // Every occurrence of every phrase, by phrase (acceptance order) and then by position.
  std::vector<std::uint32_t> perPhrase(accepted.size() + 1, 0);
  std::vector<std::pair<std::uint32_t, std::uint32_t>> found;  // (phrase, start)
  ForEachSpaceFreeWindow(codes, run, length, size - len + 1, ws,
                         [&](std::size_t j, std::uint64_t h) {
                           const std::uint32_t k = phrases.Find(j, h);
                           if (k == SequenceTable::kNone) return;
                           found.emplace_back(k, static_cast<std::uint32_t>(j));
                           ++perPhrase[k + 1];
                         });
  for (std::size_t k = 1; k < perPhrase.size(); ++k) perPhrase[k] += perPhrase[k - 1];
  std::vector<std::uint32_t> starts(found.size());
  for (const auto& [k, j] : found) starts[perPhrase[k]++] = j;

  enum : std::uint8_t { kKept, kInside, kCutStart };
  std::vector<std::uint8_t> state(size, kKept);
  for (std::uint32_t j : starts) {
    if (std::any_of(state.begin() + j, state.begin() + j + len,
                    [](std::uint8_t s) { return s != kKept; })) {
      continue;
    }
    state[j] = kCutStart;
    std::fill(state.begin() + j + 1, state.begin() + j + len, kInside);
  }
  std::vector<Code> out;
  out.reserve(size);
  for (std::size_t i = 0; i < size;) {
    if (state[i] == kCutStart) {
      out.push_back(kSpaceCode);
      i += len;
    } else {
      out.push_back(codes[i]);
      ++i;
    }
  }
  return out;
}

// CharSequenceOf returns the character sequence of the text the codes stand for, as
// RebuildCharSequence cuts it.
TextArray CharSequenceOf(const std::vector<Code>& codes) {
  TextArray seq;
  seq.Reserve(codes.size());
  for (Code c : codes) {
    ByteText element;
    AppendElement(element, c);
    seq.Append(std::move(element));
  }
  return seq;
}

ByteText Progress(int pass) {
  return ConcatTexts(
      {NumberToText(FloorToInteger(static_cast<double>(pass) / kPhrasePasses * 100)), "%"});
}

ByteText FoldCase(ByteView text) {
  ByteText out(text);
  for (char& c : out) c = static_cast<char>(FoldAsciiCase(static_cast<unsigned char>(c)));
  return out;
}

// SuffixIndex holds, for every row, the case-folded suffixes of its term that begin on a
// character start, sorted, so that the rows whose term FindText finds a text in (ignoring
// case) are the rows of the suffixes that begin with that text, folded. Terms rewritten later
// are added with Add; the suffixes of a row's earlier terms stay, so a proposed row must be
// confirmed against its current term.
class SuffixIndex {
 public:
  explicit SuffixIndex(const WorkTable& table) {
    std::size_t bytes = 0;
    for (int r = 0; r < table.RowCount(); ++r) bytes += table.CellView(r, 0).size();
    folded_.reserve(bytes);
    for (int r = 0; r < table.RowCount(); ++r) {
      const ByteView term = table.CellView(r, 0);
      const auto offset = static_cast<std::uint32_t>(folded_.size());
      folded_ += FoldCase(term);
      for (std::size_t s = 0; s < term.size(); s += CharLengthAt(term, s)) {
        suffixes_.push_back(
            {offset + static_cast<std::uint32_t>(s), static_cast<std::uint32_t>(term.size() - s), r});
      }
    }
    std::sort(suffixes_.begin(), suffixes_.end(), [this](const Suffix& x, const Suffix& y) {
      const ByteView vx = View(x), vy = View(y);
      return vx != vy ? vx < vy : x.row < y.row;
    });
  }

  // Add indexes the suffixes of `term`, the new term of `row`.
  void Add(int row, ByteView term) {
    const ByteText folded = FoldCase(term);
    for (std::size_t s = 0; s < term.size(); s += CharLengthAt(term, s)) {
      added_.emplace(folded.substr(s), row);
    }
  }

  // RowsBeginning returns, ascending and without repeats, every row with an indexed suffix
  // that begins with `folded`.
  std::vector<int> RowsBeginning(ByteView folded) const {
    std::vector<int> rows;
    auto it = std::lower_bound(suffixes_.begin(), suffixes_.end(), folded,
                               [this](const Suffix& s, ByteView what) { return View(s) < what; });
    for (; it != suffixes_.end() && View(*it).starts_with(folded); ++it) rows.push_back(it->row);
    for (auto at = added_.lower_bound(ByteText(folded));
         at != added_.end() && ByteView(at->first).starts_with(folded); ++at) {
      rows.push_back(at->second);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
  }

 private:
  struct Suffix {
    std::uint32_t offset;
    std::uint32_t length;
    int row;
  };
  ByteView View(const Suffix& s) const { return ByteView(folded_).substr(s.offset, s.length); }

  ByteText folded_;  // every row's term at construction, folded, one after the other
  std::vector<Suffix> suffixes_;
  std::multimap<ByteText, int> added_;
};

}  // namespace

void DiscoverPhrasesFast(Workspace& ws) {
  WorkTable& table = ws.keywordTable;
  table.DeleteAllRows();
  std::vector<Code> codes = ElementCodes(ws.workingText);
  ws.charSequence = TextArray();  // rebuilt from the final text; its memory is better used here
  std::int32_t lastPassStartCount = 0;
  for (int p = 1; p <= kPhrasePasses; ++p) {
    const int length = kLongestPhrase + 1 - p;
    if (p == kPhrasePasses) {
      lastPassStartCount = static_cast<std::int32_t>(codes.size() > 2 ? codes.size() - 2 : 0);
    }
    const std::vector<std::uint8_t> run = SpaceFreeRuns(codes);
    const std::vector<AcceptedPhrase> accepted = AcceptPhrases(codes, run, length, ws);
    if (!accepted.empty()) {
      for (const AcceptedPhrase& a : accepted) {
        table.AppendRow(TextOfCodes(codes.data() + a.start, static_cast<std::size_t>(length)));
        table.SetCell(table.RowCount() - 1, kWeightColumn, NumberToText(a.count));
      }
      codes = CutPhrases(codes, run, length, accepted, ws);
      ws.workingText = TextOfCodes(codes.data(), codes.size());
    }
    ws.controls.WriteControlText(Control::标签2, Progress(p));
    ws.YieldToWindow();
  }
  ws.charSequence = CharSequenceOf(codes);
  codes = {};
  MergeContainedPhrases(ws);
  FilterPhrasesFast(ws);
  RankAndShowKeywords(ws, lastPassStartCount);
}

void MergeContainedPhrases(Workspace& ws) {
  static const ByteText kMergeMark = Gbk("、");
  WorkTable& table = ws.keywordTable;
  const int n = table.RowCount();
  SuffixIndex index(table);
  for (int a = 0; a < n; ++a) {
    const ByteText termA = table.GetCell(a, 0);
    for (int b : index.RowsBeginning(FoldCase(termA))) {
      if (b == a) continue;
      const ByteView termB = table.CellView(b, 0);
      if (FindText(termB, termA, true) == -1) continue;  // a suffix of an earlier term of b
      ByteText rewritten = ReplaceText(termB, termA, kMergeMark);
      if (rewritten != termB) index.Add(b, rewritten);
      table.SetCell(b, 0, std::move(rewritten));
      const double sum = TextToNumber(table.CellView(a, kWeightColumn)) +
                         TextToNumber(table.CellView(b, kWeightColumn));
      table.SetCell(a, kWeightColumn, NumberToText(sum));
    }
    ws.YieldToWindow();
  }
}

void FilterPhrasesFast(Workspace& ws) {
  static const ByteText kMergeMark = Gbk("、"), kExcluded = Gbk("这个");
  WorkTable& table = ws.keywordTable;
  std::vector<std::vector<ByteText>> kept;
  for (int r = 0; r < table.RowCount(); ++r) {
    const ByteView term = table.CellView(r, 0);
    if (FindText(term, kMergeMark, true) != -1 || FindText(term, kExcluded, true) != -1) continue;
    std::vector<ByteText> cells;
    for (int c = 0; c < table.ColumnCount(); ++c) cells.push_back(table.GetCell(r, c));
    kept.push_back(std::move(cells));
  }
  if (static_cast<int>(kept.size()) == table.RowCount()) return;
  table.DeleteAllRows();
  for (std::vector<ByteText>& cells : kept) {
    table.AppendRow(std::move(cells[0]));
    for (int c = 1; c < table.ColumnCount(); ++c) {
      table.SetCell(table.RowCount() - 1, c, std::move(cells[static_cast<std::size_t>(c)]));
    }
  }
  ws.YieldToWindow();
}

}  // namespace sumvelo

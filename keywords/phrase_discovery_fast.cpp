#include "keywords/phrase_discovery_fast.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
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

// A window's hash is the polynomial sum of its scrambled element codes, modulo 2^64. The
// rolling update is exact modular arithmetic, so equal windows always hash equally; unequal
// ones are told apart by comparing their codes.
constexpr std::uint64_t kHashBase = 0x100000001B3ull * 0x9E3779B97F4A7C15ull | 1;

inline std::uint64_t Scramble(Code c) { return (c + 1ull) * 0xD6E8FEB86659FD93ull; }

std::uint64_t WindowHash(const Code* w, int length) {
  std::uint64_t h = 0;
  for (int k = 0; k < length; ++k) h = h * kHashBase + Scramble(w[k]);
  return h;
}

// TermText is the text a discovery works on. It keeps the elements of the text the discovery
// started from (codes) and marks what the passes have cut out (cut): the text as it stands is
// the kept elements with one space for each cut region. A window that holds no space in the
// text as it stands is therefore a window of the starting text that holds no space and touches
// no cut region, with the same elements; positions here are those of the starting text.
// For each position j:
// - run[j] is the number of elements from j on before the next space, cut element or the end,
//   capped at kLongestPhrase, so a window of L elements at j is space-free now when run[j] >= L;
// - bound[j] is how long a sequence starting at j can be and still occur three times in the
//   starting text (kLongestPhrase where that was not worked out); only a window no longer than
//   its bound can be accepted, since its count never exceeds that.
struct TermText {
  enum : std::uint8_t { kKept, kInside, kCutStart };

  std::vector<Code> codes;
  std::vector<std::uint8_t> cut;
  std::vector<std::uint8_t> run;
  std::vector<std::uint8_t> bound;
  // byBound lists the positions with a bound of 2 or more, longest bound first, ascending
  // within one bound; its first boundEnd[L] entries are those with a bound of L or more.
  std::vector<std::uint32_t> byBound;
  std::array<std::size_t, kLongestPhrase + 2> boundEnd{};
  std::size_t currentSize = 0;  // elements of the text as it stands

  std::size_t Size() const { return codes.size(); }
  bool Open(std::size_t i) const { return codes[i] != kSpaceCode && cut[i] == kKept; }
  bool MayRepeat(std::size_t j, int length) const { return bound[j] >= length && run[j] >= length; }

  void Start(ByteView workingText) {
    codes = ElementCodes(workingText);
    cut.assign(codes.size(), kKept);
    run.assign(codes.size() + 1, 0);
    for (std::size_t i = codes.size(); i-- > 0;) UpdateRun(i);
    currentSize = codes.size();
  }

  // Cut replaces the `length` elements at j by one space.
  void Cut(std::size_t j, std::size_t length) {
    const auto from = cut.begin() + static_cast<std::ptrdiff_t>(j);
    *from = kCutStart;
    std::fill(from + 1, from + static_cast<std::ptrdiff_t>(length), kInside);
    std::fill_n(run.begin() + static_cast<std::ptrdiff_t>(j), length, 0);
    for (std::size_t i = j; i-- > 0 && UpdateRun(i);) {
    }
    currentSize -= length - 1;
  }

  // Text returns the text as it stands.
  ByteText Text() const {
    ByteText out;
    out.reserve(currentSize * 2);
    for (std::size_t i = 0; i < codes.size(); ++i) {
      if (cut[i] == kCutStart) {
        out.push_back(' ');
      } else if (cut[i] == kKept) {
        AppendElement(out, codes[i]);
      }
    }
    return out;
  }

  // CharSequence returns the character sequence of the text as it stands, as
  // RebuildCharSequence cuts it.
  TextArray CharSequence() const {
    TextArray seq;
    seq.Reserve(currentSize);
    for (std::size_t i = 0; i < codes.size(); ++i) {
      if (cut[i] == kInside) continue;
      ByteText element;
      AppendElement(element, cut[i] == kCutStart ? kSpaceCode : codes[i]);
      seq.Append(std::move(element));
    }
    return seq;
  }

 private:
  // UpdateRun sets run[i] from run[i + 1]; it returns false when run[i] did not change.
  bool UpdateRun(std::size_t i) {
    const auto value =
        static_cast<std::uint8_t>(Open(i) ? std::min<int>(run[i + 1] + 1, kLongestPhrase) : 0);
    if (run[i] == value) return false;
    run[i] = value;
    return true;
  }
};

// SequenceTable maps windows of one length to groups of equal windows, numbered in the order
// in which they were first added.
class SequenceTable {
 public:
  static constexpr std::uint32_t kNone = 0xFFFFFFFF;

  SequenceTable(const std::vector<Code>& codes, int length) : codes_(codes), length_(length) {
    Resize(1 << 8);
  }

  // FindOrAdd returns the group of window `start` (with hash h), a new one if it is the first.
  std::uint32_t FindOrAdd(std::size_t start, std::uint64_t h) {
    std::size_t i = Slot(h);
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
    for (std::size_t i = Slot(h);; i = (i + 1) & mask_) {
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

  std::size_t Slot(std::uint64_t h) const { return ((h ^ (h >> 29)) * 0x9E3779B97F4A7C15ull) >> shift_; }

  bool Same(std::size_t a, std::size_t b) const {
    const Code* x = codes_.data() + a;
    const Code* y = codes_.data() + b;
    for (std::size_t k = 0; k < length_; ++k) {
      if (x[k] != y[k]) return false;
    }
    return true;
  }

  void Resize(std::size_t slotCount) {
    slots_.assign(slotCount, kNone);
    mask_ = slotCount - 1;
    shift_ = 64;
    for (std::size_t s = slotCount; s > 1; s >>= 1) --shift_;
    for (std::uint32_t g = 0; g < groups_.size(); ++g) {
      std::size_t i = Slot(groups_[g].hash);
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

// YieldEvery looks at the clock once every kWindowsPerYield calls.
class YieldEvery {
 public:
  explicit YieldEvery(Workspace& ws) : ws_(ws) {}
  void Tick() {
    if ((++ticks_ & (kWindowsPerYield - 1)) == 0) ws_.YieldToWindow();
  }

 private:
  Workspace& ws_;
  std::size_t ticks_ = 0;
};

// FindRepeatBounds works out text.bound from the shortest length up, before any cut, and
// indexes the positions by it (text.byBound). A sequence of k + 1 elements occurs three times
// only where both its sequences of k elements do, so each length counts only the windows whose
// two shorter parts repeat, over every start position. It stops early once nearly every window
// it looks at repeats (a text repeated whole), where going on would cost more than it saves;
// the positions still open then get the bound kLongestPhrase.
void FindRepeatBounds(TermText& text, Workspace& ws) {
  const std::size_t size = text.Size();
  text.bound.assign(size, 0);
  YieldEvery yield(ws);
  std::vector<std::uint32_t> looked, repeating;  // positions, ascending
  for (std::size_t j = 0; j < size; ++j) {
    if (text.run[j] >= kShortestPhrase) looked.push_back(static_cast<std::uint32_t>(j));
  }
  int open = kLongestPhrase + 1;  // bounds of this length say nothing about longer sequences
  for (int k = kShortestPhrase; k <= kLongestPhrase && !looked.empty(); ++k) {
    SequenceTable table(text.codes, k);
    std::vector<std::uint32_t> groups(looked.size());
    std::vector<std::uint32_t> counts;
    for (std::size_t at = 0; at < looked.size(); ++at) {
      const std::uint32_t g = table.FindOrAdd(looked[at], WindowHash(&text.codes[looked[at]], k));
      if (g == counts.size()) counts.push_back(0);
      ++counts[g];
      groups[at] = g;
      yield.Tick();
    }
    repeating.clear();
    for (std::size_t at = 0; at < looked.size(); ++at) {
      if (counts[groups[at]] < kMinRepeats) continue;
      text.bound[looked[at]] = static_cast<std::uint8_t>(k);
      repeating.push_back(looked[at]);
    }
    if (repeating.size() * 10 >= looked.size() * 9 && k < kLongestPhrase) {
      open = k;
      break;
    }
    looked.clear();
    for (std::uint32_t j : repeating) {
      if (j + 1 < size && text.bound[j + 1] >= k && text.run[j] >= k + 1) looked.push_back(j);
    }
  }
  // Index: positions by bound, longest first, ascending within one bound.
  std::array<std::size_t, kLongestPhrase + 2> count{};
  for (std::uint8_t& b : text.bound) {
    if (b >= open) b = kLongestPhrase;
    ++count[b];
  }
  text.boundEnd.fill(0);
  for (int b = kLongestPhrase; b >= kShortestPhrase; --b) {
    text.boundEnd[static_cast<std::size_t>(b)] = text.boundEnd[static_cast<std::size_t>(b) + 1] + count[b];
  }
  text.byBound.assign(text.boundEnd[kShortestPhrase], 0);
  std::array<std::size_t, kLongestPhrase + 2> next{};
  for (int b = kShortestPhrase; b <= kLongestPhrase; ++b) {
    next[static_cast<std::size_t>(b)] = text.boundEnd[static_cast<std::size_t>(b) + 1];
  }
  for (std::size_t j = 0; j < size; ++j) {
    if (text.bound[j] >= kShortestPhrase) text.byBound[next[text.bound[j]]++] = static_cast<std::uint32_t>(j);
  }
}

// ForEachRepeatable calls visit(j) for every position j < end whose bound is at least `length`
// and whose window of that length is space-free now, in the order of text.byBound (by bound,
// then by position), looking at the clock now and then.
template <typename Visit>
void ForEachRepeatable(const TermText& text, int length, std::size_t end, Workspace& ws,
                       Visit visit) {
  YieldEvery yield(ws);
  const std::size_t count = text.boundEnd[static_cast<std::size_t>(length)];
  for (std::size_t at = 0; at < count; ++at) {
    const std::uint32_t j = text.byBound[at];
    if (j >= end || text.run[j] < length) continue;
    visit(j);
    yield.Tick();
  }
}

struct AcceptedPhrase {
  std::size_t start;  // its first occurrence among the candidates
  int count;
};

// AcceptPhrases returns the sequences that one pass of the given length accepts, in the order
// of their first occurrence. The candidates are the space-free windows that do not reach the
// last element of the text as it stands (that element is the starting text's last one when it
// is kept; when it was cut, the text ends in a space). A sequence's count is the number of its
// occurrences among all candidates but the last one, which is the count the literal pass arrives
// at for the sequence's first occurrence, and the only one at which it can be accepted. Windows
// longer than their bound are not counted: they cannot reach three.
std::vector<AcceptedPhrase> AcceptPhrases(const TermText& text, int length, Workspace& ws) {
  const auto size = text.Size();
  const auto len = static_cast<std::size_t>(length);
  if (size <= len) return {};
  std::size_t last = size - len;  // one past the last start position that is examined
  while (last > 0 && text.run[last - 1] < length) --last;
  if (last == 0) return {};
  --last;  // the last candidate: it is never counted, and a sequence it opens has count 0
  SequenceTable table(text.codes, length);
  std::vector<AcceptedPhrase> groups;  // per group: its first position and its count
  ForEachRepeatable(text, length, last, ws, [&](std::uint32_t j) {
    const std::uint32_t g = table.FindOrAdd(j, WindowHash(&text.codes[j], length));
    if (g == groups.size()) groups.push_back({j, 0});
    groups[g].start = std::min<std::size_t>(groups[g].start, j);
    ++groups[g].count;
  });
  std::vector<AcceptedPhrase> accepted;
  for (const AcceptedPhrase& g : groups) {
    if (g.count >= kMinRepeats) accepted.push_back(g);
  }
  std::sort(accepted.begin(), accepted.end(),
            [](const AcceptedPhrase& x, const AcceptedPhrase& y) { return x.start < y.start; });
  return accepted;
}

// CutPhrases cuts what replacing every occurrence of each accepted phrase by one space, in
// acceptance order and each on the result of the ones before, cuts. A phrase holds no space, so
// its occurrences in the rewritten text are exactly its windows that are space-free and overlap
// nothing cut before; taking them left to right per phrase, in acceptance order, is what the
// successive replacements do. Every start position counts here, the last one included.
void CutPhrases(TermText& text, int length, const std::vector<AcceptedPhrase>& accepted,
                Workspace& ws) {
  const auto len = static_cast<std::size_t>(length);
  SequenceTable phrases(text.codes, length);
  for (const AcceptedPhrase& a : accepted) {
    phrases.FindOrAdd(a.start, WindowHash(&text.codes[a.start], length));
  }
  // Every occurrence of every phrase, by phrase (acceptance order) and then by position.
  std::vector<std::uint32_t> perPhrase(accepted.size() + 1, 0);
  std::vector<std::pair<std::uint32_t, std::uint32_t>> found;  // (phrase, start)
  ForEachRepeatable(text, length, text.Size() - len + 1, ws, [&](std::uint32_t j) {
    const std::uint32_t k = phrases.Find(j, WindowHash(&text.codes[j], length));
    if (k == SequenceTable::kNone) return;
    found.emplace_back(k, j);
    ++perPhrase[k + 1];
  });
  for (std::size_t k = 1; k < perPhrase.size(); ++k) perPhrase[k] += perPhrase[k - 1];
  std::vector<std::uint32_t> starts(found.size());
  std::vector<std::uint32_t> next(perPhrase.begin(), perPhrase.end() - 1);
  for (const auto& [k, j] : found) starts[next[k]++] = j;
  for (std::size_t k = 0; k + 1 < perPhrase.size(); ++k) {
    std::sort(starts.begin() + perPhrase[k], starts.begin() + perPhrase[k + 1]);
  }
  for (std::uint32_t j : starts) {
    if (text.run[j] >= length) text.Cut(j, len);  // else it overlaps a cut made before it
  }
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
// character start, sorted, so that the rows whose term FindText finds a text in (ignoring case)
// are the rows of the suffixes that begin with that text, folded. A term rewritten later is
// indexed again with Add; the suffixes of a row's earlier terms are passed over, as each suffix
// carries the version of the term it came from, and dropped when sorted runs are merged.
// The folded terms live one after the other in one text; the suffixes of the starting terms
// form the first sorted run, those added later go to a short unsorted tail and from there to
// further runs, which are merged whenever one grows as long as the one before it.
class SuffixIndex {
 public:
  explicit SuffixIndex(const WorkTable& table)
      : versions_(static_cast<std::size_t>(table.RowCount()), 0),
        marks_(static_cast<std::size_t>(table.RowCount()), 0) {
    std::size_t bytes = 0;
    for (int r = 0; r < table.RowCount(); ++r) bytes += table.CellView(r, 0).size();
    folded_.reserve(bytes);
    std::vector<Suffix> base;
    for (int r = 0; r < table.RowCount(); ++r) AppendSuffixes(r, 0, table.CellView(r, 0), base);
    std::sort(base.begin(), base.end(), [this](const Suffix& x, const Suffix& y) { return Less(x, y); });
    runs_.push_back(std::move(base));
  }

  // Add indexes the suffixes of `term`, the new term of `row`, in place of its earlier ones.
  void Add(int row, ByteView term) {
    const std::uint32_t version = ++versions_[static_cast<std::size_t>(row)];
    AppendSuffixes(row, version, term, tail_);
    if (tail_.size() < kTailLength) return;
    std::sort(tail_.begin(), tail_.end(), [this](const Suffix& x, const Suffix& y) { return Less(x, y); });
    runs_.push_back(std::move(tail_));
    tail_.clear();
    while (runs_.size() >= 2 && runs_.back().size() * 2 >= runs_[runs_.size() - 2].size()) {
      std::vector<Suffix> merged;
      const std::vector<Suffix>& x = runs_[runs_.size() - 2];
      const std::vector<Suffix>& y = runs_.back();
      merged.reserve(x.size() + y.size());
      auto current = [this](const Suffix& s) { return versions_[static_cast<std::size_t>(s.row)] == s.version; };
      std::size_t i = 0, j = 0;
      while (i < x.size() || j < y.size()) {
        const bool fromX = j == y.size() || (i < x.size() && !Less(y[j], x[i]));
        const Suffix& next = fromX ? x[i++] : y[j++];
        if (current(next)) merged.push_back(next);
      }
      runs_.pop_back();
      runs_.back() = std::move(merged);
    }
  }

  // RowsBeginning returns, ascending and without repeats, every row with a suffix of its
  // current term that begins with `folded`.
  std::vector<int> RowsBeginning(ByteView folded) {
    ++query_;
    std::vector<int> rows;
    auto take = [&](const Suffix& s) {
      const auto r = static_cast<std::size_t>(s.row);
      if (versions_[r] != s.version || marks_[r] == query_) return;
      marks_[r] = query_;
      rows.push_back(s.row);
    };
    for (const std::vector<Suffix>& run : runs_) {
      auto it = std::lower_bound(run.begin(), run.end(), folded,
                                 [this](const Suffix& s, ByteView what) { return View(s) < what; });
      for (; it != run.end() && View(*it).starts_with(folded); ++it) take(*it);
    }
    for (const Suffix& s : tail_) {
      if (View(s).starts_with(folded)) take(s);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
  }

 private:
  static constexpr std::size_t kTailLength = 64;

  struct Suffix {
    std::uint32_t offset;  // in folded_
    std::uint32_t length;
    int row;
    std::uint32_t version;
  };

  void AppendSuffixes(int row, std::uint32_t version, ByteView term, std::vector<Suffix>& to) {
    const auto offset = static_cast<std::uint32_t>(folded_.size());
    folded_ += FoldCase(term);
    for (std::size_t s = 0; s < term.size(); s += CharLengthAt(term, s)) {
      to.push_back({offset + static_cast<std::uint32_t>(s), static_cast<std::uint32_t>(term.size() - s),
                    row, version});
    }
  }
  ByteView View(const Suffix& s) const { return ByteView(folded_).substr(s.offset, s.length); }
  bool Less(const Suffix& x, const Suffix& y) const {
    const int c = View(x).compare(View(y));
    return c != 0 ? c < 0 : x.row < y.row;
  }

  ByteText folded_;  // every term indexed, folded, one after the other
  std::vector<std::vector<Suffix>> runs_;
  std::vector<Suffix> tail_;
  std::vector<std::uint32_t> versions_;  // per row, of its current term
  std::vector<std::uint32_t> marks_;     // per row, the last query that proposed it
  std::uint32_t query_ = 0;
};

}  // namespace

void DiscoverPhrasesFast(Workspace& ws) {
  WorkTable& table = ws.keywordTable;
  table.DeleteAllRows();
  ws.charSequence = TextArray();  // built from the final text; its memory is better used here
  TermText text;
  text.Start(ws.workingText);
  FindRepeatBounds(text, ws);
  std::int32_t lastPassStartCount = 0;
  bool anyCut = false;
  for (int p = 1; p <= kPhrasePasses; ++p) {
    const int length = kLongestPhrase + 1 - p;
    if (p == kPhrasePasses) {
      lastPassStartCount =
          static_cast<std::int32_t>(text.currentSize > 2 ? text.currentSize - 2 : 0);
    }
    const std::vector<AcceptedPhrase> accepted = AcceptPhrases(text, length, ws);
    if (!accepted.empty()) {
      for (const AcceptedPhrase& a : accepted) {
        table.AppendRow(TextOfCodes(text.codes.data() + a.start, static_cast<std::size_t>(length)));
        table.SetCell(table.RowCount() - 1, kWeightColumn, NumberToText(a.count));
      }
      CutPhrases(text, length, accepted, ws);
      anyCut = true;
    }
    ws.controls.WriteControlText(Control::标签2, Progress(p));
    ws.YieldToWindow();
  }
  text.run = {};  // only the elements and the cuts are needed from here on
  text.bound = {};
  text.byBound = {};
  if (anyCut) ws.workingText = text.Text();
  ws.charSequence = text.CharSequence();
  text = TermText();
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
      if (FindText(termB, termA, true) == -1) continue;  // never, while the index is right
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

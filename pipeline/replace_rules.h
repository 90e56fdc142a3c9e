// ReplaceRule lists: the text-processing stages are fixed, ordered lists of replace-all rules
// over the working text. Tables are written as UTF-8 text and converted to GBK once.
#pragma once

#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "text/byte_text.h"

namespace sumvelo {

// One rule: every occurrence of `from` becomes `to` (exact bytes, character starts only, left
// to right, without looking again at what was inserted). Both are UTF-8 program text.
struct ReplaceRule {
  std::string_view from;
  std::string_view to;
};

// GbkRules is a rule list in the bytes the stages compare.
using GbkRules = std::vector<std::pair<ByteText, ByteText>>;

// ToGbkRules converts each rule's texts with Gbk (text/gbk_literal.h), keeping the order.
GbkRules ToGbkRules(std::span<const ReplaceRule> rules);

// ApplyRules applies each rule to the result of the rules before it, in order, and returns the
// final text. A rule that stands twice runs twice.
ByteText ApplyRules(ByteText text, const GbkRules& rules);

}  // namespace sumvelo

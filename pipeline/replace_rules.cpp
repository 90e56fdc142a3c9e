#include "pipeline/replace_rules.h"

#include "text/gbk_literal.h"
#include "text/primitives.h"

namespace sumvelo {

GbkRules ToGbkRules(std::span<const ReplaceRule> rules) {
  GbkRules out;
  out.reserve(rules.size());
  for (const ReplaceRule& r : rules) out.emplace_back(Gbk(r.from), Gbk(r.to));
  return out;
}

ByteText ApplyRules(ByteText text, const GbkRules& rules) {
  for (const auto& [from, to] : rules) text = ReplaceText(text, from, to);
  return text;
}

}  // namespace sumvelo

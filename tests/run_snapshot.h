// RunSnapshot renders everything a summarize run leaves behind (every control's text, the three
// work tables, the working text and the character sequence) as one text, bytes in hex, so that
// two runs can be compared whole and a difference shows where it is.
#pragma once

#include <string>

#include "pipeline/controls.h"
#include "pipeline/workspace.h"
#include "stage_support.h"

namespace sumvelo::testing {

inline std::string RunSnapshot(const HeadlessControls& controls, const Workspace& ws) {
  const std::pair<const char*, Control> controlNames[] = {
      {"标题框", Control::标题框}, {"内容框", Control::内容框}, {"编辑框1", Control::编辑框1},
      {"标签1", Control::标签1},   {"标签2", Control::标签2},   {"标签3", Control::标签3},
  };
  std::string out;
  for (const auto& [name, c] : controlNames) out += std::string(name) + ": " + Hex(controls.Text(c)) + "\n";
  out += "sentence table:\n" + Rows(ws.sentenceTable);
  out += "keyword table:\n" + Rows(ws.keywordTable);
  out += "selection table:\n" + Rows(ws.selectionTable);
  out += "working text: " + Hex(ws.workingText) + "\nchar sequence:";
  for (const ByteText& e : ws.charSequence.Items()) out += " [" + Hex(e) + "]";
  return out + "\n";
}

// FirstDifference returns the first line in which two snapshots differ, from both, or "" when
// they are equal.
inline std::string FirstDifference(const std::string& a, const std::string& b) {
  std::size_t at = 0;
  while (at < a.size() && at < b.size()) {
    const std::size_t ea = a.find('\n', at), eb = b.find('\n', at);
    const std::string la = a.substr(at, ea - at), lb = b.substr(at, eb - at);
    if (la != lb || ea != eb) return "  " + la + "\nagainst\n  " + lb;
    if (ea == std::string::npos) break;
    at = ea + 1;
  }
  return a.size() == b.size() ? "" : "(one snapshot is longer)";
}

}  // namespace sumvelo::testing

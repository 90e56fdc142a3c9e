// engine_fuzz: arbitrary bytes through a whole summarize run.
//
// Input layout: the first byte chooses how the run is set up, the rest is "TITLE \0 BODY" (no
// NUL: all of it is the body, the title is empty). Further NUL bytes are dropped, since no text
// handed to the engine holds one.
//
//   bits 0-2  the length drop-down's selected index: 0, 1, 2, 3 or -1 (none selected)
//   bits 3-4  how the bytes reach the boxes: raw (any bytes at all, as a window handing over
//             whatever it holds), through the UTF-8 boundary, or through the GB18030 boundary
//   bit  5    also run the literal stages on the same boxes and require the same result
//   bit  6    let ProcessPendingEvents act inside the run (bits 7 and the title choose how)
//   bit  7    with bit 6: the nested action is a clear of every box, else a nested Summarize
//             and a RunAbandoned on a later call, after which the run is pressed again
//
// Besides not crashing, every run must leave what any run leaves: the language the body gives,
// a summary within the byte budget, the length line for the boxes as they stand, ranks 1..n.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "encoding/gb18030.h"
#include "pipeline/controls.h"
#include "pipeline/summarize.h"
#include "pipeline/workspace.h"
#include "summary/summary_assembly.h"
#include "text/gbk_literal.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace {

using namespace sumvelo;

// Above this many body bytes the literal stages (quadratic per pass) are not run.
constexpr std::size_t kLiteralMaxBytes = 1024;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "engine_fuzz: %s\n", what);
  std::abort();
}

void Require(bool ok, const char* what) {
  if (!ok) Fail(what);
}

std::string WithoutNul(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    if (c != '\0') out += c;
  }
  return out;
}

struct Boxes {
  ByteText title;
  ByteText body;
  int selectedIndex = 0;
};

Boxes Decode(const std::uint8_t* data, std::size_t size) {
  static constexpr int kIndices[] = {0, 1, 2, 3, -1};
  Boxes boxes;
  const unsigned mode = data[0];
  boxes.selectedIndex = kIndices[(mode & 7) % 5];
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string_view title, body = rest;
  if (const auto nul = rest.find('\0'); nul != std::string_view::npos) {
    title = rest.substr(0, nul);
    body = rest.substr(nul + 1);
  }
  const std::string t = WithoutNul(title), b = WithoutNul(body);
  switch ((mode >> 3) & 3) {
    case 1:
      boxes.title = encoding::TitleToEngine(t);
      boxes.body = encoding::BodyToEngine(b);
      break;
    case 2:
      boxes.title = encoding::TitleFromGb18030(t);
      boxes.body = encoding::BodyFromGb18030(b);
      break;
    default:
      boxes.title = t;
      boxes.body = b;
      break;
  }
  return boxes;
}

void Fill(HeadlessControls& controls, const Boxes& boxes) {
  controls.WriteControlText(Control::标题框, boxes.title);
  controls.WriteControlText(Control::内容框, boxes.body);
  controls.SetSelectedIndex(boxes.selectedIndex);
}

// CheckFinished holds for every run that went to its end on a body of `language`.
void CheckFinished(const HeadlessControls& controls, const Workspace& ws, TextLanguage language,
                   int selectedIndex) {
  if (language == TextLanguage::Neither) {
    Require(controls.Text(Control::编辑框1).empty(), "Neither left a summary");
    return;
  }
  const ByteText& summary = controls.Text(Control::编辑框1);
  Require(TextLength(summary) <= 2 * LengthLimitFromIndex(selectedIndex),
          "summary longer than the budget");
  Require(controls.Text(Control::标签2) ==
              LengthLine(TextLength(controls.Text(Control::内容框)), TextLength(summary)),
          "length line does not match the boxes");
  Require(controls.Text(Control::标签3).starts_with(Gbk("关键词： ")), "keyword line prefix");
  for (int r = 0; r < ws.sentenceTable.RowCount(); ++r) {
    Require(ws.sentenceTable.CellView(r, 1) == NumberToText(r + 1), "ranks are not 1..n");
  }
  Require(ws.selectionTable.RowCount() <= ws.sentenceTable.RowCount(),
          "more chosen sentences than sentences");
}

bool SameTable(const WorkTable& a, const WorkTable& b) {
  if (a.RowCount() != b.RowCount() || a.ColumnCount() != b.ColumnCount()) return false;
  for (int r = 0; r < a.RowCount(); ++r) {
    for (int c = 0; c < a.ColumnCount(); ++c) {
      if (a.CellView(r, c) != b.CellView(r, c)) return false;
    }
  }
  return true;
}

void PlainRun(const Boxes& boxes, bool compareLiteral) {
  HeadlessControls controls;
  Fill(controls, boxes);
  Workspace ws(controls);
  const std::optional<TextLanguage> language = Summarize(ws);
  Require(language.has_value(), "a first press was ignored");
  Require(*language == DetectLanguage(boxes.body), "language differs from the body's");
  CheckFinished(controls, ws, *language, boxes.selectedIndex);

  if (!compareLiteral || boxes.body.size() > kLiteralMaxBytes) return;
  HeadlessControls literalControls;
  Fill(literalControls, boxes);
  Workspace literal(literalControls);
  Require(SummarizeLiteral(literal) == language, "literal run chose another language");
  for (int c = 0; c < kControlCount; ++c) {
    const auto control = static_cast<Control>(c);
    Require(controls.Text(control) == literalControls.Text(control),
            "literal run left another control text");
  }
  Require(SameTable(ws.sentenceTable, literal.sentenceTable), "sentence tables differ");
  Require(SameTable(ws.keywordTable, literal.keywordTable), "keyword tables differ");
  Require(SameTable(ws.selectionTable, literal.selectionTable), "selection tables differ");
}

// NestedRun lets the window's other commands happen inside the run, on the literal stages
// (which process events at every candidate) for small bodies and the fast ones otherwise.
void NestedRun(const Boxes& boxes, bool clearFields, unsigned atCall) {
  HeadlessControls controls;
  Fill(controls, boxes);
  Workspace ws(controls);
  const bool literal = boxes.body.size() <= kLiteralMaxBytes;
  auto press = [&] { return literal ? SummarizeLiteral(ws) : Summarize(ws); };
  unsigned calls = 0;
  bool abandoned = false;
  controls.SetEventHook([&](HeadlessControls& c) {
    ++calls;
    if (calls == atCall) {
      if (clearFields) {
        for (Control box : {Control::内容框, Control::编辑框1, Control::标题框, Control::标签1,
                            Control::标签2, Control::标签3}) {
          c.WriteControlText(box, ByteText());
        }
      } else {
        Require(!press().has_value(), "a nested press was not ignored");
      }
    } else if (!clearFields && calls == 2 * atCall) {
      throw RunAbandoned();
    }
  });
  std::optional<TextLanguage> language;
  try {
    language = press();
  } catch (const RunAbandoned&) {
    abandoned = true;
  }
  Require(!ws.running, "the workspace stayed busy");
  controls.SetEventHook({});
  if (abandoned) {
    // The state is valid but unfinished: pressing again on the same workspace must work.
    Fill(controls, boxes);
    language = press();
    Require(language.has_value(), "a press after an abandoned run was ignored");
  }
  Require(language.has_value(), "the run did not finish");
  CheckFinished(controls, ws, *language, boxes.selectedIndex);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const Boxes boxes = Decode(data, size);
  const unsigned mode = data[0];
  if (mode & 0x40) {
    const unsigned atCall = 1 + static_cast<unsigned>(boxes.title.size() % 64);
    NestedRun(boxes, (mode & 0x80) != 0, atCall);
  } else {
    PlainRun(boxes, (mode & 0x20) != 0);
  }
  return 0;
}

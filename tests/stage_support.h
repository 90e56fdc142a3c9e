// Helpers shared by the stage tests: writing fixtures as readable Chinese, showing bytes as hex,
// and a controls double that remembers what a run wrote.
#pragma once

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "pipeline/controls.h"
#include "text/byte_text.h"
#include "text/work_table.h"

namespace sumvelo::testing {

// Zh converts a UTF-8 fixture to GB18030 bytes with the C library's converter, so that fixtures
// can use any Chinese character (Gbk() knows only the program's own few). A fixture that does
// not convert is a mistake in the test: it ends the test program.
inline ByteText Zh(std::string_view utf8) {
  iconv_t cd = iconv_open("GB18030", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    std::fprintf(stderr, "no GB18030 converter\n");
    std::abort();
  }
  std::string in(utf8);
  std::string out(in.size() * 2 + 4, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  std::size_t inLeft = in.size(), outLeft = out.size();
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
    std::fprintf(stderr, "fixture does not convert: %s\n", in.c_str());
    std::abort();
  }
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

// Hex renders bytes as "61 D6 ..." so that failures show exactly what was compared.
inline std::string Hex(ByteView t) {
  std::string out;
  char buf[4];
  for (unsigned char c : t) {
    std::snprintf(buf, sizeof buf, out.empty() ? "%02X" : " %02X", c);
    out += buf;
  }
  return out.empty() ? "(empty)" : out;
}

// FromHex turns "A1 FE 20" (spaces optional) into bytes.
inline ByteText FromHex(std::string_view hex) {
  ByteText out;
  int high = -1;
  for (char c : hex) {
    int v;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else continue;
    if (high < 0) {
      high = v;
    } else {
      out.push_back(static_cast<char>(high * 16 + v));
      high = -1;
    }
  }
  return out;
}

// Column returns one column of a table, top row first.
inline std::vector<ByteText> Column(const WorkTable& t, int column) {
  std::vector<ByteText> out;
  for (int r = 0; r < t.RowCount(); ++r) out.push_back(t.GetCell(r, column));
  return out;
}

// Rows renders a table as "cell|cell|…" lines (bytes as hex), for comparing whole tables.
inline std::string Rows(const WorkTable& t) {
  std::string out;
  for (int r = 0; r < t.RowCount(); ++r) {
    for (int c = 0; c < t.ColumnCount(); ++c) out += (c ? " | " : "") + Hex(t.GetCell(r, c));
    out += "\n";
  }
  return out;
}

// RecordingControls is HeadlessControls that also keeps every text written to 标签2, in order.
// With eventsOnStatsWrite it processes pending events (calls the event hook) right after each
// such write, like a window that repaints a label at once: the keyword stages write progress
// after every pass, so a test can run a nested command at a known point of every run, however
// often the stage itself yields.
class RecordingControls : public HeadlessControls {
 public:
  void WriteControlText(Control c, const ByteText& text) override {
    if (c == Control::标签2) statsWrites.push_back(text);
    HeadlessControls::WriteControlText(c, text);
    if (c == Control::标签2 && eventsOnStatsWrite) ProcessPendingEvents();
  }
  std::vector<ByteText> statsWrites;
  bool eventsOnStatsWrite = false;
};

}  // namespace sumvelo::testing

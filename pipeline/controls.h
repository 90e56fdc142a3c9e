// The window's controls as the stages see them. The desktop window and the command line are two
// implementations of this interface; the engine knows nothing else of either.
#pragma once

#include <array>
#include <functional>
#include <stdexcept>

#include "text/byte_text.h"

namespace sumvelo {

// The controls a run reads or writes, by their names on the window form.
enum class Control {
  内容框,   // body box
  标题框,   // title box
  编辑框1,  // summary box
  标签1,    // spare label, emptied by the clear command
  标签2,    // StatsLine: progress during a run, then the length line
  标签3,    // KeywordLine
};
constexpr int kControlCount = 6;

// RunAbandoned may be thrown by ProcessPendingEvents to end the run at once (the window was
// closed, a caller gave up). The stages leave the state valid but unfinished; nothing is
// written after it.
struct RunAbandoned : std::runtime_error {
  RunAbandoned() : std::runtime_error("run abandoned") {}
};

class Controls {
 public:
  virtual ~Controls() = default;
  // ReadControlText returns the control's current text as GBK bytes, line breaks as CR LF.
  virtual ByteText ReadControlText(Control c) = 0;
  // WriteControlText replaces the control's text; the empty text clears it.
  virtual void WriteControlText(Control c, const ByteText& text) = 0;
  // ReadSelectedIndex returns the zero-based selected item of the length drop-down 组合框1,
  // or -1 when none is selected.
  virtual int ReadSelectedIndex() = 0;
  // ProcessPendingEvents lets the window handle what waits in its queue (repaints, clicks) and
  // returns when the queue is empty. It may throw RunAbandoned.
  virtual void ProcessPendingEvents() = 0;
};

// HeadlessControls holds the controls' texts in memory, starting from the window's start-up
// state with empty boxes: title, body and summary empty, 标签3 showing "关键词：  ", 标签1 and
// 标签2 empty, item 0 ("<200字") selected. ProcessPendingEvents does nothing but call the
// optional hook (progress reporting, tests of nested commands).
class HeadlessControls : public Controls {
 public:
  HeadlessControls();
  ByteText ReadControlText(Control c) override { return texts_[Index(c)]; }
  void WriteControlText(Control c, const ByteText& text) override { texts_[Index(c)] = text; }
  int ReadSelectedIndex() override { return selectedIndex_; }
  void ProcessPendingEvents() override {
    if (onEvents_) onEvents_(*this);
  }

  void SetSelectedIndex(int index) { selectedIndex_ = index; }
  // SetEventHook installs a function that each ProcessPendingEvents calls (an empty one removes it).
  void SetEventHook(std::function<void(HeadlessControls&)> hook) { onEvents_ = std::move(hook); }
  const ByteText& Text(Control c) const { return texts_[Index(c)]; }

 private:
  static int Index(Control c) { return static_cast<int>(c); }
  std::array<ByteText, kControlCount> texts_;
  int selectedIndex_ = 0;
  std::function<void(HeadlessControls&)> onEvents_;
};

// The keyword label's caption at start-up (two spaces after the colon), as GBK bytes.
ByteText InitialKeywordCaption();

}  // namespace sumvelo

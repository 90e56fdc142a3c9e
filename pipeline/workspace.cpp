#include "pipeline/workspace.h"

namespace sumvelo {

void Workspace::YieldToWindow() {
  const auto now = std::chrono::steady_clock::now();
  if (now - lastYield_ < std::chrono::milliseconds(30)) return;
  lastYield_ = now;
  controls.ProcessPendingEvents();
}

}  // namespace sumvelo

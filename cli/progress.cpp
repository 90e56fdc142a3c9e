#include "cli/progress.h"

#include <unistd.h>

#include <cstdio>

namespace sumvelo::cli {

ProgressTicker::ProgressTicker(std::function<std::string()> describe,
                               std::chrono::milliseconds delay)
    : describe_(std::move(describe)), delay_(delay) {
  if (isatty(STDERR_FILENO)) thread_ = std::thread([this] { Run(); });
}

ProgressTicker::~ProgressTicker() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  stopped_.notify_all();
  if (thread_.joinable()) thread_.join();
}

double ProgressTicker::Elapsed() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void ProgressTicker::Run() {
  std::unique_lock lock(mutex_);
  if (stopped_.wait_for(lock, delay_, [this] { return stop_; })) return;
  do {
    const std::string text = "\rsumvelo: " + describe_() + "\033[K";
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
  } while (!stopped_.wait_for(lock, std::chrono::milliseconds(200), [this] { return stop_; }));
  std::fputs("\r\033[K", stderr);  // the line was written at least once: erase it
  std::fflush(stderr);
}

}  // namespace sumvelo::cli

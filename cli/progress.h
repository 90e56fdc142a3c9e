// Progress on standard error, for runs that take a while: one line, rewritten in place.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace sumvelo::cli {

// ProgressTicker shows describe()'s text on standard error, after "sumvelo: ", once `delay` has
// passed and then every 200 ms, rewriting the same line (carriage return, then erase to the end
// of the line), until it is destroyed; then it erases the line if it wrote one. It does all
// this only when standard error is a terminal; otherwise it starts no thread and writes nothing.
// Nothing goes to standard output. describe() is called on the ticker's own thread.
class ProgressTicker {
 public:
  ProgressTicker(std::function<std::string()> describe, std::chrono::milliseconds delay);
  ~ProgressTicker();
  ProgressTicker(const ProgressTicker&) = delete;
  ProgressTicker& operator=(const ProgressTicker&) = delete;

  // Elapsed returns the seconds since the ticker was made.
  double Elapsed() const;

 private:
  void Run();

  std::function<std::string()> describe_;
  std::chrono::milliseconds delay_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::mutex mutex_;
  std::condition_variable stopped_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace sumvelo::cli

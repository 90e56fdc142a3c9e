#include "cli/batch.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "cli/jsonl.h"

namespace sumvelo::cli {
namespace {

// LineReader splits a stream at line feeds without holding more than `maxLine` bytes of a line.
// It reads with read(2) where the stream has a descriptor, so that a line is handed on as soon
// as it has arrived, not when a buffer is full.
class LineReader {
 public:
  LineReader(std::FILE* in, std::size_t maxLine) : in_(in), fd_(fileno(in)), max_(maxLine) {}

  // Next reads the next line into `line`, without its line feed, and its full length into
  // `length`. A line longer than the limit is read to its end but not kept: `line` is then
  // empty and `tooLong` true. Returns false when the input has no more lines.
  bool Next(std::string& line, std::size_t& length, bool& tooLong) {
    line.clear();
    length = 0;
    tooLong = false;
    bool any = false;
    for (;;) {
      if (pos_ == end_ && !Fill()) return any;
      any = true;
      const char* start = buffer_.data() + pos_;
      const auto* feed = static_cast<const char*>(std::memchr(start, '\n', end_ - pos_));
      const std::size_t n = feed ? static_cast<std::size_t>(feed - start) : end_ - pos_;
      length += n;
      if (!tooLong && line.size() + n > max_) {
        tooLong = true;
        std::string().swap(line);
      }
      if (!tooLong) line.append(start, n);
      pos_ += n;
      if (feed) {
        ++pos_;
        return true;
      }
    }
  }

  const std::string& Error() const { return error_; }

 private:
  bool Fill() {
    pos_ = end_ = 0;
    if (done_) return false;
    for (;;) {
      std::size_t n = 0;
      if (fd_ >= 0) {
        const ssize_t got = read(fd_, buffer_.data(), buffer_.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
          error_ = std::strerror(errno);
          done_ = true;
          return false;
        }
        n = static_cast<std::size_t>(got);
      } else {
        n = std::fread(buffer_.data(), 1, buffer_.size(), in_);
        if (n == 0 && std::ferror(in_)) error_ = std::strerror(errno);
      }
      if (n == 0) {
        done_ = true;
        return false;
      }
      end_ = n;
      return true;
    }
  }

  std::FILE* in_;
  int fd_;
  std::size_t max_;
  std::vector<char> buffer_ = std::vector<char>(std::size_t{1} << 16);
  std::size_t pos_ = 0, end_ = 0;
  bool done_ = false;
  std::string error_;
};

struct Task {
  long long number = 0;
  std::string line;
  std::size_t length = 0;  // of the line as read
  bool tooLong = false;
  std::size_t heldBytes = 0;
  Answer answer;
  bool done = false;
};

Answer Compute(Task& task, const BatchSettings& settings) {
  if (task.tooLong) {
    return ErrorAnswer(task.number, "line is " + std::to_string(task.length) +
                                        " bytes, longer than the limit of " +
                                        ByteLimitText(MaxLineBytes(settings.maxBodyBytes)));
  }
  try {
    Answer answer = AnswerLine(task.line, task.number, settings.defaultLimit, settings.maxBodyBytes);
    std::string().swap(task.line);
    return answer;
  } catch (const std::exception& e) {  // out of memory, chiefly: the batch goes on
    std::string().swap(task.line);
    return ErrorAnswer(task.number, std::string("cannot summarize this line: ") + e.what());
  }
}

}  // namespace

BatchResult RunBatch(std::FILE* in, std::FILE* out, const BatchSettings& settings,
                     const std::function<void(const BatchCounts&)>& onWritten) {
  const int jobs = std::max(1, settings.jobs);
  const std::size_t windowLines =
      settings.windowLines > 0 ? settings.windowLines : 4 * static_cast<std::size_t>(jobs);

  std::mutex mutex;
  std::condition_variable roomFreed, workAdded, workDone;
  std::deque<std::shared_ptr<Task>> inFlight;  // read and not yet written, in input order
  std::deque<Task*> waiting;                   // read and not yet taken by a worker
  std::size_t bytesInFlight = 0;
  bool closed = false;  // nothing more will be read
  bool stop = false;    // writing failed: read no further
  BatchResult result;

  auto work = [&] {
    for (;;) {
      Task* task = nullptr;
      {
        std::unique_lock lock(mutex);
        workAdded.wait(lock, [&] { return !waiting.empty() || closed; });
        if (waiting.empty()) return;
        task = waiting.front();
        waiting.pop_front();
      }
      Answer answer = Compute(*task, settings);
      {
        std::lock_guard lock(mutex);
        task->answer = std::move(answer);
        task->done = true;
      }
      workDone.notify_one();
    }
  };

  auto write = [&] {
    std::unique_lock lock(mutex);
    for (;;) {
      const bool ready = !inFlight.empty() && inFlight.front()->done;
      if (!ready) {
        if (inFlight.empty() && closed) break;
        lock.unlock();
        if (!result.writeFailed && std::fflush(out) != 0) result.writeFailed = true;
        lock.lock();
        workDone.wait(lock, [&] {
          return (!inFlight.empty() && inFlight.front()->done) || (inFlight.empty() && closed);
        });
        continue;
      }
      std::shared_ptr<Task> task = std::move(inFlight.front());
      inFlight.pop_front();
      lock.unlock();
      if (!result.writeFailed) {
        std::string& line = task->answer.line;
        line += '\n';
        if (std::fwrite(line.data(), 1, line.size(), out) != line.size()) result.writeFailed = true;
        ++result.counts.written;
        if (task->answer.failed) ++result.counts.errors;
        if (onWritten) onWritten(result.counts);
      }
      const std::size_t held = task->heldBytes;
      task.reset();
      lock.lock();
      bytesInFlight -= held;
      if (result.writeFailed) stop = true;
      roomFreed.notify_one();
    }
    lock.unlock();
    if (!result.writeFailed && std::fflush(out) != 0) result.writeFailed = true;
  };

  std::vector<std::thread> workers;
  workers.reserve(static_cast<std::size_t>(jobs));
  for (int k = 0; k < jobs; ++k) workers.emplace_back(work);
  std::thread writer(write);

  LineReader reader(in, MaxLineBytes(settings.maxBodyBytes));
  for (long long number = 1;; ++number) {
    auto task = std::make_shared<Task>();
    if (!reader.Next(task->line, task->length, task->tooLong)) break;
    task->number = number;
    if (number == 1 && task->line.starts_with("\xEF\xBB\xBF")) task->line.erase(0, 3);
    task->heldBytes = task->line.size();
    std::unique_lock lock(mutex);
    roomFreed.wait(lock, [&] {
      return stop || inFlight.empty() ||
             (inFlight.size() < windowLines && bytesInFlight + task->heldBytes <= settings.windowBytes);
    });
    if (stop) break;
    bytesInFlight += task->heldBytes;
    waiting.push_back(task.get());
    inFlight.push_back(std::move(task));
    lock.unlock();
    workAdded.notify_one();
  }
  {
    std::lock_guard lock(mutex);
    closed = true;
  }
  workAdded.notify_all();
  workDone.notify_all();
  for (std::thread& t : workers) t.join();
  writer.join();
  result.readError = reader.Error();
  return result;
}

}  // namespace sumvelo::cli

#include "cli/stoppable_output.h"

#include <windows.h>

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

namespace portprobe::cli {

namespace {

// Windows cannot tell whether a console or a pipe takes more without writing, and a
// write that it does not take blocks. So a thread of its own writes stdout, and the
// monitor queues its lines for it, waiting only while the queue is full.
constexpr std::size_t kQueueCapacity = 64 * 1024;
// Small pieces let the monitor see the writer progress through a slow reader.
constexpr std::size_t kPieceBytes = 4096;
// After a stop, stdout that takes no piece for this long counts as stalled.
constexpr DWORD kStalledAfterMilliseconds = 500;

// What the writer thread shares with the output; the thread keeps it alive while stuck
// in a write that stdout never finishes, and the process ends that write.
struct WriterState {
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  // Set each time a piece has gone out or the output failed.
  HANDLE progress = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
  std::mutex mutex;
  std::condition_variable work;
  std::string queue;  // a piece leaves it only once written
  bool failed = false;
  bool quit = false;

  ~WriterState() {
    if (progress != nullptr) ::CloseHandle(progress);
  }
};

bool WriteAll(HANDLE out, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!::WriteFile(out, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) ||
        written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

void WriteQueued(const std::shared_ptr<WriterState>& state) {
  std::unique_lock lock(state->mutex);
  for (;;) {
    state->work.wait(lock, [&state] { return !state->queue.empty() || state->quit; });
    if (state->queue.empty()) return;
    const std::string piece = state->queue.substr(0, kPieceBytes);
    lock.unlock();
    const bool written = WriteAll(state->out, piece);
    lock.lock();
    state->queue.erase(0, written ? piece.size() : state->queue.size());
    state->failed = !written;
    ::SetEvent(state->progress);
    if (!written) return;
  }
}

}  // namespace

struct StoppableOutput::Writer {
  std::shared_ptr<WriterState> state = std::make_shared<WriterState>();
  HANDLE stop;
  bool stopped = false;
  std::thread thread{WriteQueued, state};

  // Waits for the writer to write a piece; false once stdout stalled after a stop.
  bool AwaitProgress();
};

StoppableOutput::StoppableOutput(const MonitorEvents& events)
    : writer_(new Writer{.stop = reinterpret_cast<HANDLE>(events.StopHandle())}) {}

StoppableOutput::~StoppableOutput() {
  bool idle = false;
  {
    const std::lock_guard lock(writer_->state->mutex);
    writer_->state->quit = true;
    idle = writer_->state->queue.empty();
  }
  writer_->state->work.notify_one();
  if (idle) {
    writer_->thread.join();
  } else {
    writer_->thread.detach();  // stuck: the process's end ends its write
  }
}

// The text is queued whole; a stop while the queue is full and stdout takes nothing
// drops it.
StoppableOutput::Result StoppableOutput::Write(const std::string& text) {
  while (!writer_->stopped) {
    {
      const std::lock_guard lock(writer_->state->mutex);
      if (writer_->state->failed) return Result::Failed;
      if (writer_->state->queue.size() < kQueueCapacity) {
        writer_->state->queue += text;
        writer_->state->work.notify_one();
        return Result::Written;
      }
    }
    writer_->stopped = !writer_->AwaitProgress();
  }
  return Result::Stopped;
}

StoppableOutput::Result StoppableOutput::Flush() {
  while (!writer_->stopped) {
    {
      const std::lock_guard lock(writer_->state->mutex);
      if (writer_->state->failed) return Result::Failed;
      if (writer_->state->queue.empty()) return Result::Written;
    }
    writer_->stopped = !writer_->AwaitProgress();
  }
  return Result::Stopped;
}

// A piece written wins over a stop that came meanwhile, so what is printed at a stop
// still goes out while the reader reads.
bool StoppableOutput::Writer::AwaitProgress() {
  const HANDLE events[] = {state->progress, stop};
  const DWORD count = stop != nullptr ? 2 : 1;
  if (::WaitForMultipleObjects(count, events, FALSE, INFINITE) == WAIT_OBJECT_0) return true;
  return ::WaitForSingleObject(state->progress, kStalledAfterMilliseconds) == WAIT_OBJECT_0;
}

}  // namespace portprobe::cli

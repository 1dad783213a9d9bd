#include "cli/parse_stop.h"

#include <atomic>
#include <csignal>

namespace portprobe::cli {

namespace {

// What the signal handler reaches: a pointer store and an atomic flag, both safe there.
std::atomic<parser::PacketParser*> gRunningParser{nullptr};
volatile std::sig_atomic_t gInterrupted = 0;

void OnInterrupt(int) {
  gInterrupted = 1;
  if (parser::PacketParser* parser = gRunningParser.load()) parser->RequestStop();
}

// Every SIGINT asks for the stop, since some senders repeat it (a tool that signals
// the command and then its whole process group); the run ends at its next line either
// way. A shell that started us with SIGINT ignored (a background job) keeps it ignored.
void CatchInterrupt() {
  struct sigaction previous {};
  ::sigaction(SIGINT, nullptr, &previous);
  if (previous.sa_handler == SIG_IGN) return;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, nullptr);
}

}  // namespace

ParseStop::ParseStop(parser::PacketParser& parser, std::optional<std::chrono::duration<double>> timeLimit) {
  gInterrupted = 0;
  gRunningParser = &parser;
  CatchInterrupt();
  if (timeLimit) watcher_ = std::thread([this, &parser, limit = *timeLimit] { WatchTime(parser, limit); });
}

ParseStop::~ParseStop() { Finish(); }

void ParseStop::Finish() {
  gRunningParser = nullptr;
  {
    std::lock_guard lock(mutex_);
    done_ = true;
  }
  finished_.notify_all();
  if (watcher_.joinable()) watcher_.join();
}

void ParseStop::WatchTime(parser::PacketParser& parser, std::chrono::duration<double> timeLimit) {
  std::unique_lock lock(mutex_);
  if (finished_.wait_for(lock, timeLimit, [this] { return done_; })) return;
  timedOut_ = true;
  parser.RequestStop();
}

bool ParseStop::Interrupted() const { return gInterrupted != 0; }

}  // namespace portprobe::cli

#include "cli/parse_stop.h"

#include <atomic>

#include "cli/interrupt_catcher.h"

namespace portprobe::cli {

namespace {

// What an interrupt reaches: a pointer and a flag, both lock-free atomics, which a
// signal handler may touch.
std::atomic<parser::PacketParser*> gRunningParser{nullptr};
std::atomic<int> gStopSignal{0};

// Every signal asks for the stop, since some senders repeat it (a tool that signals
// the command and then its whole process group); the run ends at its next line either
// way.
void OnInterrupt(int signal) {
  gStopSignal = signal;
  if (parser::PacketParser* parser = gRunningParser.load()) parser->RequestStop();
}

}  // namespace

ParseStop::ParseStop(parser::PacketParser& parser, std::optional<std::chrono::duration<double>> timeLimit) {
  gStopSignal = 0;
  gRunningParser = &parser;
  CatchInterrupt(OnInterrupt);
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

int ParseStop::StopSignal() const { return gStopSignal; }

}  // namespace portprobe::cli

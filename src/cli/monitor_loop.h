#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "automation/block_decoder.h"
#include "automation/reply_rules.h"
#include "cli/monitor_events.h"
#include "cli/monitor_options.h"
#include "cli/stoppable_output.h"
#include "serial/serial_link.h"
#include "session/received_blocks.h"
#include "wave/sample_csv.h"

namespace portprobe::cli {

// What a monitor run saw and sent, for its summary.
struct MonitorCounts {
  std::uint64_t blocks = 0;
  std::uint64_t bytesReceived = 0;
  std::uint64_t replies = 0;  // written whole
  std::uint64_t bytesSent = 0;
  // Queued but not written whole when the port closed.
  std::uint64_t repliesDropped = 0;
  std::uint64_t bytesDropped = 0;
};

// Takes what the link reads, cuts it into blocks by the gap and prints each ended block
// on one line of stdout: its local time and its bytes. A block that a rule matches is
// answered (or, with echo, one that none matches is sent back) as soon as it has
// ended, before anything is printed or decoded; the decoder's output follows the
// block, and each reply is shown as a line marked TX once the port has written it.
class MonitorLoop {
 public:
  enum class End { Stopped, HungUp, OutputFailed };

  // `replies`, `decoder` and `samples` may be null; they and `events`, which the
  // link's wake-up must reach, must outlive the loop. `samples` logs the numbers of the
  // received lines, or of the decoder's output when there is a decoder.
  MonitorLoop(SerialLink& link, const MonitorOptions& options, AutoReplies* replies, BlockDecoder* decoder,
              SampleCsvLog* samples, MonitorEvents& events);

  // Runs until a stop comes, the device hangs up or stdout cannot be written.
  End Run();
  // Once the link is closed: shows what it read last and the block under way, which
  // are no longer answered, and waits until stdout has taken it unless a stop comes
  // while stdout takes nothing.
  void Finish();

  const MonitorCounts& Counts() const { return counts_; }
  bool OutputFailed() const { return outputFailed_; }

 private:
  struct EndedBlock {
    ByteFrame bytes;
    WallTime time;
  };
  // A reply queued for the port, and how much of it the port has not written yet.
  struct QueuedReply {
    ByteFrame bytes;
    std::size_t unwritten;
  };

  int WaitMilliseconds() const;
  void TakeEvents();
  void RemoteNoticed(RemoteNotice notice);
  void AddBatch(const SerialEvent& batch);
  void EndBlock(ReceivedBlock block);
  void Answer(const ByteFrame& block);
  bool Send(const ByteFrame& reply);
  void Written(std::size_t count);
  void PrintEndedBlocks();
  std::string Shown(const ByteFrame& bytes) const;
  void Print(const std::string& text);
  void NoteOutput(StoppableOutput::Result result);

  SerialLink& link_;
  AutoReplies* replies_;
  BlockDecoder* decoder_;
  SampleCsvLog* samples_;
  const bool text_;
  const bool echo_;
  bool answering_ = true;
  bool hungUp_ = false;
  bool outputFailed_ = false;
  bool stopped_ = false;
  bool toldQueueFull_ = false;
  ReceivedBlocks blocks_;
  std::vector<EndedBlock> ended_;
  std::deque<QueuedReply> queued_;
  MonitorCounts counts_;
  MonitorEvents& events_;
  StoppableOutput out_;
};

}  // namespace portprobe::cli

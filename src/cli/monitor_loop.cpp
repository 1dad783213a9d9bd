#include "cli/error_output.h"
#include "cli/monitor_loop.h"

#include <algorithm>
#include <cstdio>

#include "automation/frame_text.h"
#include "codec/hex_format.h"
#include "serial/open_result_text.h"
#include "serial/receive_timestamps.h"

namespace portprobe::cli {

namespace {

// Parser output ends its lines with CR LF, as the receive box wants; a log has LF.
std::string LogLines(const std::string& output) {
  std::string lines;
  for (std::size_t i = 0; i < output.size(); ++i) {
    if (output[i] != '\r') {
      lines += output[i];
    } else if (i + 1 == output.size() || output[i + 1] != '\n') {
      lines += '\n';
    }
  }
  if (!lines.empty() && lines.back() != '\n') lines += '\n';
  return lines;
}

}  // namespace

MonitorLoop::MonitorLoop(SerialLink& link, const MonitorOptions& options, AutoReplies* replies, BlockDecoder* decoder,
                         SampleCsvLog* samples, MonitorEvents& events)
    : link_(link),
      replies_(replies),
      decoder_(decoder),
      samples_(samples),
      text_(options.text),
      echo_(options.echo),
      blocks_(options.gapMilliseconds),
      events_(events),
      out_(events) {}

MonitorLoop::End MonitorLoop::Run() {
  for (;;) {
    const bool stopRequested = events_.Wait(WaitMilliseconds());
    // Every batch queued is taken before the silence is judged, so a block is never
    // ended by a pause that its own next bytes fill.
    TakeEvents();
    if (std::optional<ReceivedBlock> silent = blocks_.EndIfSilent(CurrentTick())) EndBlock(std::move(*silent));
    PrintEndedBlocks();
    if (outputFailed_) return End::OutputFailed;
    if (hungUp_) return End::HungUp;
    if (stopped_ || stopRequested) return End::Stopped;
  }
}

void MonitorLoop::Finish() {
  answering_ = false;
  TakeEvents();
  // Past its deadline, the block under way counts as ended by silence.
  if (std::optional<ReceivedBlock> last = blocks_.EndNow()) EndBlock(std::move(*last));
  PrintEndedBlocks();
  // What the closed port never wrote was dropped.
  for (const QueuedReply& reply : queued_) {
    ++counts_.repliesDropped;
    counts_.bytesDropped += reply.unwritten;
  }
  queued_.clear();
  if (!outputFailed_) NoteOutput(out_.Flush());
}

// Until the block under way has been silent for longer than the gap; without one, until
// something happens.
int MonitorLoop::WaitMilliseconds() const {
  const std::optional<Tick> deadline = blocks_.Deadline();
  if (!deadline) return -1;
  return std::max(0, TickDifference(static_cast<Tick>(*deadline + 1), CurrentTick()));
}

void MonitorLoop::TakeEvents() {
  for (const SerialEvent& event : link_.TakeEvents()) {
    switch (event.kind) {
      case SerialEvent::Kind::Batch:
        AddBatch(event);
        break;
      case SerialEvent::Kind::Written:
        Written(event.count);
        break;
      case SerialEvent::Kind::HangUp:
        hungUp_ = true;
        break;
      case SerialEvent::Kind::LineError:
        WriteError("portprobe-cli monitor: line error (framing, parity, overrun or break), input discarded\n");
        break;
      case SerialEvent::Kind::RemoteNotice:
        RemoteNoticed(static_cast<RemoteNotice>(event.count));
        break;
      case SerialEvent::Kind::ReadError:
      case SerialEvent::Kind::ModemLines:
        break;
    }
  }
}

// A server that never took up the negotiation is no RFC 2217 port: the run ends as
// for a hang-up.
void MonitorLoop::RemoteNoticed(RemoteNotice notice) {
  WriteError(std::string("portprobe-cli monitor: ") + TextOf(notice).commandLine + "\n");
  if (notice == RemoteNotice::NoAnswer) hungUp_ = true;
}

void MonitorLoop::AddBatch(const SerialEvent& batch) {
  counts_.bytesReceived += batch.bytes.size();
  if (samples_ != nullptr && decoder_ == nullptr) samples_->Add(batch.bytes, batch.time);
  for (ReceivedBlock& ended : blocks_.Add(batch.bytes, batch.tick, batch.time)) EndBlock(std::move(ended));
}

// The answer goes out at once; the block waits to be printed and decoded until every
// block that ended meanwhile has been answered.
void MonitorLoop::EndBlock(ReceivedBlock block) {
  ++counts_.blocks;
  if (answering_) Answer(block.bytes);
  ended_.push_back({std::move(block.bytes), block.began});
}

void MonitorLoop::Answer(const ByteFrame& block) {
  const ReplyRule* rule = replies_ != nullptr ? replies_->Answer(block) : nullptr;
  const ByteFrame* reply = rule != nullptr ? &rule->reply : echo_ ? &block : nullptr;
  if (reply != nullptr && !reply->empty() && Send(*reply)) queued_.push_back({*reply, reply->size()});
}

// The port writes the replies in the order they were queued; one written whole gets
// its TX line, so the lines show exactly what went out.
void MonitorLoop::Written(std::size_t count) {
  counts_.bytesSent += count;
  while (count > 0 && !queued_.empty()) {
    QueuedReply& reply = queued_.front();
    const std::size_t taken = std::min(count, reply.unwritten);
    reply.unwritten -= taken;
    count -= taken;
    if (reply.unwritten > 0) break;
    ++counts_.replies;
    PrintEndedBlocks();  // a reply's block comes before it
    Print(ClockText(std::chrono::system_clock::now()) + " TX " + Shown(reply.bytes) + "\n");
    queued_.pop_front();
  }
}

// Only a whole reply is queued: part of one would go out as a broken frame that no TX
// line shows.
bool MonitorLoop::Send(const ByteFrame& reply) {
  if (link_.QueuedWriteBytes() + reply.size() > SerialLink::kWriteQueueCapacity) {
    if (!toldQueueFull_) {
      WriteError(
          "portprobe-cli monitor: the port takes no more (its write queue is full); replies that do not fit "
          "are not sent\n");
    }
    toldQueueFull_ = true;
    return false;
  }
  if (link_.QueueWrite(reply) == reply.size()) return true;
  WriteError("portprobe-cli monitor: the port took no reply\n");  // it went away
  return false;
}

void MonitorLoop::PrintEndedBlocks() {
  for (const EndedBlock& block : ended_) {
    Print(ClockText(block.time) + " " + Shown(block.bytes) + "\n");
    if (decoder_ == nullptr) continue;
    const std::string decoded = decoder_->Decode(block.bytes);
    Print(LogLines(decoded));
    if (samples_ != nullptr) samples_->AddBlock(decoded, block.time);
  }
  ended_.clear();
}

// Hex pairs, or with --text the bytes in double quotes with control bytes and invalid
// UTF-8 escaped as a rules file writes text, so a block always stays on one line.
std::string MonitorLoop::Shown(const ByteFrame& bytes) const {
  return text_ ? "\"" + EscapeText(bytes) + "\"" : HexPairs(bytes);
}

// Each line is written as soon as it is complete; a stop while stdout takes nothing
// drops what is left.
void MonitorLoop::Print(const std::string& text) {
  if (!outputFailed_) NoteOutput(out_.Write(text));
}

void MonitorLoop::NoteOutput(StoppableOutput::Result result) {
  switch (result) {
    case StoppableOutput::Result::Written:
      break;
    case StoppableOutput::Result::Stopped:
      stopped_ = true;
      break;
    case StoppableOutput::Result::Failed:
      outputFailed_ = true;
      break;
  }
}

}  // namespace portprobe::cli

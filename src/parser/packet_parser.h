#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace portprobe::parser {

// Receives every text that a run prints, in order and unchanged.
using OutputSink = std::function<void(std::string_view)>;

class Interpreter;

// The packet-parser interpreter: runs a script over the bytes of one frame and prints
// what it decodes, framed by a start and an exit banner. One object holds all of its
// state; runs on one object must not overlap.
class PacketParser {
 public:
  explicit PacketParser(OutputSink sink);
  ~PacketParser();
  PacketParser(const PacketParser&) = delete;
  PacketParser& operator=(const PacketParser&) = delete;

  // Runs the script (which ends at its first 00 byte) over the frame to its end on the
  // calling thread. Returns 0.
  int RunParser(std::string_view scriptText, std::span<const std::uint8_t> frame);

  // Interpreter allocations not yet released, over the object's whole life.
  std::int32_t AllocationCount() const;

  // Ends the current run at its next executed line with an error report. May be called
  // from any thread; each run starts with no request.
  void RequestStop();

  // Ends a run the same way once it has executed that many lines; 0 means no limit.
  void SetStepLimit(std::uint64_t maxLines);

  // Whether runs print the start and exit banners and the count of globals (the
  // default). Without them a run prints only what the script prints, and a run ended
  // by the step limit prints no error report: for decoding block after block, where
  // the caller says once that a script was cut short.
  void SetBanners(bool on);
  // The last run was ended by the step limit.
  bool LastRunReachedStepLimit() const;

  // The folder into which runs write "__parser__0.txt" and "__parser__1.txt"; empty
  // (the default) writes no trace files.
  void SetTraceFolder(const std::string& folder);

 private:
  std::unique_ptr<Interpreter> interpreter_;
};

}  // namespace portprobe::parser

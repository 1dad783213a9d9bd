#include "sim/roles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>

#include "session/received_blocks.h"
#include "checksum/crc.h"

namespace portprobe::sim {

using namespace std::chrono_literals;

namespace {

class EchoRole : public Role {
 public:
  void Receive(std::span<const std::uint8_t> bytes, Clock::time_point, ByteFrame& out) override {
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
};

class ResponderRole : public Role {
 public:
  ResponderRole(const ByteFrame& reply, SimCrc crc, std::chrono::milliseconds gap)
      : reply_(WithCrc(reply, crc)), gap_(gap) {}

  void Receive(std::span<const std::uint8_t>, Clock::time_point now, ByteFrame&) override { lastByte_ = now; }
  // A frame ends when the line stays silent for the gap after its last byte.
  std::optional<Clock::time_point> NextTick() const override {
    if (!lastByte_) return std::nullopt;
    return *lastByte_ + gap_;
  }
  void Tick(Clock::time_point, ByteFrame& out) override {
    out.insert(out.end(), reply_.begin(), reply_.end());
    lastByte_.reset();
  }
  void Forget() override { lastByte_.reset(); }

 private:
  ByteFrame reply_;
  std::chrono::milliseconds gap_;
  std::optional<Clock::time_point> lastByte_;  // of a frame not yet answered
};

// The tick of the splitter's clock: the same steady clock in milliseconds.
portprobe::Tick TickOf(Clock::time_point time) {
  return static_cast<portprobe::Tick>(
      std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count());
}

// Cuts what the terminal sends into frames at the frame gap and answers each by the
// first rule that matches it.
class RulesRole : public Role {
 public:
  RulesRole(std::vector<ReplyRule> rules, std::chrono::milliseconds gap)
      : gap_(gap), frames_(static_cast<std::int32_t>(gap.count())) {
    replies_.SetRules(std::move(rules));
  }

  void Receive(std::span<const std::uint8_t> bytes, Clock::time_point now, ByteFrame& out) override {
    for (const ReceivedBlock& frame : frames_.Add(bytes, TickOf(now), WallTime())) Answer(frame.bytes, out);
    lastByte_ = now;
  }
  // A frame ends once the line has been silent for longer than the gap.
  std::optional<Clock::time_point> NextTick() const override {
    if (!frames_.Deadline()) return std::nullopt;
    return lastByte_ + gap_ + 1ms;
  }
  void Tick(Clock::time_point now, ByteFrame& out) override {
    if (const std::optional<ReceivedBlock> frame = frames_.EndIfSilent(TickOf(now))) Answer(frame->bytes, out);
  }
  void Forget() override { frames_.EndNow(); }

 private:
  void Answer(const ByteFrame& frame, ByteFrame& out) {
    if (const ReplyRule* rule = replies_.Answer(frame)) out.insert(out.end(), rule->reply.begin(), rule->reply.end());
  }

  std::chrono::milliseconds gap_;
  ReceivedBlocks frames_;
  AutoReplies replies_;
  Clock::time_point lastByte_{};
};

// Frames come in groups of three: the short gaps keep a group in one block of the
// hexadecimal display (100 ms), the long gap after each group starts a new one.
constexpr auto kShortGap = 30ms;
constexpr auto kLongGap = 500ms;
constexpr int kFramesPerGroup = 3;

class StreamRole : public Role {
 public:
  explicit StreamRole(SimCrc crc) : crc_(crc) {}
  void Receive(std::span<const std::uint8_t>, Clock::time_point, ByteFrame&) override {}
  std::optional<Clock::time_point> NextTick() const override { return next_; }
  void Tick(Clock::time_point now, ByteFrame& out) override {
    const ByteFrame frame = WithCrc({0xAA, 0x55, sequence_}, crc_);
    out.insert(out.end(), frame.begin(), frame.end());
    ++sequence_;
    next_ = now + (sequence_ % kFramesPerGroup == 0 ? kLongGap : kShortGap);
  }

 private:
  SimCrc crc_;
  std::uint8_t sequence_ = 0;
  Clock::time_point next_{};  // the first frame goes out at once
};

class FloodRole : public Role {
 public:
  void Receive(std::span<const std::uint8_t>, Clock::time_point, ByteFrame&) override {}
  // Always due (the clock's epoch is long past): the loop ticks again as soon as the
  // device has taken the last chunk.
  std::optional<Clock::time_point> NextTick() const override { return Clock::time_point{}; }
  void Tick(Clock::time_point, ByteFrame& out) override {
    for (int i = 0; i < 4096; ++i) out.push_back(next_++);
  }

 private:
  std::uint8_t next_ = 0;
};

// Three curves to plot, one line per tick: a 1 Hz sine, a 0.5 Hz square and noise.
class WaveRole : public Role {
 public:
  explicit WaveRole(int rate) : period_(std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / rate) {}
  void Receive(std::span<const std::uint8_t>, Clock::time_point, ByteFrame&) override {}
  std::optional<Clock::time_point> NextTick() const override { return next_; }
  void Tick(Clock::time_point now, ByteFrame& out) override {
    if (!started_) started_ = next_ = now;
    const double seconds = std::chrono::duration<double>(now - *started_).count();
    char line[96];
    const int length = std::snprintf(line, sizeof line, "sine:%.3f square:%d noise:%.3f\n",
                                     std::sin(2 * std::numbers::pi * seconds), std::fmod(seconds, 2.0) < 1.0 ? 1 : -1,
                                     noise_(random_));
    out.insert(out.end(), line, line + length);
    // Due times follow the first, so a tick late by less than a period does not slow
    // the rate down.
    next_ = std::max(next_ + period_, now);
  }

 private:
  Clock::duration period_;
  Clock::time_point next_{};
  std::optional<Clock::time_point> started_;
  std::minstd_rand random_;
  std::uniform_real_distribution<double> noise_{-0.2, 0.2};
};

}  // namespace

ByteFrame WithCrc(ByteFrame frame, SimCrc crc) {
  const std::uint32_t value = (crc == SimCrc::Modbus ? kCrc16Modbus : kCrc16Xmodem).Compute(frame);
  frame.push_back(static_cast<std::uint8_t>(value & 0xFF));
  frame.push_back(static_cast<std::uint8_t>(value >> 8));
  return frame;
}

std::unique_ptr<Role> MakeRole(const SimOptions& options) {
  switch (options.role) {
    case SimRole::Echo:
      return std::make_unique<EchoRole>();
    case SimRole::Stream:
      return std::make_unique<StreamRole>(options.crc);
    case SimRole::Flood:
      return std::make_unique<FloodRole>();
    case SimRole::Wave:
      return std::make_unique<WaveRole>(options.waveRate);
    case SimRole::Rules:
      return std::make_unique<RulesRole>(options.rules, std::chrono::milliseconds(options.gapMilliseconds));
    case SimRole::Responder:
      break;
  }
  return std::make_unique<ResponderRole>(options.reply, options.crc,
                                         std::chrono::milliseconds(options.gapMilliseconds));
}

}  // namespace portprobe::sim

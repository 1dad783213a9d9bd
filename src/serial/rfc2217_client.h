#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "common/byte_frame.h"
#include "serial/line_settings.h"

namespace portprobe {

// What a server did not do as asked, told once each per connection: a setting it
// refused or never answered, the serial-port option refused as a whole, or no
// answer at all to the opening negotiation (a server that speaks no Telnet).
enum class RemoteNotice : std::uint32_t {
  BaudRate,
  DataBits,
  Parity,
  StopBits,
  FlowControl,
  ControlLines,
  Break,
  Purge,
  NoComPortOption,
  NoAnswer,
};
inline constexpr std::size_t kRemoteNoticeCount = static_cast<std::size_t>(RemoteNotice::NoAnswer) + 1;

// The client side of a serial port served over Telnet (RFC 854) with the
// COM-PORT-OPTION (RFC 2217). It knows no socket: the wire bytes received go in,
// the data bytes among them come out, and what is to be sent gathers in Outgoing()
// (data with 0xFF doubled, negotiation replies and settings, in order). Settings
// asked for before the server took up the option wait for it.
class Rfc2217Client {
 public:
  using Clock = std::chrono::steady_clock;
  // How long a server has to take up the option, and to answer each setting.
  static constexpr std::chrono::seconds kAnswerTime{5};

  // Queues the opening negotiation.
  explicit Rfc2217Client(Clock::time_point now);

  // Data bytes among `wire` are appended to `data`; a command split across calls is
  // completed by the next.
  void Receive(std::span<const std::uint8_t> wire, ByteFrame& data, Clock::time_point now);
  void SendData(std::span<const std::uint8_t> data);
  ByteFrame& Outgoing() { return outgoing_; }

  // Parts that LineSettings leaves as they are (a rate of 0, no row) are not sent.
  void SetLine(const LineSettings& settings, Clock::time_point now);
  void SetControlLines(bool rts, bool dtr, Clock::time_point now);
  void SetBreak(bool on, Clock::time_point now);
  // Discards what the server's port holds: received bytes, bytes to send, or both.
  enum class Purge : std::uint8_t { Received = 1, Unsent = 2 };
  void PurgeData(Purge which, Clock::time_point now);

  // The lines the server's port reported last, as ModemInput bits.
  std::uint32_t ModemInputs() const { return modemInputs_; }
  // Line errors the server reported since the last call.
  bool TakeLineErrors();
  // The server asked this side to stop sending data for now.
  bool Suspended() const { return suspended_; }

  // When the next answer is due; nothing while none is awaited.
  std::optional<Clock::time_point> NextDeadline() const;
  // What became due or was refused since the last call, each notice once per connection.
  std::vector<RemoteNotice> TakeNotices(Clock::time_point now);

 private:
  enum class State : std::uint8_t { Data, Command, Option, Sub, SubCommand };
  enum class Answer : std::uint8_t { Unsaid, Yes, No };

  void ReceiveByte(std::uint8_t byte, ByteFrame& data, Clock::time_point now);
  void Negotiate(std::uint8_t verb, std::uint8_t option, Clock::time_point now);
  void Say(std::uint8_t verb, std::uint8_t option);
  void Agreed(Clock::time_point now);
  void Subnegotiation();
  // `awaited`: the setting whose answer is then due.
  void Command(std::uint8_t code, std::span<const std::uint8_t> value, std::optional<RemoteNotice> awaited,
               Clock::time_point now);
  void Answered(std::uint8_t code, std::span<const std::uint8_t> value);
  void Tell(RemoteNotice notice);

  ByteFrame outgoing_;
  State state_ = State::Data;
  std::uint8_t verb_ = 0;
  // A subnegotiation is short; what goes beyond this is dropped.
  std::array<std::uint8_t, 16> sub_{};
  std::size_t subLength_ = 0;
  bool subOverflow_ = false;

  std::array<Answer, 256> weWill_{}, weDo_{};
  bool agreed_ = false, refused_ = false;
  std::optional<Clock::time_point> agreementDue_;
  // What was asked for before the option was taken up, sent once it is.
  std::optional<LineSettings> wantedLine_;
  std::optional<std::pair<bool, bool>> wantedControlLines_;

  // The answer each setting waits for, and the value it asked for.
  std::array<std::optional<Clock::time_point>, kRemoteNoticeCount> due_{};
  std::array<std::uint32_t, kRemoteNoticeCount> asked_{};
  std::array<int, kRemoteNoticeCount> unanswered_{};
  std::array<bool, kRemoteNoticeCount> told_{};
  std::vector<RemoteNotice> notices_;

  std::uint32_t modemInputs_ = 0;
  bool lineErrors_ = false;
  bool suspended_ = false;
};

}  // namespace portprobe

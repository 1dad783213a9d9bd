#include "serial/rfc2217_client.h"

#include <initializer_list>
#include <utility>

#include "serial/modem_lines.h"

namespace portprobe {

namespace {

// Telnet's commands and the options this client takes up.
constexpr std::uint8_t kIac = 255, kDont = 254, kDo = 253, kWont = 252, kWill = 251, kSb = 250, kSe = 240;
constexpr std::uint8_t kBinary = 0, kSuppressGoAhead = 3, kComPort = 44;
// The server answers a command with its code plus this.
constexpr std::uint8_t kServerCode = 100;

enum Code : std::uint8_t {
  kSetBaudRate = 1,
  kSetDataSize = 2,
  kSetParity = 3,
  kSetStopSize = 4,
  kSetControl = 5,
  kNotifyLineState = 6,
  kNotifyModemState = 7,
  kFlowSuspend = 8,
  kFlowResume = 9,
  kSetLineStateMask = 10,
  kPurgeData = 12,
};

// Values of SET-CONTROL: outbound flow control, break, DTR and RTS.
constexpr std::uint8_t kFlowNone = 1, kFlowXonXoff = 2, kFlowHardware = 3;
constexpr std::uint8_t kBreakOn = 5, kBreakOff = 6, kDtrOn = 8, kDtrOff = 9, kRtsOn = 11, kRtsOff = 12;

// Line-state bits: overrun, parity, framing errors and a break received.
constexpr std::uint8_t kLineErrorBits = 0x02 | 0x04 | 0x08 | 0x10;

// The values of the setting lists' rows: data bits 8, 7, 6, 5; parity none, odd,
// even, mark, space; stop bits 1, 2, 1.5.
constexpr std::array<std::uint8_t, 4> kDataSizes = {8, 7, 6, 5};
constexpr std::array<std::uint8_t, 5> kParities = {1, 2, 3, 4, 5};
constexpr std::array<std::uint8_t, 3> kStopSizes = {1, 2, 3};

bool TakenUp(std::uint8_t option) { return option == kBinary || option == kSuppressGoAhead || option == kComPort; }

std::uint8_t FlowValue(FlowControl flow) {
  switch (flow) {
    case FlowControl::RtsCts:
      return kFlowHardware;
    case FlowControl::XonXoff:
      return kFlowXonXoff;
    case FlowControl::None:
      break;
  }
  return kFlowNone;
}

// Which setting an answer of SET-CONTROL is about, by its value.
RemoteNotice ControlNotice(std::uint8_t value) {
  if (value <= 3 || value >= 13) return RemoteNotice::FlowControl;
  if (value <= 6) return RemoteNotice::Break;
  return RemoteNotice::ControlLines;
}

std::uint32_t BigEndian(std::span<const std::uint8_t> value) {
  std::uint32_t number = 0;
  for (const std::uint8_t byte : value) number = number << 8 | byte;
  return number;
}

std::uint32_t InputsOfModemState(std::uint8_t state) {
  std::uint32_t inputs = 0;
  if (state & 0x10) inputs |= kCtsLine;
  if (state & 0x20) inputs |= kDsrLine;
  if (state & 0x40) inputs |= kRiLine;
  if (state & 0x80) inputs |= kDcdLine;
  return inputs;
}

// Byte by byte: GCC 12 warns wrongly of an overflow when a short list is inserted.
void Append(ByteFrame& out, std::initializer_list<std::uint8_t> bytes) {
  for (const std::uint8_t byte : bytes) out.push_back(byte);
}

void AppendEscaped(std::span<const std::uint8_t> bytes, ByteFrame& out) {
  for (const std::uint8_t byte : bytes) {
    out.push_back(byte);
    if (byte == kIac) out.push_back(kIac);
  }
}

std::size_t Index(RemoteNotice notice) { return static_cast<std::size_t>(notice); }

}  // namespace

Rfc2217Client::Rfc2217Client(Clock::time_point now) : agreementDue_(now + kAnswerTime) {
  Say(kWill, kComPort);
  Say(kWill, kBinary);
  Say(kDo, kBinary);
  Say(kWill, kSuppressGoAhead);
  Say(kDo, kSuppressGoAhead);
}

void Rfc2217Client::Receive(std::span<const std::uint8_t> wire, ByteFrame& data, Clock::time_point now) {
  for (const std::uint8_t byte : wire) ReceiveByte(byte, data, now);
}

void Rfc2217Client::ReceiveByte(std::uint8_t byte, ByteFrame& data, Clock::time_point now) {
  switch (state_) {
    case State::Data:
      if (byte == kIac) {
        state_ = State::Command;
      } else {
        data.push_back(byte);
      }
      return;
    case State::Command:
      state_ = State::Data;
      if (byte == kIac) {
        data.push_back(kIac);
      } else if (byte == kSb) {
        state_ = State::Sub;
        subLength_ = 0;
        subOverflow_ = false;
      } else if (byte >= kWill && byte <= kDont) {
        verb_ = byte;
        state_ = State::Option;
      }
      return;  // other commands (no-op, go-ahead, ...) carry nothing for a port
    case State::Option:
      state_ = State::Data;
      Negotiate(verb_, byte, now);
      return;
    case State::Sub:
      if (byte == kIac) {
        state_ = State::SubCommand;
        return;
      }
      break;
    case State::SubCommand:
      if (byte == kSe) {
        state_ = State::Data;
        Subnegotiation();
        return;
      }
      state_ = State::Sub;  // IAC IAC: a 255 within the value
      break;
  }
  if (subLength_ < sub_.size()) {
    sub_[subLength_++] = byte;
  } else {
    subOverflow_ = true;
  }
}

// Options are taken up once, and a request that agrees with what this side said
// already is not answered, so that the two sides never loop (RFC 1143).
void Rfc2217Client::Negotiate(std::uint8_t verb, std::uint8_t option, Clock::time_point now) {
  const bool asksUs = verb == kDo || verb == kDont;
  const bool enable = verb == kDo || verb == kWill;
  Answer& said = asksUs ? weWill_[option] : weDo_[option];
  const Answer wanted = enable && TakenUp(option) ? Answer::Yes : Answer::No;
  if (said != wanted) Say(asksUs ? (wanted == Answer::Yes ? kWill : kWont) : (wanted == Answer::Yes ? kDo : kDont), option);
  if (option != kComPort || agreed_ || refused_) return;
  if (enable) {
    Agreed(now);
  } else {
    refused_ = true;
    agreementDue_.reset();
    Tell(RemoteNotice::NoComPortOption);
  }
}

void Rfc2217Client::Say(std::uint8_t verb, std::uint8_t option) {
  Append(outgoing_, {kIac, verb, option});
  const bool ours = verb == kWill || verb == kWont;
  const bool yes = verb == kWill || verb == kDo;
  (ours ? weWill_ : weDo_)[option] = yes ? Answer::Yes : Answer::No;
}

// The settings asked for meanwhile go out now, with the line errors to be told of.
void Rfc2217Client::Agreed(Clock::time_point now) {
  agreed_ = true;
  agreementDue_.reset();
  const std::uint8_t mask = kLineErrorBits;
  Command(kSetLineStateMask, {&mask, 1}, std::nullopt, now);  // a server may keep its own mask silently
  if (wantedLine_) SetLine(*wantedLine_, now);
  if (wantedControlLines_) SetControlLines(wantedControlLines_->first, wantedControlLines_->second, now);
}

void Rfc2217Client::SendData(std::span<const std::uint8_t> data) { AppendEscaped(data, outgoing_); }

void Rfc2217Client::SetLine(const LineSettings& settings, Clock::time_point now) {
  wantedLine_ = settings;
  if (settings.baudRate != 0) {
    const std::uint32_t rate = settings.baudRate;
    const std::uint8_t value[4] = {static_cast<std::uint8_t>(rate >> 24), static_cast<std::uint8_t>(rate >> 16),
                                   static_cast<std::uint8_t>(rate >> 8), static_cast<std::uint8_t>(rate)};
    Command(kSetBaudRate, value, RemoteNotice::BaudRate, now);
  }
  if (ValidRow(settings.dataBitsRow, kDataSizes)) {
    Command(kSetDataSize, {&kDataSizes[settings.dataBitsRow], 1}, RemoteNotice::DataBits, now);
  }
  if (ValidRow(settings.parityRow, kParities)) {
    Command(kSetParity, {&kParities[settings.parityRow], 1}, RemoteNotice::Parity, now);
  }
  if (ValidRow(settings.stopBitsRow, kStopSizes)) {
    Command(kSetStopSize, {&kStopSizes[settings.stopBitsRow], 1}, RemoteNotice::StopBits, now);
  }
  const std::uint8_t flow = FlowValue(settings.flowControl);
  Command(kSetControl, {&flow, 1}, RemoteNotice::FlowControl, now);
}

void Rfc2217Client::SetControlLines(bool rts, bool dtr, Clock::time_point now) {
  wantedControlLines_ = {rts, dtr};
  const std::uint8_t dtrValue = dtr ? kDtrOn : kDtrOff, rtsValue = rts ? kRtsOn : kRtsOff;
  Command(kSetControl, {&dtrValue, 1}, RemoteNotice::ControlLines, now);
  Command(kSetControl, {&rtsValue, 1}, RemoteNotice::ControlLines, now);
}

void Rfc2217Client::SetBreak(bool on, Clock::time_point now) {
  const std::uint8_t value = on ? kBreakOn : kBreakOff;
  Command(kSetControl, {&value, 1}, RemoteNotice::Break, now);
}

void Rfc2217Client::PurgeData(Purge which, Clock::time_point now) {
  const auto value = static_cast<std::uint8_t>(which);
  Command(kPurgeData, {&value, 1}, RemoteNotice::Purge, now);
}

// Nothing goes out before the server took up the option, nor after it refused it.
void Rfc2217Client::Command(std::uint8_t code, std::span<const std::uint8_t> value,
                            std::optional<RemoteNotice> awaited, Clock::time_point now) {
  if (!agreed_) return;
  Append(outgoing_, {kIac, kSb, kComPort, code});
  AppendEscaped(value, outgoing_);
  Append(outgoing_, {kIac, kSe});
  if (!awaited) return;
  const std::size_t index = Index(*awaited);
  if (!due_[index]) due_[index] = now + kAnswerTime;
  asked_[index] = BigEndian(value);
  ++unanswered_[index];
}

void Rfc2217Client::Subnegotiation() {
  if (subOverflow_ || subLength_ < 2 || sub_[0] != kComPort || sub_[1] <= kServerCode) return;
  Answered(static_cast<std::uint8_t>(sub_[1] - kServerCode), std::span(sub_).subspan(2, subLength_ - 2));
}

// A line setting answered with another value than asked was refused; the value
// of SET-CONTROL tells which setting it answers.
void Rfc2217Client::Answered(std::uint8_t code, std::span<const std::uint8_t> value) {
  std::optional<RemoteNotice> notice;
  switch (code) {
    case kSetBaudRate:
      notice = RemoteNotice::BaudRate;
      break;
    case kSetDataSize:
      notice = RemoteNotice::DataBits;
      break;
    case kSetParity:
      notice = RemoteNotice::Parity;
      break;
    case kSetStopSize:
      notice = RemoteNotice::StopBits;
      break;
    case kSetControl:
      if (!value.empty()) notice = ControlNotice(value[0]);
      break;
    case kPurgeData:
      notice = RemoteNotice::Purge;
      break;
    case kNotifyLineState:
      if (!value.empty() && (value[0] & kLineErrorBits)) lineErrors_ = true;
      return;
    case kNotifyModemState:
      if (!value.empty()) modemInputs_ = InputsOfModemState(value[0]);
      return;
    case kFlowSuspend:
    case kFlowResume:
      suspended_ = code == kFlowSuspend;
      return;
    default:
      return;
  }
  // Only the answer to the last of several requests in flight tells what holds now.
  const std::size_t index = notice ? Index(*notice) : 0;
  if (!notice || unanswered_[index] == 0 || --unanswered_[index] > 0) return;
  due_[index].reset();
  const bool lineSetting = *notice <= RemoteNotice::StopBits;
  if (lineSetting && BigEndian(value) != asked_[index]) Tell(*notice);
}

bool Rfc2217Client::TakeLineErrors() { return std::exchange(lineErrors_, false); }

std::optional<Rfc2217Client::Clock::time_point> Rfc2217Client::NextDeadline() const {
  std::optional<Clock::time_point> next = agreementDue_;
  for (const auto& due : due_) {
    if (due && (!next || *due < *next)) next = due;
  }
  return next;
}

std::vector<RemoteNotice> Rfc2217Client::TakeNotices(Clock::time_point now) {
  if (agreementDue_ && now >= *agreementDue_) {
    agreementDue_.reset();
    Tell(RemoteNotice::NoAnswer);
  }
  for (std::size_t i = 0; i < due_.size(); ++i) {
    if (due_[i] && now >= *due_[i]) {
      due_[i].reset();
      unanswered_[i] = 0;
      Tell(static_cast<RemoteNotice>(i));
    }
  }
  return std::exchange(notices_, {});
}

void Rfc2217Client::Tell(RemoteNotice notice) {
  if (std::exchange(told_[Index(notice)], true)) return;
  notices_.push_back(notice);
}

}  // namespace portprobe

// A COM port opened for overlapped input and output. Reads return at once with what is
// queued. Windows then completes an empty read at once, and the worker waits for bytes
// with WaitCommEvent; Wine keeps it pending until the first byte instead, which is as
// well, since its WaitCommEvent fails on a pseudo-terminal (there an empty read is the
// end of the device). A write is handed to the driver one piece at a time; an event set
// by Wake() ends every wait.
#include "serial/serial_device.h"

#include <algorithm>
#include <array>
#include <atomic>

#include "common/wide_text.h"
#include "serial/dcb_rows.h"
#include "serial/modem_lines.h"

namespace portprobe {

namespace {

constexpr DWORD kDriverQueueBytes = 4096;
constexpr std::size_t kPieceBytes = 4096;

// One overlapped request of the worker, with its manual-reset event.
struct Request {
  OVERLAPPED record{};
  bool pending = false;
};

// Aborted: the driver cancelled the request (a purge), for no fault of the device.
enum class Outcome { Pending, Done, Aborted, Failed };

Outcome Finish(HANDLE handle, Request& request, DWORD* count) {
  *count = 0;
  if (GetOverlappedResult(handle, &request.record, count, FALSE)) {
    request.pending = false;
    return Outcome::Done;
  }
  const DWORD error = GetLastError();
  if (error == ERROR_IO_INCOMPLETE) return Outcome::Pending;
  request.pending = false;
  return error == ERROR_OPERATION_ABORTED ? Outcome::Aborted : Outcome::Failed;
}

DCB EmptyDcb() {
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  return dcb;
}

}  // namespace

struct SerialDevice::Native {
  HANDLE handle = INVALID_HANDLE_VALUE;
  HANDLE wake = nullptr;  // auto-reset
  DCB saved = EmptyDcb();
  bool settingsSaved = false;
  // RTS and DTR as last set (bit 0, bit 1), so that new settings keep them; -1: as found.
  std::atomic<int> outputs{-1};

  // The worker's own.
  Request read, write, arrival;
  DWORD arrivalEvents = 0;  // WaitCommEvent's answer, written when it completes
  std::array<std::uint8_t, kPieceBytes> readBuffer{}, writeBuffer{};
  std::size_t readCount = 0, readTaken = 0;  // what the last read brought, and how much of it was handed out

  bool HasReadBytes() const { return readTaken < readCount; }
  bool ReadIdle() const { return !read.pending && !arrival.pending && !HasReadBytes(); }
  bool ArmRead();
  bool WaitForArrival();
  void CancelPending();
};

// Reads what is queued or, when nothing is and the read ended at once, waits for bytes
// to arrive. An arrival noticed before the wait started ends it at once. False when the
// device has gone away.
bool SerialDevice::Native::ArmRead() {
  readCount = readTaken = 0;
  DWORD count = 0;
  if (ReadFile(handle, readBuffer.data(), static_cast<DWORD>(readBuffer.size()), &count, &read.record)) {
    readCount = count;
  } else if (GetLastError() == ERROR_IO_PENDING) {
    read.pending = true;
  } else {
    return false;
  }
  return read.pending || HasReadBytes() || WaitForArrival();
}

// False when the driver cannot wait for bytes either: a read that brings nothing then
// means the end of the device.
bool SerialDevice::Native::WaitForArrival() {
  if (WaitCommEvent(handle, &arrivalEvents, &arrival.record)) return true;
  arrival.pending = GetLastError() == ERROR_IO_PENDING;
  return arrival.pending;
}

// Every request ends before the buffers and events it uses go away.
void SerialDevice::Native::CancelPending() {
  if (!read.pending && !write.pending && !arrival.pending) return;
  SetCommMask(handle, 0);  // ends a WaitCommEvent
  CancelIoEx(handle, nullptr);
  for (Request* request : {&read, &write, &arrival}) {
    DWORD count = 0;
    if (request->pending) GetOverlappedResult(handle, &request->record, &count, TRUE);
    request->pending = false;
  }
}

SerialDevice::SerialDevice() : native_(std::make_unique<Native>()) {}

SerialDevice::~SerialDevice() { Close(); }

// Share mode 0 makes the port this process's alone.
// A port that another program has open is refused with "access denied": Windows gives
// a port to one program at a time.
SerialDevice::Opening SerialDevice::Open(const std::string& path) {
  Close();
  const std::wstring wide = WideFromUtf8(path);
  native_->handle = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
  if (native_->handle == INVALID_HANDLE_VALUE) {
    switch (GetLastError()) {
      case ERROR_FILE_NOT_FOUND:
      case ERROR_PATH_NOT_FOUND:
        return Opening::Missing;
      case ERROR_ACCESS_DENIED:
      case ERROR_SHARING_VIOLATION:
        return Opening::Held;
      default:
        return Opening::Failed;
    }
  }
  native_->saved = EmptyDcb();
  native_->settingsSaved = GetCommState(native_->handle, &native_->saved);
  native_->outputs = -1;
  SetupComm(native_->handle, kDriverQueueBytes, kDriverQueueBytes);
  SetCommMask(native_->handle, EV_RXCHAR);
  // A read returns at once with what is queued; writes wait as long as the device
  // needs (the close discards what it never takes).
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;
  SetCommTimeouts(native_->handle, &timeouts);
  return Opening::Opened;
}

bool SerialDevice::IsOpen() const { return native_->handle != INVALID_HANDLE_VALUE; }

// A device that has not taken its last piece shortly after the close is stuck (flow
// control held, a hung adapter): what it holds is discarded.
void SerialDevice::Close() {
  Native& native = *native_;
  if (native.handle != INVALID_HANDLE_VALUE) {
    constexpr DWORD kGraceMilliseconds = 100;
    if (native.write.pending && WaitForSingleObject(native.write.record.hEvent, kGraceMilliseconds) == WAIT_TIMEOUT) {
      PurgeComm(native.handle, PURGE_TXABORT | PURGE_TXCLEAR);
    }
    native.CancelPending();
    if (native.settingsSaved) SetCommState(native.handle, &native.saved);
    CloseHandle(native.handle);
  }
  for (HANDLE* event :
       {&native.wake, &native.read.record.hEvent, &native.write.record.hEvent, &native.arrival.record.hEvent}) {
    if (*event != nullptr) CloseHandle(*event);
    *event = nullptr;
  }
  native.handle = INVALID_HANDLE_VALUE;
  native.readCount = native.readTaken = 0;
}

// RTS and DTR stay as last set: a new control block would otherwise raise them.
ApplyResult SerialDevice::ApplySettings(const LineSettings& settings) {
  DCB dcb = EmptyDcb();
  if (!GetCommState(native_->handle, &dcb)) return ApplyResult::NotATerminal;
  SetLineSettings(dcb, settings);
  if (const int outputs = native_->outputs; outputs >= 0) {
    if (dcb.fRtsControl != RTS_CONTROL_HANDSHAKE)
      dcb.fRtsControl = (outputs & 1) ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
    dcb.fDtrControl = (outputs & 2) ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
  }
  if (!SetCommState(native_->handle, &dcb)) return ApplyResult::Refused;
  DCB actual = EmptyDcb();
  if (!GetCommState(native_->handle, &actual)) return ApplyResult::Refused;
  if (settings.baudRate != 0 && !RateWithinTolerance(actual.BaudRate, settings.baudRate)) return ApplyResult::Refused;
  return ApplyResult::Applied;
}

bool SerialDevice::CreateWake() {
  Native& native = *native_;
  native.wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  for (Request* request : {&native.read, &native.write, &native.arrival}) {
    request->record.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (request->record.hEvent == nullptr) return false;
  }
  return native.wake != nullptr;
}

void SerialDevice::Wake() {
  if (native_->wake != nullptr) SetEvent(native_->wake);
}

// A pending request is waited for only while it is wanted: a finished read that waits
// for room in the owner's queue must not end every wait at once.
std::optional<SerialDevice::Readiness> SerialDevice::Wait(bool read, bool write, int timeoutMilliseconds) {
  Native& native = *native_;
  if (read && native.ReadIdle()) {
    if (!native.ArmRead()) return Readiness{.hungUp = true};
    if (native.ReadIdle()) return Readiness{};  // bytes came meanwhile: the next turn reads them
  }
  if ((read && native.HasReadBytes()) || (write && !native.write.pending)) {
    return Readiness{.readable = read && native.HasReadBytes(), .writable = write && !native.write.pending};
  }
  HANDLE handles[3] = {native.wake};
  DWORD count = 1;
  if (read) handles[count++] = (native.read.pending ? native.read : native.arrival).record.hEvent;
  if (write) handles[count++] = native.write.record.hEvent;
  const DWORD woken = WaitForMultipleObjects(
      count, handles, FALSE, timeoutMilliseconds < 0 ? INFINITE : static_cast<DWORD>(timeoutMilliseconds));
  if (woken == WAIT_FAILED) return std::nullopt;
  if (woken == WAIT_OBJECT_0) return Readiness{.woken = true};
  Readiness ready;
  DWORD moved = 0;
  if (read && native.read.pending) {
    const Outcome outcome = Finish(native.handle, native.read, &moved);
    native.readCount = outcome == Outcome::Done ? moved : 0;
    ready.readable = native.HasReadBytes();
    // A driver that ends a pending read with nothing is waited on for bytes instead.
    ready.hungUp = outcome == Outcome::Failed || (outcome == Outcome::Done && moved == 0 && !native.WaitForArrival());
  } else if (read) {
    ready.hungUp = Finish(native.handle, native.arrival, &moved) == Outcome::Failed;  // else the next turn reads
  }
  if (write) {
    const Outcome outcome = Finish(native.handle, native.write, &moved);
    ready.writable = outcome == Outcome::Done || outcome == Outcome::Aborted;
    ready.hungUp = ready.hungUp || outcome == Outcome::Failed;
  }
  return ready;
}

std::optional<std::size_t> SerialDevice::Read(std::span<std::uint8_t> buffer) {
  Native& native = *native_;
  const std::size_t count = std::min(buffer.size(), native.readCount - native.readTaken);
  std::copy_n(native.readBuffer.begin() + static_cast<std::ptrdiff_t>(native.readTaken), count, buffer.begin());
  native.readTaken += count;
  return count;
}

// The piece is the driver's from here on, as bytes written to a Linux tty are the
// kernel's; the next piece waits until the driver has finished with it.
std::optional<std::size_t> SerialDevice::Write(std::span<const std::uint8_t> bytes) {
  Native& native = *native_;
  if (native.write.pending) return 0;
  const std::size_t count = std::min(bytes.size(), native.writeBuffer.size());
  std::copy_n(bytes.begin(), count, native.writeBuffer.begin());
  DWORD written = 0;
  if (WriteFile(native.handle, native.writeBuffer.data(), static_cast<DWORD>(count), &written, &native.write.record)) {
    return written;
  }
  if (GetLastError() != ERROR_IO_PENDING) return std::nullopt;
  native.write.pending = true;
  return count;
}

void SerialDevice::ResetLineErrors() { TakeLineErrors(); }

bool SerialDevice::TakeLineErrors() {
  DWORD errors = 0;
  COMSTAT status{};
  return ClearCommError(native_->handle, &errors, &status) && errors != 0;
}

void SerialDevice::FlushInput() {
  native_->readTaken = native_->readCount;
  PurgeComm(native_->handle, PURGE_RXCLEAR);
}

// A piece under way is aborted too; the worker takes that as done.
void SerialDevice::FlushOutput() { PurgeComm(native_->handle, PURGE_TXABORT | PURGE_TXCLEAR); }

std::optional<std::uint32_t> SerialDevice::ModemInputs() {
  DWORD status = 0;
  if (!GetCommModemStatus(native_->handle, &status)) return std::nullopt;
  std::uint32_t inputs = 0;
  if (status & MS_CTS_ON) inputs |= kCtsLine;
  if (status & MS_DSR_ON) inputs |= kDsrLine;
  if (status & MS_RING_ON) inputs |= kRiLine;
  if (status & MS_RLSD_ON) inputs |= kDcdLine;
  return inputs;
}

// Under CTS handshaking the driver drives RTS itself and refuses; that is as wanted.
void SerialDevice::SetModemOutputs(bool rts, bool dtr) {
  native_->outputs = (rts ? 1 : 0) | (dtr ? 2 : 0);
  EscapeCommFunction(native_->handle, rts ? SETRTS : CLRRTS);
  EscapeCommFunction(native_->handle, dtr ? SETDTR : CLRDTR);
}

bool SerialDevice::SetBreak(bool on) { return EscapeCommFunction(native_->handle, on ? SETBREAK : CLRBREAK); }

}  // namespace portprobe

#pragma once

#include <memory>

#include "serial/port_device.h"

namespace portprobe {

// A serial port of this machine: a tty on Linux, a COM port on Windows.
class SerialDevice final : public PortDevice {
 public:
  SerialDevice();
  ~SerialDevice() override;

  Opening Open(const std::string& path) override;
  bool IsOpen() const override;
  void Close() override;
  ApplyResult ApplySettings(const LineSettings& settings) override;
  bool CreateWake() override;
  void Wake() override;
  std::optional<Readiness> Wait(bool read, bool write, int timeoutMilliseconds) override;
  std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) override;
  std::optional<std::size_t> Write(std::span<const std::uint8_t> bytes) override;
  void ResetLineErrors() override;
  bool TakeLineErrors() override;
  void FlushInput() override;
  void FlushOutput() override;
  std::optional<std::uint32_t> ModemInputs() override;
  void SetModemOutputs(bool rts, bool dtr) override;
  bool SetBreak(bool on) override;

 private:
  struct Native;
  std::unique_ptr<Native> native_;
};

}  // namespace portprobe

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace portprobe::testing {

// A pseudo-terminal pair in raw mode: the terminal under test opens `SlavePath()`,
// the test plays the device on the master side.
class PtyPair {
 public:
  PtyPair();
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  const std::string& SlavePath() const { return slavePath_; }
  int MasterFd() const { return master_; }
  int SlaveFd() const { return slave_; }

  void Write(const std::vector<std::uint8_t>& bytes) const;
  void Write(const std::string& text) const;
  // Reads until `count` bytes arrived or `timeoutMs` passed without any byte.
  std::vector<std::uint8_t> Read(std::size_t count, int timeoutMs = 5000) const;
  // Closes the device side, as an unplugged device or a closed peer would.
  void CloseMaster();

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
};

std::vector<std::uint8_t> RandomBytes(std::size_t count, unsigned seed);

// Writes all bytes to a blocking or non-blocking descriptor; throws on failure.
void WriteAll(int fd, const std::vector<std::uint8_t>& bytes);
// Reads until `count` bytes arrived or `timeoutMs` passed without any byte.
std::vector<std::uint8_t> ReadBytes(int fd, std::size_t count, int timeoutMs = 5000);

}  // namespace portprobe::testing

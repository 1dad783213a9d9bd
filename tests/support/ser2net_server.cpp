#include "support/ser2net_server.h"

#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace portprobe::testing {

namespace {

sockaddr_in Loopback(std::uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  return address;
}

}  // namespace

std::uint16_t FreeLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(0);
  socklen_t size = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  ::close(fd);
  return ntohs(address.sin_port);
}

bool AcceptsConnections(std::uint16_t port, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  do {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = Loopback(port);
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    if (connected) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (std::chrono::steady_clock::now() < deadline);
  return false;
}

UnansweredPort::UnansweredPort(std::uint16_t port)
    : listener_(::socket(AF_INET, SOCK_STREAM, 0)), filler_(::socket(AF_INET, SOCK_STREAM, 0)) {
  const int on = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  const sockaddr_in address = Loopback(port);
  // A queue of none holds one connection; the next ones' handshakes are dropped.
  if (::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 0) != 0 ||
      ::connect(filler_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    throw std::runtime_error("no unanswered port");
  }
}

UnansweredPort::~UnansweredPort() {
  ::close(filler_);
  ::close(listener_);
}

Ser2netServer::Ser2netServer(const std::string& devicePath, Accepter accepter) : port_(FreeLoopbackPort()) {
  const bool rfc2217 = accepter == Accepter::Rfc2217;
  url_ = (rfc2217 ? "rfc2217://127.0.0.1:" : "tcp://127.0.0.1:") + std::to_string(port_);
  WriteFile(dir_.Path() / "ser2net.yaml", "connection: &dev\n  accepter: " +
                                              std::string(rfc2217 ? "telnet(rfc2217),tcp" : "tcp") + ",127.0.0.1," +
                                              std::to_string(port_) + "\n  connector: serialdev," + devicePath +
                                              ",9600n81,local\n");
  Start();
}

std::string Ser2netServer::Url() const { return url_; }

void Ser2netServer::Start() {
  server_ = std::make_unique<BackgroundProgram>(
      "/usr/sbin/ser2net", std::vector<std::string>{"-n", "-c", (dir_.Path() / "ser2net.yaml").string(), "-P",
                                          (dir_.Path() / "ser2net.pid").string()});
  // The probe's connection is one ser2net serves and drops; it opens the device meanwhile.
  if (!AcceptsConnections(port_)) throw std::runtime_error("ser2net did not start");
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

void Ser2netServer::Stop() {
  if (!server_) return;
  server_->Signal(SIGKILL);
  server_->WaitForExit();
  server_.reset();
}

}  // namespace portprobe::testing

// portprobe-sim: a serial device on a pseudo-terminal or a TCP port, for trying the
// terminal without hardware. See kSimUsage for the roles and options.
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <system_error>

#include "sim/device_link.h"
#include "sim/pseudo_terminal.h"
#include "sim/roles.h"
#include "sim/sim_loop.h"
#include "sim/sim_options.h"
#include "sim/tcp_listener.h"

namespace {

std::unique_ptr<portprobe::sim::DeviceEnd> MakeDeviceEnd(const portprobe::sim::SimOptions& options) {
  using namespace portprobe::sim;
  if (!options.listenAddress.empty()) return std::make_unique<TcpListener>(options.listenAddress);
  return std::make_unique<PseudoTerminal>();
}

int Simulate(const portprobe::sim::SimOptions& options) {
  using namespace portprobe::sim;
  const std::unique_ptr<DeviceEnd> device = MakeDeviceEnd(options);
  std::optional<DeviceLink> link;
  if (!options.linkPath.empty()) link.emplace(options.linkPath, device->Name());
  // The first line of stdout is the device; whoever reads it may close the pipe then.
  std::printf("%s\n", device->Name().c_str());
  std::fflush(stdout);
  std::fprintf(stderr, "portprobe-sim: %s on %s%s%s\n", RoleName(options.role), device->Name().c_str(),
               link ? ", linked as " : "", options.linkPath.c_str());
  const std::unique_ptr<Role> role = MakeRole(options);
  RunSimulator(*device, *role, options);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace portprobe::sim;
  const SimCommandLine commandLine = ParseSimCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (commandLine.help) {
    std::fputs(kSimUsage, stdout);
    return 0;
  }
  if (!commandLine.error.empty()) {
    std::fprintf(stderr, "portprobe-sim: %s\n(portprobe-sim --help shows the options)\n", commandLine.error.c_str());
    return 2;
  }
  SimOptions options = commandLine.options;
  if (options.role == SimRole::Rules) {
    // Mistakes in the file are shown at once, before a device is made for nothing.
    const std::vector<std::string> errors = LoadSimRules(options);
    for (const std::string& error : errors) std::fprintf(stderr, "portprobe-sim: %s\n", error.c_str());
    if (!errors.empty()) return 2;
  }
  std::signal(SIGPIPE, SIG_IGN);
  try {
    return Simulate(options);
  } catch (const std::system_error& error) {
    std::fprintf(stderr, "portprobe-sim: %s\n", error.what());
    return 1;
  }
}

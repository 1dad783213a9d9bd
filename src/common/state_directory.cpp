#include "common/state_directory.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace portprobe {

namespace {

std::string HomeDirectory() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
  // A session without HOME (a service, a stripped environment) still has an account.
  if (const passwd* account = ::getpwuid(::getuid()); account != nullptr && account->pw_dir != nullptr) {
    return account->pw_dir;
  }
  return "/tmp";
}

}  // namespace

std::string StateDirectory() {
  // A relative value is invalid by the XDG rules and would point into the working directory.
  const char* state = std::getenv("XDG_STATE_HOME");
  const std::string base = state != nullptr && state[0] == '/' ? state : HomeDirectory() + "/.local/state";
  return base + "/portprobe";
}

std::string MakeStateDirectory() {
  const std::string folder = StateDirectory();
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return std::filesystem::is_directory(folder, error) ? folder : std::string();
}

}  // namespace portprobe

#include "common/state_directory.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

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

}  // namespace portprobe

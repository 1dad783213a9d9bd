#include <cstdlib>

#include "common/environment_variable.h"

namespace portprobe {

std::string EnvironmentVariable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

}  // namespace portprobe

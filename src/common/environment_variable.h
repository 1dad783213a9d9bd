#pragma once

#include <string>

namespace portprobe {

// The value of an environment variable as UTF-8 (on Windows read through the wide
// call, so any path survives); empty when it is unset.
std::string EnvironmentVariable(const char* name);

}  // namespace portprobe

#pragma once

#include <string>

namespace portprobe {

// Directory of the running executable, without a trailing slash or backslash; empty
// when unknown.
std::string ExecutableDirectory();

}  // namespace portprobe

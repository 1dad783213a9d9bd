#include <cstdlib>

#include "common/environment_variable.h"
#include "common/wide_text.h"

namespace portprobe {

std::string EnvironmentVariable(const char* name) {
  const wchar_t* value = ::_wgetenv(WideFromUtf8(name).c_str());
  return value != nullptr ? Utf8FromWide(value) : "";
}

}  // namespace portprobe

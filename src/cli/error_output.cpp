#include "cli/error_output.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace portprobe::cli {

void PrintError(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length > 0) {
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.pop_back();
    WriteError(text);
  }
  va_end(args);
}

}  // namespace portprobe::cli

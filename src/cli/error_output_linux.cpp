#include "cli/error_output.h"

#include <cstdio>

namespace portprobe::cli {

void WriteError(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

}  // namespace portprobe::cli

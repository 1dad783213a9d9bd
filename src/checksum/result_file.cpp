#include "checksum/result_file.h"

#include <cstdio>

#include "checksum/checksum_platform.h"
#include "common/environment_variable.h"
#include "common/regular_file.h"

namespace portprobe {

std::string ResultFile() {
  const std::string path = EnvironmentVariable(kResultFileVariable);
  return path.empty() ? kDefaultResultFile : path;
}

std::optional<ByteFrame> ReadResultFile(const std::string& path) {
  Expected<RegularFile> file = OpenRegularFile(path, kNoSizeLimit);
  if (!file) return std::nullopt;
  ByteFrame head(kResultFileLimit);
  head.resize(std::fread(head.data(), 1, head.size(), file->stream.get()));
  if (std::ferror(file->stream.get())) return std::nullopt;
  return head;
}

}  // namespace portprobe

#include "common/c_file.h"

#include "common/wide_text.h"

namespace portprobe {

CFile OpenCFile(const std::string& path, const char* mode) {
  return CFile(::_wfopen(WideFromUtf8(path).c_str(), WideFromUtf8(mode).c_str()));
}

}  // namespace portprobe

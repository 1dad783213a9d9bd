#include "common/c_file.h"

namespace portprobe {

CFile OpenCFile(const std::string& path, const char* mode) { return CFile(std::fopen(path.c_str(), mode)); }

}  // namespace portprobe

#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace portprobe {

struct CFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// A C stream that closes itself.
using CFile = std::unique_ptr<std::FILE, CFileCloser>;

inline CFile OpenCFile(const std::string& path, const char* mode) { return CFile(std::fopen(path.c_str(), mode)); }

}  // namespace portprobe

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

// std::fopen with a UTF-8 path (on Windows through the wide call, which takes any name).
CFile OpenCFile(const std::string& path, const char* mode);

}  // namespace portprobe

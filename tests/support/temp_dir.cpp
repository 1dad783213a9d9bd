#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace portprobe::testing {

TempDir::TempDir() {
  const char* base = std::getenv("PORTPROBE_TEST_TMP");
  std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/portprobe-test-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create " + pattern);
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::WriteFile(const std::string& name, const std::string& content,
                               std::filesystem::perms permissions) const {
  const std::string file = File(name);
  testing::WriteFile(file, content);
  std::filesystem::permissions(file, permissions);
  return file;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::filesystem::path WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

}  // namespace portprobe::testing

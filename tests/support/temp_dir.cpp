#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace portprobe::testing {

namespace {

std::filesystem::path TestTemporaryFolder() {
  if (const char* base = std::getenv("PORTPROBE_TEST_TMP")) return base;
  return std::filesystem::temp_directory_path();
}

}  // namespace

// A name no other test has taken: create_directory refuses one that exists.
TempDir::TempDir() {
  const std::filesystem::path base = TestTemporaryFolder();
  std::random_device seed;
  std::mt19937_64 generator(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    path_ = base / ("portprobe-test-" + std::to_string(generator() % 1000000000));
    if (std::filesystem::create_directory(path_)) return;
  }
  throw std::runtime_error("cannot create a folder in " + base.string());
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

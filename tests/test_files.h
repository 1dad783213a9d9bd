#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace portprobe::testing {

// A fresh directory for the running test, below the build tree when CTest runs it.
inline std::filesystem::path FreshTestDirectory() {
  const char* root = std::getenv("PORTPROBE_TEST_TMP");
  const std::filesystem::path base = root != nullptr ? root : std::filesystem::temp_directory_path();
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::filesystem::path directory =
      base / (std::string(test->test_suite_name()) + "." + test->name());
  std::filesystem::remove_all(directory);
  std::filesystem::create_directories(directory);
  return directory;
}

inline std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

inline std::filesystem::path WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

}  // namespace portprobe::testing

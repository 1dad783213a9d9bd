#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace portprobe {

// A fresh directory for one test under $PORTPROBE_TEST_TMP (set by CTest), removed
// with its content when the test ends.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    const char* base = std::getenv("PORTPROBE_TEST_TMP");
    std::string name = std::string(base != nullptr ? base : "/tmp") + "/scratch-XXXXXX";
    if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot create " + name);
    path_ = name;
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  const std::filesystem::path& path() const { return path_; }

  // Writes `content` to the file `name` in this directory and returns its path.
  std::string WriteFile(const std::string& name, const std::string& content,
                        std::filesystem::perms permissions = std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::owner_write) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream(file, std::ios::binary) << content;
    std::filesystem::permissions(file, permissions);
    return file.string();
  }

 private:
  std::filesystem::path path_;
};

}  // namespace portprobe

#pragma once

#include <filesystem>
#include <string>

namespace portprobe::testing {

// A fresh folder for one test under $PORTPROBE_TEST_TMP (set by CTest) or the
// system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

  // Writes `content` to the file `name` in this folder and returns its path.
  std::string WriteFile(const std::string& name, const std::string& content,
                        std::filesystem::perms permissions = std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::owner_write) const;

 private:
  std::filesystem::path path_;
};

// A device, which no reader of the user's files may take for a file.
#ifdef _WIN32
inline constexpr char kDevicePath[] = "NUL";
#else
inline constexpr char kDevicePath[] = "/dev/zero";
#endif

std::string ReadFile(const std::filesystem::path& path);
// Writes the bytes as the file's whole content and returns its path.
std::filesystem::path WriteFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace portprobe::testing

#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace portprobe::testing {

// Sets an environment variable for as long as it lives, then puts back what was there.
class ScopedEnvironment {
 public:
  ScopedEnvironment(std::string name, const std::string& value) : name_(std::move(name)) {
    if (const char* previous = std::getenv(name_.c_str())) previous_ = previous;
    Set(name_, value);
  }
  ~ScopedEnvironment() {
    if (previous_) {
      Set(name_, *previous_);
    } else {
      Unset(name_);
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
#ifdef _WIN32
  // The C runtime's copy and the process's environment both change, so that programs
  // started from the test see the value too. An empty value cannot be set: it unsets.
  static void Set(const std::string& name, const std::string& value) { ::_putenv_s(name.c_str(), value.c_str()); }
  static void Unset(const std::string& name) { ::_putenv_s(name.c_str(), ""); }
#else
  static void Set(const std::string& name, const std::string& value) { ::setenv(name.c_str(), value.c_str(), 1); }
  static void Unset(const std::string& name) { ::unsetenv(name.c_str()); }
#endif

  std::string name_;
  std::optional<std::string> previous_;
};

}  // namespace portprobe::testing

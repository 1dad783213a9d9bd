#include "common/running_program.h"

#include <algorithm>
#include <string_view>

namespace portprobe {

namespace {

std::string_view VariableName(std::string_view entry) { return entry.substr(0, entry.find('=')); }

}  // namespace

std::vector<std::string> EnvironmentWith(const std::vector<std::string>& current,
                                         const std::vector<std::string>& added) {
  std::vector<std::string> environment;
  for (const std::string& entry : current) {
    const bool replaced = std::any_of(added.begin(), added.end(), [&entry](const std::string& addition) {
      return VariableName(addition) == VariableName(entry);
    });
    if (!replaced) environment.push_back(entry);
  }
  environment.insert(environment.end(), added.begin(), added.end());
  return environment;
}

}  // namespace portprobe

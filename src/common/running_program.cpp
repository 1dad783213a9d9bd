#include "common/running_program.h"

#include <algorithm>
#include <string_view>

namespace portprobe {

namespace {

std::string_view VariableName(std::string_view entry) { return entry.substr(0, entry.find('=')); }

bool SameName(std::string_view a, std::string_view b, NameCase nameCase) {
  if (nameCase == NameCase::Sensitive) return a == b;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

std::vector<std::string> EnvironmentWith(const std::vector<std::string>& current,
                                         const std::vector<std::string>& added, NameCase nameCase) {
  std::vector<std::string> environment;
  for (const std::string& entry : current) {
    const bool replaced = std::any_of(added.begin(), added.end(), [&](const std::string& addition) {
      return SameName(VariableName(addition), VariableName(entry), nameCase);
    });
    if (!replaced) environment.push_back(entry);
  }
  environment.insert(environment.end(), added.begin(), added.end());
  return environment;
}

}  // namespace portprobe

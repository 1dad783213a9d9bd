#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace portprobe {

// `text` with %1, %2, ... replaced by the arguments in order, as the window's
// QString::arg fills the same texts; a placeholder without an argument stays.
std::string FillText(std::string_view text, std::initializer_list<std::string_view> arguments);

}  // namespace portprobe

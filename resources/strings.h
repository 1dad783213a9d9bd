#pragma once

namespace portprobe::resources {

// String 101: the About entry.
inline constexpr const char kAboutEntryText[] = "关于 ttyprobe(&A)...";

}  // namespace portprobe::resources

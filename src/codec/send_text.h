#pragma once

#include <string>
#include <string_view>

namespace portprobe {

// The bytes that the send box's text stands for on the line: its UTF-8 bytes with
// every line end as CR LF (an edit box holds lines separated by LF alone).
std::string ToWireText(std::string_view boxText);

// The reverse for showing bytes in an edit box: CR LF and lone CRs become LF.
std::string FromWireText(std::string_view bytes);

}  // namespace portprobe

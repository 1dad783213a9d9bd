#pragma once

namespace portprobe {

// How the line paces the sender: not at all, by the RTS and CTS lines, or by the
// XON and XOFF characters.
enum class FlowControl { None, RtsCts, XonXoff };

}  // namespace portprobe

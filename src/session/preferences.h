#pragma once

#include <cstdint>
#include <string_view>

#include "codec/text_encoding.h"
#include "serial/flow_control.h"
#include "serial/frame_gap.h"

namespace portprobe {

// What a send in character mode gets appended.
enum class SendLineEnd { None, Cr, Lf, CrLf };
std::string_view LineEndBytes(SendLineEnd lineEnd);

// The terminal's settings beyond the window's own controls: reached from the tools
// menu and the options dialog, and remembered between runs like the controls.
struct Preferences {
  static constexpr std::int32_t kMinFrameGap = kMinFrameGapMilliseconds;
  static constexpr std::int32_t kMaxFrameGap = kMaxFrameGapMilliseconds;

  bool timestamps = false;
  bool echoSent = false;
  TextEncoding encoding = TextEncoding::Utf8;
  SendLineEnd lineEnd = SendLineEnd::None;
  // The pause that starts a new hex block.
  std::int32_t frameGapMilliseconds = kDefaultFrameGapMilliseconds;
  // Font size of both text boxes; 0 keeps the window's own.
  int fontPointSize = 0;
  bool autoReconnect = true;
  bool rts = true;
  bool dtr = true;
  FlowControl flowControl = FlowControl::None;

  bool operator==(const Preferences&) const = default;
};

}  // namespace portprobe

#include "codec/send_text.h"

namespace portprobe {

std::string ToWireText(std::string_view boxText) {
  std::string wire;
  wire.reserve(boxText.size() + boxText.size() / 16);
  for (std::size_t i = 0; i < boxText.size(); ++i) {
    const char c = boxText[i];
    if (c == '\n' && (i == 0 || boxText[i - 1] != '\r')) wire += '\r';
    wire += c;
  }
  return wire;
}

std::string FromWireText(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r') {
      text += bytes[i];
    } else if (i + 1 >= bytes.size() || bytes[i + 1] != '\n') {
      text += '\n';
    }
  }
  return text;
}

}  // namespace portprobe

#include "session/preferences.h"

namespace portprobe {

std::string_view LineEndBytes(SendLineEnd lineEnd) {
  switch (lineEnd) {
    case SendLineEnd::Cr:
      return "\r";
    case SendLineEnd::Lf:
      return "\n";
    case SendLineEnd::CrLf:
      return "\r\n";
    case SendLineEnd::None:
      break;
  }
  return {};
}

}  // namespace portprobe

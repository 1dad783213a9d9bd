#include "serial/line_settings.h"

namespace portprobe {

bool RateWithinTolerance(std::uint64_t kept, std::uint64_t wanted) {
  const std::uint64_t difference = kept > wanted ? kept - wanted : wanted - kept;
  return difference * 50 <= wanted;
}

std::string StatusLineText(const std::string& portName, bool isOpen, const std::string& baudText,
                           const std::string& parityLetter, const std::string& dataBitsText,
                           const std::string& stopBitsText) {
  return portName + (isOpen ? " OPENED," : " CLOSED,") + baudText + "," + parityLetter + "," + dataBitsText + "," +
         stopBitsText;
}

}  // namespace portprobe

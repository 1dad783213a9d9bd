#include "serial/open_result_text.h"

#include "resources/strings.h"

namespace portprobe {

namespace {

using enum SerialLink::OpenResult;
using namespace resources;

struct OpenResultRow {
  SerialLink::OpenResult result;
  OpenResultText text;
};

constexpr OpenResultRow kOpenResultRows[] = {
    {Opened, {"", ""}},
    {OpenFailed, {kOpenFailedText, kOpenFailedCliText}},
    {Missing, {kOpenFailedText, kMissingCliText}},
    {Held, {kOpenFailedText, kHeldCliText}},
    {StaleLock, {kStaleLockText, kStaleLockCliText}},
    {Denied, {kOpenDeniedText, kDeniedCliText}},
    {NotAPort, {kNotAPortText, kNoSerialPortCliText}},
    {SettingsRefused, {kSettingsFailedText, kSettingsRefusedCliText}},
    {EventFailed, {kEventFailedText, kNoResourcesCliText}},
    {ThreadFailed, {kThreadFailedText, kNoResourcesCliText}},
};

}  // namespace

OpenResultText TextOf(SerialLink::OpenResult result) {
  for (const OpenResultRow& row : kOpenResultRows) {
    if (row.result == result) return row.text;
  }
  return {"", ""};
}

}  // namespace portprobe

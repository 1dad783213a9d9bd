#include "serial/open_result_text.h"

#include <iterator>

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
    {BadAddress, {kBadAddressText, kBadAddressCliText}},
    {NoSuchHost, {kNoSuchHostText, kNoSuchHostCliText}},
    {Refused, {kConnectRefusedText, kConnectRefusedCliText}},
    {TimedOut, {kConnectTimedOutText, kConnectTimedOutCliText}},
};

}  // namespace

OpenResultText TextOf(SerialLink::OpenResult result) {
  for (const OpenResultRow& row : kOpenResultRows) {
    if (row.result == result) return row.text;
  }
  return {"", ""};
}

OpenResultText TextOf(RemoteNotice notice) {
  static_assert(std::size(kRemoteNoticeTexts) == kRemoteNoticeCount);
  static_assert(std::size(kRemoteNoticeCliTexts) == kRemoteNoticeCount);
  const auto index = static_cast<std::size_t>(notice);
  if (index >= kRemoteNoticeCount) return {"", ""};
  return {kRemoteNoticeTexts[index], kRemoteNoticeCliTexts[index]};
}

}  // namespace portprobe

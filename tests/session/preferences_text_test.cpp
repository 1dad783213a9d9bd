#include "session/preferences_text.h"

#include <gtest/gtest.h>

#include <map>

namespace portprobe {
namespace {

using Stored = std::map<std::string, std::string>;

Preferences FromStored(const Stored& stored) {
  return PreferencesFromText([&](const std::string& key) -> std::optional<std::string> {
    const auto found = stored.find(key);
    if (found == stored.end()) return std::nullopt;
    return found->second;
  });
}

Stored ToStored(const Preferences& preferences) {
  Stored stored;
  for (const auto& [key, value] : PreferencesToText(preferences)) stored[key] = value;
  return stored;
}

TEST(PreferencesText, EveryFieldComesBackAsItWasWritten) {
  Preferences changed;
  changed.timestamps = true;
  changed.echoSent = true;
  changed.encoding = TextEncoding::Gb18030;
  changed.lineEnd = SendLineEnd::CrLf;
  changed.frameGapMilliseconds = 10000;
  changed.fontPointSize = 14;
  changed.autoReconnect = false;
  changed.rts = false;
  changed.dtr = false;
  changed.flowControl = FlowControl::XonXoff;
  // Each field has a key of its own: a missing one would leave its change behind.
  EXPECT_EQ(PreferencesToText(changed).size(), ToStored(changed).size());
  EXPECT_EQ(FromStored(ToStored(changed)), changed);
  EXPECT_EQ(FromStored(ToStored(Preferences{})), Preferences{});

  const Stored stored = ToStored(changed);
  EXPECT_EQ(stored.at("preferences/encoding"), "GB18030");
  EXPECT_EQ(stored.at("preferences/lineEnd"), "CRLF");
  EXPECT_EQ(stored.at("preferences/flowControl"), "XON/XOFF");
  EXPECT_EQ(stored.at("preferences/timestamps"), "true");
  EXPECT_EQ(stored.at("preferences/frameGapMilliseconds"), "10000");
}

TEST(PreferencesText, AValueOutOfItsRangeOrUnknownKeepsThatKeysDefault) {
  Stored stored = ToStored(Preferences{});
  stored["preferences/frameGapMilliseconds"] = "0";
  stored["preferences/encoding"] = "gbk";
  stored["preferences/lineEnd"] = "crlf";  // values are matched exactly
  stored["preferences/timestamps"] = "1";
  stored["preferences/fontPointSize"] = "-3";
  stored["preferences/flowControl"] = "";
  stored["preferences/echoSent"] = "true";  // a good value beside the bad ones is taken
  Preferences expected;
  expected.echoSent = true;
  EXPECT_EQ(FromStored(stored), expected);

  for (const char* bad : {"10001", "12ms", " 50", "99999999999", "-1", "0x10"}) {
    stored["preferences/frameGapMilliseconds"] = bad;
    EXPECT_EQ(FromStored(stored).frameGapMilliseconds, 100) << bad;
  }
  stored["preferences/frameGapMilliseconds"] = "1";
  EXPECT_EQ(FromStored(stored).frameGapMilliseconds, 1);

  EXPECT_EQ(FromStored({}), Preferences{});
}

}  // namespace
}  // namespace portprobe

#include "common/fill_text.h"

#include <gtest/gtest.h>

namespace portprobe {
namespace {

// Placeholders in any order; one without an argument, a lone % and other digits stay.
TEST(FillText, ReplacesEachPlaceholderByItsArgument) {
  EXPECT_EQ(FillText("延时须为 0 到 %1 之间的毫秒数：\"%2\"", {"60000", "x"}), "延时须为 0 到 60000 之间的毫秒数：\"x\"");
  EXPECT_EQ(FillText("%2-%1", {"a", "b"}), "b-a");
  EXPECT_EQ(FillText("%1 %3 %0 100%", {"%2"}), "%2 %3 %0 100%");
  EXPECT_EQ(FillText("", {}), "");
}

}  // namespace
}  // namespace portprobe

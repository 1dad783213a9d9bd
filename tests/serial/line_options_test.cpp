#include "serial/line_options.h"

#include <gtest/gtest.h>

namespace portprobe {
namespace {

TEST(LineOptions, ValuesBecomeRowTextsAndTheRowsOfTheSettings) {
  LineOptions options;
  EXPECT_TRUE(SetLineOption(options, "--baud", "250000"));
  EXPECT_TRUE(SetLineOption(options, "--parity", "mark"));
  EXPECT_TRUE(SetLineOption(options, "--data-bits", "5"));
  EXPECT_TRUE(SetLineOption(options, "--stop-bits", "1.5"));
  EXPECT_EQ(options.parityText, "标志Mark");

  const LineSettings settings = ApplyLineOptions(options, LineSettings{});
  EXPECT_EQ(settings.baudRate, 250000u);
  EXPECT_EQ(kParityRows[settings.parityRow], std::string("标志Mark"));
  EXPECT_EQ(kDataBitsRows[settings.dataBitsRow], std::string("5"));
  EXPECT_EQ(kStopBitsRows[settings.stopBitsRow], std::string("1.5"));

  // What no option gives stays as it was; a leading zero is read as the rate.
  LineOptions rateOnly;
  ASSERT_TRUE(SetLineOption(rateOnly, "--baud", "019200"));
  EXPECT_EQ(rateOnly.baudText, "19200");
  LineSettings odd;
  odd.parityRow = 1;
  odd.flowControl = FlowControl::RtsCts;
  const LineSettings kept = ApplyLineOptions(rateOnly, odd);
  EXPECT_EQ(kept.baudRate, 19200u);
  EXPECT_EQ(kept.parityRow, 1);
  EXPECT_EQ(kept.dataBitsRow, 0);
  EXPECT_EQ(kept.flowControl, FlowControl::RtsCts);
}

TEST(LineOptions, ABadValueOrAnotherOptionChangesNothing) {
  LineOptions options;
  for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{{"--baud", "0"},
                                                                                    {"--baud", "-9600"},
                                                                                    {"--baud", "4294967296"},
                                                                                    {"--baud", ""},
                                                                                    {"--parity", "Odd"},
                                                                                    {"--data-bits", "4"},
                                                                                    {"--stop-bits", "1,5"},
                                                                                    {"--text", "1"},
                                                                                    {"--port", "/dev/ttyS0"}}) {
    EXPECT_FALSE(SetLineOption(options, name, value)) << name << " " << value;
  }
  EXPECT_FALSE(options.baudText || options.parityText || options.dataBitsText || options.stopBitsText);
  EXPECT_TRUE(IsLineOption("--stop-bits"));
  EXPECT_FALSE(IsLineOption("--port"));
  EXPECT_FALSE(IsLineOption("--baud=9600"));
}

}  // namespace
}  // namespace portprobe

#include "session/line_choice.h"

#include <gtest/gtest.h>

namespace portprobe {
namespace {

using List = LineChoice::List;

// A typed rate joins the baud rows; refused, the rate in force comes back and the typed
// row goes, while a rate typed and kept earlier stays.
TEST(LineChoice, TypedRatesJoinTheBaudRowsUntilTheDriverRefusesThem) {
  LineChoice choice;
  EXPECT_EQ(choice.RowText(List::Baud), "9600");
  EXPECT_EQ(choice.RowText(List::Parity), kParityRows[0]);
  const std::size_t rows = choice.Rows(List::Baud).size();

  EXPECT_FALSE(choice.TypeRate("0"));
  EXPECT_FALSE(choice.TypeRate("fast"));
  EXPECT_TRUE(choice.TypeRate("115200"));
  EXPECT_EQ(choice.Rows(List::Baud).size(), rows);
  EXPECT_TRUE(choice.TypeRate(" 57601"));
  EXPECT_EQ(choice.Rows(List::Baud).size(), rows + 1);
  EXPECT_EQ(choice.Settings(FlowControl::None).baudRate, 57601u);

  EXPECT_TRUE(choice.TypeRate("12345"));
  choice.KeepRate(57601);
  EXPECT_EQ(choice.Rows(List::Baud).size(), rows + 1);
  EXPECT_EQ(choice.RowText(List::Baud), "57601");
  // Once taken, a typed rate stays, even when another port refuses it later.
  choice.RateTaken();
  EXPECT_TRUE(choice.TypeRate("57601"));
  choice.KeepRate(9600);
  EXPECT_EQ(choice.Rows(List::Baud).size(), rows + 1);
  EXPECT_EQ(choice.RowText(List::Baud), "9600");

  // A rate in force that no row has (none applied yet) leaves no row chosen: rate 0.
  EXPECT_TRUE(choice.TypeRate("250000"));
  choice.KeepRate(0);
  EXPECT_EQ(choice.Rows(List::Baud).size(), rows + 1);
  EXPECT_EQ(choice.Row(List::Baud), -1);
  EXPECT_EQ(choice.Settings(FlowControl::None).baudRate, 0u);

  EXPECT_TRUE(choice.Pick(List::StopBits, 2));
  EXPECT_FALSE(choice.Pick(List::StopBits, 3));
  EXPECT_FALSE(choice.PickText(List::DataBits, "9"));
  EXPECT_TRUE(choice.PickText(List::DataBits, "7"));
  const LineSettings settings = choice.Settings(FlowControl::RtsCts);
  EXPECT_EQ(settings.stopBitsRow, 2);
  EXPECT_EQ(settings.dataBitsRow, 1);
  EXPECT_EQ(settings.flowControl, FlowControl::RtsCts);
}

}  // namespace
}  // namespace portprobe

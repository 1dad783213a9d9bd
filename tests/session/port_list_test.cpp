#include "session/port_list.h"

#include <gtest/gtest.h>

namespace portprobe {
namespace {

SerialPort Listed(const std::string& name, const std::string& description = "") {
  return {name, "/dev/" + name, "", description, true};
}

std::vector<std::string> Texts(const PortList& list, std::size_t count) {
  std::vector<std::string> texts;
  for (std::size_t row = 0; row < count && row < list.Rows().size(); ++row) texts.push_back(list.Rows()[row].text);
  return texts;
}

// Listed ports stand in name order after the given ones; the chosen row keeps its port
// while rows come and go before it, and one whose device went away stays until another
// row is chosen.
TEST(PortList, KeepsTheChosenPortWhileListedRowsComeAndGo) {
  PortList list({"/dev/pts/3"});
  ASSERT_EQ(list.Rows().size(), 2u + PortList::kComPortCount);
  EXPECT_EQ(Texts(list, 3), (std::vector<std::string>{"/dev/pts/3", "---------", "COM1"}));
  list.Choose(2);
  list.Add(Listed("ttyUSB1"));
  list.Add(Listed("ttyACM0", "Pico"));
  EXPECT_EQ(Texts(list, 4), (std::vector<std::string>{"/dev/pts/3", "ttyACM0 — Pico", "ttyUSB1", "---------"}));
  EXPECT_EQ(list.NameOf(list.Chosen()), "COM1");
  EXPECT_EQ(list.RowNamed("ttyACM0"), 1);
  EXPECT_EQ(list.RowNamed("COM2"), 5);
  EXPECT_EQ(list.RowNamed("ttyS9"), -1);

  // A port listed again is renewed in place.
  list.Add(Listed("ttyACM0", "Pico W"));
  EXPECT_EQ(list.Rows()[1].text, "ttyACM0 — Pico W");
  EXPECT_EQ(list.Rows()[1].toolTip, "/dev/ttyACM0");

  list.Choose(list.RowOfPort("ttyUSB1"));
  list.Remove(Listed("ttyUSB1"));
  list.Remove(Listed("ttyACM0"));
  EXPECT_TRUE(list.ChosenGone());
  EXPECT_EQ(list.NameOf(list.Chosen()), "ttyUSB1");
  EXPECT_EQ(Texts(list, 3), (std::vector<std::string>{"/dev/pts/3", "ttyUSB1", "---------"}));
  list.Choose(0);
  list.DropGone();
  EXPECT_EQ(Texts(list, 2), (std::vector<std::string>{"/dev/pts/3", "---------"}));
  EXPECT_FALSE(list.ChosenGone());

  // A typed path joins at the top, once.
  EXPECT_EQ(list.RowOfPath("/dev/serial/by-id/usb-x"), 0);
  EXPECT_EQ(list.NameOf(list.Chosen()), "/dev/pts/3");
  EXPECT_EQ(list.RowOfPath("/dev/serial/by-id/usb-x"), 0);
  list.Choose(500);
  EXPECT_EQ(list.Chosen(), -1);
  EXPECT_EQ(list.NameOf(list.Chosen()), "");
}

// What the window may open unasked: a USB adapter that is no console; the first row
// that the box shows otherwise is a port, never the separator.
TEST(PortList, TheFirstAdapterThatIsNoConsoleIsTheOneToOpenUnasked) {
  PortList list;
  EXPECT_EQ(list.FirstAdapter({}), -1);
  EXPECT_EQ(list.NameOf(list.FirstPort()), "COM1");
  list.Add(Listed("ttyS0"));
  list.Add(Listed("ttyUSB0"));
  list.Add(Listed("ttyACM1"));
  EXPECT_EQ(list.NameOf(list.FirstPort()), "ttyACM1");
  EXPECT_EQ(list.NameOf(list.FirstAdapter({})), "ttyACM1");
  EXPECT_EQ(list.NameOf(list.FirstAdapter({"tty0", "ttyACM1"})), "ttyUSB0");
  EXPECT_EQ(list.FirstAdapter({"ttyACM1", "ttyUSB0"}), -1);
}

}  // namespace
}  // namespace portprobe

#include "session/command_history.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace portprobe {
namespace {

using testing::TempDir;
using Entries = std::vector<std::string>;
using AddResult = CommandHistory::AddResult;

TEST(CommandHistory, KeepsEachEntryOnceAndWithinTheLimit) {
  CommandHistory history;
  EXPECT_EQ(history.Add(""), AddResult::Empty);
  EXPECT_EQ(history.Add("AA"), AddResult::Added);
  EXPECT_EQ(history.Add("<label>BB"), AddResult::Added);
  EXPECT_EQ(history.Add("AA"), AddResult::Duplicate);
  EXPECT_EQ(history.Add(std::string(1023, 'x')), AddResult::Added);
  EXPECT_EQ(history.Add(std::string(1024, 'y')), AddResult::TooLong);
  EXPECT_EQ(history.Entries(), (Entries{"AA", "<label>BB", std::string(1023, 'x')}));
  // The label is shown but not used.
  EXPECT_EQ(history.EntryText(1), "BB");
  history.Clear();
  EXPECT_EQ(history.Size(), 0u);
  EXPECT_EQ(history.Add("AA"), AddResult::Added);
}

TEST(CommandHistory, ExportsAndImportsEntriesByteForByte) {
  TempDir dir;
  CommandHistory history;
  // An empty history leaves the chosen file alone.
  EXPECT_TRUE(history.Export(dir.File("none.txt")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("none.txt")));
  history.Add("\xB2\xE2\xCA\xD4");
  history.Add("0b 03");
  ASSERT_TRUE(history.Export(dir.File("history.txt")));
  EXPECT_EQ(testing::ReadFile(dir.File("history.txt")), "\xB2\xE2\xCA\xD4\r\n0b 03\r\n");
  EXPECT_FALSE(history.Export(dir.File("missing/history.txt")));

  CommandHistory imported;
  imported.Add("old");
  EXPECT_EQ(imported.Import(dir.File("history.txt")), std::size_t{0});
  EXPECT_EQ(imported.Entries(), history.Entries());
  // A file that is not read leaves the entries as they were.
  const Expected<std::size_t> absent = imported.Import(dir.File("absent.txt"));
  EXPECT_FALSE(absent);
  EXPECT_FALSE(absent.Reason().empty());
  EXPECT_EQ(imported.Entries(), history.Entries());
}

TEST(CommandHistory, ImportReportsEntriesBeyondTheLimit) {
  TempDir dir;
  std::string file;
  for (int i = 0; i < 10002; ++i) file += std::to_string(i) + "\r\n";
  CommandHistory history;
  EXPECT_EQ(history.Import(dir.WriteFile("big.txt", file)), std::size_t{2});
  ASSERT_EQ(history.Size(), 10000u);
  EXPECT_EQ(history.Entries().back(), "9999");
}

}  // namespace
}  // namespace portprobe

#include "files/parser_slots.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/regular_file.h"
#include "common/utf8_path.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using testing::TempDir;

TEST(ParserSlots, LoadsReloadsTheSamePathInAnyCaseAndFillsUp) {
  TempDir dir;
  ParserSlots slots;
  const std::string first = dir.WriteFile("First.txt", "void main()\r\n{\r\n}\r\n");
  EXPECT_EQ(slots.LoadChosenScript(first), ParserSlots::LoadOutcome::Loaded);
  EXPECT_EQ(slots.ParserCount(), 1);
  EXPECT_EQ(slots.Slot(0).name, first);
  EXPECT_EQ(slots.Slot(0).text, "void main()\r\n{\r\n}\r\n");

  // The file changed on disk: loading it again, under another case, refreshes slot 0.
  testing::WriteFile(first, "echo 'x'");
  const std::string upper = dir.File("FIRST.txt");
  // Where the file system tells case apart, a link stands in for the other spelling.
  if (!std::filesystem::exists(upper)) std::filesystem::create_symlink(first, upper);
  EXPECT_EQ(slots.LoadChosenScript(upper), ParserSlots::LoadOutcome::Reloaded);
  EXPECT_EQ(slots.ParserCount(), 1);
  EXPECT_EQ(slots.Slot(0).text, "echo 'x'");

  EXPECT_EQ(slots.LoadChosenScript(dir.File("missing.txt")), ParserSlots::LoadOutcome::Failed);
  EXPECT_EQ(slots.ParserCount(), 1);
  for (int i = 1; i < ParserSlots::kCapacity; ++i) {
    EXPECT_EQ(slots.LoadChosenScript(dir.WriteFile(std::to_string(i) + ".txt", "x")), ParserSlots::LoadOutcome::Loaded);
  }
  EXPECT_TRUE(slots.Full());

  // A reload of a file that has gone leaves its slot counted and empty.
  std::filesystem::remove(first);
  EXPECT_EQ(slots.LoadChosenScript(first), ParserSlots::LoadOutcome::ReloadFailed);
  EXPECT_EQ(slots.ParserCount(), ParserSlots::kCapacity);
  EXPECT_FALSE(slots.Slot(0).loaded);
  EXPECT_TRUE(slots.Slot(0).name.empty());
}

TEST(ParserSlots, LoadsAScriptAndAListOfAnyName) {
  TempDir dir;
  // Names in Chinese, as a user may give them, are read as they are written.
  const std::string script = dir.Path().string() + "/解析 脚本.txt";
  testing::WriteFile(PathFromUtf8(script), "x");
  const std::string list = dir.Path().string() + "/列表.txt";
  ASSERT_TRUE(ParserSlots::AppendToList(list, script));
  ParserSlots slots;
  EXPECT_TRUE(slots.RestoreFromList(list));
  ASSERT_EQ(slots.ParserCount(), 1);
  EXPECT_EQ(slots.Slot(0).text, "x");
}

TEST(ParserSlots, RestoresFromTheListFileSkippingWhatNoLongerLoads) {
  TempDir dir;
  const std::string list = dir.File("parsers.txt");
  const std::string a = dir.WriteFile("a.txt", "A"), b = dir.WriteFile("b.txt", "B"), c = dir.WriteFile("c.txt", "C");
  for (const std::string& path : {a, dir.File("gone.txt"), b, c}) ASSERT_TRUE(ParserSlots::AppendToList(list, path));
  EXPECT_EQ(testing::ReadFile(list), a + "\r\n" + dir.File("gone.txt") + "\r\n" + b + "\r\n" + c + "\r\n");

  ParserSlots slots;
  slots.RestoreFromList(list);
  ASSERT_EQ(slots.ParserCount(), 3);
  EXPECT_EQ(slots.Slot(0).text, "A");
  EXPECT_EQ(slots.Slot(1).text, "B");
  EXPECT_EQ(slots.Slot(2).name, c);
  // Once something is loaded the list is not read again.
  slots.RestoreFromList(list);
  EXPECT_EQ(slots.ParserCount(), 3);

  // A longer list stops at the capacity.
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(ParserSlots::AppendToList(list, a));
  ParserSlots many;
  many.RestoreFromList(list);
  EXPECT_EQ(many.ParserCount(), ParserSlots::kCapacity);

  // A list and a script saved by an editor that marks UTF-8.
  const std::string marked = dir.WriteFile("marked.txt", "\xEF\xBB\xBF" "A");
  ParserSlots fromEditor;
  fromEditor.RestoreFromList(dir.WriteFile("edited.txt", "\xEF\xBB\xBF" + marked + "\r\n"));
  ASSERT_EQ(fromEditor.ParserCount(), 1);
  EXPECT_EQ(fromEditor.Slot(0).text, "A");

  ParserSlots none;
  EXPECT_TRUE(none.RestoreFromList(dir.File("no-list.txt")));
  EXPECT_EQ(none.RestoreFromList(dir.Path().string()).Reason(), kNotRegularFileReason);
  // A list that never ends, or one over 1 MiB, is not read at all.
  std::filesystem::resize_file(list, ParserSlots::kMaxParserListBytes + 1);
  EXPECT_EQ(none.RestoreFromList(list).Reason(), TooLargeReason(ParserSlots::kMaxParserListBytes));
  EXPECT_EQ(none.ParserCount(), 0);
  // A script that is no regular file does not load, and loading it does not wait.
  EXPECT_EQ(none.LoadChosenScript(testing::kDevicePath), ParserSlots::LoadOutcome::Failed);
  EXPECT_FALSE(ParserSlots::AppendToList(dir.File("no/folder/parsers.txt"), a));
}

TEST(ParserSlots, TakesOverAnOldListOnlyWhileThereIsNoNewOne) {
  TempDir dir;
  const std::string oldList = dir.WriteFile("old.txt", "a\r\n");
  const std::string list = dir.File("new.txt");
  ParserSlots::TakeOverList(dir.File("missing.txt"), list);
  EXPECT_FALSE(std::filesystem::exists(list));
  ParserSlots::TakeOverList(dir.Path().string(), list);  // a folder is no list
  EXPECT_FALSE(std::filesystem::exists(list));

  ParserSlots::TakeOverList(oldList, list);
  EXPECT_EQ(testing::ReadFile(list), "a\r\n");
  testing::WriteFile(oldList, "b\r\n");
  ParserSlots::TakeOverList(oldList, list);
  EXPECT_EQ(testing::ReadFile(list), "a\r\n");
}

}  // namespace
}  // namespace portprobe

#include "files/history_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/c_file.h"
#include "common/regular_file.h"
#include "files/text_line_reader.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using testing::TempDir;
using Entries = std::vector<std::string>;

std::optional<Entries> Read(const std::string& path) {
  const Expected<HistoryFileContent> content = ReadHistoryFile(path);
  if (!content) return std::nullopt;
  EXPECT_EQ(content->dropped, 0u);
  return content->entries;
}

Entries Import(const std::string& bytes) {
  TempDir dir;
  return Read(dir.WriteFile("history.txt", bytes)).value();
}

TEST(ReadHistoryFile, ReadsLinesTheWayTheTerminalAlwaysHas) {
  EXPECT_EQ(Import("AA\r\nBB\r\n"), (Entries{"AA", "BB"}));
  EXPECT_EQ(Import("AA\nBB"), (Entries{"AA", "BB"}));
  // A blank line joins the next line, which then starts with an LF.
  EXPECT_EQ(Import("AA\r\n\r\nBB\r\n"), (Entries{"AA", "\nBB"}));
  // CRs vanish wherever they stand.
  EXPECT_EQ(Import("A\rA\r\n"), (Entries{"AA"}));
  // A line longer than an entry is split.
  const Entries split = Import(std::string(1500, 'x') + "\r\n");
  ASSERT_EQ(split.size(), 2u);
  EXPECT_EQ(split[0].size(), 1023u);
  EXPECT_EQ(split[1].size(), 477u);
  // A line of exactly an entry's length keeps its line end: the next entry is intact.
  EXPECT_EQ(Import(std::string(1023, 'x') + "\r\nBB\r\n"), (Entries{std::string(1023, 'x'), "BB"}));
  EXPECT_EQ(Import(std::string(1023, 'x') + "\nBB"), (Entries{std::string(1023, 'x'), "BB"}));
  EXPECT_EQ(Import(std::string(1023, 'x') + "\r\n"), (Entries{std::string(1023, 'x')}));
  // A line starting with FF ends the list; other bytes pass unchanged.
  EXPECT_EQ(Import("\xB2\xE2\xCA\xD4\r\n\xFF\xFE\r\nCC\r\n"), (Entries{"\xB2\xE2\xCA\xD4"}));
  EXPECT_TRUE(Import("").empty());
  // A byte-order mark that an editor put first is no part of the first entry.
  EXPECT_EQ(Import("\xEF\xBB\xBF" "AA\r\nBB\r\n"), (Entries{"AA", "BB"}));
  EXPECT_EQ(Import("\xEF\xBB"), (Entries{"\xEF\xBB"}));
  TempDir dir;
  EXPECT_FALSE(Read(dir.File("missing.txt")).has_value());
  EXPECT_FALSE(Read(dir.Path().string()).has_value());  // a folder opens but cannot be read
}

TEST(ReadHistoryFile, KeepsTheFirstTenThousandEntriesOfAFileUpTo16MiB) {
  TempDir dir;
  std::string lines;
  for (int i = 0; i < 10003; ++i) lines += std::to_string(i) + "\r\n";
  const Expected<HistoryFileContent> content = ReadHistoryFile(dir.WriteFile("many.txt", lines));
  ASSERT_TRUE(content.has_value());
  ASSERT_EQ(content->entries.size(), kMaxHistoryEntries);
  EXPECT_EQ(content->entries.back(), "9999");
  EXPECT_EQ(content->dropped, 3u);

  const std::string large = dir.WriteFile("large.txt", "AA\r\n");
  std::filesystem::resize_file(large, kMaxHistoryFileBytes + 1);
  EXPECT_EQ(ReadHistoryFile(large).Reason(), TooLargeReason(kMaxHistoryFileBytes));
  EXPECT_EQ(ReadHistoryFile(testing::kDevicePath).Reason(), kNotRegularFileReason);
}

TEST(WriteHistoryFile, WritesEveryEntryWithCrLfAndReadsBackTheSame) {
  TempDir dir;
  const Entries entries = {"<reset>01 02", "AT", "at", "\xB2\xE2"};
  ASSERT_TRUE(WriteHistoryFile(dir.File("out.txt"), entries));
  EXPECT_EQ(testing::ReadFile(dir.File("out.txt")), "<reset>01 02\r\nAT\r\nat\r\n\xB2\xE2\r\n");
  EXPECT_EQ(Read(dir.File("out.txt")).value(), entries);
  // A first entry that begins as a byte-order mark keeps it.
  const Entries marked = {"\xEF\xBB\xBF" "AT", "\xEF\xBB\xBF"};
  ASSERT_TRUE(WriteHistoryFile(dir.File("marked.txt"), marked));
  EXPECT_EQ(Read(dir.File("marked.txt")).value(), marked);
  // An entry holding a line break comes back as two entries.
  ASSERT_TRUE(WriteHistoryFile(dir.File("two.txt"), {"01\r\n02"}));
  EXPECT_EQ(Read(dir.File("two.txt")).value(), (Entries{"01", "02"}));
  EXPECT_FALSE(WriteHistoryFile(dir.File("no/such/folder.txt"), entries));
}

TEST(HistoryEntryText, DropsALabelUpToTheFirstClosingBracket) {
  EXPECT_EQ(HistoryEntryText("<reset>01 02"), "01 02");
  EXPECT_EQ(HistoryEntryText("<a>b>c"), "b>c");
  EXPECT_EQ(HistoryEntryText("<reset"), "<reset");
  EXPECT_EQ(HistoryEntryText("x<a>b"), "x<a>b");
  EXPECT_EQ(HistoryEntryText("<>"), "");
}

TEST(TextLineReader, ReturnsEmptyLinesOnceTheFileHasEnded) {
  TempDir dir;
  CFile file = OpenCFile(dir.WriteFile("list.txt", "/a/b\r\n/c"), "rb");
  TextLineReader reader(file.get());
  EXPECT_EQ(reader.ReadTextLine(512), "/a/b");
  EXPECT_EQ(reader.ReadTextLine(512), "/c");
  EXPECT_EQ(reader.ReadTextLine(512), "");
  EXPECT_EQ(reader.ReadTextLine(512), "");

  // With a byte budget the reader ends there, however long the file has become.
  CFile longer = OpenCFile(dir.WriteFile("longer.txt", "/a/b\r\n/c/d\r\n"), "rb");
  TextLineReader budgeted(longer.get(), 8);
  EXPECT_EQ(budgeted.ReadTextLine(512), "/a/b");
  EXPECT_EQ(budgeted.ReadTextLine(512), "/c");
  EXPECT_EQ(budgeted.ReadTextLine(512), "");
}

}  // namespace
}  // namespace portprobe

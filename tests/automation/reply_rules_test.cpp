// Reply rules: how they are written, which block they answer, and their files.
#include "automation/reply_rules.h"
#include "automation/reply_rule_rows.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace portprobe {
namespace {

ReplyRule Rule(const std::string& line) {
  Expected<ReplyRule> rule = ParseReplyRule(line);
  EXPECT_TRUE(rule) << line << ": " << rule.Reason();
  return rule ? *rule : ReplyRule{};
}

TEST(ReplyRules, PatternMatchesTheBlockFromItsStart) {
  const ReplyRule rule = Rule("  01 03 ?? ?? 00 ??  ->  01 03 02 00 2A +crc16-modbus ");
  EXPECT_EQ(rule.pattern, (std::vector<std::int16_t>{0x01, 0x03, -1, -1, 0x00, -1}));
  EXPECT_EQ(rule.reply, (ByteFrame{0x01, 0x03, 0x02, 0x00, 0x2A, 0x39, 0x9B}));
  EXPECT_EQ(rule.text, "01 03 ?? ?? 00 ??  ->  01 03 02 00 2A +crc16-modbus");

  EXPECT_TRUE(rule.Matches(ByteFrame{0x01, 0x03, 0xAA, 0xBB, 0x00, 0xCC}));
  // Only the start is compared: a request with its CRC still matches.
  EXPECT_TRUE(rule.Matches(ByteFrame{0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A}));
  EXPECT_FALSE(rule.Matches(ByteFrame{0x01, 0x03, 0xAA, 0xBB, 0x01, 0xCC}));
  EXPECT_FALSE(rule.Matches(ByteFrame{0x02, 0x03, 0xAA, 0xBB, 0x00, 0xCC}));
  // A block shorter than the pattern is no match, even where ?? would stand.
  EXPECT_FALSE(rule.Matches(ByteFrame{0x01, 0x03, 0xAA, 0xBB, 0x00}));
  EXPECT_FALSE(rule.Matches(ByteFrame{}));

  EXPECT_EQ(Rule("?? -> \"OK\\r\\n\"").reply, (ByteFrame{'O', 'K', '\r', '\n'}));
  // A lone CR between the words of a pattern (a file edited on another system) is a blank.
  EXPECT_EQ(Rule("01 ?? \r-> 02").pattern, (std::vector<std::int16_t>{0x01, -1}));

  // A checksum after the pattern: the block must end in it, after the pattern's bytes.
  const ReplyRule checked = Rule("01 ?? +sum8 -> 02");
  EXPECT_TRUE(checked.Matches(ByteFrame{0x01, 0x05, 0x06}));
  EXPECT_TRUE(checked.Matches(ByteFrame{0x01, 0x05, 0x07, 0x0D}));
  EXPECT_FALSE(checked.Matches(ByteFrame{0x01, 0x05, 0x07}));
  EXPECT_FALSE(checked.Matches(ByteFrame{0x01, 0x01}));  // its checksum, but no room for the pattern
  EXPECT_FALSE(ParseReplyRule("01 +crc99 -> 02"));
  EXPECT_FALSE(ParseReplyRule("+sum8 -> 02"));
}

TEST(ReplyRules, TheFirstMatchingRuleAnswersAndCountsItsHit) {
  AutoReplies replies;
  replies.SetRules({Rule("01 03 -> 11"), Rule("01 ?? -> 22"), Rule("02 -> 33")});
  const ReplyRule* answer = replies.Answer(ByteFrame{0x01, 0x03, 0x00});
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer->reply, ByteFrame{0x11});
  ASSERT_NE(answer = replies.Answer(ByteFrame{0x01, 0x04}), nullptr);
  EXPECT_EQ(answer->reply, ByteFrame{0x22});
  EXPECT_EQ(replies.Answer(ByteFrame{0x03}), nullptr);
  replies.Answer(ByteFrame{0x01, 0x03});
  EXPECT_EQ(replies.Hits(0), 2);
  EXPECT_EQ(replies.Hits(1), 1);
  EXPECT_EQ(replies.Hits(2), 0);

  // Switched off, nothing is answered and nothing counted.
  replies.SetEnabled(false);
  EXPECT_EQ(replies.Answer(ByteFrame{0x02}), nullptr);
  EXPECT_EQ(replies.Hits(2), 0);
  replies.SetEnabled(true);
  EXPECT_NE(replies.Answer(ByteFrame{0x02}), nullptr);
  EXPECT_EQ(replies.Hits(2), 1);

  replies.ResetHits();
  EXPECT_EQ(replies.Hits(0) + replies.Hits(1) + replies.Hits(2), 0);
  // New rules count afresh.
  replies.SetRules({Rule("02 -> 33")});
  EXPECT_EQ(replies.Hits(0), 0);
}

TEST(ReplyRules, FileKeepsGoodLinesAndReportsBadOnesByNumber) {
  const RuleFile file = ParseReplyRules(
      "# answers for device 1\r\n"
      "\n"
      "01 03 ?? ?? -> 01 03 02 00 2A +crc16-modbus  # read\r\n"
      "01 03 -> 01 02\n"
      "?? -> \"a # b\" # the first # is the reply's\n"
      "01 0G -> 01\n"
      "   # indented comment\n"
      "01 02 03 04\n"
      "01 -> 02 +nosuch\n"
      "-> 01\n"
      "01 -> \"open\n"
      "01 -> \"\"");
  ASSERT_EQ(file.rules.size(), 3u);
  EXPECT_EQ(file.rules[0].lineNumber, 3);
  EXPECT_EQ(file.rules[0].text, "01 03 ?? ?? -> 01 03 02 00 2A +crc16-modbus");
  EXPECT_EQ(file.rules[1].lineNumber, 4);
  EXPECT_EQ(file.rules[2].lineNumber, 5);
  EXPECT_EQ(file.rules[2].reply, (ByteFrame{'a', ' ', '#', ' ', 'b'}));

  const struct {
    int line;
    const char* reason;
  } expected[] = {
      {6, "匹配：不是十六进制字节：\"0G\""},
      {8, "缺少\"->\""},
      {9, "应答：未知的校验：\"nosuch\""},
      {10, "匹配为空"},
      {11, "缺少结尾的引号"},
      {12, "应答：没有帧"},
  };
  ASSERT_EQ(file.errors.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(file.errors[i].lineNumber, expected[i].line);
    EXPECT_NE(file.errors[i].reason.find(expected[i].reason), std::string::npos) << file.errors[i].reason;
  }
}

TEST(ReplyRules, AByteOrderMarkBeforeTheFirstLineOfAFileIsNoPartOfIt) {
  const testing::TempDir dir;
  for (const char* first : {"# saved by an editor that marks UTF-8\n", "01 -> 02\n"}) {
    const Expected<RuleFile> file =
        LoadReplyRules(dir.WriteFile("marked.txt", std::string("\xEF\xBB\xBF") + first + "03 -> 04\n"));
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->errors.empty()) << first;
    EXPECT_EQ(file->rules.back().lineNumber, 2) << first;
  }
  // Elsewhere it is a mistake like any other.
  const std::string markInside = std::string("01 -> 02\n") + "\xEF\xBB\xBF" + "03 -> 04\n";
  EXPECT_EQ(ParseReplyRules(markInside).errors.size(), 1u);
}

TEST(ReplyRules, LoadReadsAFileAndFailsOnOneThatCannotBeRead) {
  const testing::TempDir dir;
  const Expected<RuleFile> file = LoadReplyRules(dir.WriteFile("rules.txt", "01 -> 02\nbad\n"));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->rules.size(), 1u);
  ASSERT_EQ(file->errors.size(), 1u);
  EXPECT_EQ(file->errors[0].lineNumber, 2);
  EXPECT_FALSE(LoadReplyRules(dir.File("missing.txt")));
  EXPECT_FALSE(LoadReplyRules(dir.Path().string()));
}

TEST(ReplyRuleRows, RowsKeepWhatWasTypedAndOnlySoundRowsAreInForce) {
  const std::vector<ReplyRuleRow> rows = {
      {"01 03 ?? ??", "01 03 02 00 2A +crc16-modbus"}, {"", ""}, {"01 3", "02"}, {"02", "\"a -> b\""}, {"05", ""}};
  const std::string text = RowsText(rows);
  EXPECT_EQ(text, "01 03 ?? ?? -> 01 03 02 00 2A +crc16-modbus\n01 3 -> 02\n02 -> \"a -> b\"\n05 -> \n");
  const std::vector<ReplyRuleRow> back = RowsOfText(text);
  ASSERT_EQ(back.size(), 4u);
  EXPECT_EQ(back[2].pattern, "02");
  EXPECT_EQ(back[2].reply, "\"a -> b\"");
  EXPECT_EQ(back[3].pattern, "05");
  EXPECT_EQ(back[3].reply, "");
  EXPECT_EQ(RowOfRuleText(" 01 02 ").pattern, "01 02");

  const CheckedRows checked = CheckRows(rows);
  ASSERT_EQ(checked.rules.size(), 2u);
  EXPECT_EQ(checked.rules[0].lineNumber, 1);
  EXPECT_EQ(checked.rules[1].lineNumber, 4);
  EXPECT_EQ(checked.rules[1].reply, (ByteFrame{'a', ' ', '-', '>', ' ', 'b'}));
  ASSERT_EQ(checked.reasons.size(), rows.size());
  EXPECT_EQ(checked.reasons[0], "");
  EXPECT_EQ(checked.reasons[1], "");  // a blank row is no mistake
  EXPECT_NE(checked.reasons[2].find("匹配："), std::string::npos) << checked.reasons[2];
  EXPECT_EQ(checked.reasons[4], "应答：没有帧");
  // A comment sign in a cell is a mistake there, not the start of a comment.
  EXPECT_FALSE(CheckRows({{"01 # 02", "03"}}).reasons[0].empty());
}

// What the table shows in force is what a saved file gives once loaded again.
TEST(ReplyRuleRows, TheTableReadsEveryRowAsItsSavedLine) {
  const std::vector<ReplyRuleRow> rows = {
      {"01", "02 # answer"}, {"# 03", "04"}, {"05", "\"# \" # quoted"}, {"09", "0A"}};
  const CheckedRows checked = CheckRows(rows);
  const RuleFile saved = ParseReplyRules(RowsText(rows));

  ASSERT_EQ(checked.rules.size(), 3u);
  ASSERT_EQ(saved.rules.size(), checked.rules.size());
  for (std::size_t i = 0; i < saved.rules.size(); ++i) {
    EXPECT_EQ(checked.rules[i].pattern, saved.rules[i].pattern);
    EXPECT_EQ(checked.rules[i].reply, saved.rules[i].reply);
    EXPECT_EQ(checked.rules[i].text, saved.rules[i].text);
  }
  EXPECT_EQ(checked.rules[0].reply, ByteFrame{0x02});
  EXPECT_EQ(checked.rules[0].text, "01 -> 02");
  EXPECT_EQ(checked.rules[1].reply, (ByteFrame{'#', ' '}));
  EXPECT_EQ(checked.rules[2].lineNumber, 4);
  // A row that a saved file would pass over, or read as two lines, is not in force.
  EXPECT_EQ(checked.reasons[1], "以\"#\"开头，整行是注释");
  EXPECT_EQ(CheckRows({{"06", "07\n08"}}).reasons[0], "单元格中有换行，保存后会断成几行");
}

}  // namespace
}  // namespace portprobe

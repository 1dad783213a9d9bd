#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "automation/frame_panel.h"
#include "checksum/checksum_rows.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

ByteFrame Bytes(std::string_view text) { return ByteFrame(text.begin(), text.end()); }

PanelRow Row(bool ticked, std::string name, FrameKind kind, std::string body, std::optional<int> checksum, int delay) {
  return PanelRow{ticked, std::move(name), kind, std::move(body), checksum, delay};
}

TEST(PanelFile, RowsWrittenAndReadBackAreTheSameRows) {
  const std::optional<int> crc = BuiltInChecksumNamed("crc16-modbus");
  const std::vector<PanelRow> rows = {
      Row(true, "读保持寄存器", FrameKind::Hex, "01 03 00 00 00 03", crc, 300),
      Row(false, "", FrameKind::Hex, "", std::nullopt, kDefaultPanelDelay),  // a blank row keeps its place
      Row(false, "问候", FrameKind::Text, "AT\\r\\n", std::nullopt, 0),
      Row(true, "引号 \"与\" 反斜杠", FrameKind::Text, "a\\\"b\\\\c\\x01中文\\xFF", BuiltInChecksumNamed("sum8"), 5),
      Row(true, "a|b", FrameKind::Text, "# not a comment | nor a bar", std::nullopt, 10),
  };
  const std::string text = FormatPanelFile(rows);
  EXPECT_NE(text.find("[x] 读保持寄存器 | 300 | 01 03 00 00 00 03 +crc16-modbus\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[ ] 问候 | 0 | \"AT\\r\\n\"\n"), std::string::npos) << text;

  const PanelFile file = ParsePanelFile(text, PanelFrames::Checked);
  ASSERT_TRUE(file.errors.empty()) << file.errors[0].lineNumber << ": " << file.errors[0].reason;
  ASSERT_EQ(file.rows.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(file.rows[i].Frame().Reason(), rows[i].Frame().Reason()) << i;
    if (rows[i].Frame()) {
      EXPECT_EQ(*file.rows[i].Frame(), *rows[i].Frame()) << i;
    }
    EXPECT_EQ(file.rows[i].ticked, rows[i].ticked) << i;
    EXPECT_EQ(file.rows[i].delayMilliseconds, rows[i].delayMilliseconds) << i;
    EXPECT_EQ(file.rows[i].checksumRow, rows[i].checksumRow) << i;
  }
  EXPECT_EQ(file.rows[0], rows[0]);
  EXPECT_EQ(file.rows[2], rows[2]);
  EXPECT_EQ(file.rows[4].name, "a｜b");  // the bar that would end the name is full-width
  EXPECT_EQ(*file.rows[3].Frame(), Bytes("a\"b\\c\x01\xE4\xB8\xAD\xE6\x96\x87\xFF\xF0"));
  // Blank rows at the end are not written; the file and a second round are stable.
  EXPECT_EQ(FormatPanelFile(file.rows), text);
}

TEST(PanelFile, UnfinishedFramesAndLineBreaksKeepTheirRowsAndKinds) {
  const std::optional<int> sum8 = BuiltInChecksumNamed("sum8");
  const std::vector<PanelRow> rows = {
      Row(true, "未写完", FrameKind::Text, "AT\\", sum8, 10),
      Row(false, "两\n行\t名", FrameKind::Hex, "01\r\n02\t03", std::nullopt, 20),
      Row(false, "坏文本", FrameKind::Text, "a\nb\\q\"", std::nullopt, 30),  // bad: \q
      Row(false, "", FrameKind::Text, "  ", std::nullopt, 40),
      Row(false, "照写", FrameKind::Text, "x\\\\\\\"y\\xff\\r\\n", sum8, 0),  // the reduced fuzz case
      Row(false, "只有校验", FrameKind::Hex, "", sum8, 60),
      Row(true, "last", FrameKind::Hex, "AA", std::nullopt, 50),
  };
  const std::string text = FormatPanelFile(rows);
  EXPECT_NE(text.find("[x] 未写完 | 10 | \"AT\\\" +sum8\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[ ] 两 行 名 | 20 | 01  02 03\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[ ] 照写 | 0 | \"x\\\\\\\"y\\xff\\r\\n\" +sum8\n"), std::string::npos) << text;
  const PanelFile file = ParsePanelFile(text, PanelFrames::Unchecked);
  ASSERT_TRUE(file.errors.empty());
  ASSERT_EQ(file.rows.size(), rows.size());
  EXPECT_EQ(file.rows[0], rows[0]);  // still text, its checksum kept
  EXPECT_EQ(file.rows[1].name, "两 行 名");
  EXPECT_EQ(*file.rows[1].Frame(), (ByteFrame{1, 2, 3}));
  EXPECT_EQ(file.rows[2].kind, FrameKind::Text);
  EXPECT_EQ(file.rows[2].body, "a b\\q\"");
  EXPECT_EQ(file.rows[3], rows[3]);
  EXPECT_EQ(*rows[3].Frame(), Bytes("  "));  // spaces are a text's bytes, not an empty row
  EXPECT_EQ(file.rows[4], rows[4]);          // escapes kept as the user wrote them
  EXPECT_EQ(file.rows[5], rows[5]);
  EXPECT_EQ(file.rows[6], rows[6]);
  EXPECT_EQ(FormatPanelFile(file.rows), text);
}

TEST(PanelFile, BadLinesAreReportedWithTheirNumbersAndTheGoodRowsKept) {
  const std::string text =
      "# a comment\n"
      "\n"
      "[x] one | 100 | 01 02\n"
      "x] two | 100 | 01\n"
      "[x] three | 100\n"
      "[x] four | -5 | 01\n"
      "[x] five | 100 | 01 0G\n"
      "[ ] six | 100 | \"unterminated\n"
      "[x] seven | 100 | 01 +nosuch\n"
      "[x] eight | 100 | \"\\q\"\r\n"
      "[X] nine | 7 |\n";
  const PanelFile file = ParsePanelFile(text, PanelFrames::Checked);
  ASSERT_EQ(file.rows.size(), 2u);
  EXPECT_EQ(file.rows[0].name, "one");
  EXPECT_EQ(file.rows[1].name, "nine");
  EXPECT_TRUE(file.rows[1].ticked);
  EXPECT_EQ(file.rows[1].Frame().Reason(), "没有帧");
  std::vector<int> lines;
  for (const PanelFileError& error : file.errors) {
    lines.push_back(error.lineNumber);
    EXPECT_FALSE(error.reason.empty());
  }
  EXPECT_EQ(lines, (std::vector<int>{4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(file.errors[3].reason, "不是十六进制字节：\"0G\"");
  EXPECT_EQ(file.errors[5].reason, "未知的校验：\"nosuch\"");

  // Remembered rows keep a frame the user has not finished, so nothing typed is lost.
  const PanelFile unchecked = ParsePanelFile(text, PanelFrames::Unchecked);
  ASSERT_EQ(unchecked.rows.size(), 6u);
  EXPECT_EQ(unchecked.rows[1].body, "01 0G");
  EXPECT_EQ(unchecked.rows[2].body, "\"unterminated");  // kept whole
  EXPECT_EQ(unchecked.rows[3].body, "01 +nosuch");
  EXPECT_EQ(unchecked.rows[4].body, "\\q");
  EXPECT_EQ(FormatPanelRow(unchecked.rows[4]), "[x] eight | 100 | \"\\q\"");
  for (const PanelRow& row : unchecked.rows) {
    EXPECT_EQ(ParsePanelRow(FormatPanelRow(row), PanelFrames::Unchecked), row) << FormatPanelRow(row);
  }
}

TEST(PanelFile, LoadAndSaveGoThroughTheFileAndSayWhyTheyFail) {
  testing::TempDir folder;
  const std::vector<PanelRow> rows = {Row(true, "r", FrameKind::Hex, "AA", std::nullopt, 1)};
  const std::string path = folder.File("panel.txt");
  ASSERT_TRUE(SavePanelFile(path, rows));
  const Expected<PanelFile> loaded = LoadPanelFile(path);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->rows, rows);
  EXPECT_FALSE(LoadPanelFile(folder.File("missing.txt")));
  EXPECT_FALSE(LoadPanelFile(folder.Path().string()));  // a folder
  // As an editor that marks UTF-8 saves it.
  const Expected<PanelFile> marked =
      LoadPanelFile(folder.WriteFile("marked.txt", "\xEF\xBB\xBF" + testing::ReadFile(path)));
  ASSERT_TRUE(marked);
  EXPECT_TRUE(marked->errors.empty());
  EXPECT_EQ(marked->rows, rows);
  std::filesystem::remove(folder.File("marked.txt"));
  // Saving again replaces the file and leaves nothing beside it.
  const std::vector<PanelRow> more = {rows[0], Row(false, "s", FrameKind::Text, "t", std::nullopt, 2)};
  ASSERT_TRUE(SavePanelFile(path, more));
  EXPECT_EQ(LoadPanelFile(path)->rows, more);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
  const Outcome refused = SavePanelFile(folder.File("no/such/folder.txt"), rows);
  EXPECT_FALSE(refused);
  EXPECT_FALSE(refused.Reason().empty());
}

TEST(PanelFile, TheExampleFileHoldsTheThreeTickedRequests) {
  const Expected<PanelFile> file = LoadPanelFile(PORTPROBE_EXAMPLES_DIR "/panel.txt");
  ASSERT_TRUE(file) << file.Reason();
  ASSERT_TRUE(file->errors.empty());
  ASSERT_EQ(file->rows.size(), 3u);
  const ByteFrame first = {0x01, 0x03, 0x00, 0x00, 0x00, 0x03, 0x05, 0xCB};
  EXPECT_EQ(*file->rows[0].Frame(), first);
  for (const PanelRow& row : file->rows) {
    EXPECT_TRUE(row.ticked);
    EXPECT_EQ(row.delayMilliseconds, 300);
  }
}

}  // namespace
}  // namespace portprobe

#include "files/send_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/byte_frame.h"
#include "common/regular_file.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using testing::TempDir;

TEST(LoadSendFileText, ShowsFilesUpTo1MiBAndOnlySizesLargerOnes) {
  TempDir dir;
  // Each piece of 511 bytes is cut at its first zero byte; the next piece reads on.
  std::string cut = std::string(600, 'a');
  cut[100] = '\0';
  const Expected<SendFilePreview> small = LoadSendFileText(dir.WriteFile("cut.bin", cut));
  ASSERT_TRUE(small.has_value()) << small.Reason();
  EXPECT_EQ(small->size, 600u);
  EXPECT_EQ(small->text, std::string(100 + 89, 'a'));

  const std::string limit(kSendBoxFileLimit, 'x');
  EXPECT_EQ(LoadSendFileText(dir.WriteFile("limit.txt", limit))->text, limit);
  const Expected<SendFilePreview> large = LoadSendFileText(dir.WriteFile("large.txt", limit + "y"));
  ASSERT_TRUE(large.has_value());
  EXPECT_EQ(large->size, kSendBoxFileLimit + 1);
  EXPECT_FALSE(large->text.has_value());
  EXPECT_EQ(LoadSendFileText(testing::kDevicePath).Reason(), kNotRegularFileReason);
}

TEST(SendFile, StreamsAFileInPiecesAndRefusesOneThatIsNoLongerRegular) {
  TempDir dir;
  // Hex text whose groups cross every piece boundary, over many pieces.
  std::string text;
  ByteFrame expected;
  for (int i = 0; i < 20000; ++i) {
    text += (i % 2 == 0 ? "5a" : "A5");
    text += (i % 7 == 0 ? "\r\n" : " ");
    expected.push_back(i % 2 == 0 ? 0x5a : 0xa5);
  }
  ByteFrame written;
  std::size_t largestPiece = 0;
  const PortWriter write = [&](std::span<const std::uint8_t> bytes) {
    written.insert(written.end(), bytes.begin(), bytes.end());
    largestPiece = std::max(largestPiece, bytes.size());
    return bytes.size();
  };
  FileSendProgress progress;
  EXPECT_EQ(SendFile(dir.WriteFile("hex.txt", text), true, write, progress).result, FileSendResult::Sent);
  EXPECT_EQ(written, expected);
  EXPECT_LE(largestPiece, kFileSendPiece);
  EXPECT_EQ(progress.bytesRead, text.size());

  FileSendProgress again;
  const FileSendOutcome zero = SendFile(testing::kDevicePath, false, write, again);
  EXPECT_EQ(zero.result, FileSendResult::Unreadable);
  EXPECT_EQ(zero.error, kNotRegularFileReason);
}

}  // namespace
}  // namespace portprobe

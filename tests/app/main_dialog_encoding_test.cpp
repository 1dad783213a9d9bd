// Text sends and character display in the chosen encoding, and the line end of text
// sends, at the far end of a pseudo-terminal.
#include <QCheckBox>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "app/dialog_test_support.h"
#include "support/wait.h"

namespace portprobe {
namespace {

using namespace resources;

ByteFrame Bytes(std::string_view text) { return ByteFrame(text.begin(), text.end()); }

class EncodingTest : public testing::ConnectedWindowTest {
 protected:
  void Prefer(TextEncoding encoding, SendLineEnd lineEnd) {
    Preferences preferences = dialog_.CurrentPreferences();
    preferences.encoding = encoding;
    preferences.lineEnd = lineEnd;
    dialog_.SetPreferences(preferences);
  }
  void SendTyped(const QString& text, bool hex = false) {
    dialog_.CheckBox(kHexSendCheck)->setChecked(hex);
    SetSendText(text);
    Click(kManualSendButton);
  }
};

TEST_F(EncodingTest, TextSendsGoOutEncodedWithTheChosenLineEnd) {
  // "A中😀" and the box's own line end, in GB18030.
  Prefer(TextEncoding::Gb18030, SendLineEnd::None);
  SendTyped(QStringLiteral("A中\n😀"));
  EXPECT_EQ(pty_.Read(9), ByteFrame({0x41, 0xD6, 0xD0, 0x0D, 0x0A, 0x94, 0x39, 0xFC, 0x36}));

  const std::pair<SendLineEnd, std::string_view> lineEnds[] = {
      {SendLineEnd::None, ""}, {SendLineEnd::Cr, "\r"}, {SendLineEnd::Lf, "\n"}, {SendLineEnd::CrLf, "\r\n"}};
  for (const auto& [lineEnd, bytes] : lineEnds) {
    Prefer(TextEncoding::Utf8, lineEnd);
    SendTyped(QStringLiteral("中"));
    const ByteFrame expected = Bytes("\xE4\xB8\xAD" + std::string(bytes));
    EXPECT_EQ(pty_.Read(expected.size()), expected) << static_cast<int>(lineEnd);
  }
  // Hex sends are bytes as they stand.
  SendTyped(QStringLiteral("01 02"), true);
  EXPECT_EQ(pty_.Read(2), ByteFrame({0x01, 0x02}));
  EXPECT_EQ(pty_.Read(1, 100), ByteFrame());

  // Automatic sends are text sends too.
  Prefer(TextEncoding::Gb18030, SendLineEnd::Cr);
  SetSendText(QStringLiteral("文"));
  dialog_.CheckBox(kHexSendCheck)->setChecked(false);
  dialog_.Edit(kPeriodEdit)->setText(QStringLiteral("10"));
  EXPECT_EVENTUALLY_EQ(dialog_.TxCount(), 27);  // every byte above
  dialog_.CheckBox(kAutoSendCheck)->click();
  EXPECT_TRUE(testing::WaitUntil([&] { return dialog_.TxCount() >= 27 + 6; }));
  dialog_.CheckBox(kAutoSendCheck)->click();
  EXPECT_EQ(pty_.Read(6), ByteFrame({0xCE, 0xC4, 0x0D, 0xCE, 0xC4, 0x0D}));
  EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(EncodingTest, Gb18030CharactersSplitAcrossReadsShowWhole) {
  dialog_.CheckBox(kHexDisplayCheck)->setChecked(false);
  Prefer(TextEncoding::Gb18030, SendLineEnd::None);
  const ByteFrame bytes = {0x41, 0xD6, 0xD0, 0x94, 0x39, 0xFC, 0x36, 0x0D, 0x0A};
  std::string expected;
  std::int64_t received = 0;
  for (std::size_t cut = 1; cut < bytes.size(); ++cut) {
    // Each piece waits until the one before has been shown, so they are separate reads.
    const auto middle = bytes.begin() + static_cast<std::ptrdiff_t>(cut);
    pty_.Write(ByteFrame(bytes.begin(), middle));
    EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), received + static_cast<std::int64_t>(cut));
    pty_.Write(ByteFrame(middle, bytes.end()));
    received += static_cast<std::int64_t>(bytes.size());
    EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), received);
    expected += "A中😀\r\n";
    EXPECT_EQ(dialog_.ReceiveText(), expected) << "cut after byte " << cut;
  }
  // Back to UTF-8 in the middle of a character: what follows is not lost.
  pty_.Write(ByteFrame({0xD6}));
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), received + 1);
  Prefer(TextEncoding::Utf8, SendLineEnd::None);
  pty_.Write("B\xE6\x96\x87");
  EXPECT_EVENTUALLY_EQ(dialog_.RxCount(), received + 5);
  EXPECT_EQ(dialog_.ReceiveText(), expected +
                                       "\xD6"
                                       "B文");
}

TEST_F(EncodingTest, HexAndCharButtonsUseTheChosenEncoding) {
  Prefer(TextEncoding::Gb18030, SendLineEnd::CrLf);
  SetSendText(QStringLiteral("中文A😀\n"));
  Click(kHexButton);
  EXPECT_EQ(SendText(), QStringLiteral("D6 D0 CE C4 41 94 39 FC   36 0D 0A "));
  Click(kCharButton);
  EXPECT_EQ(SendText(), QStringLiteral("中文A😀\n"));
  // Bytes that make no character show as U+FFFD, and nothing after them is lost.
  SetSendText(QStringLiteral("D6 20 41 CE C4 D6"));
  Click(kCharButton);
  EXPECT_EQ(SendText(), QStringLiteral("\uFFFD A文\uFFFD"));
}

}  // namespace
}  // namespace portprobe

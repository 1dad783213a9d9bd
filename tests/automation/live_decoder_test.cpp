// The live decoder on its own thread: outputs in the order of the blocks, a stop while
// a script runs endlessly, and the bounded queue of a decoder that falls behind.
#include "automation/live_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "codec/hex_codec.h"

namespace portprobe {
namespace {

// Prints the first byte; never ends when it is 0xEE.
const std::string kScript =
    "int a\r\nvoid main()\r\n{\r\nset a 0 1\r\nwhile a == 0xEE\r\n{\r\n}\r\necho \"a=\" a\r\n}\r\n";

std::string Joined(const std::vector<LiveDecoder::Output>& outputs, std::vector<std::uint64_t>* blocks = nullptr) {
  std::string text;
  for (const LiveDecoder::Output& output : outputs) {
    text += output.text;
    if (blocks != nullptr) blocks->push_back(output.block);
  }
  return text;
}

// Takes output as the owner would until it holds `lines` lines, and the blocks it
// names; fails the test instead of hanging.
std::string TakeLines(LiveDecoder& decoder, std::size_t lines, std::vector<std::uint64_t>* blocks = nullptr) {
  std::string text;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) < lines) {
    if (std::chrono::steady_clock::now() > deadline) {
      ADD_FAILURE() << "no more output after: " << text;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    text += Joined(decoder.TakeOutput(), blocks);
  }
  return text;
}

TEST(LiveDecoder, GivesEachBlocksOutputInOrderOnLinesOfItsOwn) {
  std::atomic<int> wakes = 0;
  LiveDecoder decoder(kScript, [&wakes] { ++wakes; });
  ASSERT_TRUE(decoder.Started()) << decoder.Started().Reason();
  for (int i = 1; i <= 20; ++i) decoder.Submit(ParseHexText(std::to_string(i % 10) + "0 00"), 100 + i);
  std::string expected;
  std::vector<std::uint64_t> expectedBlocks;
  for (int i = 1; i <= 20; ++i) {
    expected += "a=" + std::to_string((i % 10) * 16) + "\r\n";
    expectedBlocks.push_back(100 + i);
  }
  std::vector<std::uint64_t> blocks;
  EXPECT_EQ(TakeLines(decoder, 20, &blocks), expected);
  EXPECT_EQ(blocks, expectedBlocks);
  EXPECT_GT(wakes.load(), 0);

  // An endless block is cut short and said so once; the blocks after it decode again.
  decoder.Submit(ParseHexText("EE"), 1);
  decoder.Submit(ParseHexText("01"), 2);
  decoder.Submit(ParseHexText("EE"), 3);
  decoder.Submit(ParseHexText("02"), 4);
  EXPECT_EQ(TakeLines(decoder, 3), "<实时解析：本帧执行超过200000行，已停止；以后超限的帧不再提示>\r\na=1\r\na=2\r\n");
}

// Every block prints a line and then loops until it is stopped (or reaches the step
// limit). A decoder that went on with the waiting blocks once told to end would print
// each of them, since a stop cuts a block short only after its line is printed.
TEST(LiveDecoder, EndsWhileAScriptRunsAndDropsWhatWaits) {
  constexpr int kBlocks = 20;
  std::mutex mutex;
  int wakes = 0;
  std::string delivered;
  std::atomic<LiveDecoder*> owner = nullptr;
  const auto takeOutput = [&] {
    const std::string text = Joined(owner.load()->TakeOutput());
    std::lock_guard lock(mutex);
    ++wakes;
    delivered += text;
  };
  auto decoder =
      std::make_unique<LiveDecoder>("void main()\r\n{\r\necho \"@\"\r\nagain:\r\ngoto again\r\n}\r\n", takeOutput);
  ASSERT_TRUE(decoder->Started()) << decoder->Started().Reason();
  owner = decoder.get();
  for (int i = 0; i < kBlocks; ++i) decoder->Submit(ParseHexText("EE"), i);
  decoder.reset();

  std::lock_guard lock(mutex);
  const auto printed = std::count(delivered.begin(), delivered.end(), '@');
  EXPECT_LT(printed, kBlocks) << delivered;
  // The owner is woken for each block's output it took, and not after the end.
  EXPECT_EQ(wakes, printed);
}

// A decoder that falls behind keeps the newest blocks and says how many it skipped.
TEST(LiveDecoder, KeepsABoundedQueueAndCountsTheBlocksItSkipped) {
  std::mutex mutex;
  std::condition_variable changed;
  bool firstWake = false;
  bool released = false;
  // Holds the decoder's thread in its first wake-up while the blocks pile up.
  const auto wake = [&] {
    std::unique_lock lock(mutex);
    if (firstWake) return;
    firstWake = true;
    changed.notify_all();
    changed.wait(lock, [&] { return released; });
  };
  LiveDecoder decoder(kScript, wake);
  decoder.Submit(ParseHexText("01"), 1);
  {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return firstWake; });
  }
  constexpr int kPiled = static_cast<int>(LiveDecoder::kMaxWaitingBlocks) + 10;
  for (int i = 0; i < kPiled; ++i) decoder.Submit(ParseHexText(i < 10 ? "02" : "03"), 2 + i);
  {
    std::lock_guard lock(mutex);
    released = true;
  }
  changed.notify_all();

  std::vector<std::uint64_t> blocks;
  const std::string text = TakeLines(decoder, 2 + LiveDecoder::kMaxWaitingBlocks, &blocks);
  // The note goes with the first block decoded after the skip.
  ASSERT_GE(blocks.size(), 2u);
  EXPECT_EQ(blocks[1], 12u);
  std::string expected = "a=1\r\n<实时解析：解析跟不上接收，跳过了10帧>\r\n";
  for (std::size_t i = 0; i < LiveDecoder::kMaxWaitingBlocks; ++i) expected += "a=3\r\n";
  EXPECT_EQ(text, expected);
}

}  // namespace
}  // namespace portprobe

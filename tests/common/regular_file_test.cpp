#include "common/regular_file.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "support/pty_pair.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using testing::TempDir;

// The reason a path is not read, or "" when it is.
std::string Refusal(const std::string& path, std::uint64_t maxBytes = kNoSizeLimit) {
  return OpenRegularFile(path, maxBytes).Reason();
}

TEST(OpenRegularFile, TakesOnlyRegularFilesAndNeverWaitsOnOthers) {
  TempDir dir;
  const std::string fifo = dir.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // No writer ever comes: an open that waited for one would hang here.
  EXPECT_EQ(Refusal(fifo), kNotRegularFileReason);
  EXPECT_EQ(Refusal("/dev/zero"), kNotRegularFileReason);
  EXPECT_EQ(Refusal(dir.Path().string()), kNotRegularFileReason);

  const std::string socketPath = dir.File("socket");
  const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  EXPECT_EQ(Refusal(socketPath), kNotRegularFileReason);
  ::close(listener);

  const testing::PtyPair pty;
  EXPECT_EQ(Refusal(pty.SlavePath()), kNotRegularFileReason);

  EXPECT_EQ(Refusal(dir.File("missing")), kMissingFileReason);
  // A link to a regular file is that file.
  std::filesystem::create_symlink(dir.WriteFile("real.txt", "abc"), dir.File("link.txt"));
  const Expected<RegularFile> linked = OpenRegularFile(dir.File("link.txt"), 3);
  ASSERT_TRUE(linked.has_value()) << linked.Reason();
  EXPECT_EQ(linked->size, 3u);
}

TEST(ReadRegularFile, ReadsUpToTheLimitAndRefusesMoreWithoutReadingIt) {
  TempDir dir;
  const std::string four("a\0\r\n", 4);
  EXPECT_EQ(*ReadRegularFile(dir.WriteFile("four.txt", four), 4), four);
  EXPECT_EQ(*ReadRegularFile(dir.WriteFile("empty.txt", ""), 0), "");
  const Expected<std::string> tooLarge = ReadRegularFile(dir.File("four.txt"), 3);
  EXPECT_FALSE(tooLarge.has_value());
  EXPECT_EQ(tooLarge.Reason(), TooLargeReason(3));
  EXPECT_NE(tooLarge.Reason().find('3'), std::string::npos);

  // A sparse file of 1 GiB is refused from its size alone.
  const std::string sparse = dir.WriteFile("sparse.bin", "");
  std::filesystem::resize_file(sparse, std::uint64_t{1} << 30);
  const Expected<std::string> sparseRead = ReadRegularFile(sparse, 1 << 20);
  EXPECT_FALSE(sparseRead.has_value());
  EXPECT_EQ(sparseRead.Reason(), TooLargeReason(1 << 20));
  EXPECT_EQ(Refusal(sparse), "");
}

}  // namespace
}  // namespace portprobe

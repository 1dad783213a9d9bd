#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "common/regular_file.h"
#include "support/pty_pair.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using testing::TempDir;

std::string Refusal(const std::string& path) { return OpenRegularFile(path, kNoSizeLimit).Reason(); }

TEST(OpenRegularFile, TakesOnlyRegularFilesAndNeverWaitsOnOthers) {
  TempDir dir;
  const std::string fifo = dir.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // No writer ever comes: an open that waited for one would hang here.
  EXPECT_EQ(Refusal(fifo), kNotRegularFileReason);
  EXPECT_EQ(Refusal("/dev/zero"), kNotRegularFileReason);

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

  // A link to a regular file is that file.
  std::filesystem::create_symlink(dir.WriteFile("real.txt", "abc"), dir.File("link.txt"));
  const Expected<RegularFile> linked = OpenRegularFile(dir.File("link.txt"), 3);
  ASSERT_TRUE(linked.has_value()) << linked.Reason();
  EXPECT_EQ(linked->size, 3u);
}

}  // namespace
}  // namespace portprobe

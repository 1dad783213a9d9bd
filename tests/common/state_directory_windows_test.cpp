#include <gtest/gtest.h>

#include <filesystem>

#include "common/executable_directory.h"
#include "common/state_directory.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using testing::ScopedEnvironment;

TEST(StateDirectory, FollowsLocalAppDataElseTheUserProfile) {
  const testing::TempDir temp;
  const std::string local = temp.Path().string() + "\\local";
  const ScopedEnvironment profile("USERPROFILE", temp.Path().string() + "\\user");
  {
    const ScopedEnvironment localAppData("LOCALAPPDATA", local);
    EXPECT_EQ(StateDirectory(), local + "\\portprobe");
    EXPECT_EQ(MakeStateDirectory(), local + "\\portprobe");
    EXPECT_TRUE(std::filesystem::is_directory(local + "\\portprobe"));
  }
  // A relative value does not count: it would name the working directory.
  const ScopedEnvironment relative("LOCALAPPDATA", "local");
  EXPECT_EQ(StateDirectory(), temp.Path().string() + "\\user\\AppData\\Local\\portprobe");
  const ScopedEnvironment aFile("LOCALAPPDATA", temp.WriteFile("a-file", ""));
  EXPECT_EQ(MakeStateDirectory(), "");
}

TEST(ExecutableDirectory, IsTheFolderOfThisTestWithoutATrailingBackslash) {
  const std::string folder = ExecutableDirectory();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  EXPECT_TRUE(std::filesystem::exists(folder + "\\common_tests.exe")) << folder;
}

}  // namespace
}  // namespace portprobe

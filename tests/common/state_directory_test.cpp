#include "common/state_directory.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/scoped_environment.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

using testing::ScopedEnvironment;

TEST(StateDirectory, FollowsXdgStateHomeElseTheHomeFolder) {
  const testing::TempDir temp;
  const ScopedEnvironment home("HOME", temp.File("home"));
  {
    const ScopedEnvironment state("XDG_STATE_HOME", temp.File("state"));
    EXPECT_EQ(StateDirectory(), temp.File("state") + "/portprobe");
    EXPECT_EQ(MakeStateDirectory(), temp.File("state") + "/portprobe");
    EXPECT_TRUE(std::filesystem::is_directory(temp.File("state") + "/portprobe"));
  }
  // Empty and relative values do not count: they would name the working directory.
  for (const char* value : {"", "state"}) {
    const ScopedEnvironment state("XDG_STATE_HOME", value);
    EXPECT_EQ(StateDirectory(), temp.File("home") + "/.local/state/portprobe") << value;
  }
  const ScopedEnvironment state("XDG_STATE_HOME", temp.WriteFile("a-file", ""));
  EXPECT_EQ(MakeStateDirectory(), "");
}

}  // namespace
}  // namespace portprobe

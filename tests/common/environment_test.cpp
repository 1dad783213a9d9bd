#include <gtest/gtest.h>

#include "common/running_program.h"

namespace portprobe {
namespace {

// A program's environment gets our variables in place of the user's: Linux tells names
// apart by case, Windows does not, so there a differently written name is replaced too.
TEST(EnvironmentWith, ReplacesVariablesOfTheSameNameAsTheSystemComparesThem) {
  const std::vector<std::string> current = {"PATH=/bin", "portprobe_result_file=old", "HOME=/root"};
  const std::vector<std::string> added = {"PORTPROBE_RESULT_FILE=new"};
  EXPECT_EQ(EnvironmentWith(current, added),
            (std::vector<std::string>{"PATH=/bin", "portprobe_result_file=old", "HOME=/root",
                                      "PORTPROBE_RESULT_FILE=new"}));
  EXPECT_EQ(EnvironmentWith(current, added, NameCase::Ignored),
            (std::vector<std::string>{"PATH=/bin", "HOME=/root", "PORTPROBE_RESULT_FILE=new"}));
  // A name that only starts like ours stays.
  EXPECT_EQ(EnvironmentWith({"PORTPROBE_RESULT_FILE_X=1"}, added, NameCase::Ignored),
            (std::vector<std::string>{"PORTPROBE_RESULT_FILE_X=1", "PORTPROBE_RESULT_FILE=new"}));
}

}  // namespace
}  // namespace portprobe

#include "common/edit_history.h"

#include <gtest/gtest.h>

namespace portprobe {
namespace {

TEST(EditHistory, TypingMakesOneStepAndANewChangeForgetsTheRedo) {
  EditHistory history;
  EXPECT_FALSE(history.TakeUndo());
  for (std::size_t i = 0; i < 3; ++i) history.Record({10 + i, "", std::string(1, static_cast<char>('a' + i))});
  history.Record({13, "", "中"});  // one character of three bytes still types on
  history.Record({0, "xy", ""});   // a deletion elsewhere is a step of its own
  std::optional<TextEdit> undone = history.TakeUndo();
  ASSERT_TRUE(undone);
  EXPECT_EQ(undone->removed, "xy");
  undone = history.TakeUndo();
  ASSERT_TRUE(undone);
  EXPECT_EQ(undone->position, 10u);
  EXPECT_EQ(undone->inserted, "abc中");
  EXPECT_FALSE(history.TakeUndo());

  const std::optional<TextEdit> redone = history.TakeRedo();
  ASSERT_TRUE(redone);
  EXPECT_EQ(redone->inserted, "abc中");
  history.Record({20, "", "paste of more than a character"});
  EXPECT_FALSE(history.TakeRedo());
  EXPECT_EQ(history.TakeUndo()->inserted, "paste of more than a character");
  EXPECT_EQ(history.TakeUndo()->inserted, "abc中");
}

TEST(EditHistory, KeepsOnlyTheLatestChanges) {
  EditHistory history;
  for (std::size_t i = 0; i < EditHistory::kMaxEntries + 5; ++i) history.Record({i * 10, "r", std::to_string(i)});
  std::size_t steps = 0;
  std::optional<TextEdit> oldest;
  while (std::optional<TextEdit> undone = history.TakeUndo()) {
    oldest = undone;
    ++steps;
  }
  EXPECT_EQ(steps, EditHistory::kMaxEntries);
  EXPECT_EQ(oldest->inserted, "5");
  history.Clear();
  EXPECT_FALSE(history.TakeRedo());
}

}  // namespace
}  // namespace portprobe

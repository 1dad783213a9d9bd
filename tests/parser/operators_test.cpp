#include "parser/runtime/operators.h"

#include <gtest/gtest.h>

#include "parser/language/statement_table.h"
#include "parser/runtime/arithmetic_statements.h"

namespace portprobe::parser {
namespace {

TEST(BinaryOperation, WrapsAndComparesUnsigned) {
  EXPECT_EQ(BinaryOperation(0, 0xFFFFFFFF, 2), 1u);
  EXPECT_EQ(BinaryOperation(2, 0x10000, 0x10001), 0x10000u);
  EXPECT_EQ(BinaryOperation(3, 7, 0), std::nullopt);
  EXPECT_EQ(BinaryOperation(10, 0xFFFFFFFF, 1), 0u);
  EXPECT_EQ(BinaryOperation(-1, 3, 3), 0u);
  EXPECT_EQ(UnaryOperation(1, 0), 0xFFFFFFFFu);
}

class StatementsTest : public ::testing::Test {
 protected:
  StepResult Assign(const Words& words) { return AssignStatement(variables, words, AssignmentCode(words[1])); }

  MemoryArena arena;
  StringPool pool{arena};
  VariableStore store{arena};
  Variables variables{arena, store, pool};
};

TEST_F(StatementsTest, AssignmentsTakeThreeFourOrFiveWords) {
  variables.SetValue("x", 0);
  variables.SetValue("a", 2);
  EXPECT_EQ(Assign({"x", "=", "a", "+", "3"}), kNext);
  EXPECT_EQ(variables.GetValue("x"), 5u);
  EXPECT_EQ(Assign({"x", "*=", "a"}), kNext);
  EXPECT_EQ(variables.GetValue("x"), 10u);
  EXPECT_EQ(Assign({"x", "-=", "0xFFFFFFFF"}), kNext);
  EXPECT_EQ(variables.GetValue("x"), 11u);
  EXPECT_EQ(Assign({"x", "=", "a", "=", "3"}), kNext);  // "=" as an operator adds
  EXPECT_EQ(variables.GetValue("x"), 5u);
  EXPECT_EQ(Assign({"x", "=", "&", "a"}), kNext);
  EXPECT_EQ(variables.GetValue("x"), store.ValueAddress(1));
  EXPECT_EQ(Assign({"x", "=", "a", "+", "b", "*", "c"}), kAssignmentWordCount);
  EXPECT_EQ(Assign({"x", "=", "-", "1"}), kAddressWithoutAmpersand);
  EXPECT_EQ(Assign({"x", "=", "*", "p"}), kAddressWithoutAmpersand);
  EXPECT_EQ(AssignStatement(variables, {"x", "==", "1"}, 0), kBadAssignmentWord);
  EXPECT_EQ(Assign({"x", "/=", "0"}), kDivisionByZero);
  EXPECT_EQ(Assign({"x", "=", "a", "/", "0"}), kDivisionByZero);
  EXPECT_EQ(variables.ParserError(), 0u);
  // The target is read in every form: a new target sets ParserError, and is created.
  EXPECT_EQ(Assign({"fresh", "=", "1"}), kNext);
  EXPECT_EQ(variables.ParserError(), kVariableValueMissing);
  EXPECT_EQ(variables.GetValue("fresh"), 1u);
}

TEST_F(StatementsTest, OperatorAndStepStatementsStoreWithTheTargetsWidth) {
  ASSERT_EQ(variables.DeclareVariable("c", MakeTypeWord(FindTypeCode("char"), 0), 0), kNext);
  EXPECT_EQ(StepStatement(variables, {"--", "c"}, 1), kNext);
  EXPECT_EQ(variables.GetValue("c"), 255u);
  ASSERT_EQ(variables.DeclareVariable("m", MakeTypeWord(FindTypeCode("unsigned short"), 0), 0xFF), kNext);
  EXPECT_EQ(StepStatement(variables, {"reverse", "m"}, 2), kNext);
  EXPECT_EQ(variables.GetValue("m"), 0xFF00u);
  EXPECT_EQ(OperatorStatement(variables, {"-", "d", "c", "5"}, 1), kNext);
  EXPECT_EQ(variables.GetValue("d"), 250u);
  EXPECT_EQ(OperatorStatement(variables, {"and2", "d", "0"}, 7), kNext);
  EXPECT_EQ(variables.GetValue("d"), 0u);
  EXPECT_EQ(OperatorStatement(variables, {"or2", "d", "5"}, 8), kNext);
  EXPECT_EQ(variables.GetValue("d"), 1u);
  EXPECT_EQ(OperatorStatement(variables, {"div", "d", "0"}, 3), kDivisionByZero);
  EXPECT_EQ(OperatorStatement(variables, {"add", "d"}, 0), kOperatorWordCount);
  EXPECT_EQ(StepStatement(variables, {"++", "d", "e"}, 0), kStepWordCount);
  // An element of a missing variable cannot be stored; one of an untyped variable is
  // accepted and written nowhere.
  EXPECT_EQ(OperatorStatement(variables, {"add", "none[1]", "1"}, 0), kOperatorStoreFailed);
  EXPECT_EQ(OperatorStatement(variables, {"add", "d[9]", "1"}, 0), kNext);
}

}  // namespace
}  // namespace portprobe::parser

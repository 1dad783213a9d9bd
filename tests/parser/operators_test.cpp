#include "parser/runtime/operators.h"

#include <gtest/gtest.h>

#include "parser/runtime/statement_table.h"
#include "parser/runtime/arithmetic_statements.h"
#include "parser/runtime/interpreter.h"

namespace portprobe::parser {
namespace {

TEST(BinaryOperation, WrapsAndComparesUnsigned) {
  EXPECT_EQ(BinaryOperation(Operator::kAdd, 0xFFFFFFFF, 2), 1u);
  EXPECT_EQ(BinaryOperation(Operator::kMultiply, 0x10000, 0x10001), 0x10000u);
  EXPECT_EQ(BinaryOperation(Operator::kDivide, 7, 0), std::nullopt);
  EXPECT_EQ(BinaryOperation(Operator::kLess, 0xFFFFFFFF, 1), 0u);
  EXPECT_EQ(BinaryOperation(std::nullopt, 3, 3), 0u);
  EXPECT_EQ(UnaryOperation(StepOperation::kDecrement, 0), 0xFFFFFFFFu);
}

class StatementsTest : public ::testing::Test {
 protected:
  StepResult Assign(const Words& words) { return AssignStatement(variables, words, AssignmentCode(words[1])); }

  static std::uint16_t Arg(Operator op) { return static_cast<std::uint16_t>(op); }
  static std::uint16_t Arg(StepOperation op) { return static_cast<std::uint16_t>(op); }

  Interpreter interpreter{[](std::string_view) {}};
  Variables& variables = interpreter.variables();
  VariableStore& store = variables.store();
};

TEST_F(StatementsTest, AssignmentsTakeThreeFourOrFiveWords) {
  variables.SetValue("x", 0);
  variables.SetValue("a", 2);
  EXPECT_EQ(Assign({"x", "=", "a", "+", "3"}), StepResult::Next());
  EXPECT_EQ(variables.GetValue("x"), 5u);
  EXPECT_EQ(Assign({"x", "*=", "a"}), StepResult::Next());
  EXPECT_EQ(variables.GetValue("x"), 10u);
  EXPECT_EQ(Assign({"x", "-=", "0xFFFFFFFF"}), StepResult::Next());
  EXPECT_EQ(variables.GetValue("x"), 11u);
  EXPECT_EQ(Assign({"x", "=", "a", "=", "3"}), StepResult::Next());  // "=" as an operator adds
  EXPECT_EQ(variables.GetValue("x"), 5u);
  EXPECT_EQ(Assign({"x", "=", "&", "a"}), StepResult::Next());
  EXPECT_EQ(variables.GetValue("x"), store.ValueAddress(1));
  EXPECT_EQ(Assign({"x", "=", "a", "+", "b", "*", "c"}), StepResult::Error(kAssignmentWordCount));
  EXPECT_EQ(Assign({"x", "=", "-", "1"}), StepResult::Error(kAddressWithoutAmpersand));
  EXPECT_EQ(Assign({"x", "=", "*", "p"}), StepResult::Error(kAddressWithoutAmpersand));
  EXPECT_EQ(AssignStatement(variables, {"x", "==", "1"}, 0), StepResult::Error(kBadAssignmentWord));
  EXPECT_EQ(Assign({"x", "/=", "0"}), StepResult::Error(kDivisionByZero));
  EXPECT_EQ(Assign({"x", "=", "a", "/", "0"}), StepResult::Error(kDivisionByZero));
  EXPECT_EQ(variables.ParserError(), 0u);
  // The target is read in every form: a new target sets ParserError, and is created.
  EXPECT_EQ(Assign({"fresh", "=", "1"}), StepResult::Next());
  EXPECT_EQ(variables.ParserError(), kVariableValueMissing);
  EXPECT_EQ(variables.GetValue("fresh"), 1u);
}

TEST_F(StatementsTest, OperatorAndStepStatementsStoreWithTheTargetsWidth) {
  ASSERT_EQ(variables.DeclareVariable("c", MakeTypeWord(FindTypeCode("char"), 0), 0), StepResult::Next());
  EXPECT_EQ(StepStatement(interpreter, {"--", "c"}, Arg(StepOperation::kDecrement)), StepResult::Next());
  EXPECT_EQ(variables.GetValue("c"), 255u);
  ASSERT_EQ(variables.DeclareVariable("m", MakeTypeWord(FindTypeCode("unsigned short"), 0), 0xFF), StepResult::Next());
  EXPECT_EQ(StepStatement(interpreter, {"reverse", "m"}, Arg(StepOperation::kComplement)), StepResult::Next());
  EXPECT_EQ(variables.GetValue("m"), 0xFF00u);
  EXPECT_EQ(OperatorStatement(interpreter, {"-", "d", "c", "5"}, Arg(Operator::kSubtract)), StepResult::Next());
  EXPECT_EQ(variables.GetValue("d"), 250u);
  EXPECT_EQ(OperatorStatement(interpreter, {"and2", "d", "0"}, Arg(Operator::kLogicalAnd)), StepResult::Next());
  EXPECT_EQ(variables.GetValue("d"), 0u);
  EXPECT_EQ(OperatorStatement(interpreter, {"or2", "d", "5"}, Arg(Operator::kLogicalOr)), StepResult::Next());
  EXPECT_EQ(variables.GetValue("d"), 1u);
  EXPECT_EQ(OperatorStatement(interpreter, {"div", "d", "0"}, Arg(Operator::kDivide)),
            StepResult::Error(kDivisionByZero));
  EXPECT_EQ(OperatorStatement(interpreter, {"add", "d"}, Arg(Operator::kAdd)), StepResult::Error(kOperatorWordCount));
  EXPECT_EQ(StepStatement(interpreter, {"++", "d", "e"}, Arg(StepOperation::kIncrement)),
            StepResult::Error(kStepWordCount));
  // An element of a missing variable cannot be stored; one of an untyped variable is
  // accepted and written nowhere.
  EXPECT_EQ(OperatorStatement(interpreter, {"add", "none[1]", "1"}, Arg(Operator::kAdd)),
            StepResult::Error(kOperatorStoreFailed));
  EXPECT_EQ(OperatorStatement(interpreter, {"add", "d[9]", "1"}, Arg(Operator::kAdd)), StepResult::Next());
}

}  // namespace
}  // namespace portprobe::parser

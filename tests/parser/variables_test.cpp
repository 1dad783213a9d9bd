#include "parser/runtime/variables.h"

#include <gtest/gtest.h>

#include "parser/runtime/literals.h"

namespace portprobe::parser {
namespace {

class VariablesTest : public ::testing::Test {
 protected:
  void Declare(std::string_view name, const char* type, std::uint32_t count = 0, ScriptValue initial = 0) {
    ASSERT_EQ(variables.DeclareVariable(name, MakeTypeWord(FindTypeCode(type), count), initial), StepResult::Next())
        << name;
  }

  MemoryArena arena;
  StringPool pool{arena};
  VariableStore store{arena};
  Variables variables{arena, store, pool};
};

TEST(MemoryArena, ChecksEveryAccessAgainstItsBlocks) {
  MemoryArena arena;
  const ScriptAddress block = arena.CountedAllocate(6);
  ASSERT_NE(block, 0u);
  EXPECT_EQ(arena.AllocationCount(), 1);
  EXPECT_EQ(arena.Read(block, 4), 0u);    // zero-filled
  arena.Write(block + 4, 4, 0x44332211);  // the two bytes past the end are dropped
  EXPECT_EQ(arena.Read(block + 4, 2), 0x2211u);
  EXPECT_EQ(arena.Read(block + 5, 4), 0x22u);
  arena.Write(0, 4, 1);
  arena.Write(0xFFFFFFFE, 4, 1);
  EXPECT_EQ(arena.Read(0, 4), 0u);
  arena.Write(block, 4, 0x21216948);  // "Hi!!" with no zero byte: the text ends with the block
  EXPECT_EQ(arena.ReadText(block), std::string("Hi!!\x11\x22"));
  EXPECT_EQ(arena.ReadText(0), "");
  arena.CountedFree(block);
  arena.CountedFree(block);  // a second release is ignored
  arena.CountedFree(0);
  EXPECT_EQ(arena.AllocationCount(), 0);
  EXPECT_EQ(arena.Read(block, 1), 0u);
  EXPECT_EQ(arena.CountedAllocate(6), block);  // freed space is used again
}

TEST(MemoryArena, RefusesBlocksBeyondItsCapacity) {
  MemoryArena arena;
  const ScriptAddress big = arena.CountedAllocate(MemoryArena::kCapacity - 8);
  ASSERT_NE(big, 0u);
  EXPECT_EQ(arena.CountedAllocate(16), 0u);
  EXPECT_EQ(arena.AllocationCount(), 1);
  const ScriptAddress text = arena.StoreText("1234567");
  EXPECT_EQ(arena.ReadText(text), "1234567");
  EXPECT_EQ(arena.StoreText("12345678"), 0u);
}

TEST(Literals, ReadNumbersAndStripQuotes) {
  EXPECT_EQ(ParseNumber("0x1F"), 31u);
  EXPECT_EQ(ParseNumber("0X1f"), 31u);
  EXPECT_EQ(ParseNumber("08"), 8u);
  EXPECT_EQ(ParseNumber("0777"), 777u);
  EXPECT_EQ(ParseNumber("12ab"), 12u);
  EXPECT_EQ(ParseNumber("0x"), 0u);
  EXPECT_EQ(ParseNumber("a12"), 0u);
  EXPECT_EQ(ParseNumber("4294967297"), 1u);
  EXPECT_EQ(ParseNumber("0x123456789"), 0x23456789u);
  EXPECT_EQ(ParseNumber("0x1g"), 0x1Fu + 0xF0u);  // a stray byte shifts in as 255
  EXPECT_EQ(StripQuotes("'abc\""), "abc");
  EXPECT_EQ(StripQuotes("\"abc"), "abc");
  EXPECT_EQ(StripQuotes("abc'"), "abc");
  EXPECT_EQ(StripQuotes("'"), "");
}

TEST_F(VariablesTest, StoresKeepTheTargetsWidth) {
  Declare("c", "char", 0, 300);
  EXPECT_EQ(variables.GetValue("c"), 300u);  // the initial value is stored whole
  variables.SetValue("C", 300);
  EXPECT_EQ(variables.GetValue("c"), 44u);
  Declare("s", "unsigned short");
  variables.SetValue("s", 0x12345);
  EXPECT_EQ(variables.GetValue("s"), 0x2345u);
  variables.SetValue("c", 0xFFFFFFFF);
  EXPECT_EQ(variables.GetValue("c"), 255u);
  Declare("p", "char *");
  variables.SetValue("p", 0x12345);
  EXPECT_EQ(variables.GetValue("p"), 0x12345u);
  variables.SetValue("u", 0xFFFFFFFF);  // a new name: an untyped variable
  EXPECT_EQ(variables.GetValue("u"), 0xFFFFFFFFu);
  EXPECT_EQ(variables.ParserError(), 0u);
  EXPECT_EQ(variables.GetValue("missing"), kAllOnes);
  EXPECT_EQ(variables.ParserError(), kVariableValueMissing);
  EXPECT_EQ(variables.DeclareVariable("c", MakeTypeWord(FindTypeCode("int"), 0), 0),
            StepResult::Error(kNameAlreadyVisible));
}

TEST_F(VariablesTest, ArraysAndAddressesFollowTheElementSize) {
  const std::int32_t before = arena.AllocationCount();
  Declare("a", "int", 4);
  Declare("b", "char", 8);
  Declare("ptrs", "int *", 2);
  EXPECT_EQ(arena.AllocationCount(), before + 3);
  EXPECT_EQ(variables.ElementAddress("a[3]") - variables.GetValue("a"), 12u);
  EXPECT_EQ(variables.ElementAddress("ptrs[1]") - variables.GetValue("ptrs"), 4u);
  EXPECT_EQ(variables.ElementAddress("a[4]"), kAllOnes);
  variables.SetValue("a[3]", 0x01020304);
  EXPECT_EQ(variables.GetValue("a[3]"), 0x01020304u);
  EXPECT_EQ(variables.GetValue("a[4]"), kAllOnes);
  EXPECT_LT(variables.SetValue("a[4]", 1), 0);
  EXPECT_EQ(variables.GetValue("a[0x80000000]"), kAllOnes);
  // A pointer reads through its value; "&" of a scalar is its value word.
  Declare("x", "int", 0, 0x11223344);
  Declare("q", "unsigned short *");
  variables.SetValue("q", variables.ElementAddress("x"));
  EXPECT_EQ(variables.GetValue("q[1]"), 0x1122u);
  variables.SetValue("q[0]", 0xBEEF);
  EXPECT_EQ(variables.GetValue("x"), 0x1122BEEFu);
  EXPECT_EQ(variables.ElementAddress("0x10"), 0u);
  EXPECT_EQ(variables.ElementAddress("nothing"), 0u);
  // An array's value word may be overwritten; its buffer is still released once.
  variables.SetValue("a", 7);
  EXPECT_EQ(variables.GetValue("a[1]"), 0u);
  store.DestroyFrom(0);
  EXPECT_EQ(arena.AllocationCount(), before);
}

TEST_F(VariablesTest, FunctionsSeeGlobalsAndTheirOwnVariablesOnly) {
  variables.SetValue("g", 1);
  store.SetGlobalCount(store.UsedCount());
  store.SetFunctionBase(store.UsedCount());  // the caller
  variables.SetValue("local", 2);
  store.SetFunctionBase(store.UsedCount());  // the callee
  EXPECT_EQ(variables.GetValue("local"), kAllOnes);
  EXPECT_EQ(variables.DeclareVariable("local", MakeTypeWord(FindTypeCode("int"), 0), 5), StepResult::Next());
  EXPECT_EQ(variables.DeclareVariable("G", MakeTypeWord(FindTypeCode("int"), 0), 5),
            StepResult::Error(kNameAlreadyVisible));
  variables.SetValue("g", 3);
  EXPECT_EQ(store.UsedCount(), 3);
  store.DestroyFrom(2);
  store.SetFunctionBase(1);
  EXPECT_EQ(variables.GetValue("local"), 2u);
  EXPECT_EQ(variables.GetValue("g"), 3u);
}

TEST_F(VariablesTest, DeletingMovesLaterRecordsDownWhole) {
  Declare("first", "char", 4);
  Declare("second", "short", 0, 7);
  Declare("third", "int");
  const std::int32_t withArray = arena.AllocationCount();
  variables.DeleteVariable("nothing");
  variables.DeleteVariable("FIRST");
  EXPECT_EQ(arena.AllocationCount(), withArray - 1);
  ASSERT_EQ(store.UsedCount(), 2);
  EXPECT_EQ(store.Record(0).name, "second");
  EXPECT_EQ(store.Record(0).type, MakeTypeWord(0x1A, 0));
  EXPECT_EQ(variables.GetValue("second"), 7u);
  EXPECT_EQ(store.Record(1).name, "third");
}

TEST_F(VariablesTest, TheStoreHolds1024Variables) {
  for (int i = 0; i < VariableStore::kCapacity; ++i)
    ASSERT_GE(variables.SetValue(std::string("v").append(std::to_string(i)), 1), 0);
  EXPECT_LT(variables.SetValue("one_more", 1), 0);
  EXPECT_GE(variables.SetValue("v7", 2), 0);
}

TEST_F(VariablesTest, ThePoolHolds1000TextsPerRun) {
  for (int i = 0; i < 1000; ++i) ASSERT_NE(variables.OperandValue("'t'"), 0u);
  EXPECT_EQ(variables.OperandValue("'t'"), 0u);
  pool.Empty();
  EXPECT_EQ(arena.AllocationCount(), 0);
  EXPECT_EQ(variables.TextAt(variables.OperandValue("\"again'")), "again");
}

TEST_F(VariablesTest, StringArraysHoldTextAddresses) {
  ASSERT_TRUE(variables.AllocateStringArray("s", 2));
  EXPECT_EQ(store.Record(0).type, 0x89000002u);
  EXPECT_TRUE(variables.SetStringElement("s", 1, "cd"));
  EXPECT_FALSE(variables.SetStringElement("s", 2, "x"));
  EXPECT_EQ(variables.TextAt(variables.GetStringElement("s", 1)), "cd");
  EXPECT_EQ(variables.GetStringElement("s", 0), 0u);
  EXPECT_EQ(variables.GetStringElement("s", 2), 0u);
  EXPECT_FALSE(variables.AllocateStringArray("S", 3));
  EXPECT_EQ(variables.ParserError(), kStringArrayFailed);
  // A count that does not fit the 24 count bits is refused, not folded into the type.
  EXPECT_FALSE(variables.AllocateStringArray("huge", 0x1000000));
  EXPECT_EQ(store.UsedCount(), 1);
}

}  // namespace
}  // namespace portprobe::parser

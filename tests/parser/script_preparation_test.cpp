#include "parser/language/script_preparation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parser/language/blocks.h"
#include "parser/language/index_words.h"
#include "parser/language/labels.h"
#include "parser/language/line_normalizer.h"
#include "parser/runtime/statement_table.h"
#include "parser/language/trace_file.h"
#include "parser/language/words.h"
#include "support/temp_dir.h"

namespace portprobe::parser {
namespace {

std::vector<ScriptLine> Lines(std::initializer_list<const char*> texts) {
  std::vector<ScriptLine> lines;
  for (const char* text : texts) lines.push_back({text, 0});
  return lines;
}

TEST(SplitLines, NumbersLinesByTheCarriageReturnsBeforeThem) {
  auto numbers = [](std::string_view text) {
    std::vector<std::pair<std::string, int>> result;
    for (const ScriptLine& line : SplitLines(text).lines) result.emplace_back(line.text, line.sourceLine);
    return result;
  };
  using Numbered = std::vector<std::pair<std::string, int>>;
  EXPECT_EQ(numbers("a\r\nb"), (Numbered{{"a", 1}, {"b", 1}}));
  EXPECT_EQ(numbers("a\r\nb\r\n"), (Numbered{{"a", 1}, {"b", 2}}));
  EXPECT_EQ(numbers("a\nb"), (Numbered{{"a", 0}, {"b", 0}}));
  // Blank lines are dropped but counted; lines are trimmed; bytes of 128 and up are text.
  EXPECT_EQ(numbers("a\r\n \t\r\n\r\n  b c \r\r\xC3\xA9"), (Numbered{{"a", 1}, {"b c", 4}, {"\xC3\xA9", 5}}));
  EXPECT_TRUE(SplitLines("").lines.empty());
}

TEST(SplitLines, KeepsAtMost4096Lines) {
  std::string text;
  for (int i = 0; i < 4096; ++i) text += "x\n";
  EXPECT_FALSE(SplitLines(text).overflow);
  const ScriptLineTable table = SplitLines(text + "\n\n y");
  EXPECT_TRUE(table.overflow);
  EXPECT_EQ(table.lines.size(), 4096u);
}

TEST(NormalizeLine, SpacesOperatorsOutsideQuotes) {
  EXPECT_EQ(NormalizeLine("x=a[1]+b"), "x = a [ 1 ] + b");
  EXPECT_EQ(NormalizeLine("a+=b"), "a += b");
  EXPECT_EQ(NormalizeLine("i++"), "i ++");
  EXPECT_EQ(NormalizeLine("++i"), "++ i");
  EXPECT_EQ(NormalizeLine("a=-1"), "a =- 1");
  EXPECT_EQ(NormalizeLine("~m"), "~m");
  EXPECT_EQ(NormalizeLine("a[]b"), "a [  ] b");  // the mark between the brackets is made twice
  EXPECT_EQ(NormalizeLine("x=1//note"), "x = 1");
  EXPECT_EQ(NormalizeLine("x = 1 ;"), "x = 1  ");
  EXPECT_EQ(NormalizeLine("for (i = 0; i < 8; i++)"), "for  i = 0  i < 8  i ++ ");
  EXPECT_EQ(NormalizeLine("echo \"a;b\""), "echo \"a;b\"");
  // Three quote bytes leave the rest of the line inside quotes: nothing is cut or spaced.
  EXPECT_EQ(NormalizeLine("echo \"it's\" x=1 // c"), "echo \"it's\" x=1 // c");
  // A closing bracket at the line's end is spaced like any other; other last bytes are not.
  EXPECT_EQ(NormalizeLine("print a[5]"), "print a [ 5 ]");
  EXPECT_EQ(NormalizeLine("int a[3] = {1,2,3}"), "int a [ 3 ] = { 1 2 3 }");
  EXPECT_EQ(NormalizeLine("x = a[]"), "x = a [  ]");
  EXPECT_EQ(NormalizeLine("echo ']'"), "echo ']'");
  EXPECT_EQ(NormalizeLine("echo 'x]"), "echo 'x]");  // inside an open quote
  EXPECT_EQ(NormalizeLine("]"), "]");
  EXPECT_EQ(NormalizeLine("i--"), "i --");
}

TEST(NormalizeLine, InsertsAtMost64Blanks) {
  std::string line = "a";
  for (int i = 0; i < 40; ++i) line += "+a";
  const std::string spaced = SpaceOperators(line);
  EXPECT_EQ(spaced.size(), line.size() + 64);
  EXPECT_EQ(spaced.substr(0, 8), "a + a + ");
}

TEST(SplitWords, SplitsOutsideQuotesAndDecodesEscapes) {
  EXPECT_EQ(SplitWords("echo \"a b\" c"), (Words{"echo", "\"a b\"", "c"}));
  EXPECT_EQ(SplitWords(" \t a\t \tb  "), (Words{"a", "b"}));
  // Single and double quotes are counted apart: one of each keeps the blank inside.
  EXPECT_EQ(SplitWords("'\" x"), (Words{"'\" x"}));
  EXPECT_EQ(SplitWords("\"x\\r\\n\" a\\qb c\\\\d e\\"), (Words{"\"x\r\n\"", "ab", "c\\d", "e"}));
  std::string many;
  for (int i = 0; i < 60; ++i) (many += "w") += std::to_string(i) + " ";
  const Words words = SplitWords(many);
  ASSERT_EQ(words.size(), 50u);
  EXPECT_EQ(words.back(), "w49");
}

TEST(JoinIndexWords, JoinsEachNameWithItsIndexOrSaysWhyNot) {
  Words words{"x", "=", "buf", "[", "i", "]", "+", "a", "[", "1", "]"};
  EXPECT_EQ(JoinIndexWords(words), IndexJoin::kJoined);
  EXPECT_EQ(words, (Words{"x", "=", "buf[i]", "+", "a[1]"}));
  Words leading{"[", "1", "]", "=", "5"};
  EXPECT_EQ(JoinIndexWords(leading), IndexJoin::kUnpaired);
  Words unclosed{"a", "[", "1"};
  EXPECT_EQ(JoinIndexWords(unclosed), IndexJoin::kUnpaired);
  Words closedByTheName{"]", "[", "x", "]"};
  EXPECT_EQ(JoinIndexWords(closedByTheName), IndexJoin::kNotJoined);
}

TEST(FindFunctions, RecognizesTwoWordHeadersWithTheirBodies) {
  const std::vector<ScriptLine> lines =
      Lines({"int n;", "void main()", "{", "if x", "{", "}", "}", "void main() {", "void f( )", "int avoid()", "x",
             "void MAIN()", "{", "}", "void last()"});
  const FunctionTable table = FindFunctions(lines);
  ASSERT_EQ(table.records.size(), 4u);
  EXPECT_EQ(table.records[0].name, "main");
  EXPECT_EQ(table.records[0].bodyStart, 2);
  EXPECT_EQ(table.records[0].bodyEnd, 6);
  EXPECT_EQ(table.records[1].name, "avoid");  // "avoid" contains "void"; a one-line body
  EXPECT_EQ(table.records[1].bodyStart, 10);
  EXPECT_EQ(table.records[1].bodyEnd, 10);
  // A header on the last line gets an empty body just past it, not lines 0..0.
  EXPECT_EQ(table.records[3].bodyStart, 15);
  EXPECT_EQ(table.records[3].bodyEnd, 15);
  EXPECT_EQ(FindFunction(table.records, "Main"), &table.records[0]);  // the first of two
  EXPECT_EQ(FindFunction(table.records, "missing"), nullptr);
}

TEST(FindFunctions, FlagsMoreThan100Headers) {
  std::vector<ScriptLine> lines;
  for (int i = 0; i < 101; ++i) lines.push_back({"void f" + std::to_string(i) + "()", 0});
  const FunctionTable table = FindFunctions(lines);
  EXPECT_TRUE(table.overflow);
  EXPECT_EQ(table.records.size(), 100u);
}

TEST(BlockExtent, CoversAStatementOrABalancedBlock) {
  const std::vector<ScriptLine> lines = Lines({"x", "{", "{ a", "}", "begin", "END", "} x", "{"});
  auto extent = [&lines](int index) {
    const auto range = BlockExtent(lines, index);
    return range ? std::pair{range->first, range->last} : std::pair{-9, -9};
  };
  EXPECT_EQ(extent(0), std::pair(0, 0));
  EXPECT_EQ(extent(1), std::pair(1, 6));
  EXPECT_EQ(extent(2), std::pair(2, 3));
  EXPECT_EQ(extent(4), std::pair(4, 5));
  EXPECT_EQ(extent(7), std::pair(-9, -9));  // never closed
  EXPECT_EQ(extent(8), std::pair(-9, -9));  // outside the table
  EXPECT_EQ(extent(-1), std::pair(-9, -9));
}

TEST(Labels, PackTheirFirstFourBytes) {
  EXPECT_EQ(LabelCode("ab:", true), 0x6162u);
  EXPECT_EQ(LabelCode("ab", true), 0u);
  EXPECT_EQ(LabelCode(":", true), 0u);
  EXPECT_EQ(LabelCode("loop1", false), LabelCode("loop2:", true));
  EXPECT_EQ(LabelCode("\xFF\x61\x62\x63x", false), 0xFF616263u);
  const std::vector<ScriptLine> lines = Lines({"x", "ab", "abcdef:", "ab:"});
  EXPECT_EQ(FindLabelLine(lines, LabelCode("abcd", false)), 2);
  EXPECT_EQ(FindLabelLine(lines, 0x6162u | 0x80000000u), 3);
  EXPECT_EQ(FindLabelLine(lines, LabelCode("zz", false)), -1);
  EXPECT_FALSE(IsExecutableLine("again:"));
  EXPECT_FALSE(IsExecutableLine("{ x = 1"));
  EXPECT_FALSE(IsExecutableLine("}"));
  EXPECT_FALSE(IsExecutableLine("Begin"));
  EXPECT_TRUE(IsExecutableLine(""));
  EXPECT_TRUE(IsExecutableLine("beginning"));
}

TEST(StatementTable, LendsEveryRowsArgumentToOperatorWords) {
  EXPECT_EQ(OperatorOf("Add"), Operator::kAdd);
  EXPECT_EQ(OperatorOf("!="), Operator::kNotEqual);
  EXPECT_EQ(OperatorOf("echo"), Operator::kAdd);
  EXPECT_EQ(OperatorOf("--"), Operator::kSubtract);
  EXPECT_EQ(OperatorOf("reverse"), Operator::kMultiply);
  EXPECT_EQ(OperatorOf("!"), std::nullopt);
  EXPECT_EQ(AssignmentCode("=="), 0);
}

TEST(PrepareScript, TracesTheLinesBeforeAndAfterNormalization) {
  const testing::TempDir temp;
  const std::filesystem::path& directory = temp.Path();
  const ScriptLineTable raw = SplitLines("int n;\r\nvoid main()\r\n{\r\n  x = 1 ;  \r\n}\r\n");
  const PreparedScript script = PrepareScript(raw);
  WriteScriptTraces(directory.string(), raw.lines, script.lines);
  EXPECT_EQ(testing::ReadFile(directory / "__parser__0.txt"),
            "0000__0001:\tint n;\r\n0001__0002:\tvoid main()\r\n0002__0003:\t{\r\n"
            "0003__0004:\tx = 1 ;\r\n0004__0005:\t}\r\n");
  EXPECT_EQ(testing::ReadFile(directory / "__parser__1.txt"),
            "0000__0001:\tint n \r\n0001__0002:\tvoid main  \r\n0002__0003:\t{\r\n"
            "0003__0004:\tx = 1  \r\n0004__0005:\t}\r\n");
  ASSERT_EQ(script.functions.size(), 1u);
  EXPECT_EQ(script.functions[0].bodyEnd, 4);
}

}  // namespace
}  // namespace portprobe::parser

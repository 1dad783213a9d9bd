#include <gtest/gtest.h>

#include "parser_run.h"

namespace portprobe::parser {
namespace {

using CommandsTest = ParserRunTest;

std::string Error(const char* fields) { return std::string(",ret=") + fields + ">\r\n"; }

// The error fields of the report that ends the output, or the whole output.
std::string ErrorOf(const std::string& printed) {
  const std::size_t ret = printed.rfind(",ret=");
  return ret == std::string::npos ? printed : printed.substr(ret);
}

TEST_F(CommandsTest, DeclarationsCreateTypedVariablesAndFillArrays) {
  EXPECT_EQ(PrintedByMain({"int a[3] = {1,2,3,4};", "echo a[0] a[1] a[2];"}),
            std::string("<Parser Error: Step 2,SrcLine=3") + Error("800a02d9,ExLine=729,Ex=a"));
  EXPECT_EQ(PrintedByMain({"int a[3] = {1,2,'0x10'};", "a[1] = 5;", "echo a[0] a[1] a[2];"}), "1516");
  EXPECT_EQ(PrintedByMain({"char * p = \"xy\";", "char * t[3] = {p, zz, 'q'};", "echo t[0] t[1] t[2] p;"}), "xyzzqxy");
  EXPECT_EQ(ErrorOf(PrintedByMain({"int x = 5", "int x = 6"})), Error("8008024b,ExLine=587,Ex=8"));
  EXPECT_EQ(ErrorOf(PrintedByMain({"int y = 1", "int x = y + 1"})), Error("8001033b,ExLine=827,Ex=1"));
  EXPECT_EQ(ErrorOf(PrintedByMain({"int a[2]", "[ 1 ] = 5"})), Error("800203b8,ExLine=952,Ex=2"));
  EXPECT_EQ(ErrorOf(PrintedByMain({"int a[0x800000];", "int b[0x800000];"})), Error("80070252,ExLine=594,Ex=7"));
  // A local may take the name of a caller's local, not that of a global.
  const std::string scopes = Script({"int g = 1", "void f()", "{", "int local = 2", "echo local", "int g", "}",
                                     "void main()", "{", "int local = 1", "f()", "}"});
  EXPECT_EQ(Printed(scopes), "2<Parser Error: Step 5,SrcLine=6" + Error("8008024b,ExLine=587,Ex=8"));
}

TEST_F(CommandsTest, EchoPrintsTextsNumbersAndVariables) {
  EXPECT_EQ(PrintedByMain({"int x = 5", "echo 'Hello ' x '\\r\\n' 0x41 \"\""}), "Hello 5\r\n0x41");
  EXPECT_EQ(PrintedByMain({"char b[3] = {0x48, 0x69, 0};", "char * p = 'text'", "int m = 0xFFFFFFFF",
                           "echo b ' ' b[0] ' ' p ' ' m"}),
            "Hi 72 text -1");
  EXPECT_EQ(ErrorOf(PrintedByMain({"echo 'a' missing 'b'"})), Error("800a02c5,ExLine=709,Ex=a"));
  const std::string longText(600, 'z');
  EXPECT_EQ(PrintedByMain({"echo '" + longText + "'"}), longText);
}

TEST_F(CommandsTest, PrintShowsANameAndValueInThreeFormats) {
  EXPECT_EQ(
      PrintedByMain({"int x = 255", "print x", "pv x 1", "printvar x 2", "print x 2 '!' y", "print x 7", "print"}),
      "x:255 x:0xff x:255 0xff x:255 0xff !yx:255 ");
  EXPECT_EQ(PrintedByMain({"print y"}), "y:-1 <Parser Error: Step 2,SrcLine=3" + Error("800a02a5,ExLine=677,Ex=a"));
}

TEST_F(CommandsTest, ListvarListsEveryVariableOnOneLine) {
  EXPECT_EQ(PrintedByMain({"listvar"}), "---------ListVariant-----------------total 0--------");
  EXPECT_EQ(Printed(Script({"a = 1", "void main()", "{", "set b 255", "lv", "}"})),
            "---------ListVariant--------var <a> = 1 1var <b> = ff 255---------total 2--------");
}

TEST_F(CommandsTest, StringArraysStoreAndPrintPooledTexts) {
  EXPECT_EQ(PrintedByMain({"allocstr s 3", "setstr s 0 'ab' 'cd'", "printstr s 0 ' ' 1", "echo ' ' s[0];"}),
            "ab cd ab");
  EXPECT_EQ(ErrorOf(PrintedByMain({"allocstr s 3", "printstr s 2"})), Error("80060315,ExLine=789,Ex=6"));
  EXPECT_EQ(PrintedByMain({"allocstr s 3", "setstr s 2 'x' 'y'", "printstr s 2"}),
            "<Parser Error: Step 3,SrcLine=4" + Error("800502f6,ExLine=758,Ex=5"));
  EXPECT_EQ(ErrorOf(PrintedByMain({"allocstr s 3", "allocstr s 3"})), Error("80080311,ExLine=785,Ex=8"));
  EXPECT_EQ(ErrorOf(PrintedByMain({"allocstr s 3 extra"})), Error("800202ad,ExLine=685,Ex=2"));
  EXPECT_EQ(ErrorOf(PrintedByMain({"allocstr s 0x1000000"})), Error("80080311,ExLine=785,Ex=8"));
  // An element of a char * array prints as text; print shows its address.
  const std::string printed = PrintedByMain({"allocstr s 2", "setstr s 0 'ab'", "print s[0];"});
  EXPECT_TRUE(printed.starts_with("s[0]:")) << printed;
  EXPECT_GT(std::stol(printed.substr(5)), 0);
}

TEST_F(CommandsTest, SetStoresValuesAndFrameFields) {
  const std::vector<std::uint8_t> frame = {0x01, 0x02, 0x03, 0x04};
  EXPECT_EQ(PrintedByMain({"set v 2 2", "print v 1", "set v 0 4", "print v 1", "set v 0 3", "print v", "set v 3 2",
                           "print v", "set v 0xFFFF 2", "print v", "= w v", "print w"},
                          frame),
            "v:0x403 v:0x4030201 v:0 v:4 v:256 w:256 ");
  EXPECT_EQ(PrintedByMain({"char c", "set c 300", "set n 300", "echo c ' ' n"}), "44 300");
  // Commands without the words they need do nothing.
  EXPECT_EQ(PrintedByMain({"set", "set x", "dv", "deletevar nothing", "setstr s 0", "printstr s", "listvar"}),
            "---------ListVariant-----------------total 0--------");
}

}  // namespace
}  // namespace portprobe::parser

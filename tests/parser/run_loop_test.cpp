#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "parser/runtime/result_codes.h"
#include "parser_run.h"
#include "support/temp_dir.h"

namespace portprobe::parser {
namespace {

using RunLoopTest = ParserRunTest;

std::string Report(int step, int sourceLine, const char* code) {
  return std::string("<Parser Error: Step ") + std::to_string(step) + ",SrcLine=" + std::to_string(sourceLine) +
         ",ret=" + code;
}

TEST_F(RunLoopTest, FramesEveryRunWithBannersAndTheGlobalCount) {
  const std::string example = Script({"int n;", "void main()", "{", "set n 0 1", "echo \"n=\" n \"\\r\\n\"", "}"});
  EXPECT_EQ(Run(example, {0x05}),
            std::string(kStartBanner) + GlobalCountLine(1) + "n=5\r\n" + std::string(kExitBanner));
  const std::string noMain = std::string(kStartBanner) + GlobalCountLine(1) +
                             "<Parser Error:No Main Function Found!>\r\n" + std::string(kExitBanner);
  EXPECT_EQ(Run("int n;\r\nchar c = 3;\r\n"), std::string(kStartBanner) + GlobalCountLine(2) +
                                                  "<Parser Error:No Main Function Found!>\r\n" +
                                                  std::string(kExitBanner));
  EXPECT_EQ(Run("int n"), noMain);
  // The script ends at its first 00 byte.
  EXPECT_EQ(Run(std::string("int n\0void main()\n{\necho 'x'\n}", 28)), noMain);
  EXPECT_EQ(Printed(Script({"void f()", "{", "}", "void MAIN()", "{", "echo 'in main'", "}"})), "in main");
  EXPECT_EQ(parser_.AllocationCount(), 0);
}

TEST_F(RunLoopTest, AnEmptyScriptWritesEmptyTraceFiles) {
  const testing::TempDir temp;
  const std::filesystem::path& directory = temp.Path();
  parser_.SetTraceFolder(directory.string());
  const std::string output = Run("");
  EXPECT_EQ(output, std::string(kStartBanner) + GlobalCountLine(0) + "<Parser Error:No Main Function Found!>\r\n" +
                        std::string(kExitBanner));
  EXPECT_TRUE(std::filesystem::exists(directory / "__parser__0.txt"));
  EXPECT_EQ(std::filesystem::file_size(directory / "__parser__0.txt"), 0u);
  EXPECT_EQ(std::filesystem::file_size(directory / "__parser__1.txt"), 0u);
}

TEST_F(RunLoopTest, TheGlobalPassStopsAtTheFirstResultOtherThanNext) {
  EXPECT_EQ(
      Run(Script({"x = 1", "loop:", "{", "}", "exit", "void main()", "{", "echo 'main'", "}"})),
      std::string(kStartBanner) + GlobalCountLine(1) + Report(4, 5, "0,ExLine=0,Ex=0>\r\n") + std::string(kExitBanner));
  EXPECT_EQ(Printed(Script({"while 1"})), Report(0, 1, "5,ExLine=5,Ex=0>\r\n"));
  EXPECT_EQ(Printed(Script({"if 0"})), Report(0, 1, "2,ExLine=2,Ex=0>\r\n"));
  EXPECT_EQ(Printed(Script({"if 1 goto x"})), Report(0, 1, "78,ExLine=120,Ex=0>\r\n"));
  // A global for runs its init part; its condition stops the pass like a global while.
  EXPECT_EQ(
      Run(Script({"for (i = 0; i < 2; i++)", "echo i"})),
      std::string(kStartBanner) + GlobalCountLine(1) + Report(0, 1, "6,ExLine=6,Ex=0>\r\n") + std::string(kExitBanner));
  // A failed lookup only has the effect its statement gives it: print goes on, echo stops.
  EXPECT_EQ(Run(Script({"print y", "echo y", "void main()", "{", "echo 'main'", "}"})),
            std::string(kStartBanner) + "y:-1 " + GlobalCountLine(0) + Report(1, 2, "800a00c6,ExLine=198,Ex=a>\r\n") +
                std::string(kExitBanner));
}

TEST_F(RunLoopTest, ReportsErrorsWithTheLineThatRaisedThem) {
  EXPECT_EQ(PrintedByMain({"int a", "a = b"}), Report(3, 4, "800a02a5,ExLine=677,Ex=a>\r\n"));
  // The step is that of the called function's line, and the caller stops there.
  EXPECT_EQ(Printed(Script({"void check()", "{", "foo", "}", "void main()", "{", "check(1, 2)", "echo 'after'", "}"})),
            Report(2, 3, "8001033b,ExLine=827,Ex=1>\r\n"));
  EXPECT_EQ(PrintedByMain({"goto ab"}), Report(2, 3, "6162,ExLine=24930,Ex=0>\r\n"));
  EXPECT_EQ(PrintedByMain({"goto a", "echo 'not reached'"}), "");
  EXPECT_EQ(PrintedByMain({"goto loop2", "echo 'skipped'", "loop1:", "echo 'found'"}), "found");
  EXPECT_EQ(PrintedByMain({"x = 1 / 0"}), Report(2, 3, "800a02a5,ExLine=677,Ex=a>\r\n"));
  EXPECT_EQ(PrintedByMain({"int x", "x = 1 / 0"}), Report(3, 4, "800c0001,ExLine=1,Ex=c>\r\n"));
  EXPECT_EQ(PrintedByMain({"if 1 / 0", "echo 'x'"}), Report(2, 3, "800c0001,ExLine=1,Ex=c>\r\n"));
  EXPECT_EQ(PrintedByMain({"main()"}), Report(2, 3, "800d0001,ExLine=1,Ex=d>\r\n"));
}

TEST_F(RunLoopTest, ConditionsSkipTheNextStatementOrBlock) {
  EXPECT_EQ(PrintedByMain({"int x = 1", "if x goto done", "echo 'no'", "done:", "echo 'jumped'"}), "jumped");
  EXPECT_EQ(PrintedByMain({"int x = 0", "if x goto done", "echo 'next'", "done:"}), "next");
  EXPECT_EQ(PrintedByMain({"int a = 1", "int b = 2", "if a < b", "{", "echo 'A'", "echo 'B'", "}", "if b < a", "{",
                           "echo 'C'", "}", "if b < a", "echo 'D'", "echo 'E'"}),
            "ABE");
  // Words after the third are ignored: "a + b < c" tests a + b.
  EXPECT_EQ(PrintedByMain({"int a = 1", "int b = 0", "int c = 0", "if a + b < c", "echo 'sum'"}), "sum");
  // A callee that ends on a false if makes its caller skip the line after the call.
  EXPECT_EQ(
      Printed(Script({"void f()", "{", "if 0", "}", "void main()", "{", "f()", "echo 'skipped'", "echo 'shown'", "}"})),
      "shown");
  // A function that executes nothing yields next.
  EXPECT_EQ(Printed(Script({"void f()", "{", "}", "void main()", "{", "f()", "echo 'after'", "}"})), "after");
  EXPECT_EQ(PrintedByMain({"exit 4 0", "echo 'short'"}, {1, 2, 3}), "short");
  EXPECT_EQ(PrintedByMain({"exit 4 0", "echo 'long'"}, {1, 2, 3, 4}), "");
  EXPECT_EQ(PrintedByMain({"exit 4 1", "echo 'never'"}, {1, 2, 3, 4}), "never");
  EXPECT_EQ(Printed(Script({"void f()", "{", "exit", "}", "void main()", "{", "f()", "echo 'no'", "}"})), "");
}

TEST_F(RunLoopTest, LoopsRepeatTheirBodies) {
  EXPECT_EQ(PrintedByMain({"int i", "for (i = 0; i < 3; i++)", "{", "echo i", "}", "echo '/' i"}), "012/3");
  EXPECT_EQ(PrintedByMain({"int i", "for (i = 0; i < 3; i += 2)", "echo i", "echo '/' i"}), "02/4");
  EXPECT_EQ(PrintedByMain({"int i", "for (i = 0; i < 3; i--)", "echo i", "echo '/' i"}), "0/-1");
  EXPECT_EQ(PrintedByMain({"for (i = 0; i < 3; i++)", "echo i"}), Report(2, 3, "800a02a5,ExLine=677,Ex=a>\r\n"));
  EXPECT_EQ(PrintedByMain({"int n = 3", "while n", "{", "echo n", "-- n", "}", "echo '.'"}), "321.");
  // The outer body is the inner head alone: the inner head ends main with its result.
  EXPECT_EQ(PrintedByMain({"int a = 1", "int b = 1", "while a", "while b", "echo 'x'", "echo 'end'"}), "");
  EXPECT_EQ(PrintedByMain({"int a = 1", "int b = 0", "while a", "while b", "echo 'x'", "echo 'end'"}), "");
  EXPECT_EQ(PrintedByMain({"int n = 0", "while n < 3", "{", "++ n", "if n == 2 goto out", "}", "out:", "echo n"}), "2");
}

TEST(StepResult, ReadsItsKindFromTheRawWord) {
  using Kind = StepResult::Kind;
  EXPECT_EQ(StepResult::Loop(StepResult::LoopKind::kWhile).raw(), 5u);
  EXPECT_EQ(StepResult::Loop(StepResult::LoopKind::kFor).kind(), Kind::kEnterFor);
  EXPECT_EQ(StepResult::Jump(0x6162).kind(), Kind::kJump);
  // Label codes that look like other results act as those results.
  EXPECT_EQ(StepResult::Jump(0).kind(), Kind::kStop);
  EXPECT_EQ(StepResult::Jump(0xFF616263u).kind(), Kind::kError);
  EXPECT_EQ(StepResult::Error(kRecursiveCall).raw(), kRecursiveCall);
}

TEST_F(RunLoopTest, RepeatedLinesRunFromTheWordsSplitWhenPrepared) {
  // A line with index words runs on the words joined when it was prepared, and its
  // escapes stay decoded, however often it runs.
  EXPECT_EQ(
      PrintedByMain({"int a[3]", "int i = 0", "while i < 3", "{", "a[i] = i + 5", "echo a[i] '\\r'", "++ i", "}"}),
      "5\r6\r7\r");
  // A declaration reads its brackets apart on every call.
  const std::string twice =
      Script({"void f()", "{", "int b[2] = {1,2}", "echo b[1]", "}", "void main()", "{", "f()", "f()", "}"});
  EXPECT_EQ(Printed(twice), "22");
  EXPECT_EQ(Printed(twice), "22");
}

TEST_F(RunLoopTest, TenLoopsCanBeLiveInOneFunction) {
  auto nested = [this](int depth) {
    std::string text = Script({"void main()", "{"});
    for (int i = 0; i < depth; ++i) text += "while 1\r\n{\r\n";
    text += "echo 'deep'\r\nexit\r\n";
    for (int i = 0; i < depth; ++i) text += "}\r\n";
    return Printed(text + "}\r\n");
  };
  EXPECT_EQ(nested(10), "deep");
  EXPECT_EQ(nested(11), "");
}

TEST_F(RunLoopTest, OversizedScriptsAreNotRun) {
  std::string lines;
  for (int i = 0; i < 4097; ++i) lines += "echo 'x'\n";
  EXPECT_EQ(Run(lines),
            std::string(kStartBanner) + Report(0, 0, "800b1000,ExLine=4096,Ex=b>\r\n") + std::string(kExitBanner));
  std::string functions;
  for (int i = 0; i < 101; ++i) functions += "void f" + std::to_string(i) + "()\r\n{\r\n}\r\n";
  EXPECT_EQ(Run(functions),
            std::string(kStartBanner) + Report(0, 1, "800b0064,ExLine=100,Ex=b>\r\n") + std::string(kExitBanner));
}

TEST_F(RunLoopTest, AStepLimitEndsARunThatNeverEnds) {
  parser_.SetStepLimit(100);
  EXPECT_EQ(PrintedByMain({"int a[4];", "set s 'text'", "again:", "goto again"}),
            Report(5, 6, "800e0002,ExLine=2,Ex=e>\r\n"));
  EXPECT_EQ(parser_.AllocationCount(), 0);
}

TEST_F(RunLoopTest, AStopRequestEndsTheRunAtItsNextLine) {
  const std::string endless = Script({"void main()", "{", "again:", "echo 'x'", "goto again", "}"});
  std::string output;
  PacketParser stopping([&](std::string_view text) {
    output += text;
    if (text == "x") stopping.RequestStop();
  });
  stopping.RunParser(endless, {});
  EXPECT_EQ(output, std::string(kStartBanner) + GlobalCountLine(0) + "x" + Report(4, 5, "800e0001,ExLine=1,Ex=e>\r\n") +
                        std::string(kExitBanner));
  // Each run starts without a request.
  stopping.RequestStop();
  output.clear();
  stopping.RunParser(Script({"void main()", "{", "echo 'y'", "}"}), {});
  EXPECT_EQ(output, std::string(kStartBanner) + GlobalCountLine(0) + "y" + std::string(kExitBanner));
}

TEST_F(RunLoopTest, AStopCanBeRequestedFromAnotherThread) {
  std::atomic<bool> running{false};
  std::string output;
  PacketParser parser([&](std::string_view text) {
    output += text;
    running = true;
  });
  std::thread stopper([&] {
    while (!running) std::this_thread::yield();
    parser.RequestStop();
  });
  parser.RunParser(Script({"void main()", "{", "again:", "goto again", "}"}), {});
  stopper.join();
  EXPECT_NE(output.find(",ret=800e0001,"), std::string::npos);
}

TEST_F(RunLoopTest, EveryRunReleasesWhatItAllocated) {
  const std::string script =
      Script({"char * g[2] = {'a', 'b'};", "void f()", "{", "int local[8];", "allocstr s 3", "setstr s 0 'x' 'y'",
              "missing", "}", "void main()", "{", "int m[2];", "f()", "}"});
  const std::string first = Run(script);
  EXPECT_NE(first.find(",ret=8001033b,"), std::string::npos);
  EXPECT_TRUE(first.ends_with(kExitBanner));
  EXPECT_EQ(Run(script), first);
  EXPECT_EQ(parser_.AllocationCount(), 0);
}

TEST_F(RunLoopTest, AHeaderOnTheLastLineKeepsTheGlobalLines) {
  EXPECT_EQ(Run(Script({"echo 'first'", "void main()"})),
            std::string(kStartBanner) + "first" + GlobalCountLine(0) + std::string(kExitBanner));
}

}  // namespace
}  // namespace portprobe::parser

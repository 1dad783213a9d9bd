#include "app/terminal_app.h"

#include <gtest/gtest.h>

#include "support/cli_run.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

TEST(TerminalArguments, LineOptionsBecomeTheTextsOfTheirRowsInEitherForm) {
  const Expected<TerminalOptions> options = TerminalApp::ParseArguments(
      {"--baud", "250000", "--parity=mark", "--data-bits", "5", "--stop-bits=1.5", "--text", "--port", "/dev/ttyUSB3"});
  ASSERT_TRUE(options) << options.Reason();
  EXPECT_EQ(options->baudText, "250000");
  EXPECT_EQ(options->parityText, "标志Mark");
  EXPECT_EQ(options->dataBitsText, "5");
  EXPECT_EQ(options->stopBitsText, "1.5");
  EXPECT_TRUE(options->characterDisplay);
  EXPECT_EQ(options->leadingPorts, std::vector<std::string>{"/dev/ttyUSB3"});
  EXPECT_EQ(options->request, TerminalOptions::Request::OpenWindow);

  const Expected<TerminalOptions> plain = TerminalApp::ParseArguments({"--parity", "space", "--baud=9600"});
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->parityText, "空格Space");
  EXPECT_EQ(plain->baudText, "9600");
  EXPECT_FALSE(plain->dataBitsText);
  EXPECT_FALSE(plain->characterDisplay);
  // Nothing is remembered unless the application names the file.
  EXPECT_EQ(plain->settingsFile, "");

  EXPECT_EQ(TerminalApp::ParseArguments({"--text", "--help"})->request, TerminalOptions::Request::PrintHelp);
  EXPECT_EQ(TerminalApp::ParseArguments({"--version"})->request, TerminalOptions::Request::PrintVersion);
}

TEST(TerminalArguments, ABadValueOrUnknownOptionIsAUsageMistake) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{"--baud", "0"},
                                                                                    {"--baud=-9600"},
                                                                                    {"--baud", "96oo"},
                                                                                    {"--baud", "4294967296"},
                                                                                    {"--baud"},
                                                                                    {"--parity", "Odd"},
                                                                                    {"--parity=n"},
                                                                                    {"--data-bits", "9"},
                                                                                    {"--data-bits=4"},
                                                                                    {"--stop-bits", "3"},
                                                                                    {"--stop-bits", "1,5"},
                                                                                    {"--text=yes"},
                                                                                    {"--help=1"},
                                                                                    {"--speed", "9600"},
                                                                                    {"9600"},
                                                                                    {"--port"}}) {
    const Expected<TerminalOptions> options = TerminalApp::ParseArguments(args);
    EXPECT_FALSE(options) << args[0];
    EXPECT_NE(options.Reason().find("usage: portprobe"), std::string::npos) << args[0];
  }
  EXPECT_NE(TerminalApp::ParseArguments({"--parity", "Odd"}).Reason().find("\"Odd\" for --parity"), std::string::npos);
}

// The real program, as a shell without a display starts it (ssh, scripts): answering
// the command line must not need one.
class TerminalProgram : public ::testing::Test {
 protected:
  testing::CliRun Run(const std::vector<std::string>& args) { return testing::RunProgram(PORTPROBE_PATH, args); }

  testing::TempDir config_;
  testing::ScopedEnvironment platform_{"QT_QPA_PLATFORM", "xcb"};
  testing::ScopedEnvironment display_{"DISPLAY", ":4711"};
  testing::ScopedEnvironment configHome_{"XDG_CONFIG_HOME", config_.Path().string()};
};

TEST_F(TerminalProgram, HelpAndVersionPrintAndEnd) {
  const testing::CliRun help = Run({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_EQ(help.out.rfind("usage: portprobe [--port NAME|PATH]...", 0), 0u) << help.out;
  EXPECT_NE(help.out.find("--stop-bits N"), std::string::npos);
  const testing::CliRun version = Run({"--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.out, "portprobe 5.0\n");
  // Neither touches the remembered settings.
  EXPECT_TRUE(std::filesystem::is_empty(config_.Path()));
}

TEST_F(TerminalProgram, ABadValueGivesTheUsageAndExitStatus2) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--baud", "fast"},
           {"--parity=odd", "--data-bits=9"},
           {"--stop-bits"},
           {"--text", "--bogus"},
           {"--baud", "-5"},
           {"--port", "-x", "--data-bits", "-8"}}) {
    const testing::CliRun run = Run(args);
    EXPECT_EQ(run.exitStatus, 2) << args[0];
    EXPECT_EQ(run.out, "");
    // The usage comes first, with no warning of Qt's in front.
    EXPECT_EQ(run.err.rfind("portprobe: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("usage: portprobe"), std::string::npos) << run.err;
  }
  EXPECT_TRUE(std::filesystem::is_empty(config_.Path()));
}

}  // namespace
}  // namespace portprobe

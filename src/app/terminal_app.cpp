#include "app/terminal_app.h"

#include <QApplication>
#include <QStandardPaths>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <span>

#include "app/desktop.h"
#include "app/main_dialog.h"
#include "app/qt_translations.h"
#include "common/option_word.h"
#include "ui/qt_prompter.h"

namespace portprobe {

namespace {

constexpr const char* kUsage =
    "usage: portprobe [--port NAME|PATH]... [--baud N] [--parity none|odd|even|mark|space]\n"
    "                 [--data-bits 5-8] [--stop-bits 1|1.5|2] [--text] [--help] [--version]\n";

constexpr const char* kPortHelp = R"(
  --port NAME|PATH   list this port first, so that the start-up open takes it
)";

constexpr const char* kHelpDetails = R"(  --text             show received data as characters instead of hex
  Options may also be written --option=value. The line options and --text hold for
  this run only: the remembered settings stay as they are until you change something.

)";
constexpr const char* kExitStatusHelp = "Exit status: 0 the window was closed, or --help or --version; 2 bad arguments.\n";

Failure BadValue(const std::string& option, const std::string& value) {
  return Failure{"portprobe: bad value \"" + value + "\" for " + option + "\n" + kUsage};
}

}  // namespace

Expected<TerminalOptions> TerminalApp::ParseArguments(const std::vector<std::string>& args) {
  TerminalOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto [name, value] = SplitOptionWord(arg);

    if (name == "--text" || name == "--help" || name == "--version") {
      if (value) return Failure{"portprobe: " + name + " takes no value\n" + kUsage};
      if (name == "--text") options.characterDisplay = true;
      if (name == "--help") options.request = TerminalOptions::Request::PrintHelp;
      if (name == "--version" && options.request == TerminalOptions::Request::OpenWindow) {
        options.request = TerminalOptions::Request::PrintVersion;
      }
      continue;
    }
    if (name != "--port" && !IsLineOption(name)) {
      return Failure{"portprobe: unknown option \"" + arg + "\"\n" + kUsage};
    }
    if (!value) {
      if (i + 1 == args.size()) return Failure{"portprobe: " + name + " needs a value\n" + kUsage};
      value = args[++i];
    }
    if (name == "--port") {
      options.leadingPorts.push_back(*value);
      continue;
    }
    if (!SetLineOption(options, name, *value)) return BadValue(name, *value);
  }
  return options;
}

namespace {

// Prints what a command line without a window asks for, or why it is wrong; the exit code.
int AnswerWithoutWindow(const Expected<TerminalOptions>& options) {
  if (!options) {
    std::fputs(options.Reason().c_str(), stderr);
    return 2;
  }
  if (options->request == TerminalOptions::Request::PrintHelp) {
    std::fputs(kUsage, stdout);
    std::fputs(kPortHelp, stdout);
    std::fputs(kLineOptionsHelp, stdout);
    std::fputs(kHelpDetails, stdout);
    std::fputs(desktop::SettingsPlaceText(), stdout);
    std::fputs(kExitStatusHelp, stdout);
  } else {
    std::puts("portprobe " PORTPROBE_VERSION);
  }
  return 0;
}

// Qt's own options (-platform, -style ...) start with a single dash; the value of one
// of ours (--baud -5) is none of them.
bool HasQtOption(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const auto [name, value] = SplitOptionWord(args[i]);
    if ((name == "--port" || IsLineOption(name)) && !value) {
      ++i;
    } else if (args[i].starts_with('-') && !args[i].starts_with("--")) {
      return true;
    }
  }
  return false;
}

}  // namespace

// Help, version and usage mistakes are answered before Qt looks for a display, so they
// work over ssh and in scripts; Qt's own options are known only once it took them.
int TerminalApp::Run(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const Expected<TerminalOptions> early = ParseArguments(args);
  const bool window = early && early->request == TerminalOptions::Request::OpenWindow;
  if (!window && (early || !HasQtOption(args))) return AnswerWithoutWindow(early);
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("PortProbe"));
  Expected<TerminalOptions> options = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (!options || options->request != TerminalOptions::Request::OpenWindow) return AnswerWithoutWindow(options);
  if (InstallQtTranslations(&application) == nullptr) {
    std::fputs("portprobe: Qt's Chinese translations are missing (Debian: qt6-translations-l10n)\n", stderr);
  }
  options->settingsFile = (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/portprobe/portprobe.ini"))
                              .toStdString();
  ui::QtPrompter prompter;
  MainDialog dialog(prompter, *options);
  dialog.exec();
  return 0;
}

}  // namespace portprobe

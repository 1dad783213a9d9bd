#include "app/terminal_app.h"

#include <QApplication>
#include <QStandardPaths>
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <span>

#include "app/main_dialog.h"
#include "app/qt_translations.h"
#include "ui/qt_prompter.h"

namespace portprobe {

namespace {

constexpr const char* kUsage =
    "usage: portprobe [--port NAME|PATH]... [--baud N] [--parity none|odd|even|mark|space]\n"
    "                 [--data-bits 5-8] [--stop-bits 1|1.5|2] [--text] [--help] [--version]\n";

constexpr const char* kHelpDetails = R"(
  --port NAME|PATH   list this port first, so that the start-up open takes it
  --baud N           baud rate, any positive number (one the list lacks is typed in)
  --parity NAME      none, odd, even, mark or space
  --data-bits N      5, 6, 7 or 8
  --stop-bits N      1, 1.5 or 2 (Linux gives 1.5 stop bits only with 5 data bits)
  --text             show received data as characters instead of hex
  Options may also be written --option=value. The line options and --text hold for
  this run only: the remembered settings stay as they are until you change something.

Settings are remembered in $XDG_CONFIG_HOME/portprobe/portprobe.ini
(default ~/.config/portprobe/portprobe.ini).
Exit status: 0 the window was closed, or --help or --version; 2 bad arguments.
)";

Failure BadValue(const std::string& option, const std::string& value) {
  return Failure{"portprobe: bad value \"" + value + "\" for " + option + "\n" + kUsage};
}

// The text of the row of `rows` that `value` names in `names`, or nothing.
template <std::size_t N>
std::optional<std::string> RowText(const std::array<const char*, N>& names, const std::array<const char*, N>& rows,
                                   const std::string& value) {
  const auto found = std::find(names.begin(), names.end(), value);
  if (found == names.end()) return std::nullopt;
  return rows[static_cast<std::size_t>(found - names.begin())];
}

std::optional<std::string> BaudText(const std::string& value) {
  std::uint32_t rate = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), rate);
  if (error != std::errc() || end != value.data() + value.size() || rate == 0) return std::nullopt;
  return std::to_string(rate);
}

// An option that takes a value: its name and where the value goes.
struct ValueOption {
  const char* name;
  std::optional<std::string> (*text)(const std::string& value);
  std::optional<std::string> TerminalOptions::*field;
};

const ValueOption kValueOptions[] = {
    {"--baud", BaudText, &TerminalOptions::baudText},
    {"--parity", [](const std::string& v) { return RowText(kParityNames, kParityRows, v); },
     &TerminalOptions::parityText},
    {"--data-bits", [](const std::string& v) { return RowText(kDataBitsRows, kDataBitsRows, v); },
     &TerminalOptions::dataBitsText},
    {"--stop-bits", [](const std::string& v) { return RowText(kStopBitsRows, kStopBitsRows, v); },
     &TerminalOptions::stopBitsText},
};

}  // namespace

Expected<TerminalOptions> TerminalApp::ParseArguments(const std::vector<std::string>& args) {
  TerminalOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    std::optional<std::string> value;
    if (equals != std::string::npos) value = arg.substr(equals + 1);

    if (name == "--text" || name == "--help" || name == "--version") {
      if (value) return Failure{"portprobe: " + name + " takes no value\n" + kUsage};
      if (name == "--text") options.characterDisplay = true;
      if (name == "--help") options.request = TerminalOptions::Request::PrintHelp;
      if (name == "--version" && options.request == TerminalOptions::Request::OpenWindow) {
        options.request = TerminalOptions::Request::PrintVersion;
      }
      continue;
    }
    const auto option = std::find_if(std::begin(kValueOptions), std::end(kValueOptions),
                                     [&](const ValueOption& o) { return name == o.name; });
    if (name != "--port" && option == std::end(kValueOptions)) {
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
    const std::optional<std::string> text = option->text(*value);
    if (!text) return BadValue(name, *value);
    options.*option->field = text;
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
    std::fputs(kHelpDetails, stdout);
  } else {
    std::puts("portprobe " PORTPROBE_VERSION);
  }
  return 0;
}

// Qt's own options (-platform, -style ...) start with a single dash.
bool HasQtOption(const std::vector<std::string>& args) {
  return std::any_of(args.begin(), args.end(),
                     [](const std::string& arg) { return arg.starts_with('-') && !arg.starts_with("--"); });
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

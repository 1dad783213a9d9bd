#include "app/terminal_app.h"

#include <QApplication>
#include <cstdio>

#include "app/main_dialog.h"
#include "app/qt_translations.h"
#include "ui/qt_prompter.h"

namespace portprobe {

Expected<TerminalOptions> TerminalApp::ParseArguments(const std::vector<std::string>& args) {
  TerminalOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--port" && i + 1 < args.size()) {
      options.leadingPorts.push_back(args[++i]);
    } else if (args[i].starts_with("--port=")) {
      options.leadingPorts.push_back(args[i].substr(7));
    } else {
      return Failure{"usage: portprobe [--port NAME|PATH]..."};
    }
  }
  return options;
}

int TerminalApp::Run(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("PortProbe"));
  if (InstallQtTranslations(&application) == nullptr) {
    std::fputs("portprobe: Qt's Chinese translations are missing (Debian: qt6-translations-l10n)\n", stderr);
  }
  const Expected<TerminalOptions> options = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (!options) {
    std::fprintf(stderr, "%s\n", options.Reason().c_str());
    return 2;
  }
  ui::QtPrompter prompter;
  MainDialog dialog(prompter, *options);
  dialog.exec();
  return 0;
}

}  // namespace portprobe

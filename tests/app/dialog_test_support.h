#pragma once

#include <QComboBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "app/terminal_options.h"
#include "resources/control_ids.h"
#include "support/pty_pair.h"
#include "support/scoped_environment.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "ui/plain_text_view.h"
#include "support/ports_first.h"

namespace portprobe::testing {

// Picks a row of a list as the user would.
inline void Choose(QComboBox* list, int row) {
  list->setCurrentIndex(row);
  emit list->activated(row);
}

// Opens the tools menu with a right click on the window's surface and picks the entry
// with this command id (-1: none).
inline void ChooseTool(MainDialog& window, ScriptedPrompter& prompter, int id) {
  prompter.menuChoices.push_back(id);
  QTest::mouseClick(&window, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
}

// Shows the window as the one the user works in, so that keys reach its focus widget.
inline void ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

// A key as the user presses it: to the window that has the keyboard, through the
// application, which hands it to the focus widget or an open popup and runs shortcuts.
inline void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWindow* window = QGuiApplication::focusWindow();
  ASSERT_NE(window, nullptr);
  QTest::keyClick(window, key, modifiers);
}

inline void TypeText(const QString& text) {
  QWindow* window = QGuiApplication::focusWindow();
  ASSERT_NE(window, nullptr);
  for (QChar c : text) QTest::keyClick(window, c.toLatin1());
}

// Makes a folder the current directory for as long as it lives, so a test sees what
// the terminal would leave in a user's working directory.
class CurrentDirectory {
 public:
  explicit CurrentDirectory(const std::filesystem::path& folder) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~CurrentDirectory() { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

// A window connected to a pseudo-terminal, with a folder of the test's own that
// holds files and checksum programs and is the current directory, and a state folder
// of its own (StateFile).
class ConnectedWindowTest : public ::testing::Test {
 protected:
  ConnectedWindowTest()
      : currentDirectory_(folder_.Path()),
        stateHome_("XDG_STATE_HOME", stateFolder_.Path().string()),
        dialog_(prompter_, Options()) {}

  TerminalOptions Options() {
    TerminalOptions options = PortsFirst({pty_.SlavePath()});
    options.checksumProgramDirectory = folder_.Path().string();
    options.helpFile = folder_.File("readme.txt");
    options.labelRestoreMilliseconds = 50;  // no test waits the full five seconds
    return options;
  }

  ui::PlainTextView* SendBox() { return dialog_.SendBox(); }
  QString SendText() { return SendBox()->ToPlainText(); }
  void SetSendText(const QString& text) { SendBox()->SetText(text.toStdString()); }
  void Click(int id) { dialog_.Button(id)->click(); }
  // A file that the terminal keeps in its state folder.
  std::string StateFile(const std::string& name) const { return (stateFolder_.Path() / "portprobe" / name).string(); }

  PtyPair pty_;
  TempDir folder_;
  TempDir stateFolder_;
  CurrentDirectory currentDirectory_;
  ScopedEnvironment stateHome_;
  ScriptedPrompter prompter_;
  MainDialog dialog_;
};

}  // namespace portprobe::testing

#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <cstdlib>

#include "app/main_dialog.h"
#include "support/ports_first.h"
#include "support/pty_pair.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace portprobe::bench {

// The main window, shown active and connected to a pseudo-terminal, with a home folder
// of its own so that nothing it writes lands in the user's.
struct WindowUnderTest {
  WindowUnderTest() {
    dialog.show();
    dialog.activateWindow();
    ready = QTest::qWaitForWindowActive(&dialog) && dialog.IsOpen();
  }

  // Posts a key press and release to the focus widget, as the desktop delivers a key;
  // the event loop hands it on.
  void PostKey(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QWidget* focus = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &dialog;
    QCoreApplication::postEvent(focus, new QKeyEvent(QEvent::KeyPress, key, modifiers, text));
    QCoreApplication::postEvent(focus, new QKeyEvent(QEvent::KeyRelease, key, modifiers, text));
  }

  testing::TempDir home;
  int homeSet = ::setenv("HOME", home.Path().c_str(), 1);  // before the window exists
  testing::PtyPair pty;
  testing::ScriptedPrompter prompter;
  MainDialog dialog{prompter, testing::PortsFirst({pty.SlavePath()})};
  bool ready = false;
};

}  // namespace portprobe::bench

#include "app/terminal_app.h"

int main(int argc, char** argv) {
  portprobe::TerminalApp app;
  return app.Run(argc, argv);
}

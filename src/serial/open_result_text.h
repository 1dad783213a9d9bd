#pragma once

#include "serial/serial_link.h"

namespace portprobe {

// What an open that did not succeed says: in the window (%1: the port's name) and on
// the command line. Empty texts for an open that succeeded.
struct OpenResultText {
  const char* window;
  const char* commandLine;
};

OpenResultText TextOf(SerialLink::OpenResult result);

// What a server on the network did not do as asked, in the same two places; the
// window's text of RemoteNotice::NoAnswer has %1 for the port's name.
OpenResultText TextOf(RemoteNotice notice);

}  // namespace portprobe

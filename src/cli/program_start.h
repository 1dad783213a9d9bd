#pragma once

#include <string>
#include <vector>

namespace portprobe::cli {

// Readies the process for the commands and returns the arguments after the program's
// name as UTF-8, so every command sees the same bytes on every system. On Windows the
// arguments are taken from the UTF-16 command line (the ANSI code page cannot hold
// every name), the standard streams pass bytes unchanged (no CR before each LF), and
// a console shows UTF-8 while the program runs.
std::vector<std::string> StartProgram(int argc, char** argv);

}  // namespace portprobe::cli

#pragma once

#include <spawn.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace portprobe::testing {

// Starts `program` with `args` after its own name and the file actions given; -1 when
// it cannot be started.
pid_t SpawnProgram(const std::string& program, const std::vector<std::string>& args,
                   const posix_spawn_file_actions_t& actions);

// The exit status of a child once it has ended, or -1 when a signal ended it or it is
// still running after `timeoutMs`. `pid` becomes -1 once the child is reaped.
int WaitForChild(pid_t& pid, int timeoutMs);

}  // namespace portprobe::testing

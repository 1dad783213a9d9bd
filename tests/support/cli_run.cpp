#include "support/cli_run.h"

#include <sys/wait.h>

#include <cstdlib>

#include "support/temp_dir.h"

namespace portprobe::testing {

CliRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                  const std::string& workingDirectory) {
  const TempDir outputs;
  std::string command;
  if (!workingDirectory.empty()) command = "cd '" + workingDirectory + "' && ";
  command += "'" + program + "'";
  for (const std::string& arg : args) command += " '" + arg + "'";
  command += " >'" + outputs.File("out") + "' 2>'" + outputs.File("err") + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(outputs.File("out")), ReadFile(outputs.File("err"))};
}

}  // namespace portprobe::testing

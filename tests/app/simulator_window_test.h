#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/dialog_test_support.h"
#include "support/sim_process.h"

namespace portprobe::testing {

// A window on the device of a simulator, by default a responder (which answers every
// frame with the same reply), with a state folder of its own.
class SimulatorWindowTest : public ::testing::Test {
 protected:
  explicit SimulatorWindowTest(const std::vector<std::string>& simArgs = {"--role", "responder"})
      : sim_(PORTPROBE_SIM_PATH, simArgs) {}

  TempDir state_;
  ScopedEnvironment stateHome_{"XDG_STATE_HOME", state_.Path().string()};
  SimProcess sim_;
  ScriptedPrompter prompter_;
  MainDialog window_{prompter_, PortsFirst({sim_.DevicePath()})};
};

}  // namespace portprobe::testing

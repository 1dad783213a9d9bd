#pragma once

#include <gtest/gtest.h>

#include "app/dialog_test_support.h"
#include "support/sim_process.h"

namespace portprobe::testing {

// A window on the device of a simulated responder (portprobe-sim --role responder, which
// answers every frame), with a state folder of its own.
class SimulatorWindowTest : public ::testing::Test {
 protected:
  TempDir state_;
  ScopedEnvironment stateHome_{"XDG_STATE_HOME", state_.Path().string()};
  SimProcess sim_{PORTPROBE_SIM_PATH, {"--role", "responder"}};
  ScriptedPrompter prompter_;
  MainDialog window_{prompter_, PortsFirst({sim_.DevicePath()})};
};

}  // namespace portprobe::testing

#pragma once
// Where a test tells the service run by kivo_told_steps_service_agent of steps of the
// computer's clock: a FIFO in the handheld's run folder, a step in milliseconds a line.

#include <filesystem>

#include "host/Device.h"

namespace testing_support {

inline std::filesystem::path told_clock_steps(const host::Device& device) { return device.run_dir() / "clock-steps"; }

}  // namespace testing_support

#pragma once
// The handheld of a bench that drives the installed programs as a person at a terminal
// would: made in a temporary folder, selected for this process and for every program it
// starts, driven through the handheld tool, and removed at the end.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "ce/Time.h"

namespace alert_bench {

// Makes and selects the handheld; false when its folder cannot be made.
bool make_handheld();
// Stops its notification service and removes it.
void remove_handheld();
const std::filesystem::path& handheld_root();

// Runs the handheld tool on it: its output, or nothing when it failed (what it said then
// goes to stderr).
std::optional<std::string> handheld(const std::string& words);

ce::SYSTEMTIME local_now();
// Polls `condition` every `poll` until it holds or `patience` has passed.
bool wait_for(bool (*condition)(), std::chrono::seconds patience, std::chrono::microseconds poll);
// The reminder is the foreground window.
bool reminder_in_front();
bool reminder_gone();

// The local time kivowake is registered to run at, if it is.
std::optional<ce::SYSTEMTIME> registered_wake();
// Whole seconds of a local time, for telling how far apart two are.
long long seconds_of(const ce::SYSTEMTIME& local);
// The clock run to 2 s before `at`, as it would run by itself: no time-change event.
void run_clock_to(const ce::SYSTEMTIME& at);

}  // namespace alert_bench

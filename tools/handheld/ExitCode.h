#pragma once
// What the tool tells its caller: scripts and end-to-end tests tell a refused
// operation from a mistyped command line by the exit status alone.

namespace handheld {

enum class ExitCode : int {
    ok = 0,
    failed = 1,  // the handheld refused or could not do it
    usage = 2,   // the command line was wrong
};

}  // namespace handheld

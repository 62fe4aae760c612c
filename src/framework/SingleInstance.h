#pragma once
// The rule both programs apply at their entry, before their instance initialisation:
// one running copy per program file. A second start brings the running copy's window to
// the foreground and ends, so a person tapping the program twice never gets two copies
// writing the same alarm files.

namespace framework {

// True when this process goes on to its instance initialisation; false when a running
// copy of the same program file was brought to the foreground and this process must end
// at once. The named mutex it makes stays open for the life of the process.
bool ApplySingleInstanceRule();

}  // namespace framework

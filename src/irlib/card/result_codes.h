#pragma once
// Results of the codebase layer: 0 for success, otherwise one of these.

namespace platform::card {

inline constexpr int kOk = 0;
// No file name for the database below the 260-character path limit.
inline constexpr int kNoFreeFileName = 1021;
// A file could not be opened (or read) and the system reported an error.
inline constexpr int kOpenFailed = 1022;
// A file could not be opened without a system error, the codebase name is not
// registered, or the codebase is not open.
inline constexpr int kNotFound = 1023;
// The file is malformed: too short for its header or record list, offsets beyond the
// file or out of order, a name field without its NUL; or a change would make it so.
inline constexpr int kMalformed = 1024;
// A new database file, or the new contents of one, could not be written.
inline constexpr int kCreateFailed = 1025;
inline constexpr int kDeleteFailed = 1026;
inline constexpr int kCopyFailed = 1028;
// The file was written by a newer version of the format.
inline constexpr int kNewerVersion = 1041;
// The version rule had nothing to change; never returned by commit.
inline constexpr int kVersionRuleNotApplicable = 1043;

}  // namespace platform::card

#pragma once
// The alarm form's reading and writing of one alarm: the alarm file and the codebase
// holding its command list, both under the store lock.
//
// A save is all or nothing. The new state is written into a staging copy beside the
// alarm file and put in its place in one step; the alarm's old codebase is set aside
// until then. A save that fails at any point leaves a new alarm without any file and an
// existing one, with its codebase, as it was.

#include <string>

#include "kivo/AlarmOptions.h"

class AlarmOptionsFile {
public:
    enum class Saved {
        saved,
        failed,          // lock, open or a write failed: the form stays, without a message
        no_file_name,    // no new alarm number is free: "Error of creating the Alarm file"
        macro_database,  // the codebase could not be made: "Fail to open macro database"
        same_time,       // another armed alarm has this time: only one of them would ring
        signal_too_long, // a signal of the list is longer than a codebase keeps
    };

    // The staging copy of `path` ("7.kivo" -> "7.~kv"): out of the store's "*.kivo"
    // search, and holding the same database name.
    static std::u16string StagingPath(const std::u16string& path);
    // "\...\Alarms\7.kivo" or "7.pdb" -> "7": the name from the last "\" to the last ".".
    static std::u16string BaseName(const std::u16string& path);

    // Reads `folder` + `file_name` into `options`; false, with `options` untouched, when
    // the store cannot be locked or the file cannot be opened. A sound file that is gone
    // is forgotten; a command whose signal is missing from the codebase is dropped.
    static bool Load(const std::u16string& folder, const std::u16string& file_name, AlarmOptions& options);

    // Writes `options` as the alarm `file_name` of `folder`; an empty `file_name` makes a
    // new alarm and receives its name once saved. The alarm is armed and its pending
    // repeat removed. The command list's unnamed signals get their stored name.
    static Saved Save(const std::u16string& folder, std::u16string& file_name, AlarmOptions& options);
};

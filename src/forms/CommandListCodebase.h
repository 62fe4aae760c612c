#pragma once
// An alarm's command list as its codebase holds it: the signals as "IR1", "IR2", … in
// list order and the macro "Alarm" of delay and signal steps that plays them. The alarm
// form stores and loads it, and the list's Test and the alarm form's Test Actions run it
// from a throw-away codebase "testIR".

#include <string>
#include <string_view>

#include "forms/ItemData.h"

namespace platform::card {
class codebase;
class codebase_writer;
}  // namespace platform::card

class CommandListCodebase {
public:
    static constexpr const char* kMacro = "Alarm";
    static constexpr const char* kTestCodebase = "testIR";
    static constexpr const char16_t* kTestFile = u"testIR.pdb";
    // Given to a signal line that has no name when it is stored (kept in the item).
    static constexpr const char16_t* kStoredSignalName = u"Beam infrared";
    // Shown for a loaded signal step that has no comment.
    static constexpr const char16_t* kLoadedSignalName = u"Beam Infrared";

    // Stores `items` in the open `writer` as the macro "Alarm". 0, or the codebase's
    // error: kBadSignal for a signal too long to keep (a list stored without one of its
    // lines would beam less than the user made), another when the macro cannot be built
    // or stored. The caller commits.
    static int Store(ItemDataArr& items, platform::card::codebase_writer& writer);
    // The lines of the macro "Alarm" of the open `base`: its signal steps whose signal is
    // there and its delays; every other step, and a step whose signal is gone, is left out.
    static ItemDataArr Load(platform::card::codebase& base);
    // Writes `items` into a new "testIR" of the alarms folder `alarms_folder`, sends the
    // macro through `port`, one step after the other, stopping at the first that fails,
    // then deletes the file and releases the driver. 0, or the first codebase error.
    static int RunTest(ItemDataArr& items, const std::u16string& alarms_folder, const std::u16string& port);
};

#include "forms/CommandListCodebase.h"

#include <cstdio>
#include <string>

#include "ce/Files.h"
#include "irdriver/IrDriverInstance.h"
#include "irlib/card/codebase_writer.h"
#include "irlib/card/database_registry.h"
#include "irlib/card/result_codes.h"
#include "irlib/irvox/command_list.h"
#include "irlib/irvox/context.h"

namespace {

std::string PackedText(std::u16string_view text) {
    ItemData carrier;
    carrier.SetDisplayName(text);
    return carrier.PackedName();
}

}  // namespace

int CommandListCodebase::Store(ItemDataArr& items, platform::card::codebase_writer& writer) {
    irvox::command_list steps;
    int signal_number = 0;
    for (ItemData& item : items) {
        if (item.kind == ItemData::kPause) {
            steps.add_delay(item.pauseMs);
        } else if (item.kind == ItemData::kSignal) {
            if (!item.HasName()) item.SetDisplayName(kStoredSignalName);
            const std::string signal_name = "IR" + std::to_string(++signal_number);
            if (const int stored = writer.put_signal(signal_name, item.SignalData(), true); stored != platform::card::kOk)
                return stored;
            steps.add_reference(signal_name.c_str(), item.repeatMode, item.durationMs, item.PackedName(), nullptr);
        }
    }
    if (steps.serialise_macro(kMacro) != 0) return platform::card::kMalformed;
    return writer.put_macro(kMacro, steps.record());
}

ItemDataArr CommandListCodebase::Load(platform::card::codebase& base) {
    ItemDataArr items;
    const int macro = base.find_macro(kMacro);
    if (macro < 0) return items;
    irvox::command_list steps;
    steps.load_macro(base.record(macro));
    for (const irvox::command& step : steps.commands()) {
        if (step.kind == irvox::command::kDelay) {
            items.push_back(ItemData::Pause(step.duration));
        } else if (step.kind == irvox::command::kReference) {
            const char* signal_name = irvox::command::text_of(step.id);
            const int index = base.find_signal(signal_name);
            // A reference to a macro ("$name") or to a signal that is gone is not a line.
            if (signal_name[0] == '$' || index < 0 || base.decode_signal(index, 0) != platform::card::kOk) continue;
            ItemData item;
            item.kind = ItemData::kSignal;
            item.SetSignal(base.decoded_signal());
            item.repeatMode = step.repeat;
            item.durationMs = step.duration == irvox::command::kNotGiven ? ItemData::kDefaultDurationMs : step.duration;
            const char* comment = irvox::command::text_of(step.comment);
            item.SetPackedName(comment[0] != '\0' ? std::string(comment) : PackedText(kLoadedSignalName));
            items.push_back(std::move(item));
        }
    }
    return items;
}

int CommandListCodebase::RunTest(ItemDataArr& items, const std::u16string& alarms_folder, const std::u16string& port) {
    auto& registry = platform::card::database_registry::instance();
    registry.set_codebase_folder(alarms_folder);
    const std::u16string test_file = registry.folder() + kTestFile;
    ce::DeleteFileW(test_file.c_str());
    registry.rescan();
    // Record 0 is the application header: four zero bytes, never read back.
    const std::uint8_t header[4] = {};
    int result = registry.create_codebase(kTestCodebase, header);
    if (result == platform::card::kOk) {
        platform::card::codebase_writer writer;
        result = writer.open(kTestCodebase);
        if (result == platform::card::kOk) result = Store(items, writer);
        if (result == platform::card::kOk) result = writer.commit();
        writer.close();
    }
    if (result == platform::card::kOk) {
        if (CIrDrvr* driver = GetIrDriver(); driver != nullptr) driver->SetPortName(port.c_str());
        irvox::context macro;
        macro.select_codebase(kTestCodebase);
        macro.load_macro_record(kMacro);
        macro.run_macro(1, false);
    }
    ce::DeleteFileW(test_file.c_str());
    registry.rescan();
    ReleaseIrDriver();
    return result;
}

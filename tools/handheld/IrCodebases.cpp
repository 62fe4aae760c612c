#include "IrCodebases.h"

#include "alarms/AlarmFolder.h"
#include "host/shell/ProgramPath.h"
#include "irlib/card/database_registry.h"
#include "irlib/card/result_codes.h"
#include "irlib/card/signal_record.h"

namespace handheld {

void IrCodebases::select() {
    platform::card::database_registry::instance().set_codebase_folder(
        AlarmFolder::PathOf(host::ProgramPath::install_place("KIVO")));
}

int IrCodebases::open_for_writing(const std::string& name, platform::card::codebase_writer& writer) {
    select();
    auto& registry = platform::card::database_registry::instance();
    if (!registry.codebase_exists(name)) {
        // Record 0 is the application header: four zero bytes, never read back.
        const std::uint8_t header[4] = {};
        if (const int created = registry.create_codebase(name, header); created != platform::card::kOk)
            return created;
    }
    return writer.open(name);
}

std::string IrCodebases::describe(int result) {
    using namespace platform::card;
    switch (result) {
    case kNoFreeFileName: return "no free file name for it";
    case kOpenFailed: return "its file cannot be opened";
    case kNotFound: return "no such codebase";
    case kMalformed: return "its file is malformed";
    case kCreateFailed: return "its file cannot be written";
    case kNewerVersion: return "it was written by a newer version";
    case kBadSignal: return "the signal needs no entries or more than 255 16-bit entries";
    default: return "error " + std::to_string(result);
    }
}

}  // namespace handheld

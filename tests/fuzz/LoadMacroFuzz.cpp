// Feeds arbitrary bytes to load_macro, as a codebase file can hold them: it never reads
// outside the record, and the commands it reads store and read back unchanged: writing
// them, reading that and writing again gives the same record.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "irlib/irvox/command_list.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> record(data, data + size);
    irvox::command_list first;
    require(first.load_macro(record) == 0);
    if (first.serialise_macro("M") != 0) return 0;  // nothing read

    const std::vector<std::uint8_t> written(first.record().begin(), first.record().end());
    irvox::command_list second;
    require(second.load_macro(written) == 0);
    require(second.commands().size() <= first.commands().size());
    if (second.serialise_macro("M") != 0) {
        require(second.commands().empty());
        return 0;
    }
    require(std::vector<std::uint8_t>(second.record().begin(), second.record().end()) == written);
    return 0;
}

#include "InfraredPort.h"

#include "ce/Text.h"
#include "host/hw/Machine.h"

namespace handheld {

std::u16string InfraredPort::Chosen(const std::string& port) {
    if (!port.empty()) return ce::utf16_from_utf8(port);
    for (const auto& active : host::hw::Machine::current().profile().ports)
        if (active.key.find(u"IrDA") != std::u16string_view::npos) return std::u16string(active.name);
    return {};
}

}  // namespace handheld

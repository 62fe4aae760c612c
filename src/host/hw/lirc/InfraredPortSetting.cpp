#include "host/hw/lirc/InfraredPortSetting.h"

#include <sstream>
#include <vector>

namespace host::hw {

InfraredPortSetting::InfraredPortSetting(std::string send_device, std::string receive_device)
    : send_device_(std::move(send_device)), receive_device_(receive_device.empty() ? send_device_ : std::move(receive_device)) {}

std::optional<InfraredPortSetting> InfraredPortSetting::parse(std::string_view text) {
    std::istringstream in{std::string(text)};
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    if (words.size() == 1 && words[0] == "sim") return InfraredPortSetting();
    if (words.size() < 2 || words.size() > 3 || words[0] != "lirc") return std::nullopt;
    return InfraredPortSetting(words[1], words.size() == 3 ? words[2] : std::string());
}

InfraredPortSetting InfraredPortSetting::stored(const std::optional<std::string>& value) {
    if (!value) return {};
    return parse(*value).value_or(InfraredPortSetting());
}

std::string InfraredPortSetting::text() const {
    if (!lirc()) return "sim";
    return "lirc " + send_device_ + (receive_device_ != send_device_ ? " " + receive_device_ : std::string());
}

}  // namespace host::hw

#include "host/hw/lirc/LircBridge.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <ctime>

namespace host::hw {

LircBridge::LircBridge(InfraredPortSetting setting, std::filesystem::path log_dir)
    : setting_(std::move(setting)),
      log_path_(std::move(log_dir) / kLogName),
      transmitter_(LircCalls::system()),
      receiver_(LircCalls::system()) {}

void LircBridge::use_calls(LircCalls& calls) {
    transmitter_.use_calls(calls);
    receiver_.use_calls(calls);
}

std::string LircBridge::claim() {
    if (!active()) return {};
    std::string error;
    if (!transmitter_.is_open()) error = transmitter_.open(setting_.send_device(), true, same_device());
    if (error.empty() && !same_device() && !receiver_.is_open())
        error = receiver_.open(setting_.receive_device(), false, true);
    if (!error.empty()) {
        log("cannot use the infrared port: " + error);
        release();
    }
    return error;
}

LircSent LircBridge::send(const sim::DecodedTrace& trace) {
    if (const std::string error = claim(); !error.empty()) return {false, "not sent: " + error};
    LircSent sent = LircTransmitter::send(transmitter_, trace);
    log(sent.text);
    return sent;
}

std::optional<sim::InfraredPress> LircBridge::listen() {
    if (const std::string error = claim(); !error.empty()) {
        last_heard_ = LircHeard{std::nullopt, false, "cannot listen: " + error};
        last_event_ = last_heard_->text;
        return std::nullopt;
    }
    last_heard_ = LircListener::listen(receiver(), kListenNs);
    log(last_heard_->text);
    return last_heard_->press;
}

void LircBridge::release() {
    transmitter_.close();
    receiver_.close();
}

std::string LircBridge::check(const InfraredPortSetting& setting, LircCalls& calls, std::string& description) {
    if (!setting.lirc()) return {};
    const bool same = setting.receive_device() == setting.send_device();
    LircDevice transmitter(calls);
    if (std::string error = transmitter.open(setting.send_device(), true, same); !error.empty()) return error;
    description = setting.send_device() + ": " + transmitter.capabilities();
    if (same) return {};
    LircDevice receiver(calls);
    if (std::string error = receiver.open(setting.receive_device(), false, true); !error.empty()) return error;
    description += "\n" + setting.receive_device() + ": " + receiver.capabilities();
    return {};
}

// One write per line to a file opened for appending, so lines of two processes never mix.
void LircBridge::log(const std::string& line) {
    last_event_ = line;
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    char when[32];
    std::tm parts{};
    gmtime_r(&now, &parts);
    std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%SZ", &parts);
    const std::string text = std::string(when) + " pid " + std::to_string(::getpid()) + ' ' + line + '\n';
    const int fd = ::open(log_path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return;
    [[maybe_unused]] const auto written = ::write(fd, text.data(), text.size());
    ::close(fd);
}

}  // namespace host::hw

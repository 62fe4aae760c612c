// Feeds arbitrary bytes to the signal-file reader and checks what the infrared verbs rely
// on: a signal it reads alternates pulses and spaces within the documented bounds, at a
// carrier in range; an error is printable text; a signal written out as mode2 or as an IR
// signals file reads back as the same durations. A LIRC remote file's buttons are each
// read as the verbs read them.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "signals/LircConfText.h"
#include "signals/SignalFile.h"

namespace {

using handheld::InfraredSignal;
using handheld::SignalFile;

void require(bool condition) {
    if (!condition) std::abort();
}

void check(const handheld::SignalFileResult& result) {
    if (!result.signal) {
        require(!result.error.empty());
        for (const char byte : result.error) require(byte >= 0x20 && byte < 0x7F);
        return;
    }
    const InfraredSignal& signal = *result.signal;
    require(signal.carrier_hz >= InfraredSignal::kLowestCarrierHz && signal.carrier_hz <= InfraredSignal::kHighestCarrierHz);
    const auto durations = signal.durations();
    require(!durations.empty() && durations.front() > 0);
    for (std::size_t i = 0; i < durations.size(); ++i) {
        require(durations[i] != 0 && durations[i] <= InfraredSignal::kLongestEntryUs &&
                durations[i] >= -InfraredSignal::kLongestEntryUs);
        if (i > 0) require((durations[i] > 0) != (durations[i - 1] > 0));
    }
    for (const auto format : {SignalFile::Format::mode2, SignalFile::Format::ir}) {
        std::vector<std::string> notes;
        const auto again = SignalFile::Parse(SignalFile::Write(signal, format, "Fuzzed", notes));
        require(again.signal && again.signal->durations() == durations);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    check(SignalFile::Parse(text));
    check(SignalFile::Parse(text, "Power"));
    if (handheld::LircConfText::Looks(text)) {
        int checked = 0;
        for (const auto& remote : handheld::LircConfText::Read(text).remotes)
            for (const auto& button : remote.buttons)
                if (++checked <= 16) check(SignalFile::Parse(text, remote.name + "/" + button.name));
    }
    return 0;
}

#include "AudioVerb.h"

#include <cstdio>

#include "host/wave/AudioSettings.h"
#include "host/wave/CaptureLog.h"

namespace handheld {

std::string_view AudioVerb::help() const {
    return "usage: handheld audio [show]\n"
           "       handheld audio alsa [PCM]\n"
           "       handheld audio capture | null\n"
           "       handheld audio log\n"
           "\n"
           "Chooses what the handheld's wave output plays through:\n"
           "  alsa     the sound card, through the ALSA device PCM (\"default\" unless given;\n"
           "           `aplay -L` lists them). Two players at once play both when the device\n"
           "           mixes; a busy device is refused.\n"
           "  capture  no sound card needed: plays at the real rate and writes each play to\n"
           "           log/audio/ as a WAV file holding exactly the bytes played, with a line\n"
           "           in log/audio.log. Only one player at a time, as with one speaker.\n"
           "  null     plays at the real rate and keeps nothing; any number at once.\n"
           "show prints the back-end, the ALSA device and the volume; log prints one line per\n"
           "captured play: start .. end (handheld time), file, format, bytes, volume.\n"
           "\n"
           "examples:\n"
           "  handheld audio capture\n"
           "  handheld play /usr/share/sounds/alsa/Front_Center.wav && handheld audio log\n";
}

std::string AudioVerb::backend_text() {
    const auto stored = host::AudioSettings::stored_backend();
    if (!stored) return std::string(host::backend_name(host::kDefaultAudioBackend)) + " (default)";
    return std::string(host::backend_name(*stored));
}

ExitCode AudioVerb::run(const std::vector<std::string>& arguments, Console& console) {
    const std::string action = arguments.empty() ? "show" : arguments[0];
    if (action == "show" || action == "log") {
        if (arguments.size() > 1) return console.usage("unexpected argument '" + arguments[1] + "'");
        return action == "show" ? show(console) : print_log(console);
    }
    return choose(arguments, console);
}

ExitCode AudioVerb::show(Console& console) {
    // The device's volume word holds the left channel in its low half, the right in its high.
    const auto word = static_cast<unsigned>(host::AudioSettings::volume(0));
    char volume[48];
    std::snprintf(volume, sizeof volume, "0x%08X (left 0x%04X, right 0x%04X)", word, word & 0xFFFFu, word >> 16);
    auto& out = console.out();
    out << "backend     " << backend_text() << '\n';
    out << "alsa pcm    " << host::AudioSettings::alsa_pcm() << '\n';
    out << "volume      " << volume << '\n';
    return ExitCode::ok;
}

ExitCode AudioVerb::print_log(Console& console) {
    for (const auto& line : host::CaptureLog::lines()) console.out() << line << '\n';
    return ExitCode::ok;
}

ExitCode AudioVerb::choose(const std::vector<std::string>& arguments, Console& console) {
    const auto backend = host::backend_from_name(arguments[0]);
    if (!backend) return console.usage("unknown action '" + arguments[0] + "'; use alsa, capture, null, show or log");
    const std::size_t allowed = *backend == host::AudioBackend::alsa ? 2 : 1;
    if (arguments.size() > allowed) return console.usage("unexpected argument '" + arguments[allowed] + "'");
    if (arguments.size() == 2 && arguments[1].empty()) return console.usage("the ALSA device name is empty");
    if (!host::AudioSettings::set_backend(*backend) ||
        (arguments.size() == 2 && !host::AudioSettings::set_alsa_pcm(arguments[1])))
        return console.fail("cannot write the audio setting to device.db");
    return show(console);
}

}  // namespace handheld

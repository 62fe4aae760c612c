#include "AudioVerb.h"

#include <cstdio>

#include "host/wave/AudioSettings.h"
#include "host/wave/CaptureLog.h"

namespace handheld {

void AudioVerb::declare(CLI::App& command) {
    describe("Chooses what the handheld's wave output plays through, or shows what it played.");
    command.add_subcommand("show", "the back-end, the ALSA device and the volume (also without an action)");
    CLI::App* alsa = command.add_subcommand("alsa",
                                            "the sound card, through the ALSA device PCM (\"default\" unless given;\n"
                                            "`aplay -L` lists them). Two players at once play both when the\n"
                                            "device mixes; a busy device is refused.");
    alsa->add_option("PCM", pcm_, "the ALSA device name");
    command.add_subcommand("capture",
                           "no sound card needed: plays at the real rate and writes each play to\n"
                           "log/audio/ as a WAV file holding exactly the bytes played, with a line\n"
                           "in log/audio.log. Only one player at a time, as with one speaker.");
    command.add_subcommand("null", "plays at the real rate and keeps nothing; any number at once");
    log_ = command.add_subcommand("log",
                                  "one line per captured play: start .. end (handheld time), file, format,\n"
                                  "bytes, volume");
    command.footer(
        "examples:\n"
        "  handheld audio capture\n"
        "  handheld play /usr/share/sounds/alsa/Front_Center.wav && handheld audio log");
}

std::string AudioVerb::backend_text() {
    const auto stored = host::AudioSettings::stored_backend();
    if (!stored) return std::string(host::backend_name(host::kDefaultAudioBackend)) + " (default)";
    return std::string(host::backend_name(*stored));
}

ExitCode AudioVerb::run(Console& console) {
    if (log_->parsed()) return print_log(console);
    for (const CLI::App* action : command().get_subcommands())
        if (const auto backend = host::backend_from_name(action->get_name())) return choose(*backend, console);
    return show(console);
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

ExitCode AudioVerb::choose(host::AudioBackend backend, Console& console) {
    if (pcm_ && pcm_->empty()) return console.usage("the ALSA device name is empty");
    if (!host::AudioSettings::set_backend(backend) || (pcm_ && !host::AudioSettings::set_alsa_pcm(*pcm_)))
        return console.fail("cannot write the audio setting to device.db");
    return show(console);
}

}  // namespace handheld

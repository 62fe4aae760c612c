#include "PlayVerb.h"

#include <pthread.h>
#include <signal.h>

#include <charconv>
#include <chrono>
#include <thread>

#include "ArgumentParser.h"
#include "AudioVerb.h"
#include "SoundFile.h"
#include "ce/Sync.h"
#include "ce/Text.h"
#include "sound/CSoundWave.h"

namespace handheld {

namespace {

std::optional<unsigned> read_number(const std::string& text, unsigned low, unsigned high) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) return std::nullopt;
    return value;
}

// Ctrl-C or a termination request becomes WM_CLOSE to the owner window, so the play
// is stopped through the player and the capture log still gets its line.
void forward_interrupts(ce::HWND owner) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::thread([owner, signals] {
        int received = 0;
        while (sigwait(&signals, &received) == 0) ce::PostMessageW(owner, ce::WM_CLOSE, 0, 0);
    }).detach();
}

void stop_silently(CSoundWave& player) {
    while (player.IsOpen()) {
        player.PostThreadMessage(WM_SOUND_ENDED, 0, 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace

std::string_view PlayVerb::help() const {
    return "usage: handheld play FILE [--times N] [--pause S] [--volume 1-10]\n"
           "\n"
           "Plays a PCM WAV file through the handheld's wave output with the player the\n"
           "reminder uses, N times (default 1), waiting S seconds (default 0) after each end\n"
           "before playing again. What is heard depends on `handheld audio`.\n"
           "\n"
           "  FILE       a device path (\\Windows\\Alarm1.wav), or a host file, which is put on\n"
           "             the handheld as \\Temp\\play-PID-NAME for the play and removed after\n"
           "  --times    plays, 1-1000\n"
           "  --pause    seconds between plays, 0-3600\n"
           "  --volume   1-10, as the alarm's volume: sets the device volume to V x 65535 / 10;\n"
           "             without it the device keeps its volume\n"
           "\n"
           "Fails with the player's code: 1002 the file cannot be opened or mapped, 1003 not a\n"
           "RIFF WAVE file, 1004 not PCM, 1005 no wave device, 1006 no buffers.\n"
           "\n"
           "example:\n"
           "  handheld play /usr/share/sounds/alsa/Front_Center.wav --times 3 --pause 1\n";
}

std::string PlayVerb::result_text(ce::DWORD code) {
    switch (code) {
        case CSoundWave::kNoFile: return "no file name (1000)";
        case CSoundWave::kAlreadyPlaying: return "already playing (1001)";
        case CSoundWave::kCannotMap: return "the file cannot be opened or mapped (1002)";
        case CSoundWave::kNotWave: return "not a usable RIFF WAVE file (1003)";
        case CSoundWave::kNotPcm: return "not PCM (1004)";
        case CSoundWave::kNoDevice:
            return "the wave output device cannot be opened with the " + AudioVerb::backend_text() +
                   " back-end (1005)";
        case CSoundWave::kNoBuffers: return "the buffers cannot be allocated (1006)";
        default: return "result " + std::to_string(code);
    }
}

std::optional<std::string> PlayVerb::read_plan(const std::vector<std::string>& arguments, Plan* plan,
                                               std::string* file) {
    ArgumentParser parser;
    parser.option("--times").option("--pause").option("--volume");
    if (!parser.parse(arguments)) return parser.error();
    if (parser.positionals().size() != 1) return std::string("needs exactly one FILE");
    *file = parser.positionals()[0];
    if (const auto times = parser.value("--times")) {
        const auto value = read_number(*times, 1, 1000);
        if (!value) return "--times must be 1-1000, not '" + *times + "'";
        plan->times = *value;
    }
    if (const auto seconds = parser.value("--pause")) {
        const auto value = read_number(*seconds, 0, 3600);
        if (!value) return "--pause must be 0-3600 seconds, not '" + *seconds + "'";
        plan->pause_seconds = *value;
    }
    if (const auto volume = parser.value("--volume")) {
        plan->volume = read_number(*volume, 1, 10);
        if (!plan->volume) return "--volume must be 1-10, not '" + *volume + "'";
    }
    return std::nullopt;
}

bool PlayVerb::wait_for_end(CSoundWave& player, ce::HWND owner) {
    ce::MSG message;
    while (ce::GetMessageW(&message, owner, 0, 0) > 0) {
        if (message.message == WM_SOUND_ENDED) return true;
        if (message.message == ce::WM_CLOSE) break;
    }
    stop_silently(player);
    return false;
}

bool PlayVerb::pause(ce::HWND owner, unsigned seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (auto now = std::chrono::steady_clock::now(); now < until; now = std::chrono::steady_clock::now()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - now).count() + 1;
        ce::MsgWaitForMultipleObjects(0, nullptr, ce::FALSE, static_cast<ce::DWORD>(left), ce::QS_ALLINPUT);
        ce::MSG message;
        while (ce::PeekMessageW(&message, owner, 0, 0, ce::PM_REMOVE))
            if (message.message == ce::WM_CLOSE) return false;
    }
    return true;
}

ExitCode PlayVerb::run(const std::vector<std::string>& arguments, Console& console) {
    Plan plan;
    std::string given;
    if (const auto error = read_plan(arguments, &plan, &given)) return console.usage(*error);
    SoundFile file;
    if (!file.place(given)) return console.fail(file.error());

    const ce::HWND owner =
        ce::CreateWindowExW(0, u"handheld", u"handheld play", 0, 0, 0, 0, 0, ce::HWND_MESSAGE, nullptr, nullptr, nullptr);
    forward_interrupts(owner);
    CSoundWave player(owner);
    if (!player.CreateThread()) return console.fail("cannot start the player thread");
    if (plan.volume) player.SetVolume(*plan.volume * 65535 / 10);

    for (unsigned play = 1; play <= plan.times; ++play) {
        if (play > 1 && plan.pause_seconds > 0 && !pause(owner, plan.pause_seconds))
            return console.fail("interrupted");
        const ce::DWORD result = player.Play(file.device_path().c_str());
        if (result != CSoundWave::kPlaying)
            return console.fail("cannot play " + ce::utf8_from_utf16(file.device_path()) + ": " + result_text(result));
        if (!wait_for_end(player, owner)) return console.fail("interrupted");
        console.out() << "played " << ce::utf8_from_utf16(file.device_path()) << " (" << play << " of " << plan.times
                      << ")" << std::endl;
    }
    return ExitCode::ok;
}

}  // namespace handheld

#include "PlayVerb.h"

#include <chrono>
#include <thread>

#include "Arguments.h"
#include "AudioVerb.h"
#include "Interrupts.h"
#include "SoundFile.h"
#include "ce/Sync.h"
#include "ce/Text.h"
#include "sound/CSoundWave.h"

namespace handheld {

namespace {

// Ctrl-C or a termination request becomes WM_CLOSE to the owner window, so the play
// is stopped through the player and the capture log still gets its line.
void forward_interrupts(ce::HWND owner) {
    Interrupts::Forward([owner] { ce::PostMessageW(owner, ce::WM_CLOSE, 0, 0); });
}

void stop_silently(CSoundWave& player) {
    while (player.IsOpen()) {
        player.PostThreadMessage(WM_SOUND_ENDED, 0, 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace

void PlayVerb::declare(CLI::App& command) {
    describe(
        "Plays a PCM WAV file through the handheld's wave output with the player the\n"
        "reminder uses, N times, waiting some seconds after each end before playing again.\n"
        "What is heard depends on `handheld audio`. Fails with the player's code: 1002 the\n"
        "file cannot be opened or mapped, 1003 not a RIFF WAVE file, 1004 not PCM, 1005 no\n"
        "wave device, 1006 no buffers.");
    command.add_option("FILE", file_,
                       "a device path (\\Windows\\Alarm1.wav), or a host file, which is put on\n"
                       "the handheld as \\Temp\\play-PID-NAME for the play and removed after")
        ->required();
    add_number(command, "--times", times_, 1, 1000, "plays, 1 to 1000 (default 1)");
    add_seconds(command, "--pause", pause_, 3600, "seconds between plays, 0 to 3600 (default 0)");
    add_number(command, "--volume", volume_, 1, 10,
               "1 to 10, as the alarm's volume: sets the device volume to N x 65535 / 10;\n"
               "without it the device keeps its volume");
    command.footer("example:\n  handheld play /usr/share/sounds/alsa/Front_Center.wav --times 3 --pause 1");
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

bool PlayVerb::wait_for_end(CSoundWave& player, ce::HWND owner) {
    ce::MSG message;
    while (ce::GetMessageW(&message, owner, 0, 0) > 0) {
        if (message.message == WM_SOUND_ENDED) return true;
        if (message.message == ce::WM_CLOSE) break;
    }
    stop_silently(player);
    return false;
}

bool PlayVerb::pause(ce::HWND owner, std::chrono::milliseconds length) {
    const auto until = std::chrono::steady_clock::now() + length;
    for (auto now = std::chrono::steady_clock::now(); now < until; now = std::chrono::steady_clock::now()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - now).count() + 1;
        ce::MsgWaitForMultipleObjects(0, nullptr, ce::FALSE, static_cast<ce::DWORD>(left), ce::QS_ALLINPUT);
        ce::MSG message;
        while (ce::PeekMessageW(&message, owner, 0, 0, ce::PM_REMOVE))
            if (message.message == ce::WM_CLOSE) return false;
    }
    return true;
}

ExitCode PlayVerb::run(Console& console) {
    SoundFile file;
    if (!file.place(file_)) return console.fail(file.error());

    const ce::HWND owner =
        ce::CreateWindowExW(0, u"handheld", u"handheld play", 0, 0, 0, 0, 0, ce::HWND_MESSAGE, nullptr, nullptr, nullptr);
    forward_interrupts(owner);
    CSoundWave player(owner);
    if (!player.CreateThread()) return console.fail("cannot start the player thread");
    if (volume_) player.SetVolume(*volume_ * 65535 / 10);

    for (std::uint32_t play = 1; play <= times_; ++play) {
        if (play > 1 && pause_.count() > 0 && !pause(owner, pause_))
            return console.fail("interrupted");
        const ce::DWORD result = player.Play(file.device_path().c_str());
        if (result != CSoundWave::kPlaying)
            return console.fail("cannot play " + ce::utf8_from_utf16(file.device_path()) + ": " + result_text(result));
        if (!wait_for_end(player, owner)) return console.fail("interrupted");
        console.out() << "played " << ce::utf8_from_utf16(file.device_path()) << " (" << play << " of " << times_
                      << ")" << std::endl;
    }
    return ExitCode::ok;
}

}  // namespace handheld

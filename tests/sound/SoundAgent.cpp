// A second process of the handheld with a player of its own, owned by a message-only
// window of its main thread. Commands, one a line, each answered by one line:
//   play PATH  -> the Play result code (PATH a device path)
//   wait MS    -> ended | timeout         (an end report within MS)
//   stop       -> stopped                 (silent stop, once the player is closed)

#include <chrono>
#include <sstream>
#include <string>
#include <thread>

#include "AgentLoop.h"
#include "ce/Text.h"
#include "sound/CSoundWave.h"

namespace {

ce::HWND g_owner = nullptr;
CSoundWave* g_player = nullptr;

std::string wait_for_end(ce::DWORD milliseconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    ce::MSG message;
    do {
        while (ce::PeekMessageW(&message, g_owner, 0, 0, ce::PM_REMOVE))
            if (message.message == WM_SOUND_ENDED) return "ended";
        ce::MsgWaitForMultipleObjects(0, nullptr, ce::FALSE, 10, ce::QS_ALLINPUT);
    } while (std::chrono::steady_clock::now() < until);
    return "timeout";
}

std::string stop() {
    while (g_player->IsOpen()) {
        g_player->PostThreadMessage(WM_SOUND_ENDED, 0, 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return "stopped";
}

std::string run(const std::string& line) {
    std::istringstream words(line);
    std::string command, argument;
    words >> command >> argument;
    if (command == "play") return std::to_string(g_player->Play(ce::utf16_from_utf8(argument).c_str()));
    if (command == "wait") return wait_for_end(static_cast<ce::DWORD>(std::stoul(argument)));
    if (command == "stop") return stop();
    return "error unknown command";
}

}  // namespace

int main() {
    g_owner = ce::CreateWindowExW(0, u"agent", u"", 0, 0, 0, 0, 0, ce::HWND_MESSAGE, nullptr, nullptr, nullptr);
    g_player = new CSoundWave(g_owner);
    g_player->CreateThread();
    const int result = testing_support::serve_commands(run);
    delete g_player;
    return result;
}

// A program that tests install in a handheld's image in place of KIVO, Alert or
// kivowake. It writes what it was started as to log/standin.log and then does what
// $STANDIN_MODE says:
//   (unset)     ends with exit code 0
//   exit:N      ends with exit code N
//   wait        runs until it is killed
//   window:T    makes a top-level window titled T, writes "window T", then writes every
//               message it receives as "message 0xNNNN wParam=W lParam=L", answering a
//               sent message with lParam + 1, until WM_CLOSE ends it
//   post:T      posts 0x0537 with lParam 1, 2, 3 to the window titled T, sends it
//               0x0401 with wParam 0 and lParam 41, and writes "reply R"
// except that the program whose file $STANDIN_WAITS names ("sync.exe") runs until it is
// killed, whatever the mode.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ce/Messages.h"
#include "ce/Process.h"
#include "ce/Shell.h"
#include "ce/Text.h"
#include "ce/Windows.h"
#include "host/DeviceLog.h"

namespace {

std::string own_path() {
    char16_t path[ce::MAX_PATH];
    const ce::DWORD length = ce::GetModuleFileNameW(nullptr, path, ce::MAX_PATH);
    return ce::utf8_from_utf16(std::u16string(path, length));
}

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string("-") : std::string(value);
}

int serve_window(const host::DeviceLog& log, const std::string& title) {
    const ce::HWND window = ce::CreateWindowExW(0, u"standin", ce::utf16_from_utf8(title).c_str(), 0, 0, 0, 0, 0,
                                                nullptr, nullptr, nullptr, nullptr);
    if (window == nullptr) return 1;
    log.write("window " + title);
    ce::MSG message;
    while (ce::GetMessageW(&message, nullptr, 0, 0) > 0) {
        char text[96];
        std::snprintf(text, sizeof text, "message 0x%04X wParam=%llu lParam=%lld", message.message,
                      static_cast<unsigned long long>(message.wParam), static_cast<long long>(message.lParam));
        log.write(text);
        if (ce::InSendMessage()) ce::ReplyMessage(message.lParam + 1);
        if (message.message == ce::WM_CLOSE) break;
    }
    return 0;
}

int post_to_window(const host::DeviceLog& log, const std::string& title) {
    const std::u16string name = ce::utf16_from_utf8(title);
    ce::HWND window = nullptr;
    for (int tries = 0; window == nullptr && tries < 2000; ++tries) {
        window = ce::FindWindowW(nullptr, name.c_str());
        if (window == nullptr) usleep(10000);
    }
    if (window == nullptr) return 1;
    for (ce::LPARAM i = 1; i <= 3; ++i) ce::PostMessageW(window, ce::WM_USER + 311, 0, i);
    log.write("reply " + std::to_string(ce::SendMessageW(window, ce::WM_USER + 1, 0, 41)));
    return 0;
}

}  // namespace

int main() {
    const host::DeviceLog log("standin");
    log.write("started program=" + own_path() + " command=" + ce::utf8_from_utf16(ce::GetCommandLineW()) +
              " show=" + variable("KIVO_SHOW_COMMAND") + " device=" + variable("KIVO_DEVICE"));
    const std::string waits = variable("STANDIN_WAITS");
    if (!waits.empty() && own_path().ends_with("\\" + waits))
        for (;;) pause();
    const std::string mode = variable("STANDIN_MODE");
    if (mode.starts_with("exit:")) return std::atoi(mode.c_str() + 5);
    if (mode == "wait")
        for (;;) pause();
    if (mode.starts_with("window:")) return serve_window(log, mode.substr(7));
    if (mode.starts_with("post:")) return post_to_window(log, mode.substr(5));
    return 0;
}

// A second program of the handheld for the window tests: posts or sends one message to
// a window, as another program would, and prints what SendMessageW answered.
// usage: kivo_message_sender post|send HWND MESSAGE WPARAM LPARAM (numbers in C notation)

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ce/Messages.h"

int main(int argc, char** argv) {
    if (argc != 6) return 2;
    const auto number = [](const char* text) { return std::strtoll(text, nullptr, 0); };
    auto* window = reinterpret_cast<ce::HWND>(static_cast<std::uintptr_t>(std::strtoull(argv[2], nullptr, 0)));
    const auto message = static_cast<ce::UINT>(number(argv[3]));
    const auto wParam = static_cast<ce::WPARAM>(number(argv[4]));
    const auto lParam = static_cast<ce::LPARAM>(number(argv[5]));
    if (std::strcmp(argv[1], "post") == 0) return ce::PostMessageW(window, message, wParam, lParam) ? 0 : 1;
    std::printf("%lld\n", static_cast<long long>(ce::SendMessageW(window, message, wParam, lParam)));
    return 0;
}

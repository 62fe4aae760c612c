#include "UiRequest.h"

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "ce/Messages.h"
#include "ce/Windows.h"
#include "host/Device.h"

namespace handheld {

namespace {

constexpr auto kLongestWait = std::chrono::seconds(10);

}  // namespace

std::optional<ce::HWND> UiRequest::foreground() {
    const ce::HWND window = ce::GetForegroundWindow();
    if (window == nullptr) return std::nullopt;
    return window;
}

// The tool's process id names the request: one request at a time per run.
UiRequest::UiRequest(ce::HWND window) : window_(window), number_(static_cast<unsigned long>(getpid())) {}

UiRequest::~UiRequest() {
    std::error_code ignored;
    for (const char* suffix : {".in", ".out", ".png"}) std::filesystem::remove(file(suffix), ignored);
}

std::filesystem::path UiRequest::file(const char* suffix) const {
    return host::Device::current().fs_dir() / "Temp" / "ui" / (std::to_string(number_) + suffix);
}

UiReply UiRequest::ask(ce::UINT message, ce::LPARAM lParam, const std::string& typed) {
    std::error_code ignored;
    std::filesystem::remove(file(".out"), ignored);
    if (!typed.empty()) {
        std::filesystem::create_directories(file(".in").parent_path(), ignored);
        std::ofstream(file(".in"), std::ios::binary) << typed;
    }
    if (!ce::PostMessageW(window_, message, number_, lParam)) return {false, "the window is gone", {}};
    const auto end = std::chrono::steady_clock::now() + kLongestWait;
    while (!std::filesystem::exists(file(".out"))) {
        // A window that closes before it answers (its program ending) never will.
        if (!ce::IsWindow(window_) && !std::filesystem::exists(file(".out"))) return {false, "the window is gone", {}};
        if (std::chrono::steady_clock::now() > end) return {false, "the program did not answer within 10 s", {}};
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::ifstream in(file(".out"), std::ios::binary);
    std::string status;
    std::getline(in, status);
    std::stringstream body;
    body << in.rdbuf();
    return {status == "ok", status, body.str()};
}

}  // namespace handheld

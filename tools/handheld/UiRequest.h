#pragma once
// A request to the program in the handheld's foreground, as `handheld ui` and
// `screenshot` make it: a message posted to its window, answered with files under the
// handheld's \Temp\ui (framework/AutomationProtocol.h). The program does the work with
// its own windows; the tool needs no toolkit of its own.

#include <filesystem>
#include <optional>
#include <string>

#include "ce/Messages.h"

namespace handheld {

struct UiReply {
    bool ok = false;
    std::string status;  // "ok", "error: ...", or why no answer came
    std::string body;
};

class UiRequest {
public:
    // The window the person at the handheld works with; nothing when no program shows one.
    static std::optional<ce::HWND> foreground();

    explicit UiRequest(ce::HWND window);
    ~UiRequest();  // removes the reply files
    UiRequest(const UiRequest&) = delete;
    UiRequest& operator=(const UiRequest&) = delete;

    // Posts the request and waits (up to 10 s) for the answer. `typed` goes in first as
    // the text a set request types.
    UiReply ask(ce::UINT message, ce::LPARAM lParam, const std::string& typed = {});
    // Where the program put a screenshot.
    std::filesystem::path picture() const { return file(".png"); }

private:
    std::filesystem::path file(const char* suffix) const;

    ce::HWND window_;
    unsigned long number_;
};

}  // namespace handheld

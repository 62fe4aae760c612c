// A program that tests install in a handheld's image in place of KIVO, Alert or
// kivowake. It writes what it was started as to log/standin.log and then does what
// $STANDIN_MODE says:
//   (unset)     ends with exit code 0
//   exit:N      ends with exit code N
//   wait        runs until it is killed

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "ce/Process.h"
#include "ce/Shell.h"
#include "ce/Text.h"
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

}  // namespace

int main() {
    const host::DeviceLog log("standin");
    log.write("started program=" + own_path() + " command=" + ce::utf8_from_utf16(ce::GetCommandLineW()) +
              " show=" + variable("KIVO_SHOW_COMMAND") + " device=" + variable("KIVO_DEVICE"));
    const std::string mode = variable("STANDIN_MODE");
    if (mode.starts_with("exit:")) return std::atoi(mode.c_str() + 5);
    if (mode == "wait")
        for (;;) pause();
    return 0;
}

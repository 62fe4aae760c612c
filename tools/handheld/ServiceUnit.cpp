#include "ServiceUnit.h"

#include "ToolFiles.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "DesktopFiles.h"
#include "host/Device.h"
#include "host/notify/ServiceFiles.h"

namespace handheld {

namespace {

// FNV-1a: short, stable across builds and machines.
std::string short_hash(const std::string& text) {
    std::uint32_t hash = 2166136261u;
    for (const unsigned char c : text) hash = (hash ^ c) * 16777619u;
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", hash);
    return hex;
}

// A word of a unit's command line: quoted, with the characters systemd reads as
// specifiers (%) or variables ($) doubled.
std::string unit_word(const std::string& word) {
    std::string quoted = "\"";
    for (const char c : word) {
        if (c == '"' || c == '\\') quoted += '\\';
        if (c == '%' || c == '$') quoted += c;
        quoted += c;
    }
    return quoted + '"';
}

// One restarter: the unit's. Its service runs without a keeper of its own.
const std::string kRestartLines =
    "# Restart= is the one restarter: the service runs without its own keeper\n"
    "# (KIVO_SERVICE_KEEPER) and is started again when it crashes or is killed; a stop\n"
    "# (SIGTERM, `handheld stop`) ends it cleanly and is not undone.\n"
    "Environment=KIVO_SERVICE_KEEPER=systemd\n"
    "Restart=on-failure\n"
    "RestartSec=2\n"
    "# KillMode=process: a stop or a restart signals the service alone; the programs it\n"
    "# started (a reminder ringing) belong to the handheld and go on.\n"
    "KillMode=process\n";

}  // namespace

ServiceUnit::ServiceUnit(std::filesystem::path service, std::filesystem::path device)
    : service_(std::move(service)), device_(std::move(device)), name_("kivo-handheld-" + short_hash(device_.string())) {}

std::filesystem::path ServiceUnit::unit_file() const { return config_home() / "systemd" / "user" / (name_ + ".service"); }

std::filesystem::path ServiceUnit::wants_link() const {
    return config_home() / "systemd" / "user" / "default.target.wants" / (name_ + ".service");
}

std::filesystem::path ServiceUnit::autostart_file() const { return config_home() / "autostart" / (name_ + ".desktop"); }

std::string ServiceUnit::unit_text() const {
    return "# Written by `handheld autostart on`; `handheld autostart off` removes it.\n"
           "[Unit]\n"
           "Description=KIVO alarms of the handheld at " + device_.string() + "\n"
           "\n"
           "[Service]\n"
           "Type=simple\n"
           "ExecStart=" + unit_word(service_.string()) + " " + unit_word(device_.string()) + "\n"
           + kRestartLines +
           "# Another service runs for the handheld already (started by hand): nothing to restart.\n"
           "RestartPreventExitStatus=3\n"
           "\n"
           "[Install]\n"
           "WantedBy=default.target\n";
}

std::string ServiceUnit::autostart_text() const {
    return "# Written by `handheld autostart on`; `handheld autostart off` removes it.\n"
           "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=KIVO alarms\n"
           "Comment=Rings the alarms of the handheld at " + device_.string() + "\n"
           "Exec=" + exec_word(service_.string()) + " " + exec_word(device_.string()) + "\n"
           "Icon=kivo\n"
           "NoDisplay=true\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

std::filesystem::path ServiceUnit::installed_service() {
    const auto chosen = host::Device::current().database().setting(host::ServiceFiles::kProgramSetting);
    return std::filesystem::absolute(chosen && !chosen->empty() ? std::filesystem::path(*chosen)
                                                                : ToolFiles::of_this_tool().notify_service);
}

bool ServiceUnit::user_manager_runs() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::filesystem::path folder = runtime != nullptr && *runtime == '/'
                                             ? std::filesystem::path(runtime)
                                             : std::filesystem::path("/run/user") / std::to_string(getuid());
    std::error_code error;
    return std::filesystem::exists(folder / "systemd" / "private", error);
}

bool ServiceUnit::packaged_starts(const std::filesystem::path& device) {
    std::error_code error;
    const auto packaged = ToolFiles::of_this_tool().user_unit;
    if (packaged.empty() || !std::filesystem::is_regular_file(packaged, error)) return false;
    // The unit names %h/.local/share/kivo/device, whatever XDG_DATA_HOME says.
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home != '/') return false;
    return std::filesystem::equivalent(device, std::filesystem::path(home) / ".local/share/kivo/device", error);
}

bool ServiceUnit::packaged_enabled() {
    std::error_code error;
    const auto link = config_home() / "systemd" / "user" / "default.target.wants" / kPackagedName;
    return std::filesystem::exists(std::filesystem::symlink_status(link, error));
}

}  // namespace handheld

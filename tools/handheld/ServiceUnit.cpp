#include "ServiceUnit.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "DesktopFiles.h"
#include "ToolFiles.h"
#include "ToolName.h"
#include "UnitPathName.h"
#include "host/Device.h"
#include "host/notify/ServiceFiles.h"

namespace handheld {

namespace {

// FNV-1a: short, stable across builds and machines. Names the autostart entry, and the
// unit tools before the template wrote, which `off` still removes.
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
std::filesystem::path user_units() { return config_home() / "systemd" / "user"; }

}  // namespace

ServiceUnit::ServiceUnit(std::filesystem::path service, std::filesystem::path device)
    : service_(std::move(service)),
      device_(std::move(device)),
      name_("kivo@" + UnitPathName::escape(device_) + ".service") {}

std::filesystem::path ServiceUnit::wants_link() const { return user_units() / "default.target.wants" / name_; }

std::filesystem::path ServiceUnit::template_file() const {
    if (template_is_packaged()) return ToolFiles::of_this_tool().user_template;
    return user_units() / kTemplateName;
}

bool ServiceUnit::template_is_packaged() const {
    std::error_code error;
    const auto packaged = ToolFiles::of_this_tool().user_template;
    return !packaged.empty() && std::filesystem::is_regular_file(packaged, error);
}

std::filesystem::path ServiceUnit::autostart_file() const {
    return config_home() / "autostart" / ("kivo-handheld-" + short_hash(device_.string()) + ".desktop");
}

std::filesystem::path ServiceUnit::former_unit_file() const {
    return user_units() / ("kivo-handheld-" + short_hash(device_.string()) + ".service");
}

std::filesystem::path ServiceUnit::former_wants_link() const {
    return user_units() / "default.target.wants" / former_unit_file().filename();
}

std::string ServiceUnit::template_text(const std::string& tool) const {
    return as_called("# Written by `handheld autostart on`; `handheld autostart off` removes it with the\n"
                     "# last handheld it starts. The instance is the handheld's directory (%f).\n", tool) +
           "[Unit]\n"
           "Description=KIVO alarms of the handheld at %f\n"
           "# A handheld removed since is skipped, not failed.\n"
           "ConditionPathExists=%f/device.db\n"
           "\n"
           "[Service]\n"
           "Type=simple\n"
           "ExecStart=" + unit_word(service_.string()) + " \"%f\"\n"
           + kRestartLines +
           "# Another service runs for the handheld already (started by hand): nothing to restart.\n"
           "RestartPreventExitStatus=3\n"
           "\n"
           "[Install]\n"
           "WantedBy=default.target\n";
}

std::string ServiceUnit::autostart_text(const std::string& tool) const {
    return as_called("# Written by `handheld autostart on`; `handheld autostart off` removes it.\n", tool) +
           "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=KIVO alarms\n"
           "Comment=Rings the alarms of the handheld at " + device_.string() + "\n"
           // Once the service is gone (the package removed, the build deleted) the session
           // skips the entry instead of running nothing at every log-in.
           "TryExec=" + service_.string() + "\n"
           "Exec=" + exec_word(service_.string()) + " " + exec_word(device_.string()) + "\n"
           "Icon=kivo\n"
           "NoDisplay=true\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

std::vector<ServiceUnit::Instance> ServiceUnit::enabled_instances() {
    std::vector<Instance> instances;
    std::error_code error;
    constexpr std::string_view kPrefix = "kivo@";
    constexpr std::string_view kSuffix = ".service";
    for (const auto& link : std::filesystem::directory_iterator(user_units() / "default.target.wants", error)) {
        const std::string name = link.path().filename().string();
        if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix) || name.size() <= kPrefix.size() + kSuffix.size())
            continue;
        const auto device = UnitPathName::unescape(
            std::string_view(name).substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size()));
        if (device) instances.push_back({name, *device});
    }
    std::sort(instances.begin(), instances.end(), [](const Instance& a, const Instance& b) { return a.name < b.name; });
    return instances;
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
    const auto link = user_units() / "default.target.wants" / kPackagedName;
    return std::filesystem::exists(std::filesystem::symlink_status(link, error));
}

}  // namespace handheld

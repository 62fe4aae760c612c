#include "StatusVerb.h"

#include <filesystem>
#include <system_error>

#include "AudioVerb.h"
#include "ClockText.h"
#include "IrPortCommand.h"
#include "ProcessorProfile.h"
#include "RegistryIndex.h"
#include "host/Device.h"
#include "host/display/DisplayPower.h"
#include "host/notify/ServiceKeeper.h"
#include "host/notify/ServiceLink.h"
#include "host/notify/SuspendReport.h"

namespace handheld {

namespace {

std::string counted(std::int64_t count, const std::string& noun) {
    return std::to_string(count) + ' ' + noun + (count == 1 ? "" : "s");
}

// Who starts the service again should it end.
std::string keeper_text(const std::optional<std::string>& keeper) {
    if (!keeper)
        return "none: nothing starts the notification service again should it end (`handheld stop; handheld start`)";
    if (*keeper == host::ServiceKeeper::kUnitKeeper) return "its systemd user unit starts it again should it end";
    return "process " + *keeper + " starts the notification service again should it end";
}

}  // namespace

void StatusVerb::declare(CLI::App& command) {
    describe(
        "Shows the handheld directory, its processor profile and processor, its local date, time and\n"
        "time zone and whose clock it keeps, its audio back-end, its infrared port, whether its\n"
        "display is on and its notification service runs (what starts it again should it end, and\n"
        "what it cannot write, on a full disk), whether this computer is woken from suspend for its\n"
        "next alarm (and if not, why), when device.db was found damaged and made anew, the size of\n"
        "its registry and the number of files in its file system.");
    command.footer("example:\n  handheld --device /tmp/hh status");
}

std::optional<std::int64_t> StatusVerb::count_files() {
    std::error_code error;
    std::filesystem::recursive_directory_iterator entry(host::Device::current().fs_dir(), error);
    if (error) return std::nullopt;
    std::int64_t files = 0;
    for (; entry != std::filesystem::recursive_directory_iterator(); entry.increment(error)) {
        if (error) return std::nullopt;
        if (entry->is_regular_file(error)) ++files;
    }
    return error ? std::nullopt : std::optional(files);
}

ExitCode StatusVerb::run(Console& console) {
    auto& device = host::Device::current();
    const auto profile = device.database().setting(kProfileSetting);
    const auto registry = RegistryIndex(device.database()).counts();
    const auto files = count_files();
    ce::SYSTEMTIME now;
    ce::GetLocalTime(&now);

    auto& out = console.out();
    out << "device      " << device.root().string() << '\n';
    out << "profile     " << (profile ? *profile : std::string(kDefaultProfile) + " (not stored; run init)") << '\n';
    out << "processor   " << processor_description(sim::profile_or_default(profile)) << '\n';
    out << "local time  " << format_local_time(now) << ' ' << weekday_name(now.wDayOfWeek) << '\n';
    out << "time zone   " << zone_text() << '\n';
    out << "clock       " << console.called(clock_source_text()) << '\n';
    out << "audio       " << AudioVerb::backend_text() << '\n';
    out << "display     " << host::DisplayPower::name_of(host::DisplayPower::state()) << '\n';
    out << "infrared    " << console.called(IrPortCommand::describe_setting()) << '\n';
    const auto service = host::ServiceLink(device).running();
    out << "service     "
        << (service ? "notification service running, process " + std::to_string(*service)
                    : console.called("no notification service running (`handheld start`)"))
        << '\n';
    if (service) out << "keeper      " << keeper_text(host::ServiceLink(device).keeper()) << '\n';
    if (const auto trouble = host::ServiceLink(device).trouble(); service && trouble)
        out << "trouble     " << *trouble << " (alarms still ring)\n";
    out << "wake        " << console.called(host::SuspendReport::describe(device)) << '\n';
    if (const auto rebuilt = device.database().setting(host::Device::kRebuiltSetting))
        out << "database    " << *rebuilt << '\n';
    if (registry)
        out << "registry    " << counted(registry->keys, "key") << ", " << counted(registry->values, "value") << '\n';
    if (files) out << "files       " << counted(*files, "file") << " under fs/\n";
    if (!registry) return console.fail("cannot read the registry in device.db");
    if (!files) return console.fail("cannot read " + device.fs_dir().string());
    return ExitCode::ok;
}

}  // namespace handheld

#include "AutostartVerb.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "CompletionWords.h"
#include "HostCommand.h"
#include "host/Device.h"
#include "host/notify/ServiceLink.h"

namespace handheld {

namespace {

// systemd refuses a unit whose name is longer.
constexpr std::size_t kLongestUnitName = 255;

bool write_file(const std::filesystem::path& path, const std::string& text) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    const auto written = path.string() + ".new";
    {
        std::ofstream out(written, std::ios::trunc);
        out << text;
        if (!out.flush()) return false;
    }
    std::filesystem::rename(written, path, error);
    return !error;
}

bool present(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

}  // namespace

void AutostartVerb::declare(CLI::App& command) {
    command.require_subcommand(1);
    on_ = command.add_subcommand("on", "start it with every session");
    off_ = command.add_subcommand("off", "stop starting it");
    command.add_subcommand("status", "what starts it, if anything");
    for (CLI::App* action : {on_, off_})
        CompletionWords::one_of(
            action->add_option("--via", via_, "systemd, xdg, or auto: systemd where a user manager runs (default)"),
            {"auto", "systemd", "xdg"});
    describe(
        "Starts the handheld's notification service with your session, so that alarms ring\n"
        "after the computer restarts without anyone starting KIVO. Where systemd runs a user\n"
        "manager, `on` enables the template user unit kivo@.service for this handheld: the\n"
        "instance kivo@PATH.service, PATH the handheld's directory as `systemd-escape --path`\n"
        "writes it (the service with that directory, restarted should it fail), with\n"
        "`systemctl --user`; it then also runs before you log in once lingering is on\n"
        "(`loginctl enable-linger`). The package brings the template; a tool run from a build\n"
        "writes its own, ~/.config/systemd/user/kivo@.service. Elsewhere `on` writes the XDG\n"
        "autostart entry ~/.config/autostart/kivo-handheld-*.desktop, which a desktop session\n"
        "runs at log-in. --via chooses one of the two. `off` removes both and says what else\n"
        "still runs for the handheld. KIVO's package also brings the unit kivo.service, which\n"
        "starts the default handheld (~/.local/share/kivo/device) for each person who enables\n"
        "it (`systemctl --user enable --now kivo`). `status` lists every handheld an instance\n"
        "starts.\n"
        "\n"
        "Before removing the package, run `handheld autostart off` and `handheld stop` for each\n"
        "handheld (and `systemctl --user disable --now kivo` if you enabled that): removing it\n"
        "stops nothing that runs for you.");
    command.footer(
        "examples:\n"
        "  handheld autostart on\n"
        "  handheld autostart status\n"
        "  handheld autostart off");
}

bool AutostartVerb::use_systemd() const {
    return via_ == "systemd" || (via_ == "auto" && ServiceUnit::user_manager_runs());
}

ExitCode AutostartVerb::run(Console& console) {
    const ServiceUnit unit(ServiceUnit::installed_service(),
                           std::filesystem::absolute(host::Device::current().root()));
    if (on_->parsed()) return turn_on(unit, console);
    if (off_->parsed()) return turn_off(unit, console);
    return show(unit, console);
}

ExitCode AutostartVerb::turn_on(const ServiceUnit& unit, Console& console) {
    if (!use_systemd()) {
        if (!write_file(unit.autostart_file(), unit.autostart_text(console.tool())))
            return console.fail("cannot write " + unit.autostart_file().string());
        console.out() << "wrote " << unit.autostart_file().string() << '\n'
                      << "no systemd user manager runs here: your desktop session starts the service when you log "
                         "in\n";
        return ExitCode::ok;
    }
    if (unit.name().size() > kLongestUnitName)
        return console.fail("the handheld's path is too long for a unit's name (" + std::to_string(unit.name().size()) +
                            " characters; systemd takes " + std::to_string(kLongestUnitName) +
                            "): use `handheld autostart on --via xdg`, or a handheld at a shorter path");
    remove_former_unit(unit, console);
    if (!unit.template_is_packaged()) {
        if (!write_file(unit.template_file(), unit.template_text(console.tool())))
            return console.fail("cannot write " + unit.template_file().string());
        console.out() << "wrote " << unit.template_file().string() << '\n';
    }
    if (ServiceUnit::user_manager_runs()) {
        HostCommand::run({"systemctl", "--user", "daemon-reload"});
        if (HostCommand::run({"systemctl", "--user", "enable", unit.name()}) != 0)
            return console.fail("systemctl --user enable " + unit.name() + " failed");
        // A service started by hand keeps running; the unit's ends at once and starts next time.
        HostCommand::run({"systemctl", "--user", "start", unit.name()});
        console.out() << "enabled " << unit.name() << ": it starts with your session\n";
    } else {
        // What `systemctl --user enable` does, for a manager that is not running now.
        std::error_code error;
        std::filesystem::create_directories(unit.wants_link().parent_path(), error);
        std::filesystem::remove(unit.wants_link(), error);
        std::filesystem::create_symlink(unit.template_file(), unit.wants_link(), error);
        if (error) return console.fail("cannot enable the unit: " + error.message());
        console.out() << "enabled " << unit.name() << " for default.target; no systemd user manager runs "
                                                      "now, so it starts with your next session\n";
    }
    console.out() << "to start it at boot, before you log in: loginctl enable-linger $USER\n";
    return ExitCode::ok;
}

bool AutostartVerb::remove_file(const std::filesystem::path& file, Console& console) {
    std::error_code error;
    if (!present(file)) return true;
    if (!std::filesystem::remove(file, error)) {
        console.fail("cannot remove " + file.string());
        return false;
    }
    console.out() << "removed " << file.string() << '\n';
    return true;
}

bool AutostartVerb::remove_former_unit(const ServiceUnit& unit, Console& console) {
    if (!present(unit.former_unit_file()) && !present(unit.former_wants_link())) return true;
    if (ServiceUnit::user_manager_runs())
        HostCommand::run({"systemctl", "--user", "disable", unit.former_unit_file().filename().string()});
    return remove_file(unit.former_wants_link(), console) && remove_file(unit.former_unit_file(), console);
}

ExitCode AutostartVerb::turn_off(const ServiceUnit& unit, Console& console) {
    const bool was_on = present(unit.wants_link()) || present(unit.former_unit_file()) || present(unit.autostart_file());
    if (present(unit.wants_link()) && ServiceUnit::user_manager_runs())
        HostCommand::run({"systemctl", "--user", "disable", unit.name()});
    if (!remove_file(unit.wants_link(), console) || !remove_former_unit(unit, console) ||
        !remove_file(unit.autostart_file(), console))
        return ExitCode::failed;
    // The person's own template goes with the last handheld it starts.
    if (!unit.template_is_packaged() && ServiceUnit::enabled_instances().empty() &&
        !remove_file(unit.template_file(), console))
        return ExitCode::failed;
    if (was_on && ServiceUnit::user_manager_runs()) HostCommand::run({"systemctl", "--user", "daemon-reload"});
    if (!was_on) console.out() << "nothing of yours started the service with the session\n";
    // What still runs, or still starts, is the person's to end: say how.
    if (ServiceUnit::packaged_starts(host::Device::current().root()) && ServiceUnit::packaged_enabled())
        console.out() << "the package's unit " << ServiceUnit::kPackagedName
                      << " still starts this handheld: systemctl --user disable --now kivo\n";
    if (const auto running = host::ServiceLink(host::Device::current()).running())
        console.out() << console.called("the service runs until it is stopped (process " + std::to_string(*running) +
                                        "): `handheld stop`")
                      << '\n';
    return ExitCode::ok;
}

ExitCode AutostartVerb::show(const ServiceUnit& unit, Console& console) {
    const bool enabled = present(unit.wants_link());
    const bool entry_written = present(unit.autostart_file());
    const bool former = present(unit.former_unit_file());
    const bool packaged = ServiceUnit::packaged_starts(host::Device::current().root());
    auto& out = console.out();
    const auto instances = ServiceUnit::enabled_instances();
    for (const auto& instance : instances)
        out << "systemd user unit " << instance.name << " starts the handheld at " << instance.device.string()
            << (instance.name == unit.name() ? " (this one)" : "") << '\n';
    if (enabled) out << "its template: " << unit.template_file().string() << '\n';
    if (former)
        out << "systemd user unit " << unit.former_unit_file().string() << " (of an earlier KIVO; "
            << console.called("`handheld autostart on` replaces it)") << '\n';
    if (entry_written) out << "XDG autostart entry " << unit.autostart_file().string() << '\n';
    if (packaged)
        out << "the package's systemd user unit " << ServiceUnit::kPackagedName << " starts this handheld"
            << (ServiceUnit::packaged_enabled() ? ", enabled"
                                                : ", not enabled (`systemctl --user enable --now kivo`)")
            << '\n';
    if (!enabled && !entry_written && !former && !(packaged && ServiceUnit::packaged_enabled()))
        out << console.called("off: nothing starts the service with your session (`handheld autostart on`)") << '\n';
    out << (ServiceUnit::user_manager_runs() ? "a systemd user manager runs for you\n"
                                             : "no systemd user manager runs for you\n");
    return ExitCode::ok;
}

}  // namespace handheld

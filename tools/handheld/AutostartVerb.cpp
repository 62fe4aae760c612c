#include "AutostartVerb.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "HostCommand.h"
#include "host/Device.h"

namespace handheld {

namespace {

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
        action->add_option("--via", via_, "systemd, xdg, or auto: systemd where a user manager runs (default)")
            ->check(CLI::IsMember({"auto", "systemd", "xdg"}));
    describe(
        "Starts the handheld's notification service with your session, so that alarms ring\n"
        "after the computer restarts without anyone starting KIVO. Where systemd runs a user\n"
        "manager, `on` writes the user unit ~/.config/systemd/user/kivo-handheld-*.service\n"
        "(the service with this handheld's directory, restarted should it fail) and enables it\n"
        "with `systemctl --user`; it then also runs before you log in once lingering is on\n"
        "(`loginctl enable-linger`). Elsewhere it writes the XDG autostart entry\n"
        "~/.config/autostart/kivo-handheld-*.desktop, which a desktop session runs at log-in.\n"
        "--via chooses one of the two. `off` removes both. KIVO's package also brings the unit\n"
        "kivo.service, which starts the default handheld (~/.local/share/kivo/device) for each\n"
        "person who enables it (`systemctl --user enable --now kivo`); `status` says so.");
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
        if (!write_file(unit.autostart_file(), unit.autostart_text()))
            return console.fail("cannot write " + unit.autostart_file().string());
        console.out() << "wrote " << unit.autostart_file().string() << '\n'
                      << "no systemd user manager runs here: your desktop session starts the service when you log "
                         "in\n";
        return ExitCode::ok;
    }
    if (!write_file(unit.unit_file(), unit.unit_text())) return console.fail("cannot write " + unit.unit_file().string());
    console.out() << "wrote " << unit.unit_file().string() << '\n';
    if (ServiceUnit::user_manager_runs()) {
        HostCommand::run({"systemctl", "--user", "daemon-reload"});
        if (HostCommand::run({"systemctl", "--user", "enable", unit.name() + ".service"}) != 0)
            return console.fail("systemctl --user enable " + unit.name() + ".service failed");
        // A service started by hand keeps running; the unit's ends at once and starts next time.
        HostCommand::run({"systemctl", "--user", "start", unit.name() + ".service"});
        console.out() << "enabled " << unit.name() << ".service: it starts with your session\n";
    } else {
        // What `systemctl --user enable` does, for a manager that is not running now.
        std::error_code error;
        std::filesystem::create_directories(unit.wants_link().parent_path(), error);
        std::filesystem::remove(unit.wants_link(), error);
        std::filesystem::create_symlink(unit.unit_file(), unit.wants_link(), error);
        if (error) return console.fail("cannot enable the unit: " + error.message());
        console.out() << "enabled " << unit.name() << ".service for default.target; no systemd user manager runs "
                                                      "now, so it starts with your next session\n";
    }
    console.out() << "to start it at boot, before you log in: loginctl enable-linger $USER\n";
    return ExitCode::ok;
}

ExitCode AutostartVerb::turn_off(const ServiceUnit& unit, Console& console) {
    std::error_code error;
    if (present(unit.unit_file()) && ServiceUnit::user_manager_runs())
        HostCommand::run({"systemctl", "--user", "disable", unit.name() + ".service"});
    bool removed = false;
    for (const auto& file : {unit.wants_link(), unit.unit_file(), unit.autostart_file()}) {
        if (!present(file)) continue;
        if (!std::filesystem::remove(file, error)) return console.fail("cannot remove " + file.string());
        console.out() << "removed " << file.string() << '\n';
        removed = true;
    }
    if (removed && ServiceUnit::user_manager_runs()) HostCommand::run({"systemctl", "--user", "daemon-reload"});
    if (!removed) console.out() << "nothing started the service with the session\n";
    return ExitCode::ok;
}

ExitCode AutostartVerb::show(const ServiceUnit& unit, Console& console) {
    const bool unit_written = present(unit.unit_file());
    const bool enabled = present(unit.wants_link());
    const bool entry_written = present(unit.autostart_file());
    const bool packaged = ServiceUnit::packaged_starts(host::Device::current().root());
    auto& out = console.out();
    if (unit_written)
        out << "systemd user unit " << unit.unit_file().string() << (enabled ? ", enabled" : ", not enabled") << '\n';
    if (entry_written) out << "XDG autostart entry " << unit.autostart_file().string() << '\n';
    if (packaged)
        out << "the package's systemd user unit " << ServiceUnit::kPackagedName << " starts this handheld"
            << (ServiceUnit::packaged_enabled() ? ", enabled"
                                                : ", not enabled (`systemctl --user enable --now kivo`)")
            << '\n';
    if (!unit_written && !entry_written && !(packaged && ServiceUnit::packaged_enabled()))
        out << "off: nothing starts the service with your session (`handheld autostart on`)\n";
    out << (ServiceUnit::user_manager_runs() ? "a systemd user manager runs for you\n"
                                             : "no systemd user manager runs for you\n");
    return ExitCode::ok;
}

}  // namespace handheld

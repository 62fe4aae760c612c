#pragma once
// What starts a handheld's notification service with the person's session: a systemd
// user unit (~/.config/systemd/user/NAME.service, enabled for default.target) where the
// computer runs systemd, else an XDG autostart entry (~/.config/autostart/NAME.desktop),
// which desktop sessions run at log-in. Both run the service with the handheld's
// directory on its command line; one unit per handheld, named after its directory.

#include <filesystem>
#include <string>

namespace handheld {

class ServiceUnit {
public:
    ServiceUnit(std::filesystem::path service, std::filesystem::path device);

    // "kivo-handheld-1a2b3c4d": the same handheld always gets the same name.
    const std::string& name() const { return name_; }
    std::filesystem::path unit_file() const;
    std::filesystem::path wants_link() const;  // what enabling it for default.target makes
    std::filesystem::path autostart_file() const;

    std::string unit_text() const;
    std::string autostart_text() const;

    // The service the handheld was last started with, else the one built with this tool.
    static std::filesystem::path installed_service();
    // Whether a systemd user manager runs for this user now ($XDG_RUNTIME_DIR/systemd/private).
    static bool user_manager_runs();

    // The package's unit, kivo.service, starts the handheld at ~/.local/share/kivo/device
    // for each person who enables it. Whether it is installed with this tool and starts
    // `device`, and whether this person enabled it.
    static constexpr const char* kPackagedName = "kivo.service";
    static bool packaged_starts(const std::filesystem::path& device);
    static bool packaged_enabled();

private:
    std::filesystem::path service_;
    std::filesystem::path device_;
    std::string name_;
};

}  // namespace handheld

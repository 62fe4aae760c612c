#pragma once
// What starts a handheld's notification service with the person's session. Where the
// computer runs systemd: the template user unit kivo@.service, enabled for default.target
// as the instance that names the handheld's directory (kivo@home-ann-.local-share-kivo-
// device.service, systemd's own escape of a path, read back by the unit's %f). The
// package brings the template (/usr/lib/systemd/user/kivo@.service); a tool run from a
// build writes one of its own to ~/.config/systemd/user, naming the build's service.
// Elsewhere an XDG autostart entry (~/.config/autostart/NAME.desktop), which desktop
// sessions run at log-in, and skip once the service it names is gone (TryExec).

#include <filesystem>
#include <string>
#include <vector>

namespace handheld {

class ServiceUnit {
public:
    ServiceUnit(std::filesystem::path service, std::filesystem::path device);

    static constexpr const char* kTemplateName = "kivo@.service";
    // "kivo@home-ann-.local-share-kivo-device.service": the template's instance for this handheld.
    const std::string& name() const { return name_; }
    std::filesystem::path wants_link() const;  // what enabling it for default.target makes
    // The template this instance runs: the package's when the tool comes from one, else
    // the person's own (~/.config/systemd/user/kivo@.service), which the tool writes.
    std::filesystem::path template_file() const;
    bool template_is_packaged() const;
    std::filesystem::path autostart_file() const;
    // The unit of this handheld that tools before the template wrote (kivo-handheld-HASH.service).
    std::filesystem::path former_unit_file() const;
    std::filesystem::path former_wants_link() const;

    // Written with the commands spelt as `tool`, the name the tool was called by.
    std::string template_text(const std::string& tool) const;
    std::string autostart_text(const std::string& tool) const;

    // The handhelds whose instances this person enabled, and the instances' names.
    struct Instance {
        std::string name;
        std::filesystem::path device;
    };
    static std::vector<Instance> enabled_instances();

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

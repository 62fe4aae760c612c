#pragma once
// The time zone of the computer the handheld runs on, which a handheld that follows the
// computer takes: the one $TZ names (when it names a zone of the tz database: "Europe/Berlin",
// ":Europe/Berlin", or a path to its file, "/usr/share/zoneinfo/Europe/Berlin"), else the
// one the link /etc/localtime points into the tz database, as timedatectl keeps it.
// KIVO_HOST_LOCALTIME names another link, so that a test can change "the computer's"
// zone without touching the machine's.

#include <filesystem>
#include <optional>
#include <string>

namespace host {

class ComputerZone {
public:
    struct Choice {
        std::string zone;
        bool named_by_tz = false;  // from $TZ: fixed for the handheld, no link to watch
    };

    // $TZ's zone when it names one, else the link's, else UTC.
    static Choice current();
    // The zone $TZ names; nothing when TZ is unset, empty or not a zone's name ("CET-1CEST").
    static std::optional<std::string> named_by_tz();
    // Why $TZ, set, names no zone the handheld can take ("TZ=CET-1CEST is a POSIX rule, …");
    // empty when it is unset, empty or a zone.
    static std::string tz_refusal();
    // The link that names the computer's zone.
    static std::filesystem::path link();
    // The zone `link` names: its target's path below a "zoneinfo" folder, when that is a
    // zone of the tz database; nothing for a missing link or another file.
    static std::optional<std::string> of_link(const std::filesystem::path& link);
    // The zone a path into the tz database names: the part after "zoneinfo/", without the
    // posix/ or right/ of its copies ("/usr/share/zoneinfo/posix/Europe/Berlin").
    static std::optional<std::string> of_path(const std::string& path);
};

}  // namespace host

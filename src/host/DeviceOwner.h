#pragma once
// Whose a handheld is. A handheld belongs to the account that made it and to nobody else:
// its folders are 0700 and its files 0600, so no other account reads its alarms, takes its
// locks or reaches its service. A handheld that another account owns, or that others may
// change (its folder or one of its parts writable by others, a part that is a link or
// someone else's), is not used at all: whoever trusted it would run the programs its
// database names and wait on locks others hold.

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

namespace host {

class DeviceOwner {
public:
    // Why this process must not use the handheld at `root`, saying whose it is and what to
    // do; empty when it may (also when there is none there yet).
    static std::string refusal(const std::filesystem::path& root);
    // Takes group and other access away from the handheld and everything in it (links are
    // left alone). When anything was open to others: the mode its folder had ("0755"),
    // empty when only parts inside it were open; else nothing.
    static std::optional<std::string> tighten(const std::filesystem::path& root);
    // A file copied into the handheld keeps its source's mode (std::filesystem::copy_file
    // sets it past the umask): it is made its owner's alone, runnable by them if it was.
    static void make_private(const std::filesystem::path& file);
    // The account's login name, else its number.
    static std::string account_name(uid_t uid);
    // The home folder of the account `name` as the password database gives it; empty when unknown.
    static std::filesystem::path home_of(const std::string& name);
    static std::filesystem::path home_of(uid_t uid);
};

}  // namespace host

#include "host/DeviceOwner.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <vector>

namespace host {

namespace {

// What the handheld's folder holds, each made by the handheld's own processes.
constexpr const char* kParts[] = {"fs", "run", "log", "device.db"};
constexpr mode_t kOthersWrite = S_IWGRP | S_IWOTH;
constexpr mode_t kOthersAny = S_IRWXG | S_IRWXO;

std::string octal(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

std::string foreign(const std::filesystem::path& path, uid_t owner) {
    return path.string() + " belongs to " + DeviceOwner::account_name(owner) + ", not to you (" +
           DeviceOwner::account_name(geteuid()) + "): KIVO uses only a handheld of your own; run it as " +
           DeviceOwner::account_name(owner) + ", or make your own with `handheld --device DIR init`";
}

std::optional<passwd> entry(uid_t uid, std::vector<char>& buffer) {
    passwd found{};
    passwd* result = nullptr;
    buffer.resize(16384);
    if (getpwuid_r(uid, &found, buffer.data(), buffer.size(), &result) != 0 || result == nullptr) return std::nullopt;
    return found;
}

}  // namespace

std::string DeviceOwner::account_name(uid_t uid) {
    std::vector<char> buffer;
    const auto found = entry(uid, buffer);
    return found && found->pw_name != nullptr ? found->pw_name : "uid " + std::to_string(uid);
}

std::filesystem::path DeviceOwner::home_of(uid_t uid) {
    std::vector<char> buffer;
    const auto found = entry(uid, buffer);
    return found && found->pw_dir != nullptr && found->pw_dir[0] == '/' ? found->pw_dir : "";
}

std::filesystem::path DeviceOwner::home_of(const std::string& name) {
    passwd found{};
    passwd* result = nullptr;
    std::vector<char> buffer(16384);
    if (getpwnam_r(name.c_str(), &found, buffer.data(), buffer.size(), &result) != 0 || result == nullptr ||
        found.pw_dir == nullptr || found.pw_dir[0] != '/')
        return {};
    return found.pw_dir;
}

std::string DeviceOwner::refusal(const std::filesystem::path& root) {
    if (root.empty())
        return "no home folder to keep the handheld in: set HOME, or name the handheld with --device DIR "
               "(or KIVO_DEVICE)";
    struct stat folder {};
    // The folder itself may be a person's own link to where they keep it.
    if (stat(root.c_str(), &folder) != 0)
        return errno == ENOENT ? "" : "cannot look at the handheld at " + root.string() + ": " + std::strerror(errno);
    if (!S_ISDIR(folder.st_mode)) return root.string() + " is not a handheld's folder";
    if (folder.st_uid != geteuid()) return "the handheld at " + foreign(root, folder.st_uid);
    if ((folder.st_mode & kOthersWrite) != 0)
        return "the handheld at " + root.string() + " can be changed by other accounts (mode " + octal(folder.st_mode) +
               "): `chmod 700 " + root.string() + "` makes it yours alone";
    for (const char* name : kParts) {
        const auto part = root / name;
        struct stat status {};
        if (lstat(part.c_str(), &status) != 0) continue;
        if (S_ISLNK(status.st_mode))
            return part.string() + " is a link: the parts of a handheld are its own folders and files; remove it";
        if (status.st_uid != geteuid()) return foreign(part, status.st_uid);
        if ((status.st_mode & kOthersWrite) != 0)
            return part.string() + " can be changed by other accounts (mode " + octal(status.st_mode) + "): `chmod -R go-rwx " +
                   root.string() + "` makes the handheld yours alone";
    }
    return "";
}

void DeviceOwner::make_private(const std::filesystem::path& file) {
    struct stat status {};
    if (stat(file.c_str(), &status) == 0) chmod(file.c_str(), status.st_mode & 07700);
}

std::optional<std::string> DeviceOwner::tighten(const std::filesystem::path& root) {
    struct stat folder {};
    if (stat(root.c_str(), &folder) != 0 || folder.st_uid != geteuid()) return std::nullopt;
    bool opened_up = false;
    const auto close_up = [&](const std::filesystem::path& path, const struct stat& status) {
        if ((status.st_mode & kOthersAny) == 0) return;
        opened_up = true;
        chmod(path.c_str(), status.st_mode & 07700);
    };
    close_up(root, folder);
    std::error_code error;
    // The walk neither follows links nor changes them: what a link names is not the handheld's.
    for (std::filesystem::recursive_directory_iterator walk(root, error), end; !error && walk != end;
         walk.increment(error)) {
        struct stat status {};
        if (lstat(walk->path().c_str(), &status) == 0 && !S_ISLNK(status.st_mode) && status.st_uid == geteuid())
            close_up(walk->path(), status);
    }
    if (!opened_up) return std::nullopt;
    return (folder.st_mode & kOthersAny) != 0 ? octal(folder.st_mode) : std::string();
}

}  // namespace host

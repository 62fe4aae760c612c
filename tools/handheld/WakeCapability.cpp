#include "WakeCapability.h"

#include <endian.h>
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host/DeviceOwner.h"

namespace handheld {

namespace {

class OpenFile {
public:
    explicit OpenFile(int fd) : fd_(fd) {}
    ~OpenFile() {
        if (fd_ >= 0) close(fd_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// What setcap writes for cap_wake_alarm=p: the capability permitted, not raised at exec,
// so the service raises it only for its timer.
vfs_cap_data wake_alarm_permitted() {
    vfs_cap_data capabilities{};
    capabilities.magic_etc = htole32(VFS_CAP_REVISION_2);
    capabilities.data[CAP_TO_INDEX(CAP_WAKE_ALARM)].permitted = htole32(CAP_TO_MASK(CAP_WAKE_ALARM));
    return capabilities;
}

}  // namespace

ExitCode WakeCapability::grant(const std::filesystem::path& service, Console& console) {
    const std::string shown = service.string();
    if (geteuid() != 0)
        return console.fail(console.called("setting CAP_WAKE_ALARM on " + shown + " takes root: run `sudo handheld install --wake`"));
    const OpenFile file(open(service.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (file.fd() < 0)
        return console.fail("cannot open the notification service " + shown + ": " +
                            (errno == ELOOP ? std::string("it is a link") : std::strerror(errno)));
    struct stat status {};
    if (fstat(file.fd(), &status) != 0 || !S_ISREG(status.st_mode))
        return console.fail(shown + " is not a program file");
    if (status.st_uid != 0)
        return console.fail("the notification service " + shown + " belongs to " +
                            host::DeviceOwner::account_name(status.st_uid) +
                            ", not to root: root gives a capability only to a program no other account can change "
                            "(install the package, or build as root)");
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return console.fail("the notification service " + shown + " can be changed by other accounts: `chmod go-w " +
                            shown + "` first");
    const vfs_cap_data capabilities = wake_alarm_permitted();
    if (fsetxattr(file.fd(), "security.capability", &capabilities, XATTR_CAPS_SZ_2, 0) != 0)
        return console.fail("could not set CAP_WAKE_ALARM on " + shown + ": " + std::strerror(errno));
    console.out() << "set CAP_WAKE_ALARM on " << shown << '\n'
                  << console.called("a notification service started from now on wakes this computer from suspend for an alarm "
                     "(`handheld stop` and `handheld start` restart a running one; a rebuild of the service drops "
                     "the capability)") << '\n';
    return ExitCode::ok;
}

}  // namespace handheld

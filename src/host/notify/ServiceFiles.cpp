#include "host/notify/ServiceFiles.h"

#include <cstring>

#include "host/Device.h"

namespace host {

ServiceFiles::ServiceFiles(const Device& device)
    : dir_(std::filesystem::absolute(device.run_dir() / "notify")) {}

ServiceFiles ServiceFiles::of(const std::filesystem::path& root) {
    ServiceFiles files;
    files.dir_ = std::filesystem::absolute(root / "run" / "notify");
    return files;
}

bool ServiceFiles::socket_address(sockaddr_un* address, socklen_t* length) const {
    const std::string path = socket().string();
    *address = {};
    address->sun_family = AF_UNIX;
    if (path.size() >= sizeof address->sun_path) return false;
    std::memcpy(address->sun_path, path.c_str(), path.size() + 1);
    *length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
    return true;
}

}  // namespace host

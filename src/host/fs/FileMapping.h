#pragma once
// A read-only mapping object: its own descriptor of the file and the mapped length.

#include <cstdint>

#include "host/HandleTable.h"

namespace host {

class FileMapping : public ce::KernelObject {
public:
    FileMapping(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    ~FileMapping() override;

    int fd() const { return fd_; }
    std::uint64_t size() const { return size_; }

private:
    int fd_;
    std::uint64_t size_;
};

}  // namespace host

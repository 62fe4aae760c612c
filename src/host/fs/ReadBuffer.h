#pragma once
// A piece of a file as a handle last read it, for a handle whose sharing refuses other
// writers: until it closes, only that handle can change the file, so what it read stays
// true until it writes itself (which drops the piece). A caller taking a small file apart
// field by field then costs one read of the file, not one a field.

#include <sys/types.h>

#include <cstdint>
#include <vector>

namespace host {

class ReadBuffer {
public:
    // Reads of this size or more go to the file directly.
    static constexpr std::size_t kBytes = 4096;

    // Copies the file's bytes from `position` (at most `bytes`, fewer at the end of the
    // file) into `out`, reading the piece at `position` through `fd` when the buffer does
    // not hold them. The number copied, or -1 with errno set.
    ssize_t read(int fd, std::int64_t position, char* out, std::size_t bytes);
    void drop();

private:
    bool holds(std::int64_t position, std::size_t bytes) const;
    bool fill(int fd, std::int64_t position);

    std::vector<char> data_;
    std::int64_t start_ = 0;
    bool ends_file_ = false;  // the file ended inside the piece
};

}  // namespace host

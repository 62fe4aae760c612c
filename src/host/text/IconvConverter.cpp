#include "host/text/IconvConverter.h"

#include <cerrno>

namespace host {

IconvConverter::IconvConverter(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {}

IconvConverter::~IconvConverter() {
    if (ok()) iconv_close(descriptor_);
}

IconvConverter::Step IconvConverter::convert(const char* in, std::size_t in_bytes, char* out, std::size_t out_bytes) {
    Step step;
    if (!ok()) {
        step.error = EBADF;
        return step;
    }
    iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);  // a fresh start, whatever came before
    char* in_cursor = const_cast<char*>(in);  // iconv's signature, it does not write the input
    char* out_cursor = out;
    std::size_t in_left = in_bytes;
    std::size_t out_left = out_bytes;
    if (iconv(descriptor_, &in_cursor, &in_left, &out_cursor, &out_left) == static_cast<std::size_t>(-1))
        step.error = errno;
    step.consumed = in_bytes - in_left;
    step.produced = out_bytes - out_left;
    return step;
}

}  // namespace host

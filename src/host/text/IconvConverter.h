#pragma once
// One iconv conversion descriptor, closed with the object. A descriptor keeps shift
// state and must not be used by two threads at once; callers keep one per thread.

#include <iconv.h>

#include <cstddef>

namespace host {

class IconvConverter {
public:
    IconvConverter(const char* to, const char* from);
    ~IconvConverter();
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;

    bool ok() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }

    struct Step {
        std::size_t consumed = 0;  // input bytes converted
        std::size_t produced = 0;  // output bytes written
        int error = 0;             // 0 when all input was converted, else EILSEQ, EINVAL or E2BIG
    };
    // Converts from the start of `in` until its end or the first unit iconv refuses.
    Step convert(const char* in, std::size_t in_bytes, char* out, std::size_t out_bytes);

private:
    iconv_t descriptor_;
};

}  // namespace host

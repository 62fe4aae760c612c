#pragma once
// A time format picture ("h:mm:ss tt") taken apart into fields and the text between
// them, and written out for one time of day.

#include <string>
#include <string_view>
#include <vector>

#include "ce/Types.h"

namespace host {

class TimePicture {
public:
    explicit TimePicture(std::u16string_view picture);

    // `flags` are the TIME_* flags of ce/Locale.h.
    std::u16string Format(int hour, int minute, int second, ce::DWORD flags) const;

private:
    enum class Kind { text, hour12, hour24, minute, second, marker };
    struct Piece {
        Kind kind = Kind::text;
        int width = 1;  // letters in the field: "hh" is 2
        std::u16string text;
    };
    static bool Left(Kind kind, ce::DWORD flags);
    std::u16string Field(const Piece& piece, int hour, int minute, int second) const;

    std::vector<Piece> pieces_;
};

}  // namespace host

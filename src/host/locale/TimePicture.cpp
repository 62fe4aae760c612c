#include "host/locale/TimePicture.h"

#include "ce/Locale.h"
#include "host/locale/International.h"

namespace host {

TimePicture::TimePicture(std::u16string_view picture) {
    for (std::size_t at = 0; at < picture.size();) {
        const char16_t letter = picture[at];
        if (letter == u'\'') {
            // Quoted text stands as written; two quotes in a row are one quote.
            Piece text;
            ++at;
            while (at < picture.size()) {
                if (picture[at] == u'\'' && at + 1 < picture.size() && picture[at + 1] == u'\'') {
                    text.text += u'\'';
                    at += 2;
                } else if (picture[at] == u'\'') {
                    ++at;
                    break;
                } else {
                    text.text += picture[at++];
                }
            }
            pieces_.push_back(text);
            continue;
        }
        Kind kind = Kind::text;
        switch (letter) {
            case u'h': kind = Kind::hour12; break;
            case u'H': kind = Kind::hour24; break;
            case u'm': kind = Kind::minute; break;
            case u's': kind = Kind::second; break;
            case u't': kind = Kind::marker; break;
            default: break;
        }
        if (kind == Kind::text) {
            if (pieces_.empty() || pieces_.back().kind != Kind::text) pieces_.push_back({});
            pieces_.back().text += letter;
            ++at;
            continue;
        }
        int width = 0;
        while (at < picture.size() && picture[at] == letter) {
            ++width;
            ++at;
        }
        pieces_.push_back({kind, width > 2 ? 2 : width, {}});
    }
}

bool TimePicture::Left(Kind kind, ce::DWORD flags) {
    switch (kind) {
        case Kind::minute: return (flags & ce::TIME_NOMINUTESORSECONDS) == 0;
        case Kind::second: return (flags & (ce::TIME_NOMINUTESORSECONDS | ce::TIME_NOSECONDS)) == 0;
        case Kind::marker: return (flags & (ce::TIME_NOTIMEMARKER | ce::TIME_FORCE24HOURFORMAT)) == 0;
        default: return true;
    }
}

std::u16string TimePicture::Field(const Piece& piece, int hour, int minute, int second) const {
    switch (piece.kind) {
        case Kind::hour12: {
            const int twelve = hour % 12 == 0 ? 12 : hour % 12;
            return International::Digits(twelve, piece.width);
        }
        case Kind::hour24: return International::Digits(hour, piece.width);
        case Kind::minute: return International::Digits(minute, piece.width);
        case Kind::second: return International::Digits(second, piece.width);
        case Kind::marker: {
            const std::u16string marker = hour < 12 ? u"AM" : u"PM";
            return piece.width == 1 ? marker.substr(0, 1) : marker;
        }
        case Kind::text: return piece.text;
    }
    return {};
}

std::u16string TimePicture::Format(int hour, int minute, int second, ce::DWORD flags) const {
    std::vector<Piece> kept;
    for (Piece piece : pieces_) {
        if ((flags & ce::TIME_FORCE24HOURFORMAT) != 0 && piece.kind == Kind::hour12) piece.kind = Kind::hour24;
        if (Left(piece.kind, flags)) {
            kept.push_back(piece);
            continue;
        }
        // The separator that led up to a field left out goes with it ("h:mm:ss" without
        // seconds is "h:mm", not "h:mm:").
        if (!kept.empty() && kept.back().kind == Kind::text) kept.pop_back();
    }
    std::u16string text;
    for (const auto& piece : kept) text += Field(piece, hour, minute, second);
    // A picture that ends in a marker left out keeps no trailing space.
    while (!text.empty() && text.back() == u' ') text.pop_back();
    return text;
}

}  // namespace host

#include "irlib/irvox/command.h"

#include <cstring>

namespace irvox {

meta::value command::owned_text(const char* text) {
    return text == nullptr ? meta::value() : meta::value::make_text(text, meta::owned);
}

const char* command::text_of(const meta::value& v) {
    const char* text = v.text();
    return text == nullptr ? "" : text;
}

bool command::operator==(const command& other) const {
    const auto same = [](const meta::value& a, const meta::value& b) {
        return is_set(a) == is_set(b) && std::strcmp(text_of(a), text_of(b)) == 0;
    };
    return kind == other.kind && same(id, other.id) && same(base, other.base) && same(comment, other.comment) &&
           repeat == other.repeat && duration == other.duration;
}

}  // namespace irvox

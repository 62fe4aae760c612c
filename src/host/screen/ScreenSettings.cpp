#include "host/screen/ScreenSettings.h"

#include <charconv>
#include <optional>

namespace host {

namespace {

std::optional<long> number_of(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    long value = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc{} || end != text->data() + text->size()) return std::nullopt;
    return value;
}

// A setting edited by hand into nonsense falls back to the default instead of giving a
// screen no window can be laid out on.
int dimension(Database& database, const char* name, int fallback) {
    const auto value = number_of(database.setting(name));
    return value && *value >= 1 && *value <= ScreenSettings::kLargest ? static_cast<int>(*value) : fallback;
}

}  // namespace

ScreenSettings ScreenSettings::read(Database& database) {
    ScreenSettings screen;
    if (!database.is_open()) return screen;
    screen.width = dimension(database, kWidth, screen.width);
    screen.height = dimension(database, kHeight, screen.height);
    screen.dpi = dimension(database, kDpi, screen.dpi);
    const auto flags = number_of(database.setting(kInputPanel));
    if (flags && *flags >= 0) screen.input_panel = static_cast<unsigned>(*flags);
    return screen;
}

bool ScreenSettings::valid() const {
    const auto in_range = [](int value) { return value >= 1 && value <= kLargest; };
    return in_range(width) && in_range(height) && in_range(dpi);
}

bool ScreenSettings::write(Database& database) const {
    if (!valid()) return false;
    Transaction transaction(database);
    return transaction.ok() && database.set_setting(kWidth, std::to_string(width)) &&
           database.set_setting(kHeight, std::to_string(height)) && database.set_setting(kDpi, std::to_string(dpi)) &&
           database.set_setting(kInputPanel, std::to_string(input_panel)) && transaction.commit();
}

std::string ScreenSettings::describe() const {
    return std::to_string(width) + " x " + std::to_string(height) + " at " + std::to_string(dpi) + " dpi";
}

}  // namespace host

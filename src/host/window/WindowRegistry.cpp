#include "host/window/WindowRegistry.h"

#include <algorithm>
#include <charconv>

#include "ce/Text.h"

namespace host {

namespace {

constexpr const char* kForegroundSetting = "window.foreground";

std::int64_t number_of(ce::HWND handle) { return static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(handle)); }

ce::HWND handle_of(std::int64_t number) {
    return reinterpret_cast<ce::HWND>(static_cast<std::uintptr_t>(number));
}

}  // namespace

bool WindowRegistry::add(const WindowRecord& window) {
    RuntimeWrite write(db_);
    // `made` orders the windows newest first; a row a dead process left under the same
    // handle is replaced.
    Statement insert(db_.handle(),
                     "INSERT OR REPLACE INTO windows (handle, class, title, pid, started, thread, made) "
                     "VALUES (?1, ?2, ?3, ?4, ?5, ?6, (SELECT IFNULL(MAX(made), 0) + 1 FROM windows))");
    insert.bind(1, number_of(window.handle))
        .bind(2, ce::utf8_from_utf16(window.class_name))
        .bind(3, ce::utf8_from_utf16(window.title))
        .bind(4, std::int64_t{window.owner.pid})
        .bind(5, static_cast<std::int64_t>(window.owner.started))
        .bind(6, std::int64_t{window.thread});
    return insert.run();
}

bool WindowRegistry::remove(ce::HWND handle) {
    RuntimeWrite write(db_);
    Statement erase(db_.handle(), "DELETE FROM windows WHERE handle = ?1");
    erase.bind(1, number_of(handle));
    return erase.run();
}

bool WindowRegistry::remove_thread(const ProcessIdentity& owner, ce::DWORD thread) {
    RuntimeWrite write(db_);
    Statement erase(db_.handle(), "DELETE FROM windows WHERE pid = ?1 AND started = ?2 AND thread = ?3");
    erase.bind(1, std::int64_t{owner.pid}).bind(2, static_cast<std::int64_t>(owner.started)).bind(3, std::int64_t{thread});
    return erase.run();
}

bool WindowRegistry::set_title(ce::HWND handle, std::u16string_view title) {
    RuntimeWrite write(db_);
    Statement update(db_.handle(), "UPDATE windows SET title = ?2 WHERE handle = ?1");
    update.bind(1, number_of(handle)).bind(2, ce::utf8_from_utf16(title));
    return update.run() && db_.changes() == 1;
}

std::vector<WindowRecord> WindowRegistry::query(const char* sql, ce::HWND handle) {
    std::vector<WindowRecord> rows;
    {
        std::lock_guard guard(db_.lock());
        Statement select(db_.handle(), sql);
        if (handle != nullptr) select.bind(1, number_of(handle));
        while (select.step() == SQLITE_ROW) {
            WindowRecord window;
            window.handle = handle_of(select.column_int(0));
            window.class_name = ce::utf16_from_utf8(select.column_text(1));
            window.title = ce::utf16_from_utf8(select.column_text(2));
            window.owner.pid = static_cast<pid_t>(select.column_int(3));
            window.owner.started = static_cast<std::uint64_t>(select.column_int(4));
            window.thread = static_cast<ce::DWORD>(select.column_int(5));
            window.topmost = select.column_int(6) != 0;
            rows.push_back(std::move(window));
        }
    }
    std::erase_if(rows, [&](const WindowRecord& window) { return forget_if_dead(window); });
    return rows;
}

bool WindowRegistry::forget_if_dead(const WindowRecord& window) {
    if (window.owner.alive()) return false;
    RuntimeWrite write(db_);
    Statement erase(db_.handle(), "DELETE FROM windows WHERE handle = ?1 AND pid = ?2 AND started = ?3");
    erase.bind(1, number_of(window.handle))
        .bind(2, std::int64_t{window.owner.pid})
        .bind(3, static_cast<std::int64_t>(window.owner.started));
    erase.run();
    return true;
}

std::optional<WindowRecord> WindowRegistry::find(ce::HWND handle) {
    auto rows = query("SELECT handle, class, title, pid, started, thread, topmost FROM windows WHERE handle = ?1", handle);
    if (rows.empty()) return std::nullopt;
    return rows.front();
}

std::vector<WindowRecord> WindowRegistry::in_front_first() {
    return query("SELECT handle, class, title, pid, started, thread, topmost FROM windows "
                 "ORDER BY topmost DESC, made DESC",
                 nullptr);
}

std::vector<WindowRecord> WindowRegistry::windows() {
    auto rows = in_front_first();
    if (const auto front = foreground()) {
        const auto found = std::find_if(rows.begin(), rows.end(), [&](const auto& row) { return row.handle == *front; });
        if (found != rows.end()) std::rotate(rows.begin(), found, found + 1);
    }
    return rows;
}

std::optional<ce::HWND> WindowRegistry::foreground() {
    const auto text = db_.setting(kForegroundSetting);
    std::int64_t number = 0;
    if (!text || std::from_chars(text->data(), text->data() + text->size(), number).ec != std::errc{})
        return std::nullopt;
    const ce::HWND handle = handle_of(number);
    const auto left = in_front_first();
    const auto stored = std::find_if(left.begin(), left.end(), [&](const auto& row) { return row.handle == handle; });
    if (stored != left.end()) {
        // The reminder stays what the person sees, whatever was opened after it; the
        // stored window is kept for when the top-most ones have gone.
        return stored->topmost || !left.front().topmost ? handle : left.front().handle;
    }
    // Closing the help viewer must leave KIVO in front, not a screen nobody can operate.
    if (left.empty()) return std::nullopt;
    set_foreground(left.front().handle);
    return left.front().handle;
}

bool WindowRegistry::set_topmost(ce::HWND handle, bool topmost) {
    RuntimeWrite write(db_);
    Statement update(db_.handle(), "UPDATE windows SET topmost = ?2 WHERE handle = ?1");
    update.bind(1, number_of(handle)).bind(2, std::int64_t{topmost ? 1 : 0});
    return update.run() && db_.changes() == 1;
}

bool WindowRegistry::set_foreground(ce::HWND handle) {
    RuntimeWrite write(db_);
    Statement raise(db_.handle(),
                    "UPDATE windows SET made = (SELECT IFNULL(MAX(made), 0) + 1 FROM windows) WHERE handle = ?1");
    raise.bind(1, number_of(handle));
    raise.run();
    return db_.set_setting(kForegroundSetting, std::to_string(number_of(handle)));
}

}  // namespace host

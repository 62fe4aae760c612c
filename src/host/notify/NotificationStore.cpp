#include "host/notify/NotificationStore.h"

#include "ce/Notify.h"
#include "ce/Text.h"
#include "host/clock/Clock.h"
#include "host/clock/LocalTime.h"
#include "host/fs/DevicePath.h"

namespace host {

std::u16string Notification::command_word() const {
    if (is_timed()) return ce::APP_RUN_AT_TIME;
    return event == ce::NOTIFICATION_EVENT_TZ_CHANGE ? ce::APP_RUN_AFTER_TZ_CHANGE : ce::APP_RUN_AFTER_TIME_CHANGE;
}

std::string NotificationStore::key_of(std::u16string_view application) {
    const DevicePath path = DevicePath::parse(application);
    return path.valid() && !path.is_root() ? path.key() : std::string{};
}

bool NotificationStore::set_time(std::u16string_view application, const ce::SYSTEMTIME& local) {
    const std::string key = key_of(application);
    if (key.empty()) return false;
    const auto readings = device_utc_readings(local);
    const auto now = device_utc_now();
    const bool second = readings && readings->first < now && now <= readings->second;
    std::lock_guard guard(db_.lock());
    Statement update(db_.handle(),
                     "INSERT INTO notifications (folded, application, event, time, second_reading) VALUES (?1, ?2, 0, "
                     "?3, ?4) ON CONFLICT(folded, event) DO UPDATE SET application = excluded.application, "
                     "time = excluded.time, second_reading = excluded.second_reading");
    update.bind(1, key).bind(2, ce::utf8_from_utf16(application)).bind(3, time_text(local)).bind(4, std::int64_t{second});
    return update.run();
}

bool NotificationStore::add_event(std::u16string_view application, ce::LONG event) {
    const std::string key = key_of(application);
    if (key.empty()) return false;
    std::lock_guard guard(db_.lock());
    Statement insert(db_.handle(),
                     "INSERT OR IGNORE INTO notifications (folded, application, event) VALUES (?1, ?2, ?3)");
    insert.bind(1, key).bind(2, ce::utf8_from_utf16(application)).bind(3, std::int64_t{event});
    return insert.run();
}

bool NotificationStore::remove_time(std::u16string_view application) { return remove(application, true); }

bool NotificationStore::remove_events(std::u16string_view application) { return remove(application, false); }

bool NotificationStore::remove(std::u16string_view application, bool timed) {
    const std::string key = key_of(application);
    if (key.empty()) return false;
    std::lock_guard guard(db_.lock());
    Statement erase(db_.handle(), timed ? "DELETE FROM notifications WHERE folded = ?1 AND event = 0"
                                        : "DELETE FROM notifications WHERE folded = ?1 AND event <> 0");
    erase.bind(1, key);
    return erase.run();
}

std::optional<ce::SYSTEMTIME> NotificationStore::time_of(std::u16string_view application) {
    const std::string key = key_of(application);
    if (key.empty()) return std::nullopt;
    std::lock_guard guard(db_.lock());
    Statement query(db_.handle(), "SELECT time FROM notifications WHERE folded = ?1 AND event = 0");
    query.bind(1, key);
    if (query.step() != SQLITE_ROW) return std::nullopt;
    return host::time_from_text(query.column_text(0));
}

std::vector<Notification> NotificationStore::list() {
    std::vector<Notification> result;
    std::lock_guard guard(db_.lock());
    Statement query(db_.handle(), "SELECT application, event, time FROM notifications ORDER BY id");
    while (query.step() == SQLITE_ROW) {
        Notification notification;
        notification.application = ce::utf16_from_utf8(query.column_text(0));
        notification.event = static_cast<ce::LONG>(query.column_int(1));
        if (notification.is_timed())
            notification.time = host::time_from_text(query.column_text(2)).value_or(ce::SYSTEMTIME{});
        result.push_back(notification);
    }
    return result;
}

std::vector<TimedRow> NotificationStore::timed_rows() {
    std::vector<TimedRow> rows;
    std::lock_guard guard(db_.lock());
    Statement query(db_.handle(),
                    "SELECT id, application, time, second_reading FROM notifications WHERE event = 0 ORDER BY id");
    while (query.step() == SQLITE_ROW)
        rows.push_back({query.column_int(0), ce::utf16_from_utf8(query.column_text(1)), query.column_text(2),
                        query.column_int(3) != 0});
    return rows;
}

bool NotificationStore::mark_starting(const TimedRow& row) {
    Transaction transaction(db_);
    Statement mark(db_.handle(),
                   "INSERT INTO notification_starts (notification, time) SELECT id, time FROM notifications "
                   "WHERE id = ?1 AND event = 0 AND time IS ?2 ON CONFLICT(notification) DO UPDATE SET "
                   "time = excluded.time WHERE notification_starts.time IS NOT excluded.time");
    mark.bind(1, row.id).bind(2, row.time);
    return transaction.ok() && mark.run() && db_.changes() == 1 && transaction.commit();
}

bool NotificationStore::finish_start(const TimedRow& row) {
    Transaction transaction(db_);
    Statement erase(db_.handle(), "DELETE FROM notifications WHERE id = ?1 AND event = 0 AND time IS ?2");
    erase.bind(1, row.id).bind(2, row.time);
    Statement unmark(db_.handle(), "DELETE FROM notification_starts WHERE notification = ?1");
    unmark.bind(1, row.id);
    return transaction.ok() && erase.run() && unmark.run() && transaction.commit();
}

bool NotificationStore::retry_start(const TimedRow& row, std::chrono::system_clock::time_point at) {
    const auto whole = std::chrono::floor<std::chrono::seconds>(at);
    const ce::SYSTEMTIME local = device_local_time(whole);
    const auto readings = device_utc_readings(local);
    const bool second = readings && whole > readings->first;
    Transaction transaction(db_);
    Statement again(db_.handle(), "UPDATE notifications SET time = ?3, second_reading = ?4 WHERE id = ?1 AND "
                                  "event = 0 AND time IS ?2");
    again.bind(1, row.id).bind(2, row.time).bind(3, time_text(local)).bind(4, std::int64_t{second});
    const bool moved = transaction.ok() && again.run() && db_.changes() == 1;
    Statement unmark(db_.handle(), "DELETE FROM notification_starts WHERE notification = ?1");
    unmark.bind(1, row.id);
    return unmark.run() && transaction.commit() && moved;
}

std::vector<TimedRow> NotificationStore::unfinished_starts() {
    std::vector<TimedRow> rows;
    Transaction transaction(db_);
    db_.exec(
        "DELETE FROM notification_starts WHERE NOT EXISTS (SELECT 1 FROM notifications n WHERE n.id = "
        "notification_starts.notification AND n.event = 0 AND n.time IS notification_starts.time)");
    Statement query(db_.handle(),
                    "SELECT n.id, n.application, n.time, n.second_reading FROM notification_starts s JOIN notifications n "
                    "ON n.id = s.notification ORDER BY n.id");
    while (query.step() == SQLITE_ROW)
        rows.push_back({query.column_int(0), ce::utf16_from_utf8(query.column_text(1)), query.column_text(2),
                        query.column_int(3) != 0});
    transaction.commit();
    return rows;
}

bool NotificationStore::take_timed(const TimedRow& row) {
    std::lock_guard guard(db_.lock());
    Statement erase(db_.handle(), "DELETE FROM notifications WHERE id = ?1 AND event = 0 AND time IS ?2");
    erase.bind(1, row.id).bind(2, row.time);
    if (!erase.run() || db_.changes() != 1) return false;
    Statement unmark(db_.handle(), "DELETE FROM notification_starts WHERE notification = ?1");
    unmark.bind(1, row.id);
    return unmark.run();
}

bool NotificationStore::record_event(ce::LONG event) {
    std::lock_guard guard(db_.lock());
    Statement record(db_.handle(), "INSERT INTO notification_events (event) VALUES (?1) ON CONFLICT(event, taken) "
                                   "DO UPDATE SET count = count + 1");
    record.bind(1, std::int64_t{event});
    return record.run();
}

std::optional<std::map<ce::LONG, long>> NotificationStore::take_events() {
    std::map<ce::LONG, long> taken;
    Transaction transaction(db_);
    if (!transaction.ok()) return std::nullopt;
    const bool moved =
        db_.exec("INSERT INTO notification_events (event, taken, count) SELECT event, 1, count FROM "
                 "notification_events WHERE taken = 0 ON CONFLICT(event, taken) DO UPDATE SET count = count + "
                 "excluded.count") &&
        db_.exec("DELETE FROM notification_events WHERE taken = 0");
    Statement query(db_.handle(), "SELECT event, count FROM notification_events WHERE taken = 1");
    while (moved && query.step() == SQLITE_ROW)
        taken[static_cast<ce::LONG>(query.column_int(0))] = static_cast<long>(query.column_int(1));
    if (!moved || !transaction.commit()) return std::nullopt;
    return taken;
}

bool NotificationStore::event_run(ce::LONG event) {
    std::lock_guard guard(db_.lock());
    Statement erase(db_.handle(), "DELETE FROM notification_events WHERE event = ?1 AND taken = 1");
    erase.bind(1, std::int64_t{event});
    return erase.run();
}

std::vector<std::u16string> NotificationStore::registered_for(ce::LONG event) {
    std::vector<std::u16string> programs;
    std::lock_guard guard(db_.lock());
    Statement query(db_.handle(), "SELECT application FROM notifications WHERE event = ?1 ORDER BY id");
    query.bind(1, std::int64_t{event});
    while (query.step() == SQLITE_ROW) programs.push_back(ce::utf16_from_utf8(query.column_text(0)));
    return programs;
}

}  // namespace host

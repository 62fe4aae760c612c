#include "host/clock/ZoneRules.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <limits>

namespace host {

namespace {

using namespace std::chrono;

constexpr std::int64_t kDay = 86400;
// No offset reaches a day, and no two changes of a zone come within a day of each other
// (the tz database has none closer than weeks): two days around a reading see every
// offset that could hold for it.
constexpr std::int64_t kReadingWindow = 2 * kDay;

// The calendar covers years -32767 to 32767; instants beyond are read in its last years.
int year_of(std::int64_t utc) {
    constexpr std::int64_t kLimit = 32000LL * 366 * kDay;
    const std::int64_t days_since_1970 = std::clamp(utc, -kLimit, kLimit) / kDay;
    return static_cast<int>(year_month_day(sys_days(days(days_since_1970))).year());
}

// The first of `changes` after `utc`.
std::vector<ZoneRules::Change>::const_iterator first_after(const std::vector<ZoneRules::Change>& changes,
                                                           std::int64_t utc) {
    return std::upper_bound(changes.begin(), changes.end(), utc,
                            [](std::int64_t at, const ZoneRules::Change& change) { return at < change.at; });
}

}  // namespace

ZoneRules::ZoneRules(std::int32_t initial, std::vector<Change> listed, std::optional<PosixZoneRule> rule)
    : initial_(initial), listed_(std::move(listed)), rule_(std::move(rule)) {}

std::int32_t ZoneRules::offset_at(std::int64_t utc) const {
    const auto after = first_after(listed_, utc);
    if (after != listed_.end() || !rule_) return after == listed_.begin() ? initial_ : std::prev(after)->offset;
    // Past the last listed change the rule holds, from its own changes after that one.
    std::int32_t offset = listed_.empty() ? rule_->standard_offset() : listed_.back().offset;
    const int year = year_of(utc);
    for (int y = year - 1; y <= year + 1; ++y)
        for (const Change& change : rule_->changes_in(y))
            if (change.at > last_listed() && change.at <= utc) offset = change.offset;
    return offset;
}

std::vector<ZoneRules::Change> ZoneRules::changes_between(std::int64_t from, std::int64_t to) const {
    std::vector<Change> found;
    std::int32_t offset = offset_at(from);
    const auto keep = [&](const Change& change) {
        if (change.at <= from || change.at > to || change.offset == offset) return;
        found.push_back(change);
        offset = change.offset;
    };
    for (auto change = first_after(listed_, from); change != listed_.end() && change->at <= to; ++change) keep(*change);
    if (rule_ && last_listed() < to) {
        for (int y = year_of(from) - 1; y <= year_of(to) + 1; ++y)
            for (const Change& change : rule_->changes_in(y))
                if (change.at > last_listed()) keep(change);
    }
    return found;
}

std::int64_t ZoneRules::last_listed() const {
    return listed_.empty() ? std::numeric_limits<std::int64_t>::min() : listed_.back().at;
}

ZoneRules::Reading ZoneRules::read(std::int64_t local) const {
    // The spans of one offset around the reading, in UTC: the reading is in a span when
    // read with that span's offset it lands inside it.
    struct Span {
        std::int64_t begin;
        std::int64_t end;
        std::int32_t offset;
    };
    std::vector<Span> spans{{std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max(),
                             offset_at(local - kReadingWindow)}};
    for (const Change& change : changes_between(local - kReadingWindow, local + kReadingWindow)) {
        spans.back().end = change.at;
        spans.push_back({change.at, std::numeric_limits<std::int64_t>::max(), change.offset});
    }
    const auto holds = [local](const Span& span) {
        const std::int64_t utc = local - span.offset;
        return span.begin <= utc && utc < span.end;
    };
    for (std::size_t i = 0; i < spans.size(); ++i) {
        if (!holds(spans[i])) continue;
        if (i + 1 < spans.size() && holds(spans[i + 1]))
            return {Reading::Kind::repeated, spans[i].offset, spans[i + 1].offset};
        return {Reading::Kind::unique, spans[i].offset, spans[i].offset};
    }
    // In no span: the clock jumped over the reading, from a span it lies past the end of
    // to one it lies before the start of.
    for (std::size_t i = 0; i + 1 < spans.size(); ++i)
        if (local - spans[i].offset >= spans[i].end && local - spans[i + 1].offset < spans[i + 1].begin)
            return {Reading::Kind::skipped, spans[i].offset, spans[i + 1].offset};
    return {Reading::Kind::unique, spans.front().offset, spans.front().offset};
}

}  // namespace host

#include "host/clock/TzifFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

namespace host::TzifFile {

namespace {

constexpr std::string_view kMagic = "TZif";
constexpr std::size_t kHeaderReserved = 15;
constexpr off_t kLargestFile = 1 << 20;  // the largest of the database is about 3 KB

class Bytes {
public:
    explicit Bytes(std::string_view bytes) : rest_(bytes) {}

    bool skip(std::uint64_t count) {
        if (count > rest_.size()) return false;
        rest_.remove_prefix(static_cast<std::size_t>(count));
        return true;
    }
    std::optional<std::string_view> take(std::uint64_t count) {
        if (count > rest_.size()) return std::nullopt;
        const std::string_view taken = rest_.substr(0, static_cast<std::size_t>(count));
        rest_.remove_prefix(taken.size());
        return taken;
    }
    // Big-endian, as every number of the file is.
    std::optional<std::uint64_t> number(int size) {
        const auto taken = take(static_cast<std::uint64_t>(size));
        if (!taken) return std::nullopt;
        std::uint64_t value = 0;
        for (const char byte : *taken) value = value << 8 | static_cast<unsigned char>(byte);
        return value;
    }
    std::string_view rest() const { return rest_; }

private:
    std::string_view rest_;
};

struct Counts {
    char version;
    std::uint64_t ut_flags, standard_flags, leap_seconds, transitions, types, name_characters;

    // The size of the data block after the header, with times of `time_size` bytes.
    std::uint64_t block_size(int time_size) const {
        return transitions * (time_size + 1) + types * 6 + name_characters + leap_seconds * (time_size + 4) +
               standard_flags + ut_flags;
    }
};

std::optional<Counts> read_header(Bytes& bytes) {
    const auto magic = bytes.take(kMagic.size());
    const auto version_byte = bytes.take(1);
    if (magic != kMagic || !version_byte || !bytes.skip(kHeaderReserved)) return std::nullopt;
    std::uint64_t fields[6];
    for (std::uint64_t& field : fields) {
        const auto value = bytes.number(4);
        if (!value) return std::nullopt;
        field = *value;
    }
    const Counts counts{(*version_byte)[0], fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
    // A type is named by one byte; the flags come one per type or not at all.
    if (counts.types == 0 || counts.types > 256) return std::nullopt;
    if ((counts.ut_flags != 0 && counts.ut_flags != counts.types) ||
        (counts.standard_flags != 0 && counts.standard_flags != counts.types))
        return std::nullopt;
    return counts;
}

struct Block {
    std::int32_t initial = 0;
    std::vector<ZoneRules::Change> changes;
};

std::optional<Block> read_block(Bytes& bytes, const Counts& counts, int time_size) {
    if (counts.block_size(time_size) > bytes.rest().size()) return std::nullopt;
    // Leap seconds would shift every reading of UTC; the handheld's clock has none.
    if (counts.leap_seconds != 0) return std::nullopt;
    std::vector<std::int64_t> times(counts.transitions);
    for (std::int64_t& time : times) {
        const std::uint64_t raw = *bytes.number(time_size);
        time = time_size == 4 ? std::int64_t{static_cast<std::int32_t>(raw)} : static_cast<std::int64_t>(raw);
    }
    std::vector<unsigned> type_of(counts.transitions);
    for (unsigned& type : type_of) type = static_cast<unsigned>(*bytes.number(1));
    std::vector<std::int32_t> offsets(counts.types);
    for (std::int32_t& offset : offsets) {
        offset = static_cast<std::int32_t>(*bytes.number(4));
        const std::uint64_t daylight = *bytes.number(1);
        bytes.skip(1);  // the name's index: the handheld shows no zone names
        if (offset == std::numeric_limits<std::int32_t>::min() || daylight > 1) return std::nullopt;
    }
    bytes.skip(counts.name_characters + counts.standard_flags + counts.ut_flags);

    Block block{offsets[0], {}};
    block.changes.reserve(times.size());
    for (std::size_t i = 0; i < times.size(); ++i) {
        if (type_of[i] >= offsets.size() || (i > 0 && times[i] <= times[i - 1])) return std::nullopt;
        block.changes.push_back({times[i], offsets[type_of[i]]});
    }
    return block;
}

bool is_zone_name(std::string_view name) {
    if (name.empty() || name.size() > 255) return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        const std::string_view part = name.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        for (const char c : part)
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-' && c != '+' && c != '.')
                return false;
        start = end + 1;
    }
    return true;
}

// Asked for the type first: a name of the folder that is not a plain file (a pipe, a
// folder) is no zone, and must not block the clock.
std::optional<std::string> read_small_file(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    std::optional<std::string> contents;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= kLargestFile) {
        std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t count = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (count < 0 && errno == EINTR) continue;
            if (count <= 0) break;
            done += static_cast<std::size_t>(count);
        }
        if (done == bytes.size()) contents = std::move(bytes);
    }
    ::close(fd);
    return contents;
}

}  // namespace

std::optional<ZoneRules> parse(std::string_view file) {
    Bytes bytes(file);
    const auto first = read_header(bytes);
    if (!first) return std::nullopt;
    if (first->version == '\0') {
        auto block = read_block(bytes, *first, 4);
        if (!block) return std::nullopt;
        return ZoneRules(block->initial, std::move(block->changes), std::nullopt);
    }
    // From version 2 on, a second header and block with 64-bit times follow the first,
    // and a rule for the years after them ends the file.
    if (!bytes.skip(first->block_size(4))) return std::nullopt;
    const auto second = read_header(bytes);
    if (!second) return std::nullopt;
    auto block = read_block(bytes, *second, 8);
    if (!block) return std::nullopt;
    const std::string_view footer = bytes.rest();
    if (footer.size() < 2 || footer.front() != '\n' || footer.find('\n', 1) != footer.size() - 1) return std::nullopt;
    const std::string_view text = footer.substr(1, footer.size() - 2);
    std::optional<PosixZoneRule> rule;
    if (!text.empty()) {
        rule = PosixZoneRule::parse(text);
        if (!rule) return std::nullopt;
    }
    return ZoneRules(block->initial, std::move(block->changes), std::move(rule));
}

std::optional<std::filesystem::path> path_of(const std::string& name) {
    if (!is_zone_name(name)) return std::nullopt;
    const char* folder = std::getenv("TZDIR");
    const std::string root = folder != nullptr && *folder != '\0' ? folder : "/usr/share/zoneinfo";
    return std::filesystem::path(root + "/" + name);
}

std::optional<ZoneRules> load(const std::string& name) {
    const auto path = path_of(name);
    const auto bytes = path ? read_small_file(path->string()) : std::nullopt;
    if (!bytes) return std::nullopt;
    return parse(*bytes);
}

}  // namespace host::TzifFile

#pragma once
// The databases of one folder, by the names their headers hold. A program has one
// registry (instance()); it is set to the folder once and rescanned when files
// change behind it. Not thread-safe: programs sharing the folder serialise themselves.

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::card {

class database_registry {
public:
    struct entry {
        std::u16string path;
        std::uint32_t creator = 0;
        std::uint32_t type = 0;
        std::uint16_t version = 0;
    };

    // The program's registry.
    static database_registry& instance();

    database_registry() = default;
    database_registry(const database_registry&) = delete;
    database_registry& operator=(const database_registry&) = delete;

    // Uses `folder` (leading backslashes reduced to one, a trailing one added) for the
    // codebases (creator "xIrv", type "Alr1" or "TEMP") and rescans it.
    void set_codebase_folder(std::u16string_view folder);
    const std::u16string& folder() const { return folder_; }
    // Rebuilds the table from the folder's "*.pdb" files.
    void rescan();

    // Names of the codebases (type "Alr1", not the temporary ones), in byte order.
    std::vector<std::string> list_codebases(bool refresh);
    // A new codebase whose record 0 holds a copy of `record0`: 0, or the first error
    // (kNoFreeFileName, kCreateFailed); a failed creation leaves no file behind.
    [[nodiscard]] int create_codebase(std::string_view name, std::span<const std::uint8_t> record0);
    // Whether the name is registered and its file is there.
    bool codebase_exists(std::string_view name) const;
    // A copy of the source's file under a new file name, holding the new name.
    // 0, kNotFound (source not registered), kNoFreeFileName, kCopyFailed, kOpenFailed.
    [[nodiscard]] int copy_codebase(std::string_view source, std::string_view new_name);
    // Deletes the file and forgets the name: 0 (also for a name not registered or a
    // file already gone), or kDeleteFailed with the entry kept.
    [[nodiscard]] int delete_codebase(std::string_view name);

    // Creates an empty database file (78 bytes, no records) and registers it:
    // 0, kNoFreeFileName or kCreateFailed. `path` receives the file's path.
    [[nodiscard]] int create_database(std::string_view name, std::uint32_t creator, std::uint32_t type,
                                      std::uint16_t version, std::u16string* path = nullptr);
    // The entry of a name; null when it is not registered. Valid until the table changes.
    const entry* find(std::string_view name) const;
    void set_version(std::string_view name, std::uint16_t version);

private:
    void scan_file(const std::u16string& path);
    bool accepted(std::uint32_t creator, std::uint32_t type) const;
    // Deletes a file made by a failed creation and puts back the entry it displaced.
    void undo_creation(const std::string& name, const std::u16string& path, std::optional<entry> displaced);

    std::u16string folder_ = u"\\";
    std::vector<std::pair<std::uint32_t, std::uint32_t>> accepted_;  // (creator, type)
    std::map<std::string, entry> table_;                            // byte order of the names
};

}  // namespace platform::card

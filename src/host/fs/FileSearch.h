#pragma once
// A FindFirstFileW search: the entries of one folder matching a pattern, read from the
// folder as the search goes, in the order the file system returns them.

#include <dirent.h>

#include <filesystem>
#include <memory>
#include <mutex>

#include "ce/Files.h"
#include "host/HandleTable.h"
#include "host/fs/DevicePath.h"
#include "host/fs/NamePattern.h"

namespace host {

class FileSearch : public ce::KernelObject {
public:
    // Opens the folder of `pattern` (its last component being the name pattern); null
    // with *error set when the folder does not exist. With `names_only`, an entry tells
    // its name and whether it is a folder (ce::FindExInfoNames).
    static std::unique_ptr<FileSearch> open(const DevicePath& pattern, bool names_only, ce::DWORD* error);
    ~FileSearch() override;

    // Fills `data` with the next matching entry: ERROR_SUCCESS, or ERROR_NO_MORE_FILES.
    ce::DWORD next(ce::WIN32_FIND_DATAW* data);

private:
    FileSearch(DIR* dir, DevicePath folder, std::filesystem::path host_folder, const std::u16string& pattern,
               bool names_only);
    bool describe(const char* host_name, unsigned char type, ce::WIN32_FIND_DATAW* data) const;

    std::mutex lock_;
    DIR* dir_;
    DevicePath folder_;
    std::filesystem::path host_folder_;
    NamePattern pattern_;
    bool names_only_;
};

}  // namespace host

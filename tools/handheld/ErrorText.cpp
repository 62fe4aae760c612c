#include "ErrorText.h"

#include <utility>

namespace handheld {

namespace {

constexpr std::pair<ce::DWORD, const char*> kErrorNames[] = {
    {ce::ERROR_FILE_NOT_FOUND, "not found"},
    {ce::ERROR_PATH_NOT_FOUND, "path not found"},
    {ce::ERROR_ACCESS_DENIED, "access denied"},
    {ce::ERROR_INVALID_HANDLE, "invalid handle"},
    {ce::ERROR_NOT_ENOUGH_MEMORY, "not enough memory"},
    {ce::ERROR_WRITE_FAULT, "write fault"},
    {ce::ERROR_READ_FAULT, "read fault"},
    {ce::ERROR_SHARING_VIOLATION, "in use by another program"},
    {ce::ERROR_NOT_SUPPORTED, "not supported"},
    {ce::ERROR_FILE_EXISTS, "already exists"},
    {ce::ERROR_INVALID_PARAMETER, "invalid parameter"},
    {ce::ERROR_DISK_FULL, "no space left on the device holding the handheld"},
    {ce::ERROR_INSUFFICIENT_BUFFER, "buffer too small"},
    {ce::ERROR_INVALID_NAME, "invalid name"},
    {ce::ERROR_DIR_NOT_EMPTY, "folder not empty"},
    {ce::ERROR_ALREADY_EXISTS, "already exists"},
    {ce::ERROR_MORE_DATA, "more data"},
    {ce::ERROR_NO_MORE_ITEMS, "no more items"},
    {ce::ERROR_BADKEY, "bad registry key"},
    {ce::ERROR_CANTREAD, "registry cannot be read"},
    {ce::ERROR_CANTWRITE, "registry cannot be written"},
};

}  // namespace

std::string error_text(ce::DWORD error) {
    for (const auto& [code, name] : kErrorNames)
        if (code == error) return std::string(name) + " (error " + std::to_string(error) + ")";
    return "error " + std::to_string(error);
}

}  // namespace handheld

#include "sound/SoundFileCheck.h"

#include "ce/FileMapping.h"
#include "ce/Files.h"
#include "sound/CSoundWave.h"
#include "sound/WaveFileHeader.h"

namespace {

// The player's buffers hold a fifth of a second each: a format with less than five bytes
// a second gets none.
constexpr ce::DWORD kBuffersPerSecond = 5;

}  // namespace

ce::DWORD SoundFileCheck::Check(const std::u16string& path) {
    if (path.empty()) return CSoundWave::kNoFile;
    const ce::HANDLE file = ce::CreateFileForMappingW(path.c_str(), ce::GENERIC_READ, ce::FILE_SHARE_READ, ce::OPEN_EXISTING);
    if (file == ce::INVALID_HANDLE_VALUE) return CSoundWave::kCannotMap;
    ce::DWORD code = CSoundWave::kCannotMap;
    ce::DWORD size_high = 0;
    const ce::DWORD size = ce::GetFileSize(file, &size_high);
    const ce::HANDLE mapping = size == ce::INVALID_FILE_SIZE || size_high != 0
                                   ? nullptr
                                   : ce::CreateFileMappingW(file, nullptr, ce::PAGE_READONLY, 0, 0, nullptr);
    const void* view = mapping == nullptr ? nullptr : ce::MapViewOfFile(mapping, ce::FILE_MAP_READ, 0, 0, 0);
    if (view != nullptr) {
        WaveFileHeader header;
        code = header.Parse(static_cast<const std::uint8_t*>(view), size);
        if (code == CSoundWave::kPlaying && header.Format().nAvgBytesPerSec / kBuffersPerSecond == 0)
            code = CSoundWave::kNoBuffers;
        ce::UnmapViewOfFile(view);
    }
    if (mapping != nullptr) ce::CloseHandle(mapping);
    ce::CloseHandle(file);
    return code;
}

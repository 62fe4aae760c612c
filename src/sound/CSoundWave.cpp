#include "sound/CSoundWave.h"

#include <chrono>
#include <new>
#include <thread>

#include "sound/WaveFileHeader.h"

namespace {

// Queued by Play to the player's thread ahead of everything of the new play.
constexpr ce::UINT kPlayStarted = ce::WM_APP + WM_SOUND_ENDED;

}  // namespace

CSoundWave::CSoundWave(ce::HWND owner) : owner_(owner) {}

CSoundWave::~CSoundWave() {
    // The thread goes first, so that no handler runs while the player is taken apart.
    StopThread();
    CloseDevice();
    FreeBuffers();
}

ce::DWORD CSoundWave::Play(ce::LPCWSTR path) {
    if (path == nullptr || *path == u'\0') return kNoFile;
    if (open_) return kAlreadyPlaying;
    // The owner may play again the moment its stop loop sees the player closed, before
    // the player's thread has freed the last play's buffers on the close report.
    if (!AwaitCloseReport()) return kNoBuffers;
    ReleaseMapping();
    if (const ce::DWORD mapped = MapFile(path); mapped != kPlaying) return mapped;
    if (const ce::DWORD header = ReadHeader(); header != kPlaying) {
        ReleaseMapping();
        return header;
    }
    ce::HWAVEOUT device = nullptr;
    if (const ce::DWORD opened = OpenDevice(&device); opened != kPlaying) {
        ReleaseMapping();
        return opened;
    }
    // Until the buffers of the last play are gone its device may still be reported on
    // the player's thread, which reads device_: it is set only once they are.
    if (const ce::DWORD allocated = AllocateBuffers(); allocated != kPlaying) {
        ReleaseMapping();
        ce::waveOutClose(device);
        return allocated;
    }
    if (!PostThreadMessage(kPlayStarted, 0, 0)) {
        ReleaseMapping();
        FreeBuffers();
        ce::waveOutClose(device);
        return kNoBuffers;
    }
    device_ = device;
    PrepareBuffers();
    StartPlaying();
    return kPlaying;
}

ce::DWORD CSoundWave::SetVolume(ce::DWORD level) {
    const ce::DWORD both = (level & 0xFFFF) | ((level & 0xFFFF) << 16);
    const ce::UINT devices = ce::waveOutGetNumDevs();
    for (ce::UINT device = 0; device < devices; ++device)
        ce::waveOutSetVolume(reinterpret_cast<ce::HWAVEOUT>(static_cast<std::uintptr_t>(device)), both);
    return 0;
}

bool CSoundWave::AwaitCloseReport() const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kCloseWaitMilliseconds);
    while (buffers_allocated_) {
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

ce::DWORD CSoundWave::MapFile(ce::LPCWSTR path) {
    // A file that is played may not change underneath: no sharing while it is mapped.
    file_ = ce::CreateFileForMappingW(path, ce::GENERIC_READ, 0, ce::OPEN_EXISTING);
    if (file_ == ce::INVALID_HANDLE_VALUE) return kCannotMap;
    ce::DWORD size_high = 0;
    const ce::DWORD size = ce::GetFileSize(file_, &size_high);
    // Sizes are 32-bit; a file of 4 GB or more cannot be played.
    if (size == ce::INVALID_FILE_SIZE || size_high != 0) return kCannotMap;
    mapping_ = ce::CreateFileMappingW(file_, nullptr, ce::PAGE_READONLY, 0, 0, nullptr);
    if (mapping_ == nullptr) return kCannotMap;
    view_ = static_cast<const std::uint8_t*>(ce::MapViewOfFile(mapping_, ce::FILE_MAP_READ, 0, 0, 0));
    if (view_ == nullptr) return kCannotMap;
    file_size_ = size;
    return kPlaying;
}

void CSoundWave::ReleaseMapping() {
    if (view_ != nullptr) ce::UnmapViewOfFile(view_);
    if (mapping_ != nullptr) ce::CloseHandle(mapping_);
    if (file_ != ce::INVALID_HANDLE_VALUE) ce::CloseHandle(file_);
    view_ = nullptr;
    mapping_ = nullptr;
    file_ = ce::INVALID_HANDLE_VALUE;
    file_size_ = position_ = data_start_ = data_length_ = released_ = 0;
}

ce::DWORD CSoundWave::ReadHeader() {
    WaveFileHeader header;
    if (const std::uint32_t parsed = header.Parse(view_, file_size_); parsed != 0) return parsed;
    format_ = header.Format();
    data_start_ = header.DataStart();
    data_length_ = header.PlayableLength();
    return kPlaying;
}

ce::DWORD CSoundWave::OpenDevice(ce::HWAVEOUT* device) {
    const auto callback = static_cast<ce::DWORD_PTR>(ThreadId());
    // Without the player's thread nobody would refill the buffers.
    if (callback == 0) return kNoDevice;
    for (int attempt = 0; attempt <= kOpenRetries; ++attempt) {
        if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(kOpenRetryMilliseconds));
        const ce::MMRESULT result =
            ce::waveOutOpen(device, ce::WAVE_MAPPER, &format_, callback, 0, ce::CALLBACK_THREAD);
        if (result == ce::MMSYSERR_NOERROR) return kPlaying;
        if (result != ce::MMSYSERR_ALLOCATED) break;
    }
    *device = nullptr;
    return kNoDevice;
}

ce::DWORD CSoundWave::AllocateBuffers() {
    buffer_size_ = format_.nAvgBytesPerSec / 5;
    if (buffers_allocated_ || buffer_size_ == 0) return kNoBuffers;
    headers_.reset(new (std::nothrow) ce::WAVEHDR[kBufferCount]);
    data_.reset(new (std::nothrow) std::uint8_t[std::size_t{kBufferCount} * buffer_size_]);
    if (headers_ == nullptr || data_ == nullptr) {
        FreeBuffers();
        return kNoBuffers;
    }
    buffers_allocated_ = true;
    return kPlaying;
}

void CSoundWave::PrepareBuffers() {
    for (ce::DWORD i = 0; i < kBufferCount; ++i) {
        headers_[i] = ce::WAVEHDR{};
        headers_[i].lpData = reinterpret_cast<char*>(data_.get() + std::size_t{i} * buffer_size_);
        headers_[i].dwBufferLength = buffer_size_;
        ce::waveOutPrepareHeader(device_, &headers_[i], sizeof(ce::WAVEHDR));
    }
}

void CSoundWave::StartPlaying() {
    position_ = data_start_;
    total_queued_ = 0;
    // Everything is queued before the device runs, so the player's thread sees a whole ring.
    ce::waveOutPause(device_);
    for (ce::DWORD i = 0; i < kBufferCount; ++i)
        if (Fill(headers_[i]) == 0) break;
    open_ = true;
    ce::waveOutRestart(device_);
}

ce::DWORD CSoundWave::Fill(ce::WAVEHDR& header) {
    const std::uint32_t end = data_start_ + data_length_;
    const std::uint32_t chunk = position_ < end ? std::min(buffer_size_, end - position_) : 0;
    if (chunk > 0) std::copy(view_ + position_, view_ + position_ + chunk, reinterpret_cast<std::uint8_t*>(header.lpData));
    position_ += chunk;
    total_queued_ += chunk;
    ReleasePlayedPages();
    header.dwBufferLength = chunk;
    header.dwUser = total_queued_;
    if (chunk > 0) {
        ce::waveOutWrite(device_, &header, sizeof(ce::WAVEHDR));
        ++queued_;
    }
    return chunk;
}

void CSoundWave::ReleasePlayedPages() {
    // What has been copied is not read again: giving its pages back keeps the player's
    // memory the same for a sound of a minute or of an hour.
    if (position_ - released_ < kReleaseStep) return;
    const std::uint32_t upto = position_ - position_ % kReleaseStep;
    ce::VirtualUnlock(view_ + released_, upto - released_);
    released_ = upto;
}

void CSoundWave::OnThreadMessage(const ce::MSG& message) {
    switch (message.message) {
        case WM_SOUND_ENDED: OnStopRequest(message.lParam); break;
        case ce::MM_WOM_DONE: OnBufferDone(message); break;
        case ce::MM_WOM_CLOSE: OnDeviceClosed(message); break;
        case kPlayStarted: OnPlayStarted(); break;
        default: break;
    }
}

void CSoundWave::OnBufferDone(const ce::MSG& message) {
    // Buffers the device hands back on a reset arrive after it was closed; they are over.
    if (!open_ || reinterpret_cast<ce::HWAVEOUT>(message.wParam) != device_) return;
    auto& header = *reinterpret_cast<ce::WAVEHDR*>(message.lParam);
    played_ = static_cast<std::uint32_t>(header.dwUser);
    --queued_;
    Fill(header);
    if (queued_ == 0) CloseDevice();
}

void CSoundWave::CloseDevice() {
    stoppable_ = false;
    total_queued_ = played_ = queued_ = 0;
    if (device_ != nullptr) {
        ce::waveOutReset(device_);
        for (ce::DWORD i = 0; headers_ != nullptr && i < kBufferCount; ++i)
            ce::waveOutUnprepareHeader(device_, &headers_[i], sizeof(ce::WAVEHDR));
        ce::waveOutClose(device_);
        closed_device_ = device_;
    }
    device_ = nullptr;
    ReleaseMapping();
    // Last: from here on the owner's thread may start the next play.
    open_ = false;
}

void CSoundWave::OnDeviceClosed(const ce::MSG& message) {
    // Only the close of a play reports; a device Play opened and gave up on does not.
    if (closed_device_ == nullptr || reinterpret_cast<ce::HWAVEOUT>(message.wParam) != closed_device_) return;
    closed_device_ = nullptr;
    // The buffers go before the report, so an owner that plays again on it can.
    FreeBuffers();
    if (owner_ != nullptr && notify_) ce::PostMessageW(owner_, WM_SOUND_ENDED, 0, 0);
    notify_ = true;
}

void CSoundWave::OnStopRequest(ce::LPARAM lParam) {
    // An owner stops by posting until the player reports itself closed, so requests keep
    // arriving after the close. Such a request may only decide whether the close report
    // pending reaches the owner: closing again would unmap the file of the play the owner
    // is starting by now, and once the close is reported the request is void.
    if (stoppable_) CloseDevice();
    else if (closed_device_ == nullptr) return;
    if (lParam == 1) notify_ = false;
}

void CSoundWave::FreeBuffers() {
    headers_.reset();
    data_.reset();
    buffers_allocated_ = false;
}

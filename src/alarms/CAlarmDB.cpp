#include "alarms/CAlarmDB.h"

#include <algorithm>
#include <cstring>

#include "ce/Text.h"

namespace {

std::vector<std::uint8_t> record_of(AlarmTag tag, const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> record(2);
    pdb::write_be16(record.data(), static_cast<std::uint16_t>(tag));
    record.insert(record.end(), payload.begin(), payload.end());
    if (record.size() % 2 != 0) record.push_back(0);
    return record;
}

// Whether the payload holds a NUL unit, so that readers of the copied text stop inside it.
bool has_terminator(const std::vector<std::uint8_t>& payload, std::size_t unit) {
    for (std::size_t i = 0; i + unit <= payload.size(); i += unit) {
        if (payload[i] == 0 && (unit == 1 || payload[i + 1] == 0)) return true;
    }
    return false;
}

}  // namespace

CAlarmDB::CAlarmDB() = default;

CAlarmDB::~CAlarmDB() { CAlarmDB::Close(); }

int CAlarmDB::Open(const std::u16string& path) {
    if (path.empty()) return kNoPath;
    return CPDBMngr::Open(path) == CPDBMngr::kOk ? kOk : kOpenFailed;
}

int CAlarmDB::OpenForReading(const std::u16string& path) {
    if (path.empty()) return kNoPath;
    return CPDBMngr::OpenForReading(path) == CPDBMngr::kOk ? kOk : kOpenFailed;
}

int CAlarmDB::Create(const std::u16string& path) {
    if (path.empty()) return kNoPath;
    if (path.find(u'\\') == std::u16string::npos) return kCreateFailed;
    if (CPDBMngr::Create(path) != CPDBMngr::kOk) return kCreateFailed;
    if (!SetType(kType) || !SetCreator(kCreator)) {
        Close();
        return kCreateFailed;
    }
    return kOk;
}

void CAlarmDB::Close() { CPDBMngr::Close(); }

int CAlarmDB::Find(AlarmTag tag, Found& found) {
    found = Found{};
    // The count, the record list and the records' tags from one read of the file.
    ReadWhole();
    const std::vector<Extent>* extents = IsOpen() ? CurrentLiveExtents() : nullptr;
    if (extents == nullptr) return kUnreadable;
    for (const Extent& extent : *extents) {
        if (extent.end - extent.begin < 2) continue;
        std::uint8_t head[2];
        if (!ReadAt(extent.begin, head, sizeof head)) return kUnreadable;
        if (pdb::read_be16(head) != static_cast<std::uint16_t>(tag)) continue;
        found.index = extent.index;
        found.payload.resize(extent.end - extent.begin - 2);
        if (!found.payload.empty() &&
            !ReadAt(extent.begin + 2, found.payload.data(), static_cast<std::uint32_t>(found.payload.size())))
            return kUnreadable;
        return kOk;
    }
    return kAbsent;
}

int CAlarmDB::WriteRecord(AlarmTag tag, const std::vector<std::uint8_t>& payload) {
    if (!IsOpen()) return kNoFile;
    Found old;
    const int lookup = Find(tag, old);
    // Without knowing whether the tag has a record, appending could give it a second one.
    if (lookup == kUnreadable) return kRemoveFailed;
    const bool replacing = lookup == kOk;
    const auto record = record_of(tag, payload);
    // One rewrite drops the old record and appends the new one, so the file always holds
    // one of the two values.
    if (ReplaceRecord(replacing ? old.index : -1, record.data(), record.size()) < 0)
        return replacing ? kRemoveFailed : kAppendFailed;
    return kOk;
}

int CAlarmDB::RemoveTag(AlarmTag tag) {
    if (!IsOpen()) return kNoFile;
    Found old;
    const int lookup = Find(tag, old);
    if (lookup != kOk) return lookup == kAbsent ? kOk : kRemoveFailed;
    return DeleteRecord(old.index) == CPDBMngr::kOk ? kOk : kRemoveFailed;
}

int CAlarmDB::GetByte(AlarmTag tag, std::uint8_t& value) {
    if (!IsOpen()) return kNoFile;
    Found found;
    if (Find(tag, found) != kOk || found.payload.empty()) return kAbsent;
    value = found.payload[0];
    return kOk;
}

int CAlarmDB::SetByte(AlarmTag tag, std::uint8_t value) { return WriteRecord(tag, {value, 0}); }

int CAlarmDB::GetWord(AlarmTag tag, std::uint16_t& value) {
    if (!IsOpen()) return kNoFile;
    Found found;
    if (Find(tag, found) != kOk || found.payload.size() < 2) return kAbsent;
    value = pdb::read_be16(found.payload.data());
    return kOk;
}

int CAlarmDB::SetWord(AlarmTag tag, std::uint16_t value) {
    std::vector<std::uint8_t> payload(2);
    pdb::write_be16(payload.data(), value);
    return WriteRecord(tag, payload);
}

int CAlarmDB::GetAlarmTime(int& hour, int& minute) {
    if (!IsOpen()) return kNoFile;
    Found found;
    if (Find(AlarmTag::AlarmTime, found) != kOk || found.payload.size() < 2) return kAbsent;
    hour = found.payload[0];
    minute = found.payload[1];
    return kOk;
}

int CAlarmDB::SetAlarmTime(int hour, int minute) {
    return WriteRecord(AlarmTag::AlarmTime, {static_cast<std::uint8_t>(hour), static_cast<std::uint8_t>(minute)});
}

int CAlarmDB::GetRefireTime(int& hour, int& minute, int& second) {
    if (!IsOpen()) return kNoFile;
    Found found;
    if (Find(AlarmTag::RefireTime, found) != kOk || found.payload.size() < 2) return kAbsent;
    hour = found.payload[0];
    minute = found.payload[1];
    // Older writers stored hour and minute only (a 4-byte record).
    second = found.payload.size() >= 4 ? found.payload[2] : 0;
    return kOk;
}

int CAlarmDB::SetRefireTime(int hour, int minute, int second) {
    return WriteRecord(AlarmTag::RefireTime, {static_cast<std::uint8_t>(hour), static_cast<std::uint8_t>(minute),
                                              static_cast<std::uint8_t>(second), 0});
}

std::size_t CAlarmDB::GetText(AlarmTag tag, void* buffer, std::size_t bytes, std::size_t unit) {
    Found found;
    if (!IsOpen() || Find(tag, found) != kOk || !has_terminator(found.payload, unit)) return 0;
    if (buffer == nullptr) return found.payload.size();
    if (found.payload.size() > bytes) return 0;
    std::memcpy(buffer, found.payload.data(), found.payload.size());
    return found.payload.size();
}

std::size_t CAlarmDB::GetDescription(char16_t* buffer, std::size_t bytes) {
    return GetText(AlarmTag::Description, buffer, bytes, 2);
}

std::size_t CAlarmDB::GetSoundFile(char* buffer, std::size_t bytes) {
    return GetText(AlarmTag::SoundFile, buffer, bytes, 1);
}

std::size_t CAlarmDB::GetIrDatabase(char* buffer, std::size_t bytes) {
    return GetText(AlarmTag::IrDatabase, buffer, bytes, 1);
}

bool CAlarmDB::ReadDescription(std::u16string& text) {
    char16_t buffer[kDescriptionBufferBytes / 2] = {};
    if (GetDescription(buffer, sizeof buffer) == 0) return false;
    text.assign(buffer, std::find(std::begin(buffer), std::end(buffer), u'\0'));
    return true;
}

bool CAlarmDB::ReadSoundFile(std::u16string& path) {
    char buffer[kPathBufferBytes] = {};
    if (GetSoundFile(buffer, sizeof buffer) == 0) return false;
    path = ce::wide_from_ansi(std::string(buffer, std::find(std::begin(buffer), std::end(buffer), '\0')));
    return true;
}

bool CAlarmDB::ReadIrDatabase(std::u16string& name) {
    char buffer[kPathBufferBytes] = {};
    if (GetIrDatabase(buffer, sizeof buffer) == 0) return false;
    name = ce::wide_from_ansi(std::string(buffer, std::find(std::begin(buffer), std::end(buffer), '\0')));
    return true;
}

int CAlarmDB::SetDescription(const std::u16string& text) {
    if (text.empty()) return RemoveTag(AlarmTag::Description);
    std::vector<std::uint8_t> payload;
    payload.reserve(2 * (text.size() + 1));
    for (const char16_t unit : text) {
        payload.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        payload.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    payload.insert(payload.end(), {0, 0});
    return WriteRecord(AlarmTag::Description, payload);
}

int CAlarmDB::SetAnsiText(AlarmTag tag, const std::u16string& text) {
    const std::string ansi = ce::ansi_from_wide(text);
    std::vector<std::uint8_t> payload(ansi.begin(), ansi.end());
    payload.push_back(0);
    return WriteRecord(tag, payload);
}

int CAlarmDB::SetSoundFile(const std::u16string& path) {
    if (!path.empty()) return SetAnsiText(AlarmTag::SoundFile, path);
    if (const int removed = RemoveTag(AlarmTag::SoundFile); removed != kOk) return removed;
    return SetPlaySound(0);
}

int CAlarmDB::SetIrDatabase(const std::u16string& name) {
    if (!name.empty()) return SetAnsiText(AlarmTag::IrDatabase, name);
    if (const int removed = RemoveTag(AlarmTag::IrDatabase); removed != kOk) return removed;
    return SetBeamIr(0);
}

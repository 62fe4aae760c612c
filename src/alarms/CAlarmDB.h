#pragma once
// One alarm file: every attribute of the alarm is a record that starts with its tag.
// An absent record means "not set"; readers choose the default. The records are read
// from the file on every call; nothing is cached.

#include <cstdint>
#include <string>

#include "alarms/AlarmTag.h"
#include "recordfile/CPDBMngr.h"

class CAlarmDB : public CPDBMngr {
public:
    static constexpr int kOk = 0;
    static constexpr int kNoPath = 100;
    static constexpr int kOpenFailed = 101;
    static constexpr int kCreateFailed = 102;
    static constexpr int kNoFile = 103;
    static constexpr int kRemoveFailed = 104;
    static constexpr int kAppendFailed = 105;
    static constexpr int kAbsent = 106;

    // The buffers the programs read texts with: a longer text reads as absent.
    static constexpr std::size_t kDescriptionBufferBytes = 400;
    static constexpr std::size_t kPathBufferBytes = 200;

    static constexpr std::uint32_t kType = 0x41496E66;     // "AInf"
    static constexpr std::uint32_t kCreator = 0x4B49564F;  // "KIVO"

    CAlarmDB();
    ~CAlarmDB() override;

    int Open(const std::u16string& path) override;
    // For reading the alarm only (the list, the reschedule): see CPDBMngr::OpenForReading.
    int OpenForReading(const std::u16string& path);
    int Create(const std::u16string& path) override;
    void Close() override;

    // Text getters copy the whole payload (terminator and padding included) into the
    // buffer and return the number of bytes copied: 0 when the record is absent, the
    // payload does not fit or holds no terminator. Without a buffer they return non-zero
    // when the text is present.
    std::size_t GetDescription(char16_t* buffer, std::size_t bytes);
    std::size_t GetSoundFile(char* buffer, std::size_t bytes);
    std::size_t GetIrDatabase(char* buffer, std::size_t bytes);
    // The same through the programs' buffer sizes; false when absent or too long.
    bool ReadDescription(std::u16string& text);
    bool ReadSoundFile(std::u16string& path);
    bool ReadIrDatabase(std::u16string& name);

    // An empty description removes the record.
    int SetDescription(const std::u16string& text);
    // An empty path writes PlaySound = 0 and leaves no SoundFile record.
    int SetSoundFile(const std::u16string& path);
    // An empty name writes BeamIr = 0 and leaves no IrDatabase record.
    int SetIrDatabase(const std::u16string& name);

    int GetAlarmTime(int& hour, int& minute);
    int SetAlarmTime(int hour, int minute);
    // Seconds are 0 for a record without them.
    int GetRefireTime(int& hour, int& minute, int& second);
    int SetRefireTime(int hour, int minute, int second);

    int GetDays(std::uint8_t& days) { return GetByte(AlarmTag::Days, days); }
    int SetDays(std::uint8_t days) { return SetByte(AlarmTag::Days, days); }
    int GetActive(std::uint8_t& active) { return GetByte(AlarmTag::Active, active); }
    int SetActive(std::uint8_t active) { return SetByte(AlarmTag::Active, active); }
    int GetPlaySound(std::uint8_t& play) { return GetByte(AlarmTag::PlaySound, play); }
    int SetPlaySound(std::uint8_t play) { return SetByte(AlarmTag::PlaySound, play); }
    int GetBeamIr(std::uint8_t& beam) { return GetByte(AlarmTag::BeamIr, beam); }
    int SetBeamIr(std::uint8_t beam) { return SetByte(AlarmTag::BeamIr, beam); }
    int GetReplayInterval(std::uint8_t& minutes) { return GetByte(AlarmTag::ReplayInterval, minutes); }
    int SetReplayInterval(std::uint8_t minutes) { return SetByte(AlarmTag::ReplayInterval, minutes); }
    int GetIrRepeat(std::uint8_t& repeat) { return GetByte(AlarmTag::IrRepeat, repeat); }
    int SetIrRepeat(std::uint8_t repeat) { return SetByte(AlarmTag::IrRepeat, repeat); }

    int GetSoundVolume(std::uint16_t& volume) { return GetWord(AlarmTag::SoundVolume, volume); }
    int SetSoundVolume(std::uint16_t volume) { return SetWord(AlarmTag::SoundVolume, volume); }
    int GetSoundRepeat(std::uint16_t& times) { return GetWord(AlarmTag::SoundRepeat, times); }
    int SetSoundRepeat(std::uint16_t times) { return SetWord(AlarmTag::SoundRepeat, times); }
    int GetSoundPause(std::uint16_t& seconds) { return GetWord(AlarmTag::SoundPause, seconds); }
    int SetSoundPause(std::uint16_t seconds) { return SetWord(AlarmTag::SoundPause, seconds); }

    // 0 when the record was removed or was absent; 104 when removal failed.
    int RemoveTag(AlarmTag tag);

private:
    struct Found {
        int index = -1;
        std::vector<std::uint8_t> payload;  // the bytes after the tag
    };
    // Find's answer when the file could not be read: whether the tag has a record is unknown.
    static constexpr int kUnreadable = -1;
    // The first live record of the tag: kOk, kAbsent, or kUnreadable. Readers take an
    // unreadable record as absent; writers refuse, so a tag never gets a second record.
    int Find(AlarmTag tag, Found& found);
    int WriteRecord(AlarmTag tag, const std::vector<std::uint8_t>& payload);

    int GetByte(AlarmTag tag, std::uint8_t& value);
    int SetByte(AlarmTag tag, std::uint8_t value);
    int GetWord(AlarmTag tag, std::uint16_t& value);
    int SetWord(AlarmTag tag, std::uint16_t value);
    std::size_t GetText(AlarmTag tag, void* buffer, std::size_t bytes, std::size_t unit);
    int SetAnsiText(AlarmTag tag, const std::u16string& text);
};

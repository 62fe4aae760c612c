#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "TempDevice.h"
#include "alarms/CAlarmDB.h"
#include "ce/Files.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class AlarmFile : public testing_support::TempDevice {
protected:
    void SetUp() override {
        TempDevice::SetUp();
        ASSERT_EQ(alarm.Create(kPath), CAlarmDB::kOk);
    }
    Bytes host_bytes() const {
        std::ifstream in(host_path("1.kivo"), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    // Tags of the records in file order.
    std::vector<int> tags() {
        std::vector<int> found;
        for (int i = 0; i < alarm.RecordCount(); ++i) {
            const Bytes record = alarm.ReadRecord(i);
            if (record.size() >= 2) found.push_back(pdb::read_be16(record.data()));
        }
        return found;
    }
    static constexpr const char16_t* kPath = u"\\1.kivo";
    CAlarmDB alarm;
};

TEST_F(AlarmFile, ANewFileIsEightyBytesWithItsTypeAndCreator) {
    alarm.Close();
    const Bytes bytes = host_bytes();
    ASSERT_EQ(bytes.size(), 80u);
    EXPECT_EQ(std::string(bytes.begin() + 60, bytes.begin() + 68), "AInfKIVO");
    EXPECT_EQ(pdb::read_be16(&bytes[76]), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data())), "1");
}

TEST_F(AlarmFile, EveryNumberTagReadsBackWhatWasWritten) {
    EXPECT_EQ(alarm.SetAlarmTime(7, 45), 0);
    EXPECT_EQ(alarm.SetDays(0x1F), 0);
    EXPECT_EQ(alarm.SetSoundVolume(6), 0);
    EXPECT_EQ(alarm.SetSoundRepeat(10), 0);
    EXPECT_EQ(alarm.SetSoundPause(90), 0);
    EXPECT_EQ(alarm.SetActive(1), 0);
    EXPECT_EQ(alarm.SetRefireTime(7, 50, 30), 0);
    EXPECT_EQ(alarm.SetPlaySound(1), 0);
    EXPECT_EQ(alarm.SetBeamIr(1), 0);
    EXPECT_EQ(alarm.SetReplayInterval(30), 0);
    EXPECT_EQ(alarm.SetIrRepeat(1), 0);

    CAlarmDB reader;
    alarm.Close();
    ASSERT_EQ(reader.Open(kPath), 0);
    int hour = 0, minute = 0, second = 0;
    std::uint8_t byte = 0;
    std::uint16_t word = 0;
    EXPECT_EQ(reader.GetAlarmTime(hour, minute), 0);
    EXPECT_EQ(hour * 100 + minute, 745);
    EXPECT_EQ(reader.GetRefireTime(hour, minute, second), 0);
    EXPECT_EQ(hour * 10000 + minute * 100 + second, 75030);
    EXPECT_EQ(reader.GetDays(byte), 0);
    EXPECT_EQ(byte, 0x1F);
    EXPECT_EQ(reader.GetSoundVolume(word), 0);
    EXPECT_EQ(word, 6);
    EXPECT_EQ(reader.GetSoundRepeat(word), 0);
    EXPECT_EQ(word, 10);
    EXPECT_EQ(reader.GetSoundPause(word), 0);
    EXPECT_EQ(word, 90);
    EXPECT_EQ(reader.GetReplayInterval(byte), 0);
    EXPECT_EQ(byte, 30);
    for (auto getter : {&CAlarmDB::GetActive, &CAlarmDB::GetPlaySound, &CAlarmDB::GetBeamIr, &CAlarmDB::GetIrRepeat}) {
        byte = 0;
        EXPECT_EQ((reader.*getter)(byte), 0);
        EXPECT_EQ(byte, 1);
    }
}

TEST_F(AlarmFile, RecordsHaveTheirDocumentedLengths) {
    alarm.SetActive(1);
    alarm.SetSoundVolume(0x0102);
    alarm.SetRefireTime(1, 2, 3);
    alarm.SetSoundFile(u"\\a.wav");  // 6 characters + NUL + pad
    alarm.SetDescription(u"Hi");
    EXPECT_EQ(alarm.ReadRecord(0), (Bytes{0, 57, 1, 0}));
    EXPECT_EQ(alarm.ReadRecord(1), (Bytes{0, 54, 1, 2}));
    EXPECT_EQ(alarm.ReadRecord(2), (Bytes{0, 58, 1, 2, 3, 0}));
    EXPECT_EQ(alarm.ReadRecord(3), (Bytes{0, 53, '\\', 'a', '.', 'w', 'a', 'v', 0, 0}));
    EXPECT_EQ(alarm.ReadRecord(4), (Bytes{0, 50, 'H', 0, 'i', 0, 0, 0}));
}

TEST_F(AlarmFile, WritingATagAgainLeavesOneRecordAtTheEnd) {
    alarm.SetActive(1);
    alarm.SetDays(3);
    alarm.SetActive(0);
    EXPECT_EQ(tags(), (std::vector<int>{52, 57}));
    std::uint8_t active = 9;
    EXPECT_EQ(alarm.GetActive(active), 0);
    EXPECT_EQ(active, 0);
}

TEST_F(AlarmFile, TextsLongerThanTheProgramsBuffersReadAsAbsent) {
    std::u16string text;
    ASSERT_EQ(alarm.SetDescription(std::u16string(199, u'd')), 0);
    EXPECT_TRUE(alarm.ReadDescription(text));
    EXPECT_EQ(text, std::u16string(199, u'd'));
    ASSERT_EQ(alarm.SetDescription(std::u16string(200, u'd')), 0);
    EXPECT_FALSE(alarm.ReadDescription(text));
    EXPECT_NE(alarm.GetDescription(nullptr, 0), 0u);  // present, only too long

    ASSERT_EQ(alarm.SetSoundFile(u"\\" + std::u16string(198, u's')), 0);
    EXPECT_TRUE(alarm.ReadSoundFile(text));
    EXPECT_EQ(text.size(), 199u);
    ASSERT_EQ(alarm.SetSoundFile(u"\\" + std::u16string(199, u's')), 0);
    EXPECT_FALSE(alarm.ReadSoundFile(text));
}

TEST_F(AlarmFile, TextsConvertThroughTheAnsiCodePage) {
    ASSERT_EQ(alarm.SetSoundFile(u"\\My Documents\\Caf\u00e9 \u20ac.wav"), 0);
    std::u16string path;
    ASSERT_TRUE(alarm.ReadSoundFile(path));
    EXPECT_EQ(path, u"\\My Documents\\Caf\u00e9 \u20ac.wav");
    ASSERT_EQ(alarm.SetDescription(u"\u65e9\u4e0a\u597d"), 0);  // any UTF-16 text
    ASSERT_TRUE(alarm.ReadDescription(path));
    EXPECT_EQ(path, u"\u65e9\u4e0a\u597d");
}

TEST_F(AlarmFile, EmptyTextsRemoveTheRecordAndSwitchTheFeatureOff) {
    alarm.SetSoundFile(u"\\a.wav");
    alarm.SetPlaySound(1);
    alarm.SetIrDatabase(u"1");
    alarm.SetBeamIr(1);
    alarm.SetDescription(u"Wake");
    ASSERT_EQ(alarm.SetSoundFile(u""), 0);
    ASSERT_EQ(alarm.SetIrDatabase(u""), 0);
    ASSERT_EQ(alarm.SetDescription(u""), 0);
    EXPECT_EQ(tags(), (std::vector<int>{60, 61}));
    std::uint8_t value = 1;
    EXPECT_EQ(alarm.GetPlaySound(value), 0);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(alarm.GetBeamIr(value), 0);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(alarm.GetSoundFile(nullptr, 0), 0u);
}

TEST_F(AlarmFile, AFourByteRefireRecordHasNoSeconds) {
    const Bytes old_record{0, 58, 6, 30};
    ASSERT_EQ(alarm.AddRecord(old_record.data(), old_record.size()), 0);
    int hour = 0, minute = 0, second = -1;
    EXPECT_EQ(alarm.GetRefireTime(hour, minute, second), 0);
    EXPECT_EQ(hour * 100 + minute, 630);
    EXPECT_EQ(second, 0);
}

TEST_F(AlarmFile, UnknownTagsAndAnyOrderAreKeptByRewrites) {
    const Bytes unknown{0x12, 0x34, 0xAB, 0xCD};
    alarm.SetActive(1);
    ASSERT_EQ(alarm.AddRecord(unknown.data(), unknown.size()), 1);
    alarm.SetAlarmTime(6, 0);
    alarm.SetActive(0);
    EXPECT_EQ(tags(), (std::vector<int>{0x1234, 51, 57}));
    EXPECT_EQ(alarm.ReadRecord(0), unknown);
}

TEST_F(AlarmFile, StatusCodesForMissingFilesRecordsAndPaths) {
    CAlarmDB other;
    EXPECT_EQ(other.Open(u""), CAlarmDB::kNoPath);
    EXPECT_EQ(other.Create(u""), CAlarmDB::kNoPath);
    EXPECT_EQ(other.Open(u"\\missing.kivo"), CAlarmDB::kOpenFailed);
    EXPECT_EQ(other.Create(u"no-folder.kivo"), CAlarmDB::kCreateFailed);
    EXPECT_EQ(other.Create(u"\\no such folder\\1.kivo"), CAlarmDB::kCreateFailed);
    std::uint8_t value = 0;
    EXPECT_EQ(other.GetActive(value), CAlarmDB::kNoFile);
    EXPECT_EQ(other.SetActive(1), CAlarmDB::kNoFile);
    EXPECT_EQ(other.RemoveTag(AlarmTag::Active), CAlarmDB::kNoFile);
    EXPECT_EQ(alarm.GetActive(value), CAlarmDB::kAbsent);
    EXPECT_EQ(alarm.RemoveTag(AlarmTag::Active), CAlarmDB::kOk);
}

TEST_F(AlarmFile, TextsWithoutTerminatorReadAsAbsent) {
    const Bytes description{0, 50, 'A', 0, 'B', 0};
    const Bytes sound_file{0, 53, 'x', 'y'};
    alarm.AddRecord(description.data(), description.size());
    alarm.AddRecord(sound_file.data(), sound_file.size());
    std::u16string text;
    EXPECT_FALSE(alarm.ReadDescription(text));
    EXPECT_FALSE(alarm.ReadSoundFile(text));
    EXPECT_EQ(alarm.GetDescription(nullptr, 0), 0u);
}

TEST_F(AlarmFile, AReadOnlyFileRefusesEveryWrite) {
    alarm.SetActive(1);
    alarm.Close();
    ASSERT_TRUE(ce::SetFileAttributesW(kPath, ce::FILE_ATTRIBUTE_READONLY));
    const Bytes before = host_bytes();
    ASSERT_EQ(alarm.Open(kPath), 0);
    EXPECT_EQ(alarm.SetActive(0), CAlarmDB::kRemoveFailed);
    EXPECT_EQ(alarm.SetDays(1), CAlarmDB::kAppendFailed);
    EXPECT_EQ(alarm.RemoveTag(AlarmTag::Active), CAlarmDB::kRemoveFailed);
    std::uint8_t active = 0;
    EXPECT_EQ(alarm.GetActive(active), 0);
    EXPECT_EQ(active, 1);
    alarm.Close();
    EXPECT_EQ(host_bytes(), before);
}

TEST_F(AlarmFile, ACorruptFileGivesCodesAndStaysAsItWas) {
    alarm.SetActive(1);
    alarm.Close();
    Bytes bytes = host_bytes();
    pdb::write_be32(&bytes[78], 5000);  // the only record points past the end
    {
        std::ofstream out(host_path("1.kivo"), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    ASSERT_EQ(alarm.Open(kPath), 0);
    std::uint8_t value = 0;
    EXPECT_EQ(alarm.GetActive(value), CAlarmDB::kAbsent);
    EXPECT_EQ(alarm.SetDays(1), CAlarmDB::kAppendFailed);
    alarm.Close();
    EXPECT_EQ(host_bytes(), bytes);
}

// A listed record that cannot be read (the file lost its last byte after it was opened)
// is not taken as absent: a writer would give the tag a second record, RemoveTag would
// report a removal that did not happen.
TEST_F(AlarmFile, ARecordThatCannotBeReadIsNotTakenAsAbsentByWriters) {
    ASSERT_EQ(alarm.SetActive(1), CAlarmDB::kOk);
    alarm.Close();
    ASSERT_EQ(alarm.Open(kPath), CAlarmDB::kOk);
    std::filesystem::resize_file(host_path("1.kivo"), host_bytes().size() - 1);
    const Bytes cut = host_bytes();
    EXPECT_EQ(alarm.SetActive(0), CAlarmDB::kRemoveFailed);
    EXPECT_EQ(alarm.RemoveTag(AlarmTag::Active), CAlarmDB::kRemoveFailed);
    std::uint8_t active = 0;
    EXPECT_EQ(alarm.GetActive(active), CAlarmDB::kAbsent);
    alarm.Close();
    EXPECT_EQ(host_bytes(), cut);
}

}  // namespace

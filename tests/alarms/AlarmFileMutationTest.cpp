#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "TempDevice.h"
#include "alarms/CAlarmDB.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class AlarmFileMutation : public testing_support::TempDevice {
protected:
    Bytes read_file() const {
        std::ifstream in(host_path("1.kivo"), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    void write_file(const Bytes& bytes) const {
        std::ofstream out(host_path("1.kivo"), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
};

void read_every_tag(CAlarmDB& alarm) {
    std::u16string text;
    int hour = 0, minute = 0, second = 0;
    std::uint8_t byte = 0;
    std::uint16_t word = 0;
    alarm.ReadDescription(text);
    alarm.ReadSoundFile(text);
    alarm.ReadIrDatabase(text);
    alarm.GetAlarmTime(hour, minute);
    alarm.GetRefireTime(hour, minute, second);
    alarm.GetDays(byte);
    alarm.GetActive(byte);
    alarm.GetSoundVolume(word);
    alarm.GetSoundRepeat(word);
    for (int i = -1; i <= alarm.RecordCount(); ++i) alarm.ReadRecord(i);
}

// Damaged files (bytes changed, cut short or lengthened) are read without reading
// outside them, and a write either succeeds and reads back or leaves the file as it was.
TEST_F(AlarmFileMutation, DamagedFilesNeverCrashAndFailedWritesChangeNothing) {
    {
        CAlarmDB alarm;
        ASSERT_EQ(alarm.Create(u"\\1.kivo"), 0);
        alarm.SetDescription(u"Weekday alarm");
        alarm.SetAlarmTime(6, 45);
        alarm.SetDays(0x1F);
        alarm.SetSoundFile(u"\\My Documents\\a.wav");
        alarm.SetActive(1);
    }
    const Bytes original = read_file();
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        Bytes damaged = original;
        const int changes = 1 + static_cast<int>(random() % 6);
        for (int c = 0; c < changes; ++c) {
            const std::size_t at = random() % damaged.size();
            switch (random() % 4) {
                case 0: damaged[at] = static_cast<std::uint8_t>(random()); break;
                case 1: damaged[at] ^= static_cast<std::uint8_t>(1u << (random() % 8)); break;
                case 2: damaged.resize(at); break;
                default: damaged.insert(damaged.begin() + static_cast<long>(at), static_cast<std::uint8_t>(random()));
            }
            if (damaged.empty()) damaged.push_back(0);
        }
        write_file(damaged);

        CAlarmDB alarm;
        ASSERT_EQ(alarm.Open(u"\\1.kivo"), 0);
        read_every_tag(alarm);
        const int written = alarm.SetSoundRepeat(3);
        std::uint16_t repeat = 0;
        if (written == CAlarmDB::kOk) {
            EXPECT_EQ(alarm.GetSoundRepeat(repeat), 0) << "round " << round;
            EXPECT_EQ(repeat, 3) << "round " << round;
            read_every_tag(alarm);
        } else {
            alarm.Close();
            EXPECT_EQ(read_file(), damaged) << "round " << round;
        }
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ChildProcess.h"
#include "TempDevice.h"
#include "alarms/CAlarmDB.h"
#include "ce/Files.h"

namespace {

class AlarmFileCrash : public testing_support::TempDevice {};

// A writer killed in the middle of a burst of writes leaves a file in which every tag
// still holds a value that was written, old or new.
TEST_F(AlarmFileCrash, AKilledWriterLeavesEveryTagWithAnOldOrNewValue) {
    {
        CAlarmDB alarm;
        ASSERT_EQ(alarm.Create(u"\\1.kivo"), 0);
        alarm.SetAlarmTime(6, 30);
        alarm.SetSoundRepeat(0);
        alarm.SetDescription(u"round a");
        alarm.SetActive(0);
    }
    for (int attempt = 0; attempt < 8; ++attempt) {
        testing_support::ChildProcess writer(testing_support::executable_dir() + "/kivo_alarm_writer_agent",
                                             {"\\1.kivo"});
        ASSERT_TRUE(writer.started());
        ASSERT_EQ(writer.read_line(), "ready");
        std::this_thread::sleep_for(std::chrono::milliseconds(20 + 37 * attempt));
        writer.kill();
        writer.wait();

        CAlarmDB alarm;
        ASSERT_EQ(alarm.Open(u"\\1.kivo"), 0) << "attempt " << attempt;
        int hour = 0, minute = 0;
        EXPECT_EQ(alarm.GetAlarmTime(hour, minute), 0);
        EXPECT_EQ(hour * 100 + minute, 630);
        std::uint16_t round = 0;
        EXPECT_EQ(alarm.GetSoundRepeat(round), 0);
        std::u16string description;
        EXPECT_TRUE(alarm.ReadDescription(description));
        EXPECT_EQ(description.substr(0, 6), u"round ");
        std::uint8_t active = 9;
        EXPECT_EQ(alarm.GetActive(active), 0);
        EXPECT_LE(active, 1);
        EXPECT_EQ(alarm.RecordCount(), 4);
        for (int i = 0; i < alarm.RecordCount(); ++i) EXPECT_FALSE(alarm.ReadRecord(i).empty());
    }
}

}  // namespace

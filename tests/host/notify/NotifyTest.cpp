// The notification database: registrations of programs to run at a local time or after
// a clock event, kept in device.db for every process of the handheld.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LocalTime.h"
#include "TempDevice.h"
#include "ce/Notify.h"
#include "ce/Text.h"
#include "host/Device.h"
#include "host/clock/LocalTime.h"
#include "host/notify/NotificationStore.h"

namespace {

using namespace ce;

constexpr const char16_t* kWake = u"\\Windows\\kivowake.exe";

using testing_support::local_time;

class Notify : public testing_support::TempDevice {
protected:
    static std::vector<host::Notification> list() {
        return host::NotificationStore(host::Device::current().database()).list();
    }
    // "path|event|time|word" for each registration.
    static std::vector<std::string> summary() {
        std::vector<std::string> lines;
        for (const auto& n : list()) {
            const std::string time =
                n.is_timed() ? host::time_text(n.time) + " w" + std::to_string(n.time.wDayOfWeek) : "";
            lines.push_back(utf8_from_utf16(n.application) + "|" + std::to_string(n.event) + "|" + time + "|" +
                            utf8_from_utf16(n.command_word()));
        }
        return lines;
    }
};

TEST_F(Notify, ATimedRegistrationIsReplacedAndRemoved) {
    const SYSTEMTIME first = local_time(2026, 3, 7, 6, 30);
    const SYSTEMTIME second = local_time(2026, 3, 8, 7, 15, 30);
    ASSERT_TRUE(CeRunAppAtTime(kWake, &first));
    ASSERT_TRUE(CeRunAppAtTime(u"\\WINDOWS\\KivoWake.exe", &second));  // the same program, spelt otherwise
    EXPECT_EQ(summary(), std::vector<std::string>{"\\WINDOWS\\KivoWake.exe|0|2026-03-08 07:15:30 w0|AppRunAtTime"});
    ASSERT_TRUE(CeRunAppAtTime(kWake, nullptr));
    EXPECT_TRUE(list().empty());
    EXPECT_TRUE(CeRunAppAtTime(kWake, nullptr));  // removing what is not there is fine
}

TEST_F(Notify, EventRegistrationsAreKeptOnceAndEventNoneRemovesOnlyThem) {
    const SYSTEMTIME time = local_time(2026, 3, 7, 6, 30);
    ASSERT_TRUE(CeRunAppAtEvent(kWake, NOTIFICATION_EVENT_TIME_CHANGE));
    ASSERT_TRUE(CeRunAppAtEvent(kWake, NOTIFICATION_EVENT_TIME_CHANGE));
    ASSERT_TRUE(CeRunAppAtEvent(kWake, NOTIFICATION_EVENT_TZ_CHANGE));
    ASSERT_TRUE(CeRunAppAtEvent(u"\\Other.exe", NOTIFICATION_EVENT_TZ_CHANGE));
    ASSERT_TRUE(CeRunAppAtTime(kWake, &time));
    EXPECT_EQ(summary(), (std::vector<std::string>{"\\Windows\\kivowake.exe|1||AppRunAfterTimeChange",
                                                   "\\Windows\\kivowake.exe|12||AppRunAfterTzChange",
                                                   "\\Other.exe|12||AppRunAfterTzChange",
                                                   "\\Windows\\kivowake.exe|0|2026-03-07 06:30:00 w6|AppRunAtTime"}));
    ASSERT_TRUE(CeRunAppAtEvent(kWake, NOTIFICATION_EVENT_NONE));
    EXPECT_EQ(summary(), (std::vector<std::string>{"\\Other.exe|12||AppRunAfterTzChange",
                                                   "\\Windows\\kivowake.exe|0|2026-03-07 06:30:00 w6|AppRunAtTime"}));
}

TEST_F(Notify, BadArgumentsAreRefusedAndStoreNothing) {
    const SYSTEMTIME impossible[] = {local_time(2026, 2, 29, 6, 30), local_time(2026, 3, 7, 24, 0), local_time(2026, 3, 7, 6, 60),
                                     local_time(2026, 3, 7, 6, 30, 60)};
    for (const SYSTEMTIME& time : impossible) {
        EXPECT_FALSE(CeRunAppAtTime(kWake, &time));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    const SYSTEMTIME time = local_time(2026, 3, 7, 6, 30);
    EXPECT_FALSE(CeRunAppAtTime(nullptr, &time));
    EXPECT_FALSE(CeRunAppAtTime(u"", &time));
    EXPECT_FALSE(CeRunAppAtTime(u"\\..\\x.exe", &time));
    EXPECT_FALSE(CeRunAppAtEvent(kWake, 2));
    EXPECT_FALSE(CeRunAppAtEvent(kWake, -1));
    EXPECT_FALSE(CeRunAppAtEvent(nullptr, NOTIFICATION_EVENT_TIME_CHANGE));
    const std::u16string too_long(400, u'a');
    EXPECT_FALSE(CeRunAppAtEvent((u"\\" + too_long).c_str(), NOTIFICATION_EVENT_TIME_CHANGE));
    EXPECT_TRUE(list().empty());
}

TEST_F(Notify, RegistrationsOutliveTheProcessesConnection) {
    const SYSTEMTIME time = local_time(2026, 12, 24, 18, 0);
    ASSERT_TRUE(CeRunAppAtTime(kWake, &time));
    ASSERT_TRUE(CeRunAppAtEvent(kWake, NOTIFICATION_EVENT_TZ_CHANGE));
    const auto root = device_root();
    host::Device::select(root.parent_path() / "kivo-notify-elsewhere");
    host::Device::select(root);
    EXPECT_EQ(summary(), (std::vector<std::string>{"\\Windows\\kivowake.exe|0|2026-12-24 18:00:00 w4|AppRunAtTime",
                                                   "\\Windows\\kivowake.exe|12||AppRunAfterTzChange"}));
    std::error_code ignored;
    std::filesystem::remove_all(root.parent_path() / "kivo-notify-elsewhere", ignored);
}

}  // namespace

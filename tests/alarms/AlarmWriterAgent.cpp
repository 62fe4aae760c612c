// Writes tags into one alarm file as fast as it can, until it is killed: the test
// process kills it at random moments and checks what it left behind.
#include <cstdio>
#include <string>

#include "alarms/CAlarmDB.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string path(argv[1]);
    const std::u16string device_path(path.begin(), path.end());
    std::printf("ready\n");
    std::fflush(stdout);
    for (std::uint16_t round = 1;; ++round) {
        CAlarmDB alarm;
        if (alarm.Open(device_path) != CAlarmDB::kOk) return 1;
        alarm.SetSoundRepeat(round);
        alarm.SetDescription(u"round " + std::u16string(1, static_cast<char16_t>(u'a' + round % 26)));
        alarm.SetActive(static_cast<std::uint8_t>(round % 2));
    }
}

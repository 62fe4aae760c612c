// A second program using the alarm store, for the tests that need two processes.
// Reads commands from stdin, one a line, and answers one line each:
//   lock        -> locked | failed ELAPSED_MS
//   unlock      -> ok
//   reschedule  -> RESULT ELAPSED_MS   (what CAlarmScheduler::Reschedule returned)
//   hold PATH   -> held | failed       (locks the store and keeps the alarm file open)
//   reschedule N -> done               (reschedules N times in a row)

#include <chrono>
#include <string>

#include "AgentLoop.h"
#include "alarms/AlarmStoreLock.h"
#include "alarms/CAlarmDB.h"
#include "alarms/CAlarmScheduler.h"
#include "ce/Text.h"

namespace {

AlarmStoreLock g_lock;
CAlarmDB g_held;

template <class Action>
std::string timed(Action action) {
    const auto start = std::chrono::steady_clock::now();
    const std::string answer = action();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return answer + " " + std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

std::string run(const std::string& command) {
    if (command == "lock") {
        const std::string answer = timed([] { return std::string(g_lock.Lock() ? "locked" : "failed"); });
        return answer.starts_with("locked") ? "locked" : answer;
    }
    if (command == "unlock") {
        g_lock.Unlock();
        return "ok";
    }
    if (command.starts_with("hold ")) {
        const bool held = g_lock.Lock() && g_held.Open(ce::utf16_from_utf8(command.substr(5))) == CAlarmDB::kOk;
        return held ? "held" : "failed";
    }
    if (command.starts_with("reschedule ")) {
        for (int round = std::stoi(command.substr(11)); round > 0; --round) CAlarmScheduler::Reschedule();
        return "done";
    }
    if (command == "reschedule") return timed([] { return std::to_string(CAlarmScheduler::Reschedule()); });
    return "error unknown command";
}

}  // namespace

int main() { return testing_support::serve_commands(run); }

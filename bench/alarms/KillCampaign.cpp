// Two programs write one alarm file under the store lock, as KIVO and Alert do, and one
// of them is killed (SIGKILL) at a random moment; round after round this checks that the
// file is never torn, that no lock is left held (the store mutex, the sharing of the
// file, the guard of the file calls), that no lock file is left in run/share, and that the
// survivor's next write goes through at once. Prints the counts; exits 1 on any fault.
//   kivo_alarm_file_kill_campaign [ROUNDS]          (1000 by default)
//   kivo_alarm_file_kill_campaign --writer NAME     (one of the two writers; run by the campaign)

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "FreshHandheld.h"
#include "alarms/AlarmStoreLock.h"
#include "alarms/CAlarmDB.h"
#include "ce/Files.h"
#include "ce/Sync.h"
#include "ce/Text.h"
#include "host/Device.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

const std::u16string kAlarm = u"\\1.kivo";
constexpr auto kAtOnce = std::chrono::milliseconds(250);  // the survivor's next write, at the latest

// A writer: every pass takes the store (the programs' mutex), opens the file, changes two
// tags, closes and lets go, then says "ok N" (with "abandoned" when the store was won
// from a writer killed holding it) or "fail WHAT ERROR" on its standard output.
int write_forever(const std::string& name) {
    const ce::HANDLE store = ce::CreateMutexW(nullptr, ce::FALSE, AlarmStoreLock::kMutexName);
    if (store == nullptr) return 1;
    for (long n = 1;; ++n) {
        const ce::DWORD won = ce::WaitForSingleObject(store, AlarmStoreLock::kTimeoutMs);
        if (won != ce::WAIT_OBJECT_0 && won != ce::WAIT_ABANDONED) {
            std::printf("fail lock %lu\n", static_cast<unsigned long>(won));
            std::fflush(stdout);
            continue;
        }
        CAlarmDB alarm;
        bool written = alarm.Open(kAlarm) == CAlarmDB::kOk;
        const std::string text = name + " " + std::to_string(n);
        written = written && alarm.SetDescription(std::u16string(text.begin(), text.end())) == CAlarmDB::kOk &&
                  alarm.SetAlarmTime(static_cast<int>(n % 24), static_cast<int>(n % 60)) == CAlarmDB::kOk;
        const auto error = static_cast<unsigned long>(ce::GetLastError());
        alarm.Close();
        ce::ReleaseMutex(store);
        if (written) {
            std::printf("ok %ld%s\n", n, won == ce::WAIT_ABANDONED ? " abandoned" : "");
        } else {
            std::printf("fail write %ld %lu\n", n, error);
        }
        std::fflush(stdout);
    }
}

struct Writer {
    pid_t pid = -1;
    int out = -1;
    std::string pending;
    long writes = 0;
    long abandoned = 0;  // writes that won the store from a killed holder
    long failures = 0;

    bool start(const char* self, const char* name) {
        int pipe_fds[2];
        if (pipe2(pipe_fds, O_CLOEXEC) != 0) return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
        char* const argv[] = {const_cast<char*>(self), const_cast<char*>("--writer"), const_cast<char*>(name), nullptr};
        const int spawned = posix_spawn(&pid, self, &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(pipe_fds[1]);
        out = pipe_fds[0];
        return spawned == 0;
    }
    // Reads what the writer said, waiting at most `limit` for a line; true when one came.
    bool hear(std::chrono::milliseconds limit) {
        pollfd waiting{out, POLLIN, 0};
        if (poll(&waiting, 1, static_cast<int>(limit.count())) <= 0) return false;
        char buffer[4096];
        const ssize_t got = read(out, buffer, sizeof buffer);
        if (got <= 0) return false;
        pending.append(buffer, static_cast<std::size_t>(got));
        bool line = false;
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
            line = true;
            if (pending.compare(0, 3, "ok ") == 0) {
                ++writes;
                if (pending.substr(0, end).ends_with(" abandoned")) ++abandoned;
            } else {
                ++failures;
                std::fprintf(stderr, "writer %d: %s\n", pid, pending.substr(0, end).c_str());
            }
        }
        return line;
    }
    // Waits for the writer's next completed write; how long it took, or nothing.
    std::optional<Clock::duration> next_write(Clock::time_point since, std::chrono::milliseconds limit) {
        const long before = writes;
        while (writes == before && Clock::now() - since < limit) hear(limit);
        if (writes == before) return std::nullopt;
        return Clock::now() - since;
    }
    void end() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        if (out >= 0) close(out);
        pid = -1;
        out = -1;
    }
};

// Whole: opens, every record listed can be read, and both tags hold a writer's value.
bool file_is_whole() {
    CAlarmDB alarm;
    if (alarm.Open(kAlarm) != CAlarmDB::kOk) return false;
    for (int i = 0; i < alarm.RecordCount(); ++i)
        if (alarm.ReadRecord(i).empty()) return false;
    std::u16string text;
    int hour = 0, minute = 0;
    if (!alarm.ReadDescription(text) || alarm.GetAlarmTime(hour, minute) != CAlarmDB::kOk) return false;
    const std::string description = ce::utf8_from_utf16(text);
    return description == "first" || description.starts_with("A ") || description.starts_with("B ");
}

// Nothing left held: the store is had at once, the file opens without any sharing and
// can be deleted and made again, and no lock file was made for the files.
bool nothing_left_held(const std::filesystem::path& share_dir, Clock::duration* store_wait) {
    const auto asked = Clock::now();
    AlarmStoreLock lock;
    if (!lock.Lock()) return false;
    *store_wait = Clock::now() - asked;
    const ce::HANDLE alone =
        ce::CreateFileW(kAlarm.c_str(), ce::GENERIC_READ | ce::GENERIC_WRITE, 0, ce::OPEN_EXISTING);
    if (alone == ce::INVALID_HANDLE_VALUE) return false;
    ce::CloseHandle(alone);
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(share_dir, ignored))
        if (entry.path().filename() != "guard") return false;
    return true;
}

double ms(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--writer") == 0) return write_forever(argv[2]);
    const long rounds = argc > 1 ? std::max(1L, std::strtol(argv[1], nullptr, 10)) : 1000;
    const std::filesystem::path root = bench::select_fresh_handheld("kill");
    if (root.empty()) return 1;
    setenv("KIVO_DEVICE", root.c_str(), 1);
    {
        CAlarmDB alarm;
        if (alarm.Create(kAlarm) != CAlarmDB::kOk || alarm.SetDescription(u"first") != CAlarmDB::kOk ||
            alarm.SetAlarmTime(7, 30) != CAlarmDB::kOk)
            return 1;
    }
    const auto share_dir = host::Device::current().run_dir() / "share";
    std::mt19937 random(std::random_device{}());
    long torn = 0, held = 0, late = 0, failures = 0, won_from_dead = 0;
    std::vector<double> survivor_ms, store_ms;
    const auto started = Clock::now();
    for (long round = 0; round < rounds; ++round) {
        Writer writers[2];
        if (!writers[0].start(argv[0], "A") || !writers[1].start(argv[0], "B")) return 1;
        // Both at work before the kill comes.
        for (auto& writer : writers) writer.next_write(Clock::now(), std::chrono::seconds(5));
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 5000)(random)));
        const int victim = std::uniform_int_distribution<int>(0, 1)(random);
        Writer& dead = writers[victim];
        Writer& survivor = writers[1 - victim];
        kill(dead.pid, SIGKILL);
        waitpid(dead.pid, nullptr, 0);
        dead.pid = -1;
        // Only a write begun after the kill counts as the survivor's next.
        while (survivor.hear(std::chrono::milliseconds(0))) {
        }
        const auto next = survivor.next_write(Clock::now(), std::chrono::seconds(5));
        if (!next || *next > kAtOnce) ++late;
        if (next) survivor_ms.push_back(ms(*next));
        while (survivor.hear(std::chrono::milliseconds(0))) {
        }
        won_from_dead += survivor.abandoned;
        survivor.end();
        dead.end();
        failures += writers[0].failures + writers[1].failures;
        if (!file_is_whole()) {
            ++torn;
            std::fprintf(stderr, "round %ld: the file is torn\n", round);
        }
        Clock::duration store_wait{};
        if (!nothing_left_held(share_dir, &store_wait)) {
            ++held;
            std::fprintf(stderr, "round %ld: a lock is left held\n", round);
        }
        store_ms.push_back(ms(store_wait));
    }
    std::sort(survivor_ms.begin(), survivor_ms.end());
    std::sort(store_ms.begin(), store_ms.end());
    const auto at = [](const std::vector<double>& values, double part) {
        return values.empty() ? 0.0 : values[std::min(values.size() - 1, static_cast<std::size_t>(part * values.size()))];
    };
    std::printf("%ld rounds in %.1f s; kills that came while the victim held the store: %ld\n", rounds,
                std::chrono::duration<double>(Clock::now() - started).count(), won_from_dead);
    std::printf("torn files: %ld   locks left held: %ld   survivor late (> %lld ms) or stuck: %ld   "
                "failed opens or writes: %ld\n",
                torn, held, static_cast<long long>(kAtOnce.count()), late, failures);
    std::printf("survivor's next write after the kill: median %.2f ms, 99th %.2f ms, max %.2f ms\n",
                at(survivor_ms, 0.5), at(survivor_ms, 0.99), at(survivor_ms, 1.0));
    std::printf("the store taken after the round: median %.3f ms, max %.3f ms\n", at(store_ms, 0.5),
                at(store_ms, 1.0));
    bench::remove_handheld(root);
    return torn == 0 && held == 0 && late == 0 && failures == 0 ? 0 : 1;
}

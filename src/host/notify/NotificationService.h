#pragma once
// The handheld's notification service: one process per handheld that owns the
// notification database's timetable. It sleeps until the next registered second (a
// timer on the host's clock, set from the handheld's), starts what fell due, follows
// the programs it started for it until they end, and is woken early by a message on its
// socket when the database or the clock changes or an event is raised, and by a step of
// the computer's clock (ClockSteps) or a change of its zone (ComputerChanges), and follows
// the tz database's file of the handheld's zone (ZoneRulesWatch). It ends on "stop", on
// SIGTERM or SIGINT, and when its handheld's
// directory is removed (its lock file goes with it).

#include <chrono>
#include <optional>

#include "host/DeviceLog.h"
#include "host/LockFile.h"
#include "host/RefusalLog.h"
#include "host/notify/AlarmTimer.h"
#include "host/notify/ClockSteps.h"
#include "host/notify/ComputerChanges.h"
#include "host/notify/ComputerZoneWatch.h"
#include "host/notify/EventRaises.h"
#include "host/notify/NotificationRunner.h"
#include "host/notify/ReserveWatch.h"
#include "host/notify/ServiceFiles.h"
#include "host/notify/ZoneRulesWatch.h"

namespace host {

class Device;

class NotificationService {
public:
    // How this service is kept (ServiceKeeper).
    struct Keeping {
        // Reads end-of-file once the keeper has ended; -1: none to watch (a unit restarts it).
        int keeper_fd = -1;
        // Started by a service whose keeper ended: waits for that service to end, and
        // takes over unless it was stopped.
        bool successor = false;
    };
    NotificationService(Device& device, ProgramStarter& starter, ClockSteps& clock_steps, Keeping keeping);
    ~NotificationService();
    NotificationService(const NotificationService&) = delete;
    NotificationService& operator=(const NotificationService&) = delete;

    // What run() ends with: another service runs for the handheld (said in the log), so
    // whatever would restart this one on failure should not.
    static constexpr int kAnotherRuns = 3;
    // 0 after a stop; kAnotherRuns; 1 when this one cannot listen (said in the log).
    int run();

    // Set in the environment of a successor (KeeperSuccession).
    static constexpr const char* kSuccessorVariable = "KIVO_SERVICE_SUCCESSOR";

private:
    enum class Next { go_on, stop };

    bool take_lock();
    // A successor's wait for the service it follows; false when that one was stopped
    // (or its handheld removed): nothing to take over.
    bool succeed();
    // The keeper ended: another keeper is started, whose service waits to succeed this one.
    void on_keeper_end();
    bool open_wake_ups();
    // device.db was made anew as the service started: says so, and has the handheld's
    // reminder register the alarms again.
    void remake_registrations();
    void show_trouble();
    void arm(std::optional<NotificationRunner::Instant> due);
    Next receive();
    Next on_signal();
    Next on_inotify();
    void on_clock_step();

    Device& device_;
    ServiceFiles files_;
    DeviceLog log_;
    RefusalLog refusals_;  // messages it does not understand, which anyone can send
    NotificationStore store_;
    NotificationRunner runner_;
    EventRaises events_;
    ComputerChanges computer_;
    LockFile lock_;
    AlarmTimer timer_;
    ClockSteps& clock_steps_;
    ComputerZoneWatch zone_watch_;
    ZoneRulesWatch zone_rules_;
    ReserveWatch reserve_;
    Keeping keeping_;
    std::optional<std::string> shown_trouble_;
    int socket_fd_ = -1;
    int signal_fd_ = -1;
    int inotify_fd_ = -1;
};

}  // namespace host

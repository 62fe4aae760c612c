// KIVO as this computer's alarm clock, set up as a person does it with the `handheld`
// tool: a new handheld takes the computer's zone and clock, the notification service
// waits on the clock that wakes a suspended computer where it may and says why not
// where it may not, `autostart on` writes a unit that starts the service, and `install
// --menu` puts KIVO, started on the handheld, in the person's menu.

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <linux/capability.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <utility>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "HandheldDeviceTest.h"
#include "LocalTime.h"
#include "StandIn.h"
#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/notify/NotificationStore.h"
#include "host/notify/ServiceLink.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// An environment variable set for one scope, the way a person's shell has it.
class Variable {
public:
    Variable(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~Variable() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class ComputerClockTool : public tool_tests::HandheldDeviceTest {
protected:
    void TearDown() override {
        handheld({"stop"});
        HandheldDeviceTest::TearDown();
    }
    // The tool on a handheld it makes now, not the fixture's.
    tool_tests::HandheldResult fresh(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--device", (device_root() / "new").string()});
        return tool_tests::run_handheld(arguments);
    }
    std::string fresh_ok(std::vector<std::string> arguments) {
        const auto result = fresh(std::move(arguments));
        EXPECT_EQ(result.exit_code, 0) << result.err;
        return result.out;
    }
    static std::optional<int> service() { return host::ServiceLink(host::Device::current()).running(); }
    // The clock of the running service's timer, from the kernel's own account of it.
    static std::optional<int> timer_clock(int pid) {
        const std::filesystem::path fds = "/proc/" + std::to_string(pid) + "/fd";
        // The alarm timer, beside the timer that only learns of clock steps (always
        // CLOCK_REALTIME): the alarm clock wherever one of them is on it.
        std::optional<int> clock;
        std::error_code error;
        for (const auto& fd : std::filesystem::directory_iterator(fds, error)) {
            if (std::filesystem::read_symlink(fd.path(), error).string() != "anon_inode:[timerfd]") continue;
            std::ifstream info("/proc/" + std::to_string(pid) + "/fdinfo/" + fd.path().filename().string());
            for (std::string line; std::getline(info, line);)
                if (line.starts_with("clockid:")) clock = std::max(clock.value_or(0), std::stoi(line.substr(8)));
        }
        return clock;
    }
};

bool holds_wake_alarm() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("CapEff:")) return (std::stoull(line.substr(7), nullptr, 16) >> CAP_WAKE_ALARM) & 1u;
    return false;
}

TEST_F(ComputerClockTool, ANewHandheldFollowsTheComputerUntilItsClockIsSetByHand) {
    {
        const Variable zone("TZ", "Asia/Tokyo");
        fresh_ok({"init"});
        const auto shown = fresh_ok({"time", "show"});
        EXPECT_THAT(shown, HasSubstr(" Asia/Tokyo (UTC+09:00)\n"));
        EXPECT_THAT(shown, HasSubstr("clock: this computer's, in the zone $TZ named"));
        EXPECT_THAT(fresh_ok({"status"}), HasSubstr("\ntime zone   Asia/Tokyo (UTC+09:00)\n"));

        const auto set = fresh_ok({"time", "set", "2030-01-01 07:00"});
        EXPECT_THAT(set, HasSubstr("keeps a clock of its own from now on; `handheld time follow`"));
        EXPECT_THAT(set, HasSubstr("2030-01-01 07:00:"));
        EXPECT_THAT(fresh_ok({"time", "show"}), HasSubstr("clock: its own"));
    }
    {
        // Back to following, where the computer's zone is now the one its link names.
        const auto link = device_root() / "localtime";
        std::filesystem::create_symlink("/usr/share/zoneinfo/posix/America/Sao_Paulo", link);
        const Variable no_zone("TZ", "");
        const Variable localtime("KIVO_HOST_LOCALTIME", link.string());
        const auto followed = fresh_ok({"time", "follow"});
        EXPECT_THAT(followed, HasSubstr(" America/Sao_Paulo (UTC-03:00)\n"));
        EXPECT_THAT(followed, HasSubstr("clock: this computer's, in the zone " + link.string() + " names"));
        EXPECT_THAT(followed, Not(HasSubstr("2030-01-01")));
        // A zone set by hand leaves the computer's clock too.
        EXPECT_THAT(fresh_ok({"tz", "set", "UTC"}), HasSubstr("keeps a clock of its own"));
        EXPECT_THAT(fresh_ok({"time", "show"}), HasSubstr("clock: its own"));
    }
    // A handheld made before (the fixture's, its clock of its own in UTC) keeps it.
    const Variable zone("TZ", "Asia/Tokyo");
    EXPECT_THAT(ok({"time", "show"}), HasSubstr(" UTC (UTC+00:00)\nclock: its own"));
}

// A shell's new TZ is the computer's new zone, in each of the forms POSIX gives a zone's
// file; one the handheld cannot take is named, with the zone it keeps instead.
TEST_F(ComputerClockTool, AFollowingHandheldTakesANewTzAndSaysWhyItCannotTakeOne) {
    {
        const Variable zone("TZ", "Asia/Tokyo");
        fresh_ok({"init"});
    }
    struct Step {
        const char* tz;
        const char* shown;  // the zone `time show` then shows
        const char* note;   // what the tool says on standard error
    };
    const Step steps[] = {
        {"/usr/share/zoneinfo/Europe/Berlin", " Europe/Berlin (UTC+0", "takes the zone Europe/Berlin that TZ names (it was Asia/Tokyo)\n"},
        {":America/New_York", " America/New_York (UTC-0", "takes the zone America/New_York that TZ names (it was Europe/Berlin)\n"},
        {"America/New_York", " America/New_York (UTC-0", ""},
        {"", " America/New_York (UTC-0", ""},
        {"CET-1CEST,M3.5.0,M10.5.0/3", " America/New_York (UTC-0",
         "TZ=CET-1CEST,M3.5.0,M10.5.0/3 is a POSIX rule, not a zone of the tz database; set TZ to a zone's name such as "
         "Europe/Berlin; the handheld keeps the zone America/New_York\n"},
        {"Mars/Olympus_Mons", " America/New_York (UTC-0", "TZ=Mars/Olympus_Mons names no zone of the tz database"},
        {"/nowhere/zoneinfo/Europe/Paris", " America/New_York (UTC-0", "TZ=/nowhere/zoneinfo/Europe/Paris names no file"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.tz);
        const Variable zone("TZ", step.tz);
        const auto shown = fresh({"time", "show"});
        EXPECT_EQ(shown.exit_code, 0);
        EXPECT_THAT(shown.out, HasSubstr(step.shown));
        if (*step.note == '\0') {
            EXPECT_EQ(shown.err, "");
        } else {
            EXPECT_THAT(shown.err, HasSubstr(step.note));
        }
    }
    // The zone change ran as any other: the programs registered for it would have run.
    EXPECT_THAT(fresh_ok({"time", "show"}), HasSubstr("clock: this computer's, in the zone $TZ named"));
}

TEST_F(ComputerClockTool, TheServiceWaitsOnTheClockThatWakesTheComputerOrSaysWhyNot) {
    const auto rtc = device_root() / "rtc";
    std::filesystem::create_directories(rtc);
    const Variable rtc_folder("KIVO_HOST_RTC", rtc.string());
    EXPECT_THAT(ok({"status"}), HasSubstr("\nwake        nothing wakes this computer for an alarm: no notification "
                                          "service runs\n"));
    if (holds_wake_alarm()) {
        ok({"start"});
        ASSERT_TRUE(service());
        EXPECT_EQ(timer_clock(*service()), CLOCK_REALTIME_ALARM);
        EXPECT_THAT(ok({"status"}), HasSubstr("\nwake        not woken from suspend for an alarm: this computer has "
                                              "no RTC (" + rtc.string() + " is empty)"));
        std::ofstream(rtc / "rtc0") << "";
        EXPECT_THAT(ok({"status"}), HasSubstr("\nwake        woken from suspend for the next alarm (the service "
                                              "waits on CLOCK_REALTIME_ALARM)\n"));
        ok({"stop"});
    }
    // Started by someone without CAP_WAKE_ALARM: the plain clock, and the way out.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        prctl(PR_CAPBSET_DROP, CAP_WAKE_ALARM, 0, 0, 0);
        const std::string root = device_root().string();
        execl(HANDHELD_PROGRAM, HANDHELD_PROGRAM, "--device", root.c_str(), "start", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(service());
    EXPECT_EQ(timer_clock(*service()), CLOCK_REALTIME);
    EXPECT_THAT(ok({"status"}), HasSubstr("\nwake        not woken from suspend for an alarm: the notification "
                                          "service lacks CAP_WAKE_ALARM; run `sudo handheld install --wake`"));
    EXPECT_THAT(testing_support::log_lines(device_root(), "notify"),
                ::testing::Contains(HasSubstr("waiting on CLOCK_REALTIME (the notification service lacks "
                                              "CAP_WAKE_ALARM)")));
}

// The capability a file carries, as its bytes; empty when it carries none.
std::string capability_of(const std::filesystem::path& file) {
    std::string bytes(64, '\0');
    const ssize_t size = getxattr(file.c_str(), "security.capability", bytes.data(), bytes.size());
    bytes.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
    return bytes;
}

// `install --wake` as root gives the capability to the installed service alone: never to
// the service a handheld names, never through a link planted in the handheld, never to
// a service file another account could change.
TEST_F(ComputerClockTool, InstallWakeMarksOnlyTheInstalledServiceAndTrustsNothingInTheHandheld) {
    if (geteuid() != 0) GTEST_SKIP() << "setting a capability takes root";
    // An installed package: the tool in PREFIX/bin, its programs in PREFIX/lib/kivo.
    std::string pattern = (std::filesystem::temp_directory_path() / "kivo-prefix-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const std::filesystem::path prefix = pattern;
    std::filesystem::create_directories(prefix / "bin");
    std::filesystem::create_directories(prefix / "lib" / "kivo");
    std::filesystem::copy_file(HANDHELD_PROGRAM, prefix / "bin" / "kivo-handheld");
    std::filesystem::copy_file(KIVOSETUP_PATH, prefix / "lib" / "kivo" / "KIVOSETUP.so");
    const auto installed = prefix / "lib" / "kivo" / "kivo_notify_service";
    const auto wake = [&] {
        return tool_tests::run_program((prefix / "bin" / "kivo-handheld").string(),
                                       {"--device", device_root().string(), "install", "--wake"});
    };
    // Planted in the handheld by its owner: the service it names is another program with
    // a capability of its own, and its change counter is a link out of the handheld.
    const auto foreign = prefix / "foreign";
    std::filesystem::copy_file(KIVO_NOTIFY_SERVICE, foreign);
    vfs_cap_data raw{};
    raw.magic_etc = VFS_CAP_REVISION_2 | VFS_CAP_FLAGS_EFFECTIVE;
    raw.data[CAP_TO_INDEX(CAP_NET_RAW)].permitted = CAP_TO_MASK(CAP_NET_RAW);
    if (setxattr(foreign.c_str(), "security.capability", &raw, XATTR_CAPS_SZ_2, 0) != 0)
        GTEST_SKIP() << "this machine lets no file carry a capability";
    const std::string foreign_capability = capability_of(foreign);
    ASSERT_TRUE(host::Device::current().database().set_setting("notify.service", foreign.string()));
    const auto planted = prefix / "planted";
    std::filesystem::remove(device_root() / "run" / "settings.changes");
    std::filesystem::create_symlink(planted, device_root() / "run" / "settings.changes");

    // A service another account could change, and one that is a link, are refused.
    std::filesystem::copy_file(KIVO_NOTIFY_SERVICE, installed);
    ASSERT_EQ(chown(installed.c_str(), 65534, 65534), 0);
    auto result = wake();
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_THAT(result.err, HasSubstr("the notification service " + installed.string() + " belongs to "));
    EXPECT_EQ(capability_of(installed), "");
    std::filesystem::remove(installed);
    std::filesystem::create_symlink(foreign, installed);
    result = wake();
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_THAT(result.err, HasSubstr("it is a link"));
    std::filesystem::remove(installed);

    std::filesystem::copy_file(KIVO_NOTIFY_SERVICE, installed);
    result = wake();
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_THAT(result.out, HasSubstr("set CAP_WAKE_ALARM on " + installed.string()));
    EXPECT_NE(capability_of(installed), "");
    EXPECT_EQ(capability_of(foreign), foreign_capability) << "the handheld's service was changed";
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(planted))) << "root followed the link";

    // Where the bounding set lacks it (a container), the service still runs, on the plain clock.
    std::filesystem::remove(device_root() / "run" / "settings.changes");
    std::string failure;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        prctl(PR_CAPBSET_DROP, CAP_WAKE_ALARM, 0, 0, 0);
        _exit(host::ServiceLink(host::Device::current()).start(installed, &failure) ? 0 : 1);
    }
    int exit_status = 0;
    ASSERT_EQ(waitpid(child, &exit_status, 0), child);
    ASSERT_TRUE(WIFEXITED(exit_status) && WEXITSTATUS(exit_status) == 0) << "the service could not be run";
    ASSERT_TRUE(service());
    EXPECT_EQ(timer_clock(*service()), CLOCK_REALTIME);
    ok({"stop"});
    // Only the capability: the image got no programs.
    EXPECT_FALSE(std::filesystem::exists(host_path("Program Files/KIVO/KIVO.exe")));
    std::filesystem::remove_all(prefix);
}

// A unit's ExecStart words as systemd reads the quoting `autostart on` writes.
std::vector<std::string> exec_start_words(const std::string& unit) {
    std::istringstream lines(unit);
    std::vector<std::string> words;
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("ExecStart=")) continue;
        std::string word;
        bool quoted = false;
        for (std::size_t i = 10; i < line.size(); ++i) {
            const char c = line[i];
            if (c == '"') {
                quoted = !quoted;
                if (!quoted) words.push_back(std::exchange(word, {}));
            } else if (c == '\\' && i + 1 < line.size()) {
                word += line[++i];
            } else if ((c == '%' || c == '$') && i + 1 < line.size() && line[i + 1] == c) {
                word += line[++i];
            } else if (quoted) {
                word += c;
            }
        }
    }
    return words;
}

// The output of a shell command, without its last line end.
std::string output_of(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        for (std::size_t read; (read = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, read);
        pclose(pipe);
    }
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

TEST_F(ComputerClockTool, AutostartEnablesTheTemplateUnitForThisHandheldByItsEscapedPath) {
    const auto config = device_root() / "config";
    const Variable config_home("XDG_CONFIG_HOME", config.string());
    const Variable no_manager("XDG_RUNTIME_DIR", (device_root() / "no-runtime").string());
    // A path with what systemd escapes: spaces, a dash, a leading dot, a letter beyond ASCII.
    const auto device = std::filesystem::absolute(device_root() / "my hand-held" / ".kivo ü");
    const auto tool = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--device", device.string()});
        return tool_tests::run_handheld(arguments);
    };
    ASSERT_EQ(tool({"init"}).exit_code, 0);
    testing_support::install_stand_in(device, "\\Windows\\kivowake.exe");

    // No systemd user manager here: an XDG autostart entry, said so, naming the tool as called.
    const auto desktop = tool({"autostart", "on"});
    EXPECT_THAT(desktop.out, HasSubstr("no systemd user manager runs here"));
    EXPECT_THAT(tool({"autostart", "status"}).out, HasSubstr("XDG autostart entry " + (config / "autostart").string()));

    const auto on = tool({"autostart", "on", "--via", "systemd"});
    EXPECT_EQ(on.exit_code, 0) << on.err;
    EXPECT_THAT(on.out, HasSubstr("loginctl enable-linger"));
    const auto units = config / "systemd" / "user";
    std::string instance;
    for (const auto& link : std::filesystem::directory_iterator(units / "default.target.wants"))
        instance = link.path().filename().string();
    ASSERT_THAT(instance, ::testing::StartsWith("kivo@"));
    if (access("/usr/bin/systemd-escape", X_OK) == 0) {
        EXPECT_EQ(instance, "kivo@" + output_of("systemd-escape --path " + quoted(device)) + ".service");
    }
    EXPECT_EQ(std::filesystem::read_symlink(units / "default.target.wants" / instance), units / "kivo@.service");
    EXPECT_THAT(tool({"autostart", "status"}).out,
                HasSubstr("systemd user unit " + instance + " starts the handheld at " + device.string() + " (this one)"));
    std::stringstream text;
    text << std::ifstream(units / "kivo@.service").rdbuf();
    EXPECT_THAT(text.str(), HasSubstr("\nRestart=on-failure\n"));
    EXPECT_THAT(text.str(), HasSubstr("\nWantedBy=default.target\n"));
    if (access("/usr/bin/systemd-analyze", X_OK) == 0) {
        // The instance as the user manager loads it: the link's name, the template's text.
        const std::string verify = "systemd-analyze verify --man=no " + quoted(units / "default.target.wants" / instance) + " 2>&1";
        EXPECT_EQ(output_of(verify), "") << verify;
    }

    // The unit's command line, its %f the handheld's path as systemd gives it, is this
    // handheld's service.
    auto words = exec_start_words(text.str());
    ASSERT_EQ(words.size(), 2u) << text.str();
    ASSERT_EQ(words[1], "%f");
    words[1] = device.string();
    // Due a minute ago, while no service ran.
    host::Device::select(device);
    const auto due = host::device_local_time(host::device_utc_now() - std::chrono::minutes(1));
    ASSERT_TRUE(host::NotificationStore(host::Device::current().database()).set_time(u"\\Windows\\kivowake.exe", due));
    {
        testing_support::ChildProcess service(words[0], {words[1]});
        EXPECT_THAT(testing_support::wait_for_stand_in_lines(device, 1).front(),
                    ::testing::StartsWith("started program=\\Windows\\kivowake.exe command=AppRunAtTime "));
        EXPECT_EQ(tool({"stop"}).exit_code, 0);
        EXPECT_EQ(service.wait(), 0);
    }

    const auto off = tool({"autostart", "off"});
    EXPECT_THAT(off.out, HasSubstr("removed " + (units / "default.target.wants" / instance).string()));
    EXPECT_THAT(off.out, HasSubstr("removed " + (units / "kivo@.service").string())) << "the last instance's template";
    EXPECT_TRUE(std::filesystem::is_empty(config / "autostart"));
    EXPECT_THAT(tool({"autostart", "status"}).out, HasSubstr("off: nothing starts the service"));
}

// A desktop entry's Exec words as a desktop reads them: the file's string escapes first,
// then the quoting of the command line, and %% for a %.
std::vector<std::string> desktop_exec_words(const std::string& entry) {
    std::istringstream lines(entry);
    std::vector<std::string> words;
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("Exec=")) continue;
        std::string value;
        for (std::size_t i = 5; i < line.size(); ++i) {
            if (line[i] == '\\' && i + 1 < line.size()) {
                const char next = line[++i];
                value += next == 's' ? ' ' : next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next;
            } else {
                value += line[i];
            }
        }
        std::string word;
        bool quoted = false;
        bool in_word = false;
        for (std::size_t i = 0; i < value.size(); ++i) {
            const char c = value[i];
            if (c == '"') {
                quoted = !quoted;
                in_word = true;
            } else if (quoted && c == '\\' && i + 1 < value.size()) {
                word += value[++i];
            } else if (c == '%' && i + 1 < value.size() && value[i + 1] == '%') {
                word += value[++i];
            } else if (c == ' ' && !quoted) {
                if (in_word) words.push_back(std::exchange(word, {}));
                in_word = false;
            } else {
                word += c;
                in_word = true;
            }
        }
        if (in_word) words.push_back(word);
    }
    return words;
}

TEST_F(ComputerClockTool, InstallMenuPutsKivoInThePersonsMenuStartedOnThisHandheld) {
    const auto data = device_root() / "data";
    const Variable data_home("XDG_DATA_HOME", data.string());
    const auto entry_file = data / "applications" / "kivo.desktop";
    EXPECT_THAT(ok({"install", "--menu"}), HasSubstr("put KIVO in the desktop's menu: " + entry_file.string()));
    for (const char* icon : {"48x48/apps/kivo.png", "256x256/apps/kivo.png", "scalable/apps/kivo.svg"})
        EXPECT_GT(std::filesystem::file_size(data / "icons" / "hicolor" / icon), 0u) << icon;

    std::stringstream entry;
    entry << std::ifstream(entry_file).rdbuf();
    const std::vector<std::string> expected = {std::filesystem::canonical(HANDHELD_PROGRAM).string(), "--device",
                                               std::filesystem::absolute(device_root()).string(), "run",
                                               "\\Program Files\\KIVO\\KIVO.exe"};
    EXPECT_EQ(desktop_exec_words(entry.str()), expected) << entry.str();
    EXPECT_THAT(entry.str(), HasSubstr("\nIcon=kivo\n"));
    if (access("/usr/bin/desktop-file-validate", X_OK) == 0) {
        const std::string validate = "desktop-file-validate " + entry_file.string() + " 2>&1";
        EXPECT_EQ(std::system(validate.c_str()), 0) << validate;
    }
}

}  // namespace

// The `handheld` tool as a person or an end-to-end test uses it: a real process working
// on a temporary handheld, checked through its output and through the platform calls.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "HandheldDeviceTest.h"
#include "ce/Files.h"
#include "ce/Registry.h"
#include "ce/Text.h"
#include "ce/Time.h"
#include "host/Device.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;
using tool_tests::HandheldResult;

constexpr const char* kKivoKey = "HKLM\\Software\\TessaMedia\\KIVO";

class HandheldTool : public tool_tests::HandheldDeviceTest {};

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

// The number that `pattern` captures in status output ("registry    3 keys, 4 values").
long status_number(const std::string& status, const std::string& pattern) {
    std::smatch match;
    if (!std::regex_search(status, match, std::regex(pattern))) return -1;
    return std::strtol(match[1].str().c_str(), nullptr, 10);
}

// Whether "YYYY-MM-DD HH:MM:SS ..." shows `date` and a time of day from `hh:mm:ss` to
// five minutes after it, as a clock just set to that reads: never earlier, and generous
// later, since the steps may be far apart on a loaded machine.
::testing::AssertionResult shows_time_near(const std::string& shown, const std::string& date, int hh, int mm,
                                           int ss) {
    std::smatch match;
    if (!std::regex_search(shown, match, std::regex(R"((\d{4}-\d\d-\d\d) (\d\d):(\d\d):(\d\d))")) ||
        match[1] != date)
        return ::testing::AssertionFailure() << "'" << shown << "' is not on " << date;
    const int seconds = std::stoi(match[2]) * 3600 + std::stoi(match[3]) * 60 + std::stoi(match[4]);
    const int wanted = hh * 3600 + mm * 60 + ss;
    if (seconds < wanted || seconds > wanted + 300)
        return ::testing::AssertionFailure() << "'" << shown << "' is not just after the time set";
    return ::testing::AssertionSuccess();
}

TEST_F(HandheldTool, InitStoresTheProfileAndMakesTheStandardFolders) {
    const auto out = ok({"init", "--profile", "OMAP850"});
    EXPECT_THAT(out, HasSubstr("created \\Program Files\\KIVO"));
    for (const char16_t* folder : {u"\\Windows", u"\\My Documents", u"\\Program Files", u"\\Program Files\\KIVO"})
        EXPECT_NE(ce::GetFileAttributesW(folder) & ce::FILE_ATTRIBUTE_DIRECTORY, 0u) << ce::utf8_from_utf16(folder);
    EXPECT_EQ(host::Device::current().database().setting("device.profile"), "omap850");
}

TEST_F(HandheldTool, InitAgainKeepsTheRegistryAndTheProfile) {
    ok({"init", "--profile", "sa1110"});
    ok({"reg", "set", kKivoKey, "Volume", "--dword", "7"});
    const auto again = ok({"init"});
    EXPECT_THAT(again, HasSubstr("profile sa1110 (kept)"));
    EXPECT_THAT(again, HasSubstr("kept \\Windows"));
    EXPECT_THAT(ok({"reg", "query", kKivoKey, "Volume"}), HasSubstr("7 (0x00000007)"));
    EXPECT_EQ(host::Device::current().database().setting("device.profile"), "sa1110");
}

TEST_F(HandheldTool, RegistryValuesRoundTripIncludingTheDefaultValue) {
    ok({"reg", "set", kKivoKey, "", "--sz", "Grüße"});
    ok({"reg", "set", kKivoKey, "Volume", "--dword", "0x10"});
    ok({"reg", "set", std::string(kKivoKey) + "\\Alarms", "Count", "--dword", "4294967295"});

    EXPECT_EQ(ok({"reg", "query", kKivoKey, "(Default)"}), "(default)  REG_SZ  Grüße\n");
    EXPECT_EQ(ok({"reg", "query", "hkey_local_machine\\SOFTWARE\\tessamedia\\kivo", "volume"}),
              "volume  REG_DWORD  16 (0x00000010)\n");
    EXPECT_EQ(lines_of(ok({"reg", "query", kKivoKey})),
              (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\Software\\TessaMedia\\KIVO",
                                        "  (default)  REG_SZ  Grüße", "  Volume     REG_DWORD  16 (0x00000010)",
                                        "  Alarms\\"}));
    EXPECT_THAT(ok({"reg", "query", std::string(kKivoKey) + "\\Alarms", "Count"}),
                HasSubstr("4294967295 (0xffffffff)"));

    // What the tool stored is what the programs read.
    ce::HKEY key = nullptr;
    ASSERT_EQ(ce::RegOpenKeyExW(ce::HKEY_LOCAL_MACHINE, u"Software\\TessaMedia\\KIVO", &key), ce::ERROR_SUCCESS);
    ce::DWORD type = 0;
    ce::DWORD volume = 0;
    ce::DWORD bytes = sizeof volume;
    EXPECT_EQ(ce::RegQueryValueExW(key, u"Volume", &type, reinterpret_cast<ce::BYTE*>(&volume), &bytes),
              ce::ERROR_SUCCESS);
    EXPECT_EQ(type, ce::REG_DWORD);
    EXPECT_EQ(volume, 16u);
    char16_t text[16] = {};
    bytes = sizeof text;
    EXPECT_EQ(ce::RegQueryValueExW(key, nullptr, &type, reinterpret_cast<ce::BYTE*>(text), &bytes),
              ce::ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(text), u"Grüße");
    ce::RegCloseKey(key);
}

TEST_F(HandheldTool, RegistryDeleteRemovesValuesAndKeysWithoutSubkeys) {
    ok({"reg", "set", kKivoKey, "", "--sz", "x"});
    ok({"reg", "set", kKivoKey, "Volume", "--dword", "1"});
    ok({"reg", "set", std::string(kKivoKey) + "\\Alarms", "Count", "--dword", "2"});

    ok({"reg", "delete", kKivoKey, ""});
    ok({"reg", "delete", kKivoKey, "Volume"});
    const auto gone = handheld({"reg", "query", kKivoKey, "Volume"});
    EXPECT_EQ(gone.exit_code, 1);
    EXPECT_THAT(gone.err, HasSubstr("no value Volume"));

    const auto refused = handheld({"reg", "delete", kKivoKey});
    EXPECT_EQ(refused.exit_code, 1);
    EXPECT_THAT(refused.err, HasSubstr("has subkeys"));
    ok({"reg", "delete", std::string(kKivoKey) + "\\Alarms"});
    ok({"reg", "delete", kKivoKey});
    const auto missing = handheld({"reg", "query", kKivoKey});
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_THAT(missing.err, HasSubstr("no key HKEY_LOCAL_MACHINE\\Software\\TessaMedia\\KIVO"));
    EXPECT_EQ(lines_of(ok({"reg", "query", "HKLM\\Software\\TessaMedia"})).size(), 1u);
}

TEST_F(HandheldTool, TimeSetIsTheHandheldsLocalTimeInItsZone) {
    EXPECT_EQ(ok({"tz", "set", "Europe/Berlin"}), "Europe/Berlin (UTC+01:00)\n");
    EXPECT_TRUE(shows_time_near(ok({"time", "set", "2024-03-05 06:59:30"}), "2024-03-05", 6, 59, 30));

    const auto shown = ok({"time", "show"});
    EXPECT_TRUE(shows_time_near(shown, "2024-03-05", 6, 59, 30));
    EXPECT_THAT(shown, HasSubstr(" Tuesday Europe/Berlin (UTC+01:00)"));
    ce::SYSTEMTIME local;
    ce::GetLocalTime(&local);
    EXPECT_EQ(local.wDay, 5);

    // A time of day alone keeps the date; summer time shows in the offset.
    EXPECT_TRUE(shows_time_near(ok({"time", "set", "23:15"}), "2024-03-05", 23, 15, 0));
    EXPECT_THAT(ok({"time", "set", "2024-07-01 12:00"}), HasSubstr("Monday Europe/Berlin (UTC+02:00)"));
    EXPECT_EQ(ok({"tz", "show"}), "Europe/Berlin (UTC+02:00)\n");
}

TEST_F(HandheldTool, ZoneChangeKeepsUtcAndRefusesUnknownNames) {
    ok({"tz", "set", "UTC"});
    ok({"time", "set", "2024-01-10 12:00"});
    EXPECT_THAT(ok({"tz", "set", "America/New_York"}), HasSubstr("UTC-05:00"));
    EXPECT_TRUE(shows_time_near(ok({"time", "show"}), "2024-01-10", 7, 0, 0));

    const auto unknown = handheld({"tz", "set", "Mars/Olympus_Mons"});
    EXPECT_EQ(unknown.exit_code, 1);
    EXPECT_THAT(unknown.err, HasSubstr("unknown time zone 'Mars/Olympus_Mons'"));
    EXPECT_THAT(ok({"tz", "show"}), StartsWith("America/New_York"));
}

TEST_F(HandheldTool, TimeThatDaylightSavingSkipsIsRefused) {
    ok({"tz", "set", "Europe/Berlin"});
    const auto skipped = handheld({"time", "set", "2024-03-31 02:30"});
    EXPECT_EQ(skipped.exit_code, 1);
    EXPECT_THAT(skipped.err, HasSubstr("does not exist in time zone Europe/Berlin"));
}

TEST_F(HandheldTool, ListAndAttribShowFilesMadeByThePrograms) {
    ok({"init"});
    ASSERT_TRUE(ce::CreateDirectoryW(u"\\My Documents\\Sounds"));
    const ce::HANDLE file = ce::CreateFileW(u"\\My Documents\\alarm.wav", ce::GENERIC_WRITE, 0, ce::CREATE_NEW);
    ASSERT_NE(file, ce::INVALID_HANDLE_VALUE);
    ce::DWORD written = 0;
    ASSERT_TRUE(ce::WriteFile(file, "RIFF!", 5, &written));
    ce::CloseHandle(file);

    // The order the programs enumerate is the order the tool lists.
    std::vector<std::string> expected;
    ce::WIN32_FIND_DATAW entry;
    const ce::HANDLE search = ce::FindFirstFileW(u"\\My Documents\\*", &entry);
    ASSERT_NE(search, ce::INVALID_HANDLE_VALUE);
    do {
        const std::string name = ce::utf8_from_utf16(entry.cFileName);
        expected.push_back(name == "alarm.wav" ? "----a          5  alarm.wav" : "d----             " + name);
    } while (ce::FindNextFileW(search, &entry));
    ce::FindClose(search);
    EXPECT_EQ(lines_of(ok({"ls", "\\My Documents"})), expected);
    EXPECT_EQ(ok({"ls", "My Documents/alarm.wav"}), "----a          5  alarm.wav\n");

    EXPECT_EQ(ok({"attrib", "\\My Documents\\alarm.wav", "+r", "+h", "-a"}), "-rh--  \\My Documents\\alarm.wav\n");
    EXPECT_EQ(ce::GetFileAttributesW(u"\\My Documents\\alarm.wav"),
              ce::FILE_ATTRIBUTE_READONLY | ce::FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(ok({"attrib", "/my documents/ALARM.WAV", "-r", "-h"}), "-----  \\my documents\\ALARM.WAV\n");
    EXPECT_EQ(ok({"attrib", "\\My Documents\\Sounds"}), "d----  \\My Documents\\Sounds\n");
}

TEST_F(HandheldTool, ListTakesWildcardsAndTheRoot) {
    ok({"init"});
    for (const char16_t* name : {u"\\Windows\\a.wav", u"\\Windows\\b.txt", u"\\Windows\\c.wav"}) {
        const ce::HANDLE file = ce::CreateFileW(name, ce::GENERIC_WRITE, 0, ce::CREATE_NEW);
        ASSERT_NE(file, ce::INVALID_HANDLE_VALUE);
        ce::CloseHandle(file);
    }
    std::vector<std::string> wav;
    for (const auto& line : lines_of(ok({"ls", "\\Windows\\*.WAV"}))) wav.push_back(line.substr(line.rfind(' ') + 1));
    std::sort(wav.begin(), wav.end());
    EXPECT_EQ(wav, (std::vector<std::string>{"a.wav", "c.wav"}));
    EXPECT_EQ(ok({"ls", "\\Windows\\*.mid"}), "");
    EXPECT_THAT(ok({"ls"}), HasSubstr("d----             Program Files\n"));
}

TEST_F(HandheldTool, RootsAreSeparateAndSettingAgainReplacesTheType) {
    ok({"reg", "set", "HKCU\\Software\\Probe", "Mode", "--sz", "loud"});
    ok({"reg", "set", "HKLM\\Software\\Probe", "Mode", "--dword", "3"});
    EXPECT_EQ(ok({"reg", "query", "HKEY_CURRENT_USER\\Software\\Probe", "Mode"}), "Mode  REG_SZ  loud\n");
    ok({"reg", "set", "HKCU\\Software\\Probe", "mode", "--dword", "0"});
    EXPECT_EQ(ok({"reg", "query", "HKCU\\Software\\Probe", "MODE"}), "MODE  REG_DWORD  0 (0x00000000)\n");
    EXPECT_EQ(ok({"reg", "query", "HKLM\\Software\\Probe", "Mode"}), "Mode  REG_DWORD  3 (0x00000003)\n");
}

TEST_F(HandheldTool, DeviceOptionWinsOverTheEnvironment) {
    const auto other = device_root() / "other";
    const auto made = tool_tests::run_handheld({"--device=" + other.string(), "init", "--profile", "pxa255"});
    ASSERT_EQ(made.exit_code, 0) << made.err;
    // KIVO_DEVICE still names this test's handheld, which init did not touch.
    EXPECT_THAT(tool_tests::run_handheld({"status"}).out, HasSubstr("(not stored; run init)"));
    EXPECT_THAT(tool_tests::run_handheld({"--device", other.string(), "status"}).out, HasSubstr("pxa255"));
}

struct AttributeChange {
    const char* name;
    std::vector<std::string> changes;
    const char* shown;
};

class HandheldToolAttrib : public HandheldTool, public ::testing::WithParamInterface<AttributeChange> {};

void PrintTo(const AttributeChange& change, std::ostream* out) { *out << change.name; }

// A new file carries only the archive attribute.
TEST_P(HandheldToolAttrib, AppliesTheChangesInOrder) {
    const ce::HANDLE file = ce::CreateFileW(u"\\probe.txt", ce::GENERIC_WRITE, 0, ce::CREATE_NEW);
    ASSERT_NE(file, ce::INVALID_HANDLE_VALUE);
    ce::CloseHandle(file);
    std::vector<std::string> arguments{"attrib", "\\probe.txt"};
    arguments.insert(arguments.end(), GetParam().changes.begin(), GetParam().changes.end());
    EXPECT_EQ(ok(arguments), std::string(GetParam().shown) + "  \\probe.txt\n");
}

INSTANTIATE_TEST_SUITE_P(
    Changes, HandheldToolAttrib,
    ::testing::Values(AttributeChange{"None", {}, "----a"}, AttributeChange{"ClearArchive", {"-a"}, "-----"},
                      AttributeChange{"LaterWins", {"+r", "-r"}, "----a"},
                      AttributeChange{"ClearThenSet", {"-h", "+h"}, "--h-a"},
                      AttributeChange{"Upper", {"+R", "+S"}, "-r-sa"},
                      AttributeChange{"All", {"+r", "+h", "+s", "-a"}, "-rhs-"}),
    [](const ::testing::TestParamInfo<AttributeChange>& row) { return std::string(row.param.name); });

TEST_F(HandheldTool, StatusCountsWhatTheHandheldHolds) {
    ok({"init", "--profile", "s3c2440"});
    const auto before = ok({"status"});
    ok({"reg", "set", "HKCU\\Status\\Probe", "A", "--dword", "1"});
    ok({"reg", "set", "HKCU\\Status\\Probe", "B", "--sz", "b"});
    const ce::HANDLE file = ce::CreateFileW(u"\\Windows\\probe.txt", ce::GENERIC_WRITE, 0, ce::CREATE_NEW);
    ASSERT_NE(file, ce::INVALID_HANDLE_VALUE);
    ce::CloseHandle(file);

    // Without --device the tool takes the handheld from KIVO_DEVICE.
    const auto after = tool_tests::run_handheld({"status"});
    ASSERT_EQ(after.exit_code, 0) << after.err;
    EXPECT_THAT(after.out, HasSubstr("device      " + device_root().string() + "\n"));
    EXPECT_THAT(after.out, HasSubstr("profile     s3c2440\n"));
    EXPECT_THAT(after.out, HasSubstr("time zone   UTC (UTC+00:00)\n"));
    for (const auto& [pattern, added] : {std::pair{R"((\d+) keys?)", 2}, {R"((\d+) values?)", 2},
                                         {R"((\d+) files? under fs/)", 1}})
        EXPECT_EQ(status_number(after.out, pattern), status_number(before, pattern) + added) << pattern;
}

TEST_F(HandheldTool, VerbsOnAMissingHandheldFailWithoutCreatingIt) {
    const auto missing = device_root() / "not-there";
    const auto result = tool_tests::run_handheld({"--device", missing.string(), "status"});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_THAT(result.err, HasSubstr("no handheld at"));
    EXPECT_FALSE(std::filesystem::exists(missing));
}

// Installed, the tool is kivo-handheld: what it says and what it writes name it so, and the
// help written from it (the manual pages) holds no home of the computer it ran on.
TEST_F(HandheldTool, UnderThePackagesNameItsMessagesAndFilesUseThatName) {
    const auto renamed = device_root() / "kivo-handheld";
    std::filesystem::create_symlink(HANDHELD_PROGRAM, renamed);
    const auto tool = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--device", device_root().string()});
        return tool_tests::run_handheld(arguments, renamed.string());
    };
    const auto missing = tool_tests::run_handheld({"--device", (device_root() / "none").string(), "status"}, renamed);
    EXPECT_THAT(missing.err, StartsWith("kivo-handheld status: no handheld at "));
    EXPECT_THAT(missing.err, HasSubstr("(`kivo-handheld init` creates one)"));

    ASSERT_EQ(tool({"init"}).exit_code, 0);
    const auto silent = tool({"alarm", "add", "07:00"});
    EXPECT_EQ(silent.exit_code, 0) << silent.err;
    EXPECT_EQ(silent.err, "kivo-handheld alarm add: note: the alarm rings without a sound; --sound FILE gives it one\n");
    EXPECT_THAT(tool({"status"}).out, HasSubstr("no notification service running (`kivo-handheld start`)"));

    const auto config = device_root() / "config";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const auto on = tool({"autostart", "on", "--via", "xdg"});
    unsetenv("XDG_CONFIG_HOME");
    ASSERT_EQ(on.exit_code, 0) << on.err;
    std::stringstream entry;
    for (const auto& file : std::filesystem::directory_iterator(config / "autostart"))
        entry << std::ifstream(file.path()).rdbuf();
    EXPECT_THAT(entry.str(), StartsWith("# Written by `kivo-handheld autostart on`; `kivo-handheld autostart off` removes it."));
    EXPECT_THAT(entry.str(), HasSubstr("\nTryExec=")) << "a session skips the entry once the service is gone";

    const auto help = tool({"--help"}).out;
    EXPECT_THAT(help, HasSubstr("else ~/.local/share/kivo/device)"));
    EXPECT_THAT(help, HasSubstr("\nexample:\n  kivo-handheld --device /tmp/hh init && kivo-handheld --device"));
    if (const char* home = std::getenv("HOME")) {
        EXPECT_THAT(help, Not(HasSubstr(home + std::string("/.local"))));
    }
}

struct Misuse {
    const char* name;
    std::vector<std::string> arguments;
    int exit_code;
    const char* message;
};

void PrintTo(const Misuse& misuse, std::ostream* out) { *out << misuse.name; }

class HandheldToolMisuse : public HandheldTool, public ::testing::WithParamInterface<Misuse> {};

TEST_P(HandheldToolMisuse, ExplainsOnStandardError) {
    const auto result = handheld(GetParam().arguments);
    EXPECT_EQ(result.exit_code, GetParam().exit_code);
    EXPECT_THAT(result.err, HasSubstr(GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, HandheldToolMisuse,
    ::testing::Values(
        Misuse{"NoVerb", {}, 2, "needs a verb"},
        Misuse{"UnknownVerb", {"frobnicate"}, 2, "unknown verb 'frobnicate'"},
        Misuse{"UnknownGlobalOption", {"--bogus", "status"}, 2, "unknown option --bogus"},
        Misuse{"UnknownProfile", {"init", "--profile", "pxa999"}, 2, "pxa255, pxa26x, pxa270, s3c2410"},
        Misuse{"StatusArgument", {"status", "now"}, 2, "unexpected argument 'now'"},
        Misuse{"RegNoType", {"reg", "set", kKivoKey, "V"}, 2, "either --sz TEXT or --dword N"},
        Misuse{"RegBothTypes", {"reg", "set", kKivoKey, "V", "--sz", "a", "--dword", "1"}, 2, "either --sz"},
        Misuse{"RegDwordText", {"reg", "set", kKivoKey, "V", "--dword", "12x"}, 2, "'12x' is not a DWORD"},
        Misuse{"RegDwordTooBig", {"reg", "set", kKivoKey, "V", "--dword", "0x100000000"}, 2, "not a DWORD"},
        Misuse{"RegDwordNegative", {"reg", "set", kKivoKey, "V", "--dword", "-1"}, 2, "not a DWORD"},
        Misuse{"RegBackslashesEaten", {"reg", "query", "HKLMSoftware"}, 2, "quoted"},
        Misuse{"RegEmptyComponent", {"reg", "query", "HKLM\\\\Software"}, 2, "is not a registry key"},
        Misuse{"RegDeleteRoot", {"reg", "delete", "HKCU"}, 2, "cannot be deleted"},
        Misuse{"RegTypeOnQuery", {"reg", "query", kKivoKey, "--sz", "x"}, 2, "go with set only"},
        Misuse{"TimeNoDate", {"time", "set", "2023-02-29 10:00"}, 2, "not a valid local time"},
        Misuse{"TimeHour", {"time", "set", "24:00"}, 2, "not a valid local time"},
        Misuse{"TimeMinuteDigits", {"time", "set", "10:5"}, 2, "not a valid local time"},
        Misuse{"TimeUnquoted", {"time", "set", "2024-03-05", "10:00"}, 2, "quote a date and time"},
        Misuse{"TzNoZone", {"tz", "set"}, 2, "needs a ZONE"},
        Misuse{"AttribChange", {"attrib", "\\Windows", "+q"}, 2, "unknown change '+q'"},
        Misuse{"LsTwoPaths", {"ls", "a", "b"}, 2, "unexpected argument 'b'"},
        Misuse{"NotifyNoAction", {"notify"}, 2, "needs list"},
        Misuse{"NotifyUnknownAction", {"notify", "add"}, 2, "unknown action 'add'"},
        Misuse{"RegMissingKey", {"reg", "query", "HKLM\\Nothing\\Here"}, 1, "no key HKEY_LOCAL_MACHINE\\Nothing"},
        Misuse{"LsMissingFolder", {"ls", "\\Nowhere"}, 1, "\\Nowhere: "},
        Misuse{"AttribMissingFile", {"attrib", "\\nothing.txt", "+r"}, 1, "\\nothing.txt: "}),
    [](const ::testing::TestParamInfo<Misuse>& row) { return std::string(row.param.name); });

class HandheldToolHelp : public HandheldTool, public ::testing::WithParamInterface<const char*> {};

TEST_P(HandheldToolHelp, DescribesTheVerbWithAnExample) {
    const std::string verb = GetParam();
    const auto result = handheld({verb, "--help"});
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_THAT(result.out, StartsWith("usage: handheld " + verb));
    EXPECT_THAT(result.out, HasSubstr("example"));
    EXPECT_EQ(handheld({"help", verb}).out, result.out);
}

INSTANTIATE_TEST_SUITE_P(Verbs, HandheldToolHelp,
                         ::testing::Values("init", "status", "reg", "time", "tz", "ls", "attrib", "notify"));

}  // namespace

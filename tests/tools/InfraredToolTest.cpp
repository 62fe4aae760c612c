// `handheld init` listing the serial drivers, `handheld hold` and `handheld ir`, run as
// real processes next to this one, which plays the program using the hardware.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "HandheldDeviceTest.h"
#include "HungOpenFile.h"
#include "ce/Infrared.h"
#include "ce/Input.h"
#include "ce/Memory.h"
#include "host/Device.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class InfraredTool : public tool_tests::HandheldDeviceTest {
protected:

    // One burst of `cycles` carrier periods on the PXA270's STUART pin, framed as a send.
    static void send_burst(int cycles) {
        void* timer_page = ce::VirtualAlloc(nullptr, 4096, ce::MEM_RESERVE, ce::PAGE_NOACCESS);
        void* gpio_page = ce::VirtualAlloc(nullptr, 4096, ce::MEM_RESERVE, ce::PAGE_NOACCESS);
        ASSERT_TRUE(ce::VirtualCopy(timer_page, reinterpret_cast<void*>(0x40A00000 >> 8), 4096, 0x604));
        ASSERT_TRUE(ce::VirtualCopy(gpio_page, reinterpret_cast<void*>(0x40E00000 >> 8), 4096, 0x604));
        const ce::RegisterPage timer(timer_page), gpio(gpio_page);
        gpio.write32(0x5C, gpio.read32(0x5C) & 0x3FFFFFFF);
        ce::BeginInfraredTrace();
        std::uint32_t t = timer.read32(0x10);
        for (int i = 0; i < cycles; ++i) {
            gpio.write32(0x1C, 0x8000);
            while (static_cast<std::int32_t>(timer.read32(0x10) - (t + 43)) < 0) {
            }
            t += 43;
            gpio.write32(0x28, 0x8000);
            while (static_cast<std::int32_t>(timer.read32(0x10) - (t + 42)) < 0) {
            }
            t += 42;
        }
        ce::EndInfraredTrace();
        ce::VirtualFree(timer_page, 0, ce::MEM_RELEASE);
        ce::VirtualFree(gpio_page, 0, ce::MEM_RELEASE);
    }
};

TEST_F(InfraredTool, InitListsTheProfilesSerialDriversAndReplacesThemOnAChange) {
    ok({"init", "--profile", "pxa255"});
    EXPECT_THAT(ok({"reg", "query", "HKLM\\Drivers\\Active\\03", "Name"}), HasSubstr("COM3:"));
    EXPECT_THAT(ok({"reg", "query", "HKLM\\Drivers\\Active\\03", "Key"}), HasSubstr("Drivers\\BuiltIn\\IrDA"));
    EXPECT_THAT(ok({"reg", "query", "HKLM\\Drivers\\BuiltIn\\IrDA", "FriendlyName"}), HasSubstr("Infrared Port"));
    EXPECT_EQ(handheld({"reg", "query", "HKLM\\Drivers\\Active\\04", "Name"}).exit_code, 0);
    ok({"init", "--profile", "s3c2440"});
    EXPECT_THAT(ok({"reg", "query", "HKLM\\Drivers\\Active\\02", "Key"}), HasSubstr("IrDA"));
    EXPECT_NE(handheld({"reg", "query", "HKLM\\Drivers\\Active\\04", "Name"}).exit_code, 0);
    EXPECT_THAT(ok({"status"}), HasSubstr("processor   ARM920T S3C2440, 400 MHz"));
}

TEST_F(InfraredTool, HeldKeyIsSeenByOtherProcessesUntilReleased) {
    ok({"init"});
    EXPECT_THAT(ok({"hold", "lbutton", "60"}), HasSubstr("key 1 held"));
    EXPECT_NE(ce::GetAsyncKeyState(1) & 0x8000, 0);
    EXPECT_EQ(ce::GetAsyncKeyState(2), 0);
    ok({"hold", "0x01", "0"});
    EXPECT_EQ(ce::GetAsyncKeyState(1), 0);
    EXPECT_EQ(handheld({"hold", "NOSUCHKEY", "1"}).exit_code, 2);
    EXPECT_EQ(handheld({"hold", "A", "-1"}).exit_code, 2);
    EXPECT_EQ(handheld({"hold", "A", "soon"}).exit_code, 2);
    EXPECT_EQ(handheld({"hold", "256", "1"}).exit_code, 2);
}

TEST_F(InfraredTool, IrLogPrintsEverySendAsMode2AndTheLastOnItsOwn) {
    ok({"init", "--profile", "pxa270"});
    ok({"ir", "pacing", "off"});
    host::Device::select(device_root());
    EXPECT_THAT(ok({"ir", "log"}), HasSubstr("no infrared transmissions"));
    send_burst(30);
    send_burst(7);
    const auto all = ok({"ir", "log"});
    EXPECT_THAT(all, HasSubstr("# send 1 pxa270"));
    EXPECT_THAT(all, HasSubstr("# send 2 pxa270"));
    EXPECT_THAT(all, HasSubstr("carrier 38235\n"));  // 85 ticks of 3.25 MHz
    const auto last = ok({"ir", "log", "--last"});
    EXPECT_THAT(last, HasSubstr("# send 2"));
    EXPECT_THAT(last, Not(HasSubstr("# send 1")));
    EXPECT_THAT(last, HasSubstr("pulse 183\n"));  // 7 periods of 26.15 us
    EXPECT_THAT(ok({"ir", "pacing"}), HasSubstr("pacing off"));
    EXPECT_EQ(handheld({"ir", "pacing", "fast"}).exit_code, 2);
    EXPECT_EQ(handheld({"ir", "beam"}).exit_code, 2);
}

}  // namespace

namespace {

class InfraredSend : public InfraredTool {
protected:
    std::string write_signal(const std::string& text) {
        const auto path = device_root() / "signal.mode2";
        std::ofstream(path) << text;
        return path.string();
    }
};

TEST_F(InfraredSend, Mode2FileGoesThroughTheDriverIntoTheLog) {
    ok({"init", "--profile", "s3c2440"});
    ok({"ir", "pacing", "off"});
    const auto file = write_signal("# two bursts\ncarrier 38462\npulse 2600\nspace 1000\npulse 1300\nspace 5000\n");
    EXPECT_THAT(ok({"ir", "send", file, "--passes", "2"}), HasSubstr("ir log"));
    const auto log = ok({"ir", "log", "--last"});
    EXPECT_THAT(log, HasSubstr("carrier 3846"));  // 26 timer ticks of 1 µs
    EXPECT_THAT(log, HasSubstr("pulse 2600\nspace 1000\npulse 1300\nspace 5000\npulse 2600\n"));
}

TEST_F(InfraredSend, BadFilesAndRefusalsFailWithAReason) {
    ok({"init", "--profile", "pxa270"});
    const auto ten_megahertz = handheld({"ir", "send", write_signal("carrier 10000000\npulse 500\n")});
    EXPECT_NE(ten_megahertz.exit_code, 0);
    EXPECT_THAT(ten_megahertz.err, HasSubstr("carrier of 10000000 Hz"));
    const auto too_slow_for_the_driver = handheld({"ir", "send", write_signal("carrier 15000\npulse 500\n")});
    EXPECT_NE(too_slow_for_the_driver.exit_code, 0);
    EXPECT_THAT(too_slow_for_the_driver.err, HasSubstr("sends 10 to 50 us periods"));
    const auto garbage = handheld({"ir", "send", write_signal("carrier 38000\npulse -5\n")});
    EXPECT_NE(garbage.exit_code, 0);
    EXPECT_THAT(garbage.err, HasSubstr("line 2"));
    const auto no_port = handheld({"ir", "send", write_signal("carrier 38000\npulse 500\n"), "--port", "COM9:"});
    EXPECT_NE(no_port.exit_code, 0);
    EXPECT_THAT(no_port.err, HasSubstr("code 13"));
}

// `hold` and `ir send --hold` once read seconds differently (fractions against whole
// numbers); both now take and refuse the same words.
TEST_F(InfraredSend, HoldAndSendReadSecondsAlike) {
    ok({"init", "--profile", "pxa270"});
    const auto file = write_signal("carrier 38000\npulse 500\nspace 500\n");
    for (const auto& [seconds, accepted] : {std::pair{"1.5", true}, {"0.001", true}, {"3600", true},
                                            {"3600.5", false}, {"-1", false}, {"1,5", false}, {"nan", false}}) {
        EXPECT_EQ(handheld({"hold", "A", seconds}).exit_code, accepted ? 0 : 2) << seconds;
        // A port the profile lacks makes the driver refuse (1) once the command line is accepted.
        EXPECT_EQ(handheld({"ir", "send", file, std::string("--hold=") + seconds, "--port", "COM9:"}).exit_code,
                  accepted ? 1 : 2)
            << seconds;
    }
}

// A LIRC remote file's button, listed, stored and held: with the model running as fast as
// it can, a hold of one second still emits a second of the remote's repeats.
TEST_F(InfraredSend, LircRemoteButtonIsListedStoredAndHeldForItsSecond) {
    ok({"init", "--profile", "pxa270"});
    ok({"ir", "pacing", "off"});
    const auto file = write_signal(
        "begin remote\n  name TV\n  bits 32\n  flags SPACE_ENC|CONST_LENGTH\n  header 9000 4500\n  one 560 1690\n"
        "  zero 560 560\n  ptrail 560\n  repeat 9000 2250\n  gap 108000\n  begin codes\n    KEY_POWER 0x20DF10EF\n"
        "    KEY_MUTE 0x20DF906F\n  end codes\nend remote\n");
    EXPECT_EQ(ok({"ir", "list", file}), "remote TV: space encoded, 38000 Hz, 2 buttons\n  KEY_POWER\n  KEY_MUTE\n");
    ok({"ir", "put", "7", "TV", file, "--button", "KEY_POWER"});
    // The frame with its gap is the lead-in; the repeat code is what later passes send.
    EXPECT_THAT(ok({"ir", "show", "7"}), HasSubstr("TV: 72 durations, repeat from 68, carrier 26 us"));
    const auto no_button = handheld({"ir", "put", "7", "TV", file});
    EXPECT_EQ(no_button.exit_code, 1);
    EXPECT_THAT(no_button.err, HasSubstr("pick a button with --button"));

    ok({"ir", "send", file, "--button", "KEY_POWER", "--hold", "1"});
    std::istringstream log(ok({"ir", "log", "--last"}));
    double seconds = 0;
    int marks = 0;
    for (std::string line; std::getline(log, line);) {
        std::istringstream words(line);
        std::string word;
        double us = 0;
        if (!(words >> word >> us) || (word != "pulse" && word != "space")) continue;
        seconds += us / 1e6;
        marks += word == "pulse";
    }
    EXPECT_NEAR(seconds, 1.0, 0.1);
    // The frame's 34 marks, then a repeat code's two every 108 ms.
    EXPECT_EQ((marks - 34) % 2, 0);
    EXPECT_GE(marks, 34 + 2 * 7);
}

// An RC5 remote inverts its toggle bit from press to press, so a TV tells two presses
// from one held: a button sent twice in a macro is sent as two presses.
TEST_F(InfraredSend, ToggleBitRemoteSendsItsNextPressWhenAButtonFollowsItself) {
    ok({"init", "--profile", "pxa270"});
    ok({"ir", "pacing", "off"});
    const auto file = write_signal(
        "begin remote\n  name Amp\n  bits 6\n  flags RC5|CONST_LENGTH\n  one 889 889\n  zero 889 889\n  plead 889\n"
        "  pre_data_bits 8\n  pre_data 0xA3\n  gap 108344\n  toggle_bit 2\n  frequency 36000\n  begin codes\n"
        "    KEY_POWER 0x01\n  end codes\nend remote\n");
    EXPECT_THAT(ok({"ir", "put", "7", "Power", file, "--button", "KEY_POWER"}), HasSubstr("its next press, toggled, as part 1"));
    ok({"ir", "macro", "7", "Alarm", "signal:Power", "delay:200", "signal:Power"});
    ok({"ir", "run", "7", "Alarm"});
    const auto log = ok({"ir", "log"});
    const auto second = log.find("# send 2 ");
    ASSERT_NE(second, std::string::npos) << log;
    // 1 0 1 0 ... then, toggled, 1 1 1 0 ... (half bits of 889 us: 31 periods of 28 us).
    EXPECT_THAT(log.substr(0, second), HasSubstr("carrier 35714\npulse 868\nspace 889\npulse 1764\nspace 1778\npulse 1764\n"));
    EXPECT_THAT(log.substr(second), HasSubstr("carrier 35714\npulse 868\nspace 889\npulse 868\nspace 889\npulse 868\nspace 889\npulse 1764\n"));
}

// The alarm's commands as a person stores and runs them: a NEC-like signal (a frame,
// then a repeated frame from duration 6), a macro of signal, 1.5 s pause and the signal
// held for a second, read back from the transmitter's log.
TEST_F(InfraredSend, StoredMacroRunsWithItsPauseAndHeldRepeats) {
    ok({"init", "--profile", "pxa270"});
    ok({"ir", "pacing", "off"});
    const auto file = write_signal("carrier 38000\npulse 9000\nspace 4500\npulse 560\nspace 1690\npulse 560\n"
                                   "space 40000\npulse 9000\nspace 2250\npulse 560\nspace 96000\n");
    ok({"ir", "put", "7", "NEC", file, "--repeat-start", "6"});
    ok({"ir", "macro", "7", "Alarm", "signal:NEC", "comment:TV power", "delay:1500", "signal:NEC", "hold-ms:1000"});
    const auto shown = ok({"ir", "show", "7"});
    EXPECT_THAT(shown, HasSubstr("NEC: 10 durations, repeat from 6, carrier 26 us"));
    // The line's name is kept packed, as KIVO's list keeps it, and shown as typed.
    EXPECT_THAT(shown, HasSubstr("    signal:NEC comment:TV power\n    delay:1500\n    signal:NEC hold-ms:1000\n"));
    EXPECT_THAT(ok({"ir", "run", "7", "Alarm"}), HasSubstr("2 signals sent"));

    const auto log = ok({"ir", "log"});
    const auto first = log.find("# send 1 pxa270 at "), second = log.find("# send 2 pxa270 at ");
    ASSERT_NE(second, std::string::npos) << log;
    // The whole signal once (5 marks); then 1 s worth of passes: the frame and 8 repeats.
    EXPECT_THAT(log.substr(first, second - first), HasSubstr("5 marks"));
    EXPECT_THAT(log.substr(second), HasSubstr("21 marks"));
    // The second send starts after the first (164.12 ms), the pause and the 100 ms the
    // engine lets the port settle.
    const double gap = std::stod(log.substr(second + 19)) - std::stod(log.substr(first + 19));
    EXPECT_NEAR(gap, 1.764, 0.005);

    EXPECT_EQ(handheld({"ir", "macro", "7", "Bad", "delay:soon"}).exit_code, 2);
    EXPECT_EQ(handheld({"ir", "macro", "7", "Bad", "repeat:2"}).exit_code, 2);
    const auto missing = handheld({"ir", "run", "7", "Wake", "--stop-at-error"});
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_THAT(missing.err, HasSubstr("not in the codebase"));
}

}  // namespace

namespace {

TEST_F(InfraredSend, PressedButtonIsLearnedWrittenAndSentAgain) {
    ok({"init", "--profile", "omap850"});
    ok({"ir", "pacing", "off"});
    // A file without a carrier, ending on a pulse: both are mended, with a note each.
    const auto file = write_signal("pulse 2400\nspace 600\npulse 1200\nspace 600\npulse 600\n");
    const auto pressed = handheld({"ir", "press", file, "--hold", "0.3", "--after", "0.1"});
    EXPECT_EQ(pressed.exit_code, 0);
    EXPECT_THAT(pressed.err, HasSubstr("38000 Hz assumed"));
    EXPECT_THAT(pressed.err, HasSubstr("space of 125000 us was added"));
    const auto learned = ok({"ir", "learn", "--format", "ir", "--name", "Power"});
    EXPECT_THAT(learned, HasSubstr("name: Power\ntype: raw\nfrequency: 38462\n"));
    const auto path = device_root() / "learned.ir";
    std::ofstream(path) << learned;
    ok({"ir", "send", path.string(), "--button", "Power"});
    EXPECT_THAT(ok({"ir", "log", "--last"}), HasSubstr("pulse 2"));
}

}  // namespace

TEST_F(InfraredTool, PortRefusesWhatIsNoLircDeviceAndKeepsTheLogOnly) {
    ok({"init", "--profile", "pxa270"});
    EXPECT_THAT(ok({"ir", "port"}), HasSubstr("infrared port sim"));
    const auto missing = handheld({"ir", "port", "lirc", "/nonexistent/lirc9"});
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_THAT(missing.err, HasSubstr("/nonexistent/lirc9: no such device"));
    EXPECT_THAT(missing.err, HasSubstr("the infrared port stays sim"));
    // A character device that answers every LIRC request with ENOTTY.
    const auto not_lirc = handheld({"ir", "port", "lirc", "/dev/null"});
    EXPECT_EQ(not_lirc.exit_code, 1);
    EXPECT_THAT(not_lirc.err, HasSubstr("/dev/null: not a LIRC device"));
    EXPECT_NE(handheld({"ir", "port", "lirc"}).exit_code, 0);
    EXPECT_NE(handheld({"ir", "port", "usb", "/dev/lirc0"}).exit_code, 0);
    EXPECT_THAT(ok({"status"}), HasSubstr("infrared    sim"));
    EXPECT_THAT(ok({"ir", "port", "sim"}), HasSubstr("infrared port sim"));
    EXPECT_THAT(ok({"ir", "pacing"}), Not(HasSubstr("LIRC")));
}

TEST_F(InfraredTool, StoredLircPortWhoseDeviceIsGoneFailsTheSendWithTheDriversCodeAndSaysWhy) {
    ok({"init", "--profile", "pxa270"});
    ASSERT_TRUE(host::Device::current().database().set_setting("ir.port", "lirc /nonexistent/lirc9"));
    EXPECT_THAT(ok({"status"}), HasSubstr("not usable now: /nonexistent/lirc9: no such device"));
    EXPECT_THAT(ok({"ir", "pacing"}), HasSubstr("(on while the infrared port is a LIRC device)"));
    const auto path = device_root() / "signal.mode2";
    std::ofstream(path) << "carrier 38000\npulse 9000\nspace 4500\npulse 560\nspace 40000\n";
    const auto sent = handheld({"ir", "send", path.string()});
    EXPECT_EQ(sent.exit_code, 1);
    EXPECT_THAT(sent.err, HasSubstr("(code 13): cannot use the infrared port: /nonexistent/lirc9: no such device"));
    std::ifstream log(device_root() / "log" / "lirc.log");
    EXPECT_THAT(std::string(std::istreambuf_iterator<char>(log), {}), HasSubstr("/nonexistent/lirc9: no such device"));
}

// A beam through a LIRC device that takes the open and never answers fails within the
// deadline instead of holding up the alarm, and the log names the device.
TEST_F(InfraredTool, LircDeviceThatDoesNotAnswerFailsTheSendWithinItsDeadline) {
    ok({"init", "--profile", "pxa270"});
    const testing_support::HungOpenFile hung(device_root() / "lirc-hung");
    ASSERT_TRUE(hung.hangs()) << "the file system lends no lease";
    ASSERT_TRUE(host::Device::current().database().set_setting("ir.port", "lirc " + hung.path().string()));
    const auto path = device_root() / "signal.mode2";
    std::ofstream(path) << "carrier 38000\npulse 9000\nspace 4500\npulse 560\nspace 40000\n";
    const auto start = std::chrono::steady_clock::now();
    const auto sent = handheld({"ir", "send", path.string()});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << "the device is held for 45 s";
    EXPECT_EQ(sent.exit_code, 1);
    const std::string said = hung.path().string() + ": did not open within 1000 ms";
    EXPECT_THAT(sent.err, HasSubstr(said));
    std::ifstream log(device_root() / "log" / "lirc.log");
    EXPECT_THAT(std::string(std::istreambuf_iterator<char>(log), {}), HasSubstr(said));
}

// Macros run on a simulated PXA27x handheld (pacing off) through the real infrared
// driver, read back from the transmitter's log: what was sent, in which order, how many
// passes, and the pauses between sends in the processor's own time.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <stop_token>

#include "CodebaseTesting.h"
#include "irdriver/IrDriverInstance.h"
#include "host/Device.h"
#include "host/hw/Machine.h"
#include "host/hw/TraceLog.h"
#include "irlib/card/codebase_writer.h"
#include "irlib/card/result_codes.h"
#include "irlib/irvox/command_list.h"
#include "irlib/irvox/context.h"

namespace {

using codebase_testing::Bytes;
using irvox::command;
using irvox::command_list;
using irvox::context;

// One send from the log: when it began (s) and its marks (µs).
struct Sent {
    double at = 0;
    std::vector<long> marks;
};

// Signals told apart by their first mark; every pass of them is the whole signal.
constexpr long kTvMark = 9000, kVolMark = 2400, kPart0Mark = 1000, kPart1Mark = 3000;

class MacroRun : public codebase_testing::CodebaseFolder {
protected:
    void SetUp() override {
        CodebaseFolder::SetUp();
        auto& database = host::Device::current().database();
        ASSERT_TRUE(database.set_setting("device.profile", "pxa270"));
        ASSERT_TRUE(database.set_setting(host::hw::kPacingSetting, "off"));
        host::Device::select(device_root());
        ASSERT_EQ(registry().create_codebase("7", Bytes{0, 0, 0, 0}), platform::card::kOk);
        ASSERT_EQ(writer_.open("7"), platform::card::kOk);
        put_signal("TV", {kTvMark, -4500, 560, -20000});
        put_signal("VOL", {kVolMark, -600, 1200, -10000});
        put_signal("TWO", {kPart0Mark, -5000});
        put_signal("TWO", {kPart1Mark, -5000}, false);
        // 100 ms in all, of which the repeated frame (from index 2) is 50 ms.
        ASSERT_EQ(writer_.put_signal("LONG", {{30000, -20000, 45000, -5000}, 2, 26}, true), 0);
        ASSERT_GT(writer_.append_record(Bytes{0x00, 0x02, 'B', 'A', 'D', 0x00}), 0);  // no parts
        context::forget_last_signal();
    }
    void TearDown() override {
        writer_.close();
        ReleaseIrDriver();
        CodebaseFolder::TearDown();
    }

    void put_signal(const char* name, std::vector<std::int32_t> durations, bool replace = true) {
        ASSERT_EQ(writer_.put_signal(name, {std::move(durations), 0, 26}, replace), 0);
    }
    void store(const char* name, command_list& list) {
        if (!writer_.is_open()) {
            ASSERT_EQ(writer_.open("7"), platform::card::kOk);
        }
        ASSERT_EQ(list.serialise_macro(name), 0);
        ASSERT_EQ(writer_.put_macro(name, list.record()), platform::card::kOk);
    }
    // Runs macro `name` of codebase "7" as the alert program does.
    void run(const char* name, bool continue_after_errors, int budget = 1) {
        if (writer_.is_open()) {
            ASSERT_EQ(writer_.commit(), platform::card::kOk);
            writer_.close();
        }
        GetIrDriver()->SetPortName(u"COM3:");
        context macro;
        macro.set_on_progress(context::progress_callback(this, &MacroRun::on_progress));
        macro.set_stop_token(stop_.get_token());
        macro.select_codebase("7");
        macro.load_macro_record(name);
        macro.run_macro(budget, continue_after_errors);
        state_ = macro.state();
        code_ = macro.code();
        ReleaseIrDriver();
    }
    void on_progress(int sending) {
        progress_.push_back(sending);
        if (sending == 0 && stop_after_a_send_) stop_.request_stop();
    }

    static std::vector<Sent> sent() {
        std::vector<Sent> all;
        for (const auto& block : host::hw::TraceLog(host::hw::Machine::current().trace_log()).blocks()) {
            Sent s;
            const auto at = block.find(" at ");
            s.at = std::stod(block.substr(at + 4));
            std::istringstream lines(block);
            std::string word;
            long us = 0;
            while (lines >> word)
                if (word == "pulse" && lines >> us) s.marks.push_back(us);
            all.push_back(s);
        }
        return all;
    }
    // The signal a send began with, by its first mark (marks are whole carrier cycles).
    static long first_mark(const Sent& s) {
        for (long mark : {kTvMark, kVolMark, kPart0Mark, kPart1Mark, 30000L})
            if (!s.marks.empty() && std::abs(s.marks[0] - mark) < mark * 3 / 100) return mark;
        return 0;
    }

    platform::card::codebase_writer writer_;
    int state_ = -1;
    int code_ = -1;
    std::vector<int> progress_;
    std::stop_source stop_;
    bool stop_after_a_send_ = false;
};

TEST_F(MacroRun, SignalPauseSignalAreSentInOrderWithThePauseBetween) {
    command_list list;
    list.add_reference("TV", 1, -1, nullptr, nullptr);
    list.add_delay(500);
    list.add_reference("VOL", 1, -1, nullptr, nullptr);
    store("Alarm", list);
    run("Alarm", false);

    EXPECT_EQ(state_, context::kOk);
    const auto log = sent();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(first_mark(log[0]), kTvMark);
    EXPECT_EQ(first_mark(log[1]), kVolMark);
    // The second send starts after the first (34.06 ms), the 500 ms pause and the 100 ms
    // the PXA engine lets the port settle before it sends.
    EXPECT_NEAR(log[1].at - log[0].at, 0.634, 0.005);
    EXPECT_EQ(progress_, (std::vector<int>{1, 0, 1, 0}));
}

TEST_F(MacroRun, MissingSignalStopsTheRunUnlessErrorsArePassedOver) {
    command_list list;
    list.add_reference("NOPE", 1, -1, nullptr, nullptr);
    list.add_delay(500);
    list.add_reference("TV", 1, -1, nullptr, nullptr);
    list.add_reference("BAD", 1, -1, nullptr, nullptr);
    store("Alarm", list);

    run("Alarm", false);
    EXPECT_EQ(state_, context::kNotInCodebase);
    EXPECT_TRUE(sent().empty());

    run("Alarm", true);
    EXPECT_EQ(state_, context::kOk);
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_EQ(first_mark(sent()[0]), kTvMark);

    command_list bad;
    bad.add_reference("BAD", 1, -1, nullptr, nullptr);
    store("Bad", bad);
    run("Bad", false);
    EXPECT_EQ(state_, context::kNothingToSend);  // a record without parts
}

TEST_F(MacroRun, RepeatAndDurationGiveTheirPasses) {
    struct Row {
        std::int32_t repeat, duration;
        std::size_t marks;
    };
    // TV has 2 marks a pass; LONG 2 in its first pass and 1 in each repeated frame.
    const Row rows[] = {{command::kNotGiven, -1, 2}, {65535, -1, 2}, {2, -1, 4}, {command::kByDuration, 1000, 20}};
    for (const Row& row : rows) {
        command_list list;
        list.add_reference(row.duration > 0 ? "LONG" : "TV", row.repeat, row.duration, nullptr, nullptr);
        store("Alarm", list);
        run("Alarm", false);
        EXPECT_EQ(state_, context::kOk);
        ASSERT_FALSE(sent().empty());
        EXPECT_EQ(sent().back().marks.size(), row.marks) << row.repeat << " " << row.duration;
    }
}

TEST(SendFor, PassesAddUpToTheSendingTime) {
    // 100 ms in all; the repeated frame from index 2 is 50 ms.
    const std::vector<std::int32_t> signal{30000, -20000, 45000, -5000};
    struct Row {
        std::vector<std::int32_t> durations;
        std::uint16_t repeat_start;
        std::int64_t ms;
        std::int32_t passes;
    };
    const Row rows[] = {
        {signal, 2, 1000, 19},  // reached exactly at the end of the 19th pass
        {signal, 2, 990, 18},   // reached inside the 19th pass (at its 45 ms mark)
        {signal, 2, 10, 1},
        {signal, 2, 0, 1},
        {signal, 2, 40000, 799},
        {signal, 2, 65535, 1309},
        {signal, 4, 1000, 1},  // no repeated frame
        {{0, 0}, 0, 1000, 5001},
        {{INT32_MAX, INT32_MIN + 1}, 0, 65535, 1},
        {{1, -1}, 0, 65535, 5001},
    };
    for (const Row& row : rows)
        EXPECT_EQ(context::passes_for(row.durations, row.repeat_start, row.ms), row.passes) << row.ms;
}

TEST_F(MacroRun, CodebaseAndMacroFailuresAreStatesBeforeTheRun) {
    writer_.close();
    install("new.pdb", codebase_testing::codebase_image({"New", 101}, {}));
    context unregistered;
    unregistered.select_codebase("Nowhere");
    EXPECT_EQ(unregistered.state(), context::kNotRegistered);
    EXPECT_EQ(unregistered.code(), 0);

    context newer;
    newer.select_codebase("New");
    EXPECT_EQ(newer.state(), context::kCodebaseUnopened);
    EXPECT_EQ(newer.code(), platform::card::kNewerVersion);

    context missing;
    missing.select_codebase("7");
    missing.load_macro_record("$Alarm");
    EXPECT_EQ(missing.state(), context::kNotInCodebase);

    context no_record;
    no_record.run_macro(1, true);
    EXPECT_EQ(no_record.state(), context::kNothingToSend);
}

TEST_F(MacroRun, MalformedMacroStopsAtTheFaultAfterWhatCameBefore) {
    command_list list;
    list.add_reference("TV", 1, -1, nullptr, nullptr);
    list.add_reference("VOL", 1, -1, nullptr, nullptr);
    ASSERT_EQ(list.serialise_macro("Alarm"), 0);
    Bytes record(list.record().begin(), list.record().end());
    record.resize(record.size() - 8);  // inside the second reference
    ASSERT_EQ(writer_.put_macro("Alarm", record), platform::card::kOk);
    run("Alarm", true);
    EXPECT_EQ(state_, context::kMalformedMacro);
    EXPECT_EQ(code_, context::kMalformedMacroCode);
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_EQ(first_mark(sent()[0]), kTvMark);
}

TEST_F(MacroRun, TwoPartSignalAlternatesAcrossRuns) {
    command_list list;
    list.add_reference("TWO", 1, -1, nullptr, nullptr);
    store("Alarm", list);
    for (int i = 0; i < 3; ++i) {
        run("Alarm", false);
    }
    const auto log = sent();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(first_mark(log[0]), kPart0Mark);
    EXPECT_EQ(first_mark(log[1]), kPart1Mark);
    EXPECT_EQ(first_mark(log[2]), kPart0Mark);
}

TEST_F(MacroRun, NestedMacrosRunWithinTheBudget) {
    command_list inner;
    inner.add_reference("VOL", 1, -1, nullptr, nullptr);
    store("Inner", inner);
    command_list outer;
    outer.add_reference("$Inner", 1, -1, nullptr, nullptr);
    outer.add_reference("TV", 1, -1, nullptr, "7");  // through a codebase named by the reference
    store("Alarm", outer);
    command_list broken;
    broken.add_reference("$Missing", 1, -1, nullptr, nullptr);
    store("Broken", broken);

    run("Alarm", false, 1);  // the inner macro is looked up but not run
    EXPECT_EQ(state_, context::kOk);
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_EQ(first_mark(sent()[0]), kTvMark);

    run("Alarm", false, 2);
    const auto log = sent();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(first_mark(log[1]), kVolMark);
    EXPECT_EQ(first_mark(log[2]), kTvMark);
    EXPECT_EQ(progress_, (std::vector<int>{1, 0, 1, 0, 1, 0}));  // children report too

    run("Broken", false, 1);
    EXPECT_EQ(state_, context::kNotInCodebase);
}

// The reminder answered while it beams: the stop reaches a nested macro, cuts its pause
// short and sends nothing more, there or in the macro that called it.
TEST_F(MacroRun, AStopEndsTheRunAtItsNextStepAndCutsItsPauseShort) {
    command_list inner;
    inner.add_reference("VOL", 1, -1, nullptr, nullptr);
    inner.add_delay(60000);
    inner.add_reference("TV", 1, -1, nullptr, nullptr);
    store("Inner", inner);
    command_list outer;
    outer.add_reference("$Inner", 1, -1, nullptr, nullptr);
    outer.add_reference("TV", 1, -1, nullptr, nullptr);
    store("Alarm", outer);

    stop_after_a_send_ = true;
    run("Alarm", true, 2);
    ASSERT_EQ(sent().size(), 1u) << "nothing after the stop";
    EXPECT_EQ(first_mark(sent()[0]), kVolMark);

    stop_after_a_send_ = false;
    stop_ = std::stop_source();
    run("Alarm", true, 2);
    const auto log = sent();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_LT(log[1].at - log[0].at, 1.0) << "the stopped run did not wait out its 60 s pause";
    EXPECT_GT(log[2].at - log[1].at, 60.0) << "a run not stopped does";
}

}  // namespace

// Two processes of the handheld playing at once: the capture device is held by one
// player at a time (the other retries, then gets 1005, and plays once it is free), the
// null device lets both play.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "ChildProcess.h"
#include "SoundTesting.h"

namespace {

using namespace sound_tests;
using testing_support::ChildProcess;

class TwoPlayers : public Player {
protected:
    static std::unique_ptr<ChildProcess> agent() {
        auto child =
            std::make_unique<ChildProcess>(testing_support::executable_dir() + "/kivo_sound_agent", std::vector<std::string>{});
        EXPECT_TRUE(child->started());
        return child;
    }
    static std::string ask(ChildProcess& child, const std::string& line) {
        if (!child.send_line(line)) return "<not sent>";
        return child.read_line(20000).value_or("<no answer>");
    }
};

TEST_F(TwoPlayers, CaptureDeviceRefusesTheSecondProcessUntilTheFirstLetsGo) {
    put("long.wav", mono8k(5.0));
    const auto mine = put("mine.wav", mono8k(0.2, 2));
    auto other = agent();
    ASSERT_EQ(ask(*other, "play \\long.wav"), "0");

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(play(mine), CSoundWave::kNoDevice);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));

    ASSERT_EQ(ask(*other, "stop"), "stopped");
    EXPECT_EQ(play(mine), CSoundWave::kPlaying);
    EXPECT_TRUE(ended());
}

TEST_F(TwoPlayers, CaptureDeviceOfACrashedProcessIsFreeAgain) {
    put("long.wav", mono8k(5.0));
    auto other = agent();
    ASSERT_EQ(ask(*other, "play \\long.wav"), "0");
    other->kill();
    other->wait();
    EXPECT_EQ(play(put("mine.wav", mono8k(0.2, 2))), CSoundWave::kPlaying);
    EXPECT_TRUE(ended());
}

TEST_F(TwoPlayers, NullDeviceLetsBothProcessesPlay) {
    use(host::AudioBackend::null);
    put("theirs.wav", mono8k(1.0));
    auto other = agent();
    ASSERT_EQ(ask(*other, "play \\theirs.wav"), "0");
    EXPECT_EQ(play(put("mine.wav", mono8k(0.5, 2))), CSoundWave::kPlaying);
    EXPECT_TRUE(ended());
    EXPECT_EQ(ask(*other, "wait 15000"), "ended");
}

}  // namespace

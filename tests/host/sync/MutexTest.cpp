#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "TempDevice.h"
#include "ce/Sync.h"

using namespace ce;
using testing_support::ChildProcess;

namespace {

class Mutex : public testing_support::TempDevice {
protected:
    void TearDown() override {
        for (HANDLE handle : handles_) CloseHandle(handle);
        TempDevice::TearDown();
    }

    // Creates a handle kept until the end of the test; `existed` gets the ERROR_ALREADY_EXISTS answer.
    HANDLE create(const char16_t* name, bool owned = false, bool* existed = nullptr) {
        HANDLE handle = CreateMutexW(nullptr, owned ? TRUE : FALSE, name);
        const bool already = GetLastError() == ERROR_ALREADY_EXISTS;
        EXPECT_NE(handle, nullptr);
        if (existed != nullptr) *existed = already;
        handles_.push_back(handle);
        return handle;
    }

    bool exists_now(const char16_t* name) {
        HANDLE handle = CreateMutexW(nullptr, FALSE, name);
        const bool already = GetLastError() == ERROR_ALREADY_EXISTS;
        CloseHandle(handle);
        return already;
    }

    static std::unique_ptr<ChildProcess> agent() {
        auto child = std::make_unique<ChildProcess>(testing_support::executable_dir() + "/kivo_mutex_agent",
                                                    std::vector<std::string>{});
        EXPECT_TRUE(child->started());
        return child;
    }

    static std::string ask(ChildProcess& child, const std::string& line, int timeout_ms = 20000) {
        if (!child.send_line(line)) return "<not sent>";
        return child.read_line(timeout_ms).value_or("<no answer>");
    }

    // The result of a wait the agent reports, without its elapsed time.
    static std::string result_of(const std::string& answer) { return answer.substr(0, answer.find(' ')); }

    // Runs `wait` on another thread of this process.
    static DWORD wait_elsewhere(HANDLE handle, DWORD milliseconds, bool release = false) {
        return std::async(std::launch::async, [=] {
                   const DWORD result = WaitForSingleObject(handle, milliseconds);
                   if (release && result == WAIT_OBJECT_0) ReleaseMutex(handle);
                   return result;
               }).get();
    }

    std::vector<HANDLE> handles_;
};

TEST_F(Mutex, AnotherProcessWaitsUntilTheTimeOutOrTheRelease) {
    HANDLE mutex = create(u"KIVO\\AlarmFile", true);
    auto other = agent();
    EXPECT_EQ(ask(*other, "open KIVO\\AlarmFile"), "exists");

    const std::string timed_out = ask(*other, "wait 300");
    EXPECT_EQ(result_of(timed_out), std::to_string(WAIT_TIMEOUT));
    const int elapsed = std::stoi(timed_out.substr(timed_out.find(' ') + 1));
    EXPECT_GE(elapsed, 250);
    EXPECT_LT(elapsed, 10000);

    ASSERT_TRUE(other->send_line("wait 20000"));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(ReleaseMutex(mutex));
    EXPECT_EQ(result_of(other->read_line(20000).value_or("")), std::to_string(WAIT_OBJECT_0));
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_TIMEOUT) << "the other process holds it now";
    EXPECT_EQ(ask(*other, "release"), "ok");
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
}

TEST_F(Mutex, AKilledHolderAbandonsItToTheWaiter) {
    auto holder = agent();
    ASSERT_EQ(ask(*holder, "own KIVO\\AlarmFile"), "created");
    HANDLE mutex = create(u"KIVO\\AlarmFile");
    auto waiting = std::async(std::launch::async, [mutex] { return WaitForSingleObject(mutex, 20000); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    holder->kill();
    holder->wait();
    EXPECT_EQ(waiting.get(), WAIT_ABANDONED);
    // The waiting thread owns it now; it was not released by the thread's end (which abandons it again).
    EXPECT_EQ(WaitForSingleObject(mutex, 5000), WAIT_ABANDONED);
    ASSERT_TRUE(ReleaseMutex(mutex));
    EXPECT_EQ(wait_elsewhere(mutex, 0, true), WAIT_OBJECT_0);
}

TEST_F(Mutex, ExistsOnlyWhileSomeHandleIsOpen) {
    const char16_t* name = u"Probe";
    EXPECT_FALSE(exists_now(name));
    EXPECT_FALSE(exists_now(name)) << "a file left by an earlier handle does not count";

    auto other = agent();
    ASSERT_EQ(ask(*other, "open Probe"), "created");
    EXPECT_TRUE(exists_now(name));
    ASSERT_EQ(ask(*other, "close"), "ok");
    EXPECT_FALSE(exists_now(name));

    ASSERT_EQ(ask(*other, "open Probe"), "created");
    other->kill();
    other->wait();
    EXPECT_FALSE(exists_now(name)) << "a handle ends with its process";
}

TEST_F(Mutex, ClosingTheLastHandleWhileOwningReleasesIt) {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, u"Handover");
    ASSERT_NE(mutex, nullptr);
    auto other = agent();
    ASSERT_EQ(ask(*other, "open Handover"), "exists");
    EXPECT_EQ(result_of(ask(*other, "wait 0")), std::to_string(WAIT_TIMEOUT));
    ASSERT_TRUE(CloseHandle(mutex));
    EXPECT_EQ(result_of(ask(*other, "wait 0")), std::to_string(WAIT_OBJECT_0));
}

TEST_F(Mutex, OwnershipBelongsToAThreadAndIsCounted) {
    HANDLE first = create(u"Counted");
    bool existed = false;
    HANDLE second = create(u"Counted", false, &existed);
    EXPECT_TRUE(existed);
    ASSERT_EQ(WaitForSingleObject(first, 0), WAIT_OBJECT_0);
    ASSERT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);

    const bool foreign_release = std::async(std::launch::async, [second] {
                                     return ReleaseMutex(second) == FALSE && GetLastError() == ERROR_NOT_OWNER;
                                 }).get();
    EXPECT_TRUE(foreign_release);
    EXPECT_TRUE(ReleaseMutex(second)) << "either handle releases the one mutex";
    EXPECT_EQ(wait_elsewhere(first, 0), WAIT_TIMEOUT) << "still held once";
    EXPECT_TRUE(ReleaseMutex(first));
    EXPECT_EQ(wait_elsewhere(first, 0, true), WAIT_OBJECT_0);
    EXPECT_FALSE(ReleaseMutex(first));
    EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);
}

TEST_F(Mutex, AThreadEndingWhileOwningAbandonsAPrivateMutex) {
    HANDLE mutex = create(nullptr);
    EXPECT_EQ(wait_elsewhere(mutex, 0), WAIT_OBJECT_0);  // that thread ends holding it
    EXPECT_EQ(WaitForSingleObject(mutex, 5000), WAIT_ABANDONED);

    bool existed = true;
    HANDLE other = create(nullptr, true, &existed);
    EXPECT_FALSE(existed);
    EXPECT_EQ(wait_elsewhere(other, 0), WAIT_TIMEOUT) << "the second private mutex is not the first";
}

TEST_F(Mutex, NamesAreCaseSensitiveAndMayHoldAnyCharacter) {
    const std::u16string long_name(MAX_PATH, u'x');
    const std::u16string backslashes(MAX_PATH, u'\\');
    const std::vector<std::u16string> names = {u"Global\\KIVO", u"global\\kivo", u"a/b", u"..", u"A", u"%0041",
                                               u"\u00FCn\u00EF\u20AC", long_name, backslashes};
    for (std::size_t index = 0; index < names.size(); ++index) {
        bool existed = true;
        create(names[index].c_str(), false, &existed);
        EXPECT_FALSE(existed) << "name " << index << " is taken for an earlier one";
    }
    for (const auto& name : names) EXPECT_TRUE(exists_now(name.c_str()));

    const std::u16string too_long(MAX_PATH + 1, u'x');
    EXPECT_EQ(CreateMutexW(nullptr, FALSE, too_long.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
}

TEST_F(Mutex, BadHandlesFailCleanly) {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, u"Closed");
    ASSERT_TRUE(CloseHandle(mutex));
    for (HANDLE bad : {static_cast<HANDLE>(nullptr), mutex, INVALID_HANDLE_VALUE}) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(WaitForSingleObject(bad, 0), WAIT_FAILED);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
        EXPECT_FALSE(ReleaseMutex(bad));
    }
}

}  // namespace

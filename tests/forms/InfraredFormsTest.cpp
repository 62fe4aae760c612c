// Infrared Setup, the learning form and the command list editor as a user meets them:
// forms opened one from another and operated by their controls, a remote's button
// pressed into the handheld's receiver, what the transmitter sent read back from the
// handheld's infrared log and the beep from its audio log.

#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <functional>

#include "NecRemote.h"
#include "ScreenDevice.h"
#include "WholeText.h"
#include "alarms/AlarmFolder.h"
#include "alarms/ComPortSetting.h"
#include "ce/Files.h"
#include "ce/Registry.h"
#include "forms/CCommandDlg.h"
#include "forms/CCommandOptionsDlg.h"
#include "forms/CComPortDlg.h"
#include "forms/CHelpDlg.h"
#include "forms/CLearnCommandDlg.h"
#include "forms/CMacroEditorDlg.h"
#include "forms/CPauseDlg.h"
#include "forms/FormIds.h"
#include "forms/ItemData.h"
#include "forms/LearnOutcome.h"
#include "framework/Automation.h"
#include "framework/CButton.h"
#include "framework/CListBox.h"
#include "framework/CWinApp.h"
#include "framework/MessageBox.h"
#include "host/Device.h"
#include "host/hw/Machine.h"
#include "host/hw/ReceiverQueue.h"
#include "host/hw/TraceLog.h"
#include "host/wave/AudioSettings.h"
#include "host/wave/CaptureLog.h"
#include "irdriver/IrDriverInstance.h"

namespace {

using framework::Automation;

using testing_support::kNecRepeat;
using testing_support::nec_intro;
// The learning bound: two carrier periods and a little.
constexpr int kBoundUs = 60;

sim::InfraredPress press(std::uint32_t carrier_hz = 38'000) {
    sim::InfraredPress p;
    p.intro = nec_intro();
    p.repeat = kNecRepeat;
    p.carrier_hz = carrier_hz;
    p.after_ns = 300'000'000;
    p.hold_ns = 600'000'000;
    return p;
}

// Steps a user takes, each on the form it expects in front; a step waits until that
// form is up. Forms open and close inside the steps (modal forms run nested), so a step
// runs from an event of its own, leaving the timer free to take the next steps from
// inside the form it opens (a timer does not fire again while its own slot runs).
class UserSteps {
public:
    template <typename Form>
    UserSteps& On(std::function<void(Form&)> act) {
        steps_.push_back({[](CWnd* shown) { return dynamic_cast<Form*>(shown) != nullptr; },
                          [act](CWnd* shown) { act(*dynamic_cast<Form*>(shown)); }});
        return *this;
    }
    template <typename Form>
    UserSteps& Click(int id) {
        return On<Form>([id](Form& form) { EXPECT_TRUE(Automation::Click(&form, id)) << "control " << id; });
    }
    // Runs `open` (which shows the first form modally) while the steps are taken.
    int Run(const std::function<int()>& open) {
        QTimer timer;
        timer.setInterval(2);
        QObject::connect(&timer, &QTimer::timeout, [this] { Next(); });
        timer.start();
        const int result = open();
        EXPECT_TRUE(steps_.empty()) << steps_.size() << " steps not taken";
        return result;
    }

private:
    struct Step {
        std::function<bool(CWnd*)> ready;
        std::function<void(CWnd*)> act;
    };

    static CWnd* Shown() {
        CWnd* shown = CWinApp::Foreground();
        return shown != nullptr && shown->widget() != nullptr && shown->widget()->isVisible() ? shown : nullptr;
    }

    void Next() {
        if (steps_.empty() || pending_) return;
        CWnd* shown = Shown();
        if (shown == nullptr || !steps_.front().ready(shown)) return;
        Step step = steps_.front();
        steps_.pop_front();
        pending_ = true;
        QTimer::singleShot(0, [this, step] {
            pending_ = false;
            if (CWnd* now = Shown(); now != nullptr && step.ready(now)) step.act(now);
            else ADD_FAILURE() << "the form went before its step";
        });
    }

    std::deque<Step> steps_;
    bool pending_ = false;
};

class InfraredForms : public testing_support::ScreenDevice {
protected:
    void SetUp() override {
        ScreenDevice::SetUp();
        auto& database = host::Device::current().database();
        ASSERT_TRUE(database.set_setting("device.profile", "pxa270"));
        ASSERT_TRUE(database.set_setting(host::hw::kPacingSetting, "off"));
        host::Device::select(device_root());
        ASSERT_TRUE(host::AudioSettings::set_backend(host::AudioBackend::capture));
        std::u16string folder = AlarmFolder::Path();
        folder.pop_back();
        ce::CreateDirectoryW(u"\\Program Files");
        ce::CreateDirectoryW(u"\\Program Files\\KIVO");
        ce::CreateDirectoryW(folder.c_str());
        AddDriver(u"1", u"COM1:", u"Drivers\\BuiltIn\\Serial", u"Serial Cable on COM1:");
        AddDriver(u"2", u"COM3:", u"Drivers\\BuiltIn\\IrDA", u"Infrared Port");
    }
    void TearDown() override {
        ReleaseIrDriver();
        ScreenDevice::TearDown();
    }
    static void AddDriver(const char16_t* index, const char16_t* name, const char16_t* key, const char16_t* friendly) {
        Text(std::u16string(u"Drivers\\Active\\") + index, u"Name", name);
        Text(std::u16string(u"Drivers\\Active\\") + index, u"Key", key);
        Text(key, u"FriendlyName", friendly);
    }
    static void Text(const std::u16string& path, const char16_t* name, const std::u16string& text) {
        ce::HKEY key = nullptr;
        ASSERT_EQ(ce::RegCreateKeyExW(ce::HKEY_LOCAL_MACHINE, path.c_str(), &key), ce::ERROR_SUCCESS);
        ce::RegSetValueExW(key, name, ce::REG_SZ, reinterpret_cast<const ce::BYTE*>(text.c_str()),
                           static_cast<ce::DWORD>((text.size() + 1) * 2));
        ce::RegCloseKey(key);
    }
    static void Press(const sim::InfraredPress& pressed) {
        ASSERT_TRUE(host::hw::ReceiverQueue(host::Device::current().run_dir()).put(pressed));
    }
    // The pulses and spaces of every send so far, one list per send, in µs.
    static std::vector<std::vector<std::int32_t>> Sends() {
        std::vector<std::vector<std::int32_t>> sends;
        for (const std::string& block : host::hw::TraceLog(host::Device::current().log_dir() / "ir.log").blocks()) {
            std::vector<std::int32_t> send;
            std::size_t at = 0;
            while ((at = block.find('\n', at)) != std::string::npos) {
                ++at;
                if (block.compare(at, 6, "pulse ") == 0) send.push_back(std::atoi(block.c_str() + at + 6));
                if (block.compare(at, 6, "space ") == 0) send.push_back(-std::atoi(block.c_str() + at + 6));
            }
            sends.push_back(send);
        }
        return sends;
    }
    static std::size_t Marks(const std::vector<std::int32_t>& send) {
        return static_cast<std::size_t>(std::count_if(send.begin(), send.end(), [](std::int32_t d) { return d > 0; }));
    }
    static std::vector<std::u16string> Lines(CMacroEditorDlg& editor) {
        std::vector<std::u16string> lines;
        auto* list = dynamic_cast<CListBox*>(editor.GetDlgItem(CMacroEditorDlg::IDC_LIST));
        for (int index = 0; list != nullptr && index < list->GetCount(); ++index) lines.push_back(list->GetText(index));
        return lines;
    }
    static std::vector<std::u16string> Texts(const framework::MessageBoxScript& boxes) {
        std::vector<std::u16string> texts;
        for (const auto& box : boxes.Shown()) texts.push_back(box.text);
        return texts;
    }
    static void Type(CWnd& form, int id, std::u16string_view text) { form.GetDlgItem(id)->SetWindowText(text); }
    // A pause set as a user would: tap the field, then the spinner's arrows.
    static void SetPause(CPauseDlg& form, int seconds, int tenths) {
        for (const auto& [field, value] : {std::pair{CPauseDlg::IDC_SECONDS, seconds}, std::pair{CPauseDlg::IDC_TENTHS, tenths}}) {
            ASSERT_TRUE(Automation::Click(&form, field));
            const std::u16string shown = form.GetDlgItem(field)->GetWindowText();
            const int now = std::stoi(std::string(shown.begin(), shown.end()));
            ASSERT_TRUE(Automation::Spin(&form, CPauseDlg::IDC_SPIN, value - now));
        }
    }
};

TEST_F(InfraredForms, PortFormSelectsTheStoredPortAndStoresTheChoiceOnlyOnOk) {
    framework::MessageBoxScript boxes;
    ASSERT_TRUE(ComPortSetting::Write(u"COM3:"));
    std::u16string selected;
    UserSteps open;
    open.On<CComPortDlg>([&](CComPortDlg& form) {
            auto* list = dynamic_cast<CListBox*>(form.GetDlgItem(CComPortDlg::IDC_PORTS));
            selected = list->GetText(list->GetCurSel());
            ASSERT_TRUE(Automation::Select(&form, CComPortDlg::IDC_PORTS, 0));
        })
        .Click<CComPortDlg>(framework::IDCANCEL);
    EXPECT_EQ(open.Run([] { return CComPortDlg::RunSetup(nullptr); }), framework::IDCANCEL);
    EXPECT_EQ(selected, u"COM3: Infrared Port");
    EXPECT_EQ(ComPortSetting::Read(), u"COM3:");

    // A stored name of another case names no line; OK without a selection stays open.
    ASSERT_TRUE(ComPortSetting::Write(u"com3:"));
    int selection = 0;
    bool open_after_ok = false;
    UserSteps choose;
    choose.Click<CComPortDlg>(framework::IDOK)
        .On<CComPortDlg>([&](CComPortDlg& form) {
            open_after_ok = form.widget()->isVisible();
            selection = dynamic_cast<CListBox*>(form.GetDlgItem(CComPortDlg::IDC_PORTS))->GetCurSel();
            ASSERT_TRUE(Automation::Select(&form, CComPortDlg::IDC_PORTS, 0));
        })
        .Click<CComPortDlg>(framework::IDOK);
    EXPECT_EQ(choose.Run([] { return CComPortDlg::RunSetup(nullptr); }), framework::IDOK);
    EXPECT_EQ(selection, -1);
    EXPECT_TRUE(open_after_ok);
    EXPECT_EQ(ComPortSetting::Read(), u"COM1:");
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(InfraredForms, PortFormHasTheHelpButtonOfTheOtherFormsAndItsHelpClosesByItsOk) {
    std::u16string title;
    UserSteps steps;
    steps.Click<CComPortDlg>(IDC_HELP_BUTTON)
        .On<CHelpDlg>([&](CHelpDlg& help) { title = help.GetDlgItem(IDC_CAPTION)->GetWindowText(); })
        .Click<CHelpDlg>(framework::IDOK)  // the "ok" of the help form's title bar
        .Click<CComPortDlg>(framework::IDCANCEL);
    EXPECT_EQ(steps.Run([] { return CComPortDlg::RunSetup(nullptr); }), framework::IDCANCEL);
    EXPECT_EQ(title, u"Infrared Setup");
}

TEST_F(InfraredForms, PortFormLearnsARemoteAndTestSendsItBackThreePasses) {
    framework::MessageBoxScript boxes;
    Press(press());
    UserSteps steps;
    steps.Click<CComPortDlg>(CComPortDlg::IDC_AUTODETECT)
        .Click<CComPortDlg>(CComPortDlg::IDC_LEARN)
        .Click<CComPortDlg>(CComPortDlg::IDC_TEST)
        .Click<CComPortDlg>(framework::IDOK);
    EXPECT_EQ(steps.Run([] { return CComPortDlg::RunSetup(nullptr); }), framework::IDOK);
    EXPECT_EQ(Texts(boxes), std::vector<std::u16string>{u"Learned with success!"});
    EXPECT_EQ(ComPortSetting::Read(), u"COM3:");
    const auto sends = Sends();
    ASSERT_EQ(sends.size(), 1u);
    // The remote's lead-in and frame, then the frame twice more, as it sent them while held.
    std::vector<std::int32_t> expected = nec_intro();
    for (int pass = 0; pass < 3; ++pass) expected.insert(expected.end(), kNecRepeat.begin(), kNecRepeat.end());
    ASSERT_EQ(sends[0].size(), expected.size());
    for (std::size_t k = 0; k < sends[0].size(); ++k) EXPECT_NEAR(sends[0][k], expected[k], kBoundUs) << k;
}

TEST_F(InfraredForms, SignalLearnedInTheSignalFormIsKeptWithABeep) {
    framework::MessageBoxScript boxes;
    ASSERT_TRUE(ComPortSetting::Write(u"COM3:"));
    Press(press());
    CCommandDlg form(nullptr, 3, 1000, u"");
    UserSteps steps;
    steps.Click<CCommandDlg>(CCommandDlg::IDC_LEARN)
        .On<CCommandDlg>([](CCommandDlg& shown) { Type(shown, CCommandDlg::IDC_COMMENT, u"TV on"); })
        .Click<CCommandDlg>(framework::IDOK);
    EXPECT_EQ(steps.Run([&] { return form.DoModal(); }), framework::IDOK);
    EXPECT_EQ(Texts(boxes), std::vector<std::u16string>{u"Learned with success!"});
    EXPECT_EQ(form.Comment(), u"TV on");
    ASSERT_EQ(form.Signal().durations.size(), 72u);
    EXPECT_EQ(form.Signal().repeat_start, 68);
    EXPECT_EQ(form.Signal().carrier_period, 26);
    const auto played = host::CaptureLog::lines();
    ASSERT_EQ(played.size(), 1u);
    EXPECT_NE(played[0].find("22050 Hz"), std::string::npos) << played[0];
}

struct Shape {
    const char* name;
    int width, height, dpi;
};

void PrintTo(const Shape& shape, std::ostream* out) { *out << shape.name; }

class SignalFormOnEachScreen : public InfraredForms, public ::testing::WithParamInterface<Shape> {};

// What was learned is read whole under the buttons on every screen, both of its lines
// inside the form above OK: a long frame, as an air conditioner sends.
TEST_P(SignalFormOnEachScreen, LearnedSignalIsDescribedWhole) {
    SetScreen(GetParam().width, GetParam().height, GetParam().dpi);
    std::vector<std::int32_t> frame;
    for (int mark = 0; mark < 100; ++mark) frame.insert(frame.end(), {560, mark % 3 == 0 ? -1690 : -560});
    CCommandDlg form(nullptr, 3, 1000, u"Air conditioner", {frame, 100, 26});
    UserSteps steps;
    steps.On<CCommandDlg>([](CCommandDlg& shown) {
        const CWnd* state = shown.GetDlgItem(CCommandDlg::IDC_SIGNAL_STATE);
        EXPECT_EQ(state->GetWindowText(), u"Signal learned: 200 marks and spaces, repeating the last 100.");
        EXPECT_TRUE(testing_support::ShowsWholeText(state));
        CRect text, ok;
        state->GetWindowRectInParent(&text);
        shown.GetDlgItem(framework::IDOK)->GetWindowRectInParent(&ok);
        EXPECT_LE(text.bottom, ok.top) << "the description runs under OK";
        EXPECT_TRUE(Automation::Click(&shown, framework::IDCANCEL));
    });
    EXPECT_EQ(steps.Run([&] { return form.DoModal(); }), framework::IDCANCEL);
}

INSTANTIATE_TEST_SUITE_P(Screens, SignalFormOnEachScreen,
                         ::testing::Values(Shape{"Portrait", 240, 320, 96}, Shape{"Landscape", 320, 240, 96},
                                           Shape{"Square", 240, 240, 96}, Shape{"HighResolution", 480, 640, 192}),
                         [](const auto& shape) { return std::string(shape.param.name); });

TEST_F(InfraredForms, FailedLearnsSayWhyAndLeaveTheFormWithoutASignal) {
    framework::MessageBoxScript boxes;
    ASSERT_TRUE(ComPortSetting::Write(u"COM3:"));
    // Editing a signal: a learn that fails drops it, and OK is then refused.
    CCommandDlg form(nullptr, 3, 1000, u"TV", {{9000, -4500, 560, -40000}, 0, 26});
    UserSteps steps;
    steps.Click<CCommandDlg>(CCommandDlg::IDC_LEARN)  // nothing pressed: 20 s without light
        .On<CCommandDlg>([](CCommandDlg&) { Press(press(8'000)); })  // a carrier far too slow
        .Click<CCommandDlg>(CCommandDlg::IDC_LEARN)
        .Click<CCommandDlg>(framework::IDOK)
        .Click<CCommandDlg>(framework::IDCANCEL);
    EXPECT_EQ(steps.Run([&] { return form.DoModal(); }), framework::IDCANCEL);
    EXPECT_EQ(Texts(boxes), (std::vector<std::u16string>{u"Time out!", u"Failed to learn IR signal!",
                                                         u"You should learn signal before exit."}));
    EXPECT_TRUE(form.Signal().durations.empty());
    EXPECT_TRUE(host::CaptureLog::lines().empty()) << "no beep without a signal";
}

// Learning as a person meets it, in both forms that learn: the prompt says which button
// to hold, and Cancel, tapped while the receiver listens, ends the listening at once
// (its 20 s run on the wall clock here) and leaves no signal and no message.
TEST_F(InfraredForms, LearningPromptsForTheRemoteAndCancelEndsTheListeningAtOnce) {
    framework::MessageBoxScript boxes;
    host::hw::Machine::current().set_pacing(true);
    std::chrono::steady_clock::time_point cancelled;
    const auto listen_then_cancel = [&](CLearnCommandDlg& learning) {
        EXPECT_NE(learning.GetDlgItem(CLearnCommandDlg::IDC_INSTRUCTIONS)->GetWindowText().find(u"Press and hold the button on the remote"),
                  std::u16string::npos);
        cancelled = std::chrono::steady_clock::now();
        EXPECT_TRUE(Automation::Click(&learning, framework::IDCANCEL)) << "Cancel is there to tap while it listens";
    };
    const auto back_at_once = [&] { EXPECT_LT(std::chrono::steady_clock::now() - cancelled, std::chrono::seconds(5)); };

    UserSteps setup;
    setup.Click<CComPortDlg>(CComPortDlg::IDC_AUTODETECT)
        .Click<CComPortDlg>(CComPortDlg::IDC_LEARN)
        .On<CLearnCommandDlg>(listen_then_cancel)
        .On<CComPortDlg>([&](CComPortDlg&) { back_at_once(); })
        .Click<CComPortDlg>(CComPortDlg::IDC_TEST)  // nothing learned: says so, sends nothing
        .Click<CComPortDlg>(framework::IDCANCEL);
    EXPECT_EQ(setup.Run([] { return CComPortDlg::RunSetup(nullptr); }), framework::IDCANCEL);

    ASSERT_TRUE(ComPortSetting::Write(u"COM3:"));  // Infrared Setup was cancelled
    CCommandDlg form(nullptr, 3, 1000, u"");
    UserSteps signal;
    signal.Click<CCommandDlg>(CCommandDlg::IDC_LEARN)
        .On<CLearnCommandDlg>(listen_then_cancel)
        .On<CCommandDlg>([&](CCommandDlg&) { back_at_once(); })
        .Click<CCommandDlg>(framework::IDCANCEL);
    EXPECT_EQ(signal.Run([&] { return form.DoModal(); }), framework::IDCANCEL);

    EXPECT_EQ(Texts(boxes), std::vector<std::u16string>{CComPortDlg::kNothingLearned}) << "a cancelled learn is no time-out";
    EXPECT_TRUE(form.Signal().durations.empty());
    EXPECT_TRUE(Sends().empty());
    EXPECT_TRUE(host::CaptureLog::lines().empty()) << "no beep without a signal";
}

// An air conditioner sends its whole state in one long frame, more than a codebase keeps:
// learning says so, rather than a signal that tests well and is dropped at the save.
TEST_F(InfraredForms, ASignalTooLongToKeepIsRefusedByLearning) {
    framework::MessageBoxScript boxes;
    ASSERT_TRUE(ComPortSetting::Write(u"COM3:"));
    sim::InfraredPress frame;
    frame.intro = {9000, -4500};
    std::uint32_t bits = 0xACE1u;
    for (int bit = 0; bit < 136; ++bit) {
        bits = (bits >> 1) ^ (-(bits & 1u) & 0xB400u);  // the state's bits, without a repeat in them
        frame.intro.push_back(560);
        frame.intro.push_back((bits & 1u) != 0 ? -1690 : -560);
    }
    frame.intro.push_back(560);
    frame.after_ns = 300'000'000;
    Press(frame);
    CCommandDlg form(nullptr, 3, 1000, u"");
    UserSteps steps;
    steps.Click<CCommandDlg>(CCommandDlg::IDC_LEARN)
        .Click<CCommandDlg>(framework::IDOK)
        .Click<CCommandDlg>(framework::IDCANCEL);
    EXPECT_EQ(steps.Run([&] { return form.DoModal(); }), framework::IDCANCEL);
    EXPECT_EQ(Texts(boxes), (std::vector<std::u16string>{std::u16string(LearnOutcome::kTooLong),
                                                         u"You should learn signal before exit."}));
    EXPECT_TRUE(form.Signal().durations.empty());
    EXPECT_TRUE(host::CaptureLog::lines().empty()) << "no beep: nothing was taken";
}

TEST_F(InfraredForms, RepeatForNineNineSecondsTestsWith99Passes) {
    CCommandDlg form(nullptr, 3, 1000, u"", {{20000, -30000, 40000, -60000}, 2, 26});
    UserSteps steps;
    steps.Click<CCommandDlg>(CCommandDlg::IDC_ADVANCED)
        .Click<CCommandOptionsDlg>(CCommandOptionsDlg::IDC_REPEAT_FOR)
        .On<CCommandOptionsDlg>([](CCommandOptionsDlg& options) {
            // Seconds are tapped first by default; then the tenths.
            ASSERT_TRUE(Automation::Spin(&options, CCommandOptionsDlg::IDC_DURATION_SPIN, 8));
            ASSERT_TRUE(Automation::Click(&options, CCommandOptionsDlg::IDC_TENTHS));
            ASSERT_TRUE(Automation::Spin(&options, CCommandOptionsDlg::IDC_DURATION_SPIN, 9));
            EXPECT_EQ(options.GetDlgItem(CCommandOptionsDlg::IDC_SECONDS)->GetWindowText(), u"9");
            EXPECT_EQ(options.GetDlgItem(CCommandOptionsDlg::IDC_TENTHS)->GetWindowText(), u"9");
            EXPECT_FALSE(options.GetDlgItem(CCommandOptionsDlg::IDC_TIMES)->IsWindowEnabled());
        })
        .Click<CCommandOptionsDlg>(framework::IDOK)
        .Click<CCommandDlg>(CCommandDlg::IDC_TEST)
        .Click<CCommandDlg>(framework::IDOK);
    ASSERT_TRUE(ComPortSetting::Write(u"COM3:"));
    EXPECT_EQ(steps.Run([&] { return form.DoModal(); }), framework::IDOK);
    EXPECT_EQ(form.RepeatMode(), -2);
    EXPECT_EQ(form.DurationMs(), 9900);
    const auto sends = Sends();
    ASSERT_EQ(sends.size(), 1u);
    EXPECT_EQ(Marks(sends[0]), 2u + 98u);  // the whole signal, then 98 repeat frames
}

TEST_F(InfraredForms, OptionsAndPauseRefuseZeroAndKeepTheOtherWays) {
    framework::MessageBoxScript boxes;
    CCommandOptionsDlg options(nullptr, 7, 1000);
    UserSteps steps;
    steps.On<CCommandOptionsDlg>([](CCommandOptionsDlg& shown) {
             EXPECT_EQ(shown.GetDlgItem(CCommandOptionsDlg::IDC_TIMES)->GetWindowText(), u"7");
             EXPECT_FALSE(shown.GetDlgItem(CCommandOptionsDlg::IDC_SECONDS)->IsWindowEnabled());
             Type(shown, CCommandOptionsDlg::IDC_TIMES, u"0");
         })
        .Click<CCommandOptionsDlg>(framework::IDOK)  // refused: 0 times
        .On<CCommandOptionsDlg>([](CCommandOptionsDlg& shown) {
            ASSERT_TRUE(Automation::Spin(&shown, CCommandOptionsDlg::IDC_TIMES_SPIN, 1));
        })
        .Click<CCommandOptionsDlg>(framework::IDOK);
    EXPECT_EQ(steps.Run([&] { return options.DoModal(); }), framework::IDOK);
    EXPECT_EQ(options.RepeatMode(), 2);  // the arrow steps on from the range's 1

    CPauseDlg pause(nullptr, CPauseDlg::kNewPause);
    UserSteps zero;
    zero.On<CPauseDlg>([](CPauseDlg& shown) {
            EXPECT_EQ(shown.GetDlgItem(IDC_CAPTION)->GetWindowText(), u"Add Pause");
            SetPause(shown, 0, 0);
        })
        .Click<CPauseDlg>(framework::IDOK)  // refused: 0.0 s
        .On<CPauseDlg>([](CPauseDlg& shown) { SetPause(shown, 9, 9); })
        .On<CPauseDlg>([](CPauseDlg& shown) { ASSERT_TRUE(Automation::Spin(&shown, CPauseDlg::IDC_SPIN, 1)); })
        .Click<CPauseDlg>(framework::IDOK);
    EXPECT_EQ(zero.Run([&] { return pause.DoModal(); }), framework::IDOK);
    EXPECT_EQ(pause.PauseMs(), 9900);  // the spinner stops at 9
    EXPECT_EQ(Texts(boxes), (std::vector<std::u16string>{CCommandOptionsDlg::kNoRepeat, CPauseDlg::kNoPause}))
        << "a refused OK says why";
}

TEST_F(InfraredForms, AdvancedOptionsThreeWaysAreOneGroupWhateverWasSavedBefore) {
    auto checked = [](CCommandOptionsDlg& shown) {
        std::vector<int> ids;
        for (const int id : {CCommandOptionsDlg::IDC_DEFAULT, CCommandOptionsDlg::IDC_REPEAT, CCommandOptionsDlg::IDC_REPEAT_FOR})
            if (dynamic_cast<CButton*>(shown.GetDlgItem(id))->GetCheck() == CButton::BST_CHECKED) ids.push_back(id);
        return ids;
    };
    CCommandOptionsDlg options(nullptr, ItemData::kDefaultRepeat, 1000);
    std::vector<int> after_repeat_for;
    UserSteps steps;
    steps.Click<CCommandOptionsDlg>(CCommandOptionsDlg::IDC_REPEAT)
        .Click<CCommandOptionsDlg>(CCommandOptionsDlg::IDC_REPEAT_FOR)
        .On<CCommandOptionsDlg>([&](CCommandOptionsDlg& shown) { after_repeat_for = checked(shown); })
        .Click<CCommandOptionsDlg>(framework::IDOK);
    EXPECT_EQ(steps.Run([&] { return options.DoModal(); }), framework::IDOK);
    EXPECT_EQ(after_repeat_for, std::vector<int>{CCommandOptionsDlg::IDC_REPEAT_FOR});
    EXPECT_EQ(options.RepeatMode(), ItemData::kRepeatForDuration);

    // A saved "Repeat for" gives way to Default again.
    CCommandOptionsDlg saved(nullptr, ItemData::kRepeatForDuration, 1500);
    std::vector<int> after_default;
    UserSteps back;
    back.Click<CCommandOptionsDlg>(CCommandOptionsDlg::IDC_DEFAULT)
        .On<CCommandOptionsDlg>([&](CCommandOptionsDlg& shown) { after_default = checked(shown); })
        .Click<CCommandOptionsDlg>(framework::IDOK);
    EXPECT_EQ(back.Run([&] { return saved.DoModal(); }), framework::IDOK);
    EXPECT_EQ(after_default, std::vector<int>{CCommandOptionsDlg::IDC_DEFAULT});
    EXPECT_EQ(saved.RepeatMode(), ItemData::kDefaultRepeat);
}

TEST_F(InfraredForms, ListEditorAddsMovesCopiesAndDeletesLines) {
    framework::MessageBoxScript boxes;
    ASSERT_TRUE(ComPortSetting::Write(u"COM3:"));
    ItemDataArr items;
    CMacroEditorDlg editor(nullptr, items);
    std::vector<std::vector<std::u16string>> seen;
    auto look = [&](CMacroEditorDlg& shown) { seen.push_back(Lines(shown)); };
    UserSteps steps;
    // Nothing selected: every action on the selection says so.
    for (const int id : {CMacroEditorDlg::IDC_EDIT, CMacroEditorDlg::IDC_COPY, CMacroEditorDlg::IDC_DELETE,
                         CMacroEditorDlg::IDC_UP, CMacroEditorDlg::IDC_DOWN})
        steps.Click<CMacroEditorDlg>(id);
    steps.Click<CMacroEditorDlg>(CMacroEditorDlg::IDC_IR)
        .On<CCommandDlg>([](CCommandDlg&) { Press(press()); })
        .Click<CCommandDlg>(CCommandDlg::IDC_LEARN)
        .Click<CCommandDlg>(framework::IDOK)  // an empty comment: the line is "IR"
        .Click<CMacroEditorDlg>(CMacroEditorDlg::IDC_PAUSE)
        .On<CPauseDlg>([](CPauseDlg& shown) { SetPause(shown, 2, 5); })
        .Click<CPauseDlg>(framework::IDOK)
        .On<CMacroEditorDlg>(look)
        .On<CMacroEditorDlg>([](CMacroEditorDlg& shown) { ASSERT_TRUE(Automation::Select(&shown, CMacroEditorDlg::IDC_LIST, 0)); })
        .Click<CMacroEditorDlg>(CMacroEditorDlg::IDC_UP)  // the first line stays first
        .Click<CMacroEditorDlg>(CMacroEditorDlg::IDC_COPY)
        .On<CMacroEditorDlg>(look)
        .On<CMacroEditorDlg>([](CMacroEditorDlg& shown) { ASSERT_TRUE(Automation::Select(&shown, CMacroEditorDlg::IDC_LIST, 2)); })
        .Click<CMacroEditorDlg>(CMacroEditorDlg::IDC_DOWN)  // the last line stays last
        .Click<CMacroEditorDlg>(CMacroEditorDlg::IDC_UP)
        .On<CMacroEditorDlg>(look)
        .Click<CMacroEditorDlg>(CMacroEditorDlg::IDC_DELETE)  // answered No
        .Click<CMacroEditorDlg>(CMacroEditorDlg::IDC_DELETE)  // answered Yes
        .On<CMacroEditorDlg>(look)
        .Click<CMacroEditorDlg>(framework::IDOK);
    for (int box = 0; box < 5; ++box) boxes.Answer(framework::IDOK);
    boxes.Answer(framework::IDOK);  // "Learned with success!"
    boxes.Answer(framework::IDNO);
    boxes.Answer(framework::IDYES);
    EXPECT_EQ(steps.Run([&] { return editor.DoModal(); }), framework::IDOK);

    const std::vector<std::u16string> nothing(5, u"None command selected");
    auto texts = Texts(boxes);
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(std::vector<std::u16string>(texts.begin(), texts.begin() + 5), nothing);
    EXPECT_EQ(texts[6], u"Delete the selected command?");
    EXPECT_EQ(boxes.Shown()[6].type, framework::MB_YESNO | framework::MB_ICONQUESTION);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0], (std::vector<std::u16string>{u"IR", u"Pause 2.5s"}));
    EXPECT_EQ(seen[1], (std::vector<std::u16string>{u"IR", u"IR", u"Pause 2.5s"}));
    EXPECT_EQ(seen[2], (std::vector<std::u16string>{u"IR", u"Pause 2.5s", u"IR"}));
    EXPECT_EQ(seen[3], (std::vector<std::u16string>{u"IR", u"IR"}));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0], items[1]);
    EXPECT_EQ(items[0].Count(), 72);
}

TEST_F(InfraredForms, CancelKeepsTheListAndTestBeamsItWithItsPausesOnlyWithAPort) {
    framework::MessageBoxScript boxes;
    const platform::card::signal_data tv{{9000, -4500, 560, -40000}, 0, 26};
    const platform::card::signal_data volume{{2400, -600, 1200, -20000}, 0, 25};
    ItemDataArr items{ItemData::Signal(tv, 3, 1000, u"TV on"), ItemData::Pause(1500), ItemData::Signal(volume, 2, 1000, u"Vol")};
    const ItemDataArr before = items;
    CMacroEditorDlg editor(nullptr, items);
    UserSteps steps;
    steps.Click<CMacroEditorDlg>(CMacroEditorDlg::IDC_TEST)  // no port chosen yet
        .On<CMacroEditorDlg>([](CMacroEditorDlg&) { ASSERT_TRUE(ComPortSetting::Write(u"COM3:")); })
        .Click<CMacroEditorDlg>(CMacroEditorDlg::IDC_TEST)
        .On<CMacroEditorDlg>([](CMacroEditorDlg& shown) { ASSERT_TRUE(Automation::Select(&shown, CMacroEditorDlg::IDC_LIST, 1)); })
        .Click<CMacroEditorDlg>(CMacroEditorDlg::IDC_DELETE)
        .Click<CMacroEditorDlg>(framework::IDCANCEL);
    boxes.Answer(framework::IDOK);
    boxes.Answer(framework::IDYES);
    const auto started = host::hw::Machine::current().soc().clock().now();
    EXPECT_EQ(steps.Run([&] { return editor.DoModal(); }), framework::IDCANCEL);
    EXPECT_EQ(items, before);
    EXPECT_EQ(Texts(boxes), (std::vector<std::u16string>{u"Set COM port", u"Delete the selected command?"}));
    const auto sends = Sends();
    ASSERT_EQ(sends.size(), 2u);
    EXPECT_EQ(Marks(sends[0]), 2u * 3);  // TV on: three passes of its two marks
    EXPECT_EQ(Marks(sends[1]), 2u * 2);  // Vol: repeated twice
    EXPECT_NEAR(sends[1][0], 2400, kBoundUs);
    // The pause went by between them, on the handheld's clock.
    EXPECT_GE(host::hw::Machine::current().soc().clock().now() - started, 1'500'000'000);
    EXPECT_EQ(ce::GetFileAttributesW((AlarmFolder::Path() + u"testIR.pdb").c_str()), ce::INVALID_FILE_ATTRIBUTES);
}

}  // namespace

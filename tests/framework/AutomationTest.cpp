// What `handheld ui` and `handheld screenshot` get from a running form: its controls with
// their state, and taps, typing and choices that run the form's own handlers.

#include <gtest/gtest.h>

#include <QImage>
#include <QTimer>
#include <fstream>
#include <sstream>
#include <vector>

#include "ScreenDevice.h"
#include "UiDump.h"
#include "ce/Files.h"
#include "framework/AutomationProtocol.h"
#include "framework/CDialog.h"
#include "framework/CListBox.h"
#include "framework/CWinApp.h"
#include "framework/DialogTemplate.h"
#include "framework/MessageBox.h"
#include "framework/WindowMessages.h"

namespace {

using namespace framework;
using namespace framework::automation;

constexpr int kForm = 9100;
constexpr int kTitle = 10, kCount = 11, kLoud = 12, kSounds = 13, kSave = 14, kHidden = 15;

constexpr DialogItem kItems[] = {
    {kTitle, ControlKind::Static, u"Alarm \"one\"", WS_VISIBLE, 4, 4, 100, 10},
    {kCount, ControlKind::Edit, u"3", WS_VISIBLE | ES_NUMBER, 4, 16, 40, 12},
    {kLoud, ControlKind::CheckBox, u"Loud", WS_VISIBLE, 4, 30, 60, 10},
    {kSounds, ControlKind::ListBox, u"", WS_VISIBLE, 4, 44, 100, 40},
    {kSave, ControlKind::PushButton, u"Save", WS_VISIBLE | WS_DISABLED, 4, 90, 40, 14},
    {kHidden, ControlKind::PushButton, u"Secret", 0, 50, 90, 40, 14},
};

class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(kForm, nullptr) {}
    std::vector<std::pair<ce::UINT, ce::UINT>> commands;  // id, notification

protected:
    bool OnInitDialog() override {
        auto* sounds = static_cast<CListBox*>(GetDlgItem(kSounds));
        sounds->AddString(u"Birds.wav");
        sounds->AddString(u"Bell.wav");
        return true;
    }
    bool OnCommand(ce::UINT id, ce::UINT code) override {
        commands.emplace_back(id, code);
        return true;
    }
};

// A control that holds the stylus while it asks, as a list does when its check box is tapped.
class AskingPad : public CWnd {
public:
    int answer = 0;

protected:
    void OnLButtonDown(ce::UINT /*flags*/, CPoint /*point*/) override {
        SetCapture();
        answer = MessageBox(this, u"Arm it?", u"Pad", MB_OKCANCEL | MB_ICONQUESTION);
    }
};

class AutomationTest : public testing_support::ScreenDevice {
protected:
    void SetUp() override {
        ScreenDevice::SetUp();
        DialogTemplates::Add({kForm, 130, 150, kItems});
        ASSERT_TRUE(form.Create());
    }
    // Sends the request as the tool does and reads the reply it leaves.
    std::string Ask(ce::UINT message, ce::LPARAM lParam, const std::string& typed = {}) {
        ++request;
        if (!typed.empty()) {
            std::filesystem::create_directories(host_path("Temp/ui"));
            std::ofstream(host_path("Temp/ui/" + std::to_string(request) + ".in")) << typed;
        }
        form.SendMessage(message, request, lParam);
        RunQueued();
        std::ifstream in(host_path("Temp/ui/" + std::to_string(request) + ".out"));
        std::stringstream reply;
        reply << in.rdbuf();
        return reply.str();
    }
    TestDialog form;
    unsigned request = 100;
};

TEST_F(AutomationTest, DumpListsEveryControlWithItsState) {
    const std::string json = Ask(WM_UI_DUMP, 1);
    ASSERT_EQ(json.rfind("ok\n", 0), 0u) << json;
    using testing_support::DumpHas;
    EXPECT_TRUE(DumpHas(json, {{"id", 10}, {"kind", "static"}, {"text", "Alarm \"one\""}, {"checked", QJsonValue()},
                               {"enabled", true}, {"visible", true}}))
        << json;
    EXPECT_TRUE(DumpHas(json, {{"id", 12}, {"kind", "check"}, {"text", "Loud"}, {"checked", false}}));
    EXPECT_TRUE(DumpHas(json, {{"id", 13}, {"kind", "listbox"}, {"text", ""}, {"checked", QJsonValue()},
                               {"enabled", true}, {"visible", true}, {"selected", -1}}));
    EXPECT_TRUE(DumpHas(json, {{"id", 14}, {"kind", "button"}, {"text", "Save"}, {"checked", QJsonValue()}, {"enabled", false}}));
    EXPECT_TRUE(DumpHas(json, {{"id", 15}, {"kind", "button"}, {"text", "Secret"}, {"checked", QJsonValue()},
                               {"enabled", true}, {"visible", false}}));

    const std::string text = Ask(WM_UI_DUMP, 0);
    EXPECT_NE(text.find("12 check \"Loud\" unchecked visible enabled"), std::string::npos) << text;
}

TEST_F(AutomationTest, ClickSetAndSelectActAsTheStylusAndKeysWould) {
    EXPECT_EQ(Ask(WM_UI_CLICK, kLoud), "ok\n");
    EXPECT_EQ(Ask(WM_UI_SET, kCount, "12"), "ok\n");
    EXPECT_EQ(Ask(WM_UI_SELECT, MAKELPARAM(kSounds, 1)), "ok\n");
    EXPECT_EQ(form.GetDlgItem(kCount)->GetWindowText(), u"12");
    EXPECT_EQ(static_cast<CListBox*>(form.GetDlgItem(kSounds))->GetCurSel(), 1);
    EXPECT_EQ(form.commands, (std::vector<std::pair<ce::UINT, ce::UINT>>{
                                 {kLoud, BN_CLICKED}, {kCount, EN_CHANGE}, {kSounds, LBN_SELCHANGE}}));
    EXPECT_TRUE(testing_support::DumpHas(Ask(WM_UI_DUMP, 1), {{"id", 12}, {"kind", "check"}, {"text", "Loud"}, {"checked", true}}));

    // What a user could not do is refused, and nothing runs.
    EXPECT_EQ(Ask(WM_UI_CLICK, kSave), "ok\n") << "the control exists";
    EXPECT_EQ(Ask(WM_UI_CLICK, 999), "error: no control 999\n");
    EXPECT_EQ(Ask(WM_UI_SELECT, MAKELPARAM(kSounds, 5)), "error: control 13 has no item 5\n");
    EXPECT_EQ(Ask(WM_UI_SET, kTitle, "hello"),
              "error: control 10 (static) cannot be typed into: it is no edit: nothing can be typed into it\n");
    EXPECT_EQ(Ask(WM_UI_SET, kSave, "hello"), "error: control 14 (button) cannot be typed into: it is disabled\n");
    EXPECT_EQ(Ask(WM_UI_SET, kHidden, "hello"), "error: control 15 (button) cannot be typed into: it is hidden\n");
    EXPECT_EQ(form.GetDlgItem(kTitle)->GetWindowText(), u"Alarm \"one\"");
    EXPECT_EQ(form.GetDlgItem(kHidden)->GetWindowText(), u"Secret");
    EXPECT_EQ(form.commands.size(), 3u) << "a disabled button takes no tap";
    EXPECT_EQ(static_cast<CListBox*>(form.GetDlgItem(kSounds))->GetCurSel(), 1);
}

TEST_F(AutomationTest, AMessageBoxOpenedWhileAControlHoldsTheStylusIsAnsweredByATapOnItsButton) {
    AskingPad pad;
    ASSERT_TRUE(pad.Create(&form, {4, 200, 104, 240}, 20));
    std::string box;
    QTimer answer;
    answer.setSingleShot(true);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        box = Ask(WM_UI_DUMP, 0);
        Ask(WM_UI_CLICK, IDOK);
    });
    answer.start(0);
    // A tap that never reaches the box must not hang the test: closing it answers Cancel.
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [] { CWinApp::Foreground()->PostMessage(ce::WM_CLOSE); });
    rescue.start(3000);

    Ask(WM_UI_CLICK, 20);
    EXPECT_NE(box.find("65535 static \"Arm it?\" visible enabled"), std::string::npos) << box;
    EXPECT_NE(box.find("2 button \"Cancel\" visible enabled"), std::string::npos) << box;
    EXPECT_EQ(pad.answer, IDOK);
    EXPECT_EQ(CWinApp::Foreground(), &form);
    EXPECT_TRUE(form.IsWindowEnabled());
}

TEST_F(AutomationTest, ScreenshotIsThePictureOfTheFormLeftInAFolderTheUserDoesNotSee) {
    EXPECT_EQ(Ask(WM_UI_SCREENSHOT, 0), "ok\n");
    QImage shot(QString::fromStdString(host_path("Temp/ui/" + std::to_string(request) + ".png").string()));
    EXPECT_EQ(shot.width(), 240);
    EXPECT_EQ(shot.height(), 320);
    // Out of the file chooser's folder tree, as the handheld's own folders are.
    constexpr ce::DWORD kUnseen = ce::FILE_ATTRIBUTE_HIDDEN | ce::FILE_ATTRIBUTE_SYSTEM;
    EXPECT_EQ(ce::GetFileAttributesW(u"\\Temp\\ui") & kUnseen, kUnseen);
}

}  // namespace

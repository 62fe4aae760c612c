// The single-document frame: its view fills it above the menu bar, a command is the
// view's first, and a menu greys its items as it opens.

#include <gtest/gtest.h>

#include <vector>

#include "ScreenDevice.h"
#include "framework/CFrameWnd.h"
#include "framework/CView.h"

namespace {

std::vector<std::string> g_handled;

class TestView : public CView {
protected:
    bool OnCommand(ce::UINT id, ce::UINT /*code*/) override {
        if (id != 0x8001) return false;
        g_handled.push_back("view");
        return true;
    }
};

class TestFrame : public CFrameWnd {
public:
    bool welcome_available = false;

protected:
    bool OnCommand(ce::UINT id, ce::UINT /*code*/) override {
        g_handled.push_back("frame " + std::to_string(id));
        return true;
    }
    void OnInitMenuPopup(int index) override {
        if (index == 0) EnableMenuItem(0x8008, welcome_available);
    }
};

constexpr MenuItem kOptions[] = {{u"Edit", 0x8001}, {u"Welcome", 0x8008}, {u"", 0}, {u"Exit", 0xE141}};
constexpr MenuDefinition kMenus[] = {{u"Options", kOptions}};

class FrameTest : public testing_support::ScreenDevice {};

TEST_F(FrameTest, ViewTakesCommandsFirstAndMenusGreyAsTheyOpen) {
    g_handled.clear();
    TestFrame frame;
    ASSERT_TRUE(frame.Create(u"KIVO", new TestView));
    ASSERT_TRUE(frame.CreateMenuBar(kMenus));
    frame.ShowWindow(true);
    RunQueued();

    CRect view;
    frame.GetActiveView()->GetWindowRectInParent(&view);
    EXPECT_EQ(view.top, 0);
    EXPECT_EQ(view.Width(), 240);
    EXPECT_GT(view.bottom, 200) << "the view fills the frame";
    EXPECT_LT(view.bottom, 320) << "above the menu bar";

    EXPECT_TRUE(frame.ChooseMenuItem(0x8001));
    EXPECT_TRUE(frame.ChooseMenuItem(0xE141));
    EXPECT_FALSE(frame.ChooseMenuItem(0x8008)) << "greyed as its menu opened";
    frame.welcome_available = true;
    EXPECT_TRUE(frame.ChooseMenuItem(0x8008));
    EXPECT_EQ(g_handled, (std::vector<std::string>{"view", "frame 57665", "frame 32776"}));
    EXPECT_EQ(frame.GetWindowText(), u"KIVO");
}

}  // namespace

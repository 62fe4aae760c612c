// The common form base as a user meets it: layouts that follow the screen's shape and
// its turning, the border drawn at the screen's scale, the help button's tap and the
// help form it opens.

#include <gtest/gtest.h>

#include <QImage>
#include <QPlainTextEdit>
#include <QTimer>
#include <map>

#include "ScreenDevice.h"
#include "forms/CHelpDlg.h"
#include "forms/CMainBaseDlg.h"
#include "forms/FormIds.h"
#include "ce/Screen.h"
#include "framework/Automation.h"
#include "framework/CWinApp.h"
#include "framework/DialogTemplate.h"
#include "framework/WindowMessages.h"

namespace {

using framework::ControlKind;
using framework::DialogItem;
using framework::WS_VISIBLE;

constexpr int kPortrait = 9001, kLandscape = 9002, kSquare = 9003, kNoHelp = 9004;
constexpr int kEdit = 3001, kList = 3002;

constexpr DialogItem kPortraitItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Test form", WS_VISIBLE, 6, 4, 100, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 112, 4, 10, 10},
    {kEdit, ControlKind::Edit, u"", WS_VISIBLE | framework::WS_BORDER, 6, 24, 120, 14},
    {kList, ControlKind::ListBox, u"", WS_VISIBLE | framework::WS_BORDER, 6, 44, 120, 80},
};
constexpr DialogItem kLandscapeItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Test form", WS_VISIBLE, 6, 4, 150, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 170, 4, 10, 10},
    {kEdit, ControlKind::Edit, u"", WS_VISIBLE | framework::WS_BORDER, 6, 24, 80, 14},
    {kList, ControlKind::ListBox, u"", WS_VISIBLE | framework::WS_BORDER, 92, 24, 80, 70},
};
constexpr DialogItem kSquareItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Test form", WS_VISIBLE, 6, 4, 100, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 112, 4, 10, 10},
    {kEdit, ControlKind::Edit, u"", WS_VISIBLE | framework::WS_BORDER, 6, 20, 60, 14},
    {kList, ControlKind::ListBox, u"", WS_VISIBLE | framework::WS_BORDER, 70, 20, 56, 70},
};
constexpr DialogItem kNoHelpItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"No help", WS_VISIBLE, 6, 4, 100, 12},
    {kEdit, ControlKind::Edit, u"", WS_VISIBLE, 6, 24, 120, 14},
};

class TestForm : public CMainBaseDlg {
public:
    explicit TestForm(int portrait = kPortrait) : CMainBaseDlg(nullptr, portrait, kLandscape, kSquare) {}
    mutable int help_pages_asked = 0;

protected:
    HelpPage GetHelpPage() const override {
        ++help_pages_asked;
        return {u"Test help", u"How the test form works."};
    }
};

using Places = std::map<int, CRect>;

Places places_of(CWnd& form) {
    Places places;
    for (const int id : {IDC_CAPTION, kEdit, kList}) form.GetDlgItem(id)->GetWindowRectInParent(&places[id]);
    return places;
}

class FormBaseTest : public testing_support::ScreenDevice {
protected:
    void SetUp() override {
        ScreenDevice::SetUp();
        framework::DialogTemplates::Add({kPortrait, 130, 150, kPortraitItems});
        framework::DialogTemplates::Add({kLandscape, 180, 100, kLandscapeItems});
        framework::DialogTemplates::Add({kSquare, 130, 100, kSquareItems});
        framework::DialogTemplates::Add({kNoHelp, 130, 150, kNoHelpItems});
    }
    // Turns the handheld's screen as `handheld rotate` does: new settings, then the news
    // to the program's windows.
    void Turn(CWnd& form, int width, int height, int dpi = 96) {
        SetScreen(width, height, dpi);
        form.SendMessage(ce::WM_DISPLAYCHANGE, 16, framework::MAKELPARAM(width, height));
        RunQueued();
    }
    static void Tap(CWnd& form, ce::UINT message, CPoint point) {
        form.PostMessage(message, message == ce::WM_LBUTTONUP ? 0 : framework::MK_LBUTTON,
                         framework::MAKELPARAM(point.x, point.y));
    }
};

TEST_F(FormBaseTest, TurningTheScreenMovesEveryControlToTheNewShapesLayoutAndBack) {
    TestForm form;
    ASSERT_TRUE(form.Create());
    RunQueued();
    const Places portrait = places_of(form);

    Turn(form, 320, 240);
    EXPECT_EQ(form.CurrentTemplateId(), kLandscape);
    const Places turned = places_of(form);
    // Where a form opened on a landscape screen puts them.
    TestForm landscape_form;
    ASSERT_TRUE(landscape_form.Create());
    RunQueued();
    EXPECT_EQ(turned, places_of(landscape_form));
    for (const auto& [id, place] : turned) EXPECT_NE(place, portrait.at(id)) << "control " << id << " did not move";

    Turn(form, 240, 320);
    EXPECT_EQ(form.CurrentTemplateId(), kPortrait);
    EXPECT_EQ(places_of(form), portrait);
}

TEST_F(FormBaseTest, ASizeChangeWithoutANewShapeMovesNothing) {
    TestForm form;
    ASSERT_TRUE(form.Create());
    RunQueued();
    // The program places a control itself; only a new shape lays the form out again.
    form.GetDlgItem(kEdit)->MoveWindow({1, 2, 50, 20});
    const Places before = places_of(form);
    form.widget()->resize(240, 280);  // the input panel takes the bottom of the screen
    RunQueued();
    Turn(form, 240, 320);  // told of a screen that has not changed shape
    EXPECT_EQ(places_of(form), before);
    EXPECT_EQ(form.CurrentTemplateId(), kPortrait);
}

struct BorderCase {
    const char* name;
    int width, height, dpi;
    unsigned input_panel;
    int expected_template;
    int pen_pixels;          // width of the border's left side, across the middle row
    bool bottom_side_shown;  // the border's bottom side is on the screen
};

void PrintTo(const BorderCase& row, std::ostream* out) { *out << row.name; }

class BorderTest : public FormBaseTest, public ::testing::WithParamInterface<BorderCase> {};

// Pixels of the highlight colour met in a row from the left edge, in one run.
int highlight_run(const QImage& image, int y) {
    const QRgb highlight = qRgb(0, 80, 200);
    int x = 0;
    while (x < image.width() && image.pixel(x, y) != highlight) ++x;
    int run = 0;
    while (x + run < image.width() && image.pixel(x + run, y) == highlight) ++run;
    return run;
}

bool highlight_in_column_bottom(const QImage& image, int x, int rows) {
    for (int y = image.height() - rows; y < image.height(); ++y)
        if (image.pixel(x, y) == qRgb(0, 80, 200)) return true;
    return false;
}

TEST_P(BorderTest, BorderIsDrawnAtTheScreensScale) {
    const auto& row = GetParam();
    SetScreen(row.width, row.height, row.dpi, row.input_panel);
    TestForm form;
    ASSERT_TRUE(form.Create());
    RunQueued();
    EXPECT_EQ(form.CurrentTemplateId(), row.expected_template);
    const QImage shot = framework::Automation::Screenshot(&form);
    ASSERT_EQ(shot.width(), row.width);
    EXPECT_EQ(highlight_run(shot, row.height / 2), row.pen_pixels);
    EXPECT_EQ(highlight_in_column_bottom(shot, row.width / 2, 12), row.bottom_side_shown);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, BorderTest,
    ::testing::Values(BorderCase{"Portrait240", 240, 320, 96, 2, kPortrait, 4, true},
                      BorderCase{"Portrait480At96", 480, 640, 96, 2, kPortrait, 8, true},
                      BorderCase{"Landscape640At192", 640, 480, 192, 2, kLandscape, 8, true},
                      BorderCase{"Square240", 240, 240, 96, 2, kSquare, 4, true},
                      BorderCase{"InputPanelShown", 240, 320, 96, 3, kPortrait, 4, false},
                      BorderCase{"InputPanelFloating", 240, 320, 96, 0, kPortrait, 4, false}),
    [](const auto& row) { return std::string(row.param.name); });

// Closes the help form as soon as it is up and says what it showed.
struct HelpFormWatcher {
    int opened = 0;
    std::u16string title;
    std::u16string text;
    bool read_only = false;

    void Arm() {
        QTimer::singleShot(0, [this] {
            CWnd* shown = CWinApp::Foreground();
            auto* help = dynamic_cast<CHelpDlg*>(shown);
            if (help == nullptr) return;
            ++opened;
            title = help->GetDlgItem(IDC_CAPTION)->GetWindowText();
            text = help->GetDlgItem(IDC_HELP_TEXT)->GetWindowText();
            const auto* edit = qobject_cast<QPlainTextEdit*>(help->GetDlgItem(IDC_HELP_TEXT)->widget());
            read_only = edit != nullptr && edit->isReadOnly();
            help->PostMessage(ce::WM_CLOSE);
        });
    }
};

TEST_F(FormBaseTest, HelpButtonOpensHelpOnlyWhenTheStylusIsLiftedOverIt) {
    TestForm form;
    ASSERT_TRUE(form.Create());
    RunQueued();
    CRect button;
    form.GetDlgItem(IDC_HELP_BUTTON)->GetWindowRectInParent(&button);
    const CPoint on{button.left + 2, button.top + 2};
    const CPoint off{button.left + 2, button.bottom + 30};
    HelpFormWatcher watcher;

    // Down, slide off, lift: nothing.
    Tap(form, ce::WM_LBUTTONDOWN, on);
    Tap(form, ce::WM_MOUSEMOVE, off);
    Tap(form, ce::WM_LBUTTONUP, off);
    RunQueued();
    EXPECT_EQ(form.help_pages_asked, 0);

    // Down, slide off, back on, lift: the help form, with the form's page.
    Tap(form, ce::WM_LBUTTONDOWN, on);
    Tap(form, ce::WM_MOUSEMOVE, off);
    Tap(form, ce::WM_MOUSEMOVE, on);
    Tap(form, ce::WM_LBUTTONUP, on);
    watcher.Arm();
    ASSERT_TRUE(RunUntil([&] { return form.help_pages_asked == 1 && CWinApp::Foreground() == &form; }));
    EXPECT_EQ(watcher.opened, 1);
    EXPECT_EQ(watcher.title, u"Test help");
    EXPECT_EQ(watcher.text, u"How the test form works.");
    EXPECT_TRUE(watcher.read_only);
}

TEST_F(FormBaseTest, FormWithoutControl2107HasNoHelp) {
    TestForm form(kNoHelp);
    SetScreen(240, 320, 96);
    ASSERT_TRUE(form.Create());
    EXPECT_FALSE(form.HasHelpButton());
    form.PostMessage(framework::WM_COMMAND, framework::MAKEWPARAM(IDC_HELP_BUTTON, framework::BN_CLICKED), 0);
    RunQueued();
    EXPECT_EQ(form.help_pages_asked, 0);
    EXPECT_EQ(CWinApp::Foreground(), &form);
}

}  // namespace

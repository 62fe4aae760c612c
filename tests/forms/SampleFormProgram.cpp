// A program built only for the tests: its main window is a form of the common base with
// a caption, a sub-caption, a help button and a few controls, so `handheld screenshot`,
// `ui` and `tap` have something to show and operate; its Test button asks a question in
// a message box and shows the answer's number in the sub-caption; with "--about" it is the main
// program's about form instead. With "--screenshot FILE" it saves its first picture
// there and ends.

#include <QImage>
#include <QTimer>
#include <cstring>
#include <string>

#include "forms/CMainBaseDlg.h"
#include "forms/FormIds.h"
#include "framework/Automation.h"
#include "framework/CListBox.h"
#include "framework/CWinApp.h"
#include "framework/DialogTemplate.h"
#include "framework/MessageBox.h"
#include "kivo/CAboutDlg.h"

namespace {

using framework::ControlKind;
using framework::DialogItem;
using framework::WS_BORDER;
using framework::WS_VISIBLE;

constexpr int kPortrait = 800, kLandscape = 801, kSquare = 802;
constexpr int kName = 810, kRepeat = 811, kSounds = 812, kTest = 813;

constexpr DialogItem kPortraitItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Sample Form", WS_VISIBLE, 8, 6, 110, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 130, 7, 10, 10},
    {IDC_SUBCAPTION, ControlKind::Static, u"Name of the alarm", WS_VISIBLE, 8, 24, 130, 10},
    {kName, ControlKind::Edit, u"Wake up", WS_VISIBLE | WS_BORDER, 8, 35, 135, 13},
    {kRepeat, ControlKind::CheckBox, u"Repeat beaming", WS_VISIBLE, 8, 54, 135, 12},
    {kSounds, ControlKind::ListBox, u"", WS_VISIBLE | WS_BORDER, 8, 70, 135, 60},
    {kTest, ControlKind::PushButton, u"Test", WS_VISIBLE, 93, 136, 50, 14},
};
constexpr DialogItem kLandscapeItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Sample Form", WS_VISIBLE, 8, 6, 160, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 182, 7, 10, 10},
    {IDC_SUBCAPTION, ControlKind::Static, u"Name of the alarm", WS_VISIBLE, 8, 24, 90, 10},
    {kName, ControlKind::Edit, u"Wake up", WS_VISIBLE | WS_BORDER, 8, 35, 90, 13},
    {kRepeat, ControlKind::CheckBox, u"Repeat beaming", WS_VISIBLE, 8, 54, 90, 12},
    {kSounds, ControlKind::ListBox, u"", WS_VISIBLE | WS_BORDER, 104, 24, 90, 60},
    {kTest, ControlKind::PushButton, u"Test", WS_VISIBLE, 144, 90, 50, 14},
};

class SampleForm : public CMainBaseDlg {
public:
    SampleForm() : CMainBaseDlg(nullptr, kPortrait, kLandscape, kSquare) {}

protected:
    bool OnInitDialog() override {
        CMainBaseDlg::OnInitDialog();
        auto* sounds = static_cast<CListBox*>(GetDlgItem(kSounds));
        for (const auto* name : {u"Alarm1.wav", u"Alarm2.wav", u"Birds.wav"}) sounds->AddString(name);
        sounds->SetCurSel(0);
        return true;
    }
    bool OnCommand(ce::UINT id, ce::UINT code) override {
        if (id != kTest) return CMainBaseDlg::OnCommand(id, code);
        const int answer = framework::MessageBox(
            this, u"Beam the alarm \"Wake up\" to the television now? The television must face the handheld.",
            u"Sample", framework::MB_OKCANCEL | framework::MB_ICONQUESTION);
        const std::string number = std::to_string(answer);
        GetDlgItem(IDC_SUBCAPTION)->SetWindowText(u"Answered " + std::u16string(number.begin(), number.end()));
        return true;
    }
    HelpPage GetHelpPage() const override {
        return {u"Sample Form", u"This form shows the common look of the small forms: the caption, the help "
                                u"button, the rounded border and the controls, laid out for the screen."};
    }
    void OnCancel() override { DestroyWindow(); }
};

class SampleApp : public CWinApp {
public:
    SampleApp(bool about, const char* screenshot) : about_(about), screenshot_(screenshot) {}

    bool InitInstance() override {
        framework::DialogTemplates::Add({kPortrait, 150, 160, kPortraitItems});
        framework::DialogTemplates::Add({kLandscape, 200, 110, kLandscapeItems});
        framework::DialogTemplates::Add({kSquare, 150, 110, kPortraitItems});
        CDialog& form = about_ ? static_cast<CDialog&>(about_form_) : sample_form_;
        if (!form.Create()) return false;
        form.SetWindowText(about_ ? u"About" : u"Sample");
        m_pMainWnd = &form;
        if (screenshot_ != nullptr)
            QTimer::singleShot(0, [this, &form] {
                framework::Automation::Screenshot(&form).save(QString::fromLocal8Bit(screenshot_), "PNG");
                form.DestroyWindow();
            });
        return true;
    }

private:
    bool about_;
    const char* screenshot_;
    SampleForm sample_form_;
    CAboutDlg about_form_{nullptr};
};

}  // namespace

int main(int argc, char** argv) {
    bool about = false;
    const char* screenshot = nullptr;
    for (int index = 1; index < argc; ++index) {
        if (std::strcmp(argv[index], "--about") == 0) about = true;
        else if (std::strcmp(argv[index], "--screenshot") == 0 && index + 1 < argc) screenshot = argv[++index];
    }
    SampleApp app(about, screenshot);
    return app.WinMain(argc, argv);
}

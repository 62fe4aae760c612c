#include "forms/CLearnCommandDlg.h"

#include <mutex>
#include <vector>

#include "ce/Messages.h"
#include "forms/FormIds.h"
#include "forms/InfraredStrings.h"
#include "forms/LearnOutcome.h"
#include "framework/DialogTemplate.h"
#include "framework/MessageBox.h"
#include "irdriver/IrDriverInstance.h"
#include "irdriver/learn/LearnDeadline.h"
#include "irlib/card/signal_entries.h"

namespace {

using framework::ControlKind;
using framework::DialogItem;
using framework::WS_VISIBLE;

// Portrait and square: narrow enough for the square screen.
constexpr DialogItem kItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Learning IR Signal", WS_VISIBLE, 8, 6, 144, 12},
    {CLearnCommandDlg::IDC_INSTRUCTIONS, ControlKind::Static, u"", WS_VISIBLE, 12, 28, 136, 74},
    {framework::IDCANCEL, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 55, 108, 50, 14},
};

// Landscape: the prompt across the screen's width, Cancel under it in the middle.
constexpr DialogItem kLandscapeItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Learning IR Signal", WS_VISIBLE, 8, 6, 196, 12},
    {CLearnCommandDlg::IDC_INSTRUCTIONS, ControlKind::Static, u"", WS_VISIBLE, 12, 26, 188, 58},
    {framework::IDCANCEL, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 81, 90, 50, 14},
};

}  // namespace

void CLearnCommandDlg::RegisterTemplates() {
    static std::once_flag once;
    std::call_once(once, [] {
        framework::DialogTemplates::Add({kTemplate, 160, 130, kItems});
        framework::DialogTemplates::Add({kLandscape, 212, 110, kLandscapeItems});
    });
}

CLearnCommandDlg::CLearnCommandDlg(CWnd* parent) : CMainBaseDlg(parent, kTemplate, kLandscape, kTemplate) {
    RegisterTemplates();
}

bool CLearnCommandDlg::OnInitDialog() {
    CMainBaseDlg::OnInitDialog();
    if (CWnd* text = GetDlgItem(IDC_INSTRUCTIONS))
        text->SetWindowText(InfraredStrings::Get(InfraredStrings::IDS_LEARN_INSTRUCTIONS));
    if (!started_) {
        started_ = true;
        PostMessage(WM_START_LEARNING);
    }
    return true;
}

CLearnCommandDlg::~CLearnCommandDlg() { EndCapture(); }

ce::LRESULT CLearnCommandDlg::WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) {
    if (message == WM_START_LEARNING) Learn();
    else if (message == WM_LEARNING_DONE) OnLearningDone(static_cast<int>(wParam));
    else return CMainBaseDlg::WindowProc(message, wParam, lParam);
    return 0;
}

void CLearnCommandDlg::Learn() {
    learned_ = {};
    CIrDrvr* driver = GetIrDriver();
    if (driver == nullptr) {
        EndDialog(kNotLearned);
        return;
    }
    driver_ = driver;
    // The capture waits up to 20 seconds for the remote; the form goes on answering.
    LearnDeadline::Allow();
    capture_ = std::jthread([driver, window = GetSafeHwnd()] {
        ce::PostMessageW(window, WM_LEARNING_DONE, static_cast<ce::WPARAM>(driver->Learn()), 0);
    });
}

void CLearnCommandDlg::OnCancel() {
    if (!capture_.joinable()) {
        CMainBaseDlg::OnCancel();
        return;
    }
    // The capture ends at once and reports; the form closes then, without a word.
    cancelled_ = true;
    LearnDeadline::GiveUp();
}

void CLearnCommandDlg::EndCapture() {
    if (!capture_.joinable()) return;
    LearnDeadline::GiveUp();
    capture_.join();
    LearnDeadline::Allow();
}

void CLearnCommandDlg::OnLearningDone(int code) {
    capture_.join();
    if (cancelled_) {
        LearnDeadline::Allow();
        ReleaseIrDriver();
        EndDialog(kNotLearned);
        return;
    }
    if (code != kIrOk) {
        framework::MessageBox(this, LearnOutcome::FailureText(code), u"KIVO", framework::MB_OK | framework::MB_ICONWARNING);
        ReleaseIrDriver();
        EndDialog(kNotLearned);
        return;
    }
    std::unique_ptr<std::int32_t[]> durations;
    std::uint16_t count = 0;
    driver_->GetLearnedSignal(durations, count, learned_.repeat_start, learned_.carrier_period);
    learned_.durations.assign(durations.get(), durations.get() + count);
    ReleaseIrDriver();
    if (learned_.durations.empty()) {
        learned_ = {};
        EndDialog(kNotLearned);
        return;
    }
    // A signal a codebase cannot hold would be tested here and lost at the alarm's save.
    if (std::vector<std::int16_t> entries; !platform::card::pack_entries(learned_.durations, entries)) {
        learned_ = {};
        framework::MessageBox(this, LearnOutcome::kTooLong, u"KIVO", framework::MB_OK | framework::MB_ICONWARNING);
        EndDialog(kNotLearned);
        return;
    }
    framework::MessageBox(this, LearnOutcome::kLearned, u"KIVO", framework::MB_OK | framework::MB_ICONINFORMATION);
    EndDialog(kLearned);
}

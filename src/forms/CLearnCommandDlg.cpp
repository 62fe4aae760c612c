#include "forms/CLearnCommandDlg.h"

#include <mutex>
#include <vector>

#include "forms/FormIds.h"
#include "forms/InfraredStrings.h"
#include "forms/LearnOutcome.h"
#include "framework/DialogTemplate.h"
#include "framework/MessageBox.h"
#include "irdriver/IrDriverInstance.h"
#include "irlib/card/signal_entries.h"

namespace {

using framework::ControlKind;
using framework::DialogItem;
using framework::WS_VISIBLE;

// One layout for every screen: narrow enough for the square one, short enough for landscape.
constexpr DialogItem kItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Learning IR Signal", WS_VISIBLE, 8, 6, 144, 12},
    {CLearnCommandDlg::IDC_INSTRUCTIONS, ControlKind::Static, u"", WS_VISIBLE, 12, 28, 136, 96},
};

}  // namespace

void CLearnCommandDlg::RegisterTemplates() {
    static std::once_flag once;
    std::call_once(once, [] { framework::DialogTemplates::Add({kTemplate, 160, 130, kItems}); });
}

CLearnCommandDlg::CLearnCommandDlg(CWnd* parent) : CMainBaseDlg(parent, kTemplate, kTemplate, kTemplate) {
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

ce::LRESULT CLearnCommandDlg::WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) {
    if (message != WM_START_LEARNING) return CMainBaseDlg::WindowProc(message, wParam, lParam);
    Learn();
    return 0;
}

void CLearnCommandDlg::Learn() {
    learned_ = {};
    CIrDrvr* driver = GetIrDriver();
    if (driver == nullptr) {
        EndDialog(kNotLearned);
        return;
    }
    // The capture holds the thread for up to 20 seconds: the instructions go up first.
    UpdateWindow();
    const int code = driver->Learn();
    if (code != kIrOk) {
        framework::MessageBox(this, LearnOutcome::FailureText(code), u"KIVO", framework::MB_OK | framework::MB_ICONWARNING);
        ReleaseIrDriver();
        EndDialog(kNotLearned);
        return;
    }
    std::unique_ptr<std::int32_t[]> durations;
    std::uint16_t count = 0;
    driver->GetLearnedSignal(durations, count, learned_.repeat_start, learned_.carrier_period);
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

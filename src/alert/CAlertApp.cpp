#include "alert/CAlertApp.h"

#include <new>
#include <string_view>

#include "alarms/AlertKey.h"
#include "alarms/CAlarmScheduler.h"
#include "alert/CMainFrame.h"
#include "ce/Process.h"
#include "ce/Windows.h"

CAlertApp::CAlertApp() = default;
CAlertApp::~CAlertApp() = default;

bool CAlertApp::InitInstance() {
    // The reminder is already what the person sees: nothing to add to it.
    if (ReminderInForeground()) return false;
    if (!AskedToShow() || !AlarmPending()) {
        CAlarmScheduler::Reschedule();
        return false;
    }
    frame_.reset(new (std::nothrow) CMainFrame);
    if (frame_ == nullptr || !frame_->Create()) return false;
    m_pMainWnd = frame_.get();
    frame_->ShowWindow(true);
    frame_->UpdateWindow();
    return true;
}

bool CAlertApp::ReminderInForeground() {
    const ce::HWND reminder = ce::FindWindowW(nullptr, CMainFrame::kTitle);
    return reminder != nullptr && reminder == ce::GetForegroundWindow();
}

// The words are matched case-sensitively anywhere in the command line; UPDATE wins.
bool CAlertApp::AskedToShow() {
    const std::u16string_view command_line = ce::GetCommandLineW();
    return command_line.find(u"UPDATE") == std::u16string_view::npos &&
           command_line.find(u"SHOW") != std::u16string_view::npos;
}

bool CAlertApp::AlarmPending() { return !AlertKey::Pending().value_or(u"").empty(); }

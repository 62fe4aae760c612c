#include "kivo/CTessaAlarmApp.h"

#include "alarms/CAlarmScheduler.h"
#include "ce/Messages.h"
#include "forms/CHelpDlg.h"
#include "kivo/CAboutDlg.h"
#include "kivo/CAlarmOptionsDlg.h"
#include "kivo/CDeleteAlarmDlg.h"
#include "kivo/CMainFrame.h"
#include "kivo/ProgramStarter.h"

CTessaAlarmApp::CTessaAlarmApp() = default;

CTessaAlarmApp::~CTessaAlarmApp() = default;

bool CTessaAlarmApp::InitInstance() {
    CHelpDlg::RegisterTemplates();
    CAboutDlg::RegisterTemplates();
    CDeleteAlarmDlg::RegisterTemplates();
    CAlarmOptionsDlg::RegisterTemplates();
    frame_ = std::make_unique<CMainFrame>();
    if (!frame_->Create()) {
        frame_.reset();
        return false;
    }
    m_pMainWnd = frame_.get();
    ProgramStarter::StartSplash();
    CAlarmScheduler::Reschedule();
    frame_->ShowWindow(true);
    frame_->UpdateWindow();
    return true;
}

int CTessaAlarmApp::ExitInstance() {
    // The view goes with the frame and keeps the list's selection for the next run.
    frame_.reset();
    return 0;
}

void CTessaAlarmApp::OnAppAbout() {
    CAboutDlg about(frame_.get());
    about.DoModal();
}

void CTessaAlarmApp::OnAppExit() {
    CAlarmScheduler::Reschedule();
    if (frame_ != nullptr) frame_->SendMessage(ce::WM_CLOSE);
}

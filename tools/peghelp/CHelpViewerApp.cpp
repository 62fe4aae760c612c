#include "CHelpViewerApp.h"

#include "ce/Messages.h"
#include "ce/Process.h"
#include "ce/Windows.h"

bool CHelpViewerApp::InitInstance() {
    // The handheld has one help viewer: the page asked for now takes the place of the
    // one shown before.
    if (ce::HWND shown = ce::FindWindowW(nullptr, CHelpFrame::kTitle)) ce::PostMessageW(shown, ce::WM_CLOSE, 0, 0);
    if (!frame_.Create()) return false;
    m_pMainWnd = &frame_;
    frame_.page().Open(HelpPageName::Parse(ce::GetCommandLineW()));
    frame_.ShowWindow(true);
    frame_.page().SetFocus();
    return true;
}

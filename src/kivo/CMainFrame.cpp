#include "kivo/CMainFrame.h"

#include "alarms/AlarmFolder.h"
#include "alarms/AlarmMessages.h"
#include "ce/Files.h"
#include "forms/CComPortDlg.h"
#include "kivo/CAlarmListView.h"
#include "kivo/CTessaAlarmApp.h"
#include "kivo/CTessaAlarmDoc.h"
#include "kivo/KivoIds.h"
#include "kivo/ProgramStarter.h"

namespace {

constexpr MenuItem kOptions[] = {
    {u"Help on KIVO", ID_HELP_KIVO}, {u"Welcome to KIVO", ID_WELCOME}, {u"About KIVO...", ID_APP_ABOUT},
    {u"", 0},                        {u"Exit", ID_APP_EXIT},
};
constexpr MenuItem kPreferences[] = {{u"Infrared Setup", ID_INFRARED_SETUP}};
constexpr MenuDefinition kMenuBar[] = {{u"Options", kOptions}, {u"Preferences", kPreferences}};

}  // namespace

bool CMainFrame::Create() { return CFrameWnd::Create(CTessaAlarmDoc::kTitle, new CAlarmListView); }

int CMainFrame::OnCreate() {
    // The store's folder is there before the list looks into it; one that exists already
    // (or cannot be made) is left to the list, which then shows what it finds.
    std::u16string folder = AlarmFolder::Path();
    if (!folder.empty() && folder.back() == u'\\') folder.pop_back();
    ce::CreateDirectoryW(folder.c_str());
    return CreateMenuBar(kMenuBar) ? 0 : -1;
}

void CMainFrame::OnInitMenuPopup(int index) {
    if (index == 0) EnableMenuItem(ID_WELCOME, ProgramStarter::WelcomeAvailable());
}

bool CMainFrame::OnCommand(ce::UINT id, ce::UINT /*code*/) {
    switch (id) {
        case ID_HELP_KIVO: ProgramStarter::StartHelp(); return true;
        case ID_WELCOME: ProgramStarter::StartWelcome(); return true;
        case ID_INFRARED_SETUP: CComPortDlg::RunSetup(this); return true;
        case ID_APP_ABOUT:
            if (auto* app = dynamic_cast<CTessaAlarmApp*>(CWinApp::Current())) app->OnAppAbout();
            return true;
        case ID_APP_EXIT:
            if (auto* app = dynamic_cast<CTessaAlarmApp*>(CWinApp::Current())) app->OnAppExit();
            return true;
        default: return false;
    }
}

ce::LRESULT CMainFrame::WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) {
    if (message == WM_ALARMS_CHANGED) {
        if (auto* list = dynamic_cast<CAlarmListView*>(GetActiveView())) list->RefreshActiveFlags();
        return 1;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

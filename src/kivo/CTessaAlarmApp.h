#pragma once
// The main program: its start-up (the alarms folder, the main window with the alarm
// list, the splash program, the wake-up registered for the next alarm) and the menu
// commands that belong to the program as a whole (About, Exit).

#include <memory>

#include "framework/CWinApp.h"
#include "kivo/CTessaAlarmDoc.h"

class CMainFrame;

class CTessaAlarmApp : public CWinApp {
public:
    CTessaAlarmApp();
    ~CTessaAlarmApp() override;

    bool InitInstance() override;
    int ExitInstance() override;

    void OnAppAbout();
    // Registers the wake-up for the next alarm, then closes the main window.
    void OnAppExit();

    CMainFrame* Frame() const { return frame_.get(); }

private:
    CTessaAlarmDoc document_;
    std::unique_ptr<CMainFrame> frame_;
};

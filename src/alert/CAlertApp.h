#pragma once
// The alert program: started by the wake program with "SHOW" when an alarm is due, or
// "UPDATE" after a change of the clock. It shows the reminder for the pending alarm, or,
// when there is nothing to show, only renews the wake registration and ends.

#include <memory>

#include "framework/CWinApp.h"

class CMainFrame;

class CAlertApp : public CWinApp {
public:
    CAlertApp();
    ~CAlertApp() override;

    bool InitInstance() override;

private:
    static bool ReminderInForeground();
    static bool AskedToShow();
    static bool AlarmPending();

    std::unique_ptr<CMainFrame> frame_;
};

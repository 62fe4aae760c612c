#pragma once
// The handheld's help viewer, "peghelp.exe": the shell starts it with the page to show
// on its command line ("file:KIVO.htm"), and it shows that page full screen until closed.

#include "CHelpFrame.h"
#include "framework/CWinApp.h"

class CHelpViewerApp : public CWinApp {
public:
    bool InitInstance() override;

private:
    CHelpFrame frame_;
};
